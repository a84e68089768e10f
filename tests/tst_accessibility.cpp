// SPDX-License-Identifier: MIT
// Screen readers and the keyboard: the accessible name and role of every
// control of every window, and a walk through each window with the keyboard
// alone, from the menu to a result and back.
#include "windows/accessibility.h"
#include "app/appearance.h"
#include "app/frmbinarymenu.h"
#include "assistive.h"
#include "conversions/spoken.h"
#include "guitest.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QTextBrowser>

#include <condition_variable>
#include <optional>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

using namespace quorvex;

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

// Ends the test program when a call under watch does not return in time, so
// that a hang fails the test instead of blocking CI until its time-out.
class Watchdog {
public:
    explicit Watchdog(const char *what) : m_thread([this, what] { watch(what); }) {}
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

private:
    void watch(const char *what)
    {
        std::unique_lock lock(m_mutex);
        if (!m_wake.wait_for(lock, std::chrono::seconds(10), [this] { return m_done; })) {
            std::fprintf(stderr, "FAIL: %s did not return within 10 s\n", what);
            std::_Exit(1);
        }
    }
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};

// What reaches the platform's screen reader bridge: the program's handler
// passes on to the one installed before it, this one.
struct Heard {
    QAccessible::Event type;
    QPointer<QObject> object;
    int caret = -1;  // of a caret event
    QString text;    // of a text insertion
};
QList<Heard> heardEvents;
void hear(QAccessibleEvent *event)
{
    Heard h{event->type(), event->object(), -1, {}};
    if (event->type() == QAccessible::TextCaretMoved)
        h.caret = static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition();
    if (event->type() == QAccessible::TextInserted)
        h.text = static_cast<QAccessibleTextInsertEvent *>(event)->textInserted();
    heardEvents << h;
}
// The text, caret and selection events told of `object`.
QList<Heard> textEventsOf(const QObject *object)
{
    QList<Heard> told;
    for (const Heard &h : std::as_const(heardEvents)) {
        if (h.object == object && h.type != QAccessible::Focus && h.type != QAccessible::NameChanged
            && h.type != QAccessible::DescriptionChanged && h.type != QAccessible::StateChanged)
            told << h;
    }
    return told;
}
qsizetype focusEventOf(const QObject *object)
{
    for (qsizetype k = 0; k < heardEvents.size(); ++k) {
        if (heardEvents[k].type == QAccessible::Focus && heardEvents[k].object == object)
            return k;
    }
    return -1;
}
QString heardText(QWidget *w)
{
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(w)->textInterface();
    return text->text(0, text->characterCount());
}

const QList<QAccessible::TextBoundaryType> boundaries = {
    QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
    QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary};

// Every boundary at offsets 0, length - 1 and length, at, before and after:
// each call returns, and what it returns is the text between its offsets.
void checkEveryBoundary(QAccessibleTextInterface *text, const QString &content)
{
    const int length = int(content.size());
    for (QAccessible::TextBoundaryType boundary : boundaries) {
        for (int offset : {0, length - 1, length}) {
            if (offset < 0)
                continue;
            const QString where = QStringLiteral("boundary %1 at offset %2 of \"%3\"")
                                      .arg(int(boundary)).arg(offset).arg(content);
            int start = -2, end = -2;
            QString at;
            {
                Watchdog watchdog("textAtOffset");
                at = text->textAtOffset(offset, boundary, &start, &end);
            }
            QVERIFY2(start >= 0 && start <= offset && end >= start && end <= length, qPrintable(where));
            QVERIFY2(offset == length || end > offset, qPrintable(where));
            QCOMPARE(at, content.mid(start, end - start));
            QString before, after;
            int bStart = -2, bEnd = -2, aStart = -2, aEnd = -2;
            {
                Watchdog watchdog("textBeforeOffset and textAfterOffset");
                before = text->textBeforeOffset(offset, boundary, &bStart, &bEnd);
                after = text->textAfterOffset(offset, boundary, &aStart, &aEnd);
            }
            if (bStart >= 0) {
                QVERIFY2(bEnd <= start || (start == end && bEnd <= end), qPrintable(where));
                QCOMPARE(before, content.mid(bStart, bEnd - bStart));
            } else {
                QVERIFY2(before.isEmpty(), qPrintable(where));
            }
            if (aStart >= 0) {
                QVERIFY2(aStart >= end, qPrintable(where));
                QCOMPARE(after, content.mid(aStart, aEnd - aStart));
            } else {
                QVERIFY2(after.isEmpty(), qPrintable(where));
            }
        }
    }
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QAccessible::installUpdateHandler(hear);
        installAccessibility();
        applyAppearance();
    }
    void init();
    void cleanup();
    void menuNames();
    void windowNames_data();
    void windowNames();
    void actualValueIsAnnounced();
    void textSegments_data();
    void textSegments();
    void everyLineEditAnswersEveryBoundary_data();
    void everyLineEditAnswersEveryBoundary();
    void lineEditKeepsCaretSelectionAndEditing();
    void windowsAreWindows();
    void captionsAreTheirBoxesLabels_data();
    void captionsAreTheirBoxesLabels();
    void fixedPointDecorationAndPoint();
    void keyboardWalk_data();
    void keyboardWalk();
    void bitsSpokenDigitByDigit_data();
    void bitsSpokenDigitByDigit();
    void resultBoxDescribesItsBits();
    void convertFocusesTheFirstNewResult_data();
    void convertFocusesTheFirstNewResult();
    void workingIsReadAsSentences_data();
    void workingIsReadAsSentences();
    void bitBoxesAreHeardSpeltOut_data();
    void bitBoxesAreHeardSpeltOut();
    void attributeRunsReachTheLastCharacter_data();
    void attributeRunsReachTheLastCharacter();
    void resultHeardOnlyOnceFocused_data();
    void resultHeardOnlyOnceFocused();
    void workingPaneDownReadsEachLine_data();
    void workingPaneDownReadsEachLine();
    void comboBoxSaysItsItem();
    void decorationsAndGroups_data();
    void decorationsAndGroups();
    void actualValueReachableWithAScreenReader_data();
    void actualValueReachableWithAScreenReader();
    void pointBeforeBitsIsSaid_data();
    void pointBeforeBitsIsSaid();

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
        {"txtFixedPoint", "Fixed point binary number", R::EditableText},
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
        // The working pane's button and text, in every window.
        QCOMPARE(accessibleName(w->findChild<QWidget *>("chkShowWorking")), QStringLiteral("Show working"));
        QCOMPARE(accessibleRole(w->findChild<QWidget *>("chkShowWorking")), QAccessible::CheckBox);
        QCOMPARE(accessibleName(w->findChild<QWidget *>("txtWorking")), QStringLiteral("Working"));
        named << w->findChild<QWidget *>("chkShowWorking") << w->findChild<QWidget *>("txtWorking");
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

void TestAccessibility::textSegments_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("segment");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    const int at = int(TextSegment::At), before = int(TextSegment::Before), after = int(TextSegment::After);
    const int word = QAccessible::WordBoundary, character = QAccessible::CharBoundary;
    const int line = QAccessible::LineBoundary, sentence = QAccessible::SentenceBoundary;
    const QString t = QStringLiteral("12.5 ab");
    QTest::newRow("word at 0") << t << word << at << 0 << "12.5" << 0 << 4;
    QTest::newRow("word at 2, inside") << t << word << at << 2 << "12.5" << 0 << 4;
    QTest::newRow("word after 0") << t << word << after << 0 << " " << 4 << 5;
    QTest::newRow("word at the end") << t << word << at << 7 << "" << 7 << 7;
    QTest::newRow("word before the end") << t << word << before << 7 << "ab" << 5 << 7;
    QTest::newRow("word after the end") << t << word << after << 7 << "" << -1 << -1;
    QTest::newRow("word before 0") << t << word << before << 0 << "" << -1 << -1;
    QTest::newRow("word after the last") << t << word << after << 6 << "" << -1 << -1;
    QTest::newRow("character at the end") << t << character << at << 7 << "" << 7 << 7;
    QTest::newRow("character before the end") << t << character << before << 7 << "b" << 6 << 7;
    QTest::newRow("sentence at the end") << t << sentence << at << 7 << "" << 7 << 7;
    QTest::newRow("line at the end is the line") << t << line << at << 7 << t << 0 << 7;
    QTest::newRow("line before") << t << line << before << 3 << "" << -1 << -1;
    QTest::newRow("past the end") << t << word << at << 8 << "" << -1 << -1;
    QTest::newRow("negative") << t << word << at << -1 << "" << -1 << -1;
    QTest::newRow("empty text") << "" << word << at << 0 << "" << 0 << 0;
    QTest::newRow("emoji is one character") << QString::fromUtf8("1\xF0\x9F\x98\x80") << character << at << 1
                                            << QString::fromUtf8("\xF0\x9F\x98\x80") << 1 << 3;
}

void TestAccessibility::textSegments()
{
    QFETCH(QString, text);
    QFETCH(int, boundary);
    QFETCH(int, which);
    QFETCH(int, offset);
    QFETCH(QString, segment);
    QFETCH(int, start);
    QFETCH(int, end);
    int gotStart = -2, gotEnd = -2;
    QCOMPARE(textSegment(text, boundary, TextSegment(which), offset, &gotStart, &gotEnd), segment);
    QCOMPARE(gotStart, start);
    QCOMPARE(gotEnd, end);
}

void TestAccessibility::everyLineEditAnswersEveryBoundary_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < 4; ++i)
        QTest::addRow("window %d", i) << i;
}

// A screen reader asks every box for words, sentences and lines at and
// around the caret, the offset past the end included (Home, Ctrl+Right).
void TestAccessibility::everyLineEditAnswersEveryBoundary()
{
    QFETCH(int, index);
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    QVERIFY(openModal(button, [&](QWidget *w) {
        const QList<QLineEdit *> boxes = w->findChildren<QLineEdit *>();
        QVERIFY(!boxes.isEmpty());
        for (QLineEdit *box : boxes) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(box);
            QVERIFY(a && a->textInterface() && a->editableTextInterface());
            for (const QString &content : {QStringLiteral("12.5 ab. Cd"), QStringLiteral("7"),
                                           QStringLiteral("1010 "), QString()}) {
                box->setText(content);
                checkEveryBoundary(a->textInterface(), box->text());
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }));
}

// What the screen reader read before stays: value, caret, selection,
// editing, and where each character is.
void TestAccessibility::lineEditKeepsCaretSelectionAndEditing()
{
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_3"));
    QVERIFY(openModal(button, [&](QWidget *w) {
        auto *box = w->findChild<QLineEdit *>("txtBinary");
        type(w, "1101");
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(a->role(), QAccessible::EditableText);
        QCOMPARE(a->text(QAccessible::Value), QStringLiteral("1101"));
        QVERIFY(a->state().editable && a->state().focused && !a->state().readOnly);
        QAccessibleTextInterface *text = a->textInterface();
        QCOMPARE(text->characterCount(), 4);
        QCOMPARE(text->cursorPosition(), 4);
        text->setCursorPosition(1);
        QCOMPARE(box->cursorPosition(), 1);
        text->setSelection(0, 1, 3);
        QCOMPARE(box->selectedText(), QStringLiteral("10"));
        int start = 0, end = 0;
        text->selection(0, &start, &end);
        QCOMPARE(QPair(start, end), QPair(1, 3));
        QCOMPARE(text->selectionCount(), 1);
        text->removeSelection(0);
        QCOMPARE(text->selectionCount(), 0);
        QCOMPARE(text->text(1, 3), QStringLiteral("10"));
        const QRect second = text->characterRect(1);
        QVERIFY(!second.isEmpty());
        QVERIFY(second.left() > text->characterRect(0).left());
        QCOMPARE(text->offsetAtPoint(second.center()), 1);
        a->editableTextInterface()->insertText(4, "1");
        a->editableTextInterface()->deleteText(0, 1);
        QCOMPARE(box->text(), QStringLiteral("1011"));
        auto *result = w->findChild<QLineEdit *>("txtDenary");
        result->setReadOnly(true);
        QVERIFY(QAccessible::queryAccessibleInterface(result)->state().readOnly);
        result->setReadOnly(false);
    }));
}

void TestAccessibility::windowsAreWindows()
{
    QAccessibleInterface *menuWindow = QAccessible::queryAccessibleInterface(menu.get());
    QCOMPARE(menuWindow->role(), QAccessible::Window);
    QVERIFY(!menuWindow->state().modal);
    for (int index = 0; index < 4; ++index) {
        auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
        QAccessibleInterface *converter = nullptr;
        QPointer<QWidget> window;
        QVERIFY(openModal(button, [&](QWidget *w) {
            window = w;
            converter = QAccessible::queryAccessibleInterface(w);
            QCOMPARE(converter->role(), QAccessible::Dialog);
            QVERIFY(converter->state().modal);
            QCOMPARE(converter->text(QAccessible::Name), w->windowTitle());
        }));
        QVERIFY(!window || !window->isVisible());
    }
}

void TestAccessibility::captionsAreTheirBoxesLabels_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("box");
    QTest::newRow("binary integers: input") << 0 << "Label2" << "txtDenary";
    QTest::newRow("binary integers: two's complement") << 0 << "Label1" << "txtTwos";
    QTest::newRow("fixed point: input") << 1 << "Label2" << "txtDenary";
    QTest::newRow("fixed point: whole part") << 1 << "Label3" << "txtWhole";
    QTest::newRow("floating point: input") << 2 << "Label2" << "txtDenary";
    QTest::newRow("floating point: fixed") << 2 << "Label1" << "txtFixed";
    QTest::newRow("floating point: mantissa") << 2 << "Label3" << "txtMantissa";
    QTest::newRow("floating point: exponent") << 2 << "Label4" << "txtExponent";
    QTest::newRow("binary to decimal: input") << 3 << "Label2" << "txtBinary";
    QTest::newRow("binary to decimal: result") << 3 << "Label1" << "txtDenary";
}

// A caption is read once, as the label of its box.
void TestAccessibility::captionsAreTheirBoxesLabels()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, box);
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    QVERIFY(openModal(button, [&](QWidget *w) {
        auto *label = w->findChild<QLabel *>(caption);
        auto *target = w->findChild<QLineEdit *>(box);
        QVERIFY(label && target);
        QCOMPARE(label->buddy(), target);
        QAccessibleInterface *boxInterface = QAccessible::queryAccessibleInterface(target);
        const auto labelledBy = boxInterface->relations(QAccessible::Label);
        QCOMPARE(labelledBy.size(), 1);
        QCOMPARE(labelledBy.first().first->object(), label);
        QVERIFY(!boxInterface->text(QAccessible::Name).isEmpty());
    }));
}

void TestAccessibility::fixedPointDecorationAndPoint()
{
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_1"));
    QVERIFY(openModal(button, [&](QWidget *w) {
        for (const char *name : {"Line1", "Line2"})
            QCOMPARE(accessibleRole(w->findChild<QWidget *>(name)), QAccessible::Separator);
        QCOMPARE(accessibleName(w->findChild<QWidget *>("Label1")), QStringLiteral("binary point"));
        // Nothing else in the window is an unnamed frame.
        for (QWidget *child : w->findChildren<QWidget *>()) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(child);
            if (a->role() == QAccessible::Border)
                QVERIFY2(!a->text(QAccessible::Name).isEmpty(), qPrintable(child->objectName()));
        }
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
        << QStringList{"optBits_1", "cmdConvert", "txtBinary", "txtTwos", "chkShowWorking", "txtDenary"}
        << "txtBinary" << "0000000011001000";
    QTest::newRow("fixed point") << 1 << "5.75"
        << QStringList{"cmdConvert", "txtWhole", "txtFraction", "txtFixedPoint", "chkShowWorking", "txtDenary"}
        << "txtFixedPoint" << "101.1100000000";
    QTest::newRow("floating point") << 2 << "-12.625"
        << QStringList{"cmdConvert", "txtFixed", "txtMantissa", "txtExponent", "chkShowWorking", "txtDenary"}
        << "txtMantissa" << "1001101100";
    QTest::newRow("binary to decimal") << 3 << "1101"
        << QStringList{"cmdConvert", "txtDenary", "chkShowWorking", "txtBinary"}
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

void TestAccessibility::bitsSpokenDigitByDigit_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("said");
    QTest::newRow("200 in 16 bits") << "bits" << "0000000011001000" << ""
                                    << "0 0 0 0, 0 0 0 0, 1 1 0 0, 1 0 0 0";
    QTest::newRow("a short first group") << "bits" << "101100" << "" << "1 0, 1 1 0 0";
    QTest::newRow("a fraction from the left") << "fraction" << "101100" << "" << "1 0 1 1, 0 0";
    QTest::newRow("not bits") << "bits" << "12" << "" << "";
    QTest::newRow("fixed point") << "fixed" << "101.1100000000" << ""
                                 << "whole part 1 0 1, point, fraction 1 1 0 0, 0 0 0 0, 0 0";
    QTest::newRow("mantissa and exponent") << "floating" << "1001101100" << "000100"
                                           << "mantissa 1 0 0 1, 1 0 1 1, 0 0, exponent 0 0 0 1, 0 0";
    QTest::newRow("workbench pattern") << "pattern" << "10011011 0100" << ""
                                       << "mantissa 1 0 0 1, 1 0 1 1, exponent 0 1 0 0";
    QTest::newRow("exponent missing") << "floating" << "1001" << "" << "";
}

void TestAccessibility::bitsSpokenDigitByDigit()
{
    QFETCH(QString, kind);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, said);
    QString got;
    if (kind == u"bits")
        got = spoken::bits(first);
    else if (kind == u"fraction")
        got = spoken::bits(first, true);
    else if (kind == u"fixed")
        got = spoken::fixedPoint(first);
    else if (kind == u"floating")
        got = spoken::floating(first, second);
    else
        got = spoken::pattern(first);
    QCOMPARE(got, said);
}

void TestAccessibility::resultBoxDescribesItsBits()
{
    QVERIFY(openModal(menu->findChild<QAbstractButton *>("cmdMenu_2"), [&](QWidget *w) {
        type(w, "-12.625");
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        auto *mantissa = w->findChild<QLineEdit *>("txtMantissa");
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(mantissa);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Mantissa"));
        QCOMPARE(a->text(QAccessible::Value), QStringLiteral("1001101100"));
        // The bits are read spelt out as the box's text, not said again as
        // its description.
        QAccessibleTextInterface *text = a->textInterface();
        QCOMPARE(text->text(0, text->characterCount()),
                 QStringLiteral("mantissa 1 0 0 1, 1 0 1 1, 0 0, exponent 0 0 0 1, 0 0"));
        QVERIFY(a->text(QAccessible::Description).isEmpty());
        QAccessibleInterface *fixed = QAccessible::queryAccessibleInterface(w->findChild<QLineEdit *>("txtFixed"));
        QCOMPARE(fixed->textInterface()->text(0, fixed->textInterface()->characterCount()),
                 QStringLiteral("whole part 1 1 0 0, point, fraction 1 0 1"));
    }));
}

void TestAccessibility::convertFocusesTheFirstNewResult_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("inputs");  // converted one after another
    QTest::addColumn<QString>("focused");
    QTest::newRow("binary integers") << 0 << QStringList{"200"} << "txtBinary";
    QTest::newRow("fixed point") << 1 << QStringList{"5.75"} << "txtWhole";
    QTest::newRow("fixed point, same whole part") << 1 << QStringList{"5.75", "5.5"} << "txtFraction";
    QTest::newRow("floating point") << 2 << QStringList{"-12.625"} << "txtFixed";
    QTest::newRow("binary to decimal") << 3 << QStringList{"1101"} << "txtDenary";
    QTest::newRow("the same again") << 3 << QStringList{"1101", "1101"} << "txtDenary";
}

// With a screen reader listening, Convert puts the focus on the result so
// that it is read; Tab goes on from there.
void TestAccessibility::convertFocusesTheFirstNewResult()
{
    QFETCH(int, index);
    QFETCH(QStringList, inputs);
    QFETCH(QString, focused);
    AssistiveTechnology listening;
    QVERIFY(QAccessible::isActive());
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    QVERIFY(openModal(button, [&](QWidget *w) {
        auto *input = w->findChild<QLineEdit *>(index == 3 ? "txtBinary" : "txtDenary");
        for (const QString &text : inputs) {
            input->setFocus();
            retype(w, text);
            click(w->findChild<QAbstractButton *>("cmdConvert"));
        }
        auto *box = qobject_cast<QLineEdit *>(focusIn(w));
        QVERIFY(box);
        QCOMPARE(box->objectName(), focused);
        QVERIFY(!box->text().isEmpty());
        QCOMPARE(box->selectedText(), box->text());
    }));
}

void TestAccessibility::workingIsReadAsSentences_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("table");  // a table row or column as said
    QTest::addColumn<QString>("power");  // a power as said
    QTest::newRow("binary integers") << 0 << "200" << "place value 128, bit 1; place value 64, bit 1; "
                                                      "place value 32, bit 0;" << "2 to the power 16 minus 1";
    QTest::newRow("fixed point") << 1 << "0.625" << "doubled 0.625 \u00D7 2 = 1.25, bit 1."
                                 << "2 to the power minus 10 = 0.0009765625";
    QTest::newRow("floating point") << 2 << "-12.625" << "minus 1: 1, 1/2: 0, 1/4: 0, 1/8: 1,"
                                    << "times 2 to the power 4 that is minus 12.625";
    QTest::newRow("binary to decimal") << 3 << "1101" << "place value 8, bit 1; place value 4, bit 1;"
                                       << "minus 8 + 4 + 1 = minus 3";
    QTest::newRow("workbench") << 4 << "-12.625" << "place \u00BD, fraction 0.625, doubled 1.25, bit 1."
                               << "2 to the power minus 7 = minus 0.7890625";
}

// The pane's accessible text: tables as sentences, powers and signs in
// words, nothing a reader would spell out, every boundary answered.
void TestAccessibility::workingIsReadAsSentences()
{
    QFETCH(int, index);
    QFETCH(QString, input);
    QFETCH(QString, table);
    QFETCH(QString, power);
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    QVERIFY(openModal(button, [&](QWidget *w) {
        if (index == 4) {
            w->findChild<QComboBox *>("cboFormat")->setCurrentIndex(4);  // floating point
            w->findChild<QLineEdit *>("txtInput")->setFocus();
        }
        type(w, input);
        click(w->findChild<QAbstractButton *>(index == 4 ? "cmdToBinary" : "cmdConvert"));
        auto *pane = w->findChild<QTextBrowser *>("txtWorking");
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(pane);
        QVERIFY(a && a->textInterface());
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Working"));
        QAccessibleTextInterface *text = a->textInterface();
        const QString said = text->text(0, text->characterCount());
        QCOMPARE(said, a->text(QAccessible::Value));
        QVERIFY2(said.contains(table), qPrintable(said));
        QVERIFY2(said.contains(power), qPrintable(said));
        for (const QString &unsaid : {QStringLiteral("^"), QStringLiteral("<sup>"), QStringLiteral("\uFDD0"),
                                      QStringLiteral("\u2212"), QStringLiteral("&nbsp;")})
            QVERIFY2(!said.contains(unsaid), qPrintable(unsaid));
        checkEveryBoundary(text, said);
        // The caret is the pane's, in the spoken text's terms.
        pane->moveCursor(QTextCursor::End);
        QCOMPARE(text->cursorPosition(), int(said.size()));
        pane->moveCursor(QTextCursor::Start);
        QCOMPARE(text->cursorPosition(), 0);
        QVERIFY(pane->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    }));
}

void TestAccessibility::bitBoxesAreHeardSpeltOut_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("said");
    QTest::addColumn<int>("place");  // in the box's text
    QTest::addColumn<QString>("character");  // heard at that place
    QTest::newRow("200 in 16 bits") << 0 << "200" << "txtBinary" << "0 0 0 0, 0 0 0 0, 1 1 0 0, 1 0 0 0" << 8
                                    << "1";
    QTest::newRow("two's complement, last bit") << 0 << "200" << "txtTwos"
                                                << "1 1 1 1, 1 1 1 1, 0 0 1 1, 1 0 0 0" << 15 << "0";
    QTest::newRow("fixed point, the point") << 1 << "5.75" << "txtFixedPoint"
                                            << "whole part 1 0 1, point, fraction 1 1 0 0, 0 0 0 0, 0 0" << 3 << "p";
    QTest::newRow("fixed point, after the point") << 1 << "5.75" << "txtFixedPoint"
                                                  << "whole part 1 0 1, point, fraction 1 1 0 0, 0 0 0 0, 0 0" << 4
                                                  << "1";
    QTest::newRow("exponent of the pair") << 2 << "-12.625" << "txtExponent"
                                          << "mantissa 1 0 0 1, 1 0 1 1, 0 0, exponent 0 0 0 1, 0 0" << 3 << "1";
    QTest::newRow("denary is heard as shown") << 3 << "1101" << "txtDenary" << "13" << 1 << "3";
}

// A box of bits is read spelt out; its caret, selection and characters map
// to the spelt text, the last one included.
void TestAccessibility::bitBoxesAreHeardSpeltOut()
{
    QFETCH(int, index);
    QFETCH(QString, input);
    QFETCH(QString, box);
    QFETCH(QString, said);
    QFETCH(int, place);
    QFETCH(QString, character);
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    QVERIFY(openModal(button, [&](QWidget *w) {
        type(w, input);
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        auto *edit = w->findChild<QLineEdit *>(box);
        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(edit)->textInterface();
        QCOMPARE(heardText(edit), said);
        edit->setCursorPosition(place);
        int start = 0, end = 0;
        QCOMPARE(text->textAtOffset(text->cursorPosition(), QAccessible::CharBoundary, &start, &end), character);
        // And back: the caret set in the heard text's terms.
        text->setCursorPosition(text->cursorPosition());
        QCOMPARE(edit->cursorPosition(), place);
        edit->selectAll();
        text->selection(0, &start, &end);
        QCOMPARE(text->text(start, end), said);
        const int last = text->characterCount() - 1;
        QCOMPARE(text->textAtOffset(last, QAccessible::CharBoundary, &start, &end), said.right(1));
        QVERIFY(!text->characterRect(last).isEmpty());
        checkEveryBoundary(text, said);
    }));
}

void TestAccessibility::attributeRunsReachTheLastCharacter_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::newRow("a box of eight 1s") << 3 << "txtBinary" << "11111111";
    QTest::newRow("a fraction") << 2 << "txtDenary" << "-8.25";
    QTest::newRow("one character") << 0 << "txtDenary" << "7";
    QTest::newRow("the working") << 3 << "txtWorking" << "";
}

// A reader reads a line run of attributes by run: every run holds the
// character it was asked for and ends at the text's end.
void TestAccessibility::attributeRunsReachTheLastCharacter()
{
    QFETCH(int, index);
    QFETCH(QString, control);
    QFETCH(QString, typed);
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    QVERIFY(openModal(button, [&](QWidget *w) {
        type(w, typed);
        QAccessibleTextInterface *text =
            QAccessible::queryAccessibleInterface(w->findChild<QWidget *>(control))->textInterface();
        const int count = text->characterCount();
        QVERIFY(count > 0);
        for (int offset = 0; offset < count; ++offset) {
            int start = -1, end = -1;
            text->attributes(offset, &start, &end);
            QVERIFY2(start <= offset && end > offset, qPrintable(QString::number(offset)));
            QCOMPARE(end, count);
        }
    }));
}

void TestAccessibility::resultHeardOnlyOnceFocused_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("result");
    QTest::newRow("binary integers") << 0 << "200" << "txtBinary";
    QTest::newRow("floating point") << 2 << "-12.625" << "txtFixed";
    QTest::newRow("binary to decimal") << 3 << "1101" << "txtDenary";
}

// Convert fills the result, moves the focus to it and selects it: the
// screen reader is told of the focus first and of no text before it, so it
// reads the box with its name, once; the box left tells nothing more.
void TestAccessibility::resultHeardOnlyOnceFocused()
{
    QFETCH(int, index);
    QFETCH(QString, input);
    QFETCH(QString, result);
    AssistiveTechnology listening;
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    QVERIFY(openModal(button, [&](QWidget *w) {
        type(w, input);
        heardEvents.clear();
        key(w, Qt::Key_Tab);
        if (index == 0)
            key(w, Qt::Key_Tab);  // past the width options
        key(w, Qt::Key_Space);
        auto *box = w->findChild<QLineEdit *>(result);
        QCOMPARE(focusIn(w), box);
        const qsizetype focusAt = focusEventOf(box);
        QVERIFY(focusAt >= 0);
        const QList<Heard> before = heardEvents.mid(0, focusAt);
        for (const Heard &h : before)
            QVERIFY2(h.object != box || h.type == QAccessible::NameChanged || h.type == QAccessible::DescriptionChanged
                         || h.type == QAccessible::StateChanged,
                     "told of the text before the focus");
        // Tab on: the box left says nothing of its selection going.
        heardEvents.clear();
        key(w, Qt::Key_Tab);
        QVERIFY(textEventsOf(box).isEmpty());
        // Its caret, moved, is told in the heard text's terms.
        key(w, Qt::Key_Tab, Qt::ShiftModifier);
        heardEvents.clear();
        key(w, Qt::Key_Home);
        key(w, Qt::Key_Right);
        const QList<Heard> told = textEventsOf(box);
        QVERIFY(!told.isEmpty());
        QCOMPARE(told.last().caret, QAccessible::queryAccessibleInterface(box)->textInterface()->cursorPosition());
    }));
}

void TestAccessibility::workingPaneDownReadsEachLine_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("input");
    QTest::newRow("binary integers") << 0 << "200";
    QTest::newRow("fixed point") << 1 << "5.75";
    QTest::newRow("floating point") << 2 << "-12.625";
}

// With a screen reader, Down moves the pane's caret to the start of each
// heard line in turn, blank lines passed over, and Up comes back; each move
// is told at the heard offset.
void TestAccessibility::workingPaneDownReadsEachLine()
{
    QFETCH(int, index);
    QFETCH(QString, input);
    AssistiveTechnology listening;
    auto *button = menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
    QVERIFY(openModal(button, [&](QWidget *w) {
        type(w, input);
        click(w->findChild<QAbstractButton *>("cmdConvert"));
        auto *show = w->findChild<QAbstractButton *>("chkShowWorking");
        if (!show->isChecked())
            click(show);
        auto *pane = w->findChild<QTextBrowser *>("txtWorking");
        pane->setFocus();
        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(pane)->textInterface();
        const QString said = text->text(0, text->characterCount());
        QList<int> starts{0};
        for (qsizetype k = said.indexOf(u'\n'); k >= 0; k = said.indexOf(u'\n', k + 1)) {
            if (k + 1 < said.size() && said.at(k + 1) != u'\n')
                starts << int(k + 1);
        }
        QVERIFY(starts.size() > 3);
        key(w, Qt::Key_Home, Qt::ControlModifier);
        for (int line = 1; line < starts.size(); ++line) {
            heardEvents.clear();
            key(w, Qt::Key_Down);
            QCOMPARE(text->cursorPosition(), starts[line]);
            QVERIFY(!textEventsOf(pane).isEmpty());
            QCOMPARE(textEventsOf(pane).last().caret, starts[line]);
        }
        key(w, Qt::Key_Down);  // on the last line: stays
        QCOMPARE(text->cursorPosition(), starts.last());
        key(w, Qt::Key_Up);
        QCOMPARE(text->cursorPosition(), starts[starts.size() - 2]);
        // Shift+Down selects the line, in the heard text.
        key(w, Qt::Key_Down, Qt::ShiftModifier);
        int start = 0, end = 0;
        text->selection(0, &start, &end);
        QCOMPARE(QPair(start, end), QPair(starts[starts.size() - 2], starts.last()));
    }));
    // Without a screen reader the keys are the document's own.
}

// A closed combo box is named by its label, says its item as its value and
// text, and tells a new item as text put in, all of it selected.
void TestAccessibility::comboBoxSaysItsItem()
{
    AssistiveTechnology listening;
    QVERIFY(openModal(menu->findChild<QAbstractButton *>("cmdMenu_4"), [&](QWidget *w) {
        auto *combo = w->findChild<QComboBox *>("cboFormat");
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(combo);
        QCOMPARE(a->role(), QAccessible::ComboBox);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Format"));
        QCOMPARE(a->text(QAccessible::Value), QStringLiteral("Unsigned integer"));
        QCOMPARE(heardText(combo), QStringLiteral("Unsigned integer"));
        QVERIFY(a->childCount() == 1 && a->child(0)->childCount() == combo->count());
        QVERIFY(a->child(0)->child(0)->text(QAccessible::Name) != a->text(QAccessible::Name));
        combo->setFocus();
        heardEvents.clear();
        key(w, Qt::Key_Down);
        QStringList inserted;
        for (const Heard &h : textEventsOf(combo)) {
            if (h.type == QAccessible::TextInserted)
                inserted << h.text;
        }
        QCOMPARE(inserted, QStringList{QStringLiteral("Two's complement integer")});
        int start = 0, end = 0;
        a->textInterface()->selection(0, &start, &end);
        QCOMPARE(a->textInterface()->text(start, end), QStringLiteral("Two's complement integer"));
        QVERIFY(a->state().collapsed && !a->state().expanded);
    }));
}

void TestAccessibility::decorationsAndGroups_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("the binary point") << 1 << "Label1" << int(QAccessible::Separator) << "binary point";
    QTest::newRow("the widths' group") << 0 << "frBits" << int(QAccessible::Grouping) << "Number of bits to use";
    QTest::newRow("an option in it") << 0 << "optBits_0" << int(QAccessible::RadioButton) << "24 bits (16777215)";
    QTest::newRow("the verdict, before a check") << 4 << "lblVerdict" << int(QAccessible::StaticText) << "";
}

// Said once each: a decoration is a separator, a group's title is the
// group's name and not its options' label too.
void TestAccessibility::decorationsAndGroups()
{
    QFETCH(int, index);
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QVERIFY(openModal(menu->findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index)), [&](QWidget *w) {
        QWidget *widget = w->findChild<QWidget *>(control);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
        QCOMPARE(int(a->role()), role);
        QCOMPARE(a->text(QAccessible::Name), name);
        for (const auto &relation : a->relations(QAccessible::Label))
            QVERIFY2(relation.first->object() != widget->parent(), "labelled by its group");
        if (role == QAccessible::RadioButton) {
            QVERIFY(a->state().checkable);
            a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QVERIFY(static_cast<QAbstractButton *>(widget)->isChecked());
        }
    }));
}

void TestAccessibility::actualValueReachableWithAScreenReader_data()
{
    QTest::addColumn<bool>("listening");
    QTest::addColumn<QStringList>("focusOrder");  // from Convert, by Tab
    QTest::newRow("with a screen reader") << true
                                          << QStringList{"txtWhole", "txtFraction", "lblActual", "txtFixedPoint"};
    QTest::newRow("without one") << false << QStringList{"txtWhole", "txtFraction", "txtFixedPoint", "chkShowWorking"};
}

// The value the bits hold is a Tab stop after the fraction only for a
// screen reader, heard with its group's title; the Tab order is otherwise
// the window's own.
void TestAccessibility::actualValueReachableWithAScreenReader()
{
    QFETCH(bool, listening);
    QFETCH(QStringList, focusOrder);
    std::optional<AssistiveTechnology> on;
    if (listening)
        on.emplace();
    QVERIFY(openModal(menu->findChild<QAbstractButton *>("cmdMenu_1"), [&](QWidget *w) {
        type(w, "5.75");
        key(w, Qt::Key_Tab);
        key(w, Qt::Key_Space);
        w->findChild<QWidget *>("cmdConvert")->setFocus();
        QStringList walked;
        for (int i = 0; i < focusOrder.size(); ++i) {
            key(w, Qt::Key_Tab);
            walked << focusIn(w)->objectName();
        }
        QCOMPARE(walked, focusOrder);
        QAccessibleInterface *actual = QAccessible::queryAccessibleInterface(w->findChild<QWidget *>("lblActual"));
        QCOMPARE(actual->text(QAccessible::Name), QStringLiteral("5.75"));
        const auto labels = actual->relations(QAccessible::Label);
        QVERIFY(!labels.isEmpty());
        QCOMPARE(labels.first().first->text(QAccessible::Name), QStringLiteral("Actual Value"));
    }));
}

void TestAccessibility::pointBeforeBitsIsSaid_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("said");
    QTest::newRow("point before code") << "<p>the fraction is exactly .<code>101</code>.</p>"
                                       << "the fraction is exactly point, 1 0 1.";
    QTest::newRow("point in plain text") << "<p>exactly .101 here</p>" << "exactly point 1 0 1 here";
    QTest::newRow("a decimal fraction") << "<p>about .25 of it</p>" << "about point 25 of it";
    QTest::newRow("a full stop stays") << "<p>It is 5. <code>101</code> next.</p>" << "It is 5. 1 0 1 next.";
    QTest::newRow("a number with its point") << "<p>0.625 doubled</p>" << "0.625 doubled";
}

void TestAccessibility::pointBeforeBitsIsSaid()
{
    QFETCH(QString, html);
    QFETCH(QString, said);
    QCOMPARE(spoken::html(html), said);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
