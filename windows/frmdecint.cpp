// SPDX-License-Identifier: MIT
#include "windows/frmdecint.h"

#include "conversions/decint.h"
#include "windows/runtimeguard.h"
#include "ui_frmdecint.h"

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
        const QString input = ui->txtBinary->text();
        const Conversion result = convertDecInt(input);
        takeConversion(input, result);
        ui->txtDenary->setText(result.outputs.at(0));
    });
}
