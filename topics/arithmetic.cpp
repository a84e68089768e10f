// SPDX-License-Identifier: MIT
#include "topics/arithmetic.h"

#include "engine/bitpattern.h"
#include "engine/methods.h"
#include "engine/words.h"

#include <algorithm>

namespace quorvex::workbench {

using exact::Number;

namespace step {

// An operand as the calculation takes it: its bits and what they hold.
struct Operand {
    int index;  // 1 for the first
    QString bits;
    Number value;
};
// Column addition: carries[i] is the carry out of bit i (from the left),
// written above bit i - 1; carries[0], the carry out of the leftmost bit,
// is dropped, since the sum keeps the format's width, and carries[n] is
// always 0.
struct ColumnAddition {
    QString a, b, carries, sum;
    bool carryOut = false;
};
// What the sum means: overflow, or, for unsigned subtraction, a result
// below 0.
struct SumFacts {
    bool twos = false;
    bool subtract = false;
    Number a, b, result;  // the true result
    Number low, high;     // the format's range
    Number held;          // what the answer's bits hold
    bool carryOut = false;
    bool outside = false;
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
    else if (!left && value.twos)
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
    if (value.from.sign() < 0 && !value.lostWorth.isZero())
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
    const QString which = value.index == 1 ? Words::tr("The first number") : Words::tr("The second number");
    w.para(Words::tr("%1 is %2, which holds %3.").arg(which, w.bits(value.bits), w.num(value.value)));
}

template <>
void StepOf<step::ColumnAddition>::say(Words &w) const
{
    const qsizetype n = value.sum.size();
    std::vector<QStringList> rows;
    QStringList carries{Words::tr("Carries")}, a{QString()}, b{QStringLiteral("+")}, sum{Words::tr("Sum")};
    for (qsizetype i = 0; i <= n; ++i) {
        carries << (value.carries.at(i) == u'1' ? QStringLiteral("1") : QString());
        a << (i == 0 ? QString() : QString(value.a.at(i - 1)));
        b << (i == 0 ? QString() : QString(value.b.at(i - 1)));
        sum << (i == 0 ? (value.carryOut ? QStringLiteral("(1)") : QString()) : QString(value.sum.at(i - 1)));
    }
    w.para(Words::tr("Add in columns from the right: each column's two bits and the carry written above it; "
                     "a column adding to 2 writes 0 and carries 1, to 3 writes 1 and carries 1."));
    rows.push_back(carries);
    rows.push_back(a);
    rows.push_back(b);
    rows.push_back(sum);
    w.table(rows, false);
    if (value.carryOut)
        w.para(Words::tr("The leftmost column carries 1 out; the sum keeps %1, so that carry is dropped: %2.")
                   .arg(Words::count(n), w.bits(value.sum)));
    else
        w.para(Words::tr("No carry comes out of the leftmost column: the sum is %1.").arg(w.bits(value.sum)));
}

template <>
void StepOf<step::SumFacts>::say(Words &w) const
{
    const QString sign = value.subtract ? QStringLiteral(" \u2212 ") : QStringLiteral(" + ");
    const QString sum = w.num(value.a) + sign + w.num(value.b) + QStringLiteral(" = ") + w.num(value.result);
    // A difference that fits is checked by adding back what was taken away.
    const auto check = [&] {
        if (value.subtract && !value.outside)
            w.para(Words::tr("Check in denary: %1 + %2 = %3.").arg(w.num(value.held), w.num(value.b), w.num(value.a)));
    };
    if (!value.twos) {
        if (value.subtract && value.outside)
            w.para(Words::tr("%1 is below 0: the first number is the smaller, so the subtraction borrows out of "
                             "the leftmost column (no carry comes out of it). An unsigned pattern cannot hold a "
                             "number below 0: the bits kept hold %2, not the difference.")
                       .arg(sum, w.num(value.held)));
        else if (value.outside)
            w.para(Words::tr("Overflow: %1 does not fit in %2 to %3; the carry out of the leftmost column is the "
                             "bit the sum needs, and the %4 kept hold only %5.")
                       .arg(sum, w.num(value.low), w.num(value.high), Words::count(w.format().bits),
                            w.num(value.held)));
        else
            w.para(Words::tr("No overflow: %1 fits in %2 to %3.").arg(sum, w.num(value.low), w.num(value.high)));
        check();
        return;
    }
    if (value.outside)
        w.para(Words::tr("Overflow: %1 does not fit in %2 to %3. Two numbers of the same sign have given a result "
                         "of the other sign: the pattern holds %4.")
                   .arg(sum, w.num(value.low), w.num(value.high), w.num(value.held)));
    else
        w.para(Words::tr("No overflow: %1 fits in %2 to %3.").arg(sum, w.num(value.low), w.num(value.high)));
    if (value.carryOut && !value.outside)
        w.para(Words::tr("A carry out of the leftmost bit alone is not an overflow in two's complement: it is "
                         "dropped, and the result is right."));
    check();
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

bool onlyBits(const QString &s, int width)
{
    int count = 0;
    for (QChar c : s) {
        if (c == u'0' || c == u'1')
            ++count;
        else if (!c.isSpace())
            return false;
    }
    return count == width;
}

// Bits of the format's width, hex, or a denary number written in the
// format by the topic's method (whose steps come along).
Read operand(const Topic &topic, const Format &f, const QString &typed)
{
    Read r;
    const exact::Reading d = exact::readDecimal(typed);
    const bool denary = !onlyBits(typed, f.bits) && d.kind != exact::Reading::Kind::NotANumber
        && !typed.contains(u'x', Qt::CaseInsensitive) && !typed.contains(u'&');
    if (denary) {
        Worked w = topic.solve(f, Operation::ToBinary, typed);
        if (w.refused) {
            r.refusal = w.steps.back();
            return r;
        }
        r.ok = true;
        r.bits = w.text;
        r.steps = std::move(w.steps);
        return r;
    }
    ReadBits b = readBits(f.bits, typed);
    r.ok = b.ok;
    r.bits = b.bits;
    r.steps = std::move(b.steps);
    r.refusal = b.refusal;
    return r;
}

Number held(const Format &f, const QString &bits)
{
    return f.isSigned() ? patterns::twosValue(bits) : patterns::unsignedValue(bits);
}

// Both operands read, their steps kept; a refusal of either stops it.
bool readBoth(const Topic &topic, const Format &f, const QStringList &operands, int count, QString bits[2],
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
        bits[i] = r.bits;
        steps.push_back(make(step::Operand{i + 1, r.bits, held(f, r.bits)}));
    }
    return true;
}

step::ColumnAddition columns(const QString &a, const QString &b)
{
    const qsizetype n = a.size();
    step::ColumnAddition c{a, b, QString(n + 1, u'0'), QString(n, u'0')};
    int carry = 0;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const int total = (a.at(i) == u'1') + (b.at(i) == u'1') + carry;
        c.sum[i] = total % 2 ? u'1' : u'0';
        carry = total / 2;
        c.carries[i] = carry ? u'1' : u'0';  // written above the next column left
    }
    c.carryOut = carry == 1;
    return c;
}

Worked summed(const Format &f, Steps steps, const QString &a, const QString &b, const Number &trueResult,
              bool subtract, const Number &first, const Number &second)
{
    step::ColumnAddition c = columns(a, b);
    const QString sum = c.sum;
    const bool carryOut = c.carryOut;
    steps.push_back(make(std::move(c)));
    const int n = f.bits;
    const bool twos = f.isSigned();
    const Number low = twos ? -Number::power2(n - 1) : Number();
    const Number high = (twos ? Number::power2(n - 1) : Number::power2(n)) - Number(1);
    const bool outside = trueResult < low || trueResult > high;
    steps.push_back(make(step::SumFacts{twos, subtract, first, second, trueResult, low, high, held(f, sum),
                                        carryOut, outside}));
    QString text = sum + QStringLiteral(", ");
    if (!outside)
        text += QStringLiteral("no overflow");
    else if (subtract && !twos)
        text += QStringLiteral("below 0");
    else
        text += QStringLiteral("overflow");
    return {false, text, std::move(steps), std::nullopt};
}

}  // namespace

Step columnAddition(const QString &a, const QString &b, QString *sum)
{
    step::ColumnAddition c = columns(a, b);
    *sum = c.sum;
    return make(std::move(c));
}

Worked add(const Topic &topic, const Format &f, const QStringList &operands)
{
    Steps steps;
    QString bits[2];
    Worked refused;
    if (!readBoth(topic, f, operands, 2, bits, steps, refused))
        return refused;
    const Number a = held(f, bits[0]), b = held(f, bits[1]);
    return summed(f, std::move(steps), bits[0], bits[1], a + b, false, a, b);
}

Worked subtract(const Topic &topic, const Format &f, const QStringList &operands)
{
    Steps steps;
    QString bits[2];
    Worked refused;
    if (!readBoth(topic, f, operands, 2, bits, steps, refused))
        return refused;
    const Number a = held(f, bits[0]), b = held(f, bits[1]);
    step::TwosComplement t = twosComplement(bits[1], step::TwosComplement::Of::Number);
    const QString negated = t.result;
    steps.push_back(make(step::AddTheNegative{bits[1]}));
    steps.push_back(make(std::move(t)));
    return summed(f, std::move(steps), bits[0], negated, a - b, true, a, b);
}

Worked mask(const Topic &topic, const Format &f, Operation operation, const QStringList &operands)
{
    Steps steps;
    QString bits[2];
    Worked refused;
    const int count = operation == Operation::Not ? 1 : 2;
    if (!readBoth(topic, f, operands, count, bits, steps, refused))
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
    steps.push_back(make(step::Bitwise{operation, a, bits[1], result}));
    return {false, result, std::move(steps), std::nullopt};
}

Worked shift(const Topic &topic, const Format &f, Operation operation, const QStringList &operands, int places)
{
    Steps steps;
    QString bits[2];
    Worked refused;
    if (!readBoth(topic, f, operands, 1, bits, steps, refused))
        return refused;
    const int n = f.bits;
    if (places < 0 || places > n)
        return refuse(std::move(steps), make(step::TooManyPlaces{places, n}));
    const QString &a = bits[0];
    const int k = places;
    const bool twos = f.isSigned();
    step::Shift s{operation, a, QString(), QString(), k, twos, held(f, a), Number(), Number()};
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
        s.after = QString(k, twos ? a.at(0) : u'0') + a.left(n - k);
        s.lost = a.right(k);
        break;
    }
    s.to = held(f, s.after);
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

}  // namespace arithmetic

}  // namespace quorvex::workbench
