// What the game's immediate-mode drawing needs on WebGL. The objects (and
// the rings over them) are compiled for the web with glBegin, glVertex2f and
// glEnd renamed to the functions below.
#pragma once

#include <GL/gl.h>

namespace immediate_mode {

// The width lines are drawn with from now on. At 1 (the default) lines go
// to GL as lines, exactly as the game sends them; wider, since WebGL draws
// no line wider than a pixel, each segment is drawn as a rectangle that
// width across, reaching half of it past both ends so that outlines stay
// closed at their corners.
void SetLineWidth(float width);

}  // namespace immediate_mode

extern "C" {
// GL_POLYGON, which WebGL lacks, as a triangle fan from the first vertex:
// the same pixels, as GL 1.x drivers fill a convex polygon.
void korvessa_web_glBegin(GLenum mode);
void korvessa_web_glVertex2f(GLfloat x, GLfloat y);
void korvessa_web_glEnd();
}
