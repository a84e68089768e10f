// SPDX-License-Identifier: MIT
#include "windows/frmfixed.h"

#include "conversions/fixed.h"
#include "windows/accessibility.h"
#include "windows/runtimeguard.h"
#include "ui_frmfixed.h"

using quorvex::guarded;

#include <QAccessible>
#include <QMouseEvent>
#include <QWindow>

frmFixed::frmFixed(QWidget *parent) : ConverterWindow(parent), ui(std::make_unique<Ui::frmFixed>())
{
    ui->setupUi(this);
    finishSetup();
    // Screen readers spell the bits out.
    quorvex::speakBits(ui->txtWhole, quorvex::BitsShown::Integer);
    quorvex::speakBits(ui->txtFraction, quorvex::BitsShown::Fraction);
    quorvex::speakBits(ui->txtFixedPoint, quorvex::BitsShown::FixedPoint);
    // A screen reader reaches the value the bits hold by Tab, after the
    // fraction as the outputs come; without one the Tab order is the
    // window's own.
    if (QAccessible::isActive()) {
        ui->lblActual->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        ui->lblActual->setFocusPolicy(Qt::TabFocus);
        setTabOrder(ui->txtFraction, ui->lblActual);
        setTabOrder(ui->lblActual, ui->txtFixedPoint);
    }
    connect(ui->cmdConvert, &QPushButton::clicked, this, &frmFixed::cmdConvert_Click);
    ui->txtDenary->setFocus();
}

frmFixed::~frmFixed() = default;

void frmFixed::cmdConvert_Click()
{
    guarded(this, [this] {
        applyConversion(ui->txtDenary, quorvex::convertFixed(ui->txtDenary->text()),
                        {ui->txtWhole, ui->txtFraction, ui->lblActual, ui->txtFixedPoint});
    });
}

void frmFixed::txtDenary_Validate(bool &Cancel)
{
    guarded(this, [&] { Cancel = !quorvex::fixedAccepts(ui->txtDenary->text()); });
    // The rule refuses quietly and keeps the focus; a short note at the box,
    // and the working pane, say what it wants.
    if (Cancel)
        applyConversion(ui->txtDenary, quorvex::refuseFixedInput(ui->txtDenary->text()), {});
}

bool frmFixed::focusMayLeaveInput()
{
    if (focusWidget() != ui->txtDenary)
        return true;
    bool cancel = false;
    txtDenary_Validate(cancel);
    return !cancel;
}

// Whether a press at `position` (window coordinates) would give the focus to
// another control, the way Qt chooses the widget that takes focus on a click.
bool frmFixed::pressMovesFocusAway(const QPoint &position) const
{
    for (QWidget *w = childAt(position); w && w != this; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus))
            return w != ui->txtDenary;
    }
    return false;
}

// Mouse presses are caught on their way into the window, before Qt moves the
// focus to the pressed control: a refused input keeps the focus, and the
// press (with its release) never reaches the control.
bool frmFixed::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != windowHandle())
        return ConverterWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (pressMovesFocusAway(mouse->position().toPoint()) && !focusMayLeaveInput()) {
            m_swallowRelease = true;
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_swallowRelease) {
            m_swallowRelease = false;
            return true;
        }
        break;
    default:
        break;
    }
    return ConverterWindow::eventFilter(watched, event);
}

// Tab and Shift+Tab.
bool frmFixed::focusNextPrevChild(bool next)
{
    if (!focusMayLeaveInput())
        return true;
    return ConverterWindow::focusNextPrevChild(next);
}

void frmFixed::showEvent(QShowEvent *event)
{
    if (QWindow *window = windowHandle()) {
        window->removeEventFilter(this);
        window->installEventFilter(this);
    }
    ConverterWindow::showEvent(event);
}
