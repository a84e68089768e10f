// SPDX-License-Identifier: MIT
// The floating-point window's conversion, free of widgets.
#pragma once

#include <QString>

// What the floating-point window shows for one conversion.
struct FloatingResult {
    QString fixed;     // the magnitude in fixed point, up to ten bits each side
    QString mantissa;  // ten bits, two's complement, point after the sign bit
    QString exponent;  // six bits, two's complement
};

// Converts any text; one that holds no number converts like 0. Throws
// rt::RuntimeError when the whole part needs more than ten bits (subscript
// out of range, or overflow beyond 32 bits) or when a text holding "." is
// not a number (type mismatch).
FloatingResult convertFloating(const QString &text);
