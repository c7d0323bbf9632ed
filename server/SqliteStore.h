// The board in one SQLite file: no set-up at all, for a server on one
// machine (workers on the same machine may share the file).
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "server/BoardStore.h"
#include "server/SqliteReaders.h"
#include "server/SqliteStatement.h"

struct sqlite3;
struct sqlite3_stmt;

class SqliteStore : public BoardStore {
public:
    // Opens the file at `path`, creating it and its tables when missing (the
    // ranks filled from the games of a file made before them), in
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
    std::vector<board_store::BoardEntry> Board(std::uint32_t day, int limit) override;
    Standing StandingOf(const Submission& submission) override;
    std::int64_t DayVersion(std::uint32_t day) override;
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

    // Creates the ranks' tables, filled from the games already verified,
    // when the file has none.
    void AddRanks();
    // Keeps the verified game `seq` as its player's best of its day when it
    // is, and bumps the day's version; inside the verdict's transaction.
    void RecordBest(std::int64_t seq);

    // Keeps the log's length after each commit.
    static int Committed(void* store, sqlite3* db, const char* name, int pages);
    // Copies the log into the file, on a connection of its own, when it
    // holds at least `pages` and no other thread is copying it.
    void CheckpointIfDue(int pages);

    // Writes on one connection, one at a time: SQLite writes one at a time
    // anyway, and every write here takes microseconds. Reads go to `readers`.
    std::mutex mutex;
    sqlite3* db = nullptr;
    std::string path;
    std::unordered_map<std::string, sqlite3_stmt*> prepared;
    std::unique_ptr<SqliteReaders> readers;
    sqlite3* checkpointer = nullptr;
    std::mutex checkpointMutex;
    std::atomic<int> logPages{0};
};
