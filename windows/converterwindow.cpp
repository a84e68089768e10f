// SPDX-License-Identifier: MIT
#include "windows/converterwindow.h"

#include "windows/runtimeguard.h"
#include "windows/workingpane.h"

#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>

#include <limits>

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

void ConverterWindow::takeConversion(const QString &input, const Conversion &conversion)
{
    m_working->showConversion(input, conversion);
    raiseFailure(conversion);
}
