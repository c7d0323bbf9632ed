// The menu as a player uses it, under a window manager: settings changed and
// a key rebound, kept across a restart, and a game-over screen that
// survives mashing Space.

#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/e2e/XSession.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using e2e::Screenshot;
using e2e::Sleep;

class MenuPlayTest : public e2e::XSession {
protected:
    void Key(const std::string& name, int times = 1) {
        for (int i = 0; i < times; ++i) {
            Xdo("windowactivate --sync " + std::to_string(window));
            Xdo("key " + name);
            Sleep(60);
        }
    }
    bool BeamSeen(const std::string& key) {
        Screenshot before = Grab();
        Xdo("windowactivate --sync " + std::to_string(window));
        PressKeycodeOf(key.c_str());
        return GrabUntil(500, [&](const Screenshot& shot) {
            return shot.NewlyLit(before, 525, 382, 905, 386) >= 300;
        });
    }
    std::string Settings() { return e2e::Output("cat " + configHome + "/korvessa/settings.ini"); }
};

TEST_F(MenuPlayTest, SettingsHoldAcrossARestartAndTheGameOverScreenSurvivesMashing) {
    const testing_support::TemporaryFolder scratch;
    const std::string data = scratch.Bare();
    const std::string mixed = std::string(data) + "/mixed.raw";
    const std::vector<std::string> environment = {
        std::string("XDG_DATA_HOME=") + data, "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + mixed};
    StartXServer("1280x1024x24", true);
    StartGame({"--seed", "5"}, environment);
    Sleep(300);
    Key("Escape");
    ASSERT_TRUE(Choose("paused", "settings"));
    Key("Left", 10);  // the volume, highlighted first: down to 0
    ASSERT_TRUE(Choose("settings", "keys and buttons"));
    ASSERT_TRUE(Choose("keys and buttons", "laser"));
    Xdo("windowactivate --sync " + std::to_string(window));
    PressKeycodeOf("Control_R");
    Sleep(60);
    Key("Escape", 2);  // back to the pause menu
    ASSERT_TRUE(Choose("paused", "quit"));
    ASSERT_TRUE(Choose("quit korvessa?", "yes, quit"));
    const int status = e2e::WaitFor(game, 5000);
    ASSERT_NE(status, -1) << "the menu did not quit";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    game = 0;
    window = 0;
    const std::string kept = Settings();
    EXPECT_NE(kept.find("volume = 0\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("key.laser = Right Ctrl\n"), std::string::npos) << kept;

    StartGame({"--seed", "5"}, environment);
    Sleep(700);  // sound opens after the first frame
    EXPECT_FALSE(BeamSeen("Alt_L")) << "Alt still fires the laser";
    EXPECT_TRUE(BeamSeen("Control_R")) << "Right Ctrl does not fire the laser";
    const std::string size = e2e::Output("stat -c %s " + mixed);
    Key("space");
    Sleep(400);
    EXPECT_TRUE(
        e2e::Output("tail -c +$((" + size + " + 1)) " + mixed + " | tr -d '\\000' | head -c 1")
            .empty())
        << "the photon was heard at volume 0";

    // Fly blind into the asteroids; mash Space from the moment the game is
    // over (its replay is kept then, whatever it scored) for most of a second.
    const std::string replays = std::string(data) + "/korvessa/replays";
    auto replayKept = [&replays] {
        std::error_code none;
        return std::filesystem::directory_iterator(replays, none) !=
               std::filesystem::directory_iterator();
    };
    Xdo("keydown Up");
    bool ended = false;
    for (int waited = 0; waited < 90000 && !ended; waited += 50) {
        Sleep(50);
        ended = replayKept();
    }
    for (int i = 0; i < 10; ++i) Xdo("key --delay 20 space");
    Xdo("keyup Up");
    ASSERT_TRUE(ended) << "no game ended within 90 s";
    Sleep(1500);
    // "game over" still stands above the final score.
    EXPECT_GT(Grab().Lit(440, 400, 584, 415), 100) << "mashing Space skipped the game-over screen";
    Key("space");  // pressed after the first second: a new game
    EXPECT_TRUE(GrabUntil(1000, [](const Screenshot& shot) {
        return shot.Lit(440, 400, 584, 415) == 0;
    })) << "a press after the guard did not start a new game";
    EXPECT_EQ(Terminate(), 0);
}

}  // namespace
