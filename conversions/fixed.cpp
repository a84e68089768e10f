// SPDX-License-Identifier: MIT
#include "conversions/fixed.h"

#include "conversions/decimal.h"
#include "conversions/format.h"
#include "conversions/splitnumber.h"
#include "conversions/steps.h"
#include "topics/workbench.h"
#include "core/runtime.h"

#include <QCoreApplication>

#include <array>
#include <cmath>

namespace quorvex {

using namespace working;

namespace {

constexpr int wholeBits = windowFormats::fixed.whole;
constexpr int fractionBits = windowFormats::fixed.fraction;
using WholeDigits = std::array<qint16, wholeBits>;
using FractionDigits = std::array<qint16, fractionBits>;

// A digit as the window writes it: its signed number text without the blank.
// Only text the rule refuses can give digits other than 0 and 1.
void appendDigit(QString &text, qint16 digit)
{
    if (digit == 0 || digit == 1)
        text += QChar(u'0' + digit);
    else
        text += rt::trim(rt::signedText(digit));
}

// The whole part and the fraction as the window reads them: the whole part
// from the number, the fraction from the single-precision reading of the
// whole text when it has one.
struct Split {
    qint32 whole = 0;
    float fraction = 0.0f;
};

Split splitTyped(const QString &text, const rt::ScannedNumber &typed, double value, const QString &exact,
                 Stage &stage, Working &working)
{
    stage = Stage::WholePart;
    Split split{rt::truncToInt32(value), 0.0f};
    if (!hasFraction(text, typed))
        return split;
    stage = Stage::ReadingFraction;
    const float held = rt::toSingle(typed);
    if (rt::singleToText(held) != exact)
        working.push_back(HeldInSingle{exact.isEmpty() ? text.trimmed() : exact, held});
    split.fraction = float(double(held) - std::trunc(value));
    stage = Stage::WholePart;
    if (carryIntoWholePart(split.whole, split.fraction))
        working.push_back(CarriedIntoWhole{held, split.whole});
    return split;
}

// The whole part's binary digits, least significant in slot 0; returns how
// many slots it used, so there are no leading zeros. More digits than there
// are slots is a subscript out of range.
size_t wholeDigitsOf(qint32 whole, WholeDigits &digits)
{
    qint32 n = whole;
    size_t used = 0;
    do {
        if (used >= digits.size())
            rt::raise(rt::ErrorKind::SubscriptOutOfRange);
        digits[used++] = rt::toInt16(n % 2);
        n /= 2;
    } while (n != 0);
    return used;
}

// The fraction's digits by repeated doubling in single precision, cut off,
// not rounded; every row is recorded as it is computed.
Doubling fractionDigitsOf(float fraction, FractionDigits &digits)
{
    Doubling doubling;
    doubling.rows.reserve(digits.size());
    doubling.rowsUntilZero = -1;
    for (qint16 &digit : digits) {
        if (fraction == 0.0f && doubling.rowsUntilZero < 0)
            doubling.rowsUntilZero = qsizetype(doubling.rows.size());
        DoublingRow row{fraction, 0.0f, 0};
        fraction = fraction * 2.0f;
        digit = rt::truncToInt16(double(fraction));
        row.doubled = fraction;
        row.bit = digit;
        doubling.rows.push_back(row);
        fraction = fraction - float(digit);
    }
    doubling.remainder = fraction;
    if (doubling.rowsUntilZero < 0)
        doubling.rowsUntilZero = qsizetype(doubling.rows.size());
    return doubling;
}

// The value the digits hold: fraction digit j (from 1) is worth 2^-j.
float heldValue(qint32 whole, const FractionDigits &digits)
{
    float actual = 0.0f;
    for (int j = 1; j <= int(digits.size()); ++j)
        actual = float(double(actual) + double(digits[size_t(j - 1)]) * std::ldexp(1.0, -j));
    return float(double(actual) + double(whole));
}

}  // namespace

QString fixedRuleNote()
{
    return QCoreApplication::translate("Conversion", "Type a number from 0 to %1 (%1 itself is the largest).")
        .arg(windowFormats::fixedLargestWhole);
}

bool fixedAccepts(const QString &text)
{
    const rt::ScannedNumber typed = rt::scan(text);
    if (!rt::isNumeric(typed))
        return false;
    const double value = rt::leadingValue(typed);
    return !(value > double(windowFormats::fixedLargestWhole)) && !(value < 0.0);
}

Conversion refuseFixedInput(const QString &text)
{
    Conversion c;
    const QString note = fixedRuleNote();
    c.refusal = refusal::InputRule{note};
    c.working.push_back(OutsideFixedRange{text, rt::isNumeric(text), note});
    return c;
}

Conversion convertFixed(const QString &text)
{
    Conversion c;
    Stage stage = Stage::ReadingNumber;
    double value = 0.0;
    try {
        const rt::ScannedNumber typed = rt::scan(text);
        value = rt::leadingValue(typed);
        const QString exact = rt::leadingDecimal(typed, maxTypedDigits);
        const Split split = splitTyped(text, typed, value, exact, stage, c.working);

        stage = Stage::WholePartBits;
        value = split.whole;
        WholeDigits wholeDigits;
        const size_t used = wholeDigitsOf(split.whole, wholeDigits);
        FractionDigits fractionDigits;
        Doubling doubling = fractionDigitsOf(split.fraction, fractionDigits);

        QString wholeText, fractionText;
        for (size_t slot = used; slot-- > 0;)
            appendDigit(wholeText, wholeDigits[slot]);
        for (qint16 digit : fractionDigits)
            appendDigit(fractionText, digit);
        const std::vector<qint64> placesHeld = steps::placesUsed(wholeText);
        c.working.push_back(WholeBits{split.whole, wholeText, placesHeld, steps::placesTaken(split.whole, placesHeld)});
        c.working.push_back(std::move(doubling));

        const QString held = rt::singleToText(heldValue(split.whole, fractionDigits));
        const QString fixedPoint = wholeText + QLatin1Char('.') + fractionText;
        std::vector<qint64> denominators;
        for (qsizetype j = 0; j < fractionText.size(); ++j) {
            if (fractionText.at(j) == u'1')
                denominators.push_back(qint64(2) << j);
        }
        c.working.push_back(FixedValue{fixedPoint, split.whole, std::move(denominators), held, exact,
                                       exact.isEmpty() ? QString() : decimalDifference(exact, held)});
        // Single precision can leave the window's bits short of the ones
        // worked by hand from the number typed.
        if (find<HeldInSingle>(c.working) && !exact.isEmpty()) {
            const workbench::HandAnswer hand = workbench::handAnswer(windowFormats::fixed, exact);
            if (!hand.refused && hand.value != held)
                c.working.push_back(HandMethodDiffers{hand.bits, hand.value, HandCause::SinglePrecision});
        }
        c.outputs = {wholeText, fractionText, held, fixedPoint};
    } catch (const rt::RuntimeError &error) {
        steps::failSplitting(c, error.kind(), stage, text, value, wholeBits);
    }
    return c;
}

}  // namespace quorvex
