#include "server/BoardServer.h"

#include <sys/resource.h>

#include <algorithm>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/beast/http/field.hpp>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>
#include <thread>
#include <vector>

#include "board/BoardApi.h"
#include "board/BoardRules.h"
#include "save/ReplayFile.h"
#include "save/SeedKind.h"
#include "server/BoardPage.h"
#include "server/HttpConnection.h"
#include "server/Ownership.h"
#include "server/RequestTarget.h"
#include "server/SubmissionId.h"
#include "server/SubmissionRules.h"

namespace asio = boost::asio;
namespace http = boost::beast::http;

namespace {

namespace api = board_api;

constexpr const char* kJsonType = "application/json";
constexpr const char* kHtmlType = "text/html; charset=utf-8";
constexpr const char* kTitle = "Korvessa daily board";
constexpr int kSecondsPerMinute = 60;
constexpr int kListenBacklog = 512;
// A Content-Length with more digits is over the cap, whatever they are.
constexpr std::size_t kMaxLengthDigits = 9;
// Waiting on all connections at once takes little: two threads keep up with
// any client. The handlers wait on the database, so they get more.
constexpr int kIoThreads = 2;
constexpr int kHandlerThreads = 16;
constexpr std::size_t kMaxConnections = 4096;
// Above what a browser or a household behind one address opens, and what
// the load benchmark's 50 clients do from one.
constexpr std::size_t kMaxConnectionsPerAddress = 64;
// Bodies are held whole while they arrive: at most 64 MB of them at once.
constexpr std::size_t kMaxBodies = 64;
constexpr std::size_t kMaxBodiesPerAddress = 32;
// File descriptors kept for the database, the log and the workers.
constexpr rlim_t kSpareFiles = 128;
constexpr std::chrono::seconds kStopGrace{10};
constexpr std::chrono::milliseconds kAcceptRetry{50};
// Old days still change when a verdict comes late, so caches ask again
// after a while; today's and yesterday's change with each verdict.
constexpr const char* kRecentCacheControl = "no-cache";
constexpr const char* kPastCacheControl = "public, max-age=300";

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::uint32_t Today() { return DailySeed(std::time(nullptr)); }

// The header's value, when the request has one.
std::optional<std::string> Authorization(const HttpRequest& request) {
    const auto field = request.find(http::field::authorization);
    if (field == request.end()) return std::nullopt;
    return std::string(field->value());
}

bool IsApi(std::string_view path) { return path.rfind("/api/", 0) == 0; }

// One line, whatever the client sent: no control characters reach the log.
std::string Printable(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c < ' ' || c > '~') c = '?';
    }
    return line;
}

// A database's message, which may run over several lines, on one.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        const bool blank = c == '\n' || c == '\r' || c == '\t' || c == ' ';
        if (blank) {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += (c > 0 && c < ' ') ? '?' : c;
        }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

const char* DefaultReason(unsigned status) {
    switch (status) {
        case 400:
            return "a malformed request";
        case 404:
            return "not found";
        case 405:
            return "method not allowed";
        case 413:
            return "the replay is larger than 1 MB";
        case 501:
            return "the method is not implemented";
        case 503:
            return "the board's database is unavailable; try again later";
        default:
            return status >= 500 ? "the server failed" : "refused";
    }
}

HttpResponse Reply(unsigned status, std::string body, const char* type) {
    HttpResponse response;
    response.result(status);
    response.set(http::field::content_type, type);
    response.body() = std::move(body);
    return response;
}

HttpResponse Json(unsigned status, const nlohmann::json& body) {
    return Reply(status, body.dump() + "\n", kJsonType);
}

// A refusal: its reason as JSON under /api/, as a short page elsewhere.
HttpResponse Error(unsigned status, const std::string& reason, std::string_view path) {
    if (IsApi(path)) return Json(status, {{api::kError, reason}});
    return Reply(status, board_page::Message(kTitle, reason), kHtmlType);
}

nlohmann::json StatusJson(const Submission& submission) {
    nlohmann::json json = {{api::kId, submission.id},
                           {api::kStatus, SubmissionStateName(submission.state)},
                           {api::kPlayer, submission.player},
                           {api::kDay, submission.day}};
    if (submission.state == SubmissionState::kVerified) {
        json[api::kScore] = submission.score;
        json[api::kTicks] = submission.ticks;
    } else if (submission.state == SubmissionState::kRejected) {
        json[api::kReason] = submission.reason;
    }
    return json;
}

// What a path names, and the methods it takes.
enum class Resource { kNone, kSubmissions, kSubmission, kBoard, kToday, kDay, kReplay, kWeb };

Resource Identify(const RequestTarget& target) {
    if (target.Path() == api::kSubmissionsPath) return Resource::kSubmissions;
    if (target.Path() == "/") return Resource::kToday;
    if (target.IdAfter(api::kSubmissionPrefix)) return Resource::kSubmission;
    if (target.DayAfter(api::kBoardPrefix)) return Resource::kBoard;
    if (target.DayAfter(api::kDayPagePrefix)) return Resource::kDay;
    if (target.IdAfter(api::kReplayPrefix, replay_file::kExtension)) return Resource::kReplay;
    if (WebPages::Knows(target.Path())) return Resource::kWeb;
    return Resource::kNone;
}

const char* Allowed(Resource resource) {
    return resource == Resource::kSubmissions ? "POST" : "GET, HEAD";
}

bool Allows(Resource resource, http::verb method) {
    if (resource == Resource::kSubmissions) return method == http::verb::post;
    return method == http::verb::get || method == http::verb::head;
}

// The methods of plain HTTP that a server may refuse on a path with 405;
// any other is not one this server knows (501).
bool IsKnownMethod(http::verb method) {
    switch (method) {
        case http::verb::get:
        case http::verb::head:
        case http::verb::post:
        case http::verb::put:
        case http::verb::delete_:
        case http::verb::options:
        case http::verb::patch:
            return true;
        default:
            return false;
    }
}

// Whether If-None-Match names `etag` (or any, with *); weak tags compare
// by their value, as the header asks.
bool NoneMatch(std::string_view header, const std::string& etag) {
    while (!header.empty()) {
        const std::size_t comma = header.find(',');
        std::string_view tag = header.substr(0, comma);
        header = comma == std::string_view::npos ? std::string_view() : header.substr(comma + 1);
        while (!tag.empty() && tag.front() == ' ') tag.remove_prefix(1);
        while (!tag.empty() && tag.back() == ' ') tag.remove_suffix(1);
        if (tag.rfind("W/", 0) == 0) tag.remove_prefix(2);
        if (tag == "*" || tag == etag) return true;
    }
    return false;
}

// The most connections the open-file limit allows, the soft limit raised
// to the hard one first.
std::size_t ConnectionCap() {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) != 0) return kMaxConnections / 4;
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    getrlimit(RLIMIT_NOFILE, &files);
    if (files.rlim_cur <= 2 * kSpareFiles) return files.rlim_cur / 2;
    return std::min<std::size_t>(kMaxConnections, files.rlim_cur - kSpareFiles);
}

}  // namespace

struct BoardServer::Io {
    asio::io_context context;
    asio::ip::tcp::acceptor acceptor{asio::make_strand(context)};
    asio::steady_timer retry{acceptor.get_executor()};
    // After the context: destroyed first, its threads joined before the
    // context they post answers to goes.
    asio::thread_pool handlers{kHandlerThreads};
};

BoardServer::BoardServer(BoardStore& boardStore, WorkerPool& workers, const BoardOptions& given)
    : store(boardStore),
      pool(workers),
      options(given),
      limiter(given.rateLimit),
      cache(boardStore, kBoardSize),
      // Behind a trusted proxy every connection comes from the proxy, which
      // keeps its own count per client.
      limits({ConnectionCap(), given.trustProxy ? 0 : kMaxConnectionsPerAddress, kMaxBodies,
              kMaxBodiesPerAddress}),
      io(std::make_unique<Io>()) {}

BoardServer::~BoardServer() = default;

bool BoardServer::Bind(std::string& error) {
    boost::system::error_code failure;
    asio::ip::tcp::resolver resolver(io->context);
    const auto found = resolver.resolve(
        options.host, std::to_string(options.port),
        asio::ip::tcp::resolver::numeric_service | asio::ip::tcp::resolver::passive, failure);
    asio::ip::tcp::acceptor& acceptor = io->acceptor;
    if (!failure && found.empty()) failure = asio::error::host_not_found;
    if (!failure) acceptor.open(found.begin()->endpoint().protocol(), failure);
    // SO_REUSEADDR, to start again at once after a stop; not SO_REUSEPORT,
    // with which a second server on the same port would silently share its
    // requests instead of saying it cannot listen.
    if (!failure) acceptor.set_option(asio::socket_base::reuse_address(true), failure);
    if (!failure) acceptor.bind(found.begin()->endpoint(), failure);
    if (!failure) acceptor.listen(kListenBacklog, failure);
    if (failure) {
        error = "cannot listen on " + options.host + ":" + std::to_string(options.port) + ": " +
                failure.message();
        return false;
    }
    port = acceptor.local_endpoint().port();
    return true;
}

void BoardServer::Serve() {
    Accept();
    serving = true;
    std::vector<std::thread> others;
    for (int i = 1; i < kIoThreads; ++i) others.emplace_back([this] { io->context.run(); });
    io->context.run();
    for (std::thread& thread : others) thread.join();
    io->handlers.join();
}

void BoardServer::WaitUntilServing() const {
    while (!serving) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void BoardServer::Stop() {
    stopping = true;
    asio::post(io->acceptor.get_executor(), [this] {
        boost::system::error_code ignored;
        io->acceptor.close(ignored);
        io->retry.cancel();
    });
    const auto deadline = std::chrono::steady_clock::now() + kStopGrace;
    while (underWay > 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    io->context.stop();
}

void BoardServer::Accept() {
    io->acceptor.async_accept(asio::make_strand(io->context), [this](
                                                                  boost::system::error_code error,
                                                                  asio::ip::tcp::socket socket) {
        if (!io->acceptor.is_open()) return;
        if (error) {
            // Out of file descriptors, most likely: wait for some to
            // be given back rather than spin.
            io->retry.expires_after(kAcceptRetry);
            io->retry.async_wait([this](boost::system::error_code waited) {
                if (!waited) Accept();
            });
            return;
        }
        boost::system::error_code unknown;
        const std::string peer = socket.remote_endpoint(unknown).address().to_string();
        if (limits.Open(peer)) {
            // Answers go out whole at once; no waiting for more to send.
            socket.set_option(asio::ip::tcp::no_delay(true), unknown);
            std::make_shared<HttpConnection>(std::move(socket), peer, *this, io->handlers)->Start();
        } else {
            LogFailure(peer, 503, "connection refused: too many open");
        }
        Accept();
    });
}

bool BoardServer::Begin() {
    if (stopping) return false;
    underWay += 1;
    return true;
}

void BoardServer::Finished() { underWay -= 1; }

std::string BoardServer::ClientAddress(const HttpRequest& request, const std::string& peer) const {
    if (!options.trustProxy) return peer;
    // The proxy appends the address it saw; earlier entries are the
    // client's word.
    std::string last;
    const auto fields = request.equal_range("X-Forwarded-For");
    for (auto field = fields.first; field != fields.second; ++field) {
        const std::string chain(field->value());
        last = chain.substr(chain.rfind(',') + 1);
    }
    last.erase(0, last.find_first_not_of(' '));
    last.erase(last.find_last_not_of(' ') + 1);
    return last.empty() ? peer : last;
}

void BoardServer::LogRequest(const std::string& client, const HttpRequest& request,
                             unsigned status) const {
    const RequestTarget target(request.target());
    std::fprintf(stderr, "korvessa-board: %s %s %s %u\n", Printable(client).c_str(),
                 Printable(request.method_string()).c_str(), Printable(target.Path()).c_str(),
                 status);
}

void BoardServer::LogFailure(const std::string& client, int status, const std::string& what) const {
    std::fprintf(stderr, "korvessa-board: %s - - %d %s\n", Printable(client).c_str(), status,
                 Printable(what).c_str());
}

HttpResponse BoardServer::Malformed(unsigned status, const std::string& reason,
                                    std::string_view path) const {
    return Error(status, reason, path);
}

std::optional<HttpResponse> BoardServer::Screen(const HttpRequest& request,
                                                const std::string& client) {
    const RequestTarget target(request.target());
    const std::string_view path = target.Path();
    if (!IsKnownMethod(request.method())) return Error(501, DefaultReason(501), path);
    const Resource resource = Identify(target);
    if (resource == Resource::kNone) return Error(404, DefaultReason(404), path);
    if (!Allows(resource, request.method())) {
        HttpResponse refusal = Error(405, DefaultReason(405), path);
        refusal.set(http::field::allow, Allowed(resource));
        return refusal;
    }
    if (resource == Resource::kSubmissions) return RefuseSubmission(request, target, client);
    return std::nullopt;
}

std::optional<HttpResponse> BoardServer::RefuseSubmission(const HttpRequest& request,
                                                          const RequestTarget& target,
                                                          const std::string& client) {
    // Checked before the body is read, so none of these costs a megabyte.
    if (!limiter.Allow(client)) {
        HttpResponse refusal = Json(429, {{api::kError,
                                           "too many submissions from this address: at "
                                           "most " +
                                               std::to_string(options.rateLimit) + " a minute"}});
        refusal.set(http::field::retry_after, std::to_string(kSecondsPerMinute));
        return refusal;
    }
    const std::string nameProblem = board_rules::NameProblem(target.Param(api::kPlayerParam));
    if (!nameProblem.empty()) {
        return Json(400, {{api::kError, "a bad player name: " + nameProblem}});
    }
    std::string keyHash;
    if (!ownership::ReadAuthorization(Authorization(request), keyHash)) {
        return Json(400, {{api::kError, "a malformed Authorization header: Bearer and a key"}});
    }
    // Two lengths are one too many, even when they agree: a proxy in front
    // may have read the other.
    const auto lengths = request.equal_range(http::field::content_length);
    // A range's distance is never negative.
    const auto count = static_cast<std::size_t>(std::distance(lengths.first, lengths.second));
    if (count > 1) return Json(400, {{api::kError, "a bad Content-Length"}});
    if (count == 1) {
        const std::string_view length = lengths.first->value();
        if (length.empty() || length.find_first_not_of("0123456789") != std::string::npos) {
            return Json(400, {{api::kError, "a bad Content-Length"}});
        }
        if (length.size() > kMaxLengthDigits || std::stoul(std::string(length)) > kMaxReplayBytes) {
            return Json(413, {{api::kError, DefaultReason(413)}});
        }
    } else if (!request.chunked()) {
        return Json(411, {{api::kError, "the request needs a Content-Length"}});
    }
    return std::nullopt;
}

HttpResponse BoardServer::Answer(HttpRequest& request, const std::string& client) {
    const RequestTarget target(request.target());
    try {
        return Route(request, target, client);
    } catch (const StoreError& error) {
        std::fprintf(stderr, "korvessa-board: %s\n", OneLine(error.what()).c_str());
        return Error(503, DefaultReason(503), target.Path());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvessa-board: %s\n", OneLine(error.what()).c_str());
        return Error(500, DefaultReason(500), target.Path());
    }
}

HttpResponse BoardServer::Route(HttpRequest& request, const RequestTarget& target,
                                const std::string& client) {
    switch (Identify(target)) {
        case Resource::kSubmissions:
            return Submit(request, target, client);
        case Resource::kSubmission:
            return Status(*target.IdAfter(api::kSubmissionPrefix));
        case Resource::kBoard: {
            const std::uint32_t day = *target.DayAfter(api::kBoardPrefix);
            if (!submission_rules::IsDate(day)) return Json(404, {{api::kError, "no such day"}});
            return Board(request, day, false);
        }
        case Resource::kToday:
            return Board(request, Today(), true);
        case Resource::kDay: {
            const std::uint32_t day = *target.DayAfter(api::kDayPagePrefix);
            if (!submission_rules::IsDate(day)) {
                return Reply(404, board_page::Message("No such day", "No such day."), kHtmlType);
            }
            return Board(request, day, true);
        }
        case Resource::kReplay:
            return ReplayFile(*target.IdAfter(api::kReplayPrefix, replay_file::kExtension));
        case Resource::kWeb:
            return web.Answer(request, target, store, Today());
        case Resource::kNone:
            break;
    }
    return Error(404, DefaultReason(404), target.Path());
}

HttpResponse BoardServer::Submit(HttpRequest& request, const RequestTarget& target,
                                 const std::string& client) {
    std::string& body = request.body();
    Replay replay;
    std::string what;
    if (!replay_file::Decode(body, replay, what)) {
        return Json(400, {{api::kError, "not a valid replay: " + what}});
    }
    const std::string fieldProblem = submission_rules::FieldProblem(replay, std::time(nullptr));
    if (!fieldProblem.empty()) return Json(422, {{api::kError, fieldProblem}});
    NewSubmission submission;
    ownership::ReadAuthorization(Authorization(request), submission.keyHash);
    submission.player = target.Param(api::kPlayerParam);
    if (!ownership::MayUse(store.NameOwner(ownership::FoldName(submission.player)),
                           submission.keyHash)) {
        return Json(403, {{api::kError, ownership::kNameTaken}});
    }
    submission.address = client;
    submission.id = submission_id::Of(body);
    submission.day = replay.seed;
    // Moved, not copied: a megabyte held once.
    submission.replay = std::move(body);
    submission.receivedMs = NowMs();
    if (store.Add(submission)) {
        pool.Wake();
        return Json(202, {{api::kId, submission.id}, {api::kStatus, api::kPending}});
    }
    // The same file again: the same id, as it stands.
    const std::optional<Submission> kept = store.Find(submission.id);
    return Json(
        202, {{api::kId, submission.id},
              {api::kStatus, SubmissionStateName(kept ? kept->state : SubmissionState::kPending)}});
}

HttpResponse BoardServer::Status(const std::string& id) {
    const std::optional<Submission> submission = store.Find(id);
    if (!submission) return Json(404, {{api::kError, "no such submission"}});
    nlohmann::json json = StatusJson(*submission);
    if (submission->state == SubmissionState::kVerified) {
        const Standing standing = store.StandingOf(*submission);
        json[api::kRank] = standing.rank;
        json[api::kPlayers] = standing.players;
    }
    return Json(200, json);
}

BoardServer::TaggedBody BoardServer::BoardJsonOf(std::uint32_t day) {
    const auto kept =
        cache.Get(day, "json", [day](const std::vector<board_store::BoardEntry>& board) {
            nlohmann::json entries = nlohmann::json::array();
            for (const board_store::BoardEntry& entry : board) {
                entries.push_back({{api::kRank, entry.rank},
                                   {api::kPlayer, entry.player},
                                   {api::kScore, entry.score},
                                   {api::kTicks, entry.ticks},
                                   {api::kId, entry.id},
                                   {api::kReplay, api::ReplayPath(entry.id)}});
            }
            return nlohmann::json{{api::kDay, day}, {api::kEntries, entries}}.dump() + "\n";
        });
    return {kept->text, kept->etag};
}

BoardServer::TaggedBody BoardServer::BoardPageOf(std::uint32_t day) {
    // The page's links depend on today's date too.
    const std::uint32_t today = Today();
    const auto kept = cache.Get(
        day, "page " + std::to_string(today),
        [day, today](const auto& board) { return board_page::Render(day, today, board); });
    return {kept->text, kept->etag};
}

HttpResponse BoardServer::Board(const HttpRequest& request, std::uint32_t day, bool page) {
    TaggedBody tagged = page ? BoardPageOf(day) : BoardJsonOf(day);
    const bool recent = day >= submission_rules::AddDays(Today(), -1);
    HttpResponse response;
    if (NoneMatch(request[http::field::if_none_match], tagged.etag)) {
        response.result(http::status::not_modified);
    } else {
        response = Reply(200, std::move(tagged.body), page ? kHtmlType : kJsonType);
    }
    response.set(http::field::etag, tagged.etag);
    response.set(http::field::cache_control, recent ? kRecentCacheControl : kPastCacheControl);
    return response;
}

HttpResponse BoardServer::ReplayFile(const std::string& id) {
    std::optional<std::string> bytes = store.Replay(id);
    if (!bytes) return Error(404, DefaultReason(404), api::kReplayPrefix);
    return Reply(200, std::move(*bytes), api::kReplayType);
}
