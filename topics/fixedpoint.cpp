// SPDX-License-Identifier: MIT
// Fixed point: bits before and after a point that stands in the pattern,
// unsigned or in two's complement. The whole part by place values, the
// fraction by repeated doubling, cut (not rounded) after the last place;
// what the bits hold is set against the number typed.
#include "topics/placevalue.h"

#include "topics/arithmetic.h"
#include "engine/bitpattern.h"
#include "engine/methods.h"
#include "engine/words.h"
#include "topics/bitgroups.h"
#include "topics/floatarithmetic.h"

#include <QRegularExpression>

namespace quorvex::workbench {

namespace step {

// A fixed-point pattern and what it holds, against the number typed.
struct Held {
    QString bits;  // with its point
    exact::Number held;
    Typed typed;
    exact::Number difference;  // typed - held
    int stepPower = 0;         // the last place is worth 2^stepPower
    bool nearest = false;      // rounded to nearest rather than cut
};
// Rounding to nearest: the size's bits as cut, and whether what was left
// after the last place was half of it or more, so that 1 was added there.
struct FixedRounded {
    QString cut, rounded;  // with their points
    bool roundedUp = false;
};
// So many places after the point that every one is 0.
struct TinyCut {
    Typed value;
    int stepPower = 0;
};

}  // namespace step

QUORVEX_STEP(step::Held)
QUORVEX_STEP(step::TinyCut)
QUORVEX_STEP(step::FixedRounded)

template <>
void StepOf<step::FixedRounded>::say(Words &w) const
{
    if (value.roundedUp)
        w.para(Words::tr("Round to nearest: what is left after the last place is half of it or more, so 1 is added "
                         "to the last place: %1 becomes %2. (Cutting would give %1.)")
                   .arg(w.bits(value.cut), w.bits(value.rounded)));
    else
        w.para(Words::tr("Round to nearest: what is left after the last place is less than half of it, so the bits "
                         "stay as cut: %1.")
                   .arg(w.bits(value.cut)));
}

template <>
void StepOf<step::Held>::say(Words &w) const
{
    const step::Held &s = value;
    QString raw = s.bits;
    raw.remove(u'.');
    w.para(Words::tr("The bits %1 hold %2 = %3.")
               .arg(w.bits(s.bits), w.sum(raw, w.format().fraction, w.format().isSigned()), w.num(s.held)));
    w.difference(s.typed, s.difference);
    if (s.nearest)
        w.para(Words::tr("The last place is worth %1 = %2: the bits hold only whole steps of that, so rounding to "
                         "nearest leaves a difference of at most half a step, %3, either way.")
                   .arg(w.power(s.stepPower), w.num(exact::Number::power2(s.stepPower)),
                        w.num(exact::Number::power2(s.stepPower - 1))));
    else
        w.para(Words::tr("The last place is worth %1 = %2: the bits hold only whole steps of that, so cutting "
                         "leaves a difference of less than one step, towards zero.")
                   .arg(w.power(s.stepPower), w.num(exact::Number::power2(s.stepPower))));
}

template <>
void StepOf<step::TinyCut>::say(Words &w) const
{
    w.para(Words::tr("%1 is nearer zero than the last place, %2: every bit is 0, the bits hold 0, and the "
                     "difference is the number itself.")
               .arg(w.typed(value.value), w.power(value.stepPower)));
}

namespace {

using exact::Number;

class FixedTopic final : public PlaceValueTopic {
public:
    explicit FixedTopic(bool twos) : m_twos(twos) { }

    Representation representation() const override
    {
        return m_twos ? Representation::TwosFixed : Representation::UnsignedFixed;
    }
    QString title() const override
    {
        return m_twos ? Words::tr("Two's complement fixed point") : Words::tr("Unsigned fixed point");
    }
    QString usage() const override { return m_twos ? QStringLiteral("fixed-signed:W.F") : QStringLiteral("fixed:W.F"); }
    QString usageHelp() const override
    {
        return (m_twos ? Words::tr("two's complement fixed point, W bits before the point and F after, %1 to %2 "
                                   "each, at least 1 in all")
                       : Words::tr("unsigned fixed point, W bits before the point and F after, %1 to %2 each, at "
                                   "least 1 in all"))
            .arg(limits::minFixedPart)
            .arg(limits::maxFixedPart);
    }
    std::optional<Format> parse(QStringView widths, QString *why) const override
    {
        static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})$"));
        const QRegularExpressionMatch m = pattern.match(widths);
        if (!m.hasMatch()) {
            *why = Words::tr("%1 takes two widths, such as %2")
                       .arg(usage(), name(Format{.representation = representation(), .whole = 4, .fraction = 4}));
            return std::nullopt;
        }
        const Format f{.representation = representation(), .whole = m.captured(1).toInt(), .fraction = m.captured(2).toInt()};
        if (!offered(f)) {
            *why = Words::tr("fixed point has %1 to %2 bits each side of the point, at least 1 in all")
                       .arg(limits::minFixedPart)
                       .arg(limits::maxFixedPart);
            return std::nullopt;
        }
        return f;
    }
    QString name(const Format &f) const override
    {
        return QString::fromLatin1(representation().id.data(), qsizetype(representation().id.size())) + u':'
            + QString::number(f.whole) + u'.' + QString::number(f.fraction);
    }
    QList<Width> widths() const override { return {Width::Whole, Width::Fraction}; }
    // Addition and subtraction in columns, the point kept in its place; the
    // error of a stored number.
    QList<Operation> calculations() const override
    {
        return {Operation::Add, Operation::Subtract, Operation::Error};
    }
    QList<Rounding> roundings() const override { return {Rounding::Cut, Rounding::Nearest}; }
    Worked calculate(const Format &f, Operation operation, const Calculation &c) const override
    {
        if (operation == Operation::Error)
            return floating::error(*this, f, c.operands.value(0));
        return arithmetic::calculate(*this, f, operation, c);
    }
    QString newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const override
    {
        if (operation == Operation::Error)
            return floating::errorQuestion(*this, f, rng);
        return PlaceValueTopic::newQuestion(f, operation, rng);
    }
    std::optional<CalculationMark> markCalculation(const Format &f, Operation operation, const Calculation &c,
                                                   const QString &answer, const Worked &right) const override
    {
        if (operation != Operation::Error)
            return std::nullopt;
        return floating::mark(*this, f, operation, c, answer, right);
    }
    bool offered(const Format &f) const override
    {
        const auto within = [](int v) { return v >= limits::minFixedPart && v <= limits::maxFixedPart; };
        return within(f.whole) && within(f.fraction) && f.whole + f.fraction >= 1;
    }

    // The whole part and the fraction part, either of them left out when it
    // has no bits; the leftmost place of all negative in two's complement.
    std::vector<BitGroup> groups(const Format &f) const override
    {
        std::vector<BitGroup> g;
        if (f.whole > 0)
            g.push_back(placeGroup(Words::tr("the whole part"), f.whole, 0, m_twos));
        if (f.fraction > 0)
            g.push_back(placeGroup(Words::tr("the fraction part"), f.fraction, -f.fraction, m_twos && f.whole == 0));
        return g;
    }
    QString describe(const Format &f) const override
    {
        return (m_twos ? Words::tr("two's complement fixed point with %1 bits before the point and %2 after")
                       : Words::tr("unsigned fixed point with %1 bits before the point and %2 after"))
            .arg(f.whole)
            .arg(f.fraction);
    }
    QString patternName(const Format &f) const override
    {
        return (m_twos ? Words::tr("a two's complement fixed-point pattern with %1 before the point and %2 after")
                       : Words::tr("an unsigned fixed-point pattern with %1 before the point and %2 after"))
            .arg(Words::count(f.whole))
            .arg(f.fraction);
    }
    QString heading(const Format &f) const override
    {
        return (m_twos ? practice::Words::tr("Two's complement fixed point: %1 before the point, %2 after")
                       : practice::Words::tr("Unsigned fixed point: %1 before the point, %2 after"))
            .arg(practice::count(f.whole))
            .arg(f.fraction);
    }
    QString wrongCount(const Words &w, qsizetype typed) const override
    {
        const Format &f = w.format();
        const QString typedCount = typed == 1 ? Words::tr("1 was typed") : Words::tr("%1 were typed").arg(typed);
        return Words::tr("%1 before the point and %2 after need %3; %4.")
            .arg(Words::count(f.whole), QString::number(f.fraction), Words::count(f.totalBits()), typedCount);
    }

    QString pointProblem(const practice::BitsMarking &m) const override
    {
        const int at = m.student.points.front();
        if (at == m.format.whole)
            return QString();
        return practice::Words::tr("Your answer has its point after %1; in this format the point stands after %2.")
            .arg(practice::count(at), practice::count(m.format.whole));
    }

protected:
    Worked toBinary(const Format &f, const exact::Reading &r, const Typed &typed, Steps steps) const override
    {
        const int n = f.totalBits();
        const Number low = m_twos ? -Number::power2(n - 1 - f.fraction) : Number();
        const Number high = ((m_twos ? Number::power2(n - 1) : Number::power2(n)) - Number(1)).times2(-f.fraction);
        const bool negative = r.negative;
        if (r.kind == exact::Reading::Kind::Huge || (negative && !m_twos))
            return refuse(std::move(steps), make(step::OutOfRange{typed, low, high}));
        const QString zeros(n, u'0');
        if (r.kind == exact::Reading::Kind::Tiny) {
            steps.push_back(make(step::TinyCut{typed, -f.fraction}));
            steps.push_back(make(step::Result{typed, written(f, zeros)}));
            return {false, written(f, zeros), std::move(steps), std::nullopt};
        }
        // The size, cut after the last place (or rounded to nearest, halves
        // away from zero), must fit.
        const Number size = r.value.abs();
        const Number cutSize = size.times2(f.fraction).truncated();
        const bool nearest = f.rounding == Rounding::Nearest;
        const Number cut = nearest ? (size.times2(f.fraction) + Number::power2(-1)).truncated() : cutSize;
        const Number cap = m_twos ? (negative ? Number::power2(n - 1) : Number::power2(n - 1) - Number(1))
                                  : Number::power2(n) - Number(1);
        if (cut > cap)
            return refuse(std::move(steps), make(step::OutOfRange{typed, low, high}));
        if (negative)
            steps.push_back(make(step::Negative{r.value}));
        const Number whole = size.truncated();
        if (f.whole > 0)
            steps.push_back(make(subtractions(whole.toUnsigned(), f.whole)));
        QString fractionBitsFound;
        if (f.fraction > 0)
            steps.push_back(make(doubling(size - whole, f.fraction, fractionBitsFound)));
        if (nearest && size.times2(f.fraction) != cutSize) {
            const auto pointed = [&](const Number &v) {
                const QString b = patterns::toBits(v.toUnsigned(), n);
                return f.fraction > 0 ? b.left(f.whole) + u'.' + b.mid(f.whole) : b;
            };
            steps.push_back(make(step::FixedRounded{pointed(cutSize), pointed(cut), cut != cutSize}));
        }
        QString bits = patterns::toBits(cut.toUnsigned(), n);
        steps.push_back(make(step::PlaceTable{bits, f.fraction, false}));
        if (negative) {
            step::TwosComplement t = twosComplement(bits, step::TwosComplement::Of::Number, f.fraction);
            bits = t.result;
            steps.push_back(make(std::move(t)));
        }
        const Number held = valueOf(f, bits);
        const QString answer = written(f, bits);
        steps.push_back(make(step::Held{answer, held, typed, r.value - held, -f.fraction, nearest}));
        steps.push_back(make(step::Result{typed, answer}));
        return {false, answer, std::move(steps), held};
    }
    bool cuts() const override { return true; }

private:
    bool m_twos;
};

}  // namespace

const Topic &unsignedFixedTopic()
{
    static const FixedTopic topic(false);
    return topic;
}

const Topic &twosFixedTopic()
{
    static const FixedTopic topic(true);
    return topic;
}

}  // namespace quorvex::workbench
