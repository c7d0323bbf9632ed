// Every file the game reads, put where the game looks for it as a FIFO with
// no writer, a link to /dev/zero, a folder and a file one byte over its
// kind's cap: each load ends at once, names the file and says why.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>

#include "board/BoardKey.h"
#include "board/PendingQueue.h"
#include "input/Gamepads.h"
#include "save/DataFolder.h"
#include "save/GameRecords.h"
#include "save/ReplayFile.h"
#include "save/ScoreTable.h"
#include "shell/settings/Settings.h"
#include "shell/settings/SettingsFile.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using testing_support::TemporaryFolder;

constexpr auto kTimeLimit = std::chrono::seconds(2);
constexpr const char* kQueued = "20260101-000000.kvr";

// What a load warned; a load that never ends gives nullopt after the time
// limit. It runs in a child process, so that one blocked on a FIFO or
// reading /dev/zero for ever can be killed.
std::optional<std::string> LoadWithin(const std::function<std::string()>& load) {
    int channel[2];
    if (pipe(channel) != 0) return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const std::string said = load();
        const ssize_t written = write(channel[1], said.data(), said.size());
        _exit(written == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    close(channel[1]);
    std::string said;
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
    pollfd readable{channel[0], POLLIN, 0};
    while (!ended) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) break;
        char buffer[4096];
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got > 0) said.append(buffer, static_cast<std::size_t>(got));
        ended = got <= 0;
    }
    close(channel[0]);
    if (!ended) kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return said;
}

struct FileKind {
    const char* name;     // under the scratch folder
    std::size_t cap;      // the largest file of the kind read
    const char* overCap;  // what a file over it is called
    // Loads the file as the game does, from the scratch folder; what it
    // warned.
    std::function<std::string(const std::string& folder)> load;
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

const std::vector<FileKind>& Kinds() {
    static const std::vector<FileKind> kinds = {
        {"config/korvessa/settings.ini", SettingsFile::kMaxSize, "over 64 KB",
         [](const std::string& folder) {
             SettingsFile file(folder + "config/korvessa/settings.ini");
             Settings settings;
             std::vector<std::string> warnings;
             file.Load(settings, warnings);
             const bool fallsBack = settings == Settings() && file.Seen();
             return Joined(warnings) + (fallsBack ? "" : "not the defaults of a later start");
         }},
        {"data/scores.txt", ScoreTable::kMaxFileSize, "larger than",
         [](const std::string& folder) {
             ScoreTable table;
             std::string error;
             GameRecords(DataFolder(folder + "data/")).ReadTable(table, error);
             return error;
         }},
        {"data/gamecontrollerdb.txt", Gamepads::kMaxMappingFileSize, "larger than",
         [](const std::string& folder) {
             std::ostringstream warnings;
             Gamepads pads(folder + "data", warnings);
             return warnings.str();
         }},
        {"data/pending/20260101-000000.kvr", replay_file::kMaxFileSize, "larger than",
         [](const std::string& folder) {
             std::string bytes, error;
             PendingQueue(DataFolder(folder + "data/")).Read(kQueued, bytes, error);
             return error;
         }},
        {"data/board-key", BoardKey::kMaxFileSize, "larger than",
         [](const std::string& folder) {
             std::string key, error;
             BoardKey(DataFolder(folder + "data/")).Get(key, error);
             return error;
         }},
        {"replay.kvr", replay_file::kMaxFileSize, "larger than",
         [](const std::string& folder) {
             Replay replay;
             std::string error;
             replay_file::Read(folder + "replay.kvr", replay, error);
             return error;
         }},
    };
    return kinds;
}

enum class Form { kFifo, kEndless, kFolder, kOverCap };

// Puts `form` at `path`; false when it cannot be made.
bool Make(Form form, const std::string& path, std::size_t cap) {
    std::error_code failed;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), failed);
    switch (form) {
        case Form::kFifo:
            return mkfifo(path.c_str(), 0600) == 0;
        case Form::kEndless:
            return symlink("/dev/zero", path.c_str()) == 0;
        case Form::kFolder:
            return mkdir(path.c_str(), 0700) == 0;
        case Form::kOverCap: {
            // Sparse: no disk is spent on a replay's 16 MB.
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const bool made = fd >= 0 && ftruncate(fd, static_cast<off_t>(cap + 1)) == 0;
            if (fd >= 0) close(fd);
            return made;
        }
    }
    return false;
}

TEST(UnreadableFilesTest, EveryKindIsRefusedAtOnceWithItsNameAndWhy) {
    const std::pair<Form, const char*> forms[] = {{Form::kFifo, "is not a regular file"},
                                                  {Form::kEndless, "is not a regular file"},
                                                  {Form::kFolder, "is a directory"},
                                                  {Form::kOverCap, nullptr}};
    for (const FileKind& kind : Kinds()) {
        for (const auto& [form, why] : forms) {
            TemporaryFolder scratch;
            const std::string path = scratch.path + kind.name;
            SCOPED_TRACE(path + " as form " + std::to_string(static_cast<int>(form)));
            ASSERT_TRUE(Make(form, path, kind.cap));
            const std::optional<std::string> said =
                LoadWithin([&kind, &scratch] { return kind.load(scratch.path); });
            ASSERT_TRUE(said.has_value()) << "the load did not end within two seconds";
            EXPECT_NE(said->find(path), std::string::npos) << *said;
            EXPECT_NE(said->find(why != nullptr ? why : kind.overCap), std::string::npos) << *said;
            EXPECT_EQ(said->find("not the defaults"), std::string::npos) << *said;
            EXPECT_LE(std::count(said->begin(), said->end(), '\n'), 1) << *said;
        }
    }
}

}  // namespace
