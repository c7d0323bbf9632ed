#include "save/FileAside.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Renames without replacing anything already at `to`; errno EEXIST if taken.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without that flag: a hard link cannot replace either.
    if (link(from.c_str(), to.c_str()) != 0) return false;
    unlink(from.c_str());
    return true;
}

}  // namespace

bool KeepAside(const std::string& path, std::string& asideName, std::string& error) {
    for (int n = 1;; ++n) {
        const std::string aside = n == 1 ? path + ".bad" : path + "." + std::to_string(n) + ".bad";
        if (RenameNoReplace(path, aside)) {
            asideName = aside.substr(aside.rfind('/') + 1);
            return true;
        }
        if (errno != EEXIST) {
            error = "cannot rename " + path + ": " + std::strerror(errno);
            return false;
        }
    }
}
