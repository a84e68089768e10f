// SPDX-License-Identifier: MIT
// The command line as a teacher or a script uses it: arguments in, the
// first line out and the exit status, in process; a batch from standard
// input; the help from the registry.
#include "app/commandline.h"
#include "formats.h"
#include "topics/registry.h"
#include "topics/workbench.h"
#include "windows/plaintext.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextStream>

#include <algorithm>

using namespace quorvex;
using workbench::Direction;

namespace {

struct Ran {
    int status;
    QString out, err;
};

Ran run(QStringList arguments, const QString &input = QString())
{
    arguments.prepend(QStringLiteral("quorvex"));
    QString in = input, out, err;
    QTextStream i(&in), o(&out), e(&err);
    const int status = commandLine(arguments, i, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void sameAsTheWorkbench();
    void batch_data();
    void batch();
    void workingFollowsTheAnswer();
    void helpListsTheRegistry();
};

void TestCommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("first");  // the first line of stdout, or a word stderr holds

    const auto solve = [](const char *format, const char *operation, QStringList operands) {
        return QStringList{"--format", format, "--solve", operation} + operands;
    };
    // The workbench's worked examples, as the answer box shows them.
    QTest::newRow("8/4 negative to binary") << solve("float:8:4", "to-binary", {"-8.25"}) << 0 << "10111110 0100";
    QTest::newRow("sign and magnitude mantissa 16/8") << solve("float-signmag:16:8", "to-binary", {"124.28125"}) << 0
                                                      << "0111110001001000 00000111";
    QTest::newRow("8/4 to denary") << solve("float:8:4", "to-denary", {"01100110 0100"}) << 0 << "12.75";
    QTest::newRow("8/4 negative to denary") << solve("float:8:4", "to-denary", {"10111110 0100"}) << 0 << "-8.25";
    QTest::newRow("12/4 negative") << solve("float:12:4", "to-binary", {"-76.1875"}) << 0 << "101100111101 0111";
    QTest::newRow("10/6 0.1") << solve("float:10:6", "to-binary", {"0.1"}) << 0 << "0110011001 111101";
    QTest::newRow("10/6 normalise") << solve("float:10:6", "normalise", {"0001100000 000101"}) << 0
                                    << "0110000000 000011";
    QTest::newRow("fixed 4.4 negative") << solve("fixed-signed:4.4", "to-binary", {"-3.25"}) << 0 << "1100.1100";
    QTest::newRow("fixed 4.4 to denary") << solve("fixed-signed:4.4", "to-denary", {"0110.1010"}) << 0 << "6.625";
    QTest::newRow("fixed no whole") << solve("fixed:0.4", "to-binary", {"0.75"}) << 0 << ".1100";
    QTest::newRow("unsigned 200") << solve("int:8", "to-binary", {"200"}) << 0 << "11001000";
    QTest::newRow("two's -67") << solve("int-signed:8", "to-binary", {"-67"}) << 0 << "10111101";
    QTest::newRow("two's most negative") << solve("int-signed:8", "to-binary", {"-128"}) << 0 << "10000000";
    QTest::newRow("printed minus") << solve("int-signed:8", "to-binary", {"\u221267"}) << 0 << "10111101";
    QTest::newRow("after --") << QStringList{"--format", "int-signed:8", "--solve", "to-binary", "--", "-1"} << 0
                              << "11111111";
    QTest::newRow("option after the operand") << QStringList{"--solve", "to-binary", "-5", "--format", "int-signed:4"}
                                              << 0 << "1011";
    QTest::newRow("range") << solve("int:8", "range", {}) << 0
                           << "largest 11111111 = 255; smallest positive 00000001 = 1; most negative 00000000 = 0; "
                              "step = 1";
    QTest::newRow("normalize spelt so") << solve("float:8:4", "normalize", {"00010000 0001"}) << 0 << "01000000 1111";
    QTest::newRow("hex to denary") << solve("int:16", "to-denary", {"2F9C"}) << 0 << "12188";
    QTest::newRow("denary to hex") << solve("int:11", "to-hex", {"2024"}) << 0 << "7E8";
    QTest::newRow("bits to hex") << solve("int:12", "to-hex", {"1110 0111 1010"}) << 0 << "E7A";
    QTest::newRow("two's complement hex") << solve("int-signed:16", "to-denary", {"FF9C"}) << 0 << "-100";
    QTest::newRow("two's complement to hex") << solve("int-signed:16", "to-hex", {"-100"}) << 0 << "FF9C";
    QTest::newRow("hex too wide") << solve("int:8", "to-denary", {"0x2F9C"}) << 1 << "does not fit in 8 bits";
    QTest::newRow("cut, said") << QStringList{"--format", "fixed:4.4", "--solve", "to-binary", "--rounding", "cut",
                                              "0.1"}
                               << 0 << "0000.0001";

    QTest::newRow("sign and magnitude -37") << solve("int-signmag:8", "to-binary", {"-37"}) << 0 << "10100101";
    QTest::newRow("sign and magnitude negative zero") << solve("int-signmag:8", "to-denary", {"10000000"}) << 0
                                                      << "0";
    QTest::newRow("one's complement -37") << solve("int-ones:8", "to-binary", {"-37"}) << 0 << "11011010";
    QTest::newRow("one's complement negative zero") << solve("int-ones:8", "to-denary", {"11111111"}) << 0 << "0";
    QTest::newRow("bcd 2024") << solve("bcd", "to-binary", {"2024"}) << 0 << "0010 0000 0010 0100";
    QTest::newRow("bcd 593") << solve("bcd", "to-denary", {"0101 1001 0011"}) << 0 << "593";
    QTest::newRow("bcd:4 pads") << solve("bcd:4", "to-binary", {"593"}) << 0 << "0000 0101 1001 0011";
    QTest::newRow("bcd range") << solve("bcd:1", "range", {}) << 0
                               << "largest 1001 = 9; smallest positive 0001 = 1; most negative none; 16 patterns, "
                                  "10 values";

    // Refused as the window refuses: exit 1, the window's words.
    QTest::newRow("sign and magnitude 128") << solve("int-signmag:8", "to-binary", {"128"}) << 1
                                            << "128 does not fit: 8-bit sign and magnitude holds \u2212127 to 127";
    QTest::newRow("bcd not a digit") << solve("bcd", "to-denary", {"0001 1010"}) << 1
                                     << "The second nibble, 1010, is 10, not a denary digit.";
    QTest::newRow("bcd negative") << solve("bcd", "to-binary", {"-5"}) << 1 << "no sign";
    QTest::newRow("out of range") << solve("int-signed:8", "to-binary", {"-200"}) << 1
                                  << "\u2212200 does not fit: 8-bit two's complement holds \u2212128 to 127";
    QTest::newRow("not a number") << solve("int:8", "to-binary", {"12a"}) << 1 << "is not a number";
    QTest::newRow("wrong count") << solve("float:8:4", "to-denary", {"10111110 010"}) << 1 << "need 12 bits";
    QTest::newRow("cannot normalise") << solve("float:8:4", "normalise", {"00010000 1000"}) << 1
                                      << "cannot be normalised";

    // Bad options: exit 2, one line naming what is wrong.
    QTest::newRow("unknown format") << solve("decimal:3", "to-binary", {"1"}) << 2 << "unknown format 'decimal:3'";
    QTest::newRow("format without widths") << solve("int", "to-binary", {"1"}) << 2 << "int:N";
    QTest::newRow("format too wide") << solve("int:65", "to-binary", {"1"}) << 2 << "1 to 64 bits, not 65";
    QTest::newRow("mantissa too wide") << solve("float:99:4", "to-binary", {"1"}) << 2 << "mantissa";
    QTest::newRow("sign and magnitude mantissa, one width") << solve("float-signmag:8", "to-binary", {"1"}) << 2
                                                            << "such as float-signmag:8:4";
    QTest::newRow("fixed widths misspelt") << solve("fixed:4:4", "to-binary", {"1"}) << 2 << "fixed:W.F";
    QTest::newRow("bcd too many digits") << solve("bcd:65", "to-binary", {"1"}) << 2 << "1 to 64 digits, not 65";
    QTest::newRow("bcd no digits") << solve("bcd:0", "to-binary", {"1"}) << 2 << "not 0";
    QTest::newRow("bcd widths misspelt") << solve("bcd:4.4", "to-binary", {"1"}) << 2 << "bcd:4";
    QTest::newRow("sign and magnitude too wide") << solve("int-signmag:65", "to-binary", {"1"}) << 2
                                                 << "1 to 64 bits, not 65";
    QTest::newRow("one's complement without widths") << solve("int-ones", "range", {}) << 2 << "int-ones:N";
    QTest::newRow("bcd normalised") << solve("bcd", "normalise", {"0001"}) << 2 << "bcd has no operation normalise";
    QTest::newRow("unknown operation") << solve("int:8", "sideways", {"1"}) << 2 << "unknown operation 'sideways'";
    QTest::newRow("operation not in format") << solve("int:8", "normalise", {"1"}) << 2
                                             << "int:8 has no operation normalise";
    QTest::newRow("missing operand") << solve("int:8", "to-binary", {}) << 2 << "to-binary takes 1 operand (0 given)";
    QTest::newRow("operand too many") << solve("int:8", "to-binary", {"1", "2"}) << 2 << "(2 given)";
    QTest::newRow("operand for the range") << solve("int:8", "range", {"1"}) << 2 << "range takes no operand";
    QTest::newRow("no format") << QStringList{"--solve", "to-binary", "5"} << 2 << "--solve needs --format";
    QTest::newRow("places for a conversion") << QStringList{"--format", "int:8", "--solve", "to-binary", "--places",
                                                            "2", "5"}
                                             << 2 << "--places";
    QTest::newRow("another rounding") << QStringList{"--format", "int:8", "--solve", "to-binary", "--rounding",
                                                     "nearest", "5"}
                                      << 2 << "unknown rounding 'nearest'";
    QTest::newRow("working in a batch") << QStringList{"--format", "int:8", "--solve", "to-binary", "--working", "-"}
                                        << 2 << "--working";
    QTest::newRow("solve and worksheet") << QStringList{"--format", "int:8", "--solve", "range", "--worksheet", "x.pdf"}
                                         << 2 << "separately";
    QTest::newRow("seed with solve") << QStringList{"--format", "int:8", "--solve", "range", "--seed", "3"} << 2
                                     << "--seed goes with --worksheet";
    QTest::newRow("working without solve") << QStringList{"--working"} << 2 << "--working goes with --solve";
    QTest::newRow("solve in two formats") << solve("int:8,int:16", "to-binary", {"5"}) << 2 << "takes one --format";

    // Worksheets of several formats, calculations and levels, refused before
    // any file is written.
    const auto sheet = [](QStringList options) { return QStringList{"--worksheet", "never.pdf"} + options; };
    QTest::newRow("a bad format in a list") << sheet({"--format", "int:8,decimal:3"}) << 2 << "format 'decimal:3'";
    QTest::newRow("none normalised") << sheet({"--format", "int:8", "--format", "bcd", "--directions", "normalise"})
                                     << 2 << "Only floating point is normalised";
    QTest::newRow("a format asked nothing") << sheet({"--format", "int:8,float:8:4", "--directions", "normalise"}) << 2
                                            << "int:8 has none of these kinds of question";
    QTest::newRow("a calculation lacking") << sheet({"--format", "bcd", "--directions", "add"}) << 2 << "no add questions";
    QTest::newRow("between two formats") << sheet({"--directions", "compare"}) << 2 << "between two formats (compare)";
    QTest::newRow("none has it") << sheet({"--format", "bcd,ieee:half", "--directions", "add"}) << 2 << "None of these";
    QTest::newRow("an unknown level in a list") << sheet({"--level", "gcse,sideways"}) << 2 << "level 'sideways'";
    QTest::newRow("levels and a format") << sheet({"--level", "gcse,a-level", "--format", "int:8"}) << 2 << "--level mixes";
    QTest::newRow("unknown option") << QStringList{"--colour"} << 2 << "colour";
}

void TestCommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, first);
    const Ran r = run(arguments);
    QCOMPARE(r.status, status);
    if (status == 0) {
        QCOMPARE(r.out.section(u'\n', 0, 0), first);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    } else {
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.startsWith(QLatin1StringView("quorvex: ")) && r.err.count(u'\n') == 1, qPrintable(r.err));
        QVERIFY2(r.err.contains(first), qPrintable(r.err));
    }
}

// For random formats of every topic, operations and operands, the first
// line is the workbench's answer (or its refusal on stderr, exit 1).
void TestCommandLine::sameAsTheWorkbench()
{
    QRandomGenerator g(20261209);
    const QStringList typed{"0", "-0.5", "12.75", "-76.1875", "255", "1e3", "0.1", "abc", "", "1010", "0101 1",
                            "1111111111111111", "10000000 0001", "−3"};
    for (int i = 0; i < 400; ++i) {
        const workbench::Topic *topic = workbench::topics().at(g.bounded(int(workbench::topics().size())));
        Format f{.representation = topic->representation(),
                 .bits = g.bounded(1, 17),
                 .whole = g.bounded(1, 9),
                 .fraction = g.bounded(0, 9),
                 .mantissa = g.bounded(2, 17),
                 .exponent = g.bounded(2, 7)};
        if (f.isIeee())  // an IEEE 754 fraction has a bit at least
            f.fraction = std::max(f.fraction, 1);
        const QList<Direction> operations = topic->operations();
        const Direction d = operations.at(g.bounded(int(operations.size())));
        const QString operand = typed.at(g.bounded(int(typed.size())));
        const workbench::Answer a = workbench::solve(f, d, operand);
        QStringList arguments{"--format", workbench::formatName(f), "--solve", workbench::operationName(d)};
        if (workbench::operandCount(d) > 0)
            arguments << "--" << operand;
        const Ran r = run(arguments);
        const QString why = arguments.join(u' ') + u'\n' + r.err;
        QCOMPARE(r.status, a.refused ? 1 : 0);
        QVERIFY2((a.refused ? r.err : r.out) == (a.refused ? "quorvex: " : "") + a.text + u'\n', qPrintable(why));
    }
}

void TestCommandLine::batch_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("status");
    const QStringList toBinary{"--format", "int-signed:8", "--solve", "to-binary", "-"};
    QTest::newRow("all answered") << toBinary << "5\n-3\r\n127\n" << "00000101\n11111101\n01111111\n" << 0;
    QTest::newRow("a refusal goes on") << toBinary << "5\n300\n-128" << "00000101\nrefused: 300 does not fit: "
                                                                         "8-bit two's complement holds −128 to 127\n"
                                                                         "10000000\n"
                                       << 1;
    QTest::newRow("a line ended the DOS way") << toBinary << "abc\r\n" << "refused: \u201Cabc\u201D is not a number.\n"
                                              << 1;
    QTest::newRow("an empty line") << toBinary << "\n" << "refused: Nothing was typed: type a number.\n" << 1;
    QTest::newRow("two operands on a line") << toBinary << "1\t2\n"
                                            << "refused: to-binary takes 1 operand (2 on this line), separated by "
                                               "tabs\n"
                                            << 1;
    QTest::newRow("blanks inside a pattern") << QStringList{"--format", "float:8:4", "--solve", "to-denary", "-"}
                                             << "10111110 0100\n0110 0110 0100\n" << "-8.25\n12.75\n" << 0;
    QTest::newRow("nothing") << toBinary << "" << "" << 0;
}

void TestCommandLine::batch()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(int, status);
    const Ran r = run(arguments, input);
    QCOMPARE(r.out, output);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
}

// --working: the answer, then the working as plain text, line by line.
void TestCommandLine::workingFollowsTheAnswer()
{
    const Ran r = run({"--format", "float:8:4", "--solve", "to-binary", "--working", "--", "-8.25"});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(u'\n');
    QCOMPARE(lines.value(0), QStringLiteral("10111110 0100"));
    QVERIFY2(!r.out.contains(u'<') && r.out.contains(QStringLiteral("× 2^4")), qPrintable(r.out));
    QCOMPARE(r.out.section(u'\n', 1), plainWorking(workbench::solve(testformats::floating(8, 4), Direction::ToBinary, "-8.25").workingHtml));
}

// Every format and operation the registry has is in the help.
void TestCommandLine::helpListsTheRegistry()
{
    const Ran r = run({"--help"});
    QCOMPARE(r.status, 0);
    for (const workbench::Topic *t : workbench::topics())
        QVERIFY2(r.out.contains(t->usage()), qPrintable(t->usage()));
    for (Direction d : workbench::allOperations()) {
        const bool had = std::any_of(workbench::topics().begin(), workbench::topics().end(), [d](const workbench::Topic *t) {
            return t->operations().contains(d) || t->calculations().contains(d);
        });
        QCOMPARE(r.out.contains(QStringLiteral("\n  ") + workbench::operationName(d) + u' '), had);
    }
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
