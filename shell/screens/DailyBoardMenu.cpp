#include "shell/screens/DailyBoardMenu.h"

#include <cstdio>
#include <ctime>

#include "board/BoardSender.h"
#include "save/SeedKind.h"
#include "shell/screens/ScreenHost.h"
#include "shell/session/PlayerSettings.h"
#include "shell/session/ShellParts.h"

void DailyBoardMenu::Shown() {
    entries.clear();
    ticket = 0;
    if (host.Parts().board != nullptr) {
        ticket = host.Parts().board->FetchBoard(DailySeed(std::time(nullptr)));
        hint = "asking the board";
    } else {
        hint = "the daily board is off: turn it on in settings";
    }
    MenuScreen::Shown();
}

bool DailyBoardMenu::HearBoard(const BoardReport& report) {
    if (ticket == 0 || report.ticket != ticket) return false;
    ticket = 0;
    if (report.kind == BoardReport::Kind::kBoard) {
        entries = report.entries;
        hint = entries.empty() ? "nobody is on today's board yet" : "today's best";
    } else {
        hint = "the board cannot be reached";
    }
    list.Clear();
    Build();
    list.HighlightFirst();
    return true;
}

void DailyBoardMenu::Build() {
    for (std::size_t i = 0; i < entries.size() && i < kShown; ++i) {
        list.AddHeading(RowText(entries[i]));
    }
    list.Add("back", [this] { host.Back(); });
}

std::string DailyBoardMenu::RowText(const board_client::BoardEntry& entry) const {
    const bool mine = host.Parts().settings != nullptr &&
                      entry.player == host.Parts().settings->Current().Get(Settings::kPlayer);
    char text[64];
    std::snprintf(text, sizeof text, "%2d %-20s %7d %s", entry.rank, entry.player.c_str(),
                  entry.score, mine ? "you" : "   ");
    return text;
}
