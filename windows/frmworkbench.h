// SPDX-License-Identifier: MIT
// The workbench window: any format the workbench offers, both ways. The
// student picks a representation and its widths, types a number or bits, and
// asks for the bits, the denary value, the normalised form or the range; the
// answer comes with its working, always shown.
#pragma once

#include "conversions/format.h"
#include "conversions/workbench.h"
#include "windows/converterwindow.h"

#include <memory>

namespace Ui {
class frmWorkbench;
}

namespace quorvex {

class WorkingPane;

class frmWorkbench : public ConverterWindow {
    Q_OBJECT
public:
    explicit frmWorkbench(QWidget *parent = nullptr);
    ~frmWorkbench() override;

    // The format the controls describe.
    Format format() const;

    // Answers the input in the chosen format and shows the answer and its
    // working; Enter in the input box asks again what was last asked.
    void answer(workbench::Direction direction);

private:
    void showWidths();
    void keepFixedWidthAboveZero();

    std::unique_ptr<Ui::frmWorkbench> ui;
    WorkingPane *m_working;
    workbench::Direction m_lastAsked = workbench::Direction::ToBinary;
};

}  // namespace quorvex
