// SPDX-License-Identifier: MIT
#include "topics/floatarithmetic.h"

#include "engine/bitpattern.h"
#include "engine/marking.h"
#include "engine/methods.h"
#include "engine/words.h"
#include "topics/arithmetic.h"
#include "topics/registry.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>

namespace quorvex::workbench {

using exact::Number;
using patterns::toBits;

namespace step {

// A denary operand written in the format first.
struct FloatWritten {
    int index;
    QString typed, pattern;  // the pattern as the format writes it
    Number held;
};
// An operand's mantissa and exponent, and what the pair holds.
struct FloatOperand {
    int index;
    QString mantissa, exponent;
    Number mantissaValue;
    qint64 exponentValue;
    Number value;
};
// The smaller exponent made equal to the larger: its mantissa shifted
// `places` right, copies of its sign bit coming in on the left; the bits
// that go past the mantissa's last place are kept until the cut.
struct FloatAlign {
    int smaller = 0;  // which operand moves (0: the exponents are the same)
    qint64 exponent = 0;  // the larger exponent, which both now have
    qint64 places = 0;
    QString before, after;  // `after` has the bits past the last place too
    QString past;           // those bits
    Number pastWorth;       // what they are worth
    bool vanished = false;  // so far that every bit of the mantissa goes past
    Number smallerValue;
};
// a - b is worked as a + (-b): the second mantissa's two's complement.
struct FloatNegate {};
// The mantissas as added: a bit more on the left, for a sum that
// overflows into the sign bit.
struct FloatExtended {
    int width = 0;
};
// The sum's mantissa normalised: shifted right once when the mantissas'
// sum carried into the sign place, else left until its first two bits
// differ, the exponent moved to match.
struct FloatNormaliseSum {
    QString sum;  // with the extra bit on the left
    bool zero = false;
    bool right = false;
    qint64 leftShifts = 0;
    QString normalised;  // the sign bit, then every bit after the point
    qint64 from = 0, exponent = 0;
};
// The normalised sum cut (or rounded) to the mantissa, and what was lost;
// or overflow or underflow (the refusal of the exact result, said).
struct FloatCut {
    bool nearest = false;
    bool zero = false;
    QString answer;  // the pair, as the format writes it; empty for overflow and underflow
    Number exact, held;
    QString other;  // the other rounding's pair, where it differs
    Number otherHeld;
    bool otherBeyond = false;  // the other rounding overflows
    qint64 bits = 0;  // the normalised sum's bits after its sign bit
    Step beyond;      // overflow or underflow
};
struct FloatCheck {
    bool subtract = false;
    Number a, b, exact;
    bool beyond = false;
    Number held;
};

// ---- Errors --------------------------------------------------------------------
struct StoredError {
    Typed typed;
    QString pattern;
    Number held, absolute;
    bool nearest = false;
    Number place;  // the last place near the number
    bool fixed = false;
};
// A number written with so many digits that its error is not worked.
struct ErrorTooFine {
    QString typed;
};

// ---- Range against precision ------------------------------------------------
struct FormatFacts {
    QString name;
    int mantissa = 0, exponent = 0;
    Number largest, smallest, mostNegative, stepNearOne;
};
struct RangePrecision {
    FormatFacts a, b;
};
struct HeldInBoth {
    Typed typed;
    struct In {
        QString name;
        bool refused = false;
        QString why;
        QString pattern;
        Number held, absolute;
    } a, b;
};
// Compared with something that is not a floating-point format of the same width.
struct NotComparable {
    QString other;
    bool floating = true;
    int width = 0, otherWidth = 0;
};

}  // namespace step

QUORVEX_STEP(step::FloatWritten)
QUORVEX_STEP(step::FloatOperand)
QUORVEX_STEP(step::FloatAlign)
QUORVEX_STEP(step::FloatNegate)
QUORVEX_STEP(step::FloatExtended)
QUORVEX_STEP(step::FloatNormaliseSum)
QUORVEX_STEP(step::FloatCut)
QUORVEX_STEP(step::FloatCheck)
QUORVEX_STEP(step::StoredError)
QUORVEX_REFUSAL(step::ErrorTooFine)
QUORVEX_STEP(step::RangePrecision)
QUORVEX_STEP(step::HeldInBoth)
QUORVEX_REFUSAL(step::NotComparable)

namespace {

QString ordinal(int index) { return index == 1 ? Words::tr("the first number") : Words::tr("the second number"); }
QString capital(QString s)
{
    if (!s.isEmpty())
        s[0] = s.at(0).toUpper();
    return s;
}

}  // namespace

template <>
void StepOf<step::FloatWritten>::say(Words &w) const
{
    w.para(Words::tr("%1, %2, written in the format, is %3, which holds %4.")
               .arg(capital(ordinal(value.index)), w.num(Number::fromDecimal(value.typed)), w.bits(value.pattern),
                    w.num(value.held)));
}

template <>
void StepOf<step::FloatOperand>::say(Words &w) const
{
    const step::FloatOperand &s = value;
    const int fraction = int(s.mantissa.size()) - 1;
    w.para(Words::tr("%1: the mantissa %2 is %3, the exponent %4 is %5, so it holds %6 = %7.")
               .arg(capital(ordinal(s.index)), w.point(s.mantissa, fraction), w.num(s.mantissaValue),
                    w.bits(s.exponent), w.num(s.exponentValue), w.times(w.num(s.mantissaValue), s.exponentValue),
                    w.num(s.value)));
}

template <>
void StepOf<step::FloatAlign>::say(Words &w) const
{
    const step::FloatAlign &s = value;
    if (s.smaller == 0) {
        w.para(Words::tr("The exponents are the same, %1: the mantissas can be added as they are.")
                   .arg(w.num(s.exponent)));
        return;
    }
    w.para(Words::tr("Make the exponents the same: the smaller one goes up to %1, the larger, so the mantissa of %2 "
                     "is shifted %3 right (copies of its sign bit come in on the left), and the larger number is "
                     "left as it is.")
               .arg(w.num(s.exponent), ordinal(s.smaller), w.places(s.places)));
    if (s.vanished) {
        w.para(Words::tr("Shifted that far, every bit of %1 goes past the mantissa's last place: all of its %2 is "
                         "lost to the mantissa's places, and counts only in the cut.")
                   .arg(w.bits(s.before), w.num(s.smallerValue)));
        return;
    }
    const int fraction = int(s.after.size()) - 1;
    w.para(Words::tr("%1 becomes %2.").arg(w.point(s.before, int(s.before.size()) - 1), w.point(s.after, fraction)));
    if (s.past.contains(u'1'))
        w.para((s.past.size() == 1 ? Words::tr("The bit %1 goes past the mantissa's last place; it is worth %2. It is "
                                               "kept while the mantissas are added and the sum normalised, and cut "
                                               "only at the end.")
                                   : Words::tr("The bits %1 go past the mantissa's last place; they are worth %2. "
                                               "They are kept while the mantissas are added and the sum normalised, "
                                               "and cut only at the end."))
                   .arg(w.bits(s.past), w.num(s.pastWorth)));
    else
        w.para((s.past.size() == 1
                    ? Words::tr("The bit that goes past the mantissa's last place, %1, is 0: nothing is lost.")
                    : Words::tr("The bits that go past the mantissa's last place, %1, are all 0: nothing is lost."))
                   .arg(w.bits(s.past)));
}

template <>
void StepOf<step::FloatNegate>::say(Words &w) const
{
    w.para(Words::tr("Subtract by adding the negative: take the two's complement of the second mantissa (invert "
                     "every bit, add 1) and add it to the first."));
}

template <>
void StepOf<step::FloatExtended>::say(Words &w) const
{
    w.para(Words::tr("Each mantissa takes one more copy of its sign bit on the left, so that a sum too big for "
                     "the sign place shows as such: the mantissas are added in %1.")
               .arg(Words::count(value.width)));
}

template <>
void StepOf<step::FloatNormaliseSum>::say(Words &w) const
{
    const step::FloatNormaliseSum &s = value;
    const int fraction = int(s.sum.size()) - 2;
    const QString sum = w.point(s.sum, fraction);
    if (s.zero) {
        w.para(Words::tr("The sum %1 is 0: zero is written all zeros.").arg(sum));
        return;
    }
    const QString normal = w.point(s.normalised, int(s.normalised.size()) - 1);
    if (s.right)
        w.para(Words::tr("The sum %1 has its extra bit and its sign bit different: the mantissas' sum has carried "
                         "into the sign place. Normalise by shifting it one place right, adding 1 to the exponent: "
                         "%2 with the exponent %3.")
                   .arg(sum, normal, w.num(s.exponent)));
    else if (s.leftShifts == 0)
        w.para(Words::tr("The sum %1 keeps its sign in the extra bit; without it, %2 has its first two bits "
                         "different: it is normalised, with the exponent %3.")
                   .arg(sum, normal, w.num(s.exponent)));
    else
        w.para(Words::tr("The sum %1, without its extra bit, has its first two bits the same: it is not "
                         "normalised. Shift it %2 left, taking %3 from the exponent: %4 with the exponent %5 "
                         "(%6 \u2212 %3).")
                   .arg(sum, w.places(s.leftShifts), w.num(s.leftShifts), normal, w.num(s.exponent),
                        w.num(s.from)));
}

template <>
void StepOf<step::FloatCut>::say(Words &w) const
{
    const step::FloatCut &s = value;
    const Format &f = w.format();
    if (s.zero)
        return;
    if (s.beyond) {
        s.beyond->say(w);
        return;
    }
    if (s.exact == s.held) {
        w.para(Words::tr("The normalised sum fits the mantissa's %1 after its sign bit: nothing is lost. The "
                         "answer is %2.")
                   .arg(Words::count(f.mantissaFraction()), w.bits(s.answer)));
    } else if (s.nearest) {
        w.para(Words::tr("The normalised sum has %1 after its sign bit, more than the mantissa's %2. Rounded to "
                         "nearest (a half rounds away from zero), the pair is %3, which holds %4: the exact result "
                         "is %5, so %6 is lost.")
                   .arg(Words::count(s.bits), QString::number(f.mantissaFraction()), w.bits(s.answer), w.num(s.held),
                        w.num(s.exact), w.num((s.exact - s.held).abs())));
    } else {
        w.para((s.exact.sign() < 0
                    ? Words::tr("The normalised sum has %1 after its sign bit, more than the mantissa's %2: the bits "
                                "after the last place are cut (a negative mantissa's size is cut, as when a number is "
                                "written in the format). The pair is %3, which holds %4: the exact result is %5, so "
                                "%6 is lost.")
                    : Words::tr("The normalised sum has %1 after its sign bit, more than the mantissa's %2: the bits "
                                "after the last place are cut. The pair is %3, which holds %4: the exact result is "
                                "%5, so %6 is lost."))
                   .arg(Words::count(s.bits), QString::number(f.mantissaFraction()), w.bits(s.answer), w.num(s.held),
                        w.num(s.exact), w.num((s.exact - s.held).abs())));
    }
    if (s.otherBeyond)
        w.para((s.nearest ? Words::tr("(Cutting instead would give %1.)")
                          : Words::tr("(Rounding to nearest instead would give %1.)"))
                   .arg(s.other));
    else if (!s.other.isEmpty())
        w.para((s.nearest ? Words::tr("(Cutting instead would give %1, which holds %2.)")
                          : Words::tr("(Rounding to nearest instead would give %1, which holds %2.)"))
                   .arg(w.bits(s.other), w.num(s.otherHeld)));
}

template <>
void StepOf<step::FloatCheck>::say(Words &w) const
{
    const step::FloatCheck &s = value;
    const QString sum = w.num(s.a) + (s.subtract ? QStringLiteral(" \u2212 ") : QStringLiteral(" + ")) + w.num(s.b)
        + QStringLiteral(" = ") + w.num(s.exact);
    if (s.beyond)
        w.para(Words::tr("Check in denary: %1, which is beyond the format.").arg(sum));
    else if (s.held == s.exact)
        w.para(Words::tr("Check in denary: %1, which the answer holds exactly.").arg(sum));
    else
        w.para(Words::tr("Check in denary: %1; the answer holds %2, out by %3.")
                   .arg(sum, w.num(s.held), w.num((s.exact - s.held).abs())));
}

template <>
void StepOf<step::StoredError>::say(Words &w) const
{
    const step::StoredError &s = value;
    const Number x = s.typed.value;
    w.para(Words::tr("Absolute error = |number \u2212 value stored| = |%1 \u2212 %2| = %3. It is a size: it has no "
                     "sign.")
               .arg(w.typed(s.typed), w.num(s.held), w.num(s.absolute)));
    if (x.isZero()) {
        w.para(Words::tr("The number is 0, stored exactly: there is no relative error to divide out."));
    } else {
        const Number size = x.abs();
        w.para(Words::tr("Relative error = absolute error \u00F7 |number| = %1 \u00F7 %2 = %3 \u2248 %4, or %5 %. It "
                         "is divided by the true number, not by the value stored.")
                   .arg(w.num(s.absolute), w.num(size), exact::ratioFraction(s.absolute, size),
                        exact::ratioSignificant(s.absolute, size, 4),
                        exact::ratioPlaces(s.absolute * Number(100), size, 2)));
    }
    const QString place = w.num(s.place), half = w.num(s.place.times2(-1));
    const QString where = s.fixed ? Words::tr("The last place of this format is worth %1").arg(place)
                                  : Words::tr("Near %1 the mantissa's last place is worth %2").arg(w.typed(s.typed), place);
    if (s.nearest)
        w.para(Words::tr("%1: rounding to nearest, a stored value is out by at most half of that, %2 (cutting, by "
                         "less than %3).")
                   .arg(where, half, place));
    else
        w.para(Words::tr("%1: cutting, a stored value is out by less than that (rounding to nearest, by at most "
                         "half of it, %2).")
                   .arg(where, half));
}

template <>
QString StepOf<step::ErrorTooFine>::why(const Words &) const
{
    return Words::tr("%1 has too many digits for its error to be worked exactly.").arg(value.typed);
}
template <>
void StepOf<step::ErrorTooFine>::say(Words &w) const
{
    w.para(why(w));
}

template <>
QString StepOf<step::NotComparable>::why(const Words &) const
{
    if (value.other.isEmpty())
        return Words::tr("Range against precision needs a second floating-point format of the same width to "
                         "compare with.");
    if (!value.floating)
        return Words::tr("%1 is not a floating-point format: range against precision compares two floating-point "
                         "formats of the same width.")
            .arg(value.other);
    return Words::tr("%1 has %2 and this format %3: range against precision compares two formats of the same "
                     "width.")
        .arg(value.other, Words::count(value.otherWidth), Words::count(value.width));
}
template <>
void StepOf<step::NotComparable>::say(Words &w) const
{
    w.para(why(w));
}

template <>
void StepOf<step::RangePrecision>::say(Words &w) const
{
    const step::FormatFacts &a = value.a, &b = value.b;
    const auto both = [&](const QString &what, const QString &x, const QString &y) { return QStringList{what, x, y}; };
    // Each value with how it is made: (1 - 2^-9) x 2^31 = 2143289344.
    const auto largest = [&](const step::FormatFacts &x) {
        return w.times(QStringLiteral("(1 \u2212 ") + w.power(1 - x.mantissa) + u')', (qint64(1) << (x.exponent - 1)) - 1)
            + QStringLiteral(" = ") + w.num(x.largest);
    };
    const auto power = [&](const QString &sign, const Number &v) {
        const Number size = v.abs();
        return sign + w.power(size.binaryOrder() - 1) + QStringLiteral(" = ") + w.num(v);
    };
    w.table({{QString(), a.name, b.name},
             {Words::tr("mantissa, exponent"), Words::tr("%1, %2 bits").arg(a.mantissa).arg(a.exponent),
              Words::tr("%1, %2 bits").arg(b.mantissa).arg(b.exponent)},
             both(Words::tr("largest"), largest(a), largest(b)),
             both(Words::tr("smallest positive (normalised)"), power(QString(), a.smallest), power(QString(), b.smallest)),
             both(Words::tr("most negative"), power(QStringLiteral("\u2212"), a.mostNegative),
                  power(QStringLiteral("\u2212"), b.mostNegative)),
             both(Words::tr("step near 1"), power(QString(), a.stepNearOne), power(QString(), b.stepNearOne))},
            true);
    if (a.exponent == b.exponent) {
        w.para(Words::tr("The two are the same format: the same range and the same precision."));
        return;
    }
    const step::FormatFacts &range = a.exponent > b.exponent ? a : b;
    const step::FormatFacts &precise = a.exponent > b.exponent ? b : a;
    w.para(Words::tr("%1 has more bits in its exponent (%2 against %3): a larger range, reaching %4 against %5, and "
                     "numbers nearer zero, down to %6 against %7.")
               .arg(range.name)
               .arg(range.exponent)
               .arg(precise.exponent)
               .arg(w.num(range.largest), w.num(precise.largest), w.num(range.smallest), w.num(precise.smallest)));
    w.para(Words::tr("%1 has more bits in its mantissa (%2 against %3): greater precision, with a step of %4 near 1 "
                     "against %5, so numbers are held more exactly, but a smaller range.")
               .arg(precise.name)
               .arg(precise.mantissa)
               .arg(range.mantissa)
               .arg(w.num(precise.stepNearOne), w.num(range.stepNearOne)));
    w.para(Words::tr("Moving bits from the mantissa to the exponent increases the range and reduces the precision; "
                     "moving them the other way increases the precision and reduces the range."));
}

template <>
void StepOf<step::HeldInBoth>::say(Words &w) const
{
    const step::HeldInBoth &s = value;
    for (const step::HeldInBoth::In *in : {&s.a, &s.b}) {
        if (in->refused)
            w.para(Words::tr("In %1: %2.").arg(in->name, in->why));
        else
            w.para(Words::tr("In %1, %2 is %3, which holds %4: out by %5.")
                       .arg(in->name, w.typed(s.typed), w.bits(in->pattern), w.num(in->held), w.num(in->absolute)));
    }
    if (s.a.refused && s.b.refused)
        w.para(Words::tr("Neither format holds %1.").arg(w.typed(s.typed)));
    else if (s.a.refused || s.b.refused)
        w.para(Words::tr("Only %1 holds %2.").arg((s.a.refused ? s.b : s.a).name, w.typed(s.typed)));
    else if (s.a.absolute == s.b.absolute)
        w.para(Words::tr("Both hold it equally exactly."));
    else
        w.para(Words::tr("%1 holds it more exactly.").arg((s.a.absolute < s.b.absolute ? s.a : s.b).name));
}

namespace floating {

namespace {

// What a two's complement pattern of any length holds, as a whole number.
Number twos(const QString &bits)
{
    if (bits.size() <= 64)
        return patterns::twosValue(bits);
    Number v;
    for (QChar c : bits) {
        v = v.times2(1);
        if (c == u'1')
            v = v + Number(1);
    }
    return bits.at(0) == u'1' ? v - Number::power2(bits.size()) : v;
}

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

struct Read {
    bool ok = false;
    QString bits;
    Step refusal;
};

// Bits of the format's width, hex, or a denary number written in the
// format first (by the topic's method, in the format's rounding).
Read operand(const Topic &topic, const Format &f, const QString &typed, int index, Steps &steps)
{
    Read r;
    const exact::Reading d = exact::readDecimal(typed);
    const bool denary = !onlyBits(typed, f.totalBits()) && d.kind != exact::Reading::Kind::NotANumber
        && !typed.contains(u'x', Qt::CaseInsensitive) && !typed.contains(u'&');
    if (denary) {
        const Worked w = topic.solve(f, Operation::ToBinary, typed);
        if (w.refused) {
            r.refusal = w.steps.back();
            return r;
        }
        r.ok = true;
        r.bits = practice::plain(w.text);
        steps.push_back(make(step::FloatWritten{index, typed.trimmed(), w.text, topic.valueOf(f, r.bits)}));
        return r;
    }
    ReadBits b = readBits(f.totalBits(), typed);
    for (Step &s : b.steps)
        steps.push_back(std::move(s));
    r.ok = b.ok;
    r.bits = b.bits;
    r.refusal = b.refusal;
    return r;
}

// Whether an exact result the format refuses is too large or too small.
bool underflows(const Format &f, const Number &value)
{
    return value.abs() < Number::power2(f.lowestExponent() - 1);
}

// The exact result written in the format, as the topic writes a number:
// its pair, or the refusal that says overflow or underflow.
step::FloatCut cutTo(const Topic &topic, const Format &f, const Number &exactValue)
{
    step::FloatCut cut;
    cut.nearest = f.rounding == Rounding::Nearest;
    cut.exact = exactValue;
    if (exactValue.isZero()) {
        cut.zero = true;
        cut.answer = topic.written(f, QString(f.totalBits(), u'0'));
        return cut;
    }
    // The bits after the point the normalised result needs.
    cut.bits = exactValue.abs().binaryOrder() + exactValue.abs().binaryPlaces();
    const Worked w = topic.solve(f, Operation::ToBinary, exactValue.toDecimal());
    if (w.refused) {
        cut.beyond = w.steps.back();
        return cut;
    }
    cut.answer = w.text;
    cut.held = topic.valueOf(f, practice::plain(w.text));
    if (cut.held == exactValue)  // held exactly: either rounding gives it
        return cut;
    Format other = f;
    other.rounding = cut.nearest ? Rounding::Cut : Rounding::Nearest;
    const Worked o = topic.solve(other, Operation::ToBinary, exactValue.toDecimal());
    if (!o.refused && o.text != w.text) {
        cut.other = o.text;
        cut.otherHeld = topic.valueOf(f, practice::plain(o.text));
    } else if (o.refused) {
        cut.other = underflows(f, exactValue) ? QStringLiteral("underflow") : QStringLiteral("overflow");
        cut.otherBeyond = true;
    }
    return cut;
}

// The sum cut (or rounded) to the format from `from`, checked against the
// exact result; overflow or underflow when it is beyond the format.
Worked cutAndChecked(const Topic &topic, const Format &f, Steps steps, const Number &from, bool subtract,
                     const Number &a, const Number &b, const Number &exactValue)
{
    step::FloatCut cut = cutTo(topic, f, from);
    const bool beyond = bool(cut.beyond);
    const QString answer = cut.answer;
    const Number held = cut.held;
    steps.push_back(make(std::move(cut)));
    steps.push_back(make(step::FloatCheck{subtract, a, b, exactValue, beyond, held}));
    if (beyond)
        return {false, underflows(f, exactValue) ? QStringLiteral("underflow") : QStringLiteral("overflow"),
                std::move(steps), std::nullopt};
    return {false, answer, std::move(steps), held};
}

}  // namespace

Worked addOrSubtract(const Topic &topic, const Format &f, bool subtract, const QStringList &operands)
{
    Steps steps;
    QString bits[2];
    for (int i = 0; i < 2; ++i) {
        Read r = operand(topic, f, operands.value(i), i + 1, steps);
        if (!r.ok)
            return refuse(std::move(steps), r.refusal);
        bits[i] = r.bits;
    }
    const int m = f.mantissa;
    QString mantissa[2];
    qint64 exponent[2];
    Number value[2];
    for (int i = 0; i < 2; ++i) {
        mantissa[i] = bits[i].left(m);
        exponent[i] = patterns::twosWhole(QStringView(bits[i]).mid(m));
        const Number mv = patterns::twosValue(mantissa[i]).times2(-(m - 1));
        value[i] = mv.times2(exponent[i]);
        steps.push_back(make(step::FloatOperand{i + 1, mantissa[i], bits[i].mid(m), mv, exponent[i], value[i]}));
    }
    const Number exactValue = subtract ? value[0] - value[1] : value[0] + value[1];

    // The exponents made equal: the mantissa of the smaller shifted right.
    const int small = exponent[0] < exponent[1] ? 0 : 1;
    const qint64 e = std::max(exponent[0], exponent[1]);
    const qint64 d = e - exponent[small];
    step::FloatAlign align;
    align.exponent = e;
    align.places = d;
    align.smaller = d == 0 ? 0 : small + 1;
    align.before = mantissa[small];
    align.smallerValue = value[small];
    // Shifted further than the mantissa and its guard bits, the smaller
    // mantissa is lost whole; its worth still counts in the cut.
    align.vanished = d > m + 2;
    step::FloatNormaliseSum normalised;
    if (!align.vanished) {
        const qsizetype n = 1 + m + d;  // one more copy of the sign on the left
        const QChar sign = mantissa[small].at(0);
        QString shifted[2];
        shifted[small] = QString(d, sign) + mantissa[small];
        shifted[1 - small] = mantissa[1 - small] + QString(d, u'0');
        align.after = shifted[small];
        align.past = shifted[small].right(d);
        align.pastWorth = patterns::unsignedValue(QStringView(align.past).right(std::min<qint64>(d, 64)))
                              .times2(e - (m - 1) - d);
        if (d > 64)  // the bits beyond 64 places are copies of the sign
            align.pastWorth = align.pastWorth
                + (sign == u'1' ? (Number::power2(d - 64) - Number(1)).times2(e - (m - 1) - d + 64) : Number());
        steps.push_back(make(std::move(align)));
        QString a = shifted[0].front() + shifted[0], b = shifted[1].front() + shifted[1];
        steps.push_back(make(step::FloatExtended{int(n)}));
        if (subtract) {
            steps.push_back(make(step::FloatNegate{}));
            step::TwosComplement t = twosComplement(b, step::TwosComplement::Of::Mantissa, int(n - 2));
            b = t.result;
            steps.push_back(make(std::move(t)));
        }
        QString sum;
        steps.push_back(arithmetic::columnAddition({a, b}, int(n - 2), &sum));
        normalised.sum = sum;
        normalised.from = e;
        if (!sum.contains(u'1')) {
            normalised.zero = true;
        } else if (sum.at(0) != sum.at(1)) {
            normalised.right = true;
            normalised.normalised = sum;
            normalised.exponent = e + 1;
        } else {
            QString t = sum.mid(1);
            qint64 k = 0;
            while (t.at(0) == t.at(1)) {
                t = t.mid(1) + u'0';
                ++k;
            }
            normalised.leftShifts = k;
            normalised.normalised = t;
            normalised.exponent = e - k;
        }
        // The answer is cut from the sum as the columns gave it.
        const Number columnValue = normalised.zero
            ? Number()
            : twos(normalised.normalised).times2(normalised.exponent - qint64(normalised.normalised.size() - 1));
        steps.push_back(make(std::move(normalised)));
        return cutAndChecked(topic, f, std::move(steps), columnValue, subtract, value[0], value[1], exactValue);
    }
    steps.push_back(make(std::move(align)));
    return cutAndChecked(topic, f, std::move(steps), exactValue, subtract, value[0], value[1], exactValue);
}

Worked error(const Topic &topic, const Format &f, const QString &input)
{
    const exact::Reading r = exact::readDecimal(input);
    if (r.kind == exact::Reading::Kind::NotANumber)
        return refuse({}, make(step::NotANumber{input}));
    Worked stored = topic.solve(f, Operation::ToBinary, input);
    if (stored.refused)
        return stored;
    if (r.kind != exact::Reading::Kind::Exact)
        return refuse(std::move(stored.steps), make(step::ErrorTooFine{input.trimmed()}));
    const Number held = topic.valueOf(f, practice::plain(stored.text));
    const Number absolute = (r.value - held).abs();
    step::StoredError s;
    s.typed = typedOf(r, input);
    s.pattern = stored.text;
    s.held = held;
    s.absolute = absolute;
    s.nearest = f.rounding == Rounding::Nearest;
    s.fixed = f.isFixed();
    s.place = f.isFixed() ? Number::power2(-f.fraction)
        : r.value.isZero() ? Number::power2(f.lowestExponent() - 1 - f.mantissaFraction())
                           : Number::power2(r.value.abs().binaryOrder() - f.mantissaFraction());
    QString text = stored.text + QStringLiteral(" = ") + held.toDecimal() + QStringLiteral("; absolute error ")
        + absolute.toDecimal();
    if (r.value.isZero())
        text += QStringLiteral("; relative error 0");
    else
        text += QStringLiteral("; relative error ") + exact::ratioFraction(absolute, r.value.abs())
            + QStringLiteral(" \u2248 ") + exact::ratioSignificant(absolute, r.value.abs(), 4) + QStringLiteral(" (")
            + exact::ratioPlaces(absolute * Number(100), r.value.abs(), 2) + QStringLiteral(" %)");
    stored.steps.push_back(make(std::move(s)));
    return {false, text, std::move(stored.steps), held};
}

namespace {

step::FormatFacts factsOf(const Topic &topic, const Format &f)
{
    step::FormatFacts x;
    x.name = topic.name(f);
    x.mantissa = f.mantissa;
    x.exponent = f.exponent;
    const qint64 high = f.highestExponent(), low = f.lowestExponent();
    x.largest = (Number(1) - Number::power2(-f.mantissaFraction())).times2(high);
    x.smallest = Number::power2(low - 1);
    x.mostNegative = -Number::power2(high);
    // 1 is 0.1 x 2^1; with no bit after the 1, the next value up is 2.
    x.stepNearOne = f.mantissa >= 3 ? Number::power2(2 - f.mantissa) : high >= 2 ? Number(1) : Number::power2(-1);
    return x;
}

step::HeldInBoth::In heldIn(const Topic &topic, const Format &f, const QString &input, const Number &x)
{
    step::HeldInBoth::In in;
    in.name = topic.name(f);
    const Worked w = topic.solve(f, Operation::ToBinary, input);
    if (w.refused) {
        in.refused = true;
        in.why = w.steps.back()->why(Words(f, topic, false));
        return in;
    }
    in.pattern = w.text;
    in.held = topic.valueOf(f, practice::plain(w.text));
    in.absolute = (x - in.held).abs();
    return in;
}

}  // namespace

Worked compare(const Topic &topic, const Format &f, const Calculation &c)
{
    if (!c.to)
        return refuse({}, make(step::NotComparable{QString(), false, f.totalBits(), 0}));
    Format other = *c.to;
    other.rounding = f.rounding;
    if (!other.isFloating() || other.representation != f.representation)
        return refuse({}, make(step::NotComparable{formatName(other), false, f.totalBits(), 0}));
    if (other.totalBits() != f.totalBits() || !topic.offered(other))
        return refuse({}, make(step::NotComparable{topic.name(other), true, f.totalBits(), other.totalBits()}));
    Steps steps;
    const step::FormatFacts a = factsOf(topic, f), b = factsOf(topic, other);
    const auto facts = [](const step::FormatFacts &x) {
        return x.name + QStringLiteral(": largest ") + x.largest.toDecimal() + QStringLiteral(", smallest positive ")
            + x.smallest.toDecimal() + QStringLiteral(", most negative ") + x.mostNegative.toDecimal()
            + QStringLiteral(", step near 1 ") + x.stepNearOne.toDecimal();
    };
    QString text = facts(a) + QStringLiteral("; ") + facts(b);
    if (a.exponent != b.exponent) {
        const step::FormatFacts &range = a.exponent > b.exponent ? a : b;
        const step::FormatFacts &precise = a.exponent > b.exponent ? b : a;
        text += QStringLiteral("; ") + range.name + QStringLiteral(" has the larger range, ") + precise.name
            + QStringLiteral(" the greater precision");
    }
    steps.push_back(make(step::RangePrecision{a, b}));
    const QString input = c.operands.value(0).trimmed();
    if (!input.isEmpty()) {
        const exact::Reading r = exact::readDecimal(input);
        if (r.kind == exact::Reading::Kind::NotANumber)
            return refuse(std::move(steps), make(step::NotANumber{input}));
        if (r.kind != exact::Reading::Kind::Exact)
            return refuse(std::move(steps), make(step::ErrorTooFine{input}));
        step::HeldInBoth held{typedOf(r, input), heldIn(topic, f, input, r.value), heldIn(topic, other, input, r.value)};
        text += QStringLiteral("; ") + input + QStringLiteral(": ");
        if (held.a.refused && held.b.refused)
            text += QStringLiteral("held by neither");
        else if (held.a.refused || held.b.refused)
            text += QStringLiteral("held only by ") + (held.a.refused ? held.b : held.a).name;
        else if (held.a.absolute == held.b.absolute)
            text += QStringLiteral("held equally exactly (") + held.a.held.toDecimal() + u')';
        else {
            const bool first = held.a.absolute < held.b.absolute;
            const step::HeldInBoth::In &better = first ? held.a : held.b, &worse = first ? held.b : held.a;
            text += better.name + QStringLiteral(" holds it more exactly (") + better.held.toDecimal()
                + QStringLiteral(" against ") + worse.held.toDecimal() + u')';
        }
        steps.push_back(make(std::move(held)));
    }
    return {false, text, std::move(steps), std::nullopt};
}

// ---- Marking -------------------------------------------------------------------

namespace {

using practice::Mistake;
using Mark = Topic::CalculationMark;

QString shown(const Number &n) { return practice::shown(n); }

// A number as a student writes an error: a decimal, a fraction "1/106" or
// a percentage "0.94 %"; with how many places after the point a decimal
// was given (-1 for a fraction, which is exact).
struct TypedError {
    bool ok = false;
    Number numerator, denominator{1};
    int places = -1;
};
TypedError readTyped(QString text)
{
    TypedError t;
    text = text.trimmed();
    text.replace(QChar(0x2212), u'-');
    Number scale(1);
    if (text.endsWith(u'%')) {
        text.chop(1);
        scale = Number(100);
    }
    text = text.trimmed();
    const qsizetype slash = text.indexOf(u'/');
    if (slash >= 0) {
        const exact::Reading a = exact::readDecimal(QStringView(text).left(slash));
        const exact::Reading b = exact::readDecimal(QStringView(text).mid(slash + 1));
        if (a.kind != exact::Reading::Kind::Exact || b.kind != exact::Reading::Kind::Exact || b.value.isZero())
            return t;
        return {true, a.value, b.value * scale, -1};
    }
    const exact::Reading a = exact::readDecimal(text);
    if (a.kind != exact::Reading::Kind::Exact)
        return t;
    const qsizetype point = text.indexOf(u'.');
    t = {true, a.value, scale, point < 0 ? 0 : int(text.size() - point - 1)};
    if (text.contains(u'e', Qt::CaseInsensitive))
        t.places = -1;
    return t;
}

// Whether the typed number is `value` (n / d), exactly or, for a decimal
// given to at least two significant figures, as it rounds to the places typed.
bool means(const TypedError &t, const Number &n, const Number &d)
{
    if (!t.ok)
        return false;
    const Number typed = t.numerator, exactScaled = n * t.denominator;  // compare typed/den with n/d: typed*d vs n*den
    const Number lhs = typed * d;
    if (lhs == exactScaled)
        return true;
    if (t.places < 0 || typed.isZero() || n.isZero())
        return false;
    // |typed/den - n/d| <= half a unit of the last place typed, and the
    // typed figures are at least two.
    const Number half = Number::fromDecimal(QStringLiteral("0.5e-%1").arg(t.places));
    const Number gap = (lhs - exactScaled).abs();
    if (gap > half * d)
        return false;
    const QString digits = typed.abs().toDecimal().remove(u'.');
    qsizetype first = 0;
    while (first < digits.size() && digits.at(first) == u'0')
        ++first;
    return digits.size() - first >= 2;
}

Mark wrongMark(Mistake mistake, const QString &text) { return {false, mistake, text}; }

// The pair a value is written as, or empty when the format refuses it.
QString pairOf(const Topic &topic, const Format &f, const Number &v)
{
    const Worked w = topic.solve(f, Operation::ToBinary, v.toDecimal());
    return w.refused ? QString() : practice::plain(w.text);
}

std::optional<Mark> markSum(const Topic &topic, const Format &f, bool subtract, const Calculation &c,
                            const QString &answer, const Worked &right)
{
    const QString typed = practice::plain(answer.trimmed().toLower());
    const QString r = practice::plain(right.text);
    const QString rightText = Words::tr("The answer is %1.").arg(right.text);
    if (typed == r)
        return Mark{true, Mistake::None, Words::tr("Right.")};
    if (!right.held) {
        return wrongMark(Mistake::Other, Words::tr("The exact result is beyond the format: the answer is %1.")
                                             .arg(right.text));
    }
    if (typed == u"overflow" || typed == u"underflow")
        return wrongMark(Mistake::Other,
                         Words::tr("The result fits the format: it is not %1. %2").arg(typed, rightText));
    if (typed.size() != f.totalBits() || typed.contains(QRegularExpression(QStringLiteral("[^01]"))))
        return wrongMark(Mistake::Unreadable, Words::tr("Write the answer as a pair in bits: %1, mantissa then "
                                                        "exponent. %2")
                                                  .arg(practice::count(f.totalBits()), rightText));
    const Number sv = topic.valueOf(f, typed);
    const QString lead = Words::tr("Your answer %1 stands for %2").arg(topic.written(f, typed), shown(sv));
    if (sv == *right.held)
        return wrongMark(Mistake::NotNormalised, Words::tr("%1, the right value, but the sum is not normalised: shift "
                                                           "its mantissa until its first two bits differ, moving "
                                                           "the exponent to match. %2")
                                                     .arg(lead, rightText));
    // The operands as the working read them.
    Steps ignored;
    QString bits[2];
    for (int i = 0; i < 2; ++i)
        bits[i] = operand(topic, f, c.operands.value(i), i + 1, ignored).bits;
    const int m = f.mantissa;
    Number mv[2];
    qint64 e[2];
    for (int i = 0; i < 2; ++i) {
        mv[i] = patterns::twosValue(QStringView(bits[i]).left(m)).times2(1 - m);
        e[i] = patterns::twosWhole(QStringView(bits[i]).mid(m));
    }
    const auto combine = [&](const Number &x, const Number &y) { return subtract ? x - y : x + y; };
    const int big = e[0] >= e[1] ? 0 : 1, small = 1 - big;
    const qint64 d = e[big] - e[small];
    struct Slip {
        Mistake mistake;
        Number value;
        QString sentence;
    };
    std::vector<Slip> slips;
    if (d != 0) {
        const QString notEqual = Words::tr("%1: the mantissas were added as they are, but the exponents (%2 and %3) "
                                           "must be made the same first, by shifting the smaller number's "
                                           "mantissa %4 right.")
                                     .arg(lead, shown(Number(e[0])), shown(Number(e[1])), practice::places(d));
        slips.push_back({Mistake::ExponentsNotEqual, combine(mv[0], mv[1]).times2(e[big]), notEqual});
        slips.push_back({Mistake::ExponentsNotEqual, combine(mv[0], mv[1]).times2(e[small]), notEqual});
        Number shifted[2] = {mv[0], mv[1]};
        shifted[big] = shifted[big].times2(-d);
        const QString larger = Words::tr("%1: the larger number's mantissa was shifted; it is the smaller number's "
                                         "mantissa that shifts %2 right, so that its exponent goes up to %3.")
                                   .arg(lead, practice::places(d), shown(Number(e[big])));
        slips.push_back({Mistake::LargerShifted, combine(shifted[0], shifted[1]).times2(e[small]), larger});
        slips.push_back({Mistake::LargerShifted, combine(shifted[0], shifted[1]).times2(e[big]), larger});
    }
    const Number a = mv[0].times2(e[0]), b = mv[1].times2(e[1]);
    if (subtract) {
        slips.push_back({Mistake::SubtractionSignLost, a + b,
                         Words::tr("%1, the sum: the second number was added, not taken away; subtract by adding "
                                   "its two's complement.")
                             .arg(lead)});
        slips.push_back({Mistake::SubtractionSignLost, b - a,
                         Words::tr("%1: the sign of the difference is lost; the first number minus the second is "
                                   "%2.")
                             .arg(lead, shown(a - b))});
    }
    for (const Slip &slip : slips) {
        if (!slip.value.isZero() && pairOf(topic, f, slip.value) == typed)
            return wrongMark(slip.mistake, slip.sentence + u' ' + rightText);
    }
    // The mantissas' sum written as it came, unnormalised: its sign place
    // overflowed, or its first bits are the same.
    const Number sum = combine(mv[big], mv[small].times2(-d));
    const Number scaled = sum.times2(m - 1);
    const Number whole = scaled.sign() < 0 && !scaled.isInteger() ? scaled.truncated() - Number(1) : scaled.truncated();
    const quint64 low = whole.sign() < 0 ? (whole + Number::power2(64)).toUnsigned() : whole.toUnsigned();
    const QString raw = toBits(low & patterns::lowBits(m), m) + toBits(quint64(e[big]) & patterns::lowBits(f.exponent), f.exponent);
    if (raw == typed)
        return wrongMark(Mistake::NotNormalised,
                         Words::tr("%1: the mantissas' sum was written as it came, with the exponent %2, without "
                                   "normalising it: a sum that carries into the sign place is shifted right, adding 1 "
                                   "to the exponent, and one whose first two bits are the same is shifted left.")
                                 .arg(lead, shown(Number(e[big])))
                             + u' ' + rightText);
    return wrongMark(Mistake::Other, Words::tr("%1, not %2; it follows none of the usual mistakes: compare it with "
                                               "the working, step by step. %3")
                                         .arg(lead, shown(*right.held), rightText));
}

std::optional<Mark> markError(const Topic &topic, const Format &f, const Calculation &c, const QString &answer,
                              const Worked &right)
{
    const exact::Reading r = exact::readDecimal(c.operands.value(0));
    const Number x = r.value;
    const Number held = *right.held, absolute = (x - held).abs();
    const TypedError t = readTyped(answer);
    const QString relative = x.isZero() ? QStringLiteral("0")
                                        : exact::ratioFraction(absolute, x.abs()) + QStringLiteral(" \u2248 ")
            + exact::ratioSignificant(absolute, x.abs(), 4);
    const QString rightText =
        Words::tr("The absolute error is %1 and the relative error %2.").arg(shown(absolute), relative);
    Q_UNUSED(topic);
    Q_UNUSED(f);
    if (!t.ok)
        return wrongMark(Mistake::Unreadable, Words::tr("Write the error as a number: a decimal, a fraction such as "
                                                        "1/106, or a percentage. %1")
                                                  .arg(rightText));
    if (means(t, absolute, Number(1)) || (!x.isZero() && means(t, absolute, x.abs())))
        return Mark{true, Mistake::None, Words::tr("Right.")};
    const QString lead = Words::tr("Your answer, %1,").arg(answer.trimmed());
    if (!absolute.isZero() && means(t, -absolute, Number(1)))
        return wrongMark(Mistake::SignedError, Words::tr("%1 gives the error with its sign; the absolute error is a "
                                                         "size, |number \u2212 value stored|, and is never "
                                                         "negative. %2")
                                                   .arg(lead, rightText));
    if (!held.isZero() && held.abs() != x.abs() && means(t, absolute, held.abs()))
        return wrongMark(Mistake::DividedByStored, Words::tr("%1 divides the absolute error by the value stored, %2; "
                                                             "the relative error divides it by the true number, "
                                                             "%3. %4")
                                                       .arg(lead, shown(held.abs()), shown(x.abs()), rightText));
    if (!absolute.isZero() && means(t, -absolute, x.abs()))
        return wrongMark(Mistake::SignedError, Words::tr("%1 gives the relative error with a sign; an error is a "
                                                         "size and is never negative. %2")
                                                   .arg(lead, rightText));
    return wrongMark(Mistake::Other, Words::tr("%1 is neither the absolute error nor the relative error. %2")
                                         .arg(lead, rightText));
}

std::optional<Mark> markCompare(const Topic &topic, const Format &f, const Calculation &c, const QString &answer,
                                const Worked &)
{
    const QString input = c.operands.value(0).trimmed();
    if (input.isEmpty() || !c.to)
        return std::nullopt;
    Format other = *c.to;
    other.rounding = f.rounding;
    const exact::Reading r = exact::readDecimal(input);
    const step::HeldInBoth::In a = heldIn(topic, f, input, r.value), b = heldIn(topic, other, input, r.value);
    // The answer names a format by its widths: "float:12:4", "12/4", "12 and 4".
    static const QRegularExpression widths(QStringLiteral("(\\d+)\\D+(\\d+)"));
    const QRegularExpressionMatch w = widths.match(answer);
    const QString named = w.hasMatch() ? QStringLiteral("float:%1:%2").arg(w.captured(1), w.captured(2)) : QString();
    const bool equal = !a.refused && !b.refused && a.absolute == b.absolute;
    const bool firstBetter = !a.refused && (b.refused || a.absolute < b.absolute);
    const QString better = equal ? QString() : firstBetter ? a.name : b.name;
    const QString worse = equal ? QString() : firstBetter ? b.name : a.name;
    const QString rightText = equal ? Words::tr("Both hold %1 equally exactly.").arg(input)
                                    : Words::tr("%1 holds %2 more exactly.").arg(better, input);
    if (equal) {
        const QString s = answer.toLower();
        if (s.contains(QStringLiteral("both")) || s.contains(QStringLiteral("equal")) || s.contains(QStringLiteral("same")))
            return Mark{true, Mistake::None, Words::tr("Right.")};
        return wrongMark(Mistake::Other, rightText);
    }
    if (named == better)
        return Mark{true, Mistake::None, Words::tr("Right.")};
    if (named == worse) {
        const step::FormatFacts fb = factsOf(topic, named == a.name ? f : other);
        const bool moreExponent = fb.exponent > (named == a.name ? other.exponent : f.exponent);
        return wrongMark(Mistake::RangePrecisionSwapped,
                         (moreExponent ? Words::tr("%1 has more exponent bits: it has the larger range, but the less "
                                                   "precision. %2")
                                       : Words::tr("%1 has more mantissa bits but cannot hold %3 at all. %2"))
                             .arg(worse, rightText, input));
    }
    return wrongMark(Mistake::Unreadable, Words::tr("Name the format by its widths, such as %1. %2").arg(better, rightText));
}

}  // namespace

QString errorQuestion(const Topic &topic, const Format &f, QRandomGenerator &rng)
{
    static const int tenths[] = {1, 2, 3, 4, 6, 7, 8, 9};  // none a sum of powers of 2
    quint32 most = 20;
    for (int attempt = 0; attempt < 40; ++attempt) {
        const quint32 whole = rng.bounded(most + 1);
        const bool negative = (f.isSigned() || f.isFloating()) && rng.bounded(3) == 0;
        const QString text = (negative ? QStringLiteral("-") : QString()) + QString::number(whole) + u'.'
            + QString::number(tenths[rng.bounded(8)]);
        const Worked w = topic.solve(f, Operation::ToBinary, text);
        if (!w.refused)
            return text;
        most /= 2;  // too large, most likely: try smaller
    }
    return QString();
}

std::optional<Topic::CalculationMark> mark(const Topic &topic, const Format &f, Operation operation,
                                           const Calculation &c, const QString &answer, const Worked &right)
{
    // The answer as the workbench writes it, whole, is right.
    if (answer.simplified() == right.text.simplified())
        return Mark{true, Mistake::None, Words::tr("Right.")};
    switch (operation) {
    case Operation::Add:
    case Operation::Subtract:
        return markSum(topic, f, operation == Operation::Subtract, c, answer, right);
    case Operation::Error:
        return markError(topic, f, c, answer, right);
    case Operation::Compare:
        return markCompare(topic, f, c, answer, right);
    default:
        break;
    }
    return std::nullopt;
}

}  // namespace floating

}  // namespace quorvex::workbench
