// The score server's command line.
#pragma once

#include <string>

// What korvessa-board was asked to do. Parse() never exits or prints.
class BoardOptions {
public:
    static constexpr const char* kDefaultHost = "127.0.0.1";
    static constexpr int kDefaultPort = 8080;
    static constexpr int kDefaultLeaseSeconds = 30;
    static constexpr int kDefaultRateLimit = 30;
    static constexpr int kMaxWorkers = 256;

    // Reads argv with getopt_long. On a bad command line `error` holds one
    // line naming the culprit; the other fields are then unspecified.
    static BoardOptions Parse(int argc, char* argv[]);

    // The text of --help.
    static std::string Usage();

    bool help = false;
    bool version = false;
    std::string host = kDefaultHost;  // an IPv6 address without its brackets
    int port = kDefaultPort;          // 0: any free port
    std::string database;             // empty: the SQLite file in the data folder
    int workers = -1;                 // -1: one per core
    bool workerOnly = false;
    int leaseSeconds = kDefaultLeaseSeconds;
    int rateLimit = kDefaultRateLimit;  // submissions per address a minute; 0: none
    bool trustProxy = false;
    std::string error;
};
