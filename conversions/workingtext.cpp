// SPDX-License-Identifier: MIT
#include "conversions/workingtext.h"

#include "conversions/format.h"
#include "engine/htmlwriter.h"
#include "core/runtime.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

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
        return place <= 40 ? QString::number(qint64(1) << place) : power(place);
    }
    static QString hex(const QString &h) { return h.isEmpty() ? QString() : QStringLiteral(" (hex %1)").arg(h); }
    // "1 place", "9 places" (no translation file is loaded, so the English
    // plural is chosen here).
    static QString places(qint64 n)
    {
        return n == 1 ? tr("%n place", nullptr, 1) : tr("%n places", nullptr, int(n));
    }
    static QString fraction(qint64 denominator) { return QStringLiteral("1/%1").arg(denominator); }

    // Headings with the characters under them, eight columns a row.
    static void headedTable(Writer &w, const QStringList &headings, const QStringList &cells,
                            const QString &heading = tr("place value"))
    {
        std::vector<std::pair<QString, QStringList>> rows;
        for (qsizetype from = 0; from < headings.size(); from += 8) {
            rows.emplace_back(heading, headings.mid(from, 8));
            rows.emplace_back(tr("bit"), cells.mid(from, 8));
        }
        w.sideTable(rows);
    }

    // Place values with the characters under them; the leftmost place
    // counts negative when `twos`.
    static void placeTable(Writer &w, const QString &characters, bool twos = false)
    {
        const qsizetype n = characters.size();
        QStringList places, bitsUnder;
        for (qsizetype i = 0; i < n; ++i) {
            places << (twos && i == 0 ? minusSign() : QString()) + placeName(n - 1 - i);
            const QChar c = characters.at(i);
            const bool plain = c == u'0' || c == u'1';
            bitsUnder << code(QString(c)) + (plain ? QString() : QStringLiteral("*"));
        }
        headedTable(w, places, bitsUnder);
    }

    // "200 − 128 = 72, 72 − 64 = 8, 8 − 8 = 0"
    static QString taken(const std::vector<PlaceTaken> &steps)
    {
        QStringList parts;
        for (const PlaceTaken &t : steps)
            parts << QStringLiteral("%1 %2 %3 = %4").arg(t.from).arg(minusSign()).arg(t.place).arg(t.left);
        return parts.join(QStringLiteral(", "));
    }

    // How the bits of an addition are written: an integer in groups of four
    // from the right, a mantissa with its point after the sign bit, or a
    // short pattern (an exponent) as it is.
    enum class Written { Grouped, Mantissa, Plain };
    static QString written(const QString &b, Written how, QChar point = u'.')
    {
        switch (how) {
        case Written::Grouped:
            return groupedBits(b);
        case Written::Mantissa:
            return b.isEmpty() ? b : b.left(1) + point + b.mid(1);
        case Written::Plain:
            break;
        }
        return b;
    }

    // 1 added column by column, the carries written above. A mantissa adds
    // its last place, 0.000000001, with the point in line in every row.
    static void addition(Writer &w, const AddOne &a, Written how = Written::Grouped)
    {
        QString carries = a.carries;
        carries.replace(u'0', u' ');
        const QString plusOne = how == Written::Mantissa ? QString(a.before.size() - 1, u'0') + u'1'
                                                         : QString(a.before.size() - 1, u' ') + u'1';
        std::vector<std::pair<QString, QString>> rows;
        if (a.carryOut || a.carries.contains(u'1'))
            rows.emplace_back(tr("carries"), (a.carryOut ? QStringLiteral("1") : QStringLiteral(" "))
                                                 + written(carries, how, u' '));
        rows.insert(rows.end(), {{QString(), written(a.before, how)},
                                 {QStringLiteral("+"), written(plusOne, how)},
                                 {QStringLiteral("="), written(a.after, how)}});
        w.columns(rows);
        if (a.carryOut)
            w.para(tr("The carry out of the leftmost column falls off the end and is dropped: the result "
                      "keeps %1 bits.")
                       .arg(a.before.size()));
    }

    // The mantissa with its point after the sign bit, under its place values.
    static QString mantissaText(const QString &m) { return code(m.left(1) + u'.' + m.mid(1)); }
    static void mantissaTable(Writer &w, const QString &m)
    {
        QStringList headings{QStringLiteral("<b>%1</b>").arg(signedNumber(-1))}, cells{code(m.left(1))};
        for (qsizetype j = 1; j < m.size(); ++j) {
            headings << QStringLiteral("<b>%1</b>").arg(fraction(qint64(1) << j));
            cells << code(m.mid(j, 1));
        }
        w.sideTable({{QString(), headings}, {QString(), cells}});
    }

    // A value for a doubling row: exact when short, otherwise rounded to
    // seven significant digits, about what single precision holds.
    static QString rowValue(float value)
    {
        const QString exact = rt::singleToText(value);
        if (exact.size() <= 9 || value == 0.0f)
            return exact;
        const int decimals = std::max(0, 6 - int(std::floor(std::log10(std::abs(double(value))))));
        QString text = QString::number(double(value), 'f', decimals);
        while (text.contains(u'.') && (text.endsWith(u'0') || text.endsWith(u'.')))
            text.chop(1);
        return text;
    }

    static void doublingTable(Writer &w, const Doubling &s)
    {
        std::vector<QStringList> rows;
        bool rounded = false;
        const auto shown = size_t(s.rowsUntilZero);
        for (size_t k = 0; k < shown && k < s.rows.size(); ++k) {
            const DoublingRow &row = s.rows[k];
            const QString fraction = rowValue(row.fraction), doubled = rowValue(row.doubled);
            rounded = rounded || fraction != rt::singleToText(row.fraction) || doubled != rt::singleToText(row.doubled);
            rows.push_back({QStringLiteral("%1 \u00D7 2 = %2").arg(fraction, doubled), code(QString::number(row.bit))});
        }
        if (!rows.empty())
            w.table({tr("doubled"), tr("bit")}, rows);
        const qsizetype rest = qsizetype(s.rows.size()) - s.rowsUntilZero;
        if (rest > 0)
            w.para(rows.empty() ? tr("0 \u00D7 2 = 0 for all %1: every bit is 0.").arg(places(rest))
                                : tr("0 \u00D7 2 = 0 for the remaining %1: each bit is 0.").arg(places(rest)));
        if (rounded)
            w.para(tr("The program holds these values in single precision; they are shown rounded to seven "
                      "significant digits. The fraction held is not exactly the one typed, and each doubling "
                      "doubles that small error too, so later rows drift from the exact values."));
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
        if (s.twosHolds)
            w.para(tr("%1 is negative: these bits carry no sign. Type %2 and read the two's complement box "
                      "for %1.")
                       .arg(number(s.value), number(-s.value)));
        else
            w.para(tr("%1 is negative: these bits carry no sign.").arg(number(s.value)));
    }
    void operator()(const NeedsMoreBits &s)
    {
        w.para(tr("%1 needs %2 bits; %3 bits hold 0 to %4.")
                   .arg(number(s.value))
                   .arg(s.bitsNeeded)
                   .arg(s.bitCount)
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
                   .arg(longNumber(s.typed), rt::singleToText(s.held)));
    }
    void operator()(const CarriedIntoWhole &s)
    {
        w.para(tr("Single precision reads %1, so the whole part becomes %2.")
                   .arg(rt::singleToText(s.held))
                   .arg(s.whole));
    }
    void operator()(const MagnitudeOfNegative &s)
    {
        w.para(tr("%1 is negative, so its magnitude (the number without its sign), %2, is converted and the "
                  "mantissa negated at the end.")
                   .arg(longNumber(s.typed), longNumber(s.magnitude)));
    }
};

// A whole number as bits, and its two's complement.
struct WholeNumberWords {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    Writer &w;

    void operator()(const WholeInRange &s)
    {
        w.para(tr("%1 is a whole number from 0 to %2 (%3 %4 1), so it fits in %5 bits.")
                   .arg(s.value)
                   .arg((qint64(1) << s.bitCount) - 1)
                   .arg(power(s.bitCount), minusSign())
                   .arg(s.bitCount));
    }
    void operator()(const PlaceValues &s)
    {
        if (s.used.empty()) {
            w.para(tr("0 uses no place: every bit is 0."));
        } else {
            w.para(tr("Take away the largest place value that fits, again and again: %1.").arg(Common::taken(s.taken)));
            w.para(tr("Each bit stands under its place value, a 1 under each place taken:"));
            Common::placeTable(w, s.bits);
            w.para(tr("The places used add up to the number: %1 = %2.").arg(s.value).arg(sum(s.used)));
        }
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
        w.para(tr("Step 2: add 1, carrying as in any column addition:"));
        Common::addition(w, s.addition);
        w.para(tr("The two's complement is %1%2.").arg(bits(s.bits), Common::hex(s.hex)));
    }
    void operator()(const ReadsAsSigned &s)
    {
        const qint64 low = -(qint64(1) << (s.bitCount - 1));
        const qint64 high = (qint64(1) << (s.bitCount - 1)) - 1;
        w.para(tr("Check: in %1-bit two's complement the leftmost column counts %2:")
                   .arg(s.bitCount)
                   .arg(signedNumber(low)));
        Common::placeTable(w, s.bits, true);
        const QString terms = s.terms.empty() ? QStringLiteral("0") : sum(s.terms);
        if (s.reading == -qint64(s.value)) {
            w.para(tr("%1 = %2, so this pattern reads as %2.").arg(terms, signedNumber(s.reading)));
        } else {
            w.para(tr("%1 = %2: %3 lies outside %4 to %5, the range of %6-bit two's complement, so the "
                      "pattern reads as %2.")
                       .arg(terms, signedNumber(s.reading, true), signedNumber(-qint64(s.value)),
                            signedNumber(low))
                       .arg(high)
                       .arg(s.bitCount));
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
        // One notation for the whole list: powers when any place is beyond
        // what is written out.
        const bool powers = !s.listed.empty() && s.listed.front().place > 40;
        QStringList places;
        for (const Place &p : s.listed)
            places << (powers ? power(p.place) : Common::placeName(p.place));
        QString list = places.join(QStringLiteral(", "));
        if (s.onesNotListed > 0)
            list += tr(" and %1 more").arg(s.onesNotListed);
        w.para(list.isEmpty() ? tr("none") : list);
        if (s.others == 1)
            w.para(tr("%n character is not 0 or 1: it counts as 0 and still takes its place.", nullptr, 1));
        else if (s.others > 1)
            w.para(tr("%n characters are not 0 or 1: each counts as 0 and still takes its place.", nullptr,
                      int(s.others)));
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
            if (s.width > 1)
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
        // A place too far out to write in full is only written as a power.
        const QString place = s.place <= 40 ? QStringLiteral("%1 (%2)").arg(Common::placeName(s.place), power(s.place))
                                            : power(s.place);
        w.para(tr("The 1 at place %1 lies beyond the 32-bit range: the largest place a 32-bit number can use "
                  "is %2 (%3).")
                   .arg(place, Common::placeName(30), power(30)));
    }
};

// Fixed point: the whole part, the fraction by doubling, the value held.
struct FixedPointWords {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    Writer &w;

    void operator()(const WholeBits &s)
    {
        if (s.used.empty())
            w.para(tr("Whole part: 0, so its bits are %1.").arg(bits(s.bits)));
        else if (s.used.size() == 1)
            w.para(tr("Whole part: %1 is a place value itself, so it is %2.").arg(s.whole).arg(bits(s.bits)));
        else
            w.para(tr("Whole part: %1, so %2 = %3 gives %4.")
                       .arg(Common::taken(s.taken))
                       .arg(s.whole)
                       .arg(sum(s.used), bits(s.bits)));
    }
    void operator()(const Doubling &s)
    {
        w.para(tr("Fraction by repeated doubling: double it, take the whole part as the next bit, keep the "
                  "rest."));
        Common::doublingTable(w, s);
        if (s.remainder == 0.0f)
            w.para(tr("After ten bits nothing is left: the fraction is exact."));
        else
            w.para(tr("After ten bits %1 is left; it is cut off, not rounded.").arg(Common::rowValue(s.remainder)));
    }
    void operator()(const FixedValue &s)
    {
        QStringList terms;
        if (s.whole != 0 || s.denominators.empty())
            terms << QString::number(s.whole);
        for (qint64 d : s.denominators)
            terms << Common::fraction(d);
        if (s.denominators.empty())
            w.para(tr("The bits %1 hold %2 (what Actual Value shows).").arg(bits(s.bits), s.held));
        else
            w.para(tr("The bits %1 hold %2 = %3 (what Actual Value shows).")
                       .arg(bits(s.bits), terms.join(QStringLiteral(" + ")), s.held));
        Common::differenceFrom(w, s.typed, s.difference);
        const int places = windowFormats::fixed.fraction;
        w.para(tr("The last bit is worth %1 = %2: the held value moves in steps of that size.")
                   .arg(power(-places), rt::exactText(std::ldexp(1.0, -places))));
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
        if (s.used.empty())
            w.para(tr("Whole part: 0."));
        else if (s.used.size() == 1)
            w.para(tr("Whole part: %1 is a place value itself, so it is %2.").arg(s.whole).arg(bits(s.wholeBits)));
        else
            w.para(tr("Whole part: %1, so %2 = %3 = %4.")
                       .arg(Common::taken(s.taken))
                       .arg(s.whole)
                       .arg(sum(s.used), bits(s.wholeBits)));
        if (s.fraction == 0.0f) {
            w.para(tr("There is no fraction."));
        } else {
            w.para(tr("Fraction %1 by repeated doubling:").arg(Common::rowValue(s.fraction)));
            Common::doublingTable(w, s.doubling);
            if (s.doubling.remainder == 0.0f)
                w.para(tr("Nothing is left: the fraction is exactly .%1.").arg(bits(s.fractionBits, true)));
            else
                w.para(tr("Something is still left, so the fraction is cut to ten places: .%1.")
                           .arg(bits(s.fractionBits, true)));
        }
        w.para(tr("Together: %1 (what the fixed-point box shows).").arg(bits(s.fixed)));
    }
    void operator()(const PointMoved &s)
    {
        const QString normal = code(QStringLiteral("0.") + s.significant) + QStringLiteral(" \u00D7 ")
            + power(s.exponent);
        if (s.noOne)
            w.para(tr("There is no 1 to move the point to, so the exponent rule gives %1 and the value is 0.")
                       .arg(s.exponent));
        else if (s.exponent > 0)
            w.para(tr("The point moves %1 left to stand before the first 1: %2 = %3, so the exponent is %4.")
                       .arg(Common::places(s.exponent), bits(s.fixed), normal)
                       .arg(s.exponent));
        else if (s.exponent < 0)
            w.para(tr("The point moves %1 right to stand before the first 1: %2 = %3, so the exponent is %4.")
                       .arg(Common::places(-s.exponent), bits(s.fixed), normal, signedNumber(s.exponent)));
        else
            w.para(tr("The point already stands before the first 1: %1 = %2, so the exponent is 0.")
                       .arg(bits(s.fixed), normal));
    }
    void operator()(const MantissaDigits &s)
    {
        if (s.lost.isEmpty()) {
            w.para(tr("The mantissa is a 0 sign bit, the point, and the digits, filled to ten bits: %1.")
                       .arg(Common::mantissaText(s.mantissa)));
        } else {
            const qsizetype kept = s.mantissa.size() - 1;
            w.para(tr("The mantissa is a 0 sign bit, the point, and the digits, %1, cut to ten bits: %2. It keeps "
                      "%3 of its %4 digits; the digits cut off, %5, were worth %6.")
                       .arg(code(s.digits), Common::mantissaText(s.mantissa))
                       .arg(kept)
                       .arg(kept + s.lost.size())
                       .arg(code(s.lost), s.lostWorth));
        }
        Common::mantissaTable(w, s.mantissa);
    }
    void operator()(const Negated &s)
    {
        w.para(tr("The number is negative, so the mantissa is negated: invert every bit, %1, and add 1:")
                   .arg(Common::mantissaText(s.inverted)));
        Common::addition(w, s.addition, Common::Written::Mantissa);
        w.para(tr("The negative mantissa is %1:").arg(Common::mantissaText(s.mantissa)));
        Common::mantissaTable(w, s.mantissa);
    }
    void operator()(const ExponentBits &s)
    {
        if (s.exponent < 0) {
            w.para(tr("The exponent %1 is negative: its magnitude %2 in six bits is %3; invert every bit and "
                      "add 1:")
                       .arg(signedNumber(s.exponent))
                       .arg(-s.exponent)
                       .arg(code(s.magnitudeBits)));
            Common::addition(w, s.addition, Common::Written::Plain);
            w.para(tr("The exponent is %1.").arg(code(s.bits)));
        } else {
            w.para(tr("The exponent %1 in six bits: %2.").arg(s.exponent).arg(code(s.bits)));
        }
    }
    void operator()(const FloatingCheck &s)
    {
        QStringList terms;
        if (s.negativeSign)
            terms << signedNumber(-1);
        for (qint64 denominator : s.denominators)
            terms << Common::fraction(denominator);
        const QString mantissa = Common::mantissaText(s.mantissa);
        if (terms.isEmpty())
            w.para(tr("Check: the mantissa %1 is 0, and 0 times %2 is 0.").arg(mantissa, power(s.exponent)));
        else
            w.para(tr("Check: the mantissa %1 is %2 = %3; times %4 that is %5.")
                       .arg(mantissa, terms.join(QStringLiteral(" + ")), minus(s.mantissaValue),
                            power(s.exponent), minus(s.value)));
        Common::differenceFrom(w, s.typed, s.difference);
    }
    void operator()(const NotNormalised &s)
    {
        w.para(tr("This pair stands for the right value, but a normalised negative mantissa starts 10: the "
                  "normalised pair is %1 with exponent %2.")
                   .arg(Common::mantissaText(s.mantissa), code(s.exponent)));
    }
    void operator()(const HandMethodDiffers &s)
    {
        QString why;
        switch (s.cause) {
        case HandCause::SinglePrecision:
            why = tr("this window first reads the number in single precision, which cannot hold it exactly");
            break;
        case HandCause::FractionCutFirst:
            why = tr("this window cuts the fraction to ten places before it normalises, so the bits that moving "
                     "the point would have kept are already gone");
            break;
        case HandCause::BelowSmallest:
            why = tr("this window keeps ten places after the point before it normalises, and every bit of a "
                     "number below 2<sup>%1</sup> lies beyond them")
                      .arg(minus(QStringLiteral("-10")));
            break;
        case HandCause::NotNormalised:
            why = tr("this window leaves a negative mantissa that starts 11 as it is, where by hand it is "
                     "normalised");
            break;
        }
        w.para(tr("Worked by hand in the same format, the answer is %1, which holds %2. The boxes show "
                  "another answer because %3; the workbench works it by hand.")
                   .arg(code(s.bits), minus(s.value), why));
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
            w.para(tr("%1 is beyond what this window converts: its whole part must be at most %2.")
                       .arg(groupedNumber(s.value))
                       .arg((qint64(1) << s.bitsThere) - 1));
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
