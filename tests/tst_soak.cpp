// SPDX-License-Identifier: MIT
// Soak test: the real program driven headless through many random user
// events (typing, pasting, clicks, Tab, Enter, Escape, arrow keys, opening
// and closing windows), checking the program's invariants after each one.
//
//   QUORVEX_SOAK_EVENTS  how many events (default 3000; the long run uses
//                        20000 or more)
//   QUORVEX_SOAK_SEED    the seed (default 20261208), printed at the start;
//                        set it to replay a run or to try another
#include "app/appearance.h"
#include "conversions/binint.h"
#include "conversions/decint.h"
#include "conversions/fixed.h"
#include "conversions/floating.h"
#include "app/frmbinarymenu.h"
#include "windows/frmbinint.h"
#include "guitest.h"
#include "refusal.h"
#include "windows/runtimeguard.h"

#include <QLabel>
#include <QRadioButton>
#include <QRandomGenerator>

using namespace quorvex;

using namespace guitest;

namespace {

// What one converter window shows in its result boxes, in order.
QStringList outputsOf(QWidget *w)
{
    QStringList out;
    const QString name = w->objectName();
    auto text = [w](const char *box) { return w->findChild<QLineEdit *>(box)->text(); };
    if (name == "frmBinInt")
        out << text("txtBinary") << text("txtTwos");
    else if (name == "frmFixed")
        out << text("txtWhole") << text("txtFraction") << w->findChild<QLabel *>("lblActual")->text()
            << text("txtFixedPoint");
    else if (name == "frmFloating")
        out << text("txtFixed") << text("txtMantissa") << text("txtExponent");
    else
        out << text("txtDenary");
    return out;
}

QString inputOf(QWidget *w)
{
    const char *box = w->objectName() == "frmDecInt" ? "txtBinary" : "txtDenary";
    return w->findChild<QLineEdit *>(box)->text();
}

// What a conversion of `input` must show, or the message it must give.
struct Outcome {
    QStringList outputs;
    QString message;
};

Outcome expectedOutcome(QWidget *w, const QString &input)
{
    Outcome o;
    const QString name = w->objectName();
    Conversion r;
    if (name == "frmBinInt")
        r = convertBinInt(input, chosenBitCount(w));
    else if (name == "frmFixed")
        r = convertFixed(input);
    else if (name == "frmFloating")
        r = convertFloating(input);
    else
        r = convertDecInt(input);
    if (const auto kind = failureOf(r))
        o.message = runtimeErrorText(*kind);
    else
        o.message = messageOf(r);
    o.outputs = r.outputs;
    return o;
}

// Types short plain texts key by key; pastes the rest.
void enter(QWidget *w, const QString &text)
{
    static const QRegularExpression typable(QRegularExpression::anchoredPattern("[0-9a-z .+-]{0,60}"));
    if (typable.match(text).hasMatch())
        type(w, text);
    else
        paste(w, text);
}

bool isBits(const QString &s, qsizetype width)
{
    return s.size() == width && std::all_of(s.begin(), s.end(), [](QChar c) { return c == u'0' || c == u'1'; });
}

// The shape of what each window may show right after a conversion.
bool showable(QWidget *w, const QStringList &out)
{
    const QString name = w->objectName();
    static const QRegularExpression digits(QRegularExpression::anchoredPattern("0|[1-9][0-9]*"));
    static const QRegularExpression decimal(QRegularExpression::anchoredPattern("(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?"));
    if (name == "frmBinInt") {
        const qsizetype width = chosenBitCount(w);
        return (width == 8 || width == 16 || width == 24) && isBits(out[0], width) && isBits(out[1], width);
    }
    if (name == "frmFixed")
        return isBits(out[0], out[0].size()) && !out[0].isEmpty() && out[0].size() <= 10 && isBits(out[1], 10)
            && decimal.match(out[2]).hasMatch() && out[3] == out[0] + "." + out[1];
    if (name == "frmFloating")
        return out[0].contains('.') && isBits(out[1], 10) && isBits(out[2], 6);
    return digits.match(out[0]).hasMatch();
}

const QStringList allowedMessages = {
    "You must enter a whole number",
    "You must enter a positive whole number",
    "You need more bits to do this number",
    "Overflow: the number is too large for this conversion",
    "Subscript out of range: the number needs more bits than this conversion has",
    "Type mismatch: the text cannot be read as a number",
    "Floating-point error",
};

}  // namespace

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void randomUserEvents();

private:
    QString randomText();
    void windowEvent(QWidget *w);
    bool checkMessages(int from);

    QRandomGenerator random;
    std::unique_ptr<MessageWatcher> messages;
    int eventsLeft = 0;
    int conversionsChecked = 0;
    bool failed = false;
};

void TestSoak::initTestCase()
{
    applyAppearance();
}

// Texts a user might type or paste: numbers at every boundary of every
// window, their neighbours, noise, Unicode, control characters, long texts.
QString TestSoak::randomText()
{
    static const QStringList boundaries = {
        "0", "-0", "1", "-1", "5", "5.75", "-0.375", ".5", "5.", "255", "256", "65535", "65536",
        "16777215", "16777216", "1023", "1023.5", "1024", "1022.999", "1022.99999", "1.99999999",
        "-0.99999999", "0.1", "0.001", "0.0009", "0.0009765625", "1e3", "1e10", "1e400", "1e-400",
        "2147483647", "2147483648", "-2147483648", "3000000000.5x", "1.5abc", "12abc", "abc", "",
        " 5 ", "+5", "1,5", "--1", "1 1", "1.1", "-101", "101 ", " 101", "0000101",
        QString(31, u'1'), QString(32, u'1'), "1" + QString(40, u'0'), "16383.5", "32767.99"};
    switch (random.bounded(6)) {
    case 0:
    case 1:
        return boundaries[random.bounded(boundaries.size())];
    case 2: {  // digits, points, signs, exponents, blanks
        static const QString alphabet = "0123456789.-+eE 1";
        QString s;
        for (int i = random.bounded(1, 14); i > 0; --i)
            s += alphabet[random.bounded(alphabet.size())];
        return s;
    }
    case 3: {  // any code point, control characters and surrogates included
        QString s;
        for (int i = random.bounded(1, 6); i > 0; --i) {
            const char32_t c = random.bounded(4) == 0 ? char32_t(random.bounded(0x20))
                                                      : char32_t(random.bounded(0x110000));
            s += QChar::requiresSurrogates(c) ? QString::fromUcs4(&c, 1) : QString(QChar(char16_t(c)));
        }
        return s;
    }
    case 4:  // long texts
        return QString(random.bounded(100, 5000), random.bounded(2) ? u'0' : u'1');
    default:
        return QString::number(random.bounded(-5000, 5000)) + "." + QString::number(random.bounded(100000));
    }
}

bool TestSoak::checkMessages(int from)
{
    const auto &all = messages->messages();
    for (int i = from; i < all.size(); ++i) {
        const Message &m = all[i];
        if (m.title != "Quorvex" || !m.okOnly || m.buttonCount != 1 || m.icon != QMessageBox::NoIcon
            || !allowedMessages.contains(m.text)) {
            qWarning() << "bad message box:" << m.title << m.text << m.buttonCount;
            return false;
        }
    }
    return true;
}

// One random user event inside converter window `w`, and the checks after it.
void TestSoak::windowEvent(QWidget *w)
{
    QWidget *focusBefore = focusIn(w);
    const QStringList before = outputsOf(w);
    const int messagesBefore = int(messages->messages().size());
    auto *convert = w->findChild<QAbstractButton *>("cmdConvert");
    const QString inputBefore = inputOf(w);
    bool conversionTried = false;

    const auto controls = w->findChildren<QWidget *>();
    switch (random.bounded(10)) {
    case 0:
    case 1: {
        enter(w, randomText());
        break;
    }
    case 2:
        retype(w, QString());
        enter(w, randomText());
        break;
    case 3:
    case 4:
        conversionTried = focusIn(w) != nullptr;
        click(convert);
        break;
    case 5: {
        QWidget *target = controls[random.bounded(controls.size())];
        if (target->isVisible())
            click(target);
        break;
    }
    case 6: {
        static const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Enter,
                                       Qt::Key_Escape, Qt::Key_Space, Qt::Key_Left, Qt::Key_Right,
                                       Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_Backspace};
        const Qt::Key k = keys[random.bounded(int(std::size(keys)))];
        if (focusIn(w)) {
            // Space, Return and Enter press the focused button.
            conversionTried = ((k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter)
                               && focusIn(w) == convert)
                || ((k == Qt::Key_Return || k == Qt::Key_Enter) && w->objectName() == "frmBinInt"
                    && focusIn(w)->objectName() == "txtDenary");
            key(w, k, k == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        }
        break;
    }
    case 7: {
        if (auto *option = w->findChild<QRadioButton *>(QStringLiteral("optBits_%1").arg(random.bounded(3))))
            click(option);
        break;
    }
    default:
        click(w->findChild<QLineEdit *>(w->objectName() == "frmDecInt" ? "txtBinary" : "txtDenary"));
        break;
    }
    --eventsLeft;

    // Message boxes are the program's own.
    if (!checkMessages(messagesBefore)) {
        failed = true;
        return;
    }
    const QStringList after = outputsOf(w);
    if (!conversionTried) {
        return;
    }
    // A click on Convert in the fixed-point window converts only when the
    // input passed the rule; otherwise the focus stayed where it was.
    if (w->objectName() == "frmFixed" && focusBefore && focusBefore->objectName() == "txtDenary"
        && !fixedAccepts(inputBefore)) {
        if (after != before || focusIn(w) != focusBefore) {
            qWarning() << "refused input" << inputBefore << "changed the window";
            failed = true;
        }
        return;
    }
    const Outcome expected = expectedOutcome(w, inputOf(w));
    const auto &all = messages->messages();
    const QString shownMessage = all.size() > messagesBefore ? all.last().text : QString();
    if (expected.message != shownMessage) {
        qWarning() << w->objectName() << "input" << inputOf(w) << "message" << shownMessage << "expected"
                   << expected.message;
        failed = true;
    } else if (!expected.message.isEmpty()) {
        if (after != before) {
            qWarning() << "a message changed the outputs";
            failed = true;
        }
    } else if (after != expected.outputs || !showable(w, after)) {
        qWarning() << w->objectName() << "input" << inputOf(w) << "shows" << after << "expected"
                   << expected.outputs;
        failed = true;
    }
    ++conversionsChecked;
}

void TestSoak::randomUserEvents()
{
    const int events = qEnvironmentVariableIsSet("QUORVEX_SOAK_EVENTS")
        ? qEnvironmentVariableIntValue("QUORVEX_SOAK_EVENTS") : 3000;
    const quint32 seed = qEnvironmentVariableIsSet("QUORVEX_SOAK_SEED")
        ? quint32(qEnvironmentVariable("QUORVEX_SOAK_SEED").toULong()) : 20261208u;
    qInfo("soak: %d events, seed %u (replay with QUORVEX_SOAK_SEED=%u)", events, seed, seed);
    random.seed(seed);
    eventsLeft = events;

    frmBinaryMenu menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    messages = std::make_unique<MessageWatcher>();
    int openings = 0;
    while (eventsLeft > 0 && !failed) {
        const int index = random.bounded(4);
        auto *button = menu.findChild<QAbstractButton *>(QStringLiteral("cmdMenu_%1").arg(index));
        const bool opened = openModal(button, [&](QWidget *w) {
            ++openings;
            // Each opening starts afresh.
            if (!inputOf(w).isEmpty() || !outputsOf(w).join("").isEmpty()) {
                qWarning() << "window did not open empty";
                failed = true;
            }
            const int length = random.bounded(1, 60);
            for (int i = 0; i < length && eventsLeft > 0 && !failed && w->isVisible(); ++i)
                windowEvent(w);
        });
        --eventsLeft;
        QVERIFY2(opened, "a menu button opened no window");
        // The menu takes input again once the window has closed.
        QVERIFY(!modalConverter());
        QVERIFY(menu.isVisible());
    }
    qInfo("soak: %d openings, %d conversions checked, %d messages", openings, conversionsChecked,
          int(messages->messages().size()));
    QVERIFY2(!failed, qPrintable(QStringLiteral("invariant broken; replay with QUORVEX_SOAK_SEED=%1").arg(seed)));
    QVERIFY(conversionsChecked > events / 20);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
