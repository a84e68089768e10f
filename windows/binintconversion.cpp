// SPDX-License-Identifier: MIT
#include "binintconversion.h"

#include "modFunctions.h"
#include "runtime.h"

namespace {

BinIntResult refused(const char *message)
{
    return {QString::fromLatin1(message), {}, {}};
}

}  // namespace

BinIntResult convertBinInt(const QString &text, qint16 bitCount)
{
    if (!rt::isNumeric(text))
        return refused("You must enter a whole number");
    const double value = rt::leadingValue(text);
    if (value < 0.0)
        return refused("You must enter a positive whole number");
    if (!(rt::power(2.0, bitCount) > value))
        return refused("You need more bits to do this number");
    // A number with a fraction part rounds to a different whole number.
    if (double(rt::toLong(text)) != value)
        return refused("You must enter a positive whole number");

    const qint32 whole = rt::roundToLong(value);
    BinIntResult result;
    result.binary = modFunctions::DecimalToBinary(whole, bitCount);
    result.twos = modFunctions::TwosComplement(result.binary);
    return result;
}
