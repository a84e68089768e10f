// SPDX-License-Identifier: MIT
#include "windows/runtimeguard.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace quorvex {

void showMessage(QWidget *owner, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorvex"), text, QMessageBox::Ok, owner);
    box.exec();
}

QString runtimeErrorText(rt::ErrorKind kind)
{
    switch (kind) {
    case rt::ErrorKind::Overflow:
        return QCoreApplication::translate(
            "RuntimeError", "Overflow: the number is too large for this conversion");
    case rt::ErrorKind::SubscriptOutOfRange:
        return QCoreApplication::translate(
            "RuntimeError", "Subscript out of range: the number needs more bits than this conversion has");
    case rt::ErrorKind::TypeMismatch:
        return QCoreApplication::translate(
            "RuntimeError", "Type mismatch: the text cannot be read as a number");
    case rt::ErrorKind::FloatingPointFault:
        return QCoreApplication::translate("RuntimeError", "Floating-point error");
    }
    return QCoreApplication::translate("RuntimeError", "Floating-point error");
}

}  // namespace quorvex
