// Two runs of V side by side as one run of twice the lanes: every operation
// is issued for both halves in turn, so that the processor always has two
// independent chains of the same step to work on while a long operation
// (a division, a conversion) of the other is under way.
#pragma once

namespace sorvel::simd {
namespace {  // NOLINT(cert-dcl59-cpp): V has internal linkage, so this does too

template <class V>
struct Doubled {
    static constexpr int kLanes = 2 * V::kLanes;
    static constexpr bool kVariableShifts = V::kVariableShifts;
    struct D {
        typename V::D a, b;
    };
    struct S {
        typename V::S a, b;
    };
    struct F {
        typename V::F a, b;
    };
    struct I {
        typename V::I a, b;
    };

    static I loadPixels(const unsigned char* at) { return {V::loadPixels(at), V::loadPixels(at + 4 * V::kLanes)}; }
    static void storePixels(unsigned char* at, I p) {
        V::storePixels(at, p.a);
        V::storePixels(at + 4 * V::kLanes, p.b);
    }
    static I splat(int v) { return {V::splat(v), V::splat(v)}; }
    static I andI(I x, I y) { return {V::andI(x.a, y.a), V::andI(x.b, y.b)}; }
    static I andNotI(I m, I x) { return {V::andNotI(m.a, x.a), V::andNotI(m.b, x.b)}; }
    static I equalI(I x, I y) { return {V::equalI(x.a, y.a), V::equalI(x.b, y.b)}; }
    template <int Bits>
    static I shiftRight(I x) {
        return {V::template shiftRight<Bits>(x.a), V::template shiftRight<Bits>(x.b)};
    }
    static I selectI(I m, I x, I y) { return {V::selectI(m.a, x.a, y.a), V::selectI(m.b, x.b, y.b)}; }
    static I maxByte(I x, I y) { return {V::maxByte(x.a, y.a), V::maxByte(x.b, y.b)}; }
    static I minByte(I x, I y) { return {V::minByte(x.a, y.a), V::minByte(x.b, y.b)}; }
    static I subI(I x, I y) { return {V::subI(x.a, y.a), V::subI(x.b, y.b)}; }
    static I packChannels(I r, I g, I b) { return {V::packChannels(r.a, g.a, b.a), V::packChannels(r.b, g.b, b.b)}; }
    static I fractionToByte(F v) { return {V::fractionToByte(v.a), V::fractionToByte(v.b)}; }
    static D widen(F v) { return {V::widen(v.a), V::widen(v.b)}; }
    static I truncate(D v) { return {V::truncate(v.a), V::truncate(v.b)}; }

    static D splat(double v) { return {V::splat(v), V::splat(v)}; }
    static D add(D x, D y) { return {V::add(x.a, y.a), V::add(x.b, y.b)}; }
    static D sub(D x, D y) { return {V::sub(x.a, y.a), V::sub(x.b, y.b)}; }
    static D mul(D x, D y) { return {V::mul(x.a, y.a), V::mul(x.b, y.b)}; }
    static D div(D x, D y) { return {V::div(x.a, y.a), V::div(x.b, y.b)}; }
    static D abs(D x) { return {V::abs(x.a), V::abs(x.b)}; }
    static D min(D x, D y) { return {V::min(x.a, y.a), V::min(x.b, y.b)}; }
    static D max(D x, D y) { return {V::max(x.a, y.a), V::max(x.b, y.b)}; }
    static D less(D x, D y) { return {V::less(x.a, y.a), V::less(x.b, y.b)}; }
    static D andMask(D m, D x) { return {V::andMask(m.a, x.a), V::andMask(m.b, x.b)}; }

    static D widenFrom(const float* at) { return {V::widenFrom(at), V::widenFrom(at + V::kLanes)}; }
    static void narrowTo(float* at, D v) {
        V::narrowTo(at, v.a);
        V::narrowTo(at + V::kLanes, v.b);
    }
    static S narrowS(D v) { return {V::narrowS(v.a), V::narrowS(v.b)}; }
    static D widenS(S v) { return {V::widenS(v.a), V::widenS(v.b)}; }
    static S splatS(float v) { return {V::splatS(v), V::splatS(v)}; }
    static S mulS(S x, S y) { return {V::mulS(x.a, y.a), V::mulS(x.b, y.b)}; }
    static S addS(S x, S y) { return {V::addS(x.a, y.a), V::addS(x.b, y.b)}; }
    static S subS(S x, S y) { return {V::subS(x.a, y.a), V::subS(x.b, y.b)}; }
    static S divS(S x, S y) { return {V::divS(x.a, y.a), V::divS(x.b, y.b)}; }
    static S lessS(S x, S y) { return {V::lessS(x.a, y.a), V::lessS(x.b, y.b)}; }
    static S greaterEqualS(S x, S y) { return {V::greaterEqualS(x.a, y.a), V::greaterEqualS(x.b, y.b)}; }
    static S andS(S m, S x) { return {V::andS(m.a, x.a), V::andS(m.b, x.b)}; }
    static void storeS(float* at, S v) {
        V::storeS(at, v.a);
        V::storeS(at + V::kLanes, v.b);
    }

    static F toSingle(I v) { return {V::toSingle(v.a), V::toSingle(v.b)}; }
    static F splatF(float v) { return {V::splatF(v), V::splatF(v)}; }
    static void storeF(float* at, F v) {
        V::storeF(at, v.a);
        V::storeF(at + V::kLanes, v.b);
    }
    static F loadF(const float* at) { return {V::loadF(at), V::loadF(at + V::kLanes)}; }
    static F subF(F x, F y) { return {V::subF(x.a, y.a), V::subF(x.b, y.b)}; }
    static F divF(F x, F y) { return {V::divF(x.a, y.a), V::divF(x.b, y.b)}; }
    static F equalF(F x, F y) { return {V::equalF(x.a, y.a), V::equalF(x.b, y.b)}; }
    static F orMaskF(F x, F y) { return {V::orMaskF(x.a, y.a), V::orMaskF(x.b, y.b)}; }
    static F selectF(F m, F x, F y) { return {V::selectF(m.a, x.a, y.a), V::selectF(m.b, x.b, y.b)}; }
    static F maskF(I m) { return {V::maskF(m.a), V::maskF(m.b)}; }
    static F floorF(F x) { return {V::floorF(x.a), V::floorF(x.b)}; }
    static F addF(F x, F y) { return {V::addF(x.a, y.a), V::addF(x.b, y.b)}; }
    static F mulF(F x, F y) { return {V::mulF(x.a, y.a), V::mulF(x.b, y.b)}; }
};

}  // namespace
}  // namespace sorvel::simd
