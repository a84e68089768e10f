// SPDX-License-Identifier: MIT
// The working of a conversion: what it did, step by step, with the real
// numbers and bit strings it met on the way. A conversion records its steps
// as it goes; the working text only puts them into words. Steps hold no text
// meant for the user, only values.
#pragma once

#include "core/runtime.h"

#include <QString>
#include <QtGlobal>

#include <variant>
#include <vector>

namespace quorvex::working {

// ---- Reading the number -------------------------------------------------------

// The text holds no number the conversion can read ("abc").
struct NotANumber {
    QString text;
};
// The number is below zero, and these bits carry no sign.
struct Negative {
    double value;
    bool twosHolds;  // whole, and its two's complement in the chosen width reads as the number
};
// 2^bitCount is not greater than the number; it needs bitsNeeded bits.
struct NeedsMoreBits {
    double value;
    qint16 bitCount;
    qint32 bitsNeeded;
    bool widest;  // no wider choice exists
};
// The number has a fraction.
struct NotWhole {
    double value;
};
// The fixed-point input rule refused the text: it is not a number, or the
// number lies outside 0 to the largest whole part.
struct OutsideFixedRange {
    QString text;
    bool numeric;
    QString note;  // what the rule asks for
};

// The typed number, read in single precision, is not quite the number typed.
struct HeldInSingle {
    QString typed;  // the typed number, exactly, as a decimal; as typed when too long for that
    float held;
};
// The single-precision reading rounded up to the next whole number, which
// therefore belongs to the whole part.
struct CarriedIntoWhole {
    float held;
    qint32 whole;
};
// A negative number: its magnitude is converted, the sign is dealt with later.
struct MagnitudeOfNegative {
    QString typed;      // as typed, exactly (or as typed, when too long to read exactly)
    QString magnitude;  // without the minus sign
};

// ---- Whole numbers as bits -------------------------------------------------------

// One subtraction of the largest place value that fits: from - place = left.
struct PlaceTaken {
    qint64 from;
    qint64 place;
    qint64 left;
};

// The number is whole and fits: 0 to 2^bitCount - 1.
struct WholeInRange {
    qint32 value;
    qint16 bitCount;
};
// The bits of a whole number under their place values, most significant
// first; the places that hold a 1 add up to the number.
struct PlaceValues {
    qint32 value;
    QString bits;
    std::vector<qint64> used;  // the place values that hold a 1, largest first
    QString hex;  // empty when the width is not a whole number of hex digits
    std::vector<PlaceTaken> taken;  // how the places were found
};
// Every bit inverted, then 1 added: the two's complement.
struct Inverted {
    QString bits;
};
// 1 added to a bit string as a column addition.
struct AddOne {
    QString before;
    QString carries;  // '1' over each column a carry goes into
    bool carryOut;    // a carry falls off the left end and is dropped
    QString after;
};
struct AddedOne {
    QString bits;
    QString hex;
    AddOne addition;
};
// What the two's complement pattern reads as, as a signed number of the same
// width: -value when that lies in range, otherwise something else.
struct ReadsAsSigned {
    qint32 value;  // the number that was negated
    qint16 bitCount;
    qint64 reading;
    QString bits;
    std::vector<qint64> terms;  // the places that hold a 1, the leftmost counting negative
};

// ---- Bits back to a number -------------------------------------------------------

// One character of a typed bit string and its place (0 = rightmost).
struct Place {
    qsizetype place;
    char32_t character;
};
// The characters of a typed bit string that matter: all of a short text,
// the ones of a long one up to a limit.
struct BitPlaces {
    qsizetype length;          // in characters
    std::vector<Place> listed;  // from the left
    bool onlyOnes;             // a long text: only the places holding a 1
    qsizetype onesNotListed;
    qsizetype others;          // characters other than 0 and 1
};
// The places that hold a 1 added up.
struct Sum {
    std::vector<qint64> terms;  // from the largest
    qint64 total;
    QString hex;
};
// The same bits read as two's complement of their own width: the leftmost
// place counts negative.
struct TwosReading {
    qsizetype width;
    std::vector<qint64> terms;
    qint64 total;
};
// A 1 stands further left than a 32-bit number reaches.
struct OneBeyondRange {
    qsizetype place;
};

// ---- Fixed point ------------------------------------------------------------------

// The whole part in binary, no leading zeros.
struct WholeBits {
    qint32 whole;
    QString bits;
    std::vector<qint64> used;  // the place values that hold a 1, largest first
    std::vector<PlaceTaken> taken;
};
// One row of repeated doubling: the fraction, doubled, the bit taken.
struct DoublingRow {
    float fraction;
    float doubled;
    qint16 bit;
};
struct Doubling {
    std::vector<DoublingRow> rows;
    float remainder;  // cut off, not rounded
    qsizetype rowsUntilZero;  // rows before the fraction is 0; each later one is 0 x 2 = 0
};
// The value the bits hold and how far it is from the number typed.
struct FixedValue {
    QString bits;        // whole "." fraction
    qint32 whole;
    std::vector<qint64> denominators;  // the fraction places that hold a 1: 2 for 1/2, 4 for 1/4, ...
    QString held;        // exact decimal
    QString typed;       // exact decimal
    QString difference;  // typed - held, exact decimal
};

// ---- Floating point ----------------------------------------------------------------

// Whole part and fraction as the fixed-point form the window shows.
struct FixedForm {
    qint32 whole;
    QString wholeBits;
    float fraction;
    QString fractionBits;
    QString fixed;
    std::vector<qint64> used;  // the whole part's place values that hold a 1
    std::vector<PlaceTaken> taken;
    Doubling doubling;  // the fraction's ten bits, before trailing zeros are dropped
};
// The point moves to stand just before the first 1.
struct PointMoved {
    QString fixed;
    qint16 exponent;
    bool noOne;  // zero: nothing to move the point to
    QString significant;  // from the first 1 to the last: the normalised form is 0.significant x 2^exponent
};
// The mantissa: a 0 sign bit and the digits, filled or cut to ten bits.
struct MantissaDigits {
    QString digits;    // sign bit and every digit, before filling or cutting
    QString mantissa;  // ten bits
    QString lost;      // digits cut off at the right, up to the last 1
    QString lostWorth;  // what the lost digits were worth in the number, exact decimal
};
// The mantissa negated for a negative number.
struct Negated {
    QString inverted;
    QString mantissa;
    AddOne addition;
};
// The exponent in six bits: for a negative one, its magnitude, then two's
// complement.
struct ExponentBits {
    qint16 exponent;
    QString magnitudeBits;
    QString bits;
    AddOne addition;  // for a negative exponent: the inverted magnitude plus 1
};
// The pair read back: mantissa x 2^exponent, against the number typed.
struct FloatingCheck {
    QString mantissa;
    bool negativeSign;                  // the sign place counts -1
    std::vector<qint64> denominators;   // the places after the point that hold a 1: 1/2, 1/8, ...
    qint16 exponent;
    QString mantissaValue;  // exact decimal
    QString value;          // exact decimal
    QString typed;          // exact decimal
    QString difference;     // typed - value, exact decimal
};
// A negative mantissa starting 11 stands for the right value but is not
// normalised; the normalised pair starts 10.
struct NotNormalised {
    QString mantissa;
    QString exponent;
};

// ---- Against the method taught by hand --------------------------------------------

// Why the window's answer is not the one worked by hand in the same format.
enum class HandCause {
    SinglePrecision,   // the number was read in single precision first
    FractionCutFirst,  // the fraction was cut to ten places before normalising
    BelowSmallest,     // every bit of the number lies beyond the ten places kept
    NotNormalised,     // a negative mantissa left starting 11
};
// The answer worked by hand (exact, normalised before cutting), where it
// differs from the boxes.
struct HandMethodDiffers {
    QString bits;   // as a mark scheme writes them
    QString value;  // exact decimal the bits hold
    HandCause cause;
};

// ---- Failures -----------------------------------------------------------------------

// What the conversion was doing when a run-time error stopped it.
enum class Stage {
    ReadingNumber,    // the number is too large for a double
    WholePart,        // the whole part is beyond 32 bits
    WholePartBits,    // the whole part needs more bits than there are
    ReadingFraction,  // the text with a point or exponent is not a number
    Summing,          // a 1 beyond the 32-bit range
};
struct Failed {
    rt::ErrorKind kind;
    Stage stage;
    QString text;    // the text being read
    double value;    // the number involved
    qint32 bitsNeeded = 0;  // for WholePartBits: the bits the whole part needs
    qint32 bitsThere = 0;   // and the bits there are (also for WholePart)
};

using Step = std::variant<NotANumber, Negative, NeedsMoreBits, NotWhole, OutsideFixedRange, HeldInSingle,
                          CarriedIntoWhole, MagnitudeOfNegative, WholeInRange, PlaceValues, Inverted,
                          AddedOne, ReadsAsSigned, BitPlaces, Sum, TwosReading, OneBeyondRange, WholeBits,
                          Doubling, FixedValue, FixedForm, PointMoved, MantissaDigits, Negated, ExponentBits,
                          FloatingCheck, NotNormalised, HandMethodDiffers, Failed>;
using Working = std::vector<Step>;

// The first step of type T, or nullptr.
template <typename T>
const T *find(const Working &steps)
{
    for (const Step &step : steps) {
        if (const T *found = std::get_if<T>(&step))
            return found;
    }
    return nullptr;
}

}  // namespace quorvex::working
