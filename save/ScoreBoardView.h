// The score table's best games on the game-over screen.
#pragma once

#include <string>
#include <vector>

#include "save/ScoreTable.h"

class CBitmapFont;

// A heading and up to five rows under the game-over lines (which stay where
// they are), each row the same width so the columns line up:
//
//                  best games
//    1    12450  14 jun 2025  daily  new
//    2     9800   2 jun 2025
//
// The game just entered is marked "new"; when a game shown was played below
// full speed, a column marks it "slow". Rows are built once by Show(), so
// drawing them every frame costs only the text. Dates are spelled out,
// which reads the same in every locale.
class ScoreBoardView {
public:
    static constexpr int kRowsShown = 5;
    static constexpr int kHeadingY = 288;
    static constexpr int kFirstRowY = 256;
    static constexpr int kRowStep = 32;

    // From now on, shows the table's best games; the game at rank `marked`
    // (from 0; -1 for none) is marked new.
    void Show(const ScoreTable& table, int marked);
    // Shows nothing from now on (a new game has started).
    void Hide();

    // Draws the heading and rows, if shown, over the frame in the back
    // buffer: call between GameApp::DrawFrame() and Present().
    void Draw(CBitmapFont& font) const;

    // One game's row: its rank (from 0), score, date, seed kind, "slow" in
    // a column only a table with a slow game needs, and the "new" mark; the
    // same width for every game of a table.
    static std::string Row(int rank, const ScoreEntry& entry, bool marked, bool slowColumn);

    // The text lines drawn, heading first; empty when nothing is shown.
    const std::vector<std::string>& Lines() const { return lines; }

private:
    std::vector<std::string> lines;
};
