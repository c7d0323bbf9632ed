// The game as the player plays it: keys and pads handed to the game's key
// map, every tick and action recorded for the replay, and a finished game
// kept in the score table.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "input/Gamepads.h"
#include "save/GameRecords.h"
#include "shell/session/TableEntry.h"

class CurrentGame;
class Accessibility;
struct ShellParts;

// Shared by the screens on which the player drives the game (in play and
// game over). The parts it records to and keeps games in are read when
// used, so they may be attached after construction.
class PlayerSession {
public:
    PlayerSession(CurrentGame& current, const ShellParts& shellParts,
                  const Accessibility& accessibility)
        : game(current), parts(shellParts), options(accessibility) {}

    // The game's key for a keyboard event: through the player's bindings when
    // there are settings, else the event's own symbol.
    SDL_Keycode GameKey(const SDL_KeyboardEvent& key) const;
    // Escape, or the pause key (P unless rebound), pressed rather than repeated.
    bool IsPauseKey(const SDL_KeyboardEvent& key) const;
    // The pad buttons that fire photons, as Gamepads::Bit()s.
    Uint32 PhotonButtons() const;

    // A key pressed while the game is on screen. Repeats only say the key is
    // still down: one held through a pause must be pressed again to count.
    // Firing on press, a weapon's press is handed over as its release.
    // Returns true when the key started a new game.
    bool KeyDown(const SDL_KeyboardEvent& key);
    // A key released while the game is on screen; the weapons fire only for
    // a press seen while playing, and never here when firing on press.
    // Returns true when it started a new game.
    bool KeyUp(const SDL_KeyboardEvent& key);
    // A pad's photon or laser button. Returns true when it started a new game.
    bool PadAction(Gamepads::Action action);

    // Everything held counts as released (after a pause).
    void ReleaseAll();
    // The game's input bits: what the keyboard or any pad holds.
    void CombineInput();

    // One tick of the rules, recorded, then the frame; an arrow pressed since
    // the last tick counts in it even if already let go, so no tap is lost.
    // A finished game waiting for the table is tried again first. Returns
    // true when this tick ended the game.
    bool PlayTick();
    // Starts keeping the game that has just ended, with its replay, in the
    // session's records; it never waits. Each warning is printed once a session.
    void KeepFinishedGame();
    // Where the game just ended went, for the game-over screen: once, when it
    // is in the table, unless a new game has started since.
    std::optional<GameRecords::Outcome> TakeEntered();
    // Sends the game that has just ended to the session's board, if one is
    // attached and takes it: its ticket, or 0.
    std::uint64_t SendFinishedGame();
    // Whether the game that has just ended is a daily one that the attached
    // board would have taken, had it been played at full speed.
    bool DailyTooSlowToSend() const;
    // Whether a finished game can be kept: recording and records attached.
    bool KeepsGames() const;

private:
    // Passes a key to the game's key map, which keeps the held keys in the
    // game's input bits, and records the weapons and new games.
    bool PassKey(SDL_Keycode key, bool down);
    bool FiresOnPress() const;
    // Prints the warnings of a game that is in, and keeps its outcome for
    // the game-over screen if that still shows it.
    void CollectEntered();

    CurrentGame& game;  // whichever the session plays now
    const ShellParts& parts;
    const Accessibility& options;       // the loop's, in force
    unsigned keyboardInput = 0;         // the arrow keys held, as the game's key map sets them
    unsigned unreadPresses = 0;         // arrows pressed since the last tick read the input
    std::set<SDL_Keycode> pressedKeys;  // pressed while playing, not yet released
    std::set<std::string> warned;       // each warning is given once a session
    TableEntry entry;
    bool awaitingTable = false;  // the game-over screen waits for the game just ended
    std::optional<GameRecords::Outcome> entered;
};
