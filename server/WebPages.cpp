#include "server/WebPages.h"

#include <SDL.h>

#include <boost/beast/http/field.hpp>
#include <fstream>
#include <optional>
#include <sstream>

#include "board/BoardApi.h"
#include "server/BoardPage.h"
#include "server/BoardStore.h"
#include "server/RequestTarget.h"
#include "server/Sha256.h"

namespace http = boost::beast::http;

namespace {

constexpr const char* kHtmlType = "text/html; charset=utf-8";
// The files keep their names from one build to the next; the pages ask for
// them with their tag, so a day's caching never serves an old game.
constexpr const char* kFileCacheControl = "public, max-age=86400";
constexpr std::size_t kTagDigits = 16;

struct Served {
    const char* name;
    const char* type;
};
constexpr Served kServed[] = {
    {"korvessa.js", "text/javascript; charset=utf-8"},
    {"korvessa.wasm", "application/wasm"},
    {"korvessa-page.js", "text/javascript; charset=utf-8"},
};

std::optional<std::string> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string DefaultFolder() {
    char* base = SDL_GetBasePath();
    if (base == nullptr) return "";
    const std::string folder(base);
    SDL_free(base);
    for (const std::string& candidate :
         {folder + "web-root/", folder + "../share/korvessa-board/web/"}) {
        if (ReadWhole(candidate + kServed[0].name)) return candidate;
    }
    return "";
}

bool TakesGzip(const HttpRequest& request) {
    const std::string_view accepted = request[http::field::accept_encoding];
    return accepted.find("gzip") != std::string_view::npos;
}

std::string Tagged(std::string name, const std::string& etag) {
    return name + "?v=" + etag.substr(1, etag.size() - 2);
}

}  // namespace

WebPages::WebPages(const std::string& folder) { Load(folder.empty() ? DefaultFolder() : folder); }

void WebPages::Load(const std::string& folder) {
    if (folder.empty()) return;
    std::map<std::string, File, std::less<>> found;
    for (const Served& served : kServed) {
        const std::string path = folder + "/" + served.name;
        std::optional<std::string> body = ReadWhole(path);
        if (!body) return;
        File file;
        file.type = served.type;
        file.etag = "\"" + sha256::Hex(*body, kTagDigits) + "\"";
        file.gzip = ReadWhole(path + ".gz").value_or("");
        file.body = std::move(*body);
        found.emplace(served.name, std::move(file));
    }
    files = std::move(found);
}

bool WebPages::Knows(std::string_view path) {
    return path == board_api::kPlayPagePath || path.rfind(board_api::kWatchPagePrefix, 0) == 0 ||
           path.rfind(kFilesPrefix, 0) == 0;
}

HttpResponse WebPages::Answer(const HttpRequest& request, const RequestTarget& target,
                              BoardStore& store, std::uint32_t today) const {
    const std::string_view path = target.Path();
    if (path == board_api::kPlayPagePath) return Play(today);
    if (const std::optional<std::string> id = target.IdAfter(board_api::kWatchPagePrefix))
        return Watch(*id, store);
    if (path.rfind(kFilesPrefix, 0) == 0) {
        const auto file = files.find(path.substr(std::string_view(kFilesPrefix).size()));
        if (file != files.end()) return Static(request, file->second);
    }
    return Page(404, "Not found", "<p>There is no such page here.</p>");
}

HttpResponse WebPages::Static(const HttpRequest& request, const File& file) const {
    HttpResponse response;
    response.set(http::field::etag, file.etag);
    response.set(http::field::cache_control, kFileCacheControl);
    response.set(http::field::vary, "Accept-Encoding");
    const std::string_view match = request[http::field::if_none_match];
    if (match == file.etag) {
        response.result(http::status::not_modified);
        return response;
    }
    response.result(http::status::ok);
    response.set(http::field::content_type, file.type);
    if (!file.gzip.empty() && TakesGzip(request)) {
        response.set(http::field::content_encoding, "gzip");
        response.body() = file.gzip;
    } else {
        response.body() = file.body;
    }
    return response;
}

HttpResponse WebPages::Page(unsigned status, const std::string& title,
                            const std::string& body) const {
    HttpResponse response;
    response.result(status);
    response.set(http::field::content_type, kHtmlType);
    response.set(http::field::cache_control, "no-cache");
    response.body() =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
        board_page::Escape(title) +
        "</title>\n<style>\nbody{background:#000;color:#ddd;font-family:sans-serif;margin:1em}\n"
        "a{color:#9cf}\ncanvas{display:block;max-width:100%;height:auto;background:#000}\nbutton{"
        "margin:.3em .3em .3em 0}\n</style>\n</head>\n<body>\n" +
        body + "\n<p><a href=\"/\">Today's board</a></p>\n</body>\n</html>\n";
    return response;
}

// The desktop's drawing options, by their names and texts there; the page's
// script keeps the choice in the browser and hands it to the game.
std::string WebPages::DrawingOptions() {
    return "<p id=\"options\" hidden><label>lines <select data-option=\"line-width\"><option>1"
           "</option><option>1.5</option><option>2</option><option>3</option></select></label> "
           "<label>stars <select data-option=\"stars\"><option>on</option><option>dim</option>"
           "<option>off</option></select></label> <label>saucer ring <select "
           "data-option=\"clear-saucer\"><option>off</option><option>on</option></select></label> "
           "<label>photon rings <select data-option=\"clear-photons\"><option>off</option>"
           "<option>on</option></select></label></p>\n";
}

std::string WebPages::Scripts() const {
    const auto page = files.find("korvessa-page.js");
    const auto game = files.find("korvessa.js");
    const auto wasm = files.find("korvessa.wasm");
    return "<script src=\"" + Tagged("/web/korvessa-page.js", page->second.etag) +
           "\" data-wasm=\"" + Tagged("/web/korvessa.wasm", wasm->second.etag) +
           "\"></script>\n<script src=\"" + Tagged("/web/korvessa.js", game->second.etag) +
           "\"></script>";
}

HttpResponse WebPages::Watch(const std::string& id, BoardStore& store) const {
    const std::optional<Submission> submission = store.Find(id);
    if (!submission) return Page(404, "No such replay", "<p>There is no such replay here.</p>");
    std::string verdict = "not verified yet";
    if (submission->state == SubmissionState::kVerified) {
        verdict =
            "verified score <span id=\"verified\">" + std::to_string(submission->score) + "</span>";
    } else if (submission->state == SubmissionState::kRejected) {
        verdict = "rejected: " + board_page::Escape(submission->reason);
    }
    const std::string title = submission->player + "'s game of " + std::to_string(submission->day);
    std::string body = "<h1>" + board_page::Escape(title) + "</h1>\n<p>" + verdict +
                       " &middot; <a href=\"" + board_api::ReplayPath(id) +
                       "\" download>replay file</a></p>\n";
    if (!Installed())
        return Page(200, title, body + "<p>The web game is not installed on this board.</p>");
    body +=
        "<noscript><p>Watching the game here needs JavaScript; the replay file plays in "
        "korvessa.</p></noscript>\n"
        "<p id=\"controls\" hidden><button id=\"pause\">pause</button>"
        "<button id=\"restart\">restart</button><button class=\"speed\" data-factor=\"1\">1&times;"
        "</button><button class=\"speed\" data-factor=\"2\">2&times;</button>"
        "<button class=\"speed\" data-factor=\"4\">4&times;</button> <span "
        "id=\"status\"></span></p>\n" +
        DrawingOptions() +
        "<canvas id=\"canvas\" width=\"1024\" height=\"768\" data-mode=\"watch\" "
        "data-replay=\"" +
        board_api::ReplayPath(id) + "\" oncontextmenu=\"event.preventDefault()\"></canvas>\n" +
        Scripts();
    return Page(200, title, body);
}

HttpResponse WebPages::Play(std::uint32_t today) const {
    const std::string title = "Today's field";
    std::string body = "<h1>Today's field, " + std::to_string(today) + "</h1>\n";
    if (!Installed())
        return Page(200, title, body + "<p>The web game is not installed on this board.</p>");
    body +=
        "<noscript><p>Playing here needs JavaScript; korvessa --daily plays today's field on "
        "the desktop.</p></noscript>\n"
        "<form id=\"start\" hidden><label>Your name on the board <input id=\"player\" "
        "maxlength=\"20\" required></label> <button id=\"play\">play</button></form>\n"
        "<p>Arrows turn and thrust, Space fires a photon, Alt the laser; on a pad, the D-pad or "
        "the left stick, A and B.</p>\n"
        "<p id=\"status\"></p>\n" +
        DrawingOptions() +
        "<canvas id=\"canvas\" tabindex=\"0\" width=\"1024\" height=\"768\" data-mode=\"play\" "
        "data-seed=\"" +
        std::to_string(today) + "\" oncontextmenu=\"event.preventDefault()\"></canvas>\n" +
        Scripts();
    return Page(200, title, body);
}
