// SPDX-License-Identifier: MIT
#include "windows/fixedfont.h"

namespace quorvex {

QStringList fixedWidthFamilies()
{
    return {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono"),
            QStringLiteral("Noto Sans Mono"), QStringLiteral("FreeMono")};
}

QFont fixedWidthFont(qreal pointSize)
{
    QFont font;
    font.setFamilies(fixedWidthFamilies());
    // Past the list, any fixed-width family the system has.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    return font;
}

QString fixedWidthFamiliesCss()
{
    QStringList quoted;
    for (const QString &family : fixedWidthFamilies())
        quoted << u'\'' + family + u'\'';
    return quoted.join(QStringLiteral(", ")) + QStringLiteral(", monospace");
}

}  // namespace quorvex
