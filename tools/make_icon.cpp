// make_icon: draws the game's application icon in its own outline style (a
// black screen with white outlines: stars, a jagged asteroid, the ship and
// its beam) and writes it as a PNG.
//
// Usage: make_icon [output.png]   (default: assets/korvessa.png)

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/PngWriter.h"

namespace {

constexpr int kSize = 128;
constexpr int kChannels = 4;
constexpr double kCornerRadius = 18;
constexpr double kStroke = 1.6;  // half the outline width, in pixels
constexpr double kPi = 3.141592653589793;

struct Colour {
    unsigned char r, g, b, a;
};

constexpr Colour kScreen{0, 0, 0, 255};
constexpr Colour kFrame{96, 96, 96, 255};
constexpr Colour kWhite{255, 255, 255, 255};
constexpr Colour kGrey{170, 170, 170, 255};

struct Point {
    double x, y;  // pixels, y down
};

class Canvas {
public:
    Canvas() : pixels(static_cast<std::size_t>(kSize * kSize * kChannels), 0) {}

    void Set(int x, int y, Colour c) {
        if (x < 0 || y < 0 || x >= kSize || y >= kSize) return;
        unsigned char* p = &pixels[static_cast<std::size_t>((y * kSize + x) * kChannels)];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = c.a;
    }

    // A rounded square: the screen, with a grey rim.
    void Screen() {
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                double d = CornerDistance(x + 0.5, y + 0.5);
                if (d <= kCornerRadius - 3)
                    Set(x, y, kScreen);
                else if (d <= kCornerRadius)
                    Set(x, y, kFrame);
            }
        }
    }

    // A line of width 2 * kStroke, drawn by stamping discs along it.
    void Line(Point from, Point to, Colour c) {
        double length = std::hypot(to.x - from.x, to.y - from.y);
        int steps = static_cast<int>(length * 4) + 1;
        for (int i = 0; i <= steps; ++i) {
            double t = static_cast<double>(i) / steps;
            Disc(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t, kStroke, c);
        }
    }

    void Outline(const std::vector<Point>& points, Colour c) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            Line(points[i], points[(i + 1) % points.size()], c);
        }
    }

    void Star(int x, int y) { Set(x, y, kWhite); }

    std::vector<unsigned char> pixels;

private:
    // Distance, in the rounded square's corner metric, from its centre-line
    // inset: <= kCornerRadius means inside.
    static double CornerDistance(double x, double y) {
        double cx = std::fmin(std::fmax(x, kCornerRadius), kSize - kCornerRadius);
        double cy = std::fmin(std::fmax(y, kCornerRadius), kSize - kCornerRadius);
        return std::hypot(x - cx, y - cy);
    }

    void Disc(double cx, double cy, double radius, Colour c) {
        for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius) + 1; ++y) {
            for (int x = static_cast<int>(cx - radius); x <= static_cast<int>(cx + radius) + 1;
                 ++x) {
                if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) Set(x, y, c);
            }
        }
    }
};

// A jagged rock: a fixed list of radii around its centre.
std::vector<Point> Asteroid(Point centre) {
    const double radii[] = {27, 17, 25, 22, 28, 16, 24, 27, 18, 26, 21};
    const int n = sizeof radii / sizeof radii[0];
    std::vector<Point> points;
    for (int i = 0; i < n; ++i) {
        double theta = 2 * kPi * i / n;
        points.push_back(
            {centre.x + radii[i] * std::sin(theta), centre.y - radii[i] * std::cos(theta)});
    }
    return points;
}

// The ship's triangle, nose along `heading` (radians, counter-clockwise on
// screen), scaled up from its in-game outline.
std::vector<Point> Ship(Point centre, double heading, double scale) {
    const Point model[] = {{10, 0}, {-10, 7}, {-10, -7}};
    std::vector<Point> points;
    for (const Point& m : model) {
        double x = m.x * std::cos(heading) - m.y * std::sin(heading);
        double y = m.x * std::sin(heading) + m.y * std::cos(heading);
        points.push_back({centre.x + x * scale, centre.y - y * scale});
    }
    return points;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [output.png]\n", argv[0]);
        return 1;
    }
    const std::string path = argc == 2 ? argv[1] : "assets/korvessa.png";

    Canvas canvas;
    canvas.Screen();
    const int stars[][2] = {{22, 30}, {40, 104}, {100, 22}, {108, 64}, {30, 70},
                            {70, 16}, {92, 108}, {60, 58},  {16, 92},  {112, 92}};
    for (const auto& star : stars) canvas.Star(star[0], star[1]);

    const Point rock{86, 44};
    const double heading = kPi / 4;  // up and to the right, at the rock
    const Point ship{40, 90};
    canvas.Outline(Asteroid(rock), kWhite);
    canvas.Line({ship.x + 13 * std::cos(heading), ship.y - 13 * std::sin(heading)},
                {rock.x - 24 * std::cos(heading), rock.y + 24 * std::sin(heading)}, kGrey);
    canvas.Outline(Ship(ship, heading, 1.3), kWhite);

    std::string error;
    if (!WritePng(path, kSize, kSize, kChannels, canvas.pixels, error)) {
        std::fprintf(stderr, "make_icon: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
