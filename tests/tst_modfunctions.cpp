// SPDX-License-Identifier: MIT
// The bit-string routines: worked examples, edge cases, ranges and
// properties over many values and every width.
#include "core/modFunctions.h"
#include "core/runtime.h"
#include "runtimeerror.h"

#include <QRandomGenerator>
#include <QTest>

#include <functional>

using namespace modFunctions;
using rt::ErrorKind;

namespace {

QString ones(int n)
{
    return QString(n, u'1');
}

}  // namespace

class TestModFunctions : public QObject {
    Q_OBJECT
private slots:
    void decimalToBinary_data();
    void decimalToBinary();
    void decimalToBinaryLeavesItsArgumentsAlone();
    void decimalToBinaryOutsideItsRange();
    void twosComplement_data();
    void twosComplement();
    void twosComplementOfEmptyText();
    void fractionToBinary_data();
    void fractionToBinary();
    void fractionToBinaryOutsideItsRange();
    void binaryToDecimal_data();
    void binaryToDecimal();
    void binaryToDecimalTwiceReadsBothWays();
    void binaryToDecimalOverflow_data();
    void binaryToDecimalOverflow();
    void longTextsHaveNoLengthLimit();
    void roundTripEveryWidth();
    void twosComplementIsNegation();
    void exactFractionsGiveTheirBits();
};

void TestModFunctions::decimalToBinary_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("bits");
    QTest::newRow("5, 8") << 5 << 8 << "00000101";
    QTest::newRow("0, 8") << 0 << 8 << "00000000";
    QTest::newRow("255, 8") << 255 << 8 << "11111111";
    QTest::newRow("5, 16") << 5 << 16 << "0000000000000101";
    QTest::newRow("16777215, 24") << 16777215 << 24 << ones(24);
    QTest::newRow("200, 10") << 200 << 10 << "0011001000";
    QTest::newRow("37, 6") << 37 << 6 << "100101";
    QTest::newRow("0, 1") << 0 << 1 << "0";
    QTest::newRow("1, 1") << 1 << 1 << "1";
    QTest::newRow("largest, 31") << 2147483647 << 31 << ones(31);
    QTest::newRow("largest, 40") << 2147483647 << 40 << "000000000" + ones(31);
}

void TestModFunctions::decimalToBinary()
{
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QString, bits);
    const qint32 v = value;
    const qint16 w = qint16(width);
    QCOMPARE(DecimalToBinary(v, w), bits);
}

void TestModFunctions::decimalToBinaryLeavesItsArgumentsAlone()
{
    qint32 value = 37;
    qint16 width = 6;
    DecimalToBinary(value, width);
    QCOMPARE(value, 37);
    QCOMPARE(width, qint16(6));
}

void TestModFunctions::decimalToBinaryOutsideItsRange()
{
    const auto call = [](qint32 value, qint16 width) {
        return errorOf([&] { DecimalToBinary(value, width); });
    };
    QCOMPARE(call(256, 8), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(call(1024, 10), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(call(64, 6), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(call(-1, 8), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(call(0, 0), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(call(0, -5), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(call(255, 8), std::nullopt);
}

void TestModFunctions::twosComplement_data()
{
    QTest::addColumn<QString>("bits");
    QTest::addColumn<QString>("result");
    QTest::newRow("00000101") << "00000101" << "11111011";
    QTest::newRow("11111111") << "11111111" << "00000001";
    QTest::newRow("0110") << "0110" << "1010";
    QTest::newRow("all zeros") << "00000000" << "00000000";
    QTest::newRow("10000000") << "10000000" << "10000000";
    QTest::newRow("1x1") << "1x1" << "011";
    QTest::newRow("single 0") << "0" << "0";
    QTest::newRow("single 1") << "1" << "1";
    QTest::newRow("letters and blanks") << "a b" << "000";
    QTest::newRow("emoji is one position") << QString::fromUtf8("1\xF0\x9F\x98\x80") << "10";
    QTest::newRow("é is one position") << QString::fromUtf8("\xC3\xA9") + "1" << "11";
}

void TestModFunctions::twosComplement()
{
    QFETCH(QString, bits);
    QFETCH(QString, result);
    const QString before = bits;
    QCOMPARE(TwosComplement(bits), result);
    QCOMPARE(bits, before);
}

void TestModFunctions::twosComplementOfEmptyText()
{
    QCOMPARE(errorOf([] { TwosComplement(QString()); }), ErrorKind::SubscriptOutOfRange);
}

void TestModFunctions::fractionToBinary_data()
{
    QTest::addColumn<float>("fraction");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("bits");
    QTest::addColumn<float>("left");
    QTest::newRow("0.5, 4") << 0.5f << 4 << "1000" << 0.0f;
    QTest::newRow("0.625, 3") << 0.625f << 3 << "101" << 0.0f;
    QTest::newRow("0.75, 10") << 0.75f << 10 << "1100000000" << 0.0f;
    QTest::newRow("0.1, 10") << 0.1f << 10 << "0001100110" << 0.40000152587890625f;
    QTest::newRow("0.3, 10") << 0.3f << 10 << "0100110011" << 0.20001220703125f;
    QTest::newRow("0, 10") << 0.0f << 10 << "0000000000" << 0.0f;
    QTest::newRow("cut, not rounded") << 0.999f << 10 << "1111111110" << 0.97601318359375f;
    QTest::newRow("exactly 1") << 1.0f << 10 << "2000000000" << 0.0f;
    QTest::newRow("1.5") << 1.5f << 4 << "3000" << 0.0f;
    QTest::newRow("10") << 10.0f << 3 << "2000" << 0.0f;
    QTest::newRow("largest digit") << 16383.5f << 2 << "327670" << 0.0f;
}

void TestModFunctions::fractionToBinary()
{
    QFETCH(float, fraction);
    QFETCH(int, width);
    QFETCH(QString, bits);
    QFETCH(float, left);
    const qint16 w = qint16(width);
    QCOMPARE(FractionToBinary(fraction, w), bits);
    QCOMPARE(fraction, left);
}

void TestModFunctions::fractionToBinaryOutsideItsRange()
{
    const auto call = [](float fraction, qint16 width) {
        return errorOf([&] { FractionToBinary(fraction, width); });
    };
    QCOMPARE(call(16384.0f, 4), ErrorKind::Overflow);
    QCOMPARE(call(-0.5f, 4), ErrorKind::Overflow);
    QCOMPARE(call(std::numeric_limits<float>::quiet_NaN(), 4), ErrorKind::Overflow);
    QCOMPARE(call(std::numeric_limits<float>::infinity(), 4), ErrorKind::Overflow);
    QCOMPARE(call(0.5f, 0), ErrorKind::SubscriptOutOfRange);
}

void TestModFunctions::binaryToDecimal_data()
{
    QTest::addColumn<QString>("bits");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("after");
    QTest::newRow("101") << "101" << 5 << "101";
    QTest::newRow("110") << "110" << 6 << "011";
    QTest::newRow("trailing blank") << "101 " << 10 << " 101";
    QTest::newRow("leading blank") << " 101" << 5 << "101 ";
    QTest::newRow("31 ones") << ones(31) << 2147483647 << ones(31);
    QTest::newRow("empty") << "" << 0 << "";
    QTest::newRow("2") << "2" << 0 << "2";
    QTest::newRow("abc") << "abc" << 0 << "cba";
    QTest::newRow("35 characters, last is 1") << QString(34, u'0') + "1" << 1 << "1" + QString(34, u'0');
    QTest::newRow("minus sign is a zero bit") << "-101" << 5 << "101-";
    QTest::newRow("emoji takes one position")
        << QString::fromUtf8("1\xF0\x9F\x98\x80") << 2 << QString::fromUtf8("\xF0\x9F\x98\x80") + "1";
}

void TestModFunctions::binaryToDecimal()
{
    QFETCH(QString, bits);
    QFETCH(int, value);
    QFETCH(QString, after);
    QCOMPARE(BinaryToDecimal(bits), value);
    QCOMPARE(bits, after);
}

void TestModFunctions::binaryToDecimalTwiceReadsBothWays()
{
    QString bits = "110";
    QCOMPARE(BinaryToDecimal(bits), 6);
    QCOMPARE(bits, QStringLiteral("011"));
    QCOMPARE(BinaryToDecimal(bits), 3);
    QCOMPARE(bits, QStringLiteral("110"));
}

void TestModFunctions::binaryToDecimalOverflow_data()
{
    QTest::addColumn<QString>("bits");
    QTest::newRow("32 ones") << ones(32);
    QTest::newRow("1 then 31 zeros") << "1" + QString(31, u'0');
    QTest::newRow("1 far out") << "1" + QString(5000, u'0');
    QTest::newRow("1 beyond a double's range") << "1" + QString(2000, u'x');
}

void TestModFunctions::binaryToDecimalOverflow()
{
    QFETCH(QString, bits);
    QCOMPARE(errorOf([&] { BinaryToDecimal(bits); }), ErrorKind::Overflow);
}

void TestModFunctions::longTextsHaveNoLengthLimit()
{
    QString zeros = QString(100000, u'0') + "1";
    QCOMPARE(BinaryToDecimal(zeros), 1);
    const QString complement = TwosComplement(QString(40000, u'0') + "1");
    QCOMPARE(complement, QString(40001, u'1'));
    const qint32 value = 5;
    const qint16 width = 32767;
    QCOMPARE(DecimalToBinary(value, width), QString(32764, u'0') + "101");
}

void TestModFunctions::roundTripEveryWidth()
{
    QRandomGenerator random(20261208);
    for (qint16 width = 1; width <= 31; ++width) {
        const qint64 limit = qint64(1) << width;
        for (int k = 0; k < 300; ++k) {
            qint32 value = qint32(k < 3 ? (k == 0 ? 0 : limit - k) : random.bounded(limit));
            QString bits = DecimalToBinary(value, width);
            QCOMPARE(bits.size(), width);
            QCOMPARE(BinaryToDecimal(bits), value);
        }
    }
}

void TestModFunctions::twosComplementIsNegation()
{
    QRandomGenerator random(7);
    for (qint16 width = 1; width <= 31; ++width) {
        const qint64 limit = qint64(1) << width;
        for (int k = 0; k < 300; ++k) {
            const qint32 value = qint32(k < 2 ? (k == 0 ? 1 : limit - 1) : 1 + random.bounded(limit - 1));
            const qint32 negated = qint32(limit - value);
            QCOMPARE(TwosComplement(DecimalToBinary(value, width)), DecimalToBinary(negated, width));
        }
    }
}

void TestModFunctions::exactFractionsGiveTheirBits()
{
    QRandomGenerator random(99);
    for (qint16 width = 1; width <= 24; ++width) {
        const qint64 limit = qint64(1) << width;
        for (int n = 0; n < 200; ++n) {
            const qint32 k = qint32(n < 2 ? (n == 0 ? 0 : limit - 1) : random.bounded(limit));
            float fraction = float(double(k) / double(limit));
            QCOMPARE(FractionToBinary(fraction, width), DecimalToBinary(k, width));
            QCOMPARE(fraction, 0.0f);
        }
    }
}

QTEST_GUILESS_MAIN(TestModFunctions)
#include "tst_modfunctions.moc"
