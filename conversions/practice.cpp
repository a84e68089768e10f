// SPDX-License-Identifier: MIT
// Marking: the right answer comes from the workbench; each usual mistake is
// then applied to the question, the faulty method giving its own answer,
// and the first one that gives the student's answer names what went wrong.
// Bits are compared as patterns, numbers as exact values.
#include "conversions/practice.h"

#include "conversions/exact.h"
#include "conversions/workbenchtext.h"
#include "conversions/bitpattern.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace quorvex::practice {

namespace {

using patterns::fromBits;
using patterns::toBits;

using exact::Number;
using workbench::Steps;
using workbench::Worked;
namespace step = workbench::step;

struct Words {
    Q_DECLARE_TR_FUNCTIONS(Practice)
};

// ---- Patterns ------------------------------------------------------------------

Number unsignedValue(QStringView bits) { return Number::fromUnsigned(fromBits(bits)); }
Number twosValue(QStringView bits)
{
    Number v = unsignedValue(bits);
    if (!bits.isEmpty() && bits.at(0) == u'1')
        v = v - Number::power2(bits.size());
    return v;
}
qint64 twosWhole(QStringView bits)
{
    const qint64 v = qint64(fromBits(bits));
    return !bits.isEmpty() && bits.at(0) == u'1' ? v - (qint64(1) << bits.size()) : v;
}

QString inverted(QString bits)
{
    for (QChar &c : bits)
        c = c == u'1' ? u'0' : u'1';
    return bits;
}
QString reversed(QString bits)
{
    std::reverse(bits.begin(), bits.end());
    return bits;
}
// The bits of a pattern as the workbench writes it, without blanks or point.
QString plain(QString text)
{
    text.remove(u' ');
    text.remove(u'.');
    return text;
}

qint64 highestExponent(const Format &f) { return (qint64(1) << (f.exponent - 1)) - 1; }
qint64 lowestExponent(const Format &f) { return -(qint64(1) << (f.exponent - 1)); }
bool exponentFits(const Format &f, qint64 e) { return e >= lowestExponent(f) && e <= highestExponent(f); }
QString exponentBits(const Format &f, qint64 e) { return toBits(quint64(e), f.exponent); }

int fractionBits(const Format &f) { return f.isFixed() ? f.fraction : 0; }

// The exact value a pattern of the format's width holds.
Number valueOf(const Format &f, const QString &bits)
{
    if (f.isFloating())
        return twosValue(QStringView(bits).left(f.mantissa))
            .times2(twosWhole(QStringView(bits).mid(f.mantissa)) - (f.mantissa - 1));
    return (f.isSigned() ? twosValue(bits) : unsignedValue(bits)).times2(-fractionBits(f));
}

QString shown(const Number &n)
{
    const Number::Abridged a = n.abridgedDecimal(60, 24, 12);
    const QString text = printed(a.text);
    return a.abridged ? Words::tr("%1 (%2 characters)").arg(text).arg(a.length) : text;
}
QString count(qsizetype n) { return n == 1 ? Words::tr("1 bit") : Words::tr("%1 bits").arg(n); }
QString places(qint64 n) { return n == 1 ? Words::tr("1 place") : Words::tr("%1 places").arg(n); }

// A pattern grouped as a question prints it: fours from the point (or the
// right end); in floating point each part in fours from the left when it
// divides so, and a blank between mantissa and exponent.
QString spaced(const Format &f, const QString &bits)
{
    const auto fromRight = [](const QString &b) {
        QString out;
        for (qsizetype i = 0; i < b.size(); ++i) {
            if (i > 0 && (b.size() - i) % 4 == 0)
                out += u' ';
            out += b.at(i);
        }
        return out;
    };
    const auto fromLeft = [](const QString &b) {
        QString out;
        for (qsizetype i = 0; i < b.size(); ++i) {
            if (i > 0 && i % 4 == 0)
                out += u' ';
            out += b.at(i);
        }
        return out;
    };
    if (f.isFloating()) {
        const auto part = [&](const QString &b) { return b.size() > 4 && b.size() % 4 == 0 ? fromLeft(b) : b; };
        return part(bits.left(f.mantissa)) + u' ' + part(bits.mid(f.mantissa));
    }
    if (f.isFixed() && f.fraction > 0)
        return fromRight(bits.left(f.whole)) + u'.' + fromLeft(bits.mid(f.whole));
    return fromRight(bits);
}

// ---- The working with the student's point of departure marked ------------------

template <typename T>
qsizetype findStep(const Steps &steps, bool (*accept)(const T &) = nullptr)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        if (const T *s = std::get_if<T>(&steps[i]); s && (!accept || accept(*s)))
            return qsizetype(i);
    }
    return -1;
}

QString noteHtml(const QString &text)
{
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"6\" border=\"1\" bgcolor=\"#fff1b8\">"
                          "<tr><td><span style=\"color:#000000\"><b>")
        + Words::tr("Your answer parts from the method here:").toHtmlEscaped() + QStringLiteral("</b> ")
        + text.toHtmlEscaped() + QStringLiteral("</span></td></tr></table>");
}

QString workingWithNote(const Format &f, const Steps &steps, qsizetype at, const QString &note)
{
    if (at < 0 || at > qsizetype(steps.size()))
        at = qsizetype(steps.size());
    const Steps before(steps.begin(), steps.begin() + at), after(steps.begin() + at, steps.end());
    return workbench::workingHtml(f, before) + noteHtml(note) + workbench::workingHtml(f, after);
}

// ---- Reading the student's answer -------------------------------------------------

struct StudentBits {
    QString bits;
    QStringList others;      // characters that are not bits, blanks or points
    QList<int> points;       // how many bits stand before each point
    QList<int> groups;       // bits in each blank-separated group
};

StudentBits readStudentBits(const QString &text)
{
    StudentBits s;
    int group = 0;
    for (QChar c : text) {
        if (c == u'0' || c == u'1') {
            s.bits += c;
            ++group;
        } else if (c == u'.') {
            s.points << int(s.bits.size());
        } else if (c.isSpace()) {
            if (group > 0)
                s.groups << group;
            group = 0;
        } else if (s.others.size() < 3 && !s.others.contains(QString(c))) {
            s.others << QString(c);
        }
    }
    if (group > 0)
        s.groups << group;
    return s;
}

// ---- Bits answers: number to bits, and normalising ------------------------------

struct Candidate {
    Mistake mistake;
    QString bits;
};

class BitsMarker {
public:
    BitsMarker(const Format &f, Direction d, const QString &question, const Worked &right, const StudentBits &s)
        : m_f(f), m_direction(d), m_question(question), m_right(right), m_student(s), m_s(s.bits),
          m_r(plain(right.text))
    {
    }

    Verdict verdict()
    {
        if (m_s.isEmpty() && m_student.others.isEmpty())
            return wrong(Mistake::Unreadable, Words::tr("Nothing was written."), 0);
        if (!m_student.others.isEmpty())
            return wrong(Mistake::Unreadable,
                         Words::tr("Your answer holds %1, which %2 not bits: write only 0s and 1s.")
                             .arg(quotedList(m_student.others),
                                  m_student.others.size() == 1 ? Words::tr("is") : Words::tr("are")),
                         0);
        if (m_s.size() != m_f.totalBits())
            return wrong(Mistake::WrongCount, countSentence(), resultStep());
        if (const QString why = pointProblem(); !why.isEmpty())
            return wrong(Mistake::PointMisplaced, why, resultStep());
        if (m_s == m_r)
            return {true, Mistake::None, Words::tr("Right."), workbench::workingHtml(m_f, m_right.steps)};
        m_sv = valueOf(m_f, m_s);
        m_rv = valueOf(m_f, m_r);
        if (m_f.isFloating() && m_sv == m_rv)
            return wrong(Mistake::NotNormalised, sentence(Mistake::NotNormalised), stepFor(Mistake::NotNormalised));
        const std::vector<Candidate> all = candidates();
        for (auto c = all.begin(); c != all.end(); ++c) {
            if (c->bits != m_s || c->bits == m_r)
                continue;
            QString why = sentence(c->mistake);
            // The size's bits inverted without adding 1 are one step further
            // from zero: the same bits as rounding where the method cuts.
            if (std::any_of(c + 1, all.end(), [&](const Candidate &o) {
                    return o.mistake == Mistake::Rounded && o.bits == m_s && c->mistake != Mistake::Rounded;
                }))
                why += u' '
                    + Words::tr("The same bits come from rounding the last bit up where the method cuts: it cuts "
                                "the bits off after the last place, and does not round.");
            return wrong(c->mistake, why, stepFor(c->mistake));
        }
        return wrong(Mistake::Other, sentence(Mistake::Other), stepFor(Mistake::Other));
    }

private:
    Verdict wrong(Mistake m, const QString &why, qsizetype at) const
    {
        const QString answer = workbench::patternText(m_f, m_r);
        const QString tail = m_direction == Direction::Normalise
            ? Words::tr("The normalised pair is %1.").arg(answer)
            : Words::tr("The answer is %1, which stands for %2.").arg(answer, shown(valueOf(m_f, m_r)));
        return {false, m, why + u' ' + tail, workingWithNote(m_f, m_right.steps, at, why)};
    }

    static QString quotedList(const QStringList &items)
    {
        QStringList quoted;
        for (const QString &c : items)
            quoted << QStringLiteral("\u201C") + c + QStringLiteral("\u201D");
        return quoted.join(QStringLiteral(", "));
    }

    QString countSentence() const
    {
        const qsizetype n = m_s.size();
        QString text = Words::tr("Your answer has %1; %2 needs %3.").arg(count(n), formatTitle(m_f), count(m_f.totalBits()));
        const QList<int> &g = m_student.groups;
        if (m_f.isFloating() && g.size() >= 2) {
            const int last = g.back();
            if (last != m_f.exponent && n - last == m_f.mantissa)
                text += u' ' + Words::tr("Its exponent has %1, not %2.").arg(count(last)).arg(m_f.exponent);
            else if (last == m_f.exponent && n - last != m_f.mantissa)
                text += u' ' + Words::tr("Its mantissa has %1, not %2.").arg(count(n - last)).arg(m_f.mantissa);
        }
        if (n < m_f.totalBits() && QString(m_f.totalBits() - n, u'0') + m_s == m_r)
            text += u' ' + Words::tr("With its leading 0s written it would be right: every place is written, 0s too.");
        return text;
    }

    QString pointProblem() const
    {
        if (m_student.points.isEmpty())
            return QString();
        if (m_student.points.size() > 1)
            return Words::tr("Your answer has %1 points; a pattern has at most one.").arg(m_student.points.size());
        const int at = m_student.points.front();
        const int expected = m_f.isFixed() ? m_f.whole : m_f.isFloating() ? 1 : m_f.bits;
        if (at == expected)
            return QString();
        if (m_f.isInteger())
            return Words::tr("Your answer has a point after %1; whole numbers have no point.").arg(count(at));
        return (m_f.isFloating()
                    ? Words::tr("Your answer has its point after %1; the mantissa's point stands after its sign bit, "
                                "after %2.")
                    : Words::tr("Your answer has its point after %1; in this format the point stands after %2."))
            .arg(count(at), count(expected));
    }

    qsizetype resultStep() const
    {
        if (m_direction == Direction::Normalise)
            return 0;
        return findStep<step::Result>(m_right.steps);
    }

    qsizetype stepFor(Mistake m) const
    {
        const Steps &steps = m_right.steps;
        if (m_direction == Direction::Normalise)
            return 0;
        const auto first = [](qsizetype a, qsizetype b) { return a >= 0 ? a : b; };
        switch (m) {
        case Mistake::NotNormalised:
            if (m_s.startsWith(QStringLiteral("11")) || m_s.startsWith(QStringLiteral("00")))
                return first(findStep<step::Renormalised>(steps), first(findStep<step::Normalised>(steps), findStep<step::Zero>(steps)));
            return first(findStep<step::Normalised>(steps), findStep<step::Zero>(steps));
        case Mistake::NoComplement:
        case Mistake::SignAndMagnitude:
        case Mistake::InvertedOnly:
            return findStep<step::TwosComplement>(steps, [](const step::TwosComplement &t) {
                return t.of != step::TwosComplement::Of::Exponent;
            });
        case Mistake::ExponentSignAndMagnitude:
        case Mistake::ExponentInvertedOnly:
            return findStep<step::ExponentBits>(steps);
        case Mistake::ExponentWrongWay:
        case Mistake::ExponentOff:
            return findStep<step::Normalised>(steps);
        case Mistake::Rounded:
            return m_f.isFloating() ? findStep<step::Normalised>(steps) : findStep<step::Doubling>(steps);
        case Mistake::Reversed:
            return m_f.isFloating() ? resultStep() : findStep<step::PlaceTable>(steps);
        default:
            return resultStep();
        }
    }

    std::vector<Candidate> candidates() const
    {
        std::vector<Candidate> c;
        const int m = m_f.mantissa;
        if (m_direction == Direction::ToBinary) {
            const exact::Reading x = exact::readDecimal(m_question);
            const bool exactValue = x.kind == exact::Reading::Kind::Exact;
            // A negative number: its size converted, then the sign dealt with wrongly.
            if (exactValue && x.value.sign() < 0) {
                const Worked size = workbench::work(m_f, Direction::ToBinary, x.value.abs().toDecimal());
                if (!size.refused) {
                    const QString p = plain(size.text);
                    const QString mantissa = m_f.isFloating() ? p.left(m) : p;
                    const QString exponent = m_f.isFloating() ? p.mid(m) : QString();
                    c.push_back({Mistake::NoComplement, p});
                    c.push_back({Mistake::SignAndMagnitude, u'1' + mantissa.mid(1) + exponent});
                    c.push_back({Mistake::InvertedOnly, inverted(mantissa) + exponent});
                }
            }
            if (m_f.isFloating())
                exponentCandidates(c);
            // Rounded where the method cuts: one step further from zero.
            if (exactValue && !m_f.isInteger()) {
                const Number held = valueOf(m_f, m_r);
                if (held != x.value) {
                    qint64 last = -fractionBits(m_f);
                    if (m_f.isFloating()) {
                        const qsizetype at = findStep<step::Normalised>(m_right.steps);
                        last = at < 0 ? 0 : std::get<step::Normalised>(m_right.steps[size_t(at)]).exponent - (m - 1);
                    }
                    const Number step = Number::power2(last);
                    const Number away = x.value.sign() < 0 ? held - step : held + step;
                    const Worked rounded = workbench::work(m_f, Direction::ToBinary, away.toDecimal());
                    if (!rounded.refused)
                        c.push_back({Mistake::Rounded, plain(rounded.text)});
                }
            }
        } else if (m_f.isFloating()) {
            exponentCandidates(c);
        }
        if (m_f.isFloating())
            c.push_back({Mistake::Swapped, m_r.mid(m) + m_r.left(m)});
        c.push_back({Mistake::Reversed, reversed(m_r)});
        if (m_f.isFloating())
            c.push_back({Mistake::Reversed, reversed(m_r.left(m)) + reversed(m_r.mid(m))});
        return c;
    }

    // The mantissa right, the exponent wrong: each way of getting it wrong
    // that names itself, then any other exponent.
    void exponentCandidates(std::vector<Candidate> &c) const
    {
        const int m = m_f.mantissa;
        const QString mantissa = m_r.left(m);
        if (m_s.left(m) != mantissa)
            return;
        const qint64 e = twosWhole(QStringView(m_r).mid(m));
        if (m_direction == Direction::Normalise) {
            const qint64 start = twosWhole(plain(m_question).mid(m));
            if (exponentFits(m_f, 2 * start - e))
                c.push_back({Mistake::ExponentWrongWay, mantissa + exponentBits(m_f, 2 * start - e)});
        } else if (e != 0 && exponentFits(m_f, -e)) {
            c.push_back({Mistake::ExponentWrongWay, mantissa + exponentBits(m_f, -e)});
        }
        if (e < 0) {
            if (-e < highestExponent(m_f) + 1)
                c.push_back({Mistake::ExponentSignAndMagnitude, mantissa + u'1' + toBits(quint64(-e), m_f.exponent - 1)});
            c.push_back({Mistake::ExponentInvertedOnly, mantissa + inverted(toBits(quint64(-e), m_f.exponent))});
        }
        c.push_back({Mistake::ExponentOff, m_s});
    }

    QString sentence(Mistake m) const
    {
        const QString answer = workbench::patternText(m_f, m_s);
        const QString lead = Words::tr("Your answer %1 stands for %2").arg(answer, shown(m_sv));
        const int mw = m_f.mantissa;
        const qint64 e = m_f.isFloating() ? twosWhole(QStringView(m_r).mid(mw)) : 0;
        const qint64 se = m_f.isFloating() ? twosWhole(QStringView(m_s).mid(mw)) : 0;
        switch (m) {
        case Mistake::NotNormalised:
            if (m_rv.isZero())
                return Words::tr("Your answer %1 stands for 0, but zero is written all zeros.").arg(answer);
            if (m_s.startsWith(QStringLiteral("11")))
                return Words::tr("Your answer %1 holds the right value, %2, but is not normalised: a negative "
                                 "mantissa that starts 11 is shifted one place left, taking 1 from the exponent, "
                                 "until its first two bits differ.")
                    .arg(answer, shown(m_sv));
            return Words::tr("Your answer %1 holds the right value, %2, but is not normalised: a normalised "
                             "mantissa's first two bits differ (01 or 10).")
                .arg(answer, shown(m_sv));
        case Mistake::NoComplement:
            return (m_f.isFloating() ? Words::tr("%1, the size of the number: the mantissa's two's complement was "
                                                 "not taken. For a negative number, invert every bit of the size's "
                                                 "mantissa, then add 1.")
                                     : Words::tr("%1, the size of the number: the two's complement was not taken. "
                                                 "For a negative number, invert every bit of the size's pattern, "
                                                 "then add 1."))
                .arg(lead);
        case Mistake::SignAndMagnitude:
            return Words::tr("%1: a 1 for the minus sign in front of the size's bits is sign and magnitude; this "
                             "format uses two's complement.")
                .arg(lead);
        case Mistake::InvertedOnly:
            return (m_f.isFloating() ? Words::tr("%1: the mantissa's bits were inverted but 1 was not added.")
                                     : Words::tr("%1: the bits were inverted but 1 was not added."))
                .arg(lead);
        case Mistake::ExponentWrongWay:
            if (m_direction == Direction::Normalise)
                return Words::tr("%1: the exponent went up instead of down; each shift of the mantissa to the left "
                                 "takes 1 from the exponent.")
                    .arg(lead);
            return Words::tr("%1: the exponent's sign is wrong (%2 where it should be %3): the point was moved the "
                             "wrong way.")
                .arg(lead, shown(Number(se)), shown(Number(e)));
        case Mistake::ExponentSignAndMagnitude:
            return Words::tr("%1: the exponent %2 is written in sign and magnitude; the exponent is two's "
                             "complement: %3 is %4.")
                .arg(lead, m_s.mid(mw), shown(Number(e)), m_r.mid(mw));
        case Mistake::ExponentInvertedOnly:
            return Words::tr("%1: the exponent's bits were inverted but 1 was not added: %2 is %3.")
                .arg(lead, shown(Number(e)), m_r.mid(mw));
        case Mistake::ExponentOff:
            if (m_direction == Direction::Normalise) {
                const qint64 start = twosWhole(plain(m_question).mid(mw));
                if (se == start)
                    return Words::tr("%1: the mantissa was shifted but the exponent was left as it was; each shift "
                                     "to the left takes 1 from the exponent.")
                        .arg(lead);
                return Words::tr("%1: the exponent is off by %2 (%3 where it should be %4): the mantissa shifts %5, "
                                 "and each takes 1 from the exponent.")
                    .arg(lead, shown(Number(std::abs(se - e))), shown(Number(se)), shown(Number(e)),
                         places(start - e));
            }
            return Words::tr("%1: the exponent is off by %2 (%3 where it should be %4): count again the places the "
                             "point moves to stand just before the first 1.")
                .arg(lead, shown(Number(std::abs(se - e))), shown(Number(se)), shown(Number(e)));
        case Mistake::Swapped:
            return Words::tr("%1: the mantissa and the exponent are swapped; the mantissa (%2) comes first, then "
                             "the exponent (%3).")
                .arg(lead, count(m_f.mantissa), count(m_f.exponent));
        case Mistake::Rounded:
            return Words::tr("%1: the last bit was rounded up; the method cuts the bits off after the last place, "
                             "and does not round.")
                .arg(lead);
        case Mistake::Reversed:
            return Words::tr("%1: the bits are in reverse order; the leftmost bit is the largest place.").arg(lead);
        default:
            break;
        }
        return Words::tr("%1, not %2; it follows none of the usual mistakes: compare it with the working, step by "
                         "step.")
            .arg(lead, shown(m_rv));
    }

    const Format &m_f;
    Direction m_direction;
    const QString &m_question;
    const Worked &m_right;
    const StudentBits &m_student;
    QString m_s, m_r;  // the student's bits and the right ones
    Number m_sv, m_rv;
};

// ---- Number answers: bits to denary ----------------------------------------------

// A faulty reading of the pattern; `part` tells which for the words:
// 0 the pattern or its mantissa, 1 the exponent, 2 both, or a distance.
struct Misreading {
    Mistake mistake;
    Number value;
    qint64 part = 0;
};

class NumberMarker {
public:
    NumberMarker(const Format &f, const QString &question, const Worked &right, const QString &answer)
        : m_f(f), m_bits(readStudentBits(question).bits), m_right(right), m_answer(answer.trimmed())
    {
    }

    Verdict verdict()
    {
        m_rv = valueOf(m_f, m_bits);
        QString typed = m_answer;
        typed.replace(QChar(0x2212), u'-');
        if (typed.isEmpty())
            return wrong(Mistake::Unreadable, Words::tr("Nothing was written."), 0);
        const exact::Reading r = exact::readDecimal(typed);
        if (r.kind == exact::Reading::Kind::NotANumber)
            return wrong(Mistake::Unreadable,
                         Words::tr("Your answer, \u201C%1\u201D, is not a number: write it as a decimal such as %2.")
                             .arg(m_answer, printed(QStringLiteral("-8.25"))),
                         0);
        if (r.kind == exact::Reading::Kind::Exact && r.value == m_rv)
            return {true, Mistake::None, Words::tr("Right."), workbench::workingHtml(m_f, m_right.steps)};
        if (r.kind == exact::Reading::Kind::Exact) {
            for (const Misreading &c : misreadings()) {
                if (c.value == r.value && c.value != m_rv)
                    return wrong(c.mistake, sentence(c), stepFor(c));
            }
        }
        return wrong(Mistake::Other,
                     Words::tr("Your answer, %1, is not the value of the pattern; it follows none of the usual "
                               "mistakes: compare it with the working, step by step.")
                         .arg(printed(m_answer)),
                     qsizetype(m_right.steps.size()) - (m_f.isFloating() ? 1 : 0));
    }

private:
    Verdict wrong(Mistake m, const QString &why, qsizetype at) const
    {
        const QString tail = Words::tr("The pattern stands for %1.").arg(shown(m_rv));
        return {false, m, why + u' ' + tail, workingWithNote(m_f, m_right.steps, at, why)};
    }

    std::vector<Misreading> misreadings() const
    {
        std::vector<Misreading> c;
        c.push_back({Mistake::MinusLeftOut, -m_rv});
        const QString &b = m_bits;
        if (!m_f.isFloating()) {
            const int fraction = fractionBits(m_f);
            const bool top = b.startsWith(u'1');
            if (m_f.isSigned() && top) {
                c.push_back({Mistake::SignReadPositive, unsignedValue(b).times2(-fraction)});
                c.push_back({Mistake::SignAndMagnitude, -unsignedValue(QStringView(b).mid(1)).times2(-fraction)});
                c.push_back({Mistake::InvertedOnly, -unsignedValue(inverted(b)).times2(-fraction)});
            } else if (!m_f.isSigned() && top && b.size() > 1) {
                c.push_back({Mistake::UnsignedReadNegative, twosValue(b).times2(-fraction)});
            }
            if (fraction > 0)
                c.push_back({Mistake::PointIgnored, m_rv.times2(fraction)});
            c.push_back({Mistake::Reversed, valueOf(m_f, reversed(b))});
            return c;
        }
        const int m = m_f.mantissa, k = m_f.exponent;
        const QString mantissa = b.left(m), exponent = b.mid(m);
        const Number mv = twosValue(mantissa).times2(-(m - 1));
        const Number mu = unsignedValue(mantissa).times2(-(m - 1));
        const qint64 e = twosWhole(exponent), eu = qint64(fromBits(exponent));
        if (mantissa.startsWith(u'1'))
            c.push_back({Mistake::SignReadPositive, mu.times2(e), 0});
        if (exponent.startsWith(u'1')) {
            c.push_back({Mistake::SignReadPositive, mv.times2(eu), 1});
            if (mantissa.startsWith(u'1'))
                c.push_back({Mistake::SignReadPositive, mu.times2(eu), 2});
        }
        if (mantissa.startsWith(u'1')) {
            c.push_back({Mistake::SignAndMagnitude, -unsignedValue(QStringView(mantissa).mid(1)).times2(e - (m - 1)), 0});
            c.push_back({Mistake::InvertedOnly, -unsignedValue(inverted(mantissa)).times2(e - (m - 1)), 0});
        }
        if (exponent.startsWith(u'1')) {
            c.push_back({Mistake::ExponentSignAndMagnitude, mv.times2(-qint64(fromBits(QStringView(exponent).mid(1)))), 1});
            c.push_back({Mistake::ExponentInvertedOnly, mv.times2(-qint64(fromBits(inverted(exponent)))), 1});
        }
        // A hidden 1 before the mantissa's bits after its sign bit; or the
        // pattern read as sign, biased exponent and fraction, with the bias
        // 2^(k-1) or 2^(k-1) - 1.
        const Number fraction = unsignedValue(QStringView(mantissa).mid(1)).times2(-(m - 1));
        const Number hidden = Number(1) + fraction;
        c.push_back({Mistake::HiddenOne, (mantissa.startsWith(u'1') ? -hidden : hidden).times2(e), 0});
        const qint64 field = qint64(fromBits(QStringView(b).mid(1, k)));
        const Number ieee = Number(1) + unsignedValue(QStringView(b).mid(1 + k)).times2(-(m - 1));
        for (const qint64 bias : {qint64(1) << (k - 1), (qint64(1) << (k - 1)) - 1}) {
            const Number v = ieee.times2(field - bias);
            c.push_back({Mistake::HiddenOne, b.startsWith(u'1') ? -v : v, 1});
        }
        if (e != 0)
            c.push_back({Mistake::ExponentWrongWay, mv.times2(-e), e});
        for (qint64 d : {1, -1, 2, -2, 3, -3})
            c.push_back({Mistake::ExponentOff, mv.times2(e + d), d});
        c.push_back({Mistake::Swapped, valueOf(m_f, b.mid(k) + b.left(k))});
        c.push_back({Mistake::Reversed, valueOf(m_f, reversed(b))});
        return c;
    }

    qsizetype stepFor(const Misreading &c) const
    {
        const Steps &steps = m_right.steps;
        if (!m_f.isFloating())
            return c.mistake == Mistake::MinusLeftOut ? findStep<step::PlaceSum>(steps) : 0;
        switch (c.mistake) {
        case Mistake::ExponentWrongWay:
        case Mistake::ExponentOff: {
            const qsizetype moved = findStep<step::PointMoved>(steps);
            return moved >= 0 ? moved : findStep<step::FloatingValue>(steps);
        }
        case Mistake::ExponentSignAndMagnitude:
        case Mistake::ExponentInvertedOnly:
            return findStep<step::ExponentValue>(steps);
        case Mistake::SignReadPositive:
            return c.part == 1 ? findStep<step::ExponentValue>(steps) : 0;
        case Mistake::MinusLeftOut:
            return findStep<step::FloatingValue>(steps);
        default:
            return 0;
        }
    }

    QString sentence(const Misreading &c) const
    {
        const QString lead = Words::tr("Your answer, %1,").arg(printed(m_answer));
        const int n = int(m_bits.size());
        switch (c.mistake) {
        case Mistake::MinusLeftOut:
            return Words::tr("%1 has the right size but the wrong sign.").arg(lead);
        case Mistake::SignReadPositive:
            if (!m_f.isFloating()) {
                const QString place = shown(Number::power2(n - 1 - fractionBits(m_f)));
                return Words::tr("%1 reads the leftmost place as +%2; in two's complement it counts %3.")
                    .arg(lead, place, printed(u'-' + place));
            }
            if (c.part == 0)
                return Words::tr("%1 reads the mantissa's sign place as +1; in two's complement it counts %2.")
                    .arg(lead, printed(QStringLiteral("-1")));
            if (c.part == 1) {
                const QString place = shown(Number::power2(m_f.exponent - 1));
                return Words::tr("%1 reads the exponent's sign place as +%2; in two's complement it counts %3.")
                    .arg(lead, place, printed(u'-' + place));
            }
            return Words::tr("%1 reads the sign places of both mantissa and exponent as positive; in two's "
                             "complement each counts negative.")
                .arg(lead);
        case Mistake::UnsignedReadNegative:
            return Words::tr("%1 reads the leftmost place as negative, but this format is unsigned: every place "
                             "counts positive.")
                .arg(lead);
        case Mistake::SignAndMagnitude:
            return Words::tr("%1 reads the pattern as sign and magnitude (a leading 1 for minus); in two's "
                             "complement the leftmost place counts negative.")
                .arg(lead);
        case Mistake::InvertedOnly:
            return Words::tr("%1 finds the size by inverting the bits but does not add 1: the size is the inverted "
                             "bits plus 1.")
                .arg(lead);
        case Mistake::ExponentSignAndMagnitude:
            return Words::tr("%1 reads the exponent as sign and magnitude; the exponent is two's complement, %2.")
                .arg(lead, shown(Number(twosWhole(QStringView(m_bits).mid(m_f.mantissa)))));
        case Mistake::ExponentInvertedOnly:
            return Words::tr("%1 finds the exponent's size by inverting its bits but does not add 1; the exponent "
                             "is %2.")
                .arg(lead, shown(Number(twosWhole(QStringView(m_bits).mid(m_f.mantissa)))));
        case Mistake::HiddenOne:
            if (c.part == 0)
                return Words::tr("%1 assumes a hidden leading 1 before the mantissa's bits; nothing is hidden here: "
                                 "the mantissa is its bits as written, with the point after the sign bit.")
                    .arg(lead);
            return Words::tr("%1 reads the pattern as sign, biased exponent and fraction with a hidden leading 1; "
                             "here the mantissa comes first, in two's complement with the point after its sign "
                             "bit, then the exponent in two's complement, and nothing is hidden.")
                .arg(lead);
        case Mistake::ExponentWrongWay:
            return (c.part > 0 ? Words::tr("%1 applies the exponent the wrong way: the exponent %2 moves the point "
                                           "%3 right, not left.")
                               : Words::tr("%1 applies the exponent the wrong way: the exponent %2 moves the point "
                                           "%3 left, not right."))
                .arg(lead, shown(Number(c.part)), places(std::abs(c.part)));
        case Mistake::ExponentOff: {
            const qint64 e = twosWhole(QStringView(m_bits).mid(m_f.mantissa));
            return Words::tr("%1 moves the point as if the exponent were %2; it is %3.")
                .arg(lead, shown(Number(e + c.part)), shown(Number(e)));
        }
        case Mistake::PointIgnored:
            return Words::tr("%1 reads the bits as a whole number, leaving out the point %2 from the right.")
                .arg(lead, places(fractionBits(m_f)));
        case Mistake::Swapped:
            return Words::tr("%1 takes the first %2 as the exponent and the rest as the mantissa; the mantissa comes "
                             "first.")
                .arg(lead, count(m_f.exponent));
        case Mistake::Reversed:
            return Words::tr("%1 reads the bits in reverse order; the leftmost bit is the largest place.").arg(lead);
        default:
            return lead;
        }
    }

    const Format &m_f;
    QString m_bits;
    const Worked &m_right;
    QString m_answer;
    Number m_rv;
};

// ---- New questions ---------------------------------------------------------------

quint64 lowBits(int n) { return n >= 64 ? ~quint64(0) : (quint64(1) << n) - 1; }
int topBit(quint64 v)
{
    int t = -1;
    while (v) {
        ++t;
        v >>= 1;
    }
    return t;
}

// How many bits after a value's first 1 may be 1: few, so decimals stay short.
constexpr int significantBits = 6;

// A value other than zero that the format holds exactly.
Number heldValue(const Format &f, QRandomGenerator &rng, bool negative)
{
    if (!f.isFloating()) {
        const int n = f.totalBits();
        const quint64 cap = f.isSigned() ? (negative ? quint64(1) << (n - 1) : lowBits(n - 1)) : lowBits(n);
        if (cap == 0)  // a 1-bit two's complement pattern holds no positive value
            return heldValue(f, rng, true);
        const int top = topBit(cap);
        // Integers take any bits below their first 1; fixed point few,
        // and not so deep after the point that the decimal gets long.
        const int lowest = f.isFixed() ? std::clamp(f.fraction - 10, 0, top) : 0;
        const int t = int(rng.bounded(lowest, top + 1));
        const int below = f.isFixed() ? std::min(t, significantBits) : t;
        quint64 magnitude = (quint64(1) << t) | ((rng.generate64() & lowBits(below)) << (t - below));
        magnitude = std::min(magnitude, cap);
        const Number size = Number::fromUnsigned(magnitude).times2(-fractionBits(f));
        return negative ? -size : size;
    }
    const int m = f.mantissa;
    const qint64 low = std::max<qint64>(lowestExponent(f), -12), high = std::min<qint64>(highestExponent(f), 20);
    const qint64 e = low + qint64(rng.bounded(quint64(high - low + 1)));
    const int spare = std::min(m - 2, significantBits);
    quint64 digits;  // the size's m - 1 bits after the point
    if (negative && (m == 2 || rng.bounded(6) == 0)) {
        digits = quint64(1) << (m - 1);  // -1 x 2^e
    } else {
        quint64 r = spare > 0 ? rng.generate64() & lowBits(spare) : 0;
        if (negative && r == 0)  // -0.5 would renormalise: take one more 1
            r = 1;
        digits = (quint64(1) << (m - 2)) | (r << (m - 2 - spare));
    }
    const Number size = Number::fromUnsigned(digits).times2(e - (m - 1));
    return negative ? -size : size;
}

// A short decimal of about the size of `near` that the format cannot hold
// exactly, or nothing when a few tries find none.
std::optional<QString> cutQuestion(const Format &f, QRandomGenerator &rng, const Number &near)
{
    const QString size = near.abs().toDecimal();
    qint64 order;  // the power of ten of its first digit
    if (size.startsWith(QStringLiteral("0."))) {
        qsizetype i = 2;
        while (i < size.size() && size.at(i) == u'0')
            ++i;
        order = -(i - 1);
    } else {
        const qsizetype point = size.indexOf(u'.');
        order = (point < 0 ? size.size() : point) - 1;
    }
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int digits = int(rng.bounded(1, 4));
        quint64 first = 1;
        for (int d = 1; d < digits; ++d)
            first *= 10;
        const QString n = QString::number(first + rng.bounded(quint64(9 * first)));
        const qint64 shift = order - digits + 1;  // n x 10^shift
        QString text;
        if (shift >= 0)
            text = n + QString(qsizetype(shift), u'0');
        else if (n.size() > -shift)
            text = n.left(n.size() + shift) + u'.' + n.right(-shift);
        else
            text = QStringLiteral("0.") + QString(qsizetype(-shift - n.size()), u'0') + n;
        const Number value = exact::readDecimal(text).value;
        const QString q = (near.sign() < 0 ? -value : value).toDecimal();
        const workbench::HandAnswer h = workbench::handAnswer(f, q);
        if (!h.refused && h.value != q)
            return q;
    }
    return std::nullopt;
}

QString normaliseQuestion(const Format &f, QRandomGenerator &rng)
{
    const int m = f.mantissa;
    for (int attempt = 0; attempt < 40; ++attempt) {
        const bool negative = m == 2 || rng.bounded(2) == 1;
        const QString pair = plain(workbench::work(f, Direction::ToBinary, heldValue(f, rng, negative).toDecimal()).text);
        const QString mantissa = pair.left(m);
        const qint64 e = twosWhole(QStringView(pair).mid(m));
        // Shifting right by s and back loses nothing when the last s bits are 0.
        const qsizetype zeros = mantissa.size() - 1 - mantissa.lastIndexOf(u'1');
        const qint64 most = std::min<qint64>(negative ? zeros : std::min<qsizetype>(zeros, m - 2),
                                             highestExponent(f) - e);
        if (most < 1)
            continue;
        const int s = int(1 + rng.bounded(quint64(most)));
        const QString shifted = QString(s, mantissa.at(0)) + mantissa.left(m - s);
        return spaced(f, shifted + exponentBits(f, e + s));
    }
    // -1 x 2^e shifted once: always possible below the highest exponent.
    const QString mantissa = u'1' + QString(m - 1, u'0');
    return spaced(f, u'1' + mantissa.left(m - 1) + exponentBits(f, highestExponent(f)));
}

}  // namespace

// ---- Public ----------------------------------------------------------------------

Verdict mark(const Format &format, Direction direction, const QString &question, const QString &answer)
{
    if (direction == Direction::Range)
        return {false, Mistake::QuestionRefused, Words::tr("The range is not a question to mark."), QString()};
    const Worked right = workbench::work(format, direction, question);
    if (right.refused) {
        const QString why = workbench::refusalText(format, right.steps.back());
        return {false, Mistake::QuestionRefused, Words::tr("This question has no answer in this format: %1").arg(why),
                workbench::workingHtml(format, right.steps)};
    }
    if (direction == Direction::ToDenary)
        return NumberMarker(format, question, right, answer).verdict();
    const StudentBits s = readStudentBits(answer);
    return BitsMarker(format, direction, question, right, s).verdict();
}

QString Tally::text() const { return Words::tr("%1 of %2 right").arg(right).arg(asked); }

QString newQuestion(const Format &format, Direction direction, QRandomGenerator &rng)
{
    switch (direction) {
    case Direction::ToBinary: {
        const bool negative = format.isSigned() && rng.bounded(2) == 1;
        const Number value = heldValue(format, rng, negative);
        if (!format.isInteger() && rng.bounded(6) == 0) {
            if (const std::optional<QString> cut = cutQuestion(format, rng, value))
                return *cut;
        }
        return value.toDecimal();
    }
    case Direction::ToDenary: {
        const Number value = heldValue(format, rng, format.isSigned() && rng.bounded(2) == 1);
        return spaced(format, plain(workbench::work(format, Direction::ToBinary, value.toDecimal()).text));
    }
    case Direction::Normalise:
        return format.isFloating() ? normaliseQuestion(format, rng) : QString();
    case Direction::Range:
        break;
    }
    return QString();
}

std::vector<Question> sheetQuestions(const Format &format, const QList<Direction> &directions, int count, quint32 seed)
{
    std::vector<Question> out;
    if (directions.isEmpty() || count <= 0)
        return out;
    QRandomGenerator rng(seed);
    QSet<QString> seen;
    const int share = int(count / directions.size()), extra = int(count % directions.size());
    for (qsizetype d = 0; d < directions.size(); ++d) {
        const int n = share + (d < extra ? 1 : 0);
        for (int i = 0; i < n; ++i) {
            QString q;
            for (int attempt = 0; attempt < 30; ++attempt) {
                q = newQuestion(format, directions[d], rng);
                if (!seen.contains(q))
                    break;
            }
            seen.insert(q);
            out.push_back({directions[d], q});
        }
    }
    return out;
}

QString formatTitle(const Format &f)
{
    switch (f.representation) {
    case Representation::UnsignedInteger:
        return Words::tr("Unsigned integer: %1").arg(count(f.bits));
    case Representation::TwosInteger:
        return Words::tr("Two's complement integer: %1").arg(count(f.bits));
    case Representation::UnsignedFixed:
        return Words::tr("Unsigned fixed point: %1 before the point, %2 after").arg(count(f.whole)).arg(f.fraction);
    case Representation::TwosFixed:
        return Words::tr("Two's complement fixed point: %1 before the point, %2 after")
            .arg(count(f.whole))
            .arg(f.fraction);
    case Representation::Floating:
        break;
    }
    return Words::tr("Floating point: %1-bit two's complement mantissa, %2-bit exponent").arg(f.mantissa).arg(f.exponent);
}

QString instruction(Direction direction)
{
    switch (direction) {
    case Direction::ToBinary:
        return Words::tr("Write each number in this format.");
    case Direction::ToDenary:
        return Words::tr("Write the value of each pattern as a denary number.");
    case Direction::Normalise:
        return Words::tr("Normalise each pair.");
    case Direction::Range:
        break;
    }
    return Words::tr("Give the range of this format.");
}

QString printed(const QString &text)
{
    QString out = text;
    out.replace(u'-', QChar(0x2212));
    return out;
}

}  // namespace quorvex::practice
