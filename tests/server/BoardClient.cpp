#include "tests/server/BoardClient.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "board/BoardApi.h"

namespace board_testing {

namespace {

constexpr std::chrono::milliseconds kPoll{50};
constexpr int kRawTimeoutSeconds = 5;

Answer From(const httplib::Result& result) {
    Answer answer;
    if (!result) return answer;
    answer.status = result->status;
    answer.body = result->body;
    answer.json = nlohmann::json::parse(answer.body, nullptr, false);
    return answer;
}

// Whether `answer` holds a whole response: its headers and as many bytes as
// its Content-Length says.
bool Complete(const std::string& answer) {
    const std::size_t end = answer.find("\r\n\r\n");
    if (end == std::string::npos) return false;
    const std::size_t length = answer.find("Content-Length: ");
    if (length == std::string::npos || length > end) return true;
    return answer.size() >= end + 4 + std::stoul(answer.substr(length + 16));
}

}  // namespace

BoardClient::BoardClient(int serverPort)
    : port(serverPort), http(std::make_unique<httplib::Client>("127.0.0.1", serverPort)) {
    http->set_read_timeout(std::chrono::seconds(30));
    // Paths are encoded here, once.
    http->set_url_encode(false);
}

BoardClient::~BoardClient() = default;

Answer BoardClient::Submit(const std::string& replay, const std::string& player,
                           const std::string& authorization, const std::string& forwardedFor) {
    const std::string path = board_api::SubmitPath(httplib::detail::encode_query_param(player));
    httplib::Headers headers;
    if (!authorization.empty()) headers.emplace("Authorization", authorization);
    if (!forwardedFor.empty()) headers.emplace("X-Forwarded-For", forwardedFor);
    return From(http->Post(path.c_str(), headers, replay, board_api::kReplayType));
}

Answer BoardClient::Get(const std::string& path) { return From(http->Get(path.c_str())); }

nlohmann::json BoardClient::AwaitDecision(const std::string& id, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    nlohmann::json status;
    while (std::chrono::steady_clock::now() < deadline) {
        status = Get(board_api::SubmissionPath(id)).json;
        if (status.is_object() && status.value(board_api::kStatus, "") != board_api::kPending)
            break;
        std::this_thread::sleep_for(kPoll);
    }
    return status;
}

std::string BoardClient::Raw(const std::string& request) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
        timeval timeout{kRawTimeoutSeconds, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        char buffer[4096];
        ssize_t got = 0;
        while (!Complete(answer) && (got = recv(fd, buffer, sizeof buffer, 0)) > 0) {
            answer.append(buffer, got);
        }
    }
    close(fd);
    return answer;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

}  // namespace board_testing
