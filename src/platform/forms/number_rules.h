#pragma once
// The number rules the documented arithmetic is written in, each in one place:
//   R(x)    to the nearest integer, halves to the even neighbour (the default rounding mode,
//           never std::round, which sends halves away from zero): R(2.5) = 2, R(3.5) = 4;
//   Int(x)  toward minus infinity: Int(-0.5) = -1;
//   Fix(x)  toward zero: Fix(-0.5) = 0;
// narrowing to 16 or 32 bits rounds like R and raises the overflow error rather than wrap;
// and the unit of window and pointer coordinates given in twips.

#include "runtime_error.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace platform {

inline constexpr int32_t kTwipsPerPixel = 15;

// For values that fit 32 bits (pixel arithmetic); use toInt32Checked where they may not.
inline int32_t R(double x) { return static_cast<int32_t>(std::nearbyint(x)); }
// Int and Fix keep the double, so callers can check the range before narrowing.
inline double Int(double x) { return std::floor(x); }
inline double Fix(double x) { return std::trunc(x); }

// R(x) as a 16-bit value; outside -32768..32767 (or not a number) raises the overflow error
// with `source` as its source.
inline int16_t toInt16Checked(double x, const QString& source) {
    x = std::nearbyint(x);
    if (!(x >= std::numeric_limits<int16_t>::min() && x <= std::numeric_limits<int16_t>::max())) raiseOverflow(source);
    return static_cast<int16_t>(x);
}

// R(x) as a 32-bit value; outside the 32-bit range (or not a number) raises the overflow error.
inline int32_t toInt32Checked(double x, const QString& source) {
    x = std::nearbyint(x);
    if (!(x >= std::numeric_limits<int32_t>::min() && x <= std::numeric_limits<int32_t>::max())) raiseOverflow(source);
    return static_cast<int32_t>(x);
}

} // namespace platform
