// SPDX-License-Identifier: MIT
#include "conversions/floating.h"

#include "conversions/steps.h"
#include "conversions/decimal.h"
#include "core/modFunctions.h"
#include "core/runtime.h"
#include "conversions/splitnumber.h"

#include <cmath>

using namespace modFunctions;
using namespace working;

namespace {

// Six exponent bits: for a negative exponent its size, then two's complement.
ExponentBits exponentBits(qint16 exponent)
{
    const qint32 magnitude = rt::absInt16(exponent);
    const qint16 six = 6;
    const QString magnitudeBits = DecimalToBinary(magnitude, six);
    return {exponent, magnitudeBits, exponent < 0 ? TwosComplement(magnitudeBits) : magnitudeBits};
}

// What a mantissa and exponent stand for, and how far that is from the
// number typed.
FloatingCheck check(const QString &mantissa, qint16 exponent, const QString &typed)
{
    const double fraction = std::ldexp(double(steps::twosValue(mantissa)), -9);
    const QString value = rt::exactText(std::ldexp(fraction, exponent));
    return {mantissa, exponent, rt::exactText(fraction), value, typed,
            typed.isEmpty() ? QString() : decimalDifference(typed, value)};
}

}  // namespace

Conversion convertFloating(const QString &text)
{
    const QString point = QStringLiteral(".");
    const QString zero = QStringLiteral("0");

    Conversion c;
    Stage stage = Stage::ReadingNumber;
    double value = 0.0;
    try {
        value = rt::leadingValue(text);
        const bool negative = value < 0.0;
        const QString typed = rt::leadingDecimal(text, maxTypedDigits);
        const QString size = typed.startsWith(u'-') ? typed.mid(1) : typed;
        if (negative)
            c.working.push_back(MagnitudeOfNegative{typed, size});
        stage = Stage::WholePart;
        qint32 whole = rt::roundToLong(std::abs(std::trunc(value)));
        float fraction = 0.0f;
        if (hasFraction(text)) {
            stage = Stage::ReadingFraction;
            const float held = std::abs(rt::toSingle(text));
            if (rt::singleToText(held) != size)
                c.working.push_back(HeldInSingle{size, held});
            fraction = float(double(held) - std::abs(std::trunc(value)));
            stage = Stage::WholePart;
            if (carryIntoWholePart(whole, fraction))
                c.working.push_back(CarriedIntoWhole{held, whole});
        }

        stage = Stage::WholePartBits;
        value = whole;
        const qint16 ten = 10;
        QString wholeBits = DecimalToBinary(whole, ten);
        const float fractionRead = fraction;
        QString fractionBits = FractionToBinary(fraction, ten);

        // Drop the leading zeros of the whole part and the trailing zeros of
        // the fraction (both are ten plain digits); an empty side becomes "0".
        for (int pass = 0; pass < 10; ++pass) {
            if (wholeBits.startsWith(u'0'))
                wholeBits.remove(0, 1);
            if (fractionBits.endsWith(u'0'))
                fractionBits.chop(1);
        }
        if (fractionBits.isEmpty())
            fractionBits = zero;
        if (wholeBits.isEmpty())
            wholeBits = zero;
        const QString fixed = wholeBits + point + fractionBits;
        c.working.push_back(FixedForm{whole, wholeBits, fractionRead, fractionBits, fixed});

        // The exponent moves the point to just before the first "1".
        const qint16 pointPosition = rt::toInt16(rt::find(fixed, point));
        const qint16 firstOne = rt::toInt16(rt::find(fixed, QStringLiteral("1")));
        qint16 exponent = rt::toInt16(qint64(pointPosition) - firstOne);
        if (pointPosition <= firstOne)
            exponent = rt::toInt16(qint64(exponent) + 1);
        c.working.push_back(PointMoved{fixed, exponent, firstOne == 0});

        // Mantissa: every digit without the point and without leading zeros,
        // behind a "0" sign bit, cut or filled to ten bits.
        QString digits = fixed.left(pointPosition - 1) + fixed.mid(pointPosition);
        qsizetype firstNonZero = 0;
        while (firstNonZero < digits.size() && digits.at(firstNonZero) == u'0')
            ++firstNonZero;
        digits = zero + digits.mid(firstNonZero);
        const QString positive = digits.leftJustified(10, u'0', true);
        // Zeros cut off at the right lose nothing.
        QString lost = digits.mid(10);
        while (lost.endsWith(u'0'))
            lost.chop(1);
        c.working.push_back(MantissaDigits{digits, positive, lost});
        QString mantissa = positive;
        if (negative) {
            mantissa = TwosComplement(positive);
            c.working.push_back(Negated{steps::inverted(positive), mantissa});
        }

        const ExponentBits exponentStep = exponentBits(exponent);
        c.working.push_back(exponentStep);
        c.working.push_back(check(mantissa, exponent, typed));
        // A negative mantissa that starts 11 has a sign bit to spare.
        if (mantissa.startsWith(QStringLiteral("11")) && exponent > -32)
            c.working.push_back(NotNormalised{mantissa.mid(1) + zero,
                                              exponentBits(qint16(exponent - 1)).bits});
        c.outputs = {fixed, mantissa, exponentStep.bits};
    } catch (const rt::RuntimeError &error) {
        steps::fail(c, error.kind(), stage, text, value);
    }
    return c;
}
