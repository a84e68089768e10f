// SPDX-License-Identifier: MIT
// The four converter windows' formats, named once, as data: the
// conversions, the windows and the working read their widths from here.
#pragma once

#include "engine/format.h"

#include <QtGlobal>

#include <array>

namespace quorvex {

// The converter windows' formats.
namespace windowFormats {

// Binary integers: unsigned, in one of three widths.
inline constexpr std::array<qint16, 3> binIntWidths{8, 16, 24};
inline constexpr qint16 binIntStartWidth = 16;
inline constexpr qint16 binIntWidest = binIntWidths.back();

// Fixed point: ten bits before and ten after the point, unsigned.
inline constexpr Format fixed{.representation = Representation::UnsignedFixed, .whole = 10, .fraction = 10};
inline constexpr qint32 fixedLargestWhole = (1 << fixed.whole) - 1;  // 1023

// Floating point: a ten-bit mantissa and a six-bit exponent.
inline constexpr Format floating{.representation = Representation::Floating, .mantissa = 10, .exponent = 6};
// The fixed-point form it shows has up to ten bits each side of the point.
inline constexpr int floatingFixedBits = 10;
inline constexpr qint16 floatingLowestExponent = -(1 << (floating.exponent - 1));  // -32

}  // namespace windowFormats

}  // namespace quorvex
