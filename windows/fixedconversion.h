// SPDX-License-Identifier: MIT
// The fixed-point window's rule and conversion, free of widgets.
#pragma once

#include <QString>

// What the fixed-point window shows for one conversion.
struct FixedResult {
    QString whole;       // binary digits of the whole part, no leading zeros
    QString fraction;    // exactly ten bits after the point
    QString fixedPoint;  // whole "." fraction
    QString actual;      // the exact value those bits hold
};

// The input rule: a number from 0 to 1023.
bool fixedAccepts(const QString &text);

// Ten bits before and ten after the point. Throws rt::RuntimeError for text
// the rule refuses when it cannot be converted (a whole part of 1024 or more).
FixedResult convertFixed(const QString &text);
