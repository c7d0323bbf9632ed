// The menus, remapping and the shell's guards, driven with real SDL events
// (keys, a virtual pad, the mouse) on a game with no window.

#include "tests/shell/MenuTest.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "input/Gamepads.h"
#include "objects/Random.h"
#include "save/GameRecords.h"
#include "save/ReplayPlayer.h"
#include "save/ReplayRecorder.h"
#include "shell/loop/EventLoop.h"
#include "shell/loop/PadRepeat.h"
#include "shell/screens/ControlsMenu.h"
#include "shell/screens/GameOverScreen.h"
#include "shell/screens/MenuScreen.h"
#include "shell/screens/TextEntryScreen.h"
#include "shell/screens/WatchScreen.h"
#include "shell/session/DailyBoard.h"
#include "shell/session/PlayerSettings.h"
#include "shell/ui/OverlayFont.h"
#include "tests/game/GameAppFixture.h"
#include "tests/gl/RecordingGL.h"
#include "tests/shell/ShellEvents.h"
#include "tests/support/DrawnTexts.h"
#include "tests/support/GameStateSnapshot.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using testing_support::KeyEvent;

// Escape, the settings, the volume, the laser rebound to Right Ctrl, all by
// keyboard; then the laser fires from Right Ctrl and not from Alt, a swap
// moves the old key, Escape and F11 cannot be bound, and a binding holds on
// any layout.
TEST_F(MenuTest, KeyboardRebindsAndTheGameFollowsTheNewKeysOnly) {
    Tap(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    ASSERT_TRUE(loop.IsPaused());
    EXPECT_EQ(Highlighted(), "resume") << "the first item is chosen at once";
    Tap(SDL_SCANCODE_DOWN, SDLK_DOWN);
    EXPECT_EQ(Highlighted(), "settings");
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    EXPECT_NE(Highlighted().find("volume"), std::string::npos);
    Tap(SDL_SCANCODE_LEFT, SDLK_LEFT);
    EXPECT_EQ(settings->Current().Number("volume"), 90);
    EXPECT_NE(File().find("volume = 90\n"), std::string::npos) << File();

    for (int i = 0; i < 3; ++i) Tap(SDL_SCANCODE_DOWN, SDLK_DOWN);
    EXPECT_EQ(Highlighted(), "keys and buttons");
    Tap(SDL_SCANCODE_SPACE, SDLK_SPACE);
    for (int i = 0; i < 5; ++i) Tap(SDL_SCANCODE_DOWN, SDLK_DOWN);
    EXPECT_EQ(Highlighted().rfind("laser", 0), 0u) << Highlighted();
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    Tap(SDL_SCANCODE_F11, SDLK_F11);
    Tap(SDL_SCANCODE_M, SDLK_m);
    Tap(SDL_SCANCODE_Q, SDLK_q);
    Tap(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);  // cancels
    EXPECT_EQ(settings->Bindings().Keys(KeyBindings::kLaser).size(), 2u) << "F11, M or Q is bound";
    EXPECT_FALSE(settings->Current().IsOn("mute")) << "M muted while a key was awaited";
    ASSERT_TRUE(loop.IsPaused());
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    Tap(SDL_SCANCODE_RCTRL, SDLK_RCTRL);
    EXPECT_NE(Highlighted().find("Right Ctrl"), std::string::npos) << Highlighted();
    EXPECT_NE(File().find("key.laser = Right Ctrl\n"), std::string::npos) << File();

    Tap(SDL_SCANCODE_P, SDLK_p);  // the pause key resumes from any depth
    ASSERT_FALSE(loop.IsPaused());
    Tap(SDL_SCANCODE_LALT, SDLK_LALT);
    Tap(SDL_SCANCODE_RALT, SDLK_RALT);
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges) << "Alt fired";
    Tap(SDL_SCANCODE_RCTRL, SDLK_RCTRL);
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges - 1) << "Right Ctrl did not";

    // The photon onto the turn-left key: turning left moves to Space.
    KeyBindings bindings = settings->Bindings();
    KeyBindings::Action swapped = KeyBindings::kActionCount;
    ASSERT_TRUE(bindings.Bind(KeyBindings::kPhoton, SDL_SCANCODE_LEFT, swapped));
    EXPECT_EQ(swapped, KeyBindings::kTurnLeft);
    EXPECT_FALSE(bindings.Bind(KeyBindings::kThrust, SDL_SCANCODE_ESCAPE, swapped));
    // W, where a QWERTY keyboard has it, turns right on any layout.
    ASSERT_TRUE(bindings.Bind(KeyBindings::kTurnRight, SDL_SCANCODE_W, swapped));
    settings->Change([&](Settings& s) { s.Bind(bindings); });
    Tap(SDL_SCANCODE_LEFT, SDLK_LEFT);
    EXPECT_NE(app.photons[1], nullptr) << "the old turn-left key fires now";
    const double heading = app.ship->angle;
    Tap(SDL_SCANCODE_SPACE, SDLK_SPACE);  // a tap shorter than a tick still turns
    Tick();
    EXPECT_GT(app.ship->angle, heading) << "Space turns left now";
    Down(SDL_SCANCODE_Z, SDLK_w);  // AZERTY: W's symbol at Z's place does nothing
    EXPECT_EQ(app.input, 0u);
    Up(SDL_SCANCODE_Z, SDLK_w);
    Down(SDL_SCANCODE_W, SDLK_z);  // and the key at W's place, whatever it says
    EXPECT_EQ(app.input, GameApp::kInputRight);
    Up(SDL_SCANCODE_W, SDLK_z);
}

TEST_F(MenuTest, FirstStartShowsTheKeysUntilStartedAndNeverAgain) {
    ASSERT_TRUE(settings->FirstStart());
    loop.ShowWelcome();
    ASSERT_TRUE(loop.IsPaused());
    EXPECT_NE(Menu().List().TextOf(5).find("Left Alt, Right Alt"), std::string::npos);
    const double x = app.asteroids[0]->x;
    Tick();
    EXPECT_EQ(app.asteroids[0]->x, x) << "nothing moves before the player starts";
    EXPECT_EQ(access((folder + "/config").c_str(), F_OK), -1) << "nothing written yet";
    Tap(SDL_SCANCODE_SPACE, SDLK_SPACE);
    EXPECT_FALSE(loop.IsPaused());
    EXPECT_EQ(app.photons[1], nullptr) << "the Space that started fired nothing";
    EXPECT_EQ(File().rfind("korvessa settings 1\n", 0), 0u) << File();
    PlayerSettings again(folder + "/config/settings.ini");
    again.Load();
    EXPECT_FALSE(again.FirstStart());
}

// The accessibility options in the settings: a change reaches the game's
// loop at once and is kept under the command line's names; an option given
// on the command line holds for the session without being written.
TEST_F(MenuTest, AccessibilitySettingsApplyAtOnceAndAreKept) {
    settings->applyAccessibility = [this](const Accessibility& chosen) {
        loop.SetAccessibility(chosen);
    };
    settings->Override("speed", "50");
    settings->Apply();
    EXPECT_EQ(loop.AccessibilityOptions().speed, 50);
    settings->Change([](Settings& s) { s.Step("stars", +1); });
    settings->Change([](Settings& s) { s.Step("clear-saucer", +1); });
    EXPECT_EQ(loop.AccessibilityOptions().stars, Accessibility::Stars::kDim);
    EXPECT_TRUE(loop.AccessibilityOptions().clearSaucer);
    EXPECT_NE(File().find("stars = dim\n"), std::string::npos) << File();
    EXPECT_NE(File().find("clear-saucer = on\n"), std::string::npos) << File();
    EXPECT_EQ(File().find("speed = 50"), std::string::npos) << "the command line's is not kept";

    PlayerSettings again(folder + "/config/settings.ini");
    again.Load();
    const Accessibility kept = again.AccessibilityOptions();
    EXPECT_EQ(kept.stars, Accessibility::Stars::kDim);
    EXPECT_TRUE(kept.clearSaucer);
    EXPECT_EQ(kept.speed, 100);
    settings->applyAccessibility = nullptr;
}

// With a pad alone: every menu reached, a value changed, the laser moved to
// Y, the stick and a held direction move, and the game quit.
TEST_F(MenuTest, PadAloneChangesSettingsRebindsAndQuits) {
    pads = std::make_unique<Gamepads>("");
    loop.Parts().pads = pads.get();
    settings->pads = pads.get();
    const int index = testing_support::AttachVirtualPad("Menu Test Pad");
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    Deliver();
    auto press = [&](int button, bool down) {
        SDL_JoystickSetVirtualButton(stick, button, down ? SDL_PRESSED : SDL_RELEASED);
        Deliver();
    };
    auto click = [&](int button) {
        press(button, true);
        press(button, false);
    };

    click(SDL_CONTROLLER_BUTTON_START);
    ASSERT_TRUE(loop.IsPaused());
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 32767);  // the stick pushed down
    Deliver();
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 0);
    Deliver();
    EXPECT_EQ(Highlighted(), "settings");
    click(SDL_CONTROLLER_BUTTON_A);
    click(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    EXPECT_EQ(settings->Current().Number("volume"), 90);
    // Held down: one move at once, more while it stays held.
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    EXPECT_NE(Highlighted().find("mute"), std::string::npos);
    SDL_Delay(PadRepeat::kFirstDelayMs + PadRepeat::kIntervalMs + 60);
    Deliver();
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    EXPECT_EQ(Highlighted(), "keys and buttons");
    click(SDL_CONTROLLER_BUTTON_A);
    for (int i = 0; i < 5; ++i) click(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    click(SDL_CONTROLLER_BUTTON_A);
    click(SDL_CONTROLLER_BUTTON_Y);
    EXPECT_NE(File().find("pad.laser = y\n"), std::string::npos) << File();
    click(SDL_CONTROLLER_BUTTON_B);
    click(SDL_CONTROLLER_BUTTON_B);
    ASSERT_TRUE(loop.IsPaused());
    EXPECT_EQ(Highlighted(), "settings") << "back on the pause menu";

    click(SDL_CONTROLLER_BUTTON_START);
    ASSERT_FALSE(loop.IsPaused());
    click(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges) << "B fired";
    click(SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(app.laser->GetCharges(), GameApp::kStartLaserCharges - 1) << "Y did not";

    click(SDL_CONTROLLER_BUTTON_START);
    // Chosen by name, so that a row added to the menu moves nothing here.
    for (int i = 0; i < Menu().List().Size() && Highlighted() != "quit"; ++i) {
        click(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    }
    EXPECT_EQ(Highlighted(), "quit");
    click(SDL_CONTROLLER_BUTTON_A);
    EXPECT_FALSE(app.quit) << "asked again first";
    click(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    click(SDL_CONTROLLER_BUTTON_A);
    EXPECT_TRUE(app.quit);
    SDL_JoystickClose(stick);
}

TEST_F(MenuTest, MouseHighlightsChoosesAndTurnsValues) {
    Tap(SDL_SCANCODE_P, SDLK_p);
    auto mouse = [&](Uint32 type, int row) {
        SDL_Event event;
        SDL_zero(event);
        event.type = type;
        // Window y from the top: a row's text stands at kFirstRowY - row * kRowStep.
        const int y =
            GameApp::kWindowHeight - (MenuList::kFirstRowY + 8) + row * MenuList::kRowStep;
        if (type == SDL_MOUSEMOTION) {
            event.motion.x = 500;
            event.motion.y = y;
        } else if (type == SDL_MOUSEBUTTONDOWN) {
            event.button.button = SDL_BUTTON_LEFT;
            event.button.x = 500;
            event.button.y = y;
        } else {
            event.wheel.y = -1;
        }
        Push(event);
    };
    mouse(SDL_MOUSEMOTION, 1);
    EXPECT_EQ(Highlighted(), "settings");
    mouse(SDL_MOUSEBUTTONDOWN, 1);
    mouse(SDL_MOUSEMOTION, 2);
    EXPECT_NE(Highlighted().find("mute"), std::string::npos);
    mouse(SDL_MOUSEWHEEL, 0);
    EXPECT_TRUE(settings->Current().IsOn("mute"));
    mouse(SDL_MOUSEMOTION, 0);
    EXPECT_NE(Highlighted().find("mute"), std::string::npos) << "a heading is never highlighted";
    mouse(SDL_MOUSEMOTION, 1);
    mouse(SDL_MOUSEWHEEL, 0);
    EXPECT_EQ(settings->Current().Number("volume"), 90);
}

// Mashing Space through the last death starts no game before the screen
// has been shown a second; a later press does.
TEST_F(MenuTest, GameOverScreenSurvivesMashing) {
    app.ship->lives = 1;
    app.ship->Die();
    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_SPACE, 0, SDL_SCANCODE_SPACE));  // held from play
    for (int i = 0; i < 40 && app.running; ++i) Tick();
    ASSERT_FALSE(app.running);
    loop.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_SPACE, 0, SDL_SCANCODE_SPACE));
    const Uint32 now = SDL_GetTicks();
    for (int i = 0; i < 5; ++i) {
        loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_SPACE, 0, SDL_SCANCODE_SPACE, now + 100 * i));
        loop.HandleEvent(
            KeyEvent(SDL_KEYUP, SDLK_SPACE, 0, SDL_SCANCODE_SPACE, now + 100 * i + 50));
    }
    EXPECT_FALSE(app.running) << "an early press started a game";
    const Uint32 later = now + GameOverScreen::kGuardMs + 10;
    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_SPACE, 0, SDL_SCANCODE_SPACE, later));
    loop.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_SPACE, 0, SDL_SCANCODE_SPACE, later));
    EXPECT_TRUE(app.running);
}

// A game recorded across a pause in which a replay was watched from the
// menu replays to the very same state: the watch gave the shared random
// generator back as it found it.
TEST_F(MenuTest, ReplayWatchedDuringAPauseLeavesTheGameExactlyAsItWas) {
    const DataFolder data(folder + "/data");
    std::string error;
    ASSERT_TRUE(data.Create(error)) << error;
    ASSERT_EQ(std::system(("cp " KORVESSA_COMMITTED_REPLAY " " + data.ReplaysPath()).c_str()), 0);
    GameRecords records(data);
    ReplayRecorder recorder;
    // The fixture's game, seeded with 2026, is the session's.
    recorder.BeginSession(2026, SeedKind::kSeed);
    loop.Parts().recorder = &recorder;
    loop.Parts().records = &records;
    loop.Parts().settings = nullptr;  // the keys as they are, no settings menu

    auto play = [&](int ticks) {
        for (int i = 0; i < ticks; ++i) {
            const SDL_Scancode code = i % 40 < 20 ? SDL_SCANCODE_LEFT : SDL_SCANCODE_UP;
            const SDL_Keycode sym = i % 40 < 20 ? SDLK_LEFT : SDLK_UP;
            loop.HandleEvent(KeyEvent(SDL_KEYDOWN, sym, 0, code));
            if (i % 9 == 0) {
                loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_SPACE, 0, SDL_SCANCODE_SPACE));
                loop.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_SPACE, 0, SDL_SCANCODE_SPACE));
            }
            Tick();
            loop.HandleEvent(KeyEvent(SDL_KEYUP, sym, 0, code));
        }
    };
    play(120);
    Tap(SDL_SCANCODE_P, SDLK_p);
    for (int i = 0; i < 2; ++i) Tap(SDL_SCANCODE_DOWN, SDLK_DOWN);
    EXPECT_EQ(Highlighted(), "replays");
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    const unsigned before = RandomState();
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    const auto* watch = dynamic_cast<const WatchScreen*>(&loop.Top());
    ASSERT_NE(watch, nullptr) << "the replay did not open";
    for (int i = 0; i < 400; ++i) Tick();
    ASSERT_NE(watch->Game(), nullptr);
    EXPECT_GT(watch->Game()->score, 0) << "the replay played";
    recgl::Reset();
    Tick();
    const std::vector<std::string> texts = testing_support::DrawnTexts();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& text) {
        return text.rfind("REPLAY  SCORE ", 0) == 0 &&
               text.size() > std::strlen("ESCAPE GOES BACK") &&
               text.compare(text.size() - std::strlen("ESCAPE GOES BACK"), std::string::npos,
                            "ESCAPE GOES BACK") == 0;
    })) << "no replay marker, or no word of the way back";
    EXPECT_NE(RandomState(), before) << "the watch drew from the generator";
    Tap(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    EXPECT_EQ(RandomState(), before);
    Tap(SDL_SCANCODE_P, SDLK_p);
    ASSERT_FALSE(loop.IsPaused());
    play(200);
    Tick();  // nothing held, so the game's input bits end as the replay's

    GameApp replayed;
    ReplayPlayer::PlayAll(replayed, recorder.FinishGame(app.score));
    EXPECT_EQ(replayed.score, app.score);
    EXPECT_TRUE(testing_support::GameStateSnapshot(replayed) ==
                testing_support::GameStateSnapshot(app));
}

}  // namespace

// A pad alone turns the board on: the name is built letter by letter with
// the D-pad, wrapping round the letters, and taken with A.
TEST_F(MenuTest, PadAloneNamesThePlayer) {
    pads = std::make_unique<Gamepads>("");
    loop.Parts().pads = pads.get();
    const int index = testing_support::AttachVirtualPad("Name Test Pad");
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    Deliver();
    auto click = [&](int button, int times = 1) {
        for (int i = 0; i < times; ++i) {
            SDL_JoystickSetVirtualButton(stick, button, SDL_PRESSED);
            Deliver();
            SDL_JoystickSetVirtualButton(stick, button, SDL_RELEASED);
            Deliver();
        }
    };
    auto goTo = [&](const std::string& prefix) {
        for (int i = 0; i < 30 && Highlighted().rfind(prefix, 0) != 0; ++i) {
            click(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        }
        ASSERT_EQ(Highlighted().rfind(prefix, 0), 0u) << Highlighted();
        click(SDL_CONTROLLER_BUTTON_A);
    };
    click(SDL_CONTROLLER_BUTTON_START);
    goTo("settings");
    goTo("daily board");
    const auto* entry = dynamic_cast<const TextEntryScreen*>(&loop.Top());
    ASSERT_NE(entry, nullptr);
    click(SDL_CONTROLLER_BUTTON_DPAD_UP, 2);     // A, then B
    click(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 2);  // two more Bs
    click(SDL_CONTROLLER_BUTTON_DPAD_LEFT);      // one fewer
    click(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 2);   // A, then round to the last sign
    EXPECT_EQ(entry->Text(), "B/");
    click(SDL_CONTROLLER_BUTTON_DPAD_UP);
    click(SDL_CONTROLLER_BUTTON_A);
    EXPECT_NE(File().find("player = BA\n"), std::string::npos) << File();
    EXPECT_NE(File().find("board = on\n"), std::string::npos) << File();
    SDL_JoystickClose(stick);
}

namespace {

// Every menu opens on its first row; values stop at their ends; the board's
// rows show what was typed as soon as it is taken; the list says where it
// goes on; Restore defaults is asked again and says it was done.
TEST_F(MenuTest, MenusOpenOnTheirFirstRowAndShowEveryChangeAtOnce) {
    Tap(SDL_SCANCODE_P, SDLK_p);
    EXPECT_EQ(Highlighted(), "resume");
    Tap(SDL_SCANCODE_DOWN, SDLK_DOWN);
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    EXPECT_EQ(Highlighted().rfind("volume", 0), 0u) << "P, Down, Enter opens the settings";
    EXPECT_EQ(Menu().List().Lines().back().text, MenuList::kMoreBelow);

    auto highlight = [this](const std::string& prefix) {
        for (int i = 0; i < 30 && Highlighted().rfind(prefix, 0) != 0; ++i) {
            Tap(SDL_SCANCODE_DOWN, SDLK_DOWN);
        }
        ASSERT_EQ(Highlighted().rfind(prefix, 0), 0u) << Highlighted();
    };
    auto step = [this](SDL_Scancode code, SDL_Keycode sym, int times) {
        for (int i = 0; i < times; ++i) Tap(code, sym);
    };
    highlight("speed");
    Tap(SDL_SCANCODE_LEFT, SDLK_LEFT);
    EXPECT_EQ(settings->Current().Get("speed"), "80") << "left is slower";
    step(SDL_SCANCODE_LEFT, SDLK_LEFT, 4);
    EXPECT_EQ(settings->Current().Get("speed"), "50");
    step(SDL_SCANCODE_RIGHT, SDLK_RIGHT, 4);
    EXPECT_EQ(settings->Current().Get("speed"), "100");
    step(SDL_SCANCODE_UP, SDLK_UP, 4);  // past the rings and the stars
    ASSERT_EQ(Highlighted().rfind("line width", 0), 0u) << Highlighted();
    step(SDL_SCANCODE_RIGHT, SDLK_RIGHT, 5);
    EXPECT_EQ(settings->Current().Get("line-width"), "3");

    highlight("address  https://");
    EXPECT_EQ(Menu().List().Lines().front().text, MenuList::kMoreAbove);
    Tap(SDL_SCANCODE_UP, SDLK_UP);
    Tap(SDL_SCANCODE_UP, SDLK_UP);
    ASSERT_EQ(Highlighted().rfind("daily board", 0), 0u) << Highlighted();
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    SDL_Event typed;
    SDL_zero(typed);
    typed.type = SDL_TEXTINPUT;
    std::snprintf(typed.text.text, sizeof typed.text.text, "Ann");
    Push(typed);
    recgl::Reset();
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    // The last drawing, not just the settings, already has the name.
    const std::vector<std::string> texts = testing_support::DrawnTexts();
    ASSERT_FALSE(texts.empty());
    const auto lastDrawn = [&texts](const std::string& prefix) {
        for (auto text = texts.rbegin(); text != texts.rend(); ++text) {
            if (text->rfind(prefix, 0) == 0 || text->rfind("> " + prefix, 0) == 0) return *text;
        }
        return std::string();
    };
    EXPECT_EQ(lastDrawn("DAILY BOARD"), "> DAILY BOARD  ON <");
    EXPECT_EQ(lastDrawn("PLAYER"), "PLAYER  ANN");

    highlight("restore defaults");
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    EXPECT_EQ(Highlighted(), "no") << "asked again, no first";
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    EXPECT_EQ(settings->Current().Get("line-width"), "3") << "no changed something";
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    Tap(SDL_SCANCODE_DOWN, SDLK_DOWN);
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    EXPECT_EQ(settings->Current().Get("line-width"), "1");
    EXPECT_EQ(Menu().Hint(), "the defaults are restored");
    EXPECT_TRUE(testing_support::WasDrawn("the defaults are restored"));
}

// The hints name the buttons of the device last used, also when the press
// changed nothing else on screen; no menu hint stays under an open menu.
TEST_F(MenuTest, HintsFollowTheDeviceLastUsed) {
    pads = std::make_unique<Gamepads>("");
    loop.Parts().pads = pads.get();
    const int index = testing_support::AttachVirtualPad("Hint Test Pad");
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    Deliver();
    auto click = [&](int button) {
        SDL_JoystickSetVirtualButton(stick, button, SDL_PRESSED);
        Deliver();
        SDL_JoystickSetVirtualButton(stick, button, SDL_RELEASED);
        Deliver();
    };
    app.ship->lives = 1;
    app.ship->Die();
    for (int i = 0; i < 40 && app.running; ++i) Tick();
    ASSERT_FALSE(app.running);
    recgl::Reset();
    Tick();
    EXPECT_TRUE(testing_support::WasDrawn("escape opens the menu"));

    click(SDL_CONTROLLER_BUTTON_START);
    ASSERT_TRUE(loop.IsPaused());
    EXPECT_EQ(Menu().Hint(), "press start to resume");
    EXPECT_FALSE(testing_support::WasDrawn("start opens the menu")) << "under the open menu";
    recgl::Reset();
    Tap(SDL_SCANCODE_LEFT, SDLK_LEFT);  // nothing to change on Resume
    EXPECT_TRUE(testing_support::WasDrawn("press p to resume, q to quit"));
    recgl::Reset();
    click(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    EXPECT_TRUE(testing_support::WasDrawn("press start to resume"));

    click(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    click(SDL_CONTROLLER_BUTTON_A);  // the settings
    for (int i = 0; i < 3; ++i) click(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    click(SDL_CONTROLLER_BUTTON_A);  // keys and buttons
    for (int i = 0; i < 5; ++i) click(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    click(SDL_CONTROLLER_BUTTON_A);  // the laser, waiting for its button
    EXPECT_EQ(Menu().Hint(), "or a pad button; start cancels");
    click(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(Menu().Hint(), "choose an action to bind it");
    SDL_JoystickClose(stick);
}

}  // namespace
