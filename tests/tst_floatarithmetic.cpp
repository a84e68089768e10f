// SPDX-License-Identifier: MIT
// Floating-point arithmetic, errors, rounding and range against precision:
// the worked examples through the engine and the command line, approved
// working, the slips marked, and properties over random formats and pairs
// checked against exact arithmetic worked here independently.
#include "app/commandline.h"
#include "approvedtext.h"
#include "engine/bitpattern.h"
#include "engine/exact.h"
#include "engine/rounding.h"
#include "formats.h"
#include "practice/calculations.h"
#include "practice/practice.h"
#include "topics/registry.h"
#include "topics/workbench.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QTextStream>

using namespace quorvex;
using exact::Number;
using workbench::Operation;

Q_DECLARE_METATYPE(workbench::Operation)
Q_DECLARE_METATYPE(quorvex::practice::Mistake)

namespace {

int run(QStringList arguments, QString *out, const QString &input = QString())
{
    arguments.prepend(QStringLiteral("quorvex"));
    QString in = input, err;
    QTextStream i(&in), o(out), e(&err);
    const int status = commandLine(arguments, i, o, e);
    o.flush();
    if (status != 0)
        *out += err;
    return status;
}

Format named(const QString &name, const QString &rounding)
{
    Format f = testformats::named(qPrintable(name));
    f.rounding = rounding == u"nearest" ? Rounding::Nearest : Rounding::Cut;
    return f;
}

// A random pattern of the format, normalised (or zero).
QString randomPair(const Format &f, QRandomGenerator &g)
{
    const int m = f.mantissa;
    if (g.bounded(20) == 0)
        return QString(f.totalBits(), u'0');
    QString mantissa = patterns::toBits(g.generate64(), m);
    mantissa[1] = mantissa.at(0) == u'0' ? u'1' : u'0';
    const qint64 e = f.lowestExponent() + qint64(g.bounded(quint64(f.highestExponent() - f.lowestExponent() + 1)));
    return mantissa + patterns::toBits(quint64(e) & patterns::lowBits(f.exponent), f.exponent);
}

Number pairValue(const Format &f, const QString &bits)
{
    return patterns::twosValue(QStringView(bits).left(f.mantissa))
        .times2(patterns::twosWhole(QStringView(bits).mid(f.mantissa)) - (f.mantissa - 1));
}

// What the format holds for `x`, worked here from the definition: its size
// to m - 1 significant bits, cut or rounded (halves up), then the range.
struct Expected {
    enum Kind { Held, Overflow, Underflow } kind = Held;
    Number value;
};
Expected expected(const Format &f, const Number &x)
{
    if (x.isZero())
        return {};
    const int m = f.mantissa;
    const Number size = x.abs();
    const qint64 e = size.binaryOrder();
    Number scaled = size.times2(m - 1 - e);
    if (f.rounding == Rounding::Nearest)
        scaled = scaled + Number::power2(-1);
    const Number kept = scaled.truncated().times2(e - (m - 1));
    if (kept.binaryOrder() < f.lowestExponent())
        return {Expected::Underflow, {}};
    const Number largest = (Number(1) - Number::power2(1 - m)).times2(f.highestExponent());
    const Number limit = x.sign() < 0 ? Number::power2(f.highestExponent()) : largest;
    if (kept > limit)
        return {Expected::Overflow, {}};
    return {Expected::Held, x.sign() < 0 ? -kept : kept};
}

}  // namespace

class TestFloatArithmetic : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void approvedWorking_data();
    void approvedWorking();
    void refusals_data();
    void refusals();
    void marking_data();
    void marking();
    void sumIsTheExactSumCutOrRounded();
    void relativeErrorIsWithinTheBound();
    void errorQuestionsAreNotHeldExactly();
};

void TestFloatArithmetic::answers_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("rounding");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("answer");
    const auto add = [](const char *tag, const char *format, const char *rounding, Operation o, QStringList operands,
                        const QString &answer, const char *to = "") {
        QTest::newRow(tag) << format << rounding << o << operands << to << answer;
    };
    // 5 + 3 = 8: the exponents 3 and 2 made equal, the sum carries into
    // the sign place and is shifted back.
    add("5 + 3", "float:8:4", "cut", Operation::Add, {"01010000 0011", "01100000 0010"}, "01000000 0100");
    add("7 + 1.5", "float:8:4", "cut", Operation::Add, {"01110000 0011", "01100000 0001"}, "01000100 0100");
    // 8.4375 needs one bit more than the mantissa: 0.0625 is lost.
    add("7.9375 + 0.5", "float:8:4", "cut", Operation::Add, {"01111111 0011", "01000000 0000"}, "01000011 0100");
    add("7.9375 + 0.5 rounded", "float:8:4", "nearest", Operation::Add, {"01111111 0011", "01000000 0000"},
        "01000100 0100");
    add("5 - 3", "float:8:4", "cut", Operation::Subtract, {"01010000 0011", "01100000 0010"}, "01000000 0010");
    // 1 - 0.9921875 = 1/128: the difference normalised far to the left.
    add("1 - 0.9921875", "float:8:4", "cut", Operation::Subtract, {"01000000 0001", "01111111 0000"},
        "01000000 1010");
    add("denary operands", "float:8:4", "cut", Operation::Subtract, {"-3", "5.5"}, "10111100 0100");
    add("a negative sum", "float:8:4", "cut", Operation::Add, {"-5", "1.5"}, "10010000 0010");
    add("to zero", "float:8:4", "cut", Operation::Subtract, {"2.5", "2.5"}, "00000000 0000");
    add("overflow", "float:8:4", "cut", Operation::Add, {"100", "100"}, "overflow");
    add("underflow", "float:8:4", "cut", Operation::Subtract, {"01000001 1000", "01000000 1000"}, "underflow");
    add("one lost whole", "float:8:4", "cut", Operation::Add, {"01000000 0111", "01000000 1000"}, "01000000 0111");
    add("one lost whole, from", "float:8:4", "cut", Operation::Subtract, {"01000000 0111", "01000000 1000"},
        "01111111 0110");
    add("error of 5.3", "float:8:4", "cut", Operation::Error, {"5.3"},
        "01010100 0011 = 5.25; absolute error 0.05; relative error 1/106 \u2248 0.009434 (0.94 %)");
    add("error rounded", "float:8:4", "nearest", Operation::Error, {"5.3"},
        "01010101 0011 = 5.3125; absolute error 0.0125; relative error 1/424 \u2248 0.002358 (0.24 %)");
    add("error of a negative", "float:8:4", "cut", Operation::Error, {"-0.1"},
        "10011010 1101 = -0.099609375; absolute error 0.000390625; relative error 1/256 \u2248 0.003906 (0.39 %)");
    add("error held exactly", "float:8:4", "cut", Operation::Error, {"6.5"},
        "01101000 0011 = 6.5; absolute error 0; relative error 0 \u2248 0 (0 %)");
    add("error of 0", "float:8:4", "cut", Operation::Error, {"0"},
        "00000000 0000 = 0; absolute error 0; relative error 0");
    add("fixed error", "fixed:4.4", "cut", Operation::Error, {"5.3"},
        "0101.0100 = 5.25; absolute error 0.05; relative error 1/106 \u2248 0.009434 (0.94 %)");
    add("fixed error rounded", "fixed-signed:4.4", "nearest", Operation::Error, {"-5.3"},
        "1010.1011 = -5.3125; absolute error 0.0125; relative error 1/424 \u2248 0.002358 (0.24 %)");
    add("to binary rounded", "float:8:4", "nearest", Operation::ToBinary, {"5.3"}, "01010101 0011");
    // 0.1111111|1 rounds up and carries out: 1.0 with the exponent one up.
    add("rounding carries out", "float:8:4", "nearest", Operation::ToBinary, {"7.96875"}, "01000000 0100");
    add("fixed rounded", "fixed:4.4", "nearest", Operation::ToBinary, {"0.1"}, "0000.0010");
    add("fixed cut", "fixed:4.4", "cut", Operation::ToBinary, {"0.1"}, "0000.0001");
    add("10/6 against 12/4", "float:10:6", "cut", Operation::Compare, {},
        "float:10:6: largest 2143289344, smallest positive 0.000000000116415321826934814453125, most negative "
        "-2147483648, step near 1 0.00390625; float:12:4: largest 127.9375, smallest positive 0.001953125, most "
        "negative -128, step near 1 0.0009765625; float:10:6 has the larger range, float:12:4 the greater precision",
        "float:12:4");
    add("a number more exactly", "float:10:6", "cut", Operation::Compare, {"-0.1"},
        "float:10:6: largest 2143289344, smallest positive 0.000000000116415321826934814453125, most negative "
        "-2147483648, step near 1 0.00390625; float:12:4: largest 127.9375, smallest positive 0.001953125, most "
        "negative -128, step near 1 0.0009765625; float:10:6 has the larger range, float:12:4 the greater "
        "precision; -0.1: float:12:4 holds it more exactly (-0.0999755859375 against -0.099853515625)",
        "float:12:4");
    // 1000 overflows 12/4.
    add("a number only one holds", "float:10:6", "cut", Operation::Compare, {"1000"},
        "float:10:6: largest 2143289344, smallest positive 0.000000000116415321826934814453125, most negative "
        "-2147483648, step near 1 0.00390625; float:12:4: largest 127.9375, smallest positive 0.001953125, most "
        "negative -128, step near 1 0.0009765625; float:10:6 has the larger range, float:12:4 the greater "
        "precision; 1000: held only by float:10:6",
        "float:12:4");
}

void TestFloatArithmetic::answers()
{
    QFETCH(QString, format);
    QFETCH(QString, rounding);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(QString, to);
    QFETCH(QString, answer);
    workbench::Calculation c{operands, 0, std::nullopt, std::nullopt};
    if (!to.isEmpty())
        c.to = testformats::named(qPrintable(to));
    const workbench::Answer a = workbench::solve(named(format, rounding), operation, c);
    QVERIFY2(!a.refused, qPrintable(a.text));
    QCOMPARE(a.text, answer);
    // The same from the command line, alone and in a batch.
    QStringList question{"--format", format, "--rounding", rounding, "--solve", workbench::operationName(operation)};
    if (!to.isEmpty())
        question << "--to" << to;
    QString out;
    QCOMPARE(run(question + QStringList{"--"} + operands, &out), 0);
    QCOMPARE(out, answer + u'\n');
    if (!operands.isEmpty()) {
        QString batch;
        QCOMPARE(run(question + QStringList{"-"}, &batch, operands.join(u'\t') + u'\n'), 0);
        QCOMPARE(batch, answer + u'\n');
    }
}

void TestFloatArithmetic::approvedWorking_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("rounding");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("to");
    QTest::newRow("add 7.9375 0.5") << "float:8:4" << "cut" << Operation::Add
                                    << QStringList{"01111111 0011", "01000000 0000"} << "";
    QTest::newRow("subtract 1 0.9921875") << "float:8:4" << "cut" << Operation::Subtract
                                          << QStringList{"01000000 0001", "01111111 0000"} << "";
    QTest::newRow("subtract denary") << "float:8:4" << "nearest" << Operation::Subtract << QStringList{"-3", "5.5"}
                                     << "";
    QTest::newRow("add overflow") << "float:8:4" << "cut" << Operation::Add << QStringList{"100", "100"} << "";
    QTest::newRow("error 5.3") << "float:8:4" << "cut" << Operation::Error << QStringList{"5.3"} << "";
    QTest::newRow("to binary 7.96875 nearest") << "float:8:4" << "nearest" << Operation::ToBinary
                                               << QStringList{"7.96875"} << "";
    QTest::newRow("compare 10-6 12-4") << "float:10:6" << "cut" << Operation::Compare << QStringList{"1000"}
                                       << "float:12:4";
}

void TestFloatArithmetic::approvedWorking()
{
    QFETCH(QString, format);
    QFETCH(QString, rounding);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(QString, to);
    workbench::Calculation c{operands, 0, std::nullopt, std::nullopt};
    if (!to.isEmpty())
        c.to = testformats::named(qPrintable(to));
    const workbench::Answer a = workbench::solve(named(format, rounding), operation, c);
    const QString text = format + u' ' + rounding + u' ' + workbench::operationName(operation) + u' '
        + operands.join(QStringLiteral(", ")) + (to.isEmpty() ? QString() : QStringLiteral(" --to ") + to)
        + QStringLiteral("\nAnswer: ") + a.text + QStringLiteral("\n\n") + approved::plainText(a.workingHtml);
    QUORVEX_COMPARE_APPROVED(QStringLiteral("floatarithmetic"),
                             approved::fileName(QString::fromLatin1(QTest::currentDataTag())), text);
}

// Refused, with a reason that names what is wrong.
void TestFloatArithmetic::refusals_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("said");
    QTest::newRow("an operand too short") << "float:8:4" << Operation::Add << QStringList{"0101 0000 001", "01000000 0000"}
                                          << "" << "need 12 bits";
    QTest::newRow("an operand that overflows") << "float:8:4" << Operation::Add << QStringList{"200", "1"} << ""
                                               << "Overflow";
    QTest::newRow("an operand that underflows") << "float:8:4" << Operation::Subtract
                                                << QStringList{"1", "0.0001"} << "" << "Underflow";
    QTest::newRow("error of what overflows") << "float:8:4" << Operation::Error << QStringList{"1000"} << ""
                                             << "Overflow";
    QTest::newRow("error of a word") << "fixed:4.4" << Operation::Error << QStringList{"pear"} << "" << "pear";
    QTest::newRow("compare without another") << "float:8:4" << Operation::Compare << QStringList{} << ""
                                             << "needs a second";
    QTest::newRow("compare other widths") << "float:8:4" << Operation::Compare << QStringList{} << "float:10:4"
                                          << "14 bits";
    QTest::newRow("compare with fixed") << "float:8:4" << Operation::Compare << QStringList{} << "fixed:6.6"
                                        << "fixed:6.6 is not a floating-point format";
}

void TestFloatArithmetic::refusals()
{
    QFETCH(QString, format);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(QString, to);
    QFETCH(QString, said);
    workbench::Calculation c{operands, 0, std::nullopt, std::nullopt};
    if (!to.isEmpty())
        c.to = testformats::named(qPrintable(to));
    const workbench::Answer a = workbench::solve(testformats::named(qPrintable(format)), operation, c);
    QVERIFY(a.refused);
    QVERIFY2(a.text.contains(said), qPrintable(a.text));
}

// The slips marked: cutting where the method rounds and the other way, and
// those of the calculations.
void TestFloatArithmetic::marking_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("rounding");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<practice::Mistake>("mistake");
    QTest::addColumn<QString>("said");
    using practice::Mistake;
    const auto row = [](const char *tag, const char *format, const char *rounding, Operation o, QStringList operands,
                        const char *answer, Mistake mistake, const char *said) {
        QTest::newRow(tag) << format << rounding << o << operands << answer << mistake << said;
    };
    const Operation bin = Operation::ToBinary, add = Operation::Add, sub = Operation::Subtract,
                    err = Operation::Error, cmp = Operation::Compare;
    row("float cut where it rounds", "float:8:4", "nearest", bin, {"5.3"}, "01010100 0011", Mistake::Cut,
        "rounds to nearest");
    row("float rounded where it cuts", "float:8:4", "cut", bin, {"5.3"}, "01010101 0011", Mistake::Rounded,
        "the method cuts");
    row("float rounded, right", "float:8:4", "nearest", bin, {"5.3"}, "01010101 0011", Mistake::None, "Right");
    row("fixed cut where it rounds", "fixed:4.4", "nearest", bin, {"0.1"}, "0000.0001", Mistake::Cut,
        "rounds to nearest");
    row("fixed rounded, right", "fixed:4.4", "nearest", bin, {"0.1"}, "0000.0010", Mistake::None, "Right");
    const QStringList fiveThree{"01010000 0011", "01100000 0010"};
    row("sum right", "float:8:4", "cut", add, fiveThree, "0100 0000 0100", Mistake::None, "Right");
    // 0.625 + 0.75 with the exponent 3: 11.
    row("exponents not made equal", "float:8:4", "cut", add, fiveThree, "01011000 0100", Mistake::ExponentsNotEqual,
        "exponents (3 and 2) must be made the same");
    // 0.3125 + 0.75 with the exponent 2: 4.25.
    row("larger mantissa shifted", "float:8:4", "cut", add, fiveThree, "01000100 0011", Mistake::LargerShifted,
        "the smaller number's mantissa that shifts 1 place right");
    // 0.101 + 0.011 = 1.000: into the sign place, written as it came.
    row("sum not normalised", "float:8:4", "cut", add, fiveThree, "10000000 0011", Mistake::NotNormalised,
        "without normalising it");
    row("the right value unnormalised", "float:8:4", "cut", add, fiveThree, "00100000 0101", Mistake::NotNormalised,
        "the right value, but the sum is not normalised");
    row("added, not subtracted", "float:8:4", "cut", sub, fiveThree, "01000000 0100", Mistake::SubtractionSignLost,
        "was added, not taken away");
    row("the other way round", "float:8:4", "cut", sub, fiveThree, "10000000 0001", Mistake::SubtractionSignLost,
        "the sign of the difference is lost");
    row("overflow said", "float:8:4", "cut", add, {"100", "100"}, "overflow", Mistake::None, "Right");
    row("not an overflow", "float:8:4", "cut", add, fiveThree, "overflow", Mistake::Other, "it is not overflow");
    row("absolute error", "float:8:4", "cut", err, {"5.3"}, "0.05", Mistake::None, "Right");
    row("relative error, a fraction", "float:8:4", "cut", err, {"5.3"}, "1/106", Mistake::None, "Right");
    row("relative error, a decimal", "float:8:4", "cut", err, {"5.3"}, "0.00943", Mistake::None, "Right");
    row("relative error, a percentage", "float:8:4", "cut", err, {"5.3"}, "0.94 %", Mistake::None, "Right");
    // 0.0095 is 1/106 = 0.009434 to no figure typed, but 1/105 = 0.009524.
    row("a decimal nearer the stored value's", "float:8:4", "cut", err, {"5.3"}, "0.0095", Mistake::DividedByStored,
        "divides the absolute error by the value stored");
    row("a percentage too far out", "float:8:4", "cut", err, {"5.3"}, "0.9 %", Mistake::Other, "neither");
    row("error with its sign", "float:8:4", "cut", err, {"5.3"}, "-0.05", Mistake::SignedError, "never negative");
    row("divided by the stored value", "float:8:4", "cut", err, {"5.3"}, "1/105", Mistake::DividedByStored,
        "divides the absolute error by the value stored, 5.25");
    row("divided by stored, a decimal", "fixed:4.4", "cut", err, {"5.3"}, "0.009524", Mistake::DividedByStored,
        "the true number, 5.3");
    row("neither error", "float:8:4", "cut", err, {"5.3"}, "0.5", Mistake::Other, "neither");
    row("the more exact", "float:10:6", "cut", cmp, {"-0.1"}, "float:12:4", Mistake::None, "Right");
    row("range taken for precision", "float:10:6", "cut", cmp, {"-0.1"}, "10/6", Mistake::RangePrecisionSwapped,
        "float:10:6 has more exponent bits: it has the larger range, but the less precision");
}

void TestFloatArithmetic::marking()
{
    QFETCH(QString, format);
    QFETCH(QString, rounding);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(QString, answer);
    QFETCH(practice::Mistake, mistake);
    QFETCH(QString, said);
    const Format f = named(format, rounding);
    workbench::Calculation c{operands, 0, std::nullopt, std::nullopt};
    if (operation == Operation::Compare)
        c.to = testformats::floating(12, 4);
    const practice::Verdict v = workbench::isCalculation(operation)
        ? practice::markCalculation(f, operation, c, answer)
        : practice::mark(f, operation, operands.value(0), answer);
    QVERIFY2(v.mistake == mistake, qPrintable(v.text));
    QCOMPARE(v.right, mistake == practice::Mistake::None);
    QVERIFY2(v.text.contains(said), qPrintable(v.text));
}

// For random formats and normalised pairs, in both roundings: the sum or
// difference holds the exact result cut (or rounded) to the format, and
// overflow or underflow is said exactly when that is beyond the format.
void TestFloatArithmetic::sumIsTheExactSumCutOrRounded()
{
    QRandomGenerator g(20261209);
    for (int i = 0; i < 1500; ++i) {
        Format f = testformats::floating(int(g.bounded(2, 25)), int(g.bounded(2, 6)));
        if (i % 50 == 0)
            f = testformats::floating(64, 12);
        f.rounding = g.bounded(2) == 1 ? Rounding::Nearest : Rounding::Cut;
        const bool subtract = g.bounded(2) == 1;
        const QString a = randomPair(f, g), b = randomPair(f, g);
        const workbench::Worked w =
            workbench::work(f, subtract ? Operation::Subtract : Operation::Add, QStringList{a, b}, 0);
        const QString why = QStringLiteral("%1 %2 %3 %4 %5: %6")
                                .arg(workbench::formatName(f), roundingName(f.rounding), a,
                                     subtract ? QStringLiteral("-") : QStringLiteral("+"), b, w.text);
        QVERIFY2(!w.refused, qPrintable(why));
        const Number truth = subtract ? pairValue(f, a) - pairValue(f, b) : pairValue(f, a) + pairValue(f, b);
        const Expected x = expected(f, truth);
        if (x.kind == Expected::Overflow)
            QVERIFY2(w.text == u"overflow", qPrintable(why));
        else if (x.kind == Expected::Underflow)
            QVERIFY2(w.text == u"underflow", qPrintable(why));
        else
            QVERIFY2(pairValue(f, practice::plain(w.text)) == x.value, qPrintable(why));
    }
}

// The relative error is below the format's bound: 2^-(m-2) cutting and
// 2^-(m-1) rounding, for floating point; for fixed point the absolute
// error is below a step (cut) or at most half of one (rounded).
void TestFloatArithmetic::relativeErrorIsWithinTheBound()
{
    QRandomGenerator g(5);
    for (int i = 0; i < 600; ++i) {
        const bool floating = g.bounded(2) == 1;
        Format f = floating ? testformats::floating(int(g.bounded(3, 20)), int(g.bounded(3, 6)))
                            : testformats::fixed(true, int(g.bounded(2, 8)), int(g.bounded(0, 10)));
        f.rounding = g.bounded(2) == 1 ? Rounding::Nearest : Rounding::Cut;
        // A number of a few decimal places within the range.
        const qint64 digits = qint64(g.bounded(1, 100000));
        const Number x = Number::fromDecimal(QString::number(digits) + QStringLiteral("e-4"));
        const workbench::Worked w = workbench::work(f, Operation::Error, QStringList{x.toDecimal()}, 0);
        if (w.refused)
            continue;
        QVERIFY(w.held.has_value());
        const Number absolute = (x - *w.held).abs();
        const bool nearest = f.rounding == Rounding::Nearest;
        const QString why = workbench::formatName(f) + u' ' + x.toDecimal() + QStringLiteral(": ") + w.text;
        QVERIFY2(w.text.contains(QStringLiteral("absolute error ") + absolute.toDecimal()), qPrintable(why));
        if (floating) {
            const Number bound = Number::power2(nearest ? 1 - f.mantissa : 2 - f.mantissa);
            // absolute / x below the bound, with no division.
            QVERIFY2(nearest ? absolute <= bound * x : absolute < bound * x, qPrintable(why));
        } else {
            const Number step = Number::power2(-f.fraction);
            QVERIFY2(nearest ? absolute.times2(1) <= step : absolute < step, qPrintable(why));
        }
    }
}

// A new error question, in any format, is a number the format holds, but
// not exactly; the same generator state gives the same question. New sums
// are answered and their answers marked right.
void TestFloatArithmetic::errorQuestionsAreNotHeldExactly()
{
    QRandomGenerator g(3);
    for (int i = 0; i < 300; ++i) {
        const Format f = g.bounded(2) == 1 ? testformats::floating(int(g.bounded(3, 33)), int(g.bounded(2, 9)))
                                           : testformats::fixed(g.bounded(2) == 1, int(g.bounded(1, 9)),
                                                                int(g.bounded(1, 9)));
        const quint32 seed = g.generate();
        QRandomGenerator a(seed), b(seed);
        const QString question = practice::newQuestion(f, Operation::Error, a);
        QCOMPARE(practice::newQuestion(f, Operation::Error, b), question);
        const QString why = workbench::formatName(f) + u' ' + question;
        const workbench::Worked w = workbench::work(f, Operation::Error, QStringList{question}, 0);
        QVERIFY2(!w.refused && w.held, qPrintable(why));
        QVERIFY2(*w.held != Number::fromDecimal(question), qPrintable(why));
        // A sum or difference set on two pairs the format holds, answered
        // and marked right as the workbench writes it.
        if (f.isFloating()) {
            const Operation o = g.bounded(2) == 1 ? Operation::Add : Operation::Subtract;
            const workbench::Calculation c = practice::newCalculation(f, o, g);
            const workbench::Worked sum = workbench::work(f, o, c);
            const QString what = why + u' ' + c.operands.join(QStringLiteral(", "));
            QVERIFY2(c.operands.size() == 2 && !sum.refused, qPrintable(what));
            QVERIFY2(practice::markCalculation(f, o, c, sum.text).right, qPrintable(what));
            // Their exponents differ by 3 at most, as papers set them.
            const auto exponentOf = [&](QString pair) {
                pair.remove(u' ');
                return patterns::twosWhole(QStringView(pair).right(f.exponent));
            };
            if (f.exponent >= 3)
                QVERIFY2(std::abs(exponentOf(c.operands.value(0)) - exponentOf(c.operands.value(1))) <= 3,
                         qPrintable(what));
        }
    }
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);  // the approved texts read rich text
    TestFloatArithmetic test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_floatarithmetic.moc"
