// SPDX-License-Identifier: MIT
// Quorvex: shows how numbers are written in binary. See frmbinarymenu.h for
// how the program runs.
#include "windows/accessibility.h"
#include "app/appearance.h"
#include "app/commandline.h"
#include "app/frmbinarymenu.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // A worksheet, --help or --version: done without a window.
    if (quorvex::wantsCommandLine(argc, argv))
        return quorvex::runCommandLine(argc, argv);
    QApplication app(argc, argv);
    quorvex::installAccessibility();
    quorvex::applyAppearance();
    frmBinaryMenu menu;
    menu.show();
    return app.exec();
}
