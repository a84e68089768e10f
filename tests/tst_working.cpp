// SPDX-License-Identifier: MIT
// The working each conversion records and the words it is shown in: the
// worked examples a teacher would use, and properties over many random
// inputs (the working ends at exactly what the boxes show, and each step
// follows from the one before).
#include "conversions/binint.h"
#include "conversions/decimal.h"
#include "conversions/decint.h"
#include "conversions/fixed.h"
#include "conversions/floating.h"
#include "core/modFunctions.h"
#include "engine/htmlwriter.h"
#include "conversions/workingtext.h"
#include "approvedtext.h"
#include "refusal.h"
#include "timelimit.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>
#include <QTextDocumentFragment>

#include <cmath>

using namespace quorvex;

using namespace working;

namespace {

// The working as a reader sees it, and the same without any blanks, where
// grouped bit strings read as one.
QString plain(const Conversion &c)
{
    return QTextDocumentFragment::fromHtml(workingHtml(c.working)).toPlainText();
}
QString compact(QString text)
{
    text.remove(u' ');
    text.remove(u'\n');
    return text;
}

template <typename T>
const T &step(const Conversion &c)
{
    const T *found = working::find<T>(c.working);
    if (!found)
        qFatal("a step is missing from the working");
    return *found;
}

qint64 unsignedValue(const QString &bits)
{
    qint64 value = 0;
    for (QChar c : bits)
        value = value * 2 + (c == u'1' ? 1 : 0);
    return value;
}

qint64 twosValue(const QString &bits)
{
    return unsignedValue(bits) - (bits.startsWith(u'1') ? qint64(1) << bits.size() : 0);
}

// Checks that each expected phrase is in the working, and each bit string
// (blanks left out) too.
void expectWords(const Conversion &c, const QStringList &phrases, const QStringList &bitStrings)
{
    const QString text = plain(c);
    for (const QString &phrase : phrases)
        QVERIFY2(text.contains(phrase), qPrintable("missing \"" + phrase + "\" in:\n" + text));
    const QString packed = compact(text);
    for (const QString &bits : bitStrings)
        QVERIFY2(packed.contains(bits), qPrintable("missing " + bits + " in:\n" + text));
}

}  // namespace

class TestWorking : public QObject {
    Q_OBJECT
private slots:
    void approvedTexts_data();
    void approvedTexts();
    void binaryIntegerRefusals_data();
    void binaryIntegerRefusals();
    void binaryToDecimal_data();
    void binaryToDecimal();
    void longBitString();
    void fixedPoint_data();
    void fixedPoint();
    void fixedPointRule();
    void floatingPoint_data();
    void floatingPoint();
    void mantissaAndExponentAsWritten_data();
    void mantissaAndExponentAsWritten();
    void failuresSayWhy_data();
    void failuresSayWhy();
    void placesTaken_data();
    void placesTaken();
    void addOneCarries_data();
    void addOneCarries();
    void twosCheck_data();
    void twosCheck();
    void normalisedForm_data();
    void normalisedForm();
    void handMethod_data();
    void handMethod();
    void zeroRowsFolded_data();
    void zeroRowsFolded();
    void refusalsWithTheirNumbers();
    void decimalDifference_data();
    void decimalDifference();
    void bitsAreGroupedInFours_data();
    void bitsAreGroupedInFours();
    void binaryIntegersFollowStepByStep();
    void binaryToDecimalFollowsStepByStep();
    void fixedPointFollowsStepByStep();
    void floatingPointFollowsStepByStep();
};

enum Window { BinInt8, BinInt16, DecInt, Fixed, FixedRule, Floating };

// One approved plain-text file per worked example under tests/approved/;
// QUORVEX_APPROVE=1 writes the files anew, to be reviewed as a change.
void TestWorking::approvedTexts_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("text");
    const std::pair<const char *, std::pair<Window, const char *>> rows[] = {
        {"binint-200-16", {BinInt16, "200"}}, {"binint-200-8", {BinInt8, "200"}},
        {"binint-0-8", {BinInt8, "0"}}, {"binint-67-8", {BinInt8, "67"}}, {"binint-300-8", {BinInt8, "300"}},
        {"binint-minus5", {BinInt16, "-5"}}, {"binint-5.5", {BinInt16, "5.5"}}, {"binint-abc", {BinInt16, "abc"}},
        {"decint-1101", {DecInt, "1101"}}, {"decint-0", {DecInt, "0"}},
        {"decint-beyond32", {DecInt, "1000000000000000000000000000000000000000"}},
        {"decint-10000000", {DecInt, "10000000"}}, {"fixed-1022.999", {Fixed, "1022.999"}},
        {"fixed-0.1", {Fixed, "0.1"}}, {"fixed-0", {Fixed, "0"}}, {"fixed-5.75", {Fixed, "5.75"}},
        {"fixed-2000", {FixedRule, "2000"}}, {"floating-minus12.625", {Floating, "-12.625"}},
        {"floating-0.1", {Floating, "0.1"}}, {"floating-minus1", {Floating, "-1"}},
        {"floating-0.000001", {Floating, "0.000001"}}, {"floating-1e10", {Floating, "1e10"}},
    };
    for (const auto &[name, row] : rows)
        QTest::newRow(name) << int(row.first) << QString::fromLatin1(row.second);
}

void TestWorking::approvedTexts()
{
    QFETCH(int, window);
    QFETCH(QString, text);
    const Conversion c = window == BinInt8 || window == BinInt16 ? convertBinInt(text, window == BinInt8 ? 8 : 16)
        : window == DecInt                                       ? convertDecInt(text)
        : window == Fixed                                        ? convertFixed(text)
        : window == FixedRule                                    ? refuseFixedInput(text)
                                                                 : convertFloating(text);
    QUORVEX_COMPARE_APPROVED(QString(), QString::fromLatin1(QTest::currentDataTag()),
                             approved::plainText(workingHtml(c.working)));
}

void TestWorking::binaryIntegerRefusals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("2^24 in 24 bits") << "16777216" << 24 << "No wider choice exists";
    QTest::newRow("negative beyond the width") << "-300" << 8 << "\u2212300 is negative: these bits carry no sign.";
    QTest::newRow("empty") << "" << 16 << "The box is empty";
}

void TestWorking::binaryIntegerRefusals()
{
    QFETCH(QString, text);
    QFETCH(int, bitCount);
    QFETCH(QString, phrase);
    const Conversion c = convertBinInt(text, qint16(bitCount));
    QVERIFY(refusedAs<refusal::Message>(c));
    QVERIFY(c.outputs.isEmpty());
    expectWords(c, {phrase}, {});
}

void TestWorking::binaryToDecimal_data()
{
    QTest::addColumn<QString>("bits");
    QTest::addColumn<QStringList>("phrases");
    QTest::newRow("0101") << "0101" << QStringList{"4 + 1 = 5", "leftmost bit is 0, so the value is the same: 5"};
    QTest::newRow("other character") << "1x01"
        << QStringList{"x*", "counts as 0 and still takes its place", "8 + 1 = 9"};
    QTest::newRow("empty") << "" << QStringList{"there are no bits, so the value is 0"};
    QTest::newRow("zeros") << "000" << QStringList{"No place holds a 1, so the value is 0"};
    QTest::newRow("one other character in a long text") << "x" + QString(38, u'0') + "1"
        << QStringList{"1 character is not 0 or 1: it counts as 0"};
    QTest::newRow("two others in a long text") << "xx" + QString(38, u'0') + "1"
        << QStringList{"2 characters are not 0 or 1: each counts as 0"};
}

void TestWorking::binaryToDecimal()
{
    QFETCH(QString, bits);
    QFETCH(QStringList, phrases);
    const Conversion c = convertDecInt(bits);
    QVERIFY(c.converted());
    expectWords(c, phrases, {});
    QCOMPARE(QString::number(step<Sum>(c).total), c.outputs.at(0));
}

// A very long text lists the places that hold a 1 up to a limit, and stays
// fast.
void TestWorking::longBitString()
{
    QString bits(1'000'000, u'0');
    for (int place = 0; place < 20; ++place)
        bits[bits.size() - 1 - place] = u'1';
    QElapsedTimer clock;
    clock.start();
    const Conversion c = convertDecInt(bits);
    const QString html = workingHtml(c.working);
    QUORVEX_VERIFY_WITHIN(clock.elapsed(), 100);
    QCOMPARE(c.outputs.at(0), QStringLiteral("1048575"));
    QVERIFY(html.size() < 10'000);
    expectWords(c, {"1000000 characters", "524288, 262144", "and 4 more", "= 1048575"}, {});

    bits[10] = u'1';  // a 1 far beyond 32 bits
    const Conversion far = convertDecInt(bits);
    QVERIFY(refusedAs<refusal::RuntimeError>(far));
    expectWords(far, {"The 1 at place 2999989 lies beyond the 32-bit range"}, {});  // 2 and a superscript
}

void TestWorking::fixedPoint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QStringList>("bits");
    QTest::newRow("1.99999999") << "1.99999999" << QStringList{"Single precision reads 2, so the whole part becomes 2"}
                                << QStringList{"10.0000000000"};
}

void TestWorking::fixedPoint()
{
    QFETCH(QString, text);
    QFETCH(QStringList, phrases);
    QFETCH(QStringList, bits);
    const Conversion c = convertFixed(text);
    QVERIFY(c.converted());
    expectWords(c, phrases, bits);
    QCOMPARE(step<Doubling>(c).rows.size(), size_t(10));
    QCOMPARE(step<FixedValue>(c).held, c.outputs.at(FixedActual));
    QCOMPARE(step<FixedValue>(c).bits, c.outputs.at(FixedPoint));
    QCOMPARE(step<WholeBits>(c).bits, c.outputs.at(FixedWhole));
}

void TestWorking::fixedPointRule()
{
    QVERIFY(refusedAs<refusal::InputRule>(refuseFixedInput("1023.5")));
    expectWords(refuseFixedInput("abc"), {"\u201Cabc\u201D is not a number"}, {});
}

void TestWorking::floatingPoint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QStringList>("bits");
    QTest::newRow("1023 loses a digit") << "1023"
        << QStringList{"It keeps 9 of its 10 digits; the digits cut off, 1, were worth 1.", "that is 1022"}
        << QStringList{"0111111111"};
    QTest::newRow("0") << "0" << QStringList{"There is no 1 to move the point to, so the exponent rule gives 2"}
                       << QStringList{"000010"};
}

void TestWorking::floatingPoint()
{
    QFETCH(QString, text);
    QFETCH(QStringList, phrases);
    QFETCH(QStringList, bits);
    const Conversion c = convertFloating(text);
    QVERIFY(c.converted());
    expectWords(c, phrases, bits);
    QCOMPARE(step<FixedForm>(c).fixed, c.outputs.at(FloatingFixed));
    QCOMPARE(step<FloatingCheck>(c).mantissa, c.outputs.at(FloatingMantissa));
    QCOMPARE(step<ExponentBits>(c).bits, c.outputs.at(FloatingExponent));
}

void TestWorking::mantissaAndExponentAsWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");  // whole lines of the working, a table row's cells between bars
    QTest::newRow("-1: mantissa negated, carries through the point")
        << "-1"
        << QStringList{"The number is negative, so the mantissa is negated: invert every bit, 1.011111111, and add 1:",
                       "carries |    11111111 ", " | 1.011111111", "+ | 0.000000001", "= | 1.100000000",
                       "The exponent 1 in six bits: 000001."};
    QTest::newRow("-12.625: mantissa negated") << "-12.625"
                                               << QStringList{" | 1.001101011", "+ | 0.000000001", "= | 1.001101100",
                                                              "The exponent 4 in six bits: 000100."};
    QTest::newRow("0.1: negative exponent")
        << "0.1"
        << QStringList{"The exponent \u22123 is negative: its magnitude 3 in six bits is 000011; invert every bit and add 1:",
                       " | 111100", "+ |      1", "= | 111101", "The exponent is 111101."};
}

// In the invert-and-add rows a mantissa keeps its point after the sign bit,
// as everywhere else in the working, and the six-bit exponent is written
// as it is, not grouped in fours like an integer.
void TestWorking::mantissaAndExponentAsWritten()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    const Conversion c = convertFloating(text);
    QVERIFY(c.converted());
    const QStringList working = approved::plainText(workingHtml(c.working)).split(u'\n');
    for (const QString &line : lines)
        QVERIFY2(working.contains(line), qPrintable("missing line \"" + line + "\" in:\n" + working.join(u'\n')));
}

void TestWorking::failuresSayWhy_data()
{
    QTest::addColumn<int>("window");  // 0 fixed, 1 floating
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("floating 1024") << 1 << "1024" << "The whole part 1024 needs 11 bits, but there are only 10";
    QTest::newRow("floating -3e9") << 1 << "-3e9"
        << "\u22123,000,000,000 is beyond what this window converts: its whole part must be at most 1023.";
    QTest::newRow("floating 1.5abc") << 1 << "1.5abc" << "has a point or an exponent";
    QTest::newRow("floating 1e400") << 1 << "1e400" << "is too large to read as a number";
    QTest::newRow("fixed 1024") << 0 << "1024" << "needs 11 bits";
}

void TestWorking::failuresSayWhy()
{
    QFETCH(int, window);
    QFETCH(QString, text);
    QFETCH(QString, phrase);
    const Conversion c = window == 0 ? convertFixed(text) : convertFloating(text);
    QVERIFY(refusedAs<refusal::RuntimeError>(c));
    expectWords(c, {phrase, "The conversion stops here."}, {});
}

// ---- The steps a teacher writes, as recorded ------------------------------------------

void TestWorking::placesTaken_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("floating");
    QTest::addColumn<QString>("taken");
    QTest::newRow("200") << "200" << false << "200-128=72 72-64=8 8-8=0";
    QTest::newRow("12 in floating point") << "-12.625" << true << "12-8=4 4-4=0";
    QTest::newRow("0") << "0" << false << "";
}

void TestWorking::placesTaken()
{
    QFETCH(QString, text);
    QFETCH(bool, floating);
    const Conversion c = floating ? convertFloating(text) : convertBinInt(text, 16);
    QStringList taken;
    for (const PlaceTaken &t : floating ? step<FixedForm>(c).taken : step<PlaceValues>(c).taken)
        taken << QStringLiteral("%1-%2=%3").arg(t.from).arg(t.place).arg(t.left);
    QTEST(taken.join(u' '), "taken");
}

void TestWorking::addOneCarries_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<QString>("carries");
    QTest::addColumn<bool>("carryOut");
    QTest::addColumn<QString>("sum");
    QTest::newRow("0 in 8 bits") << "0" << 8 << "11111110" << true << "00000000";
    QTest::newRow("200 in 8 bits") << "200" << 8 << "00001110" << false << "00111000";
    QTest::newRow("200 in 16 bits") << "200" << 16 << "0000000000001110" << false << "1111111100111000";
    QTest::newRow("1 in 8 bits") << "1" << 8 << "00000000" << false << "11111111";
}

void TestWorking::addOneCarries()
{
    QFETCH(QString, text);
    QFETCH(int, bitCount);
    const Conversion c = convertBinInt(text, qint16(bitCount));
    const AddOne &addition = step<AddedOne>(c).addition;
    QCOMPARE(addition.before, step<Inverted>(c).bits);
    QTEST(addition.carries, "carries");
    QTEST(addition.carryOut, "carryOut");
    QTEST(addition.after, "sum");
    QCOMPARE(addition.after, c.outputs.at(BinIntTwos));
}

void TestWorking::twosCheck_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::vector<qint64>>("terms");
    QTest::addColumn<qint64>("reading");
    QTest::newRow("67 reads -67") << "67" << std::vector<qint64>{-128, 32, 16, 8, 4, 1} << qint64(-67);
    QTest::newRow("200 reads +56") << "200" << std::vector<qint64>{32, 16, 8} << qint64(56);
    QTest::newRow("0 reads 0") << "0" << std::vector<qint64>{} << qint64(0);
}

void TestWorking::twosCheck()
{
    QFETCH(QString, text);
    const Conversion c = convertBinInt(text, 8);
    const ReadsAsSigned &reading = step<ReadsAsSigned>(c);
    QTEST(reading.terms, "terms");
    QTEST(reading.reading, "reading");
}

void TestWorking::normalisedForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("significant");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<QString>("exponentCarries");  // the negative exponent's add 1
    QTest::newRow("-12.625") << "-12.625" << "1100101" << 4 << "";
    QTest::newRow("0.1") << "0.1" << "110011" << -3 << "000000";
    QTest::newRow("0.125") << "0.125" << "1" << -2 << "000010";
}

void TestWorking::normalisedForm()
{
    QFETCH(QString, text);
    QFETCH(int, exponent);
    QFETCH(QString, exponentCarries);
    const Conversion c = convertFloating(text);
    QTEST(step<PointMoved>(c).significant, "significant");
    QCOMPARE(step<PointMoved>(c).exponent, exponent);
    const ExponentBits &bits = step<ExponentBits>(c);
    if (exponent < 0) {
        QCOMPARE(bits.addition.carries, exponentCarries);
        QCOMPARE(bits.addition.after, bits.bits);
    }
    if (const Negated *negated = working::find<Negated>(c.working)) {
        QCOMPARE(negated->addition.before, negated->inverted);
        QCOMPARE(negated->addition.after, negated->mantissa);
        QCOMPARE(negated->addition.carries, QStringLiteral("0000000110"));
    }
}

// Where the boxes part from the answer worked by hand, the working gives the
// hand answer and its one cause; where they agree it says nothing.
void TestWorking::handMethod_data()
{
    QTest::addColumn<bool>("floating");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hand");  // empty: the boxes agree with it
    QTest::addColumn<int>("cause");
    QTest::newRow("1022.999, fixed") << false << "1022.999" << "1111111110.1111111110"
                                     << int(HandCause::SinglePrecision);
    QTest::newRow("0.1, fixed: both cut alike") << false << "0.1" << "" << 0;
    QTest::newRow("0.1") << true << "0.1" << "0110011001 111101" << int(HandCause::FractionCutFirst);
    QTest::newRow("0.000001") << true << "0.000001" << "0100001100 101101" << int(HandCause::BelowSmallest);
    QTest::newRow("-1") << true << "-1" << "1000000000 000000" << int(HandCause::NotNormalised);
    QTest::newRow("-0.5") << true << "-0.5" << "1000000000 111111" << int(HandCause::NotNormalised);
    QTest::newRow("-12.625") << true << "-12.625" << "" << 0;
    QTest::newRow("0.15625") << true << "0.15625" << "" << 0;
}

void TestWorking::handMethod()
{
    QFETCH(bool, floating);
    QFETCH(QString, text);
    QFETCH(QString, hand);
    QFETCH(int, cause);
    const Conversion c = floating ? convertFloating(text) : convertFixed(text);
    QVERIFY(c.converted());
    const HandMethodDiffers *differs = working::find<HandMethodDiffers>(c.working);
    QCOMPARE(differs ? differs->bits : QString(), hand);
    if (differs) {
        QCOMPARE(int(differs->cause), cause);
        const QString shown = floating ? c.outputs.at(FloatingMantissa) + u' ' + c.outputs.at(FloatingExponent)
                                       : c.outputs.at(FixedPoint);
        QVERIFY(shown != hand);
    }
}

void TestWorking::zeroRowsFolded_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("rowsUntilZero");
    QTest::newRow("0") << "0" << qsizetype(0);
    QTest::newRow("5.75") << "5.75" << qsizetype(2);
    QTest::newRow("0.1 never ends") << "0.1" << qsizetype(10);
}

void TestWorking::zeroRowsFolded()
{
    QFETCH(QString, text);
    const Conversion c = convertFixed(text);
    const Doubling &doubling = step<Doubling>(c);
    QTEST(doubling.rowsUntilZero, "rowsUntilZero");
    for (size_t k = size_t(doubling.rowsUntilZero); k < doubling.rows.size(); ++k)
        QCOMPARE(doubling.rows[k].fraction, 0.0f);
}

// The refusals carry the numbers the words give, and a number too long to
// read exactly is still named, shortened.
void TestWorking::refusalsWithTheirNumbers()
{
    const Conversion refused = convertFloating("1e10");
    const Failed &beyond = step<Failed>(refused);
    QCOMPARE(beyond.stage, Stage::WholePart);
    QCOMPARE(beyond.value, 1e10);
    QCOMPARE(beyond.bitsThere, 10);
    QVERIFY(step<Negative>(convertBinInt("-128", 8)).twosHolds);
    QVERIFY(!step<Negative>(convertBinInt("-129", 8)).twosHolds);
    QVERIFY(!step<Negative>(convertBinInt("-2.5", 8)).twosHolds);
    QCOMPARE(step<MantissaDigits>(convertFloating("1023.75")).lostWorth, QStringLiteral("1.75"));

    const QString ones = "0." + QString(401, u'1');
    const Conversion held = convertFloating(ones);
    QCOMPARE(step<HeldInSingle>(held).typed, ones);
    expectWords(held, {"cannot hold 0.1111\u20261111, 403 characters exactly"}, {});
    const Conversion negative = convertFloating(u'-' + ones);
    QCOMPARE(step<MagnitudeOfNegative>(negative).magnitude, ones);
    expectWords(negative, {"\u22120.111\u20261111, 404 characters is negative, so its magnitude"}, {});
}

void TestWorking::decimalDifference_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("difference");
    QTest::newRow("smaller") << "1022.999" << "1022.9990234375" << "-0.0000234375";
    QTest::newRow("larger") << "0.1" << "0.099609375" << "0.000390625";
    QTest::newRow("equal") << "-12.625" << "-12.625" << "0";
    QTest::newRow("signs differ") << "-1" << "2.5" << "-3.5";
    QTest::newRow("both negative") << "-1" << "-2.5" << "1.5";
    QTest::newRow("carry") << "9.99" << "-0.01" << "10";
    QTest::newRow("whole") << "1023" << "1022" << "1";
}

void TestWorking::decimalDifference()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QTEST(quorvex::decimalDifference(a, b), "difference");
}

void TestWorking::bitsAreGroupedInFours_data()
{
    QTest::addColumn<QString>("bits");
    QTest::addColumn<QString>("grouped");
    QTest::newRow("16 bits") << "0000000011001000" << "0000 0000 1100 1000";
    QTest::newRow("10 bits from the right") << "0110010100" << "01 1001 0100";
    QTest::newRow("around a point") << "1111111110.1111111111" << "11 1111 1110.1111 1111 11";
    QTest::newRow("four") << "1101" << "1101";
    QTest::newRow("empty") << "" << "";
}

void TestWorking::bitsAreGroupedInFours()
{
    QFETCH(QString, bits);
    QTEST(html::groupedBits(bits), "grouped");
}

// ---- Properties over random inputs -------------------------------------------------

void TestWorking::binaryIntegersFollowStepByStep()
{
    QRandomGenerator random(20261208);
    for (int i = 0; i < 3000; ++i) {
        const qint16 bitCount = qint16(8 * (1 + random.bounded(3)));
        const qint64 value = random.bounded(qint64(1) << (bitCount + 1));  // half of them too large
        const Conversion c = convertBinInt(QString::number(value), bitCount);
        if (value >= (qint64(1) << bitCount)) {
            QVERIFY(!c.converted() && c.outputs.isEmpty());
            QCOMPARE(step<NeedsMoreBits>(c).bitsNeeded, int(std::floor(std::log2(double(value)))) + 1);
            continue;
        }
        QVERIFY(c.converted());
        const PlaceValues &places = step<PlaceValues>(c);
        QCOMPARE(places.bits, c.outputs.at(0));
        QCOMPARE(unsignedValue(places.bits), value);
        QCOMPARE(places.hex.toLongLong(nullptr, 16), value);
        const QString inverted = step<Inverted>(c).bits;
        QCOMPARE(unsignedValue(inverted) + value, (qint64(1) << bitCount) - 1);
        const AddedOne &added = step<AddedOne>(c);
        QCOMPARE(added.bits, c.outputs.at(1));
        QCOMPARE(unsignedValue(added.bits), (unsignedValue(inverted) + 1) % (qint64(1) << bitCount));
        QCOMPARE(step<ReadsAsSigned>(c).reading, twosValue(added.bits));
    }
}

void TestWorking::binaryToDecimalFollowsStepByStep()
{
    QRandomGenerator random(20261208);
    const QString alphabet = QStringLiteral("0011x ");
    for (int i = 0; i < 3000; ++i) {
        QString bits;
        const int length = random.bounded(40);
        for (int k = 0; k < length; ++k)
            bits += alphabet.at(random.bounded(alphabet.size()));
        const Conversion c = convertDecInt(bits);
        if (!c.converted()) {
            QVERIFY(step<OneBeyondRange>(c).place >= 31);
            continue;
        }
        const Sum &sum = step<Sum>(c);
        qint64 total = 0;
        for (qint64 term : sum.terms)
            total += term;
        QCOMPARE(total, sum.total);
        QCOMPARE(QString::number(sum.total), c.outputs.at(0));
        const BitPlaces &places = step<BitPlaces>(c);
        QCOMPARE(places.length, qsizetype(bits.size()));
        if (bits.isEmpty())
            continue;
        const TwosReading &twos = step<TwosReading>(c);
        qint64 signedTotal = 0;
        for (qint64 term : twos.terms)
            signedTotal += term;
        QCOMPARE(signedTotal, twos.total);
        QCOMPARE(twos.total, sum.total - (bits.startsWith(u'1') ? qint64(1) << bits.size() : 0));
    }
}

void TestWorking::fixedPointFollowsStepByStep()
{
    QRandomGenerator random(20261208);
    for (int i = 0; i < 3000; ++i) {
        const QString text = QString::number(random.bounded(1024.0), 'f', random.bounded(5));
        if (!fixedAccepts(text))
            continue;
        const Conversion c = convertFixed(text);
        QVERIFY(c.converted());
        QCOMPARE(step<WholeBits>(c).bits, c.outputs.at(FixedWhole));
        const Doubling &doubling = step<Doubling>(c);
        QString fraction;
        for (size_t k = 0; k < doubling.rows.size(); ++k) {
            const DoublingRow &row = doubling.rows[k];
            QCOMPARE(row.doubled, row.fraction * 2.0f);
            QCOMPARE(float(row.bit), std::trunc(row.doubled));
            const float next = k + 1 < doubling.rows.size() ? doubling.rows[k + 1].fraction : doubling.remainder;
            QCOMPARE(next, row.doubled - float(row.bit));
            fraction += QString::number(row.bit);
        }
        QCOMPARE(fraction, c.outputs.at(FixedFraction));
        const FixedValue &value = step<FixedValue>(c);
        QCOMPARE(value.held, c.outputs.at(FixedActual));
        QCOMPARE(value.bits, c.outputs.at(FixedPoint));
        QCOMPARE(quorvex::decimalDifference(value.typed, value.difference), value.held);
    }
}

void TestWorking::floatingPointFollowsStepByStep()
{
    QRandomGenerator random(20261208);
    for (int i = 0; i < 3000; ++i) {
        const double magnitude = random.bounded(1023.0);
        const QString text = (random.bounded(2) ? "-" : "") + QString::number(magnitude, 'f', random.bounded(6));
        const Conversion c = convertFloating(text);
        QVERIFY2(c.converted(), qPrintable(text));
        const FixedForm &fixed = step<FixedForm>(c);
        QCOMPARE(fixed.fixed, c.outputs.at(FloatingFixed));
        QCOMPARE(fixed.wholeBits, QString::number(fixed.whole, 2));
        const PointMoved &point = step<PointMoved>(c);
        const ExponentBits &exponent = step<ExponentBits>(c);
        QCOMPARE(exponent.exponent, point.exponent);
        QCOMPARE(exponent.bits, c.outputs.at(FloatingExponent));
        QCOMPARE(twosValue(exponent.bits), qint64(exponent.exponent));
        const MantissaDigits &digits = step<MantissaDigits>(c);
        QCOMPARE(digits.digits.left(10).leftJustified(10, u'0'), digits.mantissa);
        QVERIFY(digits.digits.mid(10).startsWith(digits.lost));
        QVERIFY(!digits.lost.endsWith(u'0'));
        QVERIFY(digits.digits.mid(10 + digits.lost.size()).count(u'1') == 0);
        const Negated *negated = working::find<Negated>(c.working);
        QCOMPARE(negated != nullptr, working::find<MagnitudeOfNegative>(c.working) != nullptr);
        const QString mantissa = negated ? negated->mantissa : digits.mantissa;
        if (negated)
            QCOMPARE(mantissa, modFunctions::TwosComplement(digits.mantissa));
        QCOMPARE(mantissa, c.outputs.at(FloatingMantissa));
        const FloatingCheck &check = step<FloatingCheck>(c);
        const double value = std::ldexp(double(twosValue(mantissa)), exponent.exponent - 9);
        QCOMPARE(check.value.toDouble(), value);
        QCOMPARE(quorvex::decimalDifference(check.typed, check.difference), check.value);
    }
}

QTEST_MAIN(TestWorking)
#include "tst_working.moc"
