// SPDX-License-Identifier: MIT
// The words every topic's working shares: numbers with a real minus sign,
// bit strings in a fixed-width font, powers of two, place values and their
// sums, counts that agree with their nouns, over the one rich-text writer.
// A step says itself through these, as rich text for the working pane, or
// as plain text for a refusal's one sentence.
#pragma once

#include "engine/exact.h"
#include "engine/format.h"
#include "engine/htmlwriter.h"
#include "engine/steps.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <vector>

namespace quorvex::workbench {

class Topic;

class Words {
    Q_DECLARE_TR_FUNCTIONS(Workbench)
public:
    Words(const Format &format, const Topic &topic, bool html) : m_format(format), m_topic(topic), m_html(html) { }

    const Format &format() const { return m_format; }
    const Topic &topic() const { return m_topic; }
    bool html() const { return m_html; }

    // The steps, said in order, as rich text.
    QString working(const Steps &steps);

    // ---- The page -------------------------------------------------------------
    void para(const QString &html) { m_page.para(html); }
    // Rows of cells; the first row, when `header`, is a heading row.
    void table(const std::vector<QStringList> &rows, bool header) { m_page.grid(rows, header); }

    // ---- Numbers and bits -------------------------------------------------------
    static QString minus(QString text);
    static exact::Number::Abridged decimal(const exact::Number &n) { return n.abridgedDecimal(40, 10, 6); }
    QString num(const exact::Number &n) const { return num(decimal(n)); }
    QString num(const exact::Number::Abridged &a) const;
    QString num(qint64 n) const { return num(exact::Number(n)); }
    static QString unum(quint64 n) { return QString::number(n); }
    QString typed(const Typed &t) const;
    QString power(qint64 k) const;
    // a x 2^k
    QString times(const QString &a, qint64 k) const;
    QString bits(QString b) const;
    // The pattern as the format writes it, as bits.
    QString pattern(const QString &raw) const;
    // Bits with a point before the last `fraction` of them.
    QString point(const QString &b, int fraction) const;
    // A place value as a teacher writes it: 8, ½, 1/16, 2^-10.
    QString place(int p) const;
    // The places of `b` that hold a 1, added up: "-128 + 32 + 1".
    QString sum(const QString &b, int fraction, bool twos) const;
    // The format in a sentence: "8-bit two's complement".
    QString formatName() const;
    // "an 8-bit mantissa", "a 4-bit exponent".
    static QString widthName(int n, const QString &what);
    static QString count(qsizetype n);
    // "1 place", "3 places".
    QString places(qint64 n) const;
    // The number typed against what the bits hold.
    void difference(const Typed &t, const exact::Number &d);
    // Text in a span that never breaks across lines.
    static QString nowrap(const QString &html);

private:
    const Format &m_format;
    const Topic &m_topic;
    bool m_html;
    html::Writer m_page;
};

// Bits in fours from the point (or from the right end).
QString grouped(const QString &bits);

}  // namespace quorvex::workbench
