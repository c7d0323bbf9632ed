#include "bench/FrameReplay.h"

#include <GL/gl.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

struct Known {
    const char* name;
    int argCount;
};

}  // namespace

RecordedFrame RecordedFrame::Load(const std::string& path) {
    // Indexed by Op; only the calls Render() makes.
    static const Known kKnown[] = {
        {"glClear", 1},     {"glPointSize", 1}, {"glBegin", 1},      {"glEnd", 0},
        {"glVertex2f", 2},  {"glColor3f", 3},   {"glTexCoord2f", 2}, {"glPushMatrix", 0},
        {"glPopMatrix", 0}, {"glEnable", 1},    {"glDisable", 1},    {"glBindTexture", 2},
    };
    static_assert(sizeof kKnown / sizeof kKnown[0] == static_cast<int>(Op::kBindTexture) + 1,
                  "one entry per opcode, in order");

    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open captured frame " + path);
    auto fail = [&path](int line, const std::string& what) {
        return std::runtime_error(path + ":" + std::to_string(line) + ": " + what);
    };

    RecordedFrame frame;
    bool haveFont = false;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (text.empty()) continue;
        std::istringstream fields(text);
        if (text[0] == '#') {
            std::string hash, key, value;
            fields >> hash >> key >> value;
            if (key == "state") frame.state_ = value;
            if (key == "font-texture") {
                frame.recordedFont_ = static_cast<unsigned>(std::stoul(value));
                haveFont = true;
            }
            continue;
        }
        std::string name;
        fields >> name;
        int op = 0;
        const int opCount = static_cast<int>(sizeof kKnown / sizeof kKnown[0]);
        while (op < opCount && name != kKnown[op].name) ++op;
        if (op == opCount) throw fail(line, "cannot replay " + name);

        std::vector<double> args;
        double arg = 0;
        while (fields >> arg) args.push_back(arg);
        if (!fields.eof() || static_cast<int>(args.size()) != kKnown[op].argCount) {
            throw fail(line, name + " needs " + std::to_string(kKnown[op].argCount) +
                                 " numeric arguments");
        }
        if (static_cast<Op>(op) == Op::kBindTexture) {
            if (!haveFont || static_cast<unsigned>(args[1]) != frame.recordedFont_) {
                throw fail(line, "binds a texture other than the font");
            }
            frame.textureArgs_.push_back(frame.args_.size() + 1);
        }
        frame.ops_.push_back(static_cast<Op>(op));
        // The log printed floats at full precision and enums as small
        // integers, so both come back exactly as floats.
        for (double a : args) frame.args_.push_back(static_cast<float>(a));
    }
    if (frame.ops_.empty()) throw std::runtime_error("captured frame " + path + " is empty");
    if (frame.state_.empty()) throw std::runtime_error(path + " does not name its state");
    return frame;
}

void RecordedFrame::BindFontTexture(unsigned texture) {
    for (std::size_t at : textureArgs_) args_[at] = static_cast<float>(texture);
}

std::size_t RecordedFrame::VertexCount() const {
    std::size_t n = 0;
    for (Op op : ops_) n += op == Op::kVertex2f;
    return n;
}

void RecordedFrame::Replay() const {
    const float* a = args_.data();
    for (Op op : ops_) {
        switch (op) {
            case Op::kClear:
                glClear(static_cast<GLbitfield>(a[0]));
                a += 1;
                break;
            case Op::kPointSize:
                glPointSize(a[0]);
                a += 1;
                break;
            case Op::kBegin:
                glBegin(static_cast<GLenum>(a[0]));
                a += 1;
                break;
            case Op::kEnd:
                glEnd();
                break;
            case Op::kVertex2f:
                glVertex2f(a[0], a[1]);
                a += 2;
                break;
            case Op::kColor3f:
                glColor3f(a[0], a[1], a[2]);
                a += 3;
                break;
            case Op::kTexCoord2f:
                glTexCoord2f(a[0], a[1]);
                a += 2;
                break;
            case Op::kPushMatrix:
                glPushMatrix();
                break;
            case Op::kPopMatrix:
                glPopMatrix();
                break;
            case Op::kEnable:
                glEnable(static_cast<GLenum>(a[0]));
                a += 1;
                break;
            case Op::kDisable:
                glDisable(static_cast<GLenum>(a[0]));
                a += 1;
                break;
            case Op::kBindTexture:
                glBindTexture(static_cast<GLenum>(a[0]), static_cast<GLuint>(a[1]));
                a += 2;
                break;
        }
    }
}
