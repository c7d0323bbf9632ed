// The daily board's word on the game just ended, on the game-over screen.
#pragma once

#include <cstdint>
#include <string>

#include "board/BoardSender.h"

class TextFont;

// One line under the best games: "sending to the daily board" while the
// game is on its way, then "rank 3 of 17 today", the board's reason when it
// refused the game, or that it waits to be sent later (the board not reached,
// or answering what makes no sense). Only the reports of
// the game being shown change it.
class BoardStatusView {
public:
    static constexpr int kLineY = 96;
    // The line is cut to the playfield's width, in glyphs.
    static constexpr std::size_t kMaxLength = 64;

    // From now on, shows the game with this ticket as being sent; a ticket
    // of 0 (a game the board does not take) shows nothing.
    void Sending(std::uint64_t ticket);
    // Shows why a game was not sent; no report changes that.
    void NotSent(const std::string& why);
    // Shows what a report says, when it is about the game shown. True when
    // the line changed.
    bool Hear(const BoardReport& report);
    // Shows nothing from now on (a new game has started).
    void Hide();

    // Draws the line, if any, over the frame in the back buffer.
    void Draw(const TextFont& font) const;
    // The line drawn; empty when none is.
    const std::string& Line() const { return line; }

private:
    std::uint64_t ticket = 0;
    std::string line;
};
