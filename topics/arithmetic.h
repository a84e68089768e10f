// SPDX-License-Identifier: MIT
// Arithmetic on patterns by hand, for the integer formats: addition in
// columns with every carry written above its column, subtraction as adding
// the two's complement, masks bit by bit, and shifts and rotates. Each
// reads its operands as bits of the format's width, hex, or otherwise a
// denary number (written in the format first by the topic's own method),
// records its steps, and says the facts a mark scheme asks for: the result
// cut to the width, and whether it overflowed.
#pragma once

#include "engine/topic.h"

#include <QStringList>

namespace quorvex::workbench::arithmetic {

// a + b, a - b, a AND/OR/XOR b, NOT a, in an integer format (unsigned, or
// two's complement when the format is signed).
Worked add(const Topic &topic, const Format &format, const QStringList &operands);
Worked subtract(const Topic &topic, const Format &format, const QStringList &operands);
Worked mask(const Topic &topic, const Format &format, Operation operation, const QStringList &operands);
// Two patterns of one width added in columns, as a step that shows every
// carry; the sum, the carry out of the leftmost column dropped, comes back
// in `sum`. Other topics' arithmetic (floating point's mantissas) uses it.
Step columnAddition(const QString &a, const QString &b, QString *sum);
// A shift or rotate by `places`: logical for unsigned (0s come in), and
// for two's complement an arithmetic shift right (the sign bit copied in).
Worked shift(const Topic &topic, const Format &format, Operation operation, const QStringList &operands, int places);

}  // namespace quorvex::workbench::arithmetic
