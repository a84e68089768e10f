// SPDX-License-Identifier: MIT
#include "windows/accessibility.h"

#include "windows/converterwindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>
#include <QLineEdit>
#include <QTextBoundaryFinder>

namespace quorvex {

namespace {

// ---- Segments of a text --------------------------------------------------------

struct Segment {
    int start = -1;
    int end = -1;
    bool found() const { return start >= 0; }
};

// Character, word and sentence segments come from Unicode's boundary rules;
// a line edit's text is one line and one paragraph.
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

Segment findSegment(const QString &text, int boundary, TextSegment which, int offset)
{
    const int length = int(text.size());
    if (offset < 0 || offset > length)
        return {};
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

void installAccessibility()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(factory);
    installed = true;
}

}  // namespace quorvex
