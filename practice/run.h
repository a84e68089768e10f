// SPDX-License-Identifier: MIT
// A run of practice questions: drawn from the kinds a level sets, in the
// topics a student chose, asked one after another; each answer is kept with
// its verdict, so that the run ends in a review and its wrong questions can
// be asked again.
//
//   level + topics --kindsIn--> kinds --drawQuestions--> questions
//   Run: question 1 shown -> answered -> next ... -> last answered -> finished
#pragma once

#include "practice/levels.h"
#include "practice/practice.h"

#include <QString>
#include <QStringList>

#include <vector>

class QRandomGenerator;

namespace quorvex::practice {

// What a topic is known by in saved progress: its representation's name,
// as the command line writes it ("int", "float").
QString topicId(const Format &format);

// The kinds `level` sets whose topics are among `topicIds`, the commonest
// first.
std::vector<Kind> kindsIn(Level level, const QStringList &topicIds);

// `count` questions drawn from `kinds`, each kind in turn chosen at random,
// no question twice where the kinds have enough; none when there are no
// kinds. The same generator state gives the same questions.
std::vector<Asked> drawQuestions(const std::vector<Kind> &kinds, int count, QRandomGenerator &rng);

// An answer given in a run.
struct RunAnswer {
    QString answer;  // as the student wrote it
    QString right;   // the right answer, as a mark scheme writes it
    Verdict verdict;
    bool hinted = false;  // given after a hint
};

// The verdict in short, for a row of the review: its first sentence.
QString firstSentence(const QString &text);

class Run {
public:
    // At least one question.
    explicit Run(std::vector<Asked> questions);

    int count() const { return int(m_questions.size()); }
    // The question shown, 0 for the first.
    int position() const { return m_position; }
    const Asked &current() const { return m_questions.at(std::size_t(m_position)); }
    // Whether the question shown has been answered.
    bool answered() const { return int(m_answers.size()) > m_position; }
    // Whether every question has been answered.
    bool finished() const { return int(m_answers.size()) == count(); }
    // Keeps the first answer to the question shown; later ones are the
    // student's own practice and are not kept.
    void answer(const RunAnswer &answer);
    // Goes on to the next question once the one shown is answered; false
    // when there is none.
    bool next();
    // What the question shown is headed with: "Question 3 of 10: ".
    QString prefix() const;

    const std::vector<Asked> &questions() const { return m_questions; }
    const std::vector<RunAnswer> &answers() const { return m_answers; }
    // The score of the answers given: "7 of 10 right (1 of them with a hint)".
    Tally tally() const;
    // The questions answered wrong, in the order they were asked.
    std::vector<Asked> wrong() const;

private:
    std::vector<Asked> m_questions;
    std::vector<RunAnswer> m_answers;
    int m_position = 0;
};

}  // namespace quorvex::practice
