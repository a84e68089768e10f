// SPDX-License-Identifier: MIT
#include "windows/worksheetdialog.h"

#include "practice/levels.h"
#include "practice/practice.h"
#include "topics/registry.h"
#include "windows/accessibility.h"
#include "windows/runtimeguard.h"
#include "ui_worksheetdialog.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <limits>

namespace quorvex {

using workbench::Direction;

WorksheetDialog::WorksheetDialog(const Format &format, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::WorksheetDialog>()), m_format(format)
{
    ui->setupUi(this);
    applyAccessibleRoles(this);
    ui->lblFormat->setText(practice::formatTitle(format));
    ui->cboLevel->addItem(tr("This format"));
    for (practice::Level level : practice::allLevels())
        ui->cboLevel->addItem(practice::levelTitle(level), QVariant::fromValue(int(level)));

    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    ui->txtFile->setText(QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("worksheet.pdf"))));

    const WorksheetOptions defaults;
    ui->spnQuestions->setRange(1, worksheetMostQuestions);
    ui->spnQuestions->setValue(defaults.questions);
    ui->spnSeed->setRange(0, std::numeric_limits<int>::max());
    ui->spnSeed->setValue(int(QRandomGenerator::global()->bounded(1000000)));
    // Only the questions the format's topic has (only floating point is
    // normalised).
    const QList<workbench::Operation> operations = workbench::topicOf(format)->operations();
    ui->chkToBinary->setEnabled(operations.contains(workbench::Operation::ToBinary));
    ui->chkToDenary->setEnabled(operations.contains(workbench::Operation::ToDenary));
    ui->chkToHex->setEnabled(operations.contains(workbench::Operation::ToHex));
    ui->chkNormalise->setEnabled(operations.contains(workbench::Operation::Normalise));

    connect(ui->cmdBrowse, &QPushButton::clicked, this, &WorksheetDialog::browse);
    connect(ui->cboLevel, &QComboBox::currentIndexChanged, this, &WorksheetDialog::allowWritingIfAsked);
    for (QCheckBox *kind : {ui->chkToBinary, ui->chkToDenary, ui->chkToHex, ui->chkNormalise})
        connect(kind, &QCheckBox::toggled, this, &WorksheetDialog::allowWritingIfAsked);
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &WorksheetDialog::accept);
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &WorksheetDialog::reject);
    showProblem(QString(), false);
    ui->txtFile->setFocus();
    ui->txtFile->selectAll();
}

WorksheetDialog::~WorksheetDialog() = default;

void WorksheetDialog::browse()
{
    const QString chosen = QFileDialog::getSaveFileName(this, tr("Save the worksheet as"), ui->txtFile->text(),
                                                        tr("PDF documents (*.pdf)"));
    if (chosen.isEmpty())
        return;
    m_confirmedFile = chosen.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? chosen
                                                                                     : chosen + QStringLiteral(".pdf");
    ui->txtFile->setText(QDir::toNativeSeparators(m_confirmedFile));
}

// The problem is a Tab stop, to read and select, only while there is one. A
// screen reader speaks what has the focus: a problem found on OK takes it.
void WorksheetDialog::showProblem(const QString &problem, bool onOk)
{
    ui->lblProblem->setText(problem);
    ui->lblProblem->setFocusPolicy(problem.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    if (onOk && !problem.isEmpty() && QAccessible::isActive())
        ui->lblProblem->setFocus(Qt::OtherFocusReason);
}

// At least one kind of question, for the format's own; a level's are its
// own, and the heading says what the sheet mixes.
void WorksheetDialog::allowWritingIfAsked()
{
    const bool mixed = ui->cboLevel->currentData().isValid();
    ui->grpKinds->setEnabled(!mixed);
    const WorksheetOptions o = options();
    ui->lblFormat->setText(worksheetTitle(o));
    const bool any = mixed || !o.directions.isEmpty();
    ui->buttons->button(QDialogButtonBox::Ok)->setEnabled(any);
    showProblem(any ? QString() : tr("Choose at least one kind of question."), false);
}

WorksheetOptions WorksheetDialog::options() const
{
    WorksheetOptions options;
    options.formats = {m_format};
    if (const QVariant level = ui->cboLevel->currentData(); level.isValid())
        options.levels = {practice::Level(level.toInt())};
    options.questions = ui->spnQuestions->value();
    options.seed = quint32(ui->spnSeed->value());
    options.directions.clear();
    const std::pair<QCheckBox *, Direction> kinds[] = {{ui->chkToBinary, Direction::ToBinary},
                                                       {ui->chkToDenary, Direction::ToDenary},
                                                       {ui->chkToHex, Direction::ToHex},
                                                       {ui->chkNormalise, Direction::Normalise}};
    for (const auto &[box, direction] : kinds) {
        if (box->isChecked() && box->isEnabled())
            options.directions << direction;
    }
    return options;
}

void WorksheetDialog::accept()
{
    const WorksheetOptions options = this->options();
    QString problem = worksheetProblem(options);
    QString file = QDir::fromNativeSeparators(ui->txtFile->text().trimmed());
    if (problem.isEmpty() && file.isEmpty())
        problem = tr("Name the file to write.");
    if (!problem.isEmpty()) {
        showProblem(problem, true);
        return;
    }
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".pdf");
    file = QFileInfo(file).absoluteFilePath();
    // A file named by hand is not replaced unasked.
    if (file != QFileInfo(m_confirmedFile).absoluteFilePath() && QFileInfo::exists(file)
        && QMessageBox::question(this, windowTitle(),
                                 tr("%1 already exists. Replace it?").arg(QDir::toNativeSeparators(file)))
            != QMessageBox::Yes)
        return;

    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = quorvex::writeWorksheet(options, file, &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        showProblem(tr("The worksheet could not be written: %1").arg(error), true);
        return;
    }
    QDialog::accept();
    showMessage(parentWidget(), tr("The worksheet (sheet %1) was written to %2.")
                                    .arg(options.seed)
                                    .arg(QDir::toNativeSeparators(file)));
}

}  // namespace quorvex
