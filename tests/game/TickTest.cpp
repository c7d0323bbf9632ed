#include <cmath>
#include <vector>

#include "tests/game/GameAppFixture.h"
#include "tests/support/RandomSequence.h"
#include "tests/support/SdlEvents.h"

namespace {

int LiveDebris(const GameApp& app) {
    int live = 0;
    for (const CExplosion* debris : app.explosions) live += debris != nullptr && debris->alive;
    return live;
}

using testing_support::KeyEvent;

// ---------------------------------------------------------------------------
// The saucer's schedule

TEST_F(GameAppTest, SaucerLaunchesOnlyOnceTheScoreIsAboveTheMark) {
    app.score = 1000;
    app.Tick();
    EXPECT_FALSE(app.saucer->alive);
    EXPECT_EQ(app.nextSaucerScore, 1000);

    app.score = 1001;
    app.Tick();
    EXPECT_TRUE(app.saucer->alive);
    EXPECT_EQ(app.nextSaucerScore, 2000);
    EXPECT_EQ(app.saucer->speed, 3);  // sped up before its very first launch
}

TEST_F(GameAppTest, SaucerWaitsForThePresentOneAndTheGame) {
    app.score = 3500;
    app.Tick();
    ASSERT_TRUE(app.saucer->alive);
    app.Tick();
    EXPECT_EQ(app.nextSaucerScore, 2000);  // one launch, one step, while present

    app.saucer->Deactivate();
    app.Tick();  // launched in the tick in which the last one left
    EXPECT_TRUE(app.saucer->alive);
    EXPECT_EQ(app.nextSaucerScore, 3000);

    app.GameOver();
    EXPECT_FALSE(app.saucer->alive);
    app.Tick();
    EXPECT_FALSE(app.saucer->alive);
    EXPECT_EQ(app.nextSaucerScore, 3000);
}

// ---------------------------------------------------------------------------
// Hits, scores and splits

TEST_F(GameAppTest, ShotLargeAsteroidInAFullWaveLeavesOneFragmentInItsSlot) {
    PlaceAsteroid(3, 100.7, -50.2);
    PlacePhoton(100.7, -50.2);
    app.Tick();
    EXPECT_EQ(app.score, 25);
    ASSERT_TRUE(app.asteroids[3]->alive);
    EXPECT_TRUE(app.asteroids[3]->IsSmall());
    EXPECT_EQ(app.asteroids[3]->x, 100.0);  // truncated, and not moved this tick
    EXPECT_EQ(app.asteroids[3]->y, -50.0);
    EXPECT_EQ(LiveAsteroids(), 8);
    EXPECT_EQ(app.asteroidsLeft, 8);
    EXPECT_FALSE(app.photons[1]->alive);  // used up
    int small = 0;
    for (CAsteroid* asteroid : app.asteroids) small += asteroid->IsSmall();
    EXPECT_EQ(small, 1);
}

TEST_F(GameAppTest, SplitFillsTheFirstTwoFreeSlotsFromSlotZero) {
    KillAsteroids({5, 6});
    PlaceAsteroid(2, -100, 100);
    PlacePhoton(-100, 100);
    app.Tick();
    EXPECT_EQ(app.score, 25);
    EXPECT_EQ(app.asteroidsLeft, 7);
    EXPECT_EQ(LiveAsteroids(), 7);
    ASSERT_TRUE(app.asteroids[2]->IsSmall());
    ASSERT_TRUE(app.asteroids[5]->IsSmall());
    EXPECT_FALSE(app.asteroids[6]->alive);
    // The fragment in its own slot waits; the one after it moved already.
    EXPECT_EQ(app.asteroids[2]->x, -100.0);
    EXPECT_EQ(app.asteroids[5]->x, -100.0 + app.asteroids[5]->vx);
}

TEST_F(GameAppTest, SplitSearchesFromSlotZeroEvenBeforeTheShotSlot) {
    KillAsteroids({0, 6});
    PlaceAsteroid(3, 40, 40);
    PlacePhoton(40, 40);
    app.Tick();
    EXPECT_TRUE(app.asteroids[0]->IsSmall());
    EXPECT_TRUE(app.asteroids[3]->IsSmall());
    EXPECT_FALSE(app.asteroids[6]->alive);
    EXPECT_EQ(app.asteroids[0]->x, 40.0);  // before the shot slot: waits a tick
}

TEST_F(GameAppTest, FragmentMadeOnTheShipDestroysItInTheSameTick) {
    // The ship test reads the slot after the split: the fresh fragment.
    PlaceShip(0, 0);
    PlaceAsteroid(0, 0, 0);
    PlacePhoton(0, 0);
    app.Tick();
    EXPECT_TRUE(app.asteroids[0]->IsSmall());
    EXPECT_TRUE(app.asteroids[0]->alive);
    EXPECT_FALSE(app.ship->alive);
    EXPECT_EQ(app.score, 25);
}

TEST_F(GameAppTest, SmallAsteroidScoresFiftyAndDoesNotSplit) {
    PlaceAsteroid(4, 200, 200, true);
    PlacePhoton(200, 200);
    app.Tick();
    EXPECT_EQ(app.score, 50);
    EXPECT_FALSE(app.asteroids[4]->alive);
    EXPECT_EQ(app.asteroidsLeft, 7);
    EXPECT_EQ(LiveAsteroids(), 7);
}

TEST_F(GameAppTest, TwoPhotonsOnOneAsteroidAreBothUsedAndScoreOnce) {
    PlaceAsteroid(0, -300, -200);
    CPhoton* first = PlacePhoton(-300, -200);
    CPhoton* second = PlacePhoton(-298, -199);
    app.Tick();
    EXPECT_FALSE(first->alive);
    EXPECT_FALSE(second->alive);
    EXPECT_EQ(app.score, 25);
}

TEST_F(GameAppTest, PhotonHittingTheSaucerStillDestroysAnAsteroid) {
    PlaceShip(0, 0);
    PlaceSaucer(-200, 100);
    PlaceAsteroid(1, -200, 100);
    CPhoton* photon = PlacePhoton(-200, 100);
    app.Tick();
    EXPECT_FALSE(app.saucer->alive);
    EXPECT_TRUE(app.asteroids[1]->IsSmall());
    EXPECT_FALSE(photon->alive);
    EXPECT_EQ(app.score, 250 + 25);
}

TEST_F(GameAppTest, OneBeamDestroysTheSaucerAndTwoAsteroidsInOneTick) {
    PlaceShip(0, 0);
    app.laser->SetCharges(1);
    app.laser->Fire();
    app.laser->Update(*app.ship);
    app.laser->Draw(255);  // the beam runs from (512, 384) to (912, 384)
    PlaceSaucer(150, 0);
    PlaceAsteroid(0, 80, 0);
    PlaceAsteroid(1, 300, 0);
    app.Tick();
    EXPECT_FALSE(app.saucer->alive);
    EXPECT_TRUE(app.asteroids[0]->IsSmall());
    EXPECT_TRUE(app.asteroids[1]->IsSmall());
    EXPECT_TRUE(app.laser->alive);  // not used up
    EXPECT_EQ(app.score, 250 + 25 + 25);
}

TEST_F(GameAppTest, HitTestsUseTheOutlinesAsLastDrawn) {
    // A saucer that was never drawn cannot be hit.
    PlaceShip(0, 0);
    app.saucer->alive = true;
    app.saucer->x = -200;
    app.saucer->y = 100;
    PlacePhoton(-200, 100);
    app.Tick();
    EXPECT_TRUE(app.saucer->alive);
    EXPECT_EQ(app.score, 0);

    // A new beam hits nothing until it has been drawn once, even where an
    // earlier beam was drawn.
    app.laser->SetCharges(2);
    app.laser->Fire();
    app.Tick();  // draws the first beam
    for (int i = 0; i < 10; ++i) app.Tick();
    ASSERT_FALSE(app.laser->alive);
    PlaceAsteroid(0, 200, 0);
    app.ship->x = 0;
    app.ship->y = 0;
    app.ship->vx = app.ship->vy = 0;
    app.ship->angle = 0;
    app.laser->Fire();
    int score = app.score;
    app.Tick();
    EXPECT_EQ(app.score, score);
    EXPECT_TRUE(app.asteroids[0]->alive);
    app.Tick();
    EXPECT_EQ(app.score, score + 25);
}

// ---------------------------------------------------------------------------
// The ship's death, respawn and the end of a game

TEST_F(GameAppTest, ShipHitByAnAsteroidDiesAndTheSaucerLeavesWithoutPoints) {
    PlaceShip(0, 0);
    PlaceSaucer(-400, 300);
    PlaceAsteroid(0, 0, 0);
    app.Tick();
    EXPECT_FALSE(app.ship->alive);
    EXPECT_EQ(app.ship->GetLives(), 2);
    EXPECT_FALSE(app.saucer->alive);
    EXPECT_TRUE(app.asteroids[0]->alive);
    EXPECT_EQ(app.score, 0);
    EXPECT_EQ(LiveDebris(app), 3);  // the ship's three edges only
}

TEST_F(GameAppTest, ProtectedShipIsNotHit) {
    PlaceShip(0, 0);
    app.ship->invulnerable = 2;
    PlaceAsteroid(0, 0, 0);
    app.Tick();
    EXPECT_TRUE(app.ship->alive);
    EXPECT_EQ(app.ship->invulnerable, 1);
}

TEST_F(GameAppTest, SaucerRammingTheShipDestroysBothWithoutPoints) {
    PlaceShip(0, 0);
    PlaceSaucer(0, 0);
    app.Tick();
    EXPECT_FALSE(app.ship->alive);
    EXPECT_FALSE(app.saucer->alive);
    EXPECT_EQ(app.score, 0);
    EXPECT_EQ(LiveDebris(app), 3);
}

TEST_F(GameAppTest, ShipRespawnsOnThe31stTick) {
    app.ship->Die();
    app.ship->x = 50;
    app.ship->vx = 3;
    for (int tick = 1; tick <= 30; ++tick) {
        app.Tick();
        ASSERT_FALSE(app.ship->alive) << "tick " << tick;
    }
    app.Tick();
    EXPECT_TRUE(app.ship->alive);
    EXPECT_EQ(app.ship->x, 0.0);  // and not moved in that tick
    EXPECT_EQ(app.ship->invulnerable, 60);
    EXPECT_EQ(app.ship->GetLives(), 2);
}

TEST_F(GameAppTest, GameEndsOnThe31stTickAfterTheLastShip) {
    app.ship->lives = 1;
    app.ship->Die();
    PlaceSaucer(100, 100);
    for (int tick = 1; tick <= 30; ++tick) {
        app.Tick();
        ASSERT_TRUE(app.running) << "tick " << tick;
        ASSERT_EQ(app.ship->GetLives(), 0);
    }
    app.Tick();
    EXPECT_FALSE(app.running);
    EXPECT_FALSE(app.ship->alive);
    EXPECT_FALSE(app.saucer->alive);
    for (int tick = 0; tick < 5; ++tick) app.Tick();
    EXPECT_FALSE(app.running);
    EXPECT_FALSE(app.ship->alive);
}

TEST_F(GameAppTest, DebrisFadesOverThirtyTicksAndEndsOnThe31st) {
    app.ship->Draw(255);
    app.SpawnExplosion(*app.ship);
    CExplosion* debris = app.explosions[1];
    app.Tick();  // the tick in which it was made counts it down once
    EXPECT_EQ(debris->timer, 29);
    for (int tick = 2; tick <= 30; ++tick) app.Tick();
    EXPECT_TRUE(debris->alive);
    EXPECT_EQ(debris->timer, 0);
    app.Tick();
    EXPECT_FALSE(debris->alive);
}

TEST_F(GameAppTest, DebrisTakesTruncatedPoseAndModelEdges) {
    app.ship->Draw(255);
    app.ship->x = 100.7;
    app.ship->y = -20.3;
    app.ship->angle = 2.9;
    app.SpawnExplosion(*app.ship);
    ASSERT_EQ(app.explosionIndex, 3);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(app.explosions[k]->x, 100.0);
        EXPECT_EQ(app.explosions[k]->y, -20.0);
        EXPECT_EQ(app.explosions[k]->angle, 2.0);
    }
    // The closing edge runs from the last vertex back to the first.
    auto closing = app.explosions[3]->model->Points();
    EXPECT_EQ(closing[0]->GetX(), -10);
    EXPECT_EQ(closing[0]->GetY(), -7);
    EXPECT_EQ(closing[1]->GetX(), 10);
}

TEST_F(GameAppTest, NewestDebrisReplacesTheOldestBeyondTwenty) {
    app.saucer->Draw(255);  // ten edges
    app.SpawnExplosion(*app.saucer);
    app.SpawnExplosion(*app.saucer);
    EXPECT_EQ(app.explosionIndex, 0);  // 20 segments: slots 1..19, then 0
    app.explosions[1]->timer = 99;
    app.ship->Draw(255);
    app.SpawnExplosion(*app.ship);
    EXPECT_EQ(app.explosionIndex, 3);
    EXPECT_EQ(app.explosions[1]->timer, 30);  // replaced
    EXPECT_EQ(LiveDebris(app), 20);
}

// ---------------------------------------------------------------------------
// Photons, waves and new games

TEST_F(GameAppTest, SeventhPhotonReplacesTheOldest) {
    for (int shot = 1; shot <= 6; ++shot) app.FirePhoton();
    EXPECT_EQ(app.photonIndex, 0);
    for (CPhoton* photon : app.photons) ASSERT_NE(photon, nullptr);
    app.photons[1]->timer = 99;  // marks the oldest shot
    app.FirePhoton();
    EXPECT_EQ(app.photonIndex, 1);
    EXPECT_EQ(app.photons[1]->timer, 38);
}

TEST_F(GameAppTest, ClearedWaveStartsTheNextOneAndSpeedStopsAtTwelve) {
    EXPECT_EQ(app.asteroidSpeed, 3);  // the first wave was built with 2
    app.asteroidSpeed = 11;
    KillAsteroids({0, 1, 2, 3, 4, 5, 6, 7});
    app.Tick();
    EXPECT_EQ(app.asteroidsLeft, 8);
    EXPECT_EQ(LiveAsteroids(), 8);
    EXPECT_EQ(app.asteroidSpeed, 12);
    KillAsteroids({0, 1, 2, 3, 4, 5, 6, 7});
    app.Tick();
    EXPECT_EQ(app.asteroidSpeed, 12);
    for (CAsteroid* asteroid : app.asteroids) EXPECT_FALSE(asteroid->IsSmall());
}

TEST_F(GameAppTest, FragmentsTakeTheRaisedSpeed) {
    app.asteroidSpeed = 12;  // as after building the wave with 11
    KillAsteroids({0});
    std::vector<double> r = testing_support::PeekFractions(777, 20);
    app.SplitAsteroid(0);
    int n = 8 + static_cast<int>(std::floor(4 * r[0]));
    float speed = static_cast<float>(2 * r[n + 2] * 12);
    EXPECT_EQ(std::fabs(app.asteroids[0]->vx), speed);
    EXPECT_EQ(app.asteroidsLeft, 8);
}

TEST_F(GameAppTest, NewGameResetsTheGameButKeepsSaucerSpeedAndRecharge) {
    app.score = 700;
    app.ship->lives = 1;
    app.laser->SetCharges(7);
    app.laser->recharge = 100;
    app.asteroidSpeed = 9;
    app.nextSaucerScore = 5000;
    app.saucer->speed = 3;
    app.input = GameApp::kInputUp | GameApp::kInputLeft;
    app.FirePhoton();
    app.ship->Draw(255);
    app.SpawnExplosion(*app.ship);
    app.running = false;

    app.NewGame();
    EXPECT_EQ(app.score, 0);
    EXPECT_EQ(app.ship->GetLives(), 3);
    EXPECT_TRUE(app.ship->alive);
    EXPECT_EQ(app.ship->invulnerable, 60);
    EXPECT_EQ(app.laser->GetCharges(), 2);
    EXPECT_EQ(app.asteroidSpeed, 3);
    EXPECT_EQ(app.asteroidsLeft, 8);
    EXPECT_EQ(app.nextSaucerScore, 1000);
    EXPECT_EQ(app.photonIndex, 0);
    EXPECT_EQ(app.explosionIndex, 0);
    for (CPhoton* photon : app.photons) EXPECT_EQ(photon, nullptr);
    for (CExplosion* debris : app.explosions) EXPECT_EQ(debris, nullptr);
    EXPECT_TRUE(app.running);
    EXPECT_EQ(app.saucer->speed, 3);
    EXPECT_EQ(app.laser->recharge, 100);
    EXPECT_EQ(app.input, GameApp::kInputUp | GameApp::kInputLeft);
}

// ---------------------------------------------------------------------------
// Keys and events

TEST_F(GameAppTest, ArrowKeysSetAndClearTheirBits) {
    app.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_UP));
    app.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_DOWN));
    EXPECT_EQ(app.input, 0x03u);
    app.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_LEFT));
    app.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_RIGHT));
    app.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_RIGHT));  // a repeat changes nothing
    EXPECT_EQ(app.input, 0x0Fu);
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_UP));
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_RIGHT));
    EXPECT_EQ(app.input, 0x06u);
    app.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_a));
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_a));
    EXPECT_EQ(app.input, 0x06u);
}

TEST_F(GameAppTest, HeldKeysTurnAndPushTheShipEveryTick) {
    app.input = GameApp::kInputLeft | GameApp::kInputUp | GameApp::kInputDown;
    app.Tick();
    EXPECT_DOUBLE_EQ(app.ship->angle, 3.141592653589793 / 16);
    EXPECT_NEAR(app.ship->vx, 0.0f, 1e-7);  // both thrusts applied
    app.input = GameApp::kInputRight;
    app.Tick();
    EXPECT_DOUBLE_EQ(app.ship->angle, 0.0);

    app.ship->Die();
    app.input = GameApp::kInputLeft;
    app.Tick();  // a destroyed ship still turns
    EXPECT_DOUBLE_EQ(app.ship->angle, 3.141592653589793 / 16);
}

TEST_F(GameAppTest, SpaceFiresOnReleaseOnly) {
    app.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_SPACE));
    EXPECT_EQ(app.photons[1], nullptr);
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_SPACE));
    ASSERT_NE(app.photons[1], nullptr);
    EXPECT_TRUE(app.photons[1]->alive);
    EXPECT_TRUE(app.running);
}

TEST_F(GameAppTest, AltFiresTheLaserOnReleaseWithEitherKey) {
    app.HandleEvent(KeyEvent(SDL_KEYDOWN, SDLK_LALT));
    EXPECT_FALSE(app.laser->alive);
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_LALT));
    EXPECT_TRUE(app.laser->alive);
    EXPECT_EQ(app.laser->GetCharges(), 1);
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_RALT));
    EXPECT_EQ(app.laser->GetCharges(), 0);
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_RALT));  // no charge left
    EXPECT_EQ(app.laser->GetCharges(), 0);
}

TEST_F(GameAppTest, WeaponsAreSilentWhileTheShipWaitsToRespawn) {
    app.ship->Die();
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_SPACE));
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_LALT));
    EXPECT_EQ(app.photons[1], nullptr);
    EXPECT_FALSE(app.laser->alive);
    EXPECT_EQ(app.laser->GetCharges(), 2);
}

TEST_F(GameAppTest, SpaceOnTheGameOverScreenStartsANewGame) {
    app.score = 450;
    app.ship->Die();
    app.GameOver();
    app.HandleEvent(KeyEvent(SDL_KEYUP, SDLK_SPACE));
    EXPECT_TRUE(app.running);
    EXPECT_EQ(app.score, 0);
    EXPECT_TRUE(app.ship->alive);
    for (CPhoton* photon : app.photons) EXPECT_EQ(photon, nullptr);
}

TEST_F(GameAppTest, OnlyTickEventsRunATickAndQuitEndsTheLoop) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_USEREVENT;
    event.user.code = 2;
    app.FirePhoton();
    app.HandleEvent(event);
    EXPECT_EQ(app.photons[1]->timer, 38);
    event.user.code = 1;
    app.HandleEvent(event);
    EXPECT_EQ(app.photons[1]->timer, 37);

    EXPECT_FALSE(app.quit);
    SDL_zero(event);
    event.type = SDL_QUIT;
    app.HandleEvent(event);
    EXPECT_TRUE(app.quit);
}

TEST(TimerCallbackTest, PushesOneTickEventAndKeepsItsInterval) {
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    EXPECT_EQ(TimerCallback(30, nullptr), 30u);
    SDL_Event event;
    ASSERT_EQ(SDL_PollEvent(&event), 1);
    EXPECT_EQ(event.type, static_cast<Uint32>(SDL_USEREVENT));
    EXPECT_EQ(event.user.code, 1);
    EXPECT_EQ(event.user.data1, nullptr);
    EXPECT_EQ(SDL_PollEvent(&event), 0);
    SDL_Quit();
}

TEST(GameAppLifetimeTest, ShutdownIsHarmlessTwiceAndWithoutAWindow) {
    GameApp app;
    app.Shutdown();
    app.Shutdown();
    EXPECT_EQ(app.window, nullptr);
    EXPECT_EQ(app.timerId, 0);
}

}  // namespace
