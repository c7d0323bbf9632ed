#include "server/Ownership.h"

#include <openssl/evp.h>

namespace ownership {

namespace {

constexpr const char* kScheme = "Bearer ";

bool IsTokenCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/' || c == '-' || c == '_' || c == '.' || c == '~' || c == '=';
}

}  // namespace

std::string FoldName(const std::string& player) {
    std::string folded = player;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

std::string KeyHash(const std::string& key) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(key.data(), key.size(), digest, &size, EVP_sha256(), nullptr);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0x0F];
    }
    return hex;
}

bool ReadAuthorization(const std::optional<std::string>& header, std::string& keyHash) {
    keyHash.clear();
    if (!header) return true;
    const std::string scheme = kScheme;
    if (header->compare(0, scheme.size(), scheme) != 0) return false;
    const std::string key = header->substr(scheme.size());
    if (key.empty() || key.size() > kMaxKeyLength) return false;
    for (const char c : key) {
        if (!IsTokenCharacter(c)) return false;
    }
    keyHash = KeyHash(key);
    return true;
}

bool MayUse(const std::optional<std::string>& owner, const std::string& keyHash) {
    return !owner || (!keyHash.empty() && *owner == keyHash);
}

std::string Refusal(bool copy, const std::optional<std::string>& owner,
                    const std::string& keyHash) {
    if (!MayUse(owner, keyHash)) return kNameTaken;
    if (copy) return kCopy;
    return "";
}

}  // namespace ownership
