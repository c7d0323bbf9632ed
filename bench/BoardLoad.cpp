// Loads a running korvessa-board: many clients at once, each sending its own
// replays one after another over one connection, then waits until every
// submission is decided. Prints submissions per second, the POST latency
// (median, 99th percentile, worst) and how many submissions were still
// waiting for a worker when the last POST was answered (the POSTs were
// timed while the workers were busy), then the verified ticks per second
// per worker and, given the server's process id, per second of the CPU time
// the server used (what one core verifies, whatever else the machine runs).
//
//   korvessa_board_load --port N --workers N [--server-pid N] [--clients 50]
//                       [--each 20] REPLAY...

#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/LoadProbe.h"
#include "board/BoardApi.h"

namespace {

using Clock = std::chrono::steady_clock;
using load_probe::CpuSeconds;
using load_probe::Milliseconds;
using load_probe::ReadFile;

constexpr double kTargetP99Ms = 100.0;

struct Options {
    int port = 0;
    int serverPid = 0;
    int workers = 1;
    int clients = 50;
    int each = 20;
    std::vector<std::string> replays;
};

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1));
    return values[index];
}

// One client's submissions; false when one was not taken.
bool Send(const Options& options, const std::vector<std::string>& files, int client,
          std::vector<double>& latencies, std::vector<std::string>& ids) {
    httplib::Client http("127.0.0.1", options.port);
    http.set_tcp_nodelay(true);  // as browsers and curl do
    const std::string path = board_api::SubmitPath("load" + std::to_string(client));
    for (int n = 0; n < options.each; ++n) {
        const std::string& replay = files[client * options.each + n];
        const Clock::time_point start = Clock::now();
        const httplib::Result result = http.Post(path.c_str(), replay, board_api::kReplayType);
        latencies.push_back(Milliseconds(Clock::now() - start));
        if (!result || result->status != 202) {
            std::fprintf(stderr, "korvessa_board_load: POST answered %d\n",
                         result ? result->status : 0);
            return false;
        }
        ids.push_back(nlohmann::json::parse(result->body).value(board_api::kId, ""));
    }
    return true;
}

// Polls until every id is decided; the ticks of those verified.
std::uint64_t AwaitDecisions(const Options& options, const std::vector<std::string>& ids,
                             int& pendingAtStart, int& rejected) {
    httplib::Client http("127.0.0.1", options.port);
    std::uint64_t ticks = 0;
    pendingAtStart = -1;
    rejected = 0;
    for (std::size_t next = 0; next < ids.size();) {
        const httplib::Result result = http.Get(board_api::SubmissionPath(ids[next]).c_str());
        const nlohmann::json status =
            result ? nlohmann::json::parse(result->body, nullptr, false) : nlohmann::json();
        const std::string state = status.is_object() ? status.value(board_api::kStatus, "") : "";
        if (state == board_api::kPending) {
            if (pendingAtStart < 0) pendingAtStart = static_cast<int>(ids.size() - next);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        ticks += state == board_api::kVerified ? status.value(board_api::kTicks, 0u) : 0;
        rejected += state != board_api::kVerified;
        next += 1;
    }
    if (pendingAtStart < 0) pendingAtStart = 0;
    return ticks;
}

}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--port") == 0 && hasValue) {
            options.port = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--server-pid") == 0 && hasValue) {
            options.serverPid = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--workers") == 0 && hasValue) {
            options.workers = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--clients") == 0 && hasValue) {
            options.clients = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--each") == 0 && hasValue) {
            options.each = std::max(1, std::atoi(argv[++i]));
        } else {
            options.replays.push_back(argv[i]);
        }
    }
    const std::size_t needed = static_cast<std::size_t>(options.clients) * options.each;
    if (options.port == 0 || options.replays.size() < needed) {
        std::fprintf(stderr,
                     "usage: korvessa_board_load --port N --workers N [--clients N]"
                     " [--each N] REPLAY... (clients x each distinct replays)\n");
        return 2;
    }
    std::vector<std::string> files;
    for (std::size_t i = 0; i < needed; ++i) files.push_back(ReadFile(options.replays[i]));

    std::vector<std::vector<double>> latencies(options.clients);
    std::vector<std::vector<std::string>> ids(options.clients);
    std::atomic<bool> allTaken{true};
    const double cpuStart = options.serverPid != 0 ? CpuSeconds(options.serverPid) : 0;
    const Clock::time_point start = Clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < options.clients; ++c) {
        clients.emplace_back([&, c] {
            if (!Send(options, files, c, latencies[c], ids[c])) allTaken = false;
        });
    }
    for (std::thread& client : clients) client.join();
    const Clock::duration posting = Clock::now() - start;
    if (!allTaken) return 1;

    std::vector<double> all;
    std::vector<std::string> allIds;
    for (int c = 0; c < options.clients; ++c) {
        all.insert(all.end(), latencies[c].begin(), latencies[c].end());
        allIds.insert(allIds.end(), ids[c].begin(), ids[c].end());
    }
    const double seconds = Milliseconds(posting) / 1000.0;
    const double p99 = Percentile(all, 0.99);
    std::printf("%zu submissions from %d clients in %.2f s: %.0f submissions per second\n",
                all.size(), options.clients, seconds, static_cast<double>(all.size()) / seconds);
    std::printf(
        "POST latency: median %.1f ms, 99th percentile %.1f ms (target < %.0f), worst "
        "%.1f ms\n",
        Percentile(all, 0.5), p99, kTargetP99Ms, *std::max_element(all.begin(), all.end()));
    std::fflush(stdout);
    int pending = 0;
    int rejected = 0;
    const std::uint64_t ticks = AwaitDecisions(options, allIds, pending, rejected);
    const Clock::duration verifying = Clock::now() - start;
    const double cpu = options.serverPid != 0 ? CpuSeconds(options.serverPid) - cpuStart : 0;
    std::printf("still waiting for a worker when the last POST was answered: %d of %zu\n", pending,
                allIds.size());
    std::printf(
        "all decided after %.2f s (%d rejected): %llu ticks verified, %.0f ticks per "
        "second per worker (%d workers)\n",
        Milliseconds(verifying) / 1000.0, rejected, static_cast<unsigned long long>(ticks),
        static_cast<double>(ticks) / (Milliseconds(verifying) / 1000.0) / options.workers,
        options.workers);
    if (cpu > 0) {
        std::printf("the server used %.2f s of CPU: %.0f ticks verified per CPU second\n", cpu,
                    static_cast<double>(ticks) / cpu);
    }
    return rejected == 0 && p99 < kTargetP99Ms ? 0 : 1;
}
