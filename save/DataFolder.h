// The game's user data folder: the score table and the replays.
#pragma once

#include <string>

// The folder SDL_GetPrefPath("", "korvessa") names: $XDG_DATA_HOME/korvessa/,
// or ~/.local/share/korvessa/ without it. SDL creates that folder as soon as
// it is asked for its name; this class only computes the name, and the
// folder is made the first time something is written into it.
class DataFolder {
public:
    static constexpr const char* kAppName = "korvessa";
    static constexpr const char* kScoresFile = "scores.txt";
    static constexpr const char* kReplaysFolder = "replays";

    // The folder for this user, from the environment. Its path is empty when
    // neither XDG_DATA_HOME nor a home folder can be found.
    static DataFolder ForUser();

    // $`variable`/korvessa/, or ~/`underHome`/korvessa/ when the variable is
    // unset or empty; empty when there is no home folder either. Other
    // programs of the game's give their own name in place of korvessa.
    static std::string UserFolder(const char* variable, const char* underHome,
                                  const char* appName = kAppName);

    // Creates `path` and its missing parents, readable by the user only.
    // False, with the reason in `error`, when that cannot be done.
    static bool CreateFolder(const std::string& path, std::string& error);

    // A folder at the given path (tests use temporary ones). A missing
    // trailing slash is added.
    explicit DataFolder(std::string path);

    // The folder's path, ending with '/'; empty when there is none.
    const std::string& Path() const { return path; }
    std::string ScoresPath() const;
    // The replays' folder, ending with '/'.
    std::string ReplaysPath() const;

    // Creates the data folder and its replays folder, with their missing
    // parents, readable by the user only. False, with the reason in `error`,
    // when that cannot be done.
    bool Create(std::string& error) const;

private:
    std::string path;
};
