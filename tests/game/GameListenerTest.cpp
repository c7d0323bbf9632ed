// The rules' event hook: each event is reported exactly once, when it
// happens, and a listener (the real sound effects among them) changes
// nothing in the game.

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "audio/SoundEffects.h"
#include "game/GameListener.h"
#include "tests/game/GameAppFixture.h"
#include "tests/support/GameStateSnapshot.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScriptedPlayer.h"

namespace {

using Events = std::vector<std::string>;

// Writes down every event by name, and passes it on to `next` if there is
// one.
class RecordingListener : public GameListener {
public:
    explicit RecordingListener(GameListener* nextListener = nullptr) : next(nextListener) {}

    // The events since the last call.
    Events Take() {
        Events taken;
        taken.swap(events);
        return taken;
    }

    void OnPhotonFired() override { Record("photon", &GameListener::OnPhotonFired); }
    void OnLaserFired() override { Record("laser", &GameListener::OnLaserFired); }
    void OnLaserCharged() override { Record("charged", &GameListener::OnLaserCharged); }
    void OnLargeAsteroidBroken() override { Record("large", &GameListener::OnLargeAsteroidBroken); }
    void OnSmallAsteroidDestroyed() override {
        Record("small", &GameListener::OnSmallAsteroidDestroyed);
    }
    void OnShipDestroyed() override { Record("ship", &GameListener::OnShipDestroyed); }
    void OnSaucerLaunched() override { Record("launch", &GameListener::OnSaucerLaunched); }
    void OnSaucerDestroyed() override { Record("saucer", &GameListener::OnSaucerDestroyed); }
    void OnNewWave() override { Record("wave", &GameListener::OnNewWave); }
    void OnNewGame() override { Record("game", &GameListener::OnNewGame); }
    void OnGameOver() override { Record("over", &GameListener::OnGameOver); }

private:
    void Record(const char* name, void (GameListener::*call)()) {
        events.push_back(name);
        if (next != nullptr) (next->*call)();
    }

    GameListener* next;
    Events events;
};

class GameListenerTest : public GameAppTest {
protected:
    void SetUp() override {
        GameAppTest::SetUp();
        app.listener = &recorder;
    }

    void TearDown() override { app.listener = nullptr; }

    void Ticks(int n) {
        for (int i = 0; i < n; ++i) app.Tick();
    }

    RecordingListener recorder;
};

TEST_F(GameListenerTest, EveryShotAndEverySplitIsReportedOnce) {
    // The ship stays protected at the centre, out of the way.
    PlaceAsteroid(3, 100, -50);
    PlacePhoton(100, -50);
    EXPECT_EQ(recorder.Take(), (Events{"photon"}));
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"large"}));

    // Two photons in one asteroid: two shots, one split.
    PlaceAsteroid(0, -300, -200);
    PlacePhoton(-300, -200);
    PlacePhoton(-298, -199);
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"photon", "photon", "large"}));

    PlaceAsteroid(4, 200, 200, true);
    PlacePhoton(200, 200);
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"photon", "small"}));

    // Shots that hit nothing are still shots.
    for (int i = 0; i < 7; ++i) app.FirePhoton();
    EXPECT_EQ(recorder.Take(), Events(7, "photon"));
}

TEST_F(GameListenerTest, OneBeamThroughTheSaucerAndTwoAsteroidsReportsEachOnce) {
    PlaceShip(0, 0);
    app.laser->SetCharges(1);
    app.FireLaser();
    app.FireLaser();  // no charge left: nothing fires, nothing is reported
    EXPECT_EQ(recorder.Take(), (Events{"laser"}));
    app.laser->Update(*app.ship);
    app.laser->Draw(255);  // the beam runs from (512, 384) to (912, 384)
    PlaceSaucer(150, 0);
    PlaceAsteroid(0, 80, 0);
    PlaceAsteroid(1, 300, 0);
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"saucer", "large", "large"}));
}

TEST_F(GameListenerTest, ChargeGainIsReportedOnlyBelowTheLimit) {
    app.laser->SetCharges(3);
    app.laser->recharge = 2;
    Ticks(2);
    EXPECT_EQ(recorder.Take(), Events{});
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"charged"}));
    EXPECT_EQ(app.laser->GetCharges(), 4);

    app.laser->SetCharges(CLaser::kMaxRechargedCharges);
    app.laser->recharge = 0;
    Ticks(3);
    EXPECT_EQ(recorder.Take(), Events{});
}

TEST_F(GameListenerTest, ShipDestroyedOnceThenTheGameEndsAndANewOneStarts) {
    app.ship->lives = 1;
    PlaceShip(0, 0);
    PlaceAsteroid(0, 0, 0);
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"ship"}));
    EXPECT_EQ(app.ship->GetLives(), 0);

    // The asteroid stays on the wreck; nothing more is reported until the
    // respawn delay ends the game.
    Ticks(CShip::kRespawnDelay);
    EXPECT_EQ(recorder.Take(), Events{});
    EXPECT_TRUE(app.running);
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"over"}));
    EXPECT_FALSE(app.running);

    app.HandleKeyUp(SDLK_SPACE);
    EXPECT_EQ(recorder.Take(), (Events{"wave", "game"}));
}

TEST_F(GameListenerTest, SaucerRammingTheShipReportsTheShipOnly) {
    PlaceShip(0, 0);
    PlaceSaucer(0, 0);
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"ship"}));
    EXPECT_FALSE(app.saucer->alive);
}

TEST_F(GameListenerTest, SaucerLaunchAndTheLastAsteroidStartingANewWave) {
    app.score = 1001;
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"launch"}));
    app.Tick();
    EXPECT_EQ(recorder.Take(), Events{});  // one launch per mark

    app.saucer->Deactivate();
    KillAsteroids({0, 1, 2, 3, 4, 5, 6, 7});
    PlaceAsteroid(2, -100, 100, true);
    PlacePhoton(-100, 100);
    app.Tick();
    EXPECT_EQ(recorder.Take(), (Events{"photon", "small", "wave"}));
    EXPECT_EQ(LiveAsteroids(), 8);
}

// ---------------------------------------------------------------------------
// Long runs: the events agree with the state, and sound changes nothing

// A seed under which the scripted player also shoots the saucer down.
constexpr unsigned kSeed = 3;
// Long enough for every kind of event, the saucer's destruction among them.
constexpr int kRunTicks = 6000;

class ListenerRunTest : public ::testing::Test {
protected:
    void SetUp() override { recgl::SetRecording(false); }
    void TearDown() override { recgl::SetRecording(true); }
};

// The snapshot after every tick of a scripted run, the listener (if any)
// attached; `sound`, if given, follows the state after every tick as the
// shell's loop would make it.
std::vector<testing_support::GameStateSnapshot> ScriptedRun(GameListener* listener,
                                                            SoundEffects* sound, int& nextRandom) {
    GameApp app;
    SeedRandom(kSeed);
    app.InitGame();
    app.listener = listener;
    testing_support::ScriptedPlayer player(kSeed);
    std::vector<testing_support::GameStateSnapshot> snapshots;
    snapshots.reserve(kRunTicks);
    for (int tick = 0; tick < kRunTicks; ++tick) {
        player.Play(app);
        app.Tick();
        if (sound != nullptr) sound->Update(app);
        snapshots.emplace_back(app);
    }
    nextRandom = NextRandom();
    return snapshots;
}

TEST_F(ListenerRunTest, SoundAttachedLeavesEveryTickAsWithout) {
    int randomWithout = 0;
    const std::vector<testing_support::GameStateSnapshot> without =
        ScriptedRun(nullptr, nullptr, randomWithout);

    // The real thing, on SDL's dummy audio driver, which plays to nowhere.
    testing_support::ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    std::ostringstream warnings;
    SoundEffects sound(SoundEffects::FindFolder(), warnings);
    const bool opened = sound.Open();
    RecordingListener recorder(&sound);
    int randomWith = 0;
    const std::vector<testing_support::GameStateSnapshot> with =
        ScriptedRun(&recorder, &sound, randomWith);
    sound.Close();
    ASSERT_TRUE(opened) << warnings.str();

    ASSERT_EQ(with.size(), without.size());
    for (std::size_t tick = 0; tick < with.size(); ++tick) {
        ASSERT_TRUE(with[tick] == without[tick]) << "the state differs after tick " << tick;
    }
    EXPECT_EQ(randomWith, randomWithout);
    EXPECT_GT(recorder.Take().size(), 1000u) << "the listener heard almost nothing";
}

TEST_F(ListenerRunTest, ScoreAndLivesChangeOnlyWithTheirEvents) {
    GameApp app;
    SeedRandom(kSeed);
    app.InitGame();
    RecordingListener recorder;
    app.listener = &recorder;
    testing_support::ScriptedPlayer player(kSeed);
    std::map<std::string, int> totals;
    for (int tick = 0; tick < kRunTicks; ++tick) {
        player.Play(app);
        const int score = app.score;
        const int lives = app.ship->GetLives();
        app.Tick();
        std::map<std::string, int> count;
        for (const std::string& event : recorder.Take()) {
            count[event] += 1;
            totals[event] += 1;
        }
        if (count["game"] > 0) continue;  // score and lives start again
        ASSERT_EQ(app.score - score, GameApp::kLargeAsteroidPoints * count["large"] +
                                         GameApp::kSmallAsteroidPoints * count["small"] +
                                         GameApp::kSaucerPoints * count["saucer"])
            << "tick " << tick;
        ASSERT_EQ(lives - app.ship->GetLives(), count["ship"]) << "tick " << tick;
    }
    for (const char* event : {"photon", "laser", "charged", "large", "small", "ship", "launch",
                              "saucer", "wave", "game", "over"}) {
        EXPECT_GT(totals[event], 0) << event << " never happened";
    }
}

}  // namespace
