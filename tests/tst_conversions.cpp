// SPDX-License-Identifier: MIT
// Each window's conversion as a plain function: its table of cases, the
// faults it mends, and properties over many inputs.
#include "conversions/binint.h"
#include "conversions/decint.h"
#include "conversions/fixed.h"
#include "conversions/floating.h"
#include "core/modFunctions.h"
#include "core/runtime.h"
#include "refusal.h"
#include "runtimeerror.h"

#include <QTest>

#include <cmath>
#include <functional>

using namespace quorvex;

using rt::ErrorKind;

namespace {

// The value of a two's complement bit string.
qint64 signedValue(const QString &bits)
{
    qint64 value = 0;
    for (QChar c : bits)
        value = value * 2 + (c == u'1' ? 1 : 0);
    if (bits.startsWith(u'1'))
        value -= qint64(1) << bits.size();
    return value;
}

}  // namespace

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void fixedRule_data();
    void fixedRule();
    void fixed_data();
    void fixed();
    void fixedWholePartTooLarge();
    void floating_data();
    void floating();
    void floatingErrors_data();
    void floatingErrors();
    void floatingMantissaTimesExponentIsTheInput();
    void binInt_data();
    void binInt();
    void decInt_data();
    void decInt();
};

void TestConversions::fixedRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0") << "0" << true;
    QTest::newRow("1023") << "1023" << true;
    QTest::newRow("minus zero") << "-0" << true;
    QTest::newRow("5.75") << "5.75" << true;
    QTest::newRow("1023.5") << "1023.5" << false;
    QTest::newRow("1023.999") << "1023.999" << false;
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("-0.5") << "-0.5" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("abc") << "abc" << false;
    QTest::newRow("1e3") << "1e3" << true;
    QTest::newRow("1e4") << "1e4" << false;
}

void TestConversions::fixedRule()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(fixedAccepts(text), accepted);
}

void TestConversions::fixed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("whole");
    QTest::addColumn<QString>("fraction");
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("fixedPoint");
    QTest::newRow("5.75") << "5.75" << "101" << "1100000000" << "5.75" << "101.1100000000";
    QTest::newRow("0") << "0" << "0" << "0000000000" << "0" << "0.0000000000";
    QTest::newRow("1023") << "1023" << "1111111111" << "0000000000" << "1023" << "1111111111.0000000000";
    QTest::newRow("1022.75") << "1022.75" << "1111111110" << "1100000000" << "1022.75" << "1111111110.1100000000";
    QTest::newRow("-0") << "-0" << "0" << "0000000000" << "0" << "0.0000000000";
    QTest::newRow("0.1") << "0.1" << "0" << "0001100110" << "0.099609375" << "0.0001100110";
    QTest::newRow(".5") << ".5" << "0" << "1000000000" << "0.5" << "0.1000000000";
    QTest::newRow("5.") << "5." << "101" << "0000000000" << "5" << "101.0000000000";
    QTest::newRow("0.001") << "0.001" << "0" << "0000000001" << "0.0009765625" << "0.0000000001";
    QTest::newRow("0.0009") << "0.0009" << "0" << "0000000000" << "0" << "0.0000000000";
    QTest::newRow("1022.999") << "1022.999" << "1111111110" << "1111111111" << "1022.9990234375" << "1111111110.1111111111";
    QTest::newRow("12.5") << "12.5" << "1100" << "1000000000" << "12.5" << "1100.1000000000";
    QTest::newRow("blanks and exponent") << " 1.25e1 " << "1100" << "1000000000" << "12.5" << "1100.1000000000";
    // The single-precision reading rounds up to the next whole number: the
    // whole part takes it instead of the fraction showing a digit "2".
    QTest::newRow("1.99999999") << "1.99999999" << "10" << "0000000000" << "2" << "10.0000000000";
    QTest::newRow("exponent 5e-1") << "5e-1" << "0" << "1000000000" << "0.5" << "0.1000000000";
    QTest::newRow("exponent 25e-1") << "25e-1" << "10" << "1000000000" << "2.5" << "10.1000000000";
    QTest::newRow("exponent 1022999e-3") << "1022999e-3" << "1111111110" << "1111111111" << "1022.9990234375" << "1111111110.1111111111";
    QTest::newRow("1022.99999") << "1022.99999" << "1111111111" << "0000000000" << "1023" << "1111111111.0000000000";
}

void TestConversions::fixed()
{
    QFETCH(QString, text);
    QVERIFY(fixedAccepts(text));
    const Conversion result = convertFixed(text);
    QVERIFY(result.converted());
    QTEST(result.outputs.at(FixedWhole), "whole");
    QTEST(result.outputs.at(FixedFraction), "fraction");
    QTEST(result.outputs.at(FixedActual), "actual");
    QTEST(result.outputs.at(FixedPoint), "fixedPoint");
}

void TestConversions::fixedWholePartTooLarge()
{
    QCOMPARE(failureOf(convertFixed("1024")), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(failureOf(convertFixed("1e10")), ErrorKind::Overflow);
    QVERIFY(convertFixed("1e10").outputs.isEmpty());
}

void TestConversions::floating_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<QString>("mantissa");
    QTest::addColumn<QString>("exponent");
    QTest::newRow("5.75") << "5.75" << "101.11" << "0101110000" << "000011";
    QTest::newRow("-0.375") << "-0.375" << "0.011" << "1010000000" << "111111";
    QTest::newRow("0") << "0" << "0.0" << "0000000000" << "000010";
    QTest::newRow("empty") << "" << "0.0" << "0000000000" << "000010";
    QTest::newRow("abc") << "abc" << "0.0" << "0000000000" << "000010";
    QTest::newRow("-5") << "-5" << "101.0" << "1011000000" << "000011";
    QTest::newRow("1") << "1" << "1.0" << "0100000000" << "000001";
    QTest::newRow("-1") << "-1" << "1.0" << "1100000000" << "000001";
    QTest::newRow("0.5") << "0.5" << "0.1" << "0100000000" << "000000";
    QTest::newRow("-12.625") << "-12.625" << "1100.101" << "1001101100" << "000100";
    QTest::newRow("0.1") << "0.1" << "0.000110011" << "0110011000" << "111101";
    QTest::newRow("2^-10") << "0.0009765625" << "0.0000000001" << "0100000000" << "110111";
    QTest::newRow("1023") << "1023" << "1111111111.0" << "0111111111" << "001010";
    QTest::newRow("-0.0001") << "-0.0001" << "0.0" << "0000000000" << "000010";
    QTest::newRow("trailing text without point") << "12abc" << "1100.0" << "0110000000" << "000100";
    QTest::newRow("exponent 5e-1") << "5e-1" << "0.1" << "0100000000" << "000000";
    QTest::newRow("exponent -25E-1") << "-25E-1" << "10.1" << "1011000000" << "000010";
    QTest::newRow("dangling exponent reads no fraction") << "5e" << "101.0" << "0101000000" << "000011";
    // The single-precision reading rounds up to the next whole number.
    QTest::newRow("1.99999999") << "1.99999999" << "10.0" << "0100000000" << "000010";
    QTest::newRow("-0.99999999") << "-0.99999999" << "1.0" << "1100000000" << "000001";
}

void TestConversions::floating()
{
    QFETCH(QString, text);
    const Conversion result = convertFloating(text);
    QVERIFY(result.converted());
    QTEST(result.outputs.at(FloatingFixed), "fixed");
    QTEST(result.outputs.at(FloatingMantissa), "mantissa");
    QTEST(result.outputs.at(FloatingExponent), "exponent");
}

void TestConversions::floatingErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<ErrorKind>("kind");
    QTest::newRow("1024") << "1024" << ErrorKind::SubscriptOutOfRange;
    QTest::newRow("-2147483647") << "-2147483647" << ErrorKind::SubscriptOutOfRange;
    QTest::newRow("1e10") << "1e10" << ErrorKind::Overflow;
    QTest::newRow("1e400") << "1e400" << ErrorKind::Overflow;
    QTest::newRow("1.5abc") << "1.5abc" << ErrorKind::TypeMismatch;
    QTest::newRow("5e-1abc, as 0.5abc") << "5e-1abc" << ErrorKind::TypeMismatch;
    QTest::newRow("whole part first") << "3000000000.5x" << ErrorKind::Overflow;
    QTest::newRow("fraction before bits") << "2000000000.5x" << ErrorKind::TypeMismatch;
    QTest::newRow("rounds up to 1024") << "1023.99999999" << ErrorKind::SubscriptOutOfRange;
}

void TestConversions::floatingErrors()
{
    QFETCH(QString, text);
    QFETCH(ErrorKind, kind);
    const Conversion result = convertFloating(text);
    QCOMPARE(failureOf(result), kind);
    QVERIFY(result.outputs.isEmpty());
}

void TestConversions::floatingMantissaTimesExponentIsTheInput()
{
    for (int k = 1; k <= 1023; ++k) {
        // Nine significant bits fit behind the sign bit without being cut.
        const int significant = int(std::floor(std::log2(k))) + 1 - std::countr_zero(unsigned(k));
        for (int s = 0; s <= 10; ++s) {
            const double input = std::ldexp(double(k), -s);
            const QString text = QString::number(input, 'f', 10);
            const QStringList positive = convertFloating(text).outputs;
            const QStringList negative = convertFloating("-" + text).outputs;
            const QString &mantissa = positive.at(FloatingMantissa);
            const QString &exponent = positive.at(FloatingExponent);
            QCOMPARE(mantissa.size(), 10);
            QCOMPARE(exponent.size(), 6);
            QCOMPARE(negative.at(FloatingMantissa), modFunctions::TwosComplement(mantissa));
            QCOMPARE(negative.at(FloatingExponent), exponent);
            if (significant <= 9) {
                const double value = std::ldexp(double(signedValue(mantissa)), int(signedValue(exponent)) - 9);
                QCOMPARE(value, input);
            }
        }
    }
}

void TestConversions::binInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("binary");
    QTest::addColumn<QString>("twos");
    const QString whole = "You must enter a whole number";
    const QString positive = "You must enter a positive whole number";
    const QString bits = "You need more bits to do this number";
    QTest::newRow("5, 16") << "5" << 16 << "" << "0000000000000101" << "1111111111111011";
    QTest::newRow("5.0 is whole") << "5.0" << 16 << "" << "0000000000000101" << "1111111111111011";
    QTest::newRow("1e3 is whole") << "1e3" << 16 << "" << "0000001111101000" << "1111110000011000";
    QTest::newRow("-0") << "-0" << 8 << "" << "00000000" << "00000000";
    QTest::newRow("256, 8") << "256" << 8 << bits << "" << "";
    QTest::newRow("-2.5") << "-2.5" << 16 << positive << "" << "";
    QTest::newRow("2.5") << "2.5" << 16 << positive << "" << "";
    QTest::newRow("300.5, 8") << "300.5" << 8 << bits << "" << "";
    QTest::newRow("12abc") << "12abc" << 16 << whole << "" << "";
    QTest::newRow("huge") << "1e300" << 24 << bits << "" << "";
    QTest::newRow("0.5 then whole test") << "0.5" << 8 << positive << "" << "";
}

void TestConversions::binInt()
{
    QFETCH(QString, text);
    QFETCH(int, bitCount);
    const Conversion result = convertBinInt(text, qint16(bitCount));
    QTEST(messageOf(result), "message");
    QTEST(result.outputs.value(0), "binary");
    QTEST(result.outputs.value(1), "twos");
}

void TestConversions::decInt_data()
{
    QTest::addColumn<QString>("bits");
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << "" << "0";
    QTest::newRow("101") << "101" << "5";
    QTest::newRow("1 1") << "1 1" << "5";
    QTest::newRow("1.1") << "1.1" << "5";
    QTest::newRow("-101") << "-101" << "5";
    QTest::newRow("31 ones") << QString(31, u'1') << "2147483647";
}

void TestConversions::decInt()
{
    QFETCH(QString, bits);
    QTEST(convertDecInt(bits).outputs.value(0), "value");
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
