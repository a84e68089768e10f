// SPDX-License-Identifier: MIT
// Runs and saved progress through the engine: the file read back and added
// to, files that hold no progress refused in a sentence and kept aside, a
// file that cannot be read or written said once with the runs still
// counted, and a run's questions, answers and score.
#include "practice/progress.h"

#include "formats.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvex;
using namespace quorvex::practice;

namespace {

Asked asked(const char *format, int n)
{
    return {{testformats::named(format), workbench::Operation::ToBinary}, {{QString::number(n)}, 0, {}, {}},
            QString::number(n)};
}

// `rights` unsigned integer questions answered right (the first after a
// hint), then `wrongs` floating-point ones answered wrong.
Run answeredRun(int rights, int wrongs)
{
    std::vector<Asked> questions;
    for (int i = 0; i < rights + wrongs; ++i)
        questions.push_back(asked(i < rights ? "int:8" : "float:8:4", i));
    Run run(questions);
    for (int i = 0; i < rights + wrongs; ++i) {
        Verdict v;
        v.right = i < rights;
        run.answer({"mine", "theirs", v, i == 0});
        run.next();
    }
    return run;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// How many questions the file at `path` counts, in every topic; -1 when
// there is no file, -2 when it holds no progress.
int countedIn(const QString &path)
{
    const auto read = progressFromJson(contents(path));
    const Progress *p = std::get_if<Progress>(&read);
    int n = 0;
    for (const Score &s : p ? p->topics : QMap<QString, Score>())
        n += s.asked;
    return !QFileInfo(path).isFile() ? -1 : p && p->lastRun.isValid() ? n : -2;
}

}  // namespace

class TestProgress : public QObject {
    Q_OBJECT
private slots:
    void store_data();
    void store();
    void runKeepsFirstAnswers();
    void questionsFromCheckedTopics();
};

void TestProgress::store_data()
{
    QTest::addColumn<QByteArray>("before");  // the file; none, or a folder or a file where the folder goes
    QTest::addColumn<QString>("loading");    // a part of what loading says
    QTest::addColumn<QString>("saving");     // a part of what the first save says
    QTest::addColumn<int>("saved");          // questions the file counts after two runs of 2; -1: no file
    QTest::newRow("none yet") << QByteArray() << "" << "" << 4;
    QTest::newRow("good, a topic of another version kept") << QByteArray(R"({"version": 1, "lastRun":
        "2026-12-09T08:00:00Z", "topics": {"int": {"asked": 4, "right": 1, "hinted": 0}, "later": {"asked": 1,
        "right": 0, "hinted": 0}}})") << "" << "" << 9;
    QTest::newRow("not JSON") << QByteArray(R"({"version": 1, "topics": )") << "not JSON" << "" << 4;
    QTest::newRow("an array") << QByteArray("[1, 2]") << "no object of progress" << "" << 4;
    QTest::newRow("a later version") << QByteArray(R"({"version": 2, "topics": {}})") << "version 1" << "" << 4;
    QTest::newRow("topics a list") << QByteArray(R"({"version": 1, "topics": []})") << "no list of topics" << "" << 4;
    QTest::newRow("a count a text") << QByteArray(R"({"version": 1, "topics": {"int": {"asked": "20", "right": 1,
        "hinted": 0}}})") << "Topic int has no whole counts" << "" << 4;
    QTest::newRow("a fraction") << QByteArray(R"({"version": 1, "topics": {"int": {"asked": 2.5, "right": 0,
        "hinted": 0}}})") << "no whole counts" << "" << 4;
    QTest::newRow("more right than asked") << QByteArray(R"({"version": 1, "topics": {"int": {"asked": 2, "right": 3,
        "hinted": 0}}})") << "more right answers" << "" << 4;
    QTest::newRow("a date that is not one") << QByteArray(R"({"version": 1, "lastRun": "Tuesday", "topics": {}})")
                                            << "not a date" << "" << 4;
    QTest::newRow("a folder, left as it is") << QByteArray("folder") << "left as it is" << "" << -1;
    QTest::newRow("in a file, not saved") << QByteArray("in a file") << "" << "could not be saved" << -1;
}

// A file that holds no progress is kept aside whole and said why; one that
// cannot be read is never written over; a save that fails is said once.
// Each run stays counted in the store. These fail as root too.
void TestProgress::store()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, loading);
    QFETCH(QString, saving);
    QFETCH(int, saved);
    QTemporaryDir dir;
    QString path = dir.filePath("progress.json");
    write(path + ".corrupt", "from before");  // replaced by a later one
    if (before == "folder")
        QVERIFY(QDir(dir.path()).mkpath("progress.json"));
    else if (before == "in a file")
        path = dir.filePath("progress.json.corrupt/progress.json");
    else if (!before.isEmpty())
        write(path, before);
    ProgressStore store(path);
    const QString said = store.load();
    QVERIFY2(loading.isEmpty() ? said.isEmpty() : said.contains(loading), qPrintable(said));
    QVERIFY(store.load().isEmpty());
    const bool corrupt = !loading.isEmpty() && before != "folder";
    QVERIFY(!corrupt || said.contains("It is kept as progress.json.corrupt, and your progress is counted afresh"));
    QCOMPARE(contents(dir.filePath("progress.json.corrupt")), corrupt ? before : "from before");
    const QString first = store.record(answeredRun(1, 1), QDateTime::currentDateTimeUtc());
    QVERIFY2(saving.isEmpty() ? first.isEmpty() : first.contains(saving), qPrintable(first));
    QCOMPARE(store.record(answeredRun(2, 0), QDateTime::currentDateTimeUtc()), QString());
    const bool added = saved == 9;
    QCOMPARE(store.progress().of("int"), (added ? Score{7, 4, 2} : Score{3, 3, 2}));
    QCOMPARE(store.progress().of("float"), (Score{1, 0, 0}));
    QCOMPARE(countedIn(path), saved);
}

// The first answer to each question is kept; the run goes on only past an
// answered question, and ends at its last.
void TestProgress::runKeepsFirstAnswers()
{
    Run run({asked("int:8", 5), asked("int:8", 6), asked("int:8", 7)});
    QVERIFY(!run.next());
    Verdict right, wrong;
    right.right = true;
    run.answer({"101", "101", wrong, false});
    run.answer({"00000101", "00000101", right, false});  // a second try is not kept
    QVERIFY(run.next());
    QCOMPARE(run.prefix(), QStringLiteral("Question 2 of 3: "));
    run.answer({"110", "00000110", right, true});
    QVERIFY(run.next() && !run.finished());
    run.answer({"", "00000111", wrong, false});
    QVERIFY(run.finished() && !run.next());
    QCOMPARE(run.tally().text(), QStringLiteral("1 of 3 right (1 of them with a hint)"));
    QCOMPARE(run.wrong().size() == 2 ? run.wrong()[1].text : QString(), QStringLiteral("7"));
    QCOMPARE(progressLine("Unsigned integer", {3, 3, 1}),
             QStringLiteral("Unsigned integer: 3 of 3 right (1 of them with a hint)"));
    QCOMPARE(firstSentence("It holds 12.75, not 12.5. Look again."), QStringLiteral("It holds 12.75, not 12.5."));
}

// A level's kinds in the checked topics only; twelve questions of them,
// none twice.
void TestProgress::questionsFromCheckedTopics()
{
    QCOMPARE(kindsIn(Level::Gcse, {"float", "ieee"}).size(), std::size_t(0));
    QCOMPARE(kindsIn(Level::University, {"ieee", "float"}).size(), std::size_t(4));
    QRandomGenerator rng(7);
    QSet<QString> texts;
    for (const Asked &a : drawQuestions(kindsIn(Level::ALevel, {"float"}), 12, rng)) {
        QVERIFY(a.kind.format.isFloating());
        texts.insert(a.text);
    }
    QCOMPARE(texts.size(), 12);
}

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"
