// The replay decoder on any bytes: what it takes, it writes back byte for
// byte. The last four bytes are made the right checksum first, or nearly
// every input would stop there.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "save/ReplayFile.h"

namespace {

constexpr std::size_t kChecksumSize = 4;

void WithRightChecksum(std::string& bytes) {
    if (bytes.size() < kChecksumSize) return;
    const std::size_t end = bytes.size() - kChecksumSize;
    const auto sum = static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0),
                                                      reinterpret_cast<const Bytef*>(bytes.data()),
                                                      static_cast<uInt>(end)));
    for (std::size_t i = 0; i < kChecksumSize; ++i) {
        bytes[end + i] = static_cast<char>(sum >> (8 * i) & 0xFF);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    WithRightChecksum(bytes);
    Replay replay;
    std::string what;
    if (!replay_file::Decode(bytes, replay, what)) {
        if (what.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    if (!replay.Problem().empty() || replay_file::Encode(replay) != bytes) std::abort();
    return 0;
}
