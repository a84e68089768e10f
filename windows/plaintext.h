// SPDX-License-Identifier: MIT
// The working as plain text, as it is printed on a terminal and kept in
// approved texts: a paragraph a line, a table row a line with its cells
// between bars, and a power written 2^10 rather than as a superscript that
// plain text would lose. Needs Qt GUI's text document; no window.
#pragma once

#include <QString>

namespace quorvex {

QString plainWorking(const QString &html);

}  // namespace quorvex
