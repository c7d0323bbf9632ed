// Korvessa: the command line, start-up for a player, the event loop.

#include <SDL.h>
#include <signal.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/SoundEffects.h"
#include "board/SubmitCommand.h"
#include "desktop/WindowIcon.h"
#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "save/DataFolder.h"
#include "save/GameRecords.h"
#include "save/ReplayFile.h"
#include "save/ReplayPlayer.h"
#include "save/ReplayRecorder.h"
#include "save/ReplayVerifier.h"
#include "save/SeedKind.h"
#include "shell/Options.h"
#include "shell/loop/EventLoop.h"
#include "shell/session/DailyBoard.h"
#include "shell/session/PlayerSettings.h"
#include "shell/session/SessionStart.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/CurrentGame.h"
#include "shell/ui/GameWindow.h"
#include "shell/ui/OverlayFont.h"

namespace {

constexpr int kBadCommandLine = 2;
constexpr int kStartFailed = 1;
constexpr int kBadReplay = 2;

// A closed terminal ends the game as a window manager's SIGTERM does: SDL
// turns that into a quit event, and the game shuts down cleanly.
void EndLikeSigterm(int /*signal*/) { std::raise(SIGTERM); }

void SetDesktopHints() {
    SDL_SetHint(SDL_HINT_APP_NAME, "Korvessa");
    SDL_SetHint(SDL_HINT_SCREENSAVER_INHIBIT_ACTIVITY_NAME, "Playing Korvessa");
}

// The session's seed: given, today's date, or the clock as the game's own
// constructor takes it.
std::uint32_t ChooseSeed(const Options& options, SeedKind& kind) {
    const std::time_t now = std::time(nullptr);
    if (options.hasSeed) {
        kind = SeedKind::kSeed;
        return options.seed;
    }
    if (options.daily) {
        kind = SeedKind::kDaily;
        return DailySeed(now);
    }
    kind = SeedKind::kClock;
    return static_cast<std::uint32_t>(now);
}

// The settings file's, with the command line's for this session only.
void ReadSettings(PlayerSettings& settings, const Options& options) {
    settings.Load();
    if (options.hasVolume) settings.Override(Settings::kVolume, std::to_string(options.volume));
    if (options.mute) settings.Override(Settings::kMute, "on");
    if (options.fullscreen) settings.Override(Settings::kFullscreen, "on");
    for (const std::string& name : options.accessibilityGiven) {
        settings.Override(name, options.accessibility.Get(name));
    }
    if (options.board) {
        settings.Override(Settings::kBoard, "on");
        settings.Override(Settings::kBoardAddress, options.board->Text());
    }
    if (!options.player.empty()) settings.Override(Settings::kPlayer, options.player);
}

// The settings file as it is, without a word about what is wrong with it:
// the session says that once it starts.
Settings KeptSettings() {
    Settings kept;
    std::vector<std::string> unused;
    SettingsFile(SettingsFile::PathForUser()).Load(kept, unused);
    return kept;
}

// When a file was last written, in seconds since 1970; 0 if unknown.
std::int64_t ModifiedAt(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_mtime) : 0;
}

// A session in the player's window: the seeded game, its event loop and
// what surrounds it. Throws std::runtime_error with one line when the game
// cannot start.
void RunSession(CurrentGame& game, const Options& options, ReplayPlayer* watched) {
    PlayerSettings settings(SettingsFile::PathForUser());
    ReadSettings(settings, options);
    const Settings& chosen = settings.Current();
    ReplayRecorder recorder;
    GameRecords records(DataFolder::ForUser());  // reads and writes nothing yet
    SeedKind kind = SeedKind::kClock;
    const std::uint32_t seed = ChooseSeed(options, kind);
    SessionStart start(seed, kind, recorder);
    std::optional<Gamepads> pads;
    SoundEffects sound;  // opens nothing yet

    // Only what the first frame needs comes before it. The timer starts as
    // soon as the window is open, as the bare game's does, so that the rest
    // is done while the first tick is on its way.
    GameWindow window(game);
    SetDesktopHints();
    window.Open(chosen.IsOn(Settings::kFullscreen), chosen.Number(Settings::kWindowWidth),
                chosen.Number(Settings::kWindowHeight));
    settings.sound = &sound;
    settings.window = &window;
    settings.Apply();
    EventLoop loop(game, &window);
    ShellParts& parts = loop.Parts();
    parts.sound = &sound;
    parts.settings = &settings;
    parts.records = &records;
    if (watched != nullptr) {
        parts.replay = watched;
        parts.replayFileTime = ModifiedAt(options.replayFile);
    } else {
        parts.recorder = &recorder;
        parts.sessionStart = &start;
    }
    settings.applyAccessibility = [&loop](const Accessibility& wanted) {
        loop.SetAccessibility(wanted);
    };
    // Closed at the end of the session, keeping what it could not send in
    // pending/; nothing is sent before the first frame.
    DailyBoard board(
        parts, [&loop](const std::vector<BoardReport>& reports) { loop.HearBoard(reports); },
        DataFolder::ForUser());
    if (watched == nullptr) settings.board = &board;
    loop.SetAccessibility(settings.AccessibilityOptions());
    loop.StartTimer();
    if (watched != nullptr) {
        watched->SeedGame();
        game->InitGame();
        watched->SkipToGame(*game);  // the session's earlier games, unseen
    } else {
        start.Begin(*game);
    }
    window.FitViewport();
    loop.afterFirstFrame = [&] {
        window.FitFrame();
        SetWindowIcon(game->window);
        ClampGlyphRows(*game->font);
        loop.Font();  // a missing or damaged text font ends the start, not a game
        pads.emplace(DataFolder::ForUser().Path());
        parts.pads = &*pads;
        settings.pads = &*pads;
        settings.Apply();  // the pads' buttons, accessibility options and board too
        // No game can end before the first frame: the board can wait too.
        if (watched == nullptr) board.Open();
    };
    game->listener = &sound;
    // A new player reads the keys before the first asteroid moves.
    if (settings.FirstStart() && watched == nullptr) loop.ShowWelcome();
    loop.Run();
    settings.applyAccessibility = nullptr;  // the loop is gone before the settings are
    settings.board = nullptr;
    game->listener = nullptr;
    settings.Finish();
}

int Play(const Options& options) {
    Replay replay;
    if (!options.replayFile.empty()) {
        std::string error;
        if (!replay_file::Read(options.replayFile, replay, error)) {
            std::fprintf(stderr, "korvessa: %s\n", error.c_str());
            return kBadReplay;
        }
    }
    ReplayPlayer player(replay);
    // The session's first game; a session started afresh replaces it.
    CurrentGame game(std::make_unique<GameApp>());
    try {
        RunSession(game, options, options.replayFile.empty() ? nullptr : &player);
    } catch (const std::exception& error) {
        game->listener = nullptr;  // the sound it named is gone
        // One clear line, then release whatever start-up had acquired.
        std::fprintf(stderr, "korvessa: %s\n", error.what());
        game->Shutdown();
        return kStartFailed;
    }
    game->Shutdown();
    return 0;
}

int BadCommandLine(const std::string& error) {
    std::fprintf(stderr, "korvessa: %s\nTry 'korvessa --help' for more information.\n",
                 error.c_str());
    return kBadCommandLine;
}

}  // namespace

int main(int argc, char* argv[]) {
    const Options options = Options::Parse(argc, argv);
    if (!options.error.empty()) return BadCommandLine(options.error);
    if (options.help) {
        std::fputs(Options::Usage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("korvessa %s\n", KORVESSA_VERSION);
        return 0;
    }
    if (!options.verifyFile.empty()) return replay_verifier::Verify(options.verifyFile);
    if (options.board || !options.submitFile.empty()) {
        const Settings kept = KeptSettings();
        const std::string player =
            options.player.empty() ? kept.Get(Settings::kPlayer) : options.player;
        if (player.empty()) {
            return BadCommandLine("the daily board needs a player name: give --player=NAME");
        }
        if (!options.submitFile.empty()) {
            BoardAddress address;
            std::string unused;  // the file's address was checked when it was read
            if (!options.board)
                BoardAddress::Parse(kept.Get(Settings::kBoardAddress), address, unused);
            return submit_command::Submit(options.submitFile, options.board.value_or(address),
                                          player);
        }
    }
    // A game started under nohup keeps ignoring the hangup.
    struct sigaction hangup {};
    if (sigaction(SIGHUP, nullptr, &hangup) == 0 && hangup.sa_handler != SIG_IGN) {
        std::signal(SIGHUP, EndLikeSigterm);
    }
    return Play(options);
}
