// SPDX-License-Identifier: MIT
// The workbench: any format of any topic, by the method taught by hand, in
// exact arithmetic. Its one entry point finds the format's topic in the
// registry and asks it.
#pragma once

#include "engine/format.h"
#include "engine/operation.h"
#include "engine/steps.h"
#include "engine/topic.h"

#include <QString>

namespace quorvex::workbench {

struct Answer {
    bool refused = false;
    // The answer as a mark scheme writes it (bits, or an exact decimal), the
    // range facts on one line, or, when refused, why in a short sentence.
    QString text;
    // The working, step by step, as rich text for the working pane.
    QString workingHtml;
};

// Answers `input` in `format`: a denary number for ToBinary, bits for
// ToDenary and Normalise; Range ignores the input.
Answer solve(const Format &format, Direction direction, const QString &input);

// The same answer before it is put into words: its steps as data, for a
// caller that sets words of its own among them (the practice marking).
Worked work(const Format &format, Direction direction, const QString &input);

// The same for any operation and its operands: a calculation (two
// operands, or one and a count of places) by the topic's calculate(), the
// others by solve() on the first operand.
Answer solve(const Format &format, Operation operation, const Calculation &calculation);
Worked work(const Format &format, Operation operation, const Calculation &calculation);
// The same with operands and places only.
Answer solve(const Format &format, Operation operation, const QStringList &operands, int places);
Worked work(const Format &format, Operation operation, const QStringList &operands, int places);

// The hand method's answer for a denary number, without its working, for
// a window to set beside what it showed: the pattern as Answer::text writes
// it and the exact value those bits hold.
struct HandAnswer {
    bool refused = true;
    QString bits;
    QString value;  // exact decimal, "-" for negatives
};
HandAnswer handAnswer(const Format &format, const QString &denary);

// The steps as rich text, and a refusal's sentence, in the format's words.
QString workingHtml(const Format &format, const Steps &steps);
QString refusalText(const Format &format, const Step &refusal);
// A pattern as a mark scheme writes it ("1100.1100", "10111110 0100").
QString patternText(const Format &format, const QString &bits);

}  // namespace quorvex::workbench
