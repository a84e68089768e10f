// SPDX-License-Identifier: MIT
// Practice with calculations: a student's answer to an addition,
// subtraction, multiplication, shift or mask marked against the
// workbench's, with the usual slips named (a carry dropped, the carry out
// kept as a bit more, overflow not noticed, the wrong number negated, a
// shift the wrong way, AND taken for OR); and new calculations as exams
// set them.
#pragma once

#include "practice/practice.h"

#include <QRandomGenerator>

namespace quorvex::practice {

using workbench::Operation;

// Marks `answer` (the result's bits, and for a sum, difference or product
// the fact: "00100011, overflow"; a missing fact is not marked down).
Verdict markCalculation(const Format &format, Operation operation, const workbench::Calculation &calculation,
                        const QString &answer);

// A new calculation of an operation the format's topic has: additions
// with and without overflow (three rows now and then, where the format
// adds three), subtraction of a larger number, shifts of 1 to 3 places,
// masks of a run of 1s. Its operands are bits; none when the topic has no
// such calculation. The same generator state gives the same question.
workbench::Calculation newCalculation(const Format &format, Operation operation, QRandomGenerator &rng);

// What a calculation asks, in words: "Add 10110110 and 01101101 as 8-bit
// unsigned integers and state whether overflow occurs."
QString askedCalculation(const Format &format, Operation operation, const workbench::Calculation &calculation);

}  // namespace quorvex::practice
