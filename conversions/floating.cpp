// SPDX-License-Identifier: MIT
#include "conversions/floating.h"

#include "conversions/decimal.h"
#include "conversions/format.h"
#include "conversions/splitnumber.h"
#include "conversions/steps.h"
#include "topics/workbench.h"
#include "core/modFunctions.h"
#include "core/runtime.h"

#include <cmath>
#include <optional>

namespace quorvex {

using namespace modFunctions;
using namespace working;

namespace {

constexpr qint16 mantissaBits = windowFormats::floating.mantissa;
constexpr qint16 exponentWidth = windowFormats::floating.exponent;
constexpr qint16 fixedBits = windowFormats::floatingFixedBits;

// The magnitude's whole part and fraction as the window reads them.
struct Magnitude {
    qint32 whole = 0;
    float fraction = 0.0f;
};

Magnitude readMagnitude(const QString &text, const rt::ScannedNumber &typed, double value,
                        const QString &magnitudeText, Stage &stage, Working &working)
{
    stage = Stage::WholePart;
    Magnitude m{rt::roundToLong(std::abs(std::trunc(value))), 0.0f};
    if (!hasFraction(text, typed))
        return m;
    stage = Stage::ReadingFraction;
    const float held = std::abs(rt::toSingle(typed));
    if (rt::singleToText(held) != magnitudeText)
        working.push_back(HeldInSingle{magnitudeText.isEmpty() ? text.trimmed() : magnitudeText, held});
    m.fraction = float(double(held) - std::abs(std::trunc(value)));
    stage = Stage::WholePart;
    if (carryIntoWholePart(m.whole, m.fraction))
        working.push_back(CarriedIntoWhole{held, m.whole});
    return m;
}

// The fixed-point form: both parts in ten bits by the routines, then the
// leading zeros of the whole part and the trailing zeros of the fraction
// dropped; an empty side becomes "0".
FixedForm fixedFormOf(const Magnitude &m)
{
    const QString zero = QStringLiteral("0");
    QString wholeBits = DecimalToBinary(m.whole, fixedBits);
    float fraction = m.fraction;
    QString fractionBits = FractionToBinary(fraction, fixedBits);
    for (int pass = 0; pass < fixedBits; ++pass) {
        if (wholeBits.startsWith(u'0'))
            wholeBits.remove(0, 1);
        if (fractionBits.endsWith(u'0'))
            fractionBits.chop(1);
    }
    if (fractionBits.isEmpty())
        fractionBits = zero;
    if (wholeBits.isEmpty())
        wholeBits = zero;
    const std::vector<qint64> used = steps::placesUsed(wholeBits);
    return {m.whole, wholeBits, m.fraction, fractionBits, wholeBits + QLatin1Char('.') + fractionBits,
            used, steps::placesTaken(m.whole, used), steps::doublingOf(m.fraction, fixedBits)};
}

// The exponent moves the point to just before the first "1".
PointMoved pointMoved(const QString &fixed)
{
    const qint16 pointPosition = rt::toInt16(rt::find(fixed, QStringLiteral(".")));
    const qint16 firstOne = rt::toInt16(rt::find(fixed, QStringLiteral("1")));
    qint16 exponent = rt::toInt16(qint64(pointPosition) - firstOne);
    if (pointPosition <= firstOne)
        exponent = rt::toInt16(qint64(exponent) + 1);
    QString digits = fixed;
    digits.remove(u'.');
    const qsizetype first = digits.indexOf(u'1');
    const QString significant = first < 0 ? QString() : digits.mid(first, digits.lastIndexOf(u'1') - first + 1);
    return {fixed, exponent, firstOne == 0, significant};
}

// Every digit without the point and without leading zeros, behind a "0"
// sign bit, cut or filled to the mantissa's width.
MantissaDigits mantissaOf(const QString &fixed, qint16 exponent)
{
    const qsizetype point = fixed.indexOf(u'.');
    QString digits = fixed.left(point) + fixed.mid(point + 1);
    qsizetype firstNonZero = 0;
    while (firstNonZero < digits.size() && digits.at(firstNonZero) == u'0')
        ++firstNonZero;
    digits = QStringLiteral("0") + digits.mid(firstNonZero);
    const QString positive = digits.leftJustified(mantissaBits, u'0', true);
    // Zeros cut off at the right lose nothing.
    QString lost = digits.mid(mantissaBits);
    while (lost.endsWith(u'0'))
        lost.chop(1);
    // Digit k after the normalised point is worth 2^(exponent - k); the
    // first lost digit stands at k = mantissaBits.
    double worth = 0.0;
    for (qsizetype j = 0; j < lost.size(); ++j) {
        if (lost.at(j) == u'1')
            worth += std::ldexp(1.0, exponent - mantissaBits - int(j));
    }
    return {digits, positive, lost, lost.isEmpty() ? QString() : rt::exactText(worth)};
}

// The exponent's bits: for a negative exponent its magnitude, then two's
// complement.
ExponentBits exponentBits(qint16 exponent)
{
    const qint32 magnitude = rt::absInt16(exponent);
    qint16 width = exponentWidth;
    const QString magnitudeBits = DecimalToBinary(magnitude, width);
    return {exponent, magnitudeBits, exponent < 0 ? TwosComplement(magnitudeBits) : magnitudeBits,
            steps::addOne(steps::inverted(magnitudeBits))};
}

// What a mantissa and exponent stand for, and how far that is from the
// number typed.
FloatingCheck check(const QString &mantissa, qint16 exponent, const QString &typed)
{
    std::vector<qint64> denominators;
    for (qsizetype j = 1; j < mantissa.size(); ++j) {
        if (mantissa.at(j) == u'1')
            denominators.push_back(qint64(1) << j);
    }
    const double fraction = std::ldexp(double(steps::twosValue(mantissa)), -(mantissaBits - 1));
    const QString value = rt::exactText(std::ldexp(fraction, exponent));
    return {mantissa, mantissa.startsWith(u'1'), std::move(denominators), exponent, rt::exactText(fraction),
            value, typed, typed.isEmpty() ? QString() : decimalDifference(typed, value)};
}

// Where the boxes' pair is not the one worked by hand in the same format,
// that pair and the one cause. The window's own steps can only part from the
// hand method when the number was read in single precision, when doubling
// left something after the tenth place, or when a negative mantissa starts
// 11; otherwise nothing is worked twice.
std::optional<HandMethodDiffers> handMethodDiffers(const Working &steps, const FixedForm &fixed,
                                                   const QString &pair, const QString &exact)
{
    const HeldInSingle *single = find<HeldInSingle>(steps);
    const NotNormalised *notNormalised = find<NotNormalised>(steps);
    if (exact.isEmpty() || (!single && fixed.doubling.remainder == 0.0f && !notNormalised))
        return std::nullopt;
    const workbench::HandAnswer hand = workbench::handAnswer(windowFormats::floating, exact);
    if (hand.refused || hand.bits == pair)
        return std::nullopt;
    HandCause cause = HandCause::FractionCutFirst;
    if (notNormalised && hand.bits == notNormalised->mantissa + u' ' + notNormalised->exponent)
        cause = HandCause::NotNormalised;
    else if (fixed.whole == 0 && fixed.fractionBits == QStringLiteral("0"))
        cause = HandCause::BelowSmallest;
    else if (single && workbench::handAnswer(windowFormats::floating, rt::singleToText(single->held)).bits != hand.bits)
        cause = HandCause::SinglePrecision;
    return HandMethodDiffers{hand.bits, hand.value, cause};
}

}  // namespace

Conversion convertFloating(const QString &text)
{
    Conversion c;
    Stage stage = Stage::ReadingNumber;
    double value = 0.0;
    try {
        const rt::ScannedNumber typed = rt::scan(text);
        value = rt::leadingValue(typed);
        const bool negative = value < 0.0;
        const QString exact = rt::leadingDecimal(typed, maxTypedDigits);
        const QString magnitude = exact.startsWith(u'-') ? exact.mid(1) : exact;
        if (negative) {
            const QString typedText = exact.isEmpty() ? text.trimmed() : exact;
            c.working.push_back(MagnitudeOfNegative{typedText, typedText.startsWith(u'-') ? typedText.mid(1) : typedText});
        }
        const Magnitude m = readMagnitude(text, typed, value, magnitude, stage, c.working);

        stage = Stage::WholePartBits;
        value = m.whole;
        const FixedForm fixed = fixedFormOf(m);
        c.working.push_back(fixed);
        const PointMoved moved = pointMoved(fixed.fixed);
        c.working.push_back(moved);
        const MantissaDigits digits = mantissaOf(fixed.fixed, moved.exponent);
        c.working.push_back(digits);
        QString mantissa = digits.mantissa;
        if (negative) {
            mantissa = TwosComplement(digits.mantissa);
            const QString inverted = steps::inverted(digits.mantissa);
            c.working.push_back(Negated{inverted, mantissa, steps::addOne(inverted)});
        }
        const ExponentBits exponent = exponentBits(moved.exponent);
        c.working.push_back(exponent);
        c.working.push_back(check(mantissa, moved.exponent, exact));
        // A negative mantissa that starts 11 has a sign bit to spare.
        if (mantissa.startsWith(QStringLiteral("11")) && moved.exponent > windowFormats::floatingLowestExponent)
            c.working.push_back(NotNormalised{mantissa.mid(1) + QLatin1Char('0'),
                                              exponentBits(qint16(moved.exponent - 1)).bits});
        if (const auto hand = handMethodDiffers(c.working, fixed, mantissa + u' ' + exponent.bits, exact))
            c.working.push_back(*hand);
        c.outputs = {fixed.fixed, mantissa, exponent.bits};
    } catch (const rt::RuntimeError &error) {
        steps::failSplitting(c, error.kind(), stage, text, value, fixedBits);
    }
    return c;
}

}  // namespace quorvex
