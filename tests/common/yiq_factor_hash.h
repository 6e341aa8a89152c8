// Hash of the YIQ balance factors (fI, fQ as single-precision bits) over
// every balance and saturation of the dialog range.
#pragma once

#include <cstdint>
#include <cstring>

#include "yiq/yiq_transform.h"

namespace sorvel::test {

inline std::uint64_t yiqFactorHash() {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (std::int32_t balance = 0; balance <= 300; ++balance)
        for (std::int32_t saturation = 0; saturation <= 300; ++saturation) {
            const yiq::Coefficients c = yiq::coefficients({balance, 0, saturation});
            std::uint32_t bits[2];
            std::memcpy(&bits[0], &c.fI, 4);
            std::memcpy(&bits[1], &c.fQ, 4);
            h = (h ^ bits[0]) * 0x100000001B3ull;
            h = (h ^ bits[1]) * 0x100000001B3ull;
        }
    return h;
}

}  // namespace sorvel::test
