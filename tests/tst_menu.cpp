// SPDX-License-Identifier: MIT
// The main menu through real widgets: modality, a fresh window at every
// opening, keys that do nothing, and the program ending with the menu.
#include "app/appearance.h"
#include "app/frmbinarymenu.h"
#include "guitest.h"

#include <QLineEdit>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>

using namespace quorvex;

using namespace guitest;

class TestMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void layout();
    void buttonsOpenTheirWindows_data();
    void buttonsOpenTheirWindows();
    void minimisingKeepsTheWindow_data();
    void minimisingKeepsTheWindow();
    void menuTakesNoInputWhileAWindowIsOpen();
    void everyOpeningStartsAfresh();
    void escapeDoesNothing();
    void returnPressesTheFocusedButton_data();
    void returnPressesTheFocusedButton();
    void closingTheMenuEndsTheProgram();

private:
    std::unique_ptr<frmBinaryMenu> menu;
    std::unique_ptr<MessageWatcher> messages;
    QAbstractButton *button(int index)
    {
        return menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    }
};

void TestMenu::initTestCase()
{
    applyAppearance();
}

void TestMenu::init()
{
    menu = std::make_unique<frmBinaryMenu>();
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    messages = std::make_unique<MessageWatcher>();
}

void TestMenu::cleanup()
{
    QVERIFY2(messages->messages().isEmpty(), "an unexpected message box appeared");
    messages.reset();
    menu.reset();
}

void TestMenu::layout()
{
    QCOMPARE(menu->objectName(), QStringLiteral("frmBinaryMenu"));
    QCOMPARE(menu->windowTitle(), QStringLiteral("Quorvex"));
    QCOMPARE(menu->size(), QSize(203, 295));
    const QStringList captions = {"Decimal To Binary Integers", "Decimal To Fixed Point Binary",
                                  "Decimal To Floating Point Binary", "Binary Integer To Decimal",
                                  "Workbench: Any Format, Both Ways"};
    for (int i = 0; i < 5; ++i) {
        QAbstractButton *b = button(i);
        QVERIFY(b);
        QCOMPARE(b->text(), captions[i]);
        QCOMPARE(b->geometry(), QRect(8, 8 + 56 * i, 185, 49));
    }
    QCOMPARE(focusIn(menu.get()), button(0));
    // The tab order follows the index.
    for (int i = 1; i < 5; ++i) {
        key(menu.get(), Qt::Key_Tab);
        QCOMPARE(focusIn(menu.get()), button(i));
    }
}

void TestMenu::buttonsOpenTheirWindows_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title");
    QTest::newRow("0") << 0 << "frmBinInt" << "Binary Integers";
    QTest::newRow("1") << 1 << "frmFixed" << "Fixed Point Binary";
    QTest::newRow("2") << 2 << "frmFloating" << "Decimal To Floating Point Binary";
    QTest::newRow("3") << 3 << "frmDecInt" << "Binary Integers To Decimal (Unvalidated)";
}

void TestMenu::buttonsOpenTheirWindows()
{
    QFETCH(int, index);
    QFETCH(QString, window);
    QFETCH(QString, title);
    QString seenName, seenTitle;
    bool modal = false;
    const bool opened = openModal(button(index), [&](QWidget *w) {
        seenName = w->objectName();
        seenTitle = w->windowTitle();
        modal = w->windowModality() == Qt::ApplicationModal && w->isWindow() && !w->parentWidget();
    });
    QVERIFY(opened);
    QCOMPARE(seenName, window);
    QCOMPARE(seenTitle, title);
    QVERIFY(modal);
    // Closed and discarded: the menu takes input again at once.
    QVERIFY(!modalConverter());
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(w->objectName() != window, "the closed window was not discarded");
}

// Minimising a converter window keeps it and what it shows; only closing
// ends it. It has a close box and no maximise box.
void TestMenu::minimisingKeepsTheWindow()
{
    QFETCH(int, index);
    QPointer<QWidget> window;
    QVERIFY(openModal(button(index), [&](QWidget *w) {
        window = w;
        const Qt::WindowFlags flags = w->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        auto *input = w->findChild<QLineEdit *>(index == 3 ? "txtBinary" : "txtDenary");
        type(w, "101");
        w->showMinimized();
        QTest::qWait(50);
        QVERIFY(w->isMinimized());
        QCOMPARE(modalConverter(), w);  // still open, still modal
        QCOMPARE(input->text(), QStringLiteral("101"));
        w->showNormal();
        QTest::qWait(50);
        QVERIFY(w->isVisible() && !w->isMinimized());
        QCOMPARE(input->text(), QStringLiteral("101"));
    }));
    QVERIFY(!window);  // closing discarded it
}

void TestMenu::minimisingKeepsTheWindow_data()
{
    buttonsOpenTheirWindows_data();
}

void TestMenu::menuTakesNoInputWhileAWindowIsOpen()
{
    QStringList opened;
    const bool first = openModal(button(0), [&](QWidget *w) {
        opened << w->objectName();
        // A real click on another menu button reaches nothing. Should it
        // open a window all the same, close that one rather than hang.
        // The timer lives only as long as this check: one that fired after
        // it would close the next test's window and write to a list long
        // gone.
        QStringList strays;
        QTimer closeStray;
        closeStray.setSingleShot(true);
        QObject::connect(&closeStray, &QTimer::timeout, [&] {
            if (QWidget *stray = modalConverter(); stray && stray != w) {
                strays << stray->objectName();
                stray->close();
            }
        });
        closeStray.start(500);
        click(button(1));
        QCOMPARE(strays, QStringList());
        QTest::qWait(50);
        QCOMPARE(modalConverter(), w);
        for (QWidget *t : QApplication::topLevelWidgets())
            QVERIFY(t->objectName() != QStringLiteral("frmFixed"));
    });
    QVERIFY(first);
    QCOMPARE(opened, QStringList{"frmBinInt"});
    // Once it is closed, the menu answers again.
    QVERIFY(openModal(button(1), [&](QWidget *w) { opened << w->objectName(); }));
    QCOMPARE(opened, (QStringList{"frmBinInt", "frmFixed"}));
}

void TestMenu::everyOpeningStartsAfresh()
{
    QPointer<QWidget> firstWindow;
    QVERIFY(openModal(button(0), [&](QWidget *w) {
        firstWindow = w;
        type(w, "1000");
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        QCOMPARE(w->findChild<QLineEdit *>("txtBinary")->text(), QStringLiteral("0000001111101000"));
        click(w->findChild<QAbstractButton *>("optBits_2"));
    }));
    QVERIFY(!firstWindow);  // discarded on close
    QVERIFY(openModal(button(0), [&](QWidget *w) {
        for (const char *box : {"txtDenary", "txtBinary", "txtTwos"})
            QVERIFY(w->findChild<QLineEdit *>(box)->text().isEmpty());
        QVERIFY(w->findChild<QRadioButton *>("optBits_1")->isChecked());
        QCOMPARE(focusIn(w), w->findChild<QWidget *>("txtDenary"));
        type(w, "5");
        key(w, Qt::Key_Return);
        QCOMPARE(w->findChild<QLineEdit *>("txtBinary")->text(), QStringLiteral("0000000000000101"));
    }));
    QVERIFY(openModal(button(1), [&](QWidget *w) {
        type(w, "5.75");
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        QCOMPARE(w->findChild<QLineEdit *>("txtWhole")->text(), QStringLiteral("101"));
    }));
    QVERIFY(openModal(button(1), [&](QWidget *w) {
        for (const char *box : {"txtDenary", "txtWhole", "txtFraction", "txtFixedPoint"})
            QVERIFY(w->findChild<QLineEdit *>(box)->text().isEmpty());
        QVERIFY(w->findChild<QLabel *>("lblActual")->text().isEmpty());
    }));
}

void TestMenu::escapeDoesNothing()
{
    key(menu.get(), Qt::Key_Escape);
    QTest::qWait(30);
    QVERIFY(!modalConverter());
    QVERIFY(menu->isVisible());
    // Inside a converter window, Escape does not close it either.
    QVERIFY(openModal(button(1), [&](QWidget *w) {
        key(w, Qt::Key_Escape);
        QTest::qWait(30);
        QVERIFY(w->isVisible());
    }));
}

void TestMenu::returnPressesTheFocusedButton_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Qt::Key>("pressed");
    QTest::addColumn<QString>("window");
    const char *windows[] = {"frmBinInt", "frmFixed", "frmFloating", "frmDecInt", "frmWorkbench"};
    for (int i = 0; i < 5; ++i) {
        QTest::addRow("Return on %d", i) << i << Qt::Key_Return << windows[i];
        QTest::addRow("Enter on %d", i) << i << Qt::Key_Enter << windows[i];
    }
}

// Return and the keypad's Enter press the focused menu button as Space
// does; the window opens once, and the menu has its focus back after it.
void TestMenu::returnPressesTheFocusedButton()
{
    QFETCH(int, index);
    QFETCH(Qt::Key, pressed);
    QFETCH(QString, window);
    button(index)->setFocus();
    QStringList opened;
    QVERIFY(openModal([&] { key(menu.get(), pressed); }, [&](QWidget *w) { opened << w->objectName(); }));
    QCOMPARE(opened, QStringList{window});
    QTest::qWait(30);
    QVERIFY(!modalConverter());
    QCOMPARE(focusIn(menu.get()), button(index));
}

void TestMenu::closingTheMenuEndsTheProgram()
{
    QVERIFY(QApplication::quitOnLastWindowClosed());
    QTimer::singleShot(0, menu.get(), [this] { menu->close(); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    QObject::connect(&failsafe, &QTimer::timeout, [] { QApplication::exit(7); });
    failsafe.start(5000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!menu->isVisible());
}

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
