// Keeping a damaged file out of the way without losing it.
#pragma once

#include <string>

// Renames `path` to `path`.bad, or `path`.2.bad, `path`.3.bad and on, never
// over an earlier one: an older damaged file may still hold something the
// player wants back. True with the new file name (no folder) in `asideName`;
// false with a one-line reason in `error`.
bool KeepAside(const std::string& path, std::string& asideName, std::string& error);
