// SPDX-License-Identifier: MIT
#include "core/runtime.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace rt {

const char *RuntimeError::what() const noexcept
{
    switch (m_kind) {
    case ErrorKind::Overflow:
        return "overflow";
    case ErrorKind::SubscriptOutOfRange:
        return "subscript out of range";
    case ErrorKind::TypeMismatch:
        return "type mismatch";
    case ErrorKind::FloatingPointFault:
        return "floating-point fault";
    }
    return "run-time error";
}

void raise(ErrorKind kind)
{
    throw RuntimeError(kind);
}

// ---- Texts -------------------------------------------------------------------

std::u32string toCodePoints(const QString &text)
{
    std::u32string points;
    points.reserve(size_t(text.size()));
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            points.push_back(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            points.push_back(c.unicode());
        }
    }
    return points;
}

QString fromCodePoints(std::u32string_view points)
{
    QString text;
    text.reserve(qsizetype(points.size()));
    for (char32_t p : points) {
        if (QChar::requiresSurrogates(p)) {
            text.append(QChar(QChar::highSurrogate(p)));
            text.append(QChar(QChar::lowSurrogate(p)));
        } else {
            text.append(QChar(char16_t(p)));
        }
    }
    return text;
}

namespace {

// Most texts hold no surrogate pair; in those a code point is one QChar and
// the work can be done on the text as it is.
bool hasSurrogates(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
}

}  // namespace

qsizetype length(const QString &text)
{
    if (!hasSurrogates(text))
        return text.size();
    return qsizetype(toCodePoints(text).size());
}

QString middle(const QString &text, qsizetype start, qsizetype count)
{
    if (start < 1 || count < 0)
        raise(ErrorKind::SubscriptOutOfRange);
    if (!hasSurrogates(text))
        return start > text.size() ? QString() : text.mid(start - 1, count);
    const std::u32string points = toCodePoints(text);
    const auto size = qsizetype(points.size());
    if (start > size)
        return {};
    const qsizetype taken = std::min(count, size - start + 1);
    return fromCodePoints(std::u32string_view(points).substr(size_t(start - 1), size_t(taken)));
}

QString left(const QString &text, qsizetype count)
{
    if (count < 0)
        raise(ErrorKind::SubscriptOutOfRange);
    return middle(text, 1, count);
}

QString right(const QString &text, qsizetype count)
{
    if (count < 0)
        raise(ErrorKind::SubscriptOutOfRange);
    const qsizetype size = length(text);
    const qsizetype taken = std::min(count, size);
    return middle(text, size - taken + 1, taken);
}

QString reverse(const QString &text)
{
    if (!hasSurrogates(text)) {
        QString reversed = text;
        std::reverse(reversed.begin(), reversed.end());
        return reversed;
    }
    std::u32string points = toCodePoints(text);
    std::reverse(points.begin(), points.end());
    return fromCodePoints(points);
}

qsizetype find(const QString &haystack, const QString &needle)
{
    if (!hasSurrogates(haystack) && !hasSurrogates(needle)) {
        if (needle.isEmpty())
            return haystack.isEmpty() ? 0 : 1;
        return haystack.indexOf(needle) + 1;
    }
    const std::u32string h = toCodePoints(haystack);
    const std::u32string n = toCodePoints(needle);
    if (n.empty())
        return h.empty() ? 0 : 1;
    const size_t at = h.find(n);
    return at == std::u32string::npos ? 0 : qsizetype(at) + 1;
}

QString trim(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

// ---- Reading numbers ---------------------------------------------------------

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads a number starting at `from`, blanks first. Exponent digits that
// would not fit are saturated: such a value is far outside every range.
ScannedNumber scanNumber(const QString &text, qsizetype from)
{
    constexpr qint64 saturated = qint64(1) << 52;
    ScannedNumber number;
    const qsizetype n = text.size();
    qsizetype i = from;
    while (i < n && text.at(i) == u' ')
        ++i;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        number.negative = text.at(i) == u'-';
        ++i;
    }
    bool point = false;
    qint64 fractionDigits = 0;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (isDigit(c)) {
            number.digits.push_back(char(c.unicode()));
            if (point)
                ++fractionDigits;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (number.digits.empty())
        return number;
    number.found = true;
    number.end = i;
    qint64 exponent = 0;
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype j = i + 1;
        bool negativeExponent = false;
        if (j < n && (text.at(j) == u'+' || text.at(j) == u'-')) {
            negativeExponent = text.at(j) == u'-';
            ++j;
        }
        if (j < n && isDigit(text.at(j))) {
            for (; j < n && isDigit(text.at(j)); ++j)
                exponent = std::min(saturated, exponent * 10 + (text.at(j).unicode() - u'0'));
            if (negativeExponent)
                exponent = -exponent;
            number.end = j;
            number.exponentWritten = true;
        }
    }
    number.exponent = exponent - fractionDigits;
    return number;
}

// Whether only blanks follow the number.
bool onlyBlanksFrom(const QString &text, qsizetype i)
{
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    return i == text.size();
}

std::string asciiForm(const ScannedNumber &number)
{
    std::string s = number.negative ? "-" : "";
    s += number.digits;
    s += 'e';
    s += std::to_string(number.exponent);
    return s;
}

// The number as the nearest float or double, read with std::from_chars (one
// format, whatever the locale): infinite beyond the range, zero or subnormal
// below it.
template <typename Real>
Real nearest(const ScannedNumber &number)
{
    const std::string ascii = asciiForm(number);
    Real value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    (void)end;
    if (error != std::errc::result_out_of_range)
        return value;
    // Out of range leaves `value` unset: the number is too large when it has
    // a digit at or before the units place, and too small otherwise.
    const size_t significant = number.digits.find_first_not_of('0');
    if (significant == std::string::npos)
        return Real(0);
    const qint64 magnitude = qint64(number.digits.size() - significant) + number.exponent;
    const Real size = magnitude > 0 ? std::numeric_limits<Real>::infinity() : Real(0);
    return number.negative ? -size : size;
}

double nearestDouble(const ScannedNumber &number)
{
    return nearest<double>(number);
}

// Reads the number; overflow when it is beyond the type's range.
double readDouble(const ScannedNumber &number)
{
    const double value = nearestDouble(number);
    if (!std::isfinite(value))
        raise(ErrorKind::Overflow);
    return value;
}

float readSingle(const ScannedNumber &number)
{
    const float value = nearest<float>(number);
    if (!std::isfinite(value))
        raise(ErrorKind::Overflow);
    return value;
}

}  // namespace

ScannedNumber scan(const QString &text)
{
    ScannedNumber number = scanNumber(text, 0);
    number.wholeText = number.found && onlyBlanksFrom(text, number.end);
    return number;
}

bool isNumeric(const QString &text)
{
    return isNumeric(scan(text));
}

bool isNumeric(const ScannedNumber &number)
{
    return number.wholeText && std::isfinite(nearestDouble(number));
}

double leadingValue(const QString &text)
{
    return leadingValue(scanNumber(text, 0));
}

double leadingValue(const ScannedNumber &number)
{
    return number.found ? readDouble(number) : 0.0;
}

bool leadingHasExponent(const QString &text)
{
    return scanNumber(text, 0).exponentWritten;
}

float toSingle(const QString &text)
{
    return toSingle(scan(text));
}

float toSingle(const ScannedNumber &number)
{
    if (!number.wholeText)
        raise(ErrorKind::TypeMismatch);
    return readSingle(number);
}

double toDouble(const QString &text)
{
    const ScannedNumber number = scan(text);
    if (!number.wholeText)
        raise(ErrorKind::TypeMismatch);
    return readDouble(number);
}

qint32 toLong(const QString &text)
{
    return toLong(scan(text));
}

qint32 toLong(const ScannedNumber &number)
{
    if (!number.wholeText)
        raise(ErrorKind::TypeMismatch);
    // Work on the exact decimal digits: value = digits x 10^exponent.
    std::string_view digits = number.digits;
    while (!digits.empty() && digits.front() == '0')
        digits.remove_prefix(1);
    if (digits.empty())
        return 0;
    const auto count = qint64(digits.size());
    const qint64 wholeCount = count + number.exponent;  // digits before the point
    if (wholeCount > 10)
        raise(ErrorKind::Overflow);
    qint64 whole = 0;
    for (qint64 k = 0; k < wholeCount; ++k)
        whole = whole * 10 + (k < count ? digits[size_t(k)] - '0' : 0);
    // The first digit after the point decides, the rest only break a tie.
    int first = 0;
    bool restNonZero = false;
    if (wholeCount >= 0 && wholeCount < count) {
        first = digits[size_t(wholeCount)] - '0';
        restNonZero = digits.find_first_not_of('0', size_t(wholeCount) + 1) != std::string_view::npos;
    } else if (wholeCount < 0) {
        restNonZero = true;  // a non-zero value below 0.1: rounds to 0
    }
    if (first > 5 || (first == 5 && (restNonZero || whole % 2 == 1)))
        ++whole;
    return toInt32(number.negative ? -whole : whole);
}

// ---- Writing numbers ---------------------------------------------------------

QString signedText(qint32 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

QString exactText(double value)
{
    if (!std::isfinite(value))
        raise(ErrorKind::FloatingPointFault);
    if (value == 0.0)
        return QStringLiteral("0");
    // value = mantissa x 2^exponent with a whole 53-bit mantissa; its exact
    // decimal form has as many decimals as the lowest set bit lies below the
    // point (at most 1074), and the last of them is a 5, never a 0.
    int exponent = 0;
    const auto mantissa = quint64(std::ldexp(std::abs(std::frexp(value, &exponent)), 53));
    const int lowestBit = exponent - 53 + std::countr_zero(mantissa);
    const int decimals = std::max(0, -lowestBit);
    char buffer[1500];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return QString::fromLatin1(buffer, qsizetype(result.ptr - buffer));
}

QString singleToText(float value)
{
    return exactText(double(value));
}

QString leadingDecimal(const QString &text, qsizetype maxDigits)
{
    return leadingDecimal(scanNumber(text, 0), maxDigits);
}

QString leadingDecimal(const ScannedNumber &number, qsizetype maxDigits)
{
    if (!number.found)
        return QStringLiteral("0");
    // digits x 10^exponent, without leading or trailing zeros.
    std::string_view digits = number.digits;
    qint64 exponent = number.exponent;
    while (!digits.empty() && digits.front() == '0')
        digits.remove_prefix(1);
    while (!digits.empty() && digits.back() == '0') {
        digits.remove_suffix(1);
        ++exponent;
    }
    if (digits.empty())
        return QStringLiteral("0");
    const auto count = qint64(digits.size());
    const qint64 point = count + exponent;  // digits before the point
    if (std::max(count, point) - std::min<qint64>(0, point) > maxDigits)
        return {};
    std::string out = number.negative ? "-" : "";
    if (point <= 0) {
        out += "0.";
        out.append(size_t(-point), '0');
        out += digits;
    } else if (point >= count) {
        out += digits;
        out.append(size_t(point - count), '0');
    } else {
        out += digits.substr(0, size_t(point));
        out += '.';
        out += digits.substr(size_t(point));
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

// ---- Arithmetic --------------------------------------------------------------

qint16 toInt16(qint64 value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        raise(ErrorKind::Overflow);
    return qint16(value);
}

qint32 toInt32(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        raise(ErrorKind::Overflow);
    return qint32(value);
}

namespace {

// A whole double to 64 bits, for the range checks above; NaN and values far
// outside every range are overflow.
qint64 wholeToInt64(double whole)
{
    if (!(whole > -9.0e15 && whole < 9.0e15))
        raise(ErrorKind::Overflow);
    return qint64(whole);
}

}  // namespace

qint16 truncToInt16(double value)
{
    return toInt16(wholeToInt64(std::trunc(value)));
}

qint32 truncToInt32(double value)
{
    return toInt32(wholeToInt64(std::trunc(value)));
}

qint32 roundToLong(double value)
{
    // nearbyint rounds halves to even in the default rounding mode.
    return toInt32(wholeToInt64(std::nearbyint(value)));
}

qint16 absInt16(qint16 value)
{
    return toInt16(value < 0 ? -qint64(value) : qint64(value));
}

double power(double x, double y)
{
    const double result = std::pow(x, y);
    if (std::isnan(result))
        raise(ErrorKind::FloatingPointFault);
    if (std::isinf(result))
        raise(ErrorKind::Overflow);
    return result;
}

}  // namespace rt
