// SPDX-License-Identifier: MIT
// The fixed-width font that bit strings, patterns and columns of figures are
// shown in. Like the proportional font (app/appearance), it is a family the
// package installs rather than whatever the desktop calls "monospace", so
// the working takes the room it was laid out for: Liberation Mono, from
// fonts-liberation, as tall as Liberation Sans. Where it is missing, the
// usual Debian fixed-width families follow, then the system's own.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace quorvex {

// The families in the order they are tried.
QStringList fixedWidthFamilies();

// The font at `pointSize` points.
QFont fixedWidthFont(qreal pointSize);

// The families as a style sheet's font-family list, quoted, ending in the
// generic monospace.
QString fixedWidthFamiliesCss();

}  // namespace quorvex
