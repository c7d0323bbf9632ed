#include "shell/screens/ReplaysMenu.h"

#include <cstdio>
#include <cstdlib>

#include "save/GameRecords.h"
#include "save/ReplayName.h"
#include "save/ScoreBoardView.h"
#include "shell/screens/ScreenHost.h"
#include "shell/screens/WatchScreen.h"
#include "shell/session/ShellParts.h"

std::string ReplaysMenu::Describe(const std::string& name) {
    ReplayName read;
    if (!ReplayName::Parse(name, read)) return name;
    char time[32];
    std::snprintf(time, sizeof time, " %02u:%02u  %7s", read.hour, read.minute, read.score.c_str());
    return ScoreBoardView::FormatDate(static_cast<int>(read.year), static_cast<int>(read.month),
                                      static_cast<int>(read.day)) +
           time;
}

void ReplaysMenu::Build() {
    if (host.Parts().records == nullptr) {
        message = "no replays are kept here";
        list.Add("back", [this] { host.Back(); });
        return;
    }
    const std::string folder = host.Parts().records->Folder().ReplaysPath();
    const std::vector<std::string> names = NewestReplays(folder);
    message = names.empty() ? "no replays kept yet" : "newest first; choose one to watch it";
    for (const std::string& name : names) {
        list.Add(Describe(name), [this, path = folder + name] { watch.Watch(path, message); });
    }
    list.Add("back", [this] { host.Back(); });
}
