#include "board/BoardSender.h"

#include <ctime>

#include "board/BoardKey.h"
#include "board/BoardRules.h"
#include "save/ReplayFile.h"

using Result = BoardClient::Result;

namespace {

constexpr const char* kNotSent = "not sent before the board was closed";
constexpr const char* kVerdictNotAwaited = "sent; its verdict was not awaited as the board closed";

}  // namespace

BoardSender::BoardSender(const BoardAddress& boardAddress, std::string playerName,
                         PendingQueue pending, std::function<void()> wakeUp, BoardTimeouts limits,
                         BoardPolling asking)
    : address(boardAddress),
      player(std::move(playerName)),
      queue(std::move(pending)),
      wake(std::move(wakeUp)),
      timeouts(limits),
      polling(asking) {
    // libcurl is set up here, on the caller's thread, before the worker's
    // first request.
    BoardClient::SetUpLibrary();
    worker = std::thread(&BoardSender::Work, this);
}

BoardSender::~BoardSender() { Close(); }

std::vector<BoardReport> BoardSender::Close() {
    if (worker.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        worker.join();
    }
    return TakeReports();
}

std::uint64_t BoardSender::SendGame(const Replay& replay) {
    if (!board_rules::ReplayProblem(replay).empty()) return 0;
    Job job;
    job.kind = Job::Kind::kGame;
    job.game = replay;
    return Queue(std::move(job));
}

void BoardSender::SendPending() { Queue(Job()); }

std::uint64_t BoardSender::FetchBoard(std::uint32_t day) {
    Job job;
    job.kind = Job::Kind::kBoard;
    job.day = day;
    return Queue(std::move(job));
}

std::vector<BoardReport> BoardSender::TakeReports() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<BoardReport> taken;
    taken.swap(reports);
    return taken;
}

std::uint64_t BoardSender::Queue(Job job) {
    std::uint64_t ticket = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        ticket = job.ticket = ++lastTicket;
        jobs.push_back(std::move(job));
    }
    changed.notify_all();
    return ticket;
}

void BoardSender::Report(BoardReport report) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        reports.push_back(std::move(report));
    }
    if (wake) wake();
}

void BoardSender::Warn(const std::string& line) {
    BoardReport report;
    report.line = line;
    Report(std::move(report));
}

void BoardSender::Work() {
    // The worker's own handle, used by no other thread.
    BoardClient client(address, timeouts, &stopping);
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [this] { return stopping || !jobs.empty(); });
            if (jobs.empty()) return;
            job = std::move(jobs.front());
            jobs.pop_front();
        }
        if (stopping) {
            // Closing: nothing more is sent, but no game is lost.
            if (job.kind == Job::Kind::kGame) KeepUnsent(job);
            continue;
        }
        switch (job.kind) {
            case Job::Kind::kGame:
                DoGame(client, job);
                break;
            case Job::Kind::kPending:
                DoPending(client);
                break;
            case Job::Kind::kBoard:
                DoBoard(client, job);
                break;
        }
    }
}

std::string BoardSender::Keep(const Replay& game) {
    std::string name;
    std::string error;
    std::vector<std::string> dropped;
    const bool kept =
        queue.Add(replay_file::Encode(game), std::time(nullptr), name, dropped, error);
    for (const std::string& oldest : dropped) {
        Warn("more than " + std::to_string(PendingQueue::kMaxFiles) +
             " replays wait for the board: dropped the oldest, " + oldest);
    }
    if (!kept) Warn(error);
    return kept ? name : "";
}

void BoardSender::KeepUnsent(const Job& job) {
    BoardReport report;
    report.kind = BoardReport::Kind::kKept;
    report.ticket = job.ticket;
    const std::string kept = Keep(job.game);
    report.line = kNotSent + (kept.empty() ? "" : "; the replay waits in " + queue.Path());
    // No wake: nobody waits for events any more.
    std::lock_guard<std::mutex> lock(mutex);
    reports.push_back(std::move(report));
}

void BoardSender::DoGame(BoardClient& client, const Job& job) {
    // Kept before it is sent: whatever happens to the game or the
    // connection, it is not lost.
    const std::string kept = Keep(job.game);
    BoardReport report;
    report.ticket = job.ticket;
    std::string id;
    const Result sent = client.Submit(replay_file::Encode(job.game), player, id, Key());
    if (sent == Result::kFailed) {
        report.kind = BoardReport::Kind::kKept;
        // Cancelled by Close(): the client's complaint would only be about that.
        report.line = (stopping ? std::string(kNotSent) : client.Problem()) +
                      (kept.empty() ? "" : "; the replay waits in " + queue.Path());
        report.nonsense = !stopping && client.AnsweredNonsense();
        return Report(std::move(report));
    }
    if (!kept.empty()) queue.Remove(kept);
    if (sent == Result::kRefused) {
        report.kind = BoardReport::Kind::kRefused;
        report.line = client.Problem();
        return Report(std::move(report));
    }
    const Result judged = client.AwaitVerdict(id, polling, report.verdict);
    if (judged != Result::kDone) {
        report.kind = BoardReport::Kind::kUnverified;
        report.line = stopping ? kVerdictNotAwaited : client.Problem();
    } else if (report.verdict.state == BoardVerdict::State::kVerified) {
        report.kind = BoardReport::Kind::kVerified;
    } else {
        report.kind = BoardReport::Kind::kRefused;
        report.line = report.verdict.reason;
    }
    Report(std::move(report));
    // The board is there: what waited for it goes now.
    DoPending(client);
}

void BoardSender::DoPending(BoardClient& client) {
    for (const std::string& name : queue.Names()) {
        if (stopping) return;
        std::string bytes;
        std::string error;
        Replay game;
        if (!queue.Read(name, bytes, error)) {
            Warn(error);
            continue;
        }
        std::string problem;
        if (!replay_file::Decode(bytes, game, problem) ||
            !(problem = board_rules::ReplayProblem(game)).empty()) {
            queue.Remove(name);
            Warn("dropped " + queue.Path() + name + ", which the board would not take: " + problem);
            continue;
        }
        std::string id;
        const Result sent = client.Submit(bytes, player, id, Key());
        if (sent == Result::kFailed) {
            // The rest waits for the next start or the next game taken.
            const std::size_t waiting = queue.Names().size();
            return Warn(client.Problem() + "; " + std::to_string(waiting) +
                        (waiting == 1 ? " replay waits in " : " replays wait in ") + queue.Path());
        }
        queue.Remove(name);
        if (sent == Result::kRefused) {
            Warn("the board refused " + name + ", which waited to be sent: " + client.Problem());
        }
    }
}

std::string BoardSender::Key() {
    std::string key;
    std::string error;
    // Without its key the game is still sent: under a name no one owns, it
    // ranks all the same.
    if (!BoardKey(queue.Folder()).Get(key, error)) Warn(error);
    return key;
}

void BoardSender::DoBoard(BoardClient& client, const Job& job) {
    BoardReport report;
    report.ticket = job.ticket;
    if (client.Board(job.day, report.entries) == Result::kDone) {
        report.kind = BoardReport::Kind::kBoard;
    } else {
        report.kind = BoardReport::Kind::kNoBoard;
        report.line = client.Problem();
    }
    Report(std::move(report));
}
