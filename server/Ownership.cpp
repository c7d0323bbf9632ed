#include "server/Ownership.h"

#include "board/BoardApi.h"
#include "server/Sha256.h"

namespace ownership {

namespace {

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

std::string KeyHash(const std::string& key) { return sha256::Hex(key); }

bool ReadAuthorization(const std::optional<std::string>& header, std::string& keyHash) {
    keyHash.clear();
    if (!header) return true;
    const std::string scheme = board_api::kAuthorizationScheme;
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
