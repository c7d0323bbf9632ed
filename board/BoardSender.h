// Talking to the daily board without ever holding up the game.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "board/BoardClient.h"
#include "board/PendingQueue.h"
#include "save/Replay.h"

// What the sender has to say, taken by the main thread.
struct BoardReport {
    enum class Kind {
        kVerified,    // the game is on the board: `verdict` says where
        kRefused,     // the board will not take it: `line` says why
        kKept,        // not sent: it waits in pending/ (`line` says why)
        kUnverified,  // taken, but the verdict did not come in time
        kBoard,       // a day's board: `entries`
        kNoBoard,     // the day's board could not be had: `line` says why
        kWarning,     // something for standard error only
    };
    Kind kind = Kind::kWarning;
    std::uint64_t ticket = 0;  // of the request it answers; 0 for none
    std::string line;          // one line, without the "korvessa: " prefix
    bool nonsense = false;     // kKept: the board answered, but not as its API says
    BoardVerdict verdict;
    std::vector<board_client::BoardEntry> entries;
};

// A worker thread that owns its BoardClient and does, in order, what the
// main thread asks: each call here only queues a job and returns at once.
// Reports come back through TakeReports(); `wake` is called (on the worker
// thread) whenever there is one, so an event loop blocked on its events can
// be woken to take them.
//
// Sending a game: it is written to the pending queue first, then sent; taken
// (202) or refused (4xx) it leaves the queue, otherwise it waits there. Once
// a send is taken, the games waiting in the queue are sent, oldest first,
// until one fails. SendPending() does the same at start-up.
//
// Close() (and the destructor, which calls it) cancels a request under way at
// once, writes any game not yet queued to the pending queue (no game is lost
// by quitting) and joins.
class BoardSender {
public:
    BoardSender(const BoardAddress& address, std::string player, PendingQueue queue,
                std::function<void()> wake, BoardTimeouts timeouts = {}, BoardPolling polling = {});
    ~BoardSender();
    BoardSender(const BoardSender&) = delete;
    BoardSender& operator=(const BoardSender&) = delete;

    // Sends a finished game; its report carries the returned ticket. A game
    // the board does not take (board_rules::ReplayProblem) is not sent, and
    // 0 returned.
    std::uint64_t SendGame(const Replay& replay);
    // Sends the games waiting in the pending queue.
    void SendPending();
    // Fetches a day's board (YYYYMMDD); its report carries the ticket.
    std::uint64_t FetchBoard(std::uint32_t day);

    // The reports so far, oldest first; each is taken once.
    std::vector<BoardReport> TakeReports();
    // Stops for good and returns the reports not yet taken: every game that
    // was not sent has a kKept one, so a screen showing it as being sent
    // can say where it went.
    std::vector<BoardReport> Close();

private:
    struct Job {
        enum class Kind { kGame, kPending, kBoard };
        Kind kind = Kind::kPending;
        std::uint64_t ticket = 0;
        Replay game;            // kGame
        std::uint32_t day = 0;  // kBoard
    };

    void Work();
    // Writes a game to the pending queue; its file name, or empty when it
    // could not be written.
    std::string Keep(const Replay& game);
    // Keeps a game that closing leaves unsent, and reports so.
    void KeepUnsent(const Job& job);
    void DoGame(BoardClient& client, const Job& job);
    void DoPending(BoardClient& client);
    void DoBoard(BoardClient& client, const Job& job);
    // The player's board key (BoardKey), made on first use; empty, after a
    // warning, when it can be neither read nor made.
    std::string Key();
    void Report(BoardReport report);
    void Warn(const std::string& line);
    std::uint64_t Queue(Job job);

    BoardAddress address;
    const std::string player;
    PendingQueue queue;
    const std::function<void()> wake;
    const BoardTimeouts timeouts;
    const BoardPolling polling;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> jobs;
    std::vector<BoardReport> reports;
    std::uint64_t lastTicket = 0;
    std::atomic<bool> stopping{false};
    std::thread worker;  // last: started once everything above is ready
};
