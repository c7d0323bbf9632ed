// A menu laid over the frozen game: a title, a line of help and a list.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "shell/screens/MenuList.h"
#include "shell/screens/Screen.h"

class ScreenHost;

// Keys, pad presses and the mouse all become MenuEvents (MenuEvent.h) and
// go to Handle(): the list moves, chooses and changes; back (Escape,
// Backspace, B) closes this menu; the pause key or Start resumes the game.
// Nothing moves and nothing is drawn until something changes. A menu fills
// its list in Build(), called each time it is shown.
class MenuScreen : public Screen {
public:
    static constexpr int kTitleY = 528;
    static constexpr int kHintY = 496;
    static constexpr int kBandMargin = 32;
    // Tests that drive the real game read the menus from here: with this
    // variable naming a file, every menu drawn appends a line to it, its
    // title and the highlighted row's text (empty when none is), separated
    // by kTraceSeparator.
    static constexpr const char* kTraceVariable = "KORVESSA_MENU_TRACE";
    static constexpr const char* kTraceSeparator = ": ";

    explicit MenuScreen(ScreenHost& host);

    void KeyDown(const SDL_KeyboardEvent& key) override;
    void KeyUp(const SDL_KeyboardEvent& /*key*/) override {}
    void PadAction(Gamepads::Action action) override;
    void PadPress(SDL_GameControllerButton button) override;
    void Pointer(const MenuEvent& event) override;
    void Shown() override;
    bool TicksRun() const override { return false; }
    void DrawOver() const override;

    // What the player did; redraws when anything changed.
    virtual void Handle(const MenuEvent& event);

    const MenuList& List() const { return list; }
    // The line of help under the title, as drawn now; empty for none.
    virtual std::string Hint() const { return ""; }

protected:
    virtual void Build() = 0;
    virtual std::string Title() const = 0;
    // A key that is no menu key (Q in the pause menu).
    virtual void OtherKey(const SDL_KeyboardEvent& /*key*/) {}

    // A row that opens a page (a sub-menu) made by `make` when first chosen
    // and kept while this menu lives, so the page's header stays out of
    // this one's.
    using PageMaker = std::function<std::unique_ptr<Screen>(ScreenHost&)>;
    void AddPage(const std::string& label, PageMaker make);

    ScreenHost& host;
    MenuList list;

private:
    void Trace() const;

    std::map<std::string, std::unique_ptr<Screen>> pages;  // by label
};
