// SPDX-License-Identifier: MIT
// For tests that look at why a conversion refused.
#pragma once

#include "conversions/conversion.h"

#include <optional>

// Whether the conversion was refused for a reason of kind Kind.
template <typename Kind>
bool refusedAs(const quorvex::Conversion &c)
{
    return c.refusal && std::holds_alternative<Kind>(*c.refusal);
}

// The kind of run-time error that stopped a conversion, or nothing.
inline std::optional<rt::ErrorKind> failureOf(const quorvex::Conversion &c)
{
    if (!refusedAs<quorvex::refusal::RuntimeError>(c))
        return std::nullopt;
    return std::get<quorvex::refusal::RuntimeError>(*c.refusal).kind;
}

// The message the user is told, or nothing when there is none.
inline QString messageOf(const quorvex::Conversion &c)
{
    if (!refusedAs<quorvex::refusal::Message>(c))
        return {};
    return std::get<quorvex::refusal::Message>(*c.refusal).text;
}
