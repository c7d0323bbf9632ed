#include "server/SqliteStore.h"

#include <sqlite3.h>

#include "server/BoardSql.h"
#include "server/Ownership.h"
#include "server/SqliteStatement.h"

namespace {

// How long a statement waits for another process holding the file's write
// lock (a worker-only process on the same file) before it fails.
constexpr int kBusyTimeoutMs = 5000;

// Copying the log into the file syncs both, which may take a while on a
// busy disk: the workers do it between jobs once the log holds this many
// pages (SQLite's own default), and a request only when no worker has for
// long (a server without workers).
constexpr int kCheckpointPages = 1000;
constexpr int kRequestCheckpointPages = 8 * kCheckpointPages;

// BEGIN IMMEDIATE takes the write lock at once, so a transaction that reads
// and then writes never finds the file changed under it by another process.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* connection) : db(connection) { Run("BEGIN IMMEDIATE"); }
    ~WriteTransaction() {
        if (!committed) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit() {
        Run("COMMIT");
        committed = true;
    }

private:
    void Run(const char* sql) {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
            throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db));
        }
    }

    sqlite3* db;
    bool committed = false;
};

}  // namespace

SqliteStore::SqliteStore(const std::string& file) : path(file) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        const std::string what = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        db = nullptr;
        throw StoreError("cannot open " + path + ": " + what);
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // In place of SQLite's checkpoint at the end of whichever commit fills
    // the log, often a request's.
    sqlite3_wal_hook(db, &SqliteStore::Committed, this);
    try {
        // The log makes a commit one append to it, in the system's cache
        // before the commit returns: a killed server loses nothing, and no
        // commit waits for the disk (the log reaches it at checkpoints).
        Execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
        Execute(board_sql::Schema("INTEGER", "BLOB"));
        AddMissingColumns();
        Execute(board_sql::kOwnershipSchema);
        AddRanks();
    } catch (const StoreError& error) {
        sqlite3_close(db);
        db = nullptr;
        throw StoreError(path + ": " + error.what());
    }
    readers = std::make_unique<SqliteReaders>(path);
    if (sqlite3_open_v2(path.c_str(), &checkpointer, flags, nullptr) != SQLITE_OK) {
        const std::string what =
            checkpointer != nullptr ? sqlite3_errmsg(checkpointer) : "out of memory";
        sqlite3_close(checkpointer);
        sqlite3_close(db);
        throw StoreError("cannot open " + path + ": " + what);
    }
    // A connection that has read nothing has not opened the log yet, and
    // its checkpoints would do nothing.
    sqlite3_exec(checkpointer, "SELECT COUNT(*) FROM sqlite_master", nullptr, nullptr, nullptr);
}

int SqliteStore::Committed(void* store, sqlite3*, const char*, int pages) {
    static_cast<SqliteStore*>(store)->logPages = pages;
    return SQLITE_OK;
}

void SqliteStore::CheckpointIfDue(int pages) {
    if (logPages < pages) return;
    std::unique_lock<std::mutex> lock(checkpointMutex, std::try_to_lock);
    if (!lock.owns_lock()) return;
    // Passive: it copies what no reader still needs and waits for no one.
    sqlite3_wal_checkpoint_v2(checkpointer, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    logPages = 0;
}

void SqliteStore::AddRanks() {
    WriteTransaction transaction(db);
    SqliteStatement exists =
        Statement("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'best'");
    const bool made = exists.Step();
    while (exists.Step()) {
    }
    if (!made) {
        Execute(board_sql::kRanksSchema);
        Execute(board_sql::kRanksFromSubmissions);
    }
    transaction.Commit();
}

void SqliteStore::RecordBest(std::int64_t seq) {
    for (const char* step :
         {board_sql::kBumpDay, board_sql::kCountNewPlayer, board_sql::kScoreLeaves,
          board_sql::kScoreJoins, board_sql::kKeepBest}) {
        Statement(step).Bind(1, seq).Step();
    }
}

SqliteStore::~SqliteStore() {
    for (const auto& [sql, statement] : prepared) sqlite3_finalize(statement);
    sqlite3_close(db);
    sqlite3_close(checkpointer);
}

void SqliteStore::AddMissingColumns() {
    for (const board_sql::AddedColumn& column : board_sql::kAddedColumns) {
        SqliteStatement present =
            Statement("SELECT COUNT(*) FROM pragma_table_info('submissions') WHERE name = $1");
        present.Bind(1, std::string(column.name));
        if (present.Step() && present.Integer(0) > 0) continue;
        Execute(std::string("ALTER TABLE submissions ADD COLUMN ") + column.name + " " +
                column.type);
    }
}

SqliteStatement SqliteStore::Statement(const std::string& sql) {
    sqlite3_stmt*& statement = prepared[sql];
    if (statement == nullptr) statement = SqliteStatement::Prepare(db, sql);
    return SqliteStatement(db, statement);
}

void SqliteStore::Execute(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string what = message != nullptr ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        throw StoreError("SQLite: " + what);
    }
}

bool SqliteStore::Add(const NewSubmission& submission) {
    CheckpointIfDue(kRequestCheckpointPages);
    std::lock_guard<std::mutex> lock(mutex);
    WriteTransaction transaction(db);
    SqliteStatement insert = Statement(board_sql::kAdd);
    insert.Bind(1, submission.id)
        .Bind(2, submission.player)
        .Bind(3, std::int64_t{submission.day})
        .Bind(4, submission.receivedMs)
        .BindBlob(5, submission.replay);
    const bool added = insert.Step();
    const std::int64_t seq = added ? insert.Integer(0) : 0;
    // RETURNING hands its row over before the insert is complete.
    while (insert.Step()) {
    }
    if (added) {
        Statement(board_sql::kQueueTurn)
            .Bind(1, submission.address)
            .Bind(2, submission.keyHash)
            .Bind(3, seq)
            .Step();
    }
    transaction.Commit();
    return added;
}

std::optional<Submission> SqliteStore::Find(const std::string& id) {
    SqliteReaders::Lease reader = readers->Borrow();
    SqliteStatement find = reader->Statement(board_sql::kFind);
    find.Bind(1, id);
    if (!find.Step()) return std::nullopt;
    Submission found;
    found.id = find.Text(0);
    found.player = find.Text(1);
    found.day = static_cast<std::uint32_t>(find.Integer(2));
    found.state = SubmissionStateFromName(find.Text(3));
    found.score = static_cast<std::int32_t>(find.Integer(4));
    found.ticks = static_cast<std::uint32_t>(find.Integer(5));
    found.reason = find.Text(6);
    return found;
}

std::optional<std::string> SqliteStore::Replay(const std::string& id) {
    SqliteReaders::Lease reader = readers->Borrow();
    SqliteStatement select = reader->Statement(board_sql::kReplay);
    select.Bind(1, id);
    if (!select.Step()) return std::nullopt;
    return select.Text(0);
}

std::optional<Job> SqliteStore::Take(const std::string& worker, std::int64_t nowMs,
                                     std::int64_t leaseMs) {
    CheckpointIfDue(kCheckpointPages);
    std::lock_guard<std::mutex> lock(mutex);
    WriteTransaction transaction(db);
    SqliteStatement take = Statement(board_sql::Take(""));
    take.Bind(1, worker).Bind(2, nowMs + leaseMs).Bind(3, nowMs);
    std::optional<Job> job;
    if (take.Step()) {
        job = Job{take.Integer(0), take.Text(1), take.Text(2), static_cast<int>(take.Integer(3))};
        while (take.Step()) {
        }
    }
    transaction.Commit();
    return job;
}

bool SqliteStore::Renew(const Job& job, const std::string& worker, std::int64_t untilMs) {
    std::lock_guard<std::mutex> lock(mutex);
    WriteTransaction transaction(db);
    Statement(board_sql::kRenew).Bind(1, untilMs).Bind(2, job.seq).Bind(3, worker).Step();
    const bool renewed = sqlite3_changes(db) == 1;
    transaction.Commit();
    return renewed;
}

bool SqliteStore::Finish(const Job& job, const std::string& worker, const Verdict& verdict,
                         std::int64_t nowMs) {
    std::lock_guard<std::mutex> lock(mutex);
    // The write lock, held from the first read on, makes the copy and name
    // checks and the verdict one step for every process sharing the file.
    WriteTransaction transaction(db);
    std::string folded;
    std::string keyHash;
    const Verdict judged = verdict.verified ? Judge(job, verdict, folded, keyHash) : verdict;
    SqliteStatement finish = Statement(board_sql::kFinish);
    finish
        .Bind(1, std::string(SubmissionStateName(judged.verified ? SubmissionState::kVerified
                                                                 : SubmissionState::kRejected)))
        .Bind(2, std::int64_t{judged.score})
        .Bind(3, std::int64_t{judged.ticks})
        .Bind(4, judged.reason)
        .Bind(5, nowMs)
        .Bind(6, job.seq)
        .Bind(7, worker);
    finish.Step();
    const bool finished = sqlite3_changes(db) == 1;
    if (finished && judged.verified) {
        Statement(board_sql::kSetDigest).Bind(1, judged.digest).Bind(2, job.seq).Step();
        if (!keyHash.empty())
            Statement(board_sql::kTakeName).Bind(1, folded).Bind(2, keyHash).Step();
        RecordBest(job.seq);
    }
    transaction.Commit();
    return finished;
}

std::vector<board_store::BoardEntry> SqliteStore::Board(std::uint32_t day, int limit) {
    SqliteReaders::Lease reader = readers->Borrow();
    SqliteStatement board = reader->Statement(board_sql::Board());
    board.Bind(1, std::int64_t{day}).Bind(2, std::int64_t{limit});
    std::vector<board_store::BoardEntry> entries;
    while (board.Step()) {
        entries.push_back(board_store::BoardEntry{static_cast<int>(entries.size()) + 1,
                                                  board.Text(0), board.Text(1),
                                                  static_cast<std::int32_t>(board.Integer(2)),
                                                  static_cast<std::uint32_t>(board.Integer(3))});
    }
    return entries;
}

Verdict SqliteStore::Judge(const Job& job, const Verdict& verdict, std::string& folded,
                           std::string& keyHash) {
    SqliteStatement claim = Statement(board_sql::kClaim);
    claim.Bind(1, job.seq);
    if (!claim.Step()) return verdict;
    folded = ownership::FoldName(claim.Text(0));
    const std::int64_t day = claim.Integer(1);
    keyHash = claim.Text(2);
    while (claim.Step()) {
    }
    SqliteStatement copy = Statement(board_sql::kCopyOf);
    copy.Bind(1, day).Bind(2, verdict.digest);
    const bool isCopy = copy.Step();
    while (copy.Step()) {
    }
    Verdict judged = verdict;
    judged.reason = ownership::Refusal(isCopy, OwnerOf(folded), keyHash);
    judged.verified = judged.reason.empty();
    return judged;
}

std::optional<std::string> SqliteStore::OwnerOf(const std::string& foldedName) {
    SqliteStatement owner = Statement(board_sql::kNameOwner);
    owner.Bind(1, foldedName);
    if (!owner.Step()) return std::nullopt;
    std::string keyHash = owner.Text(0);
    while (owner.Step()) {
    }
    return keyHash;
}

std::optional<std::string> SqliteStore::NameOwner(const std::string& foldedName) {
    std::lock_guard<std::mutex> lock(mutex);
    return OwnerOf(foldedName);
}

Standing SqliteStore::StandingOf(const Submission& submission) {
    SqliteReaders::Lease reader = readers->Borrow();
    SqliteStatement standing = reader->Statement(board_sql::Standing());
    standing.Bind(1, std::int64_t{submission.day}).Bind(2, submission.id);
    if (!standing.Step()) return Standing{};
    return Standing{static_cast<int>(standing.Integer(0)) + 1,
                    static_cast<int>(standing.Integer(1))};
}

std::int64_t SqliteStore::DayVersion(std::uint32_t day) {
    SqliteReaders::Lease reader = readers->Borrow();
    SqliteStatement version = reader->Statement(board_sql::kDayVersion);
    version.Bind(1, std::int64_t{day});
    return version.Step() ? version.Integer(0) : 0;
}
