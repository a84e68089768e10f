// SPDX-License-Identifier: MIT
// The floating-point window's conversion, free of widgets.
#pragma once

#include "conversions/conversion.h"

namespace quorvex {

// Converts any text; one that holds no number converts like 0. Outputs, by
// FloatingOutput: the magnitude in fixed point (up to ten bits each side),
// the ten-bit two's complement mantissa (point after the sign bit) and the
// six-bit two's complement exponent. Fails with a run-time error when the
// whole part needs more than ten bits (subscript out of range, or overflow
// beyond 32 bits) or when a text with a point or exponent is not a number
// (type mismatch).
Conversion convertFloating(const QString &text);

}  // namespace quorvex
