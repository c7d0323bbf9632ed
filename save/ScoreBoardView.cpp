#include "save/ScoreBoardView.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "game/GameApp.h"
#include "gfx/TextFont.h"

namespace {

constexpr const char* kHeading = "best games";
constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                   "jul", "aug", "sep", "oct", "nov", "dec"};

// A play started from the clock is the usual case and needs no word; a
// seeded one can be played again with its number.
std::string SeedText(const ScoreEntry& entry) {
    switch (entry.seedKind) {
        case SeedKind::kSeed:
            return "seed " + std::to_string(entry.seed);
        case SeedKind::kDaily:
            return "daily";
        case SeedKind::kClock:
            break;
    }
    return "";
}

// Only a table that shows a slow game needs the column that says so.
const char* SlowWord(const ScoreEntry& entry, bool slowColumn) {
    if (!slowColumn) return "";
    return entry.speed < game_speed::kFull ? "  slow" : "      ";
}

}  // namespace

std::string ScoreBoardView::Row(int rank, const ScoreEntry& entry, bool marked, bool slowColumn,
                                bool kept) {
    const char* mark = !marked ? "" : kept ? "new" : "not kept";
    char text[80];
    std::snprintf(text, sizeof text, "%2d  %7d  %11s  %-15s%s  %-8s", rank + 1, entry.score,
                  ScoreBoardView::FormatDay(entry.endedAt).c_str(), SeedText(entry).c_str(),
                  SlowWord(entry, slowColumn), mark);
    return text;
}

namespace {

int Centred(std::size_t length) {
    return GameApp::kWindowWidth / 2 - TextFont::kCellSize * static_cast<int>(length) / 2;
}

}  // namespace

void ScoreBoardView::Show(const ScoreTable& table, int marked, bool kept) {
    lines.clear();
    const std::vector<ScoreEntry>& entries = table.Entries();
    if (entries.empty()) return;
    lines.push_back(kHeading);
    const int shown = std::min(kRowsShown, static_cast<int>(entries.size()));
    bool slowColumn = false;
    for (int rank = 0; rank < shown; ++rank) {
        slowColumn |= entries[static_cast<std::size_t>(rank)].speed < game_speed::kFull;
    }
    for (int rank = 0; rank < shown; ++rank) {
        lines.push_back(
            Row(rank, entries[static_cast<std::size_t>(rank)], rank == marked, slowColumn, kept));
    }
}

std::string ScoreBoardView::FormatDay(std::int64_t seconds) {
    const std::time_t when = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&when, &utc);
    return FormatDate(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
}

std::string ScoreBoardView::FormatDate(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%2d %s %4d", day, kMonths[month - 1], year);
    return text;
}

void ScoreBoardView::Hide() { lines.clear(); }

void ScoreBoardView::Draw(const TextFont& font) const {
    if (lines.empty()) return;
    DrawBacking();
    font.DrawText(Centred(lines[0].size()), kHeadingY, lines[0].c_str());
    // Every row has the same width, so one x keeps the columns aligned.
    for (std::size_t i = 1; i < lines.size(); ++i) {
        font.DrawText(Centred(lines[i].size()), RowY(i), lines[i].c_str());
    }
}

void ScoreBoardView::DrawBacking() const {
    // Glyph cells are transparent between their strokes: the field's
    // outlines would run through the digits.
    const int halfWidth = TextFont::kCellSize * static_cast<int>(lines.back().size()) / 2;
    const int left = GameApp::kWindowWidth / 2 - halfWidth - kBackingMargin;
    const int right = GameApp::kWindowWidth / 2 + halfWidth + kBackingMargin;
    const int bottom = RowY(lines.size() - 1) - kBackingMargin;
    const int top = kHeadingY + TextFont::kCellSize + kBackingMargin;
    glColor3f(0.0f, 0.0f, 0.0f);
    glRectf(static_cast<float>(left), static_cast<float>(bottom), static_cast<float>(right),
            static_cast<float>(top));
}

int ScoreBoardView::RowY(std::size_t line) {
    return kFirstRowY - kRowStep * static_cast<int>(line - 1);
}
