#include "shell/screens/MenuList.h"

#include <algorithm>

#include "game/GameApp.h"
#include "gfx/TextFont.h"
#include "shell/ui/OverlayFont.h"

void MenuList::Clear() {
    rows.clear();
    current = kNone;
    first = 0;
}

void MenuList::Add(Text text, std::function<void()> choose, std::function<void(int)> change) {
    rows.push_back(Row{std::move(text), std::move(choose), std::move(change)});
}

void MenuList::Add(const std::string& text, std::function<void()> choose) {
    Add([text] { return text; }, std::move(choose));
}

void MenuList::AddHeading(const std::string& text) {
    Add([text] { return text; }, nullptr);
}

void MenuList::HighlightFirst() {
    current = kNone;
    first = 0;
    Move(+1);
}

bool MenuList::Move(int direction) {
    for (int row = current + direction; row >= 0 && row < Size(); row += direction) {
        if (!rows[static_cast<std::size_t>(row)].Active()) continue;
        current = row;
        // Keep it in view, with the heading just above it where there is one.
        first = std::clamp(first, current - kVisibleRows + 1, std::max(0, current - 1));
        return true;
    }
    return false;
}

bool MenuList::Change(int row, int direction) {
    if (row == kNone || !rows[static_cast<std::size_t>(row)].change) return false;
    rows[static_cast<std::size_t>(row)].change(direction);
    return true;
}

bool MenuList::Choose(int row) {
    if (row == kNone) return false;
    const Row& chosen = rows[static_cast<std::size_t>(row)];
    if (chosen.choose) {
        chosen.choose();
    } else if (chosen.change) {
        chosen.change(+1);
    } else {
        return false;
    }
    return true;
}

bool MenuList::Handle(const MenuEvent& event) {
    switch (event.kind) {
        case MenuEvent::Kind::kUp:
            // Nothing highlighted yet: up starts from the end.
            if (current == kNone) current = Size();
            return Move(-1);
        case MenuEvent::Kind::kDown:
            return Move(+1);
        case MenuEvent::Kind::kLeft:
            return Change(current, -1);
        case MenuEvent::Kind::kRight:
            return Change(current, +1);
        case MenuEvent::Kind::kChoose:
            return Choose(current);
        case MenuEvent::Kind::kPoint: {
            const int row = RowAt(event.y);
            if (row == kNone || row == current || !rows[static_cast<std::size_t>(row)].Active())
                return false;
            current = row;
            return true;
        }
        case MenuEvent::Kind::kClick: {
            const int row = RowAt(event.y);
            if (row == kNone) return false;
            current = rows[static_cast<std::size_t>(row)].Active() ? row : current;
            return Choose(row);
        }
        case MenuEvent::Kind::kWheel:
            if (current != kNone && rows[static_cast<std::size_t>(current)].change) {
                return Change(current, event.steps > 0 ? +1 : -1);
            }
            return Move(event.steps > 0 ? -1 : +1);
        case MenuEvent::Kind::kBack:
        case MenuEvent::Kind::kResume:
            break;
    }
    return false;
}

int MenuList::RowAt(int y) const {
    // Each row owns the band from half a step below its text to half above.
    const int slot = (kFirstRowY + TextFont::kCellSize / 2 + kRowStep / 2 - y) / kRowStep;
    if (y > kFirstRowY + TextFont::kCellSize / 2 + kRowStep / 2 || slot >= kVisibleRows)
        return kNone;
    const int row = first + slot;
    return row < Size() ? row : kNone;
}

std::vector<MenuList::Line> MenuList::Lines() const {
    std::vector<Line> lines;
    const int last = std::min(Size(), first + kVisibleRows);
    if (first > 0) lines.push_back({kFirstRowY + kRowStep, kMoreAbove});
    for (int row = first; row < last; ++row) {
        const std::string text = rows[static_cast<std::size_t>(row)].text();
        const int y = kFirstRowY - kRowStep * (row - first);
        lines.push_back({y, row == current ? "> " + text + " <" : text});
    }
    if (last < Size()) lines.push_back({kFirstRowY - kRowStep * kVisibleRows, kMoreBelow});
    return lines;
}

void MenuList::Draw(const TextFont& font) const {
    for (const Line& line : Lines()) DrawCentred(font, line.y, line.text.c_str());
}
