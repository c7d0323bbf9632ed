#include "server/BoardStore.h"

#include "server/PostgresStore.h"
#include "server/SqliteStore.h"

namespace {

constexpr const char* kStateNames[] = {"pending", "verified", "rejected"};

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

const char* SubmissionStateName(SubmissionState state) {
    return kStateNames[static_cast<int>(state)];
}

SubmissionState SubmissionStateFromName(const std::string& name) {
    if (name == SubmissionStateName(SubmissionState::kVerified)) return SubmissionState::kVerified;
    if (name == SubmissionStateName(SubmissionState::kRejected)) return SubmissionState::kRejected;
    return SubmissionState::kPending;
}

std::unique_ptr<BoardStore> OpenStore(const std::string& database) {
    if (StartsWith(database, "postgresql://") || StartsWith(database, "postgres://")) {
        return std::make_unique<PostgresStore>(database);
    }
    return std::make_unique<SqliteStore>(database);
}
