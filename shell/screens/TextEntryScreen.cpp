#include "shell/screens/TextEntryScreen.h"

#include <cstring>
#include <utility>

#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/ShellParts.h"
#include "shell/ui/OverlayFont.h"

namespace {

// What the pad turns through, the likeliest first either way round: a name
// wants letters, an address its signs.
constexpr const char kPadCharacters[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -_.:/";
constexpr int kPadCharacterCount = sizeof kPadCharacters - 1;
constexpr const char* kPadHelp = "pad: up/down turn the last letter, right adds, left deletes";
constexpr int kPadHelpRow = 4;  // rows under the text

}  // namespace

void TextEntryScreen::Ask(const std::string& newTitle, const std::string& initial,
                          std::size_t newMaxLength, Problem newProblem,
                          std::function<void(const std::string&)> newTaken) {
    title = newTitle;
    text = initial.substr(0, newMaxLength);
    maxLength = newMaxLength;
    problem = std::move(newProblem);
    taken = std::move(newTaken);
    wrong.clear();
    host.Open(*this);
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
            if (key.repeat == 0) host.Back();
            return;
        case SDLK_BACKSPACE:
            RemoveLast();
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
    if (changed) Edited();
}

void TextEntryScreen::Handle(const MenuEvent& event) {
    switch (event.kind) {
        case MenuEvent::Kind::kUp:
            return TurnLast(+1);
        case MenuEvent::Kind::kDown:
            return TurnLast(-1);
        case MenuEvent::Kind::kRight:
            return AddOne();
        case MenuEvent::Kind::kLeft:
            return RemoveLast();
        case MenuEvent::Kind::kChoose:
            return Take();
        default:
            return MenuScreen::Handle(event);
    }
}

void TextEntryScreen::TurnLast(int step) {
    if (text.empty()) return AddOne();
    const char* at = std::strchr(kPadCharacters, text.back());
    // A character typed on a keyboard that the pad does not offer turns from
    // the first.
    const int from = at != nullptr ? static_cast<int>(at - kPadCharacters) : 0;
    text.back() = kPadCharacters[(from + step + kPadCharacterCount) % kPadCharacterCount];
    Edited();
}

void TextEntryScreen::AddOne() {
    if (text.size() >= maxLength) return;
    text += text.empty() ? kPadCharacters[0] : text.back();
    Edited();
}

void TextEntryScreen::RemoveLast() {
    if (text.empty()) return;
    text.pop_back();
    Edited();
}

void TextEntryScreen::Edited() {
    wrong.clear();
    host.Redraw();
}

void TextEntryScreen::Take() {
    wrong = problem ? problem(text) : "";
    if (!wrong.empty()) {
        host.Redraw();
        return;
    }
    // Closed first, so that what `taken` opens or changes shows on top.
    const std::function<void(const std::string&)> done = std::move(taken);
    const std::string accepted = text;
    host.Back();
    done(accepted);
    // The menu under it was drawn before `done` changed what it shows.
    if (host.IsPaused()) host.Redraw();
}

std::string TextEntryScreen::Hint() const {
    return host.PadLastUsed() ? "a takes it, b goes back" : "enter takes it, escape goes back";
}

void TextEntryScreen::DrawOver() const {
    MenuScreen::DrawOver();
    const TextFont& font = host.Font();
    DrawCentred(font, MenuList::kFirstRowY, (text + "_").c_str());
    if (!wrong.empty()) {
        DrawCentred(font, MenuList::kFirstRowY - 2 * MenuList::kRowStep, wrong.c_str());
    }
    if (host.Parts().pads != nullptr && host.Parts().pads->PadCount() > 0) {
        DrawCentred(font, MenuList::kFirstRowY - kPadHelpRow * MenuList::kRowStep, kPadHelp);
    }
}
