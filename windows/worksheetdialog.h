// SPDX-License-Identifier: MIT
// The worksheet dialog: new questions in the workbench's format, or a mixed
// sheet of a level's questions, written as a PDF with their answers and
// working on the pages after them. The teacher names the file and chooses
// the level, how many questions, which kinds (for the format's own) and the
// seed (shown, so the same sheet can be made again).
#pragma once

#include "conversions/format.h"
#include "windows/worksheet.h"

#include <QDialog>

#include <memory>

namespace Ui {
class WorksheetDialog;
}

namespace quorvex {

class WorksheetDialog : public QDialog {
    Q_OBJECT
public:
    explicit WorksheetDialog(const Format &format, QWidget *parent = nullptr);
    ~WorksheetDialog() override;

    // Writes the sheet and closes the dialog, saying where it went; when it
    // cannot, says why and stays open.
    void accept() override;

private:
    void browse();
    void allowWritingIfAsked();
    // The options the dialog's controls choose.
    WorksheetOptions options() const;
    void showProblem(const QString &problem, bool onOk);

    std::unique_ptr<Ui::WorksheetDialog> ui;
    Format m_format;
    QString m_confirmedFile;  // a name whose replacing the file dialog has confirmed
};

}  // namespace quorvex
