#include "desktop/IconImage.h"

#include <algorithm>
#include <cmath>

#include "desktop/IconDrawing.h"

namespace {

using Point = IconDrawing::Point;

// How much of a one-pixel box filter centred `distance` pixels from the
// middle of a band `halfWidth` wide falls inside the band. Exact across a
// straight edge; it keeps thin lines faint instead of widening them.
double BandCoverage(double distance, double halfWidth) {
    const double inside =
        std::min(distance + 0.5, halfWidth) - std::max(distance - 0.5, -halfWidth);
    return std::clamp(inside, 0.0, 1.0);
}

// Signed distance to a square of side `side` with corners rounded by
// `radius`, at (`inset`, `inset`): negative inside.
double RoundedSquareDistance(Point p, double inset, double side, double radius) {
    const double half = side / 2;
    const double centre = inset + half;
    const double qx = std::abs(p.x - centre) - (half - radius);
    const double qy = std::abs(p.y - centre) - (half - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double SegmentDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0)
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Premultiplied colour and alpha per pixel, painted shape by shape; each
// shape covers the pixels under it by the share it covers.
class Canvas {
public:
    explicit Canvas(int side)
        : size(side), values(static_cast<std::size_t>(side) * side * 4, 0.0) {}

    // Calls paint(centre of pixel) -> coverage for every pixel of the
    // clipped box [x0, x1) x [y0, y1), in pixels.
    template <typename Coverage>
    void Paint(double x0, double y0, double x1, double y1, IconDrawing::Colour colour,
               Coverage coverage) {
        const int left = std::max(0, static_cast<int>(std::floor(x0)));
        const int top = std::max(0, static_cast<int>(std::floor(y0)));
        const int right = std::min(size, static_cast<int>(std::ceil(x1)));
        const int bottom = std::min(size, static_cast<int>(std::ceil(y1)));
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const double a = coverage(Point{x + 0.5, y + 0.5});
                if (a > 0) Over(x, y, colour, a);
            }
        }
    }

    std::vector<unsigned char> Bytes() const {
        std::vector<unsigned char> bytes(values.size());
        for (std::size_t i = 0; i < values.size(); i += 4) {
            const double alpha = values[i + 3];
            bytes[i + 3] = ToByte(alpha);
            if (bytes[i + 3] == 0) continue;
            for (int c = 0; c < 3; ++c) bytes[i + c] = ToByte(values[i + c] / alpha);
        }
        return bytes;
    }

private:
    void Over(int x, int y, IconDrawing::Colour colour, double alpha) {
        double* p = &values[(static_cast<std::size_t>(y) * size + x) * 4];
        const double keep = 1 - alpha;
        p[0] = colour.r / 255.0 * alpha + p[0] * keep;
        p[1] = colour.g / 255.0 * alpha + p[1] * keep;
        p[2] = colour.b / 255.0 * alpha + p[2] * keep;
        p[3] = alpha + p[3] * keep;
    }

    static unsigned char ToByte(double value) {
        return static_cast<unsigned char>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    }

    int size;
    std::vector<double> values;
};

void PaintScreen(Canvas& canvas, const IconDrawing& drawing, double scale) {
    const double side = IconDrawing::kUnits * scale;
    const double radius = drawing.cornerRadius * scale;
    const double rim = drawing.rimWidth * scale;
    canvas.Paint(0, 0, side, side, drawing.rim, [&](Point p) {
        return std::clamp(0.5 - RoundedSquareDistance(p, 0, side, radius), 0.0, 1.0);
    });
    canvas.Paint(0, 0, side, side, drawing.screen, [&](Point p) {
        return std::clamp(0.5 - RoundedSquareDistance(p, rim, side - 2 * rim, radius - rim), 0.0,
                          1.0);
    });
}

void PaintDot(Canvas& canvas, const IconDrawing::Dot& dot, double scale) {
    const Point c{dot.centre.x * scale, dot.centre.y * scale};
    const double r = dot.radius * scale;
    canvas.Paint(c.x - r - 1, c.y - r - 1, c.x + r + 1, c.y + r + 1, dot.colour,
                 [&](Point p) { return BandCoverage(std::hypot(p.x - c.x, p.y - c.y), r); });
}

void PaintStroke(Canvas& canvas, const IconDrawing::Stroke& stroke, double scale) {
    std::vector<Point> points;
    for (const Point& p : stroke.points) points.push_back({p.x * scale, p.y * scale});
    if (stroke.closed && !points.empty()) points.push_back(points.front());
    const double half = stroke.width * scale / 2;
    double x0 = points.front().x, x1 = x0, y0 = points.front().y, y1 = y0;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    // The nearest segment decides, which rounds every end and join.
    canvas.Paint(x0 - half - 1, y0 - half - 1, x1 + half + 1, y1 + half + 1, stroke.colour,
                 [&](Point p) {
                     double nearest = SegmentDistance(p, points.front(), points.front());
                     for (std::size_t i = 1; i < points.size(); ++i) {
                         nearest = std::min(nearest, SegmentDistance(p, points[i - 1], points[i]));
                     }
                     return BandCoverage(nearest, half);
                 });
}

}  // namespace

IconImage::IconImage(int side) : IconImage(IconDrawing::ForPixels(side), side) {}

IconImage::IconImage(const IconDrawing& drawing, int side) : size(side) {
    const double scale = side / IconDrawing::kUnits;
    Canvas canvas(side);
    PaintScreen(canvas, drawing, scale);
    for (const IconDrawing::Dot& star : drawing.stars) PaintDot(canvas, star, scale);
    for (const IconDrawing::Stroke& stroke : drawing.strokes) {
        if (!stroke.points.empty()) PaintStroke(canvas, stroke, scale);
    }
    pixels = canvas.Bytes();
}
