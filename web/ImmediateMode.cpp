#include "web/ImmediateMode.h"

#include <cmath>
#include <vector>

namespace {

struct Vertex {
    float x;
    float y;
};

// The drawing between one glBegin and its glEnd; the game draws from one
// thread, as GL itself requires.
struct Primitive {
    float lineWidth = 1.0f;
    GLenum mode = GL_POINTS;
    bool widened = false;
    std::vector<Vertex> vertices;
};

Primitive current;

bool IsLines(GLenum mode) {
    return mode == GL_LINES || mode == GL_LINE_STRIP || mode == GL_LINE_LOOP;
}

void Rectangle(Vertex from, Vertex to, float width) {
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    const float length = std::hypot(dx, dy);
    if (length == 0.0f) return;  // GL draws nothing for it either
    const float half = width / 2;
    const float along[2] = {dx / length * half, dy / length * half};
    const float across[2] = {-along[1], along[0]};
    const Vertex corners[4] = {
        {from.x - along[0] + across[0], from.y - along[1] + across[1]},
        {from.x - along[0] - across[0], from.y - along[1] - across[1]},
        {to.x + along[0] - across[0], to.y + along[1] - across[1]},
        {to.x + along[0] + across[0], to.y + along[1] + across[1]},
    };
    for (int corner : {0, 1, 2, 0, 2, 3}) glVertex2f(corners[corner].x, corners[corner].y);
}

void WidenedLines() {
    const std::vector<Vertex>& v = current.vertices;
    const float width = current.lineWidth;
    if (current.mode == GL_LINES) {
        for (std::size_t i = 1; i < v.size(); i += 2) Rectangle(v[i - 1], v[i], width);
        return;
    }
    for (std::size_t i = 1; i < v.size(); ++i) Rectangle(v[i - 1], v[i], width);
    if (current.mode == GL_LINE_LOOP && v.size() > 2) Rectangle(v.back(), v.front(), width);
}

}  // namespace

namespace immediate_mode {

void SetLineWidth(float width) { current.lineWidth = width; }

}  // namespace immediate_mode

extern "C" void korvessa_web_glBegin(GLenum mode) {
    current.mode = mode;
    current.widened = current.lineWidth > 1.0f && IsLines(mode);
    if (current.widened) {
        current.vertices.clear();
        glBegin(GL_TRIANGLES);
        return;
    }
    glBegin(mode == GL_POLYGON ? GL_TRIANGLE_FAN : mode);
}

extern "C" void korvessa_web_glVertex2f(GLfloat x, GLfloat y) {
    if (current.widened) {
        current.vertices.push_back({x, y});
    } else {
        glVertex2f(x, y);
    }
}

extern "C" void korvessa_web_glEnd() {
    if (current.widened) WidenedLines();
    current.widened = false;
    glEnd();
}
