#include "save/ReplayRecorder.h"

#include <algorithm>
#include <utility>

ReplayRecorder::ReplayRecorder(std::string version) : gameVersion(std::move(version)) {}

void ReplayRecorder::BeginSession(std::uint32_t sessionSeed, SeedKind kind) {
    seed = sessionSeed;
    seedKind = kind;
    ticks = 0;
    gameStart = 0;
    gameSpeed = game_speed::kFull;
    inputs.clear();
    events.clear();
    // InitGame draws nothing: the first frame drawn changes the outlines.
    changedSinceDrawn = true;
}

void ReplayRecorder::OnTick(unsigned inputBits) {
    const auto bits = static_cast<std::uint8_t>(inputBits & Replay::kAllInputBits);
    if (!inputs.empty() && inputs.back().bits == bits) {
        inputs.back().length += 1;
    } else {
        inputs.push_back(InputRun{bits, 1});
    }
    ticks += 1;
    gameSpeed = std::min(gameSpeed, speed);
    // The tick ends by drawing everything handed over before it.
    changedSinceDrawn = false;
}

void ReplayRecorder::OnAction(ReplayAction action) {
    // Drawing a game that has not changed since it was last drawn leaves the
    // same outlines: a paused window redrawn for an hour costs nothing.
    if (action == ReplayAction::kRedraw && !changedSinceDrawn) return;
    changedSinceDrawn = action != ReplayAction::kRedraw;
    events.push_back(ReplayEvent{ticks, action});
}

void ReplayRecorder::OnNewGame() {
    gameStart = ticks;
    gameSpeed = game_speed::kFull;
}

void ReplayRecorder::SetSpeed(int percent) { speed = percent; }

Replay ReplayRecorder::FinishGame(int score) const {
    Replay replay;
    replay.gameVersion = gameVersion;
    replay.seed = seed;
    replay.seedKind = seedKind;
    replay.startTick = gameStart;
    replay.score = score;
    replay.speed = static_cast<std::uint8_t>(gameSpeed);
    replay.tickCount = ticks;
    replay.inputs = inputs;
    // Actions since the last tick came after the game ended.
    for (const ReplayEvent& event : events) {
        if (event.tick < ticks) replay.events.push_back(event);
    }
    return replay;
}
