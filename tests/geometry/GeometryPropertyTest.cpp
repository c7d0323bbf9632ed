// Seeded random property tests of the collision geometry against exact
// 64-bit integer computations. The test command runs a short mode; set
// KORVESSA_GEOMETRY_CASES (for example to 1000000) for a long run.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "objects/Point.h"

namespace {

using Int = std::int64_t;

constexpr int kShortCases = 100000;
constexpr int kWideRange = 10000;  // coordinates within +-10,000
constexpr int kNarrowRange = 8;    // small enough that touching and collinear cases are common

int Cases() {
    const char* value = std::getenv("KORVESSA_GEOMETRY_CASES");
    return value != nullptr ? std::atoi(value) : kShortCases;
}

Int Cross(Int ax, Int ay, Int bx, Int by) { return ax * by - ay * bx; }

Int Sign(Int v) { return (v > 0) - (v < 0); }

// Whether p lies on the segment a-b, exactly.
bool OnSegmentExact(const CPoint& a, const CPoint& b, const CPoint& p) {
    Int cross = Cross(Int(b.GetX()) - a.GetX(), Int(b.GetY()) - a.GetY(), Int(p.GetX()) - a.GetX(),
                      Int(p.GetY()) - a.GetY());
    return cross == 0 && std::min(a.GetX(), b.GetX()) <= p.GetX() &&
           p.GetX() <= std::max(a.GetX(), b.GetX()) && std::min(a.GetY(), b.GetY()) <= p.GetY() &&
           p.GetY() <= std::max(a.GetY(), b.GetY());
}

// Whether the segments share a point: solve a + t (b - a) = c + u (d - c)
// with rational t and u in [0, 1], or compare collinear overlaps.
bool SharePointExact(const CPoint& a, const CPoint& b, const CPoint& c, const CPoint& d) {
    Int rx = Int(b.GetX()) - a.GetX(), ry = Int(b.GetY()) - a.GetY();
    Int sx = Int(d.GetX()) - c.GetX(), sy = Int(d.GetY()) - c.GetY();
    Int qx = Int(c.GetX()) - a.GetX(), qy = Int(c.GetY()) - a.GetY();
    Int denominator = Cross(rx, ry, sx, sy);
    if (denominator == 0) {
        if (Cross(qx, qy, rx, ry) != 0) return false;  // parallel, apart
        return OnSegmentExact(a, b, c) || OnSegmentExact(a, b, d) || OnSegmentExact(c, d, a) ||
               OnSegmentExact(c, d, b);
    }
    Int t = Cross(qx, qy, sx, sy);
    Int u = Cross(qx, qy, rx, ry);
    if (denominator < 0) {
        denominator = -denominator;
        t = -t;
        u = -u;
    }
    return 0 <= t && t <= denominator && 0 <= u && u <= denominator;
}

class Points {
public:
    Points(unsigned seed, int range) : engine(seed), coordinate(-range, range) {}
    CPoint Next() {
        int x = coordinate(engine);
        int y = coordinate(engine);
        return CPoint(x, y);
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); }

private:
    std::mt19937 engine;
    std::uniform_int_distribution<int> coordinate;
};

bool Same(const CPoint& p, const CPoint& q) { return p.GetX() == q.GetX() && p.GetY() == q.GetY(); }

void CheckSegments(unsigned seed, int range, int cases) {
    Points points(seed, range);
    int checked = 0, sharing = 0;
    for (int i = 0; i < cases; ++i) {
        CPoint a = points.Next(), b = points.Next(), c = points.Next(), d = points.Next();
        // No outline of the game has a zero-length edge or beam, and the
        // range test reads one coordinate only, which suits real segments.
        if (Same(a, b) || Same(c, d)) continue;
        bool result = PointList::SegmentsIntersect(a, b, c, d);
        ASSERT_EQ(result, PointList::SegmentsIntersect(c, d, a, b)) << "exchanged, case " << i;
        ASSERT_EQ(result, PointList::SegmentsIntersect(b, a, c, d)) << "a-b swapped, case " << i;
        ASSERT_EQ(result, PointList::SegmentsIntersect(a, b, d, c)) << "c-d swapped, case " << i;
        ASSERT_EQ(result, SharePointExact(a, b, c, d))
            << "(" << a.GetX() << "," << a.GetY() << ")-(" << b.GetX() << "," << b.GetY()
            << ") against (" << c.GetX() << "," << c.GetY() << ")-(" << d.GetX() << "," << d.GetY()
            << ")";
        ++checked;
        sharing += result;
    }
    EXPECT_GT(checked, cases * 9 / 10);
    EXPECT_GT(sharing, 0);
    EXPECT_LT(sharing, checked);
}

TEST(GeometryPropertyTest, SegmentsIntersectIsSymmetricAndExactOnWideCoordinates) {
    CheckSegments(1, kWideRange, Cases());
}

TEST(GeometryPropertyTest, SegmentsIntersectIsExactWhereTouchingAndCollinearAreCommon) {
    CheckSegments(2, kNarrowRange, Cases());
}

// The exact crossing count of a ray from p toward +x, with the same
// half-open rule for which edges take part. Sets `nearEdge` when some
// crossing lies within one unit of p horizontally.
bool ContainsExact(const std::vector<CPoint>& polygon, const CPoint& p, bool& nearEdge) {
    int count = 0;
    nearEdge = false;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const CPoint& a = polygon[i];
        const CPoint& b = polygon[(i + 1) % n];
        bool straddles = (a.GetY() <= p.GetY() && b.GetY() > p.GetY()) ||
                         (a.GetY() > p.GetY() && b.GetY() <= p.GetY());
        if (!straddles) continue;
        // xc - p.x = ((a.x - p.x) h + (b.x - a.x)(p.y - a.y)) / h, h = b.y - a.y.
        Int h = Int(b.GetY()) - a.GetY();
        Int numerator = (Int(a.GetX()) - p.GetX()) * h +
                        (Int(b.GetX()) - a.GetX()) * (Int(p.GetY()) - a.GetY());
        if (std::llabs(numerator) <= std::llabs(h)) nearEdge = true;
        if (Sign(numerator) * Sign(h) > 0) ++count;
    }
    return count % 2 == 1;
}

void CheckContains(unsigned seed, int range, int cases) {
    Points points(seed, range);
    int checked = 0, inside = 0;
    for (int i = 0; i < cases; ++i) {
        int n = 3 + points.Below(10);
        PointList list;
        std::vector<CPoint> polygon;
        for (int k = 0; k < n; ++k) {
            CPoint v = points.Next();
            list.Add(v.GetX(), v.GetY());
            polygon.push_back(v);
        }
        CPoint p = points.Next();
        bool nearEdge = false;
        bool expected = ContainsExact(polygon, p, nearEdge);
        if (nearEdge) continue;  // the float rounding of the crossing may decide these
        ASSERT_EQ(list.Contains(p), expected) << "case " << i;
        ++checked;
        inside += expected;
    }
    EXPECT_GT(checked, cases / 2);
    EXPECT_GT(inside, 0);
    EXPECT_LT(inside, checked);
}

TEST(GeometryPropertyTest, ContainsAgreesWithAnExactCrossingCount) {
    CheckContains(3, kWideRange, Cases());
}

TEST(GeometryPropertyTest, ContainsAgreesOnSmallPolygonsToo) { CheckContains(4, 40, Cases()); }

}  // namespace
