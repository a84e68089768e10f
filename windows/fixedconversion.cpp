// SPDX-License-Identifier: MIT
#include "fixedconversion.h"

#include "runtime.h"

#include <array>
#include <cmath>

bool fixedAccepts(const QString &text)
{
    if (!rt::isNumeric(text))
        return false;
    const double value = rt::leadingValue(text);
    return !(value > 1023.0) && !(value < 0.0);
}

FixedResult convertFixed(const QString &text)
{
    const double value = rt::leadingValue(text);
    qint32 whole = rt::truncToInt32(value);
    float fraction = 0.0f;
    if (rt::find(text, QStringLiteral(".")) > 0)
        fraction = float(double(rt::toSingle(text)) - std::trunc(value));
    // The single-precision reading can round up to the next whole number
    // ("1.99999999" reads as 2): that whole number belongs to the whole part.
    if (fraction >= 1.0f) {
        const float carried = std::floor(fraction);
        whole = rt::toInt32(qint64(whole) + rt::truncToInt32(carried));
        fraction -= carried;
    }

    // Whole part, least significant digit in slot 0; unreached slots stay empty.
    std::array<QString, 10> wholeDigits;
    qint32 n = whole;
    size_t slot = 0;
    do {
        if (slot >= wholeDigits.size())
            rt::raise(rt::ErrorKind::SubscriptOutOfRange);
        const auto digit = rt::toInt16(n % 2);
        n /= 2;
        wholeDigits[slot++] = rt::signedText(digit);
    } while (n != 0);

    // Ten fraction bits, cut off, not rounded.
    std::array<QString, 10> fractionDigits;
    for (QString &digitText : fractionDigits) {
        fraction = fraction * 2.0f;
        const qint16 digit = rt::truncToInt16(double(fraction));
        digitText = rt::signedText(digit);
        fraction = fraction - float(digit);
    }

    FixedResult result;
    for (auto it = wholeDigits.rbegin(); it != wholeDigits.rend(); ++it)
        result.whole += rt::trim(*it);
    for (const QString &digitText : fractionDigits)
        result.fraction += rt::trim(digitText);

    float actual = 0.0f;
    for (int j = 1; j <= 10; ++j) {
        const double bit = std::floor(rt::toDouble(fractionDigits[size_t(j - 1)]));
        actual = float(double(actual) + bit * rt::power(2.0, -j));
    }
    actual = float(double(actual) + double(whole));
    result.actual = rt::singleToText(actual);
    result.fixedPoint = result.whole + QLatin1Char('.') + result.fraction;
    return result;
}
