// SPDX-License-Identifier: MIT
// Floating-point arithmetic and errors by hand: adding and subtracting two
// pairs of mantissa and exponent (the exponents made equal by shifting the
// smaller number's mantissa right, the mantissas added in columns, the sum
// normalised and cut or rounded to the format, overflow and underflow said
// as such), the absolute and relative error of a stored number (for fixed
// point too), and two floating-point formats of one width set side by side,
// range against precision.
#pragma once

#include "engine/topic.h"

#include <QStringList>

namespace quorvex::workbench::floating {

// a + b or a - b in `format` (floating point), each operand bits, hex or a
// denary number written in the format first. The answer is the pair, or
// "overflow" or "underflow" when the exact result is beyond the format.
Worked addOrSubtract(const Topic &topic, const Format &format, bool subtract, const QStringList &operands);
// A denary number stored in `format` (floating or fixed point): the
// pattern, what it holds, the absolute and relative errors, and the most
// the format can be out near that number.
Worked error(const Topic &topic, const Format &format, const QString &input);
// `format` against `calculation.to`, another floating-point format of the
// same width: their ranges and steps near 1, and, for a number typed as the
// first operand, which holds it more exactly.
Worked compare(const Topic &topic, const Format &format, const Calculation &calculation);

// A new question for an error or a comparison: a number as exams set one
// whose bits cannot hold it exactly ("5.3", "-0.7"), within the format.
QString errorQuestion(const Topic &topic, const Format &format, QRandomGenerator &rng);
// A student's answer to one of the calculations above marked against the
// right one: right, or the slip it follows.
std::optional<Topic::CalculationMark> mark(const Topic &topic, const Format &format, Operation operation,
                                           const Calculation &calculation, const QString &answer, const Worked &right);

}  // namespace quorvex::workbench::floating
