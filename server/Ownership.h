// Who may use a name, and which games are copies: the rules the server
// applies at a POST and again, atomically, when a verdict is recorded.
#pragma once

#include <optional>
#include <string>

namespace ownership {

constexpr const char* kNameTaken = "the name belongs to another player";
constexpr const char* kCopy = "a copy of a game already on the board";
// A player's key as the game makes it is 44 characters; anything far longer
// is not one.
constexpr std::size_t kMaxKeyLength = 256;

// The name as names are compared: ASCII letters in lower case, so that Ann
// and ANN are one name.
std::string FoldName(const std::string& player);

// SHA-256 of a key, as 64 hex digits: what the store keeps, never the key.
std::string KeyHash(const std::string& key);

// Reads an Authorization header (`header` nothing when there was none):
// true with `keyHash` the hash of its key, or empty for no header; false
// when the header is not "Bearer " and a token of base64 characters.
bool ReadAuthorization(const std::optional<std::string>& header, std::string& keyHash);

// Whether a submission with key hash `keyHash` (empty: no key) may use a
// name whose owner's key hash is `owner` (nothing: no one owns it yet).
bool MayUse(const std::optional<std::string>& owner, const std::string& keyHash);

// Why a game the worker verified is not ranked after all: a copy of one
// verified already, or a name another key owns (`owner`). Empty when it
// ranks.
std::string Refusal(bool copy, const std::optional<std::string>& owner, const std::string& keyHash);

}  // namespace ownership
