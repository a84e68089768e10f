// SPDX-License-Identifier: MIT
#include "app/frmbinarymenu.h"

#include "windows/frmbinint.h"
#include "windows/frmdecint.h"
#include "windows/frmfixed.h"
#include "windows/frmfloating.h"
#include "windows/frmworkbench.h"
#include "windows/runtimeguard.h"
#include "ui_frmbinarymenu.h"

#include <QButtonGroup>

namespace {

// A converter window's instance. It is created on the first press of its
// button and kept for the run; each opening builds the window afresh from its
// layout, and closing it discards the window and all it held.
class ConverterInstance {
public:
    virtual ~ConverterInstance() = default;
    virtual void showModal() = 0;
};

template <class Form>
class FormInstance : public ConverterInstance {
public:
    void showModal() override
    {
        Form window;
        window.showModal();
    }
};

// The program-wide references, empty until first use.
struct Instances {
    std::unique_ptr<ConverterInstance> binInt, fixed, floating, decInt, workbench;
};

Instances &instances()
{
    static Instances references;
    return references;
}

template <class Form>
ConverterInstance &instance(std::unique_ptr<ConverterInstance> &reference)
{
    if (!reference)
        reference = std::make_unique<FormInstance<Form>>();
    return *reference;
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
}

frmBinaryMenu::~frmBinaryMenu() = default;

void frmBinaryMenu::cmdMenu_Click(qint16 Index)
{
    guarded(this, [Index] {
        Instances &refs = instances();
        switch (Index) {
        case 0:
            instance<frmBinInt>(refs.binInt).showModal();
            break;
        case 1:
            instance<frmFixed>(refs.fixed).showModal();
            break;
        case 2:
            instance<frmFloating>(refs.floating).showModal();
            break;
        case 3:
            instance<frmDecInt>(refs.decInt).showModal();
            break;
        case 4:
            instance<quorvex::frmWorkbench>(refs.workbench).showModal();
            break;
        default:
            break;
        }
    });
}
