// WebGL draws no GL_POLYGON, and Emscripten's emulation of immediate mode
// refuses it; a triangle fan from the first vertex fills the same outline
// (it is how GL 1.x drivers fill a polygon), so the objects' black fill
// under their outlines, compiled for the web with glBegin renamed to this,
// covers the same pixels.
#include <GL/gl.h>

extern "C" void korvessa_web_glBegin(GLenum mode) {
    glBegin(mode == GL_POLYGON ? GL_TRIANGLE_FAN : mode);
}
