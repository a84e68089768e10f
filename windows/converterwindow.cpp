// SPDX-License-Identifier: MIT
#include "windows/converterwindow.h"

#include "windows/accessibility.h"
#include "windows/runtimeguard.h"
#include "windows/workingpane.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

#include <algorithm>
#include <limits>
#include <vector>

namespace quorvex {

namespace {

// Ends the modal loop once the window is no longer visible (closed, not
// merely minimised).
class CloseWatcher : public QObject {
public:
    CloseWatcher(QWidget *window, QEventLoop *loop) : m_window(window), m_loop(loop) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Hide && !m_window->isVisible())
            m_loop->quit();
        return false;
    }

private:
    QWidget *m_window;
    QEventLoop *m_loop;
};

}  // namespace

ConverterWindow::ConverterWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    installReturnPressesButtons();
}

void ConverterWindow::showModal()
{
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    CloseWatcher watcher(this, &loop);
    installEventFilter(&watcher);
    show();
    loop.exec(QEventLoop::DialogExec);
    removeEventFilter(&watcher);
}

void ConverterWindow::finishSetup()
{
    constexpr int qtDefault = 32767;  // a line edit's limit unless told otherwise
    for (QLineEdit *box : findChildren<QLineEdit *>()) {
        if (box->maxLength() == qtDefault)
            box->setMaxLength(std::numeric_limits<int>::max());
    }
    m_working = new WorkingPane(this);
    applyAccessibleRoles(this);
}

namespace {

QString boxText(const QWidget *box)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(box))
        return edit->text();
    if (auto *label = qobject_cast<const QLabel *>(box))
        return label->text();
    return {};
}

void setBoxText(QWidget *box, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(box))
        label->setText(text);
}

// For a screen reader, which speaks only what has the focus: the focus goes
// to the first result that changed with its text selected, so the result
// is heard at once and Tab goes on to the next. A label takes no focus; the
// next box that does stands for it. When nothing changed, the first box.
void focusFirstResult(const std::vector<QWidget *> &boxes, const std::vector<bool> &changed)
{
    QLineEdit *first = nullptr;
    QLineEdit *firstChanged = nullptr;
    bool seenChange = false;
    for (size_t k = 0; k < boxes.size() && !firstChanged; ++k) {
        seenChange = seenChange || changed[k];
        auto *edit = qobject_cast<QLineEdit *>(boxes[k]);
        if (!edit || !edit->isEnabled() || !edit->isVisibleTo(edit->window()) || !(edit->focusPolicy() & Qt::TabFocus))
            continue;
        if (!first)
            first = edit;
        if (seenChange)
            firstChanged = edit;
    }
    if (QLineEdit *target = firstChanged ? firstChanged : first) {
        target->setFocus(Qt::OtherFocusReason);
        target->selectAll();
    }
}

// The input rule's note below `input`, and below the caption just under it
// if there is one, so that it covers no words.
void showNoteBelow(QLineEdit *input, const QString &note)
{
    int bottom = input->geometry().bottom();
    for (const QLabel *label : input->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        const QRect r = label->geometry();
        if (label->isVisible() && r.top() >= bottom && r.top() <= bottom + 16 && r.left() < input->geometry().right()
            && r.right() > input->x())
            bottom = std::max(bottom, r.bottom());
    }
    const QPoint below = input->parentWidget()->mapToGlobal(QPoint(input->x(), bottom + 2));
    QToolTip::showText(below, note, input);
    // The platform sets the note off from the point; keep it no higher.
    for (QWidget *tip : QApplication::topLevelWidgets()) {
        if (tip->objectName() == QStringLiteral("qtooltip_label") && tip->isVisible() && tip->y() < below.y())
            tip->move(tip->x(), below.y());
    }
}

}  // namespace

void ConverterWindow::applyConversion(QLineEdit *input, const Conversion &conversion,
                                      std::initializer_list<QWidget *> boxes)
{
    m_working->showConversion(input->text(), conversion);
    if (!conversion.refusal) {
        qsizetype output = 0;
        std::vector<bool> changed;
        for (QWidget *box : boxes) {
            const QString text = conversion.outputs.value(output++);
            changed.push_back(boxText(box) != text);
            setBoxText(box, text);
        }
        if (QAccessible::isActive())
            focusFirstResult(std::vector<QWidget *>(boxes), changed);
        return;
    }
    std::visit(Overloaded{
                   [this](const refusal::Message &m) { showMessage(this, m.text); },
                   [this](const refusal::RuntimeError &e) { showMessage(this, runtimeErrorText(e.kind)); },
                   [input](const refusal::InputRule &rule) { showNoteBelow(input, rule.note); },
               },
               *conversion.refusal);
}

}  // namespace quorvex
