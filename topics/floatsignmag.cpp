// SPDX-License-Identifier: MIT
// Floating point whose mantissa is a sign bit (0 positive, 1 negative) and a
// magnitude with the point just before it, between the two; the exponent is
// two's complement. A number to bits: its magnitude in binary, the point
// moved to stand before the first 1, the digits cut to the magnitude's
// places, the sign bit set in front, the exponent in two's complement.
// Bits to a number: the magnitude's value, its point moved by the
// exponent, the sign put back. Normalising shifts the magnitude, not the
// sign bit, left until it starts with 1. The range is symmetric: the most
// negative value is the largest with a minus sign.
//
// The magnitude, the cut and the exponent are found as float:M:E finds
// them (topics/floatingparts.h); its usual slip here is writing, or
// reading, the mantissa in two's complement.
#include "engine/bitpattern.h"
#include "engine/methods.h"
#include "engine/questions.h"
#include "engine/topic.h"
#include "engine/words.h"
#include "topics/bitgroups.h"
#include "topics/floatarithmetic.h"
#include "topics/floatingparts.h"

#include <QRandomGenerator>

#include <algorithm>

namespace quorvex::workbench {

using exact::Number;
using floating::exponentBits;
using patterns::fromBits;
using patterns::toBits;
using patterns::twosWhole;
using patterns::unsignedValue;

// The floating-point topic with a two's complement mantissa: a student who
// mixes the two mantissas writes, or reads, its patterns.
const Topic &floatingTopic();

namespace step {

// How the mantissa writes a number's sign, and this number's sign.
struct MantissaSign {
    exact::Number value;
};
// The sign bit in front of the magnitude's bits; for a negative number, the
// two's complement mantissa it is not.
struct SignInFront {
    bool negative = false;
    QString magnitude, mantissa;
    QString twos;  // the magnitude's two's complement, for a negative number
};
// Bits to a number: the sign bit read, and the magnitude by place values.
struct MagnitudeRead {
    QString mantissa;
    exact::Number magnitude, value;
};
// The magnitude's point moved by the exponent, and the sign put back.
struct MagnitudeMoved {
    qint64 exponent = 0;
    QString moved;  // the magnitude's bits, with 0s filling in
    int fraction = 0;
    bool negative = false;
    exact::Number value;
};

}  // namespace step

QUORVEX_STEP(step::MantissaSign)
QUORVEX_STEP(step::SignInFront)
QUORVEX_STEP(step::MagnitudeRead)
QUORVEX_STEP(step::MagnitudeMoved)

// ---- Words ------------------------------------------------------------------------

template <>
void StepOf<step::MantissaSign>::say(Words &w) const
{
    const int magnitude = w.format().mantissaFraction();
    w.para(Words::tr("The mantissa is a sign bit, 0 for positive and 1 for negative, then a magnitude of %1 with "
                     "the point just before it; the exponent is two's complement.")
               .arg(Words::count(magnitude)));
    const Number &v = value.value;
    w.para((v.sign() < 0 ? Words::tr("%1 is negative: the sign bit is 1, and its magnitude %2 is normalised into "
                                     "the other %3.")
                         : Words::tr("%1 is positive: the sign bit is 0, and %2 is normalised into the other %3."))
               .arg(w.num(v), w.num(v.abs()), Words::count(magnitude)));
}

template <>
void StepOf<step::SignInFront>::say(Words &w) const
{
    const step::SignInFront &s = value;
    w.para(Words::tr("The sign bit %1 (%2) goes in front of the magnitude's bits %3: the mantissa is %4.")
               .arg(s.negative ? QStringLiteral("1") : QStringLiteral("0"),
                    s.negative ? Words::tr("negative") : Words::tr("positive"), w.bits(s.magnitude),
                    w.point(s.mantissa, int(s.magnitude.size()))));
    if (s.negative)
        w.para(Words::tr("Nothing is inverted and no 1 is added: that would give %1, a two's complement mantissa, "
                         "which this format does not use.")
                   .arg(w.point(s.twos, int(s.magnitude.size()))));
}

template <>
void StepOf<step::MagnitudeRead>::say(Words &w) const
{
    const step::MagnitudeRead &s = value;
    const QString magnitude = s.mantissa.mid(1);
    const int fraction = int(magnitude.size());
    make(step::PlaceTable{magnitude, fraction, false})->say(w);
    const bool negative = s.mantissa.startsWith(u'1');
    w.para((negative ? Words::tr("The sign bit is 1: the mantissa is negative. Its magnitude %1 is %2 = %3, so the "
                                 "mantissa is %4.")
                     : Words::tr("The sign bit is 0: the mantissa is positive. Its magnitude %1 is %2 = %3, so the "
                                 "mantissa is %4."))
               .arg(w.point(magnitude, fraction), w.sum(magnitude, fraction, false), w.num(s.magnitude),
                    w.num(s.value)));
}

template <>
void StepOf<step::MagnitudeMoved>::say(Words &w) const
{
    const step::MagnitudeMoved &s = value;
    const QString moved = w.point(s.moved, s.fraction);
    QString how;
    if (s.exponent > 0)
        how = Words::tr("Move the magnitude's point %1 right: %2").arg(w.places(s.exponent), moved);
    else if (s.exponent < 0)
        how = Words::tr("Move the magnitude's point %1 left, filling with 0s: %2").arg(w.places(-s.exponent), moved);
    else
        how = Words::tr("The exponent is 0: the magnitude's point stays where it is: %1").arg(moved);
    const QString size = w.sum(s.moved, s.fraction, false);
    w.para((s.negative ? Words::tr("%1 = %2; with the sign bit 1, the value is %3.")
                       : Words::tr("%1 = %2; with the sign bit 0, the value is %3."))
               .arg(how, size, w.num(s.value)));
}

namespace {

using practice::BitsMarking;
using practice::Candidate;
using practice::Mistake;
using practice::Misreading;
using practice::NumberMarking;
using practice::shown;
namespace pw = practice;

// The pattern's mantissa, sign bit first.
Number mantissaValue(const QString &mantissa)
{
    const Number size = unsignedValue(QStringView(mantissa).mid(1)).times2(-(mantissa.size() - 1));
    return mantissa.startsWith(u'1') ? -size : size;
}

// The same widths and rounding, the mantissa in two's complement.
Format twosFormat(const Format &f)
{
    Format t = f;
    t.representation = Representation::Floating;
    return t;
}

class SignMagnitudeFloatTopic final : public Topic {
public:
    // ---- Formats --------------------------------------------------------------
    Representation representation() const override { return Representation::SignMagnitudeFloating; }
    QString title() const override { return Words::tr("Floating point (sign and magnitude mantissa)"); }
    QString usage() const override { return QStringLiteral("float-signmag:M:E"); }
    QString usageHelp() const override
    {
        return Words::tr("floating point, an M-bit sign and magnitude mantissa (%1 to %2) and an E-bit two's "
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
        return QStringLiteral("float-signmag:%1:%2").arg(f.mantissa).arg(f.exponent);
    }
    QList<Width> widths() const override { return {Width::Mantissa, Width::Exponent}; }
    bool offered(const Format &f) const override { return floating::offeredWidths(f); }
    QList<Operation> operations() const override
    {
        return {Operation::ToBinary, Operation::ToDenary, Operation::ToHex, Operation::Normalise, Operation::Range};
    }
    QList<Operation> calculations() const override { return {Operation::Error}; }
    QList<Rounding> roundings() const override { return {Rounding::Cut, Rounding::Nearest}; }
    Worked calculate(const Format &f, Operation operation, const Calculation &c) const override
    {
        if (operation == Operation::Error)
            return floating::error(*this, f, c.operands.value(0));
        return Topic::calculate(f, operation, c);
    }
    std::optional<CalculationMark> markCalculation(const Format &f, Operation operation, const Calculation &c,
                                                   const QString &answer, const Worked &right) const override
    {
        return floating::mark(*this, f, operation, c, answer, right);
    }
    // The sign bit, the magnitude's places after the point, the exponent.
    std::vector<BitGroup> groups(const Format &f) const override
    {
        return {{Words::tr("the sign"), {std::nullopt}},
                placeGroup(Words::tr("the magnitude"), f.mantissaFraction(), -f.mantissaFraction(), false),
                placeGroup(Words::tr("the exponent"), f.exponent, 0, true)};
    }

    // ---- Words ----------------------------------------------------------------
    QString describe(const Format &f) const override
    {
        return Words::tr("floating point with %1 and %2")
            .arg(Words::widthName(f.mantissa, Words::tr("sign and magnitude mantissa")),
                 Words::widthName(f.exponent, Words::tr("exponent")));
    }
    QString patternName(const Format &f) const override
    {
        return Words::tr("a pair of %1 and %2")
            .arg(Words::widthName(f.mantissa, Words::tr("sign and magnitude mantissa")),
                 Words::widthName(f.exponent, Words::tr("exponent")));
    }
    QString pairParts(const Format &f) const override
    {
        return pw::Words::tr("%1 and %2")
            .arg(Words::widthName(f.mantissa, pw::Words::tr("sign and magnitude mantissa")),
                 Words::widthName(f.exponent, pw::Words::tr("two's complement exponent")));
    }
    QString heading(const Format &f) const override
    {
        return pw::Words::tr("Floating point: %1-bit sign and magnitude mantissa, %2-bit exponent")
            .arg(f.mantissa)
            .arg(f.exponent);
    }
    QString written(const Format &f, const QString &bits) const override { return floating::writtenPair(f, bits); }
    QString printed(const Format &f, const QString &bits) const override { return floating::printedPair(f, bits); }
    QString wrongCount(const Words &w, qsizetype typed) const override { return floating::wrongCountText(w, typed); }

    // ---- The method -------------------------------------------------------------
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

    // ---- Marking ------------------------------------------------------------------
    Number valueOf(const Format &f, const QString &bits) const override
    {
        return mantissaValue(bits.left(f.mantissa)).times2(twosWhole(QStringView(bits).mid(f.mantissa)));
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

    // ---- Questions ------------------------------------------------------------------
    QString newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const override;

private:
    Worked toBinary(const Format &f, const QString &input) const;
    Worked toDenary(const Format &f, const QString &input) const;
    Worked normaliseBits(const Format &f, const QString &input) const;
    Worked range(const Format &f) const;
    Number heldValue(const Format &f, QRandomGenerator &rng) const;
    QString normaliseQuestion(const Format &f, QRandomGenerator &rng) const;
};

// ---- The method ------------------------------------------------------------------

// The largest magnitude with the sign bit 1.
step::Extreme mostNegative(const Format &f)
{
    const step::Extreme largest = floating::largest(f);
    return {u'1' + largest.bits.mid(1), -largest.value};
}

Worked SignMagnitudeFloatTopic::toBinary(const Format &f, const QString &input) const
{
    floating::ToWrite w = floating::readToWrite(*this, f, input, mostNegative(f));
    if (w.answered)
        return *w.answered;
    const exact::Reading &r = w.reading;
    const int m = f.mantissa;
    const floating::Cut &cut = w.cut;
    const qint64 e = cut.exponent;
    if (e > f.highestExponent())
        return floating::overflow(w, f, mostNegative(f), e);
    if (e < f.lowestExponent())
        return floating::underflow(w, f, e);
    w.steps.push_back(make(step::MantissaSign{r.value}));
    floating::magnitudeSteps(f, w.size, cut, w.steps);
    const QString magnitude = toBits(cut.digits, m - 1);
    const QString mantissa = (r.negative ? u'1' : u'0') + magnitude;
    const QString twos = r.negative ? twosComplement(u'0' + magnitude, step::TwosComplement::Of::Mantissa).result
                                    : QString();
    w.steps.push_back(make(step::SignInFront{r.negative, magnitude, mantissa, twos}));
    floating::exponentSteps(f, e, w.steps);
    const QString exponentPattern = exponentBits(f, e);
    const Number mv = mantissaValue(mantissa);
    const Number held = mv.times2(e);
    const QString answer = written(f, mantissa + exponentPattern);
    const qint64 last = e - (m - 1);
    w.steps.push_back(make(step::FloatingHeld{mantissa, exponentPattern, mv, e, held, w.typed, r.value - held, last,
                                            last, f.rounding == Rounding::Nearest, MantissaCode::SignMagnitude}));
    w.steps.push_back(make(step::Result{w.typed, answer}));
    return {false, answer, std::move(w.steps), held};
}

Worked SignMagnitudeFloatTopic::toDenary(const Format &f, const QString &input) const
{
    ReadBits read = readBits(f.totalBits(), input);
    if (!read.ok)
        return refuse({}, read.refusal);
    Steps steps = std::move(read.steps);
    const QString mantissa = read.bits.left(f.mantissa);
    const QString exponent = read.bits.mid(f.mantissa);
    const Number mv = mantissaValue(mantissa);
    const qint64 e = floating::exponentValue(f, exponent);
    const Number value = mv.times2(e);
    steps.push_back(make(step::MagnitudeRead{mantissa, mv.abs(), mv}));
    steps.push_back(make(step::ExponentValue{exponent, e}));
    if (!mv.isZero() && e >= -64 && e <= 64) {
        // The magnitude's point moved: right for a positive exponent, left
        // for a negative one, 0s filling in either way.
        const QString magnitude = mantissa.mid(1);
        const int places = int(magnitude.size());
        step::MagnitudeMoved moved{e, QString(), 0, mantissa.startsWith(u'1'), value};
        if (e >= 0) {
            moved.moved = u'0' + magnitude + QString(std::max<qint64>(0, e - places), u'0');
            moved.fraction = int(std::max<qint64>(0, places - e));
        } else {
            moved.moved = QString(1 - e, u'0') + magnitude;
            moved.fraction = int(moved.moved.size() - 1);
        }
        steps.push_back(make(std::move(moved)));
    }
    steps.push_back(make(step::FloatingValue{mv, e, value}));
    steps.push_back(
        make(floating::checkOf(floating::normalise(*this, f, MantissaCode::SignMagnitude, mantissa, e))));
    return {false, value.toDecimal(), std::move(steps), std::nullopt};
}

Worked SignMagnitudeFloatTopic::normaliseBits(const Format &f, const QString &input) const
{
    ReadBits read = readBits(f.totalBits(), input);
    if (!read.ok)
        return refuse({}, read.refusal);
    const qint64 e = floating::exponentValue(f, read.bits.mid(f.mantissa));
    step::Shifts s = floating::normalise(*this, f, MantissaCode::SignMagnitude, read.bits.left(f.mantissa), e);
    const QString pair = s.pair;
    if (s.stop == step::Shifts::Stop::Lowest)
        return refuse(std::move(read.steps), make(std::move(s)));
    read.steps.push_back(make(std::move(s)));
    return {false, pair, std::move(read.steps), std::nullopt};
}

Worked SignMagnitudeFloatTopic::range(const Format &f) const
{
    step::Range r;
    r.largest = floating::largest(f);
    r.smallestPositive = floating::smallestNormalised(f);
    r.mostNegative = mostNegative(f);
    r.normalised = true;
    step::FloatingStep near = floating::stepNearOne(f, MantissaCode::SignMagnitude);
    const auto fact = [&](const step::Extreme &x) {
        return written(f, x.bits) + QStringLiteral(" = ") + x.value.toDecimal();
    };
    const QString text = QStringLiteral("largest ") + fact(r.largest) + QStringLiteral("; smallest positive ")
        + fact(r.smallestPositive) + QStringLiteral("; most negative ") + fact(r.mostNegative)
        + QStringLiteral("; step near 1 = ") + near.step.toDecimal();
    return {false, text, Steps{make(std::move(r)), make(std::move(near))}, std::nullopt};
}

// ---- Marking ------------------------------------------------------------------------

std::vector<Candidate> SignMagnitudeFloatTopic::candidates(const BitsMarking &m) const
{
    std::vector<Candidate> c;
    const Format &f = m.format;
    const int mw = f.mantissa;
    if (m.direction == Direction::ToBinary) {
        const exact::Reading x = exact::readDecimal(m.question);
        // A negative number: its magnitude written, then the sign dealt with
        // as another code deals with it.
        if (x.kind == exact::Reading::Kind::Exact && x.value.sign() < 0) {
            const Worked size = solve(f, Operation::ToBinary, x.value.abs().toDecimal());
            if (!size.refused) {
                const QString p = pw::plain(size.text);
                const QString mantissa = p.left(mw), exponent = p.mid(mw);
                c.push_back({Mistake::NoComplement, p});
                // Two's complement by the method of float:M:E (shifted back
                // where it starts 11), or just the magnitude's complement.
                const Worked twos = floatingTopic().solve(twosFormat(f), Operation::ToBinary, m.question);
                if (!twos.refused)
                    c.push_back({Mistake::TwosComplementGiven, pw::plain(twos.text)});
                c.push_back({Mistake::TwosComplementGiven,
                             twosComplement(mantissa, step::TwosComplement::Of::Mantissa).result + exponent});
                c.push_back({Mistake::OnesComplementGiven, patterns::inverted(mantissa) + exponent});
            }
        }
        floating::exponentCandidates(m, c);
        floating::roundingCandidates(*this, m, c);
    } else {
        // The whole mantissa shifted, sign bit and all, as many places as
        // the magnitude shifts.
        const QString question = pw::plain(m.question);
        const qint64 start = twosWhole(QStringView(question).mid(mw));
        const qint64 places = start - twosWhole(QStringView(m.r).mid(mw));
        if (question.startsWith(u'1') && places > 0 && places < mw)
            c.push_back({Mistake::SignBitShifted, question.mid(places, mw - places) + QString(places, u'0')
                                                      + m.r.mid(mw)});
        floating::exponentCandidates(m, c);
    }
    c.push_back({Mistake::Swapped, m.r.mid(mw) + m.r.left(mw)});
    c.push_back({Mistake::Reversed, patterns::reversed(m.r)});
    return c;
}

QString SignMagnitudeFloatTopic::sentence(const BitsMarking &m, Mistake mistake) const
{
    const Format &f = m.format;
    const QString answer = written(f, m.s);
    const QString lead = pw::Words::tr("Your answer %1 stands for %2").arg(answer, shown(m.sv));
    const QString magnitude = m.r.mid(1, f.mantissaFraction());
    switch (mistake) {
    case Mistake::NotNormalised:
        if (m.rv.isZero())
            return pw::Words::tr("Your answer %1 stands for 0, but zero is written all zeros.").arg(answer);
        return pw::Words::tr("Your answer %1 holds the right value, %2, but is not normalised: a normalised "
                             "magnitude starts with 1, just after the sign bit.")
            .arg(answer, shown(m.sv));
    case Mistake::NoComplement:
        return pw::Words::tr("%1: the sign bit was left 0. A negative number's mantissa has the sign bit 1 in front "
                             "of its magnitude's bits.")
            .arg(lead);
    case Mistake::SignBitShifted:
        return pw::Words::tr("%1: the whole mantissa was shifted, sign bit and all, and the sign was lost; the sign "
                             "bit stays where it is and only the magnitude after it shifts, until it starts with 1.")
            .arg(lead);
    case Mistake::TwosComplementGiven:
        return pw::Words::tr("%1: it writes the mantissa in two's complement; here the mantissa is a sign bit and a "
                             "magnitude: the sign bit 1, then the magnitude's bits as they are, %2.")
            .arg(lead, magnitude);
    case Mistake::OnesComplementGiven:
        return pw::Words::tr("%1: the mantissa's bits were inverted, as one's complement does; here the mantissa is "
                             "a sign bit and a magnitude: the sign bit 1, then the magnitude's bits as they are, %2.")
            .arg(lead, magnitude);
    case Mistake::Swapped:
        return pw::Words::tr("%1: the mantissa and the exponent are swapped; the mantissa (%2) comes first, then "
                             "the exponent (%3).")
            .arg(lead, pw::count(f.mantissa), pw::count(f.exponent));
    case Mistake::Reversed:
        return pw::Words::tr("%1: the bits are in reverse order; the mantissa's sign bit comes first, then its "
                             "magnitude from the largest place.")
            .arg(lead);
    default:
        break;
    }
    if (const QString exponent = floating::exponentSentence(m, mistake, lead); !exponent.isEmpty())
        return exponent;
    return practice::sharedSentence(m, mistake, lead);
}

qsizetype SignMagnitudeFloatTopic::stepFor(const BitsMarking &m, Mistake mistake) const
{
    const Steps &steps = m.steps;
    if (m.direction == Direction::Normalise)
        return 0;
    const auto first = [](qsizetype a, qsizetype b) { return a >= 0 ? a : b; };
    switch (mistake) {
    case Mistake::NotNormalised:
        return first(findStep<step::Normalised>(steps), findStep<step::Zero>(steps));
    case Mistake::NoComplement:
    case Mistake::TwosComplementGiven:
    case Mistake::OnesComplementGiven:
        return findStep<step::SignInFront>(steps);
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

std::vector<Misreading> SignMagnitudeFloatTopic::misreadings(const NumberMarking &m) const
{
    std::vector<Misreading> c;
    const Format &f = m.format;
    const QString &b = m.bits;
    const QString mantissa = b.left(f.mantissa);
    const Number mv = mantissaValue(mantissa);
    const qint64 e = twosWhole(QStringView(b).mid(f.mantissa));
    c.push_back({Mistake::MinusLeftOut, -m.rv});
    if (mantissa.startsWith(u'1')) {
        // Read as float:M:E reads it: the sign place worth -1.
        c.push_back({Mistake::TwosComplementGiven, floatingTopic().valueOf(twosFormat(f), b)});
        // The sign bit counted as a place worth 1.
        c.push_back({Mistake::SignReadPositive, (Number(1) + mv.abs()).times2(e)});
    }
    floating::exponentMisreadings(m, mv, c);
    c.push_back({Mistake::Swapped, valueOf(f, b.mid(f.exponent) + b.left(f.exponent))});
    c.push_back({Mistake::Reversed, valueOf(f, patterns::reversed(b))});
    return c;
}

QString SignMagnitudeFloatTopic::sentence(const NumberMarking &m, const Misreading &c) const
{
    const QString lead = pw::Words::tr("Your answer, %1,").arg(pw::printed(m.answer));
    const Format &f = m.format;
    const QString magnitude = m.bits.mid(1, f.mantissaFraction());
    switch (c.mistake) {
    case Mistake::TwosComplementGiven:
        return pw::Words::tr("%1 reads the mantissa as two's complement, its sign place worth %2; here the mantissa "
                             "is a sign bit and a magnitude: the sign bit 1 says negative, and the magnitude .%3 is "
                             "read as it stands, %4.")
            .arg(lead, pw::printed(QStringLiteral("-1")), magnitude,
                 shown(unsignedValue(magnitude).times2(-f.mantissaFraction())));
    case Mistake::SignReadPositive:
        if (c.part == 0)
            return pw::Words::tr("%1 counts the sign bit as a place worth 1; the sign bit has no place value: 1 only "
                                 "says the number is negative.")
                .arg(lead);
        break;
    case Mistake::Swapped:
        return pw::Words::tr("%1 takes the first %2 as the exponent and the rest as the mantissa; the mantissa comes "
                             "first.")
            .arg(lead, pw::count(f.exponent));
    case Mistake::Reversed:
        return pw::Words::tr("%1 reads the bits in reverse order; the mantissa's sign bit comes first, then its "
                             "magnitude from the largest place.")
            .arg(lead);
    default:
        break;
    }
    if (const QString exponent = floating::exponentReading(m, c, lead); !exponent.isEmpty())
        return exponent;
    return practice::sharedReading(c.mistake, lead);
}

qsizetype SignMagnitudeFloatTopic::stepFor(const NumberMarking &m, const Misreading &c) const
{
    const Steps &steps = m.steps;
    switch (c.mistake) {
    case Mistake::MinusLeftOut:
        return findStep<step::FloatingValue>(steps);
    case Mistake::TwosComplementGiven:
        return findStep<step::MagnitudeRead>(steps);
    case Mistake::SignReadPositive:
        if (c.part == 0)
            return findStep<step::MagnitudeRead>(steps);
        break;
    default:
        break;
    }
    return floating::exponentReadingStep(steps, c, findStep<step::MagnitudeMoved>(steps));
}

// ---- Questions ----------------------------------------------------------------------

// A value other than zero that the format holds exactly: exponents from -8
// to 10 where the format allows them, and magnitudes of a few significant
// bits, so the decimals stay the size exams use.
Number SignMagnitudeFloatTopic::heldValue(const Format &f, QRandomGenerator &rng) const
{
    const int m = f.mantissa;
    const qint64 low = std::max<qint64>(f.lowestExponent(), -8), high = std::min<qint64>(f.highestExponent(), 10);
    const qint64 e = low + qint64(rng.bounded(quint64(high - low + 1)));
    const int spare = std::min(m - 2, practice::significantBits);
    const quint64 r = spare > 0 ? rng.generate64() & patterns::lowBits(spare) : 0;
    const quint64 digits = (quint64(1) << (m - 2)) | (r << (m - 2 - spare));  // the magnitude's m - 1 bits
    const Number size = Number::fromUnsigned(digits).times2(e - (m - 1));
    return rng.bounded(2) == 1 ? -size : size;
}

// A normalised pair with its magnitude shifted right (0s coming in after
// the sign bit) and its exponent raised to match: the same value.
QString SignMagnitudeFloatTopic::normaliseQuestion(const Format &f, QRandomGenerator &rng) const
{
    const int m = f.mantissa;
    for (int attempt = 0; attempt < 40; ++attempt) {
        const QString pair = pw::plain(solve(f, Operation::ToBinary, heldValue(f, rng).toDecimal()).text);
        const QString mantissa = pair.left(m);
        const qint64 e = twosWhole(QStringView(pair).mid(m));
        const qsizetype zeros = mantissa.size() - 1 - mantissa.lastIndexOf(u'1');
        const qint64 most = std::min<qint64>(zeros, f.highestExponent() - e);
        if (most < 1)
            continue;
        const int s = int(1 + rng.bounded(quint64(most)));
        const QString shifted = mantissa.left(1) + QString(s, u'0') + mantissa.mid(1, m - 1 - s);
        return printed(f, shifted + toBits(quint64(e + s), f.exponent));
    }
    // 0.1 x 2^0 as 0.01 x 2^1, where the magnitude has 2 bits or more;
    // else negative zero, which normalises to all zeros.
    if (m < 3)
        return printed(f, QStringLiteral("10") + QString(f.exponent, u'0'));
    return printed(f, QStringLiteral("001") + QString(m - 3, u'0') + toBits(1, f.exponent));
}

QString SignMagnitudeFloatTopic::newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const
{
    switch (operation) {
    case Operation::ToBinary: {
        const Number value = heldValue(f, rng);
        if (rng.bounded(6) == 0) {
            if (const std::optional<QString> cut = practice::cutQuestion(*this, f, rng, value))
                return *cut;
        }
        return value.toDecimal();
    }
    case Operation::ToDenary:
    case Operation::ToHex:
        return printed(f, pw::plain(solve(f, Operation::ToBinary, heldValue(f, rng).toDecimal()).text));
    case Operation::Normalise:
        return normaliseQuestion(f, rng);
    case Operation::Error:
        return floating::errorQuestion(*this, f, rng);
    default:
        break;
    }
    return QString();
}

}  // namespace

const Topic &signMagnitudeFloatTopic()
{
    static const SignMagnitudeFloatTopic topic;
    return topic;
}

}  // namespace quorvex::workbench
