// SPDX-License-Identifier: MIT
// The floating-point window: a decimal number as its fixed-point form, a
// 10-bit two's complement mantissa and a 6-bit two's complement exponent.
#pragma once

#include "windows/converterwindow.h"

#include <memory>

namespace Ui {
class frmFloating;
}

class frmFloating : public quorvex::ConverterWindow {
    Q_OBJECT
public:
    explicit frmFloating(QWidget *parent = nullptr);
    ~frmFloating() override;

    void cmdConvert_Click();

private:
    std::unique_ptr<Ui::frmFloating> ui;
};
