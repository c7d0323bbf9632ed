// The saucer's heading comes from atan, which glibc rounds correctly in all
// but the rarest cases and musl does not; computed in the quadruple
// precision of WebAssembly's long double and rounded once, the web build's
// atan gives the correctly rounded result as well.
#include <cmath>

extern "C" double atan(double x) { return static_cast<double>(atanl(static_cast<long double>(x))); }
