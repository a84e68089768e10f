// SPDX-License-Identifier: MIT
// Support for tests that drive real widgets the way a user does: keys go to
// the focused control, mouse clicks go through the window system (tests are
// built with QTEST_QPA_MOUSE_HANDLING), modal windows and message boxes run
// their own event loops.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <functional>

namespace guitest {

// What a message box showed before it was answered.
struct Message {
    QString title;
    QString text;
    int buttonCount = 0;
    bool okOnly = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers every message box that appears, as a user would, with a mouse
// click on its OK button (or by closing it when it has none), and keeps what
// each showed. So a test never hangs on an unexpected modal box: it sees it
// in messages() instead.
class MessageWatcher : public QObject {
public:
    MessageWatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }
    const QList<Message> &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == m_answering)
            return;
        m_answering = box;
        Message m;
        m.title = box->windowTitle();
        m.text = box->text();
        m.buttonCount = int(box->buttons().size());
        m.okOnly = box->standardButtons() == QMessageBox::Ok;
        m.icon = box->icon();
        m_messages.append(m);
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            QTest::mouseClick(ok, Qt::LeftButton);
        if (box && box->isVisible())
            box->close();
    }

    QTimer m_timer;
    QPointer<QMessageBox> m_answering;
    QList<Message> m_messages;
};

// The window that holds the focus within `window`, whether or not the
// platform has made `window` active.
// The binary integers window's chosen width, as its options show it: option
// Index stands for 24 - 8 x Index bits.
inline qint16 chosenBitCount(QWidget *window)
{
    for (int index = 0; index < 3; ++index) {
        const auto *option = window->findChild<QAbstractButton *>(QStringLiteral("optBits_%1").arg(index));
        if (option && option->isChecked())
            return qint16(24 - 8 * index);
    }
    return 0;
}

inline QWidget *focusIn(QWidget *window)
{
    return window->focusWidget();
}

// Types text into whatever control has the focus.
// The caption whose Alt key another control shown in `window` already
// has; empty when each reaches one control.
inline QString clashingMnemonic(QWidget *window)
{
    QString taken;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const QString text = control->isVisibleTo(window) ? control->property("text").toString() : QString();
        const QString key = text.section(u'&', 1).left(1).toLower();
        if (!key.isEmpty() && taken.contains(key))
            return text;
        taken += key;
    }
    return QString();
}

inline void type(QWidget *window, const QString &text)
{
    QTest::keyClicks(focusIn(window), text);
}

inline void key(QWidget *window, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focusIn(window), k, modifiers);
}

inline void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

// Pastes text into the focused control, as a user does with text that
// cannot be typed on the keyboard.
inline void paste(QWidget *window, const QString &text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(focusIn(window), Qt::Key_V, Qt::ControlModifier);
}

// Moves from the input box onto Convert with Tab, lets the window repaint,
// then presses Space there and returns how many milliseconds the press took
// (-1 when Tab did not reach Convert). The repaint comes before the clock:
// Qt takes a few hundred milliseconds to lay out and paint a very long text,
// which is the box's own work, not the conversion's.
inline qint64 timedConvertByKeyboard(QWidget *window)
{
    QTest::keyClick(focusIn(window), Qt::Key_Tab);
    if (!focusIn(window) || focusIn(window)->objectName() != QLatin1String("cmdConvert"))
        return -1;
    QTest::qWait(1);
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(focusIn(window), Qt::Key_Space);
    return clock.elapsed();
}

// Selects all of a text box's text with the keyboard and types over it.
inline void retype(QWidget *window, const QString &text)
{
    QTest::keyClick(focusIn(window), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(focusIn(window), Qt::Key_Delete);
    if (!text.isEmpty())
        type(window, text);
}

// The visible converter window that is currently modal, if any.
inline QWidget *modalConverter()
{
    QWidget *w = QApplication::activeModalWidget();
    return w && !qobject_cast<QMessageBox *>(w) && w->isVisible() ? w : nullptr;
}

// Runs `trigger` (a click or key that opens a modal window) and runs
// `whileOpen` inside that window's event loop. Afterwards the window is
// closed, as with its close box, if `whileOpen` left it open. Returns false
// if no modal window opened within 5 s.
inline bool openModal(const std::function<void()> &trigger,
                      const std::function<void(QWidget *)> &whileOpen)
{
    bool opened = false;
    bool finished = false;
    QTimer poll;
    poll.setInterval(5);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (finished)
            return;
        if (QWidget *window = modalConverter()) {
            finished = true;
            opened = true;
            QPointer<QWidget> guard(window);
            // Under load the window system may make it active a little
            // later; focus, and what a screen reader is told of it, wait
            // for that.
            (void)QTest::qWaitForWindowActive(window, 2000);
            whileOpen(window);
            if (guard && guard->isVisible())
                guard->close();
        } else if (clock.elapsed() > 5000) {
            finished = true;
        }
    });
    poll.start();
    trigger();
    (void)QTest::qWaitFor([&] { return finished; }, 6000);
    return opened;
}

inline bool openModal(QAbstractButton *button, const std::function<void(QWidget *)> &whileOpen)
{
    return openModal([button] { click(button); }, whileOpen);
}

// A window under test reads and writes the user's data only in Qt's test
// folders (~/.qttest), never the real ones.
struct TestFolders {
    TestFolders() { QStandardPaths::setTestModeEnabled(true); }
};

// One converter window shown for a test, with its message boxes watched.
template <class Window>
struct Harness {
    Harness()
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("window not exposed");
    }
    QLineEdit *box(const char *name) { return window.template findChild<QLineEdit *>(name); }
    QAbstractButton *button(const char *name) { return window.template findChild<QAbstractButton *>(name); }
    QWidget *focus() { return focusIn(&window); }

    TestFolders folders;  // before the window
    Window window;
    MessageWatcher watcher;
};

}  // namespace guitest
