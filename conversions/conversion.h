// SPDX-License-Identifier: MIT
// What every conversion answers: the texts for its result boxes, or why it
// refused or failed, and its working either way.
#pragma once

#include "conversions/working.h"
#include "core/runtime.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace quorvex {

// Why a conversion shows no result; every caller handles each kind.
namespace refusal {
// The user is told `text`.
struct Message {
    QString text;
};
// A run-time error of kind `kind` stopped the conversion.
struct RuntimeError {
    rt::ErrorKind kind;
};
// The input rule refused the text; `note` says what it asks for.
struct InputRule {
    QString note;
};
}  // namespace refusal
using Refusal = std::variant<refusal::Message, refusal::RuntimeError, refusal::InputRule>;

// Each conversion's outputs, in the order of its result boxes.
enum BinIntOutput { BinIntBinary, BinIntTwos };
enum DecIntOutput { DecIntDenary };
enum FixedOutput { FixedWhole, FixedFraction, FixedActual, FixedPoint };
enum FloatingOutput { FloatingFixed, FloatingMantissa, FloatingExponent };

struct Conversion {
    QStringList outputs;  // by the conversion's output enum; empty when refused
    std::optional<Refusal> refusal;
    working::Working working;

    bool converted() const { return !refusal.has_value(); }
};

// Lets std::visit take one lambda per kind.
template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace quorvex
