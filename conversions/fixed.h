// SPDX-License-Identifier: MIT
// The fixed-point window's rule and conversion, free of widgets.
#pragma once

#include "conversions/conversion.h"

namespace quorvex {

// The input rule: a number from 0 to the largest whole part (1023).
bool fixedAccepts(const QString &text);

// What the input rule asks for, as the user is told it.
QString fixedRuleNote();

// The input rule's refusal of `text`, with its working.
Conversion refuseFixedInput(const QString &text);

// Ten bits before and ten after the point. Outputs, by FixedOutput: the
// binary digits of the whole part (no leading zeros), exactly ten bits after
// the point, the exact value those bits hold, and whole "." fraction. Text
// the rule refuses converts where it can; a whole part of 1024 or more fails
// with a run-time error.
Conversion convertFixed(const QString &text);

}  // namespace quorvex
