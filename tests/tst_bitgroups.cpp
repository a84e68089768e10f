// SPDX-License-Identifier: MIT
// The bits of every topic's patterns as their formats group them: the
// groups' names and worths, the groups of one pattern, and the pattern an
// answer shows; and, for random patterns, the value read from the groups'
// worths is the value the topic reads.
#include "topics/bitgroups.h"
#include "topics/registry.h"
#include "topics/workbench.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quorvex;
using namespace quorvex::workbench;
using exact::Number;

namespace {

Format formatNamed(const QString &name)
{
    QString why;
    const std::optional<Format> f = parseFormat(name, &why);
    if (!f)
        qFatal("%s", qPrintable(why));
    return *f;
}

// "name: worth worth ..." for each group, "|" between groups; "sign" for a
// bit that is no place.
QString written(const std::vector<BitGroup> &groups)
{
    QStringList out;
    for (const BitGroup &g : groups) {
        QStringList worths;
        for (const std::optional<Number> &w : g.worth)
            worths << (w ? w->toDecimal() : QStringLiteral("sign"));
        out << g.name + QStringLiteral(": ") + worths.join(u' ');
    }
    return out.join(QStringLiteral(" | "));
}

// What a pattern holds, read from its groups alone: places add up their
// worths; floating point is mantissa x 2^exponent, sign and magnitude the
// magnitude with its sign, BCD its digits in denary.
Number readByGroups(const Format &f, const std::vector<BitGroup> &groups, const QString &bits)
{
    std::vector<Number> sums;
    std::vector<bool> signs;
    qsizetype at = 0;
    for (const BitGroup &g : groups) {
        Number sum;
        bool negative = false;
        for (const std::optional<Number> &w : g.worth) {
            if (bits.at(at++) == u'1') {
                if (w)
                    sum = sum + *w;
                else
                    negative = true;
            }
        }
        sums.push_back(sum);
        signs.push_back(negative);
    }
    const auto times2 = [](const Number &x, const Number &exponent) {
        return x.times2(exponent.truncated().sign() * qint64(exponent.abs().toUnsigned()));
    };
    if (formatName(f).startsWith(QLatin1String("float-signmag")))
        return times2(signs.at(0) ? -sums.at(1) : sums.at(1), sums.at(2));
    if (f.isFloating())
        return times2(sums.at(0), sums.at(1));
    if (formatName(f).startsWith(QLatin1String("int-signmag")))
        return signs.at(0) && sums.size() > 1 ? -sums.at(1) : sums.size() > 1 ? sums.at(1) : Number();
    if (formatName(f).startsWith(QLatin1String("bcd"))) {
        Number value;
        for (const Number &digit : sums)
            value = value * Number(10) + digit;
        return value;
    }
    Number value;
    for (const Number &s : sums)
        value = value + s;
    return value;
}

}  // namespace

class TestBitGroups : public QObject {
    Q_OBJECT
private slots:
    void groups_data();
    void groups();
    void answeredPattern_data();
    void answeredPattern();
    void groupsReadWhatTheTopicReads();
};

void TestBitGroups::groups_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("groups");
    QTest::newRow("unsigned") << "int:4" << 4 << "the integer: 8 4 2 1";
    QTest::newRow("two's") << "int-signed:4" << 4 << "the integer: -8 4 2 1";
    QTest::newRow("one bit two's") << "int-signed:1" << 1 << "the integer: -1";
    QTest::newRow("fixed") << "fixed:2.3" << 5 << "the whole part: 2 1 | the fraction part: 0.5 0.25 0.125";
    QTest::newRow("fixed two's") << "fixed-signed:2.2" << 4 << "the whole part: -2 1 | the fraction part: 0.5 0.25";
    QTest::newRow("fixed two's all fraction")
        << "fixed-signed:0.3" << 3 << "the fraction part: -0.5 0.25 0.125";
    QTest::newRow("fixed all whole") << "fixed:3.0" << 3 << "the whole part: 4 2 1";
    QTest::newRow("float 6:3") << "float:6:3" << 9
                               << "the mantissa: -1 0.5 0.25 0.125 0.0625 0.03125 | the exponent: -4 2 1";
    QTest::newRow("float 6:3, sign and magnitude")
        << "float-signmag:6:3" << 9
        << "the sign: sign | the magnitude: 0.5 0.25 0.125 0.0625 0.03125 | the exponent: -4 2 1";
    QTest::newRow("sign and magnitude") << "int-signmag:4" << 4 << "the sign: sign | the magnitude: 4 2 1";
    QTest::newRow("sign alone") << "int-signmag:1" << 1 << "the sign: sign";
    QTest::newRow("one's") << "int-ones:4" << 4 << "the integer: -7 4 2 1";
    QTest::newRow("bcd 2 digits") << "bcd:2" << 8 << "digit 1: 8 4 2 1 | digit 2: 8 4 2 1";
    QTest::newRow("bcd as needed") << "bcd" << 12
                                   << "digit 1: 8 4 2 1 | digit 2: 8 4 2 1 | digit 3: 8 4 2 1";
    QTest::newRow("bcd not in nibbles") << "bcd" << 10 << "";
    QTest::newRow("bcd of another width") << "bcd:2" << 12 << "";
    QTest::newRow("too few bits") << "int:8" << 7 << "";
    QTest::newRow("no bits") << "bcd" << 0 << "";
}

void TestBitGroups::groups()
{
    QFETCH(QString, format);
    QFETCH(int, bits);
    QFETCH(QString, groups);
    QCOMPARE(written(patternGroups(formatNamed(format), bits)), groups);
}

void TestBitGroups::answeredPattern_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("operands");
    QTest::addColumn<QString>("pattern");  // empty: none
    QTest::newRow("to binary") << "float:8:4" << Operation::ToBinary << QStringList{"-8.25"} << "101111100100";
    QTest::newRow("fixed point") << "fixed:4.4" << Operation::ToBinary << QStringList{"12.75"} << "11001100";
    QTest::newRow("normalise") << "float:8:4" << Operation::Normalise << QStringList{"00011000 0011"}
                               << "011000000001";
    QTest::newRow("bits typed") << "int-signed:8" << Operation::ToDenary << QStringList{"1011 1101"} << "10111101";
    QTest::newRow("hex typed") << "int:8" << Operation::ToDenary << QStringList{"0x2F"} << "00101111";
    QTest::newRow("bcd typed") << "bcd" << Operation::ToDenary << QStringList{"0010 0100"} << "00100100";
    QTest::newRow("bcd nibble above 9") << "bcd" << Operation::ToDenary << QStringList{"1100"} << "1100";
    QTest::newRow("to hex") << "int-signed:16" << Operation::ToHex << QStringList{"-100"} << "1111111110011100";
    QTest::newRow("sum") << "int:8" << Operation::Add << QStringList{"10110110", "01101101"} << "00100011";
    QTest::newRow("not") << "int:4" << Operation::Not << QStringList{"0110"} << "1001";
    QTest::newRow("range") << "int:8" << Operation::Range << QStringList{} << "";
    QTest::newRow("refused") << "int:8" << Operation::ToBinary << QStringList{"-8.25"} << "";
    QTest::newRow("wrong count") << "int:8" << Operation::ToDenary << QStringList{"101"} << "";
}

void TestBitGroups::answeredPattern()
{
    QFETCH(QString, format);
    QFETCH(Operation, operation);
    QFETCH(QStringList, operands);
    QFETCH(QString, pattern);
    const Format f = formatNamed(format);
    const Answer a = solve(f, operation, operands, 0);
    const std::optional<QString> bits =
        workbench::answeredPattern(f, operation, operands.value(0), a.refused, a.text);
    QCOMPARE(bits.value_or(QString()), pattern);
    QCOMPARE(bits.has_value(), !pattern.isEmpty());
}

// Every topic, at widths from the smallest to the largest: the groups'
// sizes add up to the pattern's, and a pattern's value read from the worths
// is the value the topic gives it.
void TestBitGroups::groupsReadWhatTheTopicReads()
{
    const QStringList formats{"int:1",       "int:64",          "int-signed:2",    "int-signed:64",
                              "fixed:0.5",   "fixed:32.32",     "fixed-signed:1.0", "fixed-signed:5.3",
                              "float:2:2",   "float:24:8",      "float:64:12",     "int-signmag:1",
                              "int-signmag:64", "int-ones:1",   "int-ones:64",     "bcd:1",
                              "bcd:16",      "float-signmag:2:2", "float-signmag:16:8", "float-signmag:64:12"};
    QRandomGenerator g(12);
    for (const QString &name : formats) {
        const Format f = formatNamed(name);
        const int width = topicOf(f)->width(f);
        const std::vector<BitGroup> groups = patternGroups(f, width);
        qsizetype size = 0;
        for (const BitGroup &group : groups)
            size += qsizetype(group.worth.size());
        QCOMPARE(size, qsizetype(width));
        for (int trial = 0; trial < 20; ++trial) {
            QString bits;
            for (int i = 0; i < width; ++i)
                bits += g.bounded(2) ? u'1' : u'0';
            if (name.startsWith(QLatin1String("bcd"))) {  // digits 0 to 9
                for (qsizetype d = 0; d < bits.size(); d += 4) {
                    if (bits.at(d) == u'1')
                        bits[d + 1] = bits[d + 2] = u'0';
                }
            }
            QVERIFY2(readByGroups(f, groups, bits) == topicOf(f)->valueOf(f, bits),
                     qPrintable(name + u' ' + bits));
        }
    }
}

QTEST_GUILESS_MAIN(TestBitGroups)
#include "tst_bitgroups.moc"
