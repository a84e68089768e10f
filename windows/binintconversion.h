// SPDX-License-Identifier: MIT
// The binary integers window's checks and conversion, free of widgets.
#pragma once

#include <QString>
#include <QtGlobal>

// Either a message for the user, or the two bit strings to show.
struct BinIntResult {
    QString message;  // empty when the conversion succeeded
    QString binary;   // the number in `bitCount` bits
    QString twos;     // the two's complement of `binary`
};

// Checks `text` as a whole number from 0 to 2^bitCount - 1, in the window's
// order of tests, and converts it. May throw rt::RuntimeError.
BinIntResult convertBinInt(const QString &text, qint16 bitCount);
