// Integer outline points and the owning lists that hold them.
#pragma once

#include <vector>

// An integer 2-D point: a vertex of an outline, in playfield units (model
// outlines) or screen pixels (world outlines).
class CPoint {
public:
    CPoint(int x, int y);

    // Defined here so the collision tests, which read points in their
    // innermost loops, pay no call for them.
    int GetX() const { return x; }
    int GetY() const { return y; }

private:
    int x;
    int y;
};

// An ordered, growable list of heap-allocated points that the list owns.
// Destroying the list deletes every point in it. Points cannot be removed one
// by one: an outline that changes is replaced by a new list.
class PointList {
public:
    PointList() = default;
    ~PointList();

    // A list owns its points, so copying one would delete them twice.
    PointList(const PointList&) = delete;
    PointList& operator=(const PointList&) = delete;

    // Appends a new point (x, y) at the end of the list.
    void Add(int x, int y);

    // A copy of the pointer sequence, in order. The copy does not own the
    // points: they stay valid until the list itself is destroyed.
    std::vector<CPoint*> Points() const;

    // Number of points in the list.
    int Count() const;

    // Integer geometry on world outlines; the bodies live in geometry/.
    //
    // (q - p) x (r - p), computed exactly and returned as a double: positive
    // when r lies left of the directed line p -> q, negative when right,
    // zero when the three are collinear.
    static double Orientation(const CPoint& p, const CPoint& q, const CPoint& r);

    // For c on the line through a and b: whether c lies on the segment a-b.
    // Only y is tested on a vertical segment, only x on any other; both
    // bounds are inclusive.
    static bool OnSegment(const CPoint& a, const CPoint& b, const CPoint& c);

    // Whether the segments a-b and c-d share a point; touching counts.
    static bool SegmentsIntersect(const CPoint& a, const CPoint& b, const CPoint& c,
                                  const CPoint& d);

    // Crossing-number test of p against this list read as a closed polygon.
    // Points on a left or bottom edge count as inside, on a right or top edge
    // as outside. An empty polygon contains nothing.
    bool Contains(const CPoint& p) const;

private:
    std::vector<CPoint*> points;
};
