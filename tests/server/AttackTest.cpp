// The real korvessa-board against clients that try to take it off the air:
// slow or idle connections, floods of headers, many ranges, requests hidden
// after refused ones, many large bodies at once. Attackers connect from
// 127.0.0.2, so that a cap per address does not count the fresh client,
// which comes from 127.0.0.1 and must be answered within a second; the
// server's resident memory stays bounded throughout.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/server/ServerTest.h"
#include "tests/support/ResidentMemory.h"

namespace board_testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kAttacker = "127.0.0.2";
constexpr const char* kPlayer = "127.0.0.1";
constexpr long kMaxResident = 150L << 20;
constexpr std::chrono::seconds kAttackTime{10};
constexpr std::chrono::seconds kDrip{3};
constexpr double kMaxLatency = 1.0;
constexpr std::size_t kReplayBytes = 1 << 20;
constexpr const char* kNginx = "/usr/sbin/nginx";

// A connection to the server from `from`, with reads giving up after
// `timeout`; -1 if it cannot be had.
int Connect(int port, const char* from, std::chrono::seconds timeout = std::chrono::seconds(5)) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, from, &local.sin_addr);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, kPlayer, &server.sin_addr);
    timeval wait{static_cast<time_t>(timeout.count()), 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool Send(int fd, const std::string& bytes) {
    return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// Everything the server sends until it closes the connection (or the read
// times out: then `closed` is false).
std::string ReadAll(int fd, bool& closed) {
    std::string answer;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = recv(fd, buffer, sizeof buffer, 0)) > 0) answer.append(buffer, got);
    closed = got == 0;
    return answer;
}

// Seconds a new player's GET / takes to be answered 200; a large number
// when it is not.
double FreshGet(int port) {
    const auto start = Clock::now();
    const int fd = Connect(port, kPlayer);
    if (fd < 0) return 99;
    bool closed = false;
    const bool sent = Send(fd, "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    const std::string answer = sent ? ReadAll(fd, closed) : "";
    close(fd);
    if (answer.rfind("HTTP/1.1 200 ", 0) != 0) return 99;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        count += 1;
    }
    return count;
}

class AttackTest : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        rlimit files{};
        getrlimit(RLIMIT_NOFILE, &files);
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
        board = StartBoard({"--workers", "0", "--rate-limit", "0"});
        ASSERT_TRUE(board->Started()) << board->Log();
        idle = testing_support::ResidentBytesOf(board->Pid());
    }

    // The server's resident memory now and at its peak, checked against the
    // bound, and printed for the record.
    void ExpectMemoryBound(const char* attack) {
        const long peak = testing_support::PeakResidentBytesOf(board->Pid());
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        const long after = testing_support::ResidentBytesOf(board->Pid());
        std::printf("%s: RSS idle %ld MB, peak %ld MB, after %ld MB\n", attack, idle >> 20,
                    peak >> 20, after >> 20);
        EXPECT_LT(peak, kMaxResident);
        EXPECT_LT(after, idle + (16L << 20));
    }

    std::unique_ptr<BoardProcess> board;
    long idle = 0;
};

struct SlowAttack {
    const char* name;
    int connections;
    std::string opening;  // sent on connecting
    std::string drip;     // sent again every 3 s
};

// Named in gtest's messages by its name rather than its bytes.
void PrintTo(const SlowAttack& attack, std::ostream* out) { *out << attack.name; }

class SlowClientTest : public AttackTest, public ::testing::WithParamInterface<SlowAttack> {};

// Runs `attack` on `port` for a while, and returns the longest a fresh
// GET / took meanwhile.
double SlowestAnswerDuring(const SlowAttack& attack, int port) {
    std::vector<int> held;
    for (int i = 0; i < attack.connections; ++i) {
        const int fd = Connect(port, kAttacker);
        if (fd < 0) continue;
        Send(fd, attack.opening);
        held.push_back(fd);
    }
    double worst = 0;
    const auto end = Clock::now() + kAttackTime;
    auto nextDrip = Clock::now() + kDrip;
    while (Clock::now() < end) {
        if (Clock::now() >= nextDrip && !attack.drip.empty()) {
            for (const int fd : held) Send(fd, attack.drip);
            nextDrip += kDrip;
        }
        worst = std::max(worst, FreshGet(port));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    for (const int fd : held) close(fd);
    std::printf("%s: %zu connections, slowest fresh GET / %.3f s\n", attack.name, held.size(),
                worst);
    return worst;
}

const SlowAttack kSlowHeaders{"slow headers", 200, "GET / HTTP/1.1\r\nHost: x\r\n", "X-a: b\r\n"};

TEST_P(SlowClientTest, OthersAreAnsweredWithinASecond) {
    const SlowAttack& attack = GetParam();
    EXPECT_LT(SlowestAnswerDuring(attack, board->Port()), kMaxLatency);
    ExpectMemoryBound(attack.name);
    // Whoever held a connection without finishing a request is in the log.
    EXPECT_NE(board->Log().find(std::string("korvessa-board: ") + kAttacker + " - - "),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Attacks, SlowClientTest,
    ::testing::Values(SlowAttack{"slow headers", 200, "GET / HTTP/1.1\r\nHost: x\r\n",
                                 "X-a: b\r\n"},
                      SlowAttack{"slow bodies", 70,
                                 "POST /api/v1/submissions?player=ada HTTP/1.1\r\nHost: x\r\n"
                                 "Content-Length: 1000000\r\n\r\n",
                                 "x"},
                      SlowAttack{"idle connections", 1000, "", ""}),
    [](const ::testing::TestParamInfo<SlowAttack>& attack) {
        std::string name = attack.param.name;
        for (char& c : name) c = c == ' ' ? '_' : c;
        return name;
    });

TEST_F(AttackTest, FloodsOfHeadersAndRangesAreRefusedOrServedWhole) {
    // Endless headers: the request is refused and the connection closed
    // long before the flood ends.
    const int fd = Connect(board->Port(), kAttacker);
    ASSERT_GE(fd, 0);
    Send(fd, "GET / HTTP/1.1\r\nHost: x\r\n");
    const std::string filler(8000, 'h');
    int sent = 0;
    const auto start = Clock::now();
    while (Clock::now() < start + kAttackTime &&
           Send(fd, "X-h" + std::to_string(sent) + ": " + filler + "\r\n")) {
        sent += 1;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    bool closed = false;
    const std::string answer = ReadAll(fd, closed);
    close(fd);
    // What comes after the refusal is read and thrown away for a moment,
    // then the connection is closed.
    std::printf("header flood: closed after %.1f s (%d headers sent)\n", seconds, sent);
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(answer.rfind("HTTP/1.1 431 ", 0), 0u) << answer.substr(0, 200);

    // 400 ranges of a replay: the file once, whole.
    BoardClient client(board->Port());
    const std::string replay = TodaysReplay(3);
    const Answer taken = client.Submit(replay, "ada");
    ASSERT_EQ(taken.status, 202) << taken.body << board->Log();
    std::string ranges = "bytes=0-";
    for (int i = 1; i < 400; ++i) ranges += ",0-";
    const std::string whole =
        client.Raw("GET /replays/" + taken.json.value("id", "") +
                   ".kvr HTTP/1.1\r\nHost: x\r\nRange: " + ranges + "\r\n\r\n");
    EXPECT_EQ(whole.rfind("HTTP/1.1 200 ", 0), 0u) << whole.substr(0, 200);
    EXPECT_EQ(whole.substr(whole.find("\r\n\r\n") + 4), replay);
    ExpectMemoryBound("header flood and ranges");
}

TEST_F(AttackTest, NothingAfterARefusedRequestIsReadAsAnother) {
    const std::string next = "GET / HTTP/1.1\r\nHost: x\r\n\r\n";
    const std::string hidden = "GET /daily/20260101 HTTP/1.1\r\nHost: x\r\n\r\n";
    const std::string post = "POST /api/v1/submissions?player=ada HTTP/1.1\r\nHost: x\r\n";
    const std::pair<std::string, const char*> refused[] = {
        // A bad name, refused before its body, which holds a request.
        {"POST /api/v1/submissions?player= HTTP/1.1\r\nHost: x\r\nContent-Length: " +
             std::to_string(hidden.size()) + "\r\n\r\n" + hidden,
         "400"},
        {post + "Content-Length: 5\r\nContent-Length: 5\r\n\r\nhello", "400"},
        {post + "Content-Length: 5\r\nContent-Length: 6\r\n\r\nhello!", "400"},
        {post + "\r\n", "411"},
        // Sent whole: its answer still comes, rather than a reset.
        {post + "Content-Length: 2000000\r\n\r\n" + std::string(2000000, 'x'), "413"},
        {"FOO / HTTP/1.1\r\nHost: x\r\n\r\n", "501"},
        {"DELETE /api/v1/boards/20260101 HTTP/1.1\r\nHost: x\r\n\r\n", "405"},
    };
    for (const auto& [request, status] : refused) {
        const int fd = Connect(board->Port(), kPlayer);
        ASSERT_GE(fd, 0);
        Send(fd, request + next);
        bool closed = false;
        const std::string answer = ReadAll(fd, closed);
        close(fd);
        EXPECT_EQ(answer.rfind(std::string("HTTP/1.1 ") + status + " ", 0), 0u)
            << request << "\n"
            << answer.substr(0, answer.find("\r\n"));
        EXPECT_EQ(Occurrences(answer, "HTTP/1.1 "), 1) << request << "\n" << answer;
        EXPECT_TRUE(closed) << request;
    }
    EXPECT_NE(board->Log().find("DELETE /api/v1/boards/20260101 405"), std::string::npos);
}

TEST_F(AttackTest, ManyLargeBodiesAtOnceKeepMemoryBound) {
    // 64 bodies of 1 MB held by the server at once: each sent but for its
    // last byte, which comes once all are in; from two addresses, as many
    // as the server takes from each.
    const std::string head =
        "POST /api/v1/submissions?player=ada HTTP/1.1\r\nHost: x\r\n"
        "Content-Length: " +
        std::to_string(kReplayBytes) + "\r\n\r\n";
    const std::string bulk(kReplayBytes - 1, 'k');
    const char* const from[] = {kPlayer, "127.0.0.3"};
    std::vector<std::thread> senders;
    std::vector<std::string> answers(64);
    std::atomic<int> waiting{static_cast<int>(answers.size())};
    for (std::size_t i = 0; i < answers.size(); ++i) {
        senders.emplace_back([&, i] {
            const int fd = Connect(board->Port(), from[i % 2], std::chrono::seconds(20));
            const bool sent = fd >= 0 && Send(fd, head + bulk);
            waiting -= 1;
            const auto deadline = Clock::now() + std::chrono::seconds(10);
            while (waiting > 0 && Clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            bool closed = false;
            if (sent && Send(fd, "k")) answers[i] = ReadAll(fd, closed);
            if (fd >= 0) close(fd);
        });
    }
    for (std::thread& sender : senders) sender.join();
    int read = 0;
    for (const std::string& answer : answers) {
        // Read whole, and found to be no replay.
        if (answer.rfind("HTTP/1.1 400 ", 0) == 0) read += 1;
    }
    std::printf("64 bodies of 1 MB at once: %d read\n", read);
    EXPECT_EQ(read, 64);
    EXPECT_LT(FreshGet(board->Port()), kMaxLatency);
    ExpectMemoryBound("64 bodies of 1 MB");
}

// nginx started by the test with the README's configuration (the file the
// README shows), in front of the board on free ports.
class NginxProcess {
public:
    NginxProcess(const std::string& folder, int boardPort) : port(FreePort()) {
        std::ifstream kept(KORVESSA_NGINX_CONF);
        std::string board((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
        board = std::regex_replace(board, std::regex("127\\.0\\.0\\.1:8080"),
                                   "127.0.0.1:" + std::to_string(boardPort));
        std::ofstream(folder + "/board.conf") << board;
        std::ofstream(folder + "/nginx.conf")
            << "daemon off;\nmaster_process off;\npid " << folder << "/nginx.pid;\n"
            << "error_log " << folder << "/error.log;\nevents { worker_connections 2048; }\n"
            << "http {\n  access_log off;\n"
            << "  client_body_temp_path " << folder << "/body;\n"
            << "  proxy_temp_path " << folder << "/proxy;\n"
            << "  fastcgi_temp_path " << folder << "/fastcgi;\n"
            << "  uwsgi_temp_path " << folder << "/uwsgi;\n"
            << "  scgi_temp_path " << folder << "/scgi;\n"
            << "  server {\n    listen 127.0.0.1:" << port << ";\n    include " << folder
            << "/board.conf;\n  }\n}\n";
        const std::string config = folder + "/nginx.conf";
        const std::string errors = folder + "/error.log";
        pid = fork();
        if (pid == 0) {
            execl(kNginx, kNginx, "-p", folder.c_str(), "-c", config.c_str(), "-e", errors.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < deadline) {
            const int fd = Connect(port, kPlayer);
            if (fd >= 0) {
                close(fd);
                ready = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~NginxProcess() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }

    const int port;
    pid_t pid = -1;
    bool ready = false;
};

TEST_F(AttackTest, BehindNginxSlowClientsWaitOnTheProxyAndPlayersKeepTheirAddress) {
    if (access(kNginx, X_OK) != 0) GTEST_SKIP() << "nginx is not installed";
    board->Stop(SIGTERM);
    board = StartBoard({"--workers", "0", "--trust-proxy"}, "proxied.log");
    ASSERT_TRUE(board->Started()) << board->Log();
    NginxProcess nginx(folder, board->Port());
    ASSERT_TRUE(nginx.ready) << ReadFile(folder + "/error.log");

    EXPECT_LT(SlowestAnswerDuring(kSlowHeaders, nginx.port), kMaxLatency);
    // A submission through the proxy, from another address: taken, and
    // counted as that address's.
    const std::string replay = TodaysReplay(3);
    const int fd = Connect(nginx.port, kAttacker);
    ASSERT_GE(fd, 0);
    Send(fd, "POST /api/v1/submissions?player=ada HTTP/1.1\r\nHost: x\r\nContent-Length: " +
                 std::to_string(replay.size()) + "\r\nConnection: close\r\n\r\n" + replay);
    bool closed = false;
    const std::string answer = ReadAll(fd, closed);
    close(fd);
    EXPECT_EQ(answer.rfind("HTTP/1.1 202 ", 0), 0u) << answer;
    EXPECT_NE(board->Log().find(std::string(kAttacker) + " POST /api/v1/submissions 202"),
              std::string::npos)
        << board->Log();
}

}  // namespace
}  // namespace board_testing
