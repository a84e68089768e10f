// SPDX-License-Identifier: MIT
// For tests of code that raises run-time errors.
#pragma once

#include "core/runtime.h"

#include <QMetaType>

#include <functional>
#include <optional>

Q_DECLARE_METATYPE(rt::ErrorKind)

// The kind of run-time error `f` raises, or nothing.
inline std::optional<rt::ErrorKind> errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const rt::RuntimeError &e) {
        return e.kind();
    }
    return std::nullopt;
}
