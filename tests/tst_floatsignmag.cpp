// SPDX-License-Identifier: MIT
// Floating point with a sign and magnitude mantissa through the workbench:
// examples worked by hand, its refusals, a property over random formats
// checked in exact arithmetic, and its usual slips as marking names them.
#include "approvedtext.h"
#include "engine/exact.h"
#include "practice/practice.h"
#include "topics/workbench.h"
#include "formats.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quorvex;
using namespace testformats;
using namespace quorvex::workbench;
using exact::Number;

namespace {

Format signMagnitude(int mantissa, int exponent, Rounding rounding = Rounding::Cut)
{
    Format f = named(qPrintable(QStringLiteral("float-signmag:%1:%2").arg(mantissa).arg(exponent)));
    f.rounding = rounding;
    return f;
}

// What the format holds of x (not 0), worked out here from the widths
// alone: x's magnitude normalised to 0.1… x 2^k, its digits after the sign
// bit cut (or rounded, ties away from zero) to the mantissa, the sign put
// back; none when k falls outside the exponent's range.
std::optional<Number> expectedHeld(const Format &f, const Number &x)
{
    const Number size = x.abs();
    qint64 k = 0;
    while (size >= Number::power2(k))
        ++k;
    while (size < Number::power2(k - 1))
        --k;
    const int places = f.mantissa - 1;
    const Number scaled = size.times2(places - k);
    Number digits = scaled.truncated();
    if (f.rounding == Rounding::Nearest && scaled - digits >= Number::power2(-1))
        digits = digits + Number(1);
    if (digits == Number::power2(places)) {  // rounded up to 1.0: 0.1 x 2^(k + 1)
        digits = Number::power2(places - 1);
        ++k;
    }
    if (k > f.highestExponent() || k < f.lowestExponent())
        return std::nullopt;
    const Number held = digits.times2(k - places);
    return x.sign() < 0 ? -held : held;
}

}  // namespace

class TestFloatSignMagnitude : public QObject {
    Q_OBJECT
private slots:
    void workedExamples_data();
    void workedExamples();
    void refusals_data();
    void refusals();
    void bitsHoldTheNumberCut();
    void slips_data();
    void slips();
    void newQuestionsAnswerRight();
};

void TestFloatSignMagnitude::workedExamples_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("approved");
    const int bin = int(Operation::ToBinary), den = int(Operation::ToDenary);
    const Format f168 = signMagnitude(16, 8), f84 = signMagnitude(8, 4);
    // 124.28125 = 1111100.01001 = 0.111110001001 x 2^7.
    QTest::newRow("16/8 124.28125") << f168 << bin << "124.28125" << "0111110001001000 00000111" << false;
    QTest::newRow("16/8 -124.28125") << f168 << bin << "-124.28125" << "1111110001001000 00000111" << true;
    QTest::newRow("16/8 -124.28125 back") << f168 << den << "1111 1100 0100 1000 0000 0111" << "-124.28125" << false;
    // -0.75 = -0.11 x 2^0: the sign bit, then 1100000 (two's complement would be 1.0100000).
    QTest::newRow("8/4 -0.75") << f84 << bin << "-0.75" << "11100000 0000" << false;
    // -0.5 stays 0.1 x 2^0: a two's complement mantissa would shift it back.
    QTest::newRow("8/4 -0.5") << f84 << bin << "-0.5" << "11000000 0000" << false;
    // 0.1 = 0.000110011001… = 0.1100110|011… x 2^-3, cut: 0.099609375.
    QTest::newRow("8/4 0.1 cut") << f84 << bin << "0.1" << "01100110 1101" << false;
    // -15.99 = -0.1111111|11… x 2^4: to nearest it carries into -0.1 x 2^5.
    QTest::newRow("8/4 -15.99 to nearest") << signMagnitude(8, 4, Rounding::Nearest) << bin << "-15.99"
                                           << "11000000 0101" << false;
    QTest::newRow("8/4 0") << f84 << bin << "0" << "00000000 0000" << false;
    QTest::newRow("8/4 negative zero back") << f84 << den << "10000000 0101" << "0" << false;
    // -0.875 x 2^-2.
    QTest::newRow("8/4 negative exponent back") << f84 << den << "11110000 1110" << "-0.21875" << true;
    QTest::newRow("8/4 largest") << f84 << bin << "127" << "01111111 0111" << false;
    QTest::newRow("8/4 most negative") << f84 << bin << "-127" << "11111111 0111" << false;
    // -0.0011 x 2^3 shifts its magnitude twice: -0.11 x 2^1.
    QTest::newRow("8/4 normalise negative") << f84 << int(Operation::Normalise) << "10011000 0011"
                                            << "11100000 0001" << false;
    QTest::newRow("8/4 normalise negative zero") << f84 << int(Operation::Normalise) << "10000000 0011"
                                                 << "00000000 0000" << false;
    // 0.1111111 x 2^7 = 127 either way; 0.1 x 2^-8; 1 and 0.1000001 x 2^1.
    QTest::newRow("8/4 range") << f84 << int(Operation::Range) << ""
                               << "largest 01111111 0111 = 127; smallest positive 01000000 1000 = 0.001953125; "
                                  "most negative 11111111 0111 = -127; step near 1 = 0.015625"
                               << false;
    QTest::newRow("2/2 range") << signMagnitude(2, 2) << int(Operation::Range) << ""
                               << "largest 01 01 = 1; smallest positive 01 10 = 0.125; most negative 11 01 = -1; "
                                  "step near 1 = 0.5"
                               << false;
    QTest::newRow("8/4 -0.75 in hex") << f84 << int(Operation::ToHex) << "-0.75" << "E00" << false;
    // 0.1 is held as 0.099609375: out by 0.000390625, 1/256 of 0.1.
    QTest::newRow("8/4 error of 0.1") << f84 << int(Operation::Error) << "0.1"
                                      << "01100110 1101 = 0.099609375; absolute error 0.000390625; relative error "
                                         "1/256 \u2248 0.003906 (0.39 %)"
                                      << false;
}

void TestFloatSignMagnitude::workedExamples()
{
    QFETCH(Format, format);
    QFETCH(int, operation);
    QFETCH(QString, input);
    QFETCH(bool, approved);
    const Answer a = solve(format, Operation(operation), QStringList{input}, 0);
    QVERIFY2(!a.refused, qPrintable(a.text));
    QTEST(a.text, "answer");
    if (approved)
        QUORVEX_COMPARE_APPROVED(QStringLiteral("floatsignmag"), approved::fileName(QString::fromLatin1(QTest::currentDataTag())),
                                 practice::formatTitle(format) + QStringLiteral("\nQuestion: \u201C") + input
                                     + QStringLiteral("\u201D\nAnswer: ") + a.text + QStringLiteral("\n\n")
                                     + approved::plainText(a.workingHtml));
}

void TestFloatSignMagnitude::refusals_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reason");
    const int bin = int(Operation::ToBinary);
    QTest::newRow("overflow") << bin << "128" << "Overflow: 128 does not fit: the largest value of this format is 127";
    QTest::newRow("overflow, negative")
        << bin << "-128" << "the most negative value of this format is \u2212127";
    QTest::newRow("underflow") << bin << "0.001"
                               << "Underflow: 0.001 is below the smallest positive normalised value of this format, "
                                  "0.1 \u00D7 2^\u22128 = 0.001953125";
    QTest::newRow("underflow, negative") << bin << "-0.0019" << "the magnitude of \u22120.0019 is below";
    QTest::newRow("cannot normalise") << int(Operation::Normalise) << "00100000 1000"
                                      << "cannot be normalised: its exponent would go below \u22128";
    QTest::newRow("too few bits") << int(Operation::ToDenary) << "0111" << "12 bits";
}

void TestFloatSignMagnitude::refusals()
{
    QFETCH(int, operation);
    QFETCH(QString, input);
    QFETCH(QString, reason);
    const Answer a = solve(signMagnitude(8, 4), Operation(operation), QStringList{input}, 0);
    QVERIFY(a.refused);
    QVERIFY2(a.text.contains(reason), qPrintable(a.text));
}

// In any offered widths and either rounding, the bits of a number hold it
// cut (or rounded) to the format, and read back to what they hold.
void TestFloatSignMagnitude::bitsHoldTheNumberCut()
{
    QRandomGenerator g(4711);
    int held = 0;
    for (int i = 0; i < 400; ++i) {
        const Format f = signMagnitude(g.bounded(2, 65), g.bounded(2, 13),
                                       g.bounded(2) == 1 ? Rounding::Nearest : Rounding::Cut);
        // Up to 70 significant bits, placed anywhere near the exponent's range.
        const qint64 reach = f.highestExponent() + 2;
        Number x = Number::fromUnsigned(g.generate64() | 1)
                       .times2(g.bounded(7) + qint64(g.bounded(quint64(2 * reach + 1))) - reach - 64);
        if (g.bounded(2) == 1)
            x = -x;
        const Worked w = work(f, Operation::ToBinary, QStringList{x.toDecimal()}, 0);
        const std::optional<Number> expected = expectedHeld(f, x);
        QVERIFY2(w.refused == !expected, qPrintable(formatName(f) + u' ' + x.toDecimal()));
        if (!expected)
            continue;
        ++held;
        QCOMPARE(w.held->toDecimal(), expected->toDecimal());
        const Answer back = solve(f, Operation::ToDenary, QStringList{w.text}, 0);
        QCOMPARE(back.text, expected->toDecimal());
        QCOMPARE(solve(f, Operation::Normalise, QStringList{w.text}, 0).text, w.text);
    }
    QVERIFY2(held > 100, "too few numbers fell within the formats");
}

void TestFloatSignMagnitude::slips_data()
{
    using practice::Mistake;
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("mistake");
    QTest::addColumn<bool>("approved");
    const int bin = int(Direction::ToBinary), den = int(Direction::ToDenary), norm = int(Direction::Normalise);
    const auto row = [](const char *name, int d, const char *q, const char *a, Mistake m, bool approved = false) {
        QTest::newRow(name) << d << QString::fromUtf8(q) << QString::fromUtf8(a) << int(m) << approved;
    };
    row("right in fours", bin, "-0.75", "1110 0000 0000", Mistake::None);
    // -0.75: 1.0100000 is the two's complement of 0.1100000.
    row("mantissa written in two's complement", bin, "-0.75", "10100000 0000", Mistake::TwosComplementGiven, true);
    // -0.5 as float:8:4 writes it: 1.1000000 shifted back to 1.0000000, the exponent 1 less.
    row("two's complement shifted back", bin, "-0.5", "10000000 1111", Mistake::TwosComplementGiven);
    row("mantissa read as two's complement", den, "11100000 0000", "-0.25", Mistake::TwosComplementGiven, true);
    row("sign bit left 0", bin, "-0.75", "01100000 0000", Mistake::NoComplement);
    row("magnitude inverted", bin, "-0.75", "10011111 0000", Mistake::OnesComplementGiven);
    row("sign bit read as a place", den, "11100000 0000", "1.75", Mistake::SignReadPositive);
    row("sign bit shifted with the magnitude", norm, "10011000 0011", "01100000 0001", Mistake::SignBitShifted);
    // 0.1's exponent -3 written 1011.
    row("exponent in sign and magnitude", bin, "0.1", "01100110 1011", Mistake::ExponentSignAndMagnitude);
    row("exponent read as sign and magnitude", den, "01100000 1101", "0.0234375", Mistake::ExponentSignAndMagnitude);
    row("not normalised", bin, "0.75", "00110000 0001", Mistake::NotNormalised);
    row("negative zero", bin, "0", "10000000 0000", Mistake::NotNormalised);
    row("rounded where the method cuts", bin, "0.1", "01100111 1101", Mistake::Rounded);
}

void TestFloatSignMagnitude::slips()
{
    QFETCH(int, direction);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(int, mistake);
    QFETCH(bool, approved);
    const Format f = signMagnitude(8, 4);
    const practice::Verdict v = practice::mark(f, Direction(direction), question, answer);
    QCOMPARE(int(v.mistake), mistake);
    QCOMPARE(v.right, mistake == int(practice::Mistake::None));
    if (!v.right)
        QVERIFY2(v.text.contains(practice::printed(solve(f, Direction(direction), question).text)), qPrintable(v.text));
    if (approved)
        QUORVEX_COMPARE_APPROVED(QStringLiteral("floatsignmag"), approved::fileName(QString::fromLatin1(QTest::currentDataTag())),
                                 practice::questionText(f, Direction(direction), question)
                                     + QStringLiteral("\nAnswer given: \u201C") + answer
                                     + QStringLiteral("\u201D\nVerdict: ") + v.text + QStringLiteral("\n\n")
                                     + approved::plainText(v.workingHtml));
}

// Every new question has an answer, which is marked right; a pair to
// normalise is not normalised already.
void TestFloatSignMagnitude::newQuestionsAnswerRight()
{
    QRandomGenerator g(2026);
    const QList<Direction> asked{Direction::ToBinary, Direction::ToDenary, Direction::Normalise, Direction::ToHex,
                                 Direction::Error};
    for (int i = 0; i < 150; ++i) {
        const Format f = signMagnitude(g.bounded(2, 65), g.bounded(2, 13));
        for (Direction d : asked) {
            const QString question = practice::newQuestion(f, d, g);
            const QString where = formatName(f) + u' ' + question;
            QVERIFY2(!question.isEmpty(), qPrintable(where));
            const Answer a = d == Direction::Error ? solve(f, d, QStringList{question}, 0) : solve(f, d, question);
            QVERIFY2(!a.refused, qPrintable(where + u' ' + a.text));
            if (d == Direction::Normalise)
                QVERIFY2(practice::plain(a.text) != practice::plain(question), qPrintable(where));
            if (d != Direction::Error)
                QVERIFY2(practice::mark(f, d, question, a.text).right, qPrintable(where));
        }
    }
}

QTEST_MAIN(TestFloatSignMagnitude)
#include "tst_floatsignmag.moc"
