// The committed sound files, as the game finds them in the build tree: short
// 16-bit mono, audible, never clipped, with no click at either end of an
// effect and no seam where a loop joins itself.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/SoundEffects.h"

namespace {

constexpr double kFullScale = 32767.0;
constexpr double kMaxSeconds = 1.0;
constexpr double kLoudestPeak = 0.9;  // headroom for the mixer
constexpr double kQuietestPeak = 0.1;
constexpr double kEdgeLevel = 0.02;  // an effect starts and ends this near silence
constexpr long kMaxTotalBytes = 100 * 1024;

struct Samples {
    SDL_AudioSpec format;
    std::vector<std::int16_t> values;
    long fileBytes;
};

// Reads a WAV as it is stored, without conversion.
bool ReadWav(const std::string& path, Samples& out) {
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path.c_str(), &out.format, &buffer, &length) == nullptr) return false;
    const auto* data = reinterpret_cast<const std::int16_t*>(buffer);
    out.values.assign(data, data + length / sizeof(std::int16_t));
    SDL_FreeWAV(buffer);
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    out.fileBytes = file != nullptr ? static_cast<long>(SDL_RWsize(file)) : 0;
    if (file != nullptr) SDL_RWclose(file);
    return true;
}

double Level(std::int16_t sample) { return std::abs(static_cast<int>(sample)) / kFullScale; }

TEST(SoundFilesTest, EverySoundIsShortMonoAudibleAndUnclipped) {
    const std::string folder = SoundEffects::FindFolder();
    ASSERT_FALSE(folder.empty()) << "no sounds folder next to the test binary";
    long totalBytes = 0;
    for (int i = 0; i < SoundEffects::kSoundCount; ++i) {
        const auto sound = static_cast<SoundEffects::Sound>(i);
        const std::string path = folder + "/" + SoundEffects::FileName(sound);
        SCOPED_TRACE(path);
        Samples wav;
        ASSERT_TRUE(ReadWav(path, wav)) << SDL_GetError();
        EXPECT_EQ(wav.format.format, AUDIO_S16LSB);
        EXPECT_EQ(wav.format.channels, 1);
        ASSERT_GT(wav.values.size(), 1u);
        const double seconds = static_cast<double>(wav.values.size()) / wav.format.freq;
        EXPECT_LE(seconds, kMaxSeconds);

        double peak = 0;
        for (std::int16_t value : wav.values) peak = std::max(peak, Level(value));
        EXPECT_GE(peak, kQuietestPeak);
        EXPECT_LE(peak, kLoudestPeak);

        if (SoundEffects::Loops(sound)) {
            // The step from the last sample back to the first is no larger
            // than the largest step inside the loop.
            int largestStep = 0;
            for (std::size_t k = 1; k < wav.values.size(); ++k) {
                largestStep = std::max(largestStep, std::abs(wav.values[k] - wav.values[k - 1]));
            }
            EXPECT_LE(std::abs(wav.values.front() - wav.values.back()), largestStep);
        } else {
            EXPECT_LE(Level(wav.values.front()), kEdgeLevel);
            EXPECT_LE(Level(wav.values.back()), kEdgeLevel);
        }
        totalBytes += wav.fileBytes;
    }
    EXPECT_LE(totalBytes, kMaxTotalBytes);
}

}  // namespace
