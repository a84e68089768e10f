// SPDX-License-Identifier: MIT
// The binary integer to decimal window through real widgets.
#include "app/appearance.h"
#include "windows/frmdecint.h"
#include "guitest.h"
#include "timelimit.h"
#include "windows/workingpane.h"

using namespace quorvex;

using namespace guitest;

class TestFrmDecInt : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { applyAppearance(); }
    void init() { h = std::make_unique<Harness<frmDecInt>>(); }
    void cleanup()
    {
        QVERIFY2(h->watcher.messages().isEmpty(), "an unexpected message box appeared");
        h.reset();
    }
    void opensEmpty();
    void longTextIsKeptWhole_data();
    void longTextIsKeptWhole();
    void converts_data();
    void converts();
    void onlyConvertConverts();
    void overflowIsReportedAndChangesNothing();

private:
    std::unique_ptr<Harness<frmDecInt>> h;
};

void TestFrmDecInt::opensEmpty()
{
    QCOMPARE(h->window.windowTitle(), QStringLiteral("Binary Integers To Decimal (Unvalidated)"));
    QCOMPARE(h->window.size(), QSize(389, 87 + WorkingPane::buttonRowHeight));
    QCOMPARE(h->focus(), h->box("txtBinary"));
    QVERIFY(h->box("txtBinary")->text().isEmpty());
    QVERIFY(h->box("txtDenary")->text().isEmpty());
}

void TestFrmDecInt::longTextIsKeptWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("100,000 zeros, then 1") << QString(100'000, u'0') + u'1' << "1" << "";
    QTest::newRow("a million zeros, then 1") << QString(1'000'000, u'0') + u'1' << "1" << "";
    QTest::newRow("a million zeros, then 101") << QString(1'000'000, u'0') + "101" << "5" << "";
    QTest::newRow("1, then a million zeros") << u'1' + QString(1'000'000, u'0') << ""
                                             << "Overflow: the number is too large for this conversion";
}

// Pasted text of any length is kept whole and converted in well under a
// second (a line edit keeps 32,767 characters unless told otherwise).
void TestFrmDecInt::longTextIsKeptWhole()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(QString, message);
    paste(&h->window, text);
    QCOMPARE(h->box("txtBinary")->text().size(), text.size());
    QUORVEX_VERIFY_WITHIN(timedConvertByKeyboard(&h->window), 500);
    QCOMPARE(h->box("txtDenary")->text(), value);
    const auto shown = h->watcher.messages();
    h->watcher.clear();
    QCOMPARE(shown.isEmpty() ? QString() : shown.first().text, message);
}

void TestFrmDecInt::converts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << "" << "0";
    QTest::newRow("101") << "101" << "5";
    QTest::newRow("leading zeros") << "0000101" << "5";
    QTest::newRow("110") << "110" << "6";
    QTest::newRow("abc") << "abc" << "0";
    QTest::newRow("2") << "2" << "0";
    QTest::newRow("1 1") << "1 1" << "5";
    QTest::newRow("1.1") << "1.1" << "5";
    QTest::newRow("-101") << "-101" << "5";
    QTest::newRow("trailing blank") << "101 " << "10";
    QTest::newRow("leading blank") << " 101" << "5";
    QTest::newRow("31 ones") << QString(31, u'1') << "2147483647";
    QTest::newRow("emoji takes one place") << QString::fromUtf8("1\xF0\x9F\x98\x80") << "2";
}

void TestFrmDecInt::converts()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    paste(&h->window, text);
    QCOMPARE(h->box("txtBinary")->text(), text);
    click(h->button("cmdConvert"));
    QCOMPARE(h->box("txtDenary")->text(), value);
    QCOMPARE(h->box("txtBinary")->text(), text);  // not reversed
    click(h->button("cmdConvert"));
    QCOMPARE(h->box("txtDenary")->text(), value);  // the same the second time
}

void TestFrmDecInt::onlyConvertConverts()
{
    type(&h->window, "101");
    key(&h->window, Qt::Key_Return);
    key(&h->window, Qt::Key_Enter);
    QVERIFY(h->box("txtDenary")->text().isEmpty());
    key(&h->window, Qt::Key_Tab);
    QCOMPARE(h->focus(), h->button("cmdConvert"));
    // On the button, Return presses it as Space does.
    key(&h->window, Qt::Key_Return);
    QCOMPARE(h->box("txtDenary")->text(), QStringLiteral("5"));
    h->box("txtDenary")->clear();
    key(&h->window, Qt::Key_Space);
    QCOMPARE(h->box("txtDenary")->text(), QStringLiteral("5"));
    // The result box is the user's to edit; the next conversion replaces it.
    key(&h->window, Qt::Key_Tab);
    key(&h->window, Qt::Key_End);
    type(&h->window, "99");
    QCOMPARE(h->box("txtDenary")->text(), QStringLiteral("599"));
    click(h->button("cmdConvert"));
    QCOMPARE(h->box("txtDenary")->text(), QStringLiteral("5"));
}

void TestFrmDecInt::overflowIsReportedAndChangesNothing()
{
    type(&h->window, "11");
    click(h->button("cmdConvert"));
    click(h->box("txtBinary"));
    type(&h->window, QString(30, u'0'));  // the first "1" is now 32 places from the right
    click(h->button("cmdConvert"));
    const auto shown = h->watcher.messages();
    h->watcher.clear();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, QStringLiteral("Overflow: the number is too large for this conversion"));
    QCOMPARE(shown.first().title, QStringLiteral("Quorvex"));
    QVERIFY(shown.first().okOnly);
    QCOMPARE(h->box("txtDenary")->text(), QStringLiteral("3"));
    QCOMPARE(h->box("txtBinary")->text(), "11" + QString(30, u'0'));
    QVERIFY(h->window.isVisible());
}

QTEST_MAIN(TestFrmDecInt)
#include "tst_frmdecint.moc"
