// SPDX-License-Identifier: MIT
// IEEE 754 floating point, by the method taught by hand: the size in
// binary (place values and repeated doubling), normalised to 1.f x 2^e, the
// exponent stored as e + bias, the hidden 1 left out, and the fraction
// rounded with its guard, round and sticky bits in the chosen mode; below
// the smallest normal exponent a subnormal (exponent field 0, no hidden 1);
// beyond the largest value an infinity, the largest finite value, or, for
// FP8 E4M3, NaN. Back the other way: the fields, the bias taken away, the
// hidden 1 put back, and the exact value. Also the format's range, the
// facts of one value (its neighbours and its error) and a pattern converted
// into another IEEE format.
//
// The rounding is done once (round()) on an exact size: the size times a
// power of two, cut to a whole number of F + 1 bits, and what was cut off
// compared with a half.
#include "topics/ieee.h"

#include "engine/bitpattern.h"
#include "engine/methods.h"
#include "engine/questions.h"
#include "engine/rounding.h"
#include "engine/topic.h"
#include "engine/words.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>

namespace quorvex::workbench {

namespace ieee754 {

using exact::Number;

namespace {

struct Preset {
    IeeePreset preset;
    const char *name;
    const char *title;  // the preset box's item
    const char *words;  // in a sentence
    int exponent, fraction;
};
// clang-format off
const Preset presetTable[] = {
    {IeeePreset::Half,     "half",     QT_TRANSLATE_NOOP("Workbench", "Half (binary16)"),       QT_TRANSLATE_NOOP("Workbench", "IEEE 754 half precision (binary16)"),       5,  10},
    {IeeePreset::Single,   "single",   QT_TRANSLATE_NOOP("Workbench", "Single (binary32)"),     QT_TRANSLATE_NOOP("Workbench", "IEEE 754 single precision (binary32)"),     8,  23},
    {IeeePreset::Double,   "double",   QT_TRANSLATE_NOOP("Workbench", "Double (binary64)"),     QT_TRANSLATE_NOOP("Workbench", "IEEE 754 double precision (binary64)"),     11, 52},
    {IeeePreset::Quad,     "quad",     QT_TRANSLATE_NOOP("Workbench", "Quadruple (binary128)"), QT_TRANSLATE_NOOP("Workbench", "IEEE 754 quadruple precision (binary128)"), 15, 112},
    {IeeePreset::BFloat16, "bfloat16", QT_TRANSLATE_NOOP("Workbench", "bfloat16"),              QT_TRANSLATE_NOOP("Workbench", "bfloat16"),                                 8,  7},
    {IeeePreset::E5M2,     "e5m2",     QT_TRANSLATE_NOOP("Workbench", "FP8 E5M2"),              QT_TRANSLATE_NOOP("Workbench", "FP8 E5M2"),                                 5,  2},
    {IeeePreset::E4M3,     "e4m3",     QT_TRANSLATE_NOOP("Workbench", "FP8 E4M3"),              QT_TRANSLATE_NOOP("Workbench", "FP8 E4M3"),                                 4,  3},
};
// clang-format on

const Preset *presetOf(IeeePreset p)
{
    for (const Preset &x : presetTable) {
        if (x.preset == p)
            return &x;
    }
    return nullptr;
}

}  // namespace

QList<IeeePreset> presets()
{
    QList<IeeePreset> all;
    for (const Preset &x : presetTable)
        all << x.preset;
    all << IeeePreset::Custom;
    return all;
}

QString presetTitle(IeeePreset preset)
{
    const Preset *p = presetOf(preset);
    return p ? Words::tr(p->title) : Words::tr("Custom");
}

QString presetName(IeeePreset preset)
{
    const Preset *p = presetOf(preset);
    return p ? QString::fromLatin1(p->name) : QString();
}

int standardBias(int exponent) { return (1 << (exponent - 1)) - 1; }

Format customFormat(int exponent, int fraction)
{
    Format f;
    f.representation = Representation::Ieee;
    f.exponent = exponent;
    f.fraction = fraction;
    f.bias = standardBias(exponent);
    f.preset = IeeePreset::Custom;
    f.rounding = Rounding::NearestEven;
    return f;
}

Format presetFormat(IeeePreset preset)
{
    const Preset *p = presetOf(preset);
    Format f = customFormat(p ? p->exponent : 8, p ? p->fraction : 23);
    f.preset = preset;
    return f;
}

namespace {

bool e4m3(const Format &f) { return f.preset == IeeePreset::E4M3; }
qint64 allOnes(const Format &f) { return (qint64(1) << f.exponent) - 1; }
// The exponents of normal numbers, e in 1.f x 2^e.
qint64 lowest(const Format &f) { return 1 - f.bias; }
qint64 highest(const Format &f) { return allOnes(f) - (e4m3(f) ? 0 : 1) - f.bias; }
// The largest significand 1.f, as a whole number of F + 1 bits, at the
// highest exponent: all 1s, or for E4M3 1.110 (1.111 is NaN).
Number largestSignificand(const Format &f)
{
    return Number::power2(f.fraction + 1) - Number(e4m3(f) ? 2 : 1);
}
Number largestFinite(const Format &f) { return largestSignificand(f).times2(highest(f) - f.fraction); }

// Bits of any length as a whole number.
Number bitsValue(QStringView bits)
{
    Number v;
    for (qsizetype i = 0; i < bits.size(); i += 32) {
        const QStringView chunk = bits.mid(i, 32);
        v = v.times2(chunk.size()) + Number::fromUnsigned(patterns::fromBits(chunk));
    }
    return v;
}
// A whole number from 0 up as `n` bits.
QString wholeBits(const Number &v, int n)
{
    QString b = v.isZero() ? QString() : v.wholeBinary();
    return QString(std::max<qsizetype>(0, n - b.size()), u'0') + b;
}
QString exponentField(const Format &f, qint64 field) { return patterns::toBits(quint64(field), f.exponent); }

}  // namespace

Decoded decode(const Format &f, const QString &bits)
{
    Decoded d;
    d.negative = bits.at(0) == u'1';
    d.field = qint64(patterns::fromBits(QStringView(bits).mid(1, f.exponent)));
    const QStringView fraction = QStringView(bits).mid(1 + f.exponent);
    const Number fv = bitsValue(fraction);
    const bool top = d.field == allOnes(f);
    if (top && (!e4m3(f) || !fraction.contains(u'0'))) {
        d.kind = e4m3(f) || !fv.isZero() ? Decoded::Kind::NaN : Decoded::Kind::Infinity;
        d.quiet = fraction.at(0) == u'1';
        return d;
    }
    if (d.field == 0) {
        d.kind = fv.isZero() ? Decoded::Kind::Zero : Decoded::Kind::Subnormal;
        d.exponent = lowest(f);
        d.value = fv.times2(lowest(f) - f.fraction);
    } else {
        d.kind = Decoded::Kind::Normal;
        d.exponent = d.field - f.bias;
        d.value = (Number::power2(f.fraction) + fv).times2(d.exponent - f.fraction);
    }
    if (d.negative)
        d.value = -d.value;
    return d;
}

}  // namespace ieee754

namespace step {

// The size normalised: the first 1 at 2^e, the bits after it, and, below
// the lowest exponent, the bits as a subnormal at that exponent instead.
struct IeeeNormalised {
    QString whole, fraction;  // the size in binary, as worked
    bool more = false;        // the fraction goes on
    qint64 e = 0;             // 2^e <= size < 2^(e+1)
    qint64 lowest = 0;
    bool subnormal = false;
    QString digits;  // the F + 1 bits from 2^q down: 1.f, or 0.f for a subnormal
};
// The fraction's bits rounded to F: the bits after the last place.
struct IeeeRounding {
    Rounding mode;
    bool negative = false;
    QString kept;  // the F + 1 bits before rounding
    int guard = 0, round = 0;
    bool sticky = false;
    bool up = false;
    QString after;         // the F + 1 bits after rounding, a carry giving F + 2
    bool carried = false;  // into the exponent
    bool normalAfter = false;  // a subnormal rounded up to the smallest normal
};
// The exponent field: e + bias, or 0 for a subnormal.
struct IeeeExponent {
    qint64 e = 0, bias = 0, field = 0;
    QString bits;
    bool subnormal = false;
};
// Beyond the largest finite value, as the mode says.
struct IeeeOverflow {
    Typed typed;
    bool negative = false;
    Rounding mode;
    exact::Number largest;
    bool toInfinity = false;  // else the largest finite value
    bool nan = false;         // E4M3: NaN instead of infinity
};
// Nearer 0 than the smallest subnormal can say.
struct IeeeUnderflow {
    Typed typed;
    bool negative = false;
    bool toSmallest = false;  // else to 0
    exact::Number smallest;
};
// A typed number the format reaches but exact reading does not.
struct IeeeBeyondReading {
    Typed typed;
};
struct IeeeZero {
    bool negative = false;
};
// A negative number: the sign bit 1, and its size converted.
struct IeeeSign {
    exact::Number value;
};
// The three fields put together, and what they hold.
struct IeeeAssembled {
    QString sign, exponent, fraction;
    Typed typed;
    bool finite = true;
    exact::Number held;
};
// A pattern's fields read.
struct IeeeFields {
    QString sign, exponent, fraction;
    qint64 field = 0;
};
// What the fields say: the value, or a special pattern.
struct IeeeDecoded {
    ieee754::Decoded d;
    qint64 bias = 0;
    QString fraction;
    bool e4m3 = false;
};
struct IeeeRange {
    Extreme largest, smallestNormal, smallestSubnormal;
    qint64 f = 0;  // epsilon 2^-f
    exact::Number patterns;  // finite patterns (both zeros)
};
// A value's place in the format: its neighbours and its error.
struct IeeeFacts {
    Typed typed;
    bool exact = false;
    exact::Number held, below, above, ulp, error;
    QString belowBits, aboveBits;
    bool belowInfinite = false, aboveInfinite = false;  // beyond the largest finite value
    QString relative;  // the relative error, to a few significant digits
};
// A pattern converted into another format: the answer in that format's words.
struct IeeeConverted {
    QString pattern, to, answer;
};

}  // namespace step

QUORVEX_STEP(step::IeeeNormalised)
QUORVEX_STEP(step::IeeeRounding)
QUORVEX_STEP(step::IeeeExponent)
QUORVEX_STEP(step::IeeeOverflow)
QUORVEX_STEP(step::IeeeUnderflow)
QUORVEX_REFUSAL(step::IeeeBeyondReading)
QUORVEX_STEP(step::IeeeZero)
QUORVEX_STEP(step::IeeeSign)
QUORVEX_STEP(step::IeeeAssembled)
QUORVEX_STEP(step::IeeeFields)
QUORVEX_STEP(step::IeeeDecoded)
QUORVEX_STEP(step::IeeeRange)
QUORVEX_STEP(step::IeeeFacts)
QUORVEX_STEP(step::IeeeConverted)

namespace {

using exact::Number;
using ieee754::Decoded;
using practice::Candidate;
using practice::Mistake;
using practice::Misreading;
using practice::shown;
namespace pw = practice;

// The mode after "rounding": "to nearest, ties to even", "toward zero".
QString modeWords(Rounding r)
{
    const QString title = roundingTitle(r).toLower();
    return title.startsWith(QStringLiteral("round ")) ? title.mid(6) : title;
}

// Bits in fours from the left, as a fraction is read from its point.
QString fromLeft(const QString &bits)
{
    QString out;
    for (qsizetype i = 0; i < bits.size(); ++i) {
        if (i > 0 && i % 4 == 0)
            out += u' ';
        out += bits.at(i);
    }
    return out;
}

// ---- The method ------------------------------------------------------------------

// The rounding of an exact size into the format: its bits and, for the
// working, each stage.
struct Rounded {
    Decoded::Kind kind = Decoded::Kind::Zero;
    bool negative = false;
    qint64 e = 0;  // the size's own exponent
    bool subnormal = false;
    QString kept;  // F + 1 bits before rounding, from 2^q down
    int guard = 0, round = 0;
    bool sticky = false, up = false, carried = false, normalAfter = false;
    QString after;
    qint64 field = 0;
    QString bits;
    Number held;
    bool overflow = false, toInfinity = false;
};

// Whether rounding `negative` toward the next value away from zero, with
// these bits cut, is what the mode does.
bool roundsUp(Rounding mode, bool negative, bool lastOdd, int guard, bool rest)
{
    const bool any = guard == 1 || rest;
    switch (mode) {
    case Rounding::NearestEven:
        return guard == 1 && (rest || lastOdd);
    case Rounding::Nearest:
        return guard == 1;
    case Rounding::Up:
        return !negative && any;
    case Rounding::Down:
        return negative && any;
    case Rounding::TowardZero:
    case Rounding::Cut:
        break;
    }
    return false;
}

// An overflow goes to infinity in the nearest modes and in the direction
// of the sign; else to the largest finite value.
bool overflowsToInfinity(Rounding mode, bool negative)
{
    return mode == Rounding::NearestEven || mode == Rounding::Nearest || (mode == Rounding::Up && !negative)
        || (mode == Rounding::Down && negative);
}

// The format's mode: one of IEEE 754's; any other (a format made without
// its topic's default) rounds to nearest, ties to even.
Rounding modeOf(const Format &f)
{
    switch (f.rounding) {
    case Rounding::TowardZero:
    case Rounding::Up:
    case Rounding::Down:
        return f.rounding;
    default:
        break;
    }
    return Rounding::NearestEven;
}

QString signBit(bool negative) { return negative ? QStringLiteral("1") : QStringLiteral("0"); }

Rounded overflowed(const Format &f, bool negative, Rounding mode)
{
    Rounded r;
    r.negative = negative;
    r.overflow = true;
    r.toInfinity = overflowsToInfinity(mode, negative);
    if (r.toInfinity) {
        r.kind = ieee754::e4m3(f) ? Decoded::Kind::NaN : Decoded::Kind::Infinity;
        r.bits = signBit(negative) + QString(f.exponent, u'1')
            + (ieee754::e4m3(f) ? QString(f.fraction, u'1') : QString(f.fraction, u'0'));
    } else {
        r.kind = Decoded::Kind::Normal;
        const Number n = ieee754::largestSignificand(f);
        r.bits = signBit(negative) + ieee754::exponentField(f, ieee754::highest(f) + f.bias)
            + ieee754::wholeBits(n, f.fraction + 1).mid(1);
        r.held = negative ? -ieee754::largestFinite(f) : ieee754::largestFinite(f);
    }
    return r;
}

// A size nearer 0 than half the smallest subnormal (tiny), rounded.
Rounded underflowed(const Format &f, bool negative, Rounding mode)
{
    Rounded r;
    r.negative = negative;
    r.sticky = true;
    if (roundsUp(mode, negative, false, 0, true)) {
        r.kind = Decoded::Kind::Subnormal;
        r.bits = signBit(negative) + QString(f.exponent + f.fraction - 1, u'0') + u'1';
        r.held = Number::power2(ieee754::lowest(f) - f.fraction);
        if (negative)
            r.held = -r.held;
    } else {
        r.kind = Decoded::Kind::Zero;
        r.bits = signBit(negative) + QString(f.exponent + f.fraction, u'0');
    }
    return r;
}

Rounded round(const Format &f, bool negative, const Number &size, Rounding mode)
{
    Rounded r;
    r.negative = negative;
    if (size.isZero()) {
        r.bits = signBit(negative) + QString(f.exponent + f.fraction, u'0');
        return r;
    }
    const int F = f.fraction;
    r.e = size.binaryOrder() - 1;
    r.subnormal = r.e < ieee754::lowest(f);
    const qint64 q = std::max(r.e, ieee754::lowest(f));
    // The size in units of the last place: its whole part is the F + 1 bits
    // kept; the rest is cut, read as guard, round and sticky bits.
    const Number scaled = size.times2(F - q);
    Number n = scaled.truncated();
    const Number rest = (scaled - n).times2(1);  // in [0, 2): the guard bit and below
    r.guard = rest >= Number(1) ? 1 : 0;
    const Number afterGuard = (r.guard ? rest - Number(1) : rest).times2(1);
    r.round = afterGuard >= Number(1) ? 1 : 0;
    r.sticky = !(r.round ? afterGuard - Number(1) : afterGuard).isZero();
    r.kept = ieee754::wholeBits(n, F + 1);
    const bool lastOdd = r.kept.endsWith(u'1');
    r.up = roundsUp(mode, negative, lastOdd, r.guard, r.round == 1 || r.sticky);
    qint64 e = q;
    if (r.up) {
        n = n + Number(1);
        if (n == Number::power2(F + 1)) {
            // 1.11...1 + 1 = 10.00...0: the point moves, the exponent grows.
            r.carried = true;
            n = Number::power2(F);
            ++e;
        } else if (r.subnormal && n == Number::power2(F)) {
            r.normalAfter = true;
        }
    }
    r.after = ieee754::wholeBits(n, F + 1);
    if (r.carried)
        r.after = QStringLiteral("1") + QString(F + 1, u'0');
    if (e > ieee754::highest(f) || (e == ieee754::highest(f) && n > ieee754::largestSignificand(f))) {
        Rounded o = overflowed(f, negative, mode);
        o.e = r.e;
        o.kept = r.kept;
        o.guard = r.guard;
        o.round = r.round;
        o.sticky = r.sticky;
        o.up = r.up;
        o.after = r.after;
        o.carried = r.carried;
        return o;
    }
    const bool normal = n >= Number::power2(F);
    r.field = normal ? e + f.bias : 0;
    const QString nb = ieee754::wholeBits(n, F + 1);
    r.bits = signBit(negative) + ieee754::exponentField(f, r.field) + nb.mid(1);
    r.kind = n.isZero() ? Decoded::Kind::Zero : normal ? Decoded::Kind::Normal : Decoded::Kind::Subnormal;
    r.held = n.times2(e - F);
    if (negative)
        r.held = -r.held;
    return r;
}

// Whether exact reading reaches every value the format rounds: a size of
// 10^1000 or more overflows, and one nearer 0 than 10^-1000 underflows.
bool readingReaches(const Format &f)
{
    // 10^1000 > 2^3321, and 10^-1000 < 2^-3321.
    return ieee754::highest(f) < 3320 && ieee754::lowest(f) - f.fraction - 1 > -3320;
}

}  // namespace

namespace ieee754 {

Encoded encode(const Format &format, bool negative, const Number &size)
{
    const Rounded r = round(format, negative, size, modeOf(format));
    return {r.bits, r.kind, r.held};
}

}  // namespace ieee754

// ---- The steps' words -------------------------------------------------------------

template <>
void StepOf<step::IeeeNormalised>::say(Words &w) const
{
    const step::IeeeNormalised &s = value;
    const QString binary = s.whole + u'.' + (s.fraction.isEmpty() ? QStringLiteral("0") : s.fraction)
        + (s.more ? QStringLiteral("\u2026") : QString());
    w.para(Words::tr("In binary the size is %1.").arg(w.bits(binary)));
    const QString normalised = w.times(w.bits(s.digits.left(1) + u'.' + s.digits.mid(1)), s.subnormal ? s.lowest : s.e);
    if (!s.subnormal) {
        w.para(Words::tr("Normalised, the point stands just after the first 1: %1, so e = %2. Its first bit, the 1 "
                         "before the point, is not stored (the hidden 1); the bits after the point are the fraction.")
                   .arg(normalised, w.num(s.e)));
        return;
    }
    w.para(Words::tr("Normalised it would be 1.f \u00D7 %1, but the lowest exponent of a normal number is %2: it is a "
                     "subnormal, written as 0.f \u00D7 %3 with no hidden 1: %4.")
               .arg(w.power(s.e), w.num(s.lowest), w.power(s.lowest), normalised));
}

template <>
void StepOf<step::IeeeRounding>::say(Words &w) const
{
    const step::IeeeRounding &s = value;
    const int F = int(s.kept.size()) - 1;
    w.para(Words::tr("The fraction keeps %1; after them come the guard bit %2, the round bit %3 and the sticky bit "
                     "%4 (%5).")
               .arg(Words::count(F))
               .arg(s.guard)
               .arg(s.round)
               .arg(s.sticky ? 1 : 0)
               .arg(s.sticky ? Words::tr("some later bit is 1") : Words::tr("every later bit is 0")));
    QString why;
    if (s.guard == 0 && s.round == 0 && !s.sticky)
        why = Words::tr("Nothing is cut off: the value is held exactly.");
    else if (s.mode == Rounding::NearestEven)
        why = s.guard == 0 ? Words::tr("The bits cut off are less than half the last place: rounded down.")
            : (s.round == 1 || s.sticky) ? Words::tr("The bits cut off are more than half the last place: rounded up.")
            : s.up ? Words::tr("The bits cut off are exactly half the last place, a tie: rounded to even, here up, "
                               "since the last bit is 1.")
                   : Words::tr("The bits cut off are exactly half the last place, a tie: rounded to even, here "
                               "down, since the last bit is already 0.");
    else
        why = s.up ? Words::tr("Rounding %1, the bits cut off make the size one place larger: 1 is added to the "
                               "last place.")
                         .arg(modeWords(s.mode))
                   : Words::tr("Rounding %1, the bits cut off are dropped.").arg(modeWords(s.mode));
    w.para(why);
    if (s.up) {
        w.para(Words::tr("%1 + 1 in the last place = %2.")
                   .arg(w.bits(s.kept.left(1) + u'.' + s.kept.mid(1)),
                        w.bits(s.after.left(s.after.size() - F) + u'.' + s.after.right(F))));
        if (s.carried)
            w.para(Words::tr("The carry runs out of the fraction: the size is now 1.0\u2026 \u00D7 a power of two one "
                             "higher, so the exponent goes up by 1."));
        if (s.normalAfter)
            w.para(Words::tr("The carry reaches the 1s place: the subnormal has become the smallest normal number."));
    }
}

template <>
void StepOf<step::IeeeExponent>::say(Words &w) const
{
    const step::IeeeExponent &s = value;
    if (s.subnormal) {
        w.para(Words::tr("A subnormal's exponent field is all 0s: %1 (it stands for the lowest exponent, %2, with no "
                         "hidden 1).")
                   .arg(w.bits(s.bits), w.num(1 - s.bias)));
        return;
    }
    w.para(Words::tr("The exponent is stored with a bias of %1: %2 + %1 = %3, in %4: %5.")
               .arg(w.num(s.bias), w.num(s.e), w.num(s.field), Words::count(s.bits.size()), w.bits(s.bits)));
}

template <>
void StepOf<step::IeeeOverflow>::say(Words &w) const
{
    const step::IeeeOverflow &s = value;
    const QString largest = w.num(s.largest);
    if (s.nan)
        w.para(Words::tr("%1 is beyond the largest finite value, %2. FP8 E4M3 has no infinities: rounding %3, the "
                         "result is NaN (S.1111.111).")
                   .arg(w.typed(s.typed), largest, modeWords(s.mode)));
    else if (s.toInfinity)
        w.para(Words::tr("%1 is beyond the largest finite value, %2: rounding %3, it overflows to %4infinity "
                         "(exponent all 1s, fraction all 0s).")
                   .arg(w.typed(s.typed), largest, modeWords(s.mode), s.negative ? Words::minus(QStringLiteral("-"))
                                                                                 : QStringLiteral("+")));
    else
        w.para(Words::tr("%1 is beyond the largest finite value, %2: rounding %3 it stays at the largest finite "
                         "value of its sign.")
                   .arg(w.typed(s.typed), largest, modeWords(s.mode)));
}

template <>
void StepOf<step::IeeeUnderflow>::say(Words &w) const
{
    const step::IeeeUnderflow &s = value;
    w.para((s.toSmallest ? Words::tr("%1 is nearer 0 than 10^-1000, far below the smallest subnormal, %2: rounding "
                                     "away from 0, it is the smallest subnormal.")
                         : Words::tr("%1 is nearer 0 than 10^-1000, far below the smallest subnormal, %2: it rounds "
                                     "to 0."))
               .arg(w.typed(s.typed), w.num(s.smallest)));
}

template <>
QString StepOf<step::IeeeBeyondReading>::why(const Words &w) const
{
    return Words::tr("%1 is beyond the exact reading of decimals (10^-1000 to 10^1000) but within this format; type "
                     "a number in that span.")
        .arg(w.typed(value.typed));
}
template <>
void StepOf<step::IeeeBeyondReading>::say(Words &w) const
{
    w.para(why(w));
}

template <>
void StepOf<step::IeeeZero>::say(Words &w) const
{
    w.para(Words::tr("Zero has a pattern of its own: exponent and fraction all 0s, with the sign bit %1 (%2).")
               .arg(value.negative ? 1 : 0)
               .arg(value.negative ? Words::minus(QStringLiteral("-0")) : QStringLiteral("+0")));
}

template <>
void StepOf<step::IeeeSign>::say(Words &w) const
{
    w.para(Words::tr("%1 is negative: the sign bit is 1, and its size, %2, is converted.")
               .arg(w.num(value.value), w.num(value.value.abs())));
}

template <>
void StepOf<step::IeeeAssembled>::say(Words &w) const
{
    const step::IeeeAssembled &s = value;
    w.para(Words::tr("Sign %1, exponent %2, fraction %3.")
               .arg(w.bits(s.sign), w.bits(s.exponent), w.bits(fromLeft(s.fraction))));
    if (!s.finite)
        return;
    if (s.typed.exact && s.held == s.typed.value)
        w.para(Words::tr("The bits hold %1 exactly.").arg(w.num(s.held)));
    else if (s.typed.exact)
        w.para(Words::tr("The bits hold %1, which is %2 %3 the number typed.")
                   .arg(w.num(s.held), w.num((s.held - s.typed.value).abs()),
                        s.held > s.typed.value ? Words::tr("above") : Words::tr("below")));
    else
        w.para(Words::tr("The bits hold %1.").arg(w.num(s.held)));
}

template <>
void StepOf<step::IeeeFields>::say(Words &w) const
{
    const step::IeeeFields &s = value;
    w.para(Words::tr("Sign bit %1, exponent field %2 (%3), fraction %4.")
               .arg(w.bits(s.sign), w.bits(s.exponent), w.num(s.field), w.bits(fromLeft(s.fraction))));
}

template <>
void StepOf<step::IeeeDecoded>::say(Words &w) const
{
    const Decoded &d = value.d;
    const QString sign = d.negative ? Words::tr("negative") : Words::tr("positive");
    switch (d.kind) {
    case Decoded::Kind::Zero:
        w.para(Words::tr("Exponent and fraction all 0s: %1 zero.").arg(sign));
        return;
    case Decoded::Kind::Infinity:
        w.para(Words::tr("Exponent all 1s and fraction all 0s: %1 infinity.").arg(sign));
        return;
    case Decoded::Kind::NaN:
        if (value.e4m3)
            w.para(Words::tr("Exponent and fraction all 1s: in FP8 E4M3 the only NaN (not a number)."));
        else
            w.para(Words::tr("Exponent all 1s and a fraction that is not 0: NaN (not a number), %1, since the "
                             "fraction's first bit is %2; its payload is the rest of the fraction, %3.")
                       .arg(d.quiet ? Words::tr("quiet") : Words::tr("signalling"))
                       .arg(d.quiet ? 1 : 0)
                       .arg(w.bits(value.fraction.mid(1))));
        return;
    case Decoded::Kind::Subnormal:
        w.para(Words::tr("Exponent field 0 and a fraction that is not 0: a subnormal. There is no hidden 1, and the "
                         "exponent is the lowest, 1 \u2212 %1 = %2: the size is %3.")
                   .arg(w.num(value.bias), w.num(d.exponent),
                        w.times(w.bits(QStringLiteral("0.") + value.fraction), d.exponent)));
        break;
    case Decoded::Kind::Normal:
        w.para(Words::tr("The exponent is the field less the bias: %1 \u2212 %2 = %3. With the hidden 1 put back in "
                         "front of the fraction, the size is %4.")
                   .arg(w.num(d.field), w.num(value.bias), w.num(d.exponent),
                        w.times(w.bits(QStringLiteral("1.") + value.fraction), d.exponent)));
        break;
    }
    w.para(Words::tr("The value, exactly: %1.").arg(w.num(d.value)));
}

template <>
void StepOf<step::IeeeRange>::say(Words &w) const
{
    const step::IeeeRange &s = value;
    const auto line = [&](const QString &what, const step::Extreme &x) {
        return QStringList{what, w.pattern(x.bits), w.num(x.value)};
    };
    w.table({{Words::tr("value"), Words::tr("bits"), Words::tr("exactly")},
             line(Words::tr("largest finite"), s.largest),
             line(Words::tr("smallest normal"), s.smallestNormal),
             line(Words::tr("smallest subnormal"), s.smallestSubnormal)},
            true);
    w.para(Words::tr("The machine epsilon, the gap between 1 and the next value up, is %1 = %2. The format has %3 "
                     "finite patterns (+0 and \u22120 among them), so %4 finite values.")
               .arg(w.power(-s.f), w.num(Number::power2(-s.f)), w.num(s.patterns), w.num(s.patterns - Number(1))));
}

template <>
void StepOf<step::IeeeFacts>::say(Words &w) const
{
    const step::IeeeFacts &s = value;
    if (s.exact) {
        w.para(Words::tr("%1 is held exactly: the error is 0.").arg(w.typed(s.typed)));
    } else {
        w.para(Words::tr("The value held is %1: the absolute error is %2, the relative error about %3.")
                   .arg(w.num(s.held), w.num(s.error), s.relative));
    }
    const auto neighbour = [&](bool infinite, const Number &v, const QString &bits) {
        return infinite ? Words::tr("none but infinity (%1)").arg(w.pattern(bits))
                        : Words::tr("%1 (%2)").arg(w.num(v), w.pattern(bits));
    };
    w.para(Words::tr("Its neighbours: %1 below and %2 above; the step to the next value up, one unit in the last "
                     "place, is %3.")
               .arg(neighbour(s.belowInfinite, s.below, s.belowBits), neighbour(s.aboveInfinite, s.above, s.aboveBits),
                    w.num(s.ulp)));
}

template <>
void StepOf<step::IeeeConverted>::say(Words &w) const
{
    w.para(Words::tr("So %1 in %2 is %3 in %4.")
               .arg(w.bits(value.pattern), w.formatName(), w.bits(value.answer), value.to));
}

namespace {

// a / b (both above 0) to `digits` significant figures, as a decimal with
// an exponent where it is small: by long division in binary.
QString ratio(const Number &a, const Number &b, int digits)
{
    // a x 2^shift / b lies in [2^61, 2^63): its whole part, bit by bit.
    const qint64 shift = 62 - (a.binaryOrder() - b.binaryOrder());
    Number rest = a.times2(shift);
    quint64 q = 0;
    for (int bit = 62; bit >= 0; --bit) {
        const Number part = b.times2(bit);
        if (rest >= part) {
            rest = rest - part;
            q |= quint64(1) << bit;
        }
    }
    const Number value = Number::fromUnsigned(q).times2(-shift);
    const QString text = value.toDecimal();  // 0.000ddd… or ddd.ddd
    qsizetype first = 0;
    while (first < text.size() && (text.at(first) == u'0' || text.at(first) == u'.'))
        ++first;
    const qsizetype point = text.indexOf(u'.');
    QString sig;
    for (qsizetype i = first; i < text.size() && sig.size() < digits + 1; ++i) {
        if (text.at(i) != u'.')
            sig += text.at(i);
    }
    // Rounded to nearest at the last digit kept.
    const bool up = sig.size() > digits && sig.at(digits) >= u'5';
    sig.truncate(digits);
    qsizetype carryOrder = 0;
    for (qsizetype i = sig.size() - 1; up && i >= 0; --i) {
        if (sig.at(i) != u'9') {
            sig[i] = QChar(sig.at(i).unicode() + 1);
            break;
        }
        sig[i] = u'0';
        if (i == 0) {
            sig.prepend(u'1');
            sig.chop(1);
            carryOrder = 1;
        }
    }
    while (sig.size() > 1 && sig.endsWith(u'0'))
        sig.chop(1);
    // The power of ten of the first significant digit.
    const qsizetype order = carryOrder
        + (point < 0 ? text.size() - 1 - first : first < point ? point - 1 - first : point - first);
    return sig.left(1) + (sig.size() > 1 ? QStringLiteral(".") + sig.mid(1) : QString()) + QStringLiteral("e")
        + QString::number(order);
}

class IeeeTopic final : public Topic {
public:
    Representation representation() const override { return Representation::Ieee; }
    QString title() const override { return Words::tr("IEEE 754 floating point"); }
    QString usage() const override { return QStringLiteral("ieee:NAME"); }
    QString usageHelp() const override
    {
        return Words::tr("IEEE 754 floating point: NAME is half, single, double, quad, bfloat16, e5m2 or e4m3, or "
                         "E:F[:BIAS] for an E-bit exponent (%1 to %2) and an F-bit fraction (%3 to %4), the bias "
                         "2^(E-1) - 1 unless given")
            .arg(limits::minIeeeExponent)
            .arg(limits::maxIeeeExponent)
            .arg(limits::minIeeeFraction)
            .arg(limits::maxIeeeFraction);
    }
    std::optional<Format> parse(QStringView widths, QString *why) const override
    {
        for (IeeePreset p : ieee754::presets()) {
            if (p != IeeePreset::Custom && widths == ieee754::presetName(p))
                return ieee754::presetFormat(p);
        }
        static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3}):(\\d{1,3})(?::(-?\\d{1,6}))?$"));
        const QRegularExpressionMatch m = pattern.match(widths);
        if (!m.hasMatch()) {
            *why = Words::tr("%1 takes a name (half, single, double, quad, bfloat16, e5m2, e4m3) or widths, such as "
                             "ieee:5:10")
                       .arg(usage());
            return std::nullopt;
        }
        Format f = ieee754::customFormat(m.captured(1).toInt(), m.captured(2).toInt());
        if (f.exponent < limits::minIeeeExponent || f.exponent > limits::maxIeeeExponent) {
            *why = Words::tr("an IEEE 754 exponent has %1 to %2 bits, not %3")
                       .arg(limits::minIeeeExponent)
                       .arg(limits::maxIeeeExponent)
                       .arg(f.exponent);
            return std::nullopt;
        }
        if (f.fraction < limits::minIeeeFraction || f.fraction > limits::maxIeeeFraction) {
            *why = Words::tr("an IEEE 754 fraction has %1 to %2 bits, not %3")
                       .arg(limits::minIeeeFraction)
                       .arg(limits::maxIeeeFraction)
                       .arg(f.fraction);
            return std::nullopt;
        }
        if (m.hasCaptured(3)) {
            f.bias = m.captured(3).toInt();
            if (!biasFits(f)) {
                *why = Words::tr("a bias for a %1-bit exponent is from 0 to %2, not %3")
                           .arg(f.exponent)
                           .arg(ieee754::allOnes(f))
                           .arg(f.bias);
                return std::nullopt;
            }
        }
        return f;
    }
    QString name(const Format &f) const override
    {
        if (f.preset != IeeePreset::Custom)
            return QStringLiteral("ieee:") + ieee754::presetName(f.preset);
        QString n = QStringLiteral("ieee:%1:%2").arg(f.exponent).arg(f.fraction);
        if (f.bias != ieee754::standardBias(f.exponent))
            n += QStringLiteral(":%1").arg(f.bias);
        return n;
    }
    QList<Width> widths() const override { return {Width::Exponent, Width::Fraction}; }
    bool offered(const Format &f) const override
    {
        if (f.preset != IeeePreset::Custom) {
            const Format p = ieee754::presetFormat(f.preset);
            return f.exponent == p.exponent && f.fraction == p.fraction && f.bias == p.bias;
        }
        return f.exponent >= limits::minIeeeExponent && f.exponent <= limits::maxIeeeExponent
            && f.fraction >= limits::minIeeeFraction && f.fraction <= limits::maxIeeeFraction && biasFits(f);
    }
    QList<Operation> operations() const override
    {
        return {Operation::ToBinary, Operation::ToDenary, Operation::ToHex, Operation::Range};
    }
    QList<Operation> calculations() const override { return {Operation::Error, Operation::Convert}; }
    QList<Rounding> roundings() const override
    {
        return {Rounding::NearestEven, Rounding::TowardZero, Rounding::Up, Rounding::Down};
    }
    std::vector<BitGroup> groups(const Format &f) const override
    {
        BitGroup sign{Words::tr("the sign"), {std::nullopt}};
        BitGroup exponent{Words::tr("the exponent"), {}};
        for (int k = f.exponent - 1; k >= 0; --k)
            exponent.worth.push_back(Number::power2(k));
        BitGroup fraction{Words::tr("the fraction"), {}};
        for (int k = 1; k <= f.fraction; ++k)
            fraction.worth.push_back(Number::power2(-k));
        return {sign, exponent, fraction};
    }

    QString describe(const Format &f) const override
    {
        if (f.preset != IeeePreset::Custom) {
            for (const ieee754::Preset &p : ieee754::presetTable) {
                if (p.preset == f.preset)
                    return Words::tr(p.words);
            }
        }
        return Words::tr("IEEE 754 floating point with %1 (bias %2) and %3")
            .arg(Words::widthName(f.exponent, Words::tr("exponent")))
            .arg(f.bias)
            .arg(Words::widthName(f.fraction, Words::tr("fraction")));
    }
    QString patternName(const Format &f) const override
    {
        return Words::tr("a %1-bit pattern of %2").arg(f.totalBits()).arg(describe(f));
    }
    QString heading(const Format &f) const override
    {
        return pw::Words::tr("IEEE 754 floating point: %1 (1 sign bit, %2-bit exponent, %3-bit fraction)")
            .arg(f.preset != IeeePreset::Custom ? ieee754::presetTitle(f.preset) : pw::Words::tr("custom"))
            .arg(f.exponent)
            .arg(f.fraction);
    }
    QString written(const Format &f, const QString &bits) const override
    {
        return bits.left(1) + u' ' + bits.mid(1, f.exponent) + u' ' + bits.mid(1 + f.exponent);
    }
    QString printed(const Format &f, const QString &bits) const override { return written(f, bits); }
    QString wrongCount(const Words &w, qsizetype typed) const override
    {
        const Format &f = w.format();
        const QString typedCount = typed == 1 ? Words::tr("1 was typed") : Words::tr("%1 were typed").arg(typed);
        return Words::tr("%1 needs %2 (a sign bit, %3 and %4); %5.")
            .arg(describe(f), Words::count(f.totalBits()), Words::widthName(f.exponent, Words::tr("exponent")),
                 Words::widthName(f.fraction, Words::tr("fraction")), typedCount);
    }

    Worked solve(const Format &f, Operation operation, const QString &input) const override
    {
        switch (operation) {
        case Operation::ToBinary:
            return toBinary(f, input);
        case Operation::ToDenary:
            return toDenary(f, input);
        case Operation::ToHex:
            return hexAnswer(*this, f, input);
        case Operation::Range:
            return range(f);
        default:
            break;
        }
        return refuse({}, make(step::BadFormat{}));
    }
    Worked calculate(const Format &f, Operation operation, const Calculation &c) const override
    {
        if (operation == Operation::Error)
            return facts(f, c.operands.value(0));
        if (operation == Operation::Convert && c.to && c.to->isIeee())
            return convert(f, *c.to, c.operands.value(0));
        return Topic::calculate(f, operation, c);
    }

    // Infinities and NaNs have no value: they are set beyond every finite
    // one, so that no slip of a finite answer matches them.
    Number valueOf(const Format &f, const QString &bits) const override
    {
        if (bits.size() != f.totalBits())  // not a pattern of the format: no value
            return Number();
        const Decoded d = ieee754::decode(f, bits);
        if (d.kind == Decoded::Kind::Infinity || d.kind == Decoded::Kind::NaN) {
            const Number beyond = Number::power2(ieee754::highest(f) + 2 + (d.kind == Decoded::Kind::NaN ? 1 : 0));
            return d.negative ? -beyond : beyond;
        }
        return d.value;
    }
    QString pointProblem(const practice::BitsMarking &) const override
    {
        return pw::Words::tr("Your answer has a point; an IEEE 754 pattern has none: write the sign, the exponent and "
                             "the fraction.");
    }
    std::vector<Candidate> candidates(const practice::BitsMarking &m) const override;
    QString sentence(const practice::BitsMarking &m, Mistake mistake) const override;
    qsizetype stepFor(const practice::BitsMarking &m, Mistake mistake) const override;
    std::vector<Misreading> misreadings(const practice::NumberMarking &m) const override;
    QString sentence(const practice::NumberMarking &m, const Misreading &c) const override;
    qsizetype stepFor(const practice::NumberMarking &m, const Misreading &c) const override;

    QString newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const override;

private:
    static bool biasFits(const Format &f) { return f.bias >= 0 && f.bias <= ieee754::allOnes(f); }
    Worked toBinary(const Format &f, const QString &input) const;
    Worked toDenary(const Format &f, const QString &input) const;
    Worked range(const Format &f) const;
    Worked facts(const Format &f, const QString &input) const;
    Worked convert(const Format &from, const Format &to, const QString &input) const;
    // The steps of a size into the format, ending in its answer.
    Worked place(const Format &f, const exact::Reading &r, const Typed &typed, Steps steps) const;
    Number heldValue(const Format &f, QRandomGenerator &rng) const;
};

Worked IeeeTopic::toBinary(const Format &f, const QString &input) const
{
    const exact::Reading r = exact::readDecimal(input);
    if (r.kind == exact::Reading::Kind::NotANumber)
        return refuse({}, make(step::NotANumber{input}));
    exact::Reading x = r;
    // -0 is a pattern of its own: the sign of a zero typed is kept.
    if (x.kind == exact::Reading::Kind::Exact && x.value.isZero()) {
        const QString t = input.trimmed();
        x.negative = t.startsWith(u'-') || t.startsWith(QChar(0x2212));
    }
    return place(f, x, typedOf(r, input), readingSteps(r, input));
}

// The fraction by repeated doubling, `count` rows, of which only those
// listed are worked out; the rows between are said as a count, as the
// shared doubling says its own. The bits come from one multiplication.
step::Doubling doublingRows(const Number &fraction, int count, QString &bits)
{
    step::Doubling d;
    d.fraction = fraction;
    d.total = count;
    d.sticky = true;  // what is left is not cut: it is the sticky bit
    const Number all = fraction.times2(count);
    const Number whole = all.truncated();
    d.remainder = all - whole;
    bits = ieee754::wholeBits(whole, count);
    listDoublingRows(d, bits, 10, 6);
    return d;
}

Worked IeeeTopic::place(const Format &f, const exact::Reading &r, const Typed &typed, Steps steps) const
{
    const bool negative = r.negative;
    const auto answer = [&](const Rounded &x, Steps s) {
        const QString text = written(f, x.bits);
        const bool finite = x.kind != Decoded::Kind::Infinity && x.kind != Decoded::Kind::NaN;
        s.push_back(make(step::IeeeAssembled{x.bits.left(1), x.bits.mid(1, f.exponent), x.bits.mid(1 + f.exponent),
                                              typed, finite, x.held}));
        s.push_back(make(step::Result{typed, text}));
        return Worked{false, text, std::move(s), finite ? std::optional<Number>(x.held) : std::nullopt};
    };
    if (r.kind != exact::Reading::Kind::Exact) {
        if (!readingReaches(f))
            return refuse(std::move(steps), make(step::IeeeBeyondReading{typed}));
        if (r.kind == exact::Reading::Kind::Huge) {
            const Rounded o = overflowed(f, negative, modeOf(f));
            steps.push_back(make(step::IeeeOverflow{typed, negative, modeOf(f), ieee754::largestFinite(f),
                                                    o.toInfinity, o.kind == Decoded::Kind::NaN}));
            return answer(o, std::move(steps));
        }
        const Rounded u = underflowed(f, negative, modeOf(f));
        steps.push_back(make(step::IeeeUnderflow{typed, negative, u.kind != Decoded::Kind::Zero,
                                                 Number::power2(ieee754::lowest(f) - f.fraction)}));
        return answer(u, std::move(steps));
    }
    if (r.value.isZero()) {
        steps.push_back(make(step::IeeeZero{negative}));
        return answer(round(f, negative, Number(), modeOf(f)), std::move(steps));
    }
    if (negative)
        steps.push_back(make(step::IeeeSign{r.value}));
    const Number size = r.value.abs();
    const Rounded x = round(f, negative, size, modeOf(f));

    // The size in binary by the hand method, as far as the sticky bit needs:
    // the whole part by place values, the fraction by repeated doubling.
    step::IeeeNormalised n;
    n.e = x.e;
    n.lowest = ieee754::lowest(f);
    n.subnormal = x.subnormal;
    n.digits = x.kept;
    const Number whole = size.truncated();
    if (!whole.isZero()) {
        if (const quint64 v = whole.toUnsigned(); v != 0)
            steps.push_back(make(subtractions(v, 64)));
        else
            steps.push_back(make(step::WholeBinary{whole, whole.wholeBinary()}));
        n.whole = whole.wholeBinary();
    } else {
        n.whole = QStringLiteral("0");
    }
    const qint64 q = std::max(x.e, ieee754::lowest(f));
    const qint64 rows = std::max<qint64>(0, f.fraction + 2 - q);  // to the round bit
    const Number fraction = size - whole;
    if (rows > 0 && !fraction.isZero()) {
        step::Doubling d = doublingRows(fraction, int(rows), n.fraction);
        n.more = !d.remainder.isZero();
        steps.push_back(make(std::move(d)));
        while (n.fraction.endsWith(u'0') && !n.more)
            n.fraction.chop(1);
    } else {
        n.more = !fraction.isZero();
    }
    steps.push_back(make(std::move(n)));
    if (x.overflow && !x.up) {
        steps.push_back(make(step::IeeeOverflow{typed, negative, modeOf(f), ieee754::largestFinite(f), x.toInfinity,
                                                x.kind == Decoded::Kind::NaN}));
        return answer(x, std::move(steps));
    }
    steps.push_back(make(step::IeeeRounding{modeOf(f), negative, x.kept, x.guard, x.round, x.sticky, x.up, x.after,
                                            x.carried, x.normalAfter}));
    if (x.overflow) {
        steps.push_back(make(step::IeeeOverflow{typed, negative, modeOf(f), ieee754::largestFinite(f), x.toInfinity,
                                                x.kind == Decoded::Kind::NaN}));
        return answer(x, std::move(steps));
    }
    if (x.kind != Decoded::Kind::Zero) {
        const bool sub = x.kind == Decoded::Kind::Subnormal;
        const qint64 e = x.field - f.bias;
        steps.push_back(make(step::IeeeExponent{e, f.bias, x.field, x.bits.mid(1, f.exponent), sub}));
    } else {
        steps.push_back(make(step::IeeeZero{negative}));
    }
    return answer(x, std::move(steps));
}

Worked IeeeTopic::toDenary(const Format &f, const QString &input) const
{
    ReadBits read = readBits(f.totalBits(), input);
    if (!read.ok)
        return refuse({}, read.refusal);
    Steps steps = std::move(read.steps);
    const QString &b = read.bits;
    const Decoded d = ieee754::decode(f, b);
    steps.push_back(make(step::IeeeFields{b.left(1), b.mid(1, f.exponent), b.mid(1 + f.exponent), d.field}));
    steps.push_back(make(step::IeeeDecoded{d, f.bias, b.mid(1 + f.exponent), ieee754::e4m3(f)}));
    QString text;
    switch (d.kind) {
    case Decoded::Kind::Infinity:
        text = d.negative ? QStringLiteral("-infinity") : QStringLiteral("+infinity");
        break;
    case Decoded::Kind::NaN:
        // The payload: the fraction's bits after the quiet bit.
        text = ieee754::e4m3(f) ? QStringLiteral("NaN")
                                : QStringLiteral("NaN (%1, payload %2)")
                                      .arg(d.quiet ? QStringLiteral("quiet") : QStringLiteral("signalling"),
                                           ieee754::bitsValue(QStringView(b).mid(2 + f.exponent)).toDecimal());
        break;
    case Decoded::Kind::Zero:
        text = d.negative ? QStringLiteral("-0") : QStringLiteral("0");
        break;
    default:
        text = d.value.toDecimal();
        break;
    }
    return {false, text, std::move(steps), std::nullopt};
}

Worked IeeeTopic::range(const Format &f) const
{
    step::IeeeRange r;
    const Rounded big = overflowed(f, false, Rounding::TowardZero);
    r.largest = {big.bits, big.held};
    r.smallestNormal = {QStringLiteral("0") + ieee754::exponentField(f, 1) + QString(f.fraction, u'0'),
                        Number::power2(ieee754::lowest(f))};
    r.smallestSubnormal = {QString(f.exponent + f.fraction, u'0') + u'1',
                           Number::power2(ieee754::lowest(f) - f.fraction)};
    r.f = f.fraction;
    // Every pattern but those of the exponent all 1s (E4M3: but its two NaNs).
    r.patterns = ieee754::e4m3(f) ? Number::power2(f.totalBits()) - Number(2)
                                  : Number(2 * ieee754::allOnes(f)).times2(f.fraction);
    const auto fact = [&](const step::Extreme &x) { return written(f, x.bits) + QStringLiteral(" = ") + x.value.toDecimal(); };
    const QString text = QStringLiteral("largest ") + fact(r.largest) + QStringLiteral("; smallest normal ")
        + fact(r.smallestNormal) + QStringLiteral("; smallest subnormal ") + fact(r.smallestSubnormal)
        + QStringLiteral("; epsilon 2^-%1 = ").arg(f.fraction) + Number::power2(-f.fraction).toDecimal()
        + QStringLiteral("; finite values ") + (r.patterns - Number(1)).toDecimal();
    return {false, text, Steps{make(std::move(r))}, std::nullopt};
}

Worked IeeeTopic::facts(const Format &f, const QString &input) const
{
    const exact::Reading r = exact::readDecimal(input);
    if (r.kind == exact::Reading::Kind::NotANumber)
        return refuse({}, make(step::NotANumber{input}));
    const Typed typed = typedOf(r, input);
    Worked w = toBinary(f, input);
    if (w.refused || !w.held || r.kind != exact::Reading::Kind::Exact)
        return w;
    const QString bits = pw::plain(w.text);
    const Decoded d = ieee754::decode(f, bits);
    step::IeeeFacts s;
    s.typed = typed;
    s.held = *w.held;
    s.exact = s.held == r.value;
    s.error = (s.held - r.value).abs();
    if (!s.exact)
        s.relative = ratio(s.error, r.value.abs(), 6);
    // The neighbours of the value held: one place of its binade either side
    // (where it is the first of a binade, the step below is half as large).
    const qint64 e = d.kind == Decoded::Kind::Normal ? d.exponent : ieee754::lowest(f);
    s.ulp = Number::power2(e - f.fraction);
    Format down = f, up = f;
    down.rounding = Rounding::Down;
    up.rounding = Rounding::Up;
    const auto neighbour = [&](const Format &g, const Number &v, QString &b, bool &infinite) {
        const Rounded x = round(g, v.sign() < 0, v.abs(), g.rounding);
        b = x.bits;
        infinite = x.kind == Decoded::Kind::Infinity || x.kind == Decoded::Kind::NaN;
        return x.held;
    };
    const Number small = Number::power2(e - f.fraction - 2);
    s.below = neighbour(down, s.held - small, s.belowBits, s.belowInfinite);
    s.above = neighbour(up, s.held + small, s.aboveBits, s.aboveInfinite);
    w.steps.pop_back();  // the result comes after the facts
    const QString text = QStringLiteral("held ") + s.held.toDecimal() + QStringLiteral("; error ")
        + s.error.toDecimal() + (s.exact ? QString() : QStringLiteral(" (relative ") + s.relative + u')')
        + QStringLiteral("; below ") + (s.belowInfinite ? QStringLiteral("none") : s.below.toDecimal())
        + QStringLiteral("; above ") + (s.aboveInfinite ? QStringLiteral("none") : s.above.toDecimal())
        + QStringLiteral("; ulp ") + s.ulp.toDecimal();
    w.steps.push_back(make(std::move(s)));
    w.steps.push_back(make(step::Result{typed, text}));
    w.text = text;
    return w;
}

Worked IeeeTopic::convert(const Format &from, const Format &to, const QString &input) const
{
    if (!offered(to))
        return refuse({}, make(step::BadFormat{}));
    Worked read = toDenary(from, input);
    if (read.refused)
        return read;
    const QString bits = as<step::IeeeFields>(read.steps[size_t(findStep<step::IeeeFields>(read.steps))])->sign
        + as<step::IeeeFields>(read.steps[size_t(findStep<step::IeeeFields>(read.steps))])->exponent
        + as<step::IeeeFields>(read.steps[size_t(findStep<step::IeeeFields>(read.steps))])->fraction;
    const Decoded d = ieee754::decode(from, bits);
    Format target = to;
    target.rounding = from.rounding;
    Steps steps = std::move(read.steps);
    Typed typed{d.value, read.text, true};
    QString out;
    if (d.kind == Decoded::Kind::Infinity || d.kind == Decoded::Kind::NaN) {
        // An infinity stays one (E4M3 has none: NaN); a NaN stays a NaN, quiet
        // in E4M3's one pattern, else keeping its quiet bit and as much of
        // its payload as fits.
        QString fraction;
        const bool nan = d.kind == Decoded::Kind::NaN || ieee754::e4m3(target);
        if (ieee754::e4m3(target))
            fraction = QString(target.fraction, u'1');
        else if (!nan)
            fraction = QString(target.fraction, u'0');
        else {
            fraction = (bits.mid(1 + from.exponent) + QString(target.fraction, u'0')).left(target.fraction);
            if (!fraction.contains(u'1'))
                fraction = QString(target.fraction - 1, u'0') + u'1';
        }
        out = bits.left(1) + QString(target.exponent, u'1') + fraction;
        steps.push_back(make(step::IeeeAssembled{out.left(1), out.mid(1, target.exponent),
                                                 out.mid(1 + target.exponent), typed, false, Number()}));
        const QString text = written(target, out);
        steps.push_back(make(step::IeeeConverted{written(from, bits), describe(target), text}));
        return {false, text, std::move(steps), std::nullopt};
    }
    exact::Reading r;
    r.kind = exact::Reading::Kind::Exact;
    r.negative = d.negative;
    r.value = d.value;
    Worked w = place(target, r, typed, std::move(steps));
    // The last step names the other format.
    w.steps.back() = make(step::IeeeConverted{written(from, bits), describe(target), w.text});
    return w;
}

// ---- Marking ------------------------------------------------------------------------

// The pieces of a right answer to binary: sign, exponent field, fraction.
struct Parts {
    QString sign, exponent, fraction;
    qint64 field = 0;
};
Parts partsOf(const Format &f, const QString &bits)
{
    return {bits.left(1), bits.mid(1, f.exponent), bits.mid(1 + f.exponent),
            qint64(patterns::fromBits(QStringView(bits).mid(1, f.exponent)))};
}

std::vector<Candidate> IeeeTopic::candidates(const practice::BitsMarking &m) const
{
    std::vector<Candidate> c;
    const Format &f = m.format;
    const Parts p = partsOf(f, m.r);
    const qint64 top = ieee754::allOnes(f);
    const auto field = [&](qint64 v) { return v >= 0 && v <= top ? std::optional(ieee754::exponentField(f, v)) : std::nullopt; };
    c.push_back({Mistake::SignBitWrong, (p.sign == u'0' ? QStringLiteral("1") : QStringLiteral("0")) + p.exponent + p.fraction});
    if (m.direction == Direction::ToBinary && p.field > 0 && p.field < top) {
        const qint64 e = p.field - f.bias;
        if (const auto b = field(e))
            c.push_back({Mistake::BiasNotAdded, p.sign + *b + p.fraction});
        if (const auto b = field(e + 2 * f.bias))
            c.push_back({Mistake::BiasTwice, p.sign + *b + p.fraction});
        const QString withOne = (u'1' + p.fraction).left(f.fraction);
        c.push_back({Mistake::HiddenOneWritten, p.sign + p.exponent + withOne});
        if (const auto b = field(p.field + 1)) {
            c.push_back({Mistake::ExponentOfPointOne, p.sign + *b + p.fraction});
            c.push_back({Mistake::ExponentOfPointOne, p.sign + *b + withOne});
        }
        const exact::Reading x = exact::readDecimal(m.question);
        if (x.kind == exact::Reading::Kind::Exact && !x.value.isZero()) {
            if (modeOf(f) == Rounding::NearestEven) {
                const Rounded cut = round(f, x.negative, x.value.abs(), Rounding::TowardZero);
                c.push_back({Mistake::RoundedTowardZero, cut.bits});
                const Rounded away = round(f, x.negative, x.value.abs(), Rounding::Nearest);
                c.push_back({Mistake::TieAwayFromEven, away.bits});
            }
        }
    }
    c.push_back({Mistake::Reversed, patterns::reversed(m.r)});
    return c;
}

QString IeeeTopic::sentence(const practice::BitsMarking &m, Mistake mistake) const
{
    const Format &f = m.format;
    const QString answer = written(f, m.s);
    const QString lead = pw::Words::tr("Your answer %1 stands for %2").arg(answer, shown(valueOf(f, m.s)));
    const Parts p = partsOf(f, m.r);
    switch (mistake) {
    case Mistake::SignBitWrong:
        return pw::Words::tr("%1: the sign bit is the wrong way round; it is 1 for a negative number and 0 for a "
                             "positive one.")
            .arg(lead);
    case Mistake::BiasNotAdded:
        return pw::Words::tr("%1: the exponent %2 was written without its bias; the field holds e + %3 = %4.")
            .arg(lead, shown(Number(p.field - f.bias)), QString::number(f.bias), QString::number(p.field));
    case Mistake::BiasTwice:
        return pw::Words::tr("%1: the bias was added twice to the exponent %2; it is added once: the field holds "
                             "e + %3 = %4.")
            .arg(lead, shown(Number(p.field - f.bias)), QString::number(f.bias), QString::number(p.field));
    case Mistake::HiddenOneWritten:
        return pw::Words::tr("%1: the hidden 1 was written as the fraction's first bit; it is left out, and the "
                             "fraction is the bits after the point of 1.f.")
            .arg(lead);
    case Mistake::ExponentOfPointOne:
        return pw::Words::tr("%1: the exponent is one too high, as for 0.1f \u00D7 2^(e+1); IEEE 754 normalises to "
                             "1.f \u00D7 2^e, the point just after the first 1.")
            .arg(lead);
    case Mistake::RoundedTowardZero:
        return pw::Words::tr("%1: the fraction was cut (rounded toward zero); rounding to nearest, the bits cut off "
                             "here take the last place up.")
            .arg(lead);
    case Mistake::TieAwayFromEven:
        return pw::Words::tr("%1: the tie was rounded up; a tie (the bits cut off exactly half the last place) goes "
                             "to the even neighbour, the one whose last bit is 0.")
            .arg(lead);
    default:
        break;
    }
    return pw::sharedSentence(m, mistake, lead);
}

qsizetype IeeeTopic::stepFor(const practice::BitsMarking &m, Mistake mistake) const
{
    const Steps &steps = m.steps;
    const auto first = [](qsizetype a, qsizetype b) { return a >= 0 ? a : b; };
    switch (mistake) {
    case Mistake::SignBitWrong:
        return first(findStep<step::IeeeSign>(steps), findStep<step::IeeeAssembled>(steps));
    case Mistake::BiasNotAdded:
    case Mistake::BiasTwice:
        return findStep<step::IeeeExponent>(steps);
    case Mistake::HiddenOneWritten:
    case Mistake::ExponentOfPointOne:
        return findStep<step::IeeeNormalised>(steps);
    case Mistake::RoundedTowardZero:
    case Mistake::TieAwayFromEven:
        return findStep<step::IeeeRounding>(steps);
    default:
        break;
    }
    return findStep<step::Result>(steps);
}

std::vector<Misreading> IeeeTopic::misreadings(const practice::NumberMarking &m) const
{
    std::vector<Misreading> c;
    const Format &f = m.format;
    if (m.bits.size() != f.totalBits())
        return c;
    const Decoded d = ieee754::decode(f, m.bits);
    c.push_back({Mistake::MinusLeftOut, -m.rv});
    if (d.kind == Decoded::Kind::Normal) {
        // value = ±1.f x 2^(field - bias)
        c.push_back({Mistake::BiasNotAdded, m.rv.times2(f.bias)});
        c.push_back({Mistake::BiasTwice, m.rv.times2(-f.bias)});
        c.push_back({Mistake::ExponentOfPointOne, m.rv.times2(-1)});
    } else if (d.kind == Decoded::Kind::Subnormal) {
        const Number withOne = Number::power2(ieee754::lowest(f)) + m.rv.abs();
        c.push_back({Mistake::HiddenOne, d.negative ? -withOne : withOne});
        const Number atBias = withOne.times2(-1);  // 1.f x 2^-bias: the field 0 less the bias
        c.push_back({Mistake::HiddenOne, d.negative ? -atBias : atBias, 1});
    }
    return c;
}

QString IeeeTopic::sentence(const practice::NumberMarking &m, const Misreading &c) const
{
    const QString lead = pw::Words::tr("Your answer, %1,").arg(pw::printed(m.answer));
    switch (c.mistake) {
    case Mistake::MinusLeftOut:
        return pw::Words::tr("%1 has the wrong sign: the sign bit is %2, so the number is %3.")
            .arg(lead, m.bits.left(1), m.bits.startsWith(u'1') ? pw::Words::tr("negative") : pw::Words::tr("positive"));
    case Mistake::BiasNotAdded:
        return pw::Words::tr("%1 takes the exponent field as the exponent; the bias, %2, is taken away from it first.")
            .arg(lead)
            .arg(m.format.bias);
    case Mistake::BiasTwice:
        return pw::Words::tr("%1 takes the bias, %2, away twice; the exponent is the field less the bias, once.")
            .arg(lead)
            .arg(m.format.bias);
    case Mistake::ExponentOfPointOne:
        return pw::Words::tr("%1 is half the value: the hidden 1 stands before the point (1.f \u00D7 2^e), not after it "
                             "(0.1f).")
            .arg(lead);
    case Mistake::HiddenOne:
        return pw::Words::tr("%1 reads a subnormal with a hidden 1; with the exponent field 0 there is no hidden 1, "
                             "and the exponent is the lowest, 1 \u2212 %2.")
            .arg(lead)
            .arg(m.format.bias);
    default:
        break;
    }
    return pw::sharedReading(c.mistake, lead);
}

qsizetype IeeeTopic::stepFor(const practice::NumberMarking &m, const Misreading &c) const
{
    if (c.mistake == Mistake::MinusLeftOut)
        return findStep<step::IeeeFields>(m.steps);
    return findStep<step::IeeeDecoded>(m.steps);
}

// ---- Questions ----------------------------------------------------------------------

// A value the format holds exactly, of a few significant bits and an
// exponent near 0, as exams set them.
Number IeeeTopic::heldValue(const Format &f, QRandomGenerator &rng) const
{
    const int bits = std::min(f.fraction, 5);
    const quint64 tail = bits > 0 ? rng.bounded(quint32(1) << bits) : 0;
    const qint64 low = std::max<qint64>(ieee754::lowest(f), -6), high = std::min<qint64>(ieee754::highest(f), 9);
    const qint64 e = low + qint64(rng.bounded(quint32(high - low + 1)));
    Number v = Number::fromUnsigned((quint64(1) << bits) | tail).times2(e - bits);
    return rng.bounded(2) == 1 ? -v : v;
}

QString IeeeTopic::newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const
{
    switch (operation) {
    case Operation::ToBinary: {
        // About one in four a decimal the format cannot hold, to be rounded.
        static const char *const inexact[] = {"0.1", "0.2", "-0.3", "2.675", "3.14", "-1.1", "0.7", "100.01"};
        if (f.fraction >= 3 && rng.bounded(4) == 0)
            return QString::fromLatin1(inexact[rng.bounded(quint32(std::size(inexact)))]);
        return heldValue(f, rng).toDecimal();
    }
    case Operation::ToDenary:
    case Operation::ToHex:
        return printed(f, pw::plain(solve(f, Operation::ToBinary, heldValue(f, rng).toDecimal()).text));
    default:
        break;
    }
    return QString();
}

}  // namespace

const Topic &ieeeTopic()
{
    static const IeeeTopic topic;
    return topic;
}

}  // namespace quorvex::workbench
