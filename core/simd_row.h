// Pieces the vector kernels share, written once over the operations of
// core/simd_sse2.h or core/simd_avx2.h (the template parameter V). Each
// kernel's translation unit instantiates them with its own V, which has
// internal linkage, so the instances stay apart as well.
#pragma once

#include <cstddef>
#include <cstring>
#include <limits>

namespace sorvel::simd {

// Byte to fraction, single(byte / 255): the quotient of two singles
// rounded once to single is the double quotient rounded to single.
template <class V>
typename V::F byteFraction(typename V::I byte) {
    return V::divF(V::toSingle(byte), V::splatF(255.0f));
}

// The same without a division, for kernels whose divider is busy. Scaled by
// 2^24 the quotient is byte * 65793 (the byte's 8 bits three times over,
// exact in single precision) plus byte / 255 again, so its sum with a close
// approximation of byte / 255 rounds to the same single: the bits beyond
// those kept repeat the byte, which keeps the exact value far from halfway
// between two singles, farther than the approximation's error. The scaling
// back is exact.
template <class V>
typename V::F byteFractionByMultiplication(typename V::I byte) {
    const typename V::F x = V::toSingle(byte);
    const typename V::F repeated = V::mulF(x, V::splatF(65793.0f));
    const typename V::F approximateRest = V::mulF(x, V::splatF(1.0f / 255.0f));
    return V::mulF(V::addF(repeated, approximateRest), V::splatF(0x1p-24f));
}

// A channel value truncated toward zero, 0 where it is not finite. Values
// above 256 become 256 first and those far below 0 truncate to INT_MIN, so
// that the clamp of packChannels gives what channelByte gives: in the
// scalar path a finite value beyond the int range saturates and so clamps
// to 0 or 255 as well.
template <class V>
typename V::I truncatedChannel(typename V::D v) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    // Ordered comparison: false for NaN and +inf; -inf clamps to 0 anyway.
    const typename V::D finite = V::less(v, V::splat(kInfinity));
    return V::truncate(V::andMask(finite, V::min(v, V::splat(256.0))));
}

// Output pixels from three vectors of channel values, each channel as
// channelByte makes it.
template <class V>
typename V::I channelBytes(typename V::D red, typename V::D green, typename V::D blue) {
    return V::packChannels(truncatedChannel<V>(red), truncatedChannel<V>(green), truncatedChannel<V>(blue));
}

// channelByte(double(fraction) * 255) for singles: in integer arithmetic
// where V has variable shifts, else in double precision.
template <class V>
typename V::I fractionBytes(typename V::F fraction) {
    if constexpr (V::kVariableShifts) {
        return V::fractionToByte(fraction);
    } else {
        return truncatedChannel<V>(V::mul(V::widen(fraction), V::splat(255.0)));
    }
}

// Runs of V::kLanes pixels are handed out in chunks of at most kMaxRuns:
// chunk(src, dst, runs). A kernel works through a chunk in stages, each a
// short loop over the runs with its intermediates in small arrays, so that
// the processor overlaps many runs instead of waiting on one long chain of
// dependent operations. The last, shorter run goes through the same chunk
// code in a buffer, so every pixel takes the vector path. A chunk reads
// each run before it writes it, so src and dst may be the same row.
template <class V, int kMaxRuns, class Chunk>
void forEachChunk(const unsigned char* src, unsigned char* dst, int width, Chunk&& chunk) {
    const int wholeRuns = width / V::kLanes;
    for (int run = 0; run < wholeRuns; run += kMaxRuns) {
        const int runs = wholeRuns - run < kMaxRuns ? wholeRuns - run : kMaxRuns;
        const std::ptrdiff_t offset = 4 * static_cast<std::ptrdiff_t>(run) * V::kLanes;
        chunk(src + offset, dst + offset, runs);
    }
    const int done = wholeRuns * V::kLanes;
    if (done < width) {
        unsigned char lastRun[4 * V::kLanes] = {};
        const std::size_t bytes = 4 * static_cast<std::size_t>(width - done);
        std::memcpy(lastRun, src + 4 * static_cast<std::ptrdiff_t>(done), bytes);
        chunk(lastRun, lastRun, 1);
        std::memcpy(dst + 4 * static_cast<std::ptrdiff_t>(done), lastRun, bytes);
    }
}

}  // namespace sorvel::simd
