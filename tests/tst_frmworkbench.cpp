// SPDX-License-Identifier: MIT
// The workbench window through real widgets: the formats and their widths,
// Enter asking again, answers and refusals in the answer box, resizing,
// practice (checking the student's answer, new questions, worksheets), and
// opening it from the menu.
#include "app/appearance.h"
#include "app/frmbinarymenu.h"
#include "assistive.h"
#include "guitest.h"
#include "practice/levels.h"
#include "topics/registry.h"
#include "windows/accessibility.h"
#include "windows/frmworkbench.h"
#include "windows/workingpane.h"

#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>

using namespace guitest;
using namespace quorvex;

class TestWorkbench : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A run saves progress: never in the user's own folder.
        QStandardPaths::setTestModeEnabled(true);
        installAccessibility();
        applyAppearance();
    }
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
    void codesInTheWindow_data();
    void codesInTheWindow();
    void answersAndEnterAsksAgain();
    void calculatesByName_data();
    void calculatesByName();
    void convertsBetweenPresets();
    void refusalKeepsTheInput();
    void captionsAndTabOrder();
    void paneTakesTheGrowth();
    void checkMarksAndCounts();
    void verdictHeardWithAScreenReader();
    void answerHeardWithAScreenReader_data();
    void answerHeardWithAScreenReader();
    void newQuestionHeardWithWhatIsAsked();
    void worksheetKindsAndProblemHeard();
    void newQuestionIsAnswerable_data();
    void newQuestionIsAnswerable();
    void changingTheFormatClearsTheAnswer();
    void paneZooms();
    void worksheetDialog_data();
    void worksheetDialog();
    void menuOpensAFreshWorkbench();
    void floatingCalculations_data();
    void floatingCalculations();
    void mnemonicsInEveryFormat();
    void hintsStepByStep();
    void levelSetsTheQuestion_data();
    void levelSetsTheQuestion();

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
    // Types `mine` as the student's answer and presses Check, or Enter with
    // no button; returns the verdict.
    QString check(const QString &mine, const char *button = "cmdCheck")
    {
        click(get("txtMyAnswer"));
        retype(&w(), mine);
        button ? click(get(button)) : key(&w(), Qt::Key_Return);
        return get<QLabel>("lblVerdict")->text();
    }
    QString shown(const char *label) { return get<QLabel>(label)->text(); }
    std::unique_ptr<Harness<frmWorkbench>> h;
};

void TestWorkbench::formatsShowTheirWidths_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("widths");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QStringList>("calculations");
    const QStringList three{"cmdToBinary", "cmdToDenary", "cmdToHex", "cmdRange"};
    const QStringList integer{"Add", "Subtract", "Multiply", "Shift left", "Shift right", "Rotate left",
                              "Rotate right", "AND", "OR", "XOR", "NOT"};
    const QStringList code{"Add", "Subtract", "AND", "OR", "XOR", "NOT"};
    const QStringList fixed{"Add", "Subtract", "Error"};
    QTest::newRow("unsigned integer") << 0 << "Unsigned integer" << QStringList{"spnBits"} << three << integer;
    QTest::newRow("two's integer") << 1 << "Two's complement integer" << QStringList{"spnBits"} << three << integer;
    QTest::newRow("unsigned fixed") << 2 << "Unsigned fixed point" << QStringList{"spnWhole", "spnFraction"} << three
                                    << fixed;
    QTest::newRow("two's fixed") << 3 << "Two's complement fixed point" << QStringList{"spnWhole", "spnFraction"}
                                 << three << fixed;
    QTest::newRow("floating") << 4 << "Floating point (two's complement mantissa and exponent)"
                              << QStringList{"spnMantissa", "spnExponent"} << three + QStringList{"cmdNormalise"}
                              << QStringList{"Add", "Subtract", "Error", "Compare with\u2026"};
    QTest::newRow("sign and magnitude") << 5 << "Sign and magnitude integer" << QStringList{"spnBits"} << three
                                        << code;
    QTest::newRow("one's complement") << 6 << "One's complement integer" << QStringList{"spnBits"} << three << code;
    QTest::newRow("bcd") << 7 << "Binary-coded decimal (BCD)" << QStringList{"spnDigits"}
                         << QStringList{"cmdToBinary", "cmdToDenary", "cmdRange"} << QStringList();
    QTest::newRow("floating, sign and magnitude") << 8 << "Floating point (sign and magnitude mantissa)"
                                                  << QStringList{"spnMantissa", "spnExponent"}
                                                  << three + QStringList{"cmdNormalise"} << QStringList{"Error"};
    // Its first preset, half precision, has its widths: no spin box.
    QTest::newRow("ieee") << 9 << "IEEE 754 floating point" << QStringList{} << three
                          << QStringList{"Error", "Convert"};
}

void TestWorkbench::formatsShowTheirWidths()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QStringList, widths);
    QFETCH(QStringList, buttons);
    QFETCH(QStringList, calculations);
    QCOMPARE(get<QComboBox>("cboFormat")->count(), 10);
    type(&w(), "kept");
    choose(index);
    QCOMPARE(get<QComboBox>("cboFormat")->currentText(), caption);
    for (QSpinBox *spin : w().findChildren<QSpinBox *>())
        QCOMPARE(spin->isVisible(), widths.contains(spin->objectName()));
    // Only the format's own operations: its conversions by button, its
    // calculations by name; the first of those, when it is Add, takes a
    // second number.
    for (const char *button : {"cmdToBinary", "cmdToDenary", "cmdToHex", "cmdNormalise", "cmdRange"})
        QCOMPARE(get(button)->isVisible(), buttons.contains(QLatin1StringView(button)));
    QStringList items;
    for (int i = 0; i < get<QComboBox>("cboOperation")->count(); ++i)
        items << get<QComboBox>("cboOperation")->itemText(i);
    QCOMPARE(items, calculations);
    QCOMPARE(get("cboOperation")->isVisible(), !calculations.isEmpty());
    QCOMPARE(get("cmdCalculate")->isVisible(), !calculations.isEmpty());
    QCOMPARE(get("txtSecond")->isVisible(), calculations.value(0) == QLatin1StringView("Add"));
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
    QTest::newRow("digits") << "spnDigits" << 0 << 64 << 0;
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

void TestWorkbench::codesInTheWindow_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("spin");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("answer");
    QTest::newRow("sign and magnitude") << 5 << "spnBits" << "8" << "cmdToBinary" << "-37" << "10100101";
    QTest::newRow("negative zero") << 5 << "spnBits" << "8" << "cmdToDenary" << "10000000" << "0";
    QTest::newRow("one's complement") << 6 << "spnBits" << "8" << "cmdToBinary" << "-37" << "11011010";
    QTest::newRow("bcd as needed") << 7 << "spnDigits" << "0" << "cmdToBinary" << "2024" << "0010 0000 0010 0100";
    QTest::newRow("bcd of 6 digits") << 7 << "spnDigits" << "6" << "cmdToBinary" << "2024"
                                     << "0000 0000 0010 0000 0010 0100";
    QTest::newRow("bcd back") << 7 << "spnDigits" << "3" << "cmdToDenary" << "0101 1001 0011" << "593";
    // With the exponent's 4 bits the window starts with.
    QTest::newRow("sign and magnitude mantissa") << 8 << "spnMantissa" << "16" << "cmdToBinary" << "-124.28125"
                                                 << "1111110001001000 0111";
}

// The codes' widths reach the format from their spin boxes.
void TestWorkbench::codesInTheWindow()
{
    QFETCH(int, index);
    QFETCH(QString, spin);
    QFETCH(QString, width);
    QFETCH(QString, button);
    QFETCH(QString, input);
    choose(index);
    get(qPrintable(spin))->setFocus();
    retype(&w(), width);
    QTEST(ask(qPrintable(button), input), "answer");
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
    // To hex, and hex read where bits are asked; spelt out for a screen reader.
    QCOMPARE(ask("cmdToHex", "-8.25"), QStringLiteral("BE4"));
    QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(get("txtAnswer"));
    QCOMPARE(spoken->textInterface()->text(0, spoken->textInterface()->characterCount()), QStringLiteral("B E 4"));
    QCOMPARE(ask("cmdToDenary", "0xBE4"), QStringLiteral("-8.25"));
    // The widest floating-point answer fits the box at the window's first size.
    for (auto [spin, width] : {std::pair{"spnMantissa", "64"}, {"spnExponent", "12"}}) {
        get(spin)->setFocus();
        retype(&w(), width);
    }
    auto *answer = get<QLineEdit>("txtAnswer");
    QCOMPARE(ask("cmdToBinary", "-8.25").size(), 64 + 1 + 12);
    QVERIFY(answer->fontMetrics().horizontalAdvance(answer->text()) < answer->contentsRect().width());
}

// A calculation chosen by name in the operation box, with its second number
// (a third after a comma) and its places, by keyboard.
void TestWorkbench::calculatesByName_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("answer");
    QTest::newRow("two's overflow") << 1 << "Add" << "01011010" << "01000111" << 0 << "10100001, overflow";
    QTest::newRow("three rows") << 0 << "Add" << "00110011" << "01010101, 00001111" << 0 << "10010111, no overflow";
    QTest::newRow("shift") << 1 << "Shift right" << "10110101" << "" << 2 << "11101101";
    QTest::newRow("fixed") << 3 << "Subtract" << "0101.1000" << "0110.0100" << 0 << "1111.0100, no overflow";
    QTest::newRow("one's") << 6 << "Add" << "11111010" << "00000111" << 0 << "00000010, no overflow";
}

void TestWorkbench::calculatesByName()
{
    QFETCH(int, format);
    QFETCH(QString, operation);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, places);
    QFETCH(QString, answer);
    choose(format);
    auto *operations = get<QComboBox>("cboOperation");
    operations->setFocus();
    key(&w(), Qt::Key_Home);
    while (operations->currentText() != operation && operations->currentIndex() + 1 < operations->count())
        key(&w(), Qt::Key_Down);
    QCOMPARE(operations->currentText(), operation);
    QCOMPARE(get("txtSecond")->isVisible(), !second.isEmpty());
    QCOMPARE(get("spnPlaces")->isVisible(), places > 0);
    click(get("txtInput"));
    retype(&w(), first);
    if (!second.isEmpty()) {
        click(get("txtSecond"));
        retype(&w(), second);
    }
    if (places > 0) {
        get("spnPlaces")->setFocus();
        retype(&w(), QString::number(places));
    }
    click(get("cmdCalculate"));
    QCOMPARE(get<QLineEdit>("txtAnswer")->text(), answer);
    // Enter in the input asks again.
    click(get("txtInput"));
    get<QLineEdit>("txtAnswer")->clear();
    key(&w(), Qt::Key_Return);
    QCOMPARE(get<QLineEdit>("txtAnswer")->text(), answer);
    // The student's own answer to it is marked.
    QCOMPARE(check(answer), QStringLiteral("Right."));
    // A new question of the same calculation fills the boxes it takes.
    click(get("cmdNewQuestion"));
    QVERIFY(!get<QLineEdit>("txtInput")->text().isEmpty());
    QCOMPARE(get<QLineEdit>("txtSecond")->text().isEmpty(), second.isEmpty());
}

// IEEE 754: a pattern of one preset converted into another chosen beside it.
void TestWorkbench::convertsBetweenPresets()
{
    choose(9);
    get<QComboBox>("cboPreset")->setCurrentIndex(1);  // single
    auto *operations = get<QComboBox>("cboOperation");
    operations->setCurrentIndex(operations->findText(QStringLiteral("Convert")));
    QVERIFY(get("cboConvertTo")->isVisible());
    QCOMPARE(get<QComboBox>("cboConvertTo")->currentText(), QStringLiteral("Half (binary16)"));
    QVERIFY(!get("txtSecond")->isVisible());
    click(get("txtInput"));
    retype(&w(), "3DCCCCCD");
    click(get("cmdCalculate"));
    QCOMPARE(get<QLineEdit>("txtAnswer")->text(), QStringLiteral("0 01011 1001100110"));
    // Another choice clears the answer, which would mislead.
    get<QComboBox>("cboConvertTo")->setCurrentIndex(2);
    QVERIFY(get<QLineEdit>("txtAnswer")->text().isEmpty());
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
        if (caption == get("lblVerdict") || caption == get("lblTally") || caption == get("lblQuestion"))
            continue;
        QVERIFY(caption->buddy());
        QCOMPARE(caption->buddy()->accessibleName(), caption->text().remove('&').remove(':'));
    }
    choose(4);
    get("cboFormat")->setFocus();
    QStringList walked;
    for (int i = 0; i < 22; ++i) {
        key(&w(), Qt::Key_Tab);
        walked << h->focus()->objectName();
    }
    // The verdict is a stop only while there is one; floating point has a
    // choice of rounding and calculations with a second operand.
    QCOMPARE(walked, (QStringList{"cboLevel", "cmdWorksheet", "spnMantissa", "spnExponent", "cboRounding", "txtInput",
                                  "txtSecond", "cmdNewQuestion", "cmdStartRun", "cmdToBinary", "cmdToDenary",
                                  "cmdToHex", "cmdNormalise", "cmdRange", "cboOperation", "cmdCalculate",
                                  "txtMyAnswer", "cmdCheck", "cmdHint", "txtAnswer", "txtWorking", "cboFormat"}));
}

void TestWorkbench::paneTakesTheGrowth()
{
    QWidget *pane = get("txtWorking");
    const int before = pane->height(), answerHeight = get("txtAnswer")->height();
    w().resize(w().width() + 100, w().height() + 150);
    QTRY_COMPARE(pane->height(), before + 150);
    QCOMPARE(get("txtAnswer")->height(), answerHeight);
}

// Check marks the answer to the direction last asked, To binary at first;
// Enter in the answer box checks too. Every check counts.
void TestWorkbench::checkMarksAndCounts()
{
    choose(4);
    retype(&w(), "12.75");
    QCOMPARE(check("0110 0110 0100"), QStringLiteral("Right."));
    QCOMPARE(shown("lblTally"), QStringLiteral("1 of 1 right"));
    QCOMPARE(get<QLineEdit>("txtAnswer")->text(), QStringLiteral("01100110 0100"));
    ask("cmdToDenary", "0110 0110 0100");
    const QString verdict = check("28.5", nullptr);
    QVERIFY2(verdict.contains("hidden") && verdict.contains("leading 1"), qPrintable(verdict));
    QCOMPARE(shown("lblTally"), QStringLiteral("1 of 2 right"));
    QCOMPARE(h->focus(), get("txtMyAnswer"));
    QVERIFY(get<QTextBrowser>("txtWorking")->toPlainText().contains("Your answer parts from the method here"));
    QCOMPARE(get("lblVerdict")->focusPolicy(), Qt::StrongFocus);
}

void TestWorkbench::verdictHeardWithAScreenReader()
{
    AssistiveTechnology listening;
    retype(&w(), "5");
    check("0000 0101");
    QCOMPARE(h->focus(), get("lblVerdict"));
    // A label is heard by its name: the verdict and the score.
    QCOMPARE(QAccessible::queryAccessibleInterface(get("lblVerdict"))->text(QAccessible::Name),
             QStringLiteral("Right. 1 of 1 right."));
    QCOMPARE(QAccessible::queryAccessibleInterface(get("lblTally"))->text(QAccessible::Name),
             QStringLiteral("1 of 1 right"));
    check("0000 0110");
    QCOMPARE(QAccessible::queryAccessibleInterface(get("lblTally"))->text(QAccessible::Name),
             QStringLiteral("1 of 2 right"));
}

void TestWorkbench::answerHeardWithAScreenReader_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("button");  // none: Return in the input
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("heard");  // the answer box's text, as read
    QTest::newRow("to binary") << 4 << "cmdToBinary" << "-8.25" << "mantissa 1 0 1 1, 1 1 1 0, exponent 0 1 0 0";
    QTest::newRow("to denary, as shown") << 4 << "cmdToDenary" << "10111110 0100" << "-8.25";
    QTest::newRow("normalise") << 4 << "cmdNormalise" << "00101110 0101"
                               << "mantissa 0 1 0 1, 1 1 0 0, exponent 0 1 0 0";
    QTest::newRow("Return asks again") << 0 << "" << "12" << "0 0 0 0, 1 1 0 0";
    QTest::newRow("a refusal") << 0 << "" << "-8.25" << "";
}

// With a screen reader listening, the answer (or why there is none) takes
// the focus, selected, so that it is heard; bits are heard spelt out.
void TestWorkbench::answerHeardWithAScreenReader()
{
    QFETCH(int, index);
    QFETCH(QString, button);
    QFETCH(QString, input);
    QFETCH(QString, heard);
    AssistiveTechnology listening;
    choose(index);
    const QString shown = ask(button.isEmpty() ? nullptr : qPrintable(button), input);
    auto *answer = get<QLineEdit>("txtAnswer");
    QVERIFY(!shown.isEmpty());
    QCOMPARE(h->focus(), answer);
    QCOMPARE(answer->selectedText(), shown);
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(answer)->textInterface();
    QCOMPARE(text->text(0, text->characterCount()), heard.isEmpty() ? shown : heard);
}

// The new question is heard with what it asks, until the student edits it.
void TestWorkbench::newQuestionHeardWithWhatIsAsked()
{
    AssistiveTechnology listening;
    choose(4);
    click(get("cmdNewQuestion"));
    auto *input = get<QLineEdit>("txtInput");
    QCOMPARE(h->focus(), input);
    // The question in words is shown above the boxes, and heard.
    auto *question = get<QLabel>("lblQuestion");
    QVERIFY(question->isVisible());
    QVERIFY2(question->text().startsWith(QStringLiteral("Write ") + input->text() + QStringLiteral(" as a normalised "
                                                                                                  "floating-point number")),
             qPrintable(question->text()));
    QCOMPARE(input->accessibleDescription(), QStringLiteral("New question: ") + question->text());
    QCOMPARE(get<QLineEdit>("txtMyAnswer")->placeholderText(), QStringLiteral("Your answer, as bits"));
    ask("cmdToDenary", "0110 0110 0100");
    QVERIFY(!question->isVisible());  // the typed bits are no longer the question
    click(get("cmdNewQuestion"));
    QVERIFY(input->accessibleDescription().startsWith("New question: Give the denary value of " + input->text()));
    QCOMPARE(get<QLineEdit>("txtMyAnswer")->placeholderText(), QStringLiteral("Your answer, as a denary number"));
    retype(&w(), "1");
    QVERIFY(input->accessibleDescription().isEmpty());
    QVERIFY(!question->isVisible());
}

// The kinds of question are a group named by their caption; a problem is
// a stop only while there is one, and is heard when OK finds it.
void TestWorkbench::worksheetKindsAndProblemHeard()
{
    AssistiveTechnology listening;
    QVERIFY(openModal(get<QAbstractButton>("cmdWorksheet"), [&](QWidget *dialog) {
        QWidget *kinds = dialog->findChild<QWidget *>("grpKinds");
        QAccessibleInterface *group = QAccessible::queryAccessibleInterface(kinds);
        QCOMPARE(group->role(), QAccessible::Grouping);
        QCOMPARE(group->text(QAccessible::Name), QStringLiteral("Kinds"));
        QCOMPARE(dialog->findChild<QLabel *>("lblKinds")->buddy(), kinds);
        QCOMPARE(dialog->findChild<QLabel *>("lblLevel")->buddy()->accessibleName(), QStringLiteral("Level"));
        QCOMPARE(clashingMnemonic(dialog), QString());
        auto *problem = dialog->findChild<QLabel *>("lblProblem");
        QCOMPARE(problem->focusPolicy(), Qt::NoFocus);
        dialog->findChild<QLineEdit *>("txtFile")->clear();
        key(dialog, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QCOMPARE(focusIn(dialog), problem);
        QCOMPARE(QAccessible::queryAccessibleInterface(problem)->text(QAccessible::Name), problem->text());
        key(dialog, Qt::Key_Escape);
    }));
}

void TestWorkbench::newQuestionIsAnswerable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("answer");  // the form an answer takes
    const QString bits = "^[01 .]+$", number = "^-?[0-9]+(\\.[0-9]+)?$";
    QTest::newRow("unsigned to binary") << 0 << "cmdToBinary" << bits;
    QTest::newRow("two's integer to denary") << 1 << "cmdToDenary" << number;
    QTest::newRow("two's fixed to binary") << 3 << "cmdToBinary" << bits;
    QTest::newRow("unsigned fixed to denary") << 2 << "cmdToDenary" << number;
    QTest::newRow("floating to denary") << 4 << "cmdToDenary" << number;
    QTest::newRow("floating normalise") << 4 << "cmdNormalise" << bits;
    QTest::newRow("after the range, to binary") << 4 << "cmdRange" << bits;
}

// A new question clears the last one's answer; the direction's button then
// answers it without refusing.
void TestWorkbench::newQuestionIsAnswerable()
{
    QFETCH(int, index);
    QFETCH(QString, direction);
    QFETCH(QString, answer);
    choose(index);
    for (int i = 0; i < 5; ++i) {
        ask(qPrintable(direction), "1");
        check("1");
        click(get("cmdNewQuestion"));
        QVERIFY(!get<QLineEdit>("txtInput")->text().isEmpty());
        for (const char *cleared : {"txtMyAnswer", "txtAnswer"})
            QVERIFY(get<QLineEdit>(cleared)->text().isEmpty());
        QVERIFY(shown("lblVerdict").isEmpty());
        QCOMPARE(h->focus(), get("txtMyAnswer"));
        // Check marks the question set, the range's too (in bits).
        const QString question = get<QLineEdit>("txtInput")->text();
        const auto asked = direction == "cmdRange" ? workbench::Direction::ToBinary : w().lastAsked();
        const QString right = workbench::solve(w().format(), asked, question).text;
        QVERIFY2(check(right) == "Right.", qPrintable(question + ": " + right + ": " + shown("lblVerdict")));
        click(get(direction == "cmdRange" ? "cmdToBinary" : qPrintable(direction)));
        const QString said = get<QLineEdit>("txtAnswer")->text();
        QVERIFY2(said.contains(QRegularExpression(answer)), qPrintable(question + ": " + said));
    }
}

void TestWorkbench::changingTheFormatClearsTheAnswer()
{
    auto *pane = get<QTextBrowser>("txtWorking");
    const QString opening = pane->toPlainText();
    for (const char *change : {"cboFormat", "spnBits"}) {
        choose(0);
        ask("cmdToBinary", "12");
        check("1101");
        QVERIFY(!shown("lblVerdict").isEmpty() && pane->toPlainText() != opening);
        get(change)->setFocus();
        key(&w(), Qt::Key_Down);
        QVERIFY(get<QLineEdit>("txtAnswer")->text().isEmpty());
        QVERIFY(shown("lblVerdict").isEmpty());
        QCOMPARE(pane->toPlainText(), opening);
        QCOMPARE(get<QLineEdit>("txtInput")->text(), QStringLiteral("12"));
    }
}

void TestWorkbench::paneZooms()
{
    QWidget *pane = get("txtWorking");
    const qreal normal = pane->font().pointSizeF();
    key(&w(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(pane->font().pointSizeF(), normal + 1);
    key(&w(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(pane->font().pointSizeF(), normal);
}

void TestWorkbench::worksheetDialog_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Qt::Key>("pressed");
    QTest::addColumn<QString>("level");  // chosen by the keyboard; none for the format's own
    QTest::newRow("floating, written") << 4 << Qt::Key_Return << "";
    QTest::newRow("integers, written") << 1 << Qt::Key_Return << "";
    QTest::newRow("escape writes nothing") << 4 << Qt::Key_Escape << "";
    QTest::newRow("a level's mixed sheet") << 1 << Qt::Key_Return << "A level";
}

// The dialog writes the sheet in the window's format, or a level's mixed
// sheet, where it is told, and says where; Normalise is offered for
// floating point only, and a level's kinds are its own.
void TestWorkbench::worksheetDialog()
{
    QFETCH(int, index);
    QFETCH(Qt::Key, pressed);
    QFETCH(QString, level);
    QTemporaryDir folder;
    const QString file = folder.filePath("sheet.pdf");
    choose(index);
    QVERIFY(openModal(get<QAbstractButton>("cmdWorksheet"), [&](QWidget *dialog) {
        QCOMPARE(dialog->findChild<QWidget *>("chkNormalise")->isEnabled(), index == 4);
        QVERIFY(dialog->findChild<QWidget *>("chkToHex")->isEnabled());
        // Hex questions too, from the dialog as from the command line.
        click(dialog->findChild<QWidget *>("chkToHex"));
        dialog->findChild<QLineEdit *>("txtFile")->setFocus();
        dialog->findChild<QLineEdit *>("txtFile")->setText(file);
        key(dialog, Qt::Key_Tab);
        key(dialog, Qt::Key_Tab);
        auto *levels = qobject_cast<QComboBox *>(focusIn(dialog));
        QVERIFY(levels && levels->objectName() == QStringLiteral("cboLevel"));
        for (const Qt::Key k : {Qt::Key_End, Qt::Key_Home}) {  // a level, then the format's own again
            key(dialog, k);
            QVERIFY(dialog->findChild<QDialogButtonBox *>("buttons")->button(QDialogButtonBox::Ok)->isEnabled());
        }
        for (int i = 0; i < 4 && !level.isEmpty() && levels->currentText() != level; ++i)
            key(dialog, Qt::Key_Down);
        QCOMPARE(dialog->findChild<QWidget *>("grpKinds")->isEnabled(), level.isEmpty());
        QCOMPARE(dialog->findChild<QLabel *>("lblFormat")->text().startsWith("Mixed questions: " + level),
                 !level.isEmpty());
        key(dialog, Qt::Key_Tab);
        QCOMPARE(focusIn(dialog)->objectName(), QStringLiteral("spnQuestions"));
        retype(dialog, "3");
        key(dialog, pressed);
        QVERIFY(!dialog->isVisible());
    }));
    QFile pdf(file);
    QCOMPARE(pdf.open(QIODevice::ReadOnly), pressed == Qt::Key_Return);
    if (pressed == Qt::Key_Return) {
        QVERIFY(pdf.read(4) == "%PDF");
        QCOMPARE(h->watcher.messages().size(), 1);
        QVERIFY(h->watcher.messages()[0].text.contains(file));
        h->watcher.clear();
    }
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

// Floating point's calculations chosen by name: the second operand, or for
// a comparison the second format's widths, shown only for the one that
// takes them, and the answer in the answer box.
void TestWorkbench::floatingCalculations_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("answer");
    QTest::newRow("add") << "Add" << "01111111 0011" << "01000000 0000" << "01000011 0100";
    QTest::newRow("subtract") << "Subtract" << "01000000 0001" << "01111111 0000" << "01000000 1010";
    QTest::newRow("error") << "Error" << "5.3" << ""
                           << "01010100 0011 = 5.25; absolute error 0.05; relative error 1/106 \u2248 0.009434 (0.94 %)";
    // The second format starts at 6/6, as wide as 8/4.
    QTest::newRow("compare") << "Compare with\u2026" << "0.1" << ""
                             << "float:8:4: largest 127, smallest positive 0.001953125, most negative -128, step near 1 "
                                "0.015625; float:6:6: largest 2080374784, smallest positive 0.000000000116415321826934"
                                "814453125, most negative -2147483648, step near 1 0.0625; float:6:6 has the larger "
                                "range, float:8:4 the greater precision; 0.1: float:8:4 holds it more exactly "
                                "(0.099609375 against 0.09765625)";
}

void TestWorkbench::floatingCalculations()
{
    QFETCH(QString, title);
    QFETCH(QString, input);
    QFETCH(QString, second);
    QFETCH(QString, answer);
    choose(4);
    QComboBox *operation = get<QComboBox>("cboOperation");
    const int at = operation->findText(title);
    QVERIFY(at >= 0);
    operation->setCurrentIndex(at);
    const bool compare = title.startsWith(u"Compare");
    QCOMPARE(get("txtSecond")->isVisible(), !second.isEmpty());
    for (const char *name : {"lblCompareMantissa", "spnCompareMantissa", "lblCompareExponent", "spnCompareExponent"})
        QCOMPARE(get(name)->isVisible(), compare);
    if (!second.isEmpty()) {
        click(get("txtSecond"));
        retype(&w(), second);
    }
    QCOMPARE(ask("cmdCalculate", input), answer);
}


// Each Alt key reaches one control among those shown, in every format and
// with every operation chosen by name.
void TestWorkbench::mnemonicsInEveryFormat()
{
    auto *formats = get<QComboBox>("cboFormat");
    auto *operations = get<QComboBox>("cboOperation");
    for (int f = 0; f < formats->count(); ++f) {
        formats->setCurrentIndex(f);
        for (int o = 0; o < qMax(1, operations->count()); ++o) {
            operations->setCurrentIndex(o);
            QVERIFY2(clashingMnemonic(&w()).isEmpty(),
                     qPrintable(formats->currentText() + " " + operations->currentText() + ": "
                                + clashingMnemonic(&w())));
        }
    }
}

// Hint shows one more step of the working each press, heard whole, up to the
// step before the answer; a right answer after a hint is counted apart, and
// a new question starts the hints again.
void TestWorkbench::hintsStepByStep()
{
    choose(0);
    ask("cmdToBinary", "1");
    click(get("txtInput"));
    retype(&w(), "242");
    const QStringList steps = practice::hints(w().format(), workbench::Direction::ToBinary, {{"242"}, 0, {}, {}});
    QVERIFY(steps.size() >= 2);
    auto *working = get<QTextBrowser>("txtWorking");
    for (int i = 1; i <= steps.size(); ++i) {
        click(get("cmdHint"));
        const QString which = QStringLiteral("Hint %1 of %2").arg(i).arg(steps.size());
        QCOMPARE(shown("lblVerdict"), which + " is in the working below.");
        QVERIFY(get("lblVerdict")->accessibleName().startsWith(which + ": "));
        QCOMPARE(working->toPlainText().count(QRegularExpression("Hint [0-9]+ of")), i);
    }
    click(get("cmdHint"));
    QCOMPARE(shown("lblVerdict"), QStringLiteral("That was the last hint: the next step is the answer."));
    QCOMPARE(check("11110010"), QStringLiteral("Right."));
    QCOMPARE(shown("lblTally"), QStringLiteral("1 of 1 right (1 of them with a hint)"));
    // Typing a new question forgets the hints taken.
    click(get("txtInput"));
    retype(&w(), "17");
    click(get("cmdHint"));
    QVERIFY(shown("lblVerdict").startsWith("Hint 1 of "));
    click(get("txtInput"));
    retype(&w(), "18");
    QCOMPARE(check("00010010"), QStringLiteral("Right."));
    QCOMPARE(shown("lblTally"), QStringLiteral("2 of 2 right (1 of them with a hint)"));
    // With a screen reader the first hint takes the focus to the verdict,
    // and the next, where the focus has stayed, is told as a notice.
    AssistiveTechnology listening;
    click(get("txtInput"));
    retype(&w(), "19");
    click(get("cmdHint"));
    QCOMPARE(h->focus(), get("lblVerdict"));
    QWidget *notice = nullptr;
    for (QWidget *child : w().findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->property("notice").toBool())
            notice = child;
    }
    QVERIFY(notice && !notice->isVisible());
    key(&w(), Qt::Key_H, Qt::AltModifier);  // the focus stays where it is
    QTRY_VERIFY(notice->isVisible());
    QCOMPARE(h->focus(), get("lblVerdict"));
    QVERIFY2(notice->accessibleName().startsWith("Hint 2 of "), qPrintable(notice->accessibleName()));
}

void TestWorkbench::levelSetsTheQuestion_data()
{
    QTest::addColumn<int>("level");  // the level box's item
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("then");  // the formats a level's question can come in
    QTest::newRow("GCSE, unsigned") << 1 << "Unsigned integer" << "int:8";
    QTest::newRow("GCSE has no IEEE 754: its own mix") << 1 << "IEEE 754" << "int:8";
    QTest::newRow("A level, floating point") << 2 << "Floating point" << "float:8:4 float:10:6";
    QTest::newRow("university, two's complement") << 3 << "Two's complement integer" << "int-signed:16";
}

// With a level chosen, New question sets one the level sets in the chosen
// topic, in the level's widths, said in words, and its right answer is
// marked right.
void TestWorkbench::levelSetsTheQuestion()
{
    QFETCH(int, level);
    QFETCH(QString, format);
    QFETCH(QString, then);
    auto *formats = get<QComboBox>("cboFormat");
    formats->setCurrentIndex(formats->findText(format, Qt::MatchStartsWith));
    get<QComboBox>("cboLevel")->setCurrentIndex(level);
    for (int i = 0; i < 8; ++i) {
        click(get("cmdNewQuestion"));
        const Format f = w().format();
        QVERIFY2(then.split(' ').contains(workbench::formatName(f)), qPrintable(workbench::formatName(f)));
        QVERIFY(!shown("lblQuestion").isEmpty());
        const workbench::Operation asked = w().lastAsked();
        const QString right = workbench::isCalculation(asked)
            ? workbench::solve(f, asked, w().calculation(asked)).text
            : workbench::solve(f, asked, get<QLineEdit>("txtInput")->text()).text;
        QVERIFY2(check(right) == "Right.", qPrintable(shown("lblQuestion") + " " + right + ": " + shown("lblVerdict")));
    }
}

QTEST_MAIN(TestWorkbench)

#include "tst_frmworkbench.moc"
