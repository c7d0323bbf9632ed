// The command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board/BoardAddress.h"
#include "shell/settings/Accessibility.h"

// What the player asked for on the command line. Parse() never exits or
// prints: the caller decides what a bad command line costs.
class Options {
public:
    static constexpr int kMaxVolume = 100;

    // Reads argv with getopt_long. On a bad command line `error` holds one
    // line naming the culprit; the other fields are then unspecified.
    static Options Parse(int argc, char* argv[]);

    // The text of --help.
    static std::string Usage();

    bool help = false;
    bool version = false;
    bool fullscreen = false;
    bool hasSeed = false;
    unsigned seed = 0;
    bool daily = false;
    bool mute = false;
    bool hasVolume = false;  // --volume given
    int volume = kMaxVolume;
    std::string replayFile;
    std::string verifyFile;
    // The daily board for this session: --board turns it on.
    std::optional<BoardAddress> board;
    std::string player;
    std::string submitFile;
    Accessibility accessibility;                  // for this session only
    std::vector<std::string> accessibilityGiven;  // the names given, in order
    std::string error;
};
