// Worker threads that take pending submissions from the database's queue,
// replay each with the game's own code and record the verdict.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "server/BoardStore.h"

class WorkerPool {
public:
    // With no news from this process, how often an idle worker looks at the
    // queue again (for jobs from other processes and for leases run out).
    static constexpr std::chrono::milliseconds kIdlePoll{500};
    // A job taken this many times without a verdict kills its worker each
    // time (or outlives its lease each time): it is rejected, not retried.
    static constexpr int kMaxAttempts = 3;

    // `store` must outlive the pool.
    WorkerPool(BoardStore& store, int workers, std::chrono::seconds lease);
    ~WorkerPool();

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void Start();

    // A submission has just been added: an idle worker looks at once.
    void Wake();

    // Lets every verification under way finish and be recorded, then joins
    // the threads. Takes no new job.
    void Stop();

    // How one submission's bytes verify: rejected when they are not a valid
    // replay, when it does not reach the score it records or its game does
    // not end in its last tick (stopping at the first tick that shows it);
    // verified, with the score and ticks reached and the game's digest,
    // otherwise. Needs the font the game loads. `stillMine`, when given, is
    // asked every few hundred ticks whether to go on; when it says no,
    // nothing is returned.
    static std::optional<Verdict> Verify(const std::string& replayBytes,
                                         const std::function<bool()>& stillMine = nullptr);

private:
    void Work(int index);
    // The verdict on `job`, renewing its lease as the game plays; nothing
    // when the lease was lost (the job is another worker's now).
    std::optional<Verdict> Decide(const Job& job, const std::string& worker);
    // Waits until woken, stopped or kIdlePoll has passed.
    void Idle();

    BoardStore& store;
    const int workers;
    const std::chrono::seconds lease;
    const std::string name;  // this process, unique among all sharing the store
    std::vector<std::thread> threads;
    std::atomic<bool> stopping{false};
    std::mutex mutex;
    std::condition_variable wake;
    unsigned wakeups = 0;
};
