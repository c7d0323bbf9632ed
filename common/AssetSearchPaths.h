// Where the game looks for the files it ships with.
#pragma once

#include <string>
#include <vector>

// The places to look for `name` (a file or a folder), in order: the working
// directory, then the assets/ folder next to the executable, then the shared
// data folder of an installed game (../share/korvessa/ next to it).
std::vector<std::string> AssetSearchPaths(const std::string& name);
