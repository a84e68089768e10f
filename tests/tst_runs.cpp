// SPDX-License-Identifier: MIT
// A run of questions through real widgets: each question set in its own
// format, answered, reviewed, the wrong ones tried again, the progress read
// back by another window; a progress file that is not one, and a folder
// that cannot be written, said once. The data folder is a temporary one.
#include "formats.h"
#include "guitest.h"
#include "practice/progress.h"
#include "topics/registry.h"
#include "windows/frmworkbench.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace guitest;
using namespace quorvex;

namespace {

QString folder() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestRuns : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(practice::progressPath().startsWith(m_home.path()), qPrintable(practice::progressPath()));
    }
    void init()
    {
        QDir(folder()).removeRecursively();
        QFile::remove(folder());
        h = std::make_unique<Harness<frmWorkbench>>();
    }
    void cleanup()
    {
        QVERIFY2(h->watcher.messages().isEmpty(), "a message box appeared");
        h.reset();
    }
    void formatOfEveryKind();
    void startDialogTabOrder();
    void runReviewedTriedAgainAndKept();
    void closedMidRunKeepsItsAnswers();
    void problemSaidOnce_data();
    void problemSaidOnce();

private:
    frmWorkbench &w() { return h->window; }
    template <class T = QWidget>
    T *get(const char *name) { return w().findChild<T *>(name); }

    // Starts a run of `count` questions at the level `level` (its index)
    // from the start dialog; `inDialog` sees the dialog at that level.
    void startRun(int level, int count, const std::function<void(QWidget *)> &inDialog = [](QWidget *) {})
    {
        QVERIFY(openModal(get<QAbstractButton>("cmdStartRun"), [&](QWidget *dialog) {
            dialog->findChild<QComboBox *>("cboLevel")->setFocus();
            key(dialog, Qt::Key_Home);
            for (int i = 0; i < level; ++i)
                key(dialog, Qt::Key_Down);
            inDialog(dialog);
            dialog->findChild<QSpinBox *>("spnCount")->setFocus();
            retype(dialog, QString::number(count));
            click(dialog->findChild<QDialogButtonBox *>("buttons")->button(QDialogButtonBox::Ok));
        }));
        QVERIFY(w().run());
    }
    // The right answer to the run's question, from the workbench.
    QString rightAnswer()
    {
        const practice::Asked &asked = w().run()->current();
        return workbench::solve(asked.kind.format, asked.kind.operation, asked.question).text;
    }
    // Answers the question; the last one's review is run in `inReview`.
    void answer(const QString &mine, const std::function<void(QWidget *)> &inReview = nullptr)
    {
        click(get("txtMyAnswer"));
        retype(&w(), mine);
        if (inReview)
            QVERIFY(openModal(get<QAbstractButton>("cmdCheck"), inReview));
        else
            click(get("cmdCheck"));
    }
    QString progressShown(frmWorkbench &window)
    {
        QString shown;
        (void)openModal(window.findChild<QAbstractButton *>("cmdStartRun"), [&](QWidget *dialog) {
            shown = dialog->findChild<QLabel *>("lblProgress")->text();
            key(dialog, Qt::Key_Escape);
        });
        return shown;
    }

    QTemporaryDir m_home;
    std::unique_ptr<Harness<frmWorkbench>> h;
};

// Tab reaches every control of the start dialog, the progress too, for a
// screen reader to read it.
void TestRuns::startDialogTabOrder()
{
    QStringList walked;
    QVERIFY(openModal(get<QAbstractButton>("cmdStartRun"), [&](QWidget *dialog) {
        dialog->findChild<QWidget *>("cboLevel")->setFocus();
        for (int i = 0; i < 5; ++i) {
            key(dialog, Qt::Key_Tab);
            walked << dialog->focusWidget()->objectName();
        }
        QCOMPARE(dialog->findChild<QLabel *>("lblProgress")->accessibleName(), QStringLiteral("No runs yet."));
        key(dialog, Qt::Key_Escape);
    }));
    QCOMPARE(walked, (QStringList{"lstTopics", "spnCount", "lblProgress", "", "", }));
}

// The controls describe each kind's format once set to it, from another.
void TestRuns::formatOfEveryKind()
{
    for (practice::Level level : practice::allLevels()) {
        for (const practice::Kind &kind : practice::levelKinds(level)) {
            for (const char *from : {"fixed:0.8", "ieee:double", "float:16:6"}) {
                w().setFormat(testformats::named(from));
                w().setFormat(kind.format);
                const Format shown = w().format();
                QVERIFY2(workbench::formatName(shown) == workbench::formatName(kind.format)
                             && shown.rounding == kind.format.rounding && shown.preset == kind.format.preset,
                         qPrintable(workbench::formatName(kind.format) + " from " + from));
            }
        }
    }
}

// Ten A level questions but floating point's, the even ones answered
// right; the review lists them, and tries the five wrong ones again;
// another window reads the progress saved.
void TestRuns::runReviewedTriedAgainAndKept()
{
    startRun(1, 10, [](QWidget *dialog) {
        dialog->findChild<QWidget *>("lstTopics")->setFocus();
        key(dialog, Qt::Key_Home);
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Space})
            key(dialog, k);
    });
    QMap<QString, practice::Score> expected;
    QStringList typed, rights;
    bool hinted = false;  // one right answer is given after a hint
    for (int i = 0; i < 10; ++i) {
        const practice::Asked asked = w().run()->current();
        QCOMPARE(get<QLabel>("lblQuestion")->text(), QStringLiteral("Question %1 of 10: ").arg(i + 1) + asked.text);
        QCOMPARE(workbench::formatName(w().format()), workbench::formatName(asked.kind.format));
        QVERIFY(!asked.kind.format.isFloating());
        QVERIFY(!get("cmdNewQuestion")->isEnabled() && !get("cboFormat")->isEnabled() && !get("txtInput")->isEnabled());
        rights << rightAnswer();
        typed << (i % 2 == 0 ? rights.last() : QStringLiteral("1") + rights.last());
        expected[practice::topicId(asked.kind.format)].asked++;
        expected[practice::topicId(asked.kind.format)].right += i % 2 == 0 ? 1 : 0;
        if (!hinted && i % 2 == 0) {
            click(get("cmdHint"));
            hinted = get<QLabel>("lblVerdict")->text().startsWith("Hint 1 of");
            expected[practice::topicId(asked.kind.format)].hinted += hinted ? 1 : 0;
        }
        if (i == 9)
            break;
        answer(typed.last());
        QCOMPARE(get<QLabel>("lblVerdict")->text() == QStringLiteral("Right."), i % 2 == 0);
        QCOMPARE(get<QPushButton>("cmdNewQuestion")->text(), QStringLiteral("Next &question"));
        // Return goes on, from the button that has the focus.
        QCOMPARE(h->focus(), get("cmdNewQuestion"));
        key(&w(), Qt::Key_Return);
    }
    const std::vector<practice::Asked> questions = w().run()->questions();
    answer(typed.last(), [&](QWidget *review) {
        auto *table = review->findChild<QTableWidget *>("tblQuestions");
        QCOMPARE(table->accessibleName(), QStringLiteral("Questions of the run"));
        QCOMPARE(table->rowCount(), 10);
        for (int row = 0; row < 10; ++row) {
            QCOMPARE(table->item(row, 0)->text(), questions[std::size_t(row)].text);
            QCOMPARE(table->item(row, 1)->text(), typed[row]);
            QCOMPARE(table->item(row, 2)->text(), rights[row]);
            QCOMPARE(table->item(row, 3)->text() == QStringLiteral("Right."), row % 2 == 0);
        }
        QVERIFY(hinted);
        QCOMPARE(review->findChild<QLabel *>("lblSummary")->text(),
                 QStringLiteral("5 of 10 right (1 of them with a hint)"));
        auto *again = review->findChild<QPushButton *>("cmdTryAgain");
        QVERIFY(again->isEnabled() && again->accessibleName() == QStringLiteral("Try these again"));
        click(again);
    });
    // Exactly the wrong ones, in order.
    QCOMPARE(w().run()->count(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(w().run()->questions()[std::size_t(i)].text, questions[std::size_t(2 * i + 1)].text);
    QCOMPARE(get<QLabel>("lblQuestion")->text(), QStringLiteral("Question 1 of 5: ") + questions[1].text);

    const auto saved = practice::progressFromJson(contents(practice::progressPath()));
    QCOMPARE(std::get<practice::Progress>(saved).topics, expected);
    QStringList lines;
    for (const workbench::Topic *topic : workbench::topics()) {
        if (const auto s = expected.value(QString::fromUtf8(topic->representation().id)); s.asked > 0)
            lines << topic->title() + QStringLiteral(": ") + practice::Tally{s.right, s.asked, s.hinted}.text();
    }
    Harness<frmWorkbench> second;
    QCOMPARE(progressShown(second.window), lines.join(u'\n'));

    // Ended early, the run is reviewed as far as it went.
    answer(QString());
    QCOMPARE(get<QPushButton>("cmdStartRun")->text(), QStringLiteral("End the &run"));
    QVERIFY(openModal(get<QAbstractButton>("cmdStartRun"), [&](QWidget *review) {
        QCOMPARE(review->findChild<QTableWidget *>("tblQuestions")->rowCount(), 1);
    }));
    QVERIFY(!w().run() && get("cboFormat")->isEnabled() && get("cmdNewQuestion")->isEnabled());
    QCOMPARE(get<QPushButton>("cmdNewQuestion")->text(), QStringLiteral("New &question"));
}

// Closing the window during a run saves the answers given so far.
void TestRuns::closedMidRunKeepsItsAnswers()
{
    startRun(0, 5);
    const QString topic = practice::topicId(w().run()->current().kind.format);
    answer(rightAnswer());
    h.reset();
    const auto saved = practice::progressFromJson(contents(practice::progressPath()));
    QCOMPARE(std::get<practice::Progress>(saved).topics.value(topic), (practice::Score{1, 1, 0}));
    h = std::make_unique<Harness<frmWorkbench>>();
}

void TestRuns::problemSaidOnce_data()
{
    QTest::addColumn<bool>("corrupt");  // a file that is not progress; or a file where the folder goes
    QTest::addColumn<QString>("said");   // in the start dialog when corrupt, else in the review
    QTest::newRow("a file that is not progress") << true << "It is kept as progress.json.corrupt";
    QTest::newRow("a file where the folder goes") << false << "could not be saved";
}

// Reading or saving the progress fails: the first start dialog or review
// says so, the next does not, and both runs stay counted in the window.
void TestRuns::problemSaidOnce()
{
    QFETCH(bool, corrupt);
    QFETCH(QString, said);
    QVERIFY(QDir().mkpath(corrupt ? folder() : QFileInfo(folder()).absolutePath()));
    QFile file(corrupt ? practice::progressPath() : folder());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\"version\": 1, \"topics\": ");
    file.close();
    const auto sees = [&](QWidget *dialog, bool saying) {
        const auto *problem = dialog->findChild<QLabel *>("lblProblem");
        QCOMPARE(problem->isVisible(), saying);
        QVERIFY2(!saying || problem->text().contains(said), qPrintable(problem->text()));
    };
    for (int run = 0; run < 2; ++run) {
        startRun(0, 1, [&](QWidget *dialog) { sees(dialog, corrupt && run == 0); });
        answer(rightAnswer(), [&](QWidget *review) {
            sees(review, !corrupt && run == 0);
            QVERIFY(!review->findChild<QPushButton *>("cmdTryAgain")->isEnabled());  // none wrong
        });
    }
    QCOMPARE(progressShown(w()), QStringLiteral("Unsigned integer: 2 of 2 right"));
    QCOMPARE(contents(practice::progressPath() + ".corrupt").isEmpty(), !corrupt);
}

QTEST_MAIN(TestRuns)
#include "tst_runs.moc"
