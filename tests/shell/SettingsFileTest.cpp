// The settings file: kept between sessions, read whatever it holds, and
// never losing what the player wrote.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/session/PlayerSettings.h"
#include "shell/settings/Settings.h"
#include "shell/settings/SettingsFile.h"
#include "tests/support/TemporaryFolder.h"

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = scratch.path;
        folder.pop_back();  // the tests add "/..." themselves
        path = folder + "/korvessa/settings.ini";
    }

    void Write(const std::string& file, const std::string& text) {
        ASSERT_EQ(system(("mkdir -p " + folder + "/korvessa").c_str()), 0);
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Loads `path` into fresh settings; the warnings in `warnings`.
    Settings Load(SettingsFile& file) {
        Settings settings;
        warnings.clear();
        file.Load(settings, warnings);
        return settings;
    }

    testing_support::TemporaryFolder scratch;
    std::string folder;
    std::string path;
    std::vector<std::string> warnings;
};

TEST_F(SettingsFileTest, RoundTripKeepsCommentsUnknownNamesAndBadLinesAsWritten) {
    SettingsFile missing(path);
    EXPECT_EQ(Load(missing), Settings());
    EXPECT_TRUE(warnings.empty());
    EXPECT_FALSE(missing.Seen()) << "no file: the first start";
    EXPECT_NE(access((folder + "/korvessa").c_str(), F_OK), 0) << "nothing written by reading";

    Write(path,
          "korvessa settings 1\n"
          "# mine\n"
          "volume = 80\n"
          "from-a-newer-game = 7\n"
          "key.laser = right ctrl\n"
          "mute = loud\n"
          "key.thrust = Nosuchkey\n"
          "pad.laser = x\n"
          "just words\n");
    SettingsFile file(path);
    Settings settings = Load(file);
    EXPECT_TRUE(file.Seen());
    EXPECT_EQ(settings.Number("volume"), 80);
    EXPECT_EQ(settings.Get("key.laser"), "Right Ctrl") << "any case, kept as SDL names it";
    EXPECT_EQ(settings.Get("pad.laser"), "x");
    EXPECT_EQ(settings.Get("mute"), "off") << "a bad value: the default";
    EXPECT_EQ(settings.Get("key.thrust"), "Up");
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0].find(path + " line 6: mute: 'loud'"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("line 7: key.thrust: unknown key 'Nosuchkey'"), std::string::npos)
        << warnings[1];
    EXPECT_NE(warnings[2].find("line 9: not 'name = value'"), std::string::npos) << warnings[2];

    std::string why;
    ASSERT_TRUE(settings.Set("volume", "30", why));
    ASSERT_TRUE(settings.Set("key.turn-left", "A, Left", why));
    std::string error;
    ASSERT_TRUE(file.Save(settings, error)) << error;
    const std::string text = Read(path);
    EXPECT_EQ(text.rfind("korvessa settings 1\n# mine\nvolume = 30\nfrom-a-newer-game = 7\n"
                         "key.laser = Right Ctrl\nmute = loud\nkey.thrust = Nosuchkey\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("\nkey.turn-left = A, Left\n"), std::string::npos) << text;
    SettingsFile again(path);
    EXPECT_EQ(Load(again), settings);
}

TEST_F(SettingsFileTest, DamagedFilesGiveTheDefaultsAndAreKeptAsideBeforeAWrite) {
    const std::string oversized = "korvessa settings 1\n# " + std::string(70000, 'x') + "\n";
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {std::string("korvessa settings 1\nvolume = 5\0\1\2", 33), "not a text file"},
        {oversized, "over 64 KB"},
        {"volume = 20\n", "does not start with 'korvessa settings 1'"},
        {"", "does not start with"},
    };
    for (const auto& [contents, what] : damaged) {
        SCOPED_TRACE(what);
        Write(path, contents);
        SettingsFile file(path);
        EXPECT_EQ(Load(file), Settings());
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].find(path), std::string::npos);
        EXPECT_NE(warnings[0].find(what), std::string::npos) << warnings[0];
        EXPECT_EQ(Read(path), contents) << "left as it is until something is written";
        Settings changed;
        changed.SetOn("mute", true);
        std::string error;
        ASSERT_TRUE(file.Save(changed, error)) << error;
        EXPECT_EQ(Read(path + ".bad"), contents);
        SettingsFile rewritten(path);
        EXPECT_EQ(Load(rewritten), changed);
        EXPECT_TRUE(warnings.empty());
        ASSERT_EQ(unlink((path + ".bad").c_str()), 0);
    }

    // Newer, or a folder: the defaults, and never written over. (An
    // unreadable file is the same path; root reads every file.)
    const std::string newer = "korvessa settings 2\nvolume = 10\n";
    Write(path, newer);
    const std::string folderPath = folder + "/korvessa/folder.ini";
    ASSERT_EQ(mkdir(folderPath.c_str(), 0700), 0);
    for (const std::string& file : {path, folderPath}) {
        SCOPED_TRACE(file);
        SettingsFile settingsFile(file);
        EXPECT_EQ(Load(settingsFile), Settings());
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].find(file), std::string::npos) << warnings[0];
        std::string error;
        EXPECT_FALSE(settingsFile.Save(Settings(), error));
        EXPECT_NE(error.find("not saved"), std::string::npos) << error;
    }
    EXPECT_EQ(Read(path), newer);
    EXPECT_NE(access((path + ".bad").c_str(), F_OK), 0);
}

// As an editor may leave it: a byte-order mark, the game's own keys bound,
// a value of 5,000 digits. The mark is skipped; each bad line is one short
// warning and its default.
TEST_F(SettingsFileTest, AHandEditedFileKeepsWhatItCanAndRefusesTheGamesOwnKeys) {
    Write(path, "\xEF\xBB\xBFkorvessa settings 1\nvolume = 30\nkey.pause = Q\nkey.laser = M\n" +
                    std::string("key.photon = Escape\nmute = ") + std::string(5000, '1') + "\n");
    SettingsFile file(path);
    const Settings loaded = Load(file);
    EXPECT_EQ(loaded.Number("volume"), 30);
    const Settings defaults;
    for (const char* name : {"key.pause", "key.laser", "key.photon", "mute"}) {
        EXPECT_EQ(loaded.Get(name), defaults.Get(name)) << name;
    }
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_NE(warnings[0].find("'Q' cannot be bound: the game keeps it to quit"), std::string::npos)
        << warnings[0];
    EXPECT_NE(warnings[1].find("to mute"), std::string::npos) << warnings[1];
    EXPECT_NE(warnings[3].find("'" + std::string(40, '1') + "...'"), std::string::npos);
    EXPECT_LT(warnings[3].size(), path.size() + 120) << warnings[3];

    // A name of blanks alone is refused; blanks around one are dropped.
    Settings settings;
    std::string why;
    EXPECT_FALSE(settings.Set("player", "   ", why));
    EXPECT_EQ(why, "only spaces");
    ASSERT_TRUE(settings.Set("player", "  Ann ", why)) << why;
    EXPECT_EQ(settings.Get("player"), "Ann");

    // A file of a newer version: not a first start, and never written over.
    Write(path, "korvessa settings 2\n");
    SettingsFile newer(path);
    Load(newer);
    EXPECT_TRUE(newer.Seen());
}

TEST_F(SettingsFileTest, CommandLineWinsForTheSessionAndIsNotWrittenBack) {
    Write(path, "korvessa settings 1\nvolume = 70\n");
    PlayerSettings settings(path);
    settings.Load();
    EXPECT_FALSE(settings.FirstStart());
    settings.Override("volume", "20");
    settings.Override("mute", "on");
    EXPECT_EQ(settings.Current().Number("volume"), 20);
    EXPECT_EQ(Read(path), "korvessa settings 1\nvolume = 70\n")
        << "nothing changed, nothing written";

    settings.Change([](Settings& s) { s.Step("fullscreen", +1); });
    std::string text = Read(path);
    EXPECT_NE(text.find("volume = 70\n"), std::string::npos) << text;
    EXPECT_NE(text.find("mute = off\n"), std::string::npos) << text;
    EXPECT_NE(text.find("fullscreen = on\n"), std::string::npos) << text;
    EXPECT_EQ(settings.Current().Number("volume"), 20) << "the option still holds";

    // Changing the overridden setting itself is the player's choice: kept.
    settings.Change([](Settings& s) { s.Step("volume", +1); });
    EXPECT_EQ(settings.Current().Number("volume"), 30);
    EXPECT_NE(Read(path).find("volume = 30\n"), std::string::npos);

    // A folder that cannot be written: play goes on with the new settings.
    PlayerSettings unwritable(path + "/under-a-file/settings.ini");
    unwritable.Load();
    testing::internal::CaptureStderr();
    unwritable.Change([](Settings& s) { s.Step("volume", -1); });
    unwritable.Change([](Settings& s) { s.Step("volume", -1); });
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(unwritable.Current().Number("volume"), 80);
    EXPECT_EQ(said.rfind("korvessa: settings not saved: ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "once a session: " << said;
}

}  // namespace
