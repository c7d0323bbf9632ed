// Bytes as lower-case hex digits: how digests are written wherever one is
// stored, compared or sent.
#pragma once

#include <cstddef>
#include <string>

namespace hex {

// Two digits a byte, high nibble first.
std::string Lower(const unsigned char* bytes, std::size_t count);

}  // namespace hex
