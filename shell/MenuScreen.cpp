#include "shell/MenuScreen.h"

#include "game/GameApp.h"
#include "shell/EventLoop.h"

MenuScreen::MenuScreen(EventLoop& loop) : loop(loop) {}

void MenuScreen::Shown() {
    list.Clear();
    Build();
    list.HighlightFirst();
}

void MenuScreen::Rebuild() {
    const int current = list.Current();
    list.Clear();
    Build();
    list.Highlight(current);
    loop.Redraw();
}

void MenuScreen::KeyDown(const SDL_KeyboardEvent& key) {
    // Escape goes back; the pause key resumes from any depth.
    if (key.keysym.sym != SDLK_ESCAPE && loop.Session().IsPauseKey(key)) {
        loop.Resume();
        return;
    }
    if (const auto event = MenuEvent::FromKey(key)) {
        Handle(*event);
    } else if (key.repeat == 0) {
        OtherKey(key);
    }
}

void MenuScreen::PadAction(Gamepads::Action action) {
    if (action == Gamepads::Action::kPause) loop.Resume();
}

void MenuScreen::PadPress(SDL_GameControllerButton button) {
    if (const auto event = MenuEvent::FromPadPress(button)) Handle(*event);
}

void MenuScreen::Pointer(const MenuEvent& event) { Handle(event); }

void MenuScreen::Handle(const MenuEvent& event) {
    switch (event.kind) {
        case MenuEvent::Kind::kBack:
            loop.Back();
            return;
        case MenuEvent::Kind::kResume:
            loop.Resume();
            return;
        default:
            break;
    }
    // Choosing may have opened or closed a screen, which drew itself.
    Screen* before = &loop.Top();
    if (list.Handle(event) && before == &loop.Top() && loop.IsPaused()) loop.Redraw();
}

void MenuScreen::DrawOver() const {
    CBitmapFont& font = *loop.App().font;
    MenuList::DrawCentred(font, kTitleY, Title());
    const std::string hint = Hint();
    if (!hint.empty()) MenuList::DrawCentred(font, kHintY, hint);
    list.Draw(font);
}
