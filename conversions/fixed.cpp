// SPDX-License-Identifier: MIT
#include "conversions/fixed.h"

#include "conversions/steps.h"
#include "conversions/decimal.h"
#include "core/runtime.h"
#include "conversions/splitnumber.h"

#include <array>
#include <cmath>

using namespace working;

namespace {

// A digit as the window writes it: its signed number text without the blank.
// Only text the rule refuses can give digits other than 0 and 1.
void appendDigit(QString &text, qint16 digit)
{
    if (digit == 0 || digit == 1)
        text += QChar(u'0' + digit);
    else
        text += rt::trim(rt::signedText(digit));
}

}  // namespace

bool fixedAccepts(const QString &text)
{
    if (!rt::isNumeric(text))
        return false;
    const double value = rt::leadingValue(text);
    return !(value > 1023.0) && !(value < 0.0);
}

Conversion refuseFixedInput(const QString &text)
{
    Conversion c;
    c.refusal.kind = Refusal::Kind::InputRule;
    c.working.push_back(OutsideFixedRange{text});
    return c;
}

Conversion convertFixed(const QString &text)
{
    Conversion c;
    Stage stage = Stage::ReadingNumber;
    double value = 0.0;
    try {
        value = rt::leadingValue(text);
        stage = Stage::WholePart;
        qint32 whole = rt::truncToInt32(value);
        float fraction = 0.0f;
        const QString typed = rt::leadingDecimal(text, maxTypedDigits);
        if (hasFraction(text)) {
            stage = Stage::ReadingFraction;
            const float held = rt::toSingle(text);
            if (rt::singleToText(held) != typed)
                c.working.push_back(HeldInSingle{typed, held});
            fraction = float(double(held) - std::trunc(value));
            stage = Stage::WholePart;
            if (carryIntoWholePart(whole, fraction))
                c.working.push_back(CarriedIntoWhole{held, whole});
        }

        // Whole part, least significant digit in slot 0; unreached slots stay
        // empty, so there are no leading zeros.
        stage = Stage::WholePartBits;
        value = whole;
        std::array<qint16, 10> wholeDigits;
        qint32 n = whole;
        size_t used = 0;
        do {
            if (used >= wholeDigits.size())
                rt::raise(rt::ErrorKind::SubscriptOutOfRange);
            wholeDigits[used++] = rt::toInt16(n % 2);
            n /= 2;
        } while (n != 0);

        // Ten fraction bits, cut off, not rounded.
        Doubling doubling;
        doubling.rows.reserve(10);
        std::array<qint16, 10> fractionDigits;
        for (qint16 &digit : fractionDigits) {
            DoublingRow row{fraction, 0.0f, 0};
            fraction = fraction * 2.0f;
            digit = rt::truncToInt16(double(fraction));
            row.doubled = fraction;
            row.bit = digit;
            doubling.rows.push_back(row);
            fraction = fraction - float(digit);
        }
        doubling.remainder = fraction;

        QString wholeText, fractionText;
        wholeText.reserve(10);
        fractionText.reserve(10);
        for (size_t slot = used; slot-- > 0;)
            appendDigit(wholeText, wholeDigits[slot]);
        for (qint16 digit : fractionDigits)
            appendDigit(fractionText, digit);
        c.working.push_back(WholeBits{whole, wholeText});
        c.working.push_back(std::move(doubling));

        // The value those digits hold: digit j (from 1) is worth 2^-j.
        float actual = 0.0f;
        for (int j = 1; j <= 10; ++j)
            actual = float(double(actual) + double(fractionDigits[size_t(j - 1)]) * std::ldexp(1.0, -j));
        actual = float(double(actual) + double(whole));
        const QString held = rt::singleToText(actual);
        const QString fixedPoint = wholeText + QLatin1Char('.') + fractionText;
        c.working.push_back(FixedValue{fixedPoint, held, typed,
                                       typed.isEmpty() ? QString() : decimalDifference(typed, held)});
        c.outputs = {wholeText, fractionText, held, fixedPoint};
    } catch (const rt::RuntimeError &error) {
        steps::fail(c, error.kind(), stage, text, value);
    }
    return c;
}
