// SPDX-License-Identifier: MIT
// The formats the program writes numbers in, named once, as data: the four
// converter windows' fixed formats and the workbench's chosen ones. The
// conversions, the windows and the working read their widths from here.
#pragma once

#include <QtGlobal>

#include <array>

namespace quorvex {

// How a pattern of bits stands for a number.
enum class Representation {
    UnsignedInteger,
    TwosInteger,
    UnsignedFixed,
    TwosFixed,
    Floating,  // two's complement mantissa (point after its sign bit) and exponent
};

// A representation with its widths; only the widths of its kind count.
struct Format {
    Representation representation = Representation::TwosInteger;
    int bits = 8;      // integers
    int whole = 4;     // fixed point: bits before the point
    int fraction = 4;  // fixed point: bits after the point
    int mantissa = 8;  // floating point, sign bit included
    int exponent = 4;  // floating point

    bool isInteger() const
    {
        return representation == Representation::UnsignedInteger
            || representation == Representation::TwosInteger;
    }
    bool isFixed() const
    {
        return representation == Representation::UnsignedFixed || representation == Representation::TwosFixed;
    }
    bool isFloating() const { return representation == Representation::Floating; }
    bool isSigned() const
    {
        return representation == Representation::TwosInteger || representation == Representation::TwosFixed
            || representation == Representation::Floating;
    }
    // How many bits a pattern of this format has.
    int totalBits() const
    {
        return isInteger() ? bits : isFixed() ? whole + fraction : mantissa + exponent;
    }
};

// The widths the workbench offers.
namespace limits {
inline constexpr int minBits = 1, maxBits = 64;
inline constexpr int minFixedPart = 0, maxFixedPart = 32;  // at least 1 bit in all
inline constexpr int minMantissa = 2, maxMantissa = 64;
inline constexpr int minExponent = 2, maxExponent = 12;
}  // namespace limits

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
