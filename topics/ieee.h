// SPDX-License-Identifier: MIT
// IEEE 754 floating point: a sign bit, an exponent stored with a bias and a
// fraction after a hidden 1, in the named formats (half, single, double,
// quadruple, bfloat16, the 8-bit E5M2 and E4M3) and in custom widths. What
// the workbench window and the tests need of it besides the topic itself.
#pragma once

#include "engine/exact.h"
#include "engine/format.h"

#include <QList>
#include <QString>

namespace quorvex::workbench::ieee754 {

// The named formats in the order the workbench lists them, Custom last.
QList<IeeePreset> presets();
// "Half (binary16)", "FP8 E4M3", "Custom".
QString presetTitle(IeeePreset preset);
// The name after "ieee:" on the command line: "half", "e4m3".
QString presetName(IeeePreset preset);
// The format with its widths and bias; Custom keeps the widths given.
Format presetFormat(IeeePreset preset);
Format customFormat(int exponent, int fraction);
// The bias a custom format takes unless told: 2^(E-1) - 1.
int standardBias(int exponent);

// What a pattern of the format is.
struct Decoded {
    enum class Kind { Zero, Subnormal, Normal, Infinity, NaN };
    Kind kind = Kind::Zero;
    bool negative = false;
    qint64 field = 0;     // the exponent field as an unsigned number
    qint64 exponent = 0;  // the power of two of the first place of 1.f (or 0.f)
    exact::Number value;  // finite values only
    bool quiet = false;   // NaN: the fraction's first bit set
};
Decoded decode(const Format &format, const QString &bits);

// A value rounded into the format in its rounding mode: the bits, and
// whether it overflowed.
struct Encoded {
    QString bits;  // sign, exponent, fraction, without blanks
    Decoded::Kind kind = Decoded::Kind::Zero;
    exact::Number held;  // finite results
};
Encoded encode(const Format &format, bool negative, const exact::Number &size);

}  // namespace quorvex::workbench::ieee754
