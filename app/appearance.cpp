// SPDX-License-Identifier: MIT
#include "app/appearance.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

namespace quorvex {

void applyAppearance()
{
    const QString family = QStringLiteral("MS Sans Serif");
    QFont::insertSubstitution(family, QStringLiteral("Liberation Sans"));
    QFont font(family);
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quorvex.png")));
}

}  // namespace quorvex
