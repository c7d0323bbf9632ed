// The score table's parser on any text: a table it takes is written and read
// back unchanged, and so is any time it takes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "save/ScoreTable.h"

namespace {

bool SameEntries(const ScoreTable& a, const ScoreTable& b) {
    if (a.Entries().size() != b.Entries().size()) return false;
    for (std::size_t i = 0; i < a.Entries().size(); ++i) {
        const ScoreEntry& x = a.Entries()[i];
        const ScoreEntry& y = b.Entries()[i];
        if (x.score != y.score || x.endedAt != y.endedAt || x.seedKind != y.seedKind ||
            x.seed != y.seed || x.replay != y.replay || x.speed != y.speed) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ScoreTable::FormatVersionOf(text);

    std::int64_t seconds = 0;
    if (ScoreTable::ParseTime(text, seconds) && ScoreTable::FormatTime(seconds) != text) {
        std::abort();
    }

    ScoreTable table;
    std::string error;
    if (!ScoreTable::Parse(text, table, error)) {
        if (error.empty() || !table.Entries().empty()) std::abort();
        return 0;
    }
    ScoreTable again;
    if (!ScoreTable::Parse(table.Format(), again, error) || !SameEntries(table, again)) {
        std::abort();
    }
    // Entering keeps the table sorted and within its capacity.
    ScoreEntry entry;
    entry.score = table.Entries().empty() ? 0 : table.Entries().back().score;
    entry.replay = "entered.kvr";
    table.Enter(entry);
    if (!ScoreTable::Parse(table.Format(), again, error)) std::abort();
    return 0;
}
