#include "shell/screens/HighScoresMenu.h"

#include "save/GameRecords.h"
#include "save/ScoreBoardView.h"
#include "shell/screens/ScreenHost.h"
#include "shell/screens/WatchScreen.h"
#include "shell/session/ShellParts.h"

void HighScoresMenu::Build() {
    message = "no games kept yet";
    ScoreTable table;
    std::string error;
    if (host.Parts().records == nullptr) {
        message = "no scores are kept here";
    } else if (!host.Parts().records->ReadTable(table, error)) {
        message = "the score table cannot be read";
    }
    const std::vector<ScoreEntry>& entries = table.Entries();
    std::size_t newest = 0;
    bool slowColumn = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].endedAt > entries[newest].endedAt) newest = i;
        slowColumn |= entries[i].speed < game_speed::kFull;
    }
    if (!entries.empty()) message = "choose a game to watch it";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string path = host.Parts().records->Folder().ReplaysPath() + entries[i].replay;
        list.Add(ScoreBoardView::Row(static_cast<int>(i), entries[i], i == newest, slowColumn),
                 [this, path] { watch.Watch(path, message); });
    }
    list.Add("back", [this] { host.Back(); });
}
