// SPDX-License-Identifier: MIT
#include "fixedconversion.h"

#include "runtime.h"
#include "splitnumber.h"

#include <array>
#include <cmath>

namespace {

// A digit as the window writes it: its signed number text without the blank.
// Only text the rule refuses can give digits other than 0 and 1.
void appendDigit(QString &text, qint16 digit)
{
    if (digit == 0 || digit == 1)
        text += QChar(u'0' + digit);
    else
        text += rt::trim(rt::signedText(digit));
}

}  // namespace

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
    if (hasFraction(text))
        fraction = float(double(rt::toSingle(text)) - std::trunc(value));
    carryIntoWholePart(whole, fraction);

    // Whole part, least significant digit in slot 0; unreached slots stay
    // empty, so there are no leading zeros.
    std::array<qint16, 10> wholeDigits;
    qint32 n = whole;
    size_t used = 0;
    do {
        if (used >= wholeDigits.size())
            rt::raise(rt::ErrorKind::SubscriptOutOfRange);
        wholeDigits[used++] = rt::toInt16(n % 2);
        n /= 2;
    } while (n != 0);

    // Ten fraction bits, cut off, not rounded.
    std::array<qint16, 10> fractionDigits;
    for (qint16 &digit : fractionDigits) {
        fraction = fraction * 2.0f;
        digit = rt::truncToInt16(double(fraction));
        fraction = fraction - float(digit);
    }

    FixedResult result;
    result.whole.reserve(10);
    result.fraction.reserve(10);
    for (size_t slot = used; slot-- > 0;)
        appendDigit(result.whole, wholeDigits[slot]);
    for (qint16 digit : fractionDigits)
        appendDigit(result.fraction, digit);

    // The value those digits hold: digit j (from 1) is worth 2^-j.
    float actual = 0.0f;
    for (int j = 1; j <= 10; ++j)
        actual = float(double(actual) + double(fractionDigits[size_t(j - 1)]) * std::ldexp(1.0, -j));
    actual = float(double(actual) + double(whole));
    result.actual = rt::singleToText(actual);
    result.fixedPoint = result.whole + QLatin1Char('.') + result.fraction;
    return result;
}
