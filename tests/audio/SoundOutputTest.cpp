// What actually comes out: SDL's disk audio driver writes the mixed output to
// a file in real time, and stretches of it are checked for silence. Marks
// are the file's size at a moment; they trail the true position by a stdio
// buffer at most, so every check leaves a margin well above that.

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "audio/SoundEffects.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

using testing_support::ScopedEnvironment;

// Long enough for the mixer to respond, several output buffers over.
constexpr int kSettleMs = 250;
// Sound may lag a call by this much; also the loop fade and stdio's buffer.
constexpr int kLatencyMs = 100;

void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class SoundOutputTest : public ::testing::Test {
protected:
    SoundOutputTest()
        : path(MakePath()),
          driver("SDL_AUDIODRIVER", "disk"),
          file("SDL_DISKAUDIOFILE", path),
          sound(SoundEffects::FindFolder(), warnings) {}

    ~SoundOutputTest() override { unlink(path.c_str()); }

    static std::string MakePath() {
        char name[] = "/tmp/korvessa-audio-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        return name;
    }

    void Open() {
        ASSERT_TRUE(sound.Open()) << warnings.str();
        int rate = 0;
        Uint16 format = 0;
        int channels = 0;
        ASSERT_NE(Mix_QuerySpec(&rate, &format, &channels), 0);
        ASSERT_EQ(SDL_AUDIO_BITSIZE(format), 16);
        ASSERT_TRUE(SDL_AUDIO_ISSIGNED(format));  // silence is all zero bytes
        bytesPerMs = rate * channels * 2 / 1000;
    }

    // Where the output has got to.
    long Mark() const {
        struct stat status;
        return stat(path.c_str(), &status) == 0 ? static_cast<long>(status.st_size) : 0;
    }

    long Bytes(int ms) const { return ms * bytesPerMs; }

    // Closes the device, so that all output is in the file, and reads it.
    void Finish() {
        sound.Close();
        std::ifstream in(path, std::ios::binary);
        output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Whether the output from `from` up to `to` is all silence; both must lie
    // inside what was written.
    bool Silent(long from, long to) const {
        EXPECT_LT(from, to);
        EXPECT_LE(to, static_cast<long>(output.size()));
        for (long i = from; i < to && i < static_cast<long>(output.size()); ++i) {
            if (output[static_cast<std::size_t>(i)] != 0) return false;
        }
        return true;
    }

    long FirstSound(long from) const {
        for (long i = from; i < static_cast<long>(output.size()); ++i) {
            if (output[static_cast<std::size_t>(i)] != 0) return i;
        }
        return -1;
    }

    std::string path;
    ScopedEnvironment driver;
    ScopedEnvironment file;
    std::ostringstream warnings;
    SoundEffects sound;
    long bytesPerMs = 0;
    std::string output;
};

TEST_F(SoundOutputTest, MutedIsSilentAtOnceAndStaysSilent) {
    Open();
    sound.SetLoops(true, true);
    sound.OnShipDestroyed();
    Wait(kSettleMs);
    const long muted = Mark();
    sound.ToggleMute();
    Wait(kSettleMs);
    sound.OnPhotonFired();
    sound.OnSaucerDestroyed();
    sound.SetLoops(true, true);
    Wait(kSettleMs);
    const long end = Mark();
    Finish();
    EXPECT_TRUE(sound.IsMuted());
    EXPECT_FALSE(Silent(0, muted));
    EXPECT_TRUE(Silent(muted + Bytes(kLatencyMs), end));
}

TEST_F(SoundOutputTest, VolumeSetBeforeOpeningHoldsAndChangesWhatIsPlaying) {
    sound.SetVolume(0);
    Open();
    sound.OnShipDestroyed();  // lasts 0.7 s
    Wait(kSettleMs);
    const long raised = Mark();
    sound.SetVolume(SoundEffects::kMaxVolume);
    Wait(kSettleMs);
    Finish();
    EXPECT_TRUE(Silent(0, raised));
    EXPECT_FALSE(Silent(raised + Bytes(kLatencyMs), static_cast<long>(output.size())));
}

TEST_F(SoundOutputTest, PauseHoldsTheLoopsLetsEffectsFinishAndStartsNothing) {
    Open();
    sound.SetLoops(true, false);
    Wait(kSettleMs);
    const long looping = Mark();
    sound.OnShipDestroyed();  // lasts 0.7 s
    sound.SetPaused(true);
    Wait(kSettleMs);
    const long finishing = Mark();
    Wait(900);  // the ship's effect is over, with room for the audio thread to lag
    const long quiet = Mark();
    sound.OnPhotonFired();
    sound.SetLoops(true, true);
    Wait(kSettleMs);
    const long resumed = Mark();
    sound.SetPaused(false);
    Wait(kSettleMs);
    Finish();
    EXPECT_FALSE(Silent(0, looping));
    EXPECT_FALSE(Silent(looping + Bytes(kLatencyMs), finishing)) << "the effect was cut off";
    EXPECT_TRUE(Silent(quiet, resumed)) << "something played while paused";
    EXPECT_FALSE(Silent(resumed + Bytes(kLatencyMs), static_cast<long>(output.size())))
        << "the loop did not come back";
}

TEST_F(SoundOutputTest, TheThrustLoopPlaysWhileHeldAndStopsWhenReleased) {
    Open();
    sound.SetLoops(true, false);
    Wait(2 * kSettleMs);  // longer than the loop itself: it repeats
    const long released = Mark();
    sound.SetLoops(false, false);
    Wait(kSettleMs);
    Finish();
    const long started = FirstSound(0);
    ASSERT_GE(started, 0);
    // Sound all through the held stretch: no 50 ms gap anywhere in it.
    for (long from = started; from + Bytes(50) < released; from += Bytes(50)) {
        ASSERT_FALSE(Silent(from, from + Bytes(50))) << "a gap at byte " << from;
    }
    EXPECT_TRUE(Silent(released + Bytes(kLatencyMs), static_cast<long>(output.size())));
}

}  // namespace
