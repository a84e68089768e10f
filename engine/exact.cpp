// SPDX-License-Identifier: MIT
#include "engine/exact.h"

#include <gmpxx.h>

#include <algorithm>
#include <new>
#include <string>

namespace quorvex::exact {

static_assert(sizeof(mpq_class) <= sizeof(Number) && alignof(mpq_class) <= 8);

struct Access {
    static mpq_class &q(Number &n) { return *std::launder(reinterpret_cast<mpq_class *>(n.m_storage)); }
    static const mpq_class &q(const Number &n)
    {
        return *std::launder(reinterpret_cast<const mpq_class *>(n.m_storage));
    }
    static Number make(mpq_class &&value)
    {
        Number n;
        q(n) = std::move(value);
        return n;
    }
};

namespace {

using A = Access;

// A value past which no format reaches: 10^1000 is above 2^2048 and
// 10^-1000 below 2^-2049.
constexpr qint64 readingOrders = 1000;

// How many times 5 divides a power of five; for the same denominator asked
// again and again (the rows of one doubling) the answer is remembered.
unsigned long fivesIn(const mpz_class &powerOfFive)
{
    thread_local mpz_class last = 1;
    thread_local unsigned long count = 0;
    if (powerOfFive != last) {
        mpz_class rest;
        count = mpz_remove(rest.get_mpz_t(), powerOfFive.get_mpz_t(), mpz_class(5).get_mpz_t());
        last = powerOfFive;
    }
    return count;
}

QString latin(const std::string &s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

// The parts of a value's exact decimal: sign, whole part and the fraction's
// digits, which number max(twos, fives) of the reduced denominator 2^twos 5^fives.
struct DecimalParts {
    bool negative = false;
    mpz_class whole, rest;  // |value| = whole + rest / den
    mpz_class den;
    unsigned long twos = 0, fives = 0, digits = 0;
};

DecimalParts parts(const mpq_class &value)
{
    DecimalParts p;
    p.negative = sgn(value) < 0;
    p.den = value.get_den();
    mpz_class num = abs(value.get_num());
    mpz_tdiv_qr(p.whole.get_mpz_t(), p.rest.get_mpz_t(), num.get_mpz_t(), p.den.get_mpz_t());
    if (p.den != 1) {
        p.twos = mpz_scan1(p.den.get_mpz_t(), 0);
        mpz_class odd = p.den >> p.twos;
        p.fives = odd == 1 ? 0 : fivesIn(odd);
    }
    p.digits = std::max(p.twos, p.fives);
    return p;
}

// The fraction's digits, all `digits` of them: rest x 10^digits / den.
std::string fractionDigits(const DecimalParts &p)
{
    mpz_class scaled = p.rest;
    mpz_mul_2exp(scaled.get_mpz_t(), scaled.get_mpz_t(), p.digits - p.twos);
    mpz_class five;
    mpz_ui_pow_ui(five.get_mpz_t(), 5, p.digits - p.fives);
    scaled *= five;
    std::string s = scaled.get_str();
    s.insert(0, p.digits - s.size(), '0');
    return s;
}

}  // namespace

Number::Number() { new (m_storage) mpq_class(); }
Number::Number(qint64 value)
{
    new (m_storage) mpq_class();
    mpz_set_si(A::q(*this).get_num_mpz_t(), long(value));
}
Number Number::fromUnsigned(quint64 value)
{
    Number n;
    mpz_set_ui(A::q(n).get_num_mpz_t(), static_cast<unsigned long>(value));
    return n;
}
Number Number::power2(qint64 exponent)
{
    Number n(1);
    return n.times2(exponent);
}
Number Number::fromDecimal(QStringView text)
{
    const Reading r = readDecimal(text);
    return r.kind == Reading::Kind::Exact ? r.value : Number();
}

Number::Number(const Number &other) { new (m_storage) mpq_class(A::q(other)); }
Number::Number(Number &&other) noexcept { new (m_storage) mpq_class(std::move(A::q(other))); }
Number &Number::operator=(const Number &other)
{
    A::q(*this) = A::q(other);
    return *this;
}
Number &Number::operator=(Number &&other) noexcept
{
    mpq_swap(A::q(*this).get_mpq_t(), A::q(other).get_mpq_t());
    return *this;
}
Number::~Number() { A::q(*this).~mpq_class(); }

int Number::sign() const { return sgn(A::q(*this)); }
bool Number::isInteger() const { return A::q(*this).get_den() == 1; }
Number Number::abs() const { return A::make(::abs(A::q(*this))); }
Number Number::operator-() const { return A::make(-A::q(*this)); }
Number Number::times2(qint64 exponent) const
{
    mpq_class out;
    if (exponent >= 0)
        mpq_mul_2exp(out.get_mpq_t(), A::q(*this).get_mpq_t(), mp_bitcnt_t(exponent));
    else
        mpq_div_2exp(out.get_mpq_t(), A::q(*this).get_mpq_t(), mp_bitcnt_t(-exponent));
    return A::make(std::move(out));
}
Number Number::truncated() const
{
    mpz_class whole;
    mpz_tdiv_q(whole.get_mpz_t(), A::q(*this).get_num_mpz_t(), A::q(*this).get_den_mpz_t());
    return A::make(mpq_class(whole));
}
qint64 Number::binaryOrder() const
{
    const mpz_class num = ::abs(A::q(*this).get_num());
    const mpz_class &den = A::q(*this).get_den();
    const qint64 order = qint64(mpz_sizeinbase(num.get_mpz_t(), 2)) - qint64(mpz_sizeinbase(den.get_mpz_t(), 2));
    // num / den lies in (2^(order-1), 2^(order+1)): is it 2^order or more?
    const bool atLeast = order >= 0 ? num >= (den << mp_bitcnt_t(order)) : (num << mp_bitcnt_t(-order)) >= den;
    return atLeast ? order + 1 : order;
}
qint64 Number::binaryPlaces() const
{
    const mpz_class &den = A::q(*this).get_den();
    const mp_bitcnt_t twos = mpz_scan1(den.get_mpz_t(), 0);
    return mpz_sizeinbase(den.get_mpz_t(), 2) == twos + 1 ? qint64(twos) : -1;
}
quint64 Number::toUnsigned() const
{
    const mpq_class &v = A::q(*this);
    if (v.get_den() != 1 || sgn(v) < 0 || mpz_sizeinbase(v.get_num_mpz_t(), 2) > 64)
        return 0;
    static_assert(sizeof(unsigned long) == 8, "a limb of 64 bits");
    return mpz_get_ui(v.get_num_mpz_t());
}
QString Number::wholeBinary() const
{
    mpz_class whole;
    mpz_tdiv_q(whole.get_mpz_t(), A::q(*this).get_num_mpz_t(), A::q(*this).get_den_mpz_t());
    return latin(mpz_class(::abs(whole)).get_str(2));
}

QString Number::toDecimal() const
{
    const DecimalParts p = parts(A::q(*this));
    std::string s = p.negative ? "-" : "";
    s += p.whole.get_str();
    if (p.digits > 0)
        s += '.' + fractionDigits(p);
    return latin(s);
}

Number::Abridged Number::abridgedDecimal(qsizetype limit, int head, int tail) const
{
    const DecimalParts p = parts(A::q(*this));
    const std::string whole = (p.negative ? "-" : "") + p.whole.get_str();
    Abridged out;
    out.length = qsizetype(whole.size() + (p.digits > 0 ? 1 + p.digits : 0));
    out.abridged = out.length > limit;
    // A fraction of a few thousand digits is quickly written out in full.
    if (!out.abridged || p.digits < 4000) {
        std::string s = whole;
        if (p.digits > 0)
            s += '.' + fractionDigits(p);
        if (out.abridged)
            s = s.substr(0, size_t(head)) + "\u2026" + s.substr(s.size() - size_t(tail));
        out.text = QString::fromUtf8(s.data(), qsizetype(s.size()));
        return out;
    }
    // A long fraction: its first digits from the first digits of rest/den,
    // its last ones from the digits' integer modulo 10^tail.
    std::string front = whole + '.';
    if (qsizetype(front.size()) < head) {
        const size_t wanted = size_t(head) - front.size();
        mpz_class ten, scaled;
        mpz_ui_pow_ui(ten.get_mpz_t(), 10, wanted);
        scaled = p.rest * ten / p.den;
        std::string digits = scaled.get_str();
        digits.insert(0, wanted - digits.size(), '0');
        front += digits;
    }
    front.resize(size_t(head));
    mpz_class modulus, two, five, last;
    mpz_ui_pow_ui(modulus.get_mpz_t(), 10, unsigned(tail));
    mpz_powm_ui(two.get_mpz_t(), mpz_class(2).get_mpz_t(), p.digits - p.twos, modulus.get_mpz_t());
    mpz_powm_ui(five.get_mpz_t(), mpz_class(5).get_mpz_t(), p.digits - p.fives, modulus.get_mpz_t());
    last = p.rest % modulus * two % modulus * five % modulus;
    std::string back = last.get_str();
    back.insert(0, size_t(tail) - back.size(), '0');
    const std::string s = front + "\u2026" + back;
    out.text = QString::fromUtf8(s.data(), qsizetype(s.size()));
    return out;
}

Number operator+(const Number &a, const Number &b) { return A::make(A::q(a) + A::q(b)); }
Number operator-(const Number &a, const Number &b) { return A::make(A::q(a) - A::q(b)); }
Number operator*(const Number &a, const Number &b) { return A::make(A::q(a) * A::q(b)); }
bool operator==(const Number &a, const Number &b) { return A::q(a) == A::q(b); }
std::strong_ordering operator<=>(const Number &a, const Number &b)
{
    const int c = cmp(A::q(a), A::q(b));
    return c < 0 ? std::strong_ordering::less : c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal;
}

namespace {

mpq_class ratioOf(const Number &a, const Number &b) { return A::q(a) / A::q(b); }

// |q| x 10^shift rounded to a whole number, halves up; q is not zero.
mpz_class roundedScaled(const mpq_class &q, long shift)
{
    mpz_class ten;
    mpz_ui_pow_ui(ten.get_mpz_t(), 10, (unsigned long)(shift < 0 ? -shift : shift));
    mpq_class scaled = ::abs(q);
    if (shift >= 0)
        scaled *= mpq_class(ten);
    else
        scaled /= mpq_class(ten);
    mpq_class half = scaled + mpq_class(1, 2);
    mpz_class out;
    mpz_fdiv_q(out.get_mpz_t(), half.get_num_mpz_t(), half.get_den_mpz_t());
    return out;
}

// The digits of n / 10^places as a decimal, with its sign.
std::string placed(const mpz_class &n, long places, bool negative)
{
    std::string digits = n.get_str();
    if (places > 0) {
        if (digits.size() <= size_t(places))
            digits.insert(0, size_t(places) + 1 - digits.size(), '0');
        digits.insert(digits.size() - size_t(places), 1, '.');
    } else if (places < 0 && n != 0) {
        digits.append(size_t(-places), '0');
    }
    return (negative && n != 0 ? "-" : "") + digits;
}

}  // namespace

QString ratioFraction(const Number &a, const Number &b)
{
    const mpq_class q = ratioOf(a, b);
    return q.get_den() == 1 ? latin(q.get_num().get_str()) : latin(q.get_num().get_str() + '/' + q.get_den().get_str());
}

QString ratioSignificant(const Number &a, const Number &b, int significant)
{
    const mpq_class q = ratioOf(a, b);
    if (sgn(q) == 0)
        return QStringLiteral("0");
    // The first figure's place: 10^k <= |q| < 10^(k+1).
    long k = long(mpz_sizeinbase(mpz_class(::abs(q.get_num())).get_mpz_t(), 10))
        - long(mpz_sizeinbase(q.get_den_mpz_t(), 10));
    const auto power = [](long e) {
        mpz_class ten;
        mpz_ui_pow_ui(ten.get_mpz_t(), 10, (unsigned long)(e < 0 ? -e : e));
        return e >= 0 ? mpq_class(ten) : mpq_class(1) / mpq_class(ten);
    };
    while (::abs(q) >= power(k + 1))
        ++k;
    while (::abs(q) < power(k))
        --k;
    long places = significant - 1 - k;
    mpz_class n = roundedScaled(q, places);
    // Rounding 9.9995 up to 10.00 adds a figure: keep the count.
    mpz_class limit;
    mpz_ui_pow_ui(limit.get_mpz_t(), 10, (unsigned long)significant);
    if (n >= limit) {
        --places;
        n = roundedScaled(q, places);
    }
    return latin(placed(n, places, sgn(q) < 0));
}

QString ratioPlaces(const Number &a, const Number &b, int places)
{
    const mpq_class q = ratioOf(a, b);
    if (sgn(q) == 0)
        return QStringLiteral("0");
    return latin(placed(roundedScaled(q, places), places, sgn(q) < 0));
}

Reading readDecimal(QStringView text)
{
    Reading r;
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    const auto at = [&](qsizetype k) { return k < t.size() ? t.at(k).unicode() : char16_t(0); };
    if (at(i) == u'-' || at(i) == u'\u2212' || at(i) == u'+')
        r.negative = at(i++) != u'+';
    std::string digits;
    qsizetype fractionDigitCount = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const char16_t c = at(i);
        if (c >= u'0' && c <= u'9') {
            digits += char(c);
            fractionDigitCount += point;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits.empty())
        return r;
    qint64 exponent = 0;
    if (at(i) == u'e' || at(i) == u'E') {
        ++i;
        bool negativeExponent = false;
        if (at(i) == u'-' || at(i) == u'\u2212' || at(i) == u'+')
            negativeExponent = at(i++) != u'+';
        const qsizetype start = i;
        for (; at(i) >= u'0' && at(i) <= u'9'; ++i)
            exponent = std::min<qint64>(exponent * 10 + (at(i) - u'0'), qint64(1) << 50);
        if (i == start)
            return r;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != t.size())
        return r;

    // value = digits x 10^exponent, with no leading or trailing zeros.
    exponent -= fractionDigitCount;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    const size_t last = digits.find_last_not_of('0');
    if (last == std::string::npos) {
        r.negative = false;
        r.kind = Reading::Kind::Exact;
        return r;
    }
    exponent += qint64(digits.size() - 1 - last);
    digits.resize(last + 1);
    const qint64 order = qint64(digits.size()) + exponent;  // |value| < 10^order
    if (order - 1 >= readingOrders) {
        r.kind = Reading::Kind::Huge;
        return r;
    }
    if (order <= -readingOrders) {
        r.kind = Reading::Kind::Tiny;
        return r;
    }
    mpq_class &value = A::q(r.value);
    mpz_class num(digits, 10);
    if (exponent >= 0) {
        mpz_class scale;
        mpz_ui_pow_ui(scale.get_mpz_t(), 10, static_cast<unsigned long>(exponent));
        value = num * scale;
    } else {
        // num / 10^k with num not a multiple of 10: take out the twos or the
        // fives they share, which leaves the fraction in lowest terms
        // without a costly greatest common divisor.
        const auto k = static_cast<unsigned long>(-exponent);
        unsigned long twos = k, fives = k;
        if (mpz_even_p(num.get_mpz_t())) {
            const unsigned long shared = std::min<unsigned long>(mpz_scan1(num.get_mpz_t(), 0), k);
            num >>= shared;
            twos -= shared;
        } else if (mpz_divisible_ui_p(num.get_mpz_t(), 5)) {
            mpz_class rest;
            const unsigned long all = mpz_remove(rest.get_mpz_t(), num.get_mpz_t(), mpz_class(5).get_mpz_t());
            const unsigned long shared = std::min(all, k);
            mpz_class extra;
            mpz_ui_pow_ui(extra.get_mpz_t(), 5, all - shared);
            num = rest * extra;
            fives -= shared;
        }
        mpz_class den;
        mpz_ui_pow_ui(den.get_mpz_t(), 5, fives);
        den <<= twos;
        mpz_swap(value.get_num_mpz_t(), num.get_mpz_t());
        mpz_swap(value.get_den_mpz_t(), den.get_mpz_t());
    }
    if (r.negative)
        value = -value;
    r.kind = Reading::Kind::Exact;
    return r;
}

namespace {

// A plain decimal as its digits, a whole number, and how many of them stand
// after the point.
struct Scaled {
    mpz_class digits;
    size_t places = 0;
};

Scaled scaled(QStringView text)
{
    std::string digits;
    digits.reserve(size_t(text.size()));
    Scaled s;
    bool point = false;
    for (QChar c : text) {
        if (c == u'.')
            point = true;
        else if (c == u'-' || c == u'+' || c == u'\u2212')
            digits.insert(digits.begin(), '-');
        else if (c >= u'0' && c <= u'9') {
            digits.push_back(char(c.unicode()));
            s.places += point ? 1 : 0;
        }
    }
    if (digits.empty() || digits == "-")
        digits += '0';
    s.digits.set_str(digits, 10);
    return s;
}

void scaleTo(Scaled &s, size_t places)
{
    if (places > s.places) {
        mpz_class ten;
        mpz_ui_pow_ui(ten.get_mpz_t(), 10, places - s.places);
        s.digits *= ten;
        s.places = places;
    }
}

}  // namespace

QString plainDifference(QStringView a, QStringView b)
{
    Scaled x = scaled(a), y = scaled(b);
    const size_t places = std::max(x.places, y.places);
    scaleTo(x, places);
    scaleTo(y, places);
    const mpz_class difference = x.digits - y.digits;
    std::string digits = mpz_class(abs(difference)).get_str(10);
    if (digits.size() <= places)
        digits.insert(0, places + 1 - digits.size(), '0');
    std::string out = sgn(difference) < 0 ? "-" : "";
    out += digits.substr(0, digits.size() - places);
    std::string fraction = digits.substr(digits.size() - places);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        out += '.' + fraction;
    return latin(out);
}

}  // namespace quorvex::exact
