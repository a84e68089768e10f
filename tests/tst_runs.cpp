// SPDX-License-Identifier: MIT
// A run of questions through real widgets: started from its dialog, each
// question set in its own format, answered, reviewed, its wrong questions
// tried again, and the progress read back by another window; a progress
// file that holds none, and a folder that cannot be written, each said once
// with the run kept. The program's data folder is a temporary one.
#include "formats.h"
#include "guitest.h"
#include "practice/progress.h"
#include "topics/registry.h"
#include "windows/frmworkbench.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
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
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(folder()).removeRecursively();
        QFile::remove(folder());
        h = std::make_unique<Harness<frmWorkbench>>();
    }
    void cleanup()
    {
        QVERIFY2(h->watcher.messages().isEmpty(), "a message box appeared");
        h.reset();
    }
    void formatOfEveryKind_data();
    void formatOfEveryKind();
    void runReviewedTriedAgainAndKept();
    void corruptFileSaidOnce();
    void unwritableFolderSaidOnce_data();
    void unwritableFolderSaidOnce();

private:
    frmWorkbench &w() { return h->window; }
    template <class T = QWidget>
    T *get(const char *name) { return w().findChild<T *>(name); }

    // Starts a run of `count` questions at the level `level` (its index)
    // from the start dialog; `inDialog` sees the dialog first.
    void startRun(frmWorkbench &window, int level, int count,
                  const std::function<void(QWidget *)> &inDialog = [](QWidget *) {})
    {
        QVERIFY(openModal(window.findChild<QAbstractButton *>("cmdStartRun"), [&](QWidget *dialog) {
            inDialog(dialog);
            dialog->findChild<QComboBox *>("cboLevel")->setFocus();
            key(dialog, Qt::Key_Home);
            for (int i = 0; i < level; ++i)
                key(dialog, Qt::Key_Down);
            dialog->findChild<QSpinBox *>("spnCount")->setFocus();
            retype(dialog, QString::number(count));
            click(dialog->findChild<QDialogButtonBox *>("buttons")->button(QDialogButtonBox::Ok));
        }));
        QVERIFY(window.run());
    }
    // The right answer to the run's question, from the workbench.
    QString rightAnswer()
    {
        const practice::Asked &asked = w().run()->current();
        return workbench::solve(asked.kind.format, asked.kind.operation, asked.question).text;
    }
    void answer(const QString &mine)
    {
        click(get("txtMyAnswer"));
        retype(&w(), mine);
        click(get("cmdCheck"));
    }
    // Answers the last question and runs `inReview` in the review.
    void answerLast(const QString &mine, const std::function<void(QWidget *)> &inReview)
    {
        click(get("txtMyAnswer"));
        retype(&w(), mine);
        QVERIFY(openModal(get<QAbstractButton>("cmdCheck"), inReview));
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

void TestRuns::formatOfEveryKind_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("kind");
    for (practice::Level level : practice::allLevels()) {
        const std::vector<practice::Kind> kinds = practice::levelKinds(level);
        for (int k = 0; k < int(kinds.size()); ++k)
            QTest::addRow("%s %s %s", qPrintable(practice::levelName(level)),
                          qPrintable(workbench::formatName(kinds[std::size_t(k)].format)),
                          qPrintable(workbench::operationName(kinds[std::size_t(k)].operation)))
                << int(level) << k;
    }
}

// The controls describe each kind's format once set to it, from another.
void TestRuns::formatOfEveryKind()
{
    QFETCH(int, level);
    QFETCH(int, kind);
    const Format wanted = practice::levelKinds(practice::Level(level)).at(std::size_t(kind)).format;
    for (const char *from : {"fixed:0.8", "ieee:double", "float:16:6"}) {
        w().setFormat(testformats::named(from));
        w().setFormat(wanted);
        QCOMPARE(workbench::formatName(w().format()), workbench::formatName(wanted));
        QCOMPARE(w().format().rounding, wanted.rounding);
        QCOMPARE(w().format().preset, wanted.preset);
    }
}

// Ten A level questions, the even ones answered right; the review lists
// them, and tries the five wrong ones again; another window reads the
// progress saved.
void TestRuns::runReviewedTriedAgainAndKept()
{
    startRun(w(), 1, 10);
    QMap<QString, practice::Score> expected;
    QStringList typed, rights;
    for (int i = 0; i < 10; ++i) {
        const practice::Asked asked = w().run()->current();
        QCOMPARE(get<QLabel>("lblQuestion")->text(), QStringLiteral("Question %1 of 10: ").arg(i + 1) + asked.text);
        QCOMPARE(workbench::formatName(w().format()), workbench::formatName(asked.kind.format));
        QCOMPARE(get<QLineEdit>("txtInput")->text(), asked.question.operands.value(0));
        QVERIFY(!get("cmdNewQuestion")->isEnabled());
        QVERIFY(!get("cboFormat")->isEnabled() && !get("txtInput")->isEnabled() && !get("cmdToBinary")->isEnabled());
        rights << rightAnswer();
        typed << (i % 2 == 0 ? rights.last() : QStringLiteral("1") + rights.last());
        practice::Score &s = expected[practice::topicId(asked.kind.format)];
        ++s.asked;
        s.right += i % 2 == 0 ? 1 : 0;
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
    answerLast(typed.last(), [&](QWidget *review) {
        auto *table = review->findChild<QTableWidget *>("tblQuestions");
        QCOMPARE(table->accessibleName(), QStringLiteral("Questions of the run"));
        QCOMPARE(table->rowCount(), 10);
        for (int row = 0; row < 10; ++row) {
            QCOMPARE(table->item(row, 0)->text(), questions[std::size_t(row)].text);
            QCOMPARE(table->item(row, 1)->text(), typed[row]);
            QCOMPARE(table->item(row, 2)->text(), rights[row]);
            QCOMPARE(table->item(row, 3)->text() == QStringLiteral("Right."), row % 2 == 0);
        }
        QCOMPARE(review->findChild<QLabel *>("lblSummary")->text(), QStringLiteral("5 of 10 right"));
        QVERIFY(!review->findChild<QLabel *>("lblProblem")->isVisible());
        auto *again = review->findChild<QPushButton *>("cmdTryAgain");
        QCOMPARE(again->accessibleName(), QStringLiteral("Try these again"));
        QVERIFY(again->isEnabled());
        click(again);
    });
    // Exactly the wrong ones, in order.
    QVERIFY(w().run());
    QCOMPARE(w().run()->count(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(w().run()->questions()[std::size_t(i)].text, questions[std::size_t(2 * i + 1)].text);
    QCOMPARE(get<QLabel>("lblQuestion")->text(), QStringLiteral("Question 1 of 5: ") + questions[1].text);

    const auto saved = practice::progressFromJson(contents(practice::progressPath()));
    QVERIFY(std::holds_alternative<practice::Progress>(saved));
    QCOMPARE(std::get<practice::Progress>(saved).topics, expected);
    Harness<frmWorkbench> second;
    const QString shown = progressShown(second.window);
    for (const workbench::Topic *topic : workbench::topics()) {
        const practice::Score s = expected.value(QString::fromUtf8(topic->representation().id));
        const QString line = QStringLiteral("%1: %2 of %3 right").arg(topic->title()).arg(s.right).arg(s.asked);
        QVERIFY2(shown.contains(line + u'\n') || shown.endsWith(line) || s.asked == 0, qPrintable(shown));
        QVERIFY2(s.asked > 0 || !shown.contains(topic->title() + u':'), qPrintable(shown));
    }
}

// A file that is not progress is said in the first start dialog only, kept
// aside whole, and the run is saved afresh.
void TestRuns::corruptFileSaidOnce()
{
    QVERIFY(QDir().mkpath(folder()));
    QFile file(practice::progressPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\"version\": 1, \"topics\": ");
    file.close();
    for (int opening = 0; opening < 2; ++opening) {
        startRun(w(), 0, 1, [&](QWidget *dialog) {
            const auto *problem = dialog->findChild<QLabel *>("lblProblem");
            QCOMPARE(problem->isVisible(), opening == 0);
            QVERIFY2(opening == 1 || problem->text().contains("It is kept as progress.json.corrupt"),
                     qPrintable(problem->text()));
            QCOMPARE(dialog->findChild<QLabel *>("lblProgress")->text(),
                     opening == 0 ? QStringLiteral("No runs yet.") : QStringLiteral("Unsigned integer: 1 of 1 right"));
        });
        answerLast(rightAnswer(), [&](QWidget *review) {
            QVERIFY(!review->findChild<QLabel *>("lblProblem")->isVisible());
            QVERIFY(!review->findChild<QPushButton *>("cmdTryAgain")->isEnabled());
        });
    }
    QCOMPARE(contents(practice::progressPath() + ".corrupt"), QByteArray("{\"version\": 1, \"topics\": "));
    const auto saved = practice::progressFromJson(contents(practice::progressPath()));
    QVERIFY(std::holds_alternative<practice::Progress>(saved));
    QCOMPARE(std::get<practice::Progress>(saved).of("int"), (practice::Score{2, 2, 0}));
}

void TestRuns::unwritableFolderSaidOnce_data()
{
    QTest::addColumn<bool>("readOnly");  // or a file where the folder goes
    QTest::newRow("a file where the folder goes") << false;
    QTest::newRow("a read-only folder") << true;
}

// Saving fails: the first review says so, the next one does not, and the
// runs stay counted in the window; a run ended early counts what it asked.
void TestRuns::unwritableFolderSaidOnce()
{
    QFETCH(bool, readOnly);
    if (readOnly) {
        QVERIFY(QDir().mkpath(folder()));
        QVERIFY(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(QDir(folder()).filePath("probe"));
        if (probe.open(QIODevice::WriteOnly))
            QSKIP("this user writes in a read-only folder");
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(folder()).absolutePath()));
        QFile file(folder());
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    startRun(w(), 0, 1);
    answerLast(rightAnswer(), [&](QWidget *review) {
        const QString said = review->findChild<QLabel *>("lblProblem")->text();
        QVERIFY2(said.contains("could not be saved") && review->findChild<QLabel *>("lblProblem")->isVisible(),
                 qPrintable(said));
    });
    startRun(w(), 0, 3);
    answer("");
    QCOMPARE(get<QPushButton>("cmdStartRun")->text(), QStringLiteral("End the &run"));
    QVERIFY(openModal(get<QAbstractButton>("cmdStartRun"), [&](QWidget *review) {
        QCOMPARE(review->findChild<QTableWidget *>("tblQuestions")->rowCount(), 1);
        QVERIFY(!review->findChild<QLabel *>("lblProblem")->isVisible());
    }));
    QVERIFY(!w().run());
    QVERIFY(get("cboFormat")->isEnabled() && get("cmdNewQuestion")->isEnabled());
    QCOMPARE(get<QPushButton>("cmdNewQuestion")->text(), QStringLiteral("New &question"));
    QCOMPARE(progressShown(w()), QStringLiteral("Unsigned integer: 1 of 2 right"));
}

QTEST_MAIN(TestRuns)
#include "tst_runs.moc"
