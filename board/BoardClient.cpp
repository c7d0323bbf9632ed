#include "board/BoardClient.h"

#include <chrono>
#include <limits>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

#include "board/BoardApi.h"
#include "board/CurlLibrary.h"

namespace {

using Json = nlohmann::json;
using Result = BoardClient::Result;

namespace api = board_api;

constexpr const char* kUserAgent = "korvessa/" KORVESSA_VERSION;
// The server's ids are 32 hex digits; anything else never reaches a URL.
constexpr std::size_t kMaxIdLength = 64;
// A reason longer than this is cut: it has to fit one line.
constexpr std::size_t kMaxReasonLength = 160;
constexpr long kHttpOk = 200;
constexpr long kFirstClientError = 400;
constexpr long kFirstServerError = 500;
constexpr long kLastServerError = 599;

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* target) {
    auto& body = *static_cast<std::string*>(target);
    const std::size_t bytes = size * count;
    // Returning less than given ends the transfer: an answer this large is
    // not the API's.
    if (body.size() + bytes > BoardClient::kMaxAnswerBytes) return 0;
    body.append(data, bytes);
    return bytes;
}

// One line of plain text, whatever the server sent.
std::string OneLine(const std::string& text) {
    std::string line = text.substr(0, kMaxReasonLength);
    for (char& c : line) {
        if (c < ' ' || c > '~') c = ' ';
    }
    return line;
}

bool IsId(const std::string& id) {
    if (id.empty() || id.size() > kMaxIdLength) return false;
    for (const char c : id) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        if (!hex) return false;
    }
    return true;
}

// A whole number field of `object` from `min` to `max`.
template <typename Number>
bool Field(const Json& object, const char* name, Number min, Number max, Number& value) {
    const auto found = object.find(name);
    if (found == object.end() || !found->is_number_integer()) return false;
    const long long number = found->get<long long>();
    if (number < static_cast<long long>(min) || number > static_cast<long long>(max)) return false;
    value = static_cast<Number>(number);
    return true;
}

bool Field(const Json& object, const char* name, std::string& value) {
    const auto found = object.find(name);
    if (found == object.end() || !found->is_string()) return false;
    value = found->get<std::string>();
    return true;
}

// The "error" of a JSON answer, or nothing.
std::string ErrorOf(const std::string& body) {
    const Json answer = Json::parse(body, nullptr, false);
    std::string reason;
    if (answer.is_object()) Field(answer, api::kError, reason);
    return OneLine(reason);
}

bool ReadVerdict(const Json& answer, BoardVerdict& verdict) {
    constexpr int kMaxInt = std::numeric_limits<int>::max();
    std::string state;
    if (!Field(answer, api::kStatus, state)) return false;
    BoardVerdict read;
    if (state == api::kPending) {
        read.state = BoardVerdict::State::kPending;
    } else if (state == api::kRejected) {
        read.state = BoardVerdict::State::kRejected;
        if (!Field(answer, api::kReason, read.reason)) return false;
        read.reason = OneLine(read.reason);
    } else if (state == api::kVerified) {
        read.state = BoardVerdict::State::kVerified;
        const bool complete =
            Field(answer, api::kScore, 0, kMaxInt, read.score) &&
            Field(answer, api::kTicks, 0u, std::numeric_limits<std::uint32_t>::max(), read.ticks) &&
            Field(answer, api::kRank, 1, kMaxInt, read.rank) &&
            Field(answer, api::kPlayers, 1, kMaxInt, read.players);
        if (!complete || read.rank > read.players) return false;
    } else {
        return false;
    }
    verdict = read;
    return true;
}

bool ReadEntries(const Json& answer, std::vector<board_client::BoardEntry>& entries) {
    constexpr int kMaxInt = std::numeric_limits<int>::max();
    const auto rows = answer.find(api::kEntries);
    if (rows == answer.end() || !rows->is_array()) return false;
    std::vector<board_client::BoardEntry> read;
    for (const Json& row : *rows) {
        board_client::BoardEntry entry;
        const bool complete =
            row.is_object() && Field(row, api::kRank, 1, kMaxInt, entry.rank) &&
            Field(row, api::kPlayer, entry.player) &&
            Field(row, api::kScore, 0, kMaxInt, entry.score) &&
            Field(row, api::kTicks, 0u, std::numeric_limits<std::uint32_t>::max(), entry.ticks);
        if (!complete) return false;
        entry.player = OneLine(entry.player);
        read.push_back(entry);
    }
    entries = std::move(read);
    return true;
}

// Runs the transfer set up on `handle`; curl's result.
CURLcode Perform(const CurlLibrary& curl, CURLM* multi, CURL* handle,
                 const std::atomic<bool>* cancel) {
    // Through the multi interface, which waits in short steps, so that a
    // cancel is seen at once even while the server is silent.
    constexpr int kStepMs = 50;
    curl.MultiAddHandle(multi, handle);
    int running = 1;
    CURLcode code = CURLE_OK;
    while (running != 0) {
        if (curl.MultiPerform(multi, &running) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0) break;
        if (cancel != nullptr && cancel->load()) {
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        curl.MultiPoll(multi, nullptr, 0, kStepMs, nullptr);
    }
    int left = 0;
    while (const CURLMsg* message = curl.MultiInfoRead(multi, &left)) {
        if (message->msg == CURLMSG_DONE) code = message->data.result;
    }
    curl.MultiRemoveHandle(multi, handle);
    return code;
}

}  // namespace

void BoardClient::SetUpLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Without the library there is nothing to set up: each client then
        // finds that out for itself and says so.
        CurlLibrary library;
        std::string error;
        if (library.Load(error)) library.GlobalInit(CURL_GLOBAL_DEFAULT);
    });
}

BoardClient::BoardClient(const BoardAddress& boardAddress, BoardTimeouts limits,
                         const std::atomic<bool>* cancelFlag)
    : address(boardAddress),
      timeouts(limits),
      cancel(cancelFlag),
      curl(std::make_unique<CurlLibrary>()) {
    SetUpLibrary();
    if (!curl->Load(unloaded)) return;
    handle = curl->EasyInit();
    multi = curl->MultiInit();
}

BoardClient::~BoardClient() {
    if (handle != nullptr) curl->EasyCleanup(handle);
    if (multi != nullptr) curl->MultiCleanup(multi);
}

Result BoardClient::Request(const std::string& url, const std::string* postBody, std::string& body,
                            const std::string& authorization) {
    body.clear();
    nonsense = false;
    if (handle == nullptr || multi == nullptr) {
        problem = unloaded.empty() ? "cannot set up a connection to the board" : unloaded;
        return Result::kFailed;
    }
    char error[CURL_ERROR_SIZE] = "";
    curl->EasyReset(handle);  // keeps the open connection for the next request
    curl->EasySetopt(handle, CURLOPT_URL, url.c_str());
    curl->EasySetopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl->EasySetopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
    curl->EasySetopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl->EasySetopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    curl->EasySetopt(handle, CURLOPT_NOSIGNAL, 1L);  // another thread's, not the game's signals
    curl->EasySetopt(handle, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);
    curl->EasySetopt(handle, CURLOPT_TIMEOUT_MS, timeouts.totalMs);
    curl->EasySetopt(handle, CURLOPT_USERAGENT, kUserAgent);
    curl->EasySetopt(handle, CURLOPT_ERRORBUFFER, error);
    curl->EasySetopt(handle, CURLOPT_WRITEFUNCTION, Collect);
    curl->EasySetopt(handle, CURLOPT_WRITEDATA, &body);
    const std::string contentType = std::string("Content-Type: ") + api::kReplayType;
    // "Expect:" unset: no waiting for a 100 Continue a server may never send.
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        postBody != nullptr
            ? curl->SlistAppend(curl->SlistAppend(nullptr, contentType.c_str()), "Expect:")
            : nullptr,
        curl->SlistFreeAll);
    if (headers && !authorization.empty()) {
        curl->SlistAppend(headers.get(), ("Authorization: " + authorization).c_str());
    }
    if (postBody != nullptr) {
        curl->EasySetopt(handle, CURLOPT_HTTPHEADER, headers.get());
        curl->EasySetopt(handle, CURLOPT_POSTFIELDS, postBody->data());
        curl->EasySetopt(handle, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(postBody->size()));
    }
    const CURLcode code = Perform(*curl, multi, handle, cancel);
    curl->EasySetopt(handle, CURLOPT_ERRORBUFFER, nullptr);
    if (code == CURLE_WRITE_ERROR) return Nonsense("an answer far too long");
    if (code != CURLE_OK) {
        const std::string why = error[0] != '\0' ? error : curl->EasyStrerror(code);
        problem = "no answer from the board at " + address.Text() + ": " + OneLine(why);
        return Result::kFailed;
    }
    long status = 0;
    curl->EasyGetinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status >= kFirstClientError && status < kFirstServerError) {
        problem = ErrorOf(body);
        if (problem.empty()) problem = "refused (HTTP " + std::to_string(status) + ")";
        return Result::kRefused;
    }
    if (status >= kFirstServerError && status <= kLastServerError) {
        const std::string reason = ErrorOf(body);
        problem = "the board at " + address.Text() + " failed (HTTP " + std::to_string(status) +
                  ")" + (reason.empty() ? "" : ": " + reason);
        return Result::kFailed;
    }
    if (status / 100 != kHttpOk / 100) return Nonsense("HTTP " + std::to_string(status));
    return Result::kDone;
}

Result BoardClient::Nonsense(const std::string& what) {
    problem = "the board at " + address.Text() + " gave an answer that makes no sense: " + what;
    nonsense = true;
    return Result::kFailed;
}

Result BoardClient::Submit(const std::string& replay, const std::string& player, std::string& id,
                           const std::string& key) {
    char* escaped = handle != nullptr
                        ? curl->EasyEscape(handle, player.data(), static_cast<int>(player.size()))
                        : nullptr;
    const std::string query = escaped != nullptr ? escaped : "";
    if (escaped != nullptr) curl->Free(escaped);
    std::string body;
    const Result result = Request(address.Url(api::SubmitPath(query)), &replay, body,
                                  key.empty() ? "" : api::Authorization(key));
    if (result != Result::kDone) return result;
    std::string given;
    if (!Field(Json::parse(body, nullptr, false), api::kId, given) || !IsId(given)) {
        return Nonsense("no submission id");
    }
    id = given;
    return Result::kDone;
}

Result BoardClient::Status(const std::string& id, BoardVerdict& verdict) {
    if (!IsId(id)) {
        problem = "not a submission id";
        return Result::kRefused;
    }
    std::string body;
    const Result result = Request(address.Url(api::SubmissionPath(id)), nullptr, body);
    if (result != Result::kDone) return result;
    if (!ReadVerdict(Json::parse(body, nullptr, false), verdict)) return Nonsense("no verdict");
    return Result::kDone;
}

Result BoardClient::AwaitVerdict(const std::string& id, const BoardPolling& polling,
                                 BoardVerdict& verdict) {
    constexpr int kStepMs = 20;  // how soon a cancel is seen while waiting
    for (int waited = 0;; waited += polling.intervalMs) {
        const Result result = Status(id, verdict);
        if (result != Result::kDone || verdict.state != BoardVerdict::State::kPending) {
            return result;
        }
        if (waited + polling.intervalMs > polling.limitMs) break;
        for (int slept = 0; slept < polling.intervalMs; slept += kStepMs) {
            if (cancel != nullptr && cancel->load()) {
                problem = "cancelled";
                return Result::kFailed;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
        }
    }
    problem = "the board at " + address.Text() + " has not verified the game yet";
    return Result::kFailed;
}

Result BoardClient::Board(std::uint32_t day, std::vector<board_client::BoardEntry>& entries) {
    std::string body;
    const Result result = Request(address.Url(api::BoardPath(day)), nullptr, body);
    if (result != Result::kDone) return result;
    if (!ReadEntries(Json::parse(body, nullptr, false), entries)) return Nonsense("no board");
    return Result::kDone;
}
