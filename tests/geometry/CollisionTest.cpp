#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "objects/BaseObject.h"
#include "objects/Point.h"

namespace {

bool Intersect(CPoint a, CPoint b, CPoint c, CPoint d) {
    return PointList::SegmentsIntersect(a, b, c, d);
}

// SegmentsIntersect must not depend on which segment comes first or on the
// direction of either.
bool IntersectAnyOrder(CPoint a, CPoint b, CPoint c, CPoint d) {
    bool result = Intersect(a, b, c, d);
    EXPECT_EQ(result, Intersect(b, a, c, d));
    EXPECT_EQ(result, Intersect(a, b, d, c));
    EXPECT_EQ(result, Intersect(c, d, a, b));
    EXPECT_EQ(result, Intersect(d, c, b, a));
    return result;
}

void Fill(PointList& list, std::initializer_list<std::pair<int, int>> points) {
    for (const auto& p : points) list.Add(p.first, p.second);
}

PointList& Square(PointList& list) {
    Fill(list, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    return list;
}

TEST(OrientationTest, SignTellsTheTurn) {
    EXPECT_EQ(PointList::Orientation({0, 0}, {10, 0}, {0, 10}), 100.0);
    EXPECT_EQ(PointList::Orientation({0, 0}, {0, 10}, {10, 0}), -100.0);
    EXPECT_EQ(PointList::Orientation({0, 0}, {5, 5}, {10, 10}), 0.0);
    EXPECT_EQ(PointList::Orientation({3, -4}, {3, -4}, {7, 9}), 0.0);  // degenerate
}

TEST(OrientationTest, ExtremeCoordinatesKeepTheRightSign) {
    const int big = 2000000000;
    EXPECT_GT(PointList::Orientation({-big, -big}, {big, -big}, {-big, big}), 0.0);
    EXPECT_LT(PointList::Orientation({-big, -big}, {-big, big}, {big, -big}), 0.0);
}

TEST(OnSegmentTest, TestsOneCoordinateWithInclusiveBounds) {
    EXPECT_TRUE(PointList::OnSegment({0, 0}, {10, 0}, {5, 7}));    // only x is read
    EXPECT_TRUE(PointList::OnSegment({3, 0}, {3, 10}, {99, 10}));  // vertical: only y
    EXPECT_FALSE(PointList::OnSegment({0, 0}, {10, 0}, {11, 0}));
    EXPECT_TRUE(PointList::OnSegment({10, 0}, {0, 0}, {0, 0}));  // ends reversed
    EXPECT_FALSE(PointList::OnSegment({3, 10}, {3, 0}, {3, -1}));
}

TEST(SegmentsIntersectTest, CrossingTouchingParallelAndCollinear) {
    EXPECT_TRUE(IntersectAnyOrder({0, 0}, {10, 10}, {0, 10}, {10, 0}));  // cross
    EXPECT_TRUE(IntersectAnyOrder({0, 0}, {10, 0}, {10, 0}, {10, 10}));  // touch at an end
    EXPECT_FALSE(IntersectAnyOrder({0, 0}, {10, 0}, {0, 5}, {10, 5}));   // parallel
    EXPECT_TRUE(IntersectAnyOrder({0, 0}, {10, 0}, {20, 0}, {5, 0}));    // overlapping
    EXPECT_FALSE(IntersectAnyOrder({0, 0}, {10, 0}, {20, 0}, {30, 0}));  // collinear, apart
    EXPECT_TRUE(IntersectAnyOrder({0, 0}, {10, 0}, {5, 0}, {5, 9}));     // T junction
    EXPECT_FALSE(IntersectAnyOrder({0, 0}, {10, 0}, {5, 1}, {5, 9}));    // T that falls short
    EXPECT_FALSE(IntersectAnyOrder({0, 0}, {4, 4}, {6, 6}, {9, 0}));  // lines cross, segments don't
    EXPECT_TRUE(IntersectAnyOrder({0, 0}, {0, 10}, {0, 3}, {0, 4}));  // vertical, contained
    EXPECT_FALSE(IntersectAnyOrder({0, 0}, {0, 10}, {0, 11}, {0, 20}));  // vertical, apart
}

TEST(ContainsTest, LeftAndBottomEdgesAreInsideRightAndTopOutside) {
    PointList square;
    Square(square);
    EXPECT_TRUE(square.Contains({5, 5}));
    EXPECT_TRUE(square.Contains({0, 5}));
    EXPECT_TRUE(square.Contains({5, 0}));
    EXPECT_TRUE(square.Contains({0, 0}));
    EXPECT_FALSE(square.Contains({10, 5}));
    EXPECT_FALSE(square.Contains({5, 10}));
    EXPECT_FALSE(square.Contains({10, 0}));
    EXPECT_FALSE(square.Contains({0, 10}));
    EXPECT_FALSE(square.Contains({10, 10}));
    EXPECT_FALSE(square.Contains({-1, 5}));  // its ray crosses two edges
    EXPECT_FALSE(square.Contains({5, -1}));
}

TEST(ContainsTest, DegeneratePolygonsContainNothing) {
    PointList empty;
    EXPECT_FALSE(empty.Contains({0, 0}));
    PointList single;
    single.Add(3, 3);  // one edge from the point to itself
    EXPECT_FALSE(single.Contains({3, 3}));
    EXPECT_FALSE(single.Contains({0, 3}));
}

TEST(ContainsTest, ConcavePolygonCountsEveryCrossing) {
    PointList notch;  // a U shape opening upward
    Fill(notch, {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}});
    EXPECT_TRUE(notch.Contains({5, 20}));
    EXPECT_FALSE(notch.Contains({15, 20}));  // in the notch
    EXPECT_TRUE(notch.Contains({25, 20}));
    EXPECT_TRUE(notch.Contains({15, 5}));
}

TEST(ContainsTest, CrossingParameterIsRoundedToFloat) {
    // The ray from (1, 1) meets the edge (0,0)-(3,3) at t = 1/3. As a float t
    // is a hair above 1/3, so the crossing lies just right of the point and
    // counts; in double precision it would land exactly on x = 1 and not.
    PointList triangle;
    Fill(triangle, {{0, 0}, {3, 3}, {-5, 3}});
    EXPECT_TRUE(triangle.Contains({1, 1}));
}

class CollidesTest : public ::testing::Test {
protected:
    void SetUp() override { Square(*polygon.world); }
    CBaseObject polygon;
    CBaseObject other;
};

TEST_F(CollidesTest, SegmentHitsOnlyWhereItMeetsAnEdge) {
    Fill(*other.world, {{5, 5}, {20, 5}});
    EXPECT_TRUE(polygon.Collides(other));
    CBaseObject inside;
    Fill(*inside.world, {{2, 2}, {8, 8}});
    EXPECT_FALSE(polygon.Collides(inside));  // wholly inside: no edge crossed
    CBaseObject grazing;
    Fill(*grazing.world, {{10, 10}, {20, 20}});
    EXPECT_TRUE(polygon.Collides(grazing));  // touching a corner counts
}

TEST_F(CollidesTest, PointsHitWhenAnyLiesInside) {
    Fill(*other.world, {{20, 20}, {30, 30}, {2, 2}});
    EXPECT_TRUE(polygon.Collides(other));
    CBaseObject outside;
    Fill(*outside.world, {{20, 20}, {30, 30}, {40, 40}});
    EXPECT_FALSE(polygon.Collides(outside));
    CBaseObject single;
    single.world->Add(5, 5);
    EXPECT_TRUE(polygon.Collides(single));
}

TEST_F(CollidesTest, OnlyTheProbesPointsAreTested) {
    // A big triangle around the square: none of its corners is inside the
    // square, so the square does not collide with it; the other way round,
    // the square's corners are all inside the triangle.
    Fill(*other.world, {{-100, -100}, {100, -100}, {0, 100}});
    EXPECT_FALSE(polygon.Collides(other));
    EXPECT_TRUE(other.Collides(polygon));
}

TEST_F(CollidesTest, EmptyOrMissingOutlinesNeverCollide) {
    EXPECT_FALSE(polygon.Collides(other));  // other has no points
    CBaseObject empty;
    CBaseObject segment;
    Fill(*segment.world, {{-5, 5}, {20, 5}});
    CBaseObject points;
    Fill(*points.world, {{5, 5}, {6, 6}, {7, 7}});
    EXPECT_FALSE(empty.Collides(segment));
    EXPECT_FALSE(empty.Collides(points));

    PointList* saved = other.world;
    other.world = nullptr;
    EXPECT_FALSE(polygon.Collides(other));
    EXPECT_FALSE(other.Collides(polygon));
    other.world = saved;
}

}  // namespace
