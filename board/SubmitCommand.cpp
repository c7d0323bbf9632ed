#include "board/SubmitCommand.h"

#include "board/BoardKey.h"
#include "board/BoardRules.h"
#include "save/ReplayFile.h"

namespace submit_command {

namespace {

int NotSent(std::FILE* err, const std::string& line) {
    std::fprintf(err, "korvessa: %s\n", line.c_str());
    return kNotSent;
}

int Refused(std::FILE* out, const std::string& path, const std::string& reason) {
    std::fprintf(out, "%s: refused: %s\n", path.c_str(), reason.c_str());
    return kRefused;
}

}  // namespace

int Submit(const std::string& path, const BoardAddress& address, const std::string& player,
           std::FILE* out, std::FILE* err, const BoardTimeouts& timeouts,
           const BoardPolling& polling) {
    Replay replay;
    std::string error;
    if (!replay_file::Read(path, replay, error)) return NotSent(err, error);
    const std::string problem = board_rules::ReplayProblem(replay);
    if (!problem.empty()) return Refused(out, path, problem);

    std::string key;
    if (!BoardKey(DataFolder::ForUser()).Get(key, error)) {
        std::fprintf(err, "korvessa: %s\n", error.c_str());
    }
    BoardClient client(address, timeouts);
    std::string id;
    const BoardClient::Result sent = client.Submit(replay_file::Encode(replay), player, id, key);
    if (sent == BoardClient::Result::kRefused) return Refused(out, path, client.Problem());
    BoardVerdict verdict;
    if (sent == BoardClient::Result::kFailed ||
        client.AwaitVerdict(id, polling, verdict) != BoardClient::Result::kDone) {
        return NotSent(err, client.Problem());
    }
    if (verdict.state == BoardVerdict::State::kRejected) return Refused(out, path, verdict.reason);
    std::fprintf(out, "%s: rank %d of %d on %u, score %d\n", path.c_str(), verdict.rank,
                 verdict.players, static_cast<unsigned>(replay.seed), verdict.score);
    return kVerified;
}

}  // namespace submit_command
