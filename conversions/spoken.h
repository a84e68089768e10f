// SPDX-License-Identifier: MIT
// What a screen reader says for bits and for the working: bits one digit at
// a time in groups of four (a reader says "11001000" as a number in the
// millions), and the working's rich text as sentences, its tables with each
// cell beside its heading, powers and minus signs in words.
#pragma once

#include "conversions/format.h"

#include <QString>
#include <QStringList>

namespace quorvex::spoken {

// A bit string digit by digit, in groups of four from the right, or from
// the left for bits after a binary point: "1 1 0 0, 1 0 0 0". Empty when the
// text is not a bit string.
QString bits(const QString &text, bool fromLeft = false);

// Bits with a binary point: "whole part 1 0 1, point, fraction 1 1 0 0,
// 0 0"; bits without one as bits() says them.
QString fixedPoint(const QString &text);

// A mantissa and exponent pair, each from the left: "mantissa 1 0 0 1,
// 1 0 1 1, 0 0, exponent 0 0 0 1, 0 0". Empty unless both are bit strings.
QString floating(const QString &mantissa, const QString &exponent);

// A bit pattern as the workbench writes its answers: a mantissa and an
// exponent apart by a space, bits with a point, or bits alone.
QString pattern(const QString &text);
// Hex digits one by one: "F F 9 C", "3, point, C".
QString hexDigits(const QString &text);

// The working's rich text for a listener, one part per paragraph or table,
// in the order they are shown: paragraphs as plain sentences; a table with
// a heading row as one sentence per row pairing each heading with its cell
// ("fraction 0.625, doubled 1.25, bit 1."); a table whose rows start with
// a heading cell one sentence per column pairing the row headings with the
// cells ("place value 128, bit 1; place value 64, bit 1."); rows of a
// table end in a line break. "2^16", "2<sup>16</sup>" and "2¹⁶" become
// "2 to the power 16", a minus sign "minus", bits in code are spelt out,
// and invisible characters go.
QStringList htmlParts(const QString &html);
// The parts, a line break apart.
QString html(const QString &html);

}  // namespace quorvex::spoken
