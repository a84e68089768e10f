// SPDX-License-Identifier: MIT
#include "windows/frmfloating.h"

#include "conversions/floating.h"
#include "windows/runtimeguard.h"
#include "ui_frmfloating.h"

frmFloating::frmFloating(QWidget *parent)
    : ConverterWindow(parent), ui(std::make_unique<Ui::frmFloating>())
{
    ui->setupUi(this);
    finishSetup();
    // Designer files hold whole point sizes only.
    for (QWidget *box : {ui->txtFixed, ui->txtMantissa, ui->txtExponent}) {
        QFont font = box->font();
        font.setPointSizeF(9.75);
        box->setFont(font);
    }
    connect(ui->cmdConvert, &QPushButton::clicked, this, &frmFloating::cmdConvert_Click);
    ui->txtDenary->setFocus();
}

frmFloating::~frmFloating() = default;

void frmFloating::cmdConvert_Click()
{
    guarded(this, [this] {
        const QString input = ui->txtDenary->text();
        const Conversion result = convertFloating(input);
        takeConversion(input, result);
        ui->txtFixed->setText(result.outputs.at(FloatingFixed));
        ui->txtMantissa->setText(result.outputs.at(FloatingMantissa));
        ui->txtExponent->setText(result.outputs.at(FloatingExponent));
    });
}
