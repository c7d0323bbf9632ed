// The id the server gives a submission.
#pragma once

#include <string>

namespace submission_id {

constexpr std::size_t kLength = 32;

// The first 128 bits of the SHA-256 of the file's bytes, in lower-case hex:
// the same file always gets the same id, and no client text ever becomes
// one (nor, through one, a path).
std::string Of(const std::string& replayBytes);

// Whether `text` has the form of an id.
bool IsId(const std::string& text);

}  // namespace submission_id
