// SPDX-License-Identifier: MIT
#include "engine/htmlwriter.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>

namespace quorvex::html {

namespace {

const QString tableStart = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\">");

}  // namespace

QString minusSign()
{
    return QStringLiteral("\u2212");
}

QString minus(QString text)
{
    if (text.startsWith(u'-'))
        text.replace(0, 1, minusSign());
    return text;
}

QString signedNumber(qint64 value, bool plus)
{
    if (value < 0)
        return minusSign() + QString::number(-value);
    return (plus ? QStringLiteral("+") : QString()) + QString::number(value);
}

QString number(double value)
{
    return minus(QString::number(value, 'g', QLocale::FloatingPointShortest));
}

QString shortened(const QString &text)
{
    return text.size() > quoteLimit ? text.left(quoteLimit) + QStringLiteral("\u2026") : text;
}

QString quoted(const QString &text)
{
    return QStringLiteral("\u201C") + shortened(text).toHtmlEscaped() + QStringLiteral("\u201D");
}

QString code(const QString &text)
{
    return QStringLiteral("<code>") + text.toHtmlEscaped().replace(u' ', QStringLiteral("&nbsp;"))
        + QStringLiteral("</code>");
}

QString power(qint64 exponent)
{
    return QStringLiteral("2<sup>") + signedNumber(exponent) + QStringLiteral("</sup>");
}

QString groupedNumber(double value)
{
    if (!(std::abs(value) < 1e21) || value != std::trunc(value))
        return number(value);
    QString digits = QString::number(std::abs(value), 'f', 0);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return (value < 0 ? minusSign() : QString()) + digits;
}

QString longNumber(const QString &text)
{
    if (text.size() <= quoteLimit)
        return minus(text).toHtmlEscaped();
    return (minus(text.left(6)) + QStringLiteral("\u2026") + text.right(4)).toHtmlEscaped()
        + QStringLiteral(", %1 characters").arg(text.size());
}

QString bits(const QString &b, bool fromLeft)
{
    return code(groupedBits(b, fromLeft));
}

QString sum(const std::vector<qint64> &terms)
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

void Writer::para(const QString &text)
{
    m_out += QStringLiteral("<p>") + text + QStringLiteral("</p>");
}

void Writer::table(const QStringList &headings, const std::vector<QStringList> &rows)
{
    m_out += tableStart + QStringLiteral("<tr>");
    for (const QString &heading : headings)
        m_out += QStringLiteral("<th>") + heading + QStringLiteral("</th>");
    m_out += QStringLiteral("</tr>");
    for (const QStringList &row : rows) {
        m_out += QStringLiteral("<tr>");
        for (qsizetype i = 0; i < row.size(); ++i)
            m_out += (i + 1 == row.size() ? QStringLiteral("<td align=\"center\">") : QStringLiteral("<td>"))
                + row.at(i) + QStringLiteral("</td>");
        m_out += QStringLiteral("</tr>");
    }
    m_out += QStringLiteral("</table>");
}

void Writer::columns(const std::vector<std::pair<QString, QString>> &rows)
{
    m_out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    for (const auto &[label, text] : rows)
        m_out += QStringLiteral("<tr><td>") + label + QStringLiteral("</td><td align=\"right\">") + code(text)
            + QStringLiteral("</td></tr>");
    m_out += QStringLiteral("</table>");
}

void Writer::grid(const std::vector<QStringList> &rows, bool header)
{
    // Wide tables (a long multiplication's) have thousands of cells: their
    // tags are UTF-16 already.
    static constexpr QStringView th = u"<th align=\"center\">", td = u"<td align=\"center\">", thEnd = u"</th>",
                                 tdEnd = u"</td>";
    m_out += QLatin1StringView("<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\">");
    for (size_t r = 0; r < rows.size(); ++r) {
        const bool heading = header && r == 0;
        m_out += QLatin1StringView("<tr>");
        for (const QString &c : rows[r]) {
            m_out += heading ? th : td;
            m_out += c;
            m_out += heading ? thEnd : tdEnd;
        }
        m_out += QLatin1StringView("</tr>");
    }
    m_out += QLatin1StringView("</table>");
}

void Writer::sideTable(const std::vector<std::pair<QString, QStringList>> &rows)
{
    m_out += tableStart;
    for (const auto &[heading, cells] : rows) {
        m_out += QStringLiteral("<tr>");
        if (!heading.isEmpty())
            m_out += QStringLiteral("<th align=\"left\">") + heading + QStringLiteral("</th>");
        for (const QString &cell : cells)
            m_out += QStringLiteral("<td align=\"center\">") + cell + QStringLiteral("</td>");
        m_out += QStringLiteral("</tr>");
    }
    m_out += QStringLiteral("</table>");
}

}  // namespace quorvex::html
