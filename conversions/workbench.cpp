// SPDX-License-Identifier: MIT
// The workbench's arithmetic: each direction works the way it is taught by
// hand and records its steps with their real numbers; workbenchtext.cpp
// puts them into words. Patterns are at most 64 bits (integers, fixed
// point, a mantissa) and held in quint64; every value is exact.
#include "conversions/workbench.h"

#include "conversions/exact.h"
#include "conversions/workbenchtext.h"
#include "conversions/bitpattern.h"

#include <algorithm>

namespace quorvex::workbench {

namespace {

using patterns::fromBits;
using patterns::toBits;

using exact::Number;

// What an answer is before it is put into words.
struct Outcome {
    bool refused = false;
    QString text;  // the answer, when not refused
    Steps steps;
};

Outcome refuse(Steps steps, Step why)
{
    steps.push_back(std::move(why));
    return {true, QString(), std::move(steps)};
}

bool offered(const Format &f)
{
    const auto within = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    if (f.isInteger())
        return within(f.bits, limits::minBits, limits::maxBits);
    if (f.isFixed())
        return within(f.whole, limits::minFixedPart, limits::maxFixedPart)
            && within(f.fraction, limits::minFixedPart, limits::maxFixedPart) && f.whole + f.fraction >= 1;
    return within(f.mantissa, limits::minMantissa, limits::maxMantissa)
        && within(f.exponent, limits::minExponent, limits::maxExponent);
}

// ---- Patterns ------------------------------------------------------------------

quint64 lowBits(int n) { return n >= 64 ? ~quint64(0) : (quint64(1) << n) - 1; }


// The whole number a pattern of n bits stands for.
Number wholeValue(quint64 pattern, int n, bool twos)
{
    Number v = Number::fromUnsigned(pattern);
    if (twos && ((pattern >> (n - 1)) & 1))
        v = v - Number::power2(n);
    return v;
}

int fractionBits(const Format &f) { return f.isFixed() ? f.fraction : 0; }

Number patternValue(const Format &f, quint64 pattern)
{
    return wholeValue(pattern, f.totalBits(), f.isSigned()).times2(-fractionBits(f));
}

qint64 highestExponent(const Format &f) { return (qint64(1) << (f.exponent - 1)) - 1; }
qint64 lowestExponent(const Format &f) { return -(qint64(1) << (f.exponent - 1)); }
QString exponentBits(const Format &f, qint64 e) { return toBits(quint64(e) & lowBits(f.exponent), f.exponent); }

qint64 exponentValue(const Format &f, const QString &bits)
{
    return qint64(fromBits(bits)) - (bits.at(0) == u'1' ? qint64(1) << f.exponent : 0);
}

Number mantissaValue(const Format &f, quint64 mantissa)
{
    return wholeValue(mantissa, f.mantissa, true).times2(-(f.mantissa - 1));
}

// Invert every bit and add 1, column by column from the right.
step::TwosComplement twosComplement(const QString &bits, step::TwosComplement::Of of, int fraction = 0)
{
    step::TwosComplement t;
    t.of = of;
    t.fraction = fraction;
    t.bits = bits;
    const qsizetype n = bits.size();
    t.inverted = bits;
    for (QChar &c : t.inverted)
        c = c == u'1' ? u'0' : u'1';
    t.result = t.inverted;
    t.carries = QString(n, u'0');
    int carry = 1;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const int sum = (t.inverted.at(i) == u'1') + carry;
        t.result[i] = sum % 2 ? u'1' : u'0';
        carry = sum / 2;
        if (carry && i > 0)
            t.carries[i - 1] = u'1';
    }
    t.dropped = carry;
    return t;
}

// ---- Reading bits -----------------------------------------------------------

struct ReadBits {
    bool ok = false;
    QString bits;
    Step refusal;
};

ReadBits readBits(const Format &f, const QString &input)
{
    ReadBits r;
    QStringList others;
    int points = 0;
    for (QChar c : input) {
        if (c == u'0' || c == u'1')
            r.bits += c;
        else if (c == u'.')
            ++points;
        else if (!c.isSpace() && others.size() < 5 && !others.contains(QString(c)))
            others << QString(c);
    }
    if (!others.isEmpty())
        r.refusal = step::NotBits{others};
    else if (points > 1)
        r.refusal = step::TwoPoints{};
    else if (r.bits.size() != f.totalBits())
        r.refusal = step::WrongCount{r.bits.size()};
    else
        r.ok = true;
    return r;
}

// ---- Number to bits ---------------------------------------------------------

step::Subtractions subtractions(quint64 value, int width)
{
    step::Subtractions s;
    s.value = value;
    quint64 left = value;
    for (int p = width - 1; p >= 0 && left > 0; --p) {
        const quint64 place = quint64(1) << p;
        if (left >= place) {
            s.rows.push_back({left, place, left - place, p});
            left -= place;
        }
    }
    return s;
}

// `count` bits of a fraction from 0 up to 1 by repeated doubling; the bits
// come back in `bits`. They are one exact product; only the rows the working
// lists are worked out row by row.
step::Doubling doubling(const Number &fraction, int count, QString &bits)
{
    step::Doubling d;
    d.fraction = fraction;
    d.total = count;
    const Number all = fraction.times2(count);
    d.remainder = all - all.truncated();
    bits = all.truncated().wholeBinary();
    if (bits == QStringLiteral("0"))
        bits.clear();
    bits = QString(count - bits.size(), u'0') + bits;
    const qint64 places = fraction.binaryPlaces();
    const int working = places >= 0 ? int(std::min<qint64>(places, count)) : count;
    d.zeros = count - working;

    // Which rows to list: a run of six or more rows giving 0 keeps its
    // first two and its last; then, of many rows, the first and last ones.
    std::vector<bool> listed(size_t(working), true);
    for (int i = 0; i < working;) {
        int j = i;
        while (j < working && bits.at(j) == u'0')
            ++j;
        if (j - i >= 6)
            std::fill(listed.begin() + i + 2, listed.begin() + j - 1, false);
        i = std::max(j, i + 1);
    }
    constexpr int first = 20, last = 16;
    if (std::count(listed.begin(), listed.end(), true) > first + last) {
        int seen = 0, shown = int(std::count(listed.begin(), listed.end(), true));
        for (int i = 0; i < working; ++i) {
            if (listed[size_t(i)] && (seen++ >= first && seen <= shown - last))
                listed[size_t(i)] = false;
        }
    }
    int skipped = 0;
    bool skippedGaveZero = true;
    for (int i = 0; i < working; ++i) {
        if (!listed[size_t(i)]) {
            ++skipped;
            skippedGaveZero = skippedGaveZero && bits.at(i) == u'0';
            continue;
        }
        const Number scaled = fraction.times2(i);
        const Number f = scaled - scaled.truncated();
        const Number doubled = f.times2(1);
        d.rows.push_back({i + 1, f, doubled, bits.at(i) == u'1', skipped, skipped > 0 && skippedGaveZero});
        skipped = 0;
        skippedGaveZero = true;
    }
    return d;
}

Typed typedOf(const exact::Reading &r, const QString &input)
{
    if (r.kind == exact::Reading::Kind::Exact)
        return {r.value, QString(), true};
    return {Number(), input.trimmed(), false};
}

Steps readingSteps(const exact::Reading &r, const QString &input)
{
    Steps steps;
    // A number written otherwise than its plain exact decimal ("25e-1",
    // "+5", "007") is said as what it is; long texts are plain digits.
    const QString trimmed = input.trimmed();
    if (r.kind == exact::Reading::Kind::Exact && trimmed.size() < 200 && r.value.toDecimal() != trimmed)
        steps.push_back(step::ReadAs{trimmed, r.value});
    return steps;
}

Outcome integerToBinary(const Format &f, const exact::Reading &r, const Typed &typed, Steps steps)
{
    const int n = f.bits;
    const bool twos = f.isSigned();
    const Number low = twos ? -Number::power2(n - 1) : Number();
    const Number high = (twos ? Number::power2(n - 1) : Number::power2(n)) - Number(1);
    if (r.kind == exact::Reading::Kind::Huge)
        return refuse(std::move(steps), step::OutOfRange{typed, low, high});
    if (r.kind == exact::Reading::Kind::Tiny || !r.value.isInteger())
        return refuse(std::move(steps), step::NotWhole{typed});
    if (r.value < low || r.value > high)
        return refuse(std::move(steps), step::OutOfRange{typed, low, high});
    const bool negative = r.value.sign() < 0;
    if (negative)
        steps.push_back(step::Negative{r.value});
    const quint64 size = r.value.abs().toUnsigned();
    steps.push_back(subtractions(size, n));
    QString bits = toBits(size, n);
    steps.push_back(step::PlaceTable{bits, 0, false});
    if (negative) {
        step::TwosComplement t = twosComplement(bits, step::TwosComplement::Of::Number);
        bits = t.result;
        steps.push_back(std::move(t));
    }
    steps.push_back(step::Result{typed, bits});
    return {false, bits, std::move(steps)};
}

Outcome fixedToBinary(const Format &f, const exact::Reading &r, const Typed &typed, Steps steps)
{
    const int n = f.totalBits();
    const bool twos = f.isSigned();
    const Number low = twos ? -Number::power2(n - 1 - f.fraction) : Number();
    const Number high = ((twos ? Number::power2(n - 1) : Number::power2(n)) - Number(1)).times2(-f.fraction);
    const bool negative = r.negative;
    if (r.kind == exact::Reading::Kind::Huge || (negative && !twos))
        return refuse(std::move(steps), step::OutOfRange{typed, low, high});
    const QString zeros(n, u'0');
    if (r.kind == exact::Reading::Kind::Tiny) {
        steps.push_back(step::TinyCut{typed, -f.fraction});
        steps.push_back(step::Result{typed, patternText(f, zeros)});
        return {false, patternText(f, zeros), std::move(steps)};
    }
    // The size, cut (not rounded) after the last place, must fit.
    const Number size = r.value.abs();
    const Number cut = size.times2(f.fraction).truncated();
    const Number cap = twos ? (negative ? Number::power2(n - 1) : Number::power2(n - 1) - Number(1))
                            : Number::power2(n) - Number(1);
    if (cut > cap)
        return refuse(std::move(steps), step::OutOfRange{typed, low, high});
    if (negative)
        steps.push_back(step::Negative{r.value});
    const Number whole = size.truncated();
    if (f.whole > 0)
        steps.push_back(subtractions(whole.toUnsigned(), f.whole));
    QString fractionBitsFound;
    if (f.fraction > 0)
        steps.push_back(doubling(size - whole, f.fraction, fractionBitsFound));
    QString bits = toBits(cut.toUnsigned(), n);
    steps.push_back(step::PlaceTable{bits, f.fraction, false});
    if (negative) {
        step::TwosComplement t = twosComplement(bits, step::TwosComplement::Of::Number, f.fraction);
        bits = t.result;
        steps.push_back(std::move(t));
    }
    const Number held = patternValue(f, fromBits(bits));
    const QString answer = patternText(f, bits);
    steps.push_back(step::Held{answer, held, typed, r.value - held, -f.fraction});
    steps.push_back(step::Result{typed, answer});
    return {false, answer, std::move(steps)};
}

step::Extreme largestFloating(const Format &f)
{
    const QString m = u'0' + QString(f.mantissa - 1, u'1');
    return {m + exponentBits(f, highestExponent(f)),
            mantissaValue(f, fromBits(m)).times2(highestExponent(f))};
}
step::Extreme mostNegativeFloating(const Format &f)
{
    return {u'1' + QString(f.mantissa - 1, u'0') + exponentBits(f, highestExponent(f)),
            -Number::power2(highestExponent(f))};
}
step::Extreme smallestFloating(const Format &f)
{
    return {QStringLiteral("01") + QString(f.mantissa - 2, u'0') + exponentBits(f, lowestExponent(f)),
            Number::power2(lowestExponent(f) - 1)};
}

Outcome floatingToBinary(const Format &f, const exact::Reading &r, const Typed &typed, Steps steps)
{
    const int m = f.mantissa;
    const qint64 highest = highestExponent(f), lowest = lowestExponent(f);
    const auto tooLarge = [&](qint64 exponent) {
        const step::Extreme limit = r.negative ? mostNegativeFloating(f) : largestFloating(f);
        return refuse(std::move(steps), step::TooLarge{typed, r.negative, limit.value, limit.bits, exponent, highest});
    };
    const auto tooSmall = [&](qint64 exponent) {
        const step::Extreme s = smallestFloating(f);
        return refuse(std::move(steps), step::TooSmall{typed, exponent, lowest, s.value, s.bits});
    };
    if (r.kind == exact::Reading::Kind::Huge)
        return tooLarge(0);
    if (r.kind == exact::Reading::Kind::Tiny)
        return tooSmall(0);
    if (r.value.isZero()) {
        const QString zeros(f.totalBits(), u'0');
        steps.push_back(step::Zero{});
        steps.push_back(step::Result{typed, patternText(f, zeros)});
        return {false, patternText(f, zeros), std::move(steps)};
    }
    const Number size = r.value.abs();
    qint64 e = size.binaryOrder();
    // The mantissa's digits after its sign bit, cut after the last.
    const quint64 digits = size.times2(m - 1 - e).truncated().toUnsigned();
    // A negative size that cuts to 0.1000... negates to 1.1000..., which
    // normalises to 1.0000... with the exponent one less.
    const bool shiftsBack = r.negative && digits == (quint64(1) << (m - 2));
    if ((shiftsBack && e - 1 >= lowest ? e - 1 : e) > highest)
        return tooLarge(e);
    if (e < lowest)
        return tooSmall(e);
    if (r.negative)
        steps.push_back(step::Negative{r.value});

    // The size in binary: whole part, then the fraction doubled as far as
    // the mantissa can use.
    const Number whole = size.truncated();
    step::Normalised normalised;
    normalised.exponent = e;
    normalised.digits = toBits(digits, m - 1);
    if (!whole.isZero()) {
        if (const quint64 w = whole.toUnsigned(); w != 0)
            steps.push_back(subtractions(w, 64));
        else
            steps.push_back(step::WholeBinary{whole, whole.wholeBinary()});
        normalised.whole = whole.wholeBinary();
    } else {
        normalised.whole = QStringLiteral("0");
    }
    const int fractionRows = int(whole.isZero() ? -e + (m - 1) : std::max<qint64>(0, (m - 1) - e));
    const Number fraction = size - whole;
    if (fractionRows > 0 && !fraction.isZero()) {
        const step::Doubling d = doubling(fraction, fractionRows, normalised.fraction);
        normalised.moreLost = !d.remainder.isZero();
        steps.push_back(d);
    } else {
        normalised.moreLost = !fraction.isZero();
    }
    if (e > m - 1) {
        normalised.lost = normalised.whole.mid(m - 1);
        while (normalised.lost.endsWith(u'0'))
            normalised.lost.chop(1);
    }
    steps.push_back(normalised);

    QString mantissa = u'0' + normalised.digits;
    if (r.negative) {
        step::TwosComplement t = twosComplement(mantissa, step::TwosComplement::Of::Mantissa, m - 1);
        mantissa = t.result;
        steps.push_back(std::move(t));
        if (mantissa.startsWith(QStringLiteral("11"))) {
            const bool possible = e - 1 >= lowest;
            const QString after = mantissa.mid(1) + u'0';
            steps.push_back(step::Renormalised{mantissa, after, possible ? e - 1 : e, possible, lowest});
            if (possible) {
                mantissa = after;
                --e;
            }
        }
    }
    step::ExponentBits exponent{e, QString(), exponentBits(f, e)};
    if (e < 0) {
        exponent.magnitude = toBits(quint64(-e), f.exponent);
        steps.push_back(exponent);
        steps.push_back(twosComplement(exponent.magnitude, step::TwosComplement::Of::Exponent));
    } else {
        steps.push_back(exponent);
    }
    const Number mv = mantissaValue(f, fromBits(mantissa));
    const Number held = mv.times2(e);
    const QString answer = patternText(f, mantissa + exponent.bits);
    steps.push_back(step::FloatingHeld{mantissa, exponent.bits, mv, e, held, typed, r.value - held, e - (m - 1)});
    steps.push_back(step::Result{typed, answer});
    return {false, answer, std::move(steps)};
}

Outcome toBinary(const Format &f, const QString &input)
{
    const exact::Reading r = exact::readDecimal(input);
    if (r.kind == exact::Reading::Kind::NotANumber)
        return refuse({}, step::NotANumber{input});
    const Typed typed = typedOf(r, input);
    Steps steps = readingSteps(r, input);
    if (f.isInteger())
        return integerToBinary(f, r, typed, std::move(steps));
    if (f.isFixed())
        return fixedToBinary(f, r, typed, std::move(steps));
    return floatingToBinary(f, r, typed, std::move(steps));
}

// ---- Normalising ----------------------------------------------------------------

step::Shifts normalise(const Format &f, const QString &mantissa, qint64 exponent)
{
    step::Shifts s;
    s.start = {mantissa, exponent};
    s.lowest = lowestExponent(f);
    QString m = mantissa;
    qint64 e = exponent;
    if (!m.contains(u'1')) {
        s.stop = step::Shifts::Stop::Zero;
        s.pair = patternText(f, QString(f.totalBits(), u'0'));
        return s;
    }
    s.stop = m.at(0) != m.at(1) ? step::Shifts::Stop::AlreadyNormalised : step::Shifts::Stop::Normalised;
    while (m.at(0) == m.at(1)) {
        if (e == s.lowest) {
            s.stop = step::Shifts::Stop::Lowest;
            break;
        }
        m = m.mid(1) + u'0';
        --e;
        s.rows.push_back({m, e});
    }
    s.pair = patternText(f, m + exponentBits(f, e));
    return s;
}

// ---- Bits to a number ---------------------------------------------------------

Outcome toDenary(const Format &f, const QString &input)
{
    const ReadBits read = readBits(f, input);
    if (!read.ok)
        return refuse({}, read.refusal);
    Steps steps;
    if (!f.isFloating()) {
        const int fraction = fractionBits(f);
        const Number value = patternValue(f, fromBits(read.bits));
        steps.push_back(step::PlaceTable{read.bits, fraction, f.isSigned()});
        steps.push_back(step::PlaceSum{read.bits, fraction, f.isSigned(), value});
        return {false, value.toDecimal(), std::move(steps)};
    }
    const QString mantissa = read.bits.left(f.mantissa);
    const QString exponent = read.bits.mid(f.mantissa);
    const Number mv = mantissaValue(f, fromBits(mantissa));
    const qint64 e = exponentValue(f, exponent);
    const Number value = mv.times2(e);
    steps.push_back(step::MantissaValue{mantissa, mv});
    steps.push_back(step::ExponentValue{exponent, e});
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
        steps.push_back(moved);
    }
    steps.push_back(step::FloatingValue{mv, e, value});
    step::NormalisedCheck check;
    const step::Shifts s = normalise(f, mantissa, e);
    check.pair = s.pair;
    check.lowest = s.lowest;
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
    steps.push_back(check);
    return {false, value.toDecimal(), std::move(steps)};
}

Outcome normaliseBits(const Format &f, const QString &input)
{
    if (!f.isFloating())
        return refuse({}, step::BadFormat{true});
    const ReadBits read = readBits(f, input);
    if (!read.ok)
        return refuse({}, read.refusal);
    const QString exponent = read.bits.mid(f.mantissa);
    const qint64 e = exponentValue(f, exponent);
    step::Shifts s = normalise(f, read.bits.left(f.mantissa), e);
    const QString pair = s.pair;
    if (s.stop == step::Shifts::Stop::Lowest)
        return refuse({}, std::move(s));
    return {false, pair, Steps{std::move(s)}};
}

// ---- Range ----------------------------------------------------------------------

Outcome range(const Format &f)
{
    step::Range r;
    if (f.isFloating()) {
        r.largest = largestFloating(f);
        r.smallestPositive = smallestFloating(f);
        r.mostNegative = mostNegativeFloating(f);
        // 1 is 0.1 x 2^1; the step is the gap to the next value up, or,
        // where there is none, to the one below.
        const QString half = QStringLiteral("01") + QString(f.mantissa - 2, u'0');
        if (f.mantissa >= 3) {
            r.one = {half + exponentBits(f, 1), Number(1)};
            const QString next = half.left(f.mantissa - 1) + u'1';
            r.next = {next + exponentBits(f, 1), mantissaValue(f, fromBits(next)).times2(1)};
        } else if (highestExponent(f) >= 2) {
            r.one = {half + exponentBits(f, 1), Number(1)};
            r.next = {half + exponentBits(f, 2), Number(2)};
        } else {
            r.one = {half + exponentBits(f, 0), mantissaValue(f, 1)};
            r.next = {half + exponentBits(f, 1), Number(1)};
        }
        r.step = r.next.value - r.one.value;
    } else {
        const int n = f.totalBits();
        const bool twos = f.isSigned();
        const quint64 largest = twos ? lowBits(n - 1) : lowBits(n);
        const quint64 mostNegative = twos ? quint64(1) << (n - 1) : 0;
        r.largest = {toBits(largest, n), patternValue(f, largest)};
        r.mostNegative = {toBits(mostNegative, n), patternValue(f, mostNegative)};
        r.hasPositive = largest > 0;
        r.smallestPositive = {toBits(1, n), patternValue(f, 1)};
        r.step = Number::power2(-fractionBits(f));
    }
    const auto fact = [&](const step::Extreme &x) {
        return patternText(f, x.bits) + QStringLiteral(" = ") + x.value.toDecimal();
    };
    QString text = QStringLiteral("largest ") + fact(r.largest) + QStringLiteral("; smallest positive ")
        + (r.hasPositive ? fact(r.smallestPositive) : QStringLiteral("none")) + QStringLiteral("; most negative ")
        + fact(r.mostNegative) + (f.isFloating() ? QStringLiteral("; step near 1 = ") : QStringLiteral("; step = "))
        + r.step.toDecimal();
    return {false, text, Steps{std::move(r)}};
}

Outcome answer(const Format &format, Direction direction, const QString &input)
{
    if (!offered(format))
        return refuse({}, step::BadFormat{});
    switch (direction) {
    case Direction::ToBinary:
        return toBinary(format, input);
    case Direction::ToDenary:
        return toDenary(format, input);
    case Direction::Normalise:
        return normaliseBits(format, input);
    case Direction::Range:
        break;
    }
    return range(format);
}

}  // namespace

Answer solve(const Format &format, Direction direction, const QString &input)
{
    const Outcome o = answer(format, direction, input);
    const QString text = o.refused ? refusalText(format, o.steps.back()) : o.text;
    return {o.refused, text, workingHtml(format, o.steps)};
}

Worked work(const Format &format, Direction direction, const QString &input)
{
    Outcome o = answer(format, direction, input);
    return {o.refused, std::move(o.text), std::move(o.steps)};
}

HandAnswer handAnswer(const Format &format, const QString &denary)
{
    const Outcome o = offered(format) ? toBinary(format, denary) : refuse({}, step::BadFormat{});
    HandAnswer h;
    h.refused = o.refused;
    if (o.refused)
        return h;
    h.bits = o.text;
    for (const Step &s : o.steps) {
        if (const auto *held = std::get_if<step::Held>(&s))
            h.value = held->held.toDecimal();
        else if (const auto *floating = std::get_if<step::FloatingHeld>(&s))
            h.value = floating->held.toDecimal();
    }
    if (h.value.isEmpty())  // integers and zero hold what was typed
        h.value = exact::readDecimal(denary).value.toDecimal();
    return h;
}

}  // namespace quorvex::workbench
