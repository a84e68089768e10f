// SPDX-License-Identifier: MIT
// The fixed-point window through real widgets, typing and clicking as a user
// does: conversions, the input rule that keeps the focus, the length limit.
#include "app/appearance.h"
#include "windows/frmfixed.h"
#include "guitest.h"
#include "windows/workingpane.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace quorvex;

using namespace guitest;

class TestFrmFixed : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensEmptyWithFocusInInput();
    void converts_data();
    void converts();
    void refusedTextKeepsFocusAndOutputs_data();
    void refusedTextKeepsFocusAndOutputs();
    void tabAndShiftTabNeedAcceptedText();
    void clickOnOutputBoxNeedsAcceptedText();
    void clickInsideRefusedInputMovesTheCaret();
    void doubleClickOnConvertIsHeldBackToo();
    void clickOnLabelDoesNotValidate();
    void inputTakesAtMostTenCharacters();
    void closingIsNeverBlocked();
    void enterAndEscapeDoNothing();

private:
    QLineEdit *box(const char *name) { return h->box(name); }
    QAbstractButton *convertButton() { return h->button("cmdConvert"); }
    QString actual() { return window->findChild<QLabel *>("lblActual")->text(); }
    QStringList outputs()
    {
        return {box("txtWhole")->text(), box("txtFraction")->text(), actual(),
                box("txtFixedPoint")->text()};
    }
    std::unique_ptr<Harness<frmFixed>> h;
    frmFixed *window = nullptr;
};

void TestFrmFixed::initTestCase()
{
    applyAppearance();
}

void TestFrmFixed::init()
{
    h = std::make_unique<Harness<frmFixed>>();
    window = &h->window;
}

void TestFrmFixed::cleanup()
{
    QVERIFY2(h->watcher.messages().isEmpty(), "an unexpected message box appeared");
    h.reset();
}

void TestFrmFixed::opensEmptyWithFocusInInput()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Fixed Point Binary"));
    QCOMPARE(window->size(), QSize(537, 218 + WorkingPane::buttonRowHeight));
    QCOMPARE(focusIn(window), box("txtDenary"));
    QCOMPARE(outputs(), QStringList({"", "", "", ""}));
    QCOMPARE(box("txtWhole")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(box("txtFixedPoint")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(box("txtFraction")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    // A click on Convert before anything is typed does nothing.
    click(convertButton());
    QCOMPARE(focusIn(window), box("txtDenary"));
    QCOMPARE(outputs(), QStringList({"", "", "", ""}));
}

void TestFrmFixed::converts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shown");  // whole, fraction, actual, fixed point
    QTest::newRow("5.75") << "5.75" << QStringList{"101", "1100000000", "5.75", "101.1100000000"};
    QTest::newRow("0") << "0" << QStringList{"0", "0000000000", "0", "0.0000000000"};
    QTest::newRow("1023") << "1023" << QStringList{"1111111111", "0000000000", "1023", "1111111111.0000000000"};
    QTest::newRow("1022.75") << "1022.75" << QStringList{"1111111110", "1100000000", "1022.75", "1111111110.1100000000"};
    QTest::newRow("-0") << "-0" << QStringList{"0", "0000000000", "0", "0.0000000000"};
    QTest::newRow("0.1") << "0.1" << QStringList{"0", "0001100110", "0.099609375", "0.0001100110"};
    QTest::newRow(".5") << ".5" << QStringList{"0", "1000000000", "0.5", "0.1000000000"};
    QTest::newRow("5.") << "5." << QStringList{"101", "0000000000", "5", "101.0000000000"};
    QTest::newRow("0.001") << "0.001" << QStringList{"0", "0000000001", "0.0009765625", "0.0000000001"};
    QTest::newRow("0.0009") << "0.0009" << QStringList{"0", "0000000000", "0", "0.0000000000"};
    QTest::newRow("1022.999") << "1022.999" << QStringList{"1111111110", "1111111111", "1022.9990234375", "1111111110.1111111111"};
    QTest::newRow("12.5") << "12.5" << QStringList{"1100", "1000000000", "12.5", "1100.1000000000"};
    QTest::newRow("1.99999999 carries") << "1.99999999" << QStringList{"10", "0000000000", "2", "10.0000000000"};
    QTest::newRow("1022.99999 carries") << "1022.99999" << QStringList{"1111111111", "0000000000", "1023", "1111111111.0000000000"};
}

void TestFrmFixed::converts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, shown);
    type(window, text);
    click(convertButton());
    QCOMPARE(outputs(), shown);
    QCOMPARE(box("txtDenary")->text(), text);
    QCOMPARE(focusIn(window), convertButton());
}

void TestFrmFixed::refusedTextKeepsFocusAndOutputs_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("1023.5") << "1023.5";
    QTest::newRow("1023.999") << "1023.999";
    QTest::newRow("-1") << "-1";
    QTest::newRow("-0.5") << "-0.5";
    QTest::newRow("abc") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("1e4") << "1e4";
}

void TestFrmFixed::refusedTextKeepsFocusAndOutputs()
{
    QFETCH(QString, text);
    type(window, "5.75");
    click(convertButton());
    const QStringList before = outputs();
    click(box("txtDenary"));
    retype(window, text);
    click(convertButton());
    QCOMPARE(focusIn(window), box("txtDenary"));
    QCOMPARE(box("txtDenary")->text(), text);
    QCOMPARE(outputs(), before);
    QVERIFY(!convertButton()->isDown());
}

void TestFrmFixed::tabAndShiftTabNeedAcceptedText()
{
    type(window, "abc");
    key(window, Qt::Key_Tab);
    QCOMPARE(focusIn(window), box("txtDenary"));
    key(window, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusIn(window), box("txtDenary"));
    retype(window, "5");
    key(window, Qt::Key_Tab);
    QCOMPARE(focusIn(window), convertButton());
    // Space on the focused button converts.
    key(window, Qt::Key_Space);
    QCOMPARE(box("txtFixedPoint")->text(), QStringLiteral("101.0000000000"));
    // The tab order runs through the output boxes and back to the input.
    const QStringList order = {"txtWhole", "txtFraction", "txtFixedPoint", "chkShowWorking", "txtDenary"};
    for (const QString &name : order) {
        key(window, Qt::Key_Tab);
        QCOMPARE(focusIn(window)->objectName(), name);
    }
    key(window, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusIn(window)->objectName(), QStringLiteral("chkShowWorking"));
}

void TestFrmFixed::clickOnOutputBoxNeedsAcceptedText()
{
    type(window, "2000");
    click(box("txtWhole"));
    QCOMPARE(focusIn(window), box("txtDenary"));
    retype(window, "20");
    click(box("txtWhole"));
    QCOMPARE(focusIn(window), box("txtWhole"));
    // Leaving an output box is never checked.
    click(box("txtDenary"));
    retype(window, "x");
    click(box("txtFraction"));
    QCOMPARE(focusIn(window), box("txtDenary"));
}

// Only clicks that would move the focus away are held back: one inside the
// input box itself places the caret as usual.
void TestFrmFixed::clickInsideRefusedInputMovesTheCaret()
{
    type(window, "2000abc");
    QLineEdit *input = box("txtDenary");
    QCOMPARE(input->cursorPosition(), 7);
    const QRect caret = input->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int width = input->fontMetrics().horizontalAdvance(QStringLiteral("2000abc"));
    // Just right of the first character.
    const QPoint afterFirst(caret.center().x() - width + input->fontMetrics().horizontalAdvance(u'2'), caret.center().y());
    QTest::mouseClick(input, Qt::LeftButton, Qt::NoModifier, afterFirst);
    QCOMPARE(input->cursorPosition(), 1);
    QCOMPARE(focusIn(window), input);
    type(window, "x");
    QCOMPARE(input->text(), QStringLiteral("2x000abc"));
}

void TestFrmFixed::doubleClickOnConvertIsHeldBackToo()
{
    type(window, "1024");
    QTest::mouseDClick(convertButton(), Qt::LeftButton);
    QCOMPARE(focusIn(window), box("txtDenary"));
    QCOMPARE(outputs(), QStringList({"", "", "", ""}));
}

void TestFrmFixed::clickOnLabelDoesNotValidate()
{
    // Labels take no focus, so nothing leaves the input box.
    type(window, "abc");
    QTest::mouseClick(window->findChild<QLabel *>("Label3"), Qt::LeftButton);
    QCOMPARE(focusIn(window), box("txtDenary"));
    retype(window, "3");
    QTest::mouseClick(window->findChild<QLabel *>("Label2"), Qt::LeftButton);
    QCOMPARE(focusIn(window), box("txtDenary"));
    QCOMPARE(box("txtDenary")->text(), QStringLiteral("3"));
}

void TestFrmFixed::inputTakesAtMostTenCharacters()
{
    type(window, "1022.999999");
    QCOMPARE(box("txtDenary")->text(), QStringLiteral("1022.99999"));
    click(convertButton());
    QCOMPARE(box("txtFixedPoint")->text(), QStringLiteral("1111111111.0000000000"));
    QCOMPARE(actual(), QStringLiteral("1023"));
}

void TestFrmFixed::closingIsNeverBlocked()
{
    type(window, "abc");
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
}

void TestFrmFixed::enterAndEscapeDoNothing()
{
    type(window, "5");
    key(window, Qt::Key_Return);
    key(window, Qt::Key_Enter);
    key(window, Qt::Key_Escape);
    QVERIFY(window->isVisible());
    QCOMPARE(outputs(), QStringList({"", "", "", ""}));
    QCOMPARE(box("txtDenary")->text(), QStringLiteral("5"));
}

QTEST_MAIN(TestFrmFixed)
#include "tst_frmfixed.moc"
