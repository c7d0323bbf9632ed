// The optional parts of a player's session, handed to whatever needs them.
#pragma once

#include <cstdint>

class BoardSender;
class GameRecords;
class Gamepads;
class PlayerSettings;
class ReplayPlayer;
class ReplayRecorder;
class SessionStart;
class SoundEffects;

// Each may be null: tests attach only what they exercise, and a watched
// replay has no recorder nor session start. None is owned.
struct ShellParts {
    // The player's settings: key bindings, the menu's settings, M and F11
    // kept. Without them the keys are today's and nothing is kept.
    PlayerSettings* settings = nullptr;
    GameRecords* records = nullptr;
    ReplayRecorder* recorder = nullptr;  // needs `records` too
    ReplayPlayer* replay = nullptr;      // watching: the game's keys do nothing
    std::int64_t replayFileTime = 0;     // when the watched file was last written
    Gamepads* pads = nullptr;
    SoundEffects* sound = nullptr;         // opened once the first frame is shown
    BoardSender* board = nullptr;          // finished daily games are sent to it
    SessionStart* sessionStart = nullptr;  // a daily session starts afresh at every new game
};
