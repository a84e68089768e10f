// SPDX-License-Identifier: MIT
#include "conversions/workingtext.h"

#include "core/runtime.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>

using namespace working;

namespace {

class Words {
    Q_DECLARE_TR_FUNCTIONS(Working)
public:
    explicit Words(QString &out) : m_out(out) { }

    void operator()(const NotANumber &s)
    {
        if (s.text.trimmed().isEmpty())
            para(tr("The box is empty: there is no number to convert."));
        else
            para(tr("%1 is not a number.").arg(quoted(s.text)));
    }
    void operator()(const Negative &s)
    {
        para(tr("%1 is negative: these bits carry no sign.").arg(number(s.value)));
    }
    void operator()(const NeedsMoreBits &s)
    {
        const QString value = number(s.value);
        const QString needs
            = s.bitsNeeded > 0 ? tr("%1 needs %2 bits: ").arg(value).arg(s.bitsNeeded) : QString();
        para(needs
            + tr("2^%1 = %2 is not greater than %3; %1 bits hold 0 to %4.")
                  .arg(s.bitCount)
                  .arg(qint64(1) << s.bitCount)
                  .arg(value)
                  .arg((qint64(1) << s.bitCount) - 1));
        para(s.widest ? tr("No wider choice exists: 24 bits is the most this window offers.")
                      : tr("Choose more bits and convert again."));
    }
    void operator()(const NotWhole &s) { para(tr("%1 is not a whole number.").arg(number(s.value))); }
    void operator()(const OutsideFixedRange &s)
    {
        if (!rt::isNumeric(s.text))
            para(tr("%1 is not a number.").arg(quoted(s.text)));
        else
            para(tr("%1 lies outside 0 to 1023.").arg(quoted(s.text)));
        para(tr("Type a number from 0 to 1023"));
    }
    void operator()(const HeldInSingle &s)
    {
        para(tr("Single precision cannot hold %1 exactly: it holds %2, the nearest value it has.")
                 .arg(s.typed, rt::singleToText(s.held)));
    }
    void operator()(const CarriedIntoWhole &s)
    {
        para(tr("Single precision reads %1, so the whole part becomes %2.")
                 .arg(rt::singleToText(s.held))
                 .arg(s.whole));
    }
    void operator()(const MagnitudeOfNegative &s)
    {
        para(tr("%1 is negative, so its size %2 is converted and the mantissa negated at the end.")
                 .arg(minus(s.typed), s.magnitude));
    }
    void operator()(const WholeInRange &s)
    {
        para(tr("%1 is a whole number from 0 to %2 (2^%3 %4 1), so it fits in %3 bits.")
                 .arg(s.value)
                 .arg((qint64(1) << s.bitCount) - 1)
                 .arg(s.bitCount)
                 .arg(minusSign()));
    }
    void operator()(const PlaceValues &s)
    {
        para(tr("Each bit stands under its place value:"));
        placeTable(s.bits);
        const std::vector<qint64> used = placesUsed(s.bits);
        if (used.empty())
            para(tr("0 uses no place: every bit is 0."));
        else
            para(tr("The places used add up to the number: %1 = %2.").arg(s.value).arg(sum(used)));
        para(tr("So %1 in %2 bits is %3%4.").arg(s.value).arg(s.bits.size()).arg(bits(s.bits), hex(s.hex)));
    }
    void operator()(const Inverted &s)
    {
        para(tr("Two's complement, step 1: invert every bit: %1.").arg(bits(s.bits)));
    }
    void operator()(const AddedOne &s) { para(tr("Step 2: add 1: %1%2.").arg(bits(s.bits), hex(s.hex))); }
    void operator()(const ReadsAsSigned &s)
    {
        const qint64 low = -(qint64(1) << (s.bitCount - 1));
        const qint64 high = (qint64(1) << (s.bitCount - 1)) - 1;
        if (s.reading == -qint64(s.value)) {
            para(tr("In %1-bit two's complement this pattern reads as %2.")
                     .arg(s.bitCount)
                     .arg(signedNumber(s.reading)));
        } else {
            para(tr(
                "%1 lies outside %2 to %3, the range of %4-bit two's complement, so the pattern reads as %5.")
                     .arg(signedNumber(-qint64(s.value)), signedNumber(low))
                     .arg(high)
                     .arg(s.bitCount)
                     .arg(signedNumber(s.reading, true)));
        }
    }
    void operator()(const BitPlaces &s)
    {
        if (s.length == 0) {
            para(tr("The box is empty: there are no bits, so the value is 0."));
            return;
        }
        if (!s.onlyOnes) {
            QString characters;
            for (const Place &p : s.listed)
                characters += QString::fromUcs4(&p.character, 1);
            para(tr("Each character stands under its place value:"));
            placeTable(characters);
            if (s.others > 0)
                para(tr("A character marked * is not 0 or 1: it counts as 0 and still takes its place."));
            return;
        }
        para(tr("The text has %1 characters. The places that hold a 1, from the left:").arg(s.length));
        QStringList places;
        for (const Place &p : s.listed)
            places << placeName(p.place);
        QString list = places.join(QStringLiteral(", "));
        if (s.onesNotListed > 0)
            list += tr(" and %1 more").arg(s.onesNotListed);
        para(list.isEmpty() ? tr("none") : list);
        if (s.others > 0)
            para(tr("%1 characters are not 0 or 1: each counts as 0 and still takes its place.")
                     .arg(s.others));
    }
    void operator()(const Sum &s)
    {
        if (s.terms.empty())
            para(tr("No place holds a 1, so the value is 0."));
        else
            para(tr("The places that hold a 1 add up: %1 = %2 (hex %3).")
                     .arg(sum(s.terms))
                     .arg(s.total)
                     .arg(s.hex));
    }
    void operator()(const TwosReading &s)
    {
        if (s.terms.empty() || s.terms.front() >= 0) {
            para(tr("Read as %1-bit two's complement, the leftmost bit is 0, so the value is the same: %2.")
                     .arg(s.width)
                     .arg(s.total));
            return;
        }
        para(tr("Read as %1-bit two's complement, the leftmost place counts negative: %2 = %3.")
                 .arg(s.width)
                 .arg(sum(s.terms), signedNumber(s.total)));
    }
    void operator()(const OneBeyondRange &s)
    {
        para(tr("The 1 at place %1 lies beyond the 32-bit range: the largest place a 32-bit number can use "
                "is 2^30.")
                 .arg(placeName(s.place)));
    }
    void operator()(const WholeBits &s)
    {
        const std::vector<qint64> used = placesUsed(s.bits);
        const QString terms = used.empty() ? QStringLiteral("0") : sum(used);
        para(tr("Whole part: %1 = %2 gives %3.").arg(s.whole).arg(terms, bits(s.bits)));
    }
    void operator()(const Doubling &s)
    {
        para(tr(
            "Fraction by repeated doubling: double it, take the whole part as the next bit, keep the rest."));
        m_out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\"><tr><th>")
            + tr("fraction") + QStringLiteral("</th><th>") + tr("doubled") + QStringLiteral("</th><th>")
            + tr("bit") + QStringLiteral("</th></tr>");
        for (const DoublingRow &row : s.rows) {
            m_out += QStringLiteral("<tr><td>") + rt::singleToText(row.fraction) + QStringLiteral("</td><td>")
                + rt::singleToText(row.doubled) + QStringLiteral("</td><td align=\"center\">")
                + bits(QString::number(row.bit)) + QStringLiteral("</td></tr>");
        }
        m_out += QStringLiteral("</table>");
        if (s.remainder == 0.0f)
            para(tr("After ten bits nothing is left: the fraction is exact."));
        else
            para(tr("After ten bits %1 is left; it is cut off, not rounded.")
                     .arg(rt::singleToText(s.remainder)));
    }
    void operator()(const FixedValue &s)
    {
        para(tr("The bits %1 hold %2 (what Actual Value shows).").arg(bits(s.bits), s.held));
        differenceFrom(s.typed, s.difference);
        para(tr("The last bit is worth 2^%1 = 0.0009765625: the held value moves in steps of that size.")
                 .arg(minusSign() + QStringLiteral("10")));
    }
    void operator()(const FixedForm &s)
    {
        para(tr("Whole part: %1 = %2. Fraction by doubling: %3 = .%4.")
                 .arg(s.whole)
                 .arg(bits(s.wholeBits), rt::singleToText(s.fraction), bits(s.fractionBits, true)));
        para(tr("Together: %1 (what the fixed-point box shows).").arg(bits(s.fixed)));
    }
    void operator()(const PointMoved &s)
    {
        if (s.noOne)
            para(tr("There is no 1 to move the point to, so the exponent rule gives %1 and the value is 0.")
                     .arg(s.exponent));
        else if (s.exponent > 0)
            para(tr("The point moves %1 places left to stand before the first 1, so the exponent is %1.")
                     .arg(s.exponent));
        else if (s.exponent < 0)
            para(tr("The point moves %1 places right to stand before the first 1, so the exponent is %2.")
                     .arg(-s.exponent)
                     .arg(signedNumber(s.exponent)));
        else
            para(tr("The point already stands before the first 1, so the exponent is 0."));
    }
    void operator()(const MantissaDigits &s)
    {
        if (s.lost.isEmpty()) {
            para(tr("The mantissa is a 0 sign bit and the digits, filled to ten bits: %1.")
                     .arg(bits(s.mantissa)));
        } else {
            para(tr(
                "The mantissa is a 0 sign bit and the digits, %1, cut to ten bits: %2. It keeps %3 of its %4 "
                "digits; %5 is lost.")
                     .arg(code(s.digits), bits(s.mantissa))
                     .arg(9)
                     .arg(9 + s.lost.size())
                     .arg(code(s.lost)));
        }
    }
    void operator()(const Negated &s)
    {
        para(tr("The number is negative, so the mantissa is negated: invert every bit, %1, and add 1, %2.")
                 .arg(bits(s.inverted), bits(s.mantissa)));
    }
    void operator()(const ExponentBits &s)
    {
        if (s.exponent < 0)
            para(
                tr("The exponent %1 is negative: its size %2 in six bits is %3, and its two's complement %4.")
                    .arg(signedNumber(s.exponent))
                    .arg(-s.exponent)
                    .arg(bits(s.magnitudeBits), bits(s.bits)));
        else
            para(tr("The exponent %1 in six bits: %2.").arg(s.exponent).arg(bits(s.bits)));
    }
    void operator()(const FloatingCheck &s)
    {
        QStringList terms;
        if (s.mantissa.startsWith(u'1'))
            terms << signedNumber(-1);
        for (qsizetype j = 1; j < s.mantissa.size(); ++j) {
            if (s.mantissa.at(j) == u'1')
                terms << QStringLiteral("1/%1").arg(qint64(1) << j);
        }
        const QString sumText = terms.isEmpty() ? QStringLiteral("0") : terms.join(QStringLiteral(" + "));
        para(tr("Check: the mantissa %1 is %2 = %3; times 2^%4 that is %5.")
                 .arg(bits(s.mantissa), sumText, minus(s.mantissaValue), signedNumber(s.exponent),
                     minus(s.value)));
        differenceFrom(s.typed, s.difference);
    }
    void operator()(const NotNormalised &s)
    {
        para(tr("This pair stands for the right value, but a normalised negative mantissa starts 10: the "
                "normalised pair is %1 with exponent %2.")
                 .arg(bits(s.mantissa), bits(s.exponent)));
    }
    void operator()(const Failed &s)
    {
        switch (s.stage) {
        case Stage::ReadingNumber:
            para(tr("%1 is too large to read as a number.").arg(quoted(s.text)));
            break;
        case Stage::WholePart:
            para(tr("The whole part of %1 lies beyond the 32-bit range.").arg(quoted(s.text)));
            break;
        case Stage::WholePartBits: {
            int bitsNeeded = 0;
            std::frexp(s.value, &bitsNeeded);
            para(tr("The whole part %1 needs %2 bits, but there are only 10: it must be below 1024.")
                     .arg(number(s.value))
                     .arg(bitsNeeded));
            break;
        }
        case Stage::ReadingFraction:
            if (s.kind == rt::ErrorKind::TypeMismatch)
                para(tr("%1 has a point or an exponent, so the whole text is read as one number, and it is "
                        "not one.")
                         .arg(quoted(s.text)));
            else
                para(tr("%1 is too large for single precision.").arg(quoted(s.text)));
            break;
        case Stage::Summing:
            break;  // the step before says why
        }
        para(tr("The conversion stops here."));
    }

private:
    static QString minusSign() { return QStringLiteral("\u2212"); }
    // A number as text with a real minus sign.
    static QString minus(QString text)
    {
        if (text.startsWith(u'-'))
            text.replace(0, 1, minusSign());
        return text;
    }
    static QString number(double value)
    {
        return minus(QString::number(value, 'g', QLocale::FloatingPointShortest));
    }
    static QString signedNumber(qint64 value, bool plus = false)
    {
        if (value < 0)
            return minusSign() + QString::number(-value);
        return (plus ? QStringLiteral("+") : QString()) + QString::number(value);
    }
    static QString quoted(const QString &text)
    {
        QString shown = text.size() > 40 ? text.left(40) + QStringLiteral("\u2026") : text;
        return QStringLiteral("\u201C") + shown.toHtmlEscaped() + QStringLiteral("\u201D");
    }
    static QString code(const QString &text)
    {
        return QStringLiteral("<code>") + text.toHtmlEscaped() + QStringLiteral("</code>");
    }
    static QString bits(const QString &b, bool fromLeft = false) { return code(groupedBits(b, fromLeft)); }
    static QString hex(const QString &h)
    {
        return h.isEmpty() ? QString() : QStringLiteral(" (hex %1)").arg(h);
    }
    static QString placeName(qsizetype place)
    {
        return place <= 40 ? QString::number(qint64(1) << place) : QStringLiteral("2^%1").arg(place);
    }
    // The place values of the bits that hold a 1, largest first.
    static std::vector<qint64> placesUsed(const QString &bitString)
    {
        std::vector<qint64> used;
        for (qsizetype i = 0; i < bitString.size(); ++i) {
            if (bitString.at(i) == u'1')
                used.push_back(qint64(1) << (bitString.size() - 1 - i));
        }
        return used;
    }
    static QString sum(const std::vector<qint64> &terms)
    {
        QString out;
        for (size_t k = 0; k < terms.size(); ++k) {
            if (k == 0)
                out += signedNumber(terms[k]);
            else
                out += (terms[k] < 0 ? QStringLiteral(" %1 ").arg(minusSign()) : QStringLiteral(" + "))
                    + QString::number(std::abs(terms[k]));
        }
        return out;
    }
    void para(const QString &text) { m_out += QStringLiteral("<p>") + text + QStringLiteral("</p>"); }

    // Place values with the characters under them, eight places a row.
    void placeTable(const QString &characters)
    {
        const qsizetype n = characters.size();
        m_out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\">");
        for (qsizetype from = 0; from < n; from += 8) {
            const qsizetype to = std::min(n, from + 8);
            m_out += QStringLiteral("<tr><th align=\"left\">") + tr("place value") + QStringLiteral("</th>");
            for (qsizetype i = from; i < to; ++i)
                m_out += QStringLiteral("<td align=\"center\">") + placeName(n - 1 - i)
                    + QStringLiteral("</td>");
            m_out += QStringLiteral("</tr><tr><th align=\"left\">") + tr("bit") + QStringLiteral("</th>");
            for (qsizetype i = from; i < to; ++i) {
                const QChar c = characters.at(i);
                const bool plain = c == u'0' || c == u'1';
                m_out += QStringLiteral("<td align=\"center\">") + code(QString(c))
                    + (plain ? QString() : QStringLiteral("*")) + QStringLiteral("</td>");
            }
            m_out += QStringLiteral("</tr>");
        }
        m_out += QStringLiteral("</table>");
    }

    void differenceFrom(const QString &typed, const QString &difference)
    {
        if (typed.isEmpty())
            para(tr("The number typed has too many digits to compare here."));
        else if (difference == QStringLiteral("0"))
            para(tr("That is exactly the number typed, %1: the difference is 0.").arg(minus(typed)));
        else
            para(tr("The number typed was %1: the difference (typed %2 held) is %3.")
                     .arg(minus(typed), minusSign(), minus(difference)));
    }

    QString &m_out;
};

}  // namespace

QString groupedBits(const QString &bits, bool fromLeft)
{
    // Around a binary point: the whole part from the point leftwards, the
    // fraction from the point rightwards.
    if (const qsizetype point = bits.indexOf(u'.'); point >= 0)
        return groupedBits(bits.left(point)) + u'.' + groupedBits(bits.mid(point + 1), true);
    QString out;
    out.reserve(bits.size() + bits.size() / 4);
    const qsizetype n = bits.size();
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype position = fromLeft ? i : n - i;
        if (i > 0 && position % 4 == 0)
            out += u' ';
        out += bits.at(i);
    }
    return out;
}

QString workingHtml(const Working &steps)
{
    QString out;
    out.reserve(2048);
    Words words(out);
    for (const Step &step : steps)
        std::visit(words, step);
    return out;
}
