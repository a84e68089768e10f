// SPDX-License-Identifier: MIT
// The binary integer to decimal window: any typed text, read as a bit string,
// becomes its decimal value. It checks nothing.
#pragma once

#include "windows/converterwindow.h"

#include <memory>

namespace Ui {
class frmDecInt;
}

class frmDecInt : public quorvex::ConverterWindow {
    Q_OBJECT
public:
    explicit frmDecInt(QWidget *parent = nullptr);
    ~frmDecInt() override;

    void cmdConvert_Click();

private:
    std::unique_ptr<Ui::frmDecInt> ui;
};
