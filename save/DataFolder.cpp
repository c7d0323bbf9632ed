#include "save/DataFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeFolder() {
    std::string home = EnvironmentValue("HOME");
    if (!home.empty()) return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace

// mkdir -p: every missing folder along the path, mode 0700 like SDL's.
bool DataFolder::CreateFolder(const std::string& path, std::string& error) {
    for (std::size_t end = path.find('/', 1); end != std::string::npos;
         end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) continue;
        error = "cannot create " + folder + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = "cannot create " + path + ": not a folder";
        return false;
    }
    return true;
}

std::string DataFolder::UserFolder(const char* variable, const char* underHome,
                                   const char* appName) {
    // An empty variable counts as unset, as the XDG base directory rules say.
    std::string base = EnvironmentValue(variable);
    if (base.empty()) {
        const std::string home = HomeFolder();
        if (home.empty()) return "";
        base = home + "/" + underHome;
    }
    return base + "/" + appName + "/";
}

DataFolder DataFolder::ForUser() { return DataFolder(UserFolder("XDG_DATA_HOME", ".local/share")); }

DataFolder::DataFolder(std::string folder) : path(std::move(folder)) {
    if (!path.empty() && path.back() != '/') path += '/';
}

std::string DataFolder::ScoresPath() const { return path + kScoresFile; }

std::string DataFolder::ReplaysPath() const { return path + kReplaysFolder + "/"; }

bool DataFolder::Create(std::string& error) const {
    if (path.empty()) {
        error = "no data folder: neither XDG_DATA_HOME nor HOME is set";
        return false;
    }
    return CreateFolder(ReplaysPath(), error);
}
