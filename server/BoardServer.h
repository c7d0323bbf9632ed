// The board's HTTP side: taking replays, telling how they fared, and the
// day's board as JSON and as a web page.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "server/BoardOptions.h"
#include "server/BoardStore.h"
#include "server/ConnectionLimits.h"
#include "server/DayCache.h"
#include "server/HttpMessage.h"
#include "server/RateLimiter.h"
#include "server/RequestHandler.h"
#include "server/WebPages.h"
#include "server/WorkerPool.h"

class RequestTarget;

// Routes:
//   POST /api/v1/submissions?player=NAME   a replay file as the body: 202 and
//        {"id": ID, "status": ...} at once, the same id for the same file
//   GET  /api/v1/submissions/ID             pending, verified or rejected
//   GET  /api/v1/boards/YYYYMMDD            the day's board as JSON
//   GET  /, /daily/YYYYMMDD                 today's or that day's board page
//   GET  /replays/ID.kvr                    the replay file
//   GET  /watch/ID, /play, /web/NAME         the game in the browser (WebPages)
// A request the server refuses gets a 4xx status and a one-line reason (JSON
// under /api/, a short page elsewhere), and its connection is closed; each
// request is logged in one line on standard error. The boards and pages
// carry a strong ETag and answer a matching If-None-Match with 304.
//
// Connections are served by a few threads waiting on all of them at once
// (Boost.Asio), each request within deadlines; the handlers, which may wait
// on the database, run on threads of their own.
class BoardServer : public RequestHandler {
public:
    static constexpr std::size_t kMaxReplayBytes = kMaxBodyBytes;
    static constexpr int kBoardSize = 100;

    // A body with its strong entity tag.
    struct TaggedBody {
        std::string body;
        std::string etag;  // with its quotes
    };

    // `store` and `pool` must outlive the server.
    BoardServer(BoardStore& store, WorkerPool& pool, const BoardOptions& options);
    ~BoardServer();

    BoardServer(const BoardServer&) = delete;
    BoardServer& operator=(const BoardServer&) = delete;

    // Binds the listening socket. False, with one line in `error`, when it
    // cannot be had.
    bool Bind(std::string& error);
    // The bound port (the one chosen, when asked for port 0).
    int Port() const { return port; }

    // Takes requests until Stop(); requests under way are answered first.
    void Serve();
    // Returns once Serve() takes requests (from another thread), so that a
    // Stop() after it is never missed.
    void WaitUntilServing() const;
    void Stop();

    // What its connections ask of it.
    std::string ClientAddress(const HttpRequest& request, const std::string& peer) const override;
    std::optional<HttpResponse> Screen(const HttpRequest& request,
                                       const std::string& client) override;
    HttpResponse Answer(HttpRequest& request, const std::string& client) override;
    HttpResponse Malformed(unsigned status, const std::string& reason,
                           std::string_view path = {}) const override;
    bool Begin() override;
    void Finished() override;
    bool Stopping() const override { return stopping; }
    ConnectionLimits& Limits() override { return limits; }
    void LogRequest(const std::string& client, const HttpRequest& request,
                    unsigned status) const override;
    void LogFailure(const std::string& client, int status, const std::string& what) const override;

private:
    struct Io;

    HttpResponse Route(HttpRequest& request, const RequestTarget& target,
                       const std::string& client);
    std::optional<HttpResponse> RefuseSubmission(const HttpRequest& request,
                                                 const RequestTarget& target,
                                                 const std::string& client);
    HttpResponse Submit(HttpRequest& request, const RequestTarget& target,
                        const std::string& client);
    HttpResponse Status(const std::string& id);
    HttpResponse Board(const HttpRequest& request, std::uint32_t day, bool page);
    HttpResponse ReplayFile(const std::string& id);

    // The day's board as JSON, and as a page, from the day's cache.
    TaggedBody BoardJsonOf(std::uint32_t day);
    TaggedBody BoardPageOf(std::uint32_t day);

    void Accept();

    BoardStore& store;
    WorkerPool& pool;
    const BoardOptions options;
    RateLimiter limiter;
    DayCache cache;
    ConnectionLimits limits;
    const WebPages web;  // the game in the browser, its files read once
    std::atomic<bool> serving{false};
    std::atomic<bool> stopping{false};
    std::atomic<int> underWay{0};
    int port = 0;
    // Last: the connections it still holds when it goes use all the above.
    std::unique_ptr<Io> io;
};
