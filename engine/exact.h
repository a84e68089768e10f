// SPDX-License-Identifier: MIT
// Exact numbers: what a typed decimal really is, and every value a bit
// pattern holds, with no binary floating point anywhere. A Number is a
// rational over GMP (gmpxx), kept to the values the program meets: whole
// numbers, typed decimals and their sums, differences and products, times
// powers of two. Each of those has a decimal that ends, so every Number can
// be written exactly as a decimal. Only exact.cpp sees GMP.
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <compare>

namespace quorvex::exact {

class Number {
public:
    Number();  // 0
    explicit Number(qint64 value);
    static Number fromUnsigned(quint64 value);
    static Number power2(qint64 exponent);  // 2^exponent, exponent may be negative
    // A plain decimal, an optional sign and an optional exponent ("-12.5",
    // "25e-1"); 0 for anything else. readDecimal() says why it refuses.
    static Number fromDecimal(QStringView text);

    Number(const Number &other);
    Number(Number &&other) noexcept;
    Number &operator=(const Number &other);
    Number &operator=(Number &&other) noexcept;
    ~Number();

    int sign() const;  // -1, 0 or 1
    bool isZero() const { return sign() == 0; }
    bool isInteger() const;
    Number abs() const;
    Number operator-() const;
    Number times2(qint64 exponent) const;  // this x 2^exponent
    Number truncated() const;              // the whole part, towards zero
    // The e with 2^(e-1) <= |this| < 2^e: where the point stands before the
    // first 1 of the binary form. Not for zero.
    qint64 binaryOrder() const;
    // k when the value is a whole number over 2^k (k >= 0), else -1: how
    // many places after the binary point it takes.
    qint64 binaryPlaces() const;
    // A whole number from 0 to 2^64 - 1, as one; 0 for anything else.
    quint64 toUnsigned() const;
    // The digits of a whole number's size in binary, "0" for zero.
    QString wholeBinary() const;

    // The exact decimal: "-" for negatives, no exponent, no trailing zeros.
    QString toDecimal() const;
    // The same, but when longer than `limit` characters only its first
    // `head` and last `tail` characters around "…", with the full length.
    struct Abridged {
        QString text;
        qsizetype length = 0;
        bool abridged = false;
    };
    Abridged abridgedDecimal(qsizetype limit, int head, int tail) const;

    friend Number operator+(const Number &a, const Number &b);
    friend Number operator-(const Number &a, const Number &b);
    friend Number operator*(const Number &a, const Number &b);
    friend bool operator==(const Number &a, const Number &b);
    friend std::strong_ordering operator<=>(const Number &a, const Number &b);

private:
    alignas(8) unsigned char m_storage[32];  // the mpq_class
    friend struct Access;
};

// What a typed text holds as a number.
struct Reading {
    enum class Kind {
        NotANumber,
        Exact,  // `value` is the number typed
        Huge,   // its size is 10^1000 or more: beyond every format
        Tiny,   // not zero, but nearer zero than 10^-1000: below every format's last place
    };
    Kind kind = Kind::NotANumber;
    bool negative = false;
    Number value;
};
// Reads a decimal exactly: surrounding blanks, an optional "+" or "-",
// digits with at most one point (at least one digit), an optional exponent
// ("e" or "E", an optional sign, digits). Any length.
Reading readDecimal(QStringView text);

// a / b (b not zero) as a reduced fraction, which need not end as a
// decimal (a relative error): "1/106", "-3/8", or a whole number alone
// ("2"); and as a decimal rounded, halves away from zero, to `significant`
// figures ("0.009434"), or to `places` after the point.
QString ratioFraction(const Number &a, const Number &b);
QString ratioSignificant(const Number &a, const Number &b, int significant);
QString ratioPlaces(const Number &a, const Number &b, int places);

// a - b for plain decimals ("-12.625", "0.1", "7": no exponent), exactly,
// as a plain decimal without leading or trailing zeros, "0" for zero. Works
// on the digits scaled to one power of ten, so it costs no more than a
// subtraction of whole numbers.
QString plainDifference(QStringView a, QStringView b);

}  // namespace quorvex::exact
