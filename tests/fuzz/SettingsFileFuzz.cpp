// The settings file on any bytes: reading never fails, every warning is one
// line, and what it writes reads back as the same settings and is written
// again unchanged. The file lives in memory (memfd), named by its /proc path.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/settings/Settings.h"
#include "shell/settings/SettingsFile.h"

namespace {

// A file holding `text`, for as long as it lives.
class MemoryFile {
public:
    explicit MemoryFile(const std::string& text) : fd(memfd_create("settings.ini", MFD_CLOEXEC)) {
        if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            std::abort();
        }
    }
    ~MemoryFile() { close(fd); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd); }

private:
    int fd;
};

struct Loaded {
    Settings settings;
    std::string written;  // what Save() would write
};

Loaded Load(const std::string& text) {
    const MemoryFile memory(text);
    SettingsFile file(memory.Path());
    Loaded loaded;
    std::vector<std::string> warnings;
    file.Load(loaded.settings, warnings);
    for (const std::string& warning : warnings) {
        if (warning.find('\n') != std::string::npos) std::abort();
    }
    loaded.written = file.Format(loaded.settings);
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > SettingsFile::kMaxSize) return 0;  // refused unread, by its size
    const Loaded first = Load(std::string(reinterpret_cast<const char*>(data), size));
    const Loaded second = Load(first.written);
    if (second.settings != first.settings || second.written != first.written) std::abort();
    return 0;
}
