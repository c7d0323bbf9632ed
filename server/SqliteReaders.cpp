#include "server/SqliteReaders.h"

#include <sqlite3.h>

#include "server/BoardStore.h"

namespace {

// As the writer's: a reader meets a lock only while another process
// recovers the log after a crash.
constexpr int kBusyTimeoutMs = 5000;
// Pages each connection keeps in memory, in KiB (SQLite's own default is
// about 2 MB a connection); the system's file cache is shared by all.
constexpr const char* kReaderPragmas = "PRAGMA query_only = 1; PRAGMA cache_size = -1024;";

}  // namespace

SqliteReaders::Connection::~Connection() {
    for (const auto& [sql, statement] : prepared) sqlite3_finalize(statement);
    sqlite3_close(db);
}

SqliteStatement SqliteReaders::Connection::Statement(const std::string& sql) {
    sqlite3_stmt*& statement = prepared[sql];
    if (statement == nullptr) statement = SqliteStatement::Prepare(db, sql);
    return SqliteStatement(db, statement);
}

SqliteReaders::Lease::Lease(SqliteReaders& readers, std::unique_ptr<Connection> lent)
    : owner(readers), connection(std::move(lent)) {}

SqliteReaders::Lease::~Lease() {
    if (connection) owner.Return(std::move(connection));
}

SqliteReaders::SqliteReaders(std::string file) : path(std::move(file)) {}

SqliteReaders::Lease SqliteReaders::Borrow() {
    std::unique_lock<std::mutex> lock(mutex);
    returned.wait(lock, [this] { return !idle.empty() || open < kMaxConnections; });
    if (!idle.empty()) {
        std::unique_ptr<Connection> connection = std::move(idle.back());
        idle.pop_back();
        return Lease(*this, std::move(connection));
    }
    open += 1;
    lock.unlock();
    try {
        return Lease(*this, Open());
    } catch (const StoreError&) {
        lock.lock();
        open -= 1;
        lock.unlock();
        returned.notify_one();
        throw;
    }
}

std::unique_ptr<SqliteReaders::Connection> SqliteReaders::Open() const {
    auto connection = std::make_unique<Connection>();
    if (sqlite3_open_v2(path.c_str(), &connection->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string what =
            connection->db != nullptr ? sqlite3_errmsg(connection->db) : "out of memory";
        throw StoreError("SQLite: cannot open " + path + " to read: " + what);
    }
    sqlite3_busy_timeout(connection->db, kBusyTimeoutMs);
    if (sqlite3_exec(connection->db, kReaderPragmas, nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(connection->db));
    }
    return connection;
}

void SqliteReaders::Return(std::unique_ptr<Connection> connection) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        idle.push_back(std::move(connection));
    }
    returned.notify_one();
}
