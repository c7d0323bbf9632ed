// A frame's GL calls, read from the recording stand-in's text log and sent
// again to the real GL with no game code in between: the floor under what
// drawing that frame can cost.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RecordedFrame {
public:
    // Reads a file written by the frame capture: header lines "# key value"
    // (among them "state" and "font-texture"), then one call a line. Parsed
    // once into opcodes and float arguments, so a replay does no text work.
    // Throws std::runtime_error naming the file and line on anything it
    // cannot replay.
    static RecordedFrame Load(const std::string& path);

    // The busy state's fingerprint the frame was captured from.
    const std::string& StateFingerprint() const { return state_; }

    // Points every texture bind of the recording at `texture`, the font of
    // the live context (the recording numbered its own textures).
    void BindFontTexture(unsigned texture);

    // Issues every call, in order, on the current GL context.
    void Replay() const;

    std::size_t CallCount() const { return ops_.size(); }
    std::size_t VertexCount() const;

private:
    enum class Op : std::uint8_t {
        kClear,
        kPointSize,
        kBegin,
        kEnd,
        kVertex2f,
        kColor3f,
        kTexCoord2f,
        kPushMatrix,
        kPopMatrix,
        kEnable,
        kDisable,
        kBindTexture,
    };

    std::vector<Op> ops_;
    std::vector<float> args_;               // every call's arguments, back to back
    std::vector<std::size_t> textureArgs_;  // where in args_ bound texture names are
    std::string state_;
    unsigned recordedFont_ = 0;
};
