// The application icon as shapes: a rounded black screen with a grey rim,
// stars, a jagged asteroid, the ship and its laser beam, in the game's own
// outline style. Both the pixels (IconImage) and the scalable SVG are made
// from it, so every size shows the same picture.
#pragma once

#include <vector>

class IconDrawing {
public:
    // Every coordinate and length is in units of a square this many units
    // wide, x to the right and y down, whatever size the icon is shown at.
    static constexpr double kUnits = 128;
    // Below this many pixels the detailed drawing turns to grey mush, so
    // smaller icons get a plainer one: no stars, a simpler rock, bigger
    // shapes and strokes at least kMinStrokePixels wide...
    static constexpr int kDetailedPixels = 48;
    static constexpr double kMinStrokePixels = 1.3;
    // ...and below this many, one drawn on the pixel grid with one-pixel
    // strokes.
    static constexpr int kPlainPixels = 24;

    struct Colour {
        unsigned char r, g, b;  // every part of the icon is opaque
    };
    struct Point {
        double x, y;
    };
    // A line through `points`, back to the first one when `closed`, with
    // round ends and joins.
    struct Stroke {
        std::vector<Point> points;
        bool closed;
        double width;
        Colour colour;
    };
    struct Dot {
        Point centre;
        double radius;
        Colour colour;
    };

    // The drawing meant to be shown `pixels` wide.
    static IconDrawing ForPixels(int pixels);
    // The detailed drawing, for the scalable icon.
    static IconDrawing Scalable();

    // The screen: a square of side kUnits with rounded corners, filled with
    // `rim`, and inside it, inset by `rimWidth`, the same shape in `screen`.
    double cornerRadius;
    double rimWidth;
    Colour rim;
    Colour screen;
    // Drawn in this order, each over the ones before: the stars, then the
    // strokes of the rock, the beam and the ship.
    std::vector<Dot> stars;
    std::vector<Stroke> strokes;

private:
    enum class Detail { kFull, kPlain, kPixel };
    // `pixels` is 0 for the scalable drawing.
    IconDrawing(Detail detail, int pixels);
};
