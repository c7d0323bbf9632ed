#include "shell/screens/MenuScreen.h"

#include <GL/gl.h>

#include <cstdlib>
#include <fstream>
#include <utility>

#include "game/GameApp.h"
#include "gfx/TextFont.h"
#include "shell/screens/Screen.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSession.h"
#include "shell/ui/OverlayFont.h"

MenuScreen::MenuScreen(ScreenHost& screenHost) : host(screenHost) {}

void MenuScreen::Shown() {
    list.Clear();
    Build();
    list.HighlightFirst();
}

void MenuScreen::Trace() const {
    static const char* const path = std::getenv(kTraceVariable);
    if (path == nullptr) return;
    const int row = list.Current();
    std::ofstream(path, std::ios::app)
        << Title() << kTraceSeparator << (row == MenuList::kNone ? "" : list.TextOf(row)) << '\n';
}

void MenuScreen::AddPage(const std::string& label, PageMaker make) {
    list.Add(label, [this, label, make = std::move(make)] {
        std::unique_ptr<Screen>& page = pages[label];
        if (page == nullptr) page = make(host);
        host.Open(*page);
    });
}

void MenuScreen::KeyDown(const SDL_KeyboardEvent& key) {
    // Escape goes back; the pause key resumes from any depth.
    if (key.keysym.sym != SDLK_ESCAPE && host.Session().IsPauseKey(key)) {
        host.Resume();
        return;
    }
    if (const auto event = MenuEvent::FromKey(key)) {
        Handle(*event);
    } else if (key.repeat == 0) {
        OtherKey(key);
    }
}

void MenuScreen::PadAction(Gamepads::Action action) {
    if (action == Gamepads::Action::kPause) host.Resume();
}

void MenuScreen::PadPress(SDL_GameControllerButton button) {
    if (const auto event = MenuEvent::FromPadPress(button)) Handle(*event);
}

void MenuScreen::Pointer(const MenuEvent& event) { Handle(event); }

void MenuScreen::Handle(const MenuEvent& event) {
    switch (event.kind) {
        case MenuEvent::Kind::kBack:
            host.Back();
            return;
        case MenuEvent::Kind::kResume:
            host.Resume();
            return;
        default:
            break;
    }
    // Choosing may have opened or closed a screen, which drew itself.
    Screen* before = &host.Top();
    if (list.Handle(event) && before == &host.Top() && host.IsPaused()) host.Redraw();
}

void MenuScreen::DrawOver() const {
    Trace();
    // A dark band behind the menu keeps it readable over a busy frame.
    const int top = kTitleY + 2 * TextFont::kCellSize;
    const int bottom = MenuList::kFirstRowY - MenuList::kRowStep * MenuList::kVisibleRows;
    const float left = kBandMargin;
    const float right = GameApp::kWindowWidth - kBandMargin;
    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex2f(left, static_cast<float>(bottom));
    glVertex2f(right, static_cast<float>(bottom));
    glVertex2f(right, static_cast<float>(top));
    glVertex2f(left, static_cast<float>(top));
    glEnd();
    const TextFont& font = host.Font();
    DrawCentred(font, kTitleY, Title().c_str());
    const std::string hint = Hint();
    if (!hint.empty()) DrawCentred(font, kHintY, hint.c_str());
    list.Draw(font);
}
