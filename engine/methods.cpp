// SPDX-License-Identifier: MIT
#include "engine/methods.h"

#include "engine/bitpattern.h"
#include "engine/hex.h"
#include "engine/words.h"

#include <QRegularExpression>

#include <algorithm>

namespace quorvex::workbench {

using exact::Number;
using patterns::toBits;

namespace {

const QString minusSign = QStringLiteral("\u2212");

}  // namespace

// ---- Methods --------------------------------------------------------------------

Worked refuse(Steps steps, Step why)
{
    steps.push_back(std::move(why));
    return {true, QString(), std::move(steps), std::nullopt};
}

Worked Topic::calculate(const Format &, Operation, const Calculation &) const
{
    return refuse({}, make(step::BadFormat{}));
}

std::vector<BitGroup> Topic::groups(const Format &format) const
{
    BitGroup g{Words::tr("the pattern"), {}};
    const int n = width(format);
    for (int i = n - 1; i >= 0; --i)
        g.worth.emplace_back(Number::power2(i));
    return {g};
}

ReadBits readBits(int width, const QString &input, int fraction)
{
    ReadBits r;
    if (const std::optional<hex::Text> text = hex::read(input)) {
        const Step s = hex::pattern(input, *text, width, fraction, &r.bits);
        r.ok = r.hex = as<step::HexRead>(s) != nullptr;
        // Unmarked hex that does not fit, made only of 0s, 1s and letters, is
        // more likely bits with a slip in them: they are said as bits.
        const bool bitsWithASlip = text->form == step::HexRead::Form::Bare
            && std::none_of(input.begin(), input.end(), [](QChar c) { return c >= u'2' && c <= u'9'; });
        if (r.ok || !bitsWithASlip) {
            if (r.ok)
                r.steps.push_back(s);
            else
                r.refusal = s;
            return r;
        }
        r.bits.clear();
    }
    QStringList others;
    int points = 0;
    for (QChar c : input) {
        if (c == u'0' || c == u'1')
            r.bits += c;
        else if (c == u'.')
            ++points;
        else if (!c.isSpace() && others.size() < 5 && !others.contains(QString(c)))
            others << QString(c);
    }
    if (!others.isEmpty())
        r.refusal = make(step::NotBits{others});
    else if (points > 1)
        r.refusal = make(step::TwoPoints{});
    else if (r.bits.size() != width)
        r.refusal = make(step::WrongCount{r.bits.size()});
    else
        r.ok = true;
    return r;
}

Worked hexAnswer(const Topic &topic, const Format &f, const QString &input)
{
    const int fraction = f.fractionBits();
    ReadBits read = readBits(topic.width(f), input, fraction);
    Steps steps;
    QString bits;
    if (read.ok) {
        steps = std::move(read.steps);
        bits = read.bits;
    } else {
        const exact::Reading r = exact::readDecimal(input);
        const bool onlyBits = !input.trimmed().isEmpty()
            && std::all_of(input.begin(), input.end(), [](QChar c) { return c == u'0' || c == u'1' || c == u'.' || c.isSpace(); });
        if (r.kind == exact::Reading::Kind::NotANumber || (onlyBits && r.kind != exact::Reading::Kind::Exact)) {
            if (as<step::NotBits>(read.refusal) && !input.trimmed().isEmpty())
                return refuse({}, make(step::NothingToWrite{input.trimmed()}));
            return refuse({}, read.refusal);
        }
        Worked w = topic.solve(f, Operation::ToBinary, input);
        if (w.refused)
            return w;
        steps = std::move(w.steps);
        bits = w.text;
        bits.remove(u' ');
        bits.remove(u'.');
        // Where the bits are the number itself (a whole number from 0 up in
        // a pattern without a point), it is also divided by 16, as taught.
        if (r.kind == exact::Reading::Kind::Exact && fraction == 0 && bits.size() <= 64
            && patterns::unsignedValue(bits) == r.value) {
            step::Divisions16 d;
            quint64 n = r.value.toUnsigned();
            d.value = QString::number(n);
            do {
                d.rows.push_back({QString::number(n), QString::number(n / 16), int(n % 16)});
                d.hex.prepend(hex::digit(int(n % 16)));
                n /= 16;
            } while (n > 0);
            steps.push_back(make(std::move(d)));
        }
    }
    const QString answer = hex::ofBits(bits, fraction);
    steps.push_back(make(step::Nibbles{bits, fraction, answer}));
    return {false, answer, std::move(steps), std::nullopt};
}

Typed typedOf(const exact::Reading &r, const QString &input)
{
    if (r.kind == exact::Reading::Kind::Exact)
        return {r.value, QString(), true};
    return {Number(), input.trimmed(), false};
}

Steps readingSteps(const exact::Reading &r, const QString &input)
{
    Steps steps;
    // A number written otherwise than its plain exact decimal ("25e-1",
    // "+5", "007") is said as what it is; long texts are plain digits.
    const QString trimmed = input.trimmed();
    if (r.kind == exact::Reading::Kind::Exact && trimmed.size() < 200 && r.value.toDecimal() != trimmed)
        steps.push_back(make(step::ReadAs{trimmed, r.value}));
    return steps;
}

step::Subtractions subtractions(quint64 value, int width)
{
    step::Subtractions s;
    s.value = value;
    quint64 left = value;
    for (int p = width - 1; p >= 0 && left > 0; --p) {
        const quint64 place = quint64(1) << p;
        if (left >= place) {
            s.rows.push_back({left, place, left - place, p});
            left -= place;
        }
    }
    return s;
}

// The bits are one exact product; only the rows the working lists are
// worked out row by row.
step::Doubling doubling(const Number &fraction, int count, QString &bits)
{
    step::Doubling d;
    d.fraction = fraction;
    d.total = count;
    const Number all = fraction.times2(count);
    d.remainder = all - all.truncated();
    bits = all.truncated().wholeBinary();
    if (bits == QStringLiteral("0"))
        bits.clear();
    bits = QString(count - bits.size(), u'0') + bits;
    listDoublingRows(d, bits, 20, 16);
    return d;
}

void listDoublingRows(step::Doubling &d, const QString &bits, int first, int last)
{
    const Number &fraction = d.fraction;
    const int count = d.total;
    const qint64 places = fraction.binaryPlaces();
    const int working = places >= 0 ? int(std::min<qint64>(places, count)) : count;
    d.zeros = count - working;
    std::vector<bool> listed(size_t(working), true);
    for (int i = 0; i < working;) {
        int j = i;
        while (j < working && bits.at(j) == u'0')
            ++j;
        if (j - i >= 6)
            std::fill(listed.begin() + i + 2, listed.begin() + j - 1, false);
        i = std::max(j, i + 1);
    }
    if (std::count(listed.begin(), listed.end(), true) > first + last) {
        int seen = 0, shown = int(std::count(listed.begin(), listed.end(), true));
        for (int i = 0; i < working; ++i) {
            if (listed[size_t(i)] && (seen++ >= first && seen <= shown - last))
                listed[size_t(i)] = false;
        }
    }
    int skipped = 0;
    bool skippedGaveZero = true;
    for (int i = 0; i < working; ++i) {
        if (!listed[size_t(i)]) {
            ++skipped;
            skippedGaveZero = skippedGaveZero && bits.at(i) == u'0';
            continue;
        }
        const Number scaled = fraction.times2(i);
        const Number f = scaled - scaled.truncated();
        const Number doubled = f.times2(1);
        d.rows.push_back({i + 1, f, doubled, bits.at(i) == u'1', skipped, skipped > 0 && skippedGaveZero});
        skipped = 0;
        skippedGaveZero = true;
    }
}

step::TwosComplement twosComplement(const QString &bits, step::TwosComplement::Of of, int fraction)
{
    step::TwosComplement t;
    t.of = of;
    t.fraction = fraction;
    t.bits = bits;
    const qsizetype n = bits.size();
    t.inverted = patterns::inverted(bits);
    t.result = t.inverted;
    t.carries = QString(n, u'0');
    int carry = 1;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const int sum = (t.inverted.at(i) == u'1') + carry;
        t.result[i] = sum % 2 ? u'1' : u'0';
        carry = sum / 2;
        if (carry && i > 0)
            t.carries[i - 1] = u'1';
    }
    t.dropped = carry;
    return t;
}

Number wholeValue(quint64 pattern, int n, bool twos)
{
    Number v = Number::fromUnsigned(pattern);
    if (twos && ((pattern >> (n - 1)) & 1))
        v = v - Number::power2(n);
    return v;
}

std::optional<Format> parseBitsFormat(const Topic &topic, QStringView widths, QString *why)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{1,3}$"));
    if (!pattern.match(widths).hasMatch()) {
        *why = Words::tr("%1 takes one width, such as %2")
                   .arg(topic.usage(), topic.name(Format{topic.representation(), 8}));
        return std::nullopt;
    }
    const Format f{.representation = topic.representation(), .bits = widths.toInt()};
    if (!topic.offered(f)) {
        *why = Words::tr("an integer has %1 to %2 bits, not %3").arg(limits::minBits).arg(limits::maxBits).arg(f.bits);
        return std::nullopt;
    }
    return f;
}

QString bitsFormatName(const Format &f)
{
    const std::string_view id = f.representation.id;
    return QString::fromLatin1(id.data(), qsizetype(id.size())) + u':' + QString::number(f.bits);
}

QString refusalSentence(const Format &format, const Topic &topic, const Step &refusal)
{
    return refusal->why(Words(format, topic, false));
}

QString workingHtml(const Format &format, const Topic &topic, const Steps &steps)
{
    return Words(format, topic, true).working(steps);
}

// ---- Reading: refusals, as one sentence, and their working ------------------------

template <>
QString StepOf<step::BadFormat>::why(const Words &) const
{
    return value.notFloating ? Words::tr("Only floating point is normalised; choose a floating-point format.")
                             : Words::tr("This format is not offered.");
}
template <>
void StepOf<step::BadFormat>::say(Words &w) const
{
    w.para(why(w));
}

template <>
QString StepOf<step::NotANumber>::why(const Words &w) const
{
    if (value.typed.trimmed().isEmpty())
        return Words::tr("Nothing was typed: type a number.");
    return Words::tr("%1 is not a number.").arg(w.typed({Number(), value.typed.trimmed(), false}));
}
template <>
void StepOf<step::NotANumber>::say(Words &w) const
{
    w.para(why(w));
    w.para(Words::tr("A number is written with digits and at most one point, with an optional sign in front and "
                     "an optional exponent after, such as 25e-1 or 1.5E3."));
}

template <>
QString StepOf<step::WrongCount>::why(const Words &w) const
{
    // A sentence, whatever the format's words begin with.
    QString text = w.topic().wrongCount(w, value.typed);
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}
template <>
void StepOf<step::WrongCount>::say(Words &w) const
{
    w.para(why(w));
    w.para(Words::tr("Blanks and a point may stand anywhere; only the 0s and 1s are counted."));
}

template <>
QString StepOf<step::NotBits>::why(const Words &w) const
{
    QStringList quoted;
    for (const QString &c : value.characters)
        quoted << QStringLiteral("\u201C") + (w.html() ? c.toHtmlEscaped() : c) + QStringLiteral("\u201D");
    return (quoted.size() == 1 ? Words::tr("%1 is not a bit: type only 0 and 1.")
                               : Words::tr("%1 are not bits: type only 0 and 1."))
        .arg(quoted.join(QStringLiteral(", ")));
}
template <>
void StepOf<step::NotBits>::say(Words &w) const
{
    w.para(why(w));
}

template <>
QString StepOf<step::TwoPoints>::why(const Words &) const
{
    return Words::tr("A pattern has at most one point.");
}
template <>
void StepOf<step::TwoPoints>::say(Words &w) const
{
    w.para(why(w));
}

template <>
QString StepOf<step::NothingToWrite>::why(const Words &w) const
{
    return Words::tr("%1 is not a number, bits or hex.").arg(w.typed({Number(), value.typed, false}));
}
template <>
void StepOf<step::NothingToWrite>::say(Words &w) const
{
    w.para(why(w));
    w.para(Words::tr("Type a denary number such as 12188, the bits of a pattern, or hex such as 0x2F9C."));
}

template <>
QString StepOf<step::NoOperation>::why(const Words &w) const
{
    return Words::tr("%1 is not offered for %2.").arg(value.title, w.formatName());
}
template <>
void StepOf<step::NoOperation>::say(Words &w) const
{
    w.para(why(w));
}

template <>
void StepOf<step::ReadAs>::say(Words &w) const
{
    w.para(Words::tr("%1 is the number %2.").arg(w.typed({Number(), value.typed, false}), w.num(value.value)));
}

template <>
QString StepOf<step::NotWhole>::why(const Words &w) const
{
    return Words::tr("%1 is not a whole number: %2 holds only whole numbers.").arg(w.typed(value.value), w.formatName());
}
template <>
void StepOf<step::NotWhole>::say(Words &w) const
{
    w.para(why(w));
}

template <>
QString StepOf<step::OutOfRange>::why(const Words &w) const
{
    return Words::tr("%1 does not fit: %2 holds %3 to %4")
        .arg(w.typed(value.value), w.formatName(), w.num(value.low), w.num(value.high));
}
template <>
void StepOf<step::OutOfRange>::say(Words &w) const
{
    w.para(why(w) + u'.');
    w.para(Words::tr("Choose a wider format, or a number in that range."));
}

// ---- Number to bits --------------------------------------------------------------

template <>
void StepOf<step::Negative>::say(Words &w) const
{
    w.para((value.mantissa
                ? Words::tr("%1 is negative: its magnitude (the number without its sign) %2 is converted first, and "
                            "the mantissa's two's complement taken after.")
                : Words::tr("%1 is negative: its magnitude (the number without its sign) %2 is converted first, and "
                            "its two's complement taken after."))
               .arg(w.num(value.value), w.num(value.value.abs())));
}

template <>
void StepOf<step::Subtractions>::say(Words &w) const
{
    const step::Subtractions &s = value;
    if (s.rows.empty()) {
        w.para(Words::tr("The whole part is 0: no place value is used."));
        return;
    }
    QStringList rows;
    for (const step::Subtraction &r : s.rows)
        rows << Words::nowrap(Words::unum(r.from) + QStringLiteral(" ") + minusSign + QStringLiteral(" ")
                              + Words::unum(r.place) + QStringLiteral(" = ") + Words::unum(r.left));
    w.para(Words::tr("%1 by place values: take away the largest place value that fits, and again from what is "
                     "left: %2.")
               .arg(Words::unum(s.value), rows.join(QStringLiteral(", "))));
}

template <>
void StepOf<step::WholeBinary>::say(Words &w) const
{
    w.para(Words::tr("The whole part %1 in binary is %2.").arg(w.num(value.whole), w.bits(value.bits)));
}

template <>
void StepOf<step::PlaceTable>::say(Words &w) const
{
    const step::PlaceTable &s = value;
    const int n = int(s.bits.size());
    QStringList places{Words::tr("place value")}, row{Words::tr("bit")};
    for (int i = 0; i < n; ++i) {
        if (s.fraction > 0 && i == n - s.fraction) {
            places << QString();
            row << QStringLiteral(".");
        }
        places << (s.twos && i == 0 ? minusSign : QString()) + w.place(n - 1 - i - s.fraction);
        row << s.bits.mid(i, 1);
    }
    w.para(s.twos ? Words::tr("Each bit under its place value; the leftmost place counts negative:")
                  : Words::tr("The bits under their place values:"));
    w.table({places, row}, true);
}

template <>
void StepOf<step::Doubling>::say(Words &w) const
{
    const step::Doubling &s = value;
    w.para(Words::tr("The fraction %1 by repeated doubling: double it, write down the whole part (0 or 1) as the "
                     "next bit, and go on with what is after the point.")
               .arg(w.num(s.fraction)));
    std::vector<QStringList> rows{{Words::tr("place"), Words::tr("fraction"), Words::tr("doubled"), Words::tr("bit")}};
    // A doubled fraction is its bit and the next row's fraction: written
    // from that row's digits rather than worked out again.
    std::vector<Number::Abridged> fractions;
    for (const step::DoublingRow &r : s.rows)
        fractions.push_back(Words::decimal(r.fraction));
    for (size_t k = 0; k < s.rows.size(); ++k) {
        const step::DoublingRow &r = s.rows[k];
        Number::Abridged doubled;
        if (k + 1 < s.rows.size() && s.rows[k + 1].skipped == 0) {
            doubled = fractions[k + 1];
            doubled.text[0] = QChar(u'0' + r.bit);
        } else {
            doubled = Words::decimal(r.doubled);
        }
        if (r.skipped > 0)
            rows.push_back({QStringLiteral("\u2026"),
                            r.skippedGaveZero ? Words::tr("%1 more rows, each giving 0").arg(r.skipped)
                                              : Words::tr("%1 more rows").arg(r.skipped),
                            QString(), QString()});
        rows.push_back({w.place(-r.index), w.num(fractions[k]), w.num(doubled), QString::number(r.bit)});
    }
    if (s.zeros > 0)
        rows.push_back({s.zeros == 1 ? w.place(-s.total) : Words::tr("the other %1").arg(s.zeros), QStringLiteral("0"),
                        QStringLiteral("0"), QStringLiteral("0")});
    w.table(rows, true);
    if (s.zeros > 0)
        w.para(Words::tr("Nothing is left after %1: the other bits are 0.").arg(Words::count(s.total - s.zeros)));
    else if (!s.remainder.isZero() && s.sticky)
        w.para(Words::tr("After %1, %2 is still left: it is not 0, so the sticky bit is 1.")
                   .arg(Words::count(s.total), w.num(s.remainder)));
    else if (!s.remainder.isZero() && w.format().rounding == Rounding::Nearest)
        w.para(Words::tr("After %1, %2 is still left: it decides the rounding.")
                   .arg(Words::count(s.total), w.num(s.remainder)));
    else if (!s.remainder.isZero())
        w.para(Words::tr("After %1, %2 is still left: it is cut off, not rounded.")
                   .arg(Words::count(s.total), w.num(s.remainder)));
    else
        w.para(Words::tr("Nothing is left after %1: the fraction is exact.").arg(Words::count(s.total)));
}

template <>
void StepOf<step::TwosComplement>::say(Words &w) const
{
    const step::TwosComplement &t = value;
    switch (t.of) {
    case step::TwosComplement::Of::Number:
        w.para(Words::tr("Two's complement of %1: invert every bit, then add 1.").arg(w.point(t.bits, t.fraction)));
        break;
    case step::TwosComplement::Of::Mantissa:
        w.para(Words::tr("The mantissa of the negative number is the two's complement of %1: invert every bit, "
                         "then add 1.")
                   .arg(w.point(t.bits, t.fraction)));
        break;
    case step::TwosComplement::Of::Exponent:
        w.para(Words::tr("Its two's complement: invert every bit of %1, then add 1.").arg(w.bits(t.bits)));
        break;
    }
    const int n = int(t.bits.size());
    const auto row = [&](const QString &label, const QString &text, const QString &left, bool blankZeros) {
        QStringList cells{label, left};
        for (int i = 0; i < n; ++i) {
            if (t.fraction > 0 && i == n - t.fraction)
                cells << QStringLiteral(".");
            const QChar c = text.at(i);
            cells << (blankZeros && c == u'0' ? QString() : QString(c));
        }
        return cells;
    };
    const QString one = QString(n - 1, u'0') + u'1';
    w.table({row(Words::tr("carry"), t.carries, t.dropped ? QStringLiteral("1") : QString(), true),
             row(Words::tr("inverted"), t.inverted, QString(), false),
             row(Words::tr("add 1"), one, QStringLiteral("+"), true),
             row(Words::tr("result"), t.result, QString(), false)},
            false);
    if (t.dropped)
        w.para(Words::tr("The carry out of the leftmost column is dropped."));
    w.para(Words::tr("So the two's complement is %1.").arg(w.point(t.result, t.fraction)));
}

template <>
void StepOf<step::Result>::say(Words &w) const
{
    w.para(Words::tr("So %1 in %2 is %3.").arg(w.typed(value.from), w.formatName(), w.bits(value.answer)));
}

// ---- Bits to a number --------------------------------------------------------------

template <>
void StepOf<step::PlaceSum>::say(Words &w) const
{
    w.para(Words::tr("Add the place values that hold a 1: %1 = %2.")
               .arg(w.sum(value.bits, value.fraction, value.twos), w.num(value.total)));
}

// ---- Range ---------------------------------------------------------------------------

template <>
void StepOf<step::Range>::say(Words &w) const
{
    const step::Range &r = value;
    const auto fact = [&](const QString &what, const step::Extreme &x) {
        w.para(Words::tr("%1: %2 = %3.").arg(what, w.pattern(x.bits), w.num(x.value)));
    };
    w.para(Words::tr("The range of %1:").arg(w.formatName()));
    fact(Words::tr("Largest value"), r.largest);
    if (r.hasPositive)
        fact(r.normalised ? Words::tr("Smallest positive normalised value") : Words::tr("Smallest positive value"),
             r.smallestPositive);
    else
        w.para(Words::tr("No pattern holds a positive value."));
    fact(r.negative ? Words::tr("Most negative value") : Words::tr("Least value"), r.mostNegative);
}

}  // namespace quorvex::workbench
