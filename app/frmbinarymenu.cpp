// SPDX-License-Identifier: MIT
#include "app/frmbinarymenu.h"

#include "windows/frmbinint.h"
#include "windows/frmdecint.h"
#include "windows/frmfixed.h"
#include "windows/frmfloating.h"
#include "windows/frmworkbench.h"
#include "windows/accessibility.h"
#include "windows/runtimeguard.h"
#include "ui_frmbinarymenu.h"

#include <QButtonGroup>

namespace {

// Opens a window: each opening builds it afresh from its layout and shows it
// modally; closing it discards the window and all it held, so nothing is
// kept from one opening to the next.
template <class Form>
void openModal()
{
    Form window;
    window.showModal();
}

}  // namespace

frmBinaryMenu::frmBinaryMenu(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::frmBinaryMenu>()), cmdMenu(new QButtonGroup(this))
{
    ui->setupUi(this);
    cmdMenu->setObjectName(QStringLiteral("cmdMenu"));
    cmdMenu->addButton(ui->cmdMenu_0, 0);
    cmdMenu->addButton(ui->cmdMenu_1, 1);
    cmdMenu->addButton(ui->cmdMenu_2, 2);
    cmdMenu->addButton(ui->cmdMenu_3, 3);
    cmdMenu->addButton(ui->cmdMenu_4, 4);
    connect(cmdMenu, &QButtonGroup::idClicked, this, [this](int id) { cmdMenu_Click(qint16(id)); });
    ui->cmdMenu_0->setFocus();
    quorvex::installReturnPressesButtons();
}

frmBinaryMenu::~frmBinaryMenu() = default;

void frmBinaryMenu::cmdMenu_Click(qint16 Index)
{
    quorvex::guarded(this, [Index] {
        switch (Index) {
        case 0:
            openModal<frmBinInt>();
            break;
        case 1:
            openModal<frmFixed>();
            break;
        case 2:
            openModal<frmFloating>();
            break;
        case 3:
            openModal<frmDecInt>();
            break;
        case 4:
            openModal<quorvex::frmWorkbench>();
            break;
        default:
            break;
        }
    });
}
