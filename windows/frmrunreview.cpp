// SPDX-License-Identifier: MIT
#include "windows/frmrunreview.h"

#include "windows/accessibility.h"
#include "ui_frmrunreview.h"

#include <QEvent>
#include <QHeaderView>
#include <QScreen>

namespace quorvex {

namespace {

// Wide enough for a question in words and a verdict's sentence beside it.
constexpr QSize defaultSize(860, 480);

enum Column { QuestionColumn, AnswerColumn, RightColumn, VerdictColumn };

}  // namespace

frmRunReview::frmRunReview(const practice::Run &run, const QString &problem, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmRunReview>())
{
    ui->setupUi(this);
    applyAccessibleRoles(this);
    const std::vector<practice::RunAnswer> &answers = run.answers();
    ui->tblQuestions->setRowCount(int(answers.size()));
    for (int row = 0; row < int(answers.size()); ++row) {
        const practice::RunAnswer &a = answers[std::size_t(row)];
        // The verdict in short; all of it on a pointer's rest.
        const QString cells[] = {run.questions().at(std::size_t(row)).text, a.answer, a.right,
                                 practice::firstSentence(a.verdict.text)};
        for (int column = QuestionColumn; column <= VerdictColumn; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column == VerdictColumn)
                item->setToolTip(a.verdict.text);
            ui->tblQuestions->setItem(row, column, item);
        }
    }
    QHeaderView *header = ui->tblQuestions->horizontalHeader();
    header->setSectionResizeMode(QuestionColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(VerdictColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(AnswerColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(RightColumn, QHeaderView::ResizeToContents);
    // Each row as tall as its wrapped words, at the columns' widths once the
    // table has its size (the header stretches its columns after a resize).
    ui->tblQuestions->viewport()->installEventFilter(this);

    const practice::Tally tally = run.tally();
    ui->lblSummary->setText(tally.text());
    ui->lblSummary->setAccessibleName(tally.text());
    ui->lblSummary->setFocusPolicy(Qt::StrongFocus);  // a Tab stop, read by a screen reader
    ui->lblProblem->setText(problem);
    ui->lblProblem->setVisible(!problem.isEmpty());
    ui->lblProblem->setFocusPolicy(problem.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    ui->cmdTryAgain->setEnabled(tally.right < tally.asked);

    connect(ui->cmdTryAgain, &QPushButton::clicked, this, [this] { done(TryAgain); });
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    resize(defaultSize.boundedTo(screen()->availableGeometry().size()));
    ui->lblSummary->setFocus();
}

frmRunReview::~frmRunReview() = default;

bool frmRunReview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        QMetaObject::invokeMethod(ui->tblQuestions, &QTableWidget::resizeRowsToContents, Qt::QueuedConnection);
    return QDialog::eventFilter(watched, event);
}

}  // namespace quorvex
