// SPDX-License-Identifier: MIT
// The workbench window: any format the workbench offers, both ways. The
// student picks a representation and its widths, types a number or bits, and
// asks for the bits, the denary value, the normalised form or the range; the
// answer comes with its working, always shown.
//
// Practice in the same window: the student types a question (or asks for a
// new one), chooses its direction with the buttons, writes their own answer
// and checks it: the verdict says what went wrong, the working marks where
// the answer parts from the method, and a count keeps the run's score.
//
// A run of questions (frmworkbenchrun.cpp): the start dialog chooses the
// level, the topics and how many; each question is set here in its own
// format, marked by Check, and followed on New question, which reads "Next
// question" meanwhile; the question's controls are locked until it is
// answered. After the last, the review, and the progress saved.
#pragma once

#include "conversions/format.h"
#include "topics/workbench.h"
#include "windows/converterwindow.h"

#include "practice/practice.h"
#include "practice/progress.h"
#include "practice/run.h"

#include <QRandomGenerator>

#include <memory>

namespace Ui {
class frmWorkbench;
}

namespace quorvex {

class Notice;
class WorkingPane;

class frmWorkbench : public ConverterWindow {
    Q_OBJECT
public:
    explicit frmWorkbench(QWidget *parent = nullptr);
    ~frmWorkbench() override;

    // The format the controls describe.
    Format format() const;
    // What was last asked, and what Check marks.
    workbench::Operation lastAsked() const { return m_lastAsked; }
    workbench::Calculation calculation(workbench::Operation operation) const;

    // Answers the input in the chosen format and shows the answer and its
    // working; Enter in the input box asks again what was last asked.
    void answer(workbench::Direction direction);

    // Marks the student's own answer to the question in the input box, for
    // the direction last asked.
    void check();

    // A new question for the format and the direction last asked (the range
    // asks for bits), with no answer shown yet; with a level chosen, one of
    // the kinds that level sets in the chosen format's topic (or in any, when
    // it sets none there), in the widths it sets them.
    void newQuestion();

    // The next step of the method for the question in the boxes, one step
    // more each press, up to the step before the answer.
    void hint();

    // Sets the controls to `f`; false when no topic offers it.
    bool setFormat(const Format &f);

    // Opens the worksheet dialog for the chosen format.
    void writeWorksheet();

    // Opens the dialog for a run of questions and starts the run chosen
    // there; during a run, ends it.
    void startRun();
    // The run on, or none.
    const practice::Run *run() const { return m_run.get(); }

private:
    void showWidths();
    void showOperands();
    void keepFixedWidthAboveZero();
    // Clears the answer, the verdict and the working, which no longer fit
    // what the window shows.
    void clearAnswer();
    void showVerdict(const QString &text);
    void showQuestion(const QString &text);
    void showPattern(workbench::Operation operation, bool refused, const QString &answer);
    void readFlipped(const QString &bits);
    // Forgets the hints taken: the question has changed.
    void forgetHints();
    void focusVerdict();
    // Puts a question's operands in their boxes and its words above them.
    void pose(workbench::Operation operation, const workbench::Calculation &question, const QString &text);

    // A run: its questions one by one, each answer kept, the review at the
    // end (frmworkbenchrun.cpp).
    void beginRun(std::vector<practice::Asked> questions);
    void poseRunQuestion();
    void keepRunAnswer(const practice::Verdict &verdict, const QString &right);
    void nextRunQuestion();
    void endRun();
    void lockQuestion(bool locked);
    practice::ProgressStore &progress();

    std::unique_ptr<Ui::frmWorkbench> ui;
    WorkingPane *m_working;
    Notice *m_notice;
    workbench::Direction m_lastAsked = workbench::Direction::ToBinary;
    bool m_flipping = false;  // answering a flipped bit
    practice::Tally m_tally;  // for this opening of the window
    QStringList m_hints;      // the question's steps before its answer
    int m_hintsShown = 0;
    bool m_hinted = false;    // a hint was taken for the question in the boxes
    QRandomGenerator m_random{QRandomGenerator::system()->generate()};
    std::unique_ptr<practice::Run> m_run;  // while a run is on
    // Read when a run is first started, in this opening of the window.
    std::unique_ptr<practice::ProgressStore> m_progress;
};

}  // namespace quorvex
