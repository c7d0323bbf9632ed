#include "board/PendingQueue.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "common/RegularFile.h"
#include "save/AtomicFile.h"
#include "save/ReplayFile.h"

namespace {

// "YYYYMMDD-HHMMSS-NN" and the extension: NN tells apart the games queued
// within one second.
constexpr std::size_t kStampLength = 15;
constexpr int kSameSecond = 100;

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string Stamp(std::time_t when) {
    std::tm utc{};
    gmtime_r(&when, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &utc);
    return text;
}

// A name this queue gave: the stamp, a dash, two digits and ".kvr".
bool IsQueued(const std::string& name) {
    const std::string extension = replay_file::kExtension;
    if (name.size() != kStampLength + 3 + extension.size()) return false;
    for (std::size_t i = 0; i < kStampLength + 3; ++i) {
        const bool dash = i == 8 || i == kStampLength;
        if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9')) return false;
    }
    return name.compare(kStampLength + 3, extension.size(), extension) == 0;
}

}  // namespace

PendingQueue::PendingQueue(const DataFolder& dataFolder)
    : folder(dataFolder),
      path(dataFolder.Path().empty() ? "" : dataFolder.Path() + kFolder + "/") {}

bool PendingQueue::Add(const std::string& replay, std::time_t now, std::string& name,
                       std::vector<std::string>& dropped, std::string& error) {
    if (!folder.Create(error)) return false;
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<std::string> queued = Names();
    for (std::size_t i = 0; i + kMaxFiles <= queued.size(); ++i) {
        Remove(queued[i]);
        dropped.push_back(queued[i]);
    }
    const std::string stamp = Stamp(now);
    for (int n = 0; n < kSameSecond; ++n) {
        char candidate[64];
        std::snprintf(candidate, sizeof candidate, "%s-%02d%s", stamp.c_str(), n,
                      replay_file::kExtension);
        if (Exists(path + candidate)) continue;
        name = candidate;
        return WriteFileAtomically(path + name, replay, error);
    }
    error = "cannot queue a replay in " + path + ": too many in one second";
    return false;
}

std::vector<std::string> PendingQueue::Names() const {
    std::vector<std::string> names;
    DIR* listing = path.empty() ? nullptr : opendir(path.c_str());
    if (listing == nullptr) return names;
    while (const dirent* item = readdir(listing)) {
        if (IsQueued(item->d_name)) names.emplace_back(item->d_name);
    }
    closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

bool PendingQueue::Read(const std::string& name, std::string& replay, std::string& error) const {
    std::string why;
    const regular_file::Outcome outcome =
        regular_file::Read(path + name, replay_file::kMaxFileSize, replay, why);
    if (outcome == regular_file::Outcome::kRead) return true;
    error = path + name + " " + (outcome == regular_file::Outcome::kMissing ? "is gone" : why);
    return false;
}

void PendingQueue::Remove(const std::string& name) const { unlink((path + name).c_str()); }
