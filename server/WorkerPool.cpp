#include "server/WorkerPool.h"

#include <SDL.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <random>

#include "game/GameApp.h"
#include "save/GameDigest.h"
#include "save/ReplayFile.h"
#include "save/ReplayVerifier.h"

namespace {

// Verifying yields to everything else, requests first: a POST waits for no
// replay, and a busy board slows no other service on its machine.
constexpr int kWorkerNiceness = 19;
// After a database failure, before trying again.
constexpr std::chrono::seconds kRetryAfterFailure{1};
// How often a verification looks at its lease: often enough for any speed,
// rarely enough to cost nothing.
constexpr std::uint32_t kTicksBetweenChecks = 256;
// A lease is renewed once this share of it has passed.
constexpr int kRenewalsPerLease = 3;

// Thrown out of the game's tick to stop a verification whose job was lost.
struct Abandoned {};

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// host:pid:random, so that no two processes sharing a database, on one
// machine or several, before a restart or after, ever share a name.
std::string ProcessName() {
    char host[256] = "";
    gethostname(host, sizeof host - 1);
    std::random_device random;
    return std::string(host) + ":" + std::to_string(getpid()) + ":" + std::to_string(random());
}

}  // namespace

WorkerPool::WorkerPool(BoardStore& boardStore, int count, std::chrono::seconds leaseTime)
    : store(boardStore), workers(count), lease(leaseTime), name(ProcessName()) {}

WorkerPool::~WorkerPool() { Stop(); }

void WorkerPool::Start() {
    for (int i = 0; i < workers; ++i) threads.emplace_back([this, i] { Work(i); });
}

void WorkerPool::Wake() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        wakeups += 1;
    }
    wake.notify_one();
}

void WorkerPool::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& thread : threads) thread.join();
    threads.clear();
}

void WorkerPool::Idle() {
    std::unique_lock<std::mutex> lock(mutex);
    wake.wait_for(lock, kIdlePoll, [this] { return stopping || wakeups > 0; });
    if (wakeups > 0) wakeups -= 1;
}

std::optional<Verdict> WorkerPool::Verify(const std::string& replayBytes,
                                          const std::function<bool()>& stillMine) {
    Verdict verdict;
    Replay replay;
    std::string what;
    if (!replay_file::Decode(replayBytes, replay, what)) {
        verdict.reason = "not a valid replay: " + what;
        return verdict;
    }
    std::uint32_t ticks = 0;
    // The recorded game's ticks only: the same game is the same whatever
    // came before it in its session.
    GameDigest digest;
    replay_verifier::Outcome outcome;
    try {
        outcome = replay_verifier::Check(
            replay,
            [&](const GameApp& app) {
                ticks += 1;
                if (ticks > replay.startTick) digest.AddTick(app);
                if (stillMine && ticks % kTicksBetweenChecks == 0 && !stillMine()) {
                    throw Abandoned();
                }
            },
            true);
    } catch (const Abandoned&) {
        return std::nullopt;
    }
    verdict.score = outcome.score;
    verdict.ticks = outcome.ticks;
    verdict.verified = outcome.Holds();
    if (verdict.verified) verdict.digest = digest.Hex();
    if (!verdict.verified) {
        verdict.reason = "replayed, it scores " + std::to_string(outcome.score);
        for (const std::string& problem : outcome.problems) verdict.reason += "; " + problem;
    }
    return verdict;
}

std::optional<Verdict> WorkerPool::Decide(const Job& job, const std::string& worker) {
    if (job.attempts > kMaxAttempts) {
        Verdict verdict;
        verdict.reason = "could not be verified: taken " + std::to_string(kMaxAttempts) +
                         " times without a verdict";
        return verdict;
    }
    const std::int64_t leaseMs = std::chrono::milliseconds(lease).count();
    auto renewed = std::chrono::steady_clock::now();
    const auto stillMine = [&] {
        const auto now = std::chrono::steady_clock::now();
        if (now - renewed < lease / kRenewalsPerLease) return true;
        renewed = now;
        try {
            return store.Renew(job, worker, NowMs() + leaseMs);
        } catch (const StoreError& error) {
            // The lease still runs for a while: try again at the next check.
            std::fprintf(stderr, "korvessa-board: %s: cannot renew its lease: %s\n", job.id.c_str(),
                         error.what());
            return true;
        }
    };
    try {
        std::optional<Verdict> verdict = Verify(job.replay, stillMine);
        if (!verdict) {
            std::fprintf(stderr, "korvessa-board: %s: its lease ran out; left to another worker\n",
                         job.id.c_str());
        }
        return verdict;
    } catch (const std::exception& error) {
        // Not the replay's fault (no memory, no font): left to its lease, for
        // this worker or another to take again.
        std::fprintf(stderr, "korvessa-board: %s: cannot verify: %s\n", job.id.c_str(),
                     error.what());
        return std::nullopt;
    }
}

void WorkerPool::Work(int index) {
    // Linux gives each thread its own niceness.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNiceness);
    const std::string worker = name + ":" + std::to_string(index);
    while (!stopping) {
        std::optional<Job> job;
        try {
            job = store.Take(worker, NowMs(), std::chrono::milliseconds(lease).count());
        } catch (const StoreError& error) {
            std::fprintf(stderr, "korvessa-board: cannot take a job: %s\n", error.what());
            std::this_thread::sleep_for(kRetryAfterFailure);
            continue;
        }
        if (!job) {
            Idle();
            continue;
        }
        std::optional<Verdict> verdict = Decide(*job, worker);
        if (!verdict) continue;
        try {
            if (store.Finish(*job, worker, *verdict, NowMs())) {
                if (verdict->verified) {
                    std::fprintf(stderr, "korvessa-board: %s verified: score %d, %u ticks\n",
                                 job->id.c_str(), verdict->score, verdict->ticks);
                } else {
                    std::fprintf(stderr, "korvessa-board: %s rejected: %s\n", job->id.c_str(),
                                 verdict->reason.c_str());
                }
            }
        } catch (const StoreError& error) {
            std::fprintf(stderr, "korvessa-board: %s: cannot record the verdict: %s\n",
                         job->id.c_str(), error.what());
        }
    }
    // The game's font loads through SDL, which keeps data for each thread
    // that it frees only when told.
    SDL_TLSCleanup();
}
