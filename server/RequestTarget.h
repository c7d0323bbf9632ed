// The target of a request as a client sent it (the path and the query
// string), read without trusting it: any bytes at all give a path, some
// parameters or none, and never an exception. It views the text it is made
// from, which must outlive it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class RequestTarget {
public:
    explicit RequestTarget(std::string_view target);

    // What comes before the '?', as sent (not decoded: the routes are plain
    // ASCII, and a path written with escapes is not one of them).
    std::string_view Path() const { return path; }

    // The first `name=value` of the query string, percent-decoded, with '+'
    // as a space; empty when there is none. A '%' not followed by two hex
    // digits stays as it is.
    std::string Param(std::string_view name) const;

    // The 32 lower-case hex digits of a path that is `prefix`, the digits,
    // then `suffix`; nothing for any other path.
    std::optional<std::string> IdAfter(std::string_view prefix, std::string_view suffix = {}) const;

    // The number written by the 8 digits of a path that is `prefix` then the
    // digits (whether it is a date is for the caller to say); nothing for
    // any other path.
    std::optional<std::uint32_t> DayAfter(std::string_view prefix) const;

    // `text` percent-decoded, '+' read as a space.
    static std::string Decode(std::string_view text);

private:
    std::string_view path;
    std::string_view query;
};
