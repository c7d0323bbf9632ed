// Reads this process's resident memory, for tests that watch it over long
// runs.
#pragma once

namespace testing_support {

// Resident set size in bytes, from /proc/self/statm; -1 if unreadable.
long ResidentBytes();

// Another process's resident set size, and the most it has had, in bytes,
// from /proc/PID/status; -1 if unreadable.
long ResidentBytesOf(int pid);
long PeakResidentBytesOf(int pid);

// Whether AddressSanitizer is built in: its quarantine holds freed memory
// back on purpose, so resident memory says nothing about leaks there.
constexpr bool kAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

}  // namespace testing_support
