// The real korvessa-board, started by a test on a free port with its log in
// a file, stopped by a signal.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace board_testing {

class BoardProcess {
public:
    // Starts the server with `arguments` (and --listen 127.0.0.1:0) and waits
    // until it says where it listens, or, with --worker-only, that it
    // verifies. Check Started() before use.
    BoardProcess(const std::vector<std::string>& arguments, const std::string& logPath);
    // Kills the server if it still runs.
    ~BoardProcess();

    BoardProcess(const BoardProcess&) = delete;
    BoardProcess& operator=(const BoardProcess&) = delete;

    bool Started() const { return port > 0 || (workerOnly && pid > 0); }
    int Port() const { return port; }
    pid_t Pid() const { return pid; }

    // Sends `signal` and waits for the process: its exit status, or 128 plus
    // the signal that ended it; -1 if it outlives `timeout`.
    int Stop(int signal, std::chrono::seconds timeout = std::chrono::seconds(30));

    // Everything the server has written to standard error so far.
    std::string Log() const;

private:
    pid_t pid = -1;
    int port = 0;
    bool workerOnly = false;
    std::string logPath;
};

// A port nothing listens on now. Another program may take it before the
// caller does; whatever then uses it fails and says so.
int FreePort();

// Counts the lines of `log` that record a verdict on `id` ("ID verified:" or
// "ID rejected:"), one per decision made.
int Decisions(const std::string& log, const std::string& id);

}  // namespace board_testing
