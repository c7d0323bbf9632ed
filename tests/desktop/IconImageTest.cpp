#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "desktop/IconDrawing.h"
#include "desktop/IconImage.h"

namespace {

constexpr int kDesktopSizes[] = {16, 24, 32, 48, 64, 128, 256};

struct Rgba {
    int r, g, b, a;
};

Rgba At(const IconImage& image, int x, int y) {
    const unsigned char* p =
        &image.Pixels()[(static_cast<std::size_t>(y) * image.Size() + x) * IconImage::kChannels];
    return {p[0], p[1], p[2], p[3]};
}

// Inside the rounded square every pixel is opaque; only the corners that
// the rounding cuts away may be (partly) transparent.
TEST(IconImageTest, OpaqueInsideTheRoundedCornersAndClearBeyondThem) {
    for (int size : kDesktopSizes) {
        IconImage image(size);
        ASSERT_EQ(image.Size(), size);
        ASSERT_EQ(image.Pixels().size(), static_cast<std::size_t>(size * size * 4));
        const double corner =
            IconDrawing::ForPixels(size).cornerRadius * size / IconDrawing::kUnits;
        // Rounded: the corner pixel is mostly cut away, even at 16 pixels.
        EXPECT_LT(At(image, 0, 0).a, 128) << size;
        EXPECT_LT(At(image, size - 1, size - 1).a, 128) << size;
        int opaque = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const bool inCorner =
                    (std::min(x, size - 1 - x) < corner) && (std::min(y, size - 1 - y) < corner);
                if (At(image, x, y).a == 255) {
                    ++opaque;
                } else {
                    EXPECT_TRUE(inCorner) << "size " << size << " pixel " << x << "," << y;
                }
            }
        }
        EXPECT_GT(opaque, size * size * 9 / 10) << size;
    }
}

// The rock and the ship are outlines: white strokes in both halves of the
// icon, each way, with the screen's black inside the rock, at every size.
// At the small sizes the strokes must reach full white somewhere, or the
// icon is a grey smudge.
TEST(IconImageTest, EverySizeShowsTheOutlinesInWhite) {
    for (int size : kDesktopSizes) {
        IconImage image(size);
        int white[2][2] = {{0, 0}, {0, 0}};  // [top or bottom][left or right]
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (At(image, x, y).r == 255) ++white[y * 2 / size][x * 2 / size];
            }
        }
        EXPECT_GT(white[0][1], 0) << "no white in the top right (the rock) at " << size;
        EXPECT_GT(white[1][0], 0) << "no white in the bottom left (the ship) at " << size;

        const IconDrawing drawing = IconDrawing::ForPixels(size);
        const std::vector<IconDrawing::Point>& rock = drawing.strokes.front().points;
        double cx = 0, cy = 0;
        for (const IconDrawing::Point& p : rock) cx += p.x / rock.size(), cy += p.y / rock.size();
        const Rgba inside = At(image, static_cast<int>(cx * size / IconDrawing::kUnits),
                               static_cast<int>(cy * size / IconDrawing::kUnits));
        EXPECT_EQ(inside.r + inside.g + inside.b, 0) << "the rock is filled in at " << size;
    }
}

// One-pixel strokes through pixel centres fill exactly their row; on a
// pixel boundary they cover the two rows beside it by half each.
TEST(IconImageTest, StrokesCoverThePixelsTheyCrossByTheirShare) {
    constexpr int kSize = 32;
    constexpr double kUnitsPerPixel = IconDrawing::kUnits / kSize;
    IconDrawing drawing = IconDrawing::ForPixels(kSize);
    drawing.stars.clear();
    const IconDrawing::Colour white{255, 255, 255};
    auto line = [&](double y) {
        return IconDrawing::Stroke{
            {{8 * kUnitsPerPixel, y * kUnitsPerPixel}, {24 * kUnitsPerPixel, y * kUnitsPerPixel}},
            false,
            kUnitsPerPixel,
            white};
    };
    drawing.strokes = {line(10.5), line(20)};
    IconImage image(drawing, kSize);

    for (int x = 8; x < 24; ++x) {
        EXPECT_EQ(At(image, x, 10).r, 255) << x;
        EXPECT_EQ(At(image, x, 9).r, 0) << x;
        EXPECT_EQ(At(image, x, 11).r, 0) << x;
        EXPECT_NEAR(At(image, x, 19).r, 128, 1) << x;
        EXPECT_NEAR(At(image, x, 20).r, 128, 1) << x;
        EXPECT_EQ(At(image, x, 18).r, 0) << x;
        EXPECT_EQ(At(image, x, 21).r, 0) << x;
    }
    // The round end reaches half a pixel past the end point, no further.
    EXPECT_EQ(At(image, 6, 10).r, 0);
    EXPECT_EQ(At(image, 25, 10).r, 0);
}

}  // namespace
