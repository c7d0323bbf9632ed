// The table on the game-over screen: added under the game-over lines, which
// are drawn exactly as before.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/GameApp.h"
#include "gfx/TextFont.h"
#include "objects/Random.h"
#include "save/ScoreBoardView.h"
#include "tests/gl/RecordingGL.h"

namespace {

constexpr int kLowestGameOverLineY = 336;

ScoreTable SevenGames() {
    ScoreTable table;
    for (int i = 0; i < 7; ++i) {
        ScoreEntry entry;
        entry.score = 1000 * (i + 1) + 25;
        entry.endedAt = 1749900000 + 86400 * i;  // 14 June 2025 on
        entry.seedKind = static_cast<SeedKind>(i % 3);
        entry.seed = 77 + static_cast<std::uint32_t>(i);
        entry.replay = "r.kvr";
        table.Enter(entry);
    }
    return table;
}

bool FontDraws(char c) { return c == ' ' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); }

TEST(ScoreBoardViewTest, TopFiveUnderTheGameOverLinesNewEntryMarked) {
    GameApp app;
    SeedRandom(3);
    app.InitGame();
    app.GameOver();
    const TextFont font;
    recgl::Reset();
    app.DrawFrame();
    const std::vector<GLCall> bare = recgl::Calls();

    ScoreBoardView view;
    view.Show(SevenGames(), 2);
    recgl::Reset();
    app.DrawFrame();
    view.Draw(font);
    const std::vector<GLCall> withTable = recgl::Calls();

    ASSERT_GT(withTable.size(), bare.size());
    for (std::size_t i = 0; i < bare.size(); ++i) {
        ASSERT_EQ(withTable[i].name, bare[i].name) << "call " << i;
        ASSERT_EQ(withTable[i].args, bare[i].args) << "call " << i;
    }

    const std::vector<std::string>& lines = view.Lines();
    ASSERT_EQ(lines.size(), 6u);  // heading and five rows
    EXPECT_EQ(lines[0], "best games");
    EXPECT_EQ(lines[1], " 1     7025  20 jun 2025                           ");
    EXPECT_EQ(lines[2], " 2     6025  19 jun 2025  daily                    ");
    EXPECT_EQ(lines[3], " 3     5025  18 jun 2025  seed 81          new     ");
    EXPECT_EQ(lines[4], " 4     4025  17 jun 2025                           ");
    for (const std::string& line : lines) {
        for (char c : line) EXPECT_TRUE(FontDraws(c)) << "'" << c << "' in '" << line << "'";
    }

    // Text quads after the bare frame: one glBegin per line, in order, each
    // line's first corner below the game-over lines, the rows all at one x.
    std::vector<std::pair<double, double>> corners;
    for (std::size_t i = bare.size(); i + 1 < withTable.size(); ++i) {
        if (withTable[i].name == "glBegin" && withTable[i].args[0] == GL_QUADS) {
            for (std::size_t j = i + 1; j < withTable.size(); ++j) {
                if (withTable[j].name == "glVertex2f") {
                    corners.emplace_back(withTable[j].args[0], withTable[j].args[1]);
                    break;
                }
            }
        }
    }
    ASSERT_EQ(corners.size(), 6u);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        EXPECT_LT(corners[i].second + 16, kLowestGameOverLineY) << "line " << i;
        EXPECT_GT(corners[i].second, 0) << "line " << i;
        if (i > 0) {
            EXPECT_LT(corners[i].second, corners[i - 1].second);
            EXPECT_EQ(corners[i].first, corners[1].first);
        }
    }

    view.Hide();
    recgl::Reset();
    view.Draw(font);
    EXPECT_TRUE(recgl::Calls().empty());
}

// A game played below full speed is marked in a column of its own, which
// only a table showing one has.
TEST(ScoreBoardViewTest, SlowGamesAreMarked) {
    ScoreTable table = SevenGames();
    ScoreEntry slow = table.Entries()[1];
    slow.score += 1;
    slow.speed = 65;
    table.Enter(slow);
    ScoreBoardView view;
    view.Show(table, 1);
    ASSERT_EQ(view.Lines().size(), 6u);
    EXPECT_EQ(view.Lines()[1], " 1     7025  20 jun 2025                                 ");
    EXPECT_EQ(view.Lines()[2], " 2     6026  19 jun 2025  daily            slow  new     ");
    EXPECT_EQ(view.Lines()[3], " 3     6025  19 jun 2025  daily                          ");
}

// What moves behind the table is hidden: a black backing under every row,
// drawn before them, which leaves the game's own lines above it uncovered.
TEST(ScoreBoardViewTest, RowsStandOnADarkBacking) {
    GameApp app;
    app.InitGame();
    app.GameOver();
    const TextFont font;
    ScoreBoardView view;
    view.Show(SevenGames(), 2);
    recgl::Reset();
    view.Draw(font);
    const std::vector<GLCall>& calls = recgl::Calls();
    std::size_t rect = 0;
    while (rect < calls.size() && calls[rect].name != "glRectf") ++rect;
    ASSERT_LT(rect, calls.size()) << "no backing";
    const std::vector<GLCall> colours = recgl::CallsNamed("glColor3f");
    ASSERT_FALSE(colours.empty());
    EXPECT_EQ(colours.front().args, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(recgl::CallsNamed("glRectf").size(), 1u);
    const std::vector<double>& box = calls[rect].args;  // x1, y1, x2, y2
    EXPECT_LE(box[3], kLowestGameOverLineY);
    for (int line = 0; line < static_cast<int>(view.Lines().size()); ++line) {
        for (const auto& [x, y] : recgl::Vertices(GL_QUADS, line)) {
            EXPECT_TRUE(x > box[0] && x < box[2] && y > box[1] && y < box[3])
                << "line " << line << " at " << x << ", " << y;
        }
    }
    for (std::size_t i = 0; i < rect; ++i)
        EXPECT_NE(calls[i].name, "glBegin") << "drawn after text";
}

}  // namespace
