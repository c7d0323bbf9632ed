// The shell around the game: the letterbox, the command line, and the event
// loop's pause, stall and focus rules, driven with real SDL events on a game
// with no window.

#include <GL/gl.h>
#include <SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/BitmapFont.h"
#include "gfx/TextFont.h"
#include "input/Gamepads.h"
#include "save/DataFolder.h"
#include "save/GameRecords.h"
#include "save/ReplayFile.h"
#include "save/ReplayPlayer.h"
#include "save/ReplayRecorder.h"
#include "shell/Options.h"
#include "shell/loop/EventLoop.h"
#include "shell/screens/GameOverScreen.h"
#include "shell/session/SessionStart.h"
#include "shell/ui/OverlayFont.h"
#include "shell/ui/Viewport.h"
#include "tests/game/GameAppFixture.h"
#include "tests/shell/ShellEvents.h"
#include "tests/support/GameStateSnapshot.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using testing_support::KeyEvent;
using testing_support::ParseLine;
using testing_support::TickEvent;
using testing_support::WindowEvent;

// ---------------------------------------------------------------------------
// Letterbox

struct FitCase {
    int drawableWidth;
    int drawableHeight;
    Viewport expected;
};

TEST(ViewportTest, FitsThePlayfieldCentredWithBars) {
    const FitCase cases[] = {
        {1024, 768, {0, 0, 1024, 768, 1.0f}},          // the default window
        {2048, 1536, {0, 0, 2048, 1536, 2.0f}},        // the same window on a 2x HiDPI screen
        {1920, 1080, {240, 0, 1440, 1080, 1.40625f}},  // wide: pillarbox
        {800, 1000, {0, 200, 800, 600, 0.78125f}},     // tall: letterbox
        {1366, 705, {213, 0, 940, 705, 0.91796875f}},  // a small laptop under a panel
        {3, 1, {1, 0, 1, 1, 1.0f / 768}},              // tiny, but never outside
    };
    for (const FitCase& c : cases) {
        const Viewport fit = Viewport::Fit(c.drawableWidth, c.drawableHeight);
        SCOPED_TRACE(std::to_string(c.drawableWidth) + "x" + std::to_string(c.drawableHeight));
        EXPECT_EQ(fit.x, c.expected.x);
        EXPECT_EQ(fit.y, c.expected.y);
        EXPECT_EQ(fit.width, c.expected.width);
        EXPECT_EQ(fit.height, c.expected.height);
        EXPECT_FLOAT_EQ(fit.scale, c.expected.scale);
        // Never stretched: the two scales agree to within rounding.
        EXPECT_NEAR(fit.width * 768.0, fit.height * 1024.0, 1024.0);
    }
    EXPECT_EQ(Viewport::Fit(0, 600).width, 0) << "a minimised window has no area";
    EXPECT_EQ(Viewport::Fit(800, -1).height, 0);
}

// ---------------------------------------------------------------------------
// Command line

TEST(OptionsTest, ReadsEveryOption) {
    Options none = ParseLine({});
    EXPECT_TRUE(none.error.empty());
    EXPECT_FALSE(none.fullscreen || none.hasSeed || none.help || none.version || none.mute);
    EXPECT_EQ(none.volume, 100);

    Options all = ParseLine({"--fullscreen", "--seed", "4294967295", "-m", "--volume=0"});
    EXPECT_TRUE(all.error.empty()) << all.error;
    EXPECT_TRUE(all.fullscreen);
    EXPECT_TRUE(all.hasSeed);
    EXPECT_EQ(all.seed, 4294967295u);
    EXPECT_TRUE(all.mute);
    EXPECT_EQ(all.volume, 0);

    EXPECT_TRUE(ParseLine({"-h"}).help);
    EXPECT_TRUE(ParseLine({"--version"}).version);
    EXPECT_TRUE(ParseLine({"-f", "-s", "7"}).fullscreen);
    EXPECT_EQ(ParseLine({"-fs7"}).seed, 7u);
    EXPECT_TRUE(ParseLine({"--daily"}).daily);
    EXPECT_EQ(ParseLine({"--verify", "a.kvr"}).verifyFile, "a.kvr");
    EXPECT_EQ(ParseLine({"--replay=b.kvr"}).replayFile, "b.kvr");
    EXPECT_EQ(ParseLine({"c.kvr"}).replayFile, "c.kvr") << "a file alone is a replay to watch";
}

TEST(OptionsTest, RefusesBadCommandLinesNamingTheCulprit) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--bogus"}, "'--bogus'"},
        {{"--bogus=3"}, "'--bogus'"},
        {{"-x"}, "'-x'"},
        {{"-fx"}, "'-x'"},
        {{"--seed"}, "'--seed' needs a value"},
        {{"-s"}, "'-s' needs a value"},
        {{"--seed", "-1"}, "'-1'"},
        {{"--seed", "4294967296"}, "'4294967296'"},
        {{"--seed", "12abc"}, "'12abc'"},
        {{"--seed", " 5"}, "' 5'"},
        {{"--volume", "101"}, "'101'"},
        {{"--volume", ""}, "''"},
        {{"a.kvr", "b.kvr"}, "'a.kvr'"},
        {{"--seed", "1", "--daily"}, "cannot be combined"},
        {{"--verify", "a.kvr", "b.kvr"}, "cannot be combined"},
        {{"--help=yes"}, "'--help' takes no value"},
        {{"--mute", "-xf"}, "'-x'"},
        {{"--verify="}, "'--verify' needs a file"},
        {{"--replay", ""}, "'--replay' needs a file"},
        {{""}, "unexpected argument ''"},
        {{"--player", "   "}, "only spaces"},
        {{"--player=\xC3\x85sa"}, "letters, digits and punctuation of ASCII only"},
        {{"--volume", std::string(5000, '9')}, "'" + std::string(40, '9') + "...':"},
    };
    for (const auto& [words, culprit] : bad) {
        const Options options = ParseLine(words);
        SCOPED_TRACE(words.front());
        EXPECT_NE(options.error.find(culprit), std::string::npos) << options.error;
        EXPECT_EQ(options.error.find('\n'), std::string::npos) << "one line";
    }
    EXPECT_EQ(ParseLine({"--player", " Ann Lee "}).player, "Ann Lee") << "blanks at the ends go";
}

// ---------------------------------------------------------------------------
// Event loop

class EventLoopTest : public GameAppTest {
protected:
    void Tick() { loop.HandleEvent(TickEvent(SDL_GetTicks())); }
    void Press(SDL_Keycode key) { loop.HandleEvent(KeyEvent(SDL_KEYDOWN, key)); }
    void Release(SDL_Keycode key) { loop.HandleEvent(KeyEvent(SDL_KEYUP, key)); }

    EventLoop loop{app, nullptr};
};

TEST_F(EventLoopTest, PausedGameNeitherTicksNorFiresAndForgetsHeldKeys) {
    Press(SDLK_LEFT);
    Tick();
    const double heading = app.ship->angle;
    ASSERT_NE(heading, 0.0) << "the held key turned the ship";

    Press(SDLK_LALT);  // held through the pause below: its release fires nothing
    Press(SDLK_p);
    ASSERT_TRUE(loop.IsPaused());
    Press(SDLK_RALT);  // pressed during the pause (Space would choose Resume): likewise
    const int lit = static_cast<int>(recgl::Calls().size());
    EXPECT_GT(lit, 0) << "the pause redraws the frozen frame once";
    const double x = app.asteroids[0]->x;
    for (int i = 0; i < 10; ++i) Tick();
    Release(SDLK_RALT);
    Release(SDLK_LALT);
    EXPECT_EQ(app.ship->angle, heading);
    EXPECT_EQ(app.asteroids[0]->x, x) << "nothing moves while paused";
    EXPECT_EQ(app.photons[1], nullptr) << "a release during a pause fires nothing";
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges);
    EXPECT_EQ(static_cast<int>(recgl::Calls().size()), lit) << "nothing redrawn while paused";

    Press(SDLK_ESCAPE);
    ASSERT_FALSE(loop.IsPaused());
    EXPECT_EQ(app.input, 0u) << "the key held when the pause began counts as released";
    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_LEFT, 1));
    EXPECT_EQ(app.input, 0u) << "its key repeats hold nothing";
    Tick();
    EXPECT_EQ(app.ship->angle, heading);
    EXPECT_NE(app.asteroids[0]->x, x);
    Release(SDLK_LALT);
    Release(SDLK_SPACE);
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges);
    EXPECT_EQ(app.photons[1], nullptr);

    // Losing focus, being minimised or hidden each pause, and only a key resumes.
    for (Uint8 what :
         {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_HIDDEN}) {
        loop.HandleEvent(WindowEvent(what));
        EXPECT_TRUE(loop.IsPaused());
        loop.HandleEvent(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
        loop.HandleEvent(WindowEvent(SDL_WINDOWEVENT_RESTORED));
        EXPECT_TRUE(loop.IsPaused());
        Press(SDLK_p);
    }
    // Q quits only while paused; repeats of the pause key do not toggle it.
    Press(SDLK_q);
    EXPECT_FALSE(app.quit);
    Press(SDLK_p);
    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_p, 1));
    EXPECT_TRUE(loop.IsPaused());
    Press(SDLK_q);
    EXPECT_TRUE(app.quit);
}

TEST_F(EventLoopTest, StaleTicksAreDroppedAndFreshOnesAllRun) {
    const double x = app.asteroids[0]->x;
    // Stamped long ago: the queue held it through a stall.
    loop.HandleEvent(TickEvent(SDL_GetTicks() - EventLoop::kStaleTickMs - 50));
    EXPECT_EQ(app.asteroids[0]->x, x);
    // Several fresh ticks queued together each run one tick.
    const float vx = app.asteroids[0]->vx;
    for (int i = 0; i < 3; ++i) Tick();
    EXPECT_DOUBLE_EQ(app.asteroids[0]->x, x + 3 * static_cast<double>(vx));
}

TEST_F(EventLoopTest, ReleaseCausedByFocusMovingAwayFiresNothing) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    // What SDL queues on Alt-Tab: the held Alt's release, then the focus loss.
    SDL_Event focusLost = WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    SDL_PushEvent(&focusLost);
    Release(SDLK_LALT);
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges);
    testing_support::DeliverQueued([&](const SDL_Event& event) { loop.HandleEvent(event); });
    EXPECT_TRUE(loop.IsPaused());
    // A release with no focus loss behind it is the player's.
    Press(SDLK_p);
    Press(SDLK_LALT);
    Release(SDLK_LALT);
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges - 1);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

// A pad plugged in mid-game drives the ship beside the keyboard: each holds
// its own directions, A and B fire, and unplugging pauses.
TEST_F(EventLoopTest, PadAndKeyboardPlaySideBySide) {
    ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS), 0) << SDL_GetError();
    Gamepads pads("");
    loop.Parts().pads = &pads;
    auto deliver = [this] {
        testing_support::DeliverQueued([&](const SDL_Event& event) { loop.HandleEvent(event); });
    };
    const int index = testing_support::AttachVirtualPad("Shell Test Pad");
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    deliver();
    ASSERT_EQ(pads.PadCount(), 1);

    Press(SDLK_LEFT);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    deliver();
    Release(SDLK_LEFT);
    EXPECT_EQ(app.input, GameApp::kInputLeft) << "the pad still holds left";
    Press(SDLK_UP);
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 0);
    deliver();
    EXPECT_EQ(app.input, GameApp::kInputUp) << "the keyboard still holds up";

    // B held through a pause and let go after it fires nothing.
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
    deliver();
    Press(SDLK_p);
    Press(SDLK_p);
    Press(SDLK_UP);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, SDL_RELEASED);
    deliver();
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges);
    for (int button : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B}) {
        SDL_JoystickSetVirtualButton(stick, button, SDL_PRESSED);
        deliver();
        SDL_JoystickSetVirtualButton(stick, button, SDL_RELEASED);
        deliver();
    }
    EXPECT_NE(app.photons[1], nullptr) << "A fired a photon";
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges - 1) << "B fired the laser";

    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    deliver();
    EXPECT_EQ(app.input, GameApp::kInputUp | GameApp::kInputRight);
    SDL_JoystickClose(stick);
    ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0) << SDL_GetError();
    deliver();
    EXPECT_TRUE(loop.IsPaused()) << "unplugging the pad paused the game";
    EXPECT_EQ(app.input & GameApp::kInputRight, 0u) << "what the pad held is let go";
    loop.Parts().pads = nullptr;
    SDL_Quit();
}

// Another program holds the table's lock when the game ends: the game-over
// screen comes at once with the game going on behind it, and the table
// follows a little later, once the lock is free.
TEST_F(EventLoopTest, GameOverNeverWaitsForTheTableLock) {
    const testing_support::TemporaryFolder folder;
    const DataFolder data(folder.path);
    std::string error;
    ASSERT_TRUE(data.Create(error)) << error;
    const int holder = open((data.Path() + "scores.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    ReplayRecorder recorder;
    recorder.BeginSession(2026, SeedKind::kSeed);
    GameRecords records(data);
    loop.Parts().recorder = &recorder;
    loop.Parts().records = &records;

    app.score = 500;
    app.ship->lives = 1;
    app.ship->Die();
    const Uint32 start = SDL_GetTicks();
    while (app.running) Tick();
    EXPECT_LT(SDL_GetTicks() - start, 2000u) << "the game over waited for the lock";
    const double x = app.asteroids[0]->x;
    recgl::Reset();
    Tick();
    EXPECT_NE(app.asteroids[0]->x, x) << "the game stopped behind the game-over screen";
    EXPECT_TRUE(recgl::CallsNamed("glRectf").empty()) << "a table before the game is in";

    close(holder);
    SDL_Delay(GameRecords::kRetryMs + 10);
    recgl::Reset();
    Tick();
    EXPECT_EQ(recgl::CallsNamed("glRectf").size(), 1u) << "no table once the lock was free";
    ASSERT_EQ(records.Table().Entries().size(), 1u);
    EXPECT_EQ(records.Table().Entries()[0].score, 500);
}

// In a daily session a new game from the game-over screen starts the
// session afresh: exactly the start every player meets that day, whatever
// the game before left behind, and a replay from tick 0.
TEST(EventLoopDailyTest, EveryDailyGameMeetsTheDaysField) {
    constexpr std::uint32_t kDay = 20250614;
    GameApp app;
    ReplayRecorder recorder;
    SessionStart start(kDay, SeedKind::kDaily, recorder);
    start.Begin(app);
    EventLoop loop(app, nullptr);
    loop.Parts().recorder = &recorder;
    loop.Parts().sessionStart = &start;
    Accessibility dim;
    dim.stars = Accessibility::Stars::kDim;
    loop.SetAccessibility(dim);
    auto tick = [&loop] { loop.HandleEvent(TickEvent(SDL_GetTicks())); };
    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_LEFT));
    for (int i = 0; i < 200; ++i) tick();
    loop.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_LEFT));
    app.ship->lives = 1;
    app.ship->Die();
    while (app.running) tick();
    // Pressed once the game-over screen lets a new game start.
    SDL_Event press = KeyEvent(SDL_KEYDOWN, SDLK_SPACE);
    press.key.timestamp += GameOverScreen::kGuardMs;
    loop.HandleEvent(press);
    loop.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_SPACE));
    // The new game replaced the one this test made.
    const GameApp& current = loop.App();
    ASSERT_TRUE(current.running);
    EXPECT_EQ(recorder.Ticks(), 0u) << "the new game's replay does not start at tick 0";
    EXPECT_NE(current.starPainter, nullptr) << "the new game lost what the shell attached";
    const testing_support::GameStateSnapshot renewed(current);
    const int next = NextRandom();

    GameApp fresh;
    SeedRandom(kDay);
    fresh.InitGame();
    EXPECT_TRUE(renewed == testing_support::GameStateSnapshot(fresh)) << "not the day's start";
    EXPECT_EQ(next, NextRandom()) << "not the day's random sequence";
}

// The texts drawn over the frame since the last reset, one per DrawText,
// read back from their glyph cells in the text font.
std::vector<std::string> TextsDrawn() {
    std::vector<std::string> texts;
    const std::vector<GLCall>& calls = recgl::Calls();
    int corner = 0;
    for (const GLCall& call : calls) {
        if (call.name == "glBegin" && call.args[0] == GL_QUADS) {
            texts.emplace_back();
            corner = 0;
        } else if (call.name == "glTexCoord2f" && !texts.empty() && corner++ % 4 == 0) {
            const int cell =
                static_cast<int>(call.args[0] * TextFont::kBitmapWidth / TextFont::kCellSize + 0.5);
            texts.back() += static_cast<char>(' ' + cell);
        }
    }
    return texts;
}

bool Drawn(const std::string& text) {
    const std::vector<std::string> texts = TextsDrawn();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// While a replay plays, a line says so, with the file's date and the
// recorded score; at its end a line says how to leave, and Q does.
TEST(EventLoopReplayTest, WatchingSaysSoAndItsEndHowToLeave) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(replay_file::Read(KORVESSA_COMMITTED_REPLAY, replay, error)) << error;
    GameApp app;
    ReplayPlayer player(replay);
    player.SeedGame();
    app.InitGame();
    player.SkipToGame(app);
    EventLoop loop(app, nullptr);
    loop.Parts().replay = &player;
    loop.Parts().replayFileTime = 1749900000;  // 2025-06-14T11:20:00Z
    const std::string title = "replay  14 jun 2025  score " + std::to_string(replay.score);
    const std::string leave = "end of replay: press q to quit";
    recgl::Reset();
    loop.HandleEvent(TickEvent(SDL_GetTicks()));
    EXPECT_TRUE(Drawn(title));
    EXPECT_FALSE(Drawn(leave));
    while (!player.Finished()) {
        recgl::Reset();
        loop.HandleEvent(TickEvent(SDL_GetTicks()));
    }
    EXPECT_TRUE(Drawn(title));
    EXPECT_TRUE(Drawn(leave)) << "the last frame does not say how to leave";
    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_q));
    EXPECT_TRUE(app.quit);
}

// The shell's texts draw every printable character from a font of their own,
// as written; the game's font keeps the table the game made, so its own
// texts draw exactly as before.
TEST_F(GameAppTest, OverlayFontDrawsEveryCharacterAndTheGameTextsAsBefore) {
    int before[CBitmapFont::kTableSize];
    std::copy(std::begin(app.font->glyphOf), std::end(app.font->glyphOf), before);
    ClampGlyphRows(*app.font);
    std::string every;
    for (int code = ' '; code <= '~'; ++code) every += static_cast<char>(code);
    const TextFont font;
    recgl::Reset();
    DrawCentred(font, 100, every.c_str());
    EXPECT_EQ(TextsDrawn(), std::vector<std::string>{every});
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(app.font->glyphOf)));
}

// With nothing new switched on, a tick through the event loop at the default
// size sends exactly the GL calls of a bare GameApp's Tick().
TEST(EventLoopFrameTest, DefaultFrameIsTheBareGamesFrame) {
    constexpr unsigned kSeed = 77;
    constexpr int kTicks = 300;
    auto play = [](bool throughLoop) {
        std::vector<std::string> frames;
        GameApp app;
        SeedRandom(kSeed);
        recgl::Reset();
        app.InitGame();
        EventLoop loop(app, nullptr);
        loop.SetAccessibility(Accessibility());  // every option off, as by default
        for (int tick = 0; tick < kTicks; ++tick) {
            const SDL_Keycode key = tick % 40 < 20 ? SDLK_LEFT : SDLK_UP;
            const bool fire = tick % 7 == 0;
            recgl::Reset();
            if (throughLoop) {
                loop.HandleEvent(KeyEvent(SDL_KEYDOWN, key));
                if (fire) {
                    const SDL_Keycode weapon = tick % 21 ? SDLK_SPACE : SDLK_RALT;
                    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, weapon));
                    loop.HandleEvent(KeyEvent(SDL_KEYUP, weapon));
                }
                loop.HandleEvent(TickEvent(SDL_GetTicks()));
                loop.HandleEvent(KeyEvent(SDL_KEYUP, key));
            } else {
                app.HandleKeyDown(key);
                if (fire) {
                    const SDL_Keycode weapon = tick % 21 ? SDLK_SPACE : SDLK_RALT;
                    app.HandleKeyDown(weapon);
                    app.HandleKeyUp(weapon);
                }
                app.Tick();
                app.HandleKeyUp(key);
            }
            // Each game made its own font texture; its name is all that differs.
            std::string frame = recgl::Dump();
            for (std::size_t at = 0;
                 (at = frame.find("glBindTexture 3553 ", at)) != std::string::npos;) {
                at += 19;
                frame.erase(at, frame.find('\n', at) - at);
            }
            frames.push_back(frame);
        }
        return frames;
    };
    const std::vector<std::string> bare = play(false);
    const std::vector<std::string> shell = play(true);
    ASSERT_EQ(bare.size(), shell.size());
    for (std::size_t i = 0; i < bare.size(); ++i) {
        ASSERT_FALSE(bare[i].empty());
        ASSERT_EQ(bare[i], shell[i]) << "frame " << i;
    }
}

}  // namespace
