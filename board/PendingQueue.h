// Replays waiting to be sent to the daily board.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "save/DataFolder.h"

// The folder pending/ in the data folder: one replay file for each game the
// board has not taken yet, named after when it was queued
// ("20260614-201509-00.kvr"), so that a listing sorted by name is oldest
// first. Files are written atomically; the folder is made with the first
// one. It never holds more than kMaxFiles: the oldest go to make room.
// Files of other names in the folder are left alone.
class PendingQueue {
public:
    static constexpr std::size_t kMaxFiles = 100;
    static constexpr const char* kFolder = "pending";

    explicit PendingQueue(const DataFolder& folder);

    // Queues a replay file's bytes, removing the oldest files beyond the
    // cap (their names go to `dropped`). False, with one line in `error`,
    // when it cannot be written; `name` is its file name otherwise.
    bool Add(const std::string& replay, std::time_t now, std::string& name,
             std::vector<std::string>& dropped, std::string& error);

    // The queued files' names, oldest first.
    std::vector<std::string> Names() const;
    // A queued file's bytes. False, with one line in `error`, when it cannot
    // be read.
    bool Read(const std::string& name, std::string& replay, std::string& error) const;
    // Takes a file off the queue (sent, or refused for good).
    void Remove(const std::string& name) const;

    // The folder, ending with '/'.
    const std::string& Path() const { return path; }
    // The data folder it is in.
    const DataFolder& Folder() const { return folder; }

private:
    DataFolder folder;
    std::string path;
};
