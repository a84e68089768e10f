// SPDX-License-Identifier: MIT
// What the converter windows share: how they look as windows, the modal show
// that the menu opens them with, the working pane under their controls, and
// the one way a conversion's answer reaches the user.
#pragma once

#include "conversions/conversion.h"

#include <QWidget>

#include <initializer_list>

class QLineEdit;

namespace quorvex {

class WorkingPane;

// A converter window: a fixed-size top-level window with a close box and no
// owner. Building one is loading it; destroying it discards its contents.
class ConverterWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConverterWindow(QWidget *parent = nullptr);

    // Shows the window application-modal and returns when the user has
    // closed it; the windows behind take no input meanwhile.
    void showModal();

    WorkingPane *workingPane() const { return m_working; }

protected:
    // Applies the answer of converting the text of `input`: the working goes
    // to the pane; the outputs go into `boxes` (line edits or labels), in
    // the conversion's output order; a message is the window's message box,
    // a run-time error the guard's text for it, and the input rule's
    // refusal a note at `input`. Boxes keep what they showed unless the
    // conversion converted.
    void applyConversion(QLineEdit *input, const Conversion &conversion, std::initializer_list<QWidget *> boxes);

    // What every converter window adds to its layout once it is set up:
    // text boxes take text of any length (a line edit otherwise keeps at
    // most 32,767 characters and drops the rest of a longer paste), and the
    // working pane comes in below the controls, last in the tab order.
    void finishSetup();

private:
    WorkingPane *m_working = nullptr;
};

}  // namespace quorvex
