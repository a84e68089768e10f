// SPDX-License-Identifier: MIT
#include "engine/words.h"

#include "engine/topic.h"

namespace quorvex::workbench {

using exact::Number;

namespace {

const QString minusSign = QStringLiteral("\u2212");

}  // namespace

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

QString Words::working(const Steps &steps)
{
    for (const Step &s : steps)
        s->say(*this);
    return m_page.take();
}

QString Words::nowrap(const QString &html)
{
    return QStringLiteral("<span style=\"white-space:nowrap\">") + html + QStringLiteral("</span>");
}

QString Words::minus(QString text)
{
    if (text.startsWith(u'-'))
        text.replace(0, 1, minusSign);
    return text;
}

QString Words::num(const Number::Abridged &a) const
{
    const QString text = minus(a.text);
    const QString shown = m_html ? nowrap(text) : text;
    return a.abridged ? tr("%1 (%2 characters)").arg(shown).arg(a.length) : shown;
}

QString Words::typed(const Typed &t) const
{
    if (t.exact)
        return num(t.value);
    QString text = t.text.size() > 40 ? t.text.left(10) + QStringLiteral("\u2026") + t.text.right(6) : t.text;
    if (m_html)
        text = nowrap(text.toHtmlEscaped());
    text = QStringLiteral("\u201C") + text + QStringLiteral("\u201D");
    return t.text.size() > 40 ? tr("%1 (%2 characters)").arg(text).arg(t.text.size()) : text;
}

QString Words::power(qint64 k) const
{
    const QString exponent = k < 0 ? minusSign + QString::number(-k) : QString::number(k);
    return m_html ? nowrap(QStringLiteral("2<sup>") + exponent + QStringLiteral("</sup>")) : QStringLiteral("2^") + exponent;
}

QString Words::times(const QString &a, qint64 k) const
{
    return a + (m_html ? QStringLiteral("&nbsp;\u00D7&nbsp;") : QStringLiteral(" \u00D7 ")) + power(k);
}

QString Words::bits(QString b) const
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

QString Words::pattern(const QString &raw) const { return bits(m_topic.written(m_format, raw)); }

QString Words::point(const QString &b, int fraction) const
{
    return bits(fraction > 0 ? b.left(b.size() - fraction) + u'.' + b.right(fraction) : b);
}

QString Words::place(int p) const
{
    static const char16_t *halves[] = {u"\u00BD", u"\u00BC", u"\u215B", u"1/16", u"1/32", u"1/64"};
    if (p >= 0 && p <= 12)
        return QString::number(1 << p);
    if (p < 0 && p >= -6)
        return QString::fromUtf16(halves[-p - 1]);
    return power(p);
}

QString Words::sum(const QString &b, int fraction, bool twos) const
{
    QStringList terms;
    const int n = int(b.size());
    for (int i = 0; i < n; ++i) {
        if (b.at(i) == u'1')
            terms << (twos && i == 0 ? minusSign : QString()) + place(n - 1 - i - fraction);
    }
    return terms.isEmpty() ? QStringLiteral("0") : terms.join(QStringLiteral(" + "));
}

QString Words::formatName() const { return m_topic.describe(m_format); }

QString Topic::patternName(const Format &format) const { return Words::tr("a pattern in %1").arg(describe(format)); }

QString Words::widthName(int n, const QString &what)
{
    const QString digits = QString::number(n);
    const bool an = digits.startsWith(u'8') || n == 11 || n == 18;
    return (an ? tr("an %1-bit %2") : tr("a %1-bit %2")).arg(n).arg(what);
}

QString Words::count(qsizetype n) { return n == 1 ? tr("1 bit") : tr("%1 bits").arg(n); }

QString Words::places(qint64 n) const { return n == 1 ? tr("1 place") : tr("%1 places").arg(num(n)); }

void Words::difference(const Typed &t, const Number &d)
{
    if (d.isZero())
        para(tr("That is exactly the number typed: the difference is 0."));
    else
        para(tr("The number typed was %1: the difference (typed %2 held) is %3.").arg(typed(t), minusSign, num(d)));
}

}  // namespace quorvex::workbench
