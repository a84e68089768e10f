// SPDX-License-Identifier: MIT
#include "conversions/workingtext.h"

#include "conversions/format.h"
#include "conversions/htmlwriter.h"
#include "core/runtime.h"

#include <QCoreApplication>

namespace quorvex {

using namespace working;
using namespace html;

namespace {

// What more than one group of steps writes.
struct Common {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    static QString placeName(qsizetype place)
    {
        return place <= 40 ? QString::number(qint64(1) << place) : QStringLiteral("2^%1").arg(place);
    }
    static QString hex(const QString &h) { return h.isEmpty() ? QString() : QStringLiteral(" (hex %1)").arg(h); }

    // Place values with the characters under them, eight places a row.
    static void placeTable(Writer &w, const QString &characters)
    {
        const qsizetype n = characters.size();
        std::vector<std::pair<QString, QStringList>> rows;
        for (qsizetype from = 0; from < n; from += 8) {
            const qsizetype to = std::min(n, from + 8);
            QStringList places, bitsUnder;
            for (qsizetype i = from; i < to; ++i) {
                places << placeName(n - 1 - i);
                const QChar c = characters.at(i);
                const bool plain = c == u'0' || c == u'1';
                bitsUnder << code(QString(c)) + (plain ? QString() : QStringLiteral("*"));
            }
            rows.emplace_back(tr("place value"), places);
            rows.emplace_back(tr("bit"), bitsUnder);
        }
        w.sideTable(rows);
    }

    static void differenceFrom(Writer &w, const QString &typed, const QString &difference)
    {
        if (typed.isEmpty())
            w.para(tr("The number typed has too many digits to compare here."));
        else if (difference == QStringLiteral("0"))
            w.para(tr("That is exactly the number typed, %1: the difference is 0.").arg(minus(typed)));
        else
            w.para(tr("The number typed was %1: the difference (typed %2 held) is %3.")
                       .arg(minus(typed), minusSign(), minus(difference)));
    }
};

// Reading the number typed, and the checks on it.
struct ReadingWords {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    Writer &w;

    void operator()(const NotANumber &s)
    {
        if (s.text.trimmed().isEmpty())
            w.para(tr("The box is empty: there is no number to convert."));
        else
            w.para(tr("%1 is not a number.").arg(quoted(s.text)));
    }
    void operator()(const Negative &s)
    {
        w.para(tr("%1 is negative: these bits carry no sign.").arg(number(s.value)));
    }
    void operator()(const NeedsMoreBits &s)
    {
        const QString value = number(s.value);
        w.para(tr("%1 needs %2 bits: ").arg(value).arg(s.bitsNeeded)
               + tr("2^%1 = %2 is not greater than %3; %1 bits hold 0 to %4.")
                     .arg(s.bitCount)
                     .arg(qint64(1) << s.bitCount)
                     .arg(value)
                     .arg((qint64(1) << s.bitCount) - 1));
        w.para(s.widest ? tr("No wider choice exists: %1 bits is the most this window offers.")
                              .arg(windowFormats::binIntWidest)
                        : tr("Choose more bits and convert again."));
    }
    void operator()(const NotWhole &s) { w.para(tr("%1 is not a whole number.").arg(number(s.value))); }
    void operator()(const OutsideFixedRange &s)
    {
        if (!s.numeric)
            w.para(tr("%1 is not a number.").arg(quoted(s.text)));
        else
            w.para(tr("%1 lies outside 0 to %2.").arg(quoted(s.text)).arg(windowFormats::fixedLargestWhole));
        w.para(s.note);
    }
    void operator()(const HeldInSingle &s)
    {
        w.para(tr("Single precision cannot hold %1 exactly: it holds %2, the nearest value it has.")
                   .arg(s.typed, rt::singleToText(s.held)));
    }
    void operator()(const CarriedIntoWhole &s)
    {
        w.para(tr("Single precision reads %1, so the whole part becomes %2.")
                   .arg(rt::singleToText(s.held))
                   .arg(s.whole));
    }
    void operator()(const MagnitudeOfNegative &s)
    {
        w.para(tr("%1 is negative, so its size %2 is converted and the mantissa negated at the end.")
                   .arg(minus(s.typed), s.magnitude));
    }
};

// A whole number as bits, and its two's complement.
struct WholeNumberWords {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    Writer &w;

    void operator()(const WholeInRange &s)
    {
        w.para(tr("%1 is a whole number from 0 to %2 (2^%3 %4 1), so it fits in %3 bits.")
                   .arg(s.value)
                   .arg((qint64(1) << s.bitCount) - 1)
                   .arg(s.bitCount)
                   .arg(minusSign()));
    }
    void operator()(const PlaceValues &s)
    {
        w.para(tr("Each bit stands under its place value:"));
        Common::placeTable(w, s.bits);
        if (s.used.empty())
            w.para(tr("0 uses no place: every bit is 0."));
        else
            w.para(tr("The places used add up to the number: %1 = %2.").arg(s.value).arg(sum(s.used)));
        w.para(tr("So %1 in %2 bits is %3%4.")
                   .arg(s.value)
                   .arg(s.bits.size())
                   .arg(bits(s.bits), Common::hex(s.hex)));
    }
    void operator()(const Inverted &s)
    {
        w.para(tr("Two's complement, step 1: invert every bit: %1.").arg(bits(s.bits)));
    }
    void operator()(const AddedOne &s)
    {
        w.para(tr("Step 2: add 1: %1%2.").arg(bits(s.bits), Common::hex(s.hex)));
    }
    void operator()(const ReadsAsSigned &s)
    {
        const qint64 low = -(qint64(1) << (s.bitCount - 1));
        const qint64 high = (qint64(1) << (s.bitCount - 1)) - 1;
        if (s.reading == -qint64(s.value)) {
            w.para(tr("In %1-bit two's complement this pattern reads as %2.")
                       .arg(s.bitCount)
                       .arg(signedNumber(s.reading)));
        } else {
            w.para(tr("%1 lies outside %2 to %3, the range of %4-bit two's complement, so the pattern reads "
                      "as %5.")
                       .arg(signedNumber(-qint64(s.value)), signedNumber(low))
                       .arg(high)
                       .arg(s.bitCount)
                       .arg(signedNumber(s.reading, true)));
        }
    }
};

// A typed bit string back to a number.
struct BitsBackWords {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    Writer &w;

    void operator()(const BitPlaces &s)
    {
        if (s.length == 0) {
            w.para(tr("The box is empty: there are no bits, so the value is 0."));
            return;
        }
        if (!s.onlyOnes) {
            QString characters;
            for (const Place &p : s.listed)
                characters += QString::fromUcs4(&p.character, 1);
            w.para(tr("Each character stands under its place value:"));
            Common::placeTable(w, characters);
            if (s.others > 0)
                w.para(tr("A character marked * is not 0 or 1: it counts as 0 and still takes its place."));
            return;
        }
        w.para(tr("The text has %1 characters. The places that hold a 1, from the left:").arg(s.length));
        QStringList places;
        for (const Place &p : s.listed)
            places << Common::placeName(p.place);
        QString list = places.join(QStringLiteral(", "));
        if (s.onesNotListed > 0)
            list += tr(" and %1 more").arg(s.onesNotListed);
        w.para(list.isEmpty() ? tr("none") : list);
        if (s.others > 0)
            w.para(tr("%1 characters are not 0 or 1: each counts as 0 and still takes its place.")
                       .arg(s.others));
    }
    void operator()(const Sum &s)
    {
        if (s.terms.empty())
            w.para(tr("No place holds a 1, so the value is 0."));
        else
            w.para(tr("The places that hold a 1 add up: %1 = %2 (hex %3).")
                       .arg(sum(s.terms))
                       .arg(s.total)
                       .arg(s.hex));
    }
    void operator()(const TwosReading &s)
    {
        if (s.terms.empty() || s.terms.front() >= 0) {
            w.para(tr("Read as %1-bit two's complement, the leftmost bit is 0, so the value is the same: %2.")
                       .arg(s.width)
                       .arg(s.total));
            return;
        }
        w.para(tr("Read as %1-bit two's complement, the leftmost place counts negative: %2 = %3.")
                   .arg(s.width)
                   .arg(sum(s.terms), signedNumber(s.total)));
    }
    void operator()(const OneBeyondRange &s)
    {
        w.para(tr("The 1 at place %1 lies beyond the 32-bit range: the largest place a 32-bit number can use "
                  "is 2^30.")
                   .arg(Common::placeName(s.place)));
    }
};

// Fixed point: the whole part, the fraction by doubling, the value held.
struct FixedPointWords {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    Writer &w;

    void operator()(const WholeBits &s)
    {
        const QString terms = s.used.empty() ? QStringLiteral("0") : sum(s.used);
        w.para(tr("Whole part: %1 = %2 gives %3.").arg(s.whole).arg(terms, bits(s.bits)));
    }
    void operator()(const Doubling &s)
    {
        w.para(tr(
            "Fraction by repeated doubling: double it, take the whole part as the next bit, keep the rest."));
        std::vector<QStringList> rows;
        rows.reserve(s.rows.size());
        for (const DoublingRow &row : s.rows)
            rows.push_back({rt::singleToText(row.fraction), rt::singleToText(row.doubled),
                            bits(QString::number(row.bit))});
        w.table({tr("fraction"), tr("doubled"), tr("bit")}, rows);
        if (s.remainder == 0.0f)
            w.para(tr("After ten bits nothing is left: the fraction is exact."));
        else
            w.para(tr("After ten bits %1 is left; it is cut off, not rounded.")
                       .arg(rt::singleToText(s.remainder)));
    }
    void operator()(const FixedValue &s)
    {
        w.para(tr("The bits %1 hold %2 (what Actual Value shows).").arg(bits(s.bits), s.held));
        Common::differenceFrom(w, s.typed, s.difference);
        const int places = windowFormats::fixed.fraction;
        w.para(tr("The last bit is worth 2^%1 = %2: the held value moves in steps of that size.")
                   .arg(minusSign() + QString::number(places), rt::exactText(std::ldexp(1.0, -places))));
    }
};

// Floating point: the fixed-point form, the point moved, mantissa and
// exponent, and the pair read back.
struct FloatingPointWords {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    Writer &w;

    void operator()(const FixedForm &s)
    {
        w.para(tr("Whole part: %1 = %2. Fraction by doubling: %3 = .%4.")
                   .arg(s.whole)
                   .arg(bits(s.wholeBits), rt::singleToText(s.fraction), bits(s.fractionBits, true)));
        w.para(tr("Together: %1 (what the fixed-point box shows).").arg(bits(s.fixed)));
    }
    void operator()(const PointMoved &s)
    {
        if (s.noOne)
            w.para(tr("There is no 1 to move the point to, so the exponent rule gives %1 and the value is 0.")
                       .arg(s.exponent));
        else if (s.exponent > 0)
            w.para(tr("The point moves %1 places left to stand before the first 1, so the exponent is %1.")
                       .arg(s.exponent));
        else if (s.exponent < 0)
            w.para(tr("The point moves %1 places right to stand before the first 1, so the exponent is %2.")
                       .arg(-s.exponent)
                       .arg(signedNumber(s.exponent)));
        else
            w.para(tr("The point already stands before the first 1, so the exponent is 0."));
    }
    void operator()(const MantissaDigits &s)
    {
        if (s.lost.isEmpty()) {
            w.para(tr("The mantissa is a 0 sign bit and the digits, filled to ten bits: %1.")
                       .arg(bits(s.mantissa)));
            return;
        }
        const qsizetype kept = s.mantissa.size() - 1;
        w.para(tr("The mantissa is a 0 sign bit and the digits, %1, cut to ten bits: %2. It keeps %3 of its "
                  "%4 digits; %5 is lost.")
                   .arg(code(s.digits), bits(s.mantissa))
                   .arg(kept)
                   .arg(kept + s.lost.size())
                   .arg(code(s.lost)));
    }
    void operator()(const Negated &s)
    {
        w.para(tr("The number is negative, so the mantissa is negated: invert every bit, %1, and add 1, %2.")
                   .arg(bits(s.inverted), bits(s.mantissa)));
    }
    void operator()(const ExponentBits &s)
    {
        if (s.exponent < 0)
            w.para(tr("The exponent %1 is negative: its size %2 in six bits is %3, and its two's complement "
                      "%4.")
                       .arg(signedNumber(s.exponent))
                       .arg(-s.exponent)
                       .arg(bits(s.magnitudeBits), bits(s.bits)));
        else
            w.para(tr("The exponent %1 in six bits: %2.").arg(s.exponent).arg(bits(s.bits)));
    }
    void operator()(const FloatingCheck &s)
    {
        QStringList terms;
        if (s.negativeSign)
            terms << signedNumber(-1);
        for (qint64 denominator : s.denominators)
            terms << QStringLiteral("1/%1").arg(denominator);
        const QString sumText = terms.isEmpty() ? QStringLiteral("0") : terms.join(QStringLiteral(" + "));
        w.para(tr("Check: the mantissa %1 is %2 = %3; times 2^%4 that is %5.")
                   .arg(bits(s.mantissa), sumText, minus(s.mantissaValue), signedNumber(s.exponent),
                        minus(s.value)));
        Common::differenceFrom(w, s.typed, s.difference);
    }
    void operator()(const NotNormalised &s)
    {
        w.para(tr("This pair stands for the right value, but a normalised negative mantissa starts 10: the "
                  "normalised pair is %1 with exponent %2.")
                   .arg(bits(s.mantissa), bits(s.exponent)));
    }
};

// Where a run-time error stopped the conversion.
struct FailureWords {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    Writer &w;

    void operator()(const Failed &s)
    {
        switch (s.stage) {
        case Stage::ReadingNumber:
            w.para(tr("%1 is too large to read as a number.").arg(quoted(s.text)));
            break;
        case Stage::WholePart:
            w.para(tr("The whole part of %1 lies beyond the 32-bit range.").arg(quoted(s.text)));
            break;
        case Stage::WholePartBits:
            w.para(tr("The whole part %1 needs %2 bits, but there are only %3: it must be below %4.")
                       .arg(number(s.value))
                       .arg(s.bitsNeeded)
                       .arg(s.bitsThere)
                       .arg(qint64(1) << s.bitsThere));
            break;
        case Stage::ReadingFraction:
            if (s.kind == rt::ErrorKind::TypeMismatch)
                w.para(tr("%1 has a point or an exponent, so the whole text is read as one number, and it is "
                          "not one.")
                           .arg(quoted(s.text)));
            else
                w.para(tr("%1 is too large for single precision.").arg(quoted(s.text)));
            break;
        case Stage::Summing:
            break;  // the step before says why
        }
        w.para(tr("The conversion stops here."));
    }
};

struct Words : ReadingWords, WholeNumberWords, BitsBackWords, FixedPointWords, FloatingPointWords, FailureWords {
    using ReadingWords::operator(), WholeNumberWords::operator(), BitsBackWords::operator(),
        FixedPointWords::operator(), FloatingPointWords::operator(), FailureWords::operator();
};

}  // namespace

QString workingHtml(const Working &steps)
{
    Writer w;
    Words words{{w}, {w}, {w}, {w}, {w}, {w}};
    for (const Step &step : steps)
        std::visit(words, step);
    return w.take();
}

}  // namespace quorvex
