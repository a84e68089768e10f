// SPDX-License-Identifier: MIT
#include "engine/operation.h"

#include <QCoreApplication>

namespace quorvex::workbench {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(Operations)
};

struct Named {
    Operation operation;
    const char16_t *name;
    int operands;  // at most
    int fewest;
    bool places;
    bool button;
};
constexpr Named names[] = {
    {Operation::ToBinary, u"to-binary", 1, 1, false, true},
    {Operation::ToDenary, u"to-denary", 1, 1, false, true},
    {Operation::ToHex, u"to-hex", 1, 1, false, true},
    {Operation::Normalise, u"normalise", 1, 1, false, true},
    {Operation::Range, u"range", 0, 0, false, true},
    {Operation::Add, u"add", 3, 2, false, false},
    {Operation::Subtract, u"subtract", 2, 2, false, false},
    {Operation::Multiply, u"multiply", 2, 2, false, false},
    {Operation::And, u"and", 2, 2, false, false},
    {Operation::Or, u"or", 2, 2, false, false},
    {Operation::Xor, u"xor", 2, 2, false, false},
    {Operation::Not, u"not", 1, 1, false, false},
    {Operation::ShiftLeft, u"shift-left", 1, 1, true, false},
    {Operation::ShiftRight, u"shift-right", 1, 1, true, false},
    {Operation::RotateLeft, u"rotate-left", 1, 1, true, false},
    {Operation::RotateRight, u"rotate-right", 1, 1, true, false},
    {Operation::Error, u"error", 1, 1, false, false},
    {Operation::Compare, u"compare", 1, 0, false, false},
    {Operation::Convert, u"convert", 1, 1, false, false},
};

const Named &named(Operation operation)
{
    for (const Named &n : names) {
        if (n.operation == operation)
            return n;
    }
    return names[0];
}

}  // namespace

QList<Operation> allOperations()
{
    QList<Operation> out;
    for (const Named &n : names)
        out << n.operation;
    return out;
}

QString operationName(Operation operation) { return QString::fromUtf16(named(operation).name); }

int operandCount(Operation operation) { return named(operation).operands; }
int fewestOperands(Operation operation) { return named(operation).fewest; }
bool takesPlaces(Operation operation) { return named(operation).places; }
bool hasButton(Operation operation) { return named(operation).button; }
bool isCalculation(Operation operation) { return int(operation) >= int(Operation::Add); }

QString operationTitle(Operation operation)
{
    switch (operation) {
    case Operation::ToBinary:
        return Words::tr("To binary");
    case Operation::ToDenary:
        return Words::tr("To denary");
    case Operation::Normalise:
        return Words::tr("Normalise");
    case Operation::ToHex:
        return Words::tr("To hex");
    case Operation::Add:
        return Words::tr("Add");
    case Operation::Subtract:
        return Words::tr("Subtract");
    case Operation::Multiply:
        return Words::tr("Multiply");
    case Operation::Error:
        return Words::tr("Error");
    case Operation::Compare:
        return Words::tr("Compare with\u2026");
    case Operation::Convert:
        return Words::tr("Convert");
    case Operation::And:
        return Words::tr("AND");
    case Operation::Or:
        return Words::tr("OR");
    case Operation::Xor:
        return Words::tr("XOR");
    case Operation::Not:
        return Words::tr("NOT");
    case Operation::ShiftLeft:
        return Words::tr("Shift left");
    case Operation::ShiftRight:
        return Words::tr("Shift right");
    case Operation::RotateLeft:
        return Words::tr("Rotate left");
    case Operation::RotateRight:
        return Words::tr("Rotate right");
    case Operation::Range:
        break;
    }
    return Words::tr("Range");
}

std::optional<Operation> operationNamed(QStringView name)
{
    if (name == u"normalize")
        return Operation::Normalise;
    for (const Named &n : names) {
        if (name == QStringView(n.name))
            return n.operation;
    }
    return std::nullopt;
}

QString operandsOf(Operation operation)
{
    switch (operation) {
    case Operation::ToBinary:
        return Words::tr("a denary number");
    case Operation::ToDenary:
    case Operation::Normalise:
        return Words::tr("a pattern of bits, or hex");
    case Operation::ToHex:
        return Words::tr("a pattern of bits, or a denary number");
    case Operation::Add:
        return Words::tr("two or three patterns of bits, hex or denary numbers");
    case Operation::Subtract:
    case Operation::Multiply:
    case Operation::And:
    case Operation::Or:
    case Operation::Xor:
        return Words::tr("two patterns of bits, hex or denary numbers");
    case Operation::Not:
        return Words::tr("a pattern of bits, hex or a denary number");
    case Operation::ShiftLeft:
    case Operation::ShiftRight:
    case Operation::RotateLeft:
    case Operation::RotateRight:
        return Words::tr("a pattern of bits, hex or a denary number, and --places");
    case Operation::Error:
        return Words::tr("a denary number");
    case Operation::Compare:
        return Words::tr("--to and, if wanted, a denary number");
    case Operation::Convert:
        return Words::tr("a pattern of bits, or hex, and --to");
    case Operation::Range:
        break;
    }
    return Words::tr("no operand");
}

}  // namespace quorvex::workbench
