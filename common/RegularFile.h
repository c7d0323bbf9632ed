// Reading a small file a player or an operator may have put anything in its
// place: a FIFO, a device, a folder, a file far too large.
#pragma once

#include <cstddef>
#include <string>

namespace regular_file {

enum class Outcome {
    kRead,        // `bytes` holds the whole file
    kMissing,     // no such file (a plain file where a folder should be is kFailed)
    kNotRegular,  // a folder, a FIFO, a device...: refused unread
    kTooLarge,    // over the caller's cap, before or while it was read
    kFailed,      // cannot be opened or read (permissions, I/O)
};

// Reads the file at `path` (a symbolic link to a regular file is followed)
// into `bytes`, never more than `cap` of them, and never waits: the file is
// opened with O_NONBLOCK, so a FIFO without a writer cannot hold the
// program, and what it is is asked of the opened descriptor, so nothing can
// be swapped in between. Anything but a regular file is refused unread; so
// is one whose size is over `cap`, and at most `cap` + 1 bytes are read, so
// a file growing meanwhile is refused too. Anything but kRead and kMissing
// leaves in `why` a few words for after the file's name ("is a directory",
// "is not a regular file", "is larger than 65536 bytes", "cannot be
// opened: Permission denied"), and `bytes` empty.
Outcome Read(const std::string& path, std::size_t cap, std::string& bytes, std::string& why);

}  // namespace regular_file
