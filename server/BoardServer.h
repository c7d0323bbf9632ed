// The board's HTTP side: taking replays, telling how they fared, and the
// day's board as JSON and as a web page.
#pragma once

#include <memory>
#include <string>

#include "server/BoardOptions.h"
#include "server/BoardStore.h"
#include "server/DayCache.h"
#include "server/RateLimiter.h"
#include "server/WorkerPool.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

// Routes:
//   POST /api/v1/submissions?player=NAME   a replay file as the body: 202 and
//        {"id": ID, "status": ...} at once, the same id for the same file
//   GET  /api/v1/submissions/ID             pending, verified or rejected
//   GET  /api/v1/boards/YYYYMMDD            the day's board as JSON
//   GET  /, /daily/YYYYMMDD                 today's or that day's board page
//        (both with an ETag, and 304 for a request naming it)
//   GET  /replays/ID.kvr                    the replay file
// A request the server refuses gets a 4xx status and a one-line reason (JSON
// under /api/, a short page elsewhere); each request is logged in one line on
// standard error.
class BoardServer {
public:
    static constexpr std::size_t kMaxReplayBytes = 1 << 20;
    static constexpr int kBoardSize = 100;
    // Enough for 50 clients keeping their connections open at once.
    static constexpr int kHttpThreads = 64;

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

private:
    bool Refuse(const httplib::Request& request, httplib::Response& response);
    void Submit(const httplib::Request& request, httplib::Response& response,
                const std::string& body);
    void Status(const httplib::Request& request, httplib::Response& response);
    void BoardJson(const httplib::Request& request, httplib::Response& response);
    void BoardHtml(const httplib::Request& request, std::uint32_t day, httplib::Response& response);
    void ReplayFile(const httplib::Request& request, httplib::Response& response);
    std::string ClientAddress(const httplib::Request& request) const;

    BoardStore& store;
    WorkerPool& pool;
    const BoardOptions options;
    RateLimiter limiter;
    DayCache cache;
    std::unique_ptr<httplib::Server> http;
    int listening = -1;  // the listening socket
    int port = 0;
};
