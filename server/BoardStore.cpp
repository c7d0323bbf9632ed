#include "server/BoardStore.h"

#include "board/BoardApi.h"

namespace {

constexpr const char* kStateNames[] = {board_api::kPending, board_api::kVerified,
                                       board_api::kRejected};

}  // namespace

const char* SubmissionStateName(SubmissionState state) {
    return kStateNames[static_cast<int>(state)];
}

SubmissionState SubmissionStateFromName(const std::string& name) {
    if (name == SubmissionStateName(SubmissionState::kVerified)) return SubmissionState::kVerified;
    if (name == SubmissionStateName(SubmissionState::kRejected)) return SubmissionState::kRejected;
    return SubmissionState::kPending;
}
