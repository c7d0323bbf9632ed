// A PostgreSQL 15 cluster of a test's own: made with initdb in a scratch
// folder, as an unprivileged user, on a free port, reached through a socket
// in that folder, and removed afterwards.
#pragma once

#include <string>

#include "tests/support/TemporaryFolder.h"

namespace board_testing {

class PostgresCluster {
public:
    // Where Debian installs PostgreSQL 15's server programs.
    static constexpr const char* kBinaries = "/usr/lib/postgresql/15/bin";

    // Whether the server programs are installed at all.
    static bool Installed();

    // Creates and starts the cluster in a scratch folder of its own, handed
    // to an unprivileged user when running as root. Check Started();
    // Problem() says what failed.
    PostgresCluster();
    // Stops the cluster and removes its folder.
    ~PostgresCluster();

    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    bool Started() const { return problem.empty(); }
    const std::string& Problem() const { return problem; }

    // postgresql:///postgres?host=...&port=...&user=board
    std::string Uri() const;

private:
    // Runs a PostgreSQL program, as the unprivileged user when running as
    // root (initdb refuses root). False when it fails.
    bool Run(const std::string& command) const;

    const testing_support::TemporaryFolder scratch;
    const std::string folder = scratch.Bare();
    std::string owner;  // a user to run as, or empty for the current one
    int port = 0;
    std::string problem;
};

}  // namespace board_testing
