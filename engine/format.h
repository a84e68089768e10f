// SPDX-License-Identifier: MIT
// A format: how a pattern of bits stands for a number, with its widths.
// The facts of a format (how many bits, where its point stands, the range of
// its exponent) are answered here, once, for every caller.
#pragma once

#include <QtGlobal>

#include <string_view>

namespace quorvex {

// How a pattern stands for a number, named as the command line names it
// ("int-signed"). Each topic names the representations it answers; those
// below are the ones the converter windows' formats, the tests and the
// format's own facts also name.
struct Representation {
    std::string_view id;

    friend constexpr bool operator==(Representation a, Representation b) { return a.id == b.id; }

    static const Representation UnsignedInteger, TwosInteger, UnsignedFixed, TwosFixed, Floating,
        SignMagnitudeFloating, Ieee;
};
inline constexpr Representation Representation::UnsignedInteger{"int"};
inline constexpr Representation Representation::TwosInteger{"int-signed"};
inline constexpr Representation Representation::UnsignedFixed{"fixed"};
inline constexpr Representation Representation::TwosFixed{"fixed-signed"};
inline constexpr Representation Representation::Floating{"float"};
// Floating point whose mantissa is a sign bit and a magnitude.
inline constexpr Representation Representation::SignMagnitudeFloating{"float-signmag"};
inline constexpr Representation Representation::Ieee{"ieee"};

// IEEE 754's named formats (and two 8-bit ones that follow its pattern).
// All but FP8 E4M3 follow IEEE 754's rules for their widths; E4M3 (as the
// OCP 8-bit formats define it) has no infinities, its exponent of all 1s
// holds normal numbers, and only S.1111.111 is NaN.
enum class IeeePreset { Custom, Half, Single, Double, Quad, BFloat16, E5M2, E4M3 };

// How bits beyond the last place are dropped: cut (the bits after the last
// place left off, as mark schemes do), to nearest with ties away from zero
// (as taught by hand), and IEEE 754's modes: to nearest with ties to even,
// toward zero, toward +infinity (up) and toward -infinity (down).
enum class Rounding { Cut, Nearest, NearestEven, TowardZero, Up, Down };

// A representation with its widths; only the widths of its kind count.
struct Format {
    Representation representation = Representation::TwosInteger;
    int bits = 8;      // integers
    int whole = 4;     // fixed point: bits before the point
    int fraction = 4;  // fixed point: bits after the point
    int mantissa = 8;  // floating point, sign bit included
    int exponent = 4;  // floating point
    int digits = 0;    // denary digits, for codes that keep them (0: as many as needed)
    int bias = 0;      // for exponents stored with a bias
    Rounding rounding = Rounding::Cut;  // the format's topic sets its default
    // IEEE 754: the named format, or Custom for the widths `exponent` and
    // `fraction` with `bias`.
    IeeePreset preset = IeeePreset::Custom;

    bool isInteger() const
    {
        return representation == Representation::UnsignedInteger
            || representation == Representation::TwosInteger;
    }
    bool isFixed() const
    {
        return representation == Representation::UnsignedFixed || representation == Representation::TwosFixed;
    }
    // A mantissa, its point after its sign bit, and a two's complement
    // exponent: the mantissa in two's complement, or a sign and a magnitude.
    bool isFloating() const
    {
        return representation == Representation::Floating || representation == Representation::SignMagnitudeFloating;
    }
    bool isIeee() const { return representation == Representation::Ieee; }
    // Two's complement: the leftmost place (of the mantissa and the
    // exponent, in floating point) counts negative.
    bool isSigned() const
    {
        return representation == Representation::TwosInteger || representation == Representation::TwosFixed
            || representation == Representation::Floating;
    }
    // How many bits a pattern of this format has.
    int totalBits() const
    {
        return isInteger() ? bits
            : isFixed()    ? whole + fraction
            : isIeee()     ? 1 + exponent + fraction  // the sign, the exponent, the fraction
                           : mantissa + exponent;
    }
    // How many of them stand after a point that is fixed in the pattern.
    int fractionBits() const { return isFixed() ? fraction : 0; }
    // The last place of the pattern is worth 2^stepPower().
    int stepPower() const { return -fractionBits(); }
    // The exponent of floating point, in two's complement.
    qint64 highestExponent() const { return (qint64(1) << (exponent - 1)) - 1; }
    qint64 lowestExponent() const { return -(qint64(1) << (exponent - 1)); }
    bool exponentFits(qint64 e) const { return e >= lowestExponent() && e <= highestExponent(); }
    // The mantissa's places after its sign bit: its last place is worth
    // 2^-(mantissa - 1) before the exponent moves the point.
    int mantissaFraction() const { return mantissa - 1; }
};

// The widths the workbench offers.
namespace limits {
inline constexpr int minBits = 1, maxBits = 64;
inline constexpr int minFixedPart = 0, maxFixedPart = 32;  // at least 1 bit in all
inline constexpr int minMantissa = 2, maxMantissa = 64;
inline constexpr int minExponent = 2, maxExponent = 12;
inline constexpr int maxDigits = 64;  // codes that keep denary digits; 0 for as many as needed
inline constexpr int minIeeeExponent = 2, maxIeeeExponent = 15;  // IEEE 754 of custom widths
inline constexpr int minIeeeFraction = 1, maxIeeeFraction = 112;
}  // namespace limits

}  // namespace quorvex
