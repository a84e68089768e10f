// SPDX-License-Identifier: MIT
// The workbench: any format, both ways, by the method taught by hand, in
// exact arithmetic.
#pragma once

#include "conversions/format.h"
#include "conversions/workbenchtext.h"

#include <QString>

namespace quorvex::workbench {

enum class Direction { ToBinary, ToDenary, Normalise, Range };

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
struct Worked {
    bool refused = false;
    QString text;  // the answer as in Answer::text; empty when refused
    Steps steps;
};
Worked work(const Format &format, Direction direction, const QString &input);

// The hand method's answer for a denary number, without its working, for
// a window to set beside what it showed: the pattern as Answer::text writes
// it and the exact value those bits hold.
struct HandAnswer {
    bool refused = true;
    QString bits;
    QString value;  // exact decimal, "-" for negatives
};
HandAnswer handAnswer(const Format &format, const QString &denary);

}  // namespace quorvex::workbench
