// SPDX-License-Identifier: MIT
// The binary integers window through real widgets: conversions at each
// width, the three messages, Enter in the input box, results left in place.
#include "app/appearance.h"
#include "windows/frmbinint.h"
#include "guitest.h"
#include "windows/workingpane.h"

#include <QGroupBox>
#include <QRadioButton>

using namespace quorvex;

using namespace guitest;

namespace {
const QString wholeNumber = "You must enter a whole number";
const QString positive = "You must enter a positive whole number";
const QString moreBits = "You need more bits to do this number";
}  // namespace

class TestFrmBinInt : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { applyAppearance(); }
    void init() { h = std::make_unique<Harness<frmBinInt>>(); }
    void cleanup() { h.reset(); }
    void opensWithSixteenBits();
    void converts_data();
    void converts();
    void everyMessageIsTheProgramsBox();
    void resultsStayAfterMessageAndWidthChange();
    void enterElsewhereDoesNothing();
    void optionKeysChangeTheWidth();

private:
    // Chooses the width by clicking its option, types the text and converts
    // with a click on Convert or Enter in the input box.
    void convert(int option, const QString &text, bool withEnter)
    {
        click(h->button(qPrintable(QStringLiteral("optBits_%1").arg(option))));
        click(h->box("txtDenary"));
        retype(&h->window, text);
        if (withEnter)
            key(&h->window, Qt::Key_Return);
        else
            click(h->button("cmdConvert"));
    }
    std::unique_ptr<Harness<frmBinInt>> h;
};

void TestFrmBinInt::opensWithSixteenBits()
{
    QCOMPARE(h->window.windowTitle(), QStringLiteral("Binary Integers"));
    QCOMPARE(h->window.size(), QSize(367, 216 + WorkingPane::buttonRowHeight));
    QCOMPARE(h->window.findChild<QGroupBox *>("frBits")->title(), QStringLiteral("Number of bits to use"));
    const QStringList captions = {"24 bits (16777215)", "16 bits (65535)", "8 bits (255)"};
    for (int i = 0; i < 3; ++i) {
        auto *option = h->window.findChild<QRadioButton *>(QStringLiteral("optBits_%1").arg(i));
        QCOMPARE(option->text(), captions[i]);
        QCOMPARE(option->isChecked(), i == 1);
        QVERIFY2(option->sizeHint().width() <= option->width(), qPrintable(captions[i] + " is cut off"));
    }
    QCOMPARE(chosenBitCount(&h->window), qint16(16));
    QCOMPARE(h->focus(), h->box("txtDenary"));
}

void TestFrmBinInt::converts_data()
{
    QTest::addColumn<int>("option");  // 0: 24 bits, 1: 16 bits, 2: 8 bits
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("binary");
    QTest::addColumn<QString>("twos");
    const QString none;
    const QString ones16(16, u'1'), ones24(24, u'1');
    for (bool enter : {false, true}) {
        const char *how = enter ? "Enter" : "Convert";
        auto row = [&](const char *name) { return &QTest::newRow(qPrintable(QStringLiteral("%1 / %2").arg(name, how))); };
        *row("16: 5") << 1 << "5" << none << "0000000000000101" << "1111111111111011";
        *row("16: 0") << 1 << "0" << none << QString(16, u'0') << QString(16, u'0');
        *row("16: 65535") << 1 << "65535" << none << ones16 << "0000000000000001";
        *row("16: 65536") << 1 << "65536" << moreBits << none << none;
        *row("16: 5.0") << 1 << "5.0" << none << "0000000000000101" << "1111111111111011";
        *row("16: 2.5") << 1 << "2.5" << positive << none << none;
        *row("16: empty") << 1 << "" << wholeNumber << none << none;
        *row("16: abc") << 1 << "abc" << wholeNumber << none << none;
        *row("16: 12abc") << 1 << "12abc" << wholeNumber << none << none;
        *row("16: -3") << 1 << "-3" << positive << none << none;
        *row("16: -2.5") << 1 << "-2.5" << positive << none << none;
        *row("8: 255") << 2 << "255" << none << "11111111" << "00000001";
        *row("8: 128") << 2 << "128" << none << "10000000" << "10000000";
        *row("8: 0") << 2 << "0" << none << "00000000" << "00000000";
        *row("8: 256") << 2 << "256" << moreBits << none << none;
        *row("8: 300.5") << 2 << "300.5" << moreBits << none << none;
        *row("24: 16777215") << 0 << "16777215" << none << ones24 << QString(23, u'0') + "1";
        *row("24: 16777216") << 0 << "16777216" << moreBits << none << none;
        *row("24: 1e3") << 0 << "1e3" << none << "000000000000001111101000" << "111111111111110000011000";
    }
}

void TestFrmBinInt::converts()
{
    QFETCH(int, option);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, binary);
    QFETCH(QString, twos);
    const bool withEnter = QString(QTest::currentDataTag()).endsWith("Enter");
    convert(option, text, withEnter);
    const auto &shown = h->watcher.messages();
    if (message.isEmpty()) {
        QVERIFY(shown.isEmpty());
    } else {
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, message);
    }
    QCOMPARE(h->box("txtBinary")->text(), binary);
    QCOMPARE(h->box("txtTwos")->text(), twos);
    QCOMPARE(h->box("txtDenary")->text(), text);  // the key went on to the box
}

void TestFrmBinInt::everyMessageIsTheProgramsBox()
{
    for (const QString &text : {QStringLiteral("x"), QStringLiteral("-1"), QStringLiteral("1e9")})
        convert(1, text, false);
    const auto &shown = h->watcher.messages();
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[0].text, wholeNumber);
    QCOMPARE(shown[1].text, positive);
    QCOMPARE(shown[2].text, moreBits);
    for (const Message &m : shown) {
        QCOMPARE(m.title, QStringLiteral("Quorvex"));
        QCOMPARE(m.buttonCount, 1);
        QVERIFY(m.okOnly);
        QCOMPARE(m.icon, QMessageBox::NoIcon);
    }
}

void TestFrmBinInt::resultsStayAfterMessageAndWidthChange()
{
    convert(1, "1000", false);
    const QString binary = "0000001111101000", twos = "1111110000011000";
    QCOMPARE(h->box("txtBinary")->text(), binary);
    click(h->button("optBits_2"));  // 8 bits: nothing converts
    QCOMPARE(chosenBitCount(&h->window), qint16(8));
    QCOMPARE(h->box("txtBinary")->text(), binary);
    QCOMPARE(h->box("txtTwos")->text(), twos);
    click(h->button("cmdConvert"));
    QCOMPARE(h->watcher.messages().size(), 1);
    QCOMPARE(h->watcher.messages().first().text, moreBits);
    QCOMPARE(h->box("txtBinary")->text(), binary);
    QCOMPARE(h->box("txtTwos")->text(), twos);
    QVERIFY(h->window.findChild<QRadioButton *>("optBits_2")->isChecked());
}

void TestFrmBinInt::enterElsewhereDoesNothing()
{
    type(&h->window, "5");
    click(h->box("txtBinary"));
    key(&h->window, Qt::Key_Return);
    key(&h->window, Qt::Key_Enter);
    key(&h->window, Qt::Key_Escape);
    QVERIFY(h->window.isVisible());
    QVERIFY(h->box("txtBinary")->text().isEmpty());
    QVERIFY(h->watcher.messages().isEmpty());
    // Keypad Enter in the input box converts like Return.
    click(h->box("txtDenary"));
    key(&h->window, Qt::Key_Enter);
    QCOMPARE(h->box("txtBinary")->text(), QStringLiteral("0000000000000101"));
}

void TestFrmBinInt::optionKeysChangeTheWidth()
{
    click(h->button("optBits_1"));
    key(&h->window, Qt::Key_Right);
    QCOMPARE(chosenBitCount(&h->window), qint16(8));
    key(&h->window, Qt::Key_Left);
    key(&h->window, Qt::Key_Left);
    QCOMPARE(chosenBitCount(&h->window), qint16(24));
    QVERIFY(h->window.findChild<QRadioButton *>("optBits_0")->isChecked());
}

QTEST_MAIN(TestFrmBinInt)
#include "tst_frmbinint.moc"
