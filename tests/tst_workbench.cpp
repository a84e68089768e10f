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

QString unspaced(QString text) { return text.remove(u' '); }

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
    void codesComeBack();
    void workingShowsTheMethod_data();
    void workingShowsTheMethod();
    void codePatternsComeBack();
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
    // Sign and magnitude, one's complement and BCD.
    const Format sm8 = named("int-signmag:8"), ones8 = named("int-ones:8"), bcd = named("bcd");
    QTest::newRow("sign and magnitude -37") << sm8 << toBinary << "-37" << "10100101";
    QTest::newRow("sign and magnitude -37 back") << sm8 << toDenary << "1010 0101" << "-37";
    QTest::newRow("sign and magnitude negative zero") << sm8 << toDenary << "10000000" << "0";
    QTest::newRow("sign and magnitude zero is +0") << sm8 << toBinary << "-0" << "00000000";
    QTest::newRow("sign and magnitude largest") << sm8 << toBinary << "127" << "01111111";
    QTest::newRow("sign and magnitude most negative") << sm8 << toBinary << "-127" << "11111111";
    QTest::newRow("sign and magnitude one bit") << named("int-signmag:1") << toDenary << "1" << "0";
    QTest::newRow("one's complement -37") << ones8 << toBinary << "-37" << "11011010";
    QTest::newRow("one's complement -37 back") << ones8 << toDenary << "11011010" << "-37";
    QTest::newRow("one's complement negative zero") << ones8 << toDenary << "11111111" << "0";
    QTest::newRow("one's complement positive") << ones8 << toBinary << "37" << "00100101";
    QTest::newRow("one's complement most negative") << ones8 << toBinary << "-127" << "10000000";
    QTest::newRow("bcd 2024") << bcd << toBinary << "2024" << "0010 0000 0010 0100";
    QTest::newRow("bcd 593 back") << bcd << toDenary << "0101 1001 0011" << "593";
    QTest::newRow("bcd leading zero nibbles") << bcd << toDenary << "0000 0000 1001" << "9";
    QTest::newRow("bcd 0") << bcd << toBinary << "0" << "0000";
    QTest::newRow("bcd:4 pads") << named("bcd:4") << toBinary << "593" << "0000 0101 1001 0011";
    QTest::newRow("bcd:1 9") << named("bcd:1") << toBinary << "9" << "1001";
    QTest::newRow("range sign and magnitude") << sm8 << int(Direction::Range) << ""
                                              << "largest 01111111 = 127; smallest positive 00000001 = 1; "
                                                 "most negative 11111111 = -127; 256 patterns, 255 values";
    QTest::newRow("range one's complement") << ones8 << int(Direction::Range) << ""
                                            << "largest 01111111 = 127; smallest positive 00000001 = 1; "
                                               "most negative 10000000 = -127; 256 patterns, 255 values";
    QTest::newRow("range sign and magnitude one bit") << named("int-signmag:1") << int(Direction::Range) << ""
                                                      << "largest 0 = 0; smallest positive none; most negative 0 = 0; "
                                                         "2 patterns, 1 value";
    QTest::newRow("range 64-bit one's complement") << named("int-ones:64") << int(Direction::Range) << ""
                                                   << "largest 0" + QString(63, u'1') + " = 9223372036854775807; "
                                                      "smallest positive " + QString(63, u'0') + "1 = 1; "
                                                      "most negative 1" + QString(63, u'0') + " = "
                                                      "-9223372036854775807; 18446744073709551616 patterns, "
                                                      "18446744073709551615 values";
    QTest::newRow("range bcd:2") << named("bcd:2") << int(Direction::Range) << ""
                                 << "largest 1001 1001 = 99; smallest positive 0000 0001 = 1; most negative none; "
                                    "256 patterns, 100 values";
    QTest::newRow("range bcd") << bcd << int(Direction::Range) << ""
                               << "largest none: bcd grows with the number, 4 bits a digit; smallest positive "
                                  "0001 = 1; most negative none; bcd:D holds 0 to 10^D - 1";
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
    QTest::newRow("too small, negative") << f84 << toBinary << "-0.001" << "Underflow: the magnitude of \u22120.001 is below";
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
    const Format sm8 = named("int-signmag:8"), ones8 = named("int-ones:8"), bcd = named("bcd");
    QTest::newRow("sign and magnitude 128") << sm8 << toBinary << "128"
                                            << "128 does not fit: 8-bit sign and magnitude holds \u2212127 to 127";
    QTest::newRow("sign and magnitude -128") << sm8 << toBinary << "-128" << "holds \u2212127 to 127";
    QTest::newRow("sign and magnitude fraction") << sm8 << toBinary << "-2.5" << "not a whole number";
    QTest::newRow("sign and magnitude count") << sm8 << toDenary << "1010" << "needs 8 bits; 4 were typed";
    QTest::newRow("one's complement -128") << ones8 << toBinary << "-128"
                                           << "\u2212128 does not fit: 8-bit one's complement holds \u2212127 to 127";
    QTest::newRow("one's complement not bits") << ones8 << toDenary << "1111 111a" << "\u201Ca\u201D";
    QTest::newRow("bcd nibble above 1001") << bcd << toDenary << "0001 1010"
                                           << "The second nibble, 1010, is 10, not a denary digit.";
    QTest::newRow("bcd first nibble") << bcd << toDenary << "1111" << "The first nibble, 1111, is 15";
    QTest::newRow("bcd tenth nibble") << bcd << toDenary << QString(36, u'0') + "1011" << "The tenth nibble, 1011";
    QTest::newRow("bcd 12th nibble") << bcd << toDenary << QString(44, u'0') + "1100" << "The 12th nibble";
    QTest::newRow("bcd 22nd nibble") << bcd << toDenary << QString(84, u'0') + "1100" << "The 22nd nibble";
    QTest::newRow("bcd has no sign") << bcd << toBinary << "-5" << "BCD here has no sign";
    QTest::newRow("bcd fraction") << bcd << toBinary << "2.5" << "2.5 is not a whole number: BCD holds only whole";
    QTest::newRow("bcd not whole nibbles") << bcd << toDenary << "0101 100"
                                           << "whole nibbles of 4 bits, one for each digit; 7 bits is not a "
                                              "multiple of 4";
    QTest::newRow("bcd six bits") << bcd << toDenary << "0101 10" << "6 bits is not a multiple of 4";
    QTest::newRow("bcd no bits") << bcd << toDenary << " " << "No bits were typed";
    QTest::newRow("bcd:3 too many digits") << named("bcd:3") << toBinary << "2024"
                                           << "2024 has 4 digits: 3-digit BCD holds 0 to 999.";
    QTest::newRow("bcd:2 count") << named("bcd:2") << toDenary << "0001 0010 0011"
                                 << "2-digit BCD needs 8 bits, 4 for each digit; 12 were typed.";
    QTest::newRow("bcd:2 far too large") << named("bcd:2") << toBinary << "1e5000" << "holds 0 to 99";
    QTest::newRow("bcd far too large") << bcd << toBinary << "1e5000" << "too many digits";
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

void TestWorkbench::workingShowsTheMethod_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("phrases");
    const Format sm8 = named("int-signmag:8"), ones8 = named("int-ones:8");
    QTest::newRow("sign in front") << sm8 << int(Direction::ToBinary) << "-37"
                                   << QStringList{"37 \u2212 32 = 5, 5 \u2212 4 = 1, 1 \u2212 1 = 0",
                                                  "the other 7 bits hold the magnitude",
                                                  "The sign bit 1 (negative) goes in front of the magnitude's bits "
                                                  "0100101: 10100101."};
    QTest::newRow("zero written +0") << sm8 << int(Direction::ToBinary) << "0"
                                     << QStringList{"0 is written as +0, 00000000", "10000000, negative zero"};
    QTest::newRow("negative zero read") << sm8 << int(Direction::ToDenary) << "10000000"
                                        << QStringList{"10000000 is negative zero", "two patterns for 0"};
    QTest::newRow("positive zero read") << sm8 << int(Direction::ToDenary) << "00000000"
                                        << QStringList{"So 00000000 in 8-bit sign and magnitude is 0."};
    QTest::newRow("sign and magnitude read") << sm8 << int(Direction::ToDenary) << "10100101"
                                             << QStringList{"the number is negative", "32 + 4 + 1 = 37",
                                                            "So 10100101 in 8-bit sign and magnitude is \u221237."};
    QTest::newRow("sign and magnitude counts") << sm8 << int(Direction::Range) << ""
                                               << QStringList{"8 bits make 256 patterns, but they hold 255 values: "
                                                              "00000000 (+0) and 10000000 (\u22120)"};
    QTest::newRow("inverted, not 1 added") << ones8 << int(Direction::ToBinary) << "-37"
                                           << QStringList{"So the one's complement is 11011010.",
                                                          "two's complement of the same number would be 11011011",
                                                          "00000000 (+0) and 11111111 (\u22120)",
                                                          "\u2212127 to 127, where two's complement holds \u2212128 to "
                                                          "127",
                                                          "end-around carry"};
    QTest::newRow("one's negative read") << ones8 << int(Direction::ToDenary) << "11011010"
                                         << QStringList{"Invert every bit to find its magnitude", "00100101",
                                                        "as two's complement, 11011010 would be \u221238"};
    QTest::newRow("one's negative zero") << ones8 << int(Direction::ToDenary) << "11111111"
                                         << QStringList{"11111111 is negative zero"};
    QTest::newRow("bcd digits and why") << named("bcd") << int(Direction::ToBinary) << "2024"
                                        << QStringList{"place values 8 4 2 1", "clocks, calculators and money",
                                                       "2024 needs 16 bits in BCD, 4 for each digit, but 11 bits in "
                                                       "binary (11111101000)"};
    QTest::newRow("bcd padded") << named("bcd:6") << int(Direction::ToBinary) << "2024"
                                << QStringList{"6-digit BCD writes 6 digits: 2024 is padded with leading 0s to 002024"};
    QTest::newRow("bcd read back") << named("bcd") << int(Direction::ToDenary) << "0101 1001 0011"
                                   << QStringList{"4 + 1", "8 + 1", "2 + 1", "Read together, the digits 5, 9, 3 make 593."};
    QTest::newRow("bcd range") << named("bcd:3") << int(Direction::Range) << ""
                               << QStringList{"Largest value: 1001 1001 1001 = 999",
                                              "12 bits make 4096 patterns (16^3), but only 1000 of them (10^3) are "
                                              "valid"};
    QTest::newRow("bcd grows") << named("bcd") << int(Direction::Range) << ""
                               << QStringList{"BCD grows with the number", "16^D patterns, of which 10^D are valid"};
}

void TestWorkbench::workingShowsTheMethod()
{
    QFETCH(Format, format);
    QFETCH(int, direction);
    QFETCH(QString, input);
    QFETCH(QStringList, phrases);
    const QString text = plain(solve(format, Direction(direction), input).workingHtml);
    for (const QString &phrase : phrases)
        QVERIFY2(text.contains(phrase), qPrintable(phrase + QStringLiteral(" in: ") + text));
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

// Sign and magnitude and one's complement of random widths, and BCD of
// random digits: every number in the range comes back from its bits, and
// one past either end is refused.
void TestWorkbench::codesComeBack()
{
    QRandomGenerator g(20260314);
    for (int k = 0; k < 2000; ++k) {
        const int kind = g.bounded(3);
        Format f;
        Number low, high;
        if (kind < 2) {
            const int n = g.bounded(1, 65);
            f = named(qPrintable(QStringLiteral("%1:%2").arg(kind == 0 ? "int-signmag" : "int-ones").arg(n)));
            high = Number::power2(n - 1) - Number(1);
            low = -high;
        } else {
            const int d = g.bounded(0, 65);
            f = d == 0 ? named("bcd") : named(qPrintable(QStringLiteral("bcd:%1").arg(d)));
            high = d == 0 ? Number() : value(QString(d, u'9'));
        }
        // A value at an end, or anywhere between.
        Number v;
        const int where = g.bounded(4);
        if (where == 0)
            v = low;
        else if (where == 1 && (kind < 2 || f.digits > 0))
            v = high;
        else {
            QString digits = QString::number(g.bounded(1, 10));
            const int most = kind < 2 ? high.toDecimal().size() : (f.digits == 0 ? 40 : f.digits);
            for (int i = g.bounded(1, most + 1); i > 1; --i)
                digits += QChar(u'0' + g.bounded(10));
            v = value(digits);
            if (v > high && (kind < 2 || f.digits > 0))
                v = high;
            if (kind < 2 && g.bounded(2))
                v = -v;
        }
        const Answer bits = solve(f, Direction::ToBinary, v.toDecimal());
        QVERIFY2(!bits.refused, qPrintable(formatName(f) + u' ' + v.toDecimal() + u' ' + bits.text));
        const Answer back = solve(f, Direction::ToDenary, bits.text);
        QCOMPARE(back.text, v.toDecimal());
        const qsizetype count = kind < 2 ? f.bits : 4 * std::max<qsizetype>(f.digits, v.toDecimal().size());
        QCOMPARE(unspaced(bits.text).size(), count);
        // One past each end.
        if (kind < 2 || f.digits > 0)
            QVERIFY(solve(f, Direction::ToBinary, (high + Number(1)).toDecimal()).refused);
        QVERIFY(solve(f, Direction::ToBinary, (low - Number(1)).toDecimal()).refused);
    }
}

// Every pattern reads as a value whose bits are the pattern again, but for
// negative zero, which is written +0; BCD's patterns with a nibble above
// 1001 are refused.
void TestWorkbench::codePatternsComeBack()
{
    QRandomGenerator g(99);
    for (int k = 0; k < 2000; ++k) {
        const int kind = g.bounded(3);
        const int n = kind < 2 ? g.bounded(1, 65) : 4 * g.bounded(1, 17);
        const Format f = named(qPrintable(kind == 0 ? QStringLiteral("int-signmag:%1").arg(n)
                                              : kind == 1 ? QStringLiteral("int-ones:%1").arg(n)
                                                          : QStringLiteral("bcd:%1").arg(n / 4)));
        QString pattern = randomBits(g, n);
        if (g.bounded(8) == 0)  // negative zero
            pattern = kind == 0 ? u'1' + QString(n - 1, u'0') : QString(n, u'1');
        const Answer denary = solve(f, Direction::ToDenary, pattern);
        bool digits = true;
        for (int i = 0; i < n; i += 4)
            digits = digits && pattern.mid(i, 4).toInt(nullptr, 2) <= 9;
        if (kind == 2 && !digits) {
            QVERIFY2(denary.refused && denary.text.contains("not a denary digit"), qPrintable(denary.text));
            continue;
        }
        QVERIFY2(!denary.refused, qPrintable(pattern + u' ' + denary.text));
        const QString written = unspaced(solve(f, Direction::ToBinary, denary.text).text);
        const bool negativeZero = kind < 2 && denary.text == "0" && pattern.startsWith(u'1');
        QCOMPARE(written, negativeZero ? QString(n, u'0') : pattern);
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
