// SPDX-License-Identifier: MIT
#include "conversions/htmlwriter.h"

#include <QLocale>

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
    return QStringLiteral("<code>") + text.toHtmlEscaped() + QStringLiteral("</code>");
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

void Writer::sideTable(const std::vector<std::pair<QString, QStringList>> &rows)
{
    m_out += tableStart;
    for (const auto &[heading, cells] : rows) {
        m_out += QStringLiteral("<tr><th align=\"left\">") + heading + QStringLiteral("</th>");
        for (const QString &cell : cells)
            m_out += QStringLiteral("<td align=\"center\">") + cell + QStringLiteral("</td>");
        m_out += QStringLiteral("</tr>");
    }
    m_out += QStringLiteral("</table>");
}

}  // namespace quorvex::html
