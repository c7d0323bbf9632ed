#include "tests/gl/RecordingGL.h"

#include <GL/gl.h>

#include <cstring>
#include <initializer_list>
#include <sstream>

namespace {

std::vector<GLCall> calls;
std::vector<unsigned char> texturePixels;
int textureWidth = 0;
int textureHeight = 0;
GLuint nextTextureName = 1;
bool recording = true;

void Record(const char* name, std::initializer_list<double> args) {
    if (recording) calls.push_back(GLCall{name, std::vector<double>(args)});
}

}  // namespace

namespace recgl {

const std::vector<GLCall>& Calls() { return calls; }

void SetRecording(bool on) { recording = on; }

void Reset() {
    calls.clear();
    texturePixels.clear();
    textureWidth = 0;
    textureHeight = 0;
}

std::vector<GLCall> CallsNamed(const std::string& name) {
    std::vector<GLCall> found;
    for (const GLCall& call : calls) {
        if (call.name == name) found.push_back(call);
    }
    return found;
}

std::vector<std::pair<double, double>> Vertices(unsigned mode, int n) {
    std::vector<std::pair<double, double>> vertices;
    int seen = -1;
    bool inside = false;
    for (const GLCall& call : calls) {
        if (call.name == "glBegin" && static_cast<unsigned>(call.args[0]) == mode) {
            seen += 1;
            inside = seen == n;
        } else if (call.name == "glEnd") {
            if (inside) return vertices;
        } else if (inside && call.name == "glVertex2f") {
            vertices.emplace_back(call.args[0], call.args[1]);
        }
    }
    return vertices;
}

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const GLCall& call : calls) names.push_back(call.name);
    return names;
}

const std::vector<unsigned char>& LastTexturePixels() { return texturePixels; }
int LastTextureWidth() { return textureWidth; }
int LastTextureHeight() { return textureHeight; }

std::string Dump() {
    std::ostringstream out;
    out.precision(9);
    for (const GLCall& call : calls) {
        out << call.name;
        for (double arg : call.args) out << ' ' << arg;
        out << '\n';
    }
    return out.str();
}

}  // namespace recgl

extern "C" {

void glBegin(GLenum mode) { Record("glBegin", {double(mode)}); }
void glEnd(void) { Record("glEnd", {}); }
void glVertex2f(GLfloat x, GLfloat y) { Record("glVertex2f", {x, y}); }
void glColor3f(GLfloat r, GLfloat g, GLfloat b) { Record("glColor3f", {r, g, b}); }
void glRectf(GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2) {
    Record("glRectf", {x1, y1, x2, y2});
}
void glTexCoord2f(GLfloat s, GLfloat t) { Record("glTexCoord2f", {s, t}); }
void glPushMatrix(void) { Record("glPushMatrix", {}); }
void glPopMatrix(void) { Record("glPopMatrix", {}); }
void glClear(GLbitfield mask) { Record("glClear", {double(mask)}); }
void glPointSize(GLfloat size) { Record("glPointSize", {size}); }
void glLineWidth(GLfloat width) { Record("glLineWidth", {width}); }
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record("glViewport", {double(x), double(y), double(width), double(height)});
}
void glEnable(GLenum cap) { Record("glEnable", {double(cap)}); }
void glDisable(GLenum cap) { Record("glDisable", {double(cap)}); }
void glEnableClientState(GLenum array) { Record("glEnableClientState", {double(array)}); }
void glFinish(void) { Record("glFinish", {}); }
void glFlush(void) { Record("glFlush", {}); }
void glPushAttrib(GLbitfield mask) { Record("glPushAttrib", {double(mask)}); }
void glPopAttrib(void) { Record("glPopAttrib", {}); }
void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    Record("glScissor", {double(x), double(y), double(width), double(height)});
}

void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
             GLdouble zFar) {
    Record("glOrtho", {left, right, bottom, top, zNear, zFar});
}

void glGenTextures(GLsizei n, GLuint* textures) {
    for (GLsizei i = 0; i < n; ++i) textures[i] = nextTextureName++;
    Record("glGenTextures", {double(n)});
}

void glDeleteTextures(GLsizei n, const GLuint*) { Record("glDeleteTextures", {double(n)}); }

void glBindTexture(GLenum target, GLuint texture) {
    Record("glBindTexture", {double(target), double(texture)});
}

void glTexParameteri(GLenum target, GLenum name, GLint param) {
    Record("glTexParameteri", {double(target), double(name), double(param)});
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels) {
    Record("glTexImage2D",
           {double(target), double(level), double(internalFormat), double(width), double(height),
            double(border), double(format), double(type), pixels != nullptr ? 1.0 : 0.0});
    if (recording && pixels != nullptr) {
        const auto* bytes = static_cast<const unsigned char*>(pixels);
        texturePixels.assign(bytes, bytes + std::size_t(width) * std::size_t(height) * 4);
        textureWidth = width;
        textureHeight = height;
    }
}

}  // extern "C"
