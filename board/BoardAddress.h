// Where the daily board is: the server's address as the player gave it.
#pragma once

#include <string>

// An http or https URL naming a host, with an optional port and path (a
// board behind a reverse proxy may live under one). Nothing else is taken:
// no other scheme, no user or password, no query or fragment.
class BoardAddress {
public:
    static constexpr const char* kDefault = "https://board.korvessa.org";

    // Reads `text`. False, with what is wrong in a few words in `problem`,
    // when it is not such a URL; `address` is then unchanged. It loads
    // libcurl (CurlLibrary), which reads URLs; when that cannot be loaded no
    // board can be reached anyway, and `text` is taken as it is.
    static bool Parse(const std::string& text, BoardAddress& address, std::string& problem);

    // The default address.
    BoardAddress();

    // The URL of `path` (which starts with '/') on this board, under the
    // address's own path.
    std::string Url(const std::string& path) const;
    // The address, as shown to the player.
    const std::string& Text() const { return base; }

private:
    explicit BoardAddress(std::string base);

    std::string base;  // scheme://host[:port][/path], without a trailing '/'
};
