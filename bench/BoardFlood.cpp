// What one sender can make the score server spend. First the CPU time the
// server's own verification (WorkerPool::Verify, on the GL that draws
// nothing) takes for the costliest file the board takes at a POST, and for
// the costliest of before, which the POST now refuses: min, median and max
// of a few runs, by the thread's CPU clock. Then, given a running
// korvessa-board that trusts X-Forwarded-For, one address sends 30 of the
// costliest files (the rate limit's worth) and another address an honest
// game: how long the honest game waits for its verdict. Fails when that is
// 10 s or more.
//
//   korvessa_board_flood [--runs N] [--port N]

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "board/BoardApi.h"
#include "save/ReplayFile.h"
#include "save/ReplayVerifier.h"
#include "save/SeedKind.h"
#include "server/BoardServer.h"
#include "server/SubmissionRules.h"
#include "server/WorkerPool.h"
#include "tests/support/DailyReplay.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFloodFiles = 30;
constexpr double kTargetSeconds = 10.0;
// The costliest of before: a megabyte of redraws at tick 0, three hours of
// ticks.
constexpr int kOldRedrawsAtTickZero = 1040000;

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// CPU seconds of each verification of `bytes`, sorted.
std::vector<double> VerifyCosts(const std::string& bytes, int runs, std::string& verdict) {
    std::vector<double> costs;
    for (int i = 0; i < runs; ++i) {
        const double start = ThreadCpuSeconds();
        const std::optional<Verdict> decided = WorkerPool::Verify(bytes);
        costs.push_back(ThreadCpuSeconds() - start);
        verdict = decided && decided->verified ? "verified" : decided ? decided->reason : "none";
    }
    std::sort(costs.begin(), costs.end());
    return costs;
}

void PrintCosts(const char* what, const std::vector<double>& costs, const std::string& verdict) {
    std::printf("%s: CPU %.2f s min, %.2f s median, %.2f s max (%zu runs); %s\n", what,
                costs.front(), costs[costs.size() / 2], costs.back(), costs.size(),
                verdict.c_str());
}

std::string Post(httplib::Client& client, const std::string& bytes, const std::string& player,
                 const std::string& address) {
    const httplib::Headers headers{{"X-Forwarded-For", address}};
    const auto answer =
        client.Post(board_api::SubmitPath(player).c_str(), headers, bytes, board_api::kReplayType);
    if (!answer || answer->status != 202) {
        std::fprintf(stderr, "korvessa_board_flood: the POST was not taken: %s\n",
                     answer ? answer->body.c_str() : "no answer");
        return "";
    }
    return nlohmann::json::parse(answer->body).value(board_api::kId, "");
}

}  // namespace

int main(int argc, char* argv[]) {
    int runs = 5;
    int port = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--port") == 0) port = std::atoi(argv[i + 1]);
    }
    const std::uint32_t today = DailySeed(std::time(nullptr));
    const Replay costliest = testing_support::CostliestDailyFile(
        today, BoardServer::kMaxReplayBytes, submission_rules::kMaxTicks,
        submission_rules::kMaxReleasesPerTick);
    const std::string costly = replay_file::Encode(costliest);
    std::printf("the costliest file taken: %zu bytes, %zu actions, %u ticks\n", costly.size(),
                costliest.events.size(), costliest.tickCount);
    std::string verdict;
    PrintCosts("  verified", VerifyCosts(costly, runs, verdict), verdict);

    Replay old = costliest;
    old.events.assign(kOldRedrawsAtTickZero, ReplayEvent{0, ReplayAction::kRedraw});
    const std::string oldBytes = replay_file::Encode(old);
    std::printf("the costliest file of before: %zu bytes, refused at the POST: %s\n",
                oldBytes.size(), submission_rules::FieldProblem(old, std::time(nullptr)).c_str());
    PrintCosts("  had it been verified", VerifyCosts(oldBytes, 1, verdict), verdict);
    // As workers verified before: every tick played, whatever the first
    // ones showed.
    const double before = ThreadCpuSeconds();
    replay_verifier::Check(old);
    std::printf("  played to its last tick, as before: CPU %.2f s\n", ThreadCpuSeconds() - before);
    if (port == 0) return 0;

    httplib::Client client("127.0.0.1", port);
    const Replay honest = testing_support::RecordDailyGame(today, 2);
    const Clock::time_point floodStart = Clock::now();
    Replay flooding = costliest;
    for (int i = 0; i < kFloodFiles; ++i) {
        flooding.score -= 1;
        if (Post(client, replay_file::Encode(flooding), "flood", "10.0.0.1").empty()) return 1;
    }
    std::printf("%d of the costliest files sent from one address in %.2f s\n", kFloodFiles,
                std::chrono::duration<double>(Clock::now() - floodStart).count());
    const Clock::time_point start = Clock::now();
    const std::string id = Post(client, replay_file::Encode(honest), "honest", "10.0.0.2");
    if (id.empty()) return 1;
    std::string status = board_api::kPending;
    while (status == board_api::kPending &&
           std::chrono::duration<double>(Clock::now() - start).count() < 6 * kTargetSeconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto answer = client.Get(board_api::SubmissionPath(id).c_str());
        if (answer && answer->status == 200) {
            status =
                nlohmann::json::parse(answer->body).value(board_api::kStatus, board_api::kPending);
        }
    }
    const double waited = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("an honest game from another address: %s after %.2f s (target: under %.0f s)\n",
                status.c_str(), waited, kTargetSeconds);
    return status == board_api::kVerified && waited < kTargetSeconds ? 0 : 1;
}
