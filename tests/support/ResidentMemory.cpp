#include "tests/support/ResidentMemory.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace testing_support {

long ResidentBytes() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return -1;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = -1;
    std::fclose(statm);
    return resident < 0 ? -1 : resident * sysconf(_SC_PAGESIZE);
}

namespace {

// The value of a "Name:   1234 kB" line of /proc/PID/status, in bytes.
long StatusBytes(int pid, const char* name) {
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    FILE* status = std::fopen(path.c_str(), "r");
    if (status == nullptr) return -1;
    long bytes = -1;
    char line[256];
    const std::size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, status) != nullptr) {
        long kilobytes = 0;
        if (std::strncmp(line, name, length) == 0 && line[length] == ':' &&
            std::sscanf(line + length + 1, "%ld", &kilobytes) == 1) {
            bytes = kilobytes * 1024;
            break;
        }
    }
    std::fclose(status);
    return bytes;
}

}  // namespace

long ResidentBytesOf(int pid) { return StatusBytes(pid, "VmRSS"); }

long PeakResidentBytesOf(int pid) { return StatusBytes(pid, "VmHWM"); }

}  // namespace testing_support
