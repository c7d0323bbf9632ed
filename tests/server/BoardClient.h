// A test's side of the board's HTTP API.
#pragma once

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace httplib {
class Client;
}

namespace board_testing {

struct Answer {
    int status = 0;  // 0 when no answer came
    std::string body;
    nlohmann::json json;  // the body, when it is JSON
};

class BoardClient {
public:
    explicit BoardClient(int port);
    ~BoardClient();

    // POST /api/v1/submissions?player=NAME with `replay` as the body, and
    // `authorization` and `forwardedFor` (X-Forwarded-For, for a server that
    // trusts it) as those headers unless empty.
    Answer Submit(const std::string& replay, const std::string& player,
                  const std::string& authorization = "", const std::string& forwardedFor = "");
    Answer Get(const std::string& path);

    // Sends `request` as it is on a connection of its own and returns the
    // response that comes back (what came, if it is not whole in a few
    // seconds).
    std::string Raw(const std::string& request);

    // Polls the submission until it is verified or rejected; its last status
    // either way (still pending after `timeout`).
    nlohmann::json AwaitDecision(const std::string& id,
                                 std::chrono::seconds timeout = std::chrono::seconds(60));

private:
    int port;
    std::unique_ptr<httplib::Client> http;
};

// The bytes of a file.
std::string ReadFile(const std::string& path);

}  // namespace board_testing
