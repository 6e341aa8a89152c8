// Singles held beside the doubles they come from or go to: two registers of
// 128 bits, one per register of doubles (S in core/simd_sse2.h and
// core/simd_avx2.h). Narrowing doubles into them and widening them back
// needs no shuffle across the halves of a vector. The same operations serve
// both instruction sets; each kernel's translation unit compiles its own
// copy (internal linkage), with or without the VEX encoding.
#pragma once

#include <xmmintrin.h>

namespace sorvel::simd {
namespace {  // NOLINT(cert-dcl59-cpp): internal linkage on purpose, see above

struct SinglePairs {
    struct S {
        __m128 lo, hi;
    };
    static S splatS(float v) { return {_mm_set1_ps(v), _mm_set1_ps(v)}; }
    static S addS(S a, S b) { return {_mm_add_ps(a.lo, b.lo), _mm_add_ps(a.hi, b.hi)}; }
    static S subS(S a, S b) { return {_mm_sub_ps(a.lo, b.lo), _mm_sub_ps(a.hi, b.hi)}; }
    static S mulS(S a, S b) { return {_mm_mul_ps(a.lo, b.lo), _mm_mul_ps(a.hi, b.hi)}; }
    static S divS(S a, S b) { return {_mm_div_ps(a.lo, b.lo), _mm_div_ps(a.hi, b.hi)}; }
    // Masks: all bits set where the comparison holds (never for NaN).
    static S lessS(S a, S b) { return {_mm_cmplt_ps(a.lo, b.lo), _mm_cmplt_ps(a.hi, b.hi)}; }
    static S greaterEqualS(S a, S b) { return {_mm_cmpge_ps(a.lo, b.lo), _mm_cmpge_ps(a.hi, b.hi)}; }
    static S andS(S mask, S a) { return {_mm_and_ps(mask.lo, a.lo), _mm_and_ps(mask.hi, a.hi)}; }
};

}  // namespace
}  // namespace sorvel::simd
