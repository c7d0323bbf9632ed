// Which store a database address names, opened.
#pragma once

#include <memory>
#include <string>

#include "server/BoardStore.h"

// The store `database` names: a postgresql:// (or postgres://) URI, or else
// the path of a SQLite file, created with its tables when missing. Throws
// StoreError with one line saying what failed.
std::unique_ptr<BoardStore> OpenStore(const std::string& database);
