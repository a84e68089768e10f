// SPDX-License-Identifier: MIT
// Practice: each usual mistake diagnosed, right answers in any grouping
// marked right, properties over many generated questions, and a worksheet
// made by the real program from the command line, read back with pdftotext.
#include "engine/exact.h"
#include "practice/practice.h"
#include "topics/workbench.h"
#include "formats.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvex;
using namespace testformats;
using namespace quorvex::practice;

namespace {

Format randomFormat(QRandomGenerator &g)
{
    switch (g.bounded(5)) {
    case 0:
        return integer(g.bounded(2) == 1, g.bounded(1, 65));
    case 1:
    case 2: {
        const int whole = g.bounded(0, 33);
        return fixed(g.bounded(2) == 1, whole, g.bounded(whole == 0 ? 1 : 0, 33));
    }
    default:
        return floating(g.bounded(2, 65), g.bounded(2, 13));
    }
}

QString bitsOnly(QString text) { return text.remove(QRegularExpression(QStringLiteral("[^01]"))); }

exact::Number value(const QString &decimal) { return exact::readDecimal(QString(decimal).replace(QChar(0x2212), u'-')).value; }

// pdftotext's words, each run of blanks one space, ligatures as letters.
QString squeezed(QString text)
{
    text.replace(QChar(0x00A0), u' ');
    text.replace(QChar(0xFB01), QStringLiteral("fi"));  // the font's ligature
    return text.simplified();
}

const QString program = QStringLiteral(QUORVEX_BINARY);

}  // namespace

class TestPractice : public QObject {
    Q_OBJECT

private slots:
    void diagnoses_data();
    void diagnoses();
    void generatedQuestionsAnswerRight();
    void wrongAnswersAreReallyWrong();
    void codeQuestionsAnswerRight();
    void sameSeedSameQuestions();
    void worksheetFromTheCommandLine_data();
    void worksheetFromTheCommandLine();
    void commandLineRefuses_data();
    void commandLineRefuses();
};

void TestPractice::diagnoses_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("mistake");
    QTest::addColumn<QString>("phrase");
    const int bin = int(Direction::ToBinary), den = int(Direction::ToDenary), norm = int(Direction::Normalise);
    const Format f84 = floating(8, 4), f106 = floating(10, 6), x44 = fixed(true, 4, 4), i8 = integer(true, 8);
    const auto row = [](const char *name, const Format &f, int d, const char *q, const char *a, Mistake m,
                        const char *phrase) {
        QTest::newRow(name) << f << d << QString::fromUtf8(q) << QString::fromUtf8(a) << int(m)
                            << QString::fromUtf8(phrase);
    };
    // Right, however it is grouped or written.
    row("right grouped in fours", f84, bin, "12.75", "0110 0110 0100", Mistake::None, "Right.");
    row("right without blanks", f84, bin, "12.75", "011001100100", Mistake::None, "Right.");
    row("right with the mantissa's point", f84, bin, "12.75", "0.1100110 0100", Mistake::None, "Right.");
    row("right fixed without point", fixed(false, 4, 4), bin, "0.1", "00000001", Mistake::None, "Right.");
    row("right decimal with + and zeros", f84, den, "0110 0110 0100", "+12.750", Mistake::None, "Right.");
    row("right with a real minus", f84, den, "10111110 0100", "\u22128.25", Mistake::None, "Right.");
    // Floating point, number to bits.
    row("not normalised", f84, bin, "12.75", "00110011 0101", Mistake::NotNormalised, "not normalised");
    row("negative not renormalised", f84, bin, "-0.5", "11000000 0000", Mistake::NotNormalised, "starts 11");
    row("mantissa not complemented", f84, bin, "-8.25", "01000010 0100", Mistake::NoComplement,
        "two's complement was not taken");
    row("mantissa sign and magnitude", f84, bin, "-8.25", "11000010 0100", Mistake::SignAndMagnitude,
        "sign and magnitude");
    row("mantissa inverted only", f84, bin, "-8.25", "10111101 0100", Mistake::InvertedOnly, "1 was not added");
    row("exponent's sign wrong", f84, bin, "0.1875", "01100000 0010", Mistake::ExponentWrongWay, "the wrong way");
    row("exponent sign and magnitude", f84, bin, "0.1875", "01100000 1010", Mistake::ExponentSignAndMagnitude,
        "sign and magnitude");
    row("exponent inverted only", f84, bin, "0.1875", "01100000 1101", Mistake::ExponentInvertedOnly,
        "1 was not added");
    row("exponent off by one", f84, bin, "12.75", "01100110 0011", Mistake::ExponentOff, "off by 1");
    row("swapped", f84, bin, "12.75", "0100 0110 0110", Mistake::Swapped, "swapped");
    row("rounded", f84, bin, "0.1", "01100111 1101", Mistake::Rounded, "does not round");
    row("reversed", f84, bin, "12.75", "0010 0110 0110", Mistake::Reversed, "reverse order");
    row("mantissa too short", f84, bin, "12.75", "0110011 0100", Mistake::WrongCount, "Its mantissa has 7 bits");
    row("matches nothing", f84, bin, "12.75", "01100111 0100", Mistake::Other, "stands for 12.875");
    row("not bits", f84, bin, "12.75", "0110 0110 010x", Mistake::Unreadable, "\u201Cx\u201D");
    row("question refused", f84, bin, "200", "0", Mistake::QuestionRefused, "does not fit");
    // Fixed point and integers, number to bits.
    row("fixed not complemented", x44, bin, "-3.25", "0011.0100", Mistake::NoComplement, "two's complement");
    row("fixed sign and magnitude", x44, bin, "-3.25", "1011.0100", Mistake::SignAndMagnitude, "sign and magnitude");
    row("fixed inverted only", x44, bin, "-3.25", "1100.1011", Mistake::InvertedOnly, "1 was not added");
    row("fixed point misplaced", x44, bin, "-3.25", "11001.100", Mistake::PointMisplaced, "after 4 bits");
    row("fixed rounded", fixed(false, 4, 4), bin, "0.1", "0000.0010", Mistake::Rounded, "does not round");
    // Inverting the cut size without adding 1 gives the same bits as rounding away from zero.
    row("fixed negative rounded", x44, bin, "-0.1", "1111.1110", Mistake::InvertedOnly, "does not round");
    row("integer reversed", i8, bin, "-100", "00111001", Mistake::Reversed, "reverse order");
    row("integer not complemented", i8, bin, "-67", "01000011", Mistake::NoComplement, "stands for 67");
    row("integer too few bits", i8, bin, "-67", "1011101", Mistake::WrongCount, "has 7 bits");
    row("unsigned without leading 0s", integer(false, 8), bin, "5", "101", Mistake::WrongCount, "leading 0s");
    // Bits to denary.
    row("hidden 1, sign and biased exponent", f84, den, "0110 0110 0100", "28.5", Mistake::HiddenOne, "hidden");
    row("hidden 1 before the mantissa", f84, den, "0110 0110 0100", "28.75", Mistake::HiddenOne, "hidden");
    row("exponent applied the wrong way", f84, den, "0110 0110 0100", "0.0498046875", Mistake::ExponentWrongWay,
        "wrong way");
    row("point moved once too often", f84, den, "0110 0110 0100", "25.5", Mistake::ExponentOff, "were 5");
    row("read exponent first", f84, den, "0110 0110 0100", "50", Mistake::Swapped, "first 4 bits");
    row("read backwards", f84, den, "0110 0110 0100", "19", Mistake::Reversed, "reverse order");
    row("mantissa sign read positive", f84, den, "10111110 0100", "23.75", Mistake::SignReadPositive,
        "mantissa's sign place as +1");
    row("minus left out", f84, den, "10111110 0100", "8.25", Mistake::MinusLeftOut, "wrong sign");
    row("mantissa read as sign and magnitude", f84, den, "10111110 0100", "-7.75", Mistake::SignAndMagnitude,
        "sign and magnitude");
    row("mantissa inverted, 1 not added", f84, den, "10111110 0100", "-8.125", Mistake::InvertedOnly, "add 1");
    row("exponent sign read positive", f84, den, "01100000 1110", "12288", Mistake::SignReadPositive,
        "exponent's sign place as +8");
    row("exponent read as sign and magnitude", f84, den, "01100000 1110", "0.01171875",
        Mistake::ExponentSignAndMagnitude, "sign and magnitude");
    row("integer sign read positive", i8, den, "10111101", "189", Mistake::SignReadPositive, "+128");
    row("integer inverted, 1 not added", i8, den, "10111101", "-66", Mistake::InvertedOnly, "add 1");
    row("unsigned read as two's complement", integer(false, 8), den, "11001000", "-56",
        Mistake::UnsignedReadNegative, "unsigned");
    row("fixed point ignored", x44, den, "0110.1010", "106", Mistake::PointIgnored, "whole number");
    row("fixed sign and magnitude", x44, den, "1100.1100", "-4.75", Mistake::SignAndMagnitude, "sign and magnitude");
    row("not a number", f84, den, "0110 0110 0100", "twelve", Mistake::Unreadable, "not a number");
    row("denary matches nothing", f84, den, "0110 0110 0100", "12.5", Mistake::Other, "none of the usual");
    // Normalising.
    row("normalise right", f106, norm, "0001100000 000101", "0110000000 000011", Mistake::None, "Right.");
    row("shifted too little", f106, norm, "0001100000 000101", "0011000000 000100", Mistake::NotNormalised,
        "not normalised");
    row("exponent left as it was", f106, norm, "0001100000 000101", "0110000000 000101", Mistake::ExponentOff,
        "left as it was");
    row("exponent went up", f106, norm, "0001100000 000101", "0110000000 000111", Mistake::ExponentWrongWay,
        "went up");
    row("exponent off after shifting", f106, norm, "0001100000 000101", "0110000000 000010", Mistake::ExponentOff,
        "off by 1");
    row("normalised exponent in sign and magnitude", f84, norm, "00011000 0000", "01100000 1010",
        Mistake::ExponentSignAndMagnitude, "sign and magnitude");
    // Sign and magnitude and one's complement, against two's complement.
    const Format sm8 = named("int-signmag:8"), ones8 = named("int-ones:8"), bcd = named("bcd");
    row("sign and magnitude right", sm8, bin, "-37", "1010 0101", Mistake::None, "Right.");
    row("two's complement for sign and magnitude", sm8, bin, "-37", "11011011", Mistake::TwosComplementGiven,
        "that is two's complement");
    row("one's complement for sign and magnitude", sm8, bin, "-37", "11011010", Mistake::OnesComplementGiven,
        "which is one's complement");
    row("sign bit left 0", sm8, bin, "-37", "00100101", Mistake::NoComplement, "the sign bit was left 0");
    row("sign and magnitude reversed", sm8, bin, "37", "10100100", Mistake::Reversed, "reverse order");
    row("sign and magnitude for two's complement", i8, bin, "-37", "10100101", Mistake::SignAndMagnitude,
        "sign and magnitude");
    row("one's complement for two's complement", i8, bin, "-37", "11011010", Mistake::InvertedOnly,
        "1 was not added");
    row("two's complement for one's complement", ones8, bin, "-37", "11011011", Mistake::TwosComplementGiven,
        "1 was added after inverting");
    row("sign and magnitude for one's complement", ones8, bin, "-37", "10100101", Mistake::SignAndMagnitude,
        "is sign and magnitude");
    row("one's complement not inverted", ones8, bin, "-37", "00100101", Mistake::NoComplement, "not inverted");
    row("sign bit read as a place", sm8, den, "10100101", "165", Mistake::SignReadPositive, "place value 128");
    row("sign and magnitude read as two's", sm8, den, "10100101", "-91", Mistake::TwosComplementGiven,
        "as two's complement");
    row("sign and magnitude read as one's", sm8, den, "10100101", "-90", Mistake::OnesComplementGiven,
        "as one's complement does");
    row("sign and magnitude minus left out", sm8, den, "10100101", "37", Mistake::MinusLeftOut, "wrong sign");
    row("sign and magnitude read backwards", sm8, den, "00100101", "-36", Mistake::Reversed, "reverse order");
    row("one's sign bit read as a place", ones8, den, "11011010", "218", Mistake::SignReadPositive,
        "place value 128");
    row("one's read as two's", ones8, den, "11011010", "-38", Mistake::TwosComplementGiven, "no 1 added");
    row("one's read as sign and magnitude", ones8, den, "11011010", "-90", Mistake::SignAndMagnitude,
        "as sign and magnitude");
    // BCD against pure binary.
    row("bcd right", bcd, bin, "2024", "0010000000100100", Mistake::None, "Right.");
    row("pure binary for bcd", bcd, bin, "2024", "0000 0111 1110 1000", Mistake::BinaryGiven, "in pure binary");
    row("pure binary for bcd:4", named("bcd:4"), bin, "593", "0000 0010 0101 0001", Mistake::BinaryGiven,
        "593 in pure binary");
    row("pure binary too short for bcd", bcd, bin, "2024", "11111101000", Mistake::WrongCount,
        "Those bits are 2024 in pure binary");
    row("a nibble above 1001", named("bcd:3"), bin, "105", "0000 1010 0101", Mistake::DigitAboveNine,
        "second nibble, 1010, is 10, not a denary digit");
    row("bcd reversed", bcd, bin, "593", "1100 1001 1010", Mistake::Reversed, "reverse order");
    row("bcd read as pure binary", bcd, den, "0101 1001 0011", "1427", Mistake::BinaryGiven, "pure binary");
    row("bcd read backwards", bcd, den, "0001 0010", "48", Mistake::Reversed, "reverse order");
    row("bcd for pure binary", integer(false, 8), bin, "59", "0101 1001", Mistake::BcdGiven,
        "59 in binary-coded decimal");
    row("bcd for 7-bit pure binary", integer(false, 7), bin, "59", "1011001", Mistake::BcdGiven,
        "binary-coded decimal");
}

void TestPractice::diagnoses()
{
    QFETCH(Format, format);
    QFETCH(int, direction);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(int, mistake);
    QFETCH(QString, phrase);
    const Verdict v = mark(format, Direction(direction), question, answer);
    QVERIFY2(v.text.contains(phrase), qPrintable(v.text));
    QCOMPARE(int(v.mistake), mistake);
    QCOMPARE(v.right, mistake == int(Mistake::None));
    QVERIFY(!v.workingHtml.isEmpty());
    // A wrong answer is marked in the working where it parts from the method,
    // and the right answer is given.
    if (!v.right && mistake != int(Mistake::QuestionRefused)) {
        QVERIFY(v.workingHtml.contains(QStringLiteral("Your answer parts from the method here")));
        const workbench::Answer a = workbench::solve(format, Direction(direction), question);
        QVERIFY2(v.text.contains(printed(a.text)), qPrintable(v.text));
    }
}

// Every generated question is answerable, and its answer marked right;
// questions keep to what was asked of them.
void TestPractice::generatedQuestionsAnswerRight()
{
    QRandomGenerator g(20261);
    int exactCount = 0, cutCount = 0;
    for (int i = 0; i < 600; ++i) {
        const Format f = randomFormat(g);
        const Direction d = f.isFloating() && g.bounded(3) == 0 ? Direction::Normalise
                                                                : Direction(g.bounded(2));
        const QString q = newQuestion(f, d, g);
        const workbench::Answer a = workbench::solve(f, d, q);
        QVERIFY2(!a.refused, qPrintable(q + u' ' + a.text));
        const Verdict v = mark(f, d, q, a.text);
        QVERIFY2(v.right, qPrintable(q + u' ' + v.text));
        if (d == Direction::ToBinary) {
            QVERIFY2(f.isSigned() || !q.startsWith(u'-'), qPrintable(q));
            const workbench::HandAnswer h = workbench::handAnswer(f, q);
            const bool held = value(h.value) == value(q);
            QVERIFY2(held || !f.isInteger(), qPrintable(q));
            (held ? exactCount : cutCount) += 1;
        } else if (d == Direction::Normalise) {
            const QString m = bitsOnly(q).left(f.mantissa);
            QVERIFY2(m.contains(u'1') && m.at(0) == m.at(1), qPrintable(q));
        } else {
            QCOMPARE(bitsOnly(q).size(), f.totalBits());
        }
    }
    QVERIFY(cutCount > 5);
    QVERIFY(exactCount > 4 * cutCount);
}

// The codes' questions as exams set them: every one answered and its answer
// marked right; numbers to write of both signs where the code has them,
// BCD's of 2 to 4 digits.
void TestPractice::codeQuestionsAnswerRight()
{
    QRandomGenerator g(31);
    QSet<QString> signs;
    for (int i = 0; i < 900; ++i) {
        const int kind = g.bounded(3);
        const int n = g.bounded(kind < 2 ? 1 : 0, 65);
        const QString name = kind == 0 ? QStringLiteral("int-signmag:%1").arg(n)
            : kind == 1               ? QStringLiteral("int-ones:%1").arg(n)
            : n == 0                  ? QStringLiteral("bcd")
                                      : QStringLiteral("bcd:%1").arg(n);
        const Format f = named(qPrintable(name));
        const Direction d = Direction(g.bounded(2));
        const QString q = newQuestion(f, d, g);
        const workbench::Answer a = workbench::solve(f, d, q);
        QVERIFY2(!a.refused, qPrintable(name + u' ' + q + u' ' + a.text));
        const Verdict v = mark(f, d, q, a.text);
        QVERIFY2(v.right, qPrintable(name + u' ' + q + u' ' + v.text));
        if (d == Direction::ToDenary)
            continue;
        if (kind < 2 && n > 1)
            signs.insert(name.section(u':', 0, 0) + (q.startsWith(u'-') ? u'-' : u'+'));
        if (kind == 2)
            QVERIFY2(!q.startsWith(u'0') && q.size() <= 4 && q.size() >= std::min(2, n == 0 ? 2 : n), qPrintable(q));
    }
    QCOMPARE(signs.size(), 4);
}

// Near misses and usual mistakes: whatever the marking says must agree with
// comparing values, and a wrong answer's stated value must be its own.
void TestPractice::wrongAnswersAreReallyWrong()
{
    QRandomGenerator g(7);
    QSet<int> seen;
    for (int i = 0; i < 1500; ++i) {
        const Format f = randomFormat(g);
        const Direction d = f.isFloating() && g.bounded(3) == 0 ? Direction::Normalise
                                                                : Direction(g.bounded(2));
        const QString q = newQuestion(f, d, g);
        const QString right = workbench::solve(f, d, q).text;
        QString answer;
        if (d == Direction::ToDenary) {
            const exact::Number r = value(right);
            const QStringList tries{(-r).toDecimal(), (r + exact::Number::power2(-g.bounded(4))).toDecimal(),
                                    (r.times2(g.bounded(-2, 3))).toDecimal()};
            answer = tries[g.bounded(qsizetype(3))];
        } else {
            QString bits = bitsOnly(right);
            switch (g.bounded(3)) {
            case 0:
                bits[g.bounded(bits.size())] = bits.at(0) == u'1' ? u'0' : u'1';
                break;
            case 1:
                std::reverse(bits.begin(), bits.end());
                break;
            default:
                for (QChar &c : bits)
                    c = g.bounded(2) ? u'1' : u'0';
            }
            answer = bits;
        }
        const Verdict v = mark(f, d, q, answer);
        seen.insert(int(v.mistake));
        const bool same = d == Direction::ToDenary ? value(answer) == value(right) : bitsOnly(answer) == bitsOnly(right);
        QVERIFY2(v.right == same, qPrintable(q + u' ' + answer + u' ' + v.text));
        if (v.right || d == Direction::ToDenary)
            continue;
        const QString stands = printed(workbench::solve(f, Direction::ToDenary, answer).text);
        QVERIFY2(stands.size() > 60 || v.text.contains(stands), qPrintable(v.text + u' ' + stands));
    }
    QVERIFY2(seen.size() >= 8, "the near misses reach few of the diagnoses");
}

void TestPractice::sameSeedSameQuestions()
{
    const QList<Direction> all{Direction::ToBinary, Direction::ToDenary, Direction::Normalise};
    const auto texts = [&](quint32 seed) {
        QStringList out;
        for (const Question &q : sheetQuestions(floating(8, 4), all, 20, seed))
            out << q.text;
        return out;
    };
    const QStringList sheet = texts(99);
    QCOMPARE(texts(99), sheet);
    QVERIFY(texts(100) != sheet);
    QCOMPARE(QSet<QString>(sheet.begin(), sheet.end()).size(), 20);
}

void TestPractice::worksheetFromTheCommandLine_data()
{
    QTest::addColumn<QString>("formatOption");
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("directions");
    QTest::newRow("floating point, all three") << "float:8:4" << floating(8, 4) << "to-binary,to-denary,normalise";
    QTest::newRow("fixed point") << "fixed-signed:4.4" << fixed(true, 4, 4) << "to-denary,to-binary";
    QTest::newRow("unsigned integers") << "int:8" << integer(false, 8) << "to-binary";
}

// The real program, with no display, writes a sheet whose text holds every
// question and, after the answers' heading, every answer.
void TestPractice::worksheetFromTheCommandLine()
{
    QFETCH(QString, formatOption);
    QFETCH(Format, format);
    QFETCH(QString, directions);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(program, {QStringLiteral("--worksheet"), pdf, QStringLiteral("--format"), formatOption,
                      QStringLiteral("--questions"), QStringLiteral("9"), QStringLiteral("--directions"), directions,
                      QStringLiteral("--seed"), QStringLiteral("4242")});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    QVERIFY(p.readAllStandardOutput().contains("4242"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    QVERIFY2(text.waitForFinished(60000), "pdftotext (Debian package poppler-utils) is needed");
    QCOMPARE(text.exitCode(), 0);
    const QString all = squeezed(QString::fromUtf8(text.readAllStandardOutput()));
    const qsizetype key = all.indexOf(QStringLiteral("Answers"));
    QVERIFY(key > 0);
    QVERIFY(all.contains(formatTitle(format)));
    QList<Direction> list;
    for (const QString &d : directions.split(u','))
        list << (d == u"to-binary" ? Direction::ToBinary : d == u"to-denary" ? Direction::ToDenary : Direction::Normalise);
    const std::vector<Question> questions = sheetQuestions(format, list, 9, 4242);
    QCOMPARE(questions.size(), size_t(9));
    for (const Question &q : questions) {
        QVERIFY2(all.left(key).contains(printed(q.text)), qPrintable(q.text));
        const QString answer = printed(workbench::solve(format, q.direction, q.text).text);
        QVERIFY2(all.indexOf(answer, key) > key, qPrintable(answer));
    }
}

void TestPractice::commandLineRefuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    const QString file = QStringLiteral("OUT");
    QTest::newRow("mantissa too wide") << QStringList{"--worksheet", file, "--format", "float:99:4"} << "mantissa";
    QTest::newRow("no such format") << QStringList{"--worksheet", file, "--format", "decimal:3"} << "format";
    QTest::newRow("no questions") << QStringList{"--worksheet", file, "--questions", "0"} << "questions";
    QTest::newRow("no such direction") << QStringList{"--worksheet", file, "--directions", "sideways"} << "sideways";
    QTest::newRow("normalising integers") << QStringList{"--worksheet", file, "--format", "int:8", "--directions",
                                                         "normalise"}
                                          << "floating";
    QTest::newRow("bad seed") << QStringList{"--worksheet", file, "--seed", "-3"} << "seed";
    QTest::newRow("unknown option") << QStringList{"--worksheet", file, "--colour"} << "colour";
    QTest::newRow("format without sheet") << QStringList{"--format", "int:8"} << "--worksheet";
    QTest::newRow("no such folder") << QStringList{"--worksheet", "missing/OUT"} << "missing";
    QTest::newRow("a folder") << QStringList{"--worksheet", "."} << ".";
}

// A bad option or a file that cannot be written: a non-zero exit, one line
// saying why, and nothing left in the folder.
void TestPractice::commandLineRefuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(program, arguments);
    QVERIFY(p.waitForFinished(60000));
    QVERIFY(p.exitCode() != 0);
    const QString error = QString::fromUtf8(p.readAllStandardError()).trimmed();
    QVERIFY2(error.contains(reason) && !error.contains(u'\n'), qPrintable(error));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(TestPractice)
#include "tst_practice.moc"
