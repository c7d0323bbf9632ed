#include "server/BoardOptions.h"

#include <getopt.h>

#include <cerrno>
#include <cstdlib>

#include "common/Text.h"

namespace {

enum LongOnly { kWorkerOnly = 256, kLease, kRateLimit, kTrustProxy };

const option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {"listen", required_argument, nullptr, 'l'},
    {"database", required_argument, nullptr, 'd'},
    {"workers", required_argument, nullptr, 'w'},
    {"worker-only", no_argument, nullptr, kWorkerOnly},
    {"lease", required_argument, nullptr, kLease},
    {"rate-limit", required_argument, nullptr, kRateLimit},
    {"trust-proxy", no_argument, nullptr, kTrustProxy},
    {nullptr, 0, nullptr, 0},
};
constexpr const char* kShortOptions = ":hVl:d:w:";
constexpr int kMaxPort = 65535;
constexpr int kMaxLeaseSeconds = 24 * 60 * 60;
constexpr int kMaxRateLimit = 1000000;

// A whole decimal number from `min` to `max`, nothing else.
bool ParseInt(const char* text, int min, int max, int& value) {
    if (*text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < min || parsed > max) return false;
    value = static_cast<int>(parsed);
    return true;
}

// ADDR:PORT, or [IPV6]:PORT.
bool ParseListen(const std::string& text, std::string& host, int& port) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    std::string address = text.substr(0, colon);
    if (address.front() == '[') {
        if (address.size() < 3 || address.back() != ']') return false;
        address = address.substr(1, address.size() - 2);
    } else if (address.find(':') != std::string::npos) {
        return false;  // an IPv6 address needs its brackets
    }
    if (!ParseInt(text.c_str() + colon + 1, 0, kMaxPort, port)) return false;
    host = address;
    return true;
}

// The option getopt stopped at, as written ("--workers" or "-w").
std::string Culprit(char* argv[], int index, int shortName) {
    const std::string word = argv[index - 1];
    if (word.compare(0, 2, "--") == 0) return word.substr(0, word.find('='));
    return std::string("-") + static_cast<char>(shortName);
}

}  // namespace

BoardOptions BoardOptions::Parse(int argc, char* argv[]) {
    BoardOptions options;
    optind = 0;
    opterr = 0;
    int code = 0;
    while ((code = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr)) != -1) {
        const std::string value = optarg != nullptr ? optarg : "";
        switch (code) {
            case 'h':
                options.help = true;
                break;
            case 'V':
                options.version = true;
                break;
            case 'l':
                if (!ParseListen(value, options.host, options.port)) {
                    options.error = "bad address '" + plain_text::Echoed(value) +
                                    "': ADDR:PORT, e.g. 127.0.0.1:8080";
                }
                break;
            case 'd':
                if (value.empty()) options.error = "option '--database' needs a file or URI";
                options.database = value;
                break;
            case 'w':
                if (!ParseInt(value.c_str(), 0, kMaxWorkers, options.workers)) {
                    options.error = "bad worker count '" + plain_text::Echoed(value) +
                                    "': a number from 0 to 256";
                }
                break;
            case kWorkerOnly:
                options.workerOnly = true;
                break;
            case kLease:
                if (!ParseInt(value.c_str(), 1, kMaxLeaseSeconds, options.leaseSeconds)) {
                    options.error =
                        "bad lease '" + plain_text::Echoed(value) + "': seconds, from 1 to 86400";
                }
                break;
            case kRateLimit:
                if (!ParseInt(value.c_str(), 0, kMaxRateLimit, options.rateLimit)) {
                    options.error = "bad rate limit '" + plain_text::Echoed(value) +
                                    "': a number from 0 to 1000000";
                }
                break;
            case kTrustProxy:
                options.trustProxy = true;
                break;
            case ':':
                options.error = "option '" + plain_text::Echoed(Culprit(argv, optind, optopt)) +
                                "' needs a value";
                break;
            default:
                options.error =
                    "unknown option '" + plain_text::Echoed(Culprit(argv, optind, optopt)) + "'";
                break;
        }
        if (!options.error.empty()) return options;
    }
    if (optind < argc)
        options.error = "unexpected argument '" + plain_text::Echoed(argv[optind]) + "'";
    return options;
}

std::string BoardOptions::Usage() {
    return "Usage: korvessa-board [OPTION]...\n"
           "The Korvessa daily board: takes replays of the day's field, replays each with\n"
           "the game's own code, and ranks the scores they reach.\n"
           "\n"
           "Options:\n"
           "  -l, --listen=ADDR:PORT  where to take HTTP requests (default 127.0.0.1:8080;\n"
           "                          [::1]:8080 for IPv6, port 0 for any free one)\n"
           "  -d, --database=DB       a SQLite file, or postgresql://USER@HOST/NAME to share\n"
           "                          one board between several servers (default\n"
           "                          board.sqlite in the data folder)\n"
           "  -w, --workers=N         threads verifying replays (default: one per core)\n"
           "      --worker-only       verify only, take no HTTP requests\n"
           "      --lease=SECONDS     how long a job stays with a worker that stopped\n"
           "                          renewing it (one that died) before another may\n"
           "                          take it (default 30)\n"
           "      --rate-limit=N      submissions per address a minute (default 30; 0: no\n"
           "                          limit)\n"
           "      --trust-proxy       take the client's address from the last entry of\n"
           "                          X-Forwarded-For, as set by a reverse proxy\n"
           "  -h, --help              show this help and exit\n"
           "  -V, --version           show the version and exit\n"
           "\n"
           "Files: the SQLite board is $XDG_DATA_HOME/korvessa-board/board.sqlite (by\n"
           "default ~/.local/share/korvessa-board/board.sqlite).\n"
           "\n"
           "Signals: SIGTERM or SIGINT finishes the verifications under way and exits.\n"
           "Exit status: 0 when stopped by a signal; 1 when the server cannot start;\n"
           "2 for a bad command line.\n";
}
