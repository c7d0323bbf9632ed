// A stand-in for the system GL, linked into unit-test binaries in its place.
// Every GL function the game calls is recorded, with its arguments, so a test
// can check exactly what a Draw sends, in order.
#pragma once

#include <string>
#include <vector>

struct GLCall {
    std::string name;          // e.g. "glVertex2f"
    std::vector<double> args;  // numeric arguments, in order
};

namespace recgl {

// Every call since the last Reset(), in order.
const std::vector<GLCall>& Calls();
void Reset();

// Long runs switch recording off so the log does not grow without bound; the
// calls then do nothing at all. On by default.
void SetRecording(bool on);

// The calls of one name, in order.
std::vector<GLCall> CallsNamed(const std::string& name);

// The vertices sent between the n-th glBegin of `mode` (counting from 0)
// and its glEnd, as (x, y) pairs.
std::vector<std::pair<double, double>> Vertices(unsigned mode, int n = 0);

// The names of the calls, in order; handy for checking a sequence.
std::vector<std::string> Names();

// The pixels of the last glTexImage2D call that was given pixel data (w * h
// RGBA bytes), with its width and height.
const std::vector<unsigned char>& LastTexturePixels();
int LastTextureWidth();
int LastTextureHeight();

// Text form of the log, one call a line ("glVertex2f 1 2"); the same format
// that the frame replay tool reads.
std::string Dump();

}  // namespace recgl
