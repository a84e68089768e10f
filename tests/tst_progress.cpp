// SPDX-License-Identifier: MIT
// Runs and saved progress through the engine: the file read back, files
// that hold no progress refused in a sentence and kept aside, a folder that
// cannot be written said once with the runs still counted, and a run's
// questions, answers and score.
#include "practice/progress.h"

#include "formats.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvex;
using namespace quorvex::practice;

namespace {

Asked askedIn(const char *format, workbench::Operation operation, const QString &operand)
{
    const Kind kind{testformats::named(format), operation};
    return {kind, {{operand}, 0, std::nullopt, std::nullopt}, operand};
}

// A run of `rights` answered right and `wrongs` wrong: the first ones in
// unsigned integers, the others in floating point.
Run answeredRun(int rights, int wrongs)
{
    std::vector<Asked> questions;
    for (int i = 0; i < rights + wrongs; ++i)
        questions.push_back(askedIn(i < rights ? "int:8" : "float:8:4", workbench::Operation::ToBinary,
                                    QString::number(i)));
    Run run(questions);
    for (int i = 0; i < rights + wrongs; ++i) {
        Verdict v;
        v.right = i < rights;
        v.text = v.right ? QStringLiteral("Right.") : QStringLiteral("Wrong. Look again.");
        run.answer({QStringLiteral("mine"), QStringLiteral("theirs"), v, i == 0});
        run.next();
    }
    return run;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString problemOf(const std::variant<Progress, QString> &read)
{
    return std::holds_alternative<QString>(read) ? std::get<QString>(read) : QString();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class TestProgress : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void readsTheFile_data();
    void readsTheFile();
    void writtenAsRead();
    void store_data();
    void store();
    void saveProblemSaidOnce();
    void runKeepsFirstAnswers();
    void questionsFromCheckedTopics_data();
    void questionsFromCheckedTopics();
    void firstSentence_data();
    void firstSentence();
};

void TestProgress::readsTheFile_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("problem");  // a part of the sentence; none when it reads
    QTest::addColumn<int>("intAsked");
    const QByteArray good = R"({"version": 1, "lastRun": "2026-12-09T08:00:00Z",
        "topics": {"int": {"asked": 20, "right": 14, "hinted": 2}, "later": {"asked": 1, "right": 0, "hinted": 0}}})";
    QTest::newRow("good, a topic of another version kept") << good << "" << 20;
    QTest::newRow("no run yet") << QByteArray(R"({"version": 1, "topics": {}})") << "" << 0;
    QTest::newRow("empty") << QByteArray() << "not JSON" << 0;
    QTest::newRow("not JSON") << QByteArray("asked=20") << "not JSON" << 0;
    QTest::newRow("cut short") << good.left(60) << "not JSON" << 0;
    QTest::newRow("an array") << QByteArray("[1, 2]") << "no object" << 0;
    QTest::newRow("no version") << QByteArray(R"({"topics": {}})") << "version 1" << 0;
    QTest::newRow("a later version") << QByteArray(R"({"version": 2, "topics": {}})") << "version 1" << 0;
    QTest::newRow("no topics") << QByteArray(R"({"version": 1})") << "no list of topics" << 0;
    QTest::newRow("topics a list") << QByteArray(R"({"version": 1, "topics": []})") << "no list of topics" << 0;
    QTest::newRow("a count a text")
        << QByteArray(R"({"version": 1, "topics": {"int": {"asked": "20", "right": 1, "hinted": 0}}})")
        << "Topic int has no whole counts" << 0;
    QTest::newRow("a count missing") << QByteArray(R"({"version": 1, "topics": {"int": {"asked": 2, "right": 1}}})")
                                     << "Topic int has no whole counts" << 0;
    QTest::newRow("a negative count")
        << QByteArray(R"({"version": 1, "topics": {"int": {"asked": -1, "right": 0, "hinted": 0}}})")
        << "no whole counts" << 0;
    QTest::newRow("a fraction") << QByteArray(R"({"version": 1, "topics": {"int": {"asked": 2.5, "right": 0, "hinted": 0}}})")
                                << "no whole counts" << 0;
    QTest::newRow("a topic not an object") << QByteArray(R"({"version": 1, "topics": {"int": 3}})")
                                           << "no whole counts" << 0;
    QTest::newRow("more right than asked")
        << QByteArray(R"({"version": 1, "topics": {"int": {"asked": 2, "right": 3, "hinted": 0}}})")
        << "more right answers" << 0;
    QTest::newRow("more hinted than right")
        << QByteArray(R"({"version": 1, "topics": {"int": {"asked": 3, "right": 1, "hinted": 2}}})")
        << "more hinted" << 0;
    QTest::newRow("a date that is not one") << QByteArray(R"({"version": 1, "lastRun": "Tuesday", "topics": {}})")
                                            << "not a date" << 0;
}

void TestProgress::readsTheFile()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, problem);
    QFETCH(int, intAsked);
    const std::variant<Progress, QString> read = progressFromJson(json);
    if (!problem.isEmpty()) {
        QVERIFY2(problemOf(read).contains(problem), qPrintable(problemOf(read)));
        return;
    }
    QVERIFY2(std::holds_alternative<Progress>(read), qPrintable(problemOf(read)));
    QCOMPARE(std::get<Progress>(read).of("int").asked, intAsked);
}

// What is written reads back the same, unknown topics and the date too.
void TestProgress::writtenAsRead()
{
    Progress p;
    p.merge(answeredRun(3, 2), QDateTime(QDate(2026, 12, 9), QTime(8, 0), Qt::UTC));
    p.topics.insert("later", {5, 4, 1});
    QCOMPARE(p.of("int"), (Score{3, 3, 1}));
    QCOMPARE(p.of("float"), (Score{2, 0, 0}));
    const auto read = progressFromJson(progressJson(p));
    QVERIFY(std::holds_alternative<Progress>(read));
    QCOMPARE(std::get<Progress>(read).topics, p.topics);
    QCOMPARE(std::get<Progress>(read).lastRun, p.lastRun);
    QCOMPARE(progressLine("Unsigned integer", p.of("int")), QStringLiteral("Unsigned integer: 3 of 3 right (1 of them with a hint)"));
}

void TestProgress::store_data()
{
    QTest::addColumn<QByteArray>("before");  // the file's bytes; none: no file
    QTest::addColumn<QString>("problem");     // what loading says
    QTest::addColumn<bool>("keptAside");
    QTest::addColumn<int>("asked");  // in the file after a run of 2
    const QByteArray good = R"({"version": 1, "topics": {"int": {"asked": 4, "right": 1, "hinted": 0}}})";
    QTest::newRow("no file yet") << QByteArray() << "" << false << 2;
    QTest::newRow("a good file added to") << good << "" << false << 6;
    QTest::newRow("not JSON, kept aside") << QByteArray("{{{") << "It is kept as progress.json.corrupt" << true << 2;
    QTest::newRow("of another shape, kept aside") << QByteArray("[]") << "progress.json.corrupt" << true << 2;
}

// A file that holds no progress is kept aside, whole, and said so; the
// progress then counts afresh.
void TestProgress::store()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, problem);
    QFETCH(bool, keptAside);
    QFETCH(int, asked);
    QTemporaryDir dir;
    const QString path = dir.filePath("progress.json");
    if (!before.isEmpty())
        write(path, before);
    write(path + ".corrupt", "from before");  // replaced by a later one
    ProgressStore store(path);
    const QString said = store.load();
    QVERIFY2(problem.isEmpty() ? said.isEmpty() : said.contains(problem), qPrintable(said));
    QVERIFY(store.load().isEmpty());  // said once
    QCOMPARE(contents(path + ".corrupt"), keptAside ? before : QByteArray("from before"));
    QCOMPARE(store.record(answeredRun(1, 1), QDateTime::currentDateTimeUtc()), QString());
    const auto read = progressFromJson(contents(path));
    QVERIFY(std::holds_alternative<Progress>(read));
    const Progress &p = std::get<Progress>(read);
    QCOMPARE(p.of("int").asked + p.of("float").asked, asked);
    QVERIFY(p.lastRun.isValid());
}

// A file that cannot be read is left as it is and never written over; a
// folder that cannot be written is said once. Either way every run stays
// counted while the window is open. Both fail as root too: a folder that is
// a file, a file that is a folder.
void TestProgress::saveProblemSaidOnce()
{
    QTemporaryDir dir;
    write(dir.filePath("folder"), "a file");
    ProgressStore unwritable(dir.filePath("folder/progress.json"));
    QVERIFY(unwritable.load().isEmpty());
    const QString first = unwritable.record(answeredRun(1, 0), QDateTime::currentDateTimeUtc());
    QVERIFY2(first.contains("could not be saved") && first.contains("still counted"), qPrintable(first));
    QCOMPARE(unwritable.record(answeredRun(0, 1), QDateTime::currentDateTimeUtc()), QString());
    QCOMPARE(unwritable.progress().of("int").asked + unwritable.progress().of("float").asked, 2);

    QVERIFY(QDir(dir.path()).mkpath("progress.json"));
    ProgressStore unreadable(dir.filePath("progress.json"));
    const QString said = unreadable.load();
    QVERIFY2(said.contains("left as it is") && said.contains("not saved"), qPrintable(said));
    QCOMPARE(unreadable.record(answeredRun(1, 0), QDateTime::currentDateTimeUtc()), QString());
    QCOMPARE(unreadable.progress().of("int").asked, 1);
    QVERIFY(QFileInfo(dir.filePath("progress.json")).isDir());
}

// The first answer to each question is kept; the run goes on only past an
// answered question, and ends at its last.
void TestProgress::runKeepsFirstAnswers()
{
    Run run({askedIn("int:8", workbench::Operation::ToBinary, "5"), askedIn("int:8", workbench::Operation::ToBinary, "6"),
             askedIn("int:8", workbench::Operation::ToBinary, "7")});
    QCOMPARE(run.prefix(), QStringLiteral("Question 1 of 3: "));
    QVERIFY(!run.next());
    Verdict right, wrong;
    right.right = true;
    run.answer({"101", "101", wrong, false});
    run.answer({"00000101", "00000101", right, false});  // a second try is not kept
    QVERIFY(run.next());
    QCOMPARE(run.prefix(), QStringLiteral("Question 2 of 3: "));
    run.answer({"110", "00000110", right, true});
    QVERIFY(!run.finished());
    QVERIFY(run.next());
    run.answer({"", "00000111", wrong, false});
    QVERIFY(run.finished());
    QVERIFY(!run.next());
    QCOMPARE(run.tally().text(), QStringLiteral("1 of 3 right (1 of them with a hint)"));
    QCOMPARE(run.answers().front().answer, QStringLiteral("101"));
    const std::vector<Asked> again = run.wrong();
    QCOMPARE(int(again.size()), 2);
    QCOMPARE(again[0].text, QStringLiteral("5"));
    QCOMPARE(again[1].text, QStringLiteral("7"));
}

void TestProgress::questionsFromCheckedTopics_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("topics");
    QTest::addColumn<int>("kinds");  // the level's kinds in those topics
    QTest::newRow("GCSE, every topic") << int(Level::Gcse) << QStringList{"int", "float", "ieee"} << 6;
    QTest::newRow("GCSE, no integer") << int(Level::Gcse) << QStringList{"float", "ieee"} << 0;
    QTest::newRow("A level, floating point") << int(Level::ALevel) << QStringList{"float"} << 5;
    QTest::newRow("university, IEEE 754") << int(Level::University) << QStringList{"ieee"} << 4;
}

void TestProgress::questionsFromCheckedTopics()
{
    QFETCH(int, level);
    QFETCH(QStringList, topics);
    QFETCH(int, kinds);
    const std::vector<Kind> chosen = kindsIn(Level(level), topics);
    QCOMPARE(int(chosen.size()), kinds);
    QRandomGenerator rng(7);
    const std::vector<Asked> questions = drawQuestions(chosen, 12, rng);
    QCOMPARE(int(questions.size()), kinds == 0 ? 0 : 12);
    QSet<QString> texts;
    for (const Asked &a : questions) {
        QVERIFY(topics.contains(topicId(a.kind.format)));
        texts.insert(a.text);
    }
    QCOMPARE(int(texts.size()), int(questions.size()));  // none twice
}

void TestProgress::firstSentence_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("first");
    QTest::newRow("one") << "Right." << "Right.";
    QTest::newRow("two") << "Your answer is 12. It should be 13." << "Your answer is 12.";
    QTest::newRow("a point in a number") << "It holds 12.75, not 12.5. Look again." << "It holds 12.75, not 12.5.";
    QTest::newRow("no stop") << "No stop" << "No stop";
}

void TestProgress::firstSentence()
{
    QFETCH(QString, text);
    QFETCH(QString, first);
    QCOMPARE(practice::firstSentence(text), first);
}

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"
