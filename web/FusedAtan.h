// atan as glibc 2.36 computes it on an x86-64 CPU with FMA and AVX2, the
// variant its libm picks on the machines that play and verify our games.
// Every step rounds as that build rounds (each fused multiply-add where
// GCC fused one), so on any IEEE double machine with a correctly rounded
// fma this returns the same bits as that libm's atan, for every double.
#pragma once

namespace fused_atan {

double Atan(double x);

}  // namespace fused_atan
