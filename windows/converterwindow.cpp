// SPDX-License-Identifier: MIT
#include "windows/converterwindow.h"

#include "windows/runtimeguard.h"
#include "windows/workingpane.h"

#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

#include <limits>

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
}

namespace {

void setBoxText(QWidget *box, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(box))
        label->setText(text);
}

}  // namespace

void ConverterWindow::applyConversion(QLineEdit *input, const Conversion &conversion,
                                      std::initializer_list<QWidget *> boxes)
{
    m_working->showConversion(input->text(), conversion);
    if (!conversion.refusal) {
        qsizetype output = 0;
        for (QWidget *box : boxes)
            setBoxText(box, conversion.outputs.value(output++));
        return;
    }
    std::visit(Overloaded{
                   [this](const refusal::Message &m) { showMessage(this, m.text); },
                   [this](const refusal::RuntimeError &e) { showMessage(this, runtimeErrorText(e.kind)); },
                   [input](const refusal::InputRule &rule) {
                       QToolTip::showText(input->mapToGlobal(QPoint(0, input->height())), rule.note, input);
                   },
               },
               *conversion.refusal);
}

}  // namespace quorvex
