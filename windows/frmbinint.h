// SPDX-License-Identifier: MIT
// The binary integers window: a whole number as an 8-, 16- or 24-bit string
// and the two's complement of that string.
#pragma once

#include "windows/converterwindow.h"

#include <memory>

class QButtonGroup;

namespace Ui {
class frmBinInt;
}

class frmBinInt : public quorvex::ConverterWindow {
    Q_OBJECT
public:
    explicit frmBinInt(QWidget *parent = nullptr);
    ~frmBinInt() override;

    void Form_Load();
    void optBits_Click(qint16 Index);
    void txtDenary_KeyPress(qint16 &KeyAscii);
    void cmdConvert_Click();


protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::frmBinInt> ui;
    QButtonGroup *optBits;
    qint16 m_bitCount = 16;  // 8, 16 or 24
};
