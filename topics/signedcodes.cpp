// SPDX-License-Identifier: MIT
// Whole numbers in n bits with a sign bit in front. Sign and magnitude: the
// leftmost bit is the sign (1 for negative), the other bits the magnitude
// by place values. One's complement: a negative number is its magnitude's
// bits, every one inverted. Both have two patterns for 0 (+0 and -0), so
// n bits hold one value fewer than they have patterns, from -(2^(n-1) - 1)
// to 2^(n-1) - 1.
#include "topics/arithmetic.h"
#include "engine/bitpattern.h"
#include "engine/methods.h"
#include "engine/questions.h"
#include "engine/topic.h"
#include "engine/words.h"
#include "topics/bitgroups.h"

#include <QRandomGenerator>
#include <QRegularExpression>

namespace quorvex::workbench {

inline constexpr Representation signMagnitude{"int-signmag"};
inline constexpr Representation onesComplement{"int-ones"};

using exact::Number;
using patterns::toBits;
using practice::BitsMarking;
using practice::Candidate;
using practice::Mistake;
using practice::Misreading;
using practice::NumberMarking;
using practice::shown;
namespace pw = practice;  // the marking's words

namespace {

enum class Code { SignMagnitude, Ones };

// ---- Steps ------------------------------------------------------------------

// How the code writes a number, said before the method.
struct CodeRule {
    Code code;
    int bits;
};
// A number to bits: its sign, and what is done with its magnitude.
struct SignOf {
    Code code;
    Number value;
    int bits;
};
// Sign and magnitude: the sign bit set in front of the magnitude's bits.
struct SignInFront {
    bool negative;
    QString magnitude, result;
};
// One's complement: every bit inverted.
struct Inverted {
    QString bits, inverted;
    bool toMagnitude = false;  // reading a negative pattern back
};
// How one's complement differs from two's complement, with this question's
// own patterns where it has them.
struct UnlikeTwos {
    int bits;
    QString ones, twos;  // a negative number in both codes; empty when none
    bool readBack = false;
    Number twosValue;  // the pattern read as two's complement, when read back
};
// Bits to a number: the sign bit read.
struct SignRead {
    Code code;
    QString bits;
};
struct ValueIs {
    Code code;
    QString bits;
    Number value;
    bool negativeZero = false;
};
// The range's counts: patterns against values.
struct Counts {
    Code code;
    int bits;
};

}  // namespace

QUORVEX_STEP(CodeRule)
QUORVEX_STEP(SignOf)
QUORVEX_STEP(SignInFront)
QUORVEX_STEP(Inverted)
QUORVEX_STEP(UnlikeTwos)
QUORVEX_STEP(SignRead)
QUORVEX_STEP(ValueIs)
QUORVEX_STEP(Counts)

namespace {

QString zeroPattern(int n) { return QString(n, u'0'); }
QString negativeZero(Code code, int n)
{
    return code == Code::SignMagnitude ? u'1' + QString(n - 1, u'0') : QString(n, u'1');
}
Number highest(int n) { return Number::power2(n - 1) - Number(1); }

}  // namespace

template <>
void StepOf<CodeRule>::say(Words &w) const
{
    const int rest = value.bits - 1;
    if (value.code == Code::SignMagnitude)
        w.para(Words::tr("In sign and magnitude the leftmost bit is the sign, 0 for positive and 1 for negative; the "
                         "other %1 hold the magnitude (the number without its sign) by place values.")
                   .arg(Words::count(rest)));
    else
        w.para(Words::tr("In one's complement a positive number is written by place values, its leftmost bit 0; a "
                         "negative number is its magnitude (the number without its sign) written so, with every "
                         "bit inverted."));
}

template <>
void StepOf<SignOf>::say(Words &w) const
{
    const SignOf &s = value;
    const int n = s.bits;
    if (s.value.isZero()) {
        w.para((s.code == Code::SignMagnitude
                    ? Words::tr("0 is written as +0, %1. The pattern %2, negative zero, also stands for 0: sign and "
                                "magnitude has two patterns for 0.")
                    : Words::tr("0 is written as +0, %1. The pattern %2, negative zero (every bit of 0 inverted), "
                                "also stands for 0: one's complement has two patterns for 0."))
                   .arg(w.bits(zeroPattern(n)), w.bits(negativeZero(s.code, n))));
        return;
    }
    const bool negative = s.value.sign() < 0;
    if (s.code == Code::SignMagnitude)
        w.para((negative ? Words::tr("%1 is negative: the sign bit is 1, and its magnitude %2 goes in the other %3.")
                         : Words::tr("%1 is positive: the sign bit is 0, and %2 goes in the other %3."))
                   .arg(w.num(s.value), w.num(s.value.abs()), Words::count(n - 1)));
    else if (negative)
        w.para(Words::tr("%1 is negative: its magnitude %2 is written in %3 first, then every bit is inverted.")
                   .arg(w.num(s.value), w.num(s.value.abs()), Words::count(n)));
    else
        w.para(Words::tr("%1 is positive: it is written in %2 by place values, as it is.")
                   .arg(w.num(s.value), Words::count(n)));
}

template <>
void StepOf<SignInFront>::say(Words &w) const
{
    const SignInFront &s = value;
    if (s.magnitude.isEmpty()) {
        w.para(Words::tr("With 1 bit there is only the sign bit, %1: no bits are left for a magnitude.")
                   .arg(w.bits(s.result)));
        return;
    }
    w.para(Words::tr("The sign bit %1 (%2) goes in front of the magnitude's bits %3: %4.")
               .arg(s.negative ? QStringLiteral("1") : QStringLiteral("0"),
                    s.negative ? Words::tr("negative") : Words::tr("positive"), w.bits(s.magnitude),
                    w.bits(s.result)));
}

template <>
void StepOf<Inverted>::say(Words &w) const
{
    const Inverted &s = value;
    w.para(s.toMagnitude ? Words::tr("The leftmost bit is 1: the number is negative. Invert every bit to find its "
                                     "magnitude, each 0 to 1 and each 1 to 0:")
                         : Words::tr("Invert every bit, each 0 to 1 and each 1 to 0:"));
    QStringList from{Words::tr("bits")}, to{Words::tr("inverted")};
    for (qsizetype i = 0; i < s.bits.size(); ++i) {
        from << s.bits.mid(i, 1);
        to << s.inverted.mid(i, 1);
    }
    w.table({from, to}, false);
    w.para((s.toMagnitude ? Words::tr("The magnitude's bits are %1.") : Words::tr("So the one's complement is %1."))
               .arg(w.bits(s.inverted)));
}

template <>
void StepOf<UnlikeTwos>::say(Words &w) const
{
    const UnlikeTwos &s = value;
    const int n = s.bits;
    QString first;
    if (!s.twos.isEmpty() && !s.readBack)
        first = Words::tr("No 1 is added after inverting: the two's complement of the same number would be %1, one "
                          "more than %2.")
                    .arg(w.bits(s.twos), w.bits(s.ones));
    else if (!s.twos.isEmpty())
        first = Words::tr("No 1 is added when reading it back: as two's complement, %1 would be %2.")
                    .arg(w.bits(s.ones), w.num(s.twosValue));
    else
        first = Words::tr("A negative number is its magnitude inverted, with no 1 added.");
    w.para(Words::tr("How one's complement differs from two's complement:"));
    w.para(first);
    w.para(Words::tr("0 has two patterns, %1 (+0) and %2 (\u22120), so %3 hold %4 to %5, where two's complement "
                     "holds %6 to %5.")
               .arg(w.bits(zeroPattern(n)), w.bits(negativeZero(Code::Ones, n)), Words::count(n),
                    w.num(-highest(n)), w.num(highest(n)), w.num(-Number::power2(n - 1))));
    w.para(Words::tr("When two patterns are added, a carry out of the leftmost column is added back in at the right "
                     "(the end-around carry); two's complement drops it."));
}

template <>
void StepOf<SignRead>::say(Words &w) const
{
    const SignRead &s = value;
    const bool negative = s.bits.startsWith(u'1');
    if (s.code == Code::Ones) {
        if (!negative)
            w.para(Words::tr("The leftmost bit is 0: the number is positive, and its bits are read by place "
                             "values."));
        return;  // a negative pattern's inverting says the rest
    }
    if (s.bits.size() == 1) {
        w.para(Words::tr("With 1 bit there is only the sign bit: the magnitude has no bits and is 0."));
        return;
    }
    w.para((negative ? Words::tr("The leftmost bit, 1, is the sign: the number is negative. The other %1, %2, are "
                                 "its magnitude.")
                     : Words::tr("The leftmost bit, 0, is the sign: the number is positive. The other %1, %2, are "
                                 "its magnitude."))
               .arg(Words::count(s.bits.size() - 1), w.bits(s.bits.mid(1))));
}

template <>
void StepOf<ValueIs>::say(Words &w) const
{
    const ValueIs &s = value;
    if (s.negativeZero) {
        w.para((s.code == Code::SignMagnitude
                    ? Words::tr("The magnitude is 0 and the sign negative: %1 is negative zero, which stands for 0, "
                                "as %2 (+0) does. Sign and magnitude has two patterns for 0.")
                    : Words::tr("The magnitude is 0: %1 is negative zero, which stands for 0, as %2 (+0) does. "
                                "One's complement has two patterns for 0."))
                   .arg(w.bits(s.bits), w.bits(zeroPattern(int(s.bits.size())))));
        return;
    }
    w.para(Words::tr("So %1 in %2 is %3.").arg(w.bits(s.bits), w.formatName(), w.num(s.value)));
}

template <>
void StepOf<Counts>::say(Words &w) const
{
    const int n = value.bits;
    const Number patterns = Number::power2(n);
    if (n == 1) {
        w.para(Words::tr("1 bit makes 2 patterns, %1 (+0) and %2 (\u22120), and both stand for 0: it holds 1 value.")
                   .arg(w.bits(QStringLiteral("0")), w.bits(QStringLiteral("1"))));
        return;
    }
    w.para(Words::tr("%1 make %2 patterns, but they hold %3 values: %4 (+0) and %5 (\u22120) both stand for 0. Two's "
                     "complement, with one pattern for 0, holds %2 values in %1, one more negative.")
               .arg(Words::count(n), w.num(patterns), w.num(patterns - Number(1)), w.bits(zeroPattern(n)),
                    w.bits(negativeZero(value.code, n))));
}

namespace {

class SignedCodeTopic final : public Topic {
public:
    explicit SignedCodeTopic(Code code) : m_code(code) { }

    // ---- Formats --------------------------------------------------------------
    Representation representation() const override
    {
        return m_code == Code::SignMagnitude ? signMagnitude : onesComplement;
    }
    QString title() const override
    {
        return m_code == Code::SignMagnitude ? Words::tr("Sign and magnitude integer")
                                             : Words::tr("One's complement integer");
    }
    QString usage() const override
    {
        return m_code == Code::SignMagnitude ? QStringLiteral("int-signmag:N") : QStringLiteral("int-ones:N");
    }
    QString usageHelp() const override
    {
        return (m_code == Code::SignMagnitude ? Words::tr("an N-bit sign and magnitude integer, N from %1 to %2")
                                              : Words::tr("an N-bit one's complement integer, N from %1 to %2"))
            .arg(limits::minBits)
            .arg(limits::maxBits);
    }
    std::optional<Format> parse(QStringView widths, QString *why) const override
    {
        return parseBitsFormat(*this, widths, why);
    }
    QString name(const Format &f) const override { return bitsFormatName(f); }
    QList<Width> widths() const override { return {Width::Bits}; }
    // One bit is the sign alone: both its patterns stand for 0.
    bool offered(const Format &f) const override { return f.bits >= limits::minBits && f.bits <= limits::maxBits; }
    QList<Operation> operations() const override
    {
        return {Operation::ToBinary, Operation::ToDenary, Operation::ToHex, Operation::Range};
    }
    int width(const Format &f) const override { return f.bits; }
    // Addition and subtraction by the code's own rule, and the masks, which
    // work on any pattern.
    QList<Operation> calculations() const override
    {
        return {Operation::Add, Operation::Subtract, Operation::And, Operation::Or, Operation::Xor, Operation::Not};
    }
    Worked calculate(const Format &f, Operation operation, const Calculation &c) const override
    {
        return arithmetic::calculate(*this, f, operation, c);
    }

    // Sign and magnitude: the sign bit, then the magnitude's places. One's
    // complement: places whose leftmost is worth -(2^(n-1) - 1), as the
    // pattern's inverse shows.
    std::vector<BitGroup> groups(const Format &f) const override
    {
        if (m_code == Code::SignMagnitude) {
            std::vector<BitGroup> g{{Words::tr("the sign"), {std::nullopt}}};
            if (f.bits > 1)
                g.push_back(placeGroup(Words::tr("the magnitude"), f.bits - 1, 0, false));
            return g;
        }
        BitGroup g = placeGroup(Words::tr("the integer"), f.bits, 0, false);
        g.worth.front() = -(Number::power2(f.bits - 1) - Number(1));
        return {g};
    }

    // ---- Words ----------------------------------------------------------------
    QString describe(const Format &f) const override
    {
        return (m_code == Code::SignMagnitude ? Words::tr("%1-bit sign and magnitude")
                                              : Words::tr("%1-bit one's complement"))
            .arg(f.bits);
    }
    QString heading(const Format &f) const override
    {
        return (m_code == Code::SignMagnitude ? pw::Words::tr("Sign and magnitude integer: %1")
                                              : pw::Words::tr("One's complement integer: %1"))
            .arg(pw::count(f.bits));
    }
    QString written(const Format &, const QString &bits) const override { return bits; }
    QString printed(const Format &, const QString &bits) const override { return grouped(bits); }
    QString wrongCount(const Words &w, qsizetype typed) const override
    {
        const QString typedCount = typed == 1 ? Words::tr("1 was typed") : Words::tr("%1 were typed").arg(typed);
        return Words::tr("%1 needs %2; %3.").arg(w.formatName(), Words::count(w.format().bits), typedCount);
    }

    // ---- The method -------------------------------------------------------------
    Worked solve(const Format &f, Operation operation, const QString &input) const override
    {
        switch (operation) {
        case Operation::ToBinary:
            return toBinary(f, input);
        case Operation::ToDenary:
            return toDenary(f, input);
        case Operation::Normalise:
            return refuse({}, make(step::BadFormat{true}));
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
    Number valueOf(const Format &, const QString &bits) const override { return value(bits); }
    QString pointProblem(const BitsMarking &m) const override
    {
        const int at = m.student.points.front();
        if (at == m.format.bits)
            return QString();
        return pw::Words::tr("Your answer has a point after %1; whole numbers have no point.").arg(pw::count(at));
    }
    std::vector<Candidate> candidates(const BitsMarking &m) const override
    {
        std::vector<Candidate> c;
        const int n = m.format.bits;
        const exact::Reading x = exact::readDecimal(m.question);
        // A negative number: its magnitude's bits, then the sign dealt with
        // in another code's way.
        if (x.kind == exact::Reading::Kind::Exact && x.value.sign() < 0 && x.value.abs() <= highest(n)) {
            const QString size = toBits(x.value.abs().toUnsigned(), n);
            const QString twos = twosComplement(size, step::TwosComplement::Of::Number).result;
            c.push_back({Mistake::NoComplement, size});
            c.push_back({Mistake::TwosComplementGiven, twos});
            if (m_code == Code::SignMagnitude)
                c.push_back({Mistake::OnesComplementGiven, patterns::inverted(size)});
            else
                c.push_back({Mistake::SignAndMagnitude, u'1' + size.mid(1)});
        }
        c.push_back({Mistake::Reversed, patterns::reversed(m.r)});
        return c;
    }
    QString sentence(const BitsMarking &m, Mistake mistake) const override
    {
        const QString lead = pw::Words::tr("Your answer %1 stands for %2").arg(m.s, shown(m.sv));
        const bool sm = m_code == Code::SignMagnitude;
        switch (mistake) {
        case Mistake::NoComplement:
            return sm ? pw::Words::tr("%1: the sign bit was left 0. In sign and magnitude a negative number has 1 as "
                                      "its leftmost bit, in front of its magnitude's bits.")
                            .arg(lead)
                      : pw::Words::tr("%1, the magnitude of the number: its bits were not inverted. In one's "
                                      "complement a negative number is its magnitude with every bit inverted.")
                            .arg(lead);
        case Mistake::TwosComplementGiven:
            return sm ? pw::Words::tr("%1: that is two's complement (the magnitude's bits inverted and 1 added). In "
                                      "sign and magnitude the magnitude's bits stay as they are, with a 1 in front "
                                      "for the minus sign.")
                            .arg(lead)
                      : pw::Words::tr("%1: 1 was added after inverting, which is two's complement; one's complement "
                                      "only inverts the bits.")
                            .arg(lead);
        case Mistake::OnesComplementGiven:
            return pw::Words::tr("%1: the bits were inverted, which is one's complement. In sign and magnitude the "
                                 "magnitude's bits stay as they are, with a 1 in front for the minus sign.")
                .arg(lead);
        case Mistake::SignAndMagnitude:
            return pw::Words::tr("%1: a 1 in front of the magnitude's bits is sign and magnitude; in one's "
                                 "complement every bit of the magnitude is inverted.")
                .arg(lead);
        case Mistake::Reversed:
            return pw::Words::tr("%1: the bits are in reverse order; the leftmost bit is the sign, then the largest "
                                 "place.")
                .arg(lead);
        default:
            break;
        }
        return pw::Words::tr("%1, not %2; it follows none of the usual mistakes: compare it with the working, step "
                             "by step.")
            .arg(lead, shown(m.rv));
    }
    qsizetype stepFor(const BitsMarking &m, Mistake mistake) const override
    {
        switch (mistake) {
        case Mistake::NoComplement:
        case Mistake::TwosComplementGiven:
        case Mistake::OnesComplementGiven:
        case Mistake::SignAndMagnitude: {
            const qsizetype at =
                m_code == Code::SignMagnitude ? findStep<SignInFront>(m.steps) : findStep<Inverted>(m.steps);
            return at >= 0 ? at : findStep<step::Result>(m.steps);
        }
        case Mistake::Reversed:
            return findStep<step::PlaceTable>(m.steps);
        default:
            return findStep<step::Result>(m.steps);
        }
    }
    std::vector<Misreading> misreadings(const NumberMarking &m) const override
    {
        std::vector<Misreading> c;
        const QString &b = m.bits;
        c.push_back({Mistake::MinusLeftOut, -m.rv});
        if (b.startsWith(u'1') && b.size() > 1) {
            c.push_back({Mistake::SignReadPositive, patterns::unsignedValue(b)});
            c.push_back({Mistake::TwosComplementGiven, patterns::twosValue(b)});
            if (m_code == Code::SignMagnitude)
                c.push_back({Mistake::OnesComplementGiven, -patterns::unsignedValue(patterns::inverted(b))});
            else
                c.push_back({Mistake::SignAndMagnitude, -patterns::unsignedValue(QStringView(b).mid(1))});
        }
        c.push_back({Mistake::Reversed, value(patterns::reversed(b))});
        return c;
    }
    QString sentence(const NumberMarking &m, const Misreading &c) const override
    {
        const QString lead = pw::Words::tr("Your answer, %1,").arg(pw::printed(m.answer));
        const bool sm = m_code == Code::SignMagnitude;
        switch (c.mistake) {
        case Mistake::MinusLeftOut:
            return pw::Words::tr("%1 has the right size but the wrong sign.").arg(lead);
        case Mistake::SignReadPositive: {
            const QString place = shown(Number::power2(m.bits.size() - 1));
            return sm ? pw::Words::tr("%1 reads the sign bit as the place value %2; in sign and magnitude the "
                                      "leftmost bit is only the sign (1 for negative) and counts no value.")
                            .arg(lead, place)
                      : pw::Words::tr("%1 reads the leftmost bit as the place value %2; in one's complement a "
                                      "leading 1 means negative: invert every bit to find the magnitude.")
                            .arg(lead, place);
        }
        case Mistake::TwosComplementGiven:
            return sm ? pw::Words::tr("%1 reads the pattern as two's complement, the leftmost place negative; in "
                                      "sign and magnitude the leftmost bit is the sign and the other bits are the "
                                      "magnitude.")
                            .arg(lead)
                      : pw::Words::tr("%1 reads the pattern as two's complement, adding 1 after inverting; in one's "
                                      "complement the magnitude is the inverted bits, with no 1 added.")
                            .arg(lead);
        case Mistake::OnesComplementGiven:
            return pw::Words::tr("%1 inverts the bits to find the magnitude, as one's complement does; in sign and "
                                 "magnitude the bits after the sign are the magnitude as they stand.")
                .arg(lead);
        case Mistake::SignAndMagnitude:
            return pw::Words::tr("%1 reads the pattern as sign and magnitude; in one's complement the magnitude of a "
                                 "negative number is found by inverting every bit.")
                .arg(lead);
        case Mistake::Reversed:
            return pw::Words::tr("%1 reads the bits in reverse order; the leftmost bit is the sign, then the largest "
                                 "place.")
                .arg(lead);
        default:
            return lead;
        }
    }
    qsizetype stepFor(const NumberMarking &m, const Misreading &c) const override
    {
        switch (c.mistake) {
        case Mistake::MinusLeftOut:
            return findStep<ValueIs>(m.steps);
        case Mistake::Reversed:
            return findStep<step::PlaceTable>(m.steps);
        default:
            return 0;
        }
    }

    // ---- Questions ------------------------------------------------------------------
    QString newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const override
    {
        const int n = f.bits;
        if (operation == Operation::ToDenary && n > 1 && rng.bounded(12) == 0)  // now and then, negative zero
            return printed(f, negativeZero(m_code, n));
        // A magnitude of a size the sign leaves room for, with its first 1 in
        // the upper half of the places.
        quint64 magnitude = 0;
        if (n > 1) {
            const int top = int(rng.bounded(practice::lowestTopBit(n - 2), n - 1));
            magnitude = (quint64(1) << top) | (rng.generate64() & patterns::lowBits(top));
        }
        const Number v = rng.bounded(2) == 1 ? -Number::fromUnsigned(magnitude) : Number::fromUnsigned(magnitude);
        if (operation == Operation::ToBinary)
            return v.toDecimal();
        if (operation == Operation::ToDenary || operation == Operation::ToHex)
            return printed(f, solve(f, Operation::ToBinary, v.toDecimal()).text);
        return QString();
    }

private:
    Number value(const QString &bits) const
    {
        if (!bits.startsWith(u'1'))
            return patterns::unsignedValue(bits);
        return m_code == Code::SignMagnitude ? -patterns::unsignedValue(QStringView(bits).mid(1))
                                             : -patterns::unsignedValue(patterns::inverted(bits));
    }

    Worked toBinary(const Format &f, const QString &input) const
    {
        const exact::Reading r = exact::readDecimal(input);
        if (r.kind == exact::Reading::Kind::NotANumber)
            return refuse({}, make(step::NotANumber{input}));
        const Typed typed = typedOf(r, input);
        Steps steps = readingSteps(r, input);
        const int n = f.bits;
        const Number high = highest(n), low = -high;
        if (r.kind == exact::Reading::Kind::Huge)
            return refuse(std::move(steps), make(step::OutOfRange{typed, low, high}));
        if (r.kind == exact::Reading::Kind::Tiny || !r.value.isInteger())
            return refuse(std::move(steps), make(step::NotWhole{typed}));
        if (r.value < low || r.value > high)
            return refuse(std::move(steps), make(step::OutOfRange{typed, low, high}));
        const bool negative = r.value.sign() < 0;
        const quint64 size = r.value.abs().toUnsigned();
        steps.push_back(make(CodeRule{m_code, n}));
        steps.push_back(make(SignOf{m_code, r.value, n}));
        QString bits;
        if (m_code == Code::SignMagnitude) {
            const QString magnitude = toBits(size, n - 1);
            if (n > 1) {
                steps.push_back(make(subtractions(size, n - 1)));
                steps.push_back(make(step::PlaceTable{magnitude, 0, false}));
            }
            bits = (negative ? u'1' : u'0') + magnitude;
            steps.push_back(make(SignInFront{negative, magnitude, bits}));
        } else {
            bits = toBits(size, n);
            steps.push_back(make(subtractions(size, n)));
            steps.push_back(make(step::PlaceTable{bits, 0, false}));
            QString twos;
            if (negative) {
                const QString magnitude = bits;
                bits = patterns::inverted(magnitude);
                twos = twosComplement(magnitude, step::TwosComplement::Of::Number).result;
                steps.push_back(make(Inverted{magnitude, bits}));
            }
            steps.push_back(make(UnlikeTwos{n, bits, twos, false, Number()}));
        }
        steps.push_back(make(step::Result{typed, bits}));
        return {false, bits, std::move(steps), std::nullopt};
    }

    Worked toDenary(const Format &f, const QString &input) const
    {
        const ReadBits read = readBits(f.bits, input);
        if (!read.ok)
            return refuse({}, read.refusal);
        const QString &b = read.bits;
        const bool negative = b.startsWith(u'1');
        Steps steps = read.steps;  // how hex was read
        steps.push_back(make(SignRead{m_code, b}));
        QString magnitude = m_code == Code::SignMagnitude ? b.mid(1) : b;
        if (m_code == Code::Ones && negative) {
            magnitude = patterns::inverted(b);
            steps.push_back(make(Inverted{b, magnitude, true}));
        }
        const Number size = patterns::unsignedValue(magnitude);
        if (!magnitude.isEmpty()) {
            steps.push_back(make(step::PlaceTable{magnitude, 0, false}));
            steps.push_back(make(step::PlaceSum{magnitude, 0, false, size}));
        }
        const Number v = negative ? -size : size;
        steps.push_back(make(ValueIs{m_code, b, v, negative && size.isZero()}));
        if (m_code == Code::Ones && negative)
            steps.push_back(make(UnlikeTwos{f.bits, b, b, true, patterns::twosValue(b)}));
        return {false, v.toDecimal(), std::move(steps), std::nullopt};
    }

    Worked range(const Format &f) const
    {
        const int n = f.bits;
        step::Range r;
        const Number high = highest(n);
        const QString largest = toBits(high.toUnsigned(), n);
        const QString mostNegative = m_code == Code::SignMagnitude ? u'1' + largest.mid(1) : patterns::inverted(largest);
        r.largest = {largest, high};
        r.hasPositive = n > 1;
        r.smallestPositive = {toBits(1, n), Number(1)};
        r.negative = n > 1;
        r.mostNegative = n > 1 ? step::Extreme{mostNegative, -high} : step::Extreme{largest, Number()};
        const Number patterns = Number::power2(n);
        const auto fact = [&](const step::Extreme &x) { return x.bits + QStringLiteral(" = ") + x.value.toDecimal(); };
        const QString text = QStringLiteral("largest ") + fact(r.largest) + QStringLiteral("; smallest positive ")
            + (r.hasPositive ? fact(r.smallestPositive) : QStringLiteral("none")) + QStringLiteral("; most negative ")
            + fact(r.mostNegative) + QStringLiteral("; ") + patterns.toDecimal() + QStringLiteral(" patterns, ")
            + (patterns - Number(1)).toDecimal() + (n == 1 ? QStringLiteral(" value") : QStringLiteral(" values"));
        Steps steps{make(std::move(r)), make(Counts{m_code, n})};
        if (m_code == Code::Ones)
            steps.push_back(make(UnlikeTwos{n, QString(), QString(), false, Number()}));
        return {false, text, std::move(steps), std::nullopt};
    }

    Code m_code;
};

}  // namespace

const Topic &signMagnitudeTopic()
{
    static const SignedCodeTopic topic(Code::SignMagnitude);
    return topic;
}

const Topic &onesComplementTopic()
{
    static const SignedCodeTopic topic(Code::Ones);
    return topic;
}

}  // namespace quorvex::workbench
