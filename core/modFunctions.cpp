// SPDX-License-Identifier: MIT
#include "core/modFunctions.h"

#include "core/runtime.h"

#include <algorithm>
#include <string>

namespace modFunctions {

using rt::ErrorKind;

QString DecimalToBinary(const qint32 &value, const qint16 &width)
{
    if (width < 1 || value < 0)
        rt::raise(ErrorKind::SubscriptOutOfRange);
    // Element i of the working array is bit i, least significant first;
    // positions the division never reaches stay "0".
    std::u32string bits(size_t(width), U'0');
    qint32 n = value;
    qint16 i = 0;
    do {
        if (i >= width)
            rt::raise(ErrorKind::SubscriptOutOfRange);
        if (n % 2 == 1)
            bits[size_t(i)] = U'1';
        n /= 2;
        ++i;
    } while (n != 0);
    std::reverse(bits.begin(), bits.end());
    return rt::fromCodePoints(bits);
}

QString TwosComplement(const QString &bits)
{
    std::u32string digits = rt::toCodePoints(bits);
    if (digits.empty())
        rt::raise(ErrorKind::SubscriptOutOfRange);
    // Work from the least significant (rightmost) character.
    std::reverse(digits.begin(), digits.end());
    for (char32_t &d : digits)
        d = d == U'1' ? U'0' : U'1';
    // Add one; a carry out of the top position is dropped.
    for (char32_t &d : digits) {
        if (d == U'0') {
            d = U'1';
            break;
        }
        d = U'0';
    }
    std::reverse(digits.begin(), digits.end());
    return rt::fromCodePoints(digits);
}

QString FractionToBinary(float &fraction, const qint16 &width)
{
    if (width < 1)
        rt::raise(ErrorKind::SubscriptOutOfRange);
    if (!(fraction >= 0.0f))
        rt::raise(ErrorKind::Overflow);
    QString result;
    result.reserve(width);
    for (qint16 i = 0; i < width; ++i) {
        // Single precision throughout: doubling and taking away the whole
        // part are exact, so only the argument itself was ever rounded.
        fraction = fraction * 2.0f;
        const qint16 digit = rt::truncToInt16(double(fraction));
        if (digit < 2)
            result.append(QChar(u'0' + digit));
        else
            result.append(rt::trim(rt::signedText(digit)));
        fraction = fraction - float(digit);
    }
    return result;
}

qint32 BinaryToDecimal(QString &bits)
{
    bits = rt::reverse(bits);
    // Position i (from 0) of the reversed text is worth 2^i. Only a "1"
    // counts; any other character, a surrogate half included, is a zero bit,
    // so the UTF-16 units can be walked as they are once the positions are
    // counted in code points.
    qint32 total = 0;
    qsizetype position = 0;
    const qsizetype n = bits.size();
    for (qsizetype k = 0; k < n; ++k, ++position) {
        const QChar c = bits.at(k);
        if (c.isHighSurrogate() && k + 1 < n && bits.at(k + 1).isLowSurrogate()) {
            ++k;  // one code point, two units
            continue;
        }
        if (c != u'1')
            continue;
        // A "1" past the 31st place leaves the 32-bit range.
        if (position >= 31)
            rt::raise(ErrorKind::Overflow);
        total += qint32(1) << position;
    }
    return total;
}

}  // namespace modFunctions
