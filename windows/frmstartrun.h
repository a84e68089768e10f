// SPDX-License-Identifier: MIT
// The dialog that starts a run of questions: the level, the topics drawn
// from (only those the level sets can be drawn from), how many questions,
// and the student's progress so far in each topic. OK starts the run.
#pragma once

#include "practice/levels.h"
#include "practice/progress.h"

#include <QDialog>

#include <memory>
#include <vector>

namespace Ui {
class frmStartRun;
}

namespace quorvex {

class frmStartRun : public QDialog {
    Q_OBJECT
public:
    // `problem`: what went wrong reading the saved progress, or nothing.
    frmStartRun(const practice::Progress &progress, const QString &problem, QWidget *parent = nullptr);
    ~frmStartRun() override;

    practice::Level level() const;
    int count() const;
    // The level's kinds in the checked topics.
    std::vector<practice::Kind> kinds() const;

private:
    void showLevel();
    void allowStarting();

    std::unique_ptr<Ui::frmStartRun> ui;
    QString m_problem;
};

}  // namespace quorvex
