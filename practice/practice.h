// SPDX-License-Identifier: MIT
// Practice: a student's own answer marked against the workbench's, with what
// went wrong said in words; new questions; the questions of a worksheet.
//
//   question --solve--> the right answer and its steps
//   student's answer --read as a value in the format--> right, or
//   each usual mistake applied to the question --first that matches--> the diagnosis
//
// Answers are compared as values in the format, not as text: blanks and
// grouping, a missing blank between mantissa and exponent, a "+" and
// trailing zeros in a decimal do not matter; the count of bits does.
// Each topic knows its own slips (engine/topic.h); this is the marking that
// they share. Qt Core only: the window and the worksheet writer put these
// into pages.
#pragma once

#include "engine/format.h"
#include "engine/marking.h"
#include "topics/workbench.h"

#include <QList>
#include <QString>

#include <vector>

class QRandomGenerator;

namespace quorvex::practice {

struct Verdict {
    bool right = false;
    Mistake mistake = Mistake::Other;
    // "Right." or what went wrong, with what the student's answer stands
    // for and the right answer; plain text in a few sentences.
    QString text;
    // The working of the right answer as rich text; for a wrong answer the
    // step where the student's answer parts from the method is marked by a
    // highlighted paragraph just before it ("Your answer parts from the
    // method here: …").
    QString workingHtml;
};

// Marks `answer` to `question` (as the workbench takes it: a denary number
// for ToBinary, bits for ToDenary and Normalise). Range is not a question;
// it is marked QuestionRefused.
Verdict mark(const Format &format, Direction direction, const QString &question, const QString &answer);

// The working with a highlighted note just before step `at`: where a
// student's answer parts from the method.
QString workingWithNote(const Format &format, const workbench::Steps &steps, qsizetype at, const QString &note);

// A run of answers: "3 of 4 right", and "(1 of them with a hint)" when
// hints were taken: a hinted answer is counted apart.
struct Tally {
    int right = 0;
    int asked = 0;
    int hinted = 0;  // right answers given after a hint
    void add(const Verdict &v, bool afterHint = false)
    {
        ++asked;
        right += v.right ? 1 : 0;
        hinted += v.right && afterHint ? 1 : 0;
    }
    QString text() const;
};

// The hints for a question: the steps of its working one by one, as rich
// text, up to the step before the answer; none when it has no answer.
QStringList hints(const Format &format, Direction direction, const workbench::Calculation &question);

// A new question, as the workbench takes it. ToBinary: a denary number as
// exams print it ("-8.25"), positive and negative (positive only when the
// format is unsigned), mostly one the format holds exactly and about one in
// six one it cannot, where the question is about the cut (never for
// integers). ToDenary: a pattern with its bits in fours and a blank between
// mantissa and exponent ("1011 1110 0100"). Normalise (floating point
// only): a pair that is not normalised, not zero, and can be normalised
// within the exponent's range. Floating-point values keep their exponents
// within -12 to 20 where the format allows more, and their mantissas to a
// few significant bits, so the decimals stay the size exams use. The same
// generator state gives the same question.
QString newQuestion(const Format &format, Direction direction, QRandomGenerator &rng);
// How many significant digits a decimal has: 12.75 has 4, 0.0625 has 3.
int significantDigits(QStringView number);

struct Question {
    Direction direction = Direction::ToBinary;
    // The operand as the sheet prints it under its direction's heading; a
    // calculation, which has more than one, said in words.
    QString text;
    // What the workbench is given to answer it.
    workbench::Calculation calculation;
};
// A worksheet's `count` questions: shared among `directions` in the order
// given (the first ones take any left over), each direction's together, no
// question twice where the format has enough. The same arguments give the
// same questions.
std::vector<Question> sheetQuestions(const Format &format, const QList<Direction> &directions, int count,
                                     quint32 seed);
// Whether a worksheet can ask it of the format: what its topic answers,
// but the range and what is asked between two formats.
bool onSheets(const Format &format, Direction direction);

// The format as a heading: "Floating point: 8-bit two's complement
// mantissa, 4-bit exponent".
QString formatTitle(const Format &format);
// What a new question asks, to say after the question itself: "New
// question: write this number in bits. Floating point: 8-bit two's
// complement mantissa, 4-bit exponent."
QString asked(const Format &format, Direction direction);
// A question in words, as exam papers put it: "Write 242 as an 8-bit
// unsigned integer.", "Give the denary value of 1011 1110 0100, a
// normalised floating-point number with an 8-bit mantissa and a 4-bit
// exponent, both in two's complement."
QString questionText(const Format &format, Direction direction, const QString &question);
// What form its answer takes: "bits", "a denary number", "hex digits".
QString answerForm(Direction direction);

// What a group of questions asks: "Write each number in this format."
QString instruction(Direction direction);

}  // namespace quorvex::practice
