// The daily board as the settings say: on or off, where, and under which
// name, changed while the game runs.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "board/BoardSender.h"
#include "save/DataFolder.h"

class Settings;
struct ShellParts;

// Owns the sender to the board (none while the board is off) and hands it to
// the session's parts. Nothing is sent, nor any library loaded for it, before
// Open(): start-up leaves the board until the first frame is shown.
// Whenever the board, its address or the player changes, the old sender is
// closed (what it had not sent stays in pending/) and a new one sends what
// waits there.
class DailyBoard {
public:
    // The reports of a sender closed before it had heard everything.
    using Hear = std::function<void(const std::vector<BoardReport>&)>;
    // The user event with this code says the board's sender has reports.
    static constexpr int kWakeEventCode = 2;

    // Wakes the event loop to take the board's reports; safe on any thread.
    static void WakeLoop();

    DailyBoard(ShellParts& shellParts, Hear hearReports, DataFolder dataFolder)
        : parts(shellParts), hear(std::move(hearReports)), data(std::move(dataFolder)) {}
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

    ShellParts& parts;
    Hear hear;
    DataFolder data;
    bool open = false;
    bool on = false;
    bool unnamed = false;  // on in the settings, but with no player to send as
    std::string address;
    std::string player;
    std::unique_ptr<BoardSender> sender;
};
