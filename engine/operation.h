// SPDX-License-Identifier: MIT
// What can be asked of a format: the operations the topics answer, named as
// the command line names them.
#pragma once

#include "engine/format.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace quorvex::workbench {

// Add onwards are calculated from more than one operand, or from one and a
// count of places (Topic::calculate).
enum class Direction { ToBinary, ToDenary, Normalise, Range, ToHex, Add, Subtract, Multiply, And, Or, Xor, Not,
                       ShiftLeft, ShiftRight, RotateLeft, RotateRight, Error, Compare, Convert };
using Operation = Direction;

// What a calculation is given besides its operation: the operands (bits,
// hex or denary numbers), and the options some operations take.
struct Calculation {
    QStringList operands;
    int places = 0;  // shifts and rotates: how many places the bits move
    // Shifts right: arithmetic (the sign bit copied in) or logical (0s in);
    // none for the one the format's topic teaches.
    std::optional<bool> arithmetic;
    // Operations between two formats (compare, convert): the other one.
    std::optional<Format> to;
};

// Every operation, in the order the help lists them.
QList<Operation> allOperations();
// "to-binary", "to-denary", "normalise", "range".
QString operationName(Operation operation);
// The operation a name stands for ("normalize" too), or none.
std::optional<Operation> operationNamed(QStringView name);
// What its operands are, for the help: "a denary number", "bits", "nothing".
QString operandsOf(Operation operation);
// How many operands it takes at most (the range none, a conversion one,
// an addition up to three) and at least, and whether it takes a count of
// places.
int operandCount(Operation operation);
int fewestOperands(Operation operation);
bool takesPlaces(Operation operation);
// Whether the workbench has a button of its own for it; the others are
// chosen by name (operationTitle) and calculated.
bool hasButton(Operation operation);
// Whether it is answered by Topic::calculate rather than Topic::solve.
bool isCalculation(Operation operation);
QString operationTitle(Operation operation);

}  // namespace quorvex::workbench
