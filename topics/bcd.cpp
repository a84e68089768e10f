// SPDX-License-Identifier: MIT
// Binary-coded decimal, packed: each denary digit of a whole number from 0
// up in its own nibble of 4 bits, place values 8 4 2 1. "bcd" takes as
// many digits as the number has; "bcd:D" pads to D digits with leading 0s.
// A nibble above 1001 is no digit, and BCD here has no sign.
#include "engine/bitpattern.h"
#include "engine/methods.h"
#include "engine/topic.h"
#include "engine/words.h"
#include "topics/bitgroups.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>

namespace quorvex::workbench {

inline constexpr Representation binaryCodedDecimal{"bcd"};

using exact::Number;
using practice::BitsMarking;
using practice::Candidate;
using practice::Mistake;
using practice::Misreading;
using practice::NumberMarking;
using practice::shown;
namespace pw = practice;  // the marking's words

namespace {

// ---- Steps ------------------------------------------------------------------

// Refusals.
struct HasSign {
    Typed value;
};
struct TooManyDigits {
    Typed value;
    qsizetype digits;
};
struct TooLong {
    Typed value;
};
struct NotNibbles {
    qsizetype typed;
};
// A nibble above 1001, `index` from 0 at the left.
struct NotADigit {
    qsizetype index;
    QString nibble;
};

// A number to bits: padded to the format's digits.
struct Padded {
    QString number, digits;
};
// Each digit and its nibble, with the place values that make it.
struct DigitNibbles {
    QString digits;
    bool toBits = true;  // or the nibbles read back
};
// Read back: the digits together.
struct DigitsRead {
    QString digits;
    Number value;
};
// Why BCD is used, and what it costs in bits for this number.
struct WhyBcd {
    Number value;
};
// The range of bcd:D, or that plain bcd grows with the number.
struct BcdRange {
    int digits;
};

}  // namespace

QUORVEX_REFUSAL(HasSign)
QUORVEX_REFUSAL(TooManyDigits)
QUORVEX_REFUSAL(TooLong)
QUORVEX_REFUSAL(NotNibbles)
QUORVEX_REFUSAL(NotADigit)
QUORVEX_STEP(Padded)
QUORVEX_STEP(DigitNibbles)
QUORVEX_STEP(DigitsRead)
QUORVEX_STEP(WhyBcd)
QUORVEX_STEP(BcdRange)

namespace {

// "first", "second", … "12th", "21st".
QString ordinal(qsizetype index)
{
    static const char *const words[] = {QT_TRANSLATE_NOOP("Workbench", "first"),   QT_TRANSLATE_NOOP("Workbench", "second"),
                                        QT_TRANSLATE_NOOP("Workbench", "third"),   QT_TRANSLATE_NOOP("Workbench", "fourth"),
                                        QT_TRANSLATE_NOOP("Workbench", "fifth"),   QT_TRANSLATE_NOOP("Workbench", "sixth"),
                                        QT_TRANSLATE_NOOP("Workbench", "seventh"), QT_TRANSLATE_NOOP("Workbench", "eighth"),
                                        QT_TRANSLATE_NOOP("Workbench", "ninth"),   QT_TRANSLATE_NOOP("Workbench", "tenth")};
    if (index < 10)
        return Words::tr(words[index]);
    const qsizetype n = index + 1;
    const char *suffix = n % 100 / 10 == 1 ? "th" : n % 10 == 1 ? "st" : n % 10 == 2 ? "nd" : n % 10 == 3 ? "rd" : "th";
    return QString::number(n) + QLatin1StringView(suffix);
}

// The nibbles of a pattern, in fours from the left.
QString nibbles(const QString &bits)
{
    QString out;
    for (qsizetype i = 0; i < bits.size(); ++i) {
        if (i > 0 && i % 4 == 0)
            out += u' ';
        out += bits.at(i);
    }
    return out;
}

// The first nibble above 1001, or -1.
qsizetype badNibble(const QString &bits)
{
    for (qsizetype i = 0; i + 4 <= bits.size(); i += 4) {
        if (patterns::fromBits(QStringView(bits).mid(i, 4)) > 9)
            return i / 4;
    }
    return -1;
}

// The digits of whole nibbles, each 0 to 15 as a "digit" of its place.
Number nibblesValue(const QString &bits)
{
    Number v;
    const Number ten(10);
    for (qsizetype i = 0; i + 4 <= bits.size(); i += 4)
        v = v * ten + Number(qint64(patterns::fromBits(QStringView(bits).mid(i, 4))));
    return v;
}

QString digitsOf(const QString &bits)
{
    QString out;
    for (qsizetype i = 0; i + 4 <= bits.size(); i += 4)
        out += QChar(u'0' + int(patterns::fromBits(QStringView(bits).mid(i, 4))));
    return out;
}

// 10^d - 1, the largest number of d digits.
Number allNines(int d) { return Number::fromDecimal(QString(d, u'9')); }

// A digit as its place values: "8 + 1", "0".
QString placesOf(int digit)
{
    QStringList terms;
    for (int p = 8; p >= 1; p /= 2) {
        if (digit & p)
            terms << QString::number(p);
    }
    return terms.isEmpty() ? QStringLiteral("0") : terms.join(QStringLiteral(" + "));
}

}  // namespace

template <>
QString StepOf<HasSign>::why(const Words &w) const
{
    return Words::tr("BCD here has no sign: it writes whole numbers from 0 up, so %1 cannot be written.")
        .arg(w.typed(value.value));
}
template <>
void StepOf<HasSign>::say(Words &w) const
{
    w.para(why(w));
}

template <>
QString StepOf<TooManyDigits>::why(const Words &w) const
{
    return Words::tr("%1 has %2 digits: %3 holds 0 to %4.")
        .arg(w.typed(value.value))
        .arg(value.digits)
        .arg(w.formatName(), w.num(allNines(w.format().digits)));
}
template <>
void StepOf<TooManyDigits>::say(Words &w) const
{
    w.para(why(w));
    w.para(Words::tr("Each digit takes one nibble of 4 bits: choose more digits, or a smaller number."));
}

template <>
QString StepOf<TooLong>::why(const Words &w) const
{
    return Words::tr("%1 has too many digits: BCD is written here for numbers of fewer than 1000 digits.")
        .arg(w.typed(value.value));
}
template <>
void StepOf<TooLong>::say(Words &w) const
{
    w.para(why(w));
}

template <>
QString StepOf<NotNibbles>::why(const Words &) const
{
    if (value.typed == 0)
        return Words::tr("No bits were typed: BCD takes one nibble of 4 bits for each digit.");
    return Words::tr("BCD takes whole nibbles of 4 bits, one for each digit; %1 is not a multiple of 4.")
        .arg(Words::count(value.typed));
}
template <>
void StepOf<NotNibbles>::say(Words &w) const
{
    w.para(why(w));
    w.para(Words::tr("Blanks and a point may stand anywhere; only the 0s and 1s are counted."));
}

template <>
QString StepOf<NotADigit>::why(const Words &w) const
{
    return Words::tr("The %1 nibble, %2, is %3, not a denary digit.")
        .arg(ordinal(value.index), w.bits(value.nibble))
        .arg(patterns::fromBits(value.nibble));
}
template <>
void StepOf<NotADigit>::say(Words &w) const
{
    w.para(why(w));
    w.para(Words::tr("Each nibble of BCD holds one denary digit, 0 to 9 (0000 to 1001); 1010 to 1111 stand for no "
                     "digit."));
}

template <>
void StepOf<Padded>::say(Words &w) const
{
    w.para(Words::tr("%1 writes %2 digits: %3 is padded with leading 0s to %4.")
               .arg(w.formatName())
               .arg(value.digits.size())
               .arg(value.number, value.digits));
}

template <>
void StepOf<DigitNibbles>::say(Words &w) const
{
    const QString &d = value.digits;
    w.para(value.toBits ? Words::tr("Each denary digit is written on its own in a nibble of 4 bits, by the place "
                                    "values 8 4 2 1:")
                        : Words::tr("Each nibble of 4 bits is one denary digit, read by the place values 8 4 2 1:"));
    QStringList digits{Words::tr("digit")}, places{Words::tr("place values")}, bits{Words::tr("nibble")};
    // A very long number shows its first and last digits.
    constexpr qsizetype first = 12, last = 4;
    for (qsizetype i = 0; i < d.size(); ++i) {
        if (d.size() > first + last + 1 && i >= first && i < d.size() - last) {
            if (i == first) {
                const QString more = Words::tr("%1 more").arg(d.size() - first - last);
                digits << QStringLiteral("\u2026");
                places << more;
                bits << QStringLiteral("\u2026");
            }
            continue;
        }
        const int digit = d.at(i).unicode() - u'0';
        digits << QString(d.at(i));
        places << placesOf(digit);
        bits << w.bits(patterns::toBits(quint64(digit), 4));
    }
    if (value.toBits)
        w.table({digits, places, bits}, false);
    else
        w.table({bits, places, digits}, false);
}

template <>
void StepOf<DigitsRead>::say(Words &w) const
{
    QStringList digits;
    for (QChar c : value.digits)
        digits << QString(c);
    const QString list = value.digits.size() > 24 ? Words::tr("%1 digits").arg(value.digits.size())
                                                  : Words::tr("digits %1").arg(digits.join(QStringLiteral(", ")));
    w.para(Words::tr("Read together, the %1 make %2.").arg(list, w.num(value.value)));
}

template <>
void StepOf<WhyBcd>::say(Words &w) const
{
    const QString digits = value.value.toDecimal();
    const QString binary = value.value.wholeBinary();
    w.para(Words::tr("Why BCD is used: each denary digit is kept exactly, in its own nibble, so a number is shown "
                     "or printed digit by digit with no conversion, and a decimal amount is never rounded; clocks, "
                     "calculators and money use it."));
    const qsizetype bcdCount = 4 * digits.size();
    w.para((binary.size() < bcdCount ? Words::tr("BCD needs more bits than binary for the same number: %1 needs %2 in "
                                                 "BCD, 4 for each digit, but %3 in binary (%4).")
                                     : Words::tr("BCD needs more bits than binary for most numbers; %1 needs %2 in "
                                                 "BCD and %3 in binary (%4) too."))
               .arg(w.num(value.value), Words::count(bcdCount), Words::count(binary.size()), w.bits(binary)));
}

template <>
void StepOf<BcdRange>::say(Words &w) const
{
    const int d = value.digits;
    if (d == 0) {
        w.para(Words::tr("BCD grows with the number: each denary digit takes 4 more bits, so it has no largest "
                         "value. The smallest positive value is %1 = 1. It has no sign, so no negative values.")
                   .arg(w.bits(QStringLiteral("0001"))));
        w.para(Words::tr("With D digits (bcd:D) it holds 0 to 10^D \u2212 1 in 4D bits: 16^D patterns, of which 10^D "
                         "are valid."));
        return;
    }
    const Number nines = allNines(d);
    w.para(Words::tr("The range of %1:").arg(w.formatName()));
    w.para(Words::tr("Largest value: %1 = %2.").arg(w.pattern(patterns::bcdBits(nines.toDecimal())), w.num(nines)));
    w.para(Words::tr("Smallest positive value: %1 = 1.").arg(w.pattern(patterns::bcdBits(QString(d - 1, u'0') + u'1'))));
    w.para(Words::tr("BCD here has no sign: no pattern holds a negative value."));
    w.para(Words::tr("%1 make %2 patterns (16^%3), but only %4 of them (10^%3) are valid: a pattern with a nibble "
                     "above 1001 stands for no number.")
               .arg(Words::count(4 * d), w.num(Number::power2(4 * qint64(d))))
               .arg(d)
               .arg(w.num(nines + Number(1))));
}

namespace {

class BcdTopic final : public Topic {
public:
    // ---- Formats --------------------------------------------------------------
    Representation representation() const override { return binaryCodedDecimal; }
    QString title() const override { return Words::tr("Binary-coded decimal (BCD)"); }
    QString usage() const override { return QStringLiteral("bcd:D"); }
    QString usageHelp() const override
    {
        return Words::tr("packed binary-coded decimal of D digits, D from 1 to %1; bcd alone takes as many digits "
                         "as the number has")
            .arg(limits::maxDigits);
    }
    bool widthsOptional() const override { return true; }
    std::optional<Format> parse(QStringView widths, QString *why) const override
    {
        if (widths.isNull())
            return Format{.representation = representation(), .digits = 0};
        static const QRegularExpression pattern(QStringLiteral("^\\d{1,3}$"));
        if (!pattern.match(widths).hasMatch()) {
            *why = Words::tr("bcd takes a count of digits, such as bcd:4, or none");
            return std::nullopt;
        }
        const Format f{.representation = representation(), .digits = widths.toInt()};
        if (f.digits < 1 || !offered(f)) {
            *why = Words::tr("BCD has 1 to %1 digits, not %2").arg(limits::maxDigits).arg(f.digits);
            return std::nullopt;
        }
        return f;
    }
    QString name(const Format &f) const override
    {
        return f.digits == 0 ? QStringLiteral("bcd") : QStringLiteral("bcd:%1").arg(f.digits);
    }
    QList<Width> widths() const override { return {Width::Digits}; }
    bool offered(const Format &f) const override { return f.digits >= 0 && f.digits <= limits::maxDigits; }
    QList<Operation> operations() const override { return {Operation::ToBinary, Operation::ToDenary, Operation::Range}; }
    int width(const Format &f) const override { return 4 * f.digits; }

    // A group of 8 4 2 1 for each digit, left to right; none while the
    // digits are as many as needed (topics/bitgroups.h sizes them).
    std::vector<BitGroup> groups(const Format &f) const override
    {
        std::vector<BitGroup> g;
        for (int d = 1; d <= f.digits; ++d)
            g.push_back(placeGroup(Words::tr("digit %1").arg(d), 4, 0, false));
        return g;
    }

    // ---- Words ----------------------------------------------------------------
    QString describe(const Format &f) const override
    {
        return f.digits == 0 ? Words::tr("BCD") : Words::tr("%1-digit BCD").arg(f.digits);
    }
    QString heading(const Format &f) const override
    {
        if (f.digits == 0)
            return pw::Words::tr("Binary-coded decimal (BCD)");
        return f.digits == 1 ? pw::Words::tr("Binary-coded decimal (BCD): 1 digit")
                             : pw::Words::tr("Binary-coded decimal (BCD): %1 digits").arg(f.digits);
    }
    QString written(const Format &, const QString &bits) const override { return nibbles(bits); }
    QString printed(const Format &, const QString &bits) const override { return nibbles(bits); }
    QString wrongCount(const Words &w, qsizetype typed) const override
    {
        const int d = w.format().digits;
        const QString typedCount = typed == 1 ? Words::tr("1 was typed") : Words::tr("%1 were typed").arg(typed);
        return Words::tr("%1 needs %2, 4 for each digit; %3.").arg(w.formatName(), Words::count(4 * d), typedCount);
    }

    // ---- The method -------------------------------------------------------------
    Worked solve(const Format &f, Operation operation, const QString &input) const override
    {
        switch (operation) {
        case Operation::ToBinary:
            return toBinary(f, input);
        case Operation::ToDenary:
            return toDenary(f, input);
        case Operation::Normalise:
            return refuse({}, make(step::BadFormat{true}));
        default:  // a calculation: Topic::calculate
            return refuse({}, make(step::BadFormat{}));
        case Operation::Range:
            break;
        }
        return range(f);
    }

    // ---- Marking ------------------------------------------------------------------
    Number valueOf(const Format &, const QString &bits) const override { return nibblesValue(bits); }
    QString pointProblem(const BitsMarking &m) const override
    {
        const int at = m.student.points.front();
        if (at == m.r.size())
            return QString();
        return pw::Words::tr("Your answer has a point after %1; BCD here writes whole numbers, with no point.")
            .arg(pw::count(at));
    }
    QString countNote(const BitsMarking &m) const override
    {
        const exact::Reading x = exact::readDecimal(m.question);
        if (x.kind == exact::Reading::Kind::Exact && m.s.size() <= 64 && patterns::unsignedValue(m.s) == x.value)
            return pw::Words::tr("Those bits are %1 in pure binary; BCD writes each denary digit in its own 4 bits.")
                .arg(shown(x.value));
        return QString();
    }
    std::vector<Candidate> candidates(const BitsMarking &m) const override
    {
        std::vector<Candidate> c;
        const exact::Reading x = exact::readDecimal(m.question);
        if (x.kind == exact::Reading::Kind::Exact) {
            const QString binary = x.value.wholeBinary();
            if (binary.size() <= m.r.size())
                c.push_back({Mistake::BinaryGiven, QString(m.r.size() - binary.size(), u'0') + binary});
        }
        c.push_back({Mistake::Reversed, patterns::reversed(m.r)});
        // Any other answer with a nibble that is no digit is diagnosed as such.
        if (badNibble(m.s) >= 0)
            c.push_back({Mistake::DigitAboveNine, m.s});
        return c;
    }
    QString sentence(const BitsMarking &m, Mistake mistake) const override
    {
        const QString answer = nibbles(m.s);
        switch (mistake) {
        case Mistake::BinaryGiven:
            return pw::Words::tr("Your answer %1 is %2 in pure binary, the whole number by place values; BCD writes "
                                 "each denary digit on its own in 4 bits.")
                .arg(answer, shown(exact::readDecimal(m.question).value));
        case Mistake::DigitAboveNine: {
            const qsizetype at = badNibble(m.s);
            const QString nibble = m.s.mid(4 * at, 4);
            return pw::Words::tr("Your answer's %1 nibble, %2, is %3, not a denary digit: each nibble of BCD holds "
                                 "one digit, 0 to 9 (0000 to 1001).")
                .arg(ordinal(at), nibble)
                .arg(patterns::fromBits(nibble));
        }
        case Mistake::Reversed:
            return pw::Words::tr("Your answer %1 has the right bits in reverse order; each nibble is written with its "
                                 "8 first, and the digits from the left.")
                .arg(answer);
        default:
            break;
        }
        return pw::Words::tr("Your answer %1 stands for %2, not %3; it follows none of the usual mistakes: compare "
                             "it with the working, step by step.")
            .arg(answer, shown(m.sv), shown(m.rv));
    }
    qsizetype stepFor(const BitsMarking &m, Mistake mistake) const override
    {
        switch (mistake) {
        case Mistake::BinaryGiven:
        case Mistake::DigitAboveNine:
        case Mistake::Reversed:
            return findStep<DigitNibbles>(m.steps);
        default:
            return findStep<step::Result>(m.steps);
        }
    }
    std::vector<Misreading> misreadings(const NumberMarking &m) const override
    {
        std::vector<Misreading> c;
        if (m.bits.size() <= 64)
            c.push_back({Mistake::BinaryGiven, patterns::unsignedValue(m.bits)});
        const QString back = patterns::reversed(m.bits);
        if (badNibble(back) < 0)
            c.push_back({Mistake::Reversed, nibblesValue(back)});
        return c;
    }
    QString sentence(const NumberMarking &m, const Misreading &c) const override
    {
        const QString lead = pw::Words::tr("Your answer, %1,").arg(pw::printed(m.answer));
        switch (c.mistake) {
        case Mistake::BinaryGiven:
            return pw::Words::tr("%1 reads the bits as one number in pure binary; in BCD each nibble is one denary "
                                 "digit.")
                .arg(lead);
        case Mistake::Reversed:
            return pw::Words::tr("%1 reads the bits in reverse order; each nibble has its 8 first, and the digits "
                                 "run from the left.")
                .arg(lead);
        default:
            return lead;
        }
    }
    qsizetype stepFor(const NumberMarking &m, const Misreading &) const override
    {
        return std::max<qsizetype>(0, findStep<DigitNibbles>(m.steps));
    }

    // ---- Questions ------------------------------------------------------------------
    // Numbers of 2 to 4 digits, as exams set them (593, 2024), or fewer
    // where the format has fewer digits.
    QString newQuestion(const Format &f, Operation operation, QRandomGenerator &rng) const override
    {
        const int most = f.digits == 0 ? 4 : std::min(f.digits, 4);
        const int count = int(rng.bounded(std::min(2, most), most + 1));
        QString digits = QString::number(rng.bounded(1, 10));
        for (int i = 1; i < count; ++i)
            digits += QChar(u'0' + int(rng.bounded(10)));
        if (operation == Operation::ToBinary)
            return digits;
        if (operation == Operation::ToDenary)
            return solve(f, Operation::ToBinary, digits).text;
        return QString();
    }

private:
    Worked toBinary(const Format &f, const QString &input) const
    {
        const exact::Reading r = exact::readDecimal(input);
        if (r.kind == exact::Reading::Kind::NotANumber)
            return refuse({}, make(step::NotANumber{input}));
        const Typed typed = typedOf(r, input);
        Steps steps = readingSteps(r, input);
        if (r.negative && (r.kind != exact::Reading::Kind::Exact || r.value.sign() < 0))
            return refuse(std::move(steps), make(HasSign{typed}));
        if (r.kind == exact::Reading::Kind::Tiny || (r.kind == exact::Reading::Kind::Exact && !r.value.isInteger()))
            return refuse(std::move(steps), make(step::NotWhole{typed}));
        const QString number = r.kind == exact::Reading::Kind::Exact ? r.value.toDecimal() : QString();
        if (r.kind == exact::Reading::Kind::Huge && f.digits > 0)
            return refuse(std::move(steps), make(step::OutOfRange{typed, Number(), allNines(f.digits)}));
        if (f.digits > 0 && number.size() > f.digits)
            return refuse(std::move(steps), make(TooManyDigits{typed, number.size()}));
        if (r.kind == exact::Reading::Kind::Huge || number.size() >= 1000)
            return refuse(std::move(steps), make(TooLong{typed}));
        QString digits = number;
        if (f.digits > digits.size()) {
            digits = QString(f.digits - digits.size(), u'0') + digits;
            steps.push_back(make(Padded{number, digits}));
        }
        steps.push_back(make(DigitNibbles{digits, true}));
        const QString bits = patterns::bcdBits(digits);
        steps.push_back(make(WhyBcd{r.value}));
        steps.push_back(make(step::Result{typed, nibbles(bits)}));
        return {false, nibbles(bits), std::move(steps), std::nullopt};
    }

    Worked toDenary(const Format &f, const QString &input) const
    {
        ReadBits read = readBits(f.digits > 0 ? 4 * f.digits : 4, input);
        if (!read.ok && f.digits == 0) {
            if (const auto *count = as<step::WrongCount>(read.refusal)) {
                if (count->typed == 0 || count->typed % 4 != 0)
                    return refuse({}, make(NotNibbles{count->typed}));
                read = readBits(int(count->typed), input);
            }
        }
        if (!read.ok)
            return refuse({}, read.refusal);
        const QString &b = read.bits;
        Steps steps = read.steps;  // how hex was read
        if (const qsizetype bad = badNibble(b); bad >= 0)
            return refuse({}, make(NotADigit{bad, b.mid(4 * bad, 4)}));
        const QString digits = digitsOf(b);
        const Number value = Number::fromDecimal(digits);
        steps.push_back(make(DigitNibbles{digits, false}));
        steps.push_back(make(DigitsRead{digits, value}));
        steps.push_back(make(WhyBcd{value}));
        return {false, value.toDecimal(), std::move(steps), std::nullopt};
    }

    Worked range(const Format &f) const
    {
        const int d = f.digits;
        if (d == 0)
            return {false,
                    QStringLiteral("largest none: bcd grows with the number, 4 bits a digit; smallest positive "
                                   "0001 = 1; most negative none; bcd:D holds 0 to 10^D - 1"),
                    Steps{make(BcdRange{0})}, std::nullopt};
        const Number nines = allNines(d);
        const QString text = QStringLiteral("largest ") + nibbles(patterns::bcdBits(nines.toDecimal()))
            + QStringLiteral(" = ") + nines.toDecimal() + QStringLiteral("; smallest positive ")
            + nibbles(patterns::bcdBits(QString(d - 1, u'0') + u'1')) + QStringLiteral(" = 1; most negative none; ")
            + Number::power2(4 * qint64(d)).toDecimal() + QStringLiteral(" patterns, ")
            + (nines + Number(1)).toDecimal() + QStringLiteral(" values");
        return {false, text, Steps{make(BcdRange{d})}, std::nullopt};
    }
};

}  // namespace

const Topic &bcdTopic()
{
    static const BcdTopic topic;
    return topic;
}

}  // namespace quorvex::workbench
