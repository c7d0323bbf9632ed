// A line of text typed by the player: a name, an address.
#pragma once

#include <functional>
#include <string>

#include "shell/screens/MenuScreen.h"

// Shows the title, the text so far with a cursor, and what is wrong with it
// after Enter. Every key types (M and F11 too), except Enter, which takes
// the text if `problem` finds nothing wrong, Backspace, and Escape (or the
// pad's B), which goes back without changing anything. Only printable ASCII
// is taken, up to the length given: the font has nothing else.
// A pad has no keys to type with: up and down turn the last character
// through the letters, digits and a few signs, right adds one (a copy of the
// last), left removes one, and A takes the text.
class TextEntryScreen : public MenuScreen {
public:
    // Returns what is wrong with a text, in a few words; empty when nothing.
    using Problem = std::function<std::string(const std::string&)>;

    explicit TextEntryScreen(ScreenHost& screenHost) : MenuScreen(screenHost) {}

    // Opens the screen over the others; `taken` gets the accepted text
    // once the screen has closed.
    void Ask(const std::string& title, const std::string& text, std::size_t maxLength,
             Problem problem, std::function<void(const std::string&)> taken);

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void TextInput(const char* typed) override;
    void Shown() override;
    bool TakesEveryKey() const override { return true; }
    void DrawOver() const override;

    const std::string& Text() const { return text; }

protected:
    void Build() override {}
    std::string Title() const override { return title; }
    std::string Hint() const override;
    void Handle(const MenuEvent& event) override;

private:
    void Take();
    // The pad's editing.
    void TurnLast(int step);
    void AddOne();
    void RemoveLast();
    // The text changed: what was wrong with it no longer holds.
    void Edited();

    std::string title;
    std::string text;
    std::size_t maxLength = 0;
    Problem problem;
    std::function<void(const std::string&)> taken;
    std::string wrong;  // what Enter found wrong, until the text changes
};
