#include "board/BoardKey.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>

#include "common/RegularFile.h"
#include "save/AtomicFile.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// 32 bytes make 44 characters, the last one padding.
constexpr std::size_t kKeyLength = (BoardKey::kRandomBytes + 2) / 3 * 4;

std::string Base64(const unsigned char* bytes, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; i += 3) {
        const std::size_t left = size - i;
        const unsigned group = static_cast<unsigned>(bytes[i]) << 16 |
                               (left > 1 ? static_cast<unsigned>(bytes[i + 1]) << 8 : 0u) |
                               (left > 2 ? bytes[i + 2] : 0u);
        text += kAlphabet[group >> 18 & 0x3F];
        text += kAlphabet[group >> 12 & 0x3F];
        text += left > 1 ? kAlphabet[group >> 6 & 0x3F] : '=';
        text += left > 2 ? kAlphabet[group & 0x3F] : '=';
    }
    return text;
}

bool IsKey(const std::string& text) {
    if (text.size() != kKeyLength || text.back() != '=') return false;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (std::strchr(kAlphabet, text[i]) == nullptr || text[i] == '\0') return false;
    }
    return true;
}

bool RandomBytes(unsigned char* bytes, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t read = getrandom(bytes + got, size - got, 0);
        if (read < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        got += static_cast<std::size_t>(read);
    }
    return true;
}

}  // namespace

BoardKey::BoardKey(const DataFolder& dataFolder)
    : folder(dataFolder), path(dataFolder.Path() + kFileName) {}

int BoardKey::Read(std::string& key, std::string& error) const {
    std::string bytes, why;
    switch (regular_file::Read(path, kMaxFileSize, bytes, why)) {
        case regular_file::Outcome::kRead:
            break;
        case regular_file::Outcome::kMissing:
            return 1;
        default:
            error = path + " " + why;
            return -1;
    }
    const std::string text = bytes.substr(0, bytes.find('\n'));
    if (!IsKey(text)) {
        error = path + " holds no board key; move it away to have a new one made";
        return -1;
    }
    key = text;
    return 0;
}

bool BoardKey::Get(std::string& key, std::string& error) const {
    if (folder.Path().empty()) {
        error = "no data folder for the board key";
        return false;
    }
    const int read = Read(key, error);
    if (read <= 0) return read == 0;
    unsigned char bytes[kRandomBytes];
    if (!RandomBytes(bytes, sizeof bytes)) {
        error = std::string("cannot make a board key: ") + std::strerror(errno);
        return false;
    }
    const std::string made = Base64(bytes, sizeof bytes);
    if (!folder.Create(error)) return false;
    if (WriteFileAtomically(path, made + "\n", error, kFileMode, true)) {
        key = made;
        return true;
    }
    // Made meanwhile by another of the game's processes: that one is kept.
    return Read(key, error) == 0;
}
