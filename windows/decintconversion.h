// SPDX-License-Identifier: MIT
// The binary integer to decimal window's conversion, free of widgets.
#pragma once

#include <QString>

// The decimal value of `bits` read as a bit string, without sign or blank.
// Throws rt::RuntimeError (overflow) for a "1" more than 31 places from the
// right end.
QString convertDecInt(const QString &bits);
