#include "save/GameRecords.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "common/RegularFile.h"
#include "save/AtomicFile.h"
#include "save/FileAside.h"
#include "save/ReplayFile.h"
#include "save/ReplayName.h"

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

// An exclusive lock on a file beside the table, held while it lives, if it
// could be had at once.
class ScoresLock {
public:
    explicit ScoresLock(const std::string& path)
        : fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        // Without the lock for any other reason (an odd file system) the
        // game is saved all the same.
        busy = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    }
    ~ScoresLock() {
        if (fd >= 0) close(fd);  // closing lets go of the lock
    }
    ScoresLock(const ScoresLock&) = delete;
    ScoresLock& operator=(const ScoresLock&) = delete;

    // Another program holds it.
    bool Busy() const { return busy; }

private:
    int fd;
    bool busy;
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
    std::string why;
    switch (regular_file::Read(path, ScoreTable::kMaxFileSize, text, why)) {
        case regular_file::Outcome::kRead:
            return FileRead::kRead;
        case regular_file::Outcome::kMissing:
            return FileRead::kNoFile;
        default:
            error = path + " " + why;
            return FileRead::kFailed;
    }
}

}  // namespace

GameRecords::Loaded GameRecords::LoadFile(ScoreTable& into, std::string& what) const {
    std::string text;
    switch (ReadTableText(folder.ScoresPath(), text, what)) {
        case FileRead::kNoFile:
            into = ScoreTable();  // deleted by the player: start afresh
            return Loaded::kNoFile;
        case FileRead::kFailed:
            return Loaded::kUnusable;
        case FileRead::kRead:
            break;
    }
    const int version = ScoreTable::FormatVersionOf(text);
    if (version > ScoreTable::kFormatVersion) {
        what = folder.ScoresPath() + " was written by a newer version of the game (table format " +
               std::to_string(version) + ")";
        return Loaded::kNewer;
    }
    return ScoreTable::Parse(text, into, what) ? Loaded::kTable : Loaded::kDamaged;
}

bool GameRecords::ReadTable(ScoreTable& read, std::string& error) const {
    switch (LoadFile(read, error)) {
        case Loaded::kTable:
        case Loaded::kNoFile:
            return true;
        case Loaded::kDamaged:
            error = folder.ScoresPath() + " is damaged (" + error + ")";
            return false;
        case Loaded::kNewer:
        case Loaded::kUnusable:
            break;
    }
    return false;
}

namespace {

ScoreEntry EntryFor(const Replay& replay, std::int64_t endedAt) {
    ScoreEntry entry;
    entry.score = replay.score;
    entry.endedAt = endedAt;
    entry.seedKind = replay.seedKind;
    entry.seed = replay.seed;
    entry.speed = replay.speed;
    entry.replay = ReplayName::Format(endedAt, replay.score);
    return entry;
}

}  // namespace

GameRecords::Outcome GameRecords::RecordGame(const Replay& replay, std::int64_t endedAt) {
    const ScoreEntry entry = EntryFor(replay, endedAt);
    Outcome outcome;
    if (keepingNothing) return NotKept(entry, outcome);
    std::string error;
    if (!folder.Create(error)) {
        outcome.warnings.push_back("cannot save the game: " + error);
        return NotKept(entry, outcome);
    }
    // Another copy of the game may be ending a game too: one at a time names
    // its replay, reads the table, enters and writes, so neither game is lost.
    const ScoresLock lock(folder.Path() + kLockFile);
    if (lock.Busy()) {
        outcome.busy = true;
        return outcome;
    }
    RemoveLeftovers(folder.Path());
    RemoveLeftovers(folder.ReplaysPath());
    return Keep(entry, replay, outcome);
}

GameRecords::Outcome GameRecords::Keep(const ScoreEntry& finished, const Replay& replay,
                                       Outcome outcome) {
    ScoreTable saved;
    std::string what;
    Loaded loaded = LoadFile(saved, what);
    if (loaded == Loaded::kNewer) {
        // Its games are not ours to change, nor its replays to prune.
        keepingNothing = true;
        outcome.warnings.push_back(what + "; nothing is kept this session");
        return NotKept(finished, outcome);
    }
    const bool setAside = loaded == Loaded::kDamaged;
    if (setAside) {
        std::string aside, error;
        const std::string path = folder.ScoresPath();
        if (!KeepAside(path, aside, error)) {
            what = path + " is damaged (" + what + ") and " + error;
            loaded = Loaded::kUnusable;
        } else {
            outcome.warnings.push_back(path + " is damaged (" + what + "); kept it as " + aside +
                                       " and started a fresh table");
            saved = ScoreTable();
        }
    }
    if (loaded == Loaded::kUnusable) outcome.warnings.push_back(what);

    const std::string replays = folder.ReplaysPath();
    ScoreEntry entry = finished;
    entry.replay =
        FreeName(replays, entry.replay.substr(0, entry.replay.size() - 4), replay_file::kExtension);
    std::string error;
    if (!replay_file::Write(replays + entry.replay, replay, error)) {
        outcome.warnings.push_back("cannot save the replay: " + error);
        return NotKept(entry, outcome);
    }
    outcome.replayName = entry.replay;
    // Never write over a file that could not be read: the game is shown on
    // the table as it was.
    if (loaded != Loaded::kUnusable) table = saved;
    outcome.rank = Place(entry);
    outcome.kept = outcome.rank < 0;
    if (loaded == Loaded::kUnusable) return outcome;
    if (outcome.rank >= 0) {
        outcome.kept = WriteFileAtomically(folder.ScoresPath(), table.Format(), error);
        if (!outcome.kept) outcome.warnings.push_back("cannot save the score table: " + error);
    }
    // Replays a damaged table may still name are kept until it is mended.
    if (setAside) return outcome;
    std::set<std::string> kept;
    for (const ScoreEntry& game : table.Entries()) kept.insert(game.replay);
    PruneReplays(replays, kNewestReplaysKept, kept);
    return outcome;
}

GameRecords::Outcome GameRecords::GiveUp(const Replay& replay, std::int64_t endedAt) {
    Outcome outcome;
    outcome.warnings.push_back(folder.Path() + kLockFile +
                               " stayed locked by another program; this game was not kept");
    return NotKept(EntryFor(replay, endedAt), outcome);
}

GameRecords::Outcome GameRecords::NotKept(const ScoreEntry& entry, Outcome outcome) {
    // Reading alone is safe without the lock: every save is a rename.
    ScoreTable onDisk;
    std::string ignored;  // the one warning already given says enough
    const Loaded loaded = LoadFile(onDisk, ignored);
    if (loaded == Loaded::kTable || loaded == Loaded::kNoFile) table = onDisk;
    outcome.kept = false;
    outcome.replayName.clear();
    outcome.rank = Place(entry);
    return outcome;
}

int GameRecords::Place(const ScoreEntry& entry) {
    // A game that scored nothing is no achievement: ten of them would fill
    // the table.
    if (entry.score <= 0) return -1;
    return table.Enter(entry);
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
