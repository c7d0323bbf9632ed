// Replacing a file so that a crash never leaves it half written.
#pragma once

#include <string>

// Writes `contents` to a temporary file in the folder of `path`, flushes it
// to disk, renames it over `path` and flushes the folder, so that whatever
// happens, even power loss or SIGKILL at any moment, `path` afterwards holds
// either its old contents or the new ones, complete. The folder must exist.
// False, with a one-line reason in `error`, when any step fails; `path` is
// then untouched and the temporary file removed. The file gets `mode`; with
// `keepExisting`, a file already at `path` (made meanwhile by another
// process) is kept and false returned.
bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error,
                         unsigned mode = 0644, bool keepExisting = false);
