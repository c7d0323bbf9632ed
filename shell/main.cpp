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

#include "audio/SoundEffects.h"
#include "board/BoardSender.h"
#include "board/PendingQueue.h"
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
#include "shell/EventLoop.h"
#include "shell/GameWindow.h"
#include "shell/Options.h"
#include "shell/OverlayFont.h"
#include "shell/PlayerSettings.h"
#include "shell/SessionStart.h"

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
    if (options.hasVolume) settings.Override("volume", std::to_string(options.volume));
    if (options.mute) settings.Override("mute", "on");
    if (options.fullscreen) settings.Override("fullscreen", "on");
    for (const std::string& name : options.accessibilityGiven) {
        settings.Override(name, options.accessibility.Get(name));
    }
}

// When a file was last written, in seconds since 1970; 0 if unknown.
std::int64_t ModifiedAt(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_mtime) : 0;
}

// A session in the player's window: the seeded game, its event loop and
// what surrounds it. Throws std::runtime_error with one line when the game
// cannot start.
void RunSession(GameApp& app, const Options& options, ReplayPlayer* watched) {
    // Made first and so gone last: its worker keeps games that are still to
    // be sent in pending/ when the session ends.
    std::unique_ptr<BoardSender> board;
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
    GameWindow window(app);
    SetDesktopHints();
    window.Open(chosen.IsOn("fullscreen"), chosen.Number("window-width"),
                chosen.Number("window-height"));
    settings.sound = &sound;
    settings.window = &window;
    settings.Apply();
    EventLoop loop(app, &window);
    loop.sound = &sound;
    loop.settings = &settings;
    loop.records = &records;
    if (watched != nullptr) {
        loop.replay = watched;
        loop.replayFileTime = ModifiedAt(options.replayFile);
    } else {
        loop.recorder = &recorder;
        loop.sessionStart = &start;
    }
    settings.loop = &loop;
    loop.SetAccessibility(settings.AccessibilityOptions());
    loop.StartTimer();
    if (watched != nullptr) {
        watched->SeedGame();
        app.InitGame();
        watched->SkipToGame(app);  // the session's earlier games, unseen
    } else {
        start.Begin(app);
    }
    window.FitViewport();
    loop.afterFirstFrame = [&] {
        window.FitFrame();
        SetWindowIcon(app.window);
        MapEveryGlyph(*app.font);
        pads.emplace(DataFolder::ForUser().Path());
        loop.pads = &*pads;
        settings.pads = &*pads;
        settings.Apply();  // the pads' buttons and accessibility options too
        // No game can end before the first frame: the board can wait too.
        if (watched == nullptr && options.board) {
            board = std::make_unique<BoardSender>(*options.board, options.player,
                                                  PendingQueue(DataFolder::ForUser()),
                                                  EventLoop::WakeForBoard);
            board->SendPending();  // what an earlier session could not send
            loop.board = board.get();
        }
    };
    app.listener = &sound;
    // A new player reads the keys before the first asteroid moves.
    if (settings.FirstStart() && watched == nullptr) loop.ShowWelcome();
    loop.Run();
    settings.loop = nullptr;  // gone before the settings are
    app.listener = nullptr;
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
    GameApp app;
    try {
        RunSession(app, options, options.replayFile.empty() ? nullptr : &player);
    } catch (const std::exception& error) {
        app.listener = nullptr;  // the sound it named is gone
        // One clear line, then release whatever start-up had acquired.
        std::fprintf(stderr, "korvessa: %s\n", error.what());
        app.Shutdown();
        return kStartFailed;
    }
    app.Shutdown();
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
    if ((options.board || !options.submitFile.empty()) && options.player.empty()) {
        return BadCommandLine("the daily board needs a player name: give --player=NAME");
    }
    if (!options.submitFile.empty()) {
        return submit_command::Submit(options.submitFile, options.board.value_or(BoardAddress()),
                                      options.player);
    }
    // A game started under nohup keeps ignoring the hangup.
    struct sigaction hangup {};
    if (sigaction(SIGHUP, nullptr, &hangup) == 0 && hangup.sa_handler != SIG_IGN) {
        std::signal(SIGHUP, EndLikeSigterm);
    }
    return Play(options);
}
