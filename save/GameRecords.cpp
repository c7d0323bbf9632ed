#include "save/GameRecords.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

#include "save/AtomicFile.h"
#include "save/FileAside.h"
#include "save/ReplayFile.h"

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A name not yet taken in the folder: `stem` + suffix, or with "-2", "-3"...
// before the suffix.
std::string FreeName(const std::string& folder, const std::string& stem,
                     const std::string& suffix) {
    std::string name = stem + suffix;
    for (int n = 2; Exists(folder + name); ++n) name = stem + "-" + std::to_string(n) + suffix;
    return name;
}

}  // namespace

GameRecords::GameRecords(DataFolder dataFolder) : folder(std::move(dataFolder)) {}

namespace {

constexpr const char* kLockFile = "scores.lock";

// An exclusive lock on a file beside the table, held while it lives.
class ScoresLock {
public:
    explicit ScoresLock(const std::string& path)
        : fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd >= 0) flock(fd, LOCK_EX);
    }
    ~ScoresLock() {
        if (fd >= 0) close(fd);  // closing lets go of the lock
    }
    ScoresLock(const ScoresLock&) = delete;
    ScoresLock& operator=(const ScoresLock&) = delete;

private:
    int fd;
};

// A temporary file of an atomic save (".scores.txt.Ab3xY9"). Under the lock
// no save is under way, so one found then was cut short by a crash.
bool IsLeftover(const std::string& name) {
    constexpr std::size_t kSuffix = 7;  // ".XXXXXX"
    if (name.size() <= kSuffix + 1 || name[0] != '.' || name[name.size() - kSuffix] != '.') {
        return false;
    }
    const std::string saved = name.substr(1, name.size() - kSuffix - 1);
    return saved == DataFolder::kScoresFile || EndsWith(saved, replay_file::kExtension);
}

void RemoveLeftovers(const std::string& folder) {
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* item = readdir(listing)) {
        if (IsLeftover(item->d_name)) unlink((folder + item->d_name).c_str());
    }
    closedir(listing);
}

}  // namespace

namespace {

enum class FileRead { kRead, kNoFile, kFailed };

// The whole text of the table file; a failure leaves one line in `error`.
FileRead ReadTableText(const std::string& path, std::string& text, std::string& error) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return FileRead::kNoFile;
        error = "cannot read " + path + ": " + std::strerror(errno);
        return FileRead::kFailed;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "cannot read " + path + ": not a file";
        return FileRead::kFailed;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return FileRead::kFailed;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) {
        error = "cannot read " + path;
        return FileRead::kFailed;
    }
    text = contents.str();
    return FileRead::kRead;
}

}  // namespace

GameRecords::Loaded GameRecords::LoadTable(std::vector<std::string>& warnings) {
    const std::string path = folder.ScoresPath();
    std::string text, error;
    switch (ReadTableText(path, text, error)) {
        case FileRead::kNoFile:
            table = ScoreTable();  // deleted by the player: start afresh
            return Loaded::kNoFile;
        case FileRead::kFailed:
            warnings.push_back(error);
            return Loaded::kUnusable;
        case FileRead::kRead:
            break;
    }
    std::string what;
    if (ScoreTable::Parse(text, table, what)) return Loaded::kTable;
    std::string aside;
    if (!KeepAside(path, aside, error)) {
        warnings.push_back(path + " is damaged (" + what + ") and " + error);
        return Loaded::kUnusable;
    }
    warnings.push_back(path + " is damaged (" + what + "); kept it as " + aside +
                       " and started a fresh table");
    table = ScoreTable();
    return Loaded::kSetAside;
}

bool GameRecords::ReadTable(ScoreTable& read, std::string& error) const {
    std::string text;
    switch (ReadTableText(folder.ScoresPath(), text, error)) {
        case FileRead::kNoFile:
            read = ScoreTable();
            return true;
        case FileRead::kFailed:
            return false;
        case FileRead::kRead:
            break;
    }
    std::string what;
    if (ScoreTable::Parse(text, read, what)) return true;
    error = folder.ScoresPath() + " is damaged (" + what + ")";
    return false;
}

GameRecords::Outcome GameRecords::RecordGame(const Replay& replay, std::int64_t endedAt) {
    Outcome outcome;
    ScoreEntry entry;
    entry.score = replay.score;
    entry.endedAt = endedAt;
    entry.seedKind = replay.seedKind;
    entry.seed = replay.seed;
    entry.speed = replay.speed;
    entry.replay = ReplayFileName(endedAt, replay.score);

    std::string error;
    const std::string replays = folder.ReplaysPath();
    outcome.replayName = entry.replay;
    if (!folder.Create(error)) {
        // Only the game-over screen will know of this game.
        outcome.warnings.push_back("cannot save the game: " + error);
        outcome.rank = table.Enter(entry);
        return outcome;
    }

    // Another copy of the game may be ending a game too: one at a time names
    // its replay, reads the table, enters and writes, so neither game is lost.
    // Without the lock (an odd file system) the game is saved all the same.
    const ScoresLock lock(folder.Path() + kLockFile);
    RemoveLeftovers(folder.Path());
    RemoveLeftovers(replays);
    entry.replay =
        FreeName(replays, entry.replay.substr(0, entry.replay.size() - 4), replay_file::kExtension);
    outcome.replayName = entry.replay;
    if (!replay_file::Write(replays + entry.replay, replay, error)) {
        outcome.warnings.push_back("cannot save the replay: " + error);
        outcome.rank = table.Enter(entry);
        return outcome;
    }
    const Loaded loaded = LoadTable(outcome.warnings);
    outcome.rank = table.Enter(entry);
    if (loaded == Loaded::kUnusable) return outcome;  // never write over a file we could not read
    if (outcome.rank >= 0 && !WriteFileAtomically(folder.ScoresPath(), table.Format(), error)) {
        outcome.warnings.push_back("cannot save the score table: " + error);
    }
    // Replays a damaged table may still name are kept until it is mended.
    if (loaded == Loaded::kSetAside) return outcome;
    std::set<std::string> kept;
    for (const ScoreEntry& game : table.Entries()) kept.insert(game.replay);
    PruneReplays(replays, kNewestReplaysKept, kept);
    return outcome;
}

std::string ReplayFileName(std::int64_t endedAt, int score) {
    // 2025-06-14T20:15:09Z -> 20250614-201509
    std::string stamp;
    for (char c : ScoreTable::FormatTime(endedAt)) {
        if (c >= '0' && c <= '9') stamp += c;
        if (c == 'T') stamp += '-';
    }
    return stamp + "-" + std::to_string(score) + replay_file::kExtension;
}

std::vector<std::string> NewestReplays(const std::string& replaysFolder) {
    DIR* listing = opendir(replaysFolder.c_str());
    if (listing == nullptr) return {};
    struct Found {
        std::string name;
        std::int64_t modified;
    };
    std::vector<Found> replays;
    while (const dirent* item = readdir(listing)) {
        const std::string name = item->d_name;
        if (name[0] == '.' || !EndsWith(name, replay_file::kExtension)) continue;
        struct stat info {};
        const std::string path = replaysFolder + name;
        if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        replays.push_back(Found{name, static_cast<std::int64_t>(info.st_mtime)});
    }
    closedir(listing);
    // Newest first; names carry the time too, and break ties within a second.
    std::sort(replays.begin(), replays.end(), [](const Found& a, const Found& b) {
        return a.modified != b.modified ? a.modified > b.modified : a.name > b.name;
    });
    std::vector<std::string> names;
    for (Found& found : replays) names.push_back(std::move(found.name));
    return names;
}

int PruneReplays(const std::string& replaysFolder, std::size_t newestKept,
                 const std::set<std::string>& kept) {
    const std::vector<std::string> replays = NewestReplays(replaysFolder);
    int deleted = 0;
    for (std::size_t i = newestKept; i < replays.size(); ++i) {
        if (kept.count(replays[i]) != 0) continue;
        if (unlink((replaysFolder + replays[i]).c_str()) == 0) deleted += 1;
    }
    return deleted;
}
