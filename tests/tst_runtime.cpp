// SPDX-License-Identifier: MIT
// The runtime services: number formats, rounding, exact single to text,
// code-point counting and the run-time error kinds.
#include "core/runtime.h"
#include "runtimeerror.h"

#include <QTest>

#include <clocale>
#include <cmath>
#include <functional>
#include <limits>

using rt::ErrorKind;

namespace {

const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");  // one code point, two UTF-16 units

}  // namespace

class TestRuntime : public QObject {
    Q_OBJECT
private slots:
    void numericTest_data();
    void numericTest();
    void leadingValue_data();
    void leadingValue();
    void leadingValueOverflow();
    void toSingleRoundsCorrectly();
    void conversionsRefuseNonNumbers_data();
    void conversionsRefuseNonNumbers();
    void toLong_data();
    void toLong();
    void readingIgnoresTheLocale();
    void signedText();
    void singleToText_data();
    void singleToText();
    void singleToTextIsExactForEverySingleTried();
    void codePoints();
    void findLeftRightMiddle();
    void trimRemovesOnlySpaces();
    void checkedArithmetic_data();
    void checkedArithmetic();
    void integerRangesAndPower();
};

void TestRuntime::numericTest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("integer") << "5" << true;
    QTest::newRow("blanks around") << "  5  " << true;
    QTest::newRow("plus sign") << "+5" << true;
    QTest::newRow("minus zero") << "-0" << true;
    QTest::newRow("fraction") << "5.75" << true;
    QTest::newRow("leading point") << ".5" << true;
    QTest::newRow("trailing point") << "5." << true;
    QTest::newRow("exponent") << "1e3" << true;
    QTest::newRow("signed exponent") << "1.5E-3" << true;
    QTest::newRow("tiny, reads as 0") << "1e-400" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks only") << "   " << false;
    QTest::newRow("point only") << "." << false;
    QTest::newRow("sign only") << "-" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("trailing letters") << "12abc" << false;
    QTest::newRow("two points") << "1.2.3" << false;
    QTest::newRow("blank inside") << "1 2" << false;
    QTest::newRow("exponent without digits") << "1e" << false;
    QTest::newRow("two signs") << "--5" << false;
    QTest::newRow("comma") << "1,5" << false;
    QTest::newRow("tab is not a blank") << "\t5" << false;
    QTest::newRow("no-break space is not a blank") << QString(QChar(0xA0)) + "5" << false;
    QTest::newRow("Arabic-Indic digit") << QString(QChar(0x0665)) << false;
    QTest::newRow("fullwidth digit") << QString(QChar(0xFF15)) << false;
    QTest::newRow("too large for a double") << "1e400" << false;
    QTest::newRow("infinity word") << "inf" << false;
    QTest::newRow("nan word") << "nan" << false;
    QTest::newRow("hex") << "0x10" << false;
}

void TestRuntime::numericTest()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(rt::isNumeric(text), numeric);
}

void TestRuntime::leadingValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "5.75" << 5.75;
    QTest::newRow("trailing text") << "12abc" << 12.0;
    QTest::newRow("leading blanks") << "   -3.5xyz" << -3.5;
    QTest::newRow("nothing") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "2e3x" << 2000.0;
    QTest::newRow("dangling exponent") << "7e" << 7.0;
    QTest::newRow("dangling exponent sign") << "7e-" << 7.0;
    QTest::newRow("blank ends the number") << "1 2" << 1.0;
    QTest::newRow("leading point") << "-.25" << -0.25;
    QTest::newRow("huge exponent of zero") << "0e999999999999999999999" << 0.0;
    QTest::newRow("many leading zeros") << QString(500, u'0') + "1" << 1.0;
    QTest::newRow("digits shifted back by exponent") << "0." + QString(400, u'0') + "1e401" << 1.0;
    QTest::newRow("below the range, negative") << "-1e-400x" << 0.0;
    QTest::newRow("below the range, many digits") << "0." + QString(400, u'0') + "25" << 0.0;
    QTest::newRow("smallest subnormal") << "4.9406564584124654e-324" << std::numeric_limits<double>::denorm_min();
    QTest::newRow("a million digits") << "0." + QString(999'998, u'0') + "1e999998" << 0.1;
}

void TestRuntime::leadingValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(rt::leadingValue(text), value);
}

void TestRuntime::leadingValueOverflow()
{
    QCOMPARE(errorOf([] { rt::leadingValue("1e400abc"); }), ErrorKind::Overflow);
    QCOMPARE(errorOf([] { rt::leadingValue("-" + QString(400, u'9')); }), ErrorKind::Overflow);
    QCOMPARE(errorOf([] { rt::leadingValue("1e99999999999999999999999"); }), ErrorKind::Overflow);
}

void TestRuntime::toSingleRoundsCorrectly()
{
    QCOMPARE(rt::toSingle("0.1"), 0.1f);
    QCOMPARE(rt::toSingle(" -2.5 "), -2.5f);
    // Exactly halfway between two singles (1 and 1 + 2^-23): halves go to even.
    QCOMPARE(rt::toSingle("1.00000005960464477539062500"), 1.0f);
    // Just above halfway goes up, although the same text read as a double
    // first would round down to the halfway point and then to 1.
    QCOMPARE(rt::toSingle("1.00000005960464477539062501"), std::nextafter(1.0f, 2.0f));
    QCOMPARE(rt::toSingle("1.99999999"), 2.0f);
    QCOMPARE(errorOf([] { rt::toSingle("1e39"); }), ErrorKind::Overflow);
    QCOMPARE(rt::toSingle("1e-50"), 0.0f);
    QVERIFY(std::signbit(rt::toSingle("-1e-50")));
    QCOMPARE(rt::toSingle("1.4e-45"), std::numeric_limits<float>::denorm_min());
}

void TestRuntime::conversionsRefuseNonNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("letters") << "abc";
    QTest::newRow("trailing letters") << "1.5abc";
    QTest::newRow("two points") << "1.2.3";
}

void TestRuntime::conversionsRefuseNonNumbers()
{
    QFETCH(QString, text);
    QCOMPARE(errorOf([&] { rt::toSingle(text); }), ErrorKind::TypeMismatch);
    QCOMPARE(errorOf([&] { rt::toDouble(text); }), ErrorKind::TypeMismatch);
    QCOMPARE(errorOf([&] { rt::toLong(text); }), ErrorKind::TypeMismatch);
}

void TestRuntime::toLong_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("whole") << "5" << 5;
    QTest::newRow("whole with point") << "5.0" << 5;
    QTest::newRow("exponent") << "1e3" << 1000;
    QTest::newRow("half to even, down") << "2.5" << 2;
    QTest::newRow("half to even, up") << "3.5" << 4;
    QTest::newRow("negative half") << "-2.5" << -2;
    QTest::newRow("above half") << "2.5000000000000000000001" << 3;
    QTest::newRow("below half") << "2.4999999999999999999999" << 2;
    QTest::newRow("small") << "0.04" << 0;
    QTest::newRow("half of zero") << "0.5" << 0;
    QTest::newRow("fraction written with exponent") << "25e-1" << 2;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << int(-2147483647 - 1);
    QTest::newRow("rounds down to largest") << "2147483647.4" << 2147483647;
    QTest::newRow("zeros in front") << "0000000000000000000012" << 12;
}

void TestRuntime::toLong()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(rt::toLong(text), value);
}

void TestRuntime::readingIgnoresTheLocale()
{
    // Qt applications take the user's locale; the number format must not.
    const char *previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        QSKIP("no locale with a decimal comma is installed");
    const double value = rt::leadingValue("5.75");
    const float single = rt::toSingle("0.5");
    const QString text = rt::singleToText(5.75f);
    std::setlocale(LC_NUMERIC, saved.c_str());
    QCOMPARE(value, 5.75);
    QCOMPARE(single, 0.5f);
    QCOMPARE(text, QStringLiteral("5.75"));
}

void TestRuntime::signedText()
{
    QCOMPARE(rt::signedText(5), QStringLiteral(" 5"));
    QCOMPARE(rt::signedText(0), QStringLiteral(" 0"));
    QCOMPARE(rt::signedText(-5), QStringLiteral("-5"));
    QCOMPARE(rt::signedText(std::numeric_limits<qint32>::min()), QStringLiteral("-2147483648"));
}

void TestRuntime::singleToText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("fraction") << 5.75f << "5.75";
    QTest::newRow("whole") << 2.0f << "2";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("minus zero") << -0.0f << "0";
    QTest::newRow("ten bits") << 0.099609375f << "0.099609375";
    QTest::newRow("twenty bits") << 1022.9990234375f << "1022.9990234375";
    QTest::newRow("negative") << -0.375f << "-0.375";
    QTest::newRow("0.1 exactly as held") << 0.1f << "0.100000001490116119384765625";
    QTest::newRow("large, no exponent") << 1e20f << "100000002004087734272";
    QTest::newRow("smallest subnormal") << std::numeric_limits<float>::denorm_min()
                                        << "0." + QString(44, u'0') + "140129846432481707092372958328991613128026194187651577175706828388979108268586060148663818836212158203125";
}

void TestRuntime::singleToText()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(rt::singleToText(value), text);
}

void TestRuntime::singleToTextIsExactForEverySingleTried()
{
    // Reading the text back as a double gives the single exactly, and the
    // text has no exponent, no trailing zero and no trailing point.
    for (quint32 bits = 0x00000001; bits < 0x7F800000; bits += 0x000F4243) {
        float value;
        std::memcpy(&value, &bits, sizeof value);
        const QString text = rt::singleToText(value);
        QVERIFY2(!text.contains(u'e') && !text.endsWith(u'.'), qPrintable(text));
        QVERIFY2(!text.contains(u'.') || !text.endsWith(u'0'), qPrintable(text));
        QCOMPARE(rt::toDouble(text), double(value));
    }
    QCOMPARE(errorOf([] { rt::singleToText(std::numeric_limits<float>::infinity()); }),
             ErrorKind::FloatingPointFault);
    QCOMPARE(errorOf([] { rt::singleToText(std::numeric_limits<float>::quiet_NaN()); }),
             ErrorKind::FloatingPointFault);
}

void TestRuntime::codePoints()
{
    const QString text = "a" + smile + "b";
    QCOMPARE(text.size(), 4);
    QCOMPARE(rt::length(text), 3);
    QCOMPARE(rt::reverse(text), "b" + smile + "a");
    QCOMPARE(rt::middle(text, 2, 1), smile);
    QCOMPARE(rt::find(text, "b"), 3);
    // A lone surrogate is a character of its own and survives a round trip.
    const QString lone = QString(QChar(0xD800)) + "x";
    QCOMPARE(rt::length(lone), 2);
    QCOMPARE(rt::reverse(rt::reverse(lone)), lone);
    QCOMPARE(rt::fromCodePoints(rt::toCodePoints(lone)), lone);
    QCOMPARE(rt::length(QString()), 0);
}

void TestRuntime::findLeftRightMiddle()
{
    QCOMPARE(rt::find("101.11", "."), 4);
    QCOMPARE(rt::find("0.0", "1"), 0);
    QCOMPARE(rt::find("", "."), 0);
    QCOMPARE(rt::left("101.11", 3), QStringLiteral("101"));
    QCOMPARE(rt::left("101", 10), QStringLiteral("101"));
    QCOMPARE(rt::left("101", 0), QString());
    QCOMPARE(rt::right("101.11", 2), QStringLiteral("11"));
    QCOMPARE(rt::right("101", 10), QStringLiteral("101"));
    QCOMPARE(rt::middle("abcdef", 2, 3), QStringLiteral("bcd"));
    QCOMPARE(rt::middle("abc", 5, 1), QString());
    QCOMPARE(errorOf([] { rt::middle("abc", 0, 1); }), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(errorOf([] { rt::left("abc", -1); }), ErrorKind::SubscriptOutOfRange);
}

void TestRuntime::trimRemovesOnlySpaces()
{
    QCOMPARE(rt::trim("  5 "), QStringLiteral("5"));
    QCOMPARE(rt::trim("   "), QString());
    QCOMPARE(rt::trim("\t5\t"), QStringLiteral("\t5\t"));
}

void TestRuntime::checkedArithmetic_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<double>("argument");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<double>("result");
    // 0: truncate to 16 bits, 1: truncate to 32 bits, 2: round to long
    QTest::newRow("16: toward zero") << 0 << -3.9 << false << -3.0;
    QTest::newRow("16: top") << 0 << 32767.9 << false << 32767.0;
    QTest::newRow("16: past top") << 0 << 32768.0 << true << 0.0;
    QTest::newRow("16: bottom") << 0 << -32768.5 << false << -32768.0;
    QTest::newRow("16: past bottom") << 0 << -32769.0 << true << 0.0;
    QTest::newRow("16: NaN") << 0 << std::nan("") << true << 0.0;
    QTest::newRow("32: top") << 1 << 2147483647.9 << false << 2147483647.0;
    QTest::newRow("32: past top") << 1 << 2147483648.0 << true << 0.0;
    QTest::newRow("32: infinity") << 1 << std::numeric_limits<double>::infinity() << true << 0.0;
    QTest::newRow("round: half to even") << 2 << 2.5 << false << 2.0;
    QTest::newRow("round: half up to even") << 2 << -3.5 << false << -4.0;
    QTest::newRow("round: top") << 2 << 2147483647.0 << false << 2147483647.0;
    QTest::newRow("round: rounds past top") << 2 << 2147483647.5 << true << 0.0;
    QTest::newRow("round: huge") << 2 << 1e10 << true << 0.0;
}

void TestRuntime::checkedArithmetic()
{
    QFETCH(int, operation);
    QFETCH(double, argument);
    QFETCH(bool, fails);
    QFETCH(double, result);
    double got = 0;
    const auto kind = errorOf([&] {
        if (operation == 0)
            got = rt::truncToInt16(argument);
        else if (operation == 1)
            got = rt::truncToInt32(argument);
        else
            got = rt::roundToLong(argument);
    });
    if (fails) {
        QCOMPARE(kind, ErrorKind::Overflow);
    } else {
        QVERIFY(!kind);
        QCOMPARE(got, result);
    }
}

void TestRuntime::integerRangesAndPower()
{
    QCOMPARE(errorOf([] { rt::toInt16(40000); }), ErrorKind::Overflow);
    QCOMPARE(errorOf([] { rt::absInt16(-32768); }), ErrorKind::Overflow);
    QCOMPARE(rt::absInt16(-9), qint16(9));
    QCOMPARE(errorOf([] { rt::power(2.0, 1024.0); }), ErrorKind::Overflow);
    QCOMPARE(errorOf([] { rt::power(-8.0, 0.5); }), ErrorKind::FloatingPointFault);
    QCOMPARE(rt::power(2.0, -10.0), 0.0009765625);
}

QTEST_GUILESS_MAIN(TestRuntime)
#include "tst_runtime.moc"
