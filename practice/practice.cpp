// SPDX-License-Identifier: MIT
// Marking: the right answer comes from the workbench; each usual mistake of
// the question's topic is then applied to the question, the faulty method
// giving its own answer, and the first one that gives the student's answer
// names what went wrong. Bits are compared as patterns, numbers as exact
// values.
#include "practice/practice.h"

#include "practice/calculations.h"

#include "engine/bitpattern.h"
#include "engine/exact.h"
#include "engine/hex.h"
#include "engine/methods.h"
#include "engine/words.h"
#include "topics/registry.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace quorvex::practice {

namespace {

using exact::Number;
using workbench::Steps;
using workbench::Topic;
using workbench::Worked;

// ---- The working with the student's point of departure marked ------------------

QString noteHtml(const QString &text)
{
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"6\" border=\"1\" bgcolor=\"#fff1b8\">"
                          "<tr><td><span style=\"color:#000000\"><b>")
        + Words::tr("Your answer parts from the method here:").toHtmlEscaped() + QStringLiteral("</b> ")
        + text.toHtmlEscaped() + QStringLiteral("</span></td></tr></table>");
}

}  // namespace

QString workingWithNote(const Format &f, const Steps &steps, qsizetype at, const QString &note)
{
    if (at < 0 || at > qsizetype(steps.size()))
        at = qsizetype(steps.size());
    const Steps before(steps.begin(), steps.begin() + at), after(steps.begin() + at, steps.end());
    return workbench::workingHtml(f, before) + noteHtml(note) + workbench::workingHtml(f, after);
}

namespace {

QString quotedList(const QStringList &items)
{
    QStringList quoted;
    for (const QString &c : items)
        quoted << QStringLiteral("\u201C") + c + QStringLiteral("\u201D");
    return quoted.join(QStringLiteral(", "));
}

// ---- Bits answers: number to bits, and normalising ------------------------------

class BitsMarker {
public:
    BitsMarker(const Topic &topic, const Format &f, Direction d, const QString &question, const Worked &right,
               const StudentBits &s)
        : m_topic(topic), m_m{f, d, question, right.text, right.steps, s, s.bits, plain(right.text), {}, {}}
    {
    }

    Verdict verdict()
    {
        const Format &f = m_m.format;
        if (m_m.s.isEmpty() && m_m.student.others.isEmpty())
            return wrong(Mistake::Unreadable, Words::tr("Nothing was written."), 0);
        if (!m_m.student.others.isEmpty())
            return wrong(Mistake::Unreadable,
                         (m_m.student.others.size() == 1
                              ? Words::tr("Your answer holds %1, which is not a bit: write only 0s and 1s.")
                              : Words::tr("Your answer holds %1, which are not bits: write only 0s and 1s."))
                             .arg(quotedList(m_m.student.others)),
                         0);
        if (m_m.s.size() != m_m.r.size())
            return wrong(Mistake::WrongCount, countSentence(), resultStep());
        if (const QString why = pointProblem(); !why.isEmpty())
            return wrong(Mistake::PointMisplaced, why, resultStep());
        if (m_m.s == m_m.r)
            return {true, Mistake::None, Words::tr("Right."), workbench::workingHtml(f, m_m.steps)};
        m_m.sv = m_topic.valueOf(f, m_m.s);
        m_m.rv = m_topic.valueOf(f, m_m.r);
        if (m_topic.notNormalised(m_m))
            return wrong(Mistake::NotNormalised, m_topic.sentence(m_m, Mistake::NotNormalised),
                         m_topic.stepFor(m_m, Mistake::NotNormalised));
        const std::vector<Candidate> all = m_topic.candidates(m_m);
        for (auto c = all.begin(); c != all.end(); ++c) {
            if (c->bits != m_m.s || c->bits == m_m.r)
                continue;
            QString why = m_topic.sentence(m_m, c->mistake);
            // The size's bits inverted without adding 1 are one step further
            // from zero: the same bits as rounding where the method cuts.
            if (std::any_of(c + 1, all.end(), [&](const Candidate &o) {
                    return o.mistake == Mistake::Rounded && o.bits == m_m.s && c->mistake != Mistake::Rounded;
                }))
                why += u' '
                    + Words::tr("The same bits come from rounding the last bit up where the method cuts: it cuts "
                                "the bits off after the last place, and does not round.");
            return wrong(c->mistake, why, m_topic.stepFor(m_m, c->mistake));
        }
        return wrong(Mistake::Other, m_topic.sentence(m_m, Mistake::Other), m_topic.stepFor(m_m, Mistake::Other));
    }

private:
    Verdict wrong(Mistake m, const QString &why, qsizetype at) const
    {
        const Format &f = m_m.format;
        const QString answer = m_topic.written(f, m_m.r);
        const QString tail = m_m.direction == Direction::Normalise
            ? Words::tr("The normalised pair is %1.").arg(answer)
            : Words::tr("The answer is %1, which stands for %2.").arg(answer, shown(m_topic.valueOf(f, m_m.r)));
        return {false, m, why + u' ' + tail, workingWithNote(f, m_m.steps, at, why)};
    }

    // "Your answer has 5 bits; an 8-bit unsigned integer is written with
    // all 8, so write the leading 0s: 00011111."
    QString countSentence() const
    {
        const Format &f = m_m.format;
        const qsizetype n = m_m.s.size();
        const bool leadingZeros = n < m_m.r.size() && QString(m_m.r.size() - n, u'0') + m_m.s == m_m.r;
        QString text = (leadingZeros ? Words::tr("Your answer has %1; %2 is written with all %3, so write the leading "
                                                 "0s: %4.")
                                           .arg(count(n), m_topic.patternName(f))
                                           .arg(m_m.r.size())
                                           .arg(m_m.rightText)
                                     : Words::tr("Your answer has %1; %2 is written with all %3.")
                                           .arg(count(n), m_topic.patternName(f))
                                           .arg(m_m.r.size()));
        if (const QString note = m_topic.countNote(m_m); !note.isEmpty())
            text += u' ' + note;
        return text;
    }

    QString pointProblem() const
    {
        if (m_m.student.points.isEmpty())
            return QString();
        if (m_m.student.points.size() > 1)
            return Words::tr("Your answer has %1 points; a pattern has at most one.").arg(m_m.student.points.size());
        return m_topic.pointProblem(m_m);
    }

    qsizetype resultStep() const
    {
        if (m_m.direction == Direction::Normalise)
            return 0;
        return workbench::findStep<workbench::step::Result>(m_m.steps);
    }

    const Topic &m_topic;
    BitsMarking m_m;
};

// ---- Number answers: bits to denary ----------------------------------------------

class NumberMarker {
public:
    NumberMarker(const Topic &topic, const Format &f, const QString &question, const Worked &right,
                 const QString &answer)
        : m_topic(topic), m_read(workbench::readBits(topic.width(f), question, f.fractionBits())),
          m_bits(m_read.ok ? m_read.bits : readStudentBits(question).bits), m_answer(answer.trimmed()),
          m_m{f, m_bits, right.steps, m_answer, topic.valueOf(f, m_bits)}, m_rightText(right.text)
    {
    }

    Verdict verdict()
    {
        QString typed = m_answer;
        typed.replace(QChar(0x2212), u'-');
        if (typed.isEmpty())
            return wrong(Mistake::Unreadable, Words::tr("Nothing was written."), 0);
        // A pattern that stands for no number (an infinity, a NaN) is
        // answered in words.
        if (exact::readDecimal(m_rightText).kind == exact::Reading::Kind::NotANumber) {
            if (special(typed) == special(m_rightText))
                return {true, Mistake::None, Words::tr("Right."), workbench::workingHtml(m_m.format, m_m.steps)};
            return {false, Mistake::Other,
                    Words::tr("Your answer, \u201C%1\u201D, is not what the pattern stands for: it stands for no "
                              "number but %2.")
                        .arg(m_answer, printed(m_rightText)),
                    workingWithNote(m_m.format, m_m.steps, m_topic.otherStep(m_m),
                                    Words::tr("The pattern stands for no number."))};
        }
        const exact::Reading r = exact::readDecimal(typed);
        if (r.kind == exact::Reading::Kind::NotANumber)
            return wrong(Mistake::Unreadable,
                         Words::tr("Your answer, \u201C%1\u201D, is not a number: write it as a decimal such as %2.")
                             .arg(m_answer, printed(QStringLiteral("-8.25"))),
                         0);
        if (r.kind == exact::Reading::Kind::Exact && r.value == m_m.rv)
            return {true, Mistake::None, Words::tr("Right."), workbench::workingHtml(m_m.format, m_m.steps)};
        if (r.kind == exact::Reading::Kind::Exact) {
            if (const std::optional<Verdict> v = hexMisread(r.value))
                return *v;
            for (const Misreading &c : m_topic.misreadings(m_m)) {
                if (c.value == r.value && c.value != m_m.rv)
                    return wrong(c.mistake, m_topic.sentence(m_m, c), m_topic.stepFor(m_m, c));
            }
        }
        return wrong(Mistake::Other,
                     Words::tr("Your answer, %1, is not the value of the pattern; it follows none of the usual "
                               "mistakes: compare it with the working, step by step.")
                         .arg(printed(m_answer)),
                     m_topic.otherStep(m_m));
    }

private:
    // An infinity or a NaN as written: "+infinity", "-Infinity", "∞", "inf"
    // and "NaN" (its kind and payload need not be given).
    static QString special(QString text)
    {
        text = text.trimmed().toLower();
        text.replace(QChar(0x2212), u'-');
        text.replace(QChar(0x221E), QStringLiteral("infinity"));
        if (text.startsWith(u'+'))
            text.remove(0, 1);
        if (text == u"inf" || text == u"-inf")
            text += QStringLiteral("inity");
        if (text.startsWith(QLatin1StringView("nan")))
            return QStringLiteral("nan");
        return text;
    }

    Verdict wrong(Mistake m, const QString &why, qsizetype at) const
    {
        const QString tail = Words::tr("The pattern stands for %1.").arg(shown(m_m.rv));
        return {false, m, why + u' ' + tail, workingWithNote(m_m.format, m_m.steps, at, why)};
    }

    // Hex digits misread, where the question is a whole number in hex.
    std::optional<Verdict> hexMisread(const Number &answer) const
    {
        const auto *h = m_read.hex ? workbench::as<workbench::step::HexRead>(m_read.steps.front()) : nullptr;
        if (!h || !h->fraction.isEmpty() || m_m.format.isSigned() || m_m.format.isFloating()
            || m_m.format.fractionBits() != 0)
            return std::nullopt;
        const auto reading = [&](auto valueOf) {
            Number total;
            for (QChar c : h->whole)
                total = total.times2(4) + Number(valueOf(workbench::hex::value(c)));
            return total;
        };
        const QString lead = Words::tr("Your answer, %1,").arg(printed(m_answer));
        const std::pair<Mistake, Number> misreadings[] = {
            {Mistake::HexDigitAsPosition, reading([](int v) { return v >= 10 ? v - 9 : v; })},
            {Mistake::HexDigitOff, reading([](int v) { return v >= 10 ? v + 1 : v; })},
            {Mistake::HexDigitOff, reading([](int v) { return v >= 10 ? v - 1 : v; })},
        };
        for (const auto &[mistake, value] : misreadings) {
            if (value != answer || value == m_m.rv)
                continue;
            const QString why = mistake == Mistake::HexDigitAsPosition
                ? Words::tr("%1 reads each hex letter as its place in the alphabet (A as 1); A to F stand for 10 to "
                            "15.")
                      .arg(lead)
                : Words::tr("%1 is off in the value of a hex letter: A is 10, B 11, C 12, D 13, E 14 and F 15.")
                      .arg(lead);
            return wrong(mistake, why, 0);
        }
        return std::nullopt;
    }

    const Topic &m_topic;
    workbench::ReadBits m_read;
    QString m_bits;
    QString m_answer;
    NumberMarking m_m;
    QString m_rightText;
};

// ---- Hex answers -----------------------------------------------------------------

// A hex answer as a value: markers, blanks and case do not matter, nor 0s
// before the whole part or after the fraction. Empty when it is not hex.
QString hexValue(QString text, QStringList *others = nullptr)
{
    text.remove(u' ');
    text = text.toUpper();
    if (text.startsWith(QLatin1StringView("0X")))
        text.remove(0, 2);
    else if (text.startsWith(u'&') || text.startsWith(u'#'))
        text.remove(0, 1);
    if (text.endsWith(u'H'))
        text.chop(1);
    else if (text.endsWith(QStringLiteral("\u2081\u2086")))
        text.chop(2);
    for (QChar c : text) {
        if (workbench::hex::value(c) < 0 && c != u'.' && others && others->size() < 3 && !others->contains(QString(c)))
            *others << QString(c);
    }
    static const QRegularExpression digits(QStringLiteral("^([0-9A-F]*)(\\.([0-9A-F]*))?$"));
    const QRegularExpressionMatch m = digits.match(text);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(3).isEmpty()))
        return QString();
    QString whole = m.captured(1), fraction = m.captured(3);
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    return fraction.isEmpty() ? whole : whole + u'.' + fraction;
}

class HexMarker {
public:
    HexMarker(const Format &f, const Worked &right, const QString &answer)
        : m_format(f), m_right(right), m_answer(answer.trimmed()), m_r(hexValue(right.text))
    {
    }

    Verdict verdict() const
    {
        QStringList others;
        const QString s = hexValue(m_answer, &others);
        if (m_answer.isEmpty())
            return wrong(Mistake::Unreadable, Words::tr("Nothing was written."));
        if (s.isEmpty())
            return wrong(Mistake::Unreadable,
                         Words::tr("Your answer holds %1, which %2 not hex: hex digits are 0 to 9 and A to F.")
                             .arg(quotedList(others.isEmpty() ? QStringList{m_answer} : others),
                                  others.size() > 1 ? Words::tr("are") : Words::tr("is")));
        if (s == m_r)
            return {true, Mistake::None, Words::tr("Right."), workbench::workingHtml(m_format, m_right.steps)};
        const QString lead = Words::tr("Your answer %1").arg(m_answer);
        for (const auto &[mistake, candidate] : candidates()) {
            if (hexValue(candidate) != s || hexValue(candidate) == m_r)
                continue;
            return wrong(mistake, sentence(mistake, lead));
        }
        return wrong(Mistake::Other, Words::tr("%1 is not the pattern in hex; it follows none of the usual mistakes: "
                                               "compare it with the working, step by step.")
                                         .arg(lead));
    }

private:
    Verdict wrong(Mistake m, const QString &why) const
    {
        const QString tail = Words::tr("The answer is %1.").arg(m_right.text);
        const qsizetype at = workbench::findStep<workbench::step::Nibbles>(m_right.steps);
        return {false, m, why + u' ' + tail, workingWithNote(m_format, m_right.steps, at, why)};
    }

    std::vector<std::pair<Mistake, QString>> candidates() const
    {
        const QString &r = m_right.text;
        const auto each = [&](auto change) {
            QString out;
            for (QChar c : r) {
                const int v = workbench::hex::value(c);
                out += v >= 10 ? change(v) : QString(c);
            }
            return out;
        };
        std::vector<std::pair<Mistake, QString>> c;
        c.push_back({Mistake::HexDigitOff, each([](int v) { return QString(workbench::hex::digit(v - 1)); })});
        c.push_back({Mistake::HexDigitOff,
                     each([](int v) { return v < 15 ? QString(workbench::hex::digit(v + 1)) : QStringLiteral("10"); })});
        // One letter alone off by one.
        for (qsizetype i = 0; i < r.size(); ++i) {
            const int v = workbench::hex::value(r.at(i));
            if (v < 10)
                continue;
            for (int other : {v - 1, v + 1}) {
                if (other <= 15)
                    c.push_back({Mistake::HexDigitOff, QString(r).replace(i, 1, workbench::hex::digit(other))});
            }
        }
        c.push_back({Mistake::HexDenaryDigits, each([](int v) { return QString::number(v); })});
        if (!r.contains(u'.')) {
            c.push_back({Mistake::HexReversed, patterns::reversed(r)});
            // The bits in fours from the left: the last group short, read
            // as it stands or filled with 0s on its right.
            const auto *n = workbench::as<workbench::step::Nibbles>(m_right.steps.back());
            if (n && n->bits.size() % 4 != 0) {
                const QString b = n->bits;
                const qsizetype full = b.size() - b.size() % 4;
                const QString head = workbench::hex::ofBits(b.left(full));
                const QString tail = b.mid(full);
                c.push_back({Mistake::HexGroupedFromLeft, head + workbench::hex::ofBits(tail)});
                c.push_back({Mistake::HexGroupedFromLeft,
                             head + workbench::hex::digit(int(patterns::fromBits(tail + QString(4 - tail.size(), u'0'))))});
            }
        }
        return c;
    }

    static QString sentence(Mistake m, const QString &lead)
    {
        switch (m) {
        case Mistake::HexDigitOff:
            return Words::tr("%1 has a hex letter off by one: A is 10, B 11, C 12, D 13, E 14 and F 15.").arg(lead);
        case Mistake::HexDenaryDigits:
            return Words::tr("%1 writes a group above 9 as a denary number; each group of four bits is one hex "
                             "digit, 10 to 15 written A to F.")
                .arg(lead);
        case Mistake::HexReversed:
            return Words::tr("%1 has the hex digits in reverse order; the leftmost group of bits gives the first "
                             "digit.")
                .arg(lead);
        case Mistake::HexGroupedFromLeft:
            return Words::tr("%1 groups the bits in fours from the left; they are grouped from the right, the "
                             "leftmost group filled with 0s.")
                .arg(lead);
        default:
            return lead;
        }
    }

    const Format &m_format;
    const Worked &m_right;
    QString m_answer;
    QString m_r;
};

}  // namespace

// ---- Public ----------------------------------------------------------------------

Verdict mark(const Format &format, Direction direction, const QString &question, const QString &answer)
{
    if (workbench::isCalculation(direction))
        return markCalculation(format, direction, workbench::Calculation{{question}, 0, std::nullopt, std::nullopt},
                               answer);
    if (direction == Direction::Range)
        return {false, Mistake::QuestionRefused, Words::tr("The range is not a question to mark."), QString()};
    const Worked right = workbench::work(format, direction, question);
    if (right.refused) {
        QString why = workbench::refusalText(format, right.steps.back());
        if (!why.endsWith(u'.'))
            why += u'.';
        return {false, Mistake::QuestionRefused, Words::tr("This question has no answer in this format: %1").arg(why),
                workbench::workingHtml(format, right.steps)};
    }
    const Topic &topic = *workbench::topicOf(format);  // an answered question has its topic
    if (direction == Direction::ToHex)
        return HexMarker(format, right, answer).verdict();
    if (direction == Direction::ToDenary)
        return NumberMarker(topic, format, question, right, answer).verdict();
    const StudentBits s = readStudentBits(answer);
    return BitsMarker(topic, format, direction, question, right, s).verdict();
}

QString Tally::text() const
{
    const QString score = Words::tr("%1 of %2 right").arg(right).arg(asked);
    if (hinted == 0)
        return score;
    return score + u' '
        + (hinted == 1 ? Words::tr("(1 of them with a hint)") : Words::tr("(%1 of them with a hint)").arg(hinted));
}

QStringList hints(const Format &format, Direction direction, const workbench::Calculation &question)
{
    const Worked w = workbench::isCalculation(direction) ? workbench::work(format, direction, question)
                                                         : workbench::work(format, direction, question.operands.value(0));
    QStringList out;
    if (w.refused)
        return out;
    for (std::size_t i = 0; i + 1 < w.steps.size(); ++i)
        out << workbench::workingHtml(format, Steps{w.steps[i]});
    return out;
}

int significantDigits(QStringView number)
{
    QString digits;
    for (QChar c : number) {
        if (c.isDigit())
            digits += c;
    }
    while (digits.startsWith(u'0'))
        digits.remove(0, 1);
    while (digits.endsWith(u'0'))
        digits.chop(1);
    return int(digits.size());
}

QString newQuestion(const Format &format, Direction direction, QRandomGenerator &rng)
{
    const Topic *topic = workbench::topicOf(format);
    // Of the calculations, those of one number (an error, a comparison).
    const bool calculated = topic && topic->calculations().contains(direction) && workbench::operandCount(direction) == 1;
    if (!topic || !topic->offered(format) || (!topic->operations().contains(direction) && !calculated)
        || direction == Direction::Range)
        return QString();
    // A number to write in bits is as short as exam papers print them: at
    // most 6 significant digits (12.75, -3.5, 0.1875), drawn again until it
    // is.
    QString question = topic->newQuestion(format, direction, rng);
    for (int tries = 0; direction == Direction::ToBinary && significantDigits(question) > 6 && tries < 50; ++tries)
        question = topic->newQuestion(format, direction, rng);
    return question;
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
        const bool calculated = workbench::isCalculation(directions[d]);
        for (int i = 0; i < n; ++i) {
            Question q{directions[d], QString(), {}};
            for (int attempt = 0; attempt < 30; ++attempt) {
                if (calculated) {
                    q.calculation = newCalculation(format, q.direction, rng);
                    q.text = askedCalculation(format, q.direction, q.calculation);
                } else {
                    q.text = newQuestion(format, q.direction, rng);
                    q.calculation.operands = QStringList{q.text};
                }
                if (!seen.contains(q.text))
                    break;
            }
            seen.insert(q.text);
            out.push_back(q);
        }
    }
    return out;
}

bool onSheets(const Format &format, Direction direction)
{
    const Topic *topic = workbench::topicOf(format);
    if (!topic || direction == Direction::Range || direction == Direction::Compare || direction == Direction::Convert)
        return false;
    return topic->operations().contains(direction) || topic->calculations().contains(direction);
}

QString formatTitle(const Format &f)
{
    const Topic *topic = workbench::topicOf(f);
    return topic ? topic->heading(f) : QString();
}

QString asked(const Format &format, Direction direction)
{
    QString what;
    switch (direction) {
    case Direction::ToBinary:
        what = Words::tr("New question: write this number in bits.");
        break;
    case Direction::ToDenary:
        what = Words::tr("New question: write the value of these bits as a denary number.");
        break;
    case Direction::Normalise:
        what = Words::tr("New question: normalise this mantissa and exponent.");
        break;
    case Direction::ToHex:
        what = Words::tr("New question: write this in hexadecimal.");
        break;
    case Direction::Range:
        what = Words::tr("New question: give the range of this format.");
        break;
    default:
        what = Words::tr("New question: work this out.");
        break;
    }
    return what + u' ' + formatTitle(format) + u'.';
}

QString questionText(const Format &format, Direction direction, const QString &question)
{
    const Topic *topic = workbench::topicOf(format);
    if (!topic)
        return QString();
    // Floating point is named as exam papers name it, with both its parts.
    const QString parts = topic->pairParts(format);
    const QString name = !parts.isEmpty() ? Words::tr("a normalised floating-point number with %1").arg(parts)
                                          : topic->patternName(format);
    switch (direction) {
    case Direction::ToBinary:
        return Words::tr("Write %1 as %2.").arg(question.trimmed(), name);
    case Direction::ToDenary:
        return Words::tr("Give the denary value of %1, %2.").arg(question.trimmed(), name);
    case Direction::ToHex:
        return Words::tr("Write %1 in hexadecimal, as %2.").arg(question.trimmed(), name);
    case Direction::Normalise:
        return Words::tr("Normalise the floating-point number %1, with %2.").arg(question.trimmed(), parts);
    case Direction::Range:
        return Words::tr("Give the range of %1.").arg(name);
    default:
        break;
    }
    return QString();
}

QString answerForm(Direction direction)
{
    switch (direction) {
    case Direction::ToDenary:
        return Words::tr("a denary number");
    case Direction::ToHex:
        return Words::tr("hex digits");
    case Direction::Range:
        return QString();
    default:
        break;
    }
    return Words::tr("bits");
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
    case Direction::ToHex:
        return Words::tr("Write each in hexadecimal.");
    case Direction::Range:
        break;
    default:
        return Words::tr("Work out each.");
    }
    return Words::tr("Give the range of this format.");
}

}  // namespace quorvex::practice
