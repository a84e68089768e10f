// SPDX-License-Identifier: MIT
// The floating-point window through real widgets: its table of cases, the
// mended cases, and run-time errors that leave the outputs as they were.
#include "app/appearance.h"
#include "windows/frmfloating.h"
#include "guitest.h"
#include "timelimit.h"
#include "windows/workingpane.h"
#include "windows/runtimeguard.h"

using namespace quorvex;

using namespace guitest;

class TestFrmFloating : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { applyAppearance(); }
    void init() { h = std::make_unique<Harness<frmFloating>>(); }
    void cleanup() { h.reset(); }
    void opensEmpty();
    void converts_data();
    void converts();
    void longTextIsKeptWhole();
    void errorsLeaveTheOutputs_data();
    void errorsLeaveTheOutputs();
    void guardTellsEveryRunTimeError_data();
    void guardTellsEveryRunTimeError();

private:
    QStringList outputs()
    {
        return {h->box("txtFixed")->text(), h->box("txtMantissa")->text(), h->box("txtExponent")->text()};
    }
    void convert(const QString &text)
    {
        click(h->box("txtDenary"));
        retype(&h->window, text);
        click(h->button("cmdConvert"));
    }
    std::unique_ptr<Harness<frmFloating>> h;
};

void TestFrmFloating::opensEmpty()
{
    QCOMPARE(h->window.windowTitle(), QStringLiteral("Decimal To Floating Point Binary"));
    QCOMPARE(h->window.size(), QSize(413, 172 + WorkingPane::buttonRowHeight));
    QCOMPARE(h->focus(), h->box("txtDenary"));
    QCOMPARE(outputs(), QStringList({"", "", ""}));
    QCOMPARE(h->box("txtMantissa")->font().pointSizeF(), 9.75);
    QVERIFY(h->box("txtMantissa")->font().bold());
}

void TestFrmFloating::converts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("5.75") << "5.75" << QStringList{"101.11", "0101110000", "000011"};
    QTest::newRow("-0.375") << "-0.375" << QStringList{"0.011", "1010000000", "111111"};
    QTest::newRow("0") << "0" << QStringList{"0.0", "0000000000", "000010"};
    QTest::newRow("empty") << "" << QStringList{"0.0", "0000000000", "000010"};
    QTest::newRow("abc") << "abc" << QStringList{"0.0", "0000000000", "000010"};
    QTest::newRow("-5") << "-5" << QStringList{"101.0", "1011000000", "000011"};
    QTest::newRow("1") << "1" << QStringList{"1.0", "0100000000", "000001"};
    QTest::newRow("-1") << "-1" << QStringList{"1.0", "1100000000", "000001"};
    QTest::newRow("0.5") << "0.5" << QStringList{"0.1", "0100000000", "000000"};
    QTest::newRow("-12.625") << "-12.625" << QStringList{"1100.101", "1001101100", "000100"};
    QTest::newRow("0.1") << "0.1" << QStringList{"0.000110011", "0110011000", "111101"};
    QTest::newRow("2^-10") << "0.0009765625" << QStringList{"0.0000000001", "0100000000", "110111"};
    QTest::newRow("1023") << "1023" << QStringList{"1111111111.0", "0111111111", "001010"};
    QTest::newRow("-0.0001") << "-0.0001" << QStringList{"0.0", "0000000000", "000010"};
    QTest::newRow("1.99999999 carries") << "1.99999999" << QStringList{"10.0", "0100000000", "000010"};
    QTest::newRow("-0.99999999 carries") << "-0.99999999" << QStringList{"1.0", "1100000000", "000001"};
    QTest::newRow("exponent with fraction 5e-1") << "5e-1" << QStringList{"0.1", "0100000000", "000000"};
    QTest::newRow("exponent with fraction 25e-1") << "25e-1" << QStringList{"10.1", "0101000000", "000010"};
    QTest::newRow("no point, no exponent") << "2 apples" << QStringList{"10.0", "0100000000", "000010"};
}

// A text longer than a line edit keeps by default is converted whole: its
// exponent, at the very end, brings the number back to 0.5.
void TestFrmFloating::longTextIsKeptWhole()
{
    const QString text = "0." + QString(999'990, u'0') + "5e999990";
    click(h->box("txtDenary"));
    paste(&h->window, text);
    QCOMPARE(h->box("txtDenary")->text().size(), text.size());
    QUORVEX_VERIFY_WITHIN(timedConvertByKeyboard(&h->window), 500);
    QCOMPARE(outputs(), QStringList({"0.1", "0100000000", "000000"}));
}

void TestFrmFloating::converts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, shown);
    convert(text);
    QCOMPARE(outputs(), shown);
    QCOMPARE(h->box("txtDenary")->text(), text);
    QVERIFY(h->watcher.messages().isEmpty());
}

void TestFrmFloating::errorsLeaveTheOutputs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString subscript = "Subscript out of range: the number needs more bits than this conversion has";
    const QString overflow = "Overflow: the number is too large for this conversion";
    const QString mismatch = "Type mismatch: the text cannot be read as a number";
    QTest::newRow("1024") << "1024" << subscript;
    QTest::newRow("1e10") << "1e10" << overflow;
    QTest::newRow("1.5abc") << "1.5abc" << mismatch;
    QTest::newRow("3000000000.5x") << "3000000000.5x" << overflow;
    QTest::newRow("exponent, then text, as with a point") << "5e-1abc" << mismatch;
}

void TestFrmFloating::errorsLeaveTheOutputs()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    convert("5.75");
    const QStringList before = outputs();
    convert(text);
    const auto &shown = h->watcher.messages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, message);
    QCOMPARE(shown.first().title, QStringLiteral("Quorvex"));
    QVERIFY(shown.first().okOnly);
    QCOMPARE(shown.first().icon, QMessageBox::NoIcon);
    QCOMPARE(outputs(), before);
    QCOMPARE(h->box("txtDenary")->text(), text);
    QVERIFY(h->window.isVisible());
}

void TestFrmFloating::guardTellsEveryRunTimeError_data()
{
    QTest::addColumn<rt::ErrorKind>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("overflow") << rt::ErrorKind::Overflow << "Overflow: the number is too large for this conversion";
    QTest::newRow("subscript") << rt::ErrorKind::SubscriptOutOfRange
                               << "Subscript out of range: the number needs more bits than this conversion has";
    QTest::newRow("type mismatch") << rt::ErrorKind::TypeMismatch << "Type mismatch: the text cannot be read as a number";
    QTest::newRow("floating-point") << rt::ErrorKind::FloatingPointFault << "Floating-point error";
}

// Every run-time error raised inside a handler reaches the user as its
// message, in the program's message box, and the window goes on.
void TestFrmFloating::guardTellsEveryRunTimeError()
{
    QFETCH(rt::ErrorKind, kind);
    QFETCH(QString, message);
    bool after = false;
    guarded(&h->window, [&] {
        rt::raise(kind);
        after = true;
    });
    QVERIFY(!after);
    const auto &shown = h->watcher.messages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, message);
    QCOMPARE(shown.first().title, QStringLiteral("Quorvex"));
    QVERIFY(shown.first().okOnly);
    QVERIFY(h->window.isVisible());
}

QTEST_MAIN(TestFrmFloating)
#include "tst_frmfloating.moc"
