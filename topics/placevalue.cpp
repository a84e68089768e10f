// SPDX-License-Identifier: MIT
#include "topics/placevalue.h"

#include "engine/bitpattern.h"
#include "engine/hex.h"
#include "engine/methods.h"
#include "engine/questions.h"
#include "engine/words.h"

#include <QRandomGenerator>

#include <algorithm>

namespace quorvex::workbench {

using exact::Number;
using patterns::fromBits;
using patterns::lowBits;
using patterns::toBits;
using practice::BitsMarking;
using practice::Candidate;
using practice::Mistake;
using practice::Misreading;
using practice::NumberMarking;
using practice::shown;
namespace pw = practice;  // the marking's words

namespace {

// The step between neighbouring patterns.
struct LastPlace {
    Number step;
};

}  // namespace

QUORVEX_STEP(LastPlace)
template <>
void StepOf<LastPlace>::say(Words &w) const
{
    w.para(Words::tr("Step: the last place is worth %1: neighbouring patterns differ by that.").arg(w.num(value.step)));
}

namespace {

Number patternValue(const Format &f, quint64 pattern)
{
    return wholeValue(pattern, f.totalBits(), f.isSigned()).times2(f.stepPower());
}

Worked toDenary(const Topic &topic, const Format &f, const QString &input)
{
    const int fraction = f.fractionBits();
    ReadBits read = readBits(f.totalBits(), input, fraction);
    if (!read.ok)
        return refuse({}, read.refusal);
    const Number value = patternValue(f, fromBits(read.bits));
    Steps steps = std::move(read.steps);
    // Hex of a whole number read straight by place values of 16, as well
    // as through its bits.
    if (read.hex && fraction == 0 && !f.isSigned()) {
        const auto *h = as<step::HexRead>(steps.front());
        steps.push_back(make(step::HexPlaces{h->whole, value}));
    }
    steps.push_back(make(step::PlaceTable{read.bits, fraction, f.isSigned()}));
    steps.push_back(make(step::PlaceSum{read.bits, fraction, f.isSigned(), value}));
    (void)topic;
    return {false, value.toDecimal(), std::move(steps), std::nullopt};
}

Worked range(const Topic &topic, const Format &f)
{
    step::Range r;
    const int n = f.totalBits();
    const bool twos = f.isSigned();
    const quint64 largest = twos ? lowBits(n - 1) : lowBits(n);
    const quint64 mostNegative = twos ? quint64(1) << (n - 1) : 0;
    r.largest = {toBits(largest, n), patternValue(f, largest)};
    r.mostNegative = {toBits(mostNegative, n), patternValue(f, mostNegative)};
    r.hasPositive = largest > 0;
    r.smallestPositive = {toBits(1, n), patternValue(f, 1)};
    r.negative = twos;
    const Number stepValue = Number::power2(f.stepPower());
    const auto fact = [&](const step::Extreme &x) {
        return topic.written(f, x.bits) + QStringLiteral(" = ") + x.value.toDecimal();
    };
    const QString text = QStringLiteral("largest ") + fact(r.largest) + QStringLiteral("; smallest positive ")
        + (r.hasPositive ? fact(r.smallestPositive) : QStringLiteral("none")) + QStringLiteral("; most negative ")
        + fact(r.mostNegative) + QStringLiteral("; step = ") + stepValue.toDecimal();
    return {false, text, Steps{make(std::move(r)), make(LastPlace{stepValue})}, std::nullopt};
}

}  // namespace

QList<Operation> PlaceValueTopic::operations() const
{
    return {Operation::ToBinary, Operation::ToDenary, Operation::ToHex, Operation::Range};
}

QString PlaceValueTopic::written(const Format &f, const QString &bits) const
{
    if (f.fractionBits() > 0)
        return bits.left(f.whole) + u'.' + bits.mid(f.whole);
    return bits;
}

QString PlaceValueTopic::printed(const Format &f, const QString &bits) const
{
    const auto fromRight = [](const QString &b) {
        QString out;
        for (qsizetype i = 0; i < b.size(); ++i) {
            if (i > 0 && (b.size() - i) % 4 == 0)
                out += u' ';
            out += b.at(i);
        }
        return out;
    };
    const auto fromLeft = [](const QString &b) {
        QString out;
        for (qsizetype i = 0; i < b.size(); ++i) {
            if (i > 0 && i % 4 == 0)
                out += u' ';
            out += b.at(i);
        }
        return out;
    };
    if (f.fractionBits() > 0)
        return fromRight(bits.left(f.whole)) + u'.' + fromLeft(bits.mid(f.whole));
    return fromRight(bits);
}

Worked PlaceValueTopic::solve(const Format &f, Operation operation, const QString &input) const
{
    switch (operation) {
    case Operation::ToBinary: {
        const exact::Reading r = exact::readDecimal(input);
        if (r.kind == exact::Reading::Kind::NotANumber)
            return refuse({}, make(step::NotANumber{input}));
        return toBinary(f, r, typedOf(r, input), readingSteps(r, input));
    }
    case Operation::ToDenary:
        return toDenary(*this, f, input);
    case Operation::Normalise:
        return refuse({}, make(step::BadFormat{true}));
    case Operation::ToHex:
        return hexAnswer(*this, f, input);
    default:  // a calculation: Topic::calculate
        return refuse({}, make(step::BadFormat{}));
    case Operation::Range:
        break;
    }
    return range(*this, f);
}

// ---- Marking ----------------------------------------------------------------------

Number PlaceValueTopic::valueOf(const Format &f, const QString &bits) const
{
    return (f.isSigned() ? patterns::twosValue(bits) : patterns::unsignedValue(bits)).times2(f.stepPower());
}

std::vector<Candidate> PlaceValueTopic::candidates(const BitsMarking &m) const
{
    std::vector<Candidate> c;
    const Format &f = m.format;
    if (m.direction == Direction::ToBinary) {
        const exact::Reading x = exact::readDecimal(m.question);
        const bool exactValue = x.kind == exact::Reading::Kind::Exact;
        // A negative number: its size converted, then the sign dealt with wrongly.
        if (exactValue && x.value.sign() < 0) {
            const Worked size = solve(f, Operation::ToBinary, x.value.abs().toDecimal());
            if (!size.refused) {
                const QString p = practice::plain(size.text);
                c.push_back({Mistake::NoComplement, p});
                c.push_back({Mistake::SignAndMagnitude, u'1' + p.mid(1)});
                c.push_back({Mistake::InvertedOnly, patterns::inverted(p)});
            }
        }
        // Cut where the method rounds to nearest.
        if (exactValue && f.isFixed() && f.rounding == Rounding::Nearest) {
            Format cutting = f;
            cutting.rounding = Rounding::Cut;
            const Worked cut = solve(cutting, Operation::ToBinary, m.question);
            if (!cut.refused)
                c.push_back({Mistake::Cut, practice::plain(cut.text)});
        }
        // Rounded where the method cuts: one step further from zero.
        if (exactValue && !f.isInteger() && f.rounding == Rounding::Cut) {
            const Number held = valueOf(f, m.r);
            if (held != x.value) {
                const Number step = Number::power2(f.stepPower());
                const Number away = x.value.sign() < 0 ? held - step : held + step;
                const Worked rounded = solve(f, Operation::ToBinary, away.toDecimal());
                if (!rounded.refused)
                    c.push_back({Mistake::Rounded, practice::plain(rounded.text)});
            }
        }
    }
    c.push_back({Mistake::Reversed, patterns::reversed(m.r)});
    return c;
}

QString PlaceValueTopic::sentence(const BitsMarking &m, Mistake mistake) const
{
    const QString answer = written(m.format, m.s);
    const QString lead = pw::Words::tr("Your answer %1 stands for %2").arg(answer, shown(m.sv));
    switch (mistake) {
    case Mistake::NoComplement:
        return pw::Words::tr("%1, the size of the number: the two's complement was not taken. For a negative "
                             "number, invert every bit of the size's pattern, then add 1.")
            .arg(lead);
    case Mistake::InvertedOnly:
        return pw::Words::tr("%1: the bits were inverted but 1 was not added.").arg(lead);
    default:
        break;
    }
    return practice::sharedSentence(m, mistake, lead);
}

qsizetype PlaceValueTopic::stepFor(const BitsMarking &m, Mistake mistake) const
{
    switch (mistake) {
    case Mistake::NoComplement:
    case Mistake::SignAndMagnitude:
    case Mistake::InvertedOnly:
        return findStep<step::TwosComplement>(m.steps, [](const step::TwosComplement &t) {
            return t.of != step::TwosComplement::Of::Exponent;
        });
    case Mistake::Rounded:
    case Mistake::Cut:
        return findStep<step::Doubling>(m.steps);
    case Mistake::Reversed:
        return findStep<step::PlaceTable>(m.steps);
    default:
        return findStep<step::Result>(m.steps);
    }
}

std::vector<Misreading> PlaceValueTopic::misreadings(const NumberMarking &m) const
{
    std::vector<Misreading> c;
    const Format &f = m.format;
    const QString &b = m.bits;
    c.push_back({Mistake::MinusLeftOut, -m.rv});
    const int fraction = f.fractionBits();
    const bool top = b.startsWith(u'1');
    if (f.isSigned() && top) {
        c.push_back({Mistake::SignReadPositive, patterns::unsignedValue(b).times2(-fraction)});
        c.push_back({Mistake::SignAndMagnitude, -patterns::unsignedValue(QStringView(b).mid(1)).times2(-fraction)});
        c.push_back({Mistake::InvertedOnly, -patterns::unsignedValue(patterns::inverted(b)).times2(-fraction)});
    } else if (!f.isSigned() && top && b.size() > 1) {
        c.push_back({Mistake::UnsignedReadNegative, patterns::twosValue(b).times2(-fraction)});
    }
    if (fraction > 0)
        c.push_back({Mistake::PointIgnored, m.rv.times2(fraction)});
    c.push_back({Mistake::Reversed, valueOf(f, patterns::reversed(b))});
    return c;
}

QString PlaceValueTopic::sentence(const NumberMarking &m, const Misreading &c) const
{
    const QString lead = pw::Words::tr("Your answer, %1,").arg(practice::printed(m.answer));
    const int n = int(m.bits.size());
    switch (c.mistake) {
    case Mistake::SignReadPositive: {
        const QString place = shown(Number::power2(n - 1 - m.format.fractionBits()));
        return pw::Words::tr("%1 reads the leftmost place as +%2; in two's complement it counts %3.")
            .arg(lead, place, practice::printed(u'-' + place));
    }
    case Mistake::UnsignedReadNegative:
        return pw::Words::tr("%1 reads the leftmost place as negative, but this format is unsigned: every place "
                             "counts positive.")
            .arg(lead);
    case Mistake::PointIgnored:
        return pw::Words::tr("%1 reads the bits as a whole number, leaving out the point %2 from the right.")
            .arg(lead, practice::places(m.format.fractionBits()));
    default:
        return practice::sharedReading(c.mistake, lead);
    }
}

qsizetype PlaceValueTopic::stepFor(const NumberMarking &m, const Misreading &c) const
{
    return c.mistake == Mistake::MinusLeftOut ? findStep<step::PlaceSum>(m.steps) : 0;
}

// ---- Questions --------------------------------------------------------------------

namespace {

// A value other than zero that the format holds exactly.
Number heldValue(const Format &f, QRandomGenerator &rng, bool negative)
{
    const int n = f.totalBits();
    const quint64 cap = f.isSigned() ? (negative ? quint64(1) << (n - 1) : lowBits(n - 1)) : lowBits(n);
    if (cap == 0)  // a 1-bit two's complement pattern holds no positive value
        return heldValue(f, rng, true);
    const int top = practice::topBit(cap);
    // Integers take any bits below their first 1; fixed point few,
    // and not so deep after the point that the decimal gets long.
    const int lowest = f.isFixed() ? std::clamp(f.fraction - 10, 0, top) : practice::lowestTopBit(top);
    const int t = int(rng.bounded(lowest, top + 1));
    const int below = f.isFixed() ? std::min(t, practice::significantBits) : t;
    quint64 magnitude = (quint64(1) << t) | ((rng.generate64() & lowBits(below)) << (t - below));
    magnitude = std::min(magnitude, cap);
    const Number size = Number::fromUnsigned(magnitude).times2(f.stepPower());
    return negative ? -size : size;
}

}  // namespace

QString PlaceValueTopic::newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const
{
    switch (operation) {
    case Operation::ToBinary: {
        const bool negative = f.isSigned() && rng.bounded(2) == 1;
        const Number value = heldValue(f, rng, negative);
        if (cuts() && rng.bounded(6) == 0) {
            if (const std::optional<QString> cut = practice::cutQuestion(*this, f, rng, value))
                return *cut;
        }
        return value.toDecimal();
    }
    case Operation::ToDenary: {
        const Number value = heldValue(f, rng, f.isSigned() && rng.bounded(2) == 1);
        return printed(f, practice::plain(solve(f, Operation::ToBinary, value.toDecimal()).text));
    }
    case Operation::ToHex: {
        // The bits of a pattern to write in hex, or, for a whole number, the
        // number itself.
        const Number value = heldValue(f, rng, f.isSigned() && rng.bounded(2) == 1);
        if (f.isInteger() && rng.bounded(2) == 0)
            return value.toDecimal();
        return printed(f, practice::plain(solve(f, Operation::ToBinary, value.toDecimal()).text));
    }
    default:
        return QString();
    }
}

}  // namespace quorvex::workbench
