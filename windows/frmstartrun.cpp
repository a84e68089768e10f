// SPDX-License-Identifier: MIT
#include "windows/frmstartrun.h"

#include "topics/registry.h"
#include "windows/accessibility.h"
#include "ui_frmstartrun.h"

#include <QPushButton>
#include <QScrollBar>

namespace quorvex {

namespace {

constexpr int defaultCount = 10, mostQuestions = 50;
constexpr int topicRole = Qt::UserRole;

}  // namespace

frmStartRun::frmStartRun(const practice::Progress &progress, const QString &problem, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmStartRun>()), m_problem(problem)
{
    ui->setupUi(this);
    applyAccessibleRoles(this);
    for (practice::Level level : practice::allLevels())
        ui->cboLevel->addItem(practice::levelTitle(level), int(level));
    ui->spnCount->setRange(1, mostQuestions);
    ui->spnCount->setValue(defaultCount);

    // Every topic, checked; and the progress of those a run has asked.
    QStringList lines;
    for (const workbench::Topic *topic : workbench::topics()) {
        const QString id = QString::fromUtf8(topic->representation().id);
        auto *item = new QListWidgetItem(topic->title(), ui->lstTopics);
        item->setData(topicRole, id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        if (progress.of(id).asked > 0)
            lines << practice::progressLine(topic->title(), progress.of(id));
    }
    // Every topic's name shows whole, without scrolling sideways.
    ui->lstTopics->setMinimumWidth(ui->lstTopics->sizeHintForColumn(0) + 2 * ui->lstTopics->frameWidth()
                                   + ui->lstTopics->verticalScrollBar()->sizeHint().width());
    ui->lstTopics->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->lblProgress->setText(lines.isEmpty() ? tr("No runs yet.") : lines.join(u'\n'));
    // Its caption names it for a screen reader already.
    ui->lblProgress->setAccessibleName(ui->lblProgress->text());
    // A Tab stop, so that a screen reader reads it.
    ui->lblProgress->setFocusPolicy(Qt::StrongFocus);

    connect(ui->cboLevel, &QComboBox::currentIndexChanged, this, &frmStartRun::showLevel);
    connect(ui->lstTopics, &QListWidget::itemChanged, this, &frmStartRun::allowStarting);
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showLevel();
    ui->cboLevel->setFocus();
}

frmStartRun::~frmStartRun() = default;

practice::Level frmStartRun::level() const { return practice::Level(ui->cboLevel->currentData().toInt()); }

int frmStartRun::count() const { return ui->spnCount->value(); }

std::vector<practice::Kind> frmStartRun::kinds() const
{
    QStringList checked;
    for (int i = 0; i < ui->lstTopics->count(); ++i) {
        const QListWidgetItem *item = ui->lstTopics->item(i);
        if (item->checkState() == Qt::Checked)
            checked << item->data(topicRole).toString();
    }
    return practice::kindsIn(level(), checked);
}

// A topic the level sets no question in cannot be drawn from; it keeps its
// check for another level.
void frmStartRun::showLevel()
{
    QStringList set;
    for (const practice::Kind &kind : practice::levelKinds(level()))
        set << practice::topicId(kind.format);
    const QSignalBlocker blocker(ui->lstTopics);
    for (int i = 0; i < ui->lstTopics->count(); ++i) {
        QListWidgetItem *item = ui->lstTopics->item(i);
        const bool drawn = set.contains(item->data(topicRole).toString());
        item->setFlags(drawn ? item->flags() | Qt::ItemIsEnabled : item->flags() & ~Qt::ItemIsEnabled);
    }
    allowStarting();
}

void frmStartRun::allowStarting()
{
    const bool any = !kinds().empty();
    ui->buttons->button(QDialogButtonBox::Ok)->setEnabled(any);
    const QString none = any ? QString() : tr("The level sets no question in the checked topics: check another.");
    const QString text = m_problem.isEmpty() ? none : none.isEmpty() ? m_problem : m_problem + u'\n' + none;
    ui->lblProblem->setText(text);
    ui->lblProblem->setVisible(!text.isEmpty());
    ui->lblProblem->setFocusPolicy(text.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
}

}  // namespace quorvex
