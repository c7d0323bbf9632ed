// The rows of a menu: which is highlighted, what choosing or changing one
// does, and drawing them with the text font.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shell/screens/MenuEvent.h"

class TextFont;

// A row is text (worked out each time it is drawn, so values show as they
// are now) and what it does: `choose` for Enter, A or a click; `change` for
// left and right or the wheel (+1 or -1). A row with neither is a heading.
// Adding an item to a menu is one Add() call in its Build().
//
// Rows are centred one under another from kFirstRowY down; at most
// kVisibleRows show at once and the list scrolls to keep the highlighted one
// in view, with a line above or below saying where more rows are. The
// highlighted row is drawn between "> " and " <".
class MenuList {
public:
    static constexpr int kFirstRowY = 432;
    static constexpr int kRowStep = 32;
    static constexpr int kVisibleRows = 11;
    static constexpr int kNone = -1;
    static constexpr const char* kMoreAbove = "- more above -";
    static constexpr const char* kMoreBelow = "- more below -";

    using Text = std::function<std::string()>;

    void Clear();
    void Add(Text text, std::function<void()> choose, std::function<void(int)> change = nullptr);
    void Add(const std::string& text, std::function<void()> choose);
    void AddHeading(const std::string& text);

    // Highlights the first row that does something, or none.
    void HighlightFirst();
    int Current() const { return current; }
    int Size() const { return static_cast<int>(rows.size()); }
    std::string TextOf(int row) const { return rows[static_cast<std::size_t>(row)].text(); }

    // Moves, chooses or changes; true when anything happened that shows.
    // kBack and kResume are the menu's, not the list's: false.
    bool Handle(const MenuEvent& event);

    // A line of text and the height its cells stand on (playfield units).
    struct Line {
        int y;
        std::string text;
    };
    // What Draw() draws, top first.
    std::vector<Line> Lines() const;
    void Draw(const TextFont& font) const;

    // The row drawn at height `y` (playfield units), or kNone.
    int RowAt(int y) const;

private:
    struct Row {
        Text text;
        std::function<void()> choose;
        std::function<void(int)> change;
        bool Active() const { return choose != nullptr || change != nullptr; }
    };

    bool Move(int direction);
    bool Change(int row, int direction);
    bool Choose(int row);

    std::vector<Row> rows;
    int current = kNone;
    int first = 0;  // the first row shown
};
