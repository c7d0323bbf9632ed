// Sound that cannot be had turns itself off with one line and never stops
// the game: a failing driver, a missing folder, a missing or damaged file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "audio/SoundEffects.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ScopedEnvironment;

constexpr const char* kPrefix = "korvessa: sound is off: ";

// Every call a shell makes, on an object whose sound is off.
void PlayAGame(SoundEffects& sound) {
    sound.SetVolume(60);
    sound.OnNewWave();
    sound.OnPhotonFired();
    sound.OnLaserFired();
    sound.OnLaserCharged();
    sound.OnLargeAsteroidBroken();
    sound.OnSmallAsteroidDestroyed();
    sound.OnSaucerLaunched();
    sound.OnSaucerDestroyed();
    sound.OnShipDestroyed();
    sound.SetLoops(true, true);
    sound.SetPaused(true);
    sound.SetPaused(false);
    sound.ToggleMute();
    sound.ToggleMute();
    sound.OnGameOver();
    sound.SetLoops(false, false);
}

// Opens, plays and opens again; returns what was written.
std::string WarningsOf(const std::string& folder) {
    std::ostringstream warnings;
    SoundEffects sound(folder, warnings);
    EXPECT_FALSE(sound.Open());
    EXPECT_FALSE(sound.IsOpen());
    PlayAGame(sound);
    EXPECT_FALSE(sound.Open());  // stays off, and says so only once
    return warnings.str();
}

void ExpectOneLineNaming(const std::string& warnings, const std::string& cause) {
    ASSERT_EQ(warnings.rfind(kPrefix, 0), 0u) << warnings;
    EXPECT_EQ(warnings.find('\n'), warnings.size() - 1) << warnings;
    EXPECT_NE(warnings.find(cause), std::string::npos) << warnings;
}

// A copy of the game's sounds in a folder of its own, to be spoilt.
class SoundFolderCopy {
public:
    SoundFolderCopy() : path(scratch.Bare()) {
        for (int i = 0; i < SoundEffects::kSoundCount; ++i) {
            const char* file = SoundEffects::FileName(static_cast<SoundEffects::Sound>(i));
            fs::copy_file(fs::path(SoundEffects::FindFolder()) / file, fs::path(path) / file);
        }
    }

    testing_support::TemporaryFolder scratch;
    std::string path;
};

TEST(SoundOffTest, AFailingDriverTurnsSoundOffWithOneLine) {
    ScopedEnvironment driver("SDL_AUDIODRIVER", "nonexistent");
    ExpectOneLineNaming(WarningsOf(SoundEffects::FindFolder()), "nonexistent");
}

TEST(SoundOffTest, AMissingFolderOrFileTurnsSoundOffWithOneLine) {
    ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    ExpectOneLineNaming(WarningsOf(""), "cannot find the sounds folder");

    SoundFolderCopy copy;
    fs::remove(fs::path(copy.path) / "saucer_hum.wav");
    ExpectOneLineNaming(WarningsOf(copy.path), "saucer_hum.wav");
}

TEST(SoundOffTest, ADamagedFileTurnsSoundOffWithOneLine) {
    ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    SoundFolderCopy copy;
    std::ofstream(fs::path(copy.path) / "laser.wav", std::ios::trunc) << "not a sound\n";
    ExpectOneLineNaming(WarningsOf(copy.path), "laser.wav");

    // A header that promises more than the file holds.
    std::ifstream whole(fs::path(SoundEffects::FindFolder()) / "laser.wav", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    std::ofstream(fs::path(copy.path) / "laser.wav", std::ios::binary | std::ios::trunc)
        << bytes.substr(0, 30);
    ExpectOneLineNaming(WarningsOf(copy.path), "laser.wav");
}

// A file that is little more than its header decodes to next to nothing:
// no samples at all, or its first few with the rest promised but missing.
TEST(SoundOffTest, AFileWithoutItsSamplesIsDamaged) {
    ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    SoundFolderCopy copy;
    const fs::path laser = fs::path(copy.path) / "laser.wav";
    std::ifstream whole(laser, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    whole.close();
    constexpr std::size_t kHeaderSize = 44;  // RIFF, fmt and data chunk headers
    ASSERT_EQ(bytes.compare(kHeaderSize - 8, 4, "data"), 0) << "not the layout this test expects";

    std::string empty = bytes.substr(0, kHeaderSize);
    empty.replace(kHeaderSize - 4, 4, std::string(4, '\0'));  // a data chunk of no bytes
    empty.replace(4, 4, std::string{36, 0, 0, 0});            // and a RIFF size to match
    std::ofstream(laser, std::ios::binary | std::ios::trunc) << empty;
    ExpectOneLineNaming(WarningsOf(copy.path), "laser.wav");

    std::ofstream(laser, std::ios::binary | std::ios::trunc) << bytes.substr(0, 60);
    ExpectOneLineNaming(WarningsOf(copy.path), "laser.wav");
}

TEST(SoundOffTest, TheDummyDriverOpensSilentlyAndOpensAgainAfterClose) {
    ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    std::ostringstream warnings;
    SoundEffects sound(SoundEffects::FindFolder(), warnings);
    ASSERT_TRUE(sound.Open()) << warnings.str();
    PlayAGame(sound);
    sound.Close();
    EXPECT_FALSE(sound.IsOpen());
    EXPECT_TRUE(sound.Open()) << warnings.str();
    EXPECT_EQ(warnings.str(), "");
}

}  // namespace
