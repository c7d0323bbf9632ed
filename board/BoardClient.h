// The daily board's HTTP API, as the game uses it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "board/BoardAddress.h"

typedef void CURL;
typedef void CURLM;
class CurlLibrary;

// How the board judged a submitted game.
struct BoardVerdict {
    enum class State { kPending, kVerified, kRejected };
    State state = State::kPending;
    int score = 0;  // verified: the score the server's replay reached
    std::uint32_t ticks = 0;
    int rank = 0;        // verified: its place on its day's board, from 1
    int players = 0;     // verified: how many players that board holds
    std::string reason;  // rejected: why, in a few words
};

namespace board_client {

// A row of a day's board: a player's best verified game that day.
struct BoardEntry {
    int rank = 0;
    std::string player;
    int score = 0;
    std::uint32_t ticks = 0;
};

}  // namespace board_client

// How long a request may take: a few seconds, then it has failed.
struct BoardTimeouts {
    long connectMs = 4000;
    long totalMs = 8000;
};

// Asking after a taken game's verdict: how often, and for how long.
struct BoardPolling {
    int intervalMs = 500;
    int limitMs = 60000;
};

// One curl handle talking to one board, blocking: run it off the main thread
// (BoardSender does). Each call is one request with the timeouts below; only
// http and https are spoken, certificates are checked and redirects are not
// followed. Not thread-safe; one thread at a time. libcurl is loaded when the
// first client is made (CurlLibrary); without it every request is kFailed,
// as with a board that cannot be reached, and Problem() says why.
class BoardClient {
public:
    enum class Result {
        kDone,     // answered as the API says; the out-parameter is filled
        kRefused,  // a 4xx: asking again will not change the answer
        kFailed,   // unreachable, too slow, cut off, a 5xx or an answer that
                   // is not the API's: it may go better later
    };
    // Far more than any answer of the API.
    static constexpr std::size_t kMaxAnswerBytes = 256 * 1024;

    // Loads and sets up libcurl once for the process; call it on the main
    // thread before any other thread uses libcurl (BoardClient calls it too).
    static void SetUpLibrary();

    // A set `cancel` ends a request under way within a fraction of a second,
    // as kFailed; the flag must outlive the client.
    explicit BoardClient(const BoardAddress& address, BoardTimeouts timeouts = {},
                         const std::atomic<bool>* cancel = nullptr);
    ~BoardClient();
    BoardClient(const BoardClient&) = delete;
    BoardClient& operator=(const BoardClient&) = delete;

    // POST /api/v1/submissions?player=NAME with a replay file's bytes and,
    // unless `key` is empty, "Authorization: Bearer KEY" (BoardKey): the
    // submission's id on kDone. A name another key owns is refused (403).
    Result Submit(const std::string& replay, const std::string& player, std::string& id,
                  const std::string& key = "");
    // GET /api/v1/submissions/ID.
    Result Status(const std::string& id, BoardVerdict& verdict);
    // Status() until the game is verified or rejected (kDone), the limit
    // passes or the request fails (kFailed), or it is cancelled.
    Result AwaitVerdict(const std::string& id, const BoardPolling& polling, BoardVerdict& verdict);
    // GET /api/v1/boards/YYYYMMDD: the day's entries, best first.
    Result Board(std::uint32_t day, std::vector<board_client::BoardEntry>& entries);

    // After a result other than kDone, one line saying what happened: for
    // kRefused the server's own reason.
    const std::string& Problem() const { return problem; }
    // After kFailed: whether the board answered, but not as the API says.
    bool AnsweredNonsense() const { return nonsense; }
    const BoardAddress& Address() const { return address; }

private:
    // One request, a POST when `postBody` is given: kDone for a 2xx answer,
    // whose body is then in `body`.
    Result Request(const std::string& url, const std::string* postBody, std::string& body,
                   const std::string& authorization = "");
    // An answer that is not the API's, `what` saying how.
    Result Nonsense(const std::string& what);

    BoardAddress address;
    BoardTimeouts timeouts;
    const std::atomic<bool>* cancel;
    std::unique_ptr<CurlLibrary> curl;
    std::string unloaded;  // why libcurl could not be loaded, if it could not
    CURL* handle = nullptr;
    CURLM* multi = nullptr;
    std::string problem;
    bool nonsense = false;
};
