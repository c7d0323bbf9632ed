#include "objects/Point.h"

#include <memory>

CPoint::CPoint(int atX, int atY) : x(atX), y(atY) {}

PointList::~PointList() {
    for (CPoint* point : points) {
        delete point;
    }
}

void PointList::Add(int x, int y) {
    // Held by a smart pointer until the list has room for it, so a failed
    // allocation of the list's storage does not leak the point.
    auto point = std::make_unique<CPoint>(x, y);
    points.push_back(point.get());
    point.release();
}

std::vector<CPoint*> PointList::Points() const { return points; }

int PointList::Count() const { return static_cast<int>(points.size()); }
