// SPDX-License-Identifier: MIT
#include "windows/plaintext.h"

#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace quorvex {

QString plainWorking(const QString &working)
{
    QString html = working;
    html.replace(QStringLiteral("<sup>"), QStringLiteral("^")).remove(QStringLiteral("</sup>"));
    QTextDocument document;
    document.setHtml(html);
    QString out;
    for (QTextFrame::iterator it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto *table = qobject_cast<QTextTable *>(it.currentFrame())) {
            for (int row = 0; row < table->rows(); ++row) {
                QStringList cells;
                for (int column = 0; column < table->columns(); ++column) {
                    QTextCursor cell = table->cellAt(row, column).firstCursorPosition();
                    cell.setPosition(table->cellAt(row, column).lastPosition(), QTextCursor::KeepAnchor);
                    cells << cell.selectedText();
                }
                out += cells.join(QStringLiteral(" | ")).replace(QChar::Nbsp, u' ') + u'\n';
            }
        } else if (it.currentBlock().isValid()) {
            out += it.currentBlock().text().replace(QChar::Nbsp, u' ') + u'\n';
        }
    }
    return out;
}

}  // namespace quorvex
