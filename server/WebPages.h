// The game in the browser, served by the board: a page to watch any replay
// on the board, a page to play today's field, and the web game's files.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "server/HttpMessage.h"

class BoardStore;
class RequestTarget;

// Routes:
//   GET /watch/ID       the replay ID played in the page, with its verified
//                       score beside it
//   GET /play           today's field played in the page, sent to the board
//   GET /web/NAME       the web game's files (a gzip copy to clients that
//                       take it), cacheable: strong ETag and a day's max-age
// The files are read once, at construction, from the build tree's web-root/
// next to the executable or the installed share/korvessa-board/web/; without
// them the pages say the web game is not installed here.
class WebPages {
public:
    static constexpr const char* kFilesPrefix = "/web/";

    // Reads the files from `folder`, or from where the build and the install
    // put them when it is empty.
    explicit WebPages(const std::string& folder = "");

    // Whether `path` is one of these pages' (the rest are the board's).
    static bool Knows(std::string_view path);
    // Whether the web game's files were found.
    bool Installed() const { return !files.empty(); }

    // The answer to a GET or HEAD of a path Knows().
    HttpResponse Answer(const HttpRequest& request, const RequestTarget& target, BoardStore& store,
                        std::uint32_t today) const;

private:
    struct File {
        std::string type;
        std::string body;
        std::string gzip;  // empty when there is no compressed copy
        std::string etag;  // with its quotes
    };

    void Load(const std::string& folder);
    HttpResponse Static(const HttpRequest& request, const File& file) const;
    HttpResponse Page(unsigned status, const std::string& title, const std::string& body) const;
    static std::string DrawingOptions();
    std::string Scripts() const;
    HttpResponse Watch(const std::string& id, BoardStore& store) const;
    HttpResponse Play(std::uint32_t today) const;

    std::map<std::string, File, std::less<>> files;
};
