#include "common/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace regular_file {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

std::string TooLarge(std::size_t cap) { return "is larger than " + std::to_string(cap) + " bytes"; }

std::string CannotRead() { return std::string("cannot be read: ") + std::strerror(errno); }

// Reads to the end or to one byte past `cap`, whichever comes first.
Outcome ReadUpTo(int fd, std::size_t cap, std::string& bytes, std::string& why) {
    char buffer[kChunk];
    for (;;) {
        const std::size_t room = cap + 1 - bytes.size();
        const ssize_t got = read(fd, buffer, room < sizeof buffer ? room : sizeof buffer);
        if (got == 0) return Outcome::kRead;
        if (got < 0) {
            if (errno == EINTR) continue;
            why = CannotRead();
            return Outcome::kFailed;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > cap) {
            why = TooLarge(cap);
            return Outcome::kTooLarge;
        }
    }
}

Outcome ReadOpened(int fd, std::size_t cap, std::string& bytes, std::string& why) {
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        why = CannotRead();
        return Outcome::kFailed;
    }
    if (!S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode) ? "is a directory" : "is not a regular file";
        return Outcome::kNotRegular;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > cap) {
        why = TooLarge(cap);
        return Outcome::kTooLarge;
    }
    return ReadUpTo(fd, cap, bytes, why);
}

}  // namespace

Outcome Read(const std::string& path, std::size_t cap, std::string& bytes, std::string& why) {
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) return Outcome::kMissing;
        why = std::string("cannot be opened: ") + std::strerror(errno);
        return Outcome::kFailed;
    }
    const Outcome outcome = ReadOpened(fd, cap, bytes, why);
    close(fd);
    if (outcome != Outcome::kRead) bytes.clear();
    return outcome;
}

}  // namespace regular_file
