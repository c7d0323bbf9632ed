// glPushAttrib and glPopAttrib for the one group replays use (the scissor
// test and box, while a session's earlier games are skipped): WebGL has no
// attribute stack and Emscripten's emulation of GL 1.x does not make one.
#include <GL/gl.h>

#include <vector>

namespace {

struct ScissorState {
    GLboolean enabled;
    GLint box[4];
};

std::vector<ScissorState> pushed;

}  // namespace

extern "C" void glPushAttrib(GLbitfield mask) {
    ScissorState state{};
    if ((mask & GL_SCISSOR_BIT) != 0) {
        state.enabled = glIsEnabled(GL_SCISSOR_TEST);
        glGetIntegerv(GL_SCISSOR_BOX, state.box);
    }
    pushed.push_back(state);
}

extern "C" void glPopAttrib() {
    if (pushed.empty()) return;
    const ScissorState state = pushed.back();
    pushed.pop_back();
    if (state.enabled) {
        glEnable(GL_SCISSOR_TEST);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
    glScissor(state.box[0], state.box[1], state.box[2], state.box[3]);
}
