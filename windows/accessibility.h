// SPDX-License-Identifier: MIT
// What a screen reader is told about the program's widgets, beyond what Qt
// tells it by itself.
#pragma once

#include <QString>

namespace quorvex {



// Installs the program's accessibility factory; call it once, before any
// window is shown. It gives
// - every line edit a text interface that answers every boundary at every
//   offset (Qt 6.4's own never returns for the word at the offset just past
//   the last character, and a screen reader asks for it on Ctrl+Right);
// - the menu the role of a window, and converter windows the role of a
//   dialog, modal while they are;
// - horizontal and vertical lines the role of a separator, which screen
//   readers pass over, instead of an unnamed frame.
void installAccessibility();

// The segment of `text` of the given boundary type (QAccessible::TextBoundaryType)
// at, before or after `offset`, as a line edit's accessible text interface
// answers: the text, and its start and end. Where there is no such segment
// the text is empty; at the offset just past the end, the segment "at" it
// is the empty one there (start = end = length) for characters, words and
// sentences, and the whole text for lines, paragraphs and no boundary.
enum class TextSegment { At, Before, After };
QString textSegment(const QString &text, int boundary, TextSegment which, int offset, int *start, int *end);

}  // namespace quorvex
