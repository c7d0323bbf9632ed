// The player's key for the daily board: what makes a name on the board this
// player's. Made once, kept in the data folder.
#pragma once

#include <string>

#include "save/DataFolder.h"

// board-key in the data folder: 32 random bytes from the system, in base64,
// readable by the user only. Made the first time a game is sent and kept:
// the board gives a name to the key of its first verified game, so another
// machine of the same player's needs a copy of this file, and a lost key
// loses the names it held.
class BoardKey {
public:
    static constexpr const char* kFileName = "board-key";
    static constexpr std::size_t kRandomBytes = 32;
    static constexpr unsigned kFileMode = 0600;
    // A key and its line's end are 45 bytes; a file far larger is no key.
    static constexpr std::size_t kMaxFileSize = 1024;

    explicit BoardKey(const DataFolder& folder);

    // The key, read from the file or made and written there when there is
    // none. False, with one line in `error`, when it can be neither read nor
    // made, or the file holds something else (it is then left alone).
    bool Get(std::string& key, std::string& error) const;

    // The file's path.
    const std::string& Path() const { return path; }

private:
    // 0 when the file is there and holds a key, 1 when there is none, -1
    // when it cannot be read or holds something else (`error` says which).
    int Read(std::string& key, std::string& error) const;

    DataFolder folder;
    std::string path;
};
