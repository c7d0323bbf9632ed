#include "board/BoardApi.h"

#include "save/ReplayFile.h"

namespace board_api {

std::string ReplayPath(const std::string& id) {
    return kReplayPrefix + id + replay_file::kExtension;
}

}  // namespace board_api
