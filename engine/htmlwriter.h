// SPDX-License-Identifier: MIT
// The one writer of the rich text every working is shown in: paragraphs,
// tables, bit strings and quoted input, with a real minus sign.
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace quorvex::html {

// How much of a typed text a sentence quotes before it shortens it.
inline constexpr qsizetype quoteLimit = 40;

QString minusSign();
// A number as text with a real minus sign.
QString minus(QString text);
QString signedNumber(qint64 value, bool plus = false);
// A double, shortest exact form.
QString number(double value);
// "…" after the first quoteLimit characters of a longer text; plain text.
QString shortened(const QString &text);
// Typed text in quotation marks, shortened and escaped.
QString quoted(const QString &text);
// Text in a fixed-width font that never breaks across lines.
QString code(const QString &text);
// 2 to the power `exponent`, as a superscript.
QString power(qint64 exponent);
// A whole number with its thousands grouped: "10,000,000,000".
QString groupedNumber(double value);
// A typed number short enough for a sentence: a long one is cut in the
// middle and its length given ("0.1111…1111, 403 characters"); escaped.
QString longNumber(const QString &text);
// A bit string grouped in fours (see groupedBits), in a fixed-width font.
QString bits(const QString &bits, bool fromLeft = false);
// Terms added up, a negative one subtracted: "-128 + 32 + 16".
QString sum(const std::vector<qint64> &terms);

// A bit string grouped in fours from the right ("0000 0000 1100 1000"), or
// from the left for bits after a binary point.
QString groupedBits(const QString &bits, bool fromLeft = false);

class Writer {
public:
    Writer() { m_out.reserve(4096); }

    void para(const QString &text);
    // A table with a heading row; the last cell of each row is centred.
    void table(const QStringList &headings, const std::vector<QStringList> &rows);
    // Rows that each start with a heading cell, as in a place-value table
    // (none for an empty heading).
    void sideTable(const std::vector<std::pair<QString, QStringList>> &rows);
    // Rows of right-aligned fixed-width text, as a sum is written in columns.
    void columns(const std::vector<std::pair<QString, QString>> &rows);
    // Rows of centred cells, the first row a heading row when `header`, as
    // the workbench writes its tables.
    void grid(const std::vector<QStringList> &rows, bool header);
    void raw(const QString &html) { m_out += html; }

    QString take() { return std::move(m_out); }

private:
    QString m_out;
};

}  // namespace quorvex::html
