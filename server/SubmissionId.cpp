#include "server/SubmissionId.h"

#include "server/Sha256.h"

namespace submission_id {

std::string Of(const std::string& replayBytes) { return sha256::Hex(replayBytes, kLength); }

bool IsId(const std::string& text) {
    if (text.size() != kLength) return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace submission_id
