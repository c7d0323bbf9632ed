// settings.ini: the player's settings kept between sessions.
#pragma once

#include <string>
#include <vector>

class Settings;

// Plain text a person can edit, in the style of the score table:
//
//   korvessa settings 1
//   # comments start with '#'
//   volume = 80
//   key.laser = Right Ctrl
//
// Names are the settings' (Settings::Definitions()). Reading never fails:
// whatever is wrong is one warning line and a default. A file that is
// missing means the first start; anything else there means it is not. A damaged one (not text, over
// 64 KB, no such first line) gives the defaults and is kept aside as settings.ini.bad before a new
// one is written; one that cannot be read, a folder, or of a newer version gives the defaults and
// is never written over. A bad value gives that setting's default, the others are kept. A
// byte-order mark before the first line is skipped. Only a regular file is read, and never more
// than kMaxSize bytes of it: a FIFO or a device in its place is one that cannot be read. Writing
// keeps the file's comments, order and unknown names, and is atomic.
class SettingsFile {
public:
    static constexpr const char* kHeader = "korvessa settings";
    static constexpr int kVersion = 1;
    static constexpr std::size_t kMaxSize = 64 * 1024;
    static constexpr const char* kFileName = "settings.ini";

    // $XDG_CONFIG_HOME/korvessa/settings.ini (~/.config/korvessa/ without
    // it); empty when there is no home folder.
    static std::string PathForUser();

    explicit SettingsFile(std::string path);

    // Reads the file into `settings` (left at their defaults where the file
    // says nothing valid). Each warning is one line without the "korvessa: "
    // prefix.
    void Load(Settings& settings, std::vector<std::string>& warnings);

    // Whether anything was there (a file, damaged or of a newer version, or
    // even a folder): the player has been here before. Also true once Save()
    // succeeded.
    bool Seen() const { return state != State::kMissing; }

    // Writes `settings`; a damaged file is kept aside first. False with one
    // line in `error` when it cannot be written (the folder, or a file that
    // must not be written over).
    bool Save(const Settings& settings, std::string& error);

    // The text Save() writes.
    std::string Format(const Settings& settings) const;

    const std::string& Path() const { return path; }

private:
    enum class State { kMissing, kRead, kDamaged, kUntouchable };

    void Parse(const std::string& text, Settings& settings, std::vector<std::string>& warnings);
    // A file that must stay as it is, `why` ("is a folder").
    void LeaveAlone(const std::string& why, std::vector<std::string>& warnings);

    std::string path;
    State state = State::kMissing;
    std::string untouchable;         // why the file must be left as it is: "is a folder"
    std::vector<std::string> lines;  // the file's lines after the first, as read
};
