// The score table's best games on the game-over screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "save/ScoreTable.h"

class TextFont;

// A heading and up to five rows under the game-over lines (which stay where
// they are), each row the same width so the columns line up:
//
//                  best games
//    1    12450  14 jun 2025  daily            new
//    2     9800   2 jun 2025  seed 77
//
// The game just ended is marked "new", or "not kept" when it could not be
// saved; when a game shown was played below full speed, a column marks it
// "slow". Rows are built once by Show(), so
// drawing them every frame costs only the text. Dates are spelled out,
// which reads the same in every locale.
class ScoreBoardView {
public:
    static constexpr int kRowsShown = 5;
    static constexpr int kHeadingY = 288;
    static constexpr int kFirstRowY = 256;
    static constexpr int kRowStep = 32;
    // Around the text, the black backing that hides the field behind it.
    static constexpr int kBackingMargin = 8;

    // From now on, shows the table's best games; the game at rank `marked`
    // (from 0; -1 for none) is marked as new, or as not kept.
    void Show(const ScoreTable& table, int marked, bool kept = true);
    // Shows nothing from now on (a new game has started).
    void Hide();

    // Draws the heading and rows, if shown, on a black backing over the
    // frame in the back buffer: call between GameApp::DrawFrame() and
    // Present(). The backing stops below the game's own lines.
    void Draw(const TextFont& font) const;

    // One game's row: its rank (from 0), score, date, seed kind and number,
    // "slow" in a column only a table with a slow game needs, and the mark of
    // a game just ended ("new", or "not kept" when it could not be saved);
    // the same width for every game of a table.
    static std::string Row(int rank, const ScoreEntry& entry, bool marked, bool slowColumn,
                           bool kept = true);

    // "14 jun 2025": the UTC day of a time in seconds since 1970, spelled the
    // same in every locale.
    static std::string FormatDay(std::int64_t seconds);
    // "14 jun 2025" from its parts, month 1 to 12.
    static std::string FormatDate(int year, int month, int day);

    // The text lines drawn, heading first; empty when nothing is shown.
    const std::vector<std::string>& Lines() const { return lines; }

private:
    void DrawBacking() const;
    // The y of a row, from 1 (the heading is line 0).
    static int RowY(std::size_t line);

    std::vector<std::string> lines;
};
