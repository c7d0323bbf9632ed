#include "common/Text.h"

#include <charconv>
#include <system_error>

namespace plain_text {

std::string Trimmed(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

bool ParseWhole(std::string_view text, unsigned long long max, unsigned long long& value) {
    // from_chars takes no sign for an unsigned number, nor leading blanks.
    const char* end = text.data() + text.size();
    unsigned long long number = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end || number > max) return false;
    value = number;
    return true;
}

std::string Echoed(std::string_view text, std::size_t length) {
    if (text.size() <= length) return std::string(text);
    return std::string(text.substr(0, length)) + "...";
}

}  // namespace plain_text
