// SHA-256 through OpenSSL, written as hex: the submissions' ids, the keys'
// hashes and the pages' entity tags.
#pragma once

#include <cstddef>
#include <string>

namespace sha256 {

constexpr std::size_t kHexDigits = 64;

// The first `digits` hex digits (at most kHexDigits) of the SHA-256 of `bytes`.
std::string Hex(const std::string& bytes, std::size_t digits = kHexDigits);

}  // namespace sha256
