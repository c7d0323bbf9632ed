// What the load benchmarks measure alike: files read whole, durations in
// milliseconds and a server process's CPU time.
#pragma once

#include <chrono>
#include <string>

namespace load_probe {

// The file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);

double Milliseconds(std::chrono::steady_clock::duration duration);

// The CPU time process `pid` has used so far, user and system, in seconds;
// 0 when it cannot be read.
double CpuSeconds(int pid);

}  // namespace load_probe
