// SPDX-License-Identifier: MIT
// The main menu, and how the program runs:
//
//   main -> frmBinaryMenu (main window, not modal)
//     cmdMenu_Click(Index) -> converter window, built afresh, shown modally;
//       the handler waits inside the modal show
//         Convert -> the window's conversion function (no widgets involved)
//           -> results written into the window's boxes, or a message box
//     (the workbench likewise: its answers and working come from
//      quorvex::workbench::solve, a refusal in the answer box)
//     the user closes the converter window -> it is discarded -> menu again
//   closing the menu ends the program.
#pragma once

#include <QWidget>

#include <memory>

class QButtonGroup;

namespace Ui {
class frmBinaryMenu;
}

class frmBinaryMenu : public QWidget {
    Q_OBJECT
public:
    explicit frmBinaryMenu(QWidget *parent = nullptr);
    ~frmBinaryMenu() override;

    // Opens converter window Index (0 to 3), or the workbench (4), and
    // returns once it is closed.
    void cmdMenu_Click(qint16 Index);

private:
    std::unique_ptr<Ui::frmBinaryMenu> ui;
    QButtonGroup *cmdMenu;
};
