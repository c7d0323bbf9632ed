#include "server/BoardPage.h"

#include <cstdio>

#include "board/BoardApi.h"
#include "game/GameApp.h"
#include "server/SubmissionRules.h"

namespace board_page {

namespace {

constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

// White outlines on black, like the game. On a phone the text shrinks and
// long names wrap; a table still too wide scrolls sideways on its own.
constexpr const char* kStyle =
    "body{background:#000;color:#ddd;font:16px/1.5 monospace;margin:0 auto;max-width:44em;"
    "padding:1em}"
    "h1{font-size:1.4em;margin:0 0 .2em}a{color:#fff}"
    "nav{display:flex;justify-content:space-between;margin:1em 0}"
    ".table{overflow-x:auto}table{border-collapse:collapse;width:100%}"
    "th,td{border-bottom:1px solid #444;padding:.3em .5em;text-align:left;white-space:nowrap}"
    ".rank,.score,.time{text-align:right}th{color:#aaa;font-weight:normal}"
    "p.note{color:#aaa;font-size:.9em}td.player{white-space:normal;overflow-wrap:anywhere}"
    "@media(max-width:30em){body{font-size:13px;padding:.5em}th,td{padding:.3em .25em}}";

std::string Head(const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<title>" +
           Escape(title) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
}

std::string DayLink(std::uint32_t day, const char* rel, const std::string& text) {
    return "<a rel=\"" + std::string(rel) + "\" href=\"" + board_api::DayPagePath(day) + "\">" +
           text + "</a>";
}

std::string Row(const board_store::BoardEntry& entry) {
    return "<tr><td class=\"rank\">" + std::to_string(entry.rank) + "</td><td class=\"player\">" +
           Escape(entry.player) + "</td><td class=\"score\">" + std::to_string(entry.score) +
           "</td><td class=\"time\">" + PlayTime(entry.ticks) +
           "</td><td class=\"replay\"><a href=\"" + board_api::ReplayPath(entry.id) +
           "\" download>replay</a> <a href=\"" + board_api::WatchPagePath(entry.id) +
           "\">watch</a></td></tr>\n";
}

}  // namespace

std::string Escape(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string PlayTime(std::uint32_t ticks) {
    const std::uint64_t seconds = std::uint64_t{ticks} * GameApp::kTickInterval / 1000;
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu",
                      static_cast<unsigned long long>(seconds / 3600),
                      static_cast<unsigned long long>(seconds / 60 % 60),
                      static_cast<unsigned long long>(seconds % 60));
    } else {
        std::snprintf(text, sizeof text, "%llu:%02llu",
                      static_cast<unsigned long long>(seconds / 60),
                      static_cast<unsigned long long>(seconds % 60));
    }
    return text;
}

std::string LongDate(std::uint32_t day) {
    return std::to_string(day % 100) + " " + kMonths[(day / 100 % 100 + 11) % 12] + " " +
           std::to_string(day / 10000);
}

std::string Render(std::uint32_t day, std::uint32_t today,
                   const std::vector<board_store::BoardEntry>& entries) {
    const std::uint32_t before = submission_rules::AddDays(day, -1);
    const std::uint32_t after = submission_rules::AddDays(day, 1);
    std::string page = Head("Korvessa daily board, " + LongDate(day));
    page += "<header>\n<h1>Korvessa daily board</h1>\n<p class=\"day\">" + LongDate(day) +
            " (UTC)</p>\n</header>\n<nav>";
    // The first day there can be has no day before it to show.
    if (submission_rules::IsDate(before)) {
        page += DayLink(before, "prev", "&larr; " + LongDate(before));
    }
    if (day < today) page += DayLink(after, "next", LongDate(after) + " &rarr;");
    page += "</nav>\n<main>\n";
    if (entries.empty()) {
        page += "<p class=\"empty\">No verified games yet.</p>\n";
    } else {
        page +=
            "<div class=\"table\"><table>\n<thead><tr><th class=\"rank\">Rank</th>"
            "<th>Player</th><th class=\"score\">Score</th><th class=\"time\">Time played</th>"
            "<th>Replay</th></tr></thead>\n<tbody>\n";
        for (const board_store::BoardEntry& entry : entries) page += Row(entry);
        page += "</tbody>\n</table></div>\n";
    }
    page +=
        "<p class=\"note\">Every score here was replayed by the server with the game's own "
        "code, from the player's inputs. Watch a game here, open its replay with the game, or "
        "check it with <code>korvessa --verify</code>.</p>\n";
    if (day == today) {
        page += "<p class=\"play\"><a href=\"/play\">Play today's field in the browser</a></p>\n";
    }
    page += "</main>\n</body>\n</html>\n";
    return page;
}

std::string Message(const std::string& title, const std::string& message) {
    return Head(title) + "<h1>" + Escape(title) + "</h1>\n<p>" + Escape(message) +
           "</p>\n<p><a href=\"/\">Today's board</a></p>\n</body>\n</html>\n";
}

}  // namespace board_page
