// The accessibility options: read from the command line by the names the
// settings file uses, and never a change to the game itself. A scripted game
// played through the event loop with every option on goes through the very
// same states as with every option off, and so does its replay.

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "objects/Random.h"
#include "save/ReplayFile.h"
#include "save/ReplayPlayer.h"
#include "save/ReplayRecorder.h"
#include "shell/Options.h"
#include "shell/loop/EventLoop.h"
#include "tests/game/GameAppFixture.h"
#include "tests/gl/RecordingGL.h"
#include "tests/shell/ShellEvents.h"
#include "tests/support/GameStateSnapshot.h"

namespace {

using testing_support::KeyEvent;
using testing_support::ParseLine;
using testing_support::TickEvent;

Accessibility EveryOptionOn() {
    Accessibility on;
    on.lineWidth = 3.0f;
    on.stars = Accessibility::Stars::kDim;
    on.clearSaucer = true;
    on.clearPhotons = true;
    on.speed = 50;
    on.fireOnPress = true;
    return on;
}

TEST(AccessibilityOptionsTest, CommandLineAndSettingsShareNamesAndValues) {
    const Options none = ParseLine({});
    EXPECT_TRUE(none.accessibility == Accessibility()) << "all off by default";

    const Options all = ParseLine({"--line-width=3", "--stars", "dim", "--clear-saucer",
                                   "--clear-photons", "--speed=50", "--fire-on-press"});
    ASSERT_EQ(all.error, "");
    EXPECT_TRUE(all.accessibility == EveryOptionOn());

    // Every value of every option reads back from its own text, under the
    // name the settings file uses, and each name is a long option.
    const std::vector<std::vector<std::string>> values = {
        {"1", "1.5", "2", "3"}, {"on", "dim", "off"},      {"on", "off"},
        {"on", "off"},          {"100", "80", "65", "50"}, {"on", "off"}};
    ASSERT_EQ(Accessibility::Names().size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string& name = Accessibility::Names()[i];
        EXPECT_NE(Options::Usage().find("--" + name), std::string::npos) << name;
        for (const std::string& text : values[i]) {
            Accessibility options;
            std::string error;
            ASSERT_TRUE(options.Set(name, text, error)) << name << " = " << text << ": " << error;
            EXPECT_EQ(options.Get(name), text);
        }
    }

    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--line-width=4"}, "bad line-width '4': 1, 1.5, 2 or 3"},
        {{"--line-width", "1.50"}, "bad line-width '1.50': 1, 1.5, 2 or 3"},
        {{"--stars=faint"}, "bad stars 'faint': on, dim or off"},
        {{"--speed=90"}, "bad speed '90': 100, 80, 65 or 50"},
        {{"--speed"}, "option '--speed' needs a value"},
        {{"--fire-on-press=on"}, "option '--fire-on-press' takes no value"},
    };
    for (const auto& [words, message] : bad) EXPECT_EQ(ParseLine(words).error, message);
    Accessibility kept = EveryOptionOn();
    std::string error;
    EXPECT_FALSE(kept.Set("speed", "fast", error));
    EXPECT_FALSE(kept.Set("contrast", "on", error));
    EXPECT_TRUE(kept == EveryOptionOn()) << "a refused value changed nothing";
}

// ---------------------------------------------------------------------------
// The same game, options on and off

constexpr unsigned kSeed = 4711;
constexpr int kTickLimit = 30000;

struct PlayedGame {
    std::vector<std::uint64_t> states;  // after every tick
    Replay replay;
    int ringFrames = 0;  // frames with a ring drawn over them
};

// A restless player through the event loop until the first game ends:
// arrows held for a while, photons and the laser tapped between ticks.
PlayedGame PlayScripted(const Accessibility& options) {
    PlayedGame played;
    GameApp app;
    SeedRandom(kSeed);
    app.InitGame();
    ReplayRecorder recorder;
    recorder.BeginSession(kSeed, SeedKind::kSeed);
    EventLoop loop(app, nullptr);
    loop.Parts().recorder = &recorder;
    loop.SetAccessibility(options);
    std::uint32_t script = 99;
    auto below = [&script](std::uint32_t n) {
        script ^= script << 13;
        script ^= script >> 17;
        script ^= script << 5;
        return script % n;
    };
    static const SDL_Keycode kArrows[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
    auto tap = [&loop](SDL_Keycode key) {
        loop.HandleEvent(KeyEvent(SDL_KEYDOWN, key));
        loop.HandleEvent(KeyEvent(SDL_KEYUP, key));
    };
    for (int tick = 0; tick < kTickLimit && app.running; ++tick) {
        if (below(8) == 0) {
            loop.HandleEvent(KeyEvent(below(2) ? SDL_KEYDOWN : SDL_KEYUP, kArrows[below(4)]));
        }
        if (below(4) == 0) tap(SDLK_SPACE);
        if (below(60) == 0) tap(below(2) ? SDLK_LALT : SDLK_RALT);
        recgl::Reset();
        loop.HandleEvent(TickEvent(SDL_GetTicks()));
        played.states.push_back(testing_support::GameStateSnapshot(app).Hash());
        played.ringFrames += !recgl::Vertices(GL_LINE_LOOP).empty();
    }
    played.replay = recorder.FinishGame(app.score);
    return played;
}

TEST(AccessibilityGameTest, EveryOptionOnPlaysTheSameGameAndItsReplayVerifies) {
    const PlayedGame off = PlayScripted(Accessibility());
    const PlayedGame on = PlayScripted(EveryOptionOn());
    ASSERT_LT(off.states.size(), static_cast<std::size_t>(kTickLimit)) << "the game never ended";
    ASSERT_EQ(on.states.size(), off.states.size());
    for (std::size_t tick = 0; tick < off.states.size(); ++tick) {
        ASSERT_EQ(on.states[tick], off.states[tick]) << "tick " << tick;
    }
    EXPECT_EQ(off.ringFrames, 0);
    EXPECT_GT(on.ringFrames, 0) << "the rings were never drawn";
    EXPECT_GT(on.replay.score, 0);
    EXPECT_EQ(on.replay.score, off.replay.score);
    EXPECT_EQ(off.replay.speed, 100);

    // The replay keeps the speed, through its file.
    Replay read;
    std::string what;
    ASSERT_TRUE(replay_file::Decode(replay_file::Encode(on.replay), read, what)) << what;
    EXPECT_EQ(read.speed, 50);

    // Verified with no option at all: the same state after every tick.
    GameApp app;
    ReplayPlayer player(read);
    player.SeedGame();
    app.InitGame();
    for (std::size_t tick = 0; player.Step(app); ++tick) {
        ASSERT_LT(tick, on.states.size());
        ASSERT_EQ(testing_support::GameStateSnapshot(app).Hash(), on.states[tick]) << tick;
    }
    EXPECT_EQ(player.TicksPlayed(), on.states.size());
    EXPECT_FALSE(app.running);
    EXPECT_EQ(app.score, on.replay.score);
}

// ---------------------------------------------------------------------------
// Firing on press

class FireOnPressTest : public GameAppTest {
protected:
    void SetUp() override {
        GameAppTest::SetUp();
        Accessibility options;
        options.fireOnPress = true;
        loop.SetAccessibility(options);
    }
    int PhotonsFired() const {
        int fired = 0;
        for (const CPhoton* photon : app.photons) fired += photon != nullptr;
        return fired;
    }

    EventLoop loop{app, nullptr};
};

TEST_F(FireOnPressTest, KeysAndButtonsFireWhenPressedAndNotAgainWhenLetGo) {
    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_SPACE));
    EXPECT_EQ(PhotonsFired(), 1) << "Space fired on its press";
    loop.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_SPACE));
    EXPECT_EQ(PhotonsFired(), 1) << "and not again on its release";
    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_RALT));
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges - 1);
    loop.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_RALT));
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges - 1);

    // A pad's A and B, attached after the options: as for the keys.
    ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS), 0) << SDL_GetError();
    Gamepads pads("");
    loop.Parts().pads = &pads;
    loop.SetAccessibility(loop.AccessibilityOptions());
    const int index = testing_support::AttachVirtualPad("Fire Test Pad");
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    auto deliver = [this] {
        testing_support::DeliverQueued([&](const SDL_Event& event) { loop.HandleEvent(event); });
    };
    deliver();
    ASSERT_EQ(pads.PadCount(), 1);
    auto button = [&](int which, Uint8 state) {
        SDL_JoystickSetVirtualButton(stick, which, state);
        deliver();
    };
    button(SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    EXPECT_EQ(PhotonsFired(), 2) << "A fired on its press";
    button(SDL_CONTROLLER_BUTTON_A, SDL_RELEASED);
    EXPECT_EQ(PhotonsFired(), 2);
    button(SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
    button(SDL_CONTROLLER_BUTTON_B, SDL_RELEASED);
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges - 2);
    loop.Parts().pads = nullptr;
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
    SDL_Quit();
}

}  // namespace
