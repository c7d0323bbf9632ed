#include "tests/server/BoardProcess.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/server/BoardClient.h"

namespace board_testing {

namespace {

constexpr std::chrono::seconds kStartTimeout{20};
constexpr std::chrono::milliseconds kPoll{20};

}  // namespace

BoardProcess::BoardProcess(const std::vector<std::string>& arguments, const std::string& log)
    : workerOnly(std::find(arguments.begin(), arguments.end(), "--worker-only") != arguments.end()),
      logPath(log) {
    std::vector<std::string> words{KORVESSA_BOARD_BINARY, "--listen", "127.0.0.1:0"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (logFd < 0) return;
    pid = fork();
    if (pid == 0) {
        dup2(logFd, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(logFd);
    if (pid < 0) return;
    // A log shared by several runs: only what this one writes counts.
    const std::size_t before = Log().size();
    const std::regex listening("listening on http://127\\.0\\.0\\.1:(\\d+)");
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string written = Log().substr(before);
        std::smatch match;
        if (std::regex_search(written, match, listening)) {
            port = std::stoi(match[1]);
            return;
        }
        if (workerOnly && written.find("verifying with") != std::string::npos) return;
        if (waitpid(pid, nullptr, WNOHANG) == pid) break;
        std::this_thread::sleep_for(kPoll);
    }
    pid = -1;
}

BoardProcess::~BoardProcess() {
    if (pid > 0) Stop(SIGKILL);
}

int BoardProcess::Stop(int signal, std::chrono::seconds timeout) {
    if (pid <= 0) return -1;
    kill(pid, signal);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            pid = -1;
            return -1;
        }
        std::this_thread::sleep_for(kPoll);
    }
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string BoardProcess::Log() const { return ReadFile(logPath); }

int Decisions(const std::string& log, const std::string& id) {
    int count = 0;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("korvessa-board: " + id + " verified:", 0) == 0 ||
            line.rfind("korvessa-board: " + id + " rejected:", 0) == 0) {
            count += 1;
        }
    }
    return count;
}

int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

}  // namespace board_testing
