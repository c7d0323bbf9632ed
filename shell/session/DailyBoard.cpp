#include "shell/session/DailyBoard.h"

#include <SDL.h>

#include <cstdio>

#include "board/PendingQueue.h"
#include "common/Text.h"
#include "shell/session/ShellParts.h"
#include "shell/settings/Settings.h"

void DailyBoard::WakeLoop() {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_USEREVENT;
    event.user.code = kWakeEventCode;
    SDL_PushEvent(&event);
}

DailyBoard::~DailyBoard() {
    if (parts.board == sender.get()) parts.board = nullptr;
}

void DailyBoard::Configure(const Settings& settings) {
    // No player yet: the name is asked before the board goes on.
    const bool nowOn = settings.IsOn(Settings::kBoard) && !settings.Get(Settings::kPlayer).empty();
    const std::string& nowAddress = settings.Get(Settings::kBoardAddress);
    const std::string& nowPlayer = settings.Get(Settings::kPlayer);
    if (nowOn == on && nowAddress == address && nowPlayer == player) return;
    unnamed = settings.IsOn(Settings::kBoard) && nowPlayer.empty();
    on = nowOn;
    address = nowAddress;
    player = nowPlayer;
    if (open) Restart();
}

void DailyBoard::Open() {
    if (open) return;
    open = true;
    Restart();
}

void DailyBoard::Restart() {
    parts.board = nullptr;
    // What it had not sent waits in pending/; a game-over screen still
    // showing "sending" hears so rather than waiting for good.
    if (sender != nullptr) hear(sender->Close());
    sender.reset();
    BoardAddress where;
    std::string problem;
    if (unnamed) {
        // Only a hand-edited file gets here: the menu asks the name first.
        std::fputs(
            "korvessa: the daily board is on but names no player; nothing is sent until "
            "one is set in the settings\n",
            stderr);
    }
    if (!on) return;
    if (!BoardAddress::Parse(address, where, problem)) {
        std::fprintf(stderr, "korvessa: the daily board's address %s: %s\n",
                     plain_text::Echoed(address).c_str(), problem.c_str());
        return;
    }
    sender = std::make_unique<BoardSender>(where, player, PendingQueue(data), WakeLoop);
    sender->SendPending();  // what could not be sent before
    parts.board = sender.get();
}
