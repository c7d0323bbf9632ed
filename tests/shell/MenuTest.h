// The menus' fixture: a game with no window under the shell's event loop,
// fed real SDL events (keys, a virtual pad, the mouse), with a settings file
// in a scratch folder.
#pragma once

#include <SDL.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "input/Gamepads.h"
#include "shell/loop/EventLoop.h"
#include "shell/screens/MenuScreen.h"
#include "shell/session/DailyBoard.h"
#include "shell/session/PlayerSettings.h"
#include "tests/game/GameAppFixture.h"
#include "tests/shell/ShellEvents.h"
#include "tests/support/TemporaryFolder.h"

class MenuTest : public GameAppTest {
protected:
    void SetUp() override {
        GameAppTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER), 0)
            << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        folder = scratch.path;
        folder.pop_back();  // the tests add "/..." themselves
        settings = std::make_unique<PlayerSettings>(folder + "/config/settings.ini");
        settings->Load();
        loop.Parts().settings = settings.get();
    }
    void TearDown() override {
        loop.Parts().pads = nullptr;
        pads.reset();
        SDL_Quit();
    }

    // Through SDL's own queue, as the game's loop gets them.
    void Deliver() {
        testing_support::DeliverQueued([&](const SDL_Event& event) { loop.HandleEvent(event); });
    }
    void Push(SDL_Event event) {
        SDL_PushEvent(&event);
        Deliver();
    }
    void Down(SDL_Scancode code, SDL_Keycode sym) {
        Push(testing_support::KeyEvent(SDL_KEYDOWN, sym, 0, code));
    }
    void Up(SDL_Scancode code, SDL_Keycode sym) {
        Push(testing_support::KeyEvent(SDL_KEYUP, sym, 0, code));
    }
    void Tap(SDL_Scancode code, SDL_Keycode sym) {
        Down(code, sym);
        Up(code, sym);
    }
    void Tick() { loop.HandleEvent(testing_support::TickEvent(SDL_GetTicks())); }
    const MenuScreen& Menu() { return dynamic_cast<const MenuScreen&>(loop.Top()); }
    // The board's reports, to the loop as the player's session hands them.
    DailyBoard::Hear BoardHearing() {
        return [this](const std::vector<BoardReport>& reports) { loop.HearBoard(reports); };
    }
    std::string Highlighted() {
        const MenuList& list = Menu().List();
        return list.Current() == MenuList::kNone ? "" : list.TextOf(list.Current());
    }
    std::string File() {
        std::ifstream in(folder + "/config/settings.ini");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    testing_support::TemporaryFolder scratch;
    std::string folder;
    std::unique_ptr<PlayerSettings> settings;
    std::unique_ptr<Gamepads> pads;
    EventLoop loop{app, nullptr};
};
