#include "save/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Failure(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::string& contents) {
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// The rename itself lives in the folder's entry list, which reaches the disk
// only when the folder is flushed.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error,
                         unsigned mode, bool keepExisting) {
    const std::string folder = FolderOf(path);
    // A hidden name in the same folder, so the rename never crosses file
    // systems and a listing of the folder does not show it.
    std::string pattern = folder + "/." + NameOf(path) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        error = Failure("cannot write in", folder);
        return false;
    }
    const std::string temporary(name.data());
    bool written =
        fchmod(fd, static_cast<mode_t>(mode)) == 0 && WriteAll(fd, contents) && fsync(fd) == 0;
    if (!written) error = Failure("cannot write", temporary);
    if (close(fd) != 0 && written) {
        written = false;
        error = Failure("cannot write", temporary);
    }
    if (!written) {
        unlink(temporary.c_str());
        return false;
    }
    // A link, unlike a rename, never replaces what is there.
    const bool placed = keepExisting ? link(temporary.c_str(), path.c_str()) == 0
                                     : rename(temporary.c_str(), path.c_str()) == 0;
    if (!placed) {
        error = Failure(keepExisting ? "cannot create" : "cannot replace", path);
        unlink(temporary.c_str());
        return false;
    }
    if (keepExisting) unlink(temporary.c_str());
    // Some file systems cannot flush a folder; the new contents are in place
    // all the same, only their survival of a power cut is less certain.
    SyncFolder(folder);
    return true;
}
