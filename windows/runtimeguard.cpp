// SPDX-License-Identifier: MIT
#include "runtimeguard.h"

#include <QMessageBox>

void showMessage(QWidget *owner, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorvex"), text, QMessageBox::Ok, owner);
    box.exec();
}

QString runtimeErrorText(rt::ErrorKind kind)
{
    switch (kind) {
    case rt::ErrorKind::Overflow:
        return QStringLiteral("Overflow: the number is too large for this conversion");
    case rt::ErrorKind::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range: the number needs more bits than this conversion has");
    case rt::ErrorKind::TypeMismatch:
        return QStringLiteral("Type mismatch: the text cannot be read as a number");
    case rt::ErrorKind::FloatingPointFault:
        return QStringLiteral("Floating-point error");
    }
    return QStringLiteral("Floating-point error");
}
