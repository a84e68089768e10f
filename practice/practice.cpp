// SPDX-License-Identifier: MIT
// Marking: the right answer comes from the workbench; each usual mistake of
// the question's topic is then applied to the question, the faulty method
// giving its own answer, and the first one that gives the student's answer
// names what went wrong. Bits are compared as patterns, numbers as exact
// values.
#include "practice/practice.h"

#include "engine/exact.h"
#include "engine/methods.h"
#include "topics/registry.h"

#include <QRandomGenerator>
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

QString workingWithNote(const Format &f, const Steps &steps, qsizetype at, const QString &note)
{
    if (at < 0 || at > qsizetype(steps.size()))
        at = qsizetype(steps.size());
    const Steps before(steps.begin(), steps.begin() + at), after(steps.begin() + at, steps.end());
    return workbench::workingHtml(f, before) + noteHtml(note) + workbench::workingHtml(f, after);
}

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
                         Words::tr("Your answer holds %1, which %2 not bits: write only 0s and 1s.")
                             .arg(quotedList(m_m.student.others),
                                  m_m.student.others.size() == 1 ? Words::tr("is") : Words::tr("are")),
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

    QString countSentence() const
    {
        const Format &f = m_m.format;
        const qsizetype n = m_m.s.size();
        QString text = Words::tr("Your answer has %1; %2 needs %3.")
                           .arg(count(n), m_topic.heading(f), count(m_m.r.size()));
        if (const QString note = m_topic.countNote(m_m); !note.isEmpty())
            text += u' ' + note;
        if (n < m_m.r.size() && QString(m_m.r.size() - n, u'0') + m_m.s == m_m.r)
            text += u' ' + Words::tr("With its leading 0s written it would be right: every place is written, 0s too.");
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
        : m_topic(topic), m_bits(readStudentBits(question).bits), m_answer(answer.trimmed()),
          m_m{f, m_bits, right.steps, m_answer, topic.valueOf(f, m_bits)}
    {
    }

    Verdict verdict()
    {
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
        if (r.kind == exact::Reading::Kind::Exact && r.value == m_m.rv)
            return {true, Mistake::None, Words::tr("Right."), workbench::workingHtml(m_m.format, m_m.steps)};
        if (r.kind == exact::Reading::Kind::Exact) {
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
    Verdict wrong(Mistake m, const QString &why, qsizetype at) const
    {
        const QString tail = Words::tr("The pattern stands for %1.").arg(shown(m_m.rv));
        return {false, m, why + u' ' + tail, workingWithNote(m_m.format, m_m.steps, at, why)};
    }

    const Topic &m_topic;
    QString m_bits;
    QString m_answer;
    NumberMarking m_m;
};

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
    const Topic &topic = *workbench::topicOf(format);  // an answered question has its topic
    if (direction == Direction::ToDenary)
        return NumberMarker(topic, format, question, right, answer).verdict();
    const StudentBits s = readStudentBits(answer);
    return BitsMarker(topic, format, direction, question, right, s).verdict();
}

QString Tally::text() const { return Words::tr("%1 of %2 right").arg(right).arg(asked); }

QString newQuestion(const Format &format, Direction direction, QRandomGenerator &rng)
{
    const Topic *topic = workbench::topicOf(format);
    if (!topic || !topic->offered(format) || !topic->operations().contains(direction) || direction == Direction::Range)
        return QString();
    return topic->newQuestion(format, direction, rng);
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
    const Topic *topic = workbench::topicOf(f);
    return topic ? topic->heading(f) : QString();
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

}  // namespace quorvex::practice
