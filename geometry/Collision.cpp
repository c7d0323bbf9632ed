// The collision tests: exact integer geometry on world outlines.

#include <vector>

#include "objects/BaseObject.h"
#include "objects/Point.h"

namespace {

bool InRange(int value, int a, int b) {
    int low = a < b ? a : b;
    int high = a < b ? b : a;
    return low <= value && value <= high;
}

// The collinear case shared by both halves of SegmentsIntersect: c lies on
// the line through a and b.
bool CollinearCase(const CPoint& a, const CPoint& b, const CPoint& c, const CPoint& d) {
    if (PointList::OnSegment(a, b, c)) return true;
    if (PointList::Orientation(a, b, d) != 0) return false;
    return PointList::OnSegment(c, d, a) || PointList::OnSegment(c, d, b);
}

}  // namespace

double PointList::Orientation(const CPoint& p, const CPoint& q, const CPoint& r) {
    // Differences of ints need 33 bits and their products 66, so the sum is
    // formed in 128 bits: exact for any points, where 32-bit arithmetic would
    // overflow. Outlines on the playfield give values far below 2^53, which
    // the double holds exactly; beyond that only the sign matters.
    using Wide = __int128;
    Wide qx = static_cast<Wide>(q.GetX()) - p.GetX();
    Wide qy = static_cast<Wide>(q.GetY()) - p.GetY();
    Wide rx = static_cast<Wide>(r.GetX()) - p.GetX();
    Wide ry = static_cast<Wide>(r.GetY()) - p.GetY();
    return static_cast<double>(qx * ry - rx * qy);
}

bool PointList::OnSegment(const CPoint& a, const CPoint& b, const CPoint& c) {
    if (a.GetX() == b.GetX()) return InRange(c.GetY(), a.GetY(), b.GetY());
    return InRange(c.GetX(), a.GetX(), b.GetX());
}

bool PointList::SegmentsIntersect(const CPoint& a, const CPoint& b, const CPoint& c,
                                  const CPoint& d) {
    double o1 = Orientation(a, b, c);
    if (o1 == 0) return CollinearCase(a, b, c, d);

    double o2 = Orientation(a, b, d);
    if (o2 == 0) return OnSegment(a, b, d);

    double o3 = Orientation(c, d, a);
    if (o3 == 0) return CollinearCase(c, d, a, b);

    double o4 = Orientation(c, d, b);
    if (o4 == 0) return OnSegment(c, d, b);

    return (o1 > 0) != (o2 > 0) && (o3 > 0) != (o4 > 0);
}

bool PointList::Contains(const CPoint& p) const {
    const std::size_t n = points.size();
    int count = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const CPoint& a = *points[i];
        const CPoint& b = *points[(i + 1) % n];
        // Half-open straddle test: horizontal edges never count, and a vertex
        // on the ray is counted for one of its two edges only.
        bool straddles = (a.GetY() <= p.GetY() && b.GetY() > p.GetY()) ||
                         (a.GetY() > p.GetY() && b.GetY() <= p.GetY());
        if (!straddles) continue;

        // Differences are taken in double, where they are exact for any int
        // points, so extreme coordinates cannot overflow.
        double rise = static_cast<double>(p.GetY()) - a.GetY();
        double height = static_cast<double>(b.GetY()) - a.GetY();
        float t = static_cast<float>(rise / height);
        double xc = a.GetX() + (static_cast<double>(b.GetX()) - a.GetX()) * t;
        if (xc > p.GetX()) ++count;
    }
    return count % 2 == 1;
}

bool CBaseObject::Collides(const CBaseObject& other) const {
    if (world == nullptr || other.world == nullptr) return false;

    std::vector<CPoint*> probe = other.world->Points();
    if (probe.size() == 2) {
        // A two-point outline is a segment: it hits where it crosses or
        // touches an edge of this polygon, never when wholly inside.
        std::vector<CPoint*> polygon = world->Points();
        const std::size_t n = polygon.size();
        for (std::size_t i = 0; i < n; ++i) {
            if (PointList::SegmentsIntersect(*probe[0], *probe[1], *polygon[i],
                                             *polygon[(i + 1) % n])) {
                return true;
            }
        }
        return false;
    }

    for (const CPoint* point : probe) {
        if (world->Contains(*point)) return true;
    }
    return false;
}
