#include "server/OpenStore.h"

#include "server/PostgresStore.h"
#include "server/SqliteStore.h"

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

std::unique_ptr<BoardStore> OpenStore(const std::string& database) {
    if (StartsWith(database, "postgresql://") || StartsWith(database, "postgres://")) {
        return std::make_unique<PostgresStore>(database);
    }
    return std::make_unique<SqliteStore>(database);
}
