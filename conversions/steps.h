// SPDX-License-Identifier: MIT
// What the conversions share as they record their working.
#pragma once

#include "conversions/conversion.h"
#include "conversions/working.h"

#include <QCoreApplication>
#include <QString>

#include <cmath>
#include <vector>

namespace quorvex::steps {

// The hex digits of a bit string whose width is a whole number of them;
// empty otherwise.
inline QString hexOf(const QString &bits)
{
    if (bits.isEmpty() || bits.size() % 4 != 0)
        return {};
    QString hex;
    hex.reserve(bits.size() / 4);
    for (qsizetype i = 0; i < bits.size(); i += 4) {
        int digit = 0;
        for (qsizetype k = i; k < i + 4; ++k)
            digit = digit * 2 + (bits.at(k) == u'1' ? 1 : 0);
        hex += QLatin1Char("0123456789ABCDEF"[digit]);
    }
    return hex;
}

// Every bit inverted.
inline QString inverted(const QString &bits)
{
    QString out = bits;
    for (QChar &c : out)
        c = c == u'1' ? u'0' : u'1';
    return out;
}

// A bit string read as two's complement of its own width (at most 63 bits).
inline qint64 twosValue(const QString &bits)
{
    qint64 value = 0;
    for (QChar c : bits)
        value = value * 2 + (c == u'1' ? 1 : 0);
    if (bits.startsWith(u'1'))
        value -= qint64(1) << bits.size();
    return value;
}

// The place values of the bits that hold a 1, largest first (at most 63 bits).
inline std::vector<qint64> placesUsed(const QString &bits)
{
    std::vector<qint64> used;
    for (qsizetype i = 0; i < bits.size(); ++i) {
        if (bits.at(i) == u'1')
            used.push_back(qint64(1) << (bits.size() - 1 - i));
    }
    return used;
}

// The place values found by taking, each time, the largest that fits.
inline std::vector<working::PlaceTaken> placesTaken(qint64 value, const std::vector<qint64> &used)
{
    std::vector<working::PlaceTaken> taken;
    for (qint64 place : used) {
        taken.push_back({value, place, value - place});
        value -= place;
    }
    return taken;
}

// 1 added to `bits` column by column, from the right.
inline working::AddOne addOne(const QString &bits)
{
    working::AddOne sum{bits, QString(bits.size(), u'0'), false, bits};
    bool carry = true;  // the 1 added comes into the rightmost column
    for (qsizetype i = bits.size(); i-- > 0 && carry;) {
        if (i + 1 < bits.size())
            sum.carries[i] = u'1';
        carry = bits.at(i) == u'1';
        sum.after[i] = carry ? u'0' : u'1';
    }
    sum.carryOut = carry;
    return sum;
}

// The rows of repeated doubling over `places` places, in single precision as
// the routines do it: double, take the whole part as the bit, keep the rest.
inline working::Doubling doublingOf(float fraction, int places)
{
    working::Doubling doubling{{}, 0.0f, -1};
    for (int k = 0; k < places; ++k) {
        if (fraction == 0.0f && doubling.rowsUntilZero < 0)
            doubling.rowsUntilZero = k;
        working::DoublingRow row{fraction, fraction * 2.0f, 0};
        row.bit = qint16(std::trunc(double(row.doubled)));
        doubling.rows.push_back(row);
        fraction = row.doubled - float(row.bit);
    }
    doubling.remainder = fraction;
    if (doubling.rowsUntilZero < 0)
        doubling.rowsUntilZero = places;
    return doubling;
}

// How many bits a whole number from 1 up needs: 2^(bits - 1) <= value < 2^bits.
inline qint32 bitsNeeded(double value)
{
    int exponent = 0;
    std::frexp(value, &exponent);
    return exponent;
}

// `message` is marked with QT_TRANSLATE_NOOP in the context "Conversion".
inline Conversion &refuse(Conversion &c, const char *message, working::Step why)
{
    c.outputs.clear();
    c.refusal = refusal::Message{QCoreApplication::translate("Conversion", message)};
    c.working.push_back(std::move(why));
    return c;
}

inline Conversion &fail(Conversion &c, rt::ErrorKind kind, working::Failed why)
{
    c.outputs.clear();
    c.refusal = refusal::RuntimeError{kind};
    why.kind = kind;
    c.working.push_back(std::move(why));
    return c;
}

// A run-time error in a conversion that splits a number into a whole part
// of `bitsThere` bits and a fraction: at the whole part's bits, how many it
// needs is said too.
inline Conversion &failSplitting(Conversion &c, rt::ErrorKind kind, working::Stage stage, const QString &text,
                                 double value, qint32 bitsThere)
{
    working::Failed why{kind, stage, text, value};
    if (stage == working::Stage::WholePartBits)
        why.bitsNeeded = bitsNeeded(value);
    why.bitsThere = bitsThere;
    return fail(c, kind, why);
}

}  // namespace quorvex::steps
