// korvessa --submit FILE: sends one replay to the daily board and waits for
// its verdict.
#pragma once

#include <cstdio>
#include <string>

#include "board/BoardAddress.h"
#include "board/BoardClient.h"

namespace submit_command {

constexpr int kVerified = 0;
constexpr int kRefused = 1;
constexpr int kNotSent = 2;

// Reads the replay at `path`, sends it under `player` and asks after it
// until the board has verified or rejected it, with the player's board key
// (BoardKey, in the user's data folder; made there on first use). Prints
// one line:
//   on `out`: "<file>: rank R of P on YYYYMMDD, score N" and returns
//             kVerified; or "<file>: refused: <reason>" and returns kRefused
//             (the board's reason, such as "the name belongs to another
//             player", or "not a daily game", which is never sent);
//   on `err`: "korvessa: <what>" and returns kNotSent when the file cannot
//             be read or is not a replay, or the board cannot be reached,
//             fails or gives no verdict within the polling limit.
int Submit(const std::string& path, const BoardAddress& address, const std::string& player,
           std::FILE* out = stdout, std::FILE* err = stderr, const BoardTimeouts& timeouts = {},
           const BoardPolling& polling = {});

}  // namespace submit_command
