// Read-only connections to one SQLite file, lent to one thread at a time. In
// write-ahead-log mode each reads its own snapshot: readers wait neither for
// each other nor for the writer, in this process or another.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "server/SqliteStatement.h"

struct sqlite3;
struct sqlite3_stmt;

class SqliteReaders {
public:
    // Enough for two cores; more threads reading at once wait their turn.
    static constexpr int kMaxConnections = 8;

    // One connection with the statements prepared on it so far.
    struct Connection {
        sqlite3* db = nullptr;
        std::unordered_map<std::string, sqlite3_stmt*> prepared;
        ~Connection();
        // `sql`, prepared on its first use on this connection and kept.
        SqliteStatement Statement(const std::string& sql);
    };

    // A connection borrowed until this goes.
    class Lease {
    public:
        Lease(SqliteReaders& owner, std::unique_ptr<Connection> connection);
        ~Lease();
        Lease(Lease&&) = default;
        Lease& operator=(Lease&&) = delete;
        Connection* operator->() const { return connection.get(); }

    private:
        SqliteReaders& owner;
        std::unique_ptr<Connection> connection;
    };

    // Connections are opened when first needed, to the file at `path`,
    // which the writer has made already.
    explicit SqliteReaders(std::string path);

    // An idle connection, or a new one while fewer than kMaxConnections are
    // open. Throws StoreError when one cannot be opened.
    Lease Borrow();

private:
    std::unique_ptr<Connection> Open() const;
    void Return(std::unique_ptr<Connection> connection);

    const std::string path;
    std::mutex mutex;
    std::condition_variable returned;
    std::vector<std::unique_ptr<Connection>> idle;
    int open = 0;  // idle or lent
};
