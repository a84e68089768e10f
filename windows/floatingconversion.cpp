// SPDX-License-Identifier: MIT
#include "floatingconversion.h"

#include "modFunctions.h"
#include "runtime.h"
#include "splitnumber.h"

#include <cmath>

using namespace modFunctions;

FloatingResult convertFloating(const QString &text)
{
    const QString point = QStringLiteral(".");
    const QString zero = QStringLiteral("0");

    const double value = rt::leadingValue(text);
    const bool negative = value < 0.0;
    qint32 whole = rt::roundToLong(std::abs(std::trunc(value)));
    float fraction = 0.0f;
    if (hasFraction(text))
        fraction = float(std::abs(double(rt::toSingle(text))) - std::abs(std::trunc(value)));
    carryIntoWholePart(whole, fraction);

    const qint16 ten = 10;
    QString wholeBits = DecimalToBinary(whole, ten);
    QString fractionBits = FractionToBinary(fraction, ten);

    // Drop the leading zeros of the whole part and the trailing zeros of the
    // fraction (both are ten plain digits); an empty side becomes "0".
    for (int pass = 0; pass < 10; ++pass) {
        if (wholeBits.startsWith(u'0'))
            wholeBits.remove(0, 1);
        if (fractionBits.endsWith(u'0'))
            fractionBits.chop(1);
    }
    if (fractionBits.isEmpty())
        fractionBits = zero;
    if (wholeBits.isEmpty())
        wholeBits = zero;

    FloatingResult result;
    result.fixed = wholeBits + point + fractionBits;

    // The exponent moves the point to just before the first "1".
    const qint16 pointPosition = rt::toInt16(rt::find(result.fixed, point));
    const qint16 firstOne = rt::toInt16(rt::find(result.fixed, QStringLiteral("1")));
    qint16 exponent = rt::toInt16(qint64(pointPosition) - firstOne);
    if (pointPosition <= firstOne)
        exponent = rt::toInt16(qint64(exponent) + 1);

    // Mantissa: every digit without the point and without leading zeros,
    // behind a "0" sign bit, cut or filled to ten bits.
    QString digits = result.fixed.left(pointPosition - 1) + result.fixed.mid(pointPosition);
    qsizetype firstNonZero = 0;
    while (firstNonZero < digits.size() && digits.at(firstNonZero) == u'0')
        ++firstNonZero;
    digits = (zero + digits.mid(firstNonZero)).leftJustified(10, u'0', true);
    result.mantissa = negative ? TwosComplement(digits) : digits;

    const qint32 exponentMagnitude = rt::absInt16(exponent);
    const qint16 six = 6;
    QString exponentBits = DecimalToBinary(exponentMagnitude, six);
    if (exponent < 0)
        exponentBits = TwosComplement(exponentBits);
    result.exponent = exponentBits;
    return result;
}
