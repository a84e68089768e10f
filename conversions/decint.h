// SPDX-License-Identifier: MIT
// The binary integer to decimal window's conversion, free of widgets.
#pragma once

#include "conversions/conversion.h"

namespace quorvex {

// The decimal value of `bits` read as a bit string, without sign or blank:
// the one output (DecIntDenary). Fails with overflow for a "1" more than 31
// places from the right end.
Conversion convertDecInt(const QString &bits);

}  // namespace quorvex
