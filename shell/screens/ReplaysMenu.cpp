#include "shell/screens/ReplaysMenu.h"

#include <cstdio>
#include <cstdlib>

#include "save/GameRecords.h"
#include "shell/screens/ScreenHost.h"
#include "shell/screens/WatchScreen.h"
#include "shell/session/ShellParts.h"

namespace {

constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                   "jul", "aug", "sep", "oct", "nov", "dec"};
constexpr std::size_t kStampLength = 15;  // 20250614-201509

}  // namespace

std::string ReplaysMenu::Describe(const std::string& name) {
    unsigned year, month, day, hour, minute, second;
    char score[16];
    if (name.size() <= kStampLength ||
        std::sscanf(name.c_str(), "%4u%2u%2u-%2u%2u%2u-%15[0-9]", &year, &month, &day, &hour,
                    &minute, &second, score) != 7 ||
        month < 1 || month > 12) {
        return name;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%2u %s %4u %02u:%02u  %7s", day, kMonths[month - 1], year,
                  hour, minute, score);
    return text;
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
