// SPDX-License-Identifier: MIT
#include "windows/frmbinint.h"

#include "conversions/binint.h"
#include "conversions/format.h"
#include "windows/accessibility.h"
#include "windows/runtimeguard.h"
#include "ui_frmbinint.h"

#include <QButtonGroup>
#include <QKeyEvent>

using quorvex::guarded;

frmBinInt::frmBinInt(QWidget *parent)
    : ConverterWindow(parent), ui(std::make_unique<Ui::frmBinInt>()), optBits(new QButtonGroup(this))
{
    ui->setupUi(this);
    finishSetup();
    // Screen readers spell the bits out.
    quorvex::speakBits(ui->txtBinary, quorvex::BitsShown::Integer);
    quorvex::speakBits(ui->txtTwos, quorvex::BitsShown::Integer);
    optBits->setObjectName(QStringLiteral("optBits"));
    optBits->addButton(ui->optBits_0, 0);
    optBits->addButton(ui->optBits_1, 1);
    optBits->addButton(ui->optBits_2, 2);
    connect(optBits, &QButtonGroup::idClicked, this, [this](int id) { optBits_Click(qint16(id)); });
    // Tab stops at the chosen option only; the arrow keys move between them.
    for (QAbstractButton *option : optBits->buttons())
        option->setFocusPolicy(Qt::ClickFocus);
    connect(optBits, &QButtonGroup::buttonToggled, this, [](QAbstractButton *option, bool checked) {
        option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    });
    connect(ui->cmdConvert, &QPushButton::clicked, this, &frmBinInt::cmdConvert_Click);
    ui->txtDenary->installEventFilter(this);
    ui->txtDenary->setFocus();
    Form_Load();
}

frmBinInt::~frmBinInt() = default;

void frmBinInt::Form_Load()
{
    m_bitCount = quorvex::windowFormats::binIntStartWidth;
    ui->optBits_1->setChecked(true);
}

void frmBinInt::optBits_Click(qint16 Index)
{
    // Index 0 is the widest; each option down is 8 bits narrower.
    using namespace quorvex::windowFormats;
    guarded(this, [&] { m_bitCount = rt::toInt16(binIntWidest - binIntWidths.front() * qint32(Index)); });
}

void frmBinInt::txtDenary_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == 13)
        cmdConvert_Click();
}

void frmBinInt::cmdConvert_Click()
{
    guarded(this, [this] {
        applyConversion(ui->txtDenary, quorvex::convertBinInt(ui->txtDenary->text(), m_bitCount),
                        {ui->txtBinary, ui->txtTwos});
    });
}

// Character keys typed into txtDenary; the key then goes on to the box.
bool frmBinInt::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->txtDenary && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        qint16 keyAscii = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            keyAscii = 13;
        else if (!key->text().isEmpty())
            keyAscii = qint16(key->text().at(0).unicode());
        if (keyAscii != 0)
            txtDenary_KeyPress(keyAscii);
    }
    return ConverterWindow::eventFilter(watched, event);
}
