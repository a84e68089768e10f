// SPDX-License-Identifier: MIT
// The workbench's working: the steps the engine records as it answers, as
// data with their real numbers, and the one place that puts them into
// words (short sentences, small tables of place values and doubling rows,
// bit strings in a fixed-width font).
#pragma once

#include "conversions/exact.h"
#include "conversions/format.h"

#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

namespace quorvex::workbench {

// A typed number the working names: exact, or, far beyond every format,
// only as typed.
struct Typed {
    exact::Number value;
    QString text;  // trimmed, when not exact
    bool exact = true;
};

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
// The text reads as this number, written differently ("25e-1" is 2.5).
struct ReadAs {
    QString typed;
    exact::Number value;
};

// ---- Refusals of a number ---------------------------------------------------
struct NotWhole {
    Typed value;
};
// Outside what the format holds (integers, fixed point).
struct OutOfRange {
    Typed value;
    exact::Number low, high;
};
// Floating point: beyond the largest value, or the most negative.
struct TooLarge {
    Typed value;
    bool negative = false;
    exact::Number limit;
    QString limitBits;
    qint64 exponent = 0;  // the exponent it would need; 0 when unknown
    qint64 highest = 0;
};
// Floating point: nearer zero than the smallest normalised value.
struct TooSmall {
    Typed value;
    qint64 exponent = 0;  // the exponent it would need; 0 when unknown
    qint64 lowest = 0;
    exact::Number smallest;
    QString smallestBits;
};

// ---- Number to bits ---------------------------------------------------------
// A negative number: its size is converted, its sign dealt with after.
struct Negative {
    exact::Number value;
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
    int skipped = 0;             // rows left out just before this one
    bool skippedGaveZero = false;  // and each of them gave 0
};
struct Doubling {
    exact::Number fraction;
    std::vector<DoublingRow> rows;
    int total = 0;  // bits taken in all
    int zeros = 0;
    exact::Number remainder;  // what is left, cut off
};
// Two's complement by hand: invert every bit, add 1 in columns.
struct TwosComplement {
    enum class Of { Number, Mantissa, Exponent };
    Of of = Of::Number;
    QString bits, inverted, carries, result;  // carries: '1' where a column carries into the next
    bool dropped = false;                     // a carry off the left end
    int fraction = 0;                         // bits after the point
};
// A fixed-point pattern and what it holds, against the number typed.
struct Held {
    QString bits;  // with its point
    exact::Number held;
    Typed typed;
    exact::Number difference;  // typed - held
    int stepPower = 0;         // the last place is worth 2^stepPower
};
// So many places after the point that every one is 0.
struct TinyCut {
    Typed value;
    int stepPower = 0;
};
struct Result {
    Typed from;
    QString answer;
};

// ---- Floating point -----------------------------------------------------------
struct Zero {};
// The binary form, the point moved before the first 1, and the digits cut
// to the mantissa's width.
struct Normalised {
    QString whole, fraction;  // the binary form as found
    qint64 exponent = 0;
    QString digits;  // the mantissa's digits after its sign bit
    QString lost;    // found digits cut off
    bool moreLost = false;  // and digits beyond those, not worked out
};
// A negative mantissa that starts 11 is shifted left.
struct Renormalised {
    QString before, after;
    qint64 exponent = 0;  // the exponent after
    bool possible = true;
    qint64 lowest = 0;
};
struct ExponentBits {
    qint64 exponent = 0;
    QString magnitude;  // the size's bits, for a negative exponent
    QString bits;
};
struct FloatingHeld {
    QString mantissa, exponentBits;
    exact::Number mantissaValue;
    qint64 exponent = 0;
    exact::Number held;
    Typed typed;
    exact::Number difference;
    qint64 stepPower = 0;
};

// ---- Bits to a number ---------------------------------------------------------
// The places holding a 1 added up; `twos` when the leftmost counts negative.
struct PlaceSum {
    QString bits;
    int fraction = 0;
    bool twos = false;
    exact::Number total;
};
struct MantissaValue {
    QString bits;
    exact::Number value;
};
struct ExponentValue {
    QString bits;
    qint64 value = 0;
};
// The mantissa's point moved by the exponent, as two's complement fixed point.
struct PointMoved {
    qint64 exponent = 0;
    QString moved;  // with its point
    int fraction = 0;
};
struct FloatingValue {
    exact::Number mantissa;
    qint64 exponent = 0;
    exact::Number value;
};
struct NormalisedCheck {
    enum class Kind { Normalised, Zero, NotNormalised, CannotNormalise };
    Kind kind = Kind::Normalised;
    QString pair;  // the normalised pair, or as far as it goes
    qint64 lowest = 0;
};

// ---- Normalising ----------------------------------------------------------------
struct Shift {
    QString mantissa;
    qint64 exponent;
};
struct Shifts {
    enum class Stop { Normalised, AlreadyNormalised, Zero, Lowest };
    Stop stop = Stop::Normalised;
    Shift start;
    std::vector<Shift> rows;
    qint64 lowest = 0;
    QString pair;  // the pair at the end
};

// ---- Range ----------------------------------------------------------------------
struct Extreme {
    QString bits;
    exact::Number value;
};
struct Range {
    Extreme largest, mostNegative;
    bool hasPositive = true;
    Extreme smallestPositive;
    Extreme one, next;  // neighbours near 1 whose gap is the step (floating point)
    exact::Number step;
};

}  // namespace step

using Step = std::variant<step::BadFormat, step::NotANumber, step::WrongCount, step::NotBits, step::TwoPoints,
                          step::ReadAs, step::NotWhole, step::OutOfRange, step::TooLarge, step::TooSmall,
                          step::Negative, step::Subtractions, step::WholeBinary, step::PlaceTable, step::Doubling,
                          step::TwosComplement, step::Held, step::TinyCut, step::Result, step::Zero,
                          step::Normalised, step::Renormalised, step::ExponentBits, step::FloatingHeld,
                          step::PlaceSum, step::MantissaValue, step::ExponentValue, step::PointMoved,
                          step::FloatingValue, step::NormalisedCheck, step::Shifts, step::Range>;
using Steps = std::vector<Step>;

// The steps as rich text for a QTextBrowser.
QString workingHtml(const Format &format, const Steps &steps);
// Why the answer was refused, in one short plain sentence, from the step
// that refused it (the last one).
QString refusalText(const Format &format, const Step &refusal);
// Answer texts: a pattern as a mark scheme writes it ("1100.1100",
// "10111110 0100"), an exact decimal with "-" for negatives.
QString patternText(const Format &format, const QString &bits);

}  // namespace quorvex::workbench
