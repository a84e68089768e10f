// SPDX-License-Identifier: MIT
// The working pane through real widgets: the Show working button, the
// choice that holds for the run, the pane after conversions, refusals and
// errors, and the fixed-point window's note at a refused input.
#include "app/appearance.h"
#include "app/frmbinarymenu.h"
#include "conversions/fixed.h"
#include "windows/frmfixed.h"
#include "guitest.h"
#include "timelimit.h"
#include "windows/runtimeguard.h"
#include "windows/workingpane.h"

#include <QFontMetrics>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QToolTip>

using namespace quorvex;

using namespace guitest;

class TestWorkingPane : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { applyAppearance(); }
    void init();
    void cleanup();
    void buttonShowsAndHidesThePane_data();
    void buttonShowsAndHidesThePane();
    void choiceHoldsForTheRun();
    void paneFollowsEveryConversion();
    void runTimeErrorIsExplained();
    void clickOnButtonLeavesTheFixedPointRuleAlone();
    void refusedInputGetsANote();
    void everyRefusalReachesTheUser_data();
    void everyRefusalReachesTheUser();
    void longBitStringIsShownQuickly();
    void shownWindowResizes();
    void textSizeHoldsForTheRun();
    void workedExamplesFitWithoutScrolling_data();
    void workedExamplesFitWithoutScrolling();
    void paneGrowsToTheWorkingUntilSized();
    void fixedWidthTextAsksForThePackagedFont_data();
    void fixedWidthTextAsksForThePackagedFont();

private:
    QAbstractButton *menuButton(int index)
    {
        return menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    }
    static QToolButton *showButton(QWidget *w) { return w->findChild<QToolButton *>("chkShowWorking"); }
    static QTextBrowser *pane(QWidget *w) { return w->findChild<QTextBrowser *>("txtWorking"); }
    static QString paneText(QWidget *w) { return pane(w)->toPlainText(); }
    // The tallest the window can be on the screen, its frame left out.
    static int roomFor(QWidget *w)
    {
        return w->screen()->availableGeometry().height() - (w->frameGeometry().height() - w->height());
    }
    // Starts a test with the pane hidden, whatever the tests before chose.
    static void hidePane(QWidget *w)
    {
        if (showButton(w)->isChecked())
            click(showButton(w));
    }
    std::unique_ptr<frmBinaryMenu> menu;
    std::unique_ptr<MessageWatcher> messages;
};

void TestWorkingPane::init()
{
    menu = std::make_unique<frmBinaryMenu>();
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    messages = std::make_unique<MessageWatcher>();
}

void TestWorkingPane::cleanup()
{
    messages.reset();
    menu.reset();
}

void TestWorkingPane::buttonShowsAndHidesThePane_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QSize>("layoutSize");
    QTest::newRow("binary integers") << 0 << QSize(367, 216);
    QTest::newRow("fixed point") << 1 << QSize(537, 218);
    QTest::newRow("floating point") << 2 << QSize(413, 172);
    QTest::newRow("binary to decimal") << 3 << QSize(389, 87);
}

// Hidden, the window is its layout's size plus the button's row; shown, it
// grows downward by the pane. Mouse, Alt+W and Space all work the button.
void TestWorkingPane::buttonShowsAndHidesThePane()
{
    QFETCH(int, index);
    QFETCH(QSize, layoutSize);
    QVERIFY(openModal(menuButton(index), [&](QWidget *w) {
        hidePane(w);
        // Shortcuts reach the active window.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget *focus = focusIn(w);
        const QSize hidden(layoutSize.width(), layoutSize.height() + WorkingPane::buttonRowHeight);
        QCOMPARE(w->size(), hidden);
        QVERIFY(!pane(w)->isVisible());
        QCOMPARE(showButton(w)->arrowType(), Qt::RightArrow);
        // Nothing above the button moves.
        QVERIFY(showButton(w)->mapTo(w, QPoint(0, 0)).y() >= layoutSize.height());

        QVERIFY(showButton(w)->width() >= showButton(w)->sizeHint().width());  // caption not cut
        click(showButton(w));
        // Shown, it opens wider and taller: room for so many lines of the
        // pane's text, as far as the screen has room.
        const QSize shown = w->size();
        QCOMPARE(shown.width(), std::max(hidden.width(), WorkingPane::openPaneWidth));
        const int room = roomFor(w);
        const int lines = WorkingPane::openPaneLines * QFontMetrics(pane(w)->font()).lineSpacing();
        QVERIFY(shown.height() <= room);
        QVERIFY2(pane(w)->viewport()->height() >= lines || shown.height() == room,
                 qPrintable(QStringLiteral("%1 high for %2").arg(pane(w)->viewport()->height()).arg(lines)));
        QVERIFY(pane(w)->isVisible());
        QVERIFY(showButton(w)->width() >= showButton(w)->sizeHint().width());
        QCOMPARE(showButton(w)->arrowType(), Qt::DownArrow);
        QCOMPARE(focusIn(w), focus);  // a click takes no focus
        QVERIFY(paneText(w).contains("Convert a number to see its working here"));

        key(w, Qt::Key_W, Qt::AltModifier);  // a mnemonic clicks after a short delay
        QTRY_COMPARE(w->size(), hidden);
        QVERIFY(!pane(w)->isVisible());
        QCOMPARE(focusIn(w), focus);

        // Tab reaches the button last; Space works it. (The fixed-point
        // window lets the focus leave an input it accepts.)
        if (index == 1)
            type(w, "5");
        for (int i = 0; i < 12 && focusIn(w) != showButton(w); ++i)
            key(w, Qt::Key_Tab);
        QCOMPARE(focusIn(w), showButton(w));
        key(w, Qt::Key_Space);
        QCOMPARE(w->size(), shown);
        // Shown, the working is the next Tab stop, and Tab leaves it.
        key(w, Qt::Key_Tab);
        QCOMPARE(focusIn(w), static_cast<QWidget *>(pane(w)));
        key(w, Qt::Key_Tab);
        QVERIFY(focusIn(w) != pane(w));
        key(w, Qt::Key_Backtab, Qt::ShiftModifier);
        key(w, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focusIn(w), showButton(w));
        key(w, Qt::Key_Space);
        QCOMPARE(w->size(), hidden);
        // Return works the button as Space does.
        key(w, Qt::Key_Return);
        QCOMPARE(w->size(), shown);
        key(w, Qt::Key_Return);
        QCOMPARE(w->size(), hidden);
    }));
}

void TestWorkingPane::choiceHoldsForTheRun()
{
    QVERIFY(openModal(menuButton(0), [&](QWidget *w) {
        hidePane(w);
        click(showButton(w));
    }));
    QVERIFY(openModal(menuButton(3), [&](QWidget *w) {
        QVERIFY(showButton(w)->isChecked());
        QVERIFY(pane(w)->isVisible());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        key(w, Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY(!pane(w)->isVisible());
    }));
    QVERIFY(openModal(menuButton(0), [&](QWidget *w) {
        QVERIFY(!showButton(w)->isChecked());
        QVERIFY(!pane(w)->isVisible());
    }));
}

// The pane follows every conversion, Enter included, and after a refusal
// says which input the boxes still show.
void TestWorkingPane::paneFollowsEveryConversion()
{
    QVERIFY(openModal(menuButton(0), [&](QWidget *w) {
        hidePane(w);
        type(w, "200");
        key(w, Qt::Key_Return);
        // Updated while hidden, so that showing it shows the latest.
        QVERIFY(paneText(w).contains("200 = 128 + 64 + 8"));
        click(showButton(w));
        QVERIFY(paneText(w).contains("reads as \u2212200"));
        click(w->findChild<QAbstractButton *>("optBits_2"));  // 8 bits
        click(w->findChild<QLineEdit *>("txtDenary"));
        retype(w, "300");
        key(w, Qt::Key_Return);
        QCOMPARE(messages->messages().size(), 1);
        QCOMPARE(messages->messages().first().text, QStringLiteral("You need more bits to do this number"));
        messages->clear();
        QVERIFY(paneText(w).contains("300 needs 9 bits"));
        QVERIFY(paneText(w).contains("The boxes still show the result for \u201C200\u201D."));
        QCOMPARE(w->findChild<QLineEdit *>("txtBinary")->text(), QStringLiteral("0000000011001000"));
        hidePane(w);
    }));
}

void TestWorkingPane::runTimeErrorIsExplained()
{
    QVERIFY(openModal(menuButton(2), [&](QWidget *w) {
        type(w, "5.75");
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        click(w->findChild<QLineEdit *>("txtDenary"));
        retype(w, "1024");
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        QCOMPARE(messages->messages().size(), 1);
        QCOMPARE(messages->messages().first().text,
                 QStringLiteral("Subscript out of range: the number needs more bits than this conversion has"));
        messages->clear();
        QVERIFY(paneText(w).contains("The whole part 1024 needs 11 bits, but there are only 10"));
        QVERIFY(paneText(w).contains("The boxes still show the result for \u201C5.75\u201D."));
        QCOMPARE(w->findChild<QLineEdit *>("txtFixed")->text(), QStringLiteral("101.11"));
    }));
}

// In the fixed-point window a click on the button never counts as leaving
// the input box; Tab onto it does, like any other control.
void TestWorkingPane::clickOnButtonLeavesTheFixedPointRuleAlone()
{
    QVERIFY(openModal(menuButton(1), [&](QWidget *w) {
        hidePane(w);
        type(w, "abc");
        click(showButton(w));
        QVERIFY(pane(w)->isVisible());
        QCOMPARE(focusIn(w), w->findChild<QWidget *>("txtDenary"));
        QVERIFY(!paneText(w).contains("Type a number from 0 to 1023"));
        QVERIFY(!QToolTip::isVisible());
        key(w, Qt::Key_Backtab, Qt::ShiftModifier);  // onto the button: refused
        QCOMPARE(focusIn(w), w->findChild<QWidget *>("txtDenary"));
        QVERIFY(paneText(w).contains("Type a number from 0 to 1023"));
        QToolTip::hideText();
        hidePane(w);
    }));
}

// The rule refuses quietly no more: a note at the box, shown or not, and the
// pane, if shown, says what it wants. The focus stays.
void TestWorkingPane::refusedInputGetsANote()
{
    QVERIFY(openModal(menuButton(1), [&](QWidget *w) {
        hidePane(w);
        type(w, "5.75");
        key(w, Qt::Key_Tab);
        key(w, Qt::Key_Space);
        click(w->findChild<QLineEdit *>("txtDenary"));
        retype(w, "2000");
        key(w, Qt::Key_Tab);
        QCOMPARE(focusIn(w), w->findChild<QWidget *>("txtDenary"));
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), fixedRuleNote());
        QCOMPARE(fixedRuleNote(), QStringLiteral("Type a number from 0 to 1023 (1023 itself is the largest)."));
        QVERIFY(messages->messages().isEmpty());
        QToolTip::hideText();
        click(showButton(w));
        QVERIFY(paneText(w).contains("\u201C2000\u201D lies outside 0 to 1023"));
        QVERIFY(paneText(w).contains("The boxes still show the result for \u201C5.75\u201D."));
        hidePane(w);
    }));
}

void TestWorkingPane::everyRefusalReachesTheUser_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");  // empty: the input rule's note instead
    QTest::addColumn<QString>("output");   // a result box that keeps its text
    QTest::newRow("message") << 0 << "-5" << "You must enter a positive whole number" << "txtBinary";
    QTest::newRow("run-time error, binary to decimal")
        << 3 << "1" + QString(40, u'0') << runtimeErrorText(rt::ErrorKind::Overflow) << "txtDenary";
    QTest::newRow("run-time error, floating point")
        << 2 << "5000" << runtimeErrorText(rt::ErrorKind::SubscriptOutOfRange) << "txtMantissa";
    QTest::newRow("input rule") << 1 << "2000" << QString() << "txtWhole";
}

// A first conversion fills the boxes; the refused one leaves them as they
// were, and the user hears why: a message box, or the rule's note at the box.
void TestWorkingPane::everyRefusalReachesTheUser()
{
    QFETCH(int, index);
    QFETCH(QString, input);
    QFETCH(QString, message);
    QFETCH(QString, output);
    QVERIFY(openModal(menuButton(index), [&](QWidget *w) {
        type(w, "1");
        QTest::keyClick(focusIn(w), Qt::Key_Tab);
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        const QString before = w->findChild<QLineEdit *>(output)->text();
        QVERIFY(!before.isEmpty());
        click(w->findChild<QLineEdit *>(index == 3 ? "txtBinary" : "txtDenary"));
        retype(w, input);
        if (message.isEmpty()) {
            key(w, Qt::Key_Tab);
            QVERIFY(QToolTip::isVisible());
            QCOMPARE(QToolTip::text(), fixedRuleNote());
            QToolTip::hideText();
        } else {
            click(w->findChild<QAbstractButton *>("cmdConvert"));
            QCOMPARE(messages->messages().size(), 1);
            QCOMPARE(messages->messages().first().text, message);
        }
        QCOMPARE(w->findChild<QLineEdit *>(output)->text(), before);
    }));
}

void TestWorkingPane::longBitStringIsShownQuickly()
{
    QVERIFY(openModal(menuButton(3), [&](QWidget *w) {
        hidePane(w);
        click(showButton(w));
        paste(w, QString(999'999, u'0') + u'1');
        QUORVEX_VERIFY_WITHIN(timedConvertByKeyboard(w), 100);
        QCOMPARE(w->findChild<QLineEdit *>("txtDenary")->text(), QStringLiteral("1"));
        QVERIFY(paneText(w).contains("The text has 1000000 characters"));
        hidePane(w);
    }));
}

// Shown, the window resizes; the controls stay where they were and the pane
// takes the growth. Hidden, it is fixed again.
void TestWorkingPane::shownWindowResizes()
{
    QVERIFY(openModal(menuButton(0), [&](QWidget *w) {
        hidePane(w);
        click(showButton(w));
        auto *convert = w->findChild<QWidget *>("cmdConvert");
        const QPoint convertAt = convert->pos();
        const QSize paneBefore = pane(w)->size();
        QVERIFY(w->minimumSize() != w->maximumSize());
        w->resize(w->width() + 100, w->height() + 150);
        QCOMPARE(convert->pos(), convertAt);
        QCOMPARE(pane(w)->size(), paneBefore + QSize(100, 150));
        hidePane(w);
        QCOMPARE(w->minimumSize(), w->maximumSize());
    }));
}

void TestWorkingPane::textSizeHoldsForTheRun()
{
    qreal zoomed = 0;
    QVERIFY(openModal(menuButton(2), [&](QWidget *w) {
        hidePane(w);
        click(showButton(w));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        key(w, Qt::Key_0, Qt::ControlModifier);
        const qreal normal = pane(w)->font().pointSizeF();
        key(w, Qt::Key_Plus, Qt::ControlModifier);
        key(w, Qt::Key_Plus, Qt::ControlModifier);
        zoomed = pane(w)->font().pointSizeF();
        QCOMPARE(zoomed, normal + 2);
        key(w, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(pane(w)->font().pointSizeF(), normal + 1);
        key(w, Qt::Key_Plus, Qt::ControlModifier);
    }));
    QVERIFY(openModal(menuButton(3), [&](QWidget *w) {
        QCOMPARE(pane(w)->font().pointSizeF(), zoomed);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        key(w, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(WorkingPane::zoom(), 0);
        hidePane(w);
    }));
}

void TestWorkingPane::workedExamplesFitWithoutScrolling_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("bitsOption");  // binary integers: optBits_N, or -1
    QTest::newRow("200 in 16 bits") << 0 << "200" << 1;
    QTest::newRow("200 in 8 bits") << 0 << "200" << 2;
    QTest::newRow("300 in 8 bits") << 0 << "300" << 2;
    QTest::newRow("1101 to decimal") << 3 << "1101" << -1;
    QTest::newRow("1022.999 in fixed point") << 1 << "1022.999" << -1;
    QTest::newRow("0.1 in fixed point") << 1 << "0.1" << -1;
    QTest::newRow("-12.625") << 2 << "-12.625" << -1;
    QTest::newRow("0.1 in floating point") << 2 << "0.1" << -1;
    QTest::newRow("-1") << 2 << "-1" << -1;
}

// At the default text size, each worked example fits the pane as it opens.
void TestWorkingPane::workedExamplesFitWithoutScrolling()
{
    QFETCH(int, index);
    QFETCH(QString, input);
    QFETCH(int, bitsOption);
    QVERIFY(openModal(menuButton(index), [&](QWidget *w) {
        hidePane(w);
        click(showButton(w));
        QCOMPARE(WorkingPane::zoom(), 0);
        if (bitsOption >= 0)
            click(w->findChild<QAbstractButton *>(QStringLiteral("optBits_%1").arg(bitsOption)));
        click(w->findChild<QLineEdit *>(index == 3 ? "txtBinary" : "txtDenary"));
        retype(w, input);
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        messages->clear();
        QCoreApplication::processEvents();
        QVERIFY2(pane(w)->verticalScrollBar()->maximum() == 0,
                 qPrintable(QStringLiteral("the working is %1 high in a pane of %2")
                                .arg(pane(w)->document()->size().height())
                                .arg(pane(w)->viewport()->height())));
        QCOMPARE(pane(w)->horizontalScrollBar()->maximum(), 0);
        hidePane(w);
    }));
}

// A working taller than the pane makes the window grow, as far as the
// screen has room, and it keeps that size when the text shrinks again;
// once the user has sized the window it keeps their size, until the pane
// is shown again.
void TestWorkingPane::paneGrowsToTheWorkingUntilSized()
{
    QVERIFY(openModal(menuButton(3), [&](QWidget *w) {
        hidePane(w);
        click(showButton(w));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const QSize opened = w->size();
        QVERIFY(opened.height() < roomFor(w));  // the test needs room to grow
        // At the largest text size a sum of 31 terms is taller than any
        // screen the tests run on.
        const auto zoomAllTheWayIn = [&] {
            for (int i = 0; i < 20; ++i)
                key(w, Qt::Key_Plus, Qt::ControlModifier);
        };
        click(w->findChild<QLineEdit *>("txtBinary"));
        retype(w, QString(31, u'1'));
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        QCOMPARE(pane(w)->verticalScrollBar()->maximum(), 0);
        const QSize converted = w->size();
        zoomAllTheWayIn();
        QVERIFY(pane(w)->document()->size().height() > pane(w)->viewport()->height());
        QCOMPARE(w->height(), roomFor(w));
        key(w, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(w->height(), roomFor(w));

        // Sized by the user, it stays as it is.
        w->resize(converted.width() + 40, converted.height() - 100);
        const QSize sized = w->size();
        zoomAllTheWayIn();
        QCOMPARE(w->size(), sized);
        key(w, Qt::Key_0, Qt::ControlModifier);

        // Shown again, it opens as before, the working fitting, and grows again.
        hidePane(w);
        click(showButton(w));
        QCOMPARE(w->size(), converted);
        QCOMPARE(pane(w)->verticalScrollBar()->maximum(), 0);
        zoomAllTheWayIn();
        QCOMPARE(w->height(), roomFor(w));
        key(w, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(WorkingPane::zoom(), 0);
        hidePane(w);
    }));
}

void TestWorkingPane::fixedWidthTextAsksForThePackagedFont_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("box");  // the workbench's box; none: the bits in the working
    QTest::newRow("working, binary integers") << 0 << QString();
    QTest::newRow("working, floating point") << 2 << QString();
    QTest::newRow("workbench question") << 4 << "txtInput";
    QTest::newRow("workbench answer") << 4 << "txtAnswer";
}

// Bits are shown in the family the package installs, Liberation Mono, with
// fixed-width fallbacks; never the desktop's own choice first, whose
// heights the windows were not laid out for.
void TestWorkingPane::fixedWidthTextAsksForThePackagedFont()
{
    QFETCH(int, index);
    QFETCH(QString, box);
    QVERIFY(openModal(menuButton(index), [&](QWidget *w) {
        QStringList families;
        if (!box.isEmpty()) {
            const QFont font = w->findChild<QLineEdit *>(box)->font();
            QCOMPARE(font.styleHint(), QFont::TypeWriter);
            families = font.families();
        } else {
            type(w, "5");
            click(w->findChild<QAbstractButton *>("cmdConvert"));
            for (QTextBlock b = pane(w)->document()->begin(); b.isValid() && families.isEmpty(); b = b.next()) {
                for (auto it = b.begin(); !it.atEnd() && families.isEmpty(); ++it)
                    families = it.fragment().charFormat().fontFamilies().toStringList();
            }
            QCOMPARE(families.value(families.size() - 1), QStringLiteral("monospace"));
        }
        QVERIFY2(families.value(0) == QStringLiteral("Liberation Mono") && families.contains("DejaVu Sans Mono"),
                 qPrintable(families.join(u',')));
    }));
}

QTEST_MAIN(TestWorkingPane)
#include "tst_workingpane.moc"
