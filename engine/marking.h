// SPDX-License-Identifier: MIT
// What marking shares with the topics: the usual mistakes, the student's
// answer as read, and the question as marked. Practice runs the marking;
// each topic knows its own slips: which faulty methods to try, the words
// for each, and the step of the working where each parts from the method.
#pragma once

#include "engine/exact.h"
#include "engine/format.h"
#include "engine/operation.h"
#include "engine/steps.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

namespace quorvex::practice {

using workbench::Direction;

// What a wrong answer shows about how it was found. The mistakes of a
// number written in bits come first, then those of bits read as a number.
enum class Mistake {
    None,                      // the answer is right
    QuestionRefused,           // the question itself has no answer in this format
    Unreadable,                // not bits (or not a number), or nothing written
    WrongCount,                // too many or too few bits
    PointMisplaced,            // the point where this format has none, or in another place
    NotNormalised,             // the right value, but not normalised
    NoComplement,              // a negative number written as its size (two's complement not taken)
    SignAndMagnitude,          // a sign bit in front of the size; or a pattern read that way
    InvertedOnly,              // bits inverted, 1 not added; or a pattern read that way
    ExponentWrongWay,          // exponent's sign wrong: the point moved the wrong way
    ExponentSignAndMagnitude,  // the exponent written (or read) in sign and magnitude
    ExponentInvertedOnly,      // the exponent's bits inverted, 1 not added
    ExponentOff,               // the exponent off by one or more (or not changed by a shift)
    Swapped,                   // mantissa and exponent swapped
    Rounded,                   // the last bit rounded where the method cuts
    Cut,                       // the bits cut where the method rounds to nearest
    Reversed,                  // the bits in reverse order
    SignReadPositive,          // bits to denary: a sign place counted positive
    UnsignedReadNegative,      // bits to denary: an unsigned pattern read as two's complement
    HiddenOne,                 // bits to denary: a hidden leading 1 assumed
    PointIgnored,              // bits to denary: fixed-point bits read as a whole number
    MinusLeftOut,              // bits to denary: the right size with the wrong sign
    HexDigitOff,               // a hex digit's value off by one (B taken as 12)
    HexDigitAsPosition,        // a hex letter read as its place in the alphabet (A as 1)
    HexReversed,               // the hex digits in reverse order
    HexGroupedFromLeft,        // the bits grouped in fours from the left, not from the right
    HexDenaryDigits,           // a denary number written for a hex digit above 9 ("15" for F)
    TwosComplementGiven,       // two's complement written (or read) where sign and magnitude or one's complement is asked
    OnesComplementGiven,       // one's complement written (or read) where sign and magnitude is asked
    BcdGiven,                  // BCD written where pure binary is asked
    BinaryGiven,               // pure binary written (or read) where BCD is asked
    DigitAboveNine,            // a BCD nibble above 1001: a "digit" of 10 to 15
    CarryDropped,              // a calculation: added with no carries, each column on its own
    CarryOutKept,              // a calculation: the carry out kept as one bit more than the format has
    OverflowMissed,            // a calculation: the right bits, but no overflow said where there is one
    OverflowClaimed,           // a calculation: the right bits, but overflow said where there is none
    WrongOperandNegated,       // a subtraction: the first number negated, not the second (b - a)
    MagnitudesSubtracted,      // a subtraction: the smaller taken from the larger, the sign lost
    ShiftWrongWay,             // a shift or rotate the other way
    LogicalForArithmetic,      // a shift right: 0s brought in where the sign bit is copied
    RotateForShift,            // a rotate where a shift is asked, or a shift where a rotate is
    MaskSwapped,               // AND, OR and XOR taken for one another
    BiasNotAdded,              // IEEE 754: the exponent written without its bias; or read without taking it away
    BiasTwice,                 // IEEE 754: the bias added twice; or, read, taken away twice
    HiddenOneWritten,          // IEEE 754: the hidden 1 written as the fraction's first bit
    ExponentOfPointOne,        // IEEE 754: the exponent of 0.1f taken for that of 1.f (one more)
    RoundedTowardZero,         // IEEE 754: the fraction cut where it is rounded to nearest
    TieAwayFromEven,           // IEEE 754: a tie rounded up (away from zero) where ties go to even
    SignBitWrong,              // IEEE 754: the sign bit the wrong way round
    ExponentsNotEqual,         // mantissas added without making the exponents the same
    LargerShifted,             // the larger number's mantissa shifted to make the exponents equal
    SubtractionSignLost,       // a subtraction added, or taken the other way round
    DividedByStored,           // a relative error divided by the value stored, not the true one
    SignedError,               // an absolute error given with its sign
    RangePrecisionSwapped,     // the format with the larger range taken as the more precise
    SignBitShifted,            // a sign and magnitude mantissa normalised with its sign bit shifted too
    Other,                     // wrong, matching none of the above
};

// The sentences of marking.
struct Words {
    Q_DECLARE_TR_FUNCTIONS(Practice)
};

// A question or answer as printed: a real minus sign.
QString printed(const QString &text);
// A value in a verdict: exact, printed, abridged when very long.
QString shown(const exact::Number &n);
QString count(qsizetype n);  // "1 bit", "5 bits"
QString places(qint64 n);    // "1 place", "3 places"
// The bits of a pattern as the workbench writes it, without blanks or point.
QString plain(QString text);

// A student's bits as written.
struct StudentBits {
    QString bits;
    QStringList others;  // characters that are not bits, blanks or points
    QList<int> points;   // how many bits stand before each point
    QList<int> groups;   // bits in each blank-separated group
};
StudentBits readStudentBits(const QString &text);

// A faulty method's bits, to set against the student's.
struct Candidate {
    Mistake mistake;
    QString bits;
};

// A question answered in bits (to binary, normalise), as marked.
struct BitsMarking {
    const Format &format;
    Direction direction;
    const QString &question;
    const QString &rightText;        // the right answer as the workbench writes it
    const workbench::Steps &steps;   // its working
    const StudentBits &student;
    QString s, r;                    // the student's bits and the right ones
    exact::Number sv, rv;            // their values
};

// The words of the slips every topic of bits shares (a sign bit in front of
// the size, rounded where the method cuts, the bits reversed) and of an
// answer that follows none, after `lead` ("Your answer 0101 stands for 5").
QString sharedSentence(const BitsMarking &m, Mistake mistake, const QString &lead);

// A faulty reading of a pattern; `part` tells which for the words:
// 0 the pattern or its mantissa, 1 the exponent, 2 both, or a distance.
struct Misreading {
    Mistake mistake;
    exact::Number value;
    qint64 part = 0;
};

struct NumberMarking;
// The words of the misreadings every topic of two's complement shares (the
// minus left out, read as sign and magnitude, inverted without adding 1, the
// bits reversed) after `lead` ("Your answer, -91,"); `lead` for any other.
QString sharedReading(Mistake mistake, const QString &lead);

// A pattern to be read as a number (to denary), as marked.
struct NumberMarking {
    const Format &format;
    const QString &bits;            // the question's bits
    const workbench::Steps &steps;  // the right working
    const QString &answer;          // the student's answer, trimmed
    exact::Number rv;               // the pattern's value
};

}  // namespace quorvex::practice
