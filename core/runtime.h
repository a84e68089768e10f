// SPDX-License-Identifier: MIT
// Quorvex runtime services: the text, number and error operations that the
// bit-string routines and every converter window build on.
//
// Texts are Unicode; a "character" is one Unicode code point, so lengths and
// positions count code points, not UTF-16 units. Positions are 1-based.
//
// Numbers are read in one fixed, locale-independent format:
//   blanks* [+|-] digits-with-at-most-one-point [(e|E) [+|-] digits] blanks*
// where blanks are U+0020 spaces and digits are ASCII 0-9, with at least one
// digit before the exponent.
//
// Anything that would leave a 16-bit or 32-bit integer range, index outside
// an array, or produce a floating-point fault throws RuntimeError instead.
#pragma once

#include <QString>
#include <QtGlobal>

#include <exception>
#include <string>

namespace rt {

enum class ErrorKind {
    Overflow,
    SubscriptOutOfRange,
    TypeMismatch,
    FloatingPointFault,
};

// The one error the runtime raises. It carries its kind; turning it into text
// for the user is the job of the windows' handler guard.
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(ErrorKind kind) : m_kind(kind) {}
    ErrorKind kind() const noexcept { return m_kind; }
    const char *what() const noexcept override;

private:
    ErrorKind m_kind;
};

[[noreturn]] void raise(ErrorKind kind);

// ---- Texts, counted in code points --------------------------------------

// A text as a sequence of code points. A lone surrogate stays a code point of
// its own, so converting there and back never changes a text.
std::u32string toCodePoints(const QString &text);
QString fromCodePoints(std::u32string_view points);

qsizetype length(const QString &text);
QString left(const QString &text, qsizetype count);
QString right(const QString &text, qsizetype count);
QString middle(const QString &text, qsizetype start, qsizetype count);
QString reverse(const QString &text);
// 1-based position of the first occurrence of needle, 0 when absent.
qsizetype find(const QString &haystack, const QString &needle);
// Removes leading and trailing U+0020 blanks.
QString trim(const QString &text);

// ---- Numbers from text -----------------------------------------------------

// A text read once: the number at its start, in a plain ASCII form that the
// C library reads without regard to the user's locale. Every reading below
// works from one; a caller that needs several readings of one text scans it
// once with scan() and passes this on.
struct ScannedNumber {
    bool found = false;
    bool wholeText = false;  // nothing but blanks follows the number
    qsizetype end = 0;       // index just past the number in the text
    bool negative = false;
    std::string digits;      // every mantissa digit, the point left out
    qint64 exponent = 0;     // value = digits x 10^exponent (saturated)
    bool exponentWritten = false;  // "e" or "E" with digits follows the mantissa
};
ScannedNumber scan(const QString &text);

// True when the whole text is one finite number in the format above.
bool isNumeric(const QString &text);
// The value of the longest number at the start of the text (after blanks);
// 0 when there is none. Overflow when that number is too large for a double.
double leadingValue(const QString &text);
// Whether the number at the start of the text is written with an exponent
// ("25e-1", "5E2abc").
bool leadingHasExponent(const QString &text);
// Whole text to single precision, correctly rounded; type mismatch when the
// text is not a number, overflow when it is too large for a single.
float toSingle(const QString &text);
// Whole text to double; type mismatch when the text is not a number.
double toDouble(const QString &text);
// Whole text to a 32-bit integer, halves rounded to even and decided on the
// exact decimal digits; type mismatch or overflow as above.
qint32 toLong(const QString &text);

// The same readings of a text already scanned.
bool isNumeric(const ScannedNumber &number);
double leadingValue(const ScannedNumber &number);
float toSingle(const ScannedNumber &number);
qint32 toLong(const ScannedNumber &number);
QString leadingDecimal(const ScannedNumber &number, qsizetype maxDigits);

// ---- Numbers to text -------------------------------------------------------

// " 5" for a non-negative number, "-5" for a negative one.
QString signedText(qint32 value);
// The exact decimal value a single holds, without exponent, trailing zeros or
// trailing point: 5.75f gives "5.75", 2.0f gives "2".
QString singleToText(float value);
// The exact decimal value a double holds, in the same form; a
// floating-point fault when it is not finite.
QString exactText(double value);
// The number at the start of the text exactly as written, as a plain
// decimal without exponent, leading or trailing zeros ("25e-1x" gives
// "2.5", "-0.50" gives "-0.5", no number gives "0"); empty when that
// decimal would have more than maxDigits digits.
QString leadingDecimal(const QString &text, qsizetype maxDigits);

// ---- Checked arithmetic ----------------------------------------------------

qint16 toInt16(qint64 value);  // overflow outside -32768..32767
qint32 toInt32(qint64 value);  // overflow outside the 32-bit range
// Truncate toward zero into 16 or 32 bits; overflow when out of range or NaN.
qint16 truncToInt16(double value);
qint32 truncToInt32(double value);
// Round to the nearest 32-bit integer, halves to even; overflow as above.
qint32 roundToLong(double value);
qint16 absInt16(qint16 value);
// x to the power y; a floating-point fault when the result is not finite.
double power(double x, double y);

}  // namespace rt
