#include "objects/BaseObject.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

CBaseObject::CBaseObject()
    : model(new PointList),
      world(new PointList),
      alive(false),
      angle(0.0),
      spin(0.0),
      x(0.0),
      y(0.0),
      vx(0.0f),
      vy(0.0f),
      timer(0) {}

CBaseObject::~CBaseObject() {
    delete world;
    delete model;
}

void CBaseObject::ClearWorld() {
    delete world;
    world = nullptr;  // never left dangling, even if the allocation below fails
    world = new PointList;
}

int CBaseObject::ScreenX(const CPoint& m) const {
    double rx = std::floor(m.GetX() * std::cos(angle) - m.GetY() * std::sin(angle));
    return static_cast<int>(std::floor(x)) + static_cast<int>(rx) + kHalfWidth;
}

int CBaseObject::ScreenY(const CPoint& m) const {
    double ry = std::floor(m.GetX() * std::sin(angle) + m.GetY() * std::cos(angle));
    return static_cast<int>(std::floor(y)) + static_cast<int>(ry) + kHalfHeight;
}

void CBaseObject::Draw(int brightness) {
    float grey = static_cast<float>(brightness / 255.0);
    ClearWorld();
    glPushMatrix();

    // The black fill hides the stars and objects behind the outline.
    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_POLYGON);
    std::vector<CPoint*> points = model->Points();
    for (const CPoint* point : points) {
        int sx = ScreenX(*point);
        int sy = ScreenY(*point);
        world->Add(sx, sy);
        glVertex2f(static_cast<float>(sx), static_cast<float>(sy));
    }
    glEnd();

    glColor3f(grey, grey, grey);
    glBegin(GL_LINES);
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const CPoint& from = *points[i];
        const CPoint& to = *points[(i + 1) % n];
        glVertex2f(static_cast<float>(ScreenX(from)), static_cast<float>(ScreenY(from)));
        glVertex2f(static_cast<float>(ScreenX(to)), static_cast<float>(ScreenY(to)));
    }
    glEnd();
    glPopMatrix();
}

void CBaseObject::Move() {
    angle = angle + spin;

    // Each axis wraps at most once per tick, by exactly one playfield size;
    // a centre exactly on an edge stays there.
    x = x + vx;
    if (x < -kHalfWidth) x = x + kPlayfieldWidth;
    if (x > kHalfWidth) x = x - kPlayfieldWidth;

    y = y + vy;
    if (y < -kHalfHeight) y = y + kPlayfieldHeight;
    if (y > kHalfHeight) y = y - kPlayfieldHeight;
}

bool CBaseObject::CountDown() {
    timer = timer - 1;
    return timer < 0;
}
