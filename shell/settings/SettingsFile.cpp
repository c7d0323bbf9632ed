#include "shell/settings/SettingsFile.h"

#include <set>
#include <sstream>
#include <string_view>

#include "common/RegularFile.h"
#include "common/Text.h"
#include "save/AtomicFile.h"
#include "save/DataFolder.h"
#include "save/FileAside.h"
#include "shell/settings/Settings.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr const char* kFreshComment =
    "# Korvessa's settings, one 'name = value' a line; the game's menu writes them.";

using plain_text::Trimmed;

// Splits "name = value"; false for a blank line, a comment or anything else.
bool SplitSetting(const std::string& line, std::string& name, std::string& value) {
    const std::string trimmed = Trimmed(line);
    const std::size_t equals = trimmed.find('=');
    if (trimmed.empty() || trimmed[0] == '#' || equals == std::string::npos) return false;
    name = Trimmed(trimmed.substr(0, equals));
    value = Trimmed(trimmed.substr(equals + 1));
    return !name.empty();
}

bool IsText(const std::string& text) {
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) return false;
    }
    return true;
}

}  // namespace

std::string SettingsFile::PathForUser() {
    const std::string folder = DataFolder::UserFolder("XDG_CONFIG_HOME", ".config");
    return folder.empty() ? "" : folder + kFileName;
}

SettingsFile::SettingsFile(std::string filePath) : path(std::move(filePath)) {}

void SettingsFile::Load(Settings& settings, std::vector<std::string>& warnings) {
    if (path.empty()) return;
    std::string text, why;
    switch (regular_file::Read(path, kMaxSize, text, why)) {
        case regular_file::Outcome::kMissing:
            return;  // the first start
        case regular_file::Outcome::kTooLarge:
            state = State::kDamaged;
            warnings.push_back(path + " is over 64 KB; default settings");
            return;
        case regular_file::Outcome::kNotRegular:
        case regular_file::Outcome::kFailed:
            LeaveAlone(why, warnings);
            return;
        case regular_file::Outcome::kRead:
            break;
    }
    // Some editors start a UTF-8 file with a byte-order mark.
    if (text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) {
        text.erase(0, kByteOrderMark.size());
    }
    Parse(text, settings, warnings);
}

void SettingsFile::LeaveAlone(const std::string& why, std::vector<std::string>& warnings) {
    state = State::kUntouchable;
    untouchable = why;
    warnings.push_back(path + " " + why + "; default settings");
}

void SettingsFile::Parse(const std::string& text, Settings& settings,
                         std::vector<std::string>& warnings) {
    std::istringstream input(text);
    std::string first;
    std::getline(input, first);
    const std::string header = std::string(kHeader) + " ";
    int version = 0;
    if (IsText(text) && Trimmed(first).compare(0, header.size(), header) == 0) {
        version = std::atoi(Trimmed(first).c_str() + header.size());
    }
    if (version > kVersion) {
        LeaveAlone("is of a newer version (" + std::to_string(version) + ")", warnings);
        return;
    }
    if (version != kVersion) {
        state = State::kDamaged;
        warnings.push_back(path +
                           (IsText(text)
                                ? " does not start with '" + header + std::to_string(kVersion) + "'"
                                : " is not a text file") +
                           "; default settings");
        return;
    }
    state = State::kRead;
    std::string line, name, value, why;
    for (int number = 2; std::getline(input, line); ++number) {
        lines.push_back(line);
        const std::string where = path + " line " + std::to_string(number) + ": ";
        if (!SplitSetting(line, name, value)) {
            const std::string trimmed = Trimmed(line);
            if (!trimmed.empty() && trimmed[0] != '#') {
                warnings.push_back(where + "not 'name = value'; ignored");
            }
        } else if (Settings::Find(name) != nullptr && !settings.Set(name, value, why)) {
            warnings.push_back(where + name + ": " + why + "; using " +
                               Settings::Find(name)->defaultValue);
        }
        // Names this game does not know are kept as they are, for a newer one.
    }
}

std::string SettingsFile::Format(const Settings& settings) const {
    std::ostringstream text;
    text << kHeader << ' ' << kVersion << '\n';
    if (lines.empty()) text << kFreshComment << '\n';
    std::set<std::string> written;
    std::string name, value, why;
    for (const std::string& line : lines) {
        const Settings::Definition* known =
            SplitSetting(line, name, value) ? Settings::Find(name) : nullptr;
        Settings probe;
        // A bad value the player has not changed since stays as they wrote it.
        const bool keptAsWritten = known == nullptr || (!probe.Set(name, value, why) &&
                                                        settings.Get(name) == known->defaultValue);
        text << (keptAsWritten ? line : name + " = " + settings.Get(name)) << '\n';
        if (known != nullptr) written.insert(name);
    }
    for (const Settings::Definition& definition : Settings::Definitions()) {
        if (written.count(definition.name) == 0) {
            text << definition.name << " = " << settings.Get(definition.name) << '\n';
        }
    }
    return text.str();
}

bool SettingsFile::Save(const Settings& settings, std::string& error) {
    if (state == State::kUntouchable) {
        error = "settings not saved: " + path + " " + untouchable;
        return false;
    }
    if (path.empty()) {
        error = "settings not saved: neither XDG_CONFIG_HOME nor HOME is set";
        return false;
    }
    std::string failure;
    if (!DataFolder::CreateFolder(path.substr(0, path.rfind('/') + 1), failure)) {
        error = "settings not saved: " + failure;
        return false;
    }
    if (state == State::kDamaged) {
        std::string aside;
        if (!KeepAside(path, aside, failure)) {
            error = "settings not saved: " + failure;
            return false;
        }
        lines.clear();
    }
    if (!WriteFileAtomically(path, Format(settings), failure)) {
        error = "settings not saved: " + failure;
        return false;
    }
    state = State::kRead;
    return true;
}
