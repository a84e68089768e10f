// SPDX-License-Identifier: MIT
// A topic: one kind of question, in one unit. It names its formats, reads
// their widths, works each operation by the method taught by hand while
// recording its steps, says those steps in words, marks a student's answer
// and knows its usual slips, and sets new questions. The registry
// (topics/registry.h) lists the topics; the workbench window, practice,
// worksheets and the command line find them there.
#pragma once

#include "engine/exact.h"
#include "engine/format.h"
#include "engine/marking.h"
#include "engine/operation.h"
#include "engine/steps.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

class QRandomGenerator;

namespace quorvex::workbench {

class Words;

// An answer before it is put into words.
struct Worked {
    bool refused = false;
    QString text;  // the answer as a mark scheme writes it; empty when refused
    Steps steps;   // when refused, the last one says why
    // What the answer's bits hold, where that can differ from the number
    // typed (a cut fraction).
    std::optional<exact::Number> held;
};

// A run of a pattern's bits that its format writes together (the sign, the
// exponent, the fraction; the whole part and the fraction), for a row of bit
// cells a student can click.
struct BitGroup {
    QString name;  // as a sentence names it: "the exponent"
    // Left to right, what a 1 in each place is worth within the group (a
    // two's complement group's leftmost negative); none where the bit is
    // not a place (a sign bit).
    std::vector<std::optional<exact::Number>> worth;
};

// The widths a topic's formats are chosen by.
enum class Width { Bits, Whole, Fraction, Mantissa, Exponent, Digits };

class Topic {
public:
    virtual ~Topic() = default;

    // ---- Its formats ------------------------------------------------------------
    virtual Representation representation() const = 0;
    // The format box's item: "Two's complement integer".
    virtual QString title() const = 0;
    // The format's name on the command line, as a pattern ("int-signed:N"),
    // and what it means, for the help.
    virtual QString usage() const = 0;
    virtual QString usageHelp() const = 0;
    // The widths after the name's colon ("8", "4.4", "8:4"); a reason when
    // they are not a format of this topic.
    virtual std::optional<Format> parse(QStringView widths, QString *why) const = 0;
    // Whether the name may stand without widths ("bcd"); parse() is then
    // given none.
    virtual bool widthsOptional() const { return false; }
    // The format's name with its widths: "int-signed:8".
    virtual QString name(const Format &format) const = 0;
    virtual QList<Width> widths() const = 0;
    // How many bits a pattern of the format has; 0 where that grows with
    // the number.
    virtual int width(const Format &format) const { return format.totalBits(); }
    // Whether the widths are ones the workbench offers.
    virtual bool offered(const Format &format) const = 0;
    virtual QList<Operation> operations() const = 0;
    // The operations worked by calculate(), listed apart from operations()
    // since they take other operands.
    virtual QList<Operation> calculations() const { return {}; }
    // The roundings its formats may be worked in, the default first; none
    // for formats that never drop a bit.
    virtual QList<Rounding> roundings() const { return {}; }
    // The pattern's bits as the format groups them, left to right; their
    // sizes add up to width(format).
    virtual std::vector<BitGroup> groups(const Format &format) const;

    // ---- Words --------------------------------------------------------------------
    // The format in a sentence: "8-bit two's complement".
    virtual QString describe(const Format &format) const = 0;
    // The format as a heading: "Two's complement integer: 8 bits".
    virtual QString heading(const Format &format) const = 0;
    // A pattern as a mark scheme writes it ("1100.1100", "10111110 0100").
    virtual QString written(const Format &format, const QString &bits) const = 0;
    // A pattern as a question prints it, grouped in fours.
    virtual QString printed(const Format &format, const QString &bits) const = 0;
    // A pattern of the wrong length: "… needs 8 bits; 5 were typed."
    virtual QString wrongCount(const Words &words, qsizetype typed) const = 0;
    // What a pattern of the format is, as a teacher says it: "an 8-bit
    // unsigned integer".
    virtual QString patternName(const Format &format) const;
    // A floating-point pair's parts as a question names them: "an 8-bit
    // mantissa and a 4-bit exponent, both in two's complement"; empty for a
    // format that is no pair.
    virtual QString pairParts(const Format &) const { return QString(); }

    // ---- The method ---------------------------------------------------------------
    // Answers `input` (a denary number, or bits) in an offered format.
    virtual Worked solve(const Format &format, Operation operation, const QString &input) const = 0;
    // Works a calculation on its operands (bits, hex or denary numbers),
    // with the options the operation takes. A topic with no calculations
    // refuses.
    virtual Worked calculate(const Format &format, Operation operation, const Calculation &calculation) const;

    // ---- Marking ------------------------------------------------------------------
    // The exact value a pattern of the format's width holds.
    virtual exact::Number valueOf(const Format &format, const QString &bits) const = 0;
    // Bits answers: a point in the wrong place, said; empty when it is right.
    virtual QString pointProblem(const practice::BitsMarking &m) const = 0;
    // More about an answer of the wrong length, or nothing.
    virtual QString countNote(const practice::BitsMarking &) const { return QString(); }
    // The right value written otherwise than the method writes it.
    virtual bool notNormalised(const practice::BitsMarking &) const { return false; }
    // The faulty methods' answers, in the order they are tried.
    virtual std::vector<practice::Candidate> candidates(const practice::BitsMarking &m) const = 0;
    virtual QString sentence(const practice::BitsMarking &m, practice::Mistake mistake) const = 0;
    // The step before which the answer parts from the method.
    virtual qsizetype stepFor(const practice::BitsMarking &m, practice::Mistake mistake) const = 0;
    // Number answers: the faulty readings, their words and steps.
    virtual std::vector<practice::Misreading> misreadings(const practice::NumberMarking &m) const = 0;
    virtual QString sentence(const practice::NumberMarking &m, const practice::Misreading &c) const = 0;
    virtual qsizetype stepFor(const practice::NumberMarking &m, const practice::Misreading &c) const = 0;
    // Where an answer that matches no mistake parts from the method.
    virtual qsizetype otherStep(const practice::NumberMarking &m) const { return qsizetype(m.steps.size()); }

    // A calculation's answer marked (right, or the slip it follows, said in
    // a few sentences), given the right answer; none where the topic does
    // not mark its calculations.
    struct CalculationMark {
        bool right = false;
        practice::Mistake mistake = practice::Mistake::Other;
        QString text;
    };
    virtual std::optional<CalculationMark> markCalculation(const Format &, Operation, const Calculation &,
                                                           const QString & /*answer*/, const Worked & /*right*/) const
    {
        return std::nullopt;
    }

    // ---- Questions ----------------------------------------------------------------
    // A new question of an operation the topic has, as exams set them; the
    // same generator state gives the same question.
    virtual QString newQuestion(const Format &format, Operation operation, QRandomGenerator &rng) const = 0;
};

}  // namespace quorvex::workbench
