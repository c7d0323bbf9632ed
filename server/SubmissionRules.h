// What the board takes: the day's field only. Checked when a replay arrives,
// before any worker plays it. (The player's name follows the rule the game
// itself applies before sending, board_rules::NameProblem.)
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "game/GameApp.h"
#include "save/Replay.h"

namespace submission_rules {

constexpr std::uint32_t kTicksPerHour = 60 * 60 * 1000 / GameApp::kTickInterval;
// No honest daily game lasts longer; a longer one would only tie up a worker.
constexpr std::uint32_t kMaxTicks = 3 * kTicksPerHour;
// Space and Alt releases handed to the game between two ticks. Each needs a
// press of its own, and ticks come every 30 ms; only a stalled window lets
// presses queue up, all reaching the game before its next tick, and a second
// of hammering every weapon key and button makes fewer than this.
constexpr int kMaxReleasesPerTick = 32;

// Empty when `replay` (which has no Problem()) is the day's field as it
// arrives at `now`: what the game sends to the board (a daily game played at
// full speed, board_rules::ReplayProblem), its seed the UTC date of `now` or
// of the day before (a game finished just after midnight still counts), its game the
// first of its session (starting at tick 0, since later games continue from
// what the earlier ones left), and at most three hours of play. Otherwise
// why not, in a few words.
std::string FieldProblem(const Replay& replay, std::time_t now);

// Empty when `replay`'s actions are what the game records: at most
// kMaxReleasesPerTick releases between two ticks, and at most one redraw
// after a tick and after each release (a frame drawn again with nothing
// changed since the last one is never recorded). So no tick carries more
// than 2 * kMaxReleasesPerTick + 1 actions.
std::string ActionProblem(const Replay& replay);

// Whether `day`, as YYYYMMDD, is a day the board can have: a daily seed,
// the game's own rule for a date.
bool IsDate(std::uint32_t day);

// The date `days` days after `day` (before it when negative); `day` must be
// a date.
std::uint32_t AddDays(std::uint32_t day, int days);

}  // namespace submission_rules
