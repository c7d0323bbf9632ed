// The saucer's heading comes from atan. musl's, the web build's libm, and
// glibc's differ in the last bit now and then, and one bit is enough for a
// replay to play differently; so the web build takes glibc's atan instead.
#include "FusedAtan.h"

extern "C" double atan(double x) { return fused_atan::Atan(x); }
