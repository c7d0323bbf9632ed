#include "tests/server/PostgresCluster.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/server/BoardProcess.h"

namespace board_testing {

namespace {

constexpr const char* kUnprivilegedUser = "nobody";
constexpr const char* kRole = "board";

}  // namespace

bool PostgresCluster::Installed() {
    return access((std::string(kBinaries) + "/initdb").c_str(), X_OK) == 0 &&
           access((std::string(kBinaries) + "/pg_ctl").c_str(), X_OK) == 0;
}

PostgresCluster::PostgresCluster() : port(FreePort()) {
    if (geteuid() == 0) {
        const passwd* user = getpwnam(kUnprivilegedUser);
        if (user == nullptr || chown(folder.c_str(), user->pw_uid, user->pw_gid) != 0) {
            problem = "cannot hand the scratch folder to " + std::string(kUnprivilegedUser);
            return;
        }
        owner = kUnprivilegedUser;
    }
    const std::string data = folder + "/data";
    if (!Run("initdb --no-sync --auth=trust --username=" + std::string(kRole) + " -D " + data +
             " > " + folder + "/initdb.log 2>&1")) {
        problem = "initdb failed; see " + folder + "/initdb.log";
        return;
    }
    // Only the socket in the scratch folder: no TCP, no clash with a system
    // cluster. fsync off: the test does not survive power cuts anyway.
    const std::string settings =
        "-p " + std::to_string(port) + " -k " + folder + " -c listen_addresses= -c fsync=off";
    if (!Run("pg_ctl -w -t 60 -D " + data + " -l " + folder + "/server.log -o '" + settings +
             "' start > /dev/null")) {
        problem = "the cluster did not start; see " + folder + "/server.log";
    }
}

PostgresCluster::~PostgresCluster() {
    if (Started()) Run("pg_ctl -w -D " + folder + "/data -m immediate stop > /dev/null 2>&1");
}

bool PostgresCluster::Run(const std::string& command) const {
    const std::string program = std::string(kBinaries) + "/" + command;
    const std::string line = owner.empty() ? program : "runuser -u " + owner + " -- " + program;
    return std::system(line.c_str()) == 0;
}

std::string PostgresCluster::Uri() const {
    return "postgresql:///postgres?host=" + folder + "&port=" + std::to_string(port) +
           "&user=" + kRole;
}

}  // namespace board_testing
