#include "board/BoardStatusView.h"

#include "game/GameApp.h"
#include "gfx/TextFont.h"

namespace {

constexpr const char* kSending = "sending to the daily board";
constexpr const char* kKept = "board not reached: kept to send later";
constexpr const char* kNonsense = "board's answer made no sense: kept to send later";
constexpr const char* kUnverified = "sent to the board, not verified yet";

std::string Fitted(std::string text) {
    if (text.size() > BoardStatusView::kMaxLength) {
        text.resize(BoardStatusView::kMaxLength - 3);
        text += "...";
    }
    return text;
}

}  // namespace

void BoardStatusView::Sending(std::uint64_t shown) {
    ticket = shown;
    line = shown != 0 ? kSending : "";
}

void BoardStatusView::NotSent(const std::string& why) {
    ticket = 0;
    line = Fitted(why);
}

bool BoardStatusView::Hear(const BoardReport& report) {
    if (ticket == 0 || report.ticket != ticket) return false;
    switch (report.kind) {
        case BoardReport::Kind::kVerified:
            line = "rank " + std::to_string(report.verdict.rank) + " of " +
                   std::to_string(report.verdict.players) + " today";
            break;
        case BoardReport::Kind::kRefused:
            line = Fitted("refused: " + report.line);
            break;
        case BoardReport::Kind::kKept:
            line = report.nonsense ? kNonsense : kKept;
            break;
        case BoardReport::Kind::kUnverified:
            line = kUnverified;
            break;
        default:
            return false;
    }
    return true;
}

void BoardStatusView::Hide() {
    ticket = 0;
    line.clear();
}

void BoardStatusView::Draw(const TextFont& font) const {
    if (line.empty()) return;
    const int width = TextFont::kCellSize * static_cast<int>(line.size());
    font.DrawText(GameApp::kWindowWidth / 2 - width / 2, kLineY, line.c_str());
}
