// SPDX-License-Identifier: MIT
// The binary integers window's checks and conversion, free of widgets.
#pragma once

#include "conversions/conversion.h"

namespace quorvex {

// Checks `text` as a whole number from 0 to 2^bitCount - 1, in the window's
// order of tests, and converts it. Outputs, by BinIntOutput: the number in
// `bitCount` bits, and the two's complement of those bits. A refusal is a
// message for the user.
Conversion convertBinInt(const QString &text, qint16 bitCount);

}  // namespace quorvex
