// SPDX-License-Identifier: MIT
// The fixed-point window's rule and conversion, free of widgets.
#pragma once

#include "conversions/working.h"

// The order of the fixed-point window's outputs.
enum FixedOutput { FixedWhole, FixedFraction, FixedActual, FixedPoint };

// The input rule: a number from 0 to 1023.
bool fixedAccepts(const QString &text);

// The input rule's refusal of `text`, with its working.
Conversion refuseFixedInput(const QString &text);

// Ten bits before and ten after the point. Outputs, by FixedOutput: the
// binary digits of the whole part (no leading zeros), exactly ten bits after
// the point, the exact value those bits hold, and whole "." fraction. Text
// the rule refuses converts where it can; a whole part of 1024 or more fails
// with a run-time error.
Conversion convertFixed(const QString &text);
