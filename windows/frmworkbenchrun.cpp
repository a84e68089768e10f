// SPDX-License-Identifier: MIT
// The workbench's runs of questions: the start dialog, each question set
// in its own format with the controls that would change or answer it
// locked, each first answer kept, and at the end the progress saved and
// the review, which may start a run of the wrong ones.
#include "windows/frmworkbench.h"

#include "topics/registry.h"
#include "windows/accessibility.h"
#include "windows/frmrunreview.h"
#include "windows/frmstartrun.h"
#include "windows/runtimeguard.h"
#include "ui_frmworkbench.h"

#include <QAccessible>
#include <QDateTime>

#include <algorithm>

namespace quorvex {

namespace {

void collect(QLayout *layout, QList<QWidget *> &out)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget())
            out << item->widget();
        else if (item->layout())
            collect(item->layout(), out);
    }
}

}  // namespace

void frmWorkbench::startRun()
{
    if (m_run) {
        endRun();
        return;
    }
    // What went wrong reading the progress is said the first time only.
    const QString problem = progress().load();
    frmStartRun dialog(progress().progress(), problem, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<practice::Asked> questions;
    guarded(this, [&] { questions = practice::drawQuestions(dialog.kinds(), dialog.count(), m_random); });
    if (!questions.empty())
        beginRun(std::move(questions));
}

void frmWorkbench::beginRun(std::vector<practice::Asked> questions)
{
    m_run = std::make_unique<practice::Run>(std::move(questions));
    ui->cmdNewQuestion->setText(tr("Next &question"));
    ui->cmdNewQuestion->setAccessibleName(tr("Next question"));
    ui->cmdStartRun->setText(tr("End the &run"));
    ui->cmdStartRun->setAccessibleName(tr("End the run"));
    poseRunQuestion();
}

void frmWorkbench::poseRunQuestion()
{
    const practice::Asked &asked = m_run->current();
    guarded(this, [&] {
        setFormat(asked.kind.format);
        m_lastAsked = asked.kind.operation;  // what Check marks
        pose(asked.kind.operation, asked.question, m_run->prefix() + asked.text);
    });
    lockQuestion(true);
    // The next question comes once this one is answered.
    ui->cmdNewQuestion->setEnabled(false);
    // The question's boxes are locked: a screen reader hears the question
    // in the answer box, where the student goes on.
    if (QAccessible::isActive())
        describeUntilEdited(ui->txtMyAnswer, ui->lblQuestion->text());
    ui->txtMyAnswer->setFocus(Qt::OtherFocusReason);
}

void frmWorkbench::keepRunAnswer(const practice::Verdict &verdict, const QString &right)
{
    if (m_run->answered())
        return;  // checked again: the student's own practice
    m_run->answer({ui->txtMyAnswer->text(), right, verdict, m_hinted});
    if (m_run->finished()) {
        endRun();
        return;
    }
    ui->cmdNewQuestion->setEnabled(true);
    // Return goes on to the next question; a screen reader stays on the
    // verdict.
    if (!QAccessible::isActive())
        ui->cmdNewQuestion->setFocus(Qt::OtherFocusReason);
}

void frmWorkbench::nextRunQuestion()
{
    if (m_run->next())
        poseRunQuestion();
}

// The answered questions are counted and reviewed, the run ended early
// too; the review may start a run of the wrong ones.
void frmWorkbench::endRun()
{
    const std::unique_ptr<practice::Run> run = std::move(m_run);
    lockQuestion(false);
    ui->cmdNewQuestion->setEnabled(true);
    ui->cmdNewQuestion->setText(tr("New &question"));
    ui->cmdNewQuestion->setAccessibleName(tr("New question"));
    ui->cmdStartRun->setText(tr("Start a &run\u2026"));
    ui->cmdStartRun->setAccessibleName(tr("Start a run"));
    if (run->answers().empty())
        return;
    const QString problem = progress().record(*run, QDateTime::currentDateTimeUtc());
    frmRunReview review(*run, problem, this);
    if (review.exec() == frmRunReview::TryAgain)
        beginRun(run->wrong());
}

// The question's format and widths, its boxes, and the buttons that would
// answer it or ask another.
void frmWorkbench::lockQuestion(bool locked)
{
    QList<QWidget *> controls{ui->txtInput, ui->txtSecond, ui->spnPlaces, ui->bitField};
    collect(ui->layFormat, controls);
    collect(ui->layWidthRows, controls);
    collect(ui->layButtons, controls);
    for (QWidget *control : controls)
        control->setEnabled(!locked);
    // The answering buttons are enabled only where the format has them.
    if (!locked) {
        for (QWidget *button : {ui->cmdToBinary, ui->cmdToDenary, ui->cmdToHex, ui->cmdNormalise, ui->cmdRange})
            button->setEnabled(!button->isHidden());
    }
}

practice::ProgressStore &frmWorkbench::progress()
{
    if (!m_progress)
        m_progress = std::make_unique<practice::ProgressStore>(practice::progressPath());
    return *m_progress;
}

}  // namespace quorvex
