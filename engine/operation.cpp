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
    int operands;
    bool places;
    bool button;
};
constexpr Named names[] = {
    {Operation::ToBinary, u"to-binary", 1, false, true},
    {Operation::ToDenary, u"to-denary", 1, false, true},
    {Operation::ToHex, u"to-hex", 1, false, true},
    {Operation::Normalise, u"normalise", 1, false, true},
    {Operation::Range, u"range", 0, false, true},
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
bool takesPlaces(Operation operation) { return named(operation).places; }
bool hasButton(Operation operation) { return named(operation).button; }

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
    case Operation::Range:
        break;
    }
    return Words::tr("no operand");
}

}  // namespace quorvex::workbench
