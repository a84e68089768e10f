// SPDX-License-Identifier: MIT
#include "windows/accessibility.h"

#include "conversions/spoken.h"
#include "windows/converterwindow.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QKeyEvent>
#include <QPointer>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <memory>
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


// A text of one style throughout: the run of attributes at any character is
// the whole text, so that a reader that reads a line run by run (for its
// language) reaches the last character. Past the end there is no run.
QString attributeRun(int offset, int length, int *startOffset, int *endOffset)
{
    if (offset >= 0 && offset < length) {
        *startOffset = 0;
        *endOffset = length;
    } else {
        *startOffset = *endOffset = std::clamp(offset, 0, length);
    }
    return {};
}

// ---- Texts heard otherwise than shown ------------------------------------------

const char *const spokenProperty = "quorvexSpoken";

// Where each place of a box's text falls in what is said for it: a digit at
// the same digit said, in order from `from`; a point or blank at the word
// said for it ("point", "exponent") when one comes before the next digit.
// at[k] is the place of the text's offset k; at[size] follows the last digit.
QList<int> alignSpoken(const QString &shown, const QString &said, int from)
{
    QList<int> at;
    at.reserve(shown.size() + 1);
    int j = std::clamp(from, 0, int(said.size()));
    const auto nextDigit = [&said](int k) {
        while (k < said.size() && !said.at(k).isDigit())
            ++k;
        return k;
    };
    for (const QChar c : shown) {
        if (c.isDigit()) {
            int k = nextDigit(j);
            while (k < said.size() && said.at(k) != c)
                k = nextDigit(k + 1);
            at << k;
            j = std::min(int(said.size()), k + 1);
            continue;
        }
        int k = j;
        const int digit = nextDigit(j);
        while (k < digit && !said.at(k).isLetter())
            ++k;
        at << (k < digit ? k : j);
    }
    at << j;
    return at;
}

// ---- Line edits -----------------------------------------------------------------

// A text interface whose text a screen reader hears otherwise than it is
// shown; its caret and text events are told in the heard text's terms.
class HeardText {
public:
    virtual ~HeardText() = default;
    virtual bool heardAsShown() const = 0;
};

// What Qt's own line edit interface tells a screen reader (name, role,
// state, text, caret, selection, editing), with text segments that are
// always found. A box given a spoken form of its text (bits spelt out) is
// read in that form, its caret and selection mapped to it.
class AccessibleLineEdit : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface,
                           public HeardText {
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

    bool heardAsShown() const override { return heard().at.isEmpty(); }

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
        const Heard &h = heard();
        // A selection of the whole box is the whole of what is said for it.
        const int start = edit()->selectionStart(), end = edit()->selectionEnd();
        *startOffset = start == 0 ? 0 : h.toHeard(start);
        *endOffset = end == h.shown.size() ? int(h.said().size()) : h.toHeard(end);
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
        if (selectionIndex != 0)
            return;
        const Heard &h = heard();
        const int start = h.toShown(startOffset), end = h.toShown(endOffset);
        edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return heard().toHeard(edit()->cursorPosition()); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(heard().toShown(position)); }
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset > endOffset)
            return {};
        return heard().said().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(heard().said().size()); }
    QString textBeforeOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(heard().said(), boundary, TextSegment::Before, offset, startOffset, endOffset);
    }
    QString textAfterOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(heard().said(), boundary, TextSegment::After, offset, startOffset, endOffset);
    }
    QString textAtOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(heard().said(), boundary, TextSegment::At, offset, startOffset, endOffset);
    }

    // The box of character `offset` on the screen: the caret's place is
    // known, and the others lie as far from it as the text between them is
    // wide. A character said but not shown has the box of the one shown
    // where it is said.
    QRect characterRect(int offset) const override
    {
        const Heard &h = heard();
        if (offset < 0 || offset >= h.said().size())
            return {};
        const QString shown = h.shown;
        const int place = std::min(h.toShown(offset), int(shown.size()) - 1);
        if (place < 0)
            return {};
        const QFontMetrics metrics = edit()->fontMetrics();
        const int caret = edit()->cursorPosition();
        const QRect caretBox = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caretBox.center().x() + metrics.horizontalAdvance(shown.left(place))
            - metrics.horizontalAdvance(shown.left(caret));
        const QRect box(x, caretBox.top(), metrics.horizontalAdvance(shown.at(place)), caretBox.height());
        return QRect(edit()->mapToGlobal(box.topLeft()), box.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = edit()->mapFromGlobal(point);
        return edit()->rect().contains(local) ? heard().toHeard(edit()->cursorPositionAt(local)) : -1;
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        edit()->setCursorPosition(heard().toShown(endIndex));
        edit()->setCursorPosition(heard().toShown(startIndex));
    }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        return attributeRun(offset, characterCount(), startOffset, endOffset);
    }

    // Editable text
    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        if (edit()->isReadOnly() || startOffset < 0 || endOffset < startOffset)
            return;
        const int start = heard().toShown(startOffset), end = heard().toShown(endOffset);
        edit()->setText(edit()->text().replace(start, end - start, text));
    }

private:
    // The text shown and, when the box has a spoken form of it, that form
    // and where each place of the shown text falls in it.
    struct Heard {
        QString shown;
        QString spoken;
        QList<int> at;  // empty when heard as shown
        const QString &said() const { return at.isEmpty() ? shown : spoken; }
        int toHeard(int place) const
        {
            return at.isEmpty() ? place : at.value(std::clamp(place, 0, int(shown.size())));
        }
        int toShown(int offset) const
        {
            if (at.isEmpty())
                return std::clamp(offset, 0, int(shown.size()));
            if (offset >= spoken.size())
                return int(shown.size());
            int place = 0;
            for (int p = 1; p <= shown.size() && at[p] <= offset; ++p)
                place = p;
            return place;
        }
    };

    const Heard &heard() const
    {
        const QString shown = edit()->displayText();
        const QVariantList spoken = edit()->property(spokenProperty).toList();
        // A spoken form holds only for the text it was made from.
        const bool holds = edit()->echoMode() == QLineEdit::Normal && spoken.size() == 3
            && spoken[0].toString() == shown && !spoken[1].toString().isEmpty();
        const QString said = holds ? spoken[1].toString() : QString();
        if (m_heard.shown != shown || m_heard.spoken != said || m_heard.at.isEmpty() != said.isEmpty()) {
            m_heard.shown = shown;
            m_heard.spoken = said;
            m_heard.at = holds ? alignSpoken(shown, said, spoken[2].toInt()) : QList<int>();
        }
        return m_heard;
    }

    mutable Heard m_heard;
};

// ---- The working pane -----------------------------------------------------------

const char *const workingHtmlProperty = "quorvexWorkingHtml";

// The pane's text as a screen reader reads it: spoken::htmlParts of the
// rich text shown, a line break apart. Each part stands for one paragraph
// or table of the document; a place in the document maps to the same
// proportion of its part, and back. That mapping is not exact within a
// part, so a caret moved by the screen reader's user (see HeardCaretKeys)
// is kept in the heard text's terms while the document's caret stays where
// it was put.
class AccessibleWorking : public QAccessibleWidget, public QAccessibleTextInterface, public HeardText {
public:
    explicit AccessibleWorking(QTextBrowser *browser) : QAccessibleWidget(browser, QAccessible::EditableText) { }

    QTextBrowser *browser() const { return static_cast<QTextBrowser *>(widget()); }

    bool heardAsShown() const override { return false; }

    // Moves the caret to `offset` of the heard text, selecting from the
    // anchor when `extend`, and tells the screen reader.
    void moveHeardCaret(int offset, bool extend)
    {
        const int length = characterCount();
        offset = std::clamp(offset, 0, length);
        const int anchor = extend ? heardAnchor() : offset;
        const int position = toDocument(offset);
        QTextCursor cursor = browser()->textCursor();
        if (!extend)
            cursor.setPosition(position);
        else
            cursor.setPosition(position, QTextCursor::KeepAnchor);
        m_caret = {offset, anchor, position, cursor.anchor(), speech().source};
        browser()->setTextCursor(cursor);
        browser()->ensureCursorVisible();
        // The document's caret may not have moved, and then Qt says nothing.
        QAccessibleTextCursorEvent moved(browser(), offset);
        QAccessible::updateAccessibility(&moved);
    }

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
        if (const HeardCaret *c = heardCaret()) {
            *startOffset = std::min(c->offset, c->anchor);
            *endOffset = std::max(c->offset, c->anchor);
            return;
        }
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
    int cursorPosition() const override
    {
        if (const HeardCaret *c = heardCaret())
            return c->offset;
        return toSpeech(browser()->textCursor().position());
    }
    void setCursorPosition(int position) override { moveHeardCaret(position, false); }
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
        return attributeRun(offset, characterCount(), startOffset, endOffset);
    }

private:
    // The caret as last moved in the heard text's terms; it holds while the
    // document's caret and text are as that move left them.
    struct HeardCaret {
        int offset = -1;
        int anchor = -1;
        int position = -1;        // the document's caret then
        int documentAnchor = -1;  // and its anchor
        QString source;
    };
    const HeardCaret *heardCaret() const
    {
        const QTextCursor cursor = browser()->textCursor();
        if (m_caret.offset < 0 || cursor.position() != m_caret.position || cursor.anchor() != m_caret.documentAnchor
            || speech().source != m_caret.source)
            return nullptr;
        return &m_caret;
    }
    int heardAnchor() const
    {
        if (const HeardCaret *c = heardCaret())
            return c->anchor;
        return toSpeech(browser()->textCursor().anchor());
    }

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
    HeardCaret m_caret;
};

// With a screen reader listening, the arrow keys, Home and End move the
// working pane's caret through the heard text: a line of it at a time (a
// row of a table, a paragraph), blank lines passed over, so that each Down
// reads the next line once. Without one, the keys are the document's.
class HeardCaretKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !QAccessible::isActive())
            return false;
        auto *browser = qobject_cast<QTextBrowser *>(watched);
        auto *working = browser ? dynamic_cast<AccessibleWorking *>(QAccessible::queryAccessibleInterface(browser))
                                : nullptr;
        if (!working)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool extend = modifiers & Qt::ShiftModifier;
        const bool control = modifiers & Qt::ControlModifier;
        if (modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier))
            return false;
        const int caret = working->cursorPosition();
        int start = 0, end = 0;
        const QString text = working->text(0, working->characterCount());
        std::optional<int> to;
        switch (key->key()) {
        case Qt::Key_Down:
            if (!control)
                to = nextLine(text, caret);
            break;
        case Qt::Key_Up:
            if (!control)
                to = previousLine(text, caret);
            break;
        case Qt::Key_Left:
            if (!control)
                to = std::max(0, caret - 1);
            break;
        case Qt::Key_Right:
            if (!control)
                to = std::min(int(text.size()), caret + 1);
            break;
        case Qt::Key_Home:
            textSegment(text, QAccessible::LineBoundary, TextSegment::At, caret, &start, &end);
            to = control ? 0 : start;
            break;
        case Qt::Key_End:
            textSegment(text, QAccessible::LineBoundary, TextSegment::At, caret, &start, &end);
            to = control ? int(text.size()) : (end > start && text.at(end - 1) == u'\n' ? end - 1 : end);
            break;
        default:
            break;
        }
        if (!to)
            return false;
        working->moveHeardCaret(*to, extend);
        return true;
    }

private:
    static bool blank(const QString &text, int start)
    {
        return start < text.size() && text.at(start) == u'\n';
    }
    // The start of the next line that is not blank; where the caret is when
    // there is none.
    static int nextLine(const QString &text, int caret)
    {
        qsizetype lineBreak = text.indexOf(u'\n', caret);
        while (lineBreak >= 0 && blank(text, int(lineBreak) + 1))
            lineBreak = text.indexOf(u'\n', lineBreak + 1);
        return lineBreak < 0 || lineBreak + 1 >= text.size() ? caret : int(lineBreak) + 1;
    }
    static int previousLine(const QString &text, int caret)
    {
        int start = caret == 0 ? 0 : int(text.lastIndexOf(u'\n', caret - 1)) + 1;
        while (start > 0) {
            const int previous = start < 2 ? 0 : int(text.lastIndexOf(u'\n', start - 2)) + 1;
            if (!blank(text, previous))
                return previous;
            start = previous;
        }
        return caret;
    }
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

// ---- Combo boxes ----------------------------------------------------------------

// A combo box that is not editable, named by its label (its items have
// names of their own), with its current item as its value and as its text,
// all of it selected as the box shows it. A screen reader reads a combo
// box's value from its text or its selected item, and Qt's list reports no
// selected item while it is closed; a new item is told as new text that is
// selected, which a screen reader speaks.
class AccessibleComboBox : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleComboBox(QComboBox *combo) : QAccessibleWidget(combo, QAccessible::ComboBox)
    {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
        // Told as text put in, not as text replaced: the old item's text
        // going would be said as a selection deleted.
        QObject::connect(combo, &QComboBox::currentTextChanged, combo, [combo](const QString &text) {
            if (!combo->hasFocus() || !QAccessible::isActive() || text.isEmpty())
                return;
            QAccessibleTextInsertEvent changed(combo, 0, text);
            QAccessible::updateAccessibility(&changed);
        });
    }

    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->currentText();
        if (t == QAccessible::Name && !combo()->accessibleName().isEmpty())
            return combo()->accessibleName();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const bool open = combo()->view() && combo()->view()->isVisible();
        s.expandable = true;
        s.expanded = open;
        s.collapsed = !open;
        s.hasPopup = true;
        s.selectableText = true;
        return s;
    }

    // The list of items, as Qt's own interface has it.
    int childCount() const override { return combo()->view() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 && combo()->view() ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && combo()->view() && child->object() == combo()->view() ? 0 : -1;
    }

    QStringList actionNames() const override
    {
        return QStringList{QAccessibleActionInterface::showMenuAction(), QAccessibleActionInterface::pressAction()}
            + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &actionName) override
    {
        if (actionName == QAccessibleActionInterface::showMenuAction()
            || actionName == QAccessibleActionInterface::pressAction())
            combo()->showPopup();
        else
            QAccessibleWidget::doAction(actionName);
    }

    // Text: the current item.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = selectionIndex == 0 ? characterCount() : 0;
    }
    int selectionCount() const override { return characterCount() > 0 ? 1 : 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset < 0 || startOffset > endOffset)
            return {};
        return combo()->currentText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(combo()->currentText().size()); }
    QString textBeforeOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(combo()->currentText(), boundary, TextSegment::Before, offset, startOffset, endOffset);
    }
    QString textAfterOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(combo()->currentText(), boundary, TextSegment::After, offset, startOffset, endOffset);
    }
    QString textAtOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const override
    {
        return textSegment(combo()->currentText(), boundary, TextSegment::At, offset, startOffset, endOffset);
    }
    QRect characterRect(int offset) const override
    {
        return offset >= 0 && offset < characterCount() ? rect() : QRect();
    }
    int offsetAtPoint(const QPoint &point) const override { return rect().contains(point) ? 0 : -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        return attributeRun(offset, characterCount(), startOffset, endOffset);
    }
};

// ---- Radio buttons in a group -----------------------------------------------------

// A radio button as Qt tells of it, but not labelled by its group box: the
// group's title is heard once, as the group's name, not again as each
// option's label.
class AccessibleRadioButton : public QAccessibleWidget {
public:
    explicit AccessibleRadioButton(QAbstractButton *button) : QAccessibleWidget(button, QAccessible::RadioButton)
    {
    }

    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return QString(button()->text()).remove(u'&');
        if (t == QAccessible::Accelerator) {
            const QKeySequence mnemonic = QKeySequence::mnemonic(button()->text());
            return mnemonic.isEmpty() ? QString() : mnemonic.toString(QKeySequence::NativeText);
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        return s;
    }

    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match = QAccessible::AllRelations) const override
    {
        auto all = QAccessibleWidget::relations(match);
        const QObject *group = qobject_cast<QGroupBox *>(button()->parentWidget());
        all.removeIf([group](const auto &relation) {
            return group && relation.second == QAccessible::Label && relation.first
                && relation.first->object() == group;
        });
        return all;
    }

    QStringList actionNames() const override
    {
        return QStringList{QAccessibleActionInterface::pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &actionName) override
    {
        if (actionName == QAccessibleActionInterface::pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

// ---- What reaches the screen reader -------------------------------------------------

// A screen reader takes the caret, selection and text events of a box for
// what the user did in it. A box about to take the focus tells of them
// before Qt tells of the focus (Convert fills the result and selects it;
// Tab into a box selects its text), and the screen reader then reads the
// bare text without the box's name, or reads it twice; a box losing the
// focus tells of its selection going. So these events pass only for the
// control that has the focus and whose focus the screen reader has been
// told of; reading it on the focus gives its text. A spin box's value change says its value, so its text's
// selection is not said as well. A heard text's caret is told in the heard
// text's terms; its text changes, whose places are the shown text's, are
// not told (the screen reader asks for the text it reads).
QPointer<QObject> toldFocus;
QAccessible::UpdateHandler nextHandler = nullptr;
void screenReaderUpdate(QAccessibleEvent *event);

void pass(QAccessibleEvent *event)
{
    if (nextHandler) {
        nextHandler(event);
        return;
    }
    // Qt's own way to the platform is the one taken with no handler.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(screenReaderUpdate);
}

// Whether `object` and `focus` are one control: the same, or a spin box and
// the line edit inside it.
bool sameControl(const QObject *object, const QObject *focus)
{
    if (!object || !focus)
        return false;
    if (object == focus)
        return true;
    const auto *widget = qobject_cast<const QWidget *>(object);
    const auto *focused = qobject_cast<const QWidget *>(focus);
    return widget && focused && !widget->isWindow() && !focused->isWindow()
        && (widget->isAncestorOf(focused) || focused->isAncestorOf(widget));
}

// The control has the focus, and the screen reader knows it.
bool toldOf(const QObject *object)
{
    const bool widget = object && object->isWidgetType();
    return sameControl(object, toldFocus.data()) && (!widget || sameControl(object, QApplication::focusWidget()));
}

void screenReaderUpdate(QAccessibleEvent *event)
{
    QAccessibleInterface *iface = event->accessibleInterface();
    QObject *object = event->object() ? event->object() : (iface ? iface->object() : nullptr);
    switch (event->type()) {
    case QAccessible::Focus:
        toldFocus = object;
        break;
    case QAccessible::TextCaretMoved:
    case QAccessible::TextSelectionChanged:
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated: {
        if (!toldOf(object))
            return;
        const bool caret = event->type() == QAccessible::TextCaretMoved;
        if (!caret && object && qobject_cast<QAbstractSpinBox *>(object->parent()))
            return;
        const auto *heard = iface ? dynamic_cast<HeardText *>(iface) : nullptr;
        if (heard && !heard->heardAsShown() && iface->textInterface()) {
            if (caret) {
                QAccessibleTextCursorEvent moved(object, iface->textInterface()->cursorPosition());
                pass(&moved);
                return;
            }
            if (event->type() != QAccessible::TextSelectionChanged)
                return;
        }
        break;
    }
    default:
        break;
    }
    pass(event);
}

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
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && !combo->isEditable())
        return new AccessibleComboBox(combo);
    if (auto *radio = qobject_cast<QAbstractButton *>(widget);
        radio && className == QLatin1String("QRadioButton") && qobject_cast<QGroupBox *>(radio->parentWidget()))
        return new AccessibleRadioButton(radio);
    // A role a layout gives a widget: a decoration between boxes, or a
    // container that groups controls under the label that is its buddy.
    const QString role = widget->property("accessibleRole").toString();
    if (role == QLatin1String("separator"))
        return new QAccessibleWidget(widget, QAccessible::Separator);
    if (role == QLatin1String("grouping"))
        return new QAccessibleWidget(widget, QAccessible::Grouping);
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
    if (!pane->property(workingHtmlProperty).isValid())
        pane->installEventFilter(new HeardCaretKeys(pane));
    pane->setProperty(workingHtmlProperty, html);
    pane->setHtml(html);
}

void speakAs(QLineEdit *box, const QString &spoken, int from)
{
    const QVariantList now{box->text(), spoken, from};
    if (box->property(spokenProperty).toList() == now)
        return;
    box->setProperty(spokenProperty, spoken.isEmpty() ? QVariant() : QVariant(now));
}

void speakBits(QLineEdit *box, BitsShown shown)
{
    const auto speak = [box, shown](const QString &text) {
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
        speakAs(box, said);
    };
    QObject::connect(box, &QLineEdit::textChanged, box, speak);
    speak(box->text());
}

void speakMantissaAndExponent(QLineEdit *mantissa, QLineEdit *exponent)
{
    const auto speak = [mantissa, exponent] {
        const QString said = spoken::floating(mantissa->text(), exponent->text());
        speakAs(mantissa, said);
        // The exponent's digits are the ones after its word.
        speakAs(exponent, said, std::max(0, int(said.lastIndexOf(QStringLiteral("exponent")))));
    };
    QObject::connect(mantissa, &QLineEdit::textChanged, exponent, speak);
    QObject::connect(exponent, &QLineEdit::textChanged, mantissa, speak);
    speak();
}

void describeUntilEdited(QLineEdit *box, const QString &description)
{
    box->setAccessibleDescription(description);
    if (!description.isEmpty())
        QObject::connect(
            box, &QLineEdit::textChanged, box, [box] { box->setAccessibleDescription(QString()); },
            Qt::SingleShotConnection);
}

void applyAccessibleRoles(QWidget *window)
{
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->property("accessibleRole").isValid())
            continue;
        // An interface made while the layout was being built (Qt makes one
        // as a widget is created) is made again, with the role.
        if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(widget);
            made && made->role() != QAccessible::Separator && made->role() != QAccessible::Grouping)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
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
    if (!installed) {
        QAccessible::installFactory(factory);
        nextHandler = QAccessible::installUpdateHandler(screenReaderUpdate);
    }
    installed = true;
}

namespace {

class AccessibleNotice final : public QAccessibleWidget {
public:
    explicit AccessibleNotice(QWidget *notice) : QAccessibleWidget(notice, QAccessible::Notification) { }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(qApp); }
};

QAccessibleInterface *noticeFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("QWidget") || !object || !object->property("notice").toBool())
        return nullptr;
    return new AccessibleNotice(static_cast<QWidget *>(object));
}

}  // namespace

Notice::Notice(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(noticeFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setProperty("notice", true);
    setGeometry(0, 0, 1, 1);
    hide();
}

// Shown again, it is said again.
void Notice::say(const QString &text)
{
    hide();
    setAccessibleName(text);
    if (!text.isEmpty())
        show();
}

}  // namespace quorvex
