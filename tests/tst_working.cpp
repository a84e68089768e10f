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
#include "conversions/htmlwriter.h"
#include "conversions/workingtext.h"
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
    void binaryIntegers_data();
    void binaryIntegers();
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
    void failuresSayWhy_data();
    void failuresSayWhy();
    void decimalDifference_data();
    void decimalDifference();
    void bitsAreGroupedInFours_data();
    void bitsAreGroupedInFours();
    void binaryIntegersFollowStepByStep();
    void binaryToDecimalFollowsStepByStep();
    void fixedPointFollowsStepByStep();
    void floatingPointFollowsStepByStep();
};

void TestWorking::binaryIntegers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QStringList>("bits");
    QTest::newRow("200 in 16 bits") << "200" << 16
        << QStringList{"200 is a whole number from 0 to 65535 (2^16 \u2212 1)", "200 = 128 + 64 + 8",
                       "hex 00C8", "hex FF38", "reads as \u2212200"}
        << QStringList{"0000000011001000", "1111111100110111", "1111111100111000"};
    QTest::newRow("200 in 8 bits") << "200" << 8
        << QStringList{"\u2212200 lies outside \u2212128 to 127", "reads as +56"}
        << QStringList{"11001000", "00111000"};
    QTest::newRow("0 in 8 bits") << "0" << 8 << QStringList{"0 uses no place", "reads as 0"}
                                 << QStringList{"00000000"};
    QTest::newRow("128 in 8 bits reads as -128") << "128" << 8 << QStringList{"reads as \u2212128"}
                                                 << QStringList{"10000000"};
}

void TestWorking::binaryIntegers()
{
    QFETCH(QString, text);
    QFETCH(int, bitCount);
    QFETCH(QStringList, phrases);
    QFETCH(QStringList, bits);
    const Conversion c = convertBinInt(text, qint16(bitCount));
    QVERIFY(c.converted());
    expectWords(c, phrases, bits);
    QCOMPARE(step<PlaceValues>(c).bits, c.outputs.at(0));
    QCOMPARE(step<AddedOne>(c).bits, c.outputs.at(1));
}

void TestWorking::binaryIntegerRefusals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("300 in 8 bits")
        << "300" << 8 << "300 needs 9 bits: 2^8 = 256 is not greater than 300; 8 bits hold 0 to 255.";
    QTest::newRow("2^24 in 24 bits") << "16777216" << 24 << "No wider choice exists";
    QTest::newRow("negative") << "-3" << 16 << "\u22123 is negative: these bits carry no sign";
    QTest::newRow("fraction") << "2.5" << 16 << "2.5 is not a whole number";
    QTest::newRow("not a number") << "abc" << 16 << "\u201Cabc\u201D is not a number";
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
    QTest::newRow("1101") << "1101"
        << QStringList{"8 + 4 + 1 = 13 (hex D)", "4-bit two's complement", "\u22128 + 4 + 1 = \u22123"};
    QTest::newRow("0101") << "0101" << QStringList{"4 + 1 = 5", "leftmost bit is 0, so the value is the same: 5"};
    QTest::newRow("other character") << "1x01"
        << QStringList{"x*", "counts as 0 and still takes its place", "8 + 1 = 9"};
    QTest::newRow("empty") << "" << QStringList{"there are no bits, so the value is 0"};
    QTest::newRow("zeros") << "000" << QStringList{"No place holds a 1, so the value is 0"};
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
    expectWords(far, {"The 1 at place 2^999989 lies beyond the 32-bit range"}, {});
}

void TestWorking::fixedPoint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QStringList>("bits");
    QTest::newRow("1022.999") << "1022.999"
        << QStringList{"holds 1022.9990234375", "1022 = 512 + 256 + 128 + 64 + 32 + 16 + 8 + 4 + 2",
                       "nothing is left", "is \u22120.0000234375", "2^\u221210 = 0.0009765625"}
        << QStringList{"1111111110", "1111111110.1111111111"};
    QTest::newRow("0.1") << "0.1" << QStringList{"hold 0.099609375", "is 0.000390625", "cut off, not rounded"}
                         << QStringList{"0.0001100110"};
    QTest::newRow("1.99999999") << "1.99999999" << QStringList{"Single precision reads 2, so the whole part becomes 2"}
                                << QStringList{"10.0000000000"};
    QTest::newRow("5.75 is exact") << "5.75" << QStringList{"the difference is 0", "nothing is left"}
                                   << QStringList{"101.1100000000"};
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
    const Conversion c = refuseFixedInput("2000");
    QVERIFY(refusedAs<refusal::InputRule>(c));
    expectWords(c, {"\u201C2000\u201D lies outside 0 to 1023", "Type a number from 0 to 1023"}, {});
    expectWords(refuseFixedInput("abc"), {"\u201Cabc\u201D is not a number"}, {});
}

void TestWorking::floatingPoint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QStringList>("bits");
    QTest::newRow("-12.625") << "-12.625"
        << QStringList{"\u221212.625 is negative, so its size 12.625 is converted",
                       "The point moves 4 places left", "exponent is 4",
                       "\u22121 + 1/8 + 1/16 + 1/64 + 1/128 = \u22120.7890625", "times 2^4 that is \u221212.625",
                       "the difference is 0"}
        << QStringList{"1100.101", "0110010100", "1001101011", "1001101100", "000100"};
    QTest::newRow("0.1") << "0.1"
        << QStringList{"0.796875", "times 2^\u22123 that is 0.099609375", "is 0.000390625",
                       "The exponent \u22123 is negative: its size 3"}
        << QStringList{"0.000110011", "000011", "111101"};
    QTest::newRow("-1") << "-1"
        << QStringList{"a normalised negative mantissa starts 10"}
        << QStringList{"1100000000", "1000000000withexponent000000"};
    QTest::newRow("1023 loses a digit") << "1023"
        << QStringList{"It keeps 9 of its 10 digits", "that is 1022", "is 1"}
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

void TestWorking::failuresSayWhy_data()
{
    QTest::addColumn<int>("window");  // 0 fixed, 1 floating
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("floating 1024") << 1 << "1024" << "The whole part 1024 needs 11 bits, but there are only 10";
    QTest::newRow("floating 1e10") << 1 << "1e10" << "lies beyond the 32-bit range";
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
    QTEST(::decimalDifference(a, b), "difference");
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
        QCOMPARE(::decimalDifference(value.typed, value.difference), value.held);
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
        QCOMPARE(::decimalDifference(check.typed, check.difference), check.value);
    }
}

QTEST_MAIN(TestWorking)
#include "tst_working.moc"
