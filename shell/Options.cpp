#include "shell/Options.h"

#include <getopt.h>

#include <limits>

#include "board/BoardRules.h"
#include "common/Text.h"

namespace {

using plain_text::Echoed;

enum LongOnly {
    kDaily = 256,
    kVolume,
    kReplay,
    kVerify,
    kBoard,
    kPlayer,
    kSubmit,
    // The accessibility options, named as in Accessibility.
    kLineWidth,
    kStars,
    kClearSaucer,
    kClearPhotons,
    kSpeed,
    kFireOnPress,
};

const option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {"fullscreen", no_argument, nullptr, 'f'},
    {"seed", required_argument, nullptr, 's'},
    {"daily", no_argument, nullptr, kDaily},
    {"mute", no_argument, nullptr, 'm'},
    {"volume", required_argument, nullptr, kVolume},
    {"replay", required_argument, nullptr, kReplay},
    {"verify", required_argument, nullptr, kVerify},
    {"board", required_argument, nullptr, kBoard},
    {"player", required_argument, nullptr, kPlayer},
    {"submit", required_argument, nullptr, kSubmit},
    {"line-width", required_argument, nullptr, kLineWidth},
    {"stars", required_argument, nullptr, kStars},
    {"clear-saucer", no_argument, nullptr, kClearSaucer},
    {"clear-photons", no_argument, nullptr, kClearPhotons},
    {"speed", required_argument, nullptr, kSpeed},
    {"fire-on-press", no_argument, nullptr, kFireOnPress},
    {nullptr, 0, nullptr, 0},
};
constexpr const char* kShortOptions = ":hVfs:m";

// A whole decimal number from 0 to `max`, nothing else (no sign, no spaces).
bool ParseNumber(const char* text, unsigned long max, unsigned long& value) {
    unsigned long long number = 0;
    if (!plain_text::ParseWhole(text, max, number)) return false;
    value = static_cast<unsigned long>(number);
    return true;
}

// The offending option as the player wrote it, for messages. getopt leaves
// the word it stopped in at argv[optind - 1] only when it finished that word:
// a long option is named from it, a short one (which may stand inside a
// group such as -fx) by its letter.
std::string Written(const std::string& lastWord, int shortName) {
    if (lastWord.compare(0, 2, "--") == 0) {
        const std::string name = lastWord.substr(2, lastWord.find('=') - 2);
        for (const option* o = kLongOptions; o->name != nullptr; ++o) {
            const bool named = std::string(o->name).compare(0, name.size(), name) == 0;
            if (named && (shortName == 0 || o->val == shortName)) return "--" + name;
        }
        if (shortName == 0) return "--" + name;
    }
    return std::string("-") + static_cast<char>(shortName);
}

// An accessibility option, by the code getopt_long gave: a switch turns it
// on, any other takes its value. False with the error set for a bad value.
bool SetAccessibility(int code, Options& options) {
    for (const option* o = kLongOptions; o->name != nullptr; ++o) {
        if (o->val != code) continue;
        options.accessibilityGiven.push_back(o->name);
        return options.accessibility.Set(o->name, o->has_arg == no_argument ? "on" : optarg,
                                         options.error);
    }
    return false;
}

}  // namespace

Options Options::Parse(int argc, char* argv[]) {
    Options options;
    optind = 0;  // a fresh scan on every call, so tests can parse again
    opterr = 0;  // our own messages
    int code = 0;
    while ((code = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr)) != -1) {
        unsigned long value = 0;
        switch (code) {
            case 'h':
                options.help = true;
                break;
            case 'V':
                options.version = true;
                break;
            case 'f':
                options.fullscreen = true;
                break;
            case 's':
                if (!ParseNumber(optarg, std::numeric_limits<unsigned>::max(), value)) {
                    options.error =
                        "bad seed '" + Echoed(optarg) + "': a whole number from 0 to 4294967295";
                    return options;
                }
                options.hasSeed = true;
                options.seed = static_cast<unsigned>(value);
                break;
            case kDaily:
                options.daily = true;
                break;
            case 'm':
                options.mute = true;
                break;
            case kVolume:
                if (!ParseNumber(optarg, kMaxVolume, value)) {
                    options.error =
                        "bad volume '" + Echoed(optarg) + "': a whole number from 0 to 100";
                    return options;
                }
                options.hasVolume = true;
                options.volume = static_cast<int>(value);
                break;
            case kReplay:
            case kVerify:
                if (*optarg == '\0') {
                    options.error = std::string("option '--") +
                                    (code == kReplay ? "replay" : "verify") + "' needs a file";
                    return options;
                }
                (code == kReplay ? options.replayFile : options.verifyFile) = optarg;
                break;
            case kSubmit:
                if (*optarg == '\0') {
                    options.error = "option '--submit' needs a file";
                    return options;
                }
                options.submitFile = optarg;
                break;
            case kBoard: {
                BoardAddress address;
                std::string problem;
                if (!BoardAddress::Parse(optarg, address, problem)) {
                    options.error = "bad board address '" + Echoed(optarg) + "': " + problem;
                    return options;
                }
                options.board = address;
                break;
            }
            case kPlayer: {
                const std::string name = board_rules::TypedName(optarg);
                const std::string problem = board_rules::NameProblem(name);
                if (!problem.empty()) {
                    options.error = "bad player name '" + Echoed(optarg) + "': " + problem +
                                    " (1 to 20 characters)";
                    return options;
                }
                options.player = name;
                break;
            }
            case kLineWidth:
            case kStars:
            case kClearSaucer:
            case kClearPhotons:
            case kSpeed:
            case kFireOnPress:
                if (!SetAccessibility(code, options)) return options;
                break;
            case ':':
                options.error =
                    "option '" + Echoed(Written(argv[optind - 1], optopt)) + "' needs a value";
                return options;
            default: {
                const std::string written = Echoed(Written(argv[optind - 1], optopt));
                const std::string word = argv[optind - 1];
                const bool valueGiven = optopt != 0 && word.compare(0, 2, "--") == 0 &&
                                        word.find('=') != std::string::npos;
                options.error = valueGiven ? "option '" + written + "' takes no value"
                                           : "unknown option '" + written + "'";
                return options;
            }
        }
    }
    // A lone file, as a file manager passes it, is a replay to watch.
    if (optind < argc && options.replayFile.empty() && optind + 1 == argc &&
        *argv[optind] != '\0') {
        options.replayFile = argv[optind++];
    }
    if (optind < argc) {
        options.error = "unexpected argument '" + Echoed(argv[optind]) + "'";
    } else if (options.hasSeed + options.daily + !options.replayFile.empty() +
                   !options.verifyFile.empty() + !options.submitFile.empty() >
               1) {
        options.error = "--seed, --daily, --replay, --verify and --submit cannot be combined";
    }
    return options;
}

std::string Options::Usage() {
    return "Usage: korvessa [OPTION]... [FILE]\n"
           "An arcade space shooter: steer a ship through waves of asteroids.\n"
           "A FILE given alone is a replay to watch, as with --replay.\n"
           "\n"
           "Options:\n"
           "  -f, --fullscreen    start in fullscreen (F11 toggles it)\n"
           "  -s, --seed=N        start the random sequence from N (0 to 4294967295)\n"
           "                      instead of the clock, so a session can be played again\n"
           "      --daily         play today's field: the seed is today's date (UTC)\n"
           "  -m, --mute          start with sound off (M toggles it)\n"
           "      --volume=N      sound effects volume, 0 to 100 (default 100)\n"
           "                      --fullscreen, --mute and --volume hold for this\n"
           "                      session and are not written to the settings\n"
           "      --replay=FILE   watch a replay (.kvr) at the speed it was played at\n"
           "      --verify=FILE   replay a game without a window and check its score\n"
           "      --board=URL     for this session, send each daily game to the daily\n"
           "                      board at URL (http or https) and show its rank\n"
           "      --player=NAME   for this session, the name your games go on the\n"
           "                      board under: 1 to 20 letters, digits, spaces and\n"
           "                      punctuation of ASCII\n"
           "      --submit=FILE   send a daily game's replay to the board (the one\n"
           "                      --board names, else the settings'), wait for its\n"
           "                      verdict and print it; needs a player name\n"
           "      --line-width=W  outlines W times as wide: 1, 1.5, 2 or 3 (default 1)\n"
           "      --stars=S       the star field on, dim or off (default on)\n"
           "      --clear-saucer  draw a ring around the saucer\n"
           "      --clear-photons draw photons larger, each with a ring\n"
           "      --speed=N       game speed in per cent: 100, 80, 65 or 50 (default 100);\n"
           "                      a score made below 100 is marked slow\n"
           "      --fire-on-press fire photons and the laser on press, not on release\n"
           "  -h, --help          show this help and exit\n"
           "  -V, --version       show the version and exit\n"
           "\n"
           "Keys (the defaults; the menu's settings can bind others):\n"
           "  Left, Right         turn (held)\n"
           "  Up, Down            thrust forward, backward (held)\n"
           "  Space               fire a photon on release; start a new game after game over\n"
           "  Alt                 fire the laser on release\n"
           "  P, Escape           pause and open the menu, resume\n"
           "  Q                   quit, while paused or at the end of a replay\n"
           "  F11                 toggle fullscreen\n"
           "  M                   mute and unmute\n"
           "\n"
           "Game controller: D-pad or left stick turns and thrusts, A fires a photon,\n"
           "B or the right shoulder fires the laser, Start pauses.\n"
           "\n"
           "Settings: $XDG_CONFIG_HOME/korvessa/settings.ini (by default\n"
           "~/.config/korvessa/settings.ini), written when changed in the menu.\n"
           "\n"
           "Files, under $XDG_DATA_HOME/korvessa/ (by default ~/.local/share/korvessa/):\n"
           "  scores.txt          the ten best games\n"
           "  replays/            replays of the last 20 games and of every kept score\n"
           "  gamecontrollerdb.txt  extra controller mappings\n"
           "  pending/            daily games waiting to be sent to the board\n"
           "\n"
           "Exit status: 0 when all went well; 1 when the game cannot start, when\n"
           "--verify finds the file wrong about its game or the board refuses a\n"
           "--submit; 2 for a bad command line, a replay file that cannot be read or\n"
           "is not a regular file, or a board that cannot be reached.\n";
}
