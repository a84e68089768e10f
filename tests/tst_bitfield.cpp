// SPDX-License-Identifier: MIT
// The workbench's bit field through real widgets: the answer's pattern in
// cells, a bit flipped by a click or by Space and read back at once, the
// arrows and Tab moving through the row, what each cell tells a screen
// reader, and a 64-bit pattern in the window's room.
#include "app/appearance.h"
#include "assistive.h"
#include "guitest.h"
#include "topics/registry.h"
#include "topics/workbench.h"
#include "windows/accessibility.h"
#include "windows/bitfield.h"
#include "windows/frmworkbench.h"

#include <QAccessible>
#include <QComboBox>
#include <QSpinBox>
#include <QTextBrowser>

using namespace guitest;
using namespace quorvex;

class TestBitField : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        installAccessibility();
        applyAppearance();
    }
    void init() { h = std::make_unique<Harness<frmWorkbench>>(); }
    void cleanup()
    {
        QVERIFY2(h->watcher.messages().isEmpty(), "a message box appeared");
        h.reset();
    }
    void showsTheAnswersPattern_data();
    void showsTheAnswersPattern();
    void flipReadsThePatternBack_data();
    void flipReadsThePatternBack();
    void keysMoveAlongTheRow_data();
    void keysMoveAlongTheRow();
    void cellsSayWhatTheyAre_data();
    void cellsSayWhatTheyAre();
    void longPatternFits_data();
    void longPatternFits();

private:
    frmWorkbench &w() { return h->window; }
    template <class T = QWidget>
    T *get(const char *name) { return w().findChild<T *>(name); }
    BitField *field() { return get<BitField>("bitField"); }
    // Chooses the format by its name, as its controls would.
    void setFormat(const QString &name)
    {
        QString why;
        const std::optional<Format> f = workbench::parseFormat(name, &why);
        QVERIFY2(f, qPrintable(why));
        const auto &all = workbench::topics();
        const auto at = std::find(all.begin(), all.end(), workbench::topicOf(*f));
        get<QComboBox>("cboFormat")->setCurrentIndex(int(at - all.begin()));
        get<QSpinBox>("spnBits")->setValue(f->bits);
        get<QSpinBox>("spnWhole")->setValue(f->whole);
        get<QSpinBox>("spnFraction")->setValue(f->fraction);
        get<QSpinBox>("spnMantissa")->setValue(f->mantissa);
        get<QSpinBox>("spnExponent")->setValue(f->exponent);
        get<QSpinBox>("spnDigits")->setValue(f->digits);
    }
    void ask(const QString &format, const char *button, const QString &input)
    {
        setFormat(format);
        click(get("txtInput"));
        retype(&w(), input);
        click(get(button));
    }
    QString working() { return get<QTextBrowser>("txtWorking")->toPlainText(); }
    std::unique_ptr<Harness<frmWorkbench>> h;
};

// The field shows the pattern the window has, and hides when it has none.
void TestBitField::showsTheAnswersPattern_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("pattern");  // empty: hidden
    QTest::newRow("to binary") << "float:8:4" << "cmdToBinary" << "-8.25" << "101111100100";
    QTest::newRow("bits typed") << "fixed-signed:4.4" << "cmdToDenary" << "1000.0001" << "10000001";
    QTest::newRow("to hex") << "int:8" << "cmdToHex" << "200" << "11001000";
    QTest::newRow("refused") << "int:8" << "cmdToBinary" << "300" << "";
    QTest::newRow("range") << "int:8" << "cmdRange" << "" << "";
}

void TestBitField::showsTheAnswersPattern()
{
    QFETCH(QString, format);
    QFETCH(QString, button);
    QFETCH(QString, input);
    QFETCH(QString, pattern);
    ask(format, qPrintable(button), input);
    QCOMPARE(field()->isVisible(), !pattern.isEmpty());
    QCOMPARE(field()->pattern(), pattern);
    QString checked;
    for (int i = 0; i < field()->count(); ++i)
        checked += field()->cell(i)->isChecked() ? u'1' : u'0';
    QCOMPARE(checked, pattern);
    // A new format has no answer yet, nor pattern.
    setFormat(QStringLiteral("int:5"));
    QVERIFY(!field()->isVisible());
}

// A flipped bit is the question now: the value, the answer and the working
// are those of typing it and pressing To denary; the focus stays put.
void TestBitField::flipReadsThePatternBack_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("cell");
    QTest::addColumn<bool>("bySpace");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::newRow("mantissa's sign, clicked") << "float:8:4" << "-8.25" << 0 << false << "00111110 0100" << "7.75";
    QTest::newRow("exponent, by Space") << "float:8:4" << "-8.25" << 11 << true << "10111110 0101" << "-16.5";
    QTest::newRow("two's leftmost, by Space") << "int-signed:8" << "5" << 0 << true << "10000101" << "-123";
    QTest::newRow("last fraction place") << "fixed:4.4" << "12.75" << 7 << false << "1100.1101" << "12.8125";
    QTest::newRow("sign of a magnitude") << "int-signmag:4" << "3" << 0 << true << "1011" << "-3";
    QTest::newRow("a BCD nibble above 9") << "bcd" << "24" << 4 << false << "0010 1100" << "";
}

void TestBitField::flipReadsThePatternBack()
{
    QFETCH(QString, format);
    QFETCH(QString, input);
    QFETCH(int, cell);
    QFETCH(bool, bySpace);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    // With a screen reader listening, an answer takes the focus; a flip's
    // must not.
    const AssistiveTechnology listening;
    ask(format, "cmdToBinary", input);
    QAbstractButton *bit = field()->cell(cell);
    QVERIFY(bit);
    if (bySpace) {
        bit->setFocus();
        key(&w(), Qt::Key_Space);
    } else {
        click(bit);
    }
    QCOMPARE(get<QLineEdit>("txtInput")->text(), question);
    QCOMPARE(h->focus(), bit);
    QCOMPARE(field()->current(), cell);
    const QString shown = get<QLineEdit>("txtAnswer")->text(), flippedWorking = working();
    if (!answer.isEmpty())
        QCOMPARE(shown, answer);
    // A screen reader is told the answer as a notification, since the focus
    // stays on the cell.
    QWidget *notice = nullptr;
    for (QWidget *child : field()->findChildren<QWidget *>()) {
        if (child->property("notice").toBool())
            notice = child;
    }
    QVERIFY(notice && notice->isVisible());
    QAccessibleInterface *said = QAccessible::queryAccessibleInterface(notice);
    QCOMPARE(said->role(), QAccessible::Notification);
    QCOMPARE(said->text(QAccessible::Name), shown);
    // Typed and asked, the same pattern gives the same answer and working.
    click(get("txtInput"));
    retype(&w(), question);
    click(get("cmdToDenary"));
    QCOMPARE(get<QLineEdit>("txtAnswer")->text(), shown);
    QCOMPARE(working(), flippedWorking);
    QVERIFY(field()->isVisible());
    QVERIFY(!notice->isVisible());  // said once, not again with the next pattern
}

// Keys from the answer box: Tab enters the row at its current cell, the
// arrows and Home and End move within it, Tab leaves it and Shift+Tab comes
// back to the cell last visited. -1: outside the row.
void TestBitField::keysMoveAlongTheRow_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("cell");
    const int tab = Qt::Key_Tab, right = Qt::Key_Right, left = Qt::Key_Left;
    QTest::newRow("tab enters at the first") << QList<int>{tab} << 0;
    QTest::newRow("right twice") << QList<int>{tab, right, right} << 2;
    QTest::newRow("left stops at the first") << QList<int>{tab, left, left} << 0;
    QTest::newRow("end, right stays") << QList<int>{tab, Qt::Key_End, right} << 11;
    QTest::newRow("home") << QList<int>{tab, Qt::Key_End, left, Qt::Key_Home} << 0;
    QTest::newRow("tab leaves") << QList<int>{tab, right, tab} << -1;
    QTest::newRow("back to the cell last visited") << QList<int>{tab, right, right, tab, -tab} << 2;
}

void TestBitField::keysMoveAlongTheRow()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, cell);
    ask(QStringLiteral("float:8:4"), "cmdToBinary", QStringLiteral("-8.25"));
    get("txtAnswer")->setFocus();
    for (int k : keys)
        key(&w(), Qt::Key(std::abs(k)), k < 0 ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(h->focus(), cell < 0 ? get("txtWorking") : field()->cell(cell));
    QCOMPARE(field()->pattern(), QStringLiteral("101111100100"));  // moving flips nothing
}

// What a screen reader is told of a cell, from its accessible interface.
void TestBitField::cellsSayWhatTheyAre_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("name");
    QTest::newRow("mantissa's sign place") << "float:8:4" << "-8.25" << 0 << "bit 7 of the mantissa, 1, worth −1";
    QTest::newRow("mantissa's half") << "float:8:4" << "-8.25" << 1 << "bit 6 of the mantissa, 0, worth 0.5";
    QTest::newRow("exponent's leftmost") << "float:8:4" << "-8.25" << 8 << "bit 3 of the exponent, 0, worth −8";
    QTest::newRow("exponent's 4") << "float:8:4" << "-8.25" << 9 << "bit 2 of the exponent, 1, worth 4";
    QTest::newRow("sign bit") << "int-signmag:8" << "-5" << 0 << "the sign bit, 1, negative";
    QTest::newRow("magnitude") << "int-signmag:8" << "-5" << 5 << "bit 2 of the magnitude, 1, worth 4";
    QTest::newRow("fraction part") << "fixed:4.4" << "12.75" << 4 << "bit 3 of the fraction part, 1, worth 0.5";
    QTest::newRow("a digit's 8") << "bcd" << "90" << 0 << "bit 3 of digit 1, 1, worth 8";
}

void TestBitField::cellsSayWhatTheyAre()
{
    QFETCH(QString, format);
    QFETCH(QString, input);
    QFETCH(int, cell);
    QFETCH(QString, name);
    ask(format, "cmdToBinary", input);
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(field()->cell(cell));
    QVERIFY(a);
    QCOMPARE(a->text(QAccessible::Name), name);
    QVERIFY(a->state().checkable);
    QCOMPARE(bool(a->state().checked), name.contains(QStringLiteral(", 1, ")));
}

// Long patterns wrap within the window at its opening size: every cell is
// shown whole, none over another, and the working keeps its room.
void TestBitField::longPatternFits_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("input");
    QTest::newRow("one group of 64") << "int:64" << "18446744073709551615";
    QTest::newRow("two groups of 32") << "fixed:32.32" << "12.75";
    QTest::newRow("64 and 12") << "float:64:12" << "-8.25";
}

void TestBitField::longPatternFits()
{
    QFETCH(QString, format);
    QFETCH(QString, input);
    w().resize(780, 600);
    ask(format, "cmdToBinary", input);
    QVERIFY(field()->count() >= 64);
    QTRY_VERIFY(field()->height() >= field()->heightForWidth(field()->width()));
    QVERIFY2(w().minimumSizeHint().width() <= 780 && w().minimumSizeHint().height() <= 600,
             qPrintable(QStringLiteral("%1 x %2").arg(w().minimumSizeHint().width()).arg(w().minimumSizeHint().height())));
    QRect previous;
    for (int i = 0; i < field()->count(); ++i) {
        const QRect r(field()->cell(i)->mapTo(&w(), QPoint()), field()->cell(i)->size());
        QVERIFY2(w().rect().contains(r) && field()->geometry().contains(field()->cell(i)->geometry().translated(field()->pos())),
                 qPrintable(QString::number(i)));
        QVERIFY(!r.intersects(previous));
        previous = r;
    }
    QVERIFY(get("txtWorking")->height() >= 100);
}

QTEST_MAIN(TestBitField)
#include "tst_bitfield.moc"
