#include "server/RequestTarget.h"

namespace {

constexpr std::size_t kIdDigits = 32;
constexpr std::size_t kDayDigits = 8;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What lies between `prefix` and `suffix` when the path is exactly those
// around `length` characters.
std::optional<std::string_view> Between(std::string_view path, std::string_view prefix,
                                        std::string_view suffix, std::size_t length) {
    if (path.size() != prefix.size() + length + suffix.size()) return std::nullopt;
    if (path.substr(0, prefix.size()) != prefix) return std::nullopt;
    if (path.substr(prefix.size() + length) != suffix) return std::nullopt;
    return path.substr(prefix.size(), length);
}

}  // namespace

RequestTarget::RequestTarget(std::string_view target) {
    const std::size_t mark = target.find('?');
    path = target.substr(0, mark);
    if (mark != std::string_view::npos) query = target.substr(mark + 1);
}

std::string RequestTarget::Param(std::string_view name) const {
    std::string_view rest = query;
    while (!rest.empty()) {
        const std::size_t end = rest.find('&');
        const std::string_view pair = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && Decode(pair.substr(0, equals)) == name) {
            return Decode(pair.substr(equals + 1));
        }
    }
    return "";
}

std::optional<std::string> RequestTarget::IdAfter(std::string_view prefix,
                                                  std::string_view suffix) const {
    const auto id = Between(path, prefix, suffix, kIdDigits);
    if (!id) return std::nullopt;
    for (const char c : *id) {
        if (!IsLowerHex(c)) return std::nullopt;
    }
    return std::string(*id);
}

std::optional<std::uint32_t> RequestTarget::DayAfter(std::string_view prefix) const {
    const auto digits = Between(path, prefix, {}, kDayDigits);
    if (!digits) return std::nullopt;
    std::uint32_t day = 0;
    for (const char c : *digits) {
        if (!IsDigit(c)) return std::nullopt;
        day = day * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return day;
}

std::string RequestTarget::Decode(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += c;
        }
    }
    return decoded;
}
