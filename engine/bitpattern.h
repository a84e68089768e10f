// SPDX-License-Identifier: MIT
// Patterns of bits as text and back, and what they hold, for every topic
// and for marking: the most significant bit first. Patterns held in a
// quint64 are at most 64 bits.
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include "engine/exact.h"

#include <algorithm>

namespace quorvex::patterns {

// The low `n` bits of `value`, `n` characters (bits beyond 64 are 0).
inline QString toBits(quint64 value, int n)
{
    QString out(n, u'0');
    for (int i = 0; i < n && i < 64; ++i) {
        if ((value >> i) & 1)
            out[n - 1 - i] = u'1';
    }
    return out;
}

// The pattern read as an unsigned number; only its last 64 bits count.
inline quint64 fromBits(QStringView bits)
{
    quint64 value = 0;
    for (QChar c : bits)
        value = (value << 1) | (c == u'1');
    return value;
}

// The lowest n bits set.
inline quint64 lowBits(int n) { return n >= 64 ? ~quint64(0) : (quint64(1) << n) - 1; }

inline QString inverted(QString bits)
{
    for (QChar &c : bits)
        c = c == u'1' ? u'0' : u'1';
    return bits;
}

inline QString reversed(QString bits)
{
    std::reverse(bits.begin(), bits.end());
    return bits;
}

// Denary digits in binary-coded decimal: each digit in its own 4 bits.
inline QString bcdBits(QStringView digits)
{
    QString out;
    for (QChar d : digits)
        out += toBits(quint64(d.unicode() - u'0'), 4);
    return out;
}

// What a pattern holds read unsigned, and read as two's complement (the
// leftmost place negative); of any length.
inline exact::Number unsignedValue(QStringView bits) { return exact::Number::fromUnsigned(fromBits(bits)); }
inline exact::Number twosValue(QStringView bits)
{
    exact::Number v = unsignedValue(bits);
    if (!bits.isEmpty() && bits.at(0) == u'1')
        v = v - exact::Number::power2(bits.size());
    return v;
}
// The same for a short pattern, such as an exponent, as a whole number.
inline qint64 twosWhole(QStringView bits)
{
    const qint64 v = qint64(fromBits(bits));
    return !bits.isEmpty() && bits.at(0) == u'1' ? v - (qint64(1) << bits.size()) : v;
}

}  // namespace quorvex::patterns
