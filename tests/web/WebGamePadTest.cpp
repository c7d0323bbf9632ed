// A pad plays the web game as it plays the desktop's: SDL's virtual pad
// stands in for the browser's Gamepad API, whose events SDL turns into the
// same controller events.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "objects/Photon.h"
#include "objects/Ship.h"
#include "web/WebGame.h"

namespace {

constexpr int kButtons = 8;
constexpr int kSouth = 0;  // A
constexpr int kDpadLeft = 6;

class WebGamePadTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        // An offscreen window never has the focus, without which SDL drops
        // a pad's input.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.nbuttons = kButtons;
        desc.vendor_id = 0x1209;
        desc.product_id = 0x4b56;
        desc.name = "Korvessa Test Pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index, 0) << SDL_GetError();
        char guid[33];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
        ASSERT_EQ(
            SDL_GameControllerAddMapping(
                (std::string(guid) + ",Korvessa Test Pad,a:b0,b:b1,start:b2,dpleft:b6,").c_str()),
            1)
            << SDL_GetError();
        pad = SDL_JoystickOpen(index);
        ASSERT_NE(pad, nullptr) << SDL_GetError();
    }

    void TearDown() override {
        if (pad != nullptr) SDL_JoystickClose(pad);
        SDL_Quit();
    }

    void Button(int button, bool down) {
        SDL_JoystickSetVirtualButton(pad, button, down ? SDL_PRESSED : SDL_RELEASED);
        Pump();
    }

    void Pump() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) game->HandleEvent(event);
    }

    // Runs `ticks` of the game's ticks on its own clock.
    void Ticks(int ticks) {
        for (int i = 0; i < ticks; ++i) {
            now += GameApp::kTickInterval;
            game->Frame(now);
        }
    }

    int PhotonsAlive() const {
        int alive = 0;
        for (const CPhoton* photon : game->Game().photons)
            alive += photon != nullptr && photon->alive;
        return alive;
    }

    SDL_Joystick* pad = nullptr;
    WebGame* game = nullptr;
    double now = 0;
};

TEST_F(WebGamePadTest, TheDpadTurnsTheShipAndASReleaseFires) {
    WebGame web;
    game = &web;
    Pump();  // the pad plugged in before the game opened
    web.Play(20261209);
    Ticks(1);
    const double heading = web.Game().ship->angle;

    Button(kDpadLeft, true);
    Ticks(4);
    EXPECT_NE(web.Game().ship->angle, heading) << "the D-pad held did not turn the ship";
    Button(kDpadLeft, false);
    const double turned = web.Game().ship->angle;
    Ticks(4);
    EXPECT_EQ(web.Game().ship->angle, turned) << "the ship turns on after the D-pad's release";

    Button(kSouth, true);
    Ticks(1);
    EXPECT_EQ(PhotonsAlive(), 0) << "A fired on its press";
    Button(kSouth, false);
    Ticks(1);
    EXPECT_EQ(PhotonsAlive(), 1) << "A's release fired no photon";
}

}  // namespace
