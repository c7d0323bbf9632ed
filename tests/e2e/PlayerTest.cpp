// Plays the real game binary as a player would: in a window on a virtual X
// server (Xvfb), with xdotool sending real key presses and releases, and
// screenshots of the window read back through Xlib.

#include <signal.h>

#include "tests/e2e/XSession.h"

namespace {

using e2e::Screenshot;
using e2e::Sleep;
using e2e::WaitFor;

class PlayerTest : public e2e::XSession {
protected:
    void SetUp() override {
        StartXServer();
        StartGame();
    }
};

TEST_F(PlayerTest, TurnsShootsFiresTheLaserAndQuitsOnSigterm) {
    Sleep(500);  // the game is running; the ship sits at the centre, heading right
    Screenshot start = Grab();
    ASSERT_TRUE(start.valid);

    // A photon flies right from the centre after the space bar's release.
    Xdo("keydown space");
    Sleep(150);
    EXPECT_EQ(Grab().NewlyLit(start, 530, 378, 850, 390), 0) << "fired on press";
    Xdo("keyup space");
    EXPECT_TRUE(GrabUntil(600, [&](const Screenshot& shot) {
        return shot.NewlyLit(start, 530, 378, 850, 390) >= 4;
    })) << "no photon after releasing the space bar";

    // The laser beam, 400 units to the right, after Alt's release.
    Sleep(1300);  // the photon is gone
    // The beam lives six ticks (180 ms); a machine too busy to grab the
    // window in time gets one more try with the second charge.
    auto fireAndSeeBeam = [&] {
        Screenshot beforeBeam = Grab();
        Xdo("key Alt_L");
        return GrabUntil(500, [&](const Screenshot& shot) {
            return shot.NewlyLit(beforeBeam, 525, 382, 905, 386) >= 300;
        });
    };
    bool beamSeen = fireAndSeeBeam();
    if (!beamSeen) {
        Sleep(400);
        beamSeen = fireAndSeeBeam();
    }
    EXPECT_TRUE(beamSeen) << "no laser beam after releasing Alt";

    // Holding the left arrow turns the ship.
    Sleep(400);  // the beam is gone
    Screenshot beforeTurn = Grab();
    Xdo("keydown Left");
    Sleep(250);
    Xdo("keyup Left");
    Sleep(150);
    Screenshot afterTurn = Grab();
    int changed = afterTurn.NewlyLit(beforeTurn, 490, 362, 534, 406) +
                  beforeTurn.NewlyLit(afterTurn, 490, 362, 534, 406);
    EXPECT_GE(changed, 10) << "the ship did not turn";
    // Turning counter-clockwise lifts the nose: the ship's pixels above the
    // centre line grow.
    EXPECT_GT(afterTurn.NewlyLit(beforeTurn, 500, 390, 524, 406), 0);

    // SIGTERM reaches SDL as a quit event: a clean exit with status 0.
    kill(game, SIGTERM);
    int status = WaitFor(game, 5000);
    game = 0;
    ASSERT_NE(status, -1) << "the game did not quit";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
