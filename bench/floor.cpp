// SPDX-License-Identifier: MIT
// The floor for start-up measurements: the least a Qt Widgets program does,
// one window with one button.
#include <QApplication>
#include <QPushButton>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QPushButton button(QStringLiteral("Floor"));
    button.setWindowTitle(QStringLiteral("Floor"));
    button.show();
    return app.exec();
}
