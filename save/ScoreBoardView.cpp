#include "save/ScoreBoardView.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "game/GameApp.h"
#include "gfx/BitmapFont.h"

namespace {

constexpr const char* kHeading = "best games";
constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                   "jul", "aug", "sep", "oct", "nov", "dec"};

// A play started from the clock is the usual case and needs no word.
const char* KindWord(SeedKind kind) {
    switch (kind) {
        case SeedKind::kSeed:
            return "seed";
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

std::string ScoreBoardView::Row(int rank, const ScoreEntry& entry, bool marked, bool slowColumn) {
    const std::time_t when = static_cast<std::time_t>(entry.endedAt);
    std::tm utc{};
    gmtime_r(&when, &utc);
    char text[80];
    std::snprintf(text, sizeof text, "%2d  %7d  %2d %s %4d  %-5s%s  %-3s", rank + 1, entry.score,
                  utc.tm_mday, kMonths[utc.tm_mon], utc.tm_year + 1900, KindWord(entry.seedKind),
                  SlowWord(entry, slowColumn), marked ? "new" : "");
    return text;
}

namespace {

int Centred(std::size_t length) {
    return GameApp::kWindowWidth / 2 - CBitmapFont::kCellSize * static_cast<int>(length) / 2;
}

}  // namespace

void ScoreBoardView::Show(const ScoreTable& table, int marked) {
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
            Row(rank, entries[static_cast<std::size_t>(rank)], rank == marked, slowColumn));
    }
}

void ScoreBoardView::Hide() { lines.clear(); }

void ScoreBoardView::Draw(CBitmapFont& font) const {
    if (lines.empty()) return;
    font.DrawText(Centred(lines[0].size()), kHeadingY, lines[0].c_str());
    // Every row has the same width, so one x keeps the columns aligned.
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const int y = kFirstRowY - kRowStep * static_cast<int>(i - 1);
        font.DrawText(Centred(lines[i].size()), y, lines[i].c_str());
    }
}
