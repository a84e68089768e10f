// SPDX-License-Identifier: MIT
#include "conversions/decimal.h"

#include <algorithm>
#include <string>

namespace {

// A decimal as a sign and the digits of |value| x 10^scale.
struct Decimal {
    bool negative = false;
    std::string digits;  // most significant first
    qsizetype scale = 0;
};

Decimal parse(const QString &text)
{
    Decimal d;
    qsizetype i = 0;
    if (i < text.size() && text.at(i) == u'-') {
        d.negative = true;
        ++i;
    }
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'.')
            point = true;
        else {
            d.digits.push_back(char(c.unicode()));
            if (point)
                ++d.scale;
        }
    }
    return d;
}

void rescale(Decimal &d, qsizetype scale)
{
    d.digits.append(size_t(scale - d.scale), '0');
    d.scale = scale;
}

// a - b for digit strings of the same length with a >= b.
std::string subtract(const std::string &a, const std::string &b)
{
    std::string out(a.size(), '0');
    int borrow = 0;
    for (size_t k = a.size(); k-- > 0;) {
        int digit = (a[k] - '0') - (b[k] - '0') - borrow;
        borrow = digit < 0;
        out[k] = char('0' + digit + 10 * borrow);
    }
    return out;
}

std::string add(const std::string &a, const std::string &b)
{
    std::string out(a.size() + 1, '0');
    int carry = 0;
    for (size_t k = a.size(); k-- > 0;) {
        const int digit = (a[k] - '0') + (b[k] - '0') + carry;
        carry = digit / 10;
        out[k + 1] = char('0' + digit % 10);
    }
    out[0] = char('0' + carry);
    return out;
}

QString format(bool negative, std::string digits, qsizetype scale)
{
    // Pad so that there is a digit before the point.
    if (qsizetype(digits.size()) <= scale)
        digits.insert(0, size_t(scale - qsizetype(digits.size()) + 1), '0');
    std::string whole = digits.substr(0, digits.size() - size_t(scale));
    std::string fraction = digits.substr(digits.size() - size_t(scale));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string out = whole;
    if (!fraction.empty())
        out += '.' + fraction;
    if (negative && out != "0")
        out.insert(0, 1, '-');
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

}  // namespace

QString decimalDifference(const QString &a, const QString &b)
{
    Decimal x = parse(a);
    Decimal y = parse(b);
    const qsizetype scale = std::max(x.scale, y.scale);
    rescale(x, scale);
    rescale(y, scale);
    const size_t width = std::max(x.digits.size(), y.digits.size());
    x.digits.insert(0, width - x.digits.size(), '0');
    y.digits.insert(0, width - y.digits.size(), '0');
    // a - b = a + (-b).
    y.negative = !y.negative;
    if (x.negative == y.negative)
        return format(x.negative, add(x.digits, y.digits), scale);
    // Digit strings of the same length compare as the numbers do.
    if (x.digits < y.digits)
        return format(y.negative, subtract(y.digits, x.digits), scale);
    return format(x.negative, subtract(x.digits, y.digits), scale);
}
