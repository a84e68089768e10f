// SPDX-License-Identifier: MIT
// Hexadecimal through the workbench: every pattern in hex and back, hex
// accepted wherever bits are, the working as taught both ways, and the
// slips a student makes with it.
#include "formats.h"
#include "practice/practice.h"
#include "topics/registry.h"
#include "topics/workbench.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace quorvex;
using namespace testformats;
using workbench::Direction;
using practice::Mistake;

namespace {

QString plain(const QString &html)
{
    QString text = html;
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" ")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

}  // namespace

Q_DECLARE_METATYPE(practice::Mistake)

class TestHex : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void working_data();
    void working();
    void hexAndBitsAgree();
    void diagnoses_data();
    void diagnoses();
    void newQuestionsAnswerRight();
};

void TestHex::answers_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("answer");  // or, when refused, a part of why
    QTest::addColumn<bool>("refused");
    const int toHex = int(Direction::ToHex), toDenary = int(Direction::ToDenary);
    // Checked by hand: 2×4096 + 15×256 + 9×16 + 12 = 12188.
    QTest::newRow("2F9C to denary") << integer(false, 16) << toDenary << "2F9C" << "12188" << false;
    QTest::newRow("0x prefix") << integer(false, 16) << toDenary << "0x2f9c" << "12188" << false;
    QTest::newRow("& prefix") << integer(false, 16) << toDenary << "&2F9C" << "12188" << false;
    QTest::newRow("# prefix") << integer(false, 16) << toDenary << "#2F9C" << "12188" << false;
    QTest::newRow("h after") << integer(false, 16) << toDenary << "2F9Ch" << "12188" << false;
    QTest::newRow("subscript 16") << integer(false, 16) << toDenary << "2F9C\u2081\u2086" << "12188" << false;
    QTest::newRow("16 after") << integer(false, 16) << toDenary << "2F9C16" << "12188" << false;
    QTest::newRow("leading 0s left out") << integer(false, 16) << toDenary << "0x7E8" << "2024" << false;
    QTest::newRow("2F9C to binary") << integer(false, 16) << toHex << "0010111110011100" << "2F9C" << false;
    QTest::newRow("2024 to hex") << integer(false, 11) << toHex << "2024" << "7E8" << false;
    QTest::newRow("12 bits to hex") << integer(false, 12) << toHex << "1110 0111 1010" << "E7A" << false;
    QTest::newRow("10 bits, top digit from two") << integer(false, 10) << toHex << "1011111001" << "2F9" << false;
    QTest::newRow("FF9C is -100") << integer(true, 16) << toDenary << "FF9C" << "-100" << false;
    QTest::newRow("-100 is FF9C") << integer(true, 16) << toHex << "-100" << "FF9C" << false;
    QTest::newRow("hex of hex") << integer(true, 16) << toHex << "0xff9c" << "FF9C" << false;
    QTest::newRow("fixed point from the point") << fixed(false, 4, 4) << toHex << "0011.1100" << "3.C" << false;
    QTest::newRow("fixed point fraction padded") << fixed(false, 10, 10) << toHex << "5.75" << "005.C00" << false;
    QTest::newRow("fixed point hex back") << fixed(true, 4, 4) << toDenary << "0xC.C" << "-3.25" << false;
    QTest::newRow("fixed point, no whole part") << fixed(false, 0, 4) << toHex << "0.75" << ".C" << false;
    QTest::newRow("floating point pattern") << floating(8, 4) << toHex << "-8.25" << "BE4" << false;
    QTest::newRow("floating point from hex") << floating(8, 4) << toDenary << "0xBE4" << "-8.25" << false;
    QTest::newRow("normalise from hex") << floating(8, 4) << int(Direction::Normalise) << "0x101"
                                        << "01000000 1111" << false;
    QTest::newRow("zero") << integer(false, 8) << toHex << "0" << "00" << false;
    QTest::newRow("the largest") << integer(false, 64) << toHex << "18446744073709551615" << "FFFFFFFFFFFFFFFF"
                                 << false;

    QTest::newRow("too wide") << integer(false, 8) << toDenary << "0x2F9C" << "does not fit in 8 bits" << true;
    QTest::newRow("top digit too big") << integer(false, 10) << toDenary << "0x4FF" << "does not fit in 10 bits" << true;
    QTest::newRow("fixed point hex needs its point") << fixed(false, 4, 4) << toDenary << "0x3C" << "with its point"
                                                     << true;
    QTest::newRow("fixed point fraction too fine") << fixed(false, 4, 2) << toDenary << "0x3.D" << "does not fit"
                                                   << true;
    QTest::newRow("a point where there is none") << integer(false, 8) << toDenary << "0x3.C" << "has a point" << true;
    QTest::newRow("a denary number is not hex") << integer(false, 16) << toDenary << "1234" << "are not bits" << true;
    QTest::newRow("nothing to write") << integer(false, 8) << toHex << "12G" << "is not a number, bits or hex" << true;
    QTest::newRow("short bits read as a number") << integer(false, 8) << toHex << "101" << "65" << false;
    QTest::newRow("bits of the wrong count") << integer(false, 8) << toHex << "1.0.1" << "at most one point" << true;
    QTest::newRow("denary too large") << integer(false, 8) << toHex << "256" << "does not fit" << true;
    // BCD's nibbles are its digits already.
    QTest::newRow("not for BCD") << named("bcd") << toHex << "2024" << "To hex is not offered for BCD" << true;
}

void TestHex::answers()
{
    QFETCH(Format, format);
    QFETCH(int, direction);
    QFETCH(QString, input);
    QFETCH(QString, answer);
    QFETCH(bool, refused);
    const workbench::Answer a = workbench::solve(format, Direction(direction), input);
    QCOMPARE(a.refused, refused);
    if (refused)
        QVERIFY2(a.text.contains(answer), qPrintable(a.text));
    else
        QCOMPARE(a.text, answer);
}

void TestHex::working_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QString>("absent");
    QTest::newRow("place values of 16") << integer(false, 16) << int(Direction::ToDenary) << "2F9C"
                                        << QStringList{"read as hexadecimal", "F | 15 | 1111",
                                                       "2×4096 + 15×256 + 9×16 + 12 = 12188"}
                                        << "";
    QTest::newRow("the prefix said") << integer(false, 16) << int(Direction::ToDenary) << "0x2F9C"
                                     << QStringList{"as the 0x in front says"} << "";
    // A two's complement pattern is read through its bits: its hex places
    // would add up to 65436.
    QTest::newRow("two's complement through the bits") << integer(true, 16) << int(Direction::ToDenary) << "FF9C"
                                                       << QStringList{"the leftmost place counts negative"}
                                                       << "place values of 16";
    QTest::newRow("division by 16") << integer(false, 16) << int(Direction::ToHex) << "12188"
                                    << QStringList{"12188 | 761 | 12 | C", "47 | 2 | 15 | F", "2 | 0 | 2 | 2",
                                                   "give 2F9C"}
                                    << "";
    QTest::newRow("nibbles") << integer(false, 12) << int(Direction::ToHex) << "101000001111"
                             << QStringList{"from the right", "1010 | 8 + 2 | 10 | A", "1111 | 8 + 4 + 2 + 1 | 15 | F",
                                            "0000 | 0 | 0 | 0"}
                             << "";
    QTest::newRow("filled with 0s") << integer(false, 10) << int(Direction::ToHex) << "1011111001"
                                    << QStringList{"filling the leftmost group with 0s", "0010 | 2 | 2 | 2"} << "";
    QTest::newRow("from the point") << fixed(false, 4, 4) << int(Direction::ToHex) << "0011.1100"
                                    << QStringList{"from the point", "1100 | 8 + 4 | 12 | C"} << "";
}

// The working as taught, both ways; tables read a row a line.
void TestHex::working()
{
    QFETCH(Format, format);
    QFETCH(int, direction);
    QFETCH(QString, input);
    QFETCH(QStringList, phrases);
    QFETCH(QString, absent);
    QString html = workbench::solve(format, Direction(direction), input).workingHtml;
    html.replace(QStringLiteral("</td><td align=\"center\">"), QStringLiteral(" | "))
        .replace(QStringLiteral("</th><th align=\"center\">"), QStringLiteral(" | "));
    const QString text = plain(html);
    for (const QString &phrase : phrases)
        QVERIFY2(text.contains(phrase), qPrintable(phrase + u'\n' + text));
    QVERIFY2(absent.isEmpty() || !text.contains(absent), qPrintable(text));
}

// For random formats of every topic and random patterns: the hex of the
// bits, read back, is the same pattern with the same value, and the hex of
// a denary number is the hex of its bits.
void TestHex::hexAndBitsAgree()
{
    QRandomGenerator g(24);
    for (int i = 0; i < 2000; ++i) {
        const workbench::Topic *topic = workbench::topics().at(g.bounded(int(workbench::topics().size())));
        Format f{.representation = topic->representation(),
                 .bits = g.bounded(1, 65),
                 .whole = g.bounded(0, 33),
                 .fraction = g.bounded(1, 33),
                 .mantissa = g.bounded(2, 65),
                 .exponent = g.bounded(2, 13)};
        if (!topic->offered(f) || !topic->operations().contains(Direction::ToHex))
            continue;
        const int width = topic->width(f);
        QString bits;
        for (int k = 0; k < width; ++k)
            bits += g.bounded(2) ? u'1' : u'0';
        const workbench::Answer fromBits = workbench::solve(f, Direction::ToDenary, bits);
        const workbench::Answer hex = workbench::solve(f, Direction::ToHex, bits);
        QVERIFY2(!fromBits.refused && !hex.refused, qPrintable(bits));
        const QString why = workbench::formatName(f) + u' ' + bits + u' ' + hex.text;
        QCOMPARE(hex.text.size(), (width - f.fractionBits() + 3) / 4 + (f.fractionBits() + 3) / 4
                                      + (f.fractionBits() > 0 ? 1 : 0));
        const workbench::Answer back = workbench::solve(f, Direction::ToDenary, QStringLiteral("0x") + hex.text);
        QVERIFY2(!back.refused && back.text == fromBits.text, qPrintable(why + u' ' + back.text));
        // The hex of the hand method's bits for a number.
        const workbench::Answer number = workbench::solve(f, Direction::ToBinary, fromBits.text);
        if (!number.refused)
            QCOMPARE(workbench::solve(f, Direction::ToHex, fromBits.text).text,
                     workbench::solve(f, Direction::ToHex, number.text).text);
    }
}

void TestHex::diagnoses_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<Mistake>("mistake");
    const int toHex = int(Direction::ToHex), toDenary = int(Direction::ToDenary);
    const Format u16 = integer(false, 16), u10 = integer(false, 10);
    QTest::newRow("right") << u16 << toHex << "12188" << "2F9C" << Mistake::None;
    QTest::newRow("right, marked and in lower case") << u16 << toHex << "12188" << "0x2f9c" << Mistake::None;
    QTest::newRow("right without its leading 0") << integer(false, 12) << toHex << "2024" << "7E8" << Mistake::None;
    QTest::newRow("B taken as 12") << u16 << toHex << "12188" << "2F9B" << Mistake::HexDigitOff;
    QTest::newRow("A taken as 9") << u16 << toHex << "0000 0000 1010 1010" << "00BB" << Mistake::HexDigitOff;
    QTest::newRow("15 for F") << u16 << toHex << "12188" << "215912" << Mistake::HexDenaryDigits;
    QTest::newRow("digits reversed") << u16 << toHex << "12188" << "C9F2" << Mistake::HexReversed;
    QTest::newRow("grouped from the left") << u10 << toHex << "1011111001" << "BE1" << Mistake::HexGroupedFromLeft;
    QTest::newRow("grouped from the left, filled") << u10 << toHex << "1011111001" << "BE4"
                                                   << Mistake::HexGroupedFromLeft;
    QTest::newRow("not hex") << u16 << toHex << "12188" << "2G9C" << Mistake::Unreadable;
    QTest::newRow("nothing") << u16 << toHex << "12188" << "" << Mistake::Unreadable;
    QTest::newRow("another wrong answer") << u16 << toHex << "12188" << "1234" << Mistake::Other;
    QTest::newRow("hex read right") << u16 << toDenary << "0x2F9C" << "12188" << Mistake::None;
    QTest::newRow("A read as 1") << integer(false, 8) << toDenary << "0xA3" << "19" << Mistake::HexDigitAsPosition;
    QTest::newRow("B read as 12") << integer(false, 8) << toDenary << "0xB0" << "192" << Mistake::HexDigitOff;
}

void TestHex::diagnoses()
{
    QFETCH(Format, format);
    QFETCH(int, direction);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(Mistake, mistake);
    const practice::Verdict v = practice::mark(format, Direction(direction), question, answer);
    QVERIFY2(v.mistake == mistake, qPrintable(v.text));
    QCOMPARE(v.right, mistake == Mistake::None);
    if (!v.right && mistake != Mistake::Unreadable)
        QVERIFY2(v.workingHtml.contains(QStringLiteral("Your answer parts from the method here")), qPrintable(v.text));
}

// Every new to-hex question is answered, and its answer marked right.
void TestHex::newQuestionsAnswerRight()
{
    for (const Format &f : {integer(false, 8), integer(true, 16), fixed(true, 4, 4), floating(8, 4)}) {
        QRandomGenerator g(7);
        for (int i = 0; i < 60; ++i) {
            const QString q = practice::newQuestion(f, Direction::ToHex, g);
            const workbench::Answer a = workbench::solve(f, Direction::ToHex, q);
            QVERIFY2(!a.refused, qPrintable(q + u' ' + a.text));
            QVERIFY2(practice::mark(f, Direction::ToHex, q, a.text).right, qPrintable(q));
        }
    }
}

QTEST_GUILESS_MAIN(TestHex)
#include "tst_hex.moc"
