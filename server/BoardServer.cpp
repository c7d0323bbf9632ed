#include "server/BoardServer.h"

#include <httplib.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>
#include <thread>

#include "board/BoardRules.h"
#include "save/ReplayFile.h"
#include "save/SeedKind.h"
#include "server/BoardPage.h"
#include "server/Ownership.h"
#include "server/SubmissionId.h"
#include "server/SubmissionRules.h"

namespace {

constexpr const char* kSubmissionsPath = "/api/v1/submissions";
constexpr const char* kJsonType = "application/json";
constexpr const char* kHtmlType = "text/html; charset=utf-8";
constexpr const char* kReplayType = "application/x-korvessa-replay";
constexpr const char* kCacheControl = "no-cache";
constexpr int kSecondsPerMinute = 60;
constexpr int kContinue = 100;
constexpr int kListenBacklog = 512;
// A Content-Length with more digits is over the cap, whatever they are.
constexpr std::size_t kMaxLengthDigits = 9;

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::uint32_t Today() { return DailySeed(std::time(nullptr)); }

std::optional<std::string> Authorization(const httplib::Request& request) {
    if (!request.has_header("Authorization")) return std::nullopt;
    return request.get_header_value("Authorization");
}

bool IsApi(const httplib::Request& request) { return request.path.rfind("/api/", 0) == 0; }

// One line, whatever the client sent: no control characters reach the log.
std::string Printable(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (c < ' ' || c > '~') c = '?';
    }
    return line;
}

void Json(httplib::Response& response, int status, const nlohmann::json& body) {
    response.status = status;
    response.set_content(body.dump() + "\n", kJsonType);
}

void ApiError(httplib::Response& response, int status, const std::string& reason) {
    Json(response, status, {{"error", reason}});
}

// For answers given before the body is read: the connection cannot be used
// for another request, since what is left of this one is still to come.
void RefuseUnread(httplib::Response& response, int status, const std::string& reason) {
    ApiError(response, status, reason);
    response.set_header("Connection", "close");
}

const char* DefaultReason(int status) {
    switch (status) {
        case 400:
            return "a malformed request";
        case 404:
            return "not found";
        case 405:
            return "method not allowed";
        case 413:
            return "the replay is larger than 1 MB";
        case 414:
            return "the address is too long";
        case 503:
            return "the board's database is unavailable; try again later";
        default:
            return status >= 500 ? "the server failed" : "refused";
    }
}

nlohmann::json StatusJson(const Submission& submission) {
    nlohmann::json json = {{"id", submission.id},
                           {"status", SubmissionStateName(submission.state)},
                           {"player", submission.player},
                           {"day", submission.day}};
    if (submission.state == SubmissionState::kVerified) {
        json["score"] = submission.score;
        json["ticks"] = submission.ticks;
    } else if (submission.state == SubmissionState::kRejected) {
        json["reason"] = submission.reason;
    }
    return json;
}

// A body from the day's cache: 304 when the client holds it already. Always
// asked again (no-cache), since the next verdict may change it any moment.
void AnswerCached(const httplib::Request& request, httplib::Response& response,
                  const DayCache::Body& body, const char* type) {
    response.set_header("ETag", body.etag);
    response.set_header("Cache-Control", kCacheControl);
    if (DayCache::Matches(request.get_header_value("If-None-Match"), body.etag)) {
        response.status = 304;
        return;
    }
    response.set_content(body.text, type);
}

std::string ReplayPath(const std::string& id) { return "/replays/" + id + ".kvr"; }

// 20260614 for "20260614" when it is a date; 0 otherwise.
std::uint32_t DayFrom(const std::string& digits) {
    const auto day = static_cast<std::uint32_t>(std::stoul(digits));
    return submission_rules::IsDate(day) ? day : 0;
}

}  // namespace

BoardServer::BoardServer(BoardStore& boardStore, WorkerPool& workers, const BoardOptions& given)
    : store(boardStore),
      pool(workers),
      options(given),
      limiter(given.rateLimit),
      cache(boardStore, kBoardSize),
      http(std::make_unique<httplib::Server>()) {
    http->new_task_queue = [] { return new httplib::ThreadPool(kHttpThreads); };
    // SO_REUSEADDR, to start again at once after a stop; not the library's
    // SO_REUSEPORT, with which a second server on the same port would
    // silently share its requests instead of saying it cannot listen.
    http->set_socket_options([this](socket_t socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = socket;
    });
    http->set_payload_max_length(kMaxReplayBytes);
    // An answer is written in pieces (headers, then body): without this, a
    // client delaying its ACK holds the body back for tens of milliseconds.
    http->set_tcp_nodelay(true);
    // A client that asks before sending its body is answered before it
    // sends it; the others right after their headers.
    http->set_expect_100_continue_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            return Refuse(request, response) ? response.status : kContinue;
        });
    http->set_pre_routing_handler([this](const httplib::Request& request,
                                         httplib::Response& response) {
        const bool asked = request.get_header_value("Expect") == "100-continue";
        return !asked && Refuse(request, response) ? httplib::Server::HandlerResponse::Handled
                                                   : httplib::Server::HandlerResponse::Unhandled;
    });
    http->Post(kSubmissionsPath,
               [this](const httplib::Request& request, httplib::Response& response,
                      const httplib::ContentReader& reader) {
                   std::string body;
                   bool tooLarge = false;
                   reader([&](const char* data, std::size_t length) {
                       tooLarge = body.size() + length > kMaxReplayBytes;
                       if (!tooLarge) body.append(data, length);
                       return !tooLarge;
                   });
                   if (tooLarge) return RefuseUnread(response, 413, DefaultReason(413));
                   Submit(request, response, body);
               });
    http->Get(R"(/api/v1/submissions/([0-9a-f]{32}))",
              [this](const httplib::Request& request, httplib::Response& response) {
                  Status(request, response);
              });
    http->Get(R"(/api/v1/boards/(\d{8}))",
              [this](const httplib::Request& request, httplib::Response& response) {
                  BoardJson(request, response);
              });
    http->Get("/", [this](const httplib::Request& request, httplib::Response& response) {
        BoardHtml(request, Today(), response);
    });
    http->Get(R"(/daily/(\d{8}))",
              [this](const httplib::Request& request, httplib::Response& response) {
                  BoardHtml(request, DayFrom(request.matches[1]), response);
              });
    http->Get(R"(/replays/([0-9a-f]{32})\.kvr)",
              [this](const httplib::Request& request, httplib::Response& response) {
                  ReplayFile(request, response);
              });
    http->set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (!response.body.empty()) return;
        const std::string reason = DefaultReason(response.status);
        if (IsApi(request)) {
            response.set_content(nlohmann::json{{"error", reason}}.dump() + "\n", kJsonType);
        } else {
            response.set_content(board_page::Message("Korvessa daily board", reason), kHtmlType);
        }
    });
    // A failing database, or anything else thrown by a handler: one line in
    // the log, and the client is told to come back.
    http->set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr thrown) {
            response.status = 503;
            response.body.clear();
            try {
                std::rethrow_exception(thrown);
            } catch (const StoreError& error) {
                std::fprintf(stderr, "korvessa-board: %s\n", error.what());
            } catch (const std::exception& error) {
                response.status = 500;
                std::fprintf(stderr, "korvessa-board: %s\n", error.what());
            }
        });
    http->set_logger([this](const httplib::Request& request, const httplib::Response& response) {
        std::fprintf(stderr, "korvessa-board: %s %s %s %d\n",
                     Printable(ClientAddress(request)).c_str(), Printable(request.method).c_str(),
                     Printable(request.path).c_str(), response.status);
    });
}

BoardServer::~BoardServer() = default;

bool BoardServer::Bind(std::string& error) {
    port = options.port == 0 ? http->bind_to_any_port(options.host)
                             : (http->bind_to_port(options.host, options.port) ? options.port : -1);
    if (port <= 0) {
        error = "cannot listen on " + options.host + ":" + std::to_string(options.port) + ": " +
                std::strerror(errno);
        return false;
    }
    // The library listens with a backlog of 5, so that clients connecting
    // together wait a second for the SYN sent again; listening again only
    // makes the queue longer.
    listen(listening, kListenBacklog);
    return true;
}

void BoardServer::Serve() { http->listen_after_bind(); }

void BoardServer::WaitUntilServing() const {
    while (!http->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void BoardServer::Stop() { http->stop(); }

std::string BoardServer::ClientAddress(const httplib::Request& request) const {
    if (options.trustProxy && request.has_header("X-Forwarded-For")) {
        // The proxy appends the address it saw; earlier entries are the
        // client's word.
        const std::string chain = request.get_header_value("X-Forwarded-For");
        std::string last = chain.substr(chain.rfind(',') + 1);
        last.erase(0, last.find_first_not_of(' '));
        return last;
    }
    return request.remote_addr;
}

bool BoardServer::Refuse(const httplib::Request& request, httplib::Response& response) {
    // Checked before the body is read, so none of these costs a megabyte.
    if (request.method != "POST" || request.path != kSubmissionsPath) return false;
    if (!limiter.Allow(ClientAddress(request))) {
        response.set_header("Retry-After", std::to_string(kSecondsPerMinute));
        RefuseUnread(response, 429,
                     "too many submissions from this address: at most " +
                         std::to_string(options.rateLimit) + " a minute");
        return true;
    }
    const std::string nameProblem = board_rules::NameProblem(request.get_param_value("player"));
    if (!nameProblem.empty()) {
        RefuseUnread(response, 400, "a bad player name: " + nameProblem);
        return true;
    }
    std::string keyHash;
    if (!ownership::ReadAuthorization(Authorization(request), keyHash)) {
        RefuseUnread(response, 400, "a malformed Authorization header: Bearer and a key");
        return true;
    }
    if (request.has_header("Content-Length")) {
        const std::string length = request.get_header_value("Content-Length");
        if (length.empty() || length.find_first_not_of("0123456789") != std::string::npos) {
            RefuseUnread(response, 400, "a bad Content-Length");
            return true;
        }
        if (length.size() > kMaxLengthDigits || std::stoul(length) > kMaxReplayBytes) {
            RefuseUnread(response, 413, DefaultReason(413));
            return true;
        }
    } else if (request.get_header_value("Transfer-Encoding") != "chunked") {
        RefuseUnread(response, 411, "the request needs a Content-Length");
        return true;
    }
    return false;
}

void BoardServer::Submit(const httplib::Request& request, httplib::Response& response,
                         const std::string& body) {
    Replay replay;
    std::string what;
    if (!replay_file::Decode(body, replay, what)) {
        return ApiError(response, 400, "not a valid replay: " + what);
    }
    const std::string fieldProblem = submission_rules::FieldProblem(replay, std::time(nullptr));
    if (!fieldProblem.empty()) return ApiError(response, 422, fieldProblem);
    NewSubmission submission;
    ownership::ReadAuthorization(Authorization(request), submission.keyHash);
    const std::string player = request.get_param_value("player");
    if (!ownership::MayUse(store.NameOwner(ownership::FoldName(player)), submission.keyHash)) {
        return ApiError(response, 403, ownership::kNameTaken);
    }
    submission.address = ClientAddress(request);
    submission.id = submission_id::Of(body);
    submission.player = player;
    submission.day = replay.seed;
    submission.replay = body;
    submission.receivedMs = NowMs();
    if (store.Add(submission)) {
        pool.Wake();
        return Json(response, 202, {{"id", submission.id}, {"status", "pending"}});
    }
    // The same file again: the same id, as it stands.
    const std::optional<Submission> kept = store.Find(submission.id);
    Json(response, 202,
         {{"id", submission.id},
          {"status", SubmissionStateName(kept ? kept->state : SubmissionState::kPending)}});
}

void BoardServer::Status(const httplib::Request& request, httplib::Response& response) {
    const std::optional<Submission> submission = store.Find(request.matches[1]);
    if (!submission) return ApiError(response, 404, "no such submission");
    nlohmann::json json = StatusJson(*submission);
    if (submission->state == SubmissionState::kVerified) {
        const Standing standing = store.StandingOf(*submission);
        json["rank"] = standing.rank;
        json["players"] = standing.players;
    }
    Json(response, 200, json);
}

void BoardServer::BoardJson(const httplib::Request& request, httplib::Response& response) {
    const std::uint32_t day = DayFrom(request.matches[1]);
    if (day == 0) return ApiError(response, 404, "no such day");
    const auto body = cache.Get(day, "json", [day](const std::vector<BoardEntry>& board) {
        nlohmann::json entries = nlohmann::json::array();
        for (const BoardEntry& entry : board) {
            entries.push_back({{"rank", entry.rank},
                               {"player", entry.player},
                               {"score", entry.score},
                               {"ticks", entry.ticks},
                               {"id", entry.id},
                               {"replay", ReplayPath(entry.id)}});
        }
        return nlohmann::json{{"day", day}, {"entries", entries}}.dump() + "\n";
    });
    AnswerCached(request, response, *body, kJsonType);
}

void BoardServer::BoardHtml(const httplib::Request& request, std::uint32_t day,
                            httplib::Response& response) {
    if (day == 0) {
        response.status = 404;
        return response.set_content(board_page::Message("No such day", "No such day."), kHtmlType);
    }
    // The page's links depend on today's date too.
    const std::uint32_t today = Today();
    const auto body = cache.Get(
        day, "page " + std::to_string(today),
        [day, today](const auto& board) { return board_page::Render(day, today, board); });
    AnswerCached(request, response, *body, kHtmlType);
}

void BoardServer::ReplayFile(const httplib::Request& request, httplib::Response& response) {
    const std::optional<std::string> bytes = store.Replay(request.matches[1]);
    if (!bytes) {
        response.status = 404;
        return;
    }
    response.set_content(*bytes, kReplayType);
}
