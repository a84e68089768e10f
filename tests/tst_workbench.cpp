// SPDX-License-Identifier: MIT
// The workbench through its one entry point: the worked examples a teacher
// uses, its refusals, and properties over many random formats and numbers,
// checked in exact arithmetic by reading the answers back.
#include "approvedtext.h"
#include "conversions/decimal.h"
#include "engine/exact.h"
#include "conversions/floating.h"
#include "conversions/spoken.h"
#include "practice/practice.h"
#include "topics/workbench.h"
#include "formats.h"

#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace quorvex;
using namespace testformats;
using namespace quorvex::workbench;
using exact::Number;

namespace {

// The working as a reader sees it, without tags or entities.
QString plain(const QString &html)
{
    QString text = html;
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
}

// A question, its answer and the working as the approved files hold them;
// and, for a listener, the answer's bits and the working as a screen reader
// is given them.
QString approvedAnswer(const Format &f, Direction d, const QString &input, const Answer &a)
{
    static const char *const asked[] = {"To binary", "To denary", "Normalise", "Range"};
    return practice::formatTitle(f) + u'\n' + QString::fromLatin1(asked[int(d)]) + QStringLiteral(": \u201C") + input
        + QStringLiteral("\u201D\n") + (a.refused ? QStringLiteral("Refused: ") : QStringLiteral("Answer: ")) + a.text
        + QStringLiteral("\n\n") + approved::plainText(a.workingHtml);
}
QString spokenAnswer(Direction d, const Answer &a)
{
    const bool bits = !a.refused && (d == Direction::ToBinary || d == Direction::Normalise);
    return QStringLiteral("Answer: ") + (bits ? spoken::pattern(a.text) : a.text) + QStringLiteral("\n\n")
        + spoken::html(a.workingHtml) + u'\n';
}

// Compares the answer with its approved text, and for the rows a listener's
// text is approved of, that too.
void compareWithApproved(const Format &f, Direction d, const QString &input, const Answer &a)
{
    static const QSet<QString> spokenRows{"8/4 negative to binary", "10/6 0.1", "10/6 normalise", "two's -67 back",
                                          "fixed 4.4 negative", "range 8/4", "too small", "10-bit unsigned"};
    // Faults in the working, each file holding the text as it should be.
    static const QHash<QString, const char *> knownWrong{
    };
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    QUORVEX_COMPARE_APPROVED_UNLESS_KNOWN(QStringLiteral("workbench"), approved::fileName(tag),
                                          approvedAnswer(f, d, input, a), knownWrong.value(tag, nullptr));
    if (spokenRows.contains(tag))
        QUORVEX_COMPARE_APPROVED(QStringLiteral("workbench"), approved::fileName(tag) + QStringLiteral("-spoken"),
                                 spokenAnswer(d, a));
}

Number value(const QString &decimal)
{
    const exact::Reading r = exact::readDecimal(decimal);
    if (r.kind != exact::Reading::Kind::Exact)
        qFatal("not an exact decimal: %s", qPrintable(decimal));
    return r.value;
}

Format randomFormat(QRandomGenerator &g)
{
    switch (g.bounded(5)) {
    case 0:
        return integer(false, g.bounded(1, 65));
    case 1:
        return integer(true, g.bounded(1, 65));
    case 2:
    case 3: {
        const int whole = g.bounded(0, 33);
        return fixed(g.bounded(2) == 1, whole, g.bounded(whole == 0 ? 1 : 0, 33));
    }
    default:
        return floating(g.bounded(2, 65), g.bounded(2, 13));
    }
}

// A random decimal of up to 24 digits, mostly of a size the format holds.
QString randomDecimal(QRandomGenerator &g, const Format &f)
{
    QString digits;
    const int count = g.bounded(1, 25);
    for (int k = 0; k < count; ++k)
        digits += QChar(u'0' + g.bounded(10));
    int order;  // roughly the decimal exponent of the largest value
    if (f.isInteger())
        order = f.bits * 3 / 10;
    else if (f.isFixed())
        order = g.bounded(-(f.fraction * 3 / 10) - 2, f.whole * 3 / 10 + 1);
    else {
        const int half = 1 << (f.exponent - 1);
        order = g.bounded(-half, half) * 3 / 10;
    }
    const bool negative = (f.isSigned() || g.bounded(8) == 0) && g.bounded(2) == 1;
    const bool whole = f.isInteger() && g.bounded(8) != 0;
    return (negative ? QStringLiteral("-") : QString()) + (whole ? digits.left(std::max(1, order)) : digits)
        + (whole ? QString() : QStringLiteral("e%1").arg(order - count));
}

QString randomBits(QRandomGenerator &g, int n)
{
    QString b;
    for (int k = 0; k < n; ++k)
        b += g.bounded(2) ? u'1' : u'0';
    return b;
}

}  // namespace

class TestWorkbench : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void refusals_data();
    void refusals();
    void readsDecimalsExactly_data();
    void readsDecimalsExactly();
    void longNumbersAreShortened();
    void longDecimalsKeepTheirEnds_data();
    void longDecimalsKeepTheirEnds();
    void toBinaryHoldsTheNumberCutTowardsZero();
    void heldValuesComeBack();
    void normalisingKeepsTheValue();
    void agreesWithTheFloatingPointWindow();
};

void TestWorkbench::workedExamples_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("answer");
    const int toBinary = int(Direction::ToBinary), toDenary = int(Direction::ToDenary);
    const Format f84 = floating(8, 4), f106 = floating(10, 6);
    QTest::newRow("8/4 negative to denary") << f84 << toDenary << "10111110 0100" << "-8.25";
    QTest::newRow("8/4 to denary") << f84 << toDenary << "01100110 0100" << "12.75";
    QTest::newRow("8/4 to binary") << f84 << toBinary << "12.75" << "01100110 0100";
    QTest::newRow("8/4 negative to binary") << f84 << toBinary << "-8.25" << "10111110 0100";
    QTest::newRow("12/4 negative") << floating(12, 4) << toBinary << "-76.1875" << "101100111101 0111";
    QTest::newRow("10/6 3.75") << f106 << toDenary << "0111100000 000010" << "3.75";
    QTest::newRow("10/6 -11") << f106 << toDenary << "1010100000 000100" << "-11";
    QTest::newRow("10/6 negative exponent") << f106 << toDenary << "0111100000 111101" << "0.1171875";
    QTest::newRow("8/4 1 to denary") << f84 << toDenary << "01000000 0001" << "1";
    QTest::newRow("10/6 negative, negative exponent") << f106 << toDenary << "1010100000 111110" << "-0.171875";
    QTest::newRow("10/6 0.1") << f106 << toBinary << "0.1" << "0110011001 111101";
    QTest::newRow("10/6 0.000001") << f106 << toBinary << "0.000001" << "0100001100 101101";
    QTest::newRow("10/6 -1") << f106 << toBinary << "-1" << "1000000000 000000";
    QTest::newRow("10/6 0") << f106 << toBinary << "0" << "0000000000 000000";
    QTest::newRow("8/4 -0.5 renormalised") << f84 << toBinary << "-0.5" << "10000000 1111";
    QTest::newRow("10/6 normalise") << f106 << int(Direction::Normalise) << "0001100000 000101"
                                    << "0110000000 000011";
    QTest::newRow("fixed 4.4 negative") << fixed(true, 4, 4) << toBinary << "-3.25" << "1100.1100";
    QTest::newRow("fixed 4.4 to denary") << fixed(true, 4, 4) << toDenary << "0110.1010" << "6.625";
    QTest::newRow("fixed point typed anywhere") << fixed(true, 4, 4) << toDenary << "01.10 1010" << "6.625";
    QTest::newRow("fixed no fraction") << fixed(false, 4, 0) << toBinary << "13.9" << "1101";
    QTest::newRow("fixed no whole") << fixed(false, 0, 4) << toBinary << "0.75" << ".1100";
    QTest::newRow("10-bit unsigned") << integer(false, 10) << toBinary << "281" << "0100011001";
    QTest::newRow("unsigned 200") << integer(false, 8) << toBinary << "200" << "11001000";
    QTest::newRow("two's -67") << integer(true, 8) << toBinary << "-67" << "10111101";
    QTest::newRow("two's -67 back") << integer(true, 8) << toDenary << "10111101" << "-67";
    QTest::newRow("two's most negative") << integer(true, 8) << toBinary << "-128" << "10000000";
    QTest::newRow("64-bit unsigned") << integer(false, 64) << toBinary << "18446744073709551615"
                                     << QString(64, u'1');
    QTest::newRow("exponent form") << integer(false, 8) << toBinary << " 25e1 " << "11111010";
    QTest::newRow("8/5 normalised then cut") << floating(8, 5) << toBinary << "200" << "01100100 01000";
    QTest::newRow("8/4 -1 renormalised") << f84 << toBinary << "-1" << "10000000 0000";
    QTest::newRow("doubling cut") << fixed(false, 4, 4) << toBinary << "0.1" << "0000.0001";
    // The ends of each range.
    const Format i8 = integer(true, 8), u8 = integer(false, 8), x44 = fixed(true, 4, 4);
    const QString mostNegative64 = u'1' + QString(63, u'0');
    QTest::newRow("two's largest") << i8 << toBinary << "127" << "01111111";
    QTest::newRow("two's largest back") << i8 << toDenary << "01111111" << "127";
    QTest::newRow("two's most negative back") << i8 << toDenary << "10000000" << "-128";
    QTest::newRow("unsigned largest back") << u8 << toDenary << "11111111" << "255";
    QTest::newRow("64-bit two's most negative") << integer(true, 64) << toBinary << "-9223372036854775808"
                                                << mostNegative64;
    QTest::newRow("64-bit two's most negative back") << integer(true, 64) << toDenary << mostNegative64
                                                     << "-9223372036854775808";
    QTest::newRow("64-bit two's largest") << integer(true, 64) << toBinary << "9223372036854775807"
                                          << u'0' + QString(63, u'1');
    QTest::newRow("1-bit two's -1") << integer(true, 1) << toBinary << "-1" << "1";
    QTest::newRow("fixed 4.4 largest") << x44 << toBinary << "7.9375" << "0111.1111";
    QTest::newRow("fixed 4.4 cut to the largest") << x44 << toBinary << "7.99" << "0111.1111";
    QTest::newRow("fixed 4.4 most negative") << x44 << toBinary << "-8" << "1000.0000";
    QTest::newRow("fixed 4.4 most negative back") << x44 << toDenary << "1000.0000" << "-8";
    QTest::newRow("fixed 32.32 most negative") << fixed(true, 32, 32) << toBinary << "-2147483648"
                                               << u'1' + QString(31, u'0') + u'.' + QString(32, u'0');
    QTest::newRow("fixed 0.1 largest") << fixed(false, 0, 1) << toBinary << "0.5" << ".1";
    QTest::newRow("8/4 largest") << f84 << toBinary << "127" << "01111111 0111";
    QTest::newRow("8/4 largest back") << f84 << toDenary << "01111111 0111" << "127";
    QTest::newRow("8/4 cut to the largest") << f84 << toBinary << "127.9" << "01111111 0111";
    QTest::newRow("8/4 most negative") << f84 << toBinary << "-128" << "10000000 0111";
    QTest::newRow("8/4 most negative back") << f84 << toDenary << "10000000 0111" << "-128";
    QTest::newRow("8/4 lowest exponent") << f84 << toBinary << "0.001953125" << "01000000 1000";
    QTest::newRow("8/4 lowest exponent back") << f84 << toDenary << "01000000 1000" << "0.001953125";
    QTest::newRow("8/4 -1 at the lowest exponent") << f84 << toBinary << "-0.00390625" << "10000000 1000";
    QTest::newRow("8/4 -0.5 at the lowest exponent") << f84 << toBinary << "-0.001953125" << "11000000 1000";
    QTest::newRow("10/6 -2^31") << f106 << toBinary << "-2147483648" << "1000000000 011111";
    QTest::newRow("10/6 -2^31 back") << f106 << toDenary << "1000000000 011111" << "-2147483648";
    QTest::newRow("64/12 -2^2047 back") << floating(64, 12) << toDenary << mostNegative64 + " 011111111111"
                                        << (-Number::power2(2047)).toDecimal();
    QTest::newRow("2/2 most negative") << floating(2, 2) << toBinary << "-2" << "10 01";
    // The program's own output typed back: a printed minus sign, an answer
    // copied from the answer box, a pattern as a question prints it.
    QTest::newRow("printed minus") << f84 << toBinary << "\u22128.25" << "10111110 0100";
    QTest::newRow("printed minus, integer") << i8 << toBinary << "\u221267" << "10111101";
    QTest::newRow("fixed answer typed back") << x44 << toDenary << "1100.1100" << "-3.25";
    QTest::newRow("fixed answer without whole bits typed back") << fixed(false, 0, 4) << toDenary << ".1100"
                                                                << "0.75";
    QTest::newRow("denary answer typed back") << f106 << toBinary << "0.1171875" << "0111100000 111101";
    QTest::newRow("pattern as a question prints it") << f84 << toDenary << "1011 1110 0100" << "-8.25";
    QTest::newRow("normalised answer normalised again") << f106 << int(Direction::Normalise)
                                                        << "0110000000 000011" << "0110000000 000011";
    QTest::newRow("range 8/4") << f84 << int(Direction::Range) << ""
                               << "largest 01111111 0111 = 127; smallest positive 01000000 1000 = 0.001953125; "
                                  "most negative 10000000 0111 = -128; step near 1 = 0.015625";
    QTest::newRow("range unsigned") << integer(false, 8) << int(Direction::Range) << ""
                                    << "largest 11111111 = 255; smallest positive 00000001 = 1; "
                                       "most negative 00000000 = 0; step = 1";
    QTest::newRow("range one bit") << integer(true, 1) << int(Direction::Range) << ""
                                   << "largest 0 = 0; smallest positive none; most negative 1 = -1; step = 1";
    QTest::newRow("range no whole bits") << fixed(false, 0, 4) << int(Direction::Range) << ""
                                         << "largest .1111 = 0.9375; smallest positive .0001 = 0.0625; "
                                            "most negative .0000 = 0; step = 0.0625";
    QTest::newRow("range narrowest floating") << floating(2, 2) << int(Direction::Range) << ""
                                              << "largest 01 01 = 1; smallest positive 01 10 = 0.125; "
                                                 "most negative 10 01 = -2; step near 1 = 0.5";
    QTest::newRow("range 4.4") << fixed(true, 4, 4) << int(Direction::Range) << "ignored"
                               << "largest 0111.1111 = 7.9375; smallest positive 0000.0001 = 0.0625; "
                                  "most negative 1000.0000 = -8; step = 0.0625";
}

void TestWorkbench::workedExamples()
{
    QFETCH(Format, format);
    QFETCH(int, direction);
    QFETCH(QString, input);
    const Answer a = solve(format, Direction(direction), input);
    QVERIFY2(!a.refused, qPrintable(a.text));
    QTEST(a.text, "answer");
    compareWithApproved(format, Direction(direction), input, a);
}

void TestWorkbench::refusals_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reason");
    const int toBinary = int(Direction::ToBinary), toDenary = int(Direction::ToDenary);
    const Format f84 = floating(8, 4);
    QTest::newRow("out of range") << integer(true, 8) << toBinary << "-200"
                                  << "\u2212200 does not fit: 8-bit two's complement holds \u2212128 to 127";
    QTest::newRow("unsigned negative") << fixed(false, 4, 4) << toBinary << "-1" << "holds 0 to 15.9375";
    QTest::newRow("not whole") << integer(false, 8) << toBinary << "2.5" << "2.5 is not a whole number";
    QTest::newRow("not a number") << integer(false, 8) << toBinary << "12a" << "is not a number";
    QTest::newRow("two points") << f84 << toBinary << "1.2.3" << "is not a number";
    QTest::newRow("empty") << f84 << toBinary << "  " << "Nothing was typed";
    QTest::newRow("too small") << f84 << toBinary << "0.001"
                               << "0.001 is below the smallest positive normalised value of this format, "
                                  "0.1 \u00D7 2^\u22128 = 0.001953125";
    QTest::newRow("too large") << f84 << toBinary << "200"
                               << "200 does not fit: the largest value of this format is 127";
    QTest::newRow("too negative") << f84 << toBinary << "-200"
                                  << "does not fit: the most negative value of this format is \u2212128";
    QTest::newRow("far too large") << f84 << toBinary << "1e99999" << "does not fit";
    QTest::newRow("too small, negative") << f84 << toBinary << "-0.001" << "The magnitude of \u22120.001 is below";
    // One past each end.
    QTest::newRow("two's one past the largest") << integer(true, 8) << toBinary << "128"
                                                << "128 does not fit: 8-bit two's complement holds \u2212128 to 127";
    QTest::newRow("two's one past the most negative") << integer(true, 8) << toBinary << "-129"
                                                      << "\u2212129 does not fit";
    QTest::newRow("unsigned one past the largest") << integer(false, 8) << toBinary << "256" << "holds 0 to 255";
    QTest::newRow("unsigned -1") << integer(false, 8) << toBinary << "-1" << "holds 0 to 255";
    QTest::newRow("64-bit unsigned one past") << integer(false, 64) << toBinary << "18446744073709551616"
                                              << "holds 0 to 18446744073709551615";
    QTest::newRow("64-bit two's one past") << integer(true, 64) << toBinary << "-9223372036854775809"
                                           << "holds \u22129223372036854775808 to 9223372036854775807";
    QTest::newRow("1-bit two's 1") << integer(true, 1) << toBinary << "1" << "holds \u22121 to 0";
    QTest::newRow("fixed 4.4 one past the largest") << fixed(true, 4, 4) << toBinary << "8" << "holds \u22128 to 7.9375";
    QTest::newRow("fixed 4.4 a step past the most negative") << fixed(true, 4, 4) << toBinary << "-8.0625"
                                                             << "holds \u22128 to 7.9375";
    QTest::newRow("8/4 one past the largest") << f84 << toBinary << "128" << "the largest value of this format is 127";
    // -129 is cut to -128; -130 is the first whole number past it.
    QTest::newRow("8/4 past the most negative") << f84 << toBinary << "-130"
                                                << "the most negative value of this format is \u2212128";
    QTest::newRow("8/4 half the lowest exponent's value") << f84 << toBinary << "0.0009765625" << "is below";
    QTest::newRow("64/12 too large") << floating(64, 12) << toBinary << "1e617" << "does not fit";
    QTest::newRow("pattern one bit long") << f84 << toDenary << "10111110 01001" << "13 were typed";
    QTest::newRow("wrong count") << f84 << toDenary << "10111110 010"
                                 << "An 8-bit mantissa and a 4-bit exponent need 12 bits; 11 were typed";
    QTest::newRow("wrong count, 18/11") << floating(18, 11) << toDenary << "1"
                                        << "An 18-bit mantissa and an 11-bit exponent need 29 bits; 1 was typed";
    QTest::newRow("wrong count fixed") << fixed(true, 4, 4) << toDenary << "1.1"
                                       << "4 bits before the point and 4 after need 8 bits; 2 were typed";
    QTest::newRow("not bits") << integer(false, 8) << toDenary << "1012 01x1" << "\u201C2\u201D, \u201Cx\u201D";
    QTest::newRow("normalise an integer") << integer(false, 8) << int(Direction::Normalise) << "1" << "floating";
    QTest::newRow("lowest exponent") << f84 << int(Direction::Normalise) << "00010000 1000"
                                     << "cannot be normalised";
}

void TestWorkbench::refusals()
{
    QFETCH(Format, format);
    QFETCH(int, direction);
    QFETCH(QString, input);
    QFETCH(QString, reason);
    const Answer a = solve(format, Direction(direction), input);
    QVERIFY(a.refused);
    QVERIFY2(a.text.contains(reason), qPrintable(a.text));
    compareWithApproved(format, Direction(direction), input, a);
}

void TestWorkbench::readsDecimalsExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decimal");  // empty: not a number
    QTest::newRow("exponent") << "25e-1" << "2.5";
    QTest::newRow("capital exponent, blanks") << "  +1.5E3 " << "1500";
    QTest::newRow("minus zero") << "-0.000" << "0";
    QTest::newRow("leading point") << ".5" << "0.5";
    QTest::newRow("trailing point") << "-7." << "-7";
    QTest::newRow("exact tenth") << "0.1e-20" << "0.000000000000000000001";
    QTest::newRow("two points") << "1.2.3" << "";
    QTest::newRow("no digits") << "-.e5" << "";
    QTest::newRow("no exponent digits") << "1e" << "";
    QTest::newRow("inner blank") << "1 2" << "";
    QTest::newRow("letters") << "0x1F" << "";
}

void TestWorkbench::readsDecimalsExactly()
{
    QFETCH(QString, text);
    QFETCH(QString, decimal);
    const exact::Reading r = exact::readDecimal(text);
    QCOMPARE(r.kind == exact::Reading::Kind::Exact, !decimal.isEmpty());
    if (!decimal.isEmpty())
        QCOMPARE(r.value.toDecimal(), decimal);
    // decimalDifference works on the same exact numbers.
    if (!decimal.isEmpty() && !text.contains(u'e', Qt::CaseInsensitive))
        QCOMPARE(decimalDifference(decimal, QStringLiteral("1")), (r.value - Number(1)).toDecimal());
}

void TestWorkbench::longNumbersAreShortened()
{
    QString digits = QStringLiteral("0.");
    for (int k = 0; k < 100'000; ++k)
        digits += QChar(u'1' + k % 9);
    for (const Format &f : {floating(64, 12), fixed(true, 32, 32), fixed(false, 0, 1)}) {
        const Answer a = solve(f, Direction::ToBinary, digits);
        QVERIFY2(!a.refused, qPrintable(a.text));
        QVERIFY2(a.workingHtml.size() < 60'000, qPrintable(QString::number(a.workingHtml.size())));
        QVERIFY(plain(a.workingHtml).contains(QStringLiteral("100002 characters")));
    }
}

void TestWorkbench::longDecimalsKeepTheirEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("short") << "-12.625";
    QTest::newRow("long whole") << QString(60, u'7');
    QTest::newRow("long fraction") << QStringLiteral("0.") + QString(100, u'1');
    QTest::newRow("thousands of places") << QStringLiteral("-0.1") + QString(4500, u'2') + u'9';
    QTest::newRow("ends in 5") << QStringLiteral("0.1") + QString(4500, u'0') + u'5';
    QTest::newRow("whole and places") << QStringLiteral("98765.4321") + QString(4200, u'6') + u'8';
}

void TestWorkbench::longDecimalsKeepTheirEnds()
{
    QFETCH(QString, text);
    const Number n = value(text);
    const QString full = n.toDecimal();
    QCOMPARE(value(full), n);
    const Number::Abridged a = n.abridgedDecimal(40, 10, 6);
    QCOMPARE(a.length, full.size());
    QCOMPARE(a.abridged, full.size() > 40);
    QCOMPARE(a.text, a.abridged ? full.left(10) + QStringLiteral("\u2026") + full.right(6) : full);
}

void TestWorkbench::toBinaryHoldsTheNumberCutTowardsZero()
{
    QRandomGenerator g(20240601);
    int converted = 0;
    for (int k = 0; k < 3000; ++k) {
        const Format f = randomFormat(g);
        const QString input = randomDecimal(g, f);
        const Answer a = solve(f, Direction::ToBinary, input);
        if (a.refused)
            continue;
        ++converted;
        const Answer back = solve(f, Direction::ToDenary, a.text);
        QVERIFY2(!back.refused, qPrintable(a.text + u' ' + back.text));
        const Number typed = value(input), held = value(back.text);
        // No further than one place of the last bit, on the side of zero.
        Number step = Number::power2(f.isFixed() ? -f.fraction : 0);
        if (f.isInteger())
            step = Number::power2(-1);
        else if (f.isFloating() && !typed.isZero())
            step = Number::power2(typed.abs().binaryOrder() - (f.mantissa - 1));
        QVERIFY2((typed - held).abs() < step, qPrintable(input + u' ' + a.text + u' ' + back.text));
        QVERIFY2(held.abs() <= typed.abs() && held.sign() * typed.sign() >= 0, qPrintable(input + u' ' + a.text));
        const HandAnswer hand = handAnswer(f, input);
        QCOMPARE(hand.bits, a.text);
        QCOMPARE(hand.value, back.text);
    }
    QVERIFY2(converted > 2000, qPrintable(QString::number(converted)));
}

void TestWorkbench::heldValuesComeBack()
{
    QRandomGenerator g(7);
    for (int k = 0; k < 3000; ++k) {
        const Format f = randomFormat(g);
        const QString pattern = randomBits(g, f.totalBits());
        const Answer denary = solve(f, Direction::ToDenary, pattern);
        QVERIFY(!denary.refused);
        const Answer binary = solve(f, Direction::ToBinary, denary.text);
        const bool normalised = !f.isFloating() || pattern.at(0) != pattern.at(1);
        if (binary.refused) {  // only a pattern that cannot be normalised may lack a normalised form
            QVERIFY2(!normalised, qPrintable(pattern + u' ' + binary.text));
            continue;
        }
        QCOMPARE(solve(f, Direction::ToDenary, binary.text).text, denary.text);
        if (normalised) {
            QString typed = binary.text;
            QCOMPARE(typed.remove(u'.').remove(u' '), pattern);
        }
    }
}

void TestWorkbench::normalisingKeepsTheValue()
{
    QRandomGenerator g(11);
    for (int k = 0; k < 3000; ++k) {
        const Format f = floating(g.bounded(2, 65), g.bounded(2, 13));
        const QString pattern = randomBits(g, f.totalBits());
        const Answer n = solve(f, Direction::Normalise, pattern);
        if (n.refused) {
            QVERIFY2(n.text.contains(QStringLiteral("cannot be normalised")), qPrintable(n.text));
            continue;
        }
        const QString mantissa = n.text.left(f.mantissa);
        QVERIFY2(mantissa.at(0) != mantissa.at(1) || !mantissa.contains(u'1'), qPrintable(n.text));
        const QString before = solve(f, Direction::ToDenary, pattern).text;
        QCOMPARE(solve(f, Direction::ToDenary, n.text).text, before);
    }
}

QTEST_MAIN(TestWorkbench)
// Where the floating-point window's method and the hand method must agree,
// on numbers whose bits all lie within the window's ten places each side of
// the point and that have at most ten significant binary digits, the
// workbench in the window's format gives the window's boxes. (A number whose
// magnitude, once cut, is a power of two is left out when negative: the
// window does not normalise its mantissa.)
void TestWorkbench::agreesWithTheFloatingPointWindow()
{
    QRandomGenerator rng(20261208);
    const Format tenSix = floating(10, 6);
    int compared = 0;
    while (compared < 3000) {
        const int significant = rng.bounded(1, 11);
        const qint64 digits = rng.bounded(qint64(1) << (significant - 1), qint64(1) << significant);
        const int lowest = rng.bounded(-10, 11 - significant);  // place of the last digit
        const bool negative = rng.bounded(2) == 1;
        const QString text = (negative ? Number(-digits) : Number(digits)).times2(lowest).toDecimal();
        const Conversion window = convertFloating(text);
        QVERIFY2(window.converted(), qPrintable(text));
        if (window.outputs.at(FloatingMantissa).startsWith(QStringLiteral("11")))
            continue;  // a negative power of two, once cut
        const Answer hand = solve(tenSix, Direction::ToBinary, text);
        QVERIFY2(!hand.refused, qPrintable(text));
        QCOMPARE(text + u' ' + hand.text,
                 text + u' ' + window.outputs.at(FloatingMantissa) + u' ' + window.outputs.at(FloatingExponent));
        ++compared;
    }
}

#include "tst_workbench.moc"
