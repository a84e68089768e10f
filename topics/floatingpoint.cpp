// SPDX-License-Identifier: MIT
// Floating point with a two's complement mantissa (its point after the sign
// bit) and a two's complement exponent. A number to bits: its magnitude in
// binary, the point moved to stand before the first 1, the digits cut to
// the mantissa, a negative mantissa's two's complement (shifted back when it
// starts 11), the exponent in two's complement. Bits to a number: the
// mantissa's value, the point moved by the exponent. Normalising shifts the
// mantissa left until its first two bits differ.
#include "engine/bitpattern.h"
#include "engine/methods.h"
#include "engine/questions.h"
#include "engine/topic.h"
#include "engine/words.h"
#include "topics/bitgroups.h"
#include "topics/floatarithmetic.h"
#include "topics/floatingparts.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>

namespace quorvex::workbench {

using exact::Number;
using patterns::fromBits;
using patterns::lowBits;
using patterns::toBits;
using patterns::twosWhole;

namespace step {

// A negative mantissa that starts 11 is shifted left.
struct Renormalised {
    QString before, after;
    qint64 exponent = 0;  // the exponent after
    bool possible = true;
    qint64 lowest = 0;
};
struct MantissaValue {
    QString bits;
    exact::Number value;
};
// The mantissa's point moved by the exponent, as two's complement fixed point.
struct PointMoved {
    qint64 exponent = 0;
    QString moved;  // with its point
    int fraction = 0;
};

}  // namespace step

QUORVEX_STEP(step::Renormalised)
QUORVEX_STEP(step::MantissaValue)
QUORVEX_STEP(step::PointMoved)

namespace floating {

QString exponentBits(const Format &f, qint64 e) { return toBits(quint64(e) & lowBits(f.exponent), f.exponent); }

qint64 exponentValue(const Format &f, const QString &bits)
{
    return qint64(fromBits(bits)) - (bits.at(0) == u'1' ? qint64(1) << f.exponent : 0);
}

}  // namespace floating

namespace {

using floating::exponentBits;
using floating::exponentValue;

Number mantissaValue(const Format &f, quint64 mantissa)
{
    return wholeValue(mantissa, f.mantissa, true).times2(-f.mantissaFraction());
}

}  // namespace

// ---- Words ------------------------------------------------------------------------

template <>
QString StepOf<step::TooLarge>::why(const Words &w) const
{
    return (value.negative ? Words::tr("Overflow: %1 does not fit: the most negative value of this format is %2")
                           : Words::tr("Overflow: %1 does not fit: the largest value of this format is %2"))
        .arg(w.typed(value.value), w.num(value.limit));
}
template <>
void StepOf<step::TooLarge>::say(Words &w) const
{
    const step::TooLarge &s = value;
    w.para(why(w) + u'.');
    if (s.exponent != 0)
        w.para(Words::tr("Normalised, it needs the exponent %1, but %2 is the largest an exponent of %3 holds.")
                   .arg(w.num(s.exponent), w.num(s.highest), Words::count(w.format().exponent)));
    w.para(Words::tr("That value is %1.").arg(w.pattern(s.limitBits)));
}

template <>
QString StepOf<step::TooSmall>::why(const Words &w) const
{
    const step::TooSmall &s = value;
    const QString smallest = w.times(QStringLiteral("0.1"), s.lowest) + QStringLiteral(" = ") + w.num(s.smallest);
    return (s.value.exact && s.value.value.sign() < 0
                ? Words::tr("Underflow: the magnitude of %1 is below the smallest positive normalised value of this "
                            "format, %2")
                : Words::tr("Underflow: %1 is below the smallest positive normalised value of this format, %2"))
        .arg(w.typed(s.value), smallest);
}
template <>
void StepOf<step::TooSmall>::say(Words &w) const
{
    const step::TooSmall &s = value;
    w.para(why(w) + u'.');
    if (s.exponent != 0)
        w.para(Words::tr("Normalised, it needs the exponent %1, but %2 is the lowest an exponent of %3 holds.")
                   .arg(w.num(s.exponent), w.num(s.lowest), Words::count(w.format().exponent)));
    w.para(Words::tr("That value is %1.").arg(w.pattern(s.smallestBits)));
}

template <>
void StepOf<step::Zero>::say(Words &w) const
{
    w.para(Words::tr("0 has no 1 to move the point to: zero is written all zeros."));
}

template <>
void StepOf<step::Normalised>::say(Words &w) const
{
    const step::Normalised &s = value;
    QString fraction = s.fraction;
    while (!s.moreLost && fraction.endsWith(u'0'))
        fraction.chop(1);
    const QString found = fraction.isEmpty() ? s.whole : s.whole + u'.' + fraction;
    w.para(Words::tr("In binary the magnitude is %1%2.")
               .arg(w.bits(found), s.moreLost || !s.lost.isEmpty() ? QStringLiteral("\u2026") : QString()));
    QString significant = s.whole + s.fraction;
    significant.remove(0, significant.indexOf(u'1'));
    const QString normal = w.times(w.bits(QStringLiteral("0.") + significant), s.exponent);
    if (s.exponent > 0)
        w.para(Words::tr("Normalise: move the point %1 left, to stand just before the first 1: %2. The "
                         "exponent is %3.")
                   .arg(w.places(s.exponent), normal, w.num(s.exponent)));
    else if (s.exponent < 0)
        w.para(Words::tr("Normalise: move the point %1 right, to stand just before the first 1: %2. The "
                         "exponent is %3.")
                   .arg(w.places(-s.exponent), normal, w.num(s.exponent)));
    else
        w.para(Words::tr("The point already stands just before the first 1: %1. The exponent is 0.").arg(normal));
    const QString mantissa = w.bits(QStringLiteral("0.") + s.digits);
    if (s.nearest && (!s.lost.isEmpty() || s.moreLost)) {
        const QString cut = w.bits(QStringLiteral("0.") + s.cutDigits);
        if (!s.roundedUp)
            w.para(Words::tr("The mantissa has %1 after its sign bit; rounding to nearest, what is left after them "
                             "is less than half the last place, so they stay as cut: %2.")
                       .arg(Words::count(s.digits.size()), mantissa));
        else if (s.carriedOut)
            w.para(Words::tr("The mantissa has %1 after its sign bit: cut there, %2. Rounding to nearest, what is "
                             "left is half the last place or more, so 1 is added to the last place; it carries "
                             "all the way, giving 1.0, which is normalised again as %3 with the exponent %4. "
                             "(Cutting would give %2.)")
                       .arg(Words::count(s.digits.size()), cut, mantissa, w.num(s.roundedExponent)));
        else
            w.para(Words::tr("The mantissa has %1 after its sign bit: cut there, %2. Rounding to nearest, what is "
                             "left is half the last place or more, so 1 is added to the last place: %3. (Cutting "
                             "would give %2.)")
                       .arg(Words::count(s.digits.size()), cut, mantissa));
    } else if (s.lost.isEmpty() && !s.moreLost)
        w.para(Words::tr("The mantissa has %1 after its sign bit: %2.").arg(Words::count(s.digits.size()), mantissa));
    else
        w.para(Words::tr("The mantissa has %1 after its sign bit, so the digits are cut there (not rounded): %2.")
                   .arg(Words::count(s.digits.size()), mantissa));
}

template <>
void StepOf<step::Renormalised>::say(Words &w) const
{
    const step::Renormalised &s = value;
    if (s.possible)
        w.para(Words::tr("%1 starts 11, which is not normalised: shift it one place left, %2, and take 1 from the "
                         "exponent, which becomes %3.")
                   .arg(w.bits(s.before), w.bits(s.after), w.num(s.exponent)));
    else
        w.para(Words::tr("%1 starts 11, which is not normalised, but the exponent cannot go below %2: the pair "
                         "stays as it is.")
                   .arg(w.bits(s.before), w.num(s.lowest)));
}

template <>
void StepOf<step::ExponentBits>::say(Words &w) const
{
    const step::ExponentBits &s = value;
    if (s.exponent < 0)
        w.para(Words::tr("The exponent %1 is negative: its size %2 in %3 is %4.")
                   .arg(w.num(s.exponent), w.num(-s.exponent), Words::count(w.format().exponent), w.bits(s.magnitude)));
    else
        w.para(Words::tr("The exponent %1 in %2 is %3.")
                   .arg(w.num(s.exponent), Words::count(w.format().exponent), w.bits(s.bits)));
}

template <>
void StepOf<step::FloatingHeld>::say(Words &w) const
{
    const step::FloatingHeld &s = value;
    const int fraction = w.format().mantissaFraction();
    w.para(Words::tr("The mantissa %1 is %2 = %3; with the exponent %4 the pair holds %5 = %6.")
               .arg(w.point(s.mantissa, fraction), floating::mantissaSum(w, s.mantissa, s.code), w.num(s.mantissaValue),
                    w.bits(s.exponentBits), w.times(w.num(s.mantissaValue), s.exponent), w.num(s.held)));
    w.difference(s.typed, s.difference);
    if (s.nearest)
        w.para(Words::tr("Here the mantissa's last place is worth %1 = %2: rounding to nearest leaves a difference "
                         "of at most half of that, %3, either way.")
                   .arg(w.power(s.cutPower), w.num(Number::power2(s.cutPower)), w.num(Number::power2(s.cutPower - 1))));
    else if (s.cutPower == s.stepPower)
        w.para(Words::tr("Here the mantissa's last place is worth %1 = %2: the cut leaves a difference of less than "
                         "that, towards zero.")
                   .arg(w.power(s.stepPower), w.num(Number::power2(s.stepPower))));
    else
        w.para(Words::tr("Here the mantissa's last place is worth %1 = %2; the digits were cut before the mantissa "
                         "was shifted back, where the last place was worth %3 = %4, so the cut leaves a difference of "
                         "less than that, towards zero.")
                   .arg(w.power(s.stepPower), w.num(Number::power2(s.stepPower)), w.power(s.cutPower),
                        w.num(Number::power2(s.cutPower))));
}

template <>
void StepOf<step::MantissaValue>::say(Words &w) const
{
    const int fraction = int(value.bits.size()) - 1;
    make(step::PlaceTable{value.bits, fraction, true})->say(w);
    w.para(Words::tr("The mantissa %1 is %2 = %3.")
               .arg(w.point(value.bits, fraction), w.sum(value.bits, fraction, true), w.num(value.value)));
}

template <>
void StepOf<step::ExponentValue>::say(Words &w) const
{
    w.para(Words::tr("The exponent %1 in two's complement is %2 = %3.")
               .arg(w.bits(value.bits), w.sum(value.bits, 0, true), w.num(value.value)));
}

template <>
void StepOf<step::PointMoved>::say(Words &w) const
{
    const step::PointMoved &s = value;
    const QString moved = w.point(s.moved, s.fraction);
    QString how;
    if (s.exponent > 0)
        how = Words::tr("Move the point %1 right: %2").arg(w.places(s.exponent), moved);
    else if (s.exponent < 0)
        how = Words::tr("Move the point %1 left, filling with copies of the sign bit: %2")
                  .arg(w.places(-s.exponent), moved);
    else
        how = Words::tr("The exponent is 0: the point stays where it is: %1").arg(moved);
    w.para(Words::tr("%1 = %2.").arg(how, w.sum(s.moved, s.fraction, true)));
}

template <>
void StepOf<step::FloatingValue>::say(Words &w) const
{
    w.para(Words::tr("The value is %1 = %2.").arg(w.times(w.num(value.mantissa), value.exponent), w.num(value.value)));
}

template <>
void StepOf<step::NormalisedCheck>::say(Words &w) const
{
    const step::NormalisedCheck &s = value;
    if (s.code == MantissaCode::SignMagnitude) {
        switch (s.kind) {
        case step::NormalisedCheck::Kind::Normalised:
            w.para(Words::tr("The magnitude after the sign bit starts with 1, so the pair is normalised."));
            break;
        case step::NormalisedCheck::Kind::Zero:
            w.para(Words::tr("The magnitude is 0, so the value is 0, whatever the sign bit; zero is written all "
                             "zeros, %1.")
                       .arg(w.bits(s.pair)));
            break;
        case step::NormalisedCheck::Kind::NotNormalised:
            w.para(Words::tr("The magnitude after the sign bit starts with 0, so the pair is not normalised. "
                             "Normalised, the same value is %1.")
                       .arg(w.bits(s.pair)));
            break;
        case step::NormalisedCheck::Kind::CannotNormalise:
            w.para(Words::tr("The magnitude after the sign bit starts with 0, so the pair is not normalised, and it "
                             "cannot be: its exponent would go below %1.")
                       .arg(w.num(s.lowest)));
            break;
        }
        return;
    }
    switch (s.kind) {
    case step::NormalisedCheck::Kind::Normalised:
        w.para(Words::tr("The mantissa's first two bits differ, so the pair is normalised."));
        break;
    case step::NormalisedCheck::Kind::Zero:
        w.para(Words::tr("The mantissa is 0, so the value is 0; zero is written all zeros, %1.").arg(w.bits(s.pair)));
        break;
    case step::NormalisedCheck::Kind::NotNormalised:
        w.para(Words::tr("The mantissa's first two bits are the same, so the pair is not normalised. Normalised, "
                         "the same value is %1.")
                   .arg(w.bits(s.pair)));
        break;
    case step::NormalisedCheck::Kind::CannotNormalise:
        w.para(Words::tr("The mantissa's first two bits are the same, so the pair is not normalised, and it cannot "
                         "be: its exponent would go below %1.")
                   .arg(w.num(s.lowest)));
        break;
    }
}

template <>
QString StepOf<step::Shifts>::why(const Words &w) const
{
    return Words::tr("Underflow: %1 cannot be normalised: its exponent would go below %2.")
        .arg(w.pattern(value.start.mantissa + exponentBits(w.format(), value.start.exponent)), w.num(value.lowest));
}
template <>
void StepOf<step::Shifts>::say(Words &w) const
{
    const step::Shifts &s = value;
    const Format &f = w.format();
    w.para(Words::tr("The mantissa %1 with the exponent %2 (%3).")
               .arg(w.bits(s.start.mantissa), w.bits(exponentBits(f, s.start.exponent)), w.num(s.start.exponent)));
    const bool signMagnitude = s.code == MantissaCode::SignMagnitude;
    if (s.stop == step::Shifts::Stop::Zero) {
        w.para((signMagnitude ? Words::tr("The magnitude is all zeros: zero cannot be normalised, there being no 1 "
                                          "to move the point to. Zero is written all zeros: %1.")
                              : Words::tr("The mantissa is all zeros: zero cannot be normalised, there being no 1 to "
                                          "move the point to. Zero is written all zeros: %1."))
                   .arg(w.bits(s.pair)));
        return;
    }
    if (s.stop == step::Shifts::Stop::AlreadyNormalised) {
        w.para(signMagnitude ? Words::tr("Its magnitude after the sign bit starts with 1: it is already normalised.")
                             : Words::tr("Its first two bits differ: it is already normalised."));
        return;
    }
    w.para(signMagnitude ? Words::tr("Its magnitude after the sign bit starts with 0: shift the magnitude one place "
                                     "left (a 0 comes in on the right; the sign bit stays as it is) and take 1 from "
                                     "the exponent, until the magnitude starts with 1.")
                         : Words::tr("Its first two bits are the same: shift the mantissa one place left (a 0 comes "
                                     "in on the right) and take 1 from the exponent, until they differ."));
    std::vector<QStringList> rows{{Words::tr("shift"), Words::tr("mantissa"), Words::tr("exponent")}};
    for (size_t k = 0; k < s.rows.size(); ++k)
        rows.push_back({QString::number(k + 1), w.bits(s.rows[k].mantissa),
                        w.bits(exponentBits(f, s.rows[k].exponent)) + QStringLiteral(" (") + w.num(s.rows[k].exponent)
                            + u')'});
    if (!s.rows.empty())
        w.table(rows, true);
    if (s.stop == step::Shifts::Stop::Lowest)
        w.para((s.rows.empty() ? Words::tr("The exponent is %1, the lowest it can be: the mantissa cannot shift, so "
                                           "the pair cannot be normalised.")
                               : Words::tr("The exponent is %1, the lowest it can be: the mantissa cannot shift "
                                           "again, so the pair cannot be normalised."))
                   .arg(w.num(s.lowest)));
    else
        w.para((signMagnitude ? Words::tr("Now the magnitude starts with 1: the normalised pair is %1, with the same "
                                          "value.")
                              : Words::tr("Now the first two bits differ: the normalised pair is %1, with the same "
                                          "value."))
                   .arg(w.bits(s.pair)));
}

template <>
void StepOf<step::FloatingStep>::say(Words &w) const
{
    if (value.code == MantissaCode::SignMagnitude)
        w.para(Words::tr("The largest magnitude with the largest exponent, the smallest normalised magnitude (0.1) "
                         "with the lowest exponent, and the largest magnitude again with the sign bit 1: the range is "
                         "symmetric, its most negative value the largest with a minus sign. (A two's complement "
                         "mantissa goes one step further, to %1.)")
                   .arg(QStringLiteral("\u2212") + u'1'));
    else
        w.para(Words::tr("The largest mantissa with the largest exponent, the smallest normalised positive mantissa "
                         "with the lowest exponent, and %1 with the largest exponent.")
                   .arg(QStringLiteral("\u2212") + u'1'));
    w.para(Words::tr("Step near 1: %1 = %2 and %3 = %4 are neighbours, %5 apart.")
               .arg(w.pattern(value.one.bits), w.num(value.one.value), w.pattern(value.next.bits),
                    w.num(value.next.value), w.num(value.step)));
}

namespace {

using practice::BitsMarking;
using practice::Candidate;
using practice::Mistake;
using practice::Misreading;
using practice::NumberMarking;
using practice::shown;
namespace pw = practice;

class FloatingTopic final : public Topic {
public:
    Representation representation() const override { return Representation::Floating; }
    QString title() const override { return Words::tr("Floating point (two's complement mantissa and exponent)"); }
    QString usage() const override { return QStringLiteral("float:M:E"); }
    QString usageHelp() const override
    {
        return Words::tr("floating point, an M-bit two's complement mantissa (%1 to %2) and an E-bit two's "
                         "complement exponent (%3 to %4)")
            .arg(limits::minMantissa)
            .arg(limits::maxMantissa)
            .arg(limits::minExponent)
            .arg(limits::maxExponent);
    }
    std::optional<Format> parse(QStringView widths, QString *why) const override
    {
        return floating::parseWidths(*this, widths, why);
    }
    QString name(const Format &f) const override
    {
        return QStringLiteral("float:%1:%2").arg(f.mantissa).arg(f.exponent);
    }
    QList<Width> widths() const override { return {Width::Mantissa, Width::Exponent}; }
    bool offered(const Format &f) const override { return floating::offeredWidths(f); }
    QList<Operation> operations() const override
    {
        return {Operation::ToBinary, Operation::ToDenary, Operation::ToHex, Operation::Normalise, Operation::Range};
    }
    QList<Operation> calculations() const override
    {
        return {Operation::Add, Operation::Subtract, Operation::Error, Operation::Compare};
    }
    QList<Rounding> roundings() const override { return {Rounding::Cut, Rounding::Nearest}; }
    Worked calculate(const Format &f, Operation operation, const Calculation &c) const override
    {
        switch (operation) {
        case Operation::Add:
        case Operation::Subtract:
            return floating::addOrSubtract(*this, f, operation == Operation::Subtract, c.operands);
        case Operation::Error:
            return floating::error(*this, f, c.operands.value(0));
        case Operation::Compare:
            return floating::compare(*this, f, c);
        default:
            break;
        }
        return Topic::calculate(f, operation, c);
    }
    std::optional<CalculationMark> markCalculation(const Format &f, Operation operation, const Calculation &c,
                                                   const QString &answer, const Worked &right) const override
    {
        return floating::mark(*this, f, operation, c, answer, right);
    }

    // The mantissa with its point after the sign bit (worth -1), then the
    // exponent, both in two's complement.
    std::vector<BitGroup> groups(const Format &f) const override
    {
        return {placeGroup(Words::tr("the mantissa"), f.mantissa, -f.mantissaFraction(), true),
                placeGroup(Words::tr("the exponent"), f.exponent, 0, true)};
    }
    QString describe(const Format &f) const override
    {
        return Words::tr("floating point with %1 and %2")
            .arg(Words::widthName(f.mantissa, Words::tr("mantissa")), Words::widthName(f.exponent, Words::tr("exponent")));
    }
    QString patternName(const Format &f) const override
    {
        return Words::tr("a pair of %1 and %2")
            .arg(Words::widthName(f.mantissa, Words::tr("mantissa")), Words::widthName(f.exponent, Words::tr("exponent")));
    }
    QString pairParts(const Format &f) const override
    {
        return pw::Words::tr("%1 and %2, both in two's complement")
            .arg(Words::widthName(f.mantissa, pw::Words::tr("mantissa")),
                 Words::widthName(f.exponent, pw::Words::tr("exponent")));
    }
    QString heading(const Format &f) const override
    {
        return pw::Words::tr("Floating point: %1-bit two's complement mantissa, %2-bit exponent")
            .arg(f.mantissa)
            .arg(f.exponent);
    }
    QString written(const Format &f, const QString &bits) const override { return floating::writtenPair(f, bits); }
    QString printed(const Format &f, const QString &bits) const override { return floating::printedPair(f, bits); }
    QString wrongCount(const Words &w, qsizetype typed) const override
    {
        return floating::wrongCountText(w, typed);
    }

    Worked solve(const Format &f, Operation operation, const QString &input) const override
    {
        switch (operation) {
        case Operation::ToBinary:
            return toBinary(f, input);
        case Operation::ToDenary:
            return toDenary(f, input);
        case Operation::Normalise:
            return normaliseBits(f, input);
        case Operation::ToHex:
            return hexAnswer(*this, f, input);
        default:  // a calculation: Topic::calculate
            return refuse({}, make(step::BadFormat{}));
        case Operation::Range:
            break;
        }
        return range(f);
    }

    Number valueOf(const Format &f, const QString &bits) const override
    {
        return patterns::twosValue(QStringView(bits).left(f.mantissa))
            .times2(twosWhole(QStringView(bits).mid(f.mantissa)) - f.mantissaFraction());
    }
    QString pointProblem(const BitsMarking &m) const override { return floating::pointProblem(m); }
    QString countNote(const BitsMarking &m) const override { return floating::countNote(m); }
    bool notNormalised(const BitsMarking &m) const override { return m.sv == m.rv; }
    std::vector<Candidate> candidates(const BitsMarking &m) const override;
    QString sentence(const BitsMarking &m, Mistake mistake) const override;
    qsizetype stepFor(const BitsMarking &m, Mistake mistake) const override;
    std::vector<Misreading> misreadings(const NumberMarking &m) const override;
    QString sentence(const NumberMarking &m, const Misreading &c) const override;
    qsizetype stepFor(const NumberMarking &m, const Misreading &c) const override;
    qsizetype otherStep(const NumberMarking &m) const override { return qsizetype(m.steps.size()) - 1; }

    QString newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const override;

private:
    Worked toBinary(const Format &f, const QString &input) const;
    Worked toDenary(const Format &f, const QString &input) const;
    Worked normaliseBits(const Format &f, const QString &input) const;
    Worked range(const Format &f) const;
    Number heldValue(const Format &f, QRandomGenerator &rng, bool negative) const;
    QString normaliseQuestion(const Format &f, QRandomGenerator &rng) const;
};

// ---- The method ------------------------------------------------------------------

}  // namespace

namespace floating {

std::optional<Format> parseWidths(const Topic &topic, QStringView widths, QString *why)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3}):(\\d{1,3})$"));
    const QRegularExpressionMatch m = pattern.match(widths);
    if (!m.hasMatch()) {
        *why = Words::tr("%1 takes two widths, such as %2:8:4").arg(topic.usage(), topic.usage().section(u':', 0, 0));
        return std::nullopt;
    }
    const Format f{.representation = topic.representation(),
                   .mantissa = m.captured(1).toInt(),
                   .exponent = m.captured(2).toInt()};
    if (f.mantissa < limits::minMantissa || f.mantissa > limits::maxMantissa)
        *why = Words::tr("a mantissa has %1 to %2 bits, not %3").arg(limits::minMantissa).arg(limits::maxMantissa).arg(f.mantissa);
    else if (f.exponent < limits::minExponent || f.exponent > limits::maxExponent)
        *why = Words::tr("an exponent has %1 to %2 bits, not %3").arg(limits::minExponent).arg(limits::maxExponent).arg(f.exponent);
    else
        return f;
    return std::nullopt;
}

bool offeredWidths(const Format &f)
{
    return f.mantissa >= limits::minMantissa && f.mantissa <= limits::maxMantissa
        && f.exponent >= limits::minExponent && f.exponent <= limits::maxExponent;
}

QString writtenPair(const Format &f, const QString &bits)
{
    return bits.left(f.mantissa) + u' ' + bits.mid(f.mantissa);
}

QString printedPair(const Format &f, const QString &bits)
{
    // Each part in fours from the left when it divides so.
    const auto fromLeft = [](const QString &b) {
        QString out;
        for (qsizetype i = 0; i < b.size(); ++i) {
            if (i > 0 && i % 4 == 0)
                out += u' ';
            out += b.at(i);
        }
        return out;
    };
    const auto part = [&](const QString &b) { return b.size() > 4 && b.size() % 4 == 0 ? fromLeft(b) : b; };
    return part(bits.left(f.mantissa)) + u' ' + part(bits.mid(f.mantissa));
}

QString wrongCountText(const Words &w, qsizetype typed)
{
    const Format &f = w.format();
    const QString typedCount = typed == 1 ? Words::tr("1 was typed") : Words::tr("%1 were typed").arg(typed);
    return Words::tr("%1 and %2 need %3; %4.")
        .arg(Words::widthName(f.mantissa, Words::tr("mantissa")), Words::widthName(f.exponent, Words::tr("exponent")),
             Words::count(f.totalBits()), typedCount);
}

QString pointProblem(const BitsMarking &m)
{
    const int at = m.student.points.front();
    if (at == 1)
        return QString();
    return pw::Words::tr("Your answer has its point after %1; the mantissa's point stands after its sign bit, "
                         "after %2.")
        .arg(pw::count(at), pw::count(1));
}

QString countNote(const BitsMarking &m)
{
    const Format &f = m.format;
    const QList<int> &g = m.student.groups;
    const qsizetype n = m.s.size();
    if (g.size() < 2)
        return QString();
    const int last = g.back();
    if (last != f.exponent && n - last == f.mantissa)
        return pw::Words::tr("Its exponent has %1, not %2.").arg(pw::count(last)).arg(f.exponent);
    if (last == f.exponent && n - last != f.mantissa)
        return pw::Words::tr("Its mantissa has %1, not %2.").arg(pw::count(n - last)).arg(f.mantissa);
    return QString();
}

QString mantissaSum(const Words &w, const QString &mantissa, MantissaCode code)
{
    const int fraction = int(mantissa.size()) - 1;
    if (code == MantissaCode::Twos)
        return w.sum(mantissa, fraction, true);
    const QString magnitude = w.sum(mantissa.mid(1), fraction, false);
    return mantissa.startsWith(u'1') ? QStringLiteral("\u2212(") + magnitude + u')' : magnitude;
}

step::Extreme largest(const Format &f)
{
    const QString m = u'0' + QString(f.mantissa - 1, u'1');
    return {m + exponentBits(f, f.highestExponent()), mantissaValue(f, fromBits(m)).times2(f.highestExponent())};
}

step::Extreme smallestNormalised(const Format &f)
{
    return {QStringLiteral("01") + QString(f.mantissa - 2, u'0') + exponentBits(f, f.lowestExponent()),
            Number::power2(f.lowestExponent() - 1)};
}

step::FloatingStep stepNearOne(const Format &f, MantissaCode code)
{
    step::FloatingStep near;
    near.code = code;
    // 1 is 0.1 x 2^1; the step is the gap to the next value up, or,
    // where there is none, to the one below.
    const QString half = QStringLiteral("01") + QString(f.mantissa - 2, u'0');
    if (f.mantissa >= 3) {
        near.one = {half + exponentBits(f, 1), Number(1)};
        const QString next = half.left(f.mantissa - 1) + u'1';
        near.next = {next + exponentBits(f, 1), mantissaValue(f, fromBits(next)).times2(1)};
    } else if (f.highestExponent() >= 2) {
        near.one = {half + exponentBits(f, 1), Number(1)};
        near.next = {half + exponentBits(f, 2), Number(2)};
    } else {
        near.one = {half + exponentBits(f, 0), mantissaValue(f, 1)};
        near.next = {half + exponentBits(f, 1), Number(1)};
    }
    near.step = near.next.value - near.one.value;
    return near;
}

Cut cutMagnitude(const Format &f, const Number &size)
{
    const int m = f.mantissa;
    Cut c;
    c.cutOrder = size.binaryOrder();
    c.exponent = c.cutOrder;
    // The mantissa's digits after its sign bit, cut after the last; to
    // nearest, 1 more in the last place when what is left is half a place
    // or more (ties away from zero), which may carry out into 1.0.
    const Number scaled = size.times2(m - 1 - c.cutOrder);
    c.cutDigits = scaled.truncated().toUnsigned();
    c.digits = c.cutDigits;
    if (f.rounding == Rounding::Nearest && scaled - Number::fromUnsigned(c.cutDigits) >= Number::power2(-1)) {
        c.roundedUp = true;
        ++c.digits;
        if (c.digits == quint64(1) << (m - 1)) {
            c.carriedOut = true;
            c.digits = quint64(1) << (m - 2);
            ++c.exponent;
        }
    }
    return c;
}

ToWrite readToWrite(const Topic &topic, const Format &f, const QString &input, const step::Extreme &mostNegative)
{
    ToWrite w;
    w.reading = exact::readDecimal(input);
    const exact::Reading &r = w.reading;
    if (r.kind == exact::Reading::Kind::NotANumber) {
        w.answered = refuse({}, make(step::NotANumber{input}));
        return w;
    }
    w.typed = typedOf(r, input);
    w.steps = readingSteps(r, input);
    if (r.kind == exact::Reading::Kind::Huge)
        w.answered = overflow(w, f, mostNegative, 0);
    else if (r.kind == exact::Reading::Kind::Tiny)
        w.answered = underflow(w, f, 0);
    else if (r.value.isZero()) {
        const QString zeros = topic.written(f, QString(f.totalBits(), u'0'));
        w.steps.push_back(make(step::Zero{}));
        w.steps.push_back(make(step::Result{w.typed, zeros}));
        w.answered = Worked{false, zeros, std::move(w.steps), std::nullopt};
    } else {
        w.size = r.value.abs();
        w.cut = cutMagnitude(f, w.size);
    }
    return w;
}

Worked overflow(ToWrite &w, const Format &f, const step::Extreme &mostNegative, qint64 exponent)
{
    const bool negative = w.reading.negative;
    const step::Extreme limit = negative ? mostNegative : largest(f);
    return refuse(std::move(w.steps),
                  make(step::TooLarge{w.typed, negative, limit.value, limit.bits, exponent, f.highestExponent()}));
}

Worked underflow(ToWrite &w, const Format &f, qint64 exponent)
{
    const step::Extreme s = smallestNormalised(f);
    return refuse(std::move(w.steps), make(step::TooSmall{w.typed, exponent, f.lowestExponent(), s.value, s.bits}));
}

void magnitudeSteps(const Format &f, const Number &size, const Cut &c, Steps &steps)
{
    const int m = f.mantissa;
    const qint64 cutOrder = c.cutOrder;
    // The size in binary: whole part, then the fraction doubled as far as
    // the mantissa can use.
    const Number whole = size.truncated();
    step::Normalised normalised;
    normalised.exponent = cutOrder;
    normalised.roundedExponent = c.exponent;
    normalised.digits = toBits(c.digits, m - 1);
    normalised.nearest = f.rounding == Rounding::Nearest;
    normalised.cutDigits = toBits(c.cutDigits, m - 1);
    normalised.roundedUp = c.roundedUp;
    normalised.carriedOut = c.carriedOut;
    if (!whole.isZero()) {
        if (const quint64 w = whole.toUnsigned(); w != 0)
            steps.push_back(make(subtractions(w, 64)));
        else
            steps.push_back(make(step::WholeBinary{whole, whole.wholeBinary()}));
        normalised.whole = whole.wholeBinary();
    } else {
        normalised.whole = QStringLiteral("0");
    }
    const int fractionRows = int(whole.isZero() ? -cutOrder + (m - 1) : std::max<qint64>(0, (m - 1) - cutOrder));
    const Number fraction = size - whole;
    if (fractionRows > 0 && !fraction.isZero()) {
        step::Doubling d = doubling(fraction, fractionRows, normalised.fraction);
        normalised.moreLost = !d.remainder.isZero();
        steps.push_back(make(std::move(d)));
    } else {
        normalised.moreLost = !fraction.isZero();
    }
    if (cutOrder > m - 1) {
        normalised.lost = normalised.whole.mid(m - 1);
        while (normalised.lost.endsWith(u'0'))
            normalised.lost.chop(1);
    }
    steps.push_back(make(std::move(normalised)));
}

void exponentSteps(const Format &f, qint64 e, Steps &steps)
{
    step::ExponentBits exponent{e, QString(), exponentBits(f, e)};
    if (e < 0) {
        exponent.magnitude = toBits(quint64(-e), f.exponent);
        const QString magnitude = exponent.magnitude;
        steps.push_back(make(std::move(exponent)));
        steps.push_back(make(twosComplement(magnitude, step::TwosComplement::Of::Exponent)));
    } else {
        steps.push_back(make(std::move(exponent)));
    }
}

step::Shifts normalise(const Topic &topic, const Format &f, MantissaCode code, const QString &mantissa,
                       qint64 exponent)
{
    step::Shifts s;
    s.code = code;
    s.start = {mantissa, exponent};
    s.lowest = f.lowestExponent();
    // Two's complement is normalised when its first two bits differ; a
    // sign and a magnitude, when the magnitude starts with 1.
    const auto unnormalised = [code](const QString &bits) {
        return code == MantissaCode::Twos ? bits.at(0) == bits.at(1) : bits.at(1) == u'0';
    };
    QString m = mantissa;
    qint64 e = exponent;
    if (!m.mid(code == MantissaCode::Twos ? 0 : 1).contains(u'1')) {
        s.stop = step::Shifts::Stop::Zero;
        s.pair = topic.written(f, QString(f.totalBits(), u'0'));
        return s;
    }
    s.stop = unnormalised(m) ? step::Shifts::Stop::Normalised : step::Shifts::Stop::AlreadyNormalised;
    while (unnormalised(m)) {
        if (e == s.lowest) {
            s.stop = step::Shifts::Stop::Lowest;
            break;
        }
        m = code == MantissaCode::Twos ? m.mid(1) + u'0' : m.left(1) + m.mid(2) + u'0';
        --e;
        s.rows.push_back({m, e});
    }
    s.pair = topic.written(f, m + exponentBits(f, e));
    return s;
}

step::NormalisedCheck checkOf(const step::Shifts &s)
{
    step::NormalisedCheck check;
    check.pair = s.pair;
    check.lowest = s.lowest;
    check.code = s.code;
    switch (s.stop) {
    case step::Shifts::Stop::Zero:
        check.kind = step::NormalisedCheck::Kind::Zero;
        break;
    case step::Shifts::Stop::AlreadyNormalised:
        check.kind = step::NormalisedCheck::Kind::Normalised;
        break;
    case step::Shifts::Stop::Normalised:
        check.kind = step::NormalisedCheck::Kind::NotNormalised;
        break;
    case step::Shifts::Stop::Lowest:
        check.kind = step::NormalisedCheck::Kind::CannotNormalise;
        break;
    }
    return check;
}

}  // namespace floating

namespace {

step::Extreme mostNegativeFloating(const Format &f)
{
    return {u'1' + QString(f.mantissa - 1, u'0') + exponentBits(f, f.highestExponent()),
            -Number::power2(f.highestExponent())};
}

Worked FloatingTopic::toBinary(const Format &f, const QString &input) const
{
    floating::ToWrite w = floating::readToWrite(*this, f, input, mostNegativeFloating(f));
    if (w.answered)
        return *w.answered;
    const exact::Reading &r = w.reading;
    const int m = f.mantissa;
    const qint64 highest = f.highestExponent(), lowest = f.lowestExponent();
    const floating::Cut &cut = w.cut;
    qint64 e = cut.exponent;
    // A negative size that cuts to 0.1000... negates to 1.1000..., which
    // normalises to 1.0000... with the exponent one less.
    const bool shiftsBack = r.negative && cut.digits == (quint64(1) << (m - 2));
    if ((shiftsBack && e - 1 >= lowest ? e - 1 : e) > highest)
        return floating::overflow(w, f, mostNegativeFloating(f), e);
    if (e < lowest)
        return floating::underflow(w, f, e);
    if (r.negative)
        w.steps.push_back(make(step::Negative{r.value, true}));
    floating::magnitudeSteps(f, w.size, cut, w.steps);
    // The cut is made where the point was put to normalise the magnitude,
    // before a negative mantissa is shifted back.
    const qint64 cutPower = cut.cutOrder - (m - 1);

    QString mantissa = u'0' + toBits(cut.digits, m - 1);
    if (r.negative) {
        step::TwosComplement t = twosComplement(mantissa, step::TwosComplement::Of::Mantissa, m - 1);
        mantissa = t.result;
        w.steps.push_back(make(std::move(t)));
        if (mantissa.startsWith(QStringLiteral("11"))) {
            const bool possible = e - 1 >= lowest;
            const QString after = mantissa.mid(1) + u'0';
            w.steps.push_back(make(step::Renormalised{mantissa, after, possible ? e - 1 : e, possible, lowest}));
            if (possible) {
                mantissa = after;
                --e;
            }
        }
    }
    floating::exponentSteps(f, e, w.steps);
    const QString exponentPattern = exponentBits(f, e);
    const Number mv = mantissaValue(f, fromBits(mantissa));
    const Number held = mv.times2(e);
    const QString answer = written(f, mantissa + exponentPattern);
    w.steps.push_back(make(
        step::FloatingHeld{mantissa, exponentPattern, mv, e, held, w.typed, r.value - held, e - (m - 1), cutPower,
                           f.rounding == Rounding::Nearest}));
    w.steps.push_back(make(step::Result{w.typed, answer}));
    return {false, answer, std::move(w.steps), held};
}

Worked FloatingTopic::toDenary(const Format &f, const QString &input) const
{
    ReadBits read = readBits(f.totalBits(), input);
    if (!read.ok)
        return refuse({}, read.refusal);
    Steps steps = std::move(read.steps);
    const QString mantissa = read.bits.left(f.mantissa);
    const QString exponent = read.bits.mid(f.mantissa);
    const Number mv = mantissaValue(f, fromBits(mantissa));
    const qint64 e = exponentValue(f, exponent);
    const Number value = mv.times2(e);
    steps.push_back(make(step::MantissaValue{mantissa, mv}));
    steps.push_back(make(step::ExponentValue{exponent, e}));
    if (!mv.isZero() && e >= -64 && e <= 64) {
        // The point moved: right for a positive exponent (filling with 0s),
        // left for a negative one (filling with copies of the sign bit).
        step::PointMoved moved{e, QString(), 0};
        if (e >= 0) {
            moved.moved = mantissa + QString(std::max<qint64>(0, e - (f.mantissa - 1)), u'0');
            moved.fraction = int(std::max<qint64>(0, f.mantissa - 1 - e));
        } else {
            moved.moved = QString(-e, mantissa.at(0)) + mantissa;
            moved.fraction = int(moved.moved.size() - 1);
        }
        steps.push_back(make(std::move(moved)));
    }
    steps.push_back(make(step::FloatingValue{mv, e, value}));
    steps.push_back(make(floating::checkOf(floating::normalise(*this, f, MantissaCode::Twos, mantissa, e))));
    return {false, value.toDecimal(), std::move(steps), std::nullopt};
}

Worked FloatingTopic::normaliseBits(const Format &f, const QString &input) const
{
    ReadBits read = readBits(f.totalBits(), input);
    if (!read.ok)
        return refuse({}, read.refusal);
    const QString exponent = read.bits.mid(f.mantissa);
    const qint64 e = exponentValue(f, exponent);
    step::Shifts s = floating::normalise(*this, f, MantissaCode::Twos, read.bits.left(f.mantissa), e);
    const QString pair = s.pair;
    if (s.stop == step::Shifts::Stop::Lowest)
        return refuse(std::move(read.steps), make(std::move(s)));
    read.steps.push_back(make(std::move(s)));
    return {false, pair, std::move(read.steps), std::nullopt};
}

Worked FloatingTopic::range(const Format &f) const
{
    step::Range r;
    r.largest = floating::largest(f);
    r.smallestPositive = floating::smallestNormalised(f);
    r.mostNegative = mostNegativeFloating(f);
    r.normalised = true;
    step::FloatingStep near = floating::stepNearOne(f, MantissaCode::Twos);
    const auto fact = [&](const step::Extreme &x) { return written(f, x.bits) + QStringLiteral(" = ") + x.value.toDecimal(); };
    const QString text = QStringLiteral("largest ") + fact(r.largest) + QStringLiteral("; smallest positive ")
        + fact(r.smallestPositive) + QStringLiteral("; most negative ") + fact(r.mostNegative)
        + QStringLiteral("; step near 1 = ") + near.step.toDecimal();
    return {false, text, Steps{make(std::move(r)), make(std::move(near))}, std::nullopt};
}

// ---- Marking ------------------------------------------------------------------------

std::vector<Candidate> FloatingTopic::candidates(const BitsMarking &m) const
{
    std::vector<Candidate> c;
    const Format &f = m.format;
    const int mw = f.mantissa;
    if (m.direction == Direction::ToBinary) {
        const exact::Reading x = exact::readDecimal(m.question);
        const bool exactValue = x.kind == exact::Reading::Kind::Exact;
        // A negative number: its size converted, then the sign dealt with wrongly.
        if (exactValue && x.value.sign() < 0) {
            const Worked size = solve(f, Operation::ToBinary, x.value.abs().toDecimal());
            if (!size.refused) {
                const QString p = pw::plain(size.text);
                const QString mantissa = p.left(mw), exponent = p.mid(mw);
                c.push_back({Mistake::NoComplement, p});
                c.push_back({Mistake::SignAndMagnitude, u'1' + mantissa.mid(1) + exponent});
                c.push_back({Mistake::InvertedOnly, patterns::inverted(mantissa) + exponent});
            }
        }
        floating::exponentCandidates(m, c);
        floating::roundingCandidates(*this, m, c);
    } else {
        floating::exponentCandidates(m, c);
    }
    c.push_back({Mistake::Swapped, m.r.mid(mw) + m.r.left(mw)});
    c.push_back({Mistake::Reversed, patterns::reversed(m.r)});
    c.push_back({Mistake::Reversed, patterns::reversed(m.r.left(mw)) + patterns::reversed(m.r.mid(mw))});
    return c;
}

QString FloatingTopic::sentence(const BitsMarking &m, Mistake mistake) const
{
    const Format &f = m.format;
    const QString answer = written(f, m.s);
    const QString lead = pw::Words::tr("Your answer %1 stands for %2").arg(answer, shown(m.sv));
    switch (mistake) {
    case Mistake::NotNormalised:
        if (m.rv.isZero())
            return pw::Words::tr("Your answer %1 stands for 0, but zero is written all zeros.").arg(answer);
        if (m.s.startsWith(QStringLiteral("11")))
            return pw::Words::tr("Your answer %1 holds the right value, %2, but is not normalised: a negative "
                                 "mantissa that starts 11 is shifted one place left, taking 1 from the exponent, "
                                 "until its first two bits differ.")
                .arg(answer, shown(m.sv));
        return pw::Words::tr("Your answer %1 holds the right value, %2, but is not normalised: a normalised "
                             "mantissa's first two bits differ (01 or 10).")
            .arg(answer, shown(m.sv));
    case Mistake::NoComplement:
        return pw::Words::tr("%1, the size of the number: the mantissa's two's complement was not taken. For a "
                             "negative number, invert every bit of the size's mantissa, then add 1.")
            .arg(lead);
    case Mistake::InvertedOnly:
        return pw::Words::tr("%1: the mantissa's bits were inverted but 1 was not added.").arg(lead);
    case Mistake::Swapped:
        return pw::Words::tr("%1: the mantissa and the exponent are swapped; the mantissa (%2) comes first, then "
                             "the exponent (%3).")
            .arg(lead, pw::count(f.mantissa), pw::count(f.exponent));
    default:
        break;
    }
    if (const QString exponent = floating::exponentSentence(m, mistake, lead); !exponent.isEmpty())
        return exponent;
    return practice::sharedSentence(m, mistake, lead);
}

qsizetype FloatingTopic::stepFor(const BitsMarking &m, Mistake mistake) const
{
    const Steps &steps = m.steps;
    if (m.direction == Direction::Normalise)
        return 0;
    const auto first = [](qsizetype a, qsizetype b) { return a >= 0 ? a : b; };
    switch (mistake) {
    case Mistake::NotNormalised:
        if (m.s.startsWith(QStringLiteral("11")) || m.s.startsWith(QStringLiteral("00")))
            return first(findStep<step::Renormalised>(steps),
                         first(findStep<step::Normalised>(steps), findStep<step::Zero>(steps)));
        return first(findStep<step::Normalised>(steps), findStep<step::Zero>(steps));
    case Mistake::NoComplement:
    case Mistake::SignAndMagnitude:
    case Mistake::InvertedOnly:
        return findStep<step::TwosComplement>(steps, [](const step::TwosComplement &t) {
            return t.of != step::TwosComplement::Of::Exponent;
        });
    case Mistake::ExponentSignAndMagnitude:
    case Mistake::ExponentInvertedOnly:
        return findStep<step::ExponentBits>(steps);
    case Mistake::ExponentWrongWay:
    case Mistake::ExponentOff:
    case Mistake::Rounded:
    case Mistake::Cut:
        return findStep<step::Normalised>(steps);
    default:
        return findStep<step::Result>(steps);
    }
}

std::vector<Misreading> FloatingTopic::misreadings(const NumberMarking &m) const
{
    using patterns::inverted;
    using patterns::unsignedValue;
    std::vector<Misreading> c;
    const Format &f = m.format;
    const QString &b = m.bits;
    c.push_back({Mistake::MinusLeftOut, -m.rv});
    const int mw = f.mantissa, k = f.exponent;
    const QString mantissa = b.left(mw), exponent = b.mid(mw);
    const Number mv = patterns::twosValue(mantissa).times2(-(mw - 1));
    const Number mu = unsignedValue(mantissa).times2(-(mw - 1));
    const qint64 e = twosWhole(exponent), eu = qint64(fromBits(exponent));
    if (mantissa.startsWith(u'1')) {
        c.push_back({Mistake::SignReadPositive, mu.times2(e), 0});
        if (exponent.startsWith(u'1'))
            c.push_back({Mistake::SignReadPositive, mu.times2(eu), 2});
        c.push_back({Mistake::SignAndMagnitude, -unsignedValue(QStringView(mantissa).mid(1)).times2(e - (mw - 1)), 0});
        c.push_back({Mistake::InvertedOnly, -unsignedValue(inverted(mantissa)).times2(e - (mw - 1)), 0});
    }
    // A hidden 1 before the mantissa's bits after its sign bit; or the
    // pattern read as sign, biased exponent and fraction, with the bias
    // 2^(k-1) or 2^(k-1) - 1.
    const Number fraction = unsignedValue(QStringView(mantissa).mid(1)).times2(-(mw - 1));
    const Number hidden = Number(1) + fraction;
    c.push_back({Mistake::HiddenOne, (mantissa.startsWith(u'1') ? -hidden : hidden).times2(e), 0});
    const qint64 field = qint64(fromBits(QStringView(b).mid(1, k)));
    const Number ieee = Number(1) + unsignedValue(QStringView(b).mid(1 + k)).times2(-(mw - 1));
    for (const qint64 bias : {qint64(1) << (k - 1), (qint64(1) << (k - 1)) - 1}) {
        const Number v = ieee.times2(field - bias);
        c.push_back({Mistake::HiddenOne, b.startsWith(u'1') ? -v : v, 1});
    }
    floating::exponentMisreadings(m, mv, c);
    c.push_back({Mistake::Swapped, valueOf(f, b.mid(k) + b.left(k))});
    c.push_back({Mistake::Reversed, valueOf(f, patterns::reversed(b))});
    return c;
}

qsizetype FloatingTopic::stepFor(const NumberMarking &m, const Misreading &c) const
{
    const Steps &steps = m.steps;
    switch (c.mistake) {
    case Mistake::MinusLeftOut:
        return findStep<step::FloatingValue>(steps);
    case Mistake::SignReadPositive:
        if (c.part != 1)
            return 0;
        break;
    default:
        break;
    }
    return floating::exponentReadingStep(steps, c, findStep<step::PointMoved>(steps));
}

QString FloatingTopic::sentence(const NumberMarking &m, const Misreading &c) const
{
    const QString lead = pw::Words::tr("Your answer, %1,").arg(pw::printed(m.answer));
    const Format &f = m.format;
    switch (c.mistake) {
    case Mistake::SignReadPositive:
        if (c.part == 0)
            return pw::Words::tr("%1 reads the mantissa's sign place as +1; in two's complement it counts %2.")
                .arg(lead, pw::printed(QStringLiteral("-1")));
        if (c.part == 2)
            return pw::Words::tr("%1 reads the sign places of both mantissa and exponent as positive; in two's "
                                 "complement each counts negative.")
                .arg(lead);
        break;
    case Mistake::HiddenOne:
        if (c.part == 0)
            return pw::Words::tr("%1 assumes a hidden leading 1 before the mantissa's bits; nothing is hidden here: "
                                 "the mantissa is its bits as written, with the point after the sign bit.")
                .arg(lead);
        return pw::Words::tr("%1 reads the pattern as sign, biased exponent and fraction with a hidden leading 1; "
                             "here the mantissa comes first, in two's complement with the point after its sign "
                             "bit, then the exponent in two's complement, and nothing is hidden.")
            .arg(lead);
    case Mistake::Swapped:
        return pw::Words::tr("%1 takes the first %2 as the exponent and the rest as the mantissa; the mantissa comes "
                             "first.")
            .arg(lead, pw::count(f.exponent));
    default:
        break;
    }
    if (const QString exponent = floating::exponentReading(m, c, lead); !exponent.isEmpty())
        return exponent;
    return practice::sharedReading(c.mistake, lead);
}

}  // namespace

namespace floating {

// The mantissa right, the exponent wrong: each way of getting it wrong
// that names itself, then any other exponent.
void exponentCandidates(const BitsMarking &m, std::vector<Candidate> &c)
{
    const Format &f = m.format;
    const int mw = f.mantissa;
    const QString mantissa = m.r.left(mw);
    if (m.s.left(mw) != mantissa)
        return;
    const qint64 e = twosWhole(QStringView(m.r).mid(mw));
    if (m.direction == Direction::Normalise) {
        const qint64 start = twosWhole(pw::plain(m.question).mid(mw));
        if (f.exponentFits(2 * start - e))
            c.push_back({Mistake::ExponentWrongWay, mantissa + toBits(quint64(2 * start - e), f.exponent)});
    } else if (e != 0 && f.exponentFits(-e)) {
        c.push_back({Mistake::ExponentWrongWay, mantissa + toBits(quint64(-e), f.exponent)});
    }
    if (e < 0) {
        if (-e < f.highestExponent() + 1)
            c.push_back({Mistake::ExponentSignAndMagnitude, mantissa + u'1' + toBits(quint64(-e), f.exponent - 1)});
        c.push_back({Mistake::ExponentInvertedOnly, mantissa + patterns::inverted(toBits(quint64(-e), f.exponent))});
    }
    c.push_back({Mistake::ExponentOff, m.s});
}

void roundingCandidates(const Topic &topic, const BitsMarking &m, std::vector<Candidate> &c)
{
    const Format &f = m.format;
    const exact::Reading x = exact::readDecimal(m.question);
    if (x.kind != exact::Reading::Kind::Exact)
        return;
    // Cut where the method rounds to nearest.
    if (f.rounding == Rounding::Nearest) {
        Format cutting = f;
        cutting.rounding = Rounding::Cut;
        const Worked cut = topic.solve(cutting, Operation::ToBinary, m.question);
        if (!cut.refused)
            c.push_back({Mistake::Cut, pw::plain(cut.text)});
    }
    // Rounded where the method cuts: one step further from zero.
    if (f.rounding == Rounding::Cut) {
        const Number held = topic.valueOf(f, m.r);
        if (held != x.value) {
            const qsizetype at = findStep<step::Normalised>(m.steps);
            const qint64 last =
                at < 0 ? 0 : as<step::Normalised>(m.steps[size_t(at)])->exponent - f.mantissaFraction();
            const Number step = Number::power2(last);
            const Number away = x.value.sign() < 0 ? held - step : held + step;
            const Worked rounded = topic.solve(f, Operation::ToBinary, away.toDecimal());
            if (!rounded.refused)
                c.push_back({Mistake::Rounded, pw::plain(rounded.text)});
        }
    }
}

QString exponentSentence(const BitsMarking &m, Mistake mistake, const QString &lead)
{
    const int mw = m.format.mantissa;
    const qint64 e = twosWhole(QStringView(m.r).mid(mw));
    const qint64 se = twosWhole(QStringView(m.s).mid(mw));
    switch (mistake) {
    case Mistake::ExponentWrongWay:
        if (m.direction == Direction::Normalise)
            return pw::Words::tr("%1: the exponent went up instead of down; each shift of the mantissa to the left "
                                 "takes 1 from the exponent.")
                .arg(lead);
        return pw::Words::tr("%1: the exponent's sign is wrong (%2 where it should be %3): the point was moved the "
                             "wrong way.")
            .arg(lead, shown(Number(se)), shown(Number(e)));
    case Mistake::ExponentSignAndMagnitude:
        return pw::Words::tr("%1: the exponent %2 is written in sign and magnitude; the exponent is two's "
                             "complement: %3 is %4.")
            .arg(lead, m.s.mid(mw), shown(Number(e)), m.r.mid(mw));
    case Mistake::ExponentInvertedOnly:
        return pw::Words::tr("%1: the exponent's bits were inverted but 1 was not added: %2 is %3.")
            .arg(lead, shown(Number(e)), m.r.mid(mw));
    case Mistake::ExponentOff:
        if (m.direction == Direction::Normalise) {
            const qint64 start = twosWhole(pw::plain(m.question).mid(mw));
            if (se == start)
                return pw::Words::tr("%1: the mantissa was shifted but the exponent was left as it was; each shift "
                                     "to the left takes 1 from the exponent.")
                    .arg(lead);
            return pw::Words::tr("%1: the exponent is off by %2 (%3 where it should be %4): the mantissa shifts %5, "
                                 "and each takes 1 from the exponent.")
                .arg(lead, shown(Number(std::abs(se - e))), shown(Number(se)), shown(Number(e)),
                     pw::places(start - e));
        }
        return pw::Words::tr("%1: the exponent is off by %2 (%3 where it should be %4): count again the places the "
                             "point moves to stand just before the first 1.")
            .arg(lead, shown(Number(std::abs(se - e))), shown(Number(se)), shown(Number(e)));
    default:
        break;
    }
    return QString();
}

void exponentMisreadings(const NumberMarking &m, const Number &mv, std::vector<Misreading> &c)
{
    const QString exponent = m.bits.mid(m.format.mantissa);
    const qint64 e = twosWhole(exponent);
    if (exponent.startsWith(u'1')) {
        c.push_back({Mistake::SignReadPositive, mv.times2(qint64(fromBits(exponent))), 1});
        c.push_back({Mistake::ExponentSignAndMagnitude, mv.times2(-qint64(fromBits(QStringView(exponent).mid(1)))), 1});
        c.push_back({Mistake::ExponentInvertedOnly, mv.times2(-qint64(fromBits(patterns::inverted(exponent)))), 1});
    }
    if (e != 0)
        c.push_back({Mistake::ExponentWrongWay, mv.times2(-e), e});
    for (qint64 d : {1, -1, 2, -2, 3, -3})
        c.push_back({Mistake::ExponentOff, mv.times2(e + d), d});
}

QString exponentReading(const NumberMarking &m, const Misreading &c, const QString &lead)
{
    const Format &f = m.format;
    const qint64 e = twosWhole(QStringView(m.bits).mid(f.mantissa));
    switch (c.mistake) {
    case Mistake::SignReadPositive: {
        if (c.part != 1)
            break;
        const QString place = shown(Number::power2(f.exponent - 1));
        return pw::Words::tr("%1 reads the exponent's sign place as +%2; in two's complement it counts %3.")
            .arg(lead, place, pw::printed(u'-' + place));
    }
    case Mistake::ExponentSignAndMagnitude:
        return pw::Words::tr("%1 reads the exponent as sign and magnitude; the exponent is two's complement, %2.")
            .arg(lead, shown(Number(e)));
    case Mistake::ExponentInvertedOnly:
        return pw::Words::tr("%1 finds the exponent's size by inverting its bits but does not add 1; the exponent "
                             "is %2.")
            .arg(lead, shown(Number(e)));
    case Mistake::ExponentWrongWay:
        return (c.part > 0 ? pw::Words::tr("%1 applies the exponent the wrong way: the exponent %2 moves the point "
                                           "%3 right, not left.")
                           : pw::Words::tr("%1 applies the exponent the wrong way: the exponent %2 moves the point "
                                           "%3 left, not right."))
            .arg(lead, shown(Number(c.part)), pw::places(std::abs(c.part)));
    case Mistake::ExponentOff:
        return pw::Words::tr("%1 moves the point as if the exponent were %2; it is %3.")
            .arg(lead, shown(Number(e + c.part)), shown(Number(e)));
    default:
        break;
    }
    return QString();
}

qsizetype exponentReadingStep(const Steps &steps, const Misreading &c, qsizetype moved)
{
    switch (c.mistake) {
    case Mistake::ExponentWrongWay:
    case Mistake::ExponentOff:
        return moved >= 0 ? moved : findStep<step::FloatingValue>(steps);
    case Mistake::ExponentSignAndMagnitude:
    case Mistake::ExponentInvertedOnly:
    case Mistake::SignReadPositive:
        return findStep<step::ExponentValue>(steps);
    default:
        return 0;
    }
}

}  // namespace floating

namespace {

// ---- Questions ----------------------------------------------------------------------

// A value other than zero that the format holds exactly. Exponents stay
// within -12 to 20 where the format allows more, and mantissas to a few
// significant bits, so the decimals stay the size exams use.
Number FloatingTopic::heldValue(const Format &f, QRandomGenerator &rng, bool negative) const
{
    const int m = f.mantissa;
    const qint64 low = std::max<qint64>(f.lowestExponent(), -12), high = std::min<qint64>(f.highestExponent(), 20);
    const qint64 e = low + qint64(rng.bounded(quint64(high - low + 1)));
    const int spare = std::min(m - 2, practice::significantBits);
    quint64 digits;  // the size's m - 1 bits after the point
    if (negative && (m == 2 || rng.bounded(6) == 0)) {
        digits = quint64(1) << (m - 1);  // -1 x 2^e
    } else {
        quint64 r = spare > 0 ? rng.generate64() & lowBits(spare) : 0;
        if (negative && r == 0)  // -0.5 would renormalise: take one more 1
            r = 1;
        digits = (quint64(1) << (m - 2)) | (r << (m - 2 - spare));
    }
    const Number size = Number::fromUnsigned(digits).times2(e - (m - 1));
    return negative ? -size : size;
}

QString FloatingTopic::normaliseQuestion(const Format &f, QRandomGenerator &rng) const
{
    const int m = f.mantissa;
    for (int attempt = 0; attempt < 40; ++attempt) {
        const bool negative = m == 2 || rng.bounded(2) == 1;
        const QString pair = pw::plain(solve(f, Operation::ToBinary, heldValue(f, rng, negative).toDecimal()).text);
        const QString mantissa = pair.left(m);
        const qint64 e = twosWhole(QStringView(pair).mid(m));
        // Shifting right by s and back loses nothing when the last s bits are 0.
        const qsizetype zeros = mantissa.size() - 1 - mantissa.lastIndexOf(u'1');
        const qint64 most = std::min<qint64>(negative ? zeros : std::min<qsizetype>(zeros, m - 2),
                                             f.highestExponent() - e);
        if (most < 1)
            continue;
        const int s = int(1 + rng.bounded(quint64(most)));
        const QString shifted = QString(s, mantissa.at(0)) + mantissa.left(m - s);
        return printed(f, shifted + toBits(quint64(e + s), f.exponent));
    }
    // -1 x 2^e shifted once: always possible below the highest exponent.
    const QString mantissa = u'1' + QString(m - 1, u'0');
    return printed(f, u'1' + mantissa.left(m - 1) + toBits(quint64(f.highestExponent()), f.exponent));
}

QString FloatingTopic::newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const
{
    switch (operation) {
    case Operation::ToBinary: {
        const bool negative = rng.bounded(2) == 1;
        const Number value = heldValue(f, rng, negative);
        if (rng.bounded(6) == 0) {
            if (const std::optional<QString> cut = practice::cutQuestion(*this, f, rng, value))
                return *cut;
        }
        return value.toDecimal();
    }
    case Operation::ToDenary: {
        const Number value = heldValue(f, rng, rng.bounded(2) == 1);
        return printed(f, pw::plain(solve(f, Operation::ToBinary, value.toDecimal()).text));
    }
    case Operation::Normalise:
        return normaliseQuestion(f, rng);
    case Operation::Error:
    case Operation::Compare:
        return floating::errorQuestion(*this, f, rng);
    case Operation::ToHex: {
        const Number value = heldValue(f, rng, rng.bounded(2) == 1);
        return printed(f, pw::plain(solve(f, Operation::ToBinary, value.toDecimal()).text));
    }
    default:
    case Operation::Range:
        break;
    }
    return QString();
}

}  // namespace

const Topic &floatingTopic()
{
    static const FloatingTopic topic;
    return topic;
}

}  // namespace quorvex::workbench
