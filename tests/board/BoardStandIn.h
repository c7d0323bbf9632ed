// A stand-in for the daily board's server, in the test's own process: the
// board's API on a local port, or one of the ways a server goes wrong.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace testing_support {

class BoardStandIn {
public:
    enum class Mode {
        kBoard,      // takes every replay and verifies it at the second asking
        kRefuse,     // answers every submission 422 with a reason
        kNameTaken,  // answers every submission 403: the name is another's
        kFail,       // answers everything 503
        kHang,       // never answers (until the stand-in is destroyed)
        kGarbage,    // answers 202 with a web page
        kCutOff,     // starts an answer and closes the connection midway
    };
    static constexpr const char* kRefusal = "not the day's field: not a daily game";
    static constexpr const char* kNameRefusal = "the name belongs to another player";

    // Serves on 127.0.0.1, on `port` or on a free one when 0.
    explicit BoardStandIn(Mode mode = Mode::kBoard, int port = 0);
    // Lets go of any hanging request, then stops.
    ~BoardStandIn();

    int Port() const { return port; }
    std::string Address() const { return "http://127.0.0.1:" + std::to_string(port); }

    // The bodies of the submissions received, in order, and their players.
    std::vector<std::string> Received() const;
    std::vector<std::string> Players() const;
    // Their Authorization headers ("" for none).
    std::vector<std::string> Authorizations() const;

private:
    void Route();

    const Mode mode;
    std::unique_ptr<httplib::Server> http;
    int port = 0;
    std::thread serving;
    mutable std::mutex mutex;
    std::condition_variable released;
    bool stopping = false;
    std::vector<std::string> bodies;
    std::vector<std::string> players;
    std::vector<std::string> authorizations;
    std::vector<int> asked;  // status requests per submission
};

}  // namespace testing_support
