// korvessa-board: the daily board server. Starts its store, its workers and
// (unless --worker-only) its HTTP side, then waits for SIGTERM or SIGINT.

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#if KORVESSA_TCMALLOC
#include <gperftools/malloc_extension.h>
#endif

#include "game/GameApp.h"
#include "save/DataFolder.h"
#include "server/BoardOptions.h"
#include "server/BoardServer.h"
#include "server/BoardStore.h"
#include "server/OpenStore.h"
#include "server/WorkerPool.h"

namespace {

constexpr int kStartFailed = 1;
constexpr int kBadCommandLine = 2;
constexpr const char* kAppName = "korvessa-board";
constexpr const char* kDatabaseFile = "board.sqlite";

// How often memory freed is given back to the system: tcmalloc keeps what
// a burst of large bodies took otherwise.
constexpr timespec kReleaseInterval{1, 0};

// Waits for one of `signals`, giving freed memory back meanwhile.
void AwaitSignal(const sigset_t& signals) {
    while (sigtimedwait(&signals, nullptr, &kReleaseInterval) < 0) {
#if KORVESSA_TCMALLOC
        MallocExtension::instance()->ReleaseFreeMemory();
#endif
    }
}

// One line, even for a database's message written over several.
int Fail(std::string message) {
    std::replace(message.begin(), message.end(), '\n', ' ');
    std::fprintf(stderr, "korvessa-board: %s\n", message.c_str());
    return kStartFailed;
}

// The SQLite file in the data folder, which is made when missing.
bool DefaultDatabase(std::string& path, std::string& error) {
    const std::string folder = DataFolder::UserFolder("XDG_DATA_HOME", ".local/share", kAppName);
    if (folder.empty()) {
        error = "no data folder: neither XDG_DATA_HOME nor HOME is set";
        return false;
    }
    if (!DataFolder::CreateFolder(folder, error)) return false;
    path = folder + kDatabaseFile;
    return true;
}

// A worker needs what the game loads when it starts (its font): better to
// say so now than to fail every job later.
bool GameStarts(std::string& error) {
    try {
        GameApp app;
        app.InitGame();
        return true;
    } catch (const std::exception& failure) {
        error = std::string("cannot start the game to verify replays: ") + failure.what();
        return false;
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const BoardOptions options = BoardOptions::Parse(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "korvessa-board: %s (see --help)\n", options.error.c_str());
        return kBadCommandLine;
    }
    if (options.help) {
        std::fputs(BoardOptions::Usage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("korvessa-board %s\n", KORVESSA_VERSION);
        return 0;
    }

    // Every thread started from here on leaves these signals to sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);  // a client gone mid-answer is no reason to stop

    std::string database = options.database;
    std::string error;
    if (database.empty() && !DefaultDatabase(database, error)) return Fail(error);
    std::unique_ptr<BoardStore> store;
    try {
        store = OpenStore(database);
    } catch (const StoreError& failure) {
        return Fail(failure.what());
    }
    const int workers = options.workers >= 0
                            ? options.workers
                            : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    if (workers > 0 && !GameStarts(error)) return Fail(error);
    if (options.workerOnly && workers == 0) return Fail("--worker-only with no workers");

    WorkerPool pool(*store, workers, std::chrono::seconds(options.leaseSeconds));
    std::unique_ptr<BoardServer> server;
    std::thread serving;
    if (!options.workerOnly) {
        server = std::make_unique<BoardServer>(*store, pool, options);
        if (!server->Bind(error)) return Fail(error);
        serving = std::thread([&server] { server->Serve(); });
        server->WaitUntilServing();
    }
    pool.Start();
    const bool local = database.find("://") == std::string::npos;
    if (server) {
        std::fprintf(stderr, "korvessa-board: listening on http://%s%s%s:%d, %d workers, %s\n",
                     options.host.find(':') != std::string::npos ? "[" : "", options.host.c_str(),
                     options.host.find(':') != std::string::npos ? "]" : "", server->Port(),
                     workers, local ? database.c_str() : "PostgreSQL");
    } else {
        std::fprintf(stderr, "korvessa-board: verifying with %d workers, %s\n", workers,
                     local ? database.c_str() : "PostgreSQL");
    }

    AwaitSignal(stopSignals);
    std::fprintf(stderr, "korvessa-board: stopping: finishing the verifications under way\n");
    if (server) {
        server->Stop();
        serving.join();
    }
    pool.Stop();
    std::fprintf(stderr, "korvessa-board: stopped\n");
    return 0;
}
