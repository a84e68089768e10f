// SPDX-License-Identifier: MIT
// The review at the end of a run: each question in words with the
// student's answer, the right answer and what went wrong, the score, and a
// way to ask the wrong ones again.
#pragma once

#include "practice/run.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmRunReview;
}

namespace quorvex {

class frmRunReview : public QDialog {
    Q_OBJECT
public:
    // What exec() returns when the student asks for the wrong questions
    // again.
    static constexpr int TryAgain = 2;

    // `problem`: what went wrong saving the progress, or nothing.
    frmRunReview(const practice::Run &run, const QString &problem, QWidget *parent = nullptr);
    ~frmRunReview() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::frmRunReview> ui;
};

}  // namespace quorvex
