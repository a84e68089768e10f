// SPDX-License-Identifier: MIT
// Screen readers and the keyboard: the accessible name and role of every
// control of every window, and a walk through each window with the keyboard
// alone, from the menu to a result and back.
#include "appearance.h"
#include "frmbinarymenu.h"
#include "guitest.h"

#include <QAccessible>
#include <QLabel>

using namespace guitest;

namespace {

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

QAccessible::Role accessibleRole(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->role() : QAccessible::NoRole;
}

struct Expected {
    const char *control;
    const char *name;
    QAccessible::Role role;
};

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { applyAppearance(); }
    void init();
    void cleanup();
    void menuNames();
    void windowNames_data();
    void windowNames();
    void actualValueIsAnnounced();
    void keyboardWalk_data();
    void keyboardWalk();

private:
    std::unique_ptr<frmBinaryMenu> menu;
    std::unique_ptr<MessageWatcher> messages;
};

void TestAccessibility::init()
{
    menu = std::make_unique<frmBinaryMenu>();
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    messages = std::make_unique<MessageWatcher>();
}

void TestAccessibility::cleanup()
{
    QVERIFY2(messages->messages().isEmpty(), "an unexpected message box appeared");
    messages.reset();
    menu.reset();
}

void TestAccessibility::menuNames()
{
    const QStringList captions = {"Decimal To Binary Integers", "Decimal To Fixed Point Binary",
                                  "Decimal To Floating Point Binary", "Binary Integer To Decimal"};
    for (int i = 0; i < 4; ++i) {
        auto *b = menu->findChild<QWidget *>(QStringLiteral("cmdMenu_%1").arg(i));
        QCOMPARE(accessibleName(b), captions[i]);
        QCOMPARE(accessibleRole(b), QAccessible::Button);
        QVERIFY(!menu->windowIcon().isNull());
    }
}

void TestAccessibility::windowNames_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<Expected>>("expected");
    using R = QAccessible::Role;
    QTest::newRow("binary integers") << 0 << QList<Expected>{
        {"txtDenary", "Enter whole positive number", R::EditableText},
        {"optBits_0", "24 bits (16777215)", R::RadioButton},
        {"optBits_1", "16 bits (65535)", R::RadioButton},
        {"optBits_2", "8 bits (255)", R::RadioButton},
        {"cmdConvert", "Convert", R::Button},
        {"txtBinary", "Binary form of this number", R::EditableText},
        {"txtTwos", "Two's Complement Form Of This Number", R::EditableText},
        {"frBits", "Number of bits to use", R::Grouping}};
    QTest::newRow("fixed point") << 1 << QList<Expected>{
        {"txtDenary", "Enter decimal number", R::EditableText},
        {"cmdConvert", "Convert", R::Button},
        {"txtWhole", "Integer part", R::EditableText},
        {"txtFraction", "Fractional part", R::EditableText},
        {"txtFixedPoint", "Fixed Point Binary", R::EditableText},
        {"Frame1", "Actual Value", R::Grouping}};
    QTest::newRow("floating point") << 2 << QList<Expected>{
        {"txtDenary", "Enter decimal number", R::EditableText},
        {"cmdConvert", "Convert", R::Button},
        {"txtFixed", "Fixed Point Binary (10, 10 bits)", R::EditableText},
        {"txtMantissa", "Mantissa", R::EditableText},
        {"txtExponent", "Exponent", R::EditableText}};
    QTest::newRow("binary to decimal") << 3 << QList<Expected>{
        {"txtBinary", "Enter binary integer", R::EditableText},
        {"cmdConvert", "Convert", R::Button},
        {"txtDenary", "Denary", R::EditableText}};
}

void TestAccessibility::windowNames()
{
    QFETCH(int, index);
    QFETCH(QList<Expected>, expected);
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    QVERIFY(openModal(button, [&](QWidget *w) {
        QVERIFY(!w->windowIcon().isNull());
        QSet<QWidget *> named;
        for (const Expected &e : expected) {
            auto *control = w->findChild<QWidget *>(e.control);
            QVERIFY2(control, e.control);
            QCOMPARE(accessibleName(control), QString::fromUtf8(e.name));
            QCOMPARE(accessibleRole(control), e.role);
            named.insert(control);
        }
        // Every control that takes the focus is in the table.
        for (QWidget *child : w->findChildren<QWidget *>()) {
            if (child->focusPolicy() != Qt::NoFocus)
                QVERIFY2(named.contains(child), qPrintable(child->objectName() + " has no expected name"));
        }
    }));
}

void TestAccessibility::actualValueIsAnnounced()
{
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_1"));
    QVERIFY(openModal(button, [&](QWidget *w) {
        type(w, "5.75");
        key(w, Qt::Key_Tab);
        key(w, Qt::Key_Space);
        auto *actual = w->findChild<QLabel *>("lblActual");
        QCOMPARE(accessibleName(actual), QStringLiteral("5.75"));
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(actual);
        QCOMPARE(a->parent()->text(QAccessible::Name), QStringLiteral("Actual Value"));
        QCOMPARE(a->text(QAccessible::Description), QStringLiteral("Actual Value"));
    }));
}

void TestAccessibility::keyboardWalk_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("focusOrder");  // from the input box, by Tab
    QTest::addColumn<QString>("resultBox");
    QTest::addColumn<QString>("result");
    QTest::newRow("binary integers") << 0 << "200"
        << QStringList{"optBits_1", "cmdConvert", "txtBinary", "txtTwos", "txtDenary"}
        << "txtBinary" << "0000000011001000";
    QTest::newRow("fixed point") << 1 << "5.75"
        << QStringList{"cmdConvert", "txtWhole", "txtFraction", "txtFixedPoint", "txtDenary"}
        << "txtFixedPoint" << "101.1100000000";
    QTest::newRow("floating point") << 2 << "-12.625"
        << QStringList{"cmdConvert", "txtFixed", "txtMantissa", "txtExponent", "txtDenary"}
        << "txtMantissa" << "1001101100";
    QTest::newRow("binary to decimal") << 3 << "1101"
        << QStringList{"cmdConvert", "txtDenary", "txtBinary"}
        << "txtDenary" << "13";
}

void TestAccessibility::keyboardWalk()
{
    QFETCH(int, index);
    QFETCH(QString, input);
    QFETCH(QStringList, focusOrder);
    QFETCH(QString, resultBox);
    QFETCH(QString, result);
    // Tab to the menu button, open its window with Space.
    for (int i = 0; i < index; ++i)
        key(menu.get(), Qt::Key_Tab);
    QString shown;
    QStringList walked;
    const bool opened = openModal([&] { key(menu.get(), Qt::Key_Space); }, [&](QWidget *w) {
        type(w, input);
        // Once round the window by Tab, then on to Convert and press Space.
        for (int i = 0; i < focusOrder.size(); ++i) {
            key(w, Qt::Key_Tab);
            walked << focusIn(w)->objectName();
        }
        while (focusIn(w)->objectName() != QStringLiteral("cmdConvert") && walked.size() < 20) {
            key(w, Qt::Key_Tab);
            walked << focusIn(w)->objectName();
        }
        key(w, Qt::Key_Space);
        shown = w->findChild<QLineEdit *>(resultBox)->text();
    });
    QVERIFY(opened);
    QCOMPARE(walked.mid(0, focusOrder.size()), focusOrder);
    QCOMPARE(shown, result);
    // Back in the menu, the keyboard still works there.
    QVERIFY(!modalConverter());
    QVERIFY(focusIn(menu.get()));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
