// The board of one day as a web page: plain HTML made by the server, readable
// without JavaScript and on a phone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/BoardStore.h"

namespace board_page {

// The page of `day`, with links to the day before (when there is one) and, unless `day` is
// `today` or later, the day after. Names are escaped, so whatever a player
// chose shows as text.
std::string Render(std::uint32_t day, std::uint32_t today,
                   const std::vector<board_store::BoardEntry>& entries);

// A short page saying `message`, for errors.
std::string Message(const std::string& title, const std::string& message);

// `text` with & < > " ' written as entities.
std::string Escape(const std::string& text);

// The time `ticks` ticks of play take, as m:ss or h:mm:ss.
std::string PlayTime(std::uint32_t ticks);

// "14 June 2026" for 20260614.
std::string LongDate(std::uint32_t day);

}  // namespace board_page
