// SPDX-License-Identifier: MIT
// Exact arithmetic on plain decimal texts ("-12.625", "0.1", "7"), for the
// working: how far the value the bits hold is from the number typed.
#pragma once

#include <QString>

namespace quorvex {

// a - b, exactly, in the same plain form: no exponent, no leading or
// trailing zeros, "0" for zero. Both must be plain decimals.
QString decimalDifference(const QString &a, const QString &b);

}  // namespace quorvex
