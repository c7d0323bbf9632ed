// Pads driven through SDL's virtual joysticks: real SDL events from the
// controller subsystem reach Gamepads exactly as they would in the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game/GameApp.h"
#include "input/Gamepads.h"
#include "tests/support/TemporaryFolder.h"

namespace {

namespace fs = std::filesystem;
using Action = Gamepads::Action;

// The test pad's layout, which the mappings below describe.
enum TestButton : int { kA, kB, kStart, kRightShoulder, kDpadUp, kDpadDown, kDpadLeft, kDpadRight };
constexpr int kButtons = 8;
constexpr int kAxes = 2;  // left stick x, y
constexpr Sint16 kFullLeft = -32768;
constexpr Sint16 kFullRight = 32767;

const char* const kLayout =
    "a:b0,b:b1,start:b2,rightshoulder:b3,dpup:b4,dpdown:b5,dpleft:b6,dpright:b7,"
    "leftx:a0,lefty:a1,";

class GamepadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("SDL_GAMECONTROLLERCONFIG");
        folder = scratch.Bare();
    }

    void TearDown() override {
        pads.reset();
        for (SDL_Joystick* joystick : joysticks) SDL_JoystickClose(joystick);
        SDL_Quit();
        unsetenv("SDL_GAMECONTROLLERCONFIG");
    }

    // What the shell's start-up does before the pads are made.
    void StartSdl() { ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError(); }

    void MakePads() {
        pads = std::make_unique<Gamepads>(folder, warnings);
        Pump();
    }

    // A pad that SDL itself has no mapping for, unless `known`.
    SDL_Joystick* Attach(bool known = false) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = known ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = kAxes;
        desc.nbuttons = kButtons;
        desc.vendor_id = 0x1209;
        desc.product_id = 0x4b56;
        desc.name = "Korvessa Test Pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        EXPECT_NE(joystick, nullptr) << SDL_GetError();
        joysticks.push_back(joystick);
        return joystick;
    }

    void Detach(SDL_Joystick* joystick) {
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) != id) continue;
            SDL_JoystickClose(joystick);
            joysticks.erase(std::find(joysticks.begin(), joysticks.end(), joystick));
            ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
            return;
        }
        FAIL() << "no such virtual pad";
    }

    // The GUID SDL gives the test pad, found by plugging one in and out
    // before the pads are made.
    std::string TestPadGuid(bool known = false) {
        SDL_Joystick* joystick = Attach(known);
        char guid[33];
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), guid, sizeof guid);
        Detach(joystick);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        return guid;
    }

    static std::string Mapping(const std::string& guid, const char* layout = kLayout) {
        return guid + ",Korvessa Test Pad," + layout + "platform:Linux,";
    }

    void WriteMappingFile(const std::string& text) {
        std::ofstream(folder + "/gamecontrollerdb.txt") << text;
    }

    // The usual set-up: SDL running and the test pad in the mapping file.
    void StartWithMappingFile() {
        StartSdl();
        WriteMappingFile(Mapping(TestPadGuid()) + "\n");
    }

    void Press(SDL_Joystick* joystick, int button, bool down = true) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
        Pump();
    }
    void Click(SDL_Joystick* joystick, int button) {
        Press(joystick, button);
        Press(joystick, button, false);
    }
    void Stick(SDL_Joystick* joystick, Sint16 x, Sint16 y) {
        SDL_JoystickSetVirtualAxis(joystick, 0, x);
        SDL_JoystickSetVirtualAxis(joystick, 1, y);
        Pump();
    }

    // Feeds every queued SDL event to the pads, as the event loop does;
    // returns the types they took.
    std::vector<Uint32> Pump() {
        std::vector<Uint32> taken;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (pads && pads->HandleEvent(event)) taken.push_back(event.type);
        }
        return taken;
    }

    // The mapping in effect puts A on `button`, not on `other`.
    void ExpectAOn(SDL_Joystick* pad, int button, int other) {
        ASSERT_EQ(pads->PadCount(), 1);
        Click(pad, other);
        EXPECT_TRUE(Actions().empty());
        Click(pad, button);
        EXPECT_EQ(Actions(), std::vector<Action>{Action::kPhoton});
    }

    std::vector<Action> Actions() {
        std::vector<Action> actions;
        while (auto action = pads->NextAction()) actions.push_back(*action);
        return actions;
    }

    testing_support::TemporaryFolder scratch;
    std::string folder;
    std::ostringstream warnings;
    std::unique_ptr<Gamepads> pads;
    std::vector<SDL_Joystick*> joysticks;
};

constexpr unsigned kUp = GameApp::kInputUp;
constexpr unsigned kDown = GameApp::kInputDown;
constexpr unsigned kLeft = GameApp::kInputLeft;
constexpr unsigned kRight = GameApp::kInputRight;

// ---------------------------------------------------------------------------
// Playing

TEST_F(GamepadsTest, PadPluggedInBeforeStartDrivesLikeTheKeys) {
    StartWithMappingFile();
    SDL_Joystick* pad = Attach();
    MakePads();  // SDL's own announcement of the pad comes in too: still one
    EXPECT_EQ(pads->PadCount(), 1);

    Press(pad, kDpadLeft);
    Press(pad, kDpadUp);
    EXPECT_EQ(pads->HeldBits(), kLeft | kUp);

    // Weapons on release, pause on press.
    Press(pad, kA);
    EXPECT_TRUE(Actions().empty());
    Press(pad, kA, false);
    Click(pad, kB);
    Click(pad, kRightShoulder);
    Press(pad, kStart);
    EXPECT_EQ(Actions(), (std::vector<Action>{Action::kPhoton, Action::kLaser, Action::kLaser,
                                              Action::kPause}));
    Press(pad, kStart, false);
    EXPECT_TRUE(Actions().empty());

    Press(pad, kDpadLeft, false);
    EXPECT_EQ(pads->HeldBits(), kUp);
    Press(pad, kDpadUp, false);
    EXPECT_EQ(pads->HeldBits(), 0u);

    // The controller's events are taken; the joystick's underneath are not.
    SDL_JoystickSetVirtualButton(pad, kDpadRight, SDL_PRESSED);
    const std::vector<Uint32> taken = Pump();
    EXPECT_EQ(taken, std::vector<Uint32>{SDL_CONTROLLERBUTTONDOWN});
    EXPECT_EQ(pads->HeldBits(), kRight);
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(GamepadsTest, PadPluggedInMidGameWorksAtOnceAndUnpluggingLetsGo) {
    StartWithMappingFile();
    MakePads();
    EXPECT_EQ(pads->PadCount(), 0);
    EXPECT_EQ(pads->HeldBits(), 0u);
    EXPECT_FALSE(pads->NextAction());

    SDL_Joystick* pad = Attach();
    Pump();
    ASSERT_EQ(pads->PadCount(), 1);
    Stick(pad, kFullLeft, kFullLeft);
    EXPECT_EQ(pads->HeldBits(), kLeft | kUp);

    // Unplugged with A and B held: no weapon, only the removal, nothing held.
    Press(pad, kA);
    Press(pad, kB);
    Detach(pad);
    Pump();
    EXPECT_EQ(Actions(), std::vector<Action>{Action::kPadRemoved});
    EXPECT_EQ(pads->HeldBits(), 0u);
    EXPECT_EQ(pads->PadCount(), 0);

    // Plugged back, it asks for nothing by itself and drives again.
    pad = Attach();
    Pump();
    EXPECT_EQ(pads->PadCount(), 1);
    EXPECT_TRUE(Actions().empty());
    Stick(pad, kFullRight, 0);
    EXPECT_EQ(pads->HeldBits(), kRight);
}

TEST_F(GamepadsTest, StickAtRestHoldsNothingAndAHeldDirectionDoesNotFlicker) {
    StartWithMappingFile();
    SDL_Joystick* pad = Attach();
    MakePads();

    for (Sint16 rest : {0, 3000, -5000, 9000, -9000, 13000, -13000}) {
        Stick(pad, rest, rest);
        EXPECT_EQ(pads->HeldBits(), 0u) << rest;
    }
    Stick(pad, 20000, 0);
    EXPECT_EQ(pads->HeldBits(), kRight);
    Stick(pad, 11000, 0);  // eased back, still past the release point
    EXPECT_EQ(pads->HeldBits(), kRight);
    Stick(pad, 9000, 0);
    EXPECT_EQ(pads->HeldBits(), 0u);
    Stick(pad, kFullLeft, 0);
    EXPECT_EQ(pads->HeldBits(), kLeft);
    Stick(pad, kFullRight, kFullRight);  // flicked across in one step
    EXPECT_EQ(pads->HeldBits(), kRight | kDown);
    EXPECT_TRUE(Actions().empty());
}

TEST_F(GamepadsTest, AnyPadDrivesAndOneLettingGoKeepsWhatAnotherHolds) {
    StartWithMappingFile();
    SDL_Joystick* first = Attach();
    MakePads();
    SDL_Joystick* second = Attach();
    Pump();
    ASSERT_EQ(pads->PadCount(), 2);

    Press(first, kDpadLeft);
    Stick(second, kFullLeft, kFullLeft);
    EXPECT_EQ(pads->HeldBits(), kLeft | kUp);
    Press(first, kDpadLeft, false);
    EXPECT_EQ(pads->HeldBits(), kLeft | kUp);  // the second still holds left

    Press(first, kDpadDown);
    Detach(second);
    Pump();
    EXPECT_EQ(pads->HeldBits(), kDown);
    Click(first, kA);
    EXPECT_EQ(Actions(), (std::vector<Action>{Action::kPadRemoved, Action::kPhoton}));
}

TEST_F(GamepadsTest, ReleaseAllLetsGoUntilANewPressOrMove) {
    StartWithMappingFile();
    SDL_Joystick* pad = Attach();
    MakePads();
    Press(pad, kDpadRight);
    Stick(pad, 0, kFullLeft);
    EXPECT_EQ(pads->HeldBits(), kRight | kUp);

    pads->ReleaseAll();
    EXPECT_EQ(pads->HeldBits(), 0u);
    Pump();
    EXPECT_EQ(pads->HeldBits(), 0u);  // still held on the pad, but not new

    Press(pad, kDpadDown);
    EXPECT_EQ(pads->HeldBits(), kDown);
    Stick(pad, 0, -30000);
    EXPECT_EQ(pads->HeldBits(), kDown | kUp);
}

// ---------------------------------------------------------------------------
// Where mappings come from

TEST_F(GamepadsTest, MappingFileMakesAnUnknownPadAController) {
    StartSdl();
    const std::string guid = TestPadGuid();
    SDL_Joystick* pad = Attach();
    MakePads();
    EXPECT_EQ(pads->PadCount(), 0);
    Click(pad, kA);
    EXPECT_TRUE(Actions().empty());

    pads.reset();
    WriteMappingFile("# pads of my own\n\n" + Mapping(guid) + "\r\n");
    MakePads();
    EXPECT_EQ(pads->PadCount(), 1);
    Click(pad, kA);
    EXPECT_EQ(Actions(), std::vector<Action>{Action::kPhoton});
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(GamepadsTest, MappingFileOverridesSdlsOwnMapping) {
    StartSdl();
    const std::string guid = TestPadGuid(/*known=*/true);
    WriteMappingFile(Mapping(guid, "a:b5,") + "\n");
    SDL_Joystick* pad = Attach(/*known=*/true);
    // SDL maps such a pad itself, with A on button 0.
    char* own = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUID(pad));
    ASSERT_NE(own, nullptr);
    EXPECT_NE(std::string(own).find(",a:b0,"), std::string::npos) << own;
    SDL_free(own);
    MakePads();
    ExpectAOn(pad, 5, 0);
}

TEST_F(GamepadsTest, VariableOverridesMappingFile) {
    // The player's usual way: the variable is there before SDL starts.
    StartSdl();
    const std::string guid = TestPadGuid();
    SDL_Quit();
    setenv("SDL_GAMECONTROLLERCONFIG", Mapping(guid, "a:b2,").c_str(), 1);
    StartSdl();
    WriteMappingFile(Mapping(guid, "a:b1,") + "\n");
    SDL_Joystick* pad = Attach();
    MakePads();
    ExpectAOn(pad, 2, 1);
}

TEST_F(GamepadsTest, VariableSetAfterSdlStartedStillOverridesMappingFile) {
    StartSdl();
    const std::string guid = TestPadGuid();
    setenv("SDL_GAMECONTROLLERCONFIG", Mapping(guid, "a:b2,").c_str(), 1);
    WriteMappingFile(Mapping(guid, "a:b1,") + "\n");
    SDL_Joystick* pad = Attach();
    MakePads();
    ExpectAOn(pad, 2, 1);
}

TEST_F(GamepadsTest, BadMappingFileWarnsOnceAndKeepsItsGoodLines) {
    StartSdl();
    const std::string guid = TestPadGuid();
    WriteMappingFile("<html><body>\n" + Mapping(guid) + "\nnot,a,mapping\n" +
                     "0000000000000000000000000000zzzz,Other,a:b0,platform:Windows,\n");
    SDL_Joystick* pad = Attach();
    MakePads();
    EXPECT_EQ(warnings.str(), "korvessa: " + folder +
                                  "/gamecontrollerdb.txt: line 1 is not a game controller "
                                  "mapping (2 such lines ignored)\n");
    ASSERT_EQ(pads->PadCount(), 1);
    Click(pad, kA);
    EXPECT_EQ(Actions(), std::vector<Action>{Action::kPhoton});
}

TEST_F(GamepadsTest, UnreadableMappingFileWarnsOnce) {
    StartSdl();
    fs::create_directory(folder + "/gamecontrollerdb.txt");
    MakePads();
    EXPECT_EQ(warnings.str(), "korvessa: " + folder + "/gamecontrollerdb.txt is a directory\n");
    EXPECT_EQ(pads->PadCount(), 0);
}

}  // namespace
