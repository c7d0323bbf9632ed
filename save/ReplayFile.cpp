#include "save/ReplayFile.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>

#include "common/RegularFile.h"
#include "save/AtomicFile.h"

namespace replay_file {

namespace {

constexpr char kMagic[4] = {'K', 'V', 'R', 0x1A};
constexpr std::size_t kChecksumSize = 4;
constexpr int kRunBitsShift = 4;
constexpr int kActionShift = 2;
constexpr std::uint64_t kActionMask = (1u << kActionShift) - 1;
constexpr std::uint64_t kRunBitsMask = (1u << kRunBitsShift) - 1;
constexpr int kMaxVarintBytes = 10;

std::uint32_t Checksum(const std::string& bytes, std::size_t length) {
    const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
    return static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), data, static_cast<uInt>(length)));
}

class Writer {
public:
    void U8(unsigned value) { bytes.push_back(static_cast<char>(value & 0xFF)); }
    void U16(unsigned value) {
        U8(value);
        U8(value >> 8);
    }
    void U32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) U8(value >> shift);
    }
    void Varint(std::uint64_t value) {
        while (value >= 0x80) {
            U8(static_cast<unsigned>(value & 0x7F) | 0x80);
            value >>= 7;
        }
        U8(static_cast<unsigned>(value));
    }
    void Text(const std::string& text) { bytes += text; }

    std::string bytes;
};

// Reads fields in order; any read past the end marks the bytes truncated and
// yields zeros, so a caller checks `truncated` once at the end.
class Reader {
public:
    Reader(const std::string& fileBytes, std::size_t endAt) : bytes(fileBytes), end(endAt) {}

    unsigned U8() {
        if (position >= end) {
            truncated = true;
            return 0;
        }
        return static_cast<unsigned char>(bytes[position++]);
    }
    unsigned U16() {
        const unsigned low = U8();
        return low | (U8() << 8);
    }
    std::uint32_t U32() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{U8()} << shift;
        return value;
    }
    // False for a varint wider than 64 bits or padded with zero bytes: each
    // number has one encoding, so each replay has one file.
    bool Varint(std::uint64_t& value) {
        value = 0;
        for (int i = 0; i < kMaxVarintBytes; ++i) {
            const unsigned byte = U8();
            if (truncated) return true;
            const std::uint64_t part = byte & 0x7F;
            if (i == kMaxVarintBytes - 1 && part > 1) return false;
            value |= part << (7 * i);
            if ((byte & 0x80) == 0) return i == 0 || byte != 0;
        }
        return false;
    }
    std::string Text(std::size_t length) {
        if (length > end - position) {
            truncated = true;
            position = end;
            return "";
        }
        std::string text = bytes.substr(position, length);
        position += length;
        return text;
    }
    bool AtEnd() const { return position == end; }
    bool Exhausted() const { return truncated; }

private:
    const std::string& bytes;
    std::size_t end;
    std::size_t position = 0;
    bool truncated = false;
};

// The input runs and the actions: counts first, each bounded by the bytes
// left rather than trusted, so damage cannot make us allocate a lot.
bool ReadBody(Reader& in, Replay& replay, std::string& what) {
    std::uint64_t count = 0;
    if (!in.Varint(count)) {
        what = "a malformed number";
        return false;
    }
    for (std::uint64_t i = 0; i < count && !in.Exhausted(); ++i) {
        std::uint64_t packed = 0;
        if (!in.Varint(packed) || (packed >> kRunBitsShift) > UINT32_MAX) {
            what = "a malformed input run";
            return false;
        }
        InputRun run;
        run.bits = static_cast<std::uint8_t>(packed & kRunBitsMask);
        run.length = static_cast<std::uint32_t>(packed >> kRunBitsShift);
        replay.inputs.push_back(run);
    }
    if (!in.Varint(count)) {
        what = "a malformed number";
        return false;
    }
    std::uint64_t tick = 0;
    for (std::uint64_t i = 0; i < count && !in.Exhausted(); ++i) {
        std::uint64_t packed = 0;
        if (!in.Varint(packed)) {
            what = "a malformed action";
            return false;
        }
        tick += packed >> kActionShift;
        if (tick > UINT32_MAX) {
            what = "an action after the last tick";
            return false;
        }
        ReplayEvent event;
        event.tick = static_cast<std::uint32_t>(tick);
        event.action = static_cast<ReplayAction>(packed & kActionMask);
        replay.events.push_back(event);
    }
    return true;
}

// The whole file; a FIFO, a folder or one over the cap is refused unread.
bool ReadRegularFile(const std::string& path, std::string& bytes, std::string& error) {
    std::string why;
    switch (regular_file::Read(path, kMaxFileSize, bytes, why)) {
        case regular_file::Outcome::kRead:
            return true;
        case regular_file::Outcome::kMissing:
            error = path + ": cannot open: " + std::strerror(ENOENT);
            return false;
        default:
            error = path + ": " + why;
            return false;
    }
}

}  // namespace

std::string Encode(const Replay& replay) {
    Writer out;
    out.Text(std::string(kMagic, sizeof kMagic));
    out.U16(replay.formatVersion);
    out.U8(static_cast<unsigned>(replay.gameVersion.size()));
    out.Text(replay.gameVersion);
    out.U32(replay.seed);
    out.U8(static_cast<unsigned>(replay.seedKind));
    out.U32(replay.startTick);
    out.U32(static_cast<std::uint32_t>(replay.score));
    out.U32(replay.tickCount);
    if (replay.formatVersion >= Replay::kFirstVersionWithSpeed) out.U8(replay.speed);
    out.Varint(replay.inputs.size());
    for (const InputRun& run : replay.inputs) {
        out.Varint(std::uint64_t{run.length} << kRunBitsShift | run.bits);
    }
    out.Varint(replay.events.size());
    std::uint32_t previous = 0;
    for (const ReplayEvent& event : replay.events) {
        out.Varint(std::uint64_t{event.tick - previous} << kActionShift |
                   static_cast<unsigned>(event.action));
        previous = event.tick;
    }
    out.U32(Checksum(out.bytes, out.bytes.size()));
    return out.bytes;
}

bool Decode(const std::string& bytes, Replay& replay, std::string& what) {
    if (bytes.size() < sizeof kMagic || bytes.compare(0, sizeof kMagic, kMagic, sizeof kMagic)) {
        what = bytes.size() < sizeof kMagic ? "truncated" : "not a replay file (wrong magic)";
        return false;
    }
    if (bytes.size() < sizeof kMagic + kChecksumSize) {
        what = "truncated";
        return false;
    }
    const std::size_t end = bytes.size() - kChecksumSize;
    Reader in(bytes, end);
    in.Text(sizeof kMagic);
    Replay read;
    read.formatVersion = static_cast<std::uint16_t>(in.U16());
    if (!in.Exhausted() && read.formatVersion > Replay::kFormatVersion) {
        what = "made by a newer version of the game (replay format " +
               std::to_string(read.formatVersion) + ")";
        return false;
    }
    read.gameVersion = in.Text(in.U8());
    read.seed = in.U32();
    const unsigned seedKind = in.U8();
    read.seedKind = static_cast<SeedKind>(seedKind);
    read.startTick = in.U32();
    const std::uint32_t score = in.U32();
    read.tickCount = in.U32();
    if (read.formatVersion >= Replay::kFirstVersionWithSpeed) {
        read.speed = static_cast<std::uint8_t>(in.U8());
    }
    if (!ReadBody(in, read, what)) return false;
    if (in.Exhausted()) {
        what = "truncated";
        return false;
    }
    std::uint32_t stored = 0;
    for (std::size_t i = 0; i < kChecksumSize; ++i) {
        stored |= std::uint32_t{static_cast<unsigned char>(bytes[end + i])} << (8 * i);
    }
    if (stored != Checksum(bytes, end)) {
        what = "bad checksum";
        return false;
    }
    if (!in.AtEnd()) {
        what = "unexpected bytes after the actions";
        return false;
    }
    if (score > static_cast<std::uint32_t>(INT32_MAX)) {
        what = "impossible values: a score out of range";
        return false;
    }
    read.score = static_cast<std::int32_t>(score);
    if (!SeedKindFromValue(seedKind)) {
        what = "impossible values: an unknown seed kind";
        return false;
    }
    const std::string problem = read.Problem();
    if (!problem.empty()) {
        what = "impossible values: " + problem;
        return false;
    }
    replay = std::move(read);
    return true;
}

bool Write(const std::string& path, const Replay& replay, std::string& error) {
    return WriteFileAtomically(path, Encode(replay), error);
}

bool Read(const std::string& path, Replay& replay, std::string& error) {
    std::string bytes;
    if (!ReadRegularFile(path, bytes, error)) return false;
    std::string what;
    if (!Decode(bytes, replay, what)) {
        error = path + ": " + what;
        return false;
    }
    return true;
}

}  // namespace replay_file
