// The board in PostgreSQL: several server and worker processes, on several
// machines, share one board and one queue.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <pqxx/connection>
#include <pqxx/transaction>
#include <string>
#include <vector>

#include "server/BoardStore.h"

class PostgresStore : public BoardStore {
public:
    // At most this many connections at once; more threads wait their turn.
    static constexpr int kMaxConnections = 8;

    // Connects to `uri` (postgresql://user@host:port/database and the other
    // forms libpq reads) and creates the tables when they are missing (the
    // ranks filled from the games of a board made before them). Throws
    // StoreError.
    explicit PostgresStore(const std::string& uri);
    ~PostgresStore() override;

    PostgresStore(const PostgresStore&) = delete;
    PostgresStore& operator=(const PostgresStore&) = delete;

    bool Add(const NewSubmission& submission) override;
    std::optional<Submission> Find(const std::string& id) override;
    std::optional<std::string> Replay(const std::string& id) override;
    // Takes the job with SELECT ... FOR UPDATE SKIP LOCKED, so processes
    // taking jobs at the same moment never wait for each other or share one.
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
    static std::optional<std::string> OwnerOf(pqxx::work& transaction,
                                              const std::string& foldedName);

    // Runs `work` on a pooled connection in one transaction and commits it;
    // any failure becomes a StoreError, and a broken connection is dropped.
    template <typename Work>
    auto InTransaction(Work&& work);

    // Keeps the verified game `seq` as its player's best of its day when it
    // is, and bumps the day's version; inside the verdict's transaction.
    static void RecordBest(pqxx::work& transaction, std::int64_t seq);

    std::unique_ptr<pqxx::connection> Borrow();
    void Return(std::unique_ptr<pqxx::connection> connection);
    void Drop();

    std::string uri;
    std::mutex mutex;
    std::condition_variable returned;
    std::vector<std::unique_ptr<pqxx::connection>> idle;
    int open = 0;  // idle or borrowed
};
