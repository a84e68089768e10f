// SPDX-License-Identifier: MIT
// What the converter windows share: how they look as windows, the modal show
// that the menu opens them with, and the working pane under their controls.
#pragma once

#include "conversions/working.h"

#include <QWidget>

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
    // Inside a guarded handler, after converting `input`: the working goes
    // to the pane, and a run-time error that stopped the conversion is
    // raised again for the guard to report.
    void takeConversion(const QString &input, const Conversion &conversion);

    // What every converter window adds to its layout once it is set up:
    // text boxes take text of any length (a line edit otherwise keeps at
    // most 32,767 characters and drops the rest of a longer paste), and the
    // working pane comes in below the controls, last in the tab order.
    void finishSetup();

private:
    WorkingPane *m_working = nullptr;
};
