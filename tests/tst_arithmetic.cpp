// SPDX-License-Identifier: MIT
// Arithmetic by hand on integer patterns: addition with its carries and
// overflow, subtraction as adding the two's complement, masks bit by bit;
// through the engine and the command line, and as properties over random
// widths and operands.
#include "app/commandline.h"
#include "engine/bitpattern.h"
#include "approvedtext.h"
#include "formats.h"
#include "practice/calculations.h"
#include "topics/workbench.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>

using namespace quorvex;
using workbench::Operation;

namespace {

QString plain(const QString &html)
{
    QString text = html;
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
}

int run(QStringList arguments, QString *out, const QString &input = QString())
{
    arguments.prepend(QStringLiteral("quorvex"));
    QString in = input, err;
    QTextStream i(&in), o(out), e(&err);
    const int status = commandLine(arguments, i, o, e);
    o.flush();
    return status;
}

// The value n bits hold, unsigned or in two's complement, as a 128-bit
// whole number, with no floating point.
__int128 heldBy(quint64 bits, int n, bool twos)
{
    bits &= patterns::lowBits(n);
    if (twos && (bits >> (n - 1)) & 1)
        return __int128(bits) - (__int128(1) << n);
    return __int128(bits);
}

}  // namespace

Q_DECLARE_METATYPE(workbench::Operation)

class TestArithmetic : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void commandLine_data();
    void commandLine();
    void working_data();
    void working();
    void refusals_data();
    void refusals();
    void commandLineRefuses_data();
    void commandLineRefuses();
    void shiftLeftThenRightKeepsWhatWasNotLost();
    void everyCode_data();
    void everyCode();
    void approvedWorking_data();
    void approvedWorking();
    void signedCodesOverflowExactlyOutsideTheirRange();
    void slipsNamed_data();
    void slipsNamed();
    void newCalculationsAreMarkedRight();
    void calculationsInWords_data();
    void calculationsInWords();
    void oneOperandAskedAsAQuestion();
    void resultIsTheTrueResultModuloTheWidth();
    void subtractThenAddGivesTheFirstBack();
};

void TestArithmetic::answers_data()
{
    QTest::addColumn<bool>("twos");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("answer");
    // 182 + 109 = 291 needs 9 bits: 291 - 256 = 35 is kept.
    QTest::newRow("unsigned carry out") << false << Operation::Add << QStringList {"10110110", "01101101"} << 0
                                        << "00100011, overflow";
    // 90 + 71 = 161 > 127: two positives give a negative.
    QTest::newRow("two positives overflow")
        << true << Operation::Add << QStringList {"01011010", "01000111"} << 0 << "10100001, overflow";
    // -20 + -11 = -31: a carry out, dropped, and no overflow.
    QTest::newRow("carry out but no overflow")
        << true << Operation::Add << QStringList {"11101100", "11110101"} << 0 << "11100001, no overflow";
    QTest::newRow("unsigned, no carry") << false << Operation::Add << QStringList {"00000011", "00000101"} << 0
                                        << "00001000, no overflow";
    // Two negatives giving a positive: -128 + -1 = -129.
    QTest::newRow("two negatives overflow")
        << true << Operation::Add << QStringList {"10000000", "11111111"} << 0 << "01111111, overflow";
    QTest::newRow("denary operands") << true << Operation::Add << QStringList {"-20", "-11"} << 0
                                     << "11100001, no overflow";
    QTest::newRow("hex operands") << false << Operation::Add << QStringList {"0xB6", "0x6D"} << 0
                                  << "00100011, overflow";
    // 45 - 67 = -22: 00101101 + 10111101 = 11101010.
    QTest::newRow("45 - 67") << true << Operation::Subtract << QStringList {"45", "67"} << 0 << "11101010, no overflow";
    QTest::newRow("85 - 51") << true << Operation::Subtract << QStringList {"01010101", "00110011"} << 0
                             << "00100010, no overflow";
    QTest::newRow("85 - 51 unsigned") << false << Operation::Subtract << QStringList {"01010101", "00110011"} << 0
                                      << "00100010, no overflow";
    QTest::newRow("unsigned below 0") << false << Operation::Subtract << QStringList {"45", "67"} << 0
                                      << "11101010, below 0";
    // -128 - 1 = -129 does not fit.
    QTest::newRow("subtraction overflows")
        << true << Operation::Subtract << QStringList {"-128", "1"} << 0 << "01111111, overflow";
    // 0 - 0: the two's complement of 0 carries off the end; 0 is not below 0.
    QTest::newRow("unsigned 0 - 0") << false << Operation::Subtract << QStringList {"00000000", "00000000"} << 0
                                    << "00000000, no overflow";
    QTest::newRow("AND") << false << Operation::And << QStringList {"10110101", "00001111"} << 0 << "00000101";
    QTest::newRow("OR") << false << Operation::Or << QStringList {"10110101", "00001111"} << 0 << "10111111";
    QTest::newRow("XOR") << false << Operation::Xor << QStringList {"10110101", "00001111"} << 0 << "10111010";
    QTest::newRow("NOT") << true << Operation::Not << QStringList {"10110101"} << 0 << "01001010";
    QTest::newRow("logical left 3") << false << Operation::ShiftLeft << QStringList {"10110101"} << 3 << "10101000";
    QTest::newRow("logical right 2") << false << Operation::ShiftRight << QStringList {"10110101"} << 2 << "00101101";
    // -75 >> 2: the sign copied in, -19.
    QTest::newRow("arithmetic right 2") << true << Operation::ShiftRight << QStringList {"10110101"} << 2 << "11101101";
    QTest::newRow("arithmetic right of a positive")
        << true << Operation::ShiftRight << QStringList {"01110101"} << 2 << "00011101";
    QTest::newRow("rotate left 3") << false << Operation::RotateLeft << QStringList {"10110101"} << 3 << "10101101";
    QTest::newRow("rotate right 2") << true << Operation::RotateRight << QStringList {"10110101"} << 2 << "01101101";
    QTest::newRow("rotate all the way") << false << Operation::RotateLeft << QStringList {"10110101"} << 8
                                        << "10110101";
    QTest::newRow("no places") << false << Operation::ShiftLeft << QStringList {"10110101"} << 0 << "10110101";
    QTest::newRow("every place") << true << Operation::ShiftRight << QStringList {"10110101"} << 8 << "11111111";
    QTest::newRow("a denary operand") << true << Operation::ShiftRight << QStringList {"-75"} << 2 << "11101101";
}

void TestArithmetic::answers()
{
    QFETCH(bool, twos);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(int, places);
    QFETCH(QString, answer);
    const workbench::Answer a = workbench::solve(testformats::integer(twos, 8), operation, operands, places);
    QVERIFY2(!a.refused, qPrintable(a.text));
    QCOMPARE(a.text, answer);
}

void TestArithmetic::commandLine_data() { answers_data(); }

// The same answers from the command line, one at a time and as a batch.
void TestArithmetic::commandLine()
{
    QFETCH(bool, twos);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(int, places);
    QFETCH(QString, answer);
    QStringList question{"--format", twos ? "int-signed:8" : "int:8", "--solve", workbench::operationName(operation)};
    if (workbench::takesPlaces(operation))
        question << "--places" << QString::number(places);
    QString out;
    QCOMPARE(run(question + QStringList{"--"} + operands, &out), 0);
    QCOMPARE(out, answer + u'\n');
    QString batch;
    QCOMPARE(run(question + QStringList{"-"}, &batch, operands.join(u'\t') + u'\n'), 0);
    QCOMPARE(batch, answer + u'\n');
}

// What the working says: the carries, the dropped carry, the facts.
void TestArithmetic::working_data()
{
    QTest::addColumn<bool>("twos");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("said");
    QTest::newRow("unsigned overflow") << false << Operation::Add << QStringList {"10110110", "01101101"} << 0
                                       << "182 + 109 = 291 does not fit in 0 to 255";
    QTest::newRow("the carry dropped") << true << Operation::Add << QStringList {"11101100", "11110101"} << 0
                                       << "A carry out of the leftmost bit alone is not an overflow";
    QTest::newRow("the range") << true << Operation::Add << QStringList {"01011010", "01000111"} << 0
                               << "90 + 71 = 161 does not fit in \u2212128 to 127";
    QTest::newRow("the negative of b") << true << Operation::Subtract << QStringList {"45", "67"} << 0
                                       << "two's complement of the second number, 01000011";
    QTest::newRow("the check") << true << Operation::Subtract << QStringList{"45", "67"} << 0
                               << "Check in denary: \u221222 + 67 = 45.";
    QTest::newRow("the check, unsigned") << false << Operation::Subtract << QStringList{"01010101", "00110011"} << 0
                                         << "Check in denary: 34 + 51 = 85.";
    QTest::newRow("below 0") << false << Operation::Subtract << QStringList {"45", "67"} << 0
                             << "45 \u2212 67 = \u221222 is below 0";
    QTest::newRow("AND clears") << false << Operation::And << QStringList {"10110101", "00001111"} << 0
                                << "keeps the bits where it has a 1 and clears the rest";
    QTest::newRow("the low four bits") << false << Operation::And << QStringList{"10110101", "00001111"} << 0
                                       << "So AND with 00001111 keeps the low 4 bits and clears the rest.";
    QTest::newRow("the high two bits") << false << Operation::Or << QStringList{"10110101", "11000000"} << 0
                                       << "So OR with 11000000 sets the high 2 bits to 1 and keeps the rest.";
    QTest::newRow("testing a bit") << false << Operation::And << QStringList{"10110101", "00000100"} << 0
                                   << "So AND with 00000100 tests bit 2 (the bits counted from 0 at the right): the "
                                      "result is not 0, so that bit is 1.";
    QTest::newRow("testing a 0 bit") << false << Operation::And << QStringList{"10110101", "00001000"} << 0
                                     << "tests bit 3 (the bits counted from 0 at the right): the result is 0";
    QTest::newRow("XOR toggles") << false << Operation::Xor << QStringList {"10110101", "00001111"} << 0 << "toggles";
    // 101 would have stood at 2^10, 2^9, 2^8: 5 x 256.
    QTest::newRow("lost off the left") << false << Operation::ShiftLeft << QStringList {"10110101"} << 3
                                       << "Lost off the left: 101, which would have been worth 1280";
    QTest::newRow("a 1 lost") << false << Operation::ShiftLeft << QStringList {"10110101"} << 3
                              << "A 1 was lost off the left";
    QTest::newRow("times 2") << false << Operation::ShiftLeft << QStringList {"00010110"} << 1 << "22 \u00D7 21 = 44";
    QTest::newRow("negative times 2") << true << Operation::ShiftLeft << QStringList {"11000000"} << 1
                                      << "\u221264 \u00D7 21 = \u2212128";
    QTest::newRow("the sign changed") << true << Operation::ShiftLeft << QStringList {"01000000"} << 1
                                      << "The sign changed";
    QTest::newRow("not a copy of the sign")
        << true << Operation::ShiftLeft << QStringList {"10110101"} << 2 << "not a copy of the sign was lost";
    QTest::newRow("a positive's 1 lost") << true << Operation::ShiftLeft << QStringList {"01010101"} << 2
                                         << "not a copy of the sign was lost";
    QTest::newRow("the remainder") << false << Operation::ShiftRight << QStringList {"10110101"} << 2
                                   << "181 \u00F7 22 = 45 remainder 1";
    QTest::newRow("rounded down") << true << Operation::ShiftRight << QStringList {"10110101"} << 2
                                  << "\u221275 \u00F7 22 = \u221219 remainder 1: an arithmetic shift rounds";
    QTest::newRow("round the end") << false << Operation::RotateRight << QStringList {"10110101"} << 2
                                   << "The bits 01 went round from the right end to the left";
}

void TestArithmetic::working()
{
    QFETCH(bool, twos);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(int, places);
    QFETCH(QString, said);
    const Format f = testformats::integer(twos, 8);
    const QString text = plain(workbench::solve(f, operation, operands, places).workingHtml);
    QVERIFY2(text.contains(said), qPrintable(text));
}

void TestArithmetic::refusals_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("says");
    QTest::newRow("too few bits") << "int:8" << Operation::Add << QStringList{"1011", "00000001"} << "1011 does not fit";
    QTest::newRow("out of range") << "int-signed:8" << Operation::Add << QStringList{"200", "1"} << "200";
    QTest::newRow("not a number") << "int:8" << Operation::Subtract << QStringList{"00000001", "pear"} << "are not bits";
    QTest::newRow("no topic calculates it") << "float:8:4" << Operation::Multiply << QStringList{"1", "2"}
                                            << "Multiply";
    QTest::newRow("three rows, one's") << "int-ones:8" << Operation::Add << QStringList{"1", "2", "3"}
                                       << "One's complement adds two numbers at a time";
    QTest::newRow("three rows, sign and magnitude") << "int-signmag:8" << Operation::Add << QStringList{"1", "2", "3"}
                                                    << "Sign and magnitude adds two numbers at a time";
    // Once read past the end of the operands.
    QTest::newRow("one number, sign and magnitude") << "int-signmag:8" << Operation::Add << QStringList{"5"}
                                                    << "An addition takes two or three numbers, not 1.";
    QTest::newRow("four numbers") << "int:8" << Operation::Add << QStringList{"1", "2", "3", "4"}
                                  << "An addition takes two or three numbers, not 4.";
    QTest::newRow("no multiplying fixed point") << "fixed:4.4" << Operation::Multiply << QStringList{"1", "2"}
                                                << "Multiply";
}

void TestArithmetic::refusals()
{
    QFETCH(QString, format);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(QString, says);
    const workbench::Answer a = workbench::solve(testformats::named(qPrintable(format)), operation, operands, 0);
    QVERIFY(a.refused);
    QVERIFY2(a.text.contains(says), qPrintable(a.text));
}

// Status 2 for a question put wrongly, 1 for one the method refuses.
void TestArithmetic::commandLineRefuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::newRow("a shift without places") << QStringList{"--format", "int:8", "--solve", "shift-left", "1"} << 2;
    QTest::newRow("places not a number")
        << QStringList{"--format", "int:8", "--solve", "shift-left", "--places", "two", "1"} << 2;
    QTest::newRow("more places than bits")
        << QStringList{"--format", "int:8", "--solve", "shift-left", "--places", "9", "1"} << 1;
    QTest::newRow("places for an addition")
        << QStringList{"--format", "int:8", "--solve", "add", "--places", "1", "1", "2"} << 2;
    QTest::newRow("one operand for two") << QStringList{"--format", "int:8", "--solve", "add", "1"} << 2;
    QTest::newRow("a format without arithmetic") << QStringList{"--format", "float:8:4", "--solve", "xor", "1", "2"}
                                                 << 2;
    QTest::newRow("an arithmetic shift, unsigned")
        << QStringList{"--format", "int:8", "--solve", "shift-right", "--arithmetic", "--places", "1", "1"} << 1;
    QTest::newRow("logical and arithmetic")
        << QStringList{"--format", "int-signed:8", "--solve", "shift-right", "--arithmetic", "--logical", "--places",
                       "1", "1"}
        << 2;
    QTest::newRow("logical for an addition")
        << QStringList{"--format", "int:8", "--solve", "add", "--logical", "1", "2"} << 2;
    QTest::newRow("four rows") << QStringList{"--format", "int:8", "--solve", "add", "1", "2", "3", "4"} << 2;
}

void TestArithmetic::commandLineRefuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QString out;
    QCOMPARE(run(arguments, &out), status);
    QVERIFY(out.isEmpty());
}

// For random widths and patterns: the answer's bits are the true sum or
// difference modulo 2^n, and "overflow" is said exactly when the true
// result is outside the format's range.
void TestArithmetic::resultIsTheTrueResultModuloTheWidth()
{
    QRandomGenerator g(20261209);
    for (int i = 0; i < 3000; ++i) {
        const int n = g.bounded(1, 65);
        const bool twos = g.bounded(2) == 1;
        // Add two or three, subtract, or multiply.
        const int kind = g.bounded(4);
        const Operation operation = kind == 2 ? Operation::Subtract : kind == 3 ? Operation::Multiply : Operation::Add;
        const quint64 a = g.generate64() & patterns::lowBits(n), b = g.generate64() & patterns::lowBits(n),
                      c = g.generate64() & patterns::lowBits(n);
        QStringList operands{patterns::toBits(a, n), patterns::toBits(b, n)};
        if (kind == 1)
            operands << patterns::toBits(c, n);
        const workbench::Worked w = workbench::work(testformats::integer(twos, n), operation, operands, 0);
        QVERIFY(!w.refused);
        const QString bits = w.text.section(u',', 0, 0);
        const QString fact = w.text.section(u',', 1).trimmed();
        const __int128 x = heldBy(a, n, twos), y = heldBy(b, n, twos), z = heldBy(c, n, twos);
        const __int128 truth = kind == 0 ? x + y : kind == 1 ? x + y + z : kind == 2 ? x - y : x * y;
        const __int128 low = twos ? -(__int128(1) << (n - 1)) : 0;
        const __int128 high = (twos ? (__int128(1) << (n - 1)) : (__int128(1) << n)) - 1;
        const QString why = QStringLiteral("%1 bits: %2").arg(n).arg(w.text);
        QVERIFY2(bits.size() == n, qPrintable(why));
        QVERIFY2(patterns::fromBits(bits) == (quint64(truth) & patterns::lowBits(n)), qPrintable(why));
        const bool outside = truth < low || truth > high;
        QVERIFY2((fact != QLatin1StringView("no overflow")) == outside, qPrintable(why));
    }
}

// a - b + b gives a back, in every width, however either overflowed.
void TestArithmetic::subtractThenAddGivesTheFirstBack()
{
    QRandomGenerator g(7);
    for (int i = 0; i < 1000; ++i) {
        const int n = g.bounded(1, 65);
        const Format f = testformats::integer(g.bounded(2) == 1, n);
        const QString a = patterns::toBits(g.generate64(), n), b = patterns::toBits(g.generate64(), n);
        const QString difference = workbench::work(f, Operation::Subtract, {a, b}, 0).text.section(u',', 0, 0);
        const QString back = workbench::work(f, Operation::Add, {difference, b}, 0).text.section(u',', 0, 0);
        QCOMPARE(back, a);
    }
}

// Shifting left then right by k gives the pattern back with its top k bits
// cleared (unsigned) or copies of the new sign bit (two's complement);
// rotating left then right gives it back whole. Too many places is refused.
void TestArithmetic::shiftLeftThenRightKeepsWhatWasNotLost()
{
    QRandomGenerator g(11);
    for (int i = 0; i < 2000; ++i) {
        const int n = g.bounded(1, 65);
        const int k = g.bounded(0, n + 1);
        const bool twos = g.bounded(2) == 1;
        const Format f = testformats::integer(twos, n);
        const quint64 a = g.generate64() & patterns::lowBits(n);
        const QString bits = patterns::toBits(a, n);
        const QString left = workbench::work(f, Operation::ShiftLeft, {bits}, k).text;
        const QString back = workbench::work(f, Operation::ShiftRight, {left}, k).text;
        const QChar fill = twos && k < n ? bits.at(k) : u'0';
        QCOMPARE(back, QString(k, fill) + bits.mid(k));
        const QString turned = workbench::work(f, Operation::RotateLeft, {bits}, k).text;
        QCOMPARE(workbench::work(f, Operation::RotateRight, {turned}, k).text, bits);
        QVERIFY(workbench::work(f, Operation::ShiftLeft, {bits}, n + 1).refused);
    }
}

// Each code's own method, with the options a calculation takes.
void TestArithmetic::everyCode_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("answer");
    // 51 + 85 + 15 = 151; the rightmost column adds three 1s.
    QTest::newRow("three rows") << "int:8" << Operation::Add << QStringList{"00110011", "01010101", "00001111"} << ""
                                << "10010111, no overflow";
    // 255 + 255 + 255 = 765 = 2 x 256 + 253: a carry of 2 out of the top.
    QTest::newRow("three rows carry 2 out") << "int:8" << Operation::Add
                                            << QStringList{"11111111", "11111111", "11111111"} << ""
                                            << "11111101, overflow";
    QTest::newRow("three rows, two's") << "int-signed:8" << Operation::Add << QStringList{"100", "50", "-10"} << ""
                                       << "10001100, overflow";
    QTest::newRow("multiply") << "int:8" << Operation::Multiply << QStringList{"00001101", "00001011"} << ""
                              << "10001111, no overflow";
    QTest::newRow("multiply overflows") << "int:8" << Operation::Multiply << QStringList{"16", "17"} << ""
                                        << "00010000, overflow";
    QTest::newRow("multiply, two's") << "int-signed:8" << Operation::Multiply << QStringList{"-6", "7"} << ""
                                     << "11010110, no overflow";
    QTest::newRow("multiply, two negatives") << "int-signed:8" << Operation::Multiply << QStringList{"-8", "-16"}
                                             << "" << "10000000, overflow";
    QTest::newRow("multiply, -128 fits") << "int-signed:8" << Operation::Multiply << QStringList{"-8", "16"} << ""
                                         << "10000000, no overflow";
    QTest::newRow("multiply by 0") << "int-signed:8" << Operation::Multiply << QStringList{"-8", "0"} << ""
                                   << "00000000, no overflow";
    // -5 + 7: 11111010 + 00000111 carries out; the carry comes back in.
    QTest::newRow("one's end-around") << "int-ones:8" << Operation::Add << QStringList{"11111010", "00000111"} << ""
                                      << "00000010, no overflow";
    QTest::newRow("one's subtract") << "int-ones:8" << Operation::Subtract << QStringList{"7", "10"} << ""
                                    << "11111100, no overflow";
    QTest::newRow("one's overflow") << "int-ones:8" << Operation::Add << QStringList{"100", "100"} << ""
                                    << "11001000, overflow";
    QTest::newRow("sign and magnitude, signs differ")
        << "int-signmag:8" << Operation::Add << QStringList{"10000101", "00000011"} << "" << "10000010, no overflow";
    QTest::newRow("sign and magnitude, same sign")
        << "int-signmag:8" << Operation::Add << QStringList{"-5", "-3"} << "" << "10001000, no overflow";
    QTest::newRow("sign and magnitude, to 0") << "int-signmag:8" << Operation::Add << QStringList{"-5", "5"} << ""
                                              << "00000000, no overflow";
    QTest::newRow("sign and magnitude subtract")
        << "int-signmag:8" << Operation::Subtract << QStringList{"3", "5"} << "" << "10000010, no overflow";
    QTest::newRow("sign and magnitude overflow")
        << "int-signmag:8" << Operation::Add << QStringList{"01111111", "00000001"} << "" << "00000000, overflow";
    QTest::newRow("sign and magnitude AND") << "int-signmag:8" << Operation::And
                                            << QStringList{"10110101", "00001111"} << "" << "00000101";
    QTest::newRow("fixed add") << "fixed-signed:4.4" << Operation::Add << QStringList{"0101.1000", "1110.0100"} << ""
                               << "0011.1100, no overflow";
    QTest::newRow("fixed denary") << "fixed:4.4" << Operation::Add << QStringList{"5.5", "1.75"} << ""
                                  << "0111.0100, no overflow";
    QTest::newRow("fixed overflow") << "fixed:4.4" << Operation::Add << QStringList{"15.5", "0.5"} << ""
                                    << "0000.0000, overflow";
    QTest::newRow("fixed subtract below 0") << "fixed:4.4" << Operation::Subtract << QStringList{"1.5", "2"} << ""
                                            << "1111.1000, below 0";
    // A logical shift right of a negative number brings 0s in.
    QTest::newRow("logical right, two's") << "int-signed:8" << Operation::ShiftRight << QStringList{"10110101"}
                                          << "--logical" << "00101101";
    QTest::newRow("arithmetic right, two's") << "int-signed:8" << Operation::ShiftRight << QStringList{"10110101"}
                                             << "--arithmetic" << "11101101";
}

void TestArithmetic::everyCode()
{
    QFETCH(QString, format);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(QString, options);
    QFETCH(QString, answer);
    const Format f = testformats::named(qPrintable(format));
    workbench::Calculation c{operands, 2, std::nullopt, std::nullopt};
    if (!options.isEmpty())
        c.arithmetic = options == QLatin1StringView("--arithmetic");
    const workbench::Answer a = workbench::solve(f, operation, c);
    QCOMPARE(a.text, answer);
    // The command line says the same.
    QStringList arguments{"--format", format, "--solve", workbench::operationName(operation)};
    if (workbench::takesPlaces(operation))
        arguments << "--places" << "2";
    if (!options.isEmpty())
        arguments << options;
    QString out;
    QCOMPARE(run(arguments << "--" << operands, &out), 0);
    QCOMPARE(out, answer + u'\n');
}

// The worked examples and one of each code, their working whole.
void TestArithmetic::approvedWorking_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<int>("places");
    QTest::newRow("add unsigned overflow") << "int:8" << Operation::Add << QStringList{"10110110", "01101101"} << 0;
    QTest::newRow("add two's overflow") << "int-signed:8" << Operation::Add << QStringList{"01011010", "01000111"}
                                        << 0;
    QTest::newRow("add two's carry dropped") << "int-signed:8" << Operation::Add
                                             << QStringList{"11101100", "11110101"} << 0;
    QTest::newRow("add three rows") << "int:8" << Operation::Add << QStringList{"00110011", "01010101", "00001111"}
                                    << 0;
    QTest::newRow("subtract 45 67") << "int-signed:8" << Operation::Subtract << QStringList{"45", "67"} << 0;
    QTest::newRow("subtract below 0") << "int:8" << Operation::Subtract << QStringList{"45", "67"} << 0;
    QTest::newRow("multiply two's") << "int-signed:8" << Operation::Multiply << QStringList{"-6", "7"} << 0;
    QTest::newRow("multiply unsigned") << "int:4" << Operation::Multiply << QStringList{"1101", "1011"} << 0;
    // Beyond 16-bit numbers each row is one cell of fixed-width bits.
    QTest::newRow("multiply wide") << "int:17" << Operation::Multiply << QStringList{"1000", "77"} << 0;
    // -128 needs 8 bits, its sign included, and fits.
    QTest::newRow("multiply to -128") << "int-signed:8" << Operation::Multiply << QStringList{"-8", "16"} << 0;
    QTest::newRow("shift left 3") << "int:8" << Operation::ShiftLeft << QStringList{"10110101"} << 3;
    QTest::newRow("shift right 2 two's") << "int-signed:8" << Operation::ShiftRight << QStringList{"10110101"} << 2;
    QTest::newRow("and mask") << "int:8" << Operation::And << QStringList{"10110101", "00001111"} << 0;
    QTest::newRow("one's end-around") << "int-ones:8" << Operation::Add << QStringList{"11111010", "00000111"} << 0;
    QTest::newRow("sign and magnitude subtract") << "int-signmag:8" << Operation::Subtract << QStringList{"3", "5"}
                                                 << 0;
    QTest::newRow("fixed add") << "fixed-signed:4.4" << Operation::Add << QStringList{"0101.1000", "1110.0100"} << 0;
}

void TestArithmetic::approvedWorking()
{
    QFETCH(QString, format);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(int, places);
    const workbench::Answer a = workbench::solve(testformats::named(qPrintable(format)), operation, operands, places);
    const QString text = format + u' ' + workbench::operationName(operation) + u' ' + operands.join(u' ')
        + QStringLiteral("\n") + a.text + QStringLiteral("\n\n") + approved::plainText(a.workingHtml);
    QUORVEX_COMPARE_APPROVED(QStringLiteral("arithmetic"), approved::fileName(QString::fromUtf8(QTest::currentDataTag())),
                             text);
}

// Sign and magnitude and one's complement: the pattern holds the true
// result, or overflow is said, exactly when it lies outside the range.
void TestArithmetic::signedCodesOverflowExactlyOutsideTheirRange()
{
    QRandomGenerator g(1209);
    for (int i = 0; i < 2000; ++i) {
        const int n = g.bounded(2, 65);
        const bool ones = g.bounded(2) == 1;
        const bool subtract = g.bounded(2) == 1;
        const Format f = testformats::named(qPrintable(QStringLiteral("%1:%2").arg(ones ? "int-ones" : "int-signmag").arg(n)));
        const quint64 a = g.generate64() & patterns::lowBits(n), b = g.generate64() & patterns::lowBits(n);
        const auto value = [&](quint64 bits) {
            const bool negative = (bits >> (n - 1)) & 1;
            const __int128 low = __int128(bits & patterns::lowBits(n - 1));
            if (!negative)
                return low;
            return ones ? -__int128(~bits & patterns::lowBits(n - 1)) : -low;
        };
        const __int128 truth = subtract ? value(a) - value(b) : value(a) + value(b);
        const __int128 high = (__int128(1) << (n - 1)) - 1;
        const workbench::Worked w = workbench::work(f, subtract ? Operation::Subtract : Operation::Add,
                                                    {patterns::toBits(a, n), patterns::toBits(b, n)}, 0);
        const QString why = QStringLiteral("%1 %2").arg(f.representation.id.data()).arg(w.text);
        QVERIFY2(!w.refused, qPrintable(why));
        const QString bits = w.text.section(u',', 0, 0);
        const bool outside = truth < -high || truth > high;
        QVERIFY2((w.text.section(u',', 1).trimmed() == QLatin1StringView("overflow")) == outside, qPrintable(why));
        if (!outside)
            QVERIFY2(value(patterns::fromBits(bits)) == truth, qPrintable(why));
    }
}

Q_DECLARE_METATYPE(practice::Mistake)

// A student's answer with each usual slip, and the slip named; shifts move
// 3 places.
void TestArithmetic::slipsNamed_data()
{
    using M = practice::Mistake;
    QTest::addColumn<QString>("format");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<M>("mistake");
    const QStringList sum{"10110110", "01101101"};
    QTest::newRow("right") << "int:8" << Operation::Add << sum << "00100011, overflow" << M::None;
    QTest::newRow("right, no fact") << "int:8" << Operation::Add << sum << "0010 0011" << M::None;
    QTest::newRow("carry dropped") << "int:8" << Operation::Add << sum << "11011011" << M::CarryDropped;
    QTest::newRow("carry out kept") << "int:8" << Operation::Add << sum << "100100011" << M::CarryOutKept;
    QTest::newRow("overflow missed") << "int:8" << Operation::Add << sum << "00100011, no overflow"
                                     << M::OverflowMissed;
    QTest::newRow("overflow claimed") << "int-signed:8" << Operation::Add << QStringList{"11101100", "11110101"}
                                      << "11100001, overflow" << M::OverflowClaimed;
    // 85 - 51: 51 - 85 = -34 is 11011110.
    QTest::newRow("wrong one negated") << "int-signed:8" << Operation::Subtract
                                       << QStringList{"01010101", "00110011"} << "11011110"
                                       << M::WrongOperandNegated;
    // 85 + 11001100 (51 inverted) = 00100001, one short.
    QTest::newRow("inverted only") << "int-signed:8" << Operation::Subtract << QStringList{"01010101", "00110011"}
                                   << "00100001" << M::InvertedOnly;
    QTest::newRow("magnitudes") << "int-signed:8" << Operation::Subtract << QStringList{"45", "67"} << "00010110"
                                << M::MagnitudesSubtracted;
    QTest::newRow("wrong way") << "int:8" << Operation::ShiftLeft << QStringList{"10110101"} << "00010110"
                               << M::ShiftWrongWay;
    QTest::newRow("logical for arithmetic") << "int-signed:8" << Operation::ShiftRight << QStringList{"10110101"}
                                            << "00010110" << M::LogicalForArithmetic;
    QTest::newRow("rotate for shift") << "int:8" << Operation::ShiftLeft << QStringList{"10110101"} << "10101101"
                                      << M::RotateForShift;
    QTest::newRow("shift for rotate") << "int:8" << Operation::RotateLeft << QStringList{"10110101"} << "10101000"
                                      << M::RotateForShift;
    QTest::newRow("OR for AND") << "int:8" << Operation::And << QStringList{"10110101", "00001111"} << "10111111"
                                << M::MaskSwapped;
    QTest::newRow("AND for OR") << "int:8" << Operation::Or << QStringList{"10110101", "00001111"} << "00000101"
                                << M::MaskSwapped;
    QTest::newRow("too few bits") << "int:8" << Operation::Add << sum << "0100011" << M::WrongCount;
    QTest::newRow("denary") << "int:8" << Operation::Add << sum << "291" << M::Unreadable;
    QTest::newRow("other") << "int:8" << Operation::Add << sum << "01010101" << M::Other;
    QTest::newRow("nothing") << "int:8" << Operation::Add << sum << "" << M::Unreadable;
}

void TestArithmetic::slipsNamed()
{
    QFETCH(QString, format);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(QString, answer);
    QFETCH(practice::Mistake, mistake);
    const practice::Verdict v = practice::markCalculation(testformats::named(qPrintable(format)), operation,
                                                          workbench::Calculation{operands, 3, {}, {}}, answer);
    QCOMPARE(v.mistake, mistake);
    QCOMPARE(v.right, mistake == practice::Mistake::None);
    if (!v.right && mistake != practice::Mistake::Unreadable)
        QVERIFY2(v.text.contains(QStringLiteral("The right answer is")) && v.workingHtml.contains(QStringLiteral("parts from the method")),
                 qPrintable(v.text));
}

// Every new calculation has an answer, and that answer is marked right; a
// wrong one is not.
void TestArithmetic::newCalculationsAreMarkedRight()
{
    QRandomGenerator g(42);
    const char *formats[] = {"int:8", "int-signed:8", "int:16", "int-signed:5", "fixed:4.4", "fixed-signed:4.4",
                             "int-ones:8", "int-signmag:8"};
    int overflowing = 0, additions = 0;
    for (int i = 0; i < 600; ++i) {
        const Format f = testformats::named(formats[i % std::size(formats)]);
        const QList<Operation> ops = workbench::topicOf(f)->calculations();
        const Operation op = ops.at(int(g.bounded(qsizetype(ops.size()))));
        const workbench::Calculation c = practice::newCalculation(f, op, g);
        const workbench::Worked w = workbench::work(f, op, c);
        const QString why = QStringLiteral("%1 %2 %3").arg(formats[i % std::size(formats)], workbench::operationName(op), c.operands.join(u' '));
        QVERIFY2(!w.refused, qPrintable(why));
        QVERIFY2(practice::markCalculation(f, op, c, w.text).right, qPrintable(why));
        QString wrong = w.text;
        wrong[0] = wrong.at(0) == u'1' ? u'0' : u'1';
        QVERIFY2(!practice::markCalculation(f, op, c, wrong).right, qPrintable(why));
        QVERIFY2(!practice::askedCalculation(f, op, c).isEmpty(), qPrintable(why));
        if (op == Operation::Add && f.isInteger()) {
            ++additions;
            overflowing += w.text.endsWith(QLatin1StringView(", overflow"));
        }
    }
    // Additions with and without overflow, both often.
    QVERIFY2(overflowing > additions / 5 && overflowing < additions * 4 / 5,
             qPrintable(QStringLiteral("%1 of %2").arg(overflowing).arg(additions)));
}

// Each calculation said as a paper says it.
void TestArithmetic::calculationsInWords_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("said");
    QTest::newRow("add") << "int:8" << Operation::Add << QStringList{"10110110", "01101101"} << ""
                         << "Add 10110110 and 01101101 (8-bit unsigned) and state whether overflow occurs.";
    QTest::newRow("three rows") << "int:8" << Operation::Add << QStringList{"1", "10", "11"} << ""
                                << "Add 1, 10 and 11 (8-bit unsigned) and state whether overflow occurs.";
    QTest::newRow("shift") << "int-signed:8" << Operation::ShiftRight << QStringList{"10110101"} << ""
                           << "Shift right 10110101 by 2 places (8-bit two's complement).";
    QTest::newRow("mask") << "int:8" << Operation::Xor << QStringList{"10110101", "00001111"} << ""
                          << "Apply XOR to 10110101 with the mask 00001111 (8-bit unsigned).";
    QTest::newRow("error") << "float:8:4" << Operation::Error << QStringList{"5.3"} << ""
                           << "Store 5.3 (floating point with an 8-bit mantissa and a 4-bit exponent) and give the "
                              "absolute and relative error.";
    QTest::newRow("convert") << "ieee:single" << Operation::Convert << QStringList{"3DCCCCCD"} << "ieee:half"
                             << "Convert 3DCCCCCD (IEEE 754 single precision (binary32)) to IEEE 754 half precision "
                                "(binary16).";
}

void TestArithmetic::calculationsInWords()
{
    QFETCH(QString, format);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(QString, to);
    QFETCH(QString, said);
    workbench::Calculation c{operands, 2, {}, {}};
    if (!to.isEmpty())
        c.to = testformats::named(qPrintable(to));
    QCOMPARE(practice::askedCalculation(testformats::named(qPrintable(format)), operation, c), said);
}

// A calculation asked as a question of one operand is worked, and marked,
// as the same calculation (the marking and the answer once disagreed).
void TestArithmetic::oneOperandAskedAsAQuestion()
{
    const Format f = testformats::named("int:8");
    const workbench::Answer a = workbench::solve(f, Operation::Not, QStringLiteral("10110101"));
    QVERIFY(!a.refused);
    QCOMPARE(a.text, QStringLiteral("01001010"));
    QVERIFY(practice::mark(f, Operation::Not, QStringLiteral("10110101"), a.text).right);
    QVERIFY(workbench::solve(f, Operation::Add, QStringLiteral("1")).refused);
    QCOMPARE(practice::mark(f, Operation::Add, QStringLiteral("1"), QStringLiteral("1")).mistake,
             practice::Mistake::QuestionRefused);
}

QTEST_MAIN(TestArithmetic)
#include "tst_arithmetic.moc"
