// The daily board's menus, with a board sender at work: apart from the
// other menus' tests so that ThreadSanitizer can watch them in a small binary.

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "save/DataFolder.h"
#include "shell/screens/DailyBoardMenu.h"
#include "shell/screens/TextEntryScreen.h"
#include "shell/session/DailyBoard.h"
#include "tests/board/BoardStandIn.h"
#include "tests/shell/MenuTest.h"

namespace {

using testing_support::KeyEvent;

}  // namespace

// The daily board from the settings: turning it on asks the name first, a
// name or an address the board would not take is refused where it is typed,
// and the board's own screen asks the server without waiting for it.
TEST_F(MenuTest, DailyBoardAsksTheNameRefusesBadAddressesAndAsksTheServer) {
    testing_support::BoardStandIn server;
    DailyBoard board(loop.Parts(), BoardHearing(), DataFolder(folder + "/data"));
    settings->board = &board;
    board.Open();
    auto highlight = [this](const std::string& prefix) {
        for (int i = 0; i < 30 && Highlighted().rfind(prefix, 0) != 0; ++i) {
            Tap(SDL_SCANCODE_DOWN, SDLK_DOWN);
        }
        ASSERT_EQ(Highlighted().rfind(prefix, 0), 0u) << Highlighted();
    };
    auto goTo = [&](const std::string& prefix) {
        highlight(prefix);
        Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    };
    auto type = [this](const char* text) {
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_TEXTINPUT;
        std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
        Push(event);
    };
    auto entry = [this] { return dynamic_cast<const TextEntryScreen*>(&loop.Top()); };
    Tap(SDL_SCANCODE_P, SDLK_p);
    goTo("settings");
    goTo("daily board");
    ASSERT_NE(entry(), nullptr) << "the board went on without a name";
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    ASSERT_NE(entry(), nullptr) << "an empty name was taken";
    type("   ");
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    ASSERT_NE(entry(), nullptr) << "a name of spaces was taken";
    type("Ann\t\xc3\xa9m");  // a tab and an accented letter the font cannot draw
    EXPECT_EQ(entry()->Text(), "   Annm") << "M typed rather than muted";
    Tap(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
    type(" ");
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    EXPECT_EQ(entry(), nullptr);
    EXPECT_NE(File().find("board = on\n"), std::string::npos) << File();
    EXPECT_NE(File().find("player = Ann\n"), std::string::npos) << File();
    EXPECT_NE(board.Sender(), nullptr);

    goTo("address");
    for (int i = 0; i < 40; ++i) Tap(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
    type("ftp://127.0.0.1");
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    ASSERT_NE(entry(), nullptr) << "an ftp address was taken";
    for (int i = 0; i < 40; ++i) Tap(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
    type(server.Address().c_str());
    Tap(SDL_SCANCODE_RETURN, SDLK_RETURN);
    EXPECT_NE(File().find("board-address = " + server.Address() + "\n"), std::string::npos)
        << File();

    Tap(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    highlight("daily board");
    // Handled alone, with no events taken after it: a quick answer from the
    // server cannot have been heard yet unless the menu waited for it.
    loop.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_RETURN, 0, SDL_SCANCODE_RETURN));
    auto shown = [this] { return dynamic_cast<const DailyBoardMenu&>(loop.Top()).Status(); };
    EXPECT_EQ(shown(), "asking the board") << "the menu waited for the server";
    Up(SDL_SCANCODE_RETURN, SDLK_RETURN);
    for (int i = 0; i < 250 && shown() == "asking the board"; ++i) {
        SDL_Delay(20);
        Deliver();
    }
    EXPECT_EQ(shown(), "nobody is on today's board yet");
    settings->board = nullptr;
}

// A file turned on by hand with no player: one line says why nothing is
// sent, and naming the player in the settings turns the board on.
TEST_F(MenuTest, DailyBoardOnWithoutAPlayerSaysSoUntilOneIsNamed) {
    DailyBoard board(loop.Parts(), BoardHearing(), DataFolder(folder + "/data"));
    settings->board = &board;
    settings->Override("board", "on");
    settings->Override("board-address", "http://127.0.0.1:9");
    settings->Apply();
    testing::internal::CaptureStderr();
    board.Open();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("korvessa: the daily board is on but names no player", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(board.Sender(), nullptr);
    settings->Change([](Settings& s) {
        std::string why;
        s.Set("player", "Ann", why);
    });
    EXPECT_NE(board.Sender(), nullptr);
    settings->board = nullptr;
}
