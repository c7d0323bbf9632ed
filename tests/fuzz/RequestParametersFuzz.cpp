// What a request names, on any bytes: the player's name, the day and the
// submission's id, as three lines. Each rule takes exactly its form, and a
// day it takes has neighbours that lead back to it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "board/BoardRules.h"
#include "server/SubmissionId.h"
#include "server/SubmissionRules.h"

namespace {

constexpr std::size_t kDayDigits = 8;  // YYYYMMDD, as the paths carry it
constexpr std::uint32_t kLastDay = 99991231;

bool IsPrintable(const std::string& text) {
    for (const char c : text) {
        if (c < ' ' || c > '~') return false;
    }
    return true;
}

bool AllOf(const std::string& text, const char* allowed) {
    return text.find_first_not_of(allowed) == std::string::npos;
}

// The next line of `text` from `position`, which moves past it.
std::string NextLine(const std::string& text, std::size_t& position) {
    if (position >= text.size()) return "";
    const std::size_t end = std::min(text.find('\n', position), text.size());
    std::string line = text.substr(position, end - position);
    position = end + 1;
    return line;
}

void CheckName(const std::string& name) {
    const bool wellFormed = !name.empty() && name.size() <= board_rules::kMaxNameLength &&
                            IsPrintable(name) && name.front() != ' ' && name.back() != ' ';
    if (board_rules::NameProblem(name).empty() != wellFormed) std::abort();
}

void CheckDay(std::uint32_t day) {
    if (!submission_rules::IsDate(day)) return;
    const unsigned month = day / 100 % 100, date = day % 100;
    if (month < 1 || month > 12 || date < 1 || date > 31) std::abort();
    const std::uint32_t before = submission_rules::AddDays(day, -1);
    const std::uint32_t after = submission_rules::AddDays(day, 1);
    if (before >= day || after <= day) std::abort();
    if (submission_rules::IsDate(before) && submission_rules::AddDays(before, 1) != day) {
        std::abort();
    }
    if (day != kLastDay &&
        (!submission_rules::IsDate(after) || submission_rules::AddDays(after, -1) != day)) {
        std::abort();
    }
}

void CheckId(const std::string& id) {
    const bool wellFormed = id.size() == submission_id::kLength && AllOf(id, "0123456789abcdef");
    if (submission_id::IsId(id) != wellFormed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t position = 0;
    CheckName(NextLine(text, position));
    // The day as the paths give it, eight digits; and any number at all.
    const std::string day = NextLine(text, position);
    if (day.size() == kDayDigits && AllOf(day, "0123456789")) {
        CheckDay(static_cast<std::uint32_t>(std::stoul(day)));
    }
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < sizeof raw && i < day.size(); ++i) {
        raw |= std::uint32_t{static_cast<unsigned char>(day[i])} << (8 * i);
    }
    CheckDay(raw);
    const std::string id = NextLine(text, position);
    CheckId(id);
    if (!submission_id::IsId(submission_id::Of(id))) std::abort();
    return 0;
}
