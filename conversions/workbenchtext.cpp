// SPDX-License-Identifier: MIT
#include "conversions/workbenchtext.h"

#include <QCoreApplication>

namespace quorvex::workbench {

namespace {

using exact::Number;

const QString minusSign = QStringLiteral("\u2212");

QString nowrap(const QString &html) { return QStringLiteral("<span style=\"white-space:nowrap\">") + html + QStringLiteral("</span>"); }

// Bits in fours from the point (or from the right end).
QString grouped(const QString &b)
{
    const qsizetype point = b.indexOf(u'.');
    const qsizetype end = point < 0 ? b.size() : point;
    QString out;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const qsizetype fromPoint = i < end ? end - i : i - end - 1;
        if (i > 0 && i != end && i != end + 1 && fromPoint % 4 == 0)
            out += u' ';
        out += b.at(i);
    }
    return out;
}

// The rich text of the working: paragraphs, tables, bit strings.
class Html {
public:
    Html() { m_out.reserve(8192); }
    void para(const QString &html)
    {
        m_out += QLatin1StringView("<p>");
        m_out += html;
        m_out += QLatin1StringView("</p>");
    }
    // Rows of cells; the first row, when `header`, is a heading row.
    void table(const std::vector<QStringList> &rows, bool header)
    {
        m_out += QLatin1StringView("<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\">");
        for (size_t r = 0; r < rows.size(); ++r) {
            const bool heading = header && r == 0;
            m_out += QLatin1StringView("<tr>");
            for (const QString &c : rows[r]) {
                m_out += heading ? QLatin1StringView("<th align=\"center\">") : QLatin1StringView("<td align=\"center\">");
                m_out += c;
                m_out += heading ? QLatin1StringView("</th>") : QLatin1StringView("</td>");
            }
            m_out += QLatin1StringView("</tr>");
        }
        m_out += QLatin1StringView("</table>");
    }
    QString take() { return std::move(m_out); }

private:
    QString m_out;
};

class Words {
    Q_DECLARE_TR_FUNCTIONS(Workbench)
public:
    Words(const Format &format, bool html) : m_format(format), m_html(html) { }

    QString working(const Steps &steps)
    {
        for (const Step &s : steps)
            std::visit([this](const auto &x) { say(x); }, s);
        return m_page.take();
    }

    // The short sentence of a refusal.
    QString sentence(const Step &s)
    {
        return std::visit([this](const auto &x) { return why(x); }, s);
    }

private:
    // ---- Numbers and bits --------------------------------------------------
    QString minus(QString text) const
    {
        if (text.startsWith(u'-'))
            text.replace(0, 1, minusSign);
        return text;
    }
    static Number::Abridged decimal(const Number &n) { return n.abridgedDecimal(40, 10, 6); }
    QString num(const Number &n) const { return num(decimal(n)); }
    QString num(const Number::Abridged &a) const
    {
        const QString text = minus(a.text);
        const QString shown = m_html ? nowrap(text) : text;
        return a.abridged ? tr("%1 (%2 characters)").arg(shown).arg(a.length) : shown;
    }
    QString num(qint64 n) const { return num(Number(n)); }
    QString unum(quint64 n) const { return QString::number(n); }
    QString typed(const Typed &t) const
    {
        if (t.exact)
            return num(t.value);
        QString text = t.text.size() > 40 ? t.text.left(10) + QStringLiteral("\u2026") + t.text.right(6) : t.text;
        if (m_html)
            text = nowrap(text.toHtmlEscaped());
        text = QStringLiteral("\u201C") + text + QStringLiteral("\u201D");
        return t.text.size() > 40 ? tr("%1 (%2 characters)").arg(text).arg(t.text.size()) : text;
    }
    QString power(qint64 k) const
    {
        const QString exponent = k < 0 ? minusSign + QString::number(-k) : QString::number(k);
        return m_html ? nowrap(QStringLiteral("2<sup>") + exponent + QStringLiteral("</sup>")) : QStringLiteral("2^") + exponent;
    }
    QString times(const QString &a, qint64 k) const
    {
        return a + (m_html ? QStringLiteral("&nbsp;\u00D7&nbsp;") : QStringLiteral(" \u00D7 ")) + power(k);
    }
    QString bits(QString b) const
    {
        const qsizetype n = b.size();
        if (n > 80)
            b = b.left(32) + QStringLiteral("\u2026") + b.right(16);
        else if (n > 16 && !b.contains(u' '))
            b = grouped(b);
        if (!m_html)
            return b;
        b.replace(u' ', QStringLiteral("&nbsp;"));
        const QString code = QStringLiteral("<code style=\"white-space:nowrap\">") + b + QStringLiteral("</code>");
        return n > 80 ? tr("%1 (%2 bits)").arg(code).arg(n) : code;
    }
    QString pattern(const QString &raw) const { return bits(patternText(m_format, raw)); }
    // A place value as a teacher writes it: 8, ½, 1/16, 2^-10.
    QString place(int p) const
    {
        static const char16_t *halves[] = {u"\u00BD", u"\u00BC", u"\u215B", u"1/16", u"1/32", u"1/64"};
        if (p >= 0 && p <= 12)
            return QString::number(1 << p);
        if (p < 0 && p >= -6)
            return QString::fromUtf16(halves[-p - 1]);
        return power(p);
    }
    // The places of `b` that hold a 1, added up: "-128 + 32 + 1".
    QString sum(const QString &b, int fraction, bool twos) const
    {
        QStringList terms;
        const int n = int(b.size());
        for (int i = 0; i < n; ++i) {
            if (b.at(i) == u'1')
                terms << (twos && i == 0 ? minusSign : QString()) + place(n - 1 - i - fraction);
        }
        return terms.isEmpty() ? QStringLiteral("0") : terms.join(QStringLiteral(" + "));
    }
    QString formatName() const
    {
        const Format &f = m_format;
        switch (f.representation) {
        case Representation::UnsignedInteger:
            return tr("%1-bit unsigned").arg(f.bits);
        case Representation::TwosInteger:
            return tr("%1-bit two's complement").arg(f.bits);
        case Representation::UnsignedFixed:
            return tr("unsigned fixed point with %1 bits before the point and %2 after").arg(f.whole).arg(f.fraction);
        case Representation::TwosFixed:
            return tr("two's complement fixed point with %1 bits before the point and %2 after")
                .arg(f.whole)
                .arg(f.fraction);
        case Representation::Floating:
            break;
        }
        return tr("floating point with %1 and %2").arg(widthName(f.mantissa, tr("mantissa")),
                                                       widthName(f.exponent, tr("exponent")));
    }
    // "an 8-bit mantissa", "a 4-bit exponent".
    static QString widthName(int n, const QString &what)
    {
        const QString digits = QString::number(n);
        const bool an = digits.startsWith(u'8') || n == 11 || n == 18;
        return (an ? tr("an %1-bit %2") : tr("a %1-bit %2")).arg(n).arg(what);
    }
    static QString count(qsizetype n) { return n == 1 ? tr("1 bit") : tr("%1 bits").arg(n); }

    // ---- Refusals, as one sentence ----------------------------------------------
    QString why(const step::BadFormat &s) const
    {
        return s.notFloating ? tr("Only floating point is normalised; choose a floating-point format.")
                             : tr("This format is not offered.");
    }
    QString why(const step::NotANumber &s) const
    {
        if (s.typed.trimmed().isEmpty())
            return tr("Nothing was typed: type a number.");
        return tr("%1 is not a number.").arg(typed({Number(), s.typed.trimmed(), false}));
    }
    QString why(const step::WrongCount &s) const
    {
        const QString typedCount = s.typed == 1 ? tr("1 was typed") : tr("%1 were typed").arg(s.typed);
        const Format &f = m_format;
        if (f.isInteger())
            return tr("%1 needs %2; %3.").arg(formatName(), count(f.bits), typedCount);
        if (f.isFixed())
            return tr("%1 before the point and %2 after need %3; %4.")
                .arg(count(f.whole), QString::number(f.fraction), count(f.totalBits()), typedCount);
        return tr("%1 and %2 need %3; %4.")
            .arg(widthName(f.mantissa, tr("mantissa")), widthName(f.exponent, tr("exponent")), count(f.totalBits()),
                 typedCount);
    }
    QString why(const step::NotBits &s) const
    {
        QStringList quoted;
        for (const QString &c : s.characters)
            quoted << QStringLiteral("\u201C") + (m_html ? c.toHtmlEscaped() : c) + QStringLiteral("\u201D");
        return (quoted.size() == 1 ? tr("%1 is not a bit: type only 0 and 1.") : tr("%1 are not bits: type only 0 and 1."))
            .arg(quoted.join(QStringLiteral(", ")));
    }
    QString why(const step::TwoPoints &) const { return tr("A pattern has at most one point."); }
    QString why(const step::NotWhole &s) const
    {
        return tr("%1 is not a whole number: %2 holds only whole numbers.").arg(typed(s.value), formatName());
    }
    QString why(const step::OutOfRange &s) const
    {
        return tr("%1 does not fit: %2 holds %3 to %4").arg(typed(s.value), formatName(), num(s.low), num(s.high));
    }
    QString why(const step::TooLarge &s) const
    {
        return (s.negative ? tr("%1 does not fit: the most negative value of this format is %2")
                           : tr("%1 does not fit: the largest value of this format is %2"))
            .arg(typed(s.value), num(s.limit));
    }
    QString why(const step::TooSmall &s) const
    {
        const QString smallest = times(QStringLiteral("0.1"), s.lowest) + QStringLiteral(" = ") + num(s.smallest);
        return (s.value.exact && s.value.value.sign() < 0
                    ? tr("The magnitude of %1 is below the smallest positive normalised value of this format, %2")
                    : tr("%1 is below the smallest positive normalised value of this format, %2"))
            .arg(typed(s.value), smallest);
    }
    QString why(const step::Shifts &s) const
    {
        return tr("%1 cannot be normalised: its exponent would go below %2.")
            .arg(pattern(s.start.mantissa + exponentBitsOf(s.start.exponent)), num(s.lowest));
    }
    template <typename Other>
    QString why(const Other &) const
    {
        return QString();
    }
    QString exponentBitsOf(qint64 e) const
    {
        QString b;
        for (int i = m_format.exponent - 1; i >= 0; --i)
            b += (quint64(e) >> i) & 1 ? u'1' : u'0';
        return b;
    }

    // ---- Reading ---------------------------------------------------------------
    void say(const step::BadFormat &s) { m_page.para(why(s)); }
    void say(const step::NotANumber &s)
    {
        m_page.para(why(s));
        m_page.para(tr("A number is written with digits and at most one point, with an optional sign in front and "
                       "an optional exponent after, such as 25e-1 or 1.5E3."));
    }
    void say(const step::WrongCount &s)
    {
        m_page.para(why(s));
        m_page.para(tr("Blanks and a point may stand anywhere; only the 0s and 1s are counted."));
    }
    void say(const step::NotBits &s) { m_page.para(why(s)); }
    void say(const step::TwoPoints &s) { m_page.para(why(s)); }
    void say(const step::ReadAs &s)
    {
        m_page.para(tr("%1 is the number %2.").arg(typed({Number(), s.typed, false}), num(s.value)));
    }
    void say(const step::NotWhole &s) { m_page.para(why(s)); }
    void say(const step::OutOfRange &s)
    {
        m_page.para(why(s) + u'.');
        m_page.para(tr("Choose a wider format, or a number in that range."));
    }
    void say(const step::TooLarge &s)
    {
        m_page.para(why(s) + u'.');
        if (s.exponent != 0)
            m_page.para(tr("Normalised, it needs the exponent %1, but %2 is the largest an exponent of %3 holds.")
                            .arg(num(s.exponent), num(s.highest), count(m_format.exponent)));
        m_page.para(tr("That value is %1.").arg(pattern(s.limitBits)));
    }
    void say(const step::TooSmall &s)
    {
        m_page.para(why(s) + u'.');
        if (s.exponent != 0)
            m_page.para(tr("Normalised, it needs the exponent %1, but %2 is the lowest an exponent of %3 holds.")
                            .arg(num(s.exponent), num(s.lowest), count(m_format.exponent)));
        m_page.para(tr("That value is %1.").arg(pattern(s.smallestBits)));
    }

    // ---- Number to bits --------------------------------------------------------
    void say(const step::Negative &s)
    {
        m_page.para((m_format.isFloating()
                         ? tr("%1 is negative: its magnitude (the number without its sign) %2 is converted first, and the mantissa's two's complement "
                              "taken after.")
                         : tr("%1 is negative: its magnitude (the number without its sign) %2 is converted first, and its two's complement taken "
                              "after."))
                        .arg(num(s.value), num(s.value.abs())));
    }
    void say(const step::Subtractions &s)
    {
        if (s.rows.empty()) {
            m_page.para(tr("The whole part is 0: no place value is used."));
            return;
        }
        QStringList rows;
        for (const step::Subtraction &r : s.rows)
            rows << nowrap(unum(r.from) + QStringLiteral(" ") + minusSign + QStringLiteral(" ") + unum(r.place)
                           + QStringLiteral(" = ") + unum(r.left));
        m_page.para(tr("%1 by place values: take away the largest place value that fits, and again from what is "
                       "left: %2.")
                        .arg(unum(s.value), rows.join(QStringLiteral(", "))));
    }
    void say(const step::WholeBinary &s)
    {
        m_page.para(tr("The whole part %1 in binary is %2.").arg(num(s.whole), bits(s.bits)));
    }
    void say(const step::PlaceTable &s)
    {
        const int n = int(s.bits.size());
        QStringList places{tr("place value")}, row{tr("bit")};
        for (int i = 0; i < n; ++i) {
            if (s.fraction > 0 && i == n - s.fraction) {
                places << QString();
                row << QStringLiteral(".");
            }
            places << (s.twos && i == 0 ? minusSign : QString()) + place(n - 1 - i - s.fraction);
            row << s.bits.mid(i, 1);
        }
        m_page.para(s.twos ? tr("Each bit under its place value; the leftmost place counts negative:")
                           : tr("The bits under their place values:"));
        m_page.table({places, row}, true);
    }
    void say(const step::Doubling &s)
    {
        m_page.para(tr("The fraction %1 by repeated doubling: double it, write down the whole part (0 or 1) as the "
                       "next bit, and go on with what is after the point.")
                        .arg(num(s.fraction)));
        std::vector<QStringList> rows{{tr("place"), tr("fraction"), tr("doubled"), tr("bit")}};
        // A doubled fraction is its bit and the next row's fraction: written
        // from that row's digits rather than worked out again.
        std::vector<Number::Abridged> fractions;
        for (const step::DoublingRow &r : s.rows)
            fractions.push_back(decimal(r.fraction));
        for (size_t k = 0; k < s.rows.size(); ++k) {
            const step::DoublingRow &r = s.rows[k];
            Number::Abridged doubled;
            if (k + 1 < s.rows.size() && s.rows[k + 1].skipped == 0) {
                doubled = fractions[k + 1];
                doubled.text[0] = QChar(u'0' + r.bit);
            } else {
                doubled = decimal(r.doubled);
            }
            if (r.skipped > 0)
                rows.push_back({QStringLiteral("\u2026"),
                                r.skippedGaveZero ? tr("%1 more rows, each giving 0").arg(r.skipped)
                                                  : tr("%1 more rows").arg(r.skipped),
                                QString(), QString()});
            rows.push_back({place(-r.index), num(fractions[k]), num(doubled), QString::number(r.bit)});
        }
        if (s.zeros > 0)
            rows.push_back({s.zeros == 1 ? place(-s.total) : tr("the other %1").arg(s.zeros), QStringLiteral("0"),
                            QStringLiteral("0"), QStringLiteral("0")});
        m_page.table(rows, true);
        if (s.zeros > 0)
            m_page.para(tr("Nothing is left after %1: the other bits are 0.").arg(count(s.total - s.zeros)));
        else if (!s.remainder.isZero())
            m_page.para(tr("After %1, %2 is still left: it is cut off, not rounded.")
                            .arg(count(s.total), num(s.remainder)));
        else
            m_page.para(tr("Nothing is left after %1: the fraction is exact.").arg(count(s.total)));
    }
    void say(const step::TwosComplement &t)
    {
        switch (t.of) {
        case step::TwosComplement::Of::Number:
            m_page.para(tr("Two's complement of %1: invert every bit, then add 1.").arg(point(t.bits, t.fraction)));
            break;
        case step::TwosComplement::Of::Mantissa:
            m_page.para(tr("The mantissa of the negative number is the two's complement of %1: invert every bit, "
                           "then add 1.")
                            .arg(point(t.bits, t.fraction)));
            break;
        case step::TwosComplement::Of::Exponent:
            m_page.para(tr("Its two's complement: invert every bit of %1, then add 1.").arg(bits(t.bits)));
            break;
        }
        const int n = int(t.bits.size());
        const auto row = [&](const QString &label, const QString &text, const QString &left, bool blankZeros) {
            QStringList cells{label, left};
            for (int i = 0; i < n; ++i) {
                if (t.fraction > 0 && i == n - t.fraction)
                    cells << QStringLiteral(".");
                const QChar c = text.at(i);
                cells << (blankZeros && c == u'0' ? QString() : QString(c));
            }
            return cells;
        };
        const QString one = QString(n - 1, u'0') + u'1';
        m_page.table({row(tr("carry"), t.carries, t.dropped ? QStringLiteral("1") : QString(), true),
                      row(tr("inverted"), t.inverted, QString(), false),
                      row(tr("add 1"), one, QStringLiteral("+"), true),
                      row(tr("result"), t.result, QString(), false)},
                     false);
        if (t.dropped)
            m_page.para(tr("The carry out of the leftmost column is dropped."));
        m_page.para(tr("So the two's complement is %1.").arg(point(t.result, t.fraction)));
    }
    QString point(const QString &b, int fraction) const
    {
        return bits(fraction > 0 ? b.left(b.size() - fraction) + u'.' + b.right(fraction) : b);
    }
    void say(const step::Held &s)
    {
        QString raw = s.bits;
        raw.remove(u'.');
        m_page.para(tr("The bits %1 hold %2 = %3.")
                        .arg(bits(s.bits), sum(raw, m_format.fraction, m_format.isSigned()), num(s.held)));
        difference(s.typed, s.difference);
        m_page.para(tr("The last place is worth %1 = %2: the bits hold only whole steps of that, so cutting leaves a "
                       "difference of less than one step, towards zero.")
                        .arg(power(s.stepPower), num(Number::power2(s.stepPower))));
    }
    void difference(const Typed &t, const Number &d)
    {
        if (d.isZero())
            m_page.para(tr("That is exactly the number typed: the difference is 0."));
        else
            m_page.para(tr("The number typed was %1: the difference (typed %2 held) is %3.")
                            .arg(typed(t), minusSign, num(d)));
    }
    void say(const step::TinyCut &s)
    {
        m_page.para(tr("%1 is nearer zero than the last place, %2: every bit is 0, the bits hold 0, and the "
                       "difference is the number itself.")
                        .arg(typed(s.value), power(s.stepPower)));
    }
    void say(const step::Result &s)
    {
        m_page.para(tr("So %1 in %2 is %3.").arg(typed(s.from), formatName(), bits(s.answer)));
    }

    // ---- Floating point -------------------------------------------------------
    void say(const step::Zero &)
    {
        m_page.para(tr("0 has no 1 to move the point to: zero is written all zeros."));
    }
    void say(const step::Normalised &s)
    {
        QString fraction = s.fraction;
        while (!s.moreLost && fraction.endsWith(u'0'))
            fraction.chop(1);
        const QString found = fraction.isEmpty() ? s.whole : s.whole + u'.' + fraction;
        m_page.para(tr("In binary the magnitude is %1%2.")
                        .arg(bits(found), s.moreLost || !s.lost.isEmpty() ? QStringLiteral("\u2026") : QString()));
        QString significant = s.whole + s.fraction;
        significant.remove(0, significant.indexOf(u'1'));
        const QString normal = times(bits(QStringLiteral("0.") + significant), s.exponent);
        if (s.exponent > 0)
            m_page.para(tr("Normalise: move the point %1 places left, to stand just before the first 1: %2. The "
                           "exponent is %3.")
                            .arg(num(s.exponent), normal, num(s.exponent)));
        else if (s.exponent < 0)
            m_page.para(tr("Normalise: move the point %1 places right, to stand just before the first 1: %2. The "
                           "exponent is %3.")
                            .arg(num(-s.exponent), normal, num(s.exponent)));
        else
            m_page.para(tr("The point already stands just before the first 1: %1. The exponent is 0.").arg(normal));
        const QString mantissa = bits(QStringLiteral("0.") + s.digits);
        if (s.lost.isEmpty() && !s.moreLost)
            m_page.para(tr("The mantissa has %1 after its sign bit: %2.").arg(count(s.digits.size()), mantissa));
        else
            m_page.para(tr("The mantissa has %1 after its sign bit, so the digits are cut there (not rounded): %2.")
                            .arg(count(s.digits.size()), mantissa));
    }
    void say(const step::Renormalised &s)
    {
        if (s.possible)
            m_page.para(tr("%1 starts 11, which is not normalised: shift it one place left, %2, and take 1 from the "
                           "exponent, which becomes %3.")
                            .arg(bits(s.before), bits(s.after), num(s.exponent)));
        else
            m_page.para(tr("%1 starts 11, which is not normalised, but the exponent cannot go below %2: the pair "
                           "stays as it is.")
                            .arg(bits(s.before), num(s.lowest)));
    }
    void say(const step::ExponentBits &s)
    {
        if (s.exponent < 0)
            m_page.para(tr("The exponent %1 is negative: its size %2 in %3 is %4.")
                            .arg(num(s.exponent), num(-s.exponent), count(m_format.exponent), bits(s.magnitude)));
        else
            m_page.para(tr("The exponent %1 in %2 is %3.").arg(num(s.exponent), count(m_format.exponent), bits(s.bits)));
    }
    void say(const step::FloatingHeld &s)
    {
        m_page.para(tr("The mantissa %1 is %2 = %3; with the exponent %4 the pair holds %5 = %6.")
                        .arg(point(s.mantissa, m_format.mantissa - 1), sum(s.mantissa, m_format.mantissa - 1, true),
                             num(s.mantissaValue), bits(s.exponentBits), times(num(s.mantissaValue), s.exponent),
                             num(s.held)));
        difference(s.typed, s.difference);
        m_page.para(tr("Here the mantissa's last place is worth %1 = %2: the cut leaves a difference of less than "
                       "that, towards zero.")
                        .arg(power(s.stepPower), num(Number::power2(s.stepPower))));
    }

    // ---- Bits to a number --------------------------------------------------------
    void say(const step::PlaceSum &s)
    {
        m_page.para(tr("Add the place values that hold a 1: %1 = %2.").arg(sum(s.bits, s.fraction, s.twos), num(s.total)));
    }
    void say(const step::MantissaValue &s)
    {
        const int fraction = int(s.bits.size()) - 1;
        say(step::PlaceTable{s.bits, fraction, true});
        m_page.para(tr("The mantissa %1 is %2 = %3.").arg(point(s.bits, fraction), sum(s.bits, fraction, true), num(s.value)));
    }
    void say(const step::ExponentValue &s)
    {
        m_page.para(tr("The exponent %1 in two's complement is %2 = %3.")
                        .arg(bits(s.bits), sum(s.bits, 0, true), num(s.value)));
    }
    void say(const step::PointMoved &s)
    {
        QString moved = point(s.moved, s.fraction);
        QString how;
        if (s.exponent > 0)
            how = tr("Move the point %1 places right: %2").arg(num(s.exponent), moved);
        else if (s.exponent < 0)
            how = tr("Move the point %1 places left, filling with copies of the sign bit: %2").arg(num(-s.exponent), moved);
        else
            how = tr("The exponent is 0: the point stays where it is: %1").arg(moved);
        m_page.para(tr("%1 = %2.").arg(how, sum(s.moved, s.fraction, true)));
    }
    void say(const step::FloatingValue &s)
    {
        m_page.para(tr("The value is %1 = %2.").arg(times(num(s.mantissa), s.exponent), num(s.value)));
    }
    void say(const step::NormalisedCheck &s)
    {
        switch (s.kind) {
        case step::NormalisedCheck::Kind::Normalised:
            m_page.para(tr("The mantissa's first two bits differ, so the pair is normalised."));
            break;
        case step::NormalisedCheck::Kind::Zero:
            m_page.para(tr("The mantissa is 0, so the value is 0; zero is written all zeros, %1.").arg(bits(s.pair)));
            break;
        case step::NormalisedCheck::Kind::NotNormalised:
            m_page.para(tr("The mantissa's first two bits are the same, so the pair is not normalised. Normalised, "
                           "the same value is %1.")
                            .arg(bits(s.pair)));
            break;
        case step::NormalisedCheck::Kind::CannotNormalise:
            m_page.para(tr("The mantissa's first two bits are the same, so the pair is not normalised, and it cannot "
                           "be: its exponent would go below %1.")
                            .arg(num(s.lowest)));
            break;
        }
    }

    // ---- Normalising ----------------------------------------------------------------
    void say(const step::Shifts &s)
    {
        m_page.para(tr("The mantissa %1 with the exponent %2 (%3).")
                        .arg(bits(s.start.mantissa), bits(exponentBitsOf(s.start.exponent)), num(s.start.exponent)));
        if (s.stop == step::Shifts::Stop::Zero) {
            m_page.para(tr("The mantissa is all zeros: zero cannot be normalised, there being no 1 to move the point "
                           "to. Zero is written all zeros: %1.")
                            .arg(bits(s.pair)));
            return;
        }
        if (s.stop == step::Shifts::Stop::AlreadyNormalised) {
            m_page.para(tr("Its first two bits differ: it is already normalised."));
            return;
        }
        m_page.para(tr("Its first two bits are the same: shift the mantissa one place left (a 0 comes in on the "
                       "right) and take 1 from the exponent, until they differ."));
        std::vector<QStringList> rows{{tr("shift"), tr("mantissa"), tr("exponent")}};
        for (size_t k = 0; k < s.rows.size(); ++k)
            rows.push_back({QString::number(k + 1), bits(s.rows[k].mantissa),
                            bits(exponentBitsOf(s.rows[k].exponent)) + QStringLiteral(" (") + num(s.rows[k].exponent)
                                + u')'});
        if (!s.rows.empty())
            m_page.table(rows, true);
        if (s.stop == step::Shifts::Stop::Lowest)
            m_page.para(tr("The exponent is %1, the lowest it can be: the mantissa cannot shift again, so the pair "
                           "cannot be normalised.")
                            .arg(num(s.lowest)));
        else
            m_page.para(tr("Now the first two bits differ: the normalised pair is %1, with the same value.")
                            .arg(bits(s.pair)));
    }

    // ---- Range ----------------------------------------------------------------------
    void say(const step::Range &r)
    {
        const auto fact = [&](const QString &what, const step::Extreme &x) {
            m_page.para(tr("%1: %2 = %3.").arg(what, pattern(x.bits), num(x.value)));
        };
        m_page.para(tr("The range of %1:").arg(formatName()));
        fact(tr("Largest value"), r.largest);
        if (r.hasPositive)
            fact(m_format.isFloating() ? tr("Smallest positive normalised value") : tr("Smallest positive value"),
                 r.smallestPositive);
        else
            m_page.para(tr("No pattern holds a positive value."));
        fact(m_format.isFloating() || m_format.isSigned() ? tr("Most negative value") : tr("Least value"),
             r.mostNegative);
        if (m_format.isFloating()) {
            m_page.para(tr("The largest mantissa with the largest exponent, the smallest normalised positive mantissa "
                           "with the lowest exponent, and %1 with the largest exponent.").arg(minusSign + u'1'));
            m_page.para(tr("Step near 1: %1 = %2 and %3 = %4 are neighbours, %5 apart.")
                            .arg(pattern(r.one.bits), num(r.one.value), pattern(r.next.bits), num(r.next.value),
                                 num(r.step)));
        } else {
            m_page.para(tr("Step: the last place is worth %1: neighbouring patterns differ by that.").arg(num(r.step)));
        }
    }

    const Format &m_format;
    bool m_html;
    Html m_page;
};

}  // namespace

QString workingHtml(const Format &format, const Steps &steps) { return Words(format, true).working(steps); }

QString refusalText(const Format &format, const Step &refusal) { return Words(format, false).sentence(refusal); }

QString patternText(const Format &format, const QString &bits)
{
    if (format.isFloating())
        return bits.left(format.mantissa) + u' ' + bits.mid(format.mantissa);
    if (format.isFixed() && format.fraction > 0)
        return bits.left(format.whole) + u'.' + bits.mid(format.whole);
    return bits;
}

}  // namespace quorvex::workbench
