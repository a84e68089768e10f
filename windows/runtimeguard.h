// SPDX-License-Identifier: MIT
// How a window reports things to the user, and the guard that every event
// handler runs in: a run-time error becomes a message and the program goes on.
#pragma once

#include "core/runtime.h"

#include <QString>

class QWidget;

namespace quorvex {

// The program's message box: title "Quorvex", an OK button only, no icon.
// Returns when the user has closed it.
void showMessage(QWidget *owner, const QString &text);

// What the user is told about a run-time error.
QString runtimeErrorText(rt::ErrorKind kind);

// Runs one event handler. A run-time error inside it is shown to the user;
// since handlers compute before they write, the window keeps what it showed.
template <typename Handler>
void guarded(QWidget *owner, Handler &&handler)
{
    try {
        handler();
    } catch (const rt::RuntimeError &error) {
        showMessage(owner, runtimeErrorText(error.kind()));
    }
}

}  // namespace quorvex
