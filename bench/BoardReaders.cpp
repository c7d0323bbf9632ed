// The board of a crowded day, read and written at once.
//
//   korvessa_board_readers fill --database DB --players N
//       fills today's board through the store itself (no verifying): N
//       players, every fifth with a second game, many scores tied.
//   korvessa_board_readers read --port N --players N [--server-pid N]
//       [--readers 50] [--seconds 10] [--posters 0] [--queue 0] REPLAY...
//       first sends `--queue` of the replays untimed, so that the workers
//       verify during what follows; then `--readers` clients each ask, over
//       one connection, for the day's board as JSON, its page and the status
//       of a filled game in turn, for `--seconds` or, with `--posters`, until
//       those clients have sent the other replays one after another. Prints
//       the latency of each kind of request (median, 99th percentile,
//       worst), requests per second and the server's CPU time.
//
// The readers send no If-None-Match: every answer is a whole body, the
// board's dearest case.

#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/LoadProbe.h"
#include "board/BoardApi.h"
#include "save/SeedKind.h"
#include "server/BoardStore.h"
#include "server/OpenStore.h"

namespace {

using Clock = std::chrono::steady_clock;
using load_probe::CpuSeconds;
using load_probe::Milliseconds;
using load_probe::ReadFile;

constexpr double kReadTargetMs = 50.0;
constexpr double kPostTargetMs = 100.0;
constexpr int kSecondGameEvery = 5;
// Scores repeat this often, so that many players tie.
constexpr int kDistinctScores = 997;
constexpr std::int64_t kIdBase = 0x6b76000000;
constexpr int kTimeoutSeconds = 120;

struct Options {
    std::string mode;
    std::string database;
    int port = 0;
    int serverPid = 0;
    int players = 10000;
    int readers = 50;
    int seconds = 10;
    int posters = 0;
    int queue = 0;
    std::vector<std::string> replays;
};

// The filled games: submission `n` is of player n % players.
int Submissions(int players) { return players + players / kSecondGameEvery; }

std::string FilledId(int n) {
    char id[33];
    std::snprintf(id, sizeof id, "%032" PRIx64, static_cast<std::uint64_t>(kIdBase + n));
    return id;
}

int Fill(const Options& options) {
    std::unique_ptr<BoardStore> store;
    try {
        store = OpenStore(options.database);
        const std::uint32_t today = DailySeed(std::time(nullptr));
        const Clock::time_point start = Clock::now();
        for (int n = 0; n < Submissions(options.players); ++n) {
            NewSubmission submission;
            submission.id = FilledId(n);
            submission.player = "player" + std::to_string(n % options.players);
            submission.day = today;
            submission.replay = "filled";
            submission.receivedMs = n;
            store->Add(submission);
            const std::optional<Job> job = store->Take("fill", 0, 1);
            if (!job) throw StoreError("the queue did not hand back the game just added");
            Verdict verdict;
            verdict.verified = true;
            verdict.score = static_cast<std::int32_t>((n * 7919L) % kDistinctScores) * 10;
            verdict.ticks = static_cast<std::uint32_t>(1000 + n % 5000);
            store->Finish(*job, "fill", verdict, n);
        }
        std::printf("filled %d games of %d players on %u in %.1f s\n", Submissions(options.players),
                    options.players, today,
                    std::chrono::duration<double>(Clock::now() - start).count());
    } catch (const StoreError& error) {
        std::fprintf(stderr, "korvessa_board_readers: %s\n", error.what());
        return 1;
    }
    return 0;
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

enum Kind { kJson, kPage, kStatus, kPost, kKinds };
constexpr const char* kKindNames[] = {"board JSON", "board page", "submission status", "POST"};

struct Timings {
    std::vector<double> ms[kKinds];
    int failures = 0;
};

std::unique_ptr<httplib::Client> Connect(int port) {
    auto http = std::make_unique<httplib::Client>("127.0.0.1", port);
    http->set_tcp_nodelay(true);
    http->set_read_timeout(kTimeoutSeconds, 0);
    return http;
}

bool Post(httplib::Client& http, const std::string& replay, const std::string& player) {
    const httplib::Result result =
        http.Post(board_api::SubmitPath(player).c_str(), replay, board_api::kReplayType);
    return result && result->status == 202;
}

void Read(const Options& options, std::uint32_t day, int reader, const std::atomic<bool>& done,
          Timings& timings) {
    auto http = Connect(options.port);
    std::mt19937 random(static_cast<unsigned>(reader));
    const std::string paths[] = {board_api::BoardPath(day), board_api::DayPagePath(day)};
    for (int n = reader; !done; ++n) {
        const Kind kind = static_cast<Kind>(n % 3);
        const std::string path =
            kind == kStatus ? board_api::SubmissionPath(FilledId(static_cast<int>(
                                  random() % static_cast<unsigned>(Submissions(options.players)))))
                            : paths[kind];
        const Clock::time_point start = Clock::now();
        const httplib::Result result = http->Get(path.c_str());
        timings.ms[kind].push_back(Milliseconds(Clock::now() - start));
        if (!result || result->status != 200) timings.failures += 1;
    }
}

void Send(const Options& options, const std::vector<std::string>& files, int poster,
          Timings& timings) {
    auto http = Connect(options.port);
    for (std::size_t n = static_cast<std::size_t>(poster); n < files.size();
         n += static_cast<std::size_t>(options.posters)) {
        const Clock::time_point start = Clock::now();
        const bool taken = Post(*http, files[n], "poster" + std::to_string(poster));
        timings.ms[kPost].push_back(Milliseconds(Clock::now() - start));
        if (!taken) timings.failures += 1;
    }
}

int ReadAndWrite(const Options& options) {
    std::vector<std::string> files;
    for (const std::string& path : options.replays) files.push_back(ReadFile(path));
    const std::size_t queued = std::min(files.size(), static_cast<std::size_t>(options.queue));
    {
        auto http = Connect(options.port);
        for (std::size_t n = 0; n < queued; ++n) {
            if (!Post(*http, files[n], "queue")) {
                std::fprintf(stderr, "korvessa_board_readers: a queued POST was refused\n");
                return 1;
            }
        }
    }
    files.erase(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(queued));

    const std::uint32_t day = DailySeed(std::time(nullptr));
    std::vector<Timings> timings(static_cast<std::size_t>(options.readers + options.posters));
    std::atomic<bool> done{false};
    const double cpuStart = options.serverPid != 0 ? CpuSeconds(options.serverPid) : 0;
    const Clock::time_point start = Clock::now();
    std::vector<std::thread> readers;
    for (int r = 0; r < options.readers; ++r) {
        readers.emplace_back([&, r] { Read(options, day, r, done, timings[r]); });
    }
    if (options.posters > 0) {
        std::vector<std::thread> posters;
        for (int p = 0; p < options.posters; ++p) {
            posters.emplace_back([&, p] { Send(options, files, p, timings[options.readers + p]); });
        }
        for (std::thread& poster : posters) poster.join();
    } else {
        std::this_thread::sleep_for(std::chrono::seconds(options.seconds));
    }
    done = true;
    for (std::thread& reader : readers) reader.join();
    const double seconds = Milliseconds(Clock::now() - start) / 1000.0;
    const double cpu = options.serverPid != 0 ? CpuSeconds(options.serverPid) - cpuStart : 0;

    Timings all;
    for (const Timings& each : timings) {
        for (int k = 0; k < kKinds; ++k)
            all.ms[k].insert(all.ms[k].end(), each.ms[k].begin(), each.ms[k].end());
        all.failures += each.failures;
    }
    std::size_t reads = 0;
    bool met = true;
    std::printf("%d players, %d readers, %d posters, %.1f s (server CPU %.1f s):\n",
                options.players, options.readers, options.posters, seconds, cpu);
    for (int k = 0; k < kKinds; ++k) {
        if (all.ms[k].empty()) continue;
        const double target = k == kPost ? kPostTargetMs : kReadTargetMs;
        const double p99 = Percentile(all.ms[k], 0.99);
        met = met && p99 < target;
        if (k != kPost) reads += all.ms[k].size();
        std::printf(
            "  %-17s %6zu requests: median %7.1f ms, p99 %7.1f ms (target < %.0f), worst %7.1f "
            "ms\n",
            kKindNames[k], all.ms[k].size(), Percentile(all.ms[k], 0.5), p99, target,
            *std::max_element(all.ms[k].begin(), all.ms[k].end()));
    }
    std::printf("  %.0f reads per second; %d failed; targets %s\n",
                static_cast<double>(reads) / seconds, all.failures, met ? "met" : "missed");
    return all.failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    if (argc > 1) options.mode = argv[1];
    for (int i = 2; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        const auto number = [&](int least) { return std::max(least, std::atoi(argv[++i])); };
        if (std::strcmp(argv[i], "--database") == 0 && hasValue) {
            options.database = argv[++i];
        } else if (std::strcmp(argv[i], "--port") == 0 && hasValue) {
            options.port = number(0);
        } else if (std::strcmp(argv[i], "--server-pid") == 0 && hasValue) {
            options.serverPid = number(0);
        } else if (std::strcmp(argv[i], "--players") == 0 && hasValue) {
            options.players = number(1);
        } else if (std::strcmp(argv[i], "--readers") == 0 && hasValue) {
            options.readers = number(0);
        } else if (std::strcmp(argv[i], "--seconds") == 0 && hasValue) {
            options.seconds = number(1);
        } else if (std::strcmp(argv[i], "--posters") == 0 && hasValue) {
            options.posters = number(0);
        } else if (std::strcmp(argv[i], "--queue") == 0 && hasValue) {
            options.queue = number(0);
        } else {
            options.replays.push_back(argv[i]);
        }
    }
    if (options.mode == "fill" && !options.database.empty()) return Fill(options);
    if (options.mode == "read" && options.port != 0) return ReadAndWrite(options);
    std::fprintf(stderr,
                 "usage: korvessa_board_readers fill --database DB --players N\n"
                 "       korvessa_board_readers read --port N --players N [--server-pid N]"
                 " [--readers 50] [--seconds 10] [--posters 0] [--queue 0] REPLAY...\n");
    return 2;
}
