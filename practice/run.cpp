// SPDX-License-Identifier: MIT
#include "practice/run.h"

#include "engine/words.h"

#include <QRandomGenerator>
#include <QSet>

namespace quorvex::practice {

QString topicId(const Format &format) { return QString::fromUtf8(format.representation.id); }

std::vector<Kind> kindsIn(Level level, const QStringList &topicIds)
{
    std::vector<Kind> out;
    for (const Kind &kind : levelKinds(level)) {
        if (topicIds.contains(topicId(kind.format)))
            out.push_back(kind);
    }
    return out;
}

std::vector<Asked> drawQuestions(const std::vector<Kind> &kinds, int count, QRandomGenerator &rng)
{
    std::vector<Asked> out;
    if (kinds.empty())
        return out;
    QSet<QString> seen;
    // A few tries for a question not yet asked; a kind with few questions
    // (a small format) may have to repeat one.
    constexpr int tries = 20;
    for (int i = 0; i < count; ++i) {
        Asked asked;
        for (int attempt = 0; attempt < tries; ++attempt) {
            asked = newQuestionOf(kinds.at(std::size_t(rng.bounded(int(kinds.size())))), rng);
            if (!seen.contains(asked.text))
                break;
        }
        seen.insert(asked.text);
        out.push_back(asked);
    }
    return out;
}

QString firstSentence(const QString &text)
{
    // A sentence ends at a full stop before a blank; the point of a number
    // ("12.75") has none after it.
    const qsizetype end = text.indexOf(QLatin1StringView(". "));
    return end < 0 ? text : text.left(end + 1);
}

Run::Run(std::vector<Asked> questions) : m_questions(std::move(questions)) { }

void Run::answer(const RunAnswer &answer)
{
    if (!answered())
        m_answers.push_back(answer);
}

bool Run::next()
{
    if (!answered() || m_position + 1 >= count())
        return false;
    ++m_position;
    return true;
}

QString Run::prefix() const
{
    return Words::tr("Question %1 of %2: ").arg(m_position + 1).arg(count());
}

Tally Run::tally() const
{
    Tally t;
    for (const RunAnswer &a : m_answers)
        t.add(a.verdict, a.hinted);
    return t;
}

std::vector<Asked> Run::wrong() const
{
    std::vector<Asked> out;
    for (std::size_t i = 0; i < m_answers.size(); ++i) {
        if (!m_answers[i].verdict.right)
            out.push_back(m_questions.at(i));
    }
    return out;
}

}  // namespace quorvex::practice
