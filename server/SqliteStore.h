// The board in one SQLite file: no set-up at all, for a server on one
// machine (workers on the same machine may share the file).
#pragma once

#include <mutex>
#include <string>
#include <unordered_map>

#include "server/BoardStore.h"
#include "server/SqliteStatement.h"

struct sqlite3;
struct sqlite3_stmt;

class SqliteStore : public BoardStore {
public:
    // Opens the file at `path`, creating it and its table when missing, in
    // write-ahead-log mode so that readers never wait for the writer. Throws
    // StoreError.
    explicit SqliteStore(const std::string& path);
    ~SqliteStore() override;

    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    bool Add(const NewSubmission& submission) override;
    std::optional<Submission> Find(const std::string& id) override;
    std::optional<std::string> Replay(const std::string& id) override;
    std::optional<Job> Take(const std::string& worker, std::int64_t nowMs,
                            std::int64_t leaseMs) override;
    bool Renew(const Job& job, const std::string& worker, std::int64_t untilMs) override;
    bool Finish(const Job& job, const std::string& worker, const Verdict& verdict,
                std::int64_t nowMs) override;
    std::vector<BoardEntry> Board(std::uint32_t day, int limit) override;
    Standing StandingOf(const Submission& submission) override;
    std::optional<std::string> NameOwner(const std::string& foldedName) override;

private:
    // Columns a file made by an earlier server lacks.
    void AddMissingColumns();
    // `verdict`, a verified one, as it stands against the games and names
    // kept already; its submission's folded name and key hash too. Inside
    // Finish's transaction, under the mutex.
    Verdict Judge(const Job& job, const Verdict& verdict, std::string& folded,
                  std::string& keyHash);
    std::optional<std::string> OwnerOf(const std::string& foldedName);
    // Runs statements that return nothing; throws StoreError.
    void Execute(const std::string& sql);
    // `sql`, prepared on its first use and kept: parsing it again for every
    // request would cost more than running it.
    SqliteStatement Statement(const std::string& sql);

    // One connection, one statement at a time: SQLite writes one at a time
    // anyway, and every statement here takes microseconds.
    std::mutex mutex;
    sqlite3* db = nullptr;
    std::string path;
    std::unordered_map<std::string, sqlite3_stmt*> prepared;
};
