// SPDX-License-Identifier: MIT
#include "windows/frmfloating.h"

#include "conversions/floating.h"
#include "windows/accessibility.h"
#include "windows/runtimeguard.h"
#include "ui_frmfloating.h"

using quorvex::guarded;

frmFloating::frmFloating(QWidget *parent)
    : ConverterWindow(parent), ui(std::make_unique<Ui::frmFloating>())
{
    ui->setupUi(this);
    finishSetup();
    // Screen readers spell the bits out.
    quorvex::speakBits(ui->txtFixed, quorvex::BitsShown::FixedPoint);
    quorvex::speakMantissaAndExponent(ui->txtMantissa, ui->txtExponent);
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
        applyConversion(ui->txtDenary, quorvex::convertFloating(ui->txtDenary->text()),
                        {ui->txtFixed, ui->txtMantissa, ui->txtExponent});
    });
}
