// SPDX-License-Identifier: MIT
#include "frmdecint.h"

#include "decintconversion.h"
#include "runtimeguard.h"
#include "ui_frmdecint.h"

frmDecInt::frmDecInt(QWidget *parent) : ConverterWindow(parent), ui(std::make_unique<Ui::frmDecInt>())
{
    ui->setupUi(this);
    liftTextLengthLimits();
    connect(ui->cmdConvert, &QPushButton::clicked, this, &frmDecInt::cmdConvert_Click);
    ui->txtBinary->setFocus();
}

frmDecInt::~frmDecInt() = default;

void frmDecInt::cmdConvert_Click()
{
    guarded(this, [this] { ui->txtDenary->setText(convertDecInt(ui->txtBinary->text())); });
}
