#include "shell/TextEntryScreen.h"

#include <utility>

#include "game/GameApp.h"
#include "shell/EventLoop.h"
#include "shell/OverlayFont.h"

void TextEntryScreen::Ask(const std::string& newTitle, const std::string& initial,
                          std::size_t newMaxLength, Problem newProblem,
                          std::function<void(const std::string&)> newTaken) {
    title = newTitle;
    text = initial.substr(0, newMaxLength);
    maxLength = newMaxLength;
    problem = std::move(newProblem);
    taken = std::move(newTaken);
    wrong.clear();
    loop.Open(*this);
}

void TextEntryScreen::Shown() {
    MenuScreen::Shown();
    SDL_StartTextInput();
}

void TextEntryScreen::KeyDown(const SDL_KeyboardEvent& key) {
    switch (key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            if (key.repeat == 0) Take();
            return;
        case SDLK_ESCAPE:
            if (key.repeat == 0) loop.Back();
            return;
        case SDLK_BACKSPACE:
            if (text.empty()) return;
            text.pop_back();
            wrong.clear();
            loop.Redraw();
            return;
        default:
            return;  // the characters come as text input
    }
}

void TextEntryScreen::TextInput(const char* typed) {
    bool changed = false;
    for (const char* c = typed; *c != '\0' && text.size() < maxLength; ++c) {
        if (*c < ' ' || *c > '~') continue;
        text += *c;
        changed = true;
    }
    if (!changed) return;
    wrong.clear();
    loop.Redraw();
}

void TextEntryScreen::Take() {
    wrong = problem ? problem(text) : "";
    if (!wrong.empty()) {
        loop.Redraw();
        return;
    }
    // Closed first, so that what `taken` opens or changes shows on top.
    const std::function<void(const std::string&)> done = std::move(taken);
    const std::string accepted = text;
    loop.Back();
    done(accepted);
}

void TextEntryScreen::DrawOver() const {
    MenuScreen::DrawOver();
    CBitmapFont& font = *loop.App().font;
    DrawCentred(font, MenuList::kFirstRowY, (text + "_").c_str());
    if (!wrong.empty()) {
        DrawCentred(font, MenuList::kFirstRowY - 2 * MenuList::kRowStep, wrong.c_str());
    }
}
