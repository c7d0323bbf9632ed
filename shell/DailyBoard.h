// The daily board as the settings say: on or off, where, and under which
// name, changed while the game runs.
#pragma once

#include <memory>
#include <string>

#include "board/BoardSender.h"
#include "save/DataFolder.h"

class EventLoop;
class Settings;

// Owns the sender to the board (none while the board is off) and hands it to
// the event loop. Nothing is sent, nor any library loaded for it, before
// Open(): start-up leaves the board until the first frame is shown.
// Whenever the board, its address or the player changes, the old sender is
// closed (what it had not sent stays in pending/) and a new one sends what
// waits there.
class DailyBoard {
public:
    DailyBoard(EventLoop& loop, DataFolder data) : loop(loop), data(std::move(data)) {}
    ~DailyBoard();
    DailyBoard(const DailyBoard&) = delete;
    DailyBoard& operator=(const DailyBoard&) = delete;

    // The settings in force; before Open() they are only remembered.
    void Configure(const Settings& settings);
    // From now on the board is used when it is on.
    void Open();

    BoardSender* Sender() { return sender.get(); }

private:
    void Restart();

    EventLoop& loop;
    DataFolder data;
    bool open = false;
    bool on = false;
    bool unnamed = false;  // on in the settings, but with no player to send as
    std::string address;
    std::string player;
    std::unique_ptr<BoardSender> sender;
};
