#include "tests/board/BoardStandIn.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "board/BoardApi.h"

namespace testing_support {

namespace {

namespace api = board_api;
using Json = nlohmann::json;

constexpr const char* kJson = "application/json";
constexpr int kScoreBase = 1000;
constexpr std::chrono::seconds kLongestHang{60};
constexpr std::uint32_t kVerifiedDay = 20260614;
constexpr std::uint32_t kVerifiedTicks = 4321;
constexpr std::uint32_t kBoardTicks = 999;

void Answer(httplib::Response& response, const Json& body) {
    response.set_content(body.dump(), kJson);
}

Json Error(const std::string& reason) { return {{api::kError, reason}}; }

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
                Answer(response, Error("the board's database is unavailable"));
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
                        const std::string cut = Json{{api::kId, IdOf(0)}}.dump().substr(0, 12);
                        sink.write(cut.data(), cut.size());
                        return false;  // the connection is dropped here
                    });
                break;
            default:
                return httplib::Server::HandlerResponse::Unhandled;
        }
        return httplib::Server::HandlerResponse::Handled;
    });
    http->Post(api::kSubmissionsPath, [this](const httplib::Request& request,
                                             httplib::Response& response) {
        std::lock_guard<std::mutex> lock(mutex);
        bodies.push_back(request.body);
        players.push_back(request.get_param_value(api::kPlayerParam));
        authorizations.push_back(request.get_header_value("Authorization"));
        asked.push_back(0);
        if (mode == Mode::kRefuse || mode == Mode::kNameTaken) {
            response.status = mode == Mode::kRefuse ? 422 : 403;
            const char* reason = mode == Mode::kRefuse ? kRefusal : kNameRefusal;
            Answer(response, Error(reason));
            return;
        }
        response.status = 202;
        Answer(response, {{api::kId, IdOf(bodies.size() - 1)}, {api::kStatus, api::kPending}});
    });
    http->Get(api::kSubmissionPrefix + std::string("([0-9a-f]{32})"),
              [this](const httplib::Request& request, httplib::Response& response) {
                  std::lock_guard<std::mutex> lock(mutex);
                  const std::size_t n = std::stoul(request.matches[1], nullptr, 16) - 1;
                  if (n >= bodies.size()) {
                      response.status = 404;
                      Answer(response, Error("no such submission"));
                      return;
                  }
                  const std::string id = IdOf(n);
                  if (asked[n]++ == 0) {
                      Answer(response, {{api::kId, id}, {api::kStatus, api::kPending}});
                      return;
                  }
                  Answer(response, {{api::kId, id},
                                    {api::kStatus, api::kVerified},
                                    {api::kPlayer, "x"},
                                    {api::kDay, kVerifiedDay},
                                    {api::kScore, kScoreBase + n},
                                    {api::kTicks, kVerifiedTicks},
                                    {api::kRank, n + 1},
                                    {api::kPlayers, bodies.size()}});
              });
    // The day's board: each submission a player, the first ranked first.
    http->Get(api::kBoardPrefix + std::string(R"((\d{8}))"),
              [this](const httplib::Request& request, httplib::Response& response) {
                  std::lock_guard<std::mutex> lock(mutex);
                  Json rows = Json::array();
                  for (std::size_t n = 0; n < bodies.size(); ++n) {
                      rows.push_back({{api::kRank, n + 1},
                                      {api::kPlayer, players[n]},
                                      {api::kScore, kScoreBase - static_cast<int>(n)},
                                      {api::kTicks, kBoardTicks},
                                      {api::kId, IdOf(n)}});
                  }
                  Answer(response, {{api::kDay, std::stoul(request.matches[1].str())},
                                    {api::kEntries, rows}});
              });
}

}  // namespace testing_support
