// SPDX-License-Identifier: MIT
#include "conversions/spoken.h"


#include <QRegularExpression>

#include <algorithm>

#include <vector>

namespace quorvex::spoken {

namespace {

bool isBits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c != u'0' && c != u'1')
            return false;
    }
    return true;
}

// Digits apart by spaces, groups apart by commas.
QString spelt(const QStringList &groups)
{
    QStringList said;
    for (const QString &group : groups) {
        QStringList digits;
        for (QChar c : group)
            digits << QString(c);
        said << digits.join(u' ');
    }
    return said.join(QStringLiteral(", "));
}

// ---- Text within the working ---------------------------------------------------

const QString minusSign = QStringLiteral("\u2212");

// Characters a reader would say, or stumble on, that show nothing: Qt's
// frame and table markers, zero-width spaces and joiners, soft hyphens, the
// object replacement character.
bool invisible(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0xFDD0 && u <= 0xFDEF) || (u >= 0x200B && u <= 0x200F) || (u >= 0x2060 && u <= 0x2064)
        || u == 0xFEFF || u == 0x00AD || u == 0xFFFC;
}

int superscriptDigit(QChar c)
{
    switch (c.unicode()) {
    case 0x2070:
        return 0;
    case 0x00B9:
        return 1;
    case 0x00B2:
        return 2;
    case 0x00B3:
        return 3;
    default:
        return c.unicode() >= 0x2074 && c.unicode() <= 0x2079 ? c.unicode() - 0x2070 : -1;
    }
}

// Superscript digits, with their minus, as "to the power" and the number.
QString unraised(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size();) {
        const bool raisedMinus = text.at(i) == QChar(0x207B);
        qsizetype j = raisedMinus ? i + 1 : i;
        QString digits;
        while (j < text.size() && superscriptDigit(text.at(j)) >= 0)
            digits += QChar(u'0' + superscriptDigit(text.at(j++)));
        if (digits.isEmpty()) {
            out += text.at(i++);
            continue;
        }
        out += QStringLiteral(" to the power ") + (raisedMinus ? QStringLiteral("minus ") : QString()) + digits
            + u' ';
        i = j;
    }
    return out;
}

// Plain text as a listener should hear it.
QString said(QString text)
{
    text.removeIf(invisible);
    text = unraised(text);
    static const QRegularExpression caret(QStringLiteral("\\s*\\^\\s*"));
    text.replace(caret, QStringLiteral(" to the power "));
    static const QRegularExpression minus(QStringLiteral("\\s*\u2212\\s*"));
    text.replace(minus, QStringLiteral(" minus "));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    text.replace(space, QStringLiteral(" "));
    static const QRegularExpression beforeStop(QStringLiteral(" ([.,;:)])(?=\\s|$)"));
    text.replace(beforeStop, QStringLiteral("\\1"));
    text = text.trimmed();
    // A point alone, as in a column of an addition.
    if (text == u".")
        return QStringLiteral("point");
    // A point with no whole part before it (".101"), which a reader would
    // pass over: "point" and the digits, spelt out when they are bits.
    static const QRegularExpression bare(QStringLiteral("(?<![\\w.])\\.(\\d+)"));
    QString out;
    qsizetype from = 0;
    for (auto it = bare.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString digits = m.captured(1);
        out += text.mid(from, m.capturedStart() - from) + QStringLiteral("point ")
            + (isBits(digits) ? spelt({digits}) : digits);
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

QString entity(const QString &name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.startsWith(QStringLiteral("#x"), Qt::CaseInsensitive) ? name.mid(2).toUInt(&ok, 16)
                                                                                      : name.mid(1).toUInt(&ok);
        return ok ? QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1) : QString();
    }
    if (name == u"nbsp")
        return QStringLiteral(" ");
    if (name == u"amp")
        return QStringLiteral("&");
    if (name == u"lt")
        return QStringLiteral("<");
    if (name == u"gt")
        return QStringLiteral(">");
    if (name == u"quot")
        return QStringLiteral("\"");
    if (name == u"apos")
        return QStringLiteral("'");
    return {};
}

// Bits shown in code, in the groups they are shown in; other code as it is.
QString codeSaid(const QString &code)
{
    QString flat = code;
    flat.removeIf(invisible);
    flat = flat.simplified();
    const qsizetype point = flat.indexOf(u'.');
    const QString whole = point < 0 ? flat : flat.left(point);
    const QString fraction = point < 0 ? QString() : flat.mid(point + 1);
    const QStringList wholeGroups = whole.split(u' ', Qt::SkipEmptyParts);
    const QStringList fractionGroups = fraction.split(u' ', Qt::SkipEmptyParts);
    if (flat.size() < 2 || !isBits(wholeGroups.join(QString()) + fractionGroups.join(QString()))
        || (point >= 0 && fractionGroups.isEmpty()))
        return code;
    QString out = spelt(wholeGroups);
    if (point >= 0)
        out += (out.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("point, ") + spelt(fractionGroups);
    return u' ' + out + u' ';
}

struct Cell {
    bool heading = false;
    QString text;
};
using Row = std::vector<Cell>;

// "heading cell" for a heading in words, "heading: cell" for a number
// ("1/2: 1"), or either alone when the other is empty.
QString paired(const QString &heading, const QString &cell)
{
    if (heading.isEmpty() || cell.isEmpty())
        return heading + cell;
    return heading + (heading.back().isLetter() ? QStringLiteral(" ") : QStringLiteral(": ")) + cell;
}

QString sentence(const QStringList &parts, const QString &apart)
{
    QStringList kept;
    for (const QString &p : parts) {
        if (!p.isEmpty())
            kept << p;
    }
    if (kept.isEmpty())
        return {};
    QString out = kept.join(apart);
    if (!out.endsWith(u'.'))
        out += u'.';
    return out;
}

QString tableSaid(const std::vector<Row> &rows)
{
    QStringList lines;
    if (rows.empty())
        return {};
    const auto allHeadings = [](const Row &row) {
        return !row.empty() && std::all_of(row.begin(), row.end(), [](const Cell &c) { return c.heading; });
    };
    const bool headingRow = rows.size() > 1 && allHeadings(rows.front());
    const bool rowHeadings = std::all_of(rows.begin(), rows.end(),
                                         [](const Row &row) { return !row.empty() && row.front().heading; });
    if (headingRow) {
        const Row &headings = rows.front();
        for (size_t r = 1; r < rows.size(); ++r) {
            QStringList parts;
            for (size_t c = 0; c < rows[r].size(); ++c) {
                const Cell &cell = rows[r][c];
                const bool rowHeading = c == 0 && cell.heading;
                parts << (rowHeading ? cell.text : paired(c < headings.size() ? headings[c].text : QString(), cell.text));
            }
            lines << sentence(parts, QStringLiteral(", "));
        }
    } else if (rowHeadings) {
        // Rows in blocks, each block starting again at the first row's
        // heading (place values, then the bits under them); a sentence per
        // block, a column at a time.
        size_t start = 0;
        while (start < rows.size()) {
            size_t end = start + 1;
            while (end < rows.size() && rows[end].front().text != rows.front().front().text)
                ++end;
            size_t columns = 0;
            for (size_t r = start; r < end; ++r)
                columns = std::max(columns, rows[r].size());
            QStringList parts;
            for (size_t c = 1; c < columns; ++c) {
                QStringList pairs;
                for (size_t r = start; r < end; ++r) {
                    if (c < rows[r].size() && !rows[r][c].text.isEmpty())
                        pairs << paired(rows[r].front().text, rows[r][c].text);
                }
                parts << pairs.join(QStringLiteral(", "));
            }
            lines << sentence(parts, QStringLiteral("; "));
            start = end;
        }
    } else {
        for (const Row &row : rows) {
            QStringList parts;
            for (const Cell &cell : row)
                parts << cell.text;
            lines << sentence(parts, QStringLiteral(", "));
        }
    }
    lines.removeAll(QString());
    return lines.join(u'\n');
}

// Reads the working's rich text a tag at a time.
class Reader {
public:
    QStringList read(const QString &html)
    {
        qsizetype i = 0;
        while (i < html.size()) {
            const QChar c = html.at(i);
            if (c == u'<') {
                const qsizetype close = html.indexOf(u'>', i);
                if (close < 0)
                    break;
                tag(html.mid(i + 1, close - i - 1));
                i = close + 1;
            } else if (c == u'&') {
                const qsizetype semicolon = html.indexOf(u';', i);
                if (semicolon > i && semicolon - i <= 10) {
                    text(entity(html.mid(i + 1, semicolon - i - 1)));
                    i = semicolon + 1;
                } else {
                    text(QString(c));
                    ++i;
                }
            } else {
                text(QString(c));
                ++i;
            }
        }
        endParagraph();
        endTable();
        return m_parts;
    }

private:
    void text(const QString &t)
    {
        if (m_skip > 0)
            return;
        if (m_code >= 0)
            m_codeText += t;
        else if (m_raised >= 0)
            m_raisedText += t;
        else
            m_text += t;
    }

    void tag(QString t)
    {
        t = t.trimmed();
        const bool closing = t.startsWith(u'/');
        if (closing)
            t.remove(0, 1);
        const QString name = t.section(QRegularExpression(QStringLiteral("[\\s/]")), 0, 0).toLower();
        if (name == u"head" || name == u"style" || name == u"script") {
            m_skip += closing ? -1 : 1;
            m_skip = std::max(0, m_skip);
        } else if (name == u"sup") {
            if (!closing) {
                m_raised = 0;
                m_raisedText.clear();
            } else if (m_raised >= 0) {
                m_raised = -1;
                text(QStringLiteral(" to the power ") + m_raisedText + u' ');
            }
        } else if (name == u"code") {
            if (!closing) {
                m_code = 0;
                m_codeText.clear();
            } else if (m_code >= 0) {
                m_code = -1;
                QString bitsSaid = codeSaid(m_codeText);
                // A point just before bits in code (".<code>101</code>") is
                // theirs; alone it would be taken for a full stop.
                const qsizetype n = m_text.size();
                if (bitsSaid != m_codeText && n > 0 && m_text.endsWith(u'.') && (n == 1 || m_text.at(n - 2).isSpace())) {
                    m_text.chop(1);
                    bitsSaid.prepend(QStringLiteral(" point,"));
                }
                text(bitsSaid);
            }
        } else if (name == u"b" || name == u"strong") {
            if (m_inCell && !closing)
                m_boldFrom = m_text.size();
            else if (m_inCell && m_boldFrom >= 0)
                m_bold += m_text.mid(m_boldFrom);
        } else if (name == u"table") {
            if (!closing) {
                endParagraph();
                m_inTable = true;
            } else {
                endTable();
            }
        } else if (name == u"tr") {
            endCell();
            if (!closing && m_inTable)
                m_rows.emplace_back();
        } else if (name == u"td" || name == u"th") {
            endCell();
            if (!closing && m_inTable) {
                if (m_rows.empty())
                    m_rows.emplace_back();
                m_rows.back().push_back(Cell{name == u"th", {}});
                m_inCell = true;
            }
        } else if (name == u"p" || name == u"div" || name == u"br" || name == u"li" || name == u"ul" || name == u"ol"
                   || (name.size() == 2 && name.startsWith(u'h') && name.at(1).isDigit())) {
            if (m_inCell)
                m_text += u' ';
            else
                endParagraph();
        }
    }

    // A cell in bold throughout is a heading too.
    void endCell()
    {
        if (m_inCell && !m_rows.empty() && !m_rows.back().empty()) {
            Cell &cell = m_rows.back().back();
            cell.text = said(m_text);
            cell.heading = cell.heading || (!cell.text.isEmpty() && said(m_bold) == cell.text);
        }
        m_inCell = false;
        m_text.clear();
        m_bold.clear();
        m_boldFrom = -1;
    }

    void endTable()
    {
        if (!m_inTable)
            return;
        endCell();
        const QString t = tableSaid(m_rows);
        if (!t.isEmpty())
            m_parts << t;
        m_rows.clear();
        m_inTable = false;
    }

    void endParagraph()
    {
        if (m_inTable) {
            m_text.clear();
            return;
        }
        const QString t = said(m_text);
        if (!t.isEmpty())
            m_parts << t;
        m_text.clear();
    }

    QStringList m_parts;
    QString m_text;
    QString m_codeText;
    QString m_raisedText;
    QString m_bold;  // of the cell
    qsizetype m_boldFrom = -1;
    int m_code = -1;
    int m_raised = -1;
    int m_skip = 0;
    bool m_inTable = false;
    bool m_inCell = false;
    std::vector<Row> m_rows;
};

}  // namespace

QString bits(const QString &text, bool fromLeft)
{
    if (!isBits(text))
        return {};
    QStringList groups;
    const qsizetype n = text.size();
    const qsizetype first = fromLeft ? std::min<qsizetype>(4, n) : (n % 4 == 0 ? 4 : n % 4);
    groups << text.left(first);
    for (qsizetype i = first; i < n; i += 4)
        groups << text.mid(i, 4);
    return spelt(groups);
}

QString fixedPoint(const QString &text)
{
    const qsizetype point = text.indexOf(u'.');
    if (point < 0)
        return bits(text);
    const QString whole = bits(text.left(point));
    const QString fraction = bits(text.mid(point + 1), true);
    if (whole.isEmpty() || fraction.isEmpty())
        return {};
    return QStringLiteral("whole part %1, point, fraction %2").arg(whole, fraction);
}

QString floating(const QString &mantissa, const QString &exponent)
{
    const QString m = bits(mantissa, true);
    const QString e = bits(exponent, true);
    if (m.isEmpty() || e.isEmpty())
        return {};
    return QStringLiteral("mantissa %1, exponent %2").arg(m, e);
}

QString pattern(const QString &text)
{
    if (const qsizetype space = text.indexOf(u' '); space >= 0)
        return floating(text.left(space), text.mid(space + 1));
    return fixedPoint(text);
}

QString hexDigits(const QString &text)
{
    QStringList parts;
    for (const QString &side : text.split(u'.')) {
        QStringList digits;
        for (QChar c : side)
            digits << QString(c);
        parts << digits.join(u' ');
    }
    return parts.join(QStringLiteral(", point, "));
}

QStringList htmlParts(const QString &html)
{
    return Reader().read(html);
}

QString html(const QString &text)
{
    return htmlParts(text).join(u'\n');
}

}  // namespace quorvex::spoken
