// SPDX-License-Identifier: MIT
#include "decintconversion.h"

#include "modFunctions.h"
#include "runtime.h"

QString convertDecInt(const QString &bits)
{
    QString copy = bits;  // the routine reverses its argument
    return rt::trim(rt::signedText(modFunctions::BinaryToDecimal(copy)));
}
