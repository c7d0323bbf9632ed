#include "server/BoardStore.h"

namespace {

constexpr const char* kStateNames[] = {"pending", "verified", "rejected"};

}  // namespace

const char* SubmissionStateName(SubmissionState state) {
    return kStateNames[static_cast<int>(state)];
}

SubmissionState SubmissionStateFromName(const std::string& name) {
    if (name == SubmissionStateName(SubmissionState::kVerified)) return SubmissionState::kVerified;
    if (name == SubmissionStateName(SubmissionState::kRejected)) return SubmissionState::kRejected;
    return SubmissionState::kPending;
}
