// SPDX-License-Identifier: MIT
// Arithmetic on patterns by hand, for the integer formats and fixed point:
// addition in columns with every carry written above its column (two or
// three rows), subtraction as adding the negative, long multiplication by
// shifted partial products, masks bit by bit, and shifts and rotates. Each
// reads its operands as bits of the format's width, hex, or otherwise a
// denary number (written in the format first by the topic's own method),
// records its steps, and says the facts a mark scheme asks for: the result
// cut to the width, and whether it overflowed. Unsigned and two's
// complement patterns add as they are; one's complement adds the carry out
// back in at the right; sign and magnitude adds or subtracts the
// magnitudes as the signs say.
#pragma once

#include "engine/topic.h"

#include <QStringList>

#include <optional>
#include <utility>

namespace quorvex::workbench::arithmetic {

enum class Code;
// How the format writes a negative number.
Code codeOf(const Format &format);
// The lowest and highest values a pattern of the format holds.
std::pair<exact::Number, exact::Number> range(const Topic &topic, const Format &format);

// The operation on its operands; a refusal for one that is not arithmetic.
Worked calculate(const Topic &topic, const Format &format, Operation operation, const Calculation &calculation);

// a + b (+ c), a - b, a x b, a AND/OR/XOR b, NOT a.
Worked add(const Topic &topic, const Format &format, const QStringList &operands);
Worked subtract(const Topic &topic, const Format &format, const QStringList &operands);
Worked multiply(const Topic &topic, const Format &format, const QStringList &operands);
Worked mask(const Topic &topic, const Format &format, Operation operation, const QStringList &operands);
// Rows of one width added in columns, as a step that shows every carry,
// the point `fraction` columns from the right; the sum, the carry out of
// the leftmost column dropped, comes back in `sum`. Other topics'
// arithmetic (floating point's mantissas) uses it.
Step columnAddition(const QStringList &rows, int fraction, QString *sum);
// A shift or rotate by `places`: logical for unsigned (0s come in), and for
// two's complement an arithmetic shift right (the sign bit copied in)
// unless `arithmetic` is false.
Worked shift(const Topic &topic, const Format &format, Operation operation, const QStringList &operands, int places,
             std::optional<bool> arithmetic);

}  // namespace quorvex::workbench::arithmetic
