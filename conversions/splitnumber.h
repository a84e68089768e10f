// SPDX-License-Identifier: MIT
// What the fixed-point and floating-point windows share when they split a
// number into its whole part and its fraction.
#pragma once

#include "core/runtime.h"

#include <QString>
#include <QtGlobal>

#include <cmath>

namespace quorvex {

// Whether the window reads a fraction from the text: when it holds a point,
// or when its number is written with an exponent ("25e-1" is 2.5). Either
// way the whole text is read in single precision, so a text that goes on
// after its number is refused alike ("0.5abc", "5e-1abc").
inline bool hasFraction(const QString &text, const rt::ScannedNumber &typed)
{
    return typed.exponentWritten || text.contains(u'.');
}

// The fraction is the single-precision reading less the whole part, and that
// reading can round up to the next whole number ("1.99999999" reads as 2).
// Such a whole number belongs to the whole part; the fraction keeps the rest.
// Returns whether anything was carried.
inline bool carryIntoWholePart(qint32 &whole, float &fraction)
{
    if (!(fraction >= 1.0f))
        return false;
    const float carried = std::floor(fraction);
    whole = rt::toInt32(qint64(whole) + rt::truncToInt32(carried));
    fraction -= carried;
    return true;
}

// How many digits of a typed number the working shows exactly; a number
// that needs more is compared with its bits no further.
constexpr qsizetype maxTypedDigits = 400;

}  // namespace quorvex
