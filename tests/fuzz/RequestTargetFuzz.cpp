// A request's target on any bytes, as the server reads every one it is
// sent: never a crash, a path that is what comes before the '?', an id or
// a day only in its exact form, and parameters that survive being escaped
// and decoded again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "board/BoardApi.h"
#include "server/RequestTarget.h"

namespace {

constexpr std::string_view kIdPrefix = board_api::kSubmissionPrefix;
constexpr std::string_view kDayPrefix = "/daily/";
constexpr std::size_t kIdDigits = 32;
constexpr std::uint32_t kLargestEightDigits = 99999999;

// Every byte as %XX: what a client escaping everything would send.
std::string Escaped(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        escaped += '%';
        escaped += kHex[byte >> 4];
        escaped += kHex[byte & 0x0F];
    }
    return escaped;
}

void CheckPath(std::string_view sent, const RequestTarget& target) {
    const std::string_view path = target.Path();
    if (sent.substr(0, path.size()) != path) std::abort();
    if (path.find('?') != std::string_view::npos) std::abort();
    if (path.size() < sent.size() && sent[path.size()] != '?') std::abort();
}

void CheckId(const RequestTarget& target) {
    const auto id = target.IdAfter(kIdPrefix);
    if (!id) return;
    if (id->size() != kIdDigits) std::abort();
    if (id->find_first_not_of("0123456789abcdef") != std::string::npos) std::abort();
    if (target.Path() != std::string(kIdPrefix) + *id) std::abort();
}

void CheckDay(const RequestTarget& target) {
    const auto day = target.DayAfter(kDayPrefix);
    if (day && *day > kLargestEightDigits) std::abort();
}

void CheckParameter(const RequestTarget& target) {
    const std::string player = target.Param("player");
    // A target views the text it was made from, which must outlive it.
    const std::string sent = "/?player=" + Escaped(player);
    const RequestTarget again(sent);
    if (again.Param("player") != player) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view sent(reinterpret_cast<const char*>(data), size);
    const RequestTarget target(sent);
    CheckPath(sent, target);
    CheckId(target);
    CheckDay(target);
    CheckParameter(target);
    return 0;
}
