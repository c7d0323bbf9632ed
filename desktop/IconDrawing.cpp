#include "desktop/IconDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

constexpr IconDrawing::Colour kWhite{255, 255, 255};
constexpr IconDrawing::Colour kBeamGrey{170, 170, 170};
constexpr IconDrawing::Colour kRimGrey{96, 96, 96};
constexpr IconDrawing::Colour kBlack{0, 0, 0};

constexpr double kCornerRadius = 18;
constexpr double kRimWidth = 3;
constexpr double kStrokeWidth = 3.2;
constexpr double kStarRadius = 0.8;

const IconDrawing::Point kStars[] = {{22, 30}, {40, 104}, {100, 22}, {108, 64}, {30, 70},
                                     {70, 16}, {92, 108}, {60, 58},  {16, 92},  {112, 92}};

// The ship flies up and to the right, at the rock.
constexpr double kHeading = kPi / 4;

using Points = std::vector<IconDrawing::Point>;

// The three shapes, in units.
struct Scene {
    Points rock;
    Points beam;
    Points ship;
};

// A jagged rock: radii around its centre, clockwise from straight up.
Points Rock(IconDrawing::Point centre, const std::vector<double>& radii) {
    Points points;
    for (std::size_t i = 0; i < radii.size(); ++i) {
        const double theta = 2 * kPi * static_cast<double>(i) / static_cast<double>(radii.size());
        points.push_back(
            {centre.x + radii[i] * std::sin(theta), centre.y - radii[i] * std::cos(theta)});
    }
    return points;
}

// The ship's in-game outline, nose first, turned to kHeading (counter-
// clockwise on screen) and scaled.
Points Ship(IconDrawing::Point centre, double scale) {
    const IconDrawing::Point model[] = {{10, 0}, {-10, 7}, {-10, -7}};
    Points points;
    for (const IconDrawing::Point& m : model) {
        const double x = m.x * std::cos(kHeading) - m.y * std::sin(kHeading);
        const double y = m.x * std::sin(kHeading) + m.y * std::cos(kHeading);
        points.push_back({centre.x + x * scale, centre.y - y * scale});
    }
    return points;
}

// Along kHeading, from `from` units past the ship's centre to `to` units
// short of the rock's centre.
Points Beam(IconDrawing::Point ship, double from, IconDrawing::Point rock, double to) {
    const double dx = std::cos(kHeading);
    const double dy = -std::sin(kHeading);
    return {{ship.x + from * dx, ship.y + from * dy}, {rock.x - to * dx, rock.y - to * dy}};
}

Scene Detailed() {
    const IconDrawing::Point rock{86, 44};
    const IconDrawing::Point ship{40, 90};
    const double scale = 1.3;
    return {Rock(rock, {27, 17, 25, 22, 28, 16, 24, 27, 18, 26, 21}),
            Beam(ship, 10 * scale, rock, 24), Ship(ship, scale)};
}

// Fewer corners, bigger shapes and a gap at the ship's nose, so that the
// rock and the ship stay apart at 24 and 32 pixels.
Scene Plain() {
    const IconDrawing::Point rock{82, 46};
    const IconDrawing::Point ship{38, 92};
    const double scale = 2.3;
    return {Rock(rock, {35, 20, 31, 30, 35, 19, 31, 22, 32}), Beam(ship, 10 * scale + 10, rock, 34),
            Ship(ship, scale)};
}

// Drawn on the pixel grid of a 16-pixel icon, through pixel centres, so
// that one-pixel strokes stay sharp where anti-aliasing would blur them.
Scene Pixel() {
    const double unitsPerPixel = IconDrawing::kUnits / 16;
    auto pixels = [&](std::initializer_list<IconDrawing::Point> centres) {
        Points points;
        for (const IconDrawing::Point& c : centres) {
            points.push_back({(c.x + 0.5) * unitsPerPixel, (c.y + 0.5) * unitsPerPixel});
        }
        return points;
    };
    // Straight and diagonal edges only, with one notch to make it a rock.
    return {pixels({{9, 1}, {11, 1}, {12, 3}, {14, 3}, {14, 6}, {12, 8}, {9, 8}, {7, 6}, {7, 3}}),
            pixels({{6, 9}, {7, 8}}), pixels({{6, 9}, {1, 11}, {4, 14}})};
}

}  // namespace

IconDrawing IconDrawing::ForPixels(int pixels) {
    if (pixels >= kDetailedPixels) return IconDrawing(Detail::kFull, pixels);
    return IconDrawing(pixels >= kPlainPixels ? Detail::kPlain : Detail::kPixel, pixels);
}

IconDrawing IconDrawing::Scalable() { return IconDrawing(Detail::kFull, 0); }

IconDrawing::IconDrawing(Detail detail, int pixels)
    : cornerRadius(kCornerRadius), rimWidth(kRimWidth), rim(kRimGrey), screen(kBlack) {
    const Scene scene = detail == Detail::kFull    ? Detailed()
                        : detail == Detail::kPlain ? Plain()
                                                   : Pixel();
    double width = kStrokeWidth;
    if (pixels > 0)
        width =
            std::max(width, (detail == Detail::kPixel ? 1.0 : kMinStrokePixels) * kUnits / pixels);
    if (detail == Detail::kFull) {
        for (const Point& star : kStars) stars.push_back({star, kStarRadius, kWhite});
    }
    strokes.push_back({scene.rock, true, width, kWhite});
    strokes.push_back({scene.beam, false, width, kBeamGrey});
    strokes.push_back({scene.ship, true, width, kWhite});
}
