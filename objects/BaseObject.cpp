#include "objects/BaseObject.h"

#include <GL/gl.h>

#include <cmath>
#include <utility>
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

void CBaseObject::Draw(int brightness) {
    float grey = static_cast<float>(brightness / 255.0);
    ClearWorld();

    // Each screen vertex is computed once, with the heading's sine and cosine
    // taken once per draw; the fill, `world` and the outline all use them.
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const int cx = static_cast<int>(std::floor(x)) + kHalfWidth;
    const int cy = static_cast<int>(std::floor(y)) + kHalfHeight;
    std::vector<CPoint*> points = model->Points();
    std::vector<std::pair<float, float>> screen;
    screen.reserve(points.size());
    for (const CPoint* m : points) {
        // The centre and the rotated offset are floored separately, then added.
        int sx = cx + static_cast<int>(std::floor(m->GetX() * c - m->GetY() * s));
        int sy = cy + static_cast<int>(std::floor(m->GetX() * s + m->GetY() * c));
        world->Add(sx, sy);
        screen.emplace_back(static_cast<float>(sx), static_cast<float>(sy));
    }

    glPushMatrix();
    // The black fill hides the stars and objects behind the outline.
    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_POLYGON);
    for (const auto& vertex : screen) glVertex2f(vertex.first, vertex.second);
    glEnd();

    glColor3f(grey, grey, grey);
    glBegin(GL_LINES);
    const std::size_t n = screen.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto& from = screen[i];
        const auto& to = screen[(i + 1) % n];
        glVertex2f(from.first, from.second);
        glVertex2f(to.first, to.second);
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
