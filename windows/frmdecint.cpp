// SPDX-License-Identifier: MIT
#include "windows/frmdecint.h"

#include "conversions/decint.h"
#include "windows/runtimeguard.h"
#include "ui_frmdecint.h"

using quorvex::guarded;

frmDecInt::frmDecInt(QWidget *parent) : ConverterWindow(parent), ui(std::make_unique<Ui::frmDecInt>())
{
    ui->setupUi(this);
    finishSetup();
    connect(ui->cmdConvert, &QPushButton::clicked, this, &frmDecInt::cmdConvert_Click);
    ui->txtBinary->setFocus();
}

frmDecInt::~frmDecInt() = default;

void frmDecInt::cmdConvert_Click()
{
    guarded(this, [this] {
        applyConversion(ui->txtBinary, quorvex::convertDecInt(ui->txtBinary->text()), {ui->txtDenary});
    });
}
