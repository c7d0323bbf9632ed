#include "server/SubmissionId.h"

#include <openssl/evp.h>

namespace submission_id {

std::string Of(const std::string& replayBytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(replayBytes.data(), replayBytes.size(), digest, &size, EVP_sha256(), nullptr);
    static const char kHex[] = "0123456789abcdef";
    std::string id;
    for (std::size_t i = 0; i < kLength / 2; ++i) {
        id += kHex[digest[i] >> 4];
        id += kHex[digest[i] & 0x0F];
    }
    return id;
}

bool IsId(const std::string& text) {
    if (text.size() != kLength) return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace submission_id
