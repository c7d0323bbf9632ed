#include "tests/board/BoardStandIn.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace testing_support {

namespace {

constexpr const char* kJson = "application/json";
constexpr int kScoreBase = 1000;
constexpr std::chrono::seconds kLongestHang{60};

// Submission n's id: 32 hex digits.
std::string IdOf(std::size_t n) {
    char id[33];
    std::snprintf(id, sizeof id, "%032zx", n + 1);
    return id;
}

}  // namespace

BoardStandIn::BoardStandIn(Mode given, int wanted)
    : mode(given), http(std::make_unique<httplib::Server>()) {
    Route();
    port = wanted == 0 ? http->bind_to_any_port("127.0.0.1")
                       : (http->bind_to_port("127.0.0.1", wanted) ? wanted : -1);
    if (port <= 0) throw std::runtime_error("the stand-in cannot listen");
    serving = std::thread([this] { http->listen_after_bind(); });
    while (!http->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

BoardStandIn::~BoardStandIn() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    released.notify_all();
    http->stop();
    serving.join();
}

std::vector<std::string> BoardStandIn::Received() const {
    std::lock_guard<std::mutex> lock(mutex);
    return bodies;
}

std::vector<std::string> BoardStandIn::Players() const {
    std::lock_guard<std::mutex> lock(mutex);
    return players;
}

std::vector<std::string> BoardStandIn::Authorizations() const {
    std::lock_guard<std::mutex> lock(mutex);
    return authorizations;
}

void BoardStandIn::Route() {
    // Every request first meets the mode's fault, if it has one.
    http->set_pre_routing_handler([this](const httplib::Request&, httplib::Response& response) {
        switch (mode) {
            case Mode::kFail:
                response.status = 503;
                response.set_content(R"({"error": "the board's database is unavailable"})", kJson);
                break;
            case Mode::kHang: {
                std::unique_lock<std::mutex> lock(mutex);
                released.wait_for(lock, kLongestHang, [this] { return stopping; });
                response.status = 503;
                break;
            }
            case Mode::kGarbage:
                response.status = 202;
                response.set_content("<html><body>It works!</body></html>", "text/html");
                break;
            case Mode::kCutOff:
                response.status = 202;
                response.set_content_provider(
                    64, kJson, [](std::size_t, std::size_t, httplib::DataSink& sink) {
                        sink.write(R"({"id": "0000)", 12);
                        return false;  // the connection is dropped here
                    });
                break;
            default:
                return httplib::Server::HandlerResponse::Unhandled;
        }
        return httplib::Server::HandlerResponse::Handled;
    });
    http->Post("/api/v1/submissions", [this](const httplib::Request& request,
                                             httplib::Response& response) {
        std::lock_guard<std::mutex> lock(mutex);
        bodies.push_back(request.body);
        players.push_back(request.get_param_value("player"));
        authorizations.push_back(request.get_header_value("Authorization"));
        asked.push_back(0);
        if (mode == Mode::kRefuse || mode == Mode::kNameTaken) {
            response.status = mode == Mode::kRefuse ? 422 : 403;
            const char* reason = mode == Mode::kRefuse ? kRefusal : kNameRefusal;
            response.set_content(std::string(R"({"error": ")") + reason + "\"}", kJson);
            return;
        }
        response.status = 202;
        response.set_content(R"({"id": ")" + IdOf(bodies.size() - 1) + R"(", "status": "pending"})",
                             kJson);
    });
    http->Get(R"(/api/v1/submissions/([0-9a-f]{32}))", [this](const httplib::Request& request,
                                                              httplib::Response& response) {
        std::lock_guard<std::mutex> lock(mutex);
        const std::size_t n = std::stoul(request.matches[1], nullptr, 16) - 1;
        if (n >= bodies.size()) {
            response.status = 404;
            response.set_content(R"({"error": "no such submission"})", kJson);
            return;
        }
        const std::string id = IdOf(n);
        if (asked[n]++ == 0) {
            response.set_content(R"({"id": ")" + id + R"(", "status": "pending"})", kJson);
            return;
        }
        response.set_content(R"({"id": ")" + id + R"(", "status": "verified", "player": "x", )" +
                                 R"("day": 20260614, "score": )" + std::to_string(kScoreBase + n) +
                                 R"(, "ticks": 4321, "rank": )" + std::to_string(n + 1) +
                                 R"(, "players": )" + std::to_string(bodies.size()) + "}",
                             kJson);
    });
    // The day's board: each submission a player, the first ranked first.
    http->Get(R"(/api/v1/boards/(\d{8}))", [this](const httplib::Request& request,
                                                  httplib::Response& response) {
        std::lock_guard<std::mutex> lock(mutex);
        std::string rows;
        for (std::size_t n = 0; n < bodies.size(); ++n) {
            rows += (n == 0 ? "" : ", ") + std::string(R"({"rank": )") + std::to_string(n + 1) +
                    R"(, "player": ")" + players[n] + R"(", "score": )" +
                    std::to_string(kScoreBase - n) + R"(, "ticks": 999, "id": ")" + IdOf(n) + "\"}";
        }
        response.set_content(
            R"({"day": )" + request.matches[1].str() + R"(, "entries": [)" + rows + "]}", kJson);
    });
}

}  // namespace testing_support
