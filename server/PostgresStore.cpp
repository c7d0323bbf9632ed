#include "server/PostgresStore.h"

#include <pqxx/pqxx>

#include "server/BoardSql.h"
#include "server/Ownership.h"

namespace {

// Any number, the same in every process: creating the table waits on it, so
// servers starting together do not race to create it.
constexpr long kSchemaLock = 1964101;
// Held by each verdict that would rank, so that the copy and name checks and
// the verdict are one step across every process sharing the database.
constexpr long kRankingLock = 1964102;

}  // namespace

template <typename Work>
auto PostgresStore::InTransaction(Work&& work) {
    std::unique_ptr<pqxx::connection> connection = Borrow();
    try {
        pqxx::work transaction(*connection);
        auto result = work(transaction);
        transaction.commit();
        Return(std::move(connection));
        return result;
    } catch (const std::exception& error) {
        if (connection->is_open()) {
            Return(std::move(connection));
        } else {
            connection.reset();
            Drop();
        }
        // libpq's messages may run over several lines; the log keeps one.
        std::string line = error.what();
        line = line.substr(0, line.find('\n'));
        throw StoreError("PostgreSQL: " + line);
    }
}

PostgresStore::PostgresStore(const std::string& database) : uri(database) {
    InTransaction([](pqxx::work& transaction) {
        // "Already exists, skipping" is no news.
        transaction.exec("SET LOCAL client_min_messages = warning");
        transaction.exec("SELECT pg_advisory_xact_lock(" + std::to_string(kSchemaLock) + ")");
        transaction.exec(board_sql::Schema("BIGSERIAL", "BYTEA"));
        for (const board_sql::AddedColumn& column : board_sql::kAddedColumns) {
            transaction.exec(std::string("ALTER TABLE submissions ADD COLUMN IF NOT EXISTS ") +
                             column.name + " " + column.type);
        }
        transaction.exec(board_sql::kOwnershipSchema);
        const bool ranked = !transaction.exec("SELECT to_regclass('best')")[0][0].is_null();
        if (!ranked) {
            transaction.exec(board_sql::kRanksSchema);
            transaction.exec(board_sql::kRanksFromSubmissions);
        }
        return 0;
    });
}

PostgresStore::~PostgresStore() = default;

std::unique_ptr<pqxx::connection> PostgresStore::Borrow() {
    std::unique_lock<std::mutex> lock(mutex);
    returned.wait(lock, [this] { return !idle.empty() || open < kMaxConnections; });
    if (!idle.empty()) {
        std::unique_ptr<pqxx::connection> connection = std::move(idle.back());
        idle.pop_back();
        return connection;
    }
    open += 1;
    lock.unlock();
    try {
        return std::make_unique<pqxx::connection>(uri);
    } catch (const std::exception& error) {
        Drop();
        throw StoreError(std::string("PostgreSQL: ") + error.what());
    }
}

void PostgresStore::Return(std::unique_ptr<pqxx::connection> connection) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        idle.push_back(std::move(connection));
    }
    returned.notify_one();
}

void PostgresStore::Drop() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        open -= 1;
    }
    returned.notify_one();
}

bool PostgresStore::Add(const NewSubmission& submission) {
    return InTransaction([&](pqxx::work& transaction) {
        const pqxx::result added = transaction.exec_params(
            board_sql::kAdd, submission.id, submission.player, std::int64_t{submission.day},
            submission.receivedMs, pqxx::binarystring(submission.replay));
        if (added.empty()) return false;
        transaction.exec_params(board_sql::kQueueTurn, submission.address, submission.keyHash,
                                added[0][0].as<std::int64_t>());
        return true;
    });
}

std::optional<Submission> PostgresStore::Find(const std::string& id) {
    return InTransaction([&](pqxx::work& transaction) -> std::optional<Submission> {
        const pqxx::result found = transaction.exec_params(board_sql::kFind, id);
        if (found.empty()) return std::nullopt;
        const pqxx::row row = found[0];
        Submission submission;
        submission.id = row[0].as<std::string>();
        submission.player = row[1].as<std::string>();
        submission.day = row[2].as<std::uint32_t>();
        submission.state = SubmissionStateFromName(row[3].as<std::string>());
        submission.score = row[4].as<std::int32_t>();
        submission.ticks = row[5].as<std::uint32_t>();
        submission.reason = row[6].as<std::string>();
        return submission;
    });
}

std::optional<std::string> PostgresStore::Replay(const std::string& id) {
    return InTransaction([&](pqxx::work& transaction) -> std::optional<std::string> {
        const pqxx::result found = transaction.exec_params(board_sql::kReplay, id);
        if (found.empty()) return std::nullopt;
        return pqxx::binarystring(found[0][0]).str();
    });
}

std::optional<Job> PostgresStore::Take(const std::string& worker, std::int64_t nowMs,
                                       std::int64_t leaseMs) {
    return InTransaction([&](pqxx::work& transaction) -> std::optional<Job> {
        const pqxx::result taken = transaction.exec_params(
            board_sql::Take("FOR UPDATE SKIP LOCKED"), worker, nowMs + leaseMs, nowMs);
        if (taken.empty()) return std::nullopt;
        const pqxx::row row = taken[0];
        return Job{row[0].as<std::int64_t>(), row[1].as<std::string>(),
                   pqxx::binarystring(row[2]).str(), row[3].as<int>()};
    });
}

bool PostgresStore::Renew(const Job& job, const std::string& worker, std::int64_t untilMs) {
    return InTransaction([&](pqxx::work& transaction) {
        return transaction.exec_params(board_sql::kRenew, untilMs, job.seq, worker)
                   .affected_rows() == 1;
    });
}

void PostgresStore::RecordBest(pqxx::work& transaction, std::int64_t seq) {
    for (const char* step :
         {board_sql::kBumpDay, board_sql::kCountNewPlayer, board_sql::kScoreLeaves,
          board_sql::kScoreJoins, board_sql::kKeepBest}) {
        transaction.exec_params(step, seq);
    }
}

bool PostgresStore::Finish(const Job& job, const std::string& worker, const Verdict& verdict,
                           std::int64_t nowMs) {
    return InTransaction([&](pqxx::work& transaction) {
        Verdict judged = verdict;
        std::string folded;
        std::string keyHash;
        if (verdict.verified) {
            transaction.exec("SELECT pg_advisory_xact_lock(" + std::to_string(kRankingLock) + ")");
            const pqxx::result claim = transaction.exec_params(board_sql::kClaim, job.seq);
            if (!claim.empty()) {
                folded = ownership::FoldName(claim[0][0].as<std::string>());
                keyHash = claim[0][2].as<std::string>();
                const bool copy = !transaction
                                       .exec_params(board_sql::kCopyOf,
                                                    claim[0][1].as<std::int64_t>(), verdict.digest)
                                       .empty();
                judged.reason = ownership::Refusal(copy, OwnerOf(transaction, folded), keyHash);
                judged.verified = judged.reason.empty();
            }
        }
        const char* state = SubmissionStateName(judged.verified ? SubmissionState::kVerified
                                                                : SubmissionState::kRejected);
        const pqxx::result finished = transaction.exec_params(
            board_sql::kFinish, state, judged.score, std::int64_t{judged.ticks}, judged.reason,
            nowMs, job.seq, worker);
        if (finished.affected_rows() != 1) return false;
        if (judged.verified) {
            transaction.exec_params(board_sql::kSetDigest, judged.digest, job.seq);
            if (!keyHash.empty()) transaction.exec_params(board_sql::kTakeName, folded, keyHash);
            RecordBest(transaction, job.seq);
        }
        return true;
    });
}

std::vector<board_store::BoardEntry> PostgresStore::Board(std::uint32_t day, int limit) {
    return InTransaction([&](pqxx::work& transaction) {
        const pqxx::result rows =
            transaction.exec_params(board_sql::Board(), std::int64_t{day}, limit);
        std::vector<board_store::BoardEntry> entries;
        for (const pqxx::row& row : rows) {
            entries.push_back(board_store::BoardEntry{
                static_cast<int>(entries.size()) + 1, row[0].as<std::string>(),
                row[1].as<std::string>(), row[2].as<std::int32_t>(), row[3].as<std::uint32_t>()});
        }
        return entries;
    });
}

std::optional<std::string> PostgresStore::OwnerOf(pqxx::work& transaction,
                                                  const std::string& foldedName) {
    const pqxx::result owner = transaction.exec_params(board_sql::kNameOwner, foldedName);
    if (owner.empty()) return std::nullopt;
    return owner[0][0].as<std::string>();
}

std::optional<std::string> PostgresStore::NameOwner(const std::string& foldedName) {
    return InTransaction([&](pqxx::work& transaction) { return OwnerOf(transaction, foldedName); });
}

Standing PostgresStore::StandingOf(const Submission& submission) {
    return InTransaction([&](pqxx::work& transaction) {
        const pqxx::result rows = transaction.exec_params(
            board_sql::Standing(), std::int64_t{submission.day}, submission.id);
        if (rows.empty()) return Standing{};
        return Standing{rows[0][0].as<int>() + 1, rows[0][1].as<int>()};
    });
}

std::int64_t PostgresStore::DayVersion(std::uint32_t day) {
    return InTransaction([&](pqxx::work& transaction) {
        return transaction.exec_params(board_sql::kDayVersion, std::int64_t{day})[0][0]
            .as<std::int64_t>();
    });
}
