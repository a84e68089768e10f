// SPDX-License-Identifier: MIT
#include "topics/arithmetic.h"

#include "engine/bitpattern.h"
#include "engine/methods.h"
#include "engine/words.h"

#include <algorithm>

namespace quorvex::workbench {

using exact::Number;

namespace arithmetic {
// How a format writes a negative number, for its arithmetic.
enum class Code { Unsigned, Twos, SignMagnitude, Ones };
}  // namespace arithmetic
using arithmetic::Code;

namespace step {

// An operand as the calculation takes it: its bits and what they hold.
struct Operand {
    int index;  // 1 for the first
    QString bits;
    Number value;
};
// Column addition of two or three rows: carries[i] is what column i (from
// the left) carries out, written above column i - 1 (a column of three 1s
// and a carry can carry 2); carries[0], the carry out of the leftmost
// column, is dropped, since the sum keeps the format's width, and
// carries[n] is always 0. The point, where the format has one, stands
// `fraction` columns from the right.
struct ColumnAddition {
    QStringList rows;
    std::vector<int> carries;
    QString sum;
    int carryOut = 0;
    int fraction = 0;
    bool endAround = false;  // one's complement: the carry out is added back in
};
// What the sum means: overflow, or, for unsigned subtraction, a result
// below 0.
struct SumFacts {
    Code code = Code::Unsigned;
    bool subtract = false;
    std::vector<Number> terms;  // added, or the first less the second
    Number result;              // the true result
    Number low, high;           // the format's range
    Number held;                // what the answer's bits hold
    bool carryOut = false;
    bool outside = false;
};
// One's complement: a carry out of the leftmost column is added back in at
// the right.
struct EndAroundCarry {
    QString before, after;
};
// Sign and magnitude: the signs decide whether the magnitudes are added or
// the smaller taken from the larger.
struct SignsCompared {
    QChar signA, signB;
    QString magnitudeA, magnitudeB;
    bool subtract = false;  // the question was a - b: b's sign is turned over first
    int larger = 0;         // 1 or 2: the operand of the larger magnitude, when the signs differ
};
// Sign and magnitude: the result's sign bit put before its magnitude.
struct SignPut {
    QChar sign;
    QString magnitude;
    bool zero = false;
};
// One's complement subtraction adds the inverted second number.
struct AddTheInverse {
    QString b, inverted;
};
// Long multiplication: a partial product of the first number shifted left
// for each 1 of the second, added; in two's complement the sizes are
// multiplied and the sign put on after.
struct SizesFirst {
    Number a, b;
    QString magnitudeA, magnitudeB;
    bool negative = false;
};
struct LongMultiplication {
    QString a, b;
    std::vector<int> shifts;  // the places of the second number's 1s, from the right
    QString product;          // 2n bits
};
struct ProductFacts {
    Code code = Code::Unsigned;
    Number a, b, product;
    Number low, high;
    Number held;
    int width = 0;  // the format's
    int needs = 0;  // bits the product needs, its sign included in two's complement
};
// A shift that does not go with the format.
struct NoArithmeticShift {};
// An addition given one number, or more than three.
struct AddsTwoOrThree {
    qsizetype given = 0;
};
// Sign and magnitude and one's complement add two numbers at a time.
struct TwoAtATime {
    bool ones = false;
};
// a - b is worked as a + (the two's complement of b).
struct AddTheNegative {
    QString b;
};
// Bits moved by `places`: what comes in, what is lost and what it was
// worth, and what the move did to the value.
struct Shift {
    Operation operation;
    QString before, after, lost;
    int places = 0;
    bool twos = false;
    Number from, to;
    Number lostWorth;  // left: what the lost bits were worth; right: the remainder
    bool signChanged = false;
    bool significantLost = false;  // left: a bit that was not just a copy of the sign
    bool arithmetic = false;       // right: the sign bit copied in
};
// More places than the pattern has bits.
struct TooManyPlaces {
    int places, width;
};
// A mask applied bit by bit.
struct Bitwise {
    Operation operation;
    QString a, b, result;
};

}  // namespace step

QUORVEX_STEP(step::Operand)
QUORVEX_STEP(step::ColumnAddition)
QUORVEX_STEP(step::SumFacts)
QUORVEX_STEP(step::EndAroundCarry)
QUORVEX_STEP(step::SignsCompared)
QUORVEX_STEP(step::SignPut)
QUORVEX_STEP(step::AddTheInverse)
QUORVEX_STEP(step::SizesFirst)
QUORVEX_STEP(step::LongMultiplication)
QUORVEX_STEP(step::ProductFacts)
QUORVEX_REFUSAL(step::NoArithmeticShift)
QUORVEX_REFUSAL(step::TwoAtATime)
QUORVEX_REFUSAL(step::AddsTwoOrThree)
QUORVEX_STEP(step::AddTheNegative)
QUORVEX_STEP(step::Bitwise)
QUORVEX_STEP(step::Shift)
QUORVEX_REFUSAL(step::TooManyPlaces)

template <>
QString StepOf<step::TooManyPlaces>::why(const Words &) const
{
    return Words::tr("The bits move 0 to %1 places, not %2.").arg(value.width).arg(value.places);
}
template <>
void StepOf<step::TooManyPlaces>::say(Words &w) const
{
    w.para(why(w));
}

template <>
void StepOf<step::Shift>::say(Words &w) const
{
    const int k = value.places;
    const qsizetype n = value.before.size();
    const bool left = value.operation == Operation::ShiftLeft || value.operation == Operation::RotateLeft;
    const bool rotate = value.operation == Operation::RotateLeft || value.operation == Operation::RotateRight;
    const QString where = left ? Words::tr("left") : Words::tr("right");
    if (rotate)
        w.para(Words::tr("Rotate %1 by %2: each bit moves %2 %1, and the bits off one end come in at the other.")
                   .arg(where, w.places(k)));
    else if (!left && value.arithmetic)
        w.para(Words::tr("Arithmetic shift right by %1: each bit moves %1 right, and copies of the sign bit, %2, "
                         "come in at the left, so that the sign is kept.")
                   .arg(w.places(k), QString(value.before.at(0))));
    else
        w.para(Words::tr("Logical shift %1 by %2: each bit moves %2 %1, and 0s come in at the %3.")
                   .arg(where, w.places(k), left ? Words::tr("right") : Words::tr("left")));
    const auto row = [](const QString &title, const QString &bits) {
        QStringList r{title};
        for (QChar c : bits)
            r << QString(c);
        return r;
    };
    w.table({row(Words::tr("Before"), value.before), row(Words::tr("After"), value.after)}, false);
    if (rotate) {
        if (k % n != 0)
            w.para(Words::tr("The bits %1 went round from the %2 end to the %3.")
                       .arg(w.bits(value.lost), where, left ? Words::tr("right") : Words::tr("left")));
        w.para(Words::tr("A rotate loses no bit: %1 becomes %2.").arg(w.bits(value.before), w.bits(value.after)));
        return;
    }
    if (k == 0) {
        w.para(Words::tr("Nothing moves: the value stays %1.").arg(w.num(value.from)));
        return;
    }
    if (left) {
        w.para(Words::tr("Lost off the left: %1, which would have been worth %2.")
                   .arg(w.bits(value.lost), w.num(value.lostWorth)));
        if (value.signChanged)
            w.para(Words::tr("The sign changed, so the result %1 is not %2 \u00D7 %3.")
                       .arg(w.num(value.to), w.num(value.from), w.power(k)));
        else if (value.significantLost)
            w.para((value.twos ? Words::tr("A bit that was not a copy of the sign was lost off the left, so the "
                                           "result %1 is not %2 \u00D7 %3.")
                               : Words::tr("A 1 was lost off the left, so the result %1 is not %2 \u00D7 %3."))
                       .arg(w.num(value.to), w.num(value.from), w.power(k)));
        else
            w.para(Words::tr("Nothing significant was lost: %1 \u00D7 %2 = %3.")
                       .arg(w.num(value.from), w.power(k), w.num(value.to)));
        return;
    }
    w.para(Words::tr("Lost off the right: %1, worth %2: the remainder.")
               .arg(w.bits(value.lost), w.num(value.lostWorth)));
    if (value.from.sign() < 0 && !value.arithmetic)
        w.para(Words::tr("A logical shift brings 0s in over the sign bit, so the negative number %1 becomes %2: "
                         "the result is not %1 \u00F7 %3. An arithmetic shift keeps the sign.")
                   .arg(w.num(value.from), w.num(value.to), w.power(k)));
    else if (value.from.sign() < 0 && !value.lostWorth.isZero())
        w.para(Words::tr("%1 \u00F7 %2 = %3 remainder %4: an arithmetic shift rounds a negative number down, "
                         "not towards 0.")
                   .arg(w.num(value.from), w.power(k), w.num(value.to), w.num(value.lostWorth)));
    else
        w.para(Words::tr("%1 \u00F7 %2 = %3 remainder %4; the remainder is lost.")
                   .arg(w.num(value.from), w.power(k), w.num(value.to), w.num(value.lostWorth)));
}

template <>
void StepOf<step::Operand>::say(Words &w) const
{
    const QString which = value.index == 1 ? Words::tr("The first number")
        : value.index == 2                 ? Words::tr("The second number")
                                           : Words::tr("The third number");
    w.para(Words::tr("%1 is %2, which holds %3.").arg(which, w.bits(value.bits), w.num(value.value)));
}

template <>
void StepOf<step::ColumnAddition>::say(Words &w) const
{
    const qsizetype n = value.sum.size();
    const int f = value.fraction;
    // A row's cells: the column left of the leftmost for what it carries
    // out, then one a bit, and the point where the format has one.
    const auto row = [&](const QString &title, const QString &left, const auto &cell, bool point = true) {
        QStringList r{title, left};
        for (qsizetype i = 0; i < n; ++i) {
            if (f > 0 && i == n - f)
                r << (point ? QStringLiteral(".") : QString());
            r << cell(i);
        }
        return r;
    };
    const auto carried = [&](int c) { return c == 0 ? QString() : QString::number(c, 2); };
    std::vector<QStringList> rows;
    rows.push_back(row(Words::tr("Carries"), carried(value.carries.at(0)),
                       [&](qsizetype i) { return carried(value.carries.at(std::size_t(i) + 1)); }, false));
    for (qsizetype r = 0; r < value.rows.size(); ++r)
        rows.push_back(row(r + 1 == value.rows.size() ? QStringLiteral("+") : QString(), QString(),
                           [&](qsizetype i) { return QString(value.rows.at(r).at(i)); }));
    rows.push_back(row(Words::tr("Sum"), value.carryOut ? u'(' + carried(value.carryOut) + u')' : QString(),
                       [&](qsizetype i) { return QString(value.sum.at(i)); }));
    if (value.rows.size() > 2)
        w.para(Words::tr("Add in columns from the right: each column's bits and the carry written above it. A "
                         "column adding to 2 writes 0 and carries 1, to 3 writes 1 and carries 1, to 4 writes 0 "
                         "and carries 2 (10 in binary), to 5 writes 1 and carries 2."));
    else
        w.para(Words::tr("Add in columns from the right: each column's two bits and the carry written above it; "
                         "a column adding to 2 writes 0 and carries 1, to 3 writes 1 and carries 1."));
    w.table(rows, false);
    const QString sum = w.point(value.sum, f);
    if (value.carryOut == 1 && value.endAround)
        w.para(Words::tr("The leftmost column carries 1 out, and the %1 below it are %2.").arg(Words::count(n), sum));
    else if (value.carryOut == 1)
        w.para(Words::tr("The leftmost column carries 1 out; the sum keeps %1, so that carry is dropped: %2.")
                   .arg(Words::count(n), sum));
    else if (value.carryOut > 1)
        w.para(Words::tr("The leftmost column carries %1 out; the sum keeps %2, so that carry is dropped: %3.")
                   .arg(carried(value.carryOut), Words::count(n), sum));
    else
        w.para(Words::tr("No carry comes out of the leftmost column: the sum is %1.").arg(sum));
}

template <>
void StepOf<step::SumFacts>::say(Words &w) const
{
    // A negative number after the first is written in brackets: 5 + (−3).
    const auto term = [&](const Number &t, bool first) {
        return first || t.sign() >= 0 ? w.num(t) : u'(' + w.num(t) + u')';
    };
    QString sum;
    for (std::size_t i = 0; i < value.terms.size(); ++i) {
        if (i > 0)
            sum += value.subtract ? QStringLiteral(" \u2212 ") : QStringLiteral(" + ");
        sum += term(value.terms[i], i == 0);
    }
    sum += QStringLiteral(" = ") + w.num(value.result);
    // A difference that fits is checked by adding back what was taken away.
    const auto check = [&] {
        if (value.subtract && !value.outside)
            w.para(Words::tr("Check in denary: %1 + %2 = %3.")
                       .arg(w.num(value.held), term(value.terms.at(1), false), w.num(value.terms.at(0))));
    };
    if (value.code == Code::Unsigned) {
        if (value.subtract && value.outside)
            w.para(Words::tr("%1 is below 0: the first number is the smaller, so the subtraction borrows out of "
                             "the leftmost column (no carry comes out of it). An unsigned pattern cannot hold a "
                             "number below 0: the bits kept hold %2, not the difference.")
                       .arg(sum, w.num(value.held)));
        else if (value.outside)
            w.para(Words::tr("Overflow: %1 does not fit in %2 to %3; the carry out of the leftmost column is the "
                             "bit the sum needs, and the %4 kept hold only %5.")
                       .arg(sum, w.num(value.low), w.num(value.high), Words::count(w.format().totalBits()),
                            w.num(value.held)));
        else
            w.para(Words::tr("No overflow: %1 fits in %2 to %3.").arg(sum, w.num(value.low), w.num(value.high)));
        check();
        return;
    }
    if (value.outside && value.code == Code::SignMagnitude)
        w.para(Words::tr("Overflow: %1 does not fit in %2 to %3. The magnitudes' sum carries out of the magnitude "
                         "into the sign bit's place, which holds the sign alone: the pattern holds %4.")
                   .arg(sum, w.num(value.low), w.num(value.high), w.num(value.held)));
    else if (value.outside)
        w.para(Words::tr("Overflow: %1 does not fit in %2 to %3. Two numbers of the same sign have given a result "
                         "of the other sign: the pattern holds %4.")
                   .arg(sum, w.num(value.low), w.num(value.high), w.num(value.held)));
    else
        w.para(Words::tr("No overflow: %1 fits in %2 to %3.").arg(sum, w.num(value.low), w.num(value.high)));
    if (value.carryOut && !value.outside && value.code == Code::Twos)
        w.para(Words::tr("A carry out of the leftmost bit alone is not an overflow in two's complement: it is "
                         "dropped, and the result is right."));
    check();
}

template <>
void StepOf<step::EndAroundCarry>::say(Words &w) const
{
    w.para(Words::tr("In one's complement the carry out of the leftmost column is not dropped: it comes back in "
                     "at the right (the end-around carry): %1 + 1 = %2.")
               .arg(w.bits(value.before), w.bits(value.after)));
}

template <>
void StepOf<step::AddTheInverse>::say(Words &w) const
{
    w.para(Words::tr("Subtract by adding the negative: in one's complement the negative of %1 is every bit "
                     "inverted, %2; add that to the first number.")
               .arg(w.bits(value.b), w.bits(value.inverted)));
}

template <>
void StepOf<step::SignsCompared>::say(Words &w) const
{
    if (value.subtract)
        w.para(Words::tr("Subtract by adding the negative: turn the second number's sign bit over, so that it "
                         "is %1, and add.")
                   .arg(QString(value.signB)));
    const QString a = w.bits(value.magnitudeA), b = w.bits(value.magnitudeB);
    if (value.signA == value.signB) {
        w.para(Words::tr("Both signs are %1: add the magnitudes %2 and %3, and keep the sign.")
                   .arg(QString(value.signA), a, b));
        return;
    }
    const QString larger = value.larger == 1 ? a : b, smaller = value.larger == 1 ? b : a;
    const QChar sign = value.larger == 1 ? value.signA : value.signB;
    w.para(Words::tr("The signs differ: take the smaller magnitude, %1, from the larger, %2, by adding its two's "
                     "complement, and give the result the sign of the larger, %3.")
               .arg(smaller, larger, QString(sign)));
}

template <>
void StepOf<step::SignPut>::say(Words &w) const
{
    if (value.zero)
        w.para(Words::tr("The magnitude is 0: the result is +0, %1.").arg(w.bits(u'0' + value.magnitude)));
    else
        w.para(Words::tr("Put the sign bit %1 before the magnitude %2: %3.")
                   .arg(QString(value.sign), w.bits(value.magnitude), w.bits(value.sign + value.magnitude)));
}

template <>
void StepOf<step::SizesFirst>::say(Words &w) const
{
    w.para(Words::tr("Multiply the sizes, then put the sign on: %1 is %2 and %3 is %4 without their signs; the "
                     "product is %5.")
               .arg(w.num(value.a), w.bits(value.magnitudeA), w.num(value.b), w.bits(value.magnitudeB),
                    value.negative ? Words::tr("negative, since the signs differ")
                                   : Words::tr("positive, since the signs are the same")));
}

template <>
void StepOf<step::LongMultiplication>::say(Words &w) const
{
    const qsizetype width = value.product.size();
    // A wide product (beyond 16-bit numbers) has up to 64 rows of 128
    // bits: each row is one cell, its bits in a fixed-width font padded on
    // the left, so that the columns still line up.
    const bool wide = width > 32;
    const QString zero = QStringLiteral("0"), one = QStringLiteral("1"), blank;
    const auto row = [&](const QString &title, const QString &bits) {
        if (wide) {
            const QString pad = w.html() ? QStringLiteral("&nbsp;").repeated(width - bits.size())
                                         : QString(width - bits.size(), u' ');
            const QString text = pad + bits;
            return QStringList{title, w.html() ? QStringLiteral("<code style=\"white-space:pre\">") + text
                                                     + QStringLiteral("</code>")
                                               : text};
        }
        QStringList r{title};
        r.reserve(width + 1);
        for (qsizetype i = 0; i < width - bits.size(); ++i)
            r << blank;
        for (QChar c : bits)
            r << (c == u'1' ? one : zero);
        return r;
    };
    if (value.shifts.empty()) {
        w.para(Words::tr("The second number is 0, so every partial product is 0, and so is the product."));
        return;
    }
    w.para(Words::tr("Long multiplication: for each 1 in %1, write %2 shifted left by that 1's place; a 0 "
                     "gives a row of 0s and is left out. Then add the rows.")
               .arg(w.bits(value.b), w.bits(value.a)));
    std::vector<QStringList> rows;
    rows.push_back(row(QString(), value.a));
    rows.push_back(row(QStringLiteral("\u00D7"), value.b));
    for (std::size_t i = 0; i < value.shifts.size(); ++i) {
        const int k = value.shifts[i];
        const QString title = k == 0 ? Words::tr("\u00D7 1") : Words::tr("shifted %1").arg(w.places(k));
        rows.push_back(row(i + 1 == value.shifts.size() && value.shifts.size() > 1 ? QStringLiteral("+ ") + title : title,
                           value.a + QString(k, u'0')));
    }
    rows.push_back(row(Words::tr("Product"), value.product));
    w.table(rows, false);
}

template <>
void StepOf<step::ProductFacts>::say(Words &w) const
{
    const QString product = w.num(value.a) + QStringLiteral(" \u00D7 ") + w.num(value.b) + QStringLiteral(" = ")
        + w.num(value.product);
    w.para(Words::tr("%1, which needs %2. A product of two %3-bit numbers needs up to %4, twice the width.")
               .arg(product, Words::count(value.needs))
               .arg(value.width)
               .arg(Words::count(2 * value.width)));
    if (value.product < value.low || value.product > value.high)
        w.para(Words::tr("Overflow: %1 does not fit in %2 to %3; the %4 kept hold %5.")
                   .arg(w.num(value.product), w.num(value.low), w.num(value.high), Words::count(value.width),
                        w.num(value.held)));
    else
        w.para(Words::tr("No overflow: %1 fits in %2 to %3, so the %4 kept are the product.")
                   .arg(w.num(value.product), w.num(value.low), w.num(value.high), Words::count(value.width)));
}

template <>
QString StepOf<step::AddsTwoOrThree>::why(const Words &) const
{
    return Words::tr("An addition takes two or three numbers, not %1.").arg(value.given);
}
template <>
void StepOf<step::AddsTwoOrThree>::say(Words &w) const
{
    w.para(why(w));
}

template <>
QString StepOf<step::TwoAtATime>::why(const Words &) const
{
    return value.ones ? Words::tr("One's complement adds two numbers at a time: add the third to the sum of the "
                                  "first two.")
                      : Words::tr("Sign and magnitude adds two numbers at a time: add the third to the sum of the "
                                  "first two.");
}
template <>
void StepOf<step::TwoAtATime>::say(Words &w) const
{
    w.para(why(w));
}

template <>
QString StepOf<step::NoArithmeticShift>::why(const Words &) const
{
    return Words::tr("An arithmetic shift copies the sign bit, and an unsigned pattern has none: shift it "
                     "logically.");
}
template <>
void StepOf<step::NoArithmeticShift>::say(Words &w) const
{
    w.para(why(w));
}

template <>
void StepOf<step::AddTheNegative>::say(Words &w) const
{
    w.para(Words::tr("Subtract by adding the negative: take the two's complement of the second number, %1 "
                     "(invert every bit, add 1), and add it to the first.")
               .arg(w.bits(value.b)));
}

template <>
void StepOf<step::Bitwise>::say(Words &w) const
{
    QString rule;
    switch (value.operation) {
    case Operation::And:
        rule = Words::tr("AND gives 1 only where both bits are 1: the mask %1 keeps the bits where it has a 1 and "
                         "clears the rest to 0.");
        break;
    case Operation::Or:
        rule = Words::tr("OR gives 1 where either bit is 1: the mask %1 sets to 1 the bits where it has a 1 and "
                         "keeps the rest.");
        break;
    case Operation::Xor:
        rule = Words::tr("XOR gives 1 where the bits differ: the mask %1 toggles the bits where it has a 1 and "
                         "keeps the rest.");
        break;
    default:
        rule = Words::tr("NOT inverts every bit: each 0 becomes 1 and each 1 becomes 0.");
        break;
    }
    w.para(rule.contains(QStringLiteral("%1")) ? rule.arg(w.bits(value.b)) : rule);
    // A mask of one run of 1s at an end is said as teachers say it.
    const qsizetype ones = value.b.count(u'1');
    const qsizetype n = value.b.size();
    if (value.operation != Operation::Not && ones > 0 && ones < n) {
        const bool low = value.b == QString(n - ones, u'0') + QString(ones, u'1');
        const bool high = value.b == QString(ones, u'1') + QString(n - ones, u'0');
        const QString what = value.operation == Operation::And ? Words::tr("keeps %1 and clears the rest")
            : value.operation == Operation::Or                 ? Words::tr("sets %1 to 1 and keeps the rest")
                                                               : Words::tr("toggles %1 and keeps the rest");
        const QString bitsOf = low ? Words::tr("the low %1 bits").arg(ones) : Words::tr("the high %1 bits").arg(ones);
        if (low || high)
            w.para(Words::tr("So %1 with %2 %3.")
                       .arg(operationTitle(value.operation), w.bits(value.b), what.arg(bitsOf)));
        // AND with a single 1 tests that one bit.
        if (ones == 1 && value.operation == Operation::And) {
            const qsizetype bit = n - 1 - value.b.indexOf(u'1');
            w.para((value.result.contains(u'1')
                        ? Words::tr("So AND with %1 tests bit %2 (the bits counted from 0 at the right): the "
                                    "result is not 0, so that bit is 1.")
                        : Words::tr("So AND with %1 tests bit %2 (the bits counted from 0 at the right): the "
                                    "result is 0, so that bit is 0."))
                       .arg(w.bits(value.b))
                       .arg(bit));
        }
    }
    std::vector<QStringList> rows;
    const auto row = [](const QString &title, const QString &bits) {
        QStringList r{title};
        for (QChar c : bits)
            r << QString(c);
        return r;
    };
    rows.push_back(row(QString(), value.a));
    if (value.operation != Operation::Not)
        rows.push_back(row(operationTitle(value.operation), value.b));
    rows.push_back(row(Words::tr("Result"), value.result));
    w.table(rows, false);
}

namespace arithmetic {

namespace {

struct Read {
    bool ok = false;
    QString bits;
    Steps steps;
    Step refusal;
};

// Whether the text is a pattern of `width` bits, blanks and, where the
// format has a point, one point.
bool onlyBits(const QString &s, int width, bool point)
{
    int count = 0;
    int points = 0;
    for (QChar c : s) {
        if (c == u'0' || c == u'1')
            ++count;
        else if (point && c == u'.')
            ++points;
        else if (!c.isSpace())
            return false;
    }
    return count == width && points <= 1;
}

// Bits of the format's width, hex, or a denary number written in the
// format by the topic's method (whose steps come along).
Read operand(const Topic &topic, const Format &f, const QString &typed)
{
    Read r;
    const int n = topic.width(f);
    const exact::Reading d = exact::readDecimal(typed);
    const bool denary = !onlyBits(typed, n, f.fractionBits() > 0) && d.kind != exact::Reading::Kind::NotANumber
        && !typed.contains(u'x', Qt::CaseInsensitive) && !typed.contains(u'&');
    if (denary) {
        Worked w = topic.solve(f, Operation::ToBinary, typed);
        if (w.refused) {
            r.refusal = w.steps.back();
            return r;
        }
        r.ok = true;
        r.bits = w.text;
        r.bits.remove(u'.');
        r.steps = std::move(w.steps);
        return r;
    }
    ReadBits b = readBits(n, typed, f.fractionBits());
    r.ok = b.ok;
    r.bits = b.bits;
    r.steps = std::move(b.steps);
    r.refusal = b.refusal;
    return r;
}

// The operands read, their steps kept; a refusal of any stops it.
bool readAll(const Topic &topic, const Format &f, const QStringList &operands, int count, QStringList &bits,
             Steps &steps, Worked &refused)
{
    for (int i = 0; i < count; ++i) {
        Read r = operand(topic, f, operands.value(i));
        for (Step &s : r.steps)
            steps.push_back(std::move(s));
        if (!r.ok) {
            refused = refuse(std::move(steps), r.refusal);
            return false;
        }
        bits << r.bits;
        steps.push_back(make(step::Operand{i + 1, r.bits, topic.valueOf(f, r.bits)}));
    }
    return true;
}

step::ColumnAddition columns(const QStringList &rows, int fraction)
{
    const qsizetype n = rows.front().size();
    step::ColumnAddition c{rows, std::vector<int>(std::size_t(n) + 1, 0), QString(n, u'0'), 0, fraction};
    int carry = 0;
    for (qsizetype i = n - 1; i >= 0; --i) {
        int total = carry;
        for (const QString &r : rows)
            total += r.at(i) == u'1';
        c.sum[i] = total % 2 ? u'1' : u'0';
        carry = total / 2;
        c.carries[std::size_t(i)] = carry;  // written above the next column left
    }
    c.carryOut = carry;
    return c;
}

// The bits of a whole number from 0 below 2^n, n of them.
QString bitsOf(const Number &whole, int n)
{
    const QString digits = whole.isZero() ? QString() : whole.wholeBinary();
    return QString(n - digits.size(), u'0') + digits;
}

QString answerText(const Topic &topic, const Format &f, const QString &bits, bool outside, bool below)
{
    return topic.written(f, bits) + QStringLiteral(", ")
        + (!outside ? QStringLiteral("no overflow") : below ? QStringLiteral("below 0") : QStringLiteral("overflow"));
}

Worked summed(const Topic &topic, const Format &f, Steps steps, const QStringList &rows,
              std::vector<Number> terms, const Number &trueResult, bool subtract)
{
    const Code code = codeOf(f);
    step::ColumnAddition c = columns(rows, f.fractionBits());
    c.endAround = code == Code::Ones;
    QString sum = c.sum;
    const bool carryOut = c.carryOut > 0;
    steps.push_back(make(std::move(c)));
    if (code == Code::Ones && carryOut) {
        const QString before = sum;
        sum = columns({sum, QString(sum.size() - 1, u'0') + u'1'}, 0).sum;
        steps.push_back(make(step::EndAroundCarry{before, sum}));
    }
    const auto [low, high] = range(topic, f);
    const bool outside = trueResult < low || trueResult > high;
    steps.push_back(make(step::SumFacts{code, subtract, std::move(terms), trueResult, low, high,
                                        topic.valueOf(f, sum), carryOut, outside}));
    return {false, answerText(topic, f, sum, outside, subtract && code == Code::Unsigned), std::move(steps),
            std::nullopt};
}

// Sign and magnitude: the signs compared, the magnitudes added or the
// smaller taken from the larger, and the sign put on.
Worked signMagnitude(const Topic &topic, const Format &f, Steps steps, const QString &a, QString b,
                     std::vector<Number> terms, const Number &trueResult, bool subtract)
{
    if (subtract)
        b[0] = b.at(0) == u'1' ? u'0' : u'1';
    const QString ma = a.mid(1), mb = b.mid(1);
    const bool same = a.at(0) == b.at(0);
    const int larger = patterns::unsignedValue(ma) >= patterns::unsignedValue(mb) ? 1 : 2;
    steps.push_back(make(step::SignsCompared{a.at(0), b.at(0), ma, mb, subtract, larger}));
    QString magnitude;
    QChar sign = a.at(0);
    bool carryOut = false;
    if (same) {
        step::ColumnAddition c = columns({ma, mb}, 0);
        magnitude = c.sum;
        carryOut = c.carryOut > 0;
        steps.push_back(make(std::move(c)));
    } else {
        const QString big = larger == 1 ? ma : mb, small = larger == 1 ? mb : ma;
        sign = larger == 1 ? a.at(0) : b.at(0);
        step::TwosComplement t = twosComplement(small, step::TwosComplement::Of::Number);
        const QString negated = t.result;
        steps.push_back(make(std::move(t)));
        step::ColumnAddition c = columns({big, negated}, 0);
        magnitude = c.sum;
        steps.push_back(make(std::move(c)));
    }
    const bool zero = !magnitude.contains(u'1');
    if (zero)
        sign = u'0';
    steps.push_back(make(step::SignPut{sign, magnitude, zero}));
    const QString result = sign + magnitude;
    const auto [low, high] = range(topic, f);
    const bool outside = trueResult < low || trueResult > high;
    steps.push_back(make(step::SumFacts{Code::SignMagnitude, subtract, std::move(terms), trueResult, low, high,
                                        topic.valueOf(f, result), carryOut, outside}));
    return {false, answerText(topic, f, result, outside, false), std::move(steps), std::nullopt};
}

}  // namespace

Code codeOf(const Format &f)
{
    const std::string_view id = f.representation.id;
    if (id == "int-signmag")
        return Code::SignMagnitude;
    if (id == "int-ones")
        return Code::Ones;
    return f.isSigned() ? Code::Twos : Code::Unsigned;
}

std::pair<Number, Number> range(const Topic &topic, const Format &f)
{
    const int n = topic.width(f);
    const int p = f.stepPower();
    switch (codeOf(f)) {
    case Code::Unsigned:
        return {Number(), (Number::power2(n) - Number(1)).times2(p)};
    case Code::Twos:
        return {(-Number::power2(n - 1)).times2(p), (Number::power2(n - 1) - Number(1)).times2(p)};
    default:
        break;
    }
    const Number high = (Number::power2(n - 1) - Number(1)).times2(p);
    return {-high, high};
}

Step columnAddition(const QStringList &rows, int fraction, QString *sum)
{
    step::ColumnAddition c = columns(rows, fraction);
    *sum = c.sum;
    return make(std::move(c));
}

Worked add(const Topic &topic, const Format &f, const QStringList &operands)
{
    Steps steps;
    QStringList bits;
    Worked refused;
    const Code code = codeOf(f);
    if (operands.size() < 2 || operands.size() > 3)
        return refuse({}, make(step::AddsTwoOrThree{operands.size()}));
    // Three rows are added in columns where a carry of 2 is taught; the
    // other codes add two at a time.
    if (operands.size() > 2 && (code == Code::SignMagnitude || code == Code::Ones))
        return refuse({}, make(step::TwoAtATime{code == Code::Ones}));
    if (!readAll(topic, f, operands, int(operands.size()), bits, steps, refused))
        return refused;
    std::vector<Number> terms;
    Number total;
    for (const QString &b : bits) {
        terms.push_back(topic.valueOf(f, b));
        total = total + terms.back();
    }
    if (code == Code::SignMagnitude)
        return signMagnitude(topic, f, std::move(steps), bits[0], bits[1], std::move(terms), total, false);
    return summed(topic, f, std::move(steps), bits, std::move(terms), total, false);
}

Worked subtract(const Topic &topic, const Format &f, const QStringList &operands)
{
    Steps steps;
    QStringList bits;
    Worked refused;
    if (!readAll(topic, f, operands, 2, bits, steps, refused))
        return refused;
    const Number a = topic.valueOf(f, bits[0]), b = topic.valueOf(f, bits[1]);
    switch (codeOf(f)) {
    case Code::SignMagnitude:
        return signMagnitude(topic, f, std::move(steps), bits[0], bits[1], {a, b}, a - b, true);
    case Code::Ones: {
        const QString inverted = patterns::inverted(bits[1]);
        steps.push_back(make(step::AddTheInverse{bits[1], inverted}));
        return summed(topic, f, std::move(steps), {bits[0], inverted}, {a, b}, a - b, true);
    }
    default:
        break;
    }
    step::TwosComplement t = twosComplement(bits[1], step::TwosComplement::Of::Number, f.fractionBits());
    const QString negated = t.result;
    steps.push_back(make(step::AddTheNegative{topic.written(f, bits[1])}));
    steps.push_back(make(std::move(t)));
    return summed(topic, f, std::move(steps), {bits[0], negated}, {a, b}, a - b, true);
}

Worked multiply(const Topic &topic, const Format &f, const QStringList &operands)
{
    Steps steps;
    QStringList bits;
    Worked refused;
    if (!readAll(topic, f, operands, 2, bits, steps, refused))
        return refused;
    const int n = topic.width(f);
    const bool twos = codeOf(f) == Code::Twos;
    const Number a = topic.valueOf(f, bits[0]), b = topic.valueOf(f, bits[1]);
    // In two's complement the sizes are multiplied; a size fits n bits
    // unsigned, -2^(n-1) too.
    const QString ma = twos ? bitsOf(a.abs(), n) : bits[0];
    const QString mb = twos ? bitsOf(b.abs(), n) : bits[1];
    const bool negative = twos && (a.sign() * b.sign() < 0);
    if (twos)
        steps.push_back(make(step::SizesFirst{a, b, ma, mb, negative}));
    step::LongMultiplication m{ma, mb, {}, QString()};
    for (int i = n - 1; i >= 0; --i) {
        if (mb.at(i) == u'1')
            m.shifts.push_back(n - 1 - i);
    }
    const Number size = a.abs() * b.abs();
    m.product = bitsOf(size, 2 * n);
    QString product = m.product;
    steps.push_back(make(std::move(m)));
    if (negative) {
        step::TwosComplement t = twosComplement(product, step::TwosComplement::Of::Number);
        product = t.result;
        steps.push_back(make(std::move(t)));
    }
    const Number exactProduct = a * b;
    const auto [low, high] = range(topic, f);
    const QString kept = product.right(n);
    // The bits the product needs: its size's, and a sign bit in two's
    // complement (a power of 2 that is negative needs none more).
    int needs = size.isZero() ? 1 : int(size.wholeBinary().size());
    if (twos && !size.isZero())
        needs += (negative && size == Number::power2(needs - 1)) ? 0 : 1;
    const bool outside = exactProduct < low || exactProduct > high;
    steps.push_back(make(step::ProductFacts{codeOf(f), a, b, exactProduct, low, high, topic.valueOf(f, kept), n,
                                            needs}));
    return {false, answerText(topic, f, kept, outside, false), std::move(steps), std::nullopt};
}

Worked mask(const Topic &topic, const Format &f, Operation operation, const QStringList &operands)
{
    Steps steps;
    QStringList bits;
    Worked refused;
    const int count = operation == Operation::Not ? 1 : 2;
    if (!readAll(topic, f, operands, count, bits, steps, refused))
        return refused;
    const QString &a = bits[0];
    QString result(a.size(), u'0');
    for (qsizetype i = 0; i < a.size(); ++i) {
        const bool x = a.at(i) == u'1';
        const bool y = count == 2 && bits[1].at(i) == u'1';
        bool r = false;
        switch (operation) {
        case Operation::And:
            r = x && y;
            break;
        case Operation::Or:
            r = x || y;
            break;
        case Operation::Xor:
            r = x != y;
            break;
        default:
            r = !x;
            break;
        }
        result[i] = r ? u'1' : u'0';
    }
    steps.push_back(make(step::Bitwise{operation, a, bits.value(1), result}));
    return {false, result, std::move(steps), std::nullopt};
}

Worked shift(const Topic &topic, const Format &f, Operation operation, const QStringList &operands, int places,
             std::optional<bool> arithmeticShift)
{
    Steps steps;
    QStringList bits;
    Worked refused;
    if (!readAll(topic, f, operands, 1, bits, steps, refused))
        return refused;
    const int n = topic.width(f);
    const bool twos = codeOf(f) == Code::Twos;
    if (arithmeticShift.value_or(false) && !twos)
        return refuse(std::move(steps), make(step::NoArithmeticShift{}));
    if (places < 0 || places > n)
        return refuse(std::move(steps), make(step::TooManyPlaces{places, n}));
    const QString &a = bits[0];
    const int k = places;
    // A two's complement pattern shifts right arithmetically unless a
    // logical shift is asked for.
    const bool copiesSign = twos && arithmeticShift.value_or(true);
    step::Shift s{operation, a, QString(), QString(), k, twos, topic.valueOf(f, a), Number(), Number()};
    s.arithmetic = copiesSign;
    switch (operation) {
    case Operation::ShiftLeft:
        s.after = a.mid(k) + QString(k, u'0');
        s.lost = a.left(k);
        break;
    case Operation::RotateLeft:
        s.after = a.mid(k % n) + a.left(k % n);
        s.lost = a.left(k % n);
        break;
    case Operation::RotateRight:
        s.after = a.right(k % n) + a.left(n - k % n);
        s.lost = a.right(k % n);
        break;
    default:  // shift right
        s.after = QString(k, copiesSign ? a.at(0) : u'0') + a.left(n - k);
        s.lost = a.right(k);
        break;
    }
    s.to = topic.valueOf(f, s.after);
    if (operation == Operation::ShiftLeft) {
        s.lostWorth = patterns::unsignedValue(s.lost).times2(n);
        // In two's complement the bits lost must be copies of the sign the
        // result keeps; unsigned, they must be 0s.
        const QChar keep = twos ? s.after.at(0) : u'0';
        s.significantLost = std::any_of(s.lost.begin(), s.lost.end(), [&](QChar c) { return c != keep; });
        s.signChanged = twos && s.after.at(0) != a.at(0);
    } else if (operation == Operation::ShiftRight) {
        s.lostWorth = patterns::unsignedValue(s.lost);
    }
    const QString result = s.after;
    steps.push_back(make(std::move(s)));
    return {false, result, std::move(steps), std::nullopt};
}

Worked calculate(const Topic &topic, const Format &f, Operation operation, const Calculation &c)
{
    switch (operation) {
    case Operation::ShiftLeft:
    case Operation::ShiftRight:
    case Operation::RotateLeft:
    case Operation::RotateRight:
        return shift(topic, f, operation, c.operands, c.places, c.arithmetic);
    case Operation::Add:
        return add(topic, f, c.operands);
    case Operation::Subtract:
        return subtract(topic, f, c.operands);
    case Operation::Multiply:
        return multiply(topic, f, c.operands);
    case Operation::And:
    case Operation::Or:
    case Operation::Xor:
    case Operation::Not:
        return mask(topic, f, operation, c.operands);
    default:
        break;
    }
    return refuse({}, make(step::NoOperation{operationTitle(operation)}));
}

}  // namespace arithmetic

}  // namespace quorvex::workbench
