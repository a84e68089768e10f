// SPDX-License-Identifier: MIT
#include "windows/accessibility.h"

#include "conversions/spoken.h"
#include "windows/converterwindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QPointer>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <optional>

namespace quorvex {

namespace {

// ---- Segments of a text --------------------------------------------------------

struct Segment {
    int start = -1;
    int end = -1;
    bool found() const { return start >= 0; }
};

// Character, word and sentence segments come from Unicode's boundary rules;
// lines and paragraphs end after a line break.
bool splitsText(int boundary, QTextBoundaryFinder::BoundaryType *type)
{
    switch (boundary) {
    case QAccessible::CharBoundary:
        *type = QTextBoundaryFinder::Grapheme;
        return true;
    case QAccessible::WordBoundary:
        *type = QTextBoundaryFinder::Word;
        return true;
    case QAccessible::SentenceBoundary:
        *type = QTextBoundaryFinder::Sentence;
        return true;
    default:
        return false;
    }
}

// The segment that holds the character at `offset` (0 <= offset < length).
Segment segmentHolding(QTextBoundaryFinder &finder, int offset, int length)
{
    Segment s;
    finder.setPosition(offset);
    s.start = finder.isAtBoundary() ? offset : int(finder.toPreviousBoundary());
    finder.setPosition(offset);
    s.end = int(finder.toNextBoundary());
    if (s.start < 0)
        s.start = 0;
    if (s.end <= offset)
        s.end = length;
    return s;
}

// The line that holds `offset` (0 <= offset <= length), its line break
// included; at the end, the last line.
Segment lineHolding(const QString &text, int offset)
{
    const int length = int(text.size());
    const int start = offset == 0 ? 0 : int(text.lastIndexOf(u'\n', offset - 1)) + 1;
    const int lineBreak = offset == length ? -1 : int(text.indexOf(u'\n', offset));
    return {start, lineBreak < 0 ? length : lineBreak + 1};
}

Segment findLine(const QString &text, TextSegment which, int offset)
{
    const int length = int(text.size());
    switch (which) {
    case TextSegment::At:
        return lineHolding(text, offset);
    case TextSegment::Before: {
        const int start = lineHolding(text, offset).start;
        return start == 0 ? Segment{} : lineHolding(text, start - 1);
    }
    case TextSegment::After: {
        const int end = lineHolding(text, offset).end;
        return end >= length || offset == length ? Segment{} : lineHolding(text, end);
    }
    }
    return {};
}

Segment findSegment(const QString &text, int boundary, TextSegment which, int offset)
{
    const int length = int(text.size());
    if (offset < 0 || offset > length)
        return {};
    if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary)
        return findLine(text, which, offset);
    QTextBoundaryFinder::BoundaryType type;
    if (!splitsText(boundary, &type))
        return which == TextSegment::At ? Segment{0, length} : Segment{};
    QTextBoundaryFinder finder(type, text);
    switch (which) {
    case TextSegment::At:
        return offset == length ? Segment{length, length} : segmentHolding(finder, offset, length);
    case TextSegment::Before: {
        const int start = offset == length ? length : segmentHolding(finder, offset, length).start;
        return start == 0 ? Segment{} : segmentHolding(finder, start - 1, length);
    }
    case TextSegment::After: {
        if (offset == length)
            return {};
        const int end = segmentHolding(finder, offset, length).end;
        return end >= length ? Segment{} : segmentHolding(finder, end, length);
    }
    }
    return {};
}

// ---- Line edits -----------------------------------------------------------------

// What Qt's own line edit interface tells a screen reader (name, role,
// state, text, caret, selection, editing), with text segments that are
// always found.
class AccessibleLineEdit : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit AccessibleLineEdit(QLineEdit *edit) : QAccessibleWidget(edit, QAccessible::EditableText) { }

    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        QString s;
        if (t == QAccessible::Value)
            s = edit()->echoMode() == QLineEdit::Normal ? edit()->text() : edit()->displayText();
        if (s.isEmpty())
            s = QAccessibleWidget::text(t);
        if (s.isEmpty() && t == QAccessible::Description)
            s = edit()->placeholderText();
        return s;
    }

    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        if (!edit()->isReadOnly())
            edit()->setText(text);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (edit()->isReadOnly())
            s.readOnly = true;
        else
            s.editable = true;
        s.selectableText = true;
        if (edit()->echoMode() != QLineEdit::Normal)
            s.passwordEdit = true;
        return s;
    }

    // Text
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !edit()->hasSelectedText())
            return;
        *startOffset = edit()->selectionStart();
        *endOffset = edit()->selectionEnd();
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            edit()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            edit()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset > endOffset)
            return {};
        return shownText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(edit()->text().size()); }
    QString textBeforeOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(shownText(), boundary, TextSegment::Before, offset, startOffset, endOffset);
    }
    QString textAfterOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(shownText(), boundary, TextSegment::After, offset, startOffset, endOffset);
    }
    QString textAtOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(shownText(), boundary, TextSegment::At, offset, startOffset, endOffset);
    }

    // The box of character `offset` on the screen: the caret's place is
    // known, and the others lie as far from it as the text between them is
    // wide.
    QRect characterRect(int offset) const override
    {
        const QString shown = shownText();
        if (offset < 0 || offset >= shown.size())
            return {};
        const QFontMetrics metrics = edit()->fontMetrics();
        const int caret = edit()->cursorPosition();
        const QRect caretBox = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caretBox.center().x() + metrics.horizontalAdvance(shown.left(offset))
            - metrics.horizontalAdvance(shown.left(caret));
        const QRect box(x, caretBox.top(), metrics.horizontalAdvance(shown.at(offset)), caretBox.height());
        return QRect(edit()->mapToGlobal(box.topLeft()), box.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = edit()->mapFromGlobal(point);
        return edit()->rect().contains(local) ? edit()->cursorPositionAt(local) : -1;
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        edit()->setCursorPosition(endIndex);
        edit()->setCursorPosition(startIndex);
    }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }

    // Editable text
    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        if (edit()->isReadOnly() || startOffset < 0 || endOffset < startOffset)
            return;
        edit()->setText(edit()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QString shownText() const { return edit()->displayText(); }
};

// ---- The working pane -----------------------------------------------------------

const char *const workingHtmlProperty = "quorvexWorkingHtml";

// The pane's text as a screen reader reads it: spoken::htmlParts of the
// rich text shown, a line break apart. Each part stands for one paragraph
// or table of the document; a place in the document maps to the same
// proportion of its part, and back.
class AccessibleWorking : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleWorking(QTextBrowser *browser) : QAccessibleWidget(browser, QAccessible::EditableText) { }

    QTextBrowser *browser() const { return static_cast<QTextBrowser *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return speech().text;
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        const QTextCursor cursor = browser()->textCursor();
        if (selectionIndex != 0 || !cursor.hasSelection())
            return;
        *startOffset = toSpeech(cursor.selectionStart());
        *endOffset = toSpeech(cursor.selectionEnd());
    }
    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex != 0)
            return;
        QTextCursor cursor = browser()->textCursor();
        cursor.clearSelection();
        browser()->setTextCursor(cursor);
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex != 0)
            return;
        QTextCursor cursor = browser()->textCursor();
        cursor.setPosition(toDocument(startOffset));
        cursor.setPosition(toDocument(endOffset), QTextCursor::KeepAnchor);
        browser()->setTextCursor(cursor);
    }
    int cursorPosition() const override { return toSpeech(browser()->textCursor().position()); }
    void setCursorPosition(int position) override
    {
        QTextCursor cursor = browser()->textCursor();
        cursor.setPosition(toDocument(position));
        browser()->setTextCursor(cursor);
    }
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset < 0 || startOffset > endOffset)
            return {};
        return speech().text.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(speech().text.size()); }
    QString textBeforeOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(speech().text, boundary, TextSegment::Before, offset, startOffset, endOffset);
    }
    QString textAfterOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(speech().text, boundary, TextSegment::After, offset, startOffset, endOffset);
    }
    QString textAtOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(speech().text, boundary, TextSegment::At, offset, startOffset, endOffset);
    }
    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return {};
        QTextCursor cursor(browser()->document());
        cursor.setPosition(toDocument(offset));
        const QRect box = browser()->cursorRect(cursor);
        return QRect(browser()->viewport()->mapToGlobal(box.topLeft()), box.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = browser()->viewport()->mapFromGlobal(point);
        if (!browser()->viewport()->rect().contains(local))
            return -1;
        return toSpeech(browser()->cursorForPosition(local).position());
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        setSelection(0, startIndex, endIndex);
        browser()->ensureCursorVisible();
    }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    struct Speech {
        QString source;
        QStringList parts;
        QString text;
        QList<int> starts;  // of each part in text
    };
    struct Span {
        int start;
        int end;
    };

    // Made again only when the pane shows other text.
    const Speech &speech() const
    {
        const QVariant html = browser()->property(workingHtmlProperty);
        const QString source = html.isValid() ? html.toString() : browser()->toHtml();
        if (!m_speech || m_speech->source != source) {
            Speech s;
            s.source = source;
            s.parts = spoken::htmlParts(source);
            for (const QString &part : std::as_const(s.parts)) {
                s.starts << int(s.text.size());
                s.text += part + u'\n';
            }
            s.text.chop(1);
            m_speech = std::move(s);
        }
        return *m_speech;
    }

    // The document's paragraphs and tables that show something, in order.
    QList<Span> documentParts() const
    {
        QList<Span> spans;
        QTextFrame *root = browser()->document()->rootFrame();
        for (auto it = root->begin(); !it.atEnd(); ++it) {
            if (QTextFrame *frame = it.currentFrame())
                spans.append({frame->firstPosition(), frame->lastPosition()});
            else if (const QTextBlock block = it.currentBlock(); !block.text().trimmed().isEmpty())
                spans.append({block.position(), block.position() + block.length() - 1});
        }
        return spans;
    }

    static int scaled(int at, int from, int to)
    {
        return from <= 0 ? 0 : int(qint64(at) * to / from);
    }

    int toSpeech(int position) const
    {
        const Speech &s = speech();
        const QList<Span> spans = documentParts();
        const qsizetype count = std::min(spans.size(), s.parts.size());
        for (qsizetype k = 0; k < count; ++k) {
            const Span span = spans[k];
            if (position > span.end && k + 1 < count)
                continue;
            const int within = std::clamp(position - span.start, 0, span.end - span.start);
            const int length = int(s.parts[k].size());
            return s.starts[k] + std::min(length, scaled(within, span.end - span.start, length));
        }
        return std::clamp(position, 0, int(s.text.size()));
    }

    int toDocument(int offset) const
    {
        const Speech &s = speech();
        const QList<Span> spans = documentParts();
        const qsizetype count = std::min(spans.size(), s.parts.size());
        for (qsizetype k = count - 1; k >= 0; --k) {
            if (offset < s.starts[k] && k > 0)
                continue;
            const Span span = spans[k];
            const int length = int(s.parts[k].size());
            const int within = std::clamp(offset - s.starts[k], 0, length);
            return span.start + std::min(span.end - span.start, scaled(within, length, span.end - span.start));
        }
        return std::clamp(offset, 0, std::max(0, browser()->document()->characterCount() - 1));
    }

    mutable std::optional<Speech> m_speech;
};

// ---- Return on a button ---------------------------------------------------------

class ReturnPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto *button = qobject_cast<QAbstractButton *>(watched);
        // A dialog's buttons already answer Return, the default one first.
        if (!button || button->window()->focusWidget() != button || qobject_cast<QDialog *>(button->window()))
            return false;
        if (event->type() == QEvent::KeyPress && !key->isAutoRepeat() && button->isEnabled())
            button->click();
        return true;
    }
};

// ---- Windows and lines ----------------------------------------------------------

class AccessibleWindow : public QAccessibleWidget {
public:
    AccessibleWindow(QWidget *window, QAccessible::Role role) : QAccessibleWidget(window, role) { }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.modal = widget()->isVisible() && widget()->isModal();
        return s;
    }
};

bool isLine(const QFrame *frame)
{
    return frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine;
}

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    // Asked once for each class the object is an instance of, most derived
    // first: answer only the first time.
    if (!object || !object->isWidgetType() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return new AccessibleLineEdit(edit);
    // The working pane, the program's only browser.
    if (auto *browser = qobject_cast<QTextBrowser *>(widget))
        return new AccessibleWorking(browser);
    if (qobject_cast<ConverterWindow *>(widget))
        return new AccessibleWindow(widget, QAccessible::Dialog);
    // A window of the program's own, as the menu is (not a message box or
    // any other window Qt builds).
    if (widget->isWindow() && widget->metaObject()->superClass() == &QWidget::staticMetaObject)
        return new AccessibleWindow(widget, QAccessible::Window);
    if (auto *frame = qobject_cast<QFrame *>(widget);
        frame && className == QLatin1String("QFrame") && isLine(frame))
        return new QAccessibleWidget(widget, QAccessible::Separator);
    return nullptr;
}

}  // namespace

QString textSegment(const QString &text, int boundary, TextSegment which, int offset, int *start, int *end)
{
    const Segment s = findSegment(text, boundary, which, offset);
    *start = s.start;
    *end = s.end;
    return s.found() ? text.mid(s.start, s.end - s.start) : QString();
}

void showWorkingHtml(QTextBrowser *pane, const QString &html)
{
    pane->setProperty(workingHtmlProperty, html);
    pane->setHtml(html);
}

void speakBits(QLineEdit *box, BitsShown shown)
{
    const auto describe = [box, shown](const QString &text) {
        QString said;
        switch (shown) {
        case BitsShown::Integer:
            said = spoken::bits(text);
            break;
        case BitsShown::Fraction:
            said = spoken::bits(text, true);
            break;
        case BitsShown::FixedPoint:
            said = spoken::fixedPoint(text);
            break;
        case BitsShown::Pattern:
            said = spoken::pattern(text);
            break;
        }
        if (box->accessibleDescription() != said)
            box->setAccessibleDescription(said);
    };
    QObject::connect(box, &QLineEdit::textChanged, box, describe);
    describe(box->text());
}

void speakMantissaAndExponent(QLineEdit *mantissa, QLineEdit *exponent)
{
    const auto describe = [mantissa, exponent] {
        const QString said = spoken::floating(mantissa->text(), exponent->text());
        for (QLineEdit *box : {mantissa, exponent}) {
            if (box->accessibleDescription() != said)
                box->setAccessibleDescription(said);
        }
    };
    QObject::connect(mantissa, &QLineEdit::textChanged, exponent, describe);
    QObject::connect(exponent, &QLineEdit::textChanged, mantissa, describe);
    describe();
}

void installReturnPressesButtons()
{
    static QPointer<ReturnPressesButtons> filter;
    if (!filter && qApp) {
        filter = new ReturnPressesButtons(qApp);
        qApp->installEventFilter(filter);
    }
}

void installAccessibility()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(factory);
    installed = true;
}

}  // namespace quorvex
