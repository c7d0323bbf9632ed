// A GL that draws nothing, for verifying replays on a server: no window, no
// context, no driver. The game's hit tests read only the outlines that its
// own Draw code computes, so a frame drawn here leaves the game exactly as a
// frame drawn by a real GL would. Every function the game and its replay
// player call is here; linking a program that calls any other fails, which
// is the point: nothing may rely on GL answering.

#include <GL/gl.h>

extern "C" {

void glBegin(GLenum) {}
void glEnd(void) {}
void glVertex2f(GLfloat, GLfloat) {}
void glColor3f(GLfloat, GLfloat, GLfloat) {}
void glTexCoord2f(GLfloat, GLfloat) {}
void glPushMatrix(void) {}
void glPopMatrix(void) {}
void glClear(GLbitfield) {}
void glPointSize(GLfloat) {}
void glLineWidth(GLfloat) {}
void glViewport(GLint, GLint, GLsizei, GLsizei) {}
void glEnable(GLenum) {}
void glDisable(GLenum) {}
void glEnableClientState(GLenum) {}
void glFinish(void) {}
void glFlush(void) {}
void glPushAttrib(GLbitfield) {}
void glPopAttrib(void) {}
void glScissor(GLint, GLint, GLsizei, GLsizei) {}
void glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void glBindTexture(GLenum, GLuint) {}
void glTexParameteri(GLenum, GLenum, GLint) {}
void glTexImage2D(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) {}

// The names a fresh context hands out first. No state is kept, so threads
// verifying side by side share nothing here.
void glGenTextures(GLsizei n, GLuint* textures) {
    for (GLsizei i = 0; i < n; ++i) textures[i] = static_cast<GLuint>(i) + 1;
}

}  // extern "C"
