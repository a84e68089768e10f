// SPDX-License-Identifier: MIT
// The methods every topic shares, each recording its steps with their real
// numbers: reading a typed number or a pattern, a whole number by place
// values, a fraction by repeated doubling, two's complement by inverting and
// adding 1 in columns, the bits under their place values and their sum, and
// the range's extremes. Their steps say themselves here.
#pragma once

#include "engine/exact.h"
#include "engine/format.h"
#include "engine/steps.h"
#include "engine/topic.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace quorvex::workbench {

namespace step {

// ---- Reading what was typed ---------------------------------------------------
// A width outside what the workbench offers, or normalising a format that
// is not floating point.
struct BadFormat {
    bool notFloating = false;
};
struct NotANumber {
    QString typed;
};
struct WrongCount {
    qsizetype typed;
};
struct NotBits {
    QStringList characters;  // the first few that are not 0 or 1
};
struct TwoPoints {};
// An operation the format's topic does not have (normalising aside, which
// says BadFormat).
struct NoOperation {
    QString title;
};
// Neither a number, nor bits, nor hex.
struct NothingToWrite {
    QString typed;
};
// The text reads as this number, written differently ("25e-1" is 2.5).
struct ReadAs {
    QString typed;
    exact::Number value;
};

// ---- Refusals of a number ---------------------------------------------------
struct NotWhole {
    Typed value;
};
// Outside what the format holds.
struct OutOfRange {
    Typed value;
    exact::Number low, high;
};

// ---- Number to bits ---------------------------------------------------------
// A negative number: its size is converted, its sign dealt with after (for
// floating point, in the mantissa).
struct Negative {
    exact::Number value;
    bool mantissa = false;
};
// A whole number by place values, largest place first: from - place = left.
struct Subtraction {
    quint64 from, place, left;
    int power;
};
struct Subtractions {
    quint64 value = 0;
    std::vector<Subtraction> rows;
};
// A whole part too large for rows of subtractions: its binary digits.
struct WholeBinary {
    exact::Number whole;
    QString bits;
};
// The bits under their place values; `fraction` of them after the point;
// for two's complement the leftmost place counts negative.
struct PlaceTable {
    QString bits;
    int fraction = 0;
    bool twos = false;
};
// Repeated doubling of a fraction: each row doubles it and takes the
// whole part as the next bit. Long runs of rows are left out (a run of
// rows giving 0 keeps its first and last); after the fraction runs out,
// `zeros` rows give 0.
struct DoublingRow {
    int index;  // 1 for the first bit after the point
    exact::Number fraction, doubled;
    int bit;
    int skipped = 0;               // rows left out just before this one
    bool skippedGaveZero = false;  // and each of them gave 0
};
struct Doubling {
    exact::Number fraction;
    std::vector<DoublingRow> rows;
    int total = 0;  // bits taken in all
    int zeros = 0;
    exact::Number remainder;  // what is left, cut off
    bool sticky = false;      // what is left is not cut but rounded: it sets the sticky bit
};
// Two's complement by hand: invert every bit, add 1 in columns.
struct TwosComplement {
    enum class Of { Number, Mantissa, Exponent };
    Of of = Of::Number;
    QString bits, inverted, carries, result;  // carries: '1' where a column carries into the next
    bool dropped = false;                     // a carry off the left end
    int fraction = 0;                         // bits after the point
};
struct Result {
    Typed from;
    QString answer;
};

// ---- Bits to a number ---------------------------------------------------------
// The places holding a 1 added up; `twos` when the leftmost counts negative.
struct PlaceSum {
    QString bits;
    int fraction = 0;
    bool twos = false;
    exact::Number total;
};

// ---- Range ----------------------------------------------------------------------
struct Extreme {
    QString bits;
    exact::Number value;
};
// The format's extremes; the topic says its step after them.
struct Range {
    Extreme largest, mostNegative;
    bool hasPositive = true;
    Extreme smallestPositive;
    bool normalised = false;  // the smallest positive value is the smallest normalised one
    bool negative = true;     // the least value is negative
};

}  // namespace step

QUORVEX_REFUSAL(step::BadFormat)
QUORVEX_REFUSAL(step::NotANumber)
QUORVEX_REFUSAL(step::WrongCount)
QUORVEX_REFUSAL(step::NotBits)
QUORVEX_REFUSAL(step::TwoPoints)
QUORVEX_REFUSAL(step::NothingToWrite)
QUORVEX_REFUSAL(step::NoOperation)
QUORVEX_STEP(step::ReadAs)
QUORVEX_REFUSAL(step::NotWhole)
QUORVEX_REFUSAL(step::OutOfRange)
QUORVEX_STEP(step::Negative)
QUORVEX_STEP(step::Subtractions)
QUORVEX_STEP(step::WholeBinary)
QUORVEX_STEP(step::PlaceTable)
QUORVEX_STEP(step::Doubling)
QUORVEX_STEP(step::TwosComplement)
QUORVEX_STEP(step::Result)
QUORVEX_STEP(step::PlaceSum)
QUORVEX_STEP(step::Range)

// A refused answer: the steps so far, then the one that says why.
Worked refuse(Steps steps, Step why);

// A pattern typed as bits (blanks and one point anywhere), or in hex (with
// its point from the point, for fixed point); `steps` say how hex was read.
struct ReadBits {
    bool ok = false;
    QString bits;
    Step refusal;
    Steps steps;
    bool hex = false;
};
ReadBits readBits(int width, const QString &input, int fraction = 0);

// A pattern in hex: from bits or hex of the format's width, or from a
// denary number by the topic's method (and, for a whole number, by repeated
// division by 16).
Worked hexAnswer(const Topic &topic, const Format &format, const QString &input);

// A typed number as the working names it, and the step that says how a
// number written otherwise was read ("25e-1" is 2.5).
Typed typedOf(const exact::Reading &r, const QString &input);
Steps readingSteps(const exact::Reading &r, const QString &input);

// `value` by place values, largest of `width` places first.
step::Subtractions subtractions(quint64 value, int width);
// `count` bits of a fraction from 0 up to 1 by repeated doubling; the bits
// come back in `bits`.
step::Doubling doubling(const exact::Number &fraction, int count, QString &bits);
// The rows a doubling's working lists, worked out (d.fraction and d.total
// set, the bits found): a run of six or more rows giving 0 keeps its first
// two and its last; then, of many rows, the first `first` and the last
// `last`. The rows between are said as a count.
void listDoublingRows(step::Doubling &d, const QString &bits, int first, int last);
// Invert every bit and add 1, column by column from the right.
step::TwosComplement twosComplement(const QString &bits, step::TwosComplement::Of of, int fraction = 0);

// The whole number a pattern of n bits stands for.
exact::Number wholeValue(quint64 pattern, int n, bool twos);

// A format of one width, N bits, as the command line names it ("int:8"):
// read from the widths after the colon, and written back.
std::optional<Format> parseBitsFormat(const Topic &topic, QStringView widths, QString *why);
QString bitsFormatName(const Format &format);

// A short sentence of the step that refused (the last one), plain text.
QString refusalSentence(const Format &format, const Topic &topic, const Step &refusal);
// The steps as rich text.
QString workingHtml(const Format &format, const Topic &topic, const Steps &steps);

}  // namespace quorvex::workbench
