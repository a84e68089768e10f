// SPDX-License-Identifier: MIT
// The workbench window through real widgets: the formats and their widths,
// Enter asking again, answers and refusals in the answer box, resizing, and
// opening it from the menu.
#include "app/appearance.h"
#include "app/frmbinarymenu.h"
#include "guitest.h"
#include "windows/frmworkbench.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTextBrowser>

using namespace guitest;
using namespace quorvex;

class TestWorkbench : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { applyAppearance(); }
    void init() { h = std::make_unique<Harness<frmWorkbench>>(); }
    void cleanup()
    {
        QVERIFY2(h->watcher.messages().isEmpty(), "a message box appeared");
        h.reset();
    }
    void formatsShowTheirWidths_data();
    void formatsShowTheirWidths();
    void widthRanges_data();
    void widthRanges();
    void fixedPointKeepsOneBit();
    void answersAndEnterAsksAgain();
    void refusalKeepsTheInput();
    void captionsAndTabOrder();
    void paneTakesTheGrowth();
    void menuOpensAFreshWorkbench();

private:
    frmWorkbench &w() { return h->window; }
    template <class T = QWidget>
    T *get(const char *name) { return w().findChild<T *>(name); }
    void choose(int index)
    {
        get<QComboBox>("cboFormat")->setFocus();
        key(&w(), Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            key(&w(), Qt::Key_Down);
        get("txtInput")->setFocus();
    }
    // Types `input` over the input box's text, then clicks `button`, or
    // presses Enter with none.
    QString ask(const char *button, const QString &input)
    {
        click(get("txtInput"));
        retype(&w(), input);
        button ? click(get(button)) : key(&w(), Qt::Key_Return);
        return get<QLineEdit>("txtAnswer")->text();
    }
    std::unique_ptr<Harness<frmWorkbench>> h;
};

void TestWorkbench::formatsShowTheirWidths_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("widths");
    QTest::newRow("unsigned integer") << 0 << "Unsigned integer" << QStringList{"spnBits"};
    QTest::newRow("two's integer") << 1 << "Two's complement integer" << QStringList{"spnBits"};
    QTest::newRow("unsigned fixed") << 2 << "Unsigned fixed point" << QStringList{"spnWhole", "spnFraction"};
    QTest::newRow("two's fixed") << 3 << "Two's complement fixed point" << QStringList{"spnWhole", "spnFraction"};
    QTest::newRow("floating") << 4 << "Floating point (two's complement mantissa and exponent)"
                              << QStringList{"spnMantissa", "spnExponent"};
}

void TestWorkbench::formatsShowTheirWidths()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QStringList, widths);
    QCOMPARE(get<QComboBox>("cboFormat")->count(), 5);
    type(&w(), "kept");
    choose(index);
    QCOMPARE(get<QComboBox>("cboFormat")->currentText(), caption);
    for (QSpinBox *spin : w().findChildren<QSpinBox *>())
        QCOMPARE(spin->isVisible(), widths.contains(spin->objectName()));
    QCOMPARE(get("cmdNormalise")->isVisible(), index == 4);
    QCOMPARE(get<QLineEdit>("txtInput")->text(), QStringLiteral("kept"));
}

void TestWorkbench::widthRanges_data()
{
    QTest::addColumn<QString>("spin");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("start");
    QTest::newRow("bits") << "spnBits" << 1 << 64 << 8;
    QTest::newRow("before the point") << "spnWhole" << 0 << 32 << 4;
    QTest::newRow("after the point") << "spnFraction" << 0 << 32 << 4;
    QTest::newRow("mantissa") << "spnMantissa" << 2 << 64 << 8;
    QTest::newRow("exponent") << "spnExponent" << 2 << 12 << 4;
}

void TestWorkbench::widthRanges()
{
    QFETCH(QString, spin);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(int, start);
    auto *box = get<QSpinBox>(qPrintable(spin));
    QCOMPARE(QList<int>({box->minimum(), box->maximum(), box->value()}), QList<int>({lowest, highest, start}));
}

// Arrow keys take either side of the point down to none, but never both.
void TestWorkbench::fixedPointKeepsOneBit()
{
    choose(2);
    auto *whole = get<QSpinBox>("spnWhole");
    auto *fraction = get<QSpinBox>("spnFraction");
    const auto down = [](QSpinBox *spin) { for (int i = 0; i < 9; ++i) QTest::keyClick(spin, Qt::Key_Down); };
    down(whole);
    down(fraction);
    QCOMPARE(QPair(whole->value(), fraction->value()), QPair(0, 1));
    QTest::keyClick(whole, Qt::Key_Up);
    down(fraction);
    down(whole);
    QCOMPARE(QPair(whole->value(), fraction->value()), QPair(1, 0));
    QCOMPARE(w().format().totalBits(), 1);
}

void TestWorkbench::answersAndEnterAsksAgain()
{
    choose(4);
    QCOMPARE(ask("cmdToDenary", "10111110 0100"), QStringLiteral("-8.25"));
    QCOMPARE(ask("cmdToBinary", "12.75"), QStringLiteral("01100110 0100"));
    // Enter asks what the last button asked.
    QCOMPARE(ask(nullptr, "-8.25"), QStringLiteral("10111110 0100"));
    QVERIFY(get<QTextBrowser>("txtWorking")->toPlainText().contains("8.25"));
    // Alt+D is To denary, as a click is.
    w().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w()));
    retype(&w(), "10111110 0100");
    key(&w(), Qt::Key_D, Qt::AltModifier);
    QTRY_COMPARE(get<QLineEdit>("txtAnswer")->text(), QStringLiteral("-8.25"));
    QCOMPARE(ask(nullptr, "01100110 0100"), QStringLiteral("12.75"));
    // The widest floating-point answer fits the box at the window's first size.
    for (auto [spin, width] : {std::pair{"spnMantissa", "64"}, {"spnExponent", "12"}}) {
        get(spin)->setFocus();
        retype(&w(), width);
    }
    auto *answer = get<QLineEdit>("txtAnswer");
    QCOMPARE(ask("cmdToBinary", "-8.25").size(), 64 + 1 + 12);
    QVERIFY(answer->fontMetrics().horizontalAdvance(answer->text()) < answer->contentsRect().width());
}

// A refusal is said in the answer box; what was typed stays.
void TestWorkbench::refusalKeepsTheInput()
{
    choose(0);
    const QString said = ask("cmdToBinary", "twelve");
    QVERIFY(!said.isEmpty());
    QCOMPARE(get<QLineEdit>("txtInput")->text(), QStringLiteral("twelve"));
    QVERIFY(said != ask("cmdToBinary", "12"));
}

// Each caption names its control for a screen reader, and Tab runs from top
// to bottom.
void TestWorkbench::captionsAndTabOrder()
{
    QCOMPARE(h->focus(), get("txtInput"));
    for (QLabel *caption : w().findChildren<QLabel *>()) {
        QVERIFY(caption->buddy());
        QCOMPARE(caption->buddy()->accessibleName(), caption->text().remove('&').remove(':'));
    }
    choose(4);
    get("cboFormat")->setFocus();
    QStringList walked;
    for (int i = 0; i < 10; ++i) {
        key(&w(), Qt::Key_Tab);
        walked << h->focus()->objectName();
    }
    QCOMPARE(walked, (QStringList{"spnMantissa", "spnExponent", "txtInput", "cmdToBinary", "cmdToDenary",
                                  "cmdNormalise", "cmdRange", "txtAnswer", "txtWorking", "cboFormat"}));
}

void TestWorkbench::paneTakesTheGrowth()
{
    QWidget *pane = get("txtWorking");
    const int before = pane->height(), answerHeight = get("txtAnswer")->height();
    w().resize(w().width() + 100, w().height() + 150);
    QTRY_COMPARE(pane->height(), before + 150);
    QCOMPARE(get("txtAnswer")->height(), answerHeight);
}

void TestWorkbench::menuOpensAFreshWorkbench()
{
    frmBinaryMenu menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    auto *button = menu.findChild<QAbstractButton *>("cmdMenu_4");
    for (int opening = 0; opening < 2; ++opening) {
        QVERIFY(openModal(button, [&](QWidget *window) {
            QCOMPARE(window->objectName(), QStringLiteral("frmWorkbench"));
            QCOMPARE(window->windowTitle(), QStringLiteral("Workbench"));
            QCOMPARE(window->windowModality(), Qt::ApplicationModal);
            QVERIFY(window->findChild<QLineEdit *>("txtInput")->text().isEmpty());
            type(window, "101");
        }));
        QVERIFY(!modalConverter());
    }
}

QTEST_MAIN(TestWorkbench)
#include "tst_frmworkbench.moc"
