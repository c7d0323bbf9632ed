// One use of a prepared SQLite statement: its parameters bound, stepped row
// by row, and reset for the next use when done.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class SqliteStatement {
public:
    // Prepares `sql`, written with $1, $2 and so on as the parameters (they
    // become SQLite's ?1, ?2); the caller finalizes it. Throws StoreError.
    static sqlite3_stmt* Prepare(sqlite3* db, const std::string& sql);

    // Uses `prepared`, which stays the caller's, and resets it afterwards.
    SqliteStatement(sqlite3* db, sqlite3_stmt* prepared);
    ~SqliteStatement();

    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 1. Each returns the statement, to chain them.
    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& Bind(int index, const std::string& text);
    SqliteStatement& BindBlob(int index, const std::string& bytes);

    // The next row: true when there is one, false when the statement is
    // done. Throws StoreError.
    bool Step();

    // Columns of the current row, from 0.
    std::int64_t Integer(int column) const;
    std::string Text(int column) const;

private:
    void Check(int status) const;

    sqlite3* db;
    sqlite3_stmt* statement = nullptr;
};
