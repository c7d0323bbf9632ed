#include "server/SqliteStatement.h"

#include <sqlite3.h>

#include <algorithm>

#include "server/BoardStore.h"

sqlite3_stmt* SqliteStatement::Prepare(sqlite3* db, const std::string& sql) {
    std::string text = sql;
    std::replace(text.begin(), text.end(), '$', '?');
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &prepared, nullptr) !=
        SQLITE_OK) {
        throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db));
    }
    return prepared;
}

SqliteStatement::SqliteStatement(sqlite3* connection, sqlite3_stmt* prepared)
    : db(connection), statement(prepared) {}

SqliteStatement::~SqliteStatement() {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

void SqliteStatement::Check(int status) const {
    if (status != SQLITE_OK) throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db));
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(statement, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, const std::string& text) {
    Check(sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::BindBlob(int index, const std::string& bytes) {
    Check(sqlite3_bind_blob(statement, index, bytes.data(), static_cast<int>(bytes.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

bool SqliteStatement::Step() {
    const int status = sqlite3_step(statement);
    if (status == SQLITE_ROW) return true;
    if (status == SQLITE_DONE) return false;
    throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db));
}

std::int64_t SqliteStatement::Integer(int column) const {
    return sqlite3_column_int64(statement, column);
}

std::string SqliteStatement::Text(int column) const {
    // Blobs too: the bytes as they are, whatever they hold.
    const void* bytes = sqlite3_column_blob(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    // SQLite never counts a value's bytes below zero.
    return bytes != nullptr
               ? std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size))
               : std::string();
}
