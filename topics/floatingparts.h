// SPDX-License-Identifier: MIT
// What the two floating-point topics share: a mantissa whose point stands
// after its sign bit, written either in two's complement (float:M:E) or as a
// sign bit and a magnitude (float-signmag:M:E), and a two's complement
// exponent. A number's magnitude is found in binary, normalised and cut (or
// rounded) the same way for both; the exponent is written and read the same
// way; only the mantissa's sign is dealt with differently. The steps below
// say themselves in floatingpoint.cpp, each in the words of its mantissa.
#pragma once

#include "engine/exact.h"
#include "engine/format.h"
#include "engine/marking.h"
#include "engine/methods.h"
#include "engine/steps.h"
#include "engine/topic.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace quorvex::workbench {

class Words;

// How the mantissa writes its sign.
enum class MantissaCode { Twos, SignMagnitude };

namespace step {

// Beyond the largest value, or the most negative.
struct TooLarge {
    Typed value;
    bool negative = false;
    exact::Number limit;
    QString limitBits;
    qint64 exponent = 0;  // the exponent it would need; 0 when unknown
    qint64 highest = 0;
};
// Nearer zero than the smallest normalised value.
struct TooSmall {
    Typed value;
    qint64 exponent = 0;  // the exponent it would need; 0 when unknown
    qint64 lowest = 0;
    exact::Number smallest;
    QString smallestBits;
};
struct Zero {};
// The binary form, the point moved before the first 1, and the digits cut
// to the mantissa's width.
struct Normalised {
    QString whole, fraction;  // the binary form as found
    qint64 exponent = 0;
    QString digits;         // the mantissa's digits after its sign bit
    QString lost;           // found digits cut off
    bool moreLost = false;  // and digits beyond those, not worked out
    // Rounding to nearest: the digits as cut, and whether what was left was
    // half the last place or more, so that 1 was added (`exponent` and
    // `digits` are then the rounded ones).
    bool nearest = false;
    QString cutDigits;
    bool roundedUp = false;
    bool carriedOut = false;  // the 1 added carried out of the mantissa: 0.11…1 became 1.00…0
    qint64 roundedExponent = 0;
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
    qint64 stepPower = 0;  // the mantissa's last place is worth 2^stepPower
    qint64 cutPower = 0;   // where the digits were cut, before any shift back
    bool nearest = false;  // rounded to nearest rather than cut
    MantissaCode code = MantissaCode::Twos;
};
struct ExponentValue {
    QString bits;
    qint64 value = 0;
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
    MantissaCode code = MantissaCode::Twos;
};
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
    MantissaCode code = MantissaCode::Twos;
};
// After the range's extremes: how they are made, and the gap near 1.
struct FloatingStep {
    Extreme one, next;  // neighbours near 1 whose gap is the step
    exact::Number step;
    MantissaCode code = MantissaCode::Twos;
};

}  // namespace step

QUORVEX_REFUSAL(step::TooLarge)
QUORVEX_REFUSAL(step::TooSmall)
QUORVEX_STEP(step::Zero)
QUORVEX_STEP(step::Normalised)
QUORVEX_STEP(step::ExponentBits)
QUORVEX_STEP(step::FloatingHeld)
QUORVEX_STEP(step::ExponentValue)
QUORVEX_STEP(step::FloatingValue)
QUORVEX_STEP(step::NormalisedCheck)
QUORVEX_REFUSAL(step::Shifts)
QUORVEX_STEP(step::FloatingStep)

namespace floating {

// The exponent e in the format's two's complement bits, and back.
QString exponentBits(const Format &format, qint64 e);
qint64 exponentValue(const Format &format, const QString &bits);

// ---- The formats: widths and patterns ----------------------------------------
// The widths after the name's colon, "M:E", as a format of `topic`.
std::optional<Format> parseWidths(const Topic &topic, QStringView widths, QString *why);
bool offeredWidths(const Format &format);
// The mantissa, a blank, the exponent; as a question prints it, each part in
// fours when it divides so.
QString writtenPair(const Format &format, const QString &bits);
QString printedPair(const Format &format, const QString &bits);
QString wrongCountText(const Words &words, qsizetype typed);
// A point typed elsewhere than after the sign bit; a part of the wrong width.
QString pointProblem(const practice::BitsMarking &m);
QString countNote(const practice::BitsMarking &m);

// The places of a mantissa that hold a 1, added up: "-1 + 1/4" in two's
// complement, "-(1/2 + 1/4)" as a sign and a magnitude.
QString mantissaSum(const Words &words, const QString &mantissa, MantissaCode code);

// The largest value (0 then all 1s, the highest exponent) and the smallest
// positive normalised one (01 then 0s, the lowest exponent): the same
// patterns whichever way the mantissa writes its sign.
step::Extreme largest(const Format &format);
step::Extreme smallestNormalised(const Format &format);
// The step near 1: 1 and its neighbour above (or, with no bit to spare, the
// nearest pair there is).
step::FloatingStep stepNearOne(const Format &format, MantissaCode code);

// A magnitude (not zero) normalised to 0.1… x 2^exponent and its digits
// after the sign bit cut, or rounded to nearest, to the mantissa.
struct Cut {
    quint64 cutDigits = 0;  // the mantissa's digits after its sign bit, as cut
    quint64 digits = 0;     // and as the format's rounding leaves them
    qint64 cutOrder = 0;    // the exponent the cut was made at
    qint64 exponent = 0;    // the exponent after a rounding that carried out
    bool roundedUp = false, carriedOut = false;
};
Cut cutMagnitude(const Format &format, const exact::Number &size);
// A denary number to write in the format, read and its magnitude cut;
// `answered` holds the answer already when the number is not one, is far
// beyond every format, or is 0.
struct ToWrite {
    std::optional<Worked> answered;
    exact::Reading reading;
    Typed typed;
    Steps steps;  // how the number was read
    exact::Number size;
    Cut cut;
};
ToWrite readToWrite(const Topic &topic, const Format &format, const QString &input,
                    const step::Extreme &mostNegative);
// The number refused: beyond the largest (or most negative) value, or
// nearer 0 than the smallest normalised one, needing `exponent` (0 when
// not worked out).
Worked overflow(ToWrite &w, const Format &format, const step::Extreme &mostNegative, qint64 exponent);
Worked underflow(ToWrite &w, const Format &format, qint64 exponent);
// The magnitude in binary: its whole part by place values, its fraction
// doubled as far as the mantissa uses it, and the point moved to normalise
// it, with the cut said.
void magnitudeSteps(const Format &format, const exact::Number &size, const Cut &cut, Steps &steps);
// The exponent's bits: a negative one's size, then its two's complement.
void exponentSteps(const Format &format, qint64 e, Steps &steps);

// The mantissa shifted left until it is normalised, taking 1 from the
// exponent each time, as far as the lowest exponent allows.
step::Shifts normalise(const Topic &topic, const Format &format, MantissaCode code, const QString &mantissa,
                       qint64 exponent);
// What bits to denary finds of a pair's normal form.
step::NormalisedCheck checkOf(const step::Shifts &shifts);

// ---- Marking the exponent and the cut, which the two mantissas share -----------
// Bits answers with the right mantissa and the wrong exponent (the point
// moved the wrong way, the exponent in sign and magnitude, inverted without
// adding 1, or off), and with the last bit rounded where the method cuts or
// cut where it rounds.
void exponentCandidates(const practice::BitsMarking &m, std::vector<practice::Candidate> &c);
void roundingCandidates(const Topic &topic, const practice::BitsMarking &m, std::vector<practice::Candidate> &c);
// The words of those, after `lead`; empty for another mistake.
QString exponentSentence(const practice::BitsMarking &m, practice::Mistake mistake, const QString &lead);
// Number answers: the exponent misread, with the mantissa's value `mantissa`.
void exponentMisreadings(const practice::NumberMarking &m, const exact::Number &mantissa,
                         std::vector<practice::Misreading> &c);
// The words of those, after `lead`; empty for another mistake.
QString exponentReading(const practice::NumberMarking &m, const practice::Misreading &c, const QString &lead);
// The step before which a number answer's exponent slip parts from the method.
qsizetype exponentReadingStep(const Steps &steps, const practice::Misreading &c, qsizetype moved);

}  // namespace floating

}  // namespace quorvex::workbench
