// SPDX-License-Identifier: MIT
// What the topics share in setting questions: values with few significant
// bits, so that their decimals stay the size exams use, and questions about
// a cut.
#pragma once

#include "engine/exact.h"
#include "engine/format.h"
#include "engine/topic.h"

#include <QString>

#include <algorithm>
#include <optional>

class QRandomGenerator;

namespace quorvex::practice {

// How many bits after a value's first 1 may be 1: few, so decimals stay short.
inline constexpr int significantBits = 6;

// The highest place that holds a 1 in v, or -1 for 0.
int topBit(quint64 v);

// The lowest place a whole number's first 1 is set in, when places up to
// `top` may hold it: the upper half, as exam papers choose whole numbers
// (8 bits ask 8 to 255, never 1).
constexpr int lowestTopBit(int top) { return top < 3 ? top : std::max(top / 2, 3); }

// What the hand method's bits hold for a denary number, as an exact
// decimal; empty when the number is refused.
QString heldDecimal(const workbench::Topic &topic, const Format &format, const QString &denary);

// A short decimal of about the size of `near` that the format cannot hold
// exactly, or nothing when a few tries find none.
std::optional<QString> cutQuestion(const workbench::Topic &topic, const Format &format, QRandomGenerator &rng,
                                   const exact::Number &near);

}  // namespace quorvex::practice
