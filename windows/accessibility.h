// SPDX-License-Identifier: MIT
// What a screen reader is told about the program's widgets, beyond what Qt
// tells it by itself.
#pragma once

#include <QWidget>

#include <QString>

class QLineEdit;
class QTextBrowser;
class QWidget;

namespace quorvex {

// Installs the program's accessibility factory; call it once, before any
// window is shown. It gives
// - every line edit a text interface that answers every boundary at every
//   offset (Qt 6.4's own never returns for the word at the offset just past
//   the last character, and a screen reader asks for it on Ctrl+Right);
// - the menu the role of a window, and converter windows the role of a
//   dialog, modal while they are;
// - horizontal and vertical lines the role of a separator, which screen
//   readers pass over, instead of an unnamed frame;
// - the working pane a text made for listening (see spoken::html): its
//   tables as sentences, powers and minus signs in words. The caret and
//   the selection map between the pane and that text a paragraph at a time;
//   with a screen reader listening, the arrow keys move through that text
//   a line (or character) at a time;
// - a combo box that is not editable its label as name and its item as
//   value and text, and the item told when it changes;
// - a radio button in a titled group box no label but its own text (the
//   group's title is the group's name);
// - a widget whose "accessibleRole" property says "separator" or
//   "grouping" that role;
// - every text the attributes of one run from its start to its end;
// and it lets through to a screen reader a control's caret, selection and
// text events only once the reader has been told the control has the
// focus, so that a control is heard whole, once, when it takes the focus.
void installAccessibility();

// Gives the widgets of `window` whose "accessibleRole" property is set (in
// its layout file) that role; call it once the layout is set up.
void applyAccessibleRoles(QWidget *window);

// Return (and Enter) presses the focused button of any window but a dialog,
// as Space does; a Return that a text box takes stays the box's. Safe to
// call more than once.
void installReturnPressesButtons();

// Shows the working's rich text in `pane`, keeping it for what the pane's
// accessible text says.
void showWorkingHtml(QTextBrowser *pane, const QString &html);

// A screen reader reads `box` as `spoken` while the box shows the text it
// shows now (an empty `spoken`: as shown). The caret, the selection and the
// place of each character map between the two: a digit shown to the same
// digit said, counting from `from` in `spoken`.
void speakAs(QLineEdit *box, const QString &spoken, int from = 0);

// A notification to a screen reader, which says it each time it is given:
// for news where the focus cannot go, or has stayed. It stands apart from
// the window, as a desktop notification does, so that it is said alone
// rather than after the window's title and every label in it. Not seen.
class Notice final : public QWidget {
public:
    explicit Notice(QWidget *parent);
    void say(const QString &text);
};

// A box that shows bits is read with them spelt out (see spoken.h), whatever
// it comes to show; the name stays its label. Text that is not bits is
// read as shown.
enum class BitsShown { Integer, Fraction, FixedPoint, Pattern };
void speakBits(QLineEdit *box, BitsShown shown);
// A mantissa and an exponent box, each read as the pair.
void speakMantissaAndExponent(QLineEdit *mantissa, QLineEdit *exponent);

// The accessible description of `box` until its text next changes: what a
// screen reader says after the box's name and text when the box takes the
// focus (what is asked of a question shown there).
void describeUntilEdited(QLineEdit *box, const QString &description);

// The segment of `text` of the given boundary type (QAccessible::TextBoundaryType)
// at, before or after `offset`, as a line edit's accessible text interface
// answers: the text, and its start and end. Where there is no such segment
// the text is empty; at the offset just past the end, the segment "at" it
// is the empty one there (start = end = length) for characters, words and
// sentences, the whole text for no boundary, and the last line for lines
// and paragraphs, which end after each line break (a line edit's text is
// one line).
enum class TextSegment { At, Before, After };
QString textSegment(const QString &text, int boundary, TextSegment which, int offset, int *start, int *end);

}  // namespace quorvex
