// SPDX-License-Identifier: MIT
// IEEE 754 floating point: the worked examples through the engine and the
// command line, approved working for a few, the slips diagnosed, the preset
// and custom widths through the window, and properties against the C
// library's own conversions (strtof, strtod) and against GNU MPFR for
// custom widths in every rounding mode.
#include "app/commandline.h"
#include "approvedtext.h"
#include "engine/rounding.h"
#include "formats.h"
#include "guitest.h"
#include "practice/practice.h"
#include "topics/ieee.h"
#include "topics/workbench.h"
#include "windows/frmworkbench.h"

#include <QComboBox>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTest>
#include <QTextStream>

#include <mpfr.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

using namespace quorvex;
using namespace testformats;
using workbench::Direction;
using workbench::Operation;
using practice::Mistake;

namespace {

QString bitsOnly(QString text) { return text.remove(u' '); }

template <typename U>
QString patternOf(U word, int n)
{
    QString b;
    for (int k = n - 1; k >= 0; --k)
        b += (word >> k) & 1 ? u'1' : u'0';
    return b;
}

QString commandLine(const QStringList &arguments, int *status)
{
    QString in, out, err;
    QTextStream i(&in), o(&out), e(&err);
    *status = quorvex::commandLine(QStringList{"quorvex"} + arguments, i, o, e);
    o.flush();
    return out.section(u'\n', 0, 0);
}

Format withRounding(Format f, Rounding r)
{
    f.rounding = r;
    return f;
}

// A random decimal of up to `digits` significant digits, times a power of
// ten from `low` to `high`, of either sign.
QString randomDecimal(QRandomGenerator &g, int digits, int low, int high)
{
    QString d = g.bounded(2) ? QStringLiteral("-") : QString();
    const int n = g.bounded(1, digits + 1);
    d += QChar(u'1' + g.bounded(9));
    d += u'.';
    for (int k = 1; k < n; ++k)
        d += QChar(u'0' + g.bounded(10));
    return d + u'e' + QString::number(g.bounded(low, high + 1));
}

mpfr_rnd_t mpfrMode(Rounding r)
{
    switch (r) {
    case Rounding::TowardZero:
        return MPFR_RNDZ;
    case Rounding::Up:
        return MPFR_RNDU;
    case Rounding::Down:
        return MPFR_RNDD;
    default:
        return MPFR_RNDN;
    }
}

}  // namespace

class TestIeee : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }
    void examples_data();
    void examples();
    void formatsRefused_data();
    void formatsRefused();
    void working_data();
    void working();
    void diagnoses_data();
    void diagnoses();
    void groupsOfBits();
    void questionsAreAnswered();
    void agreesWithTheCLibrary();
    void denaryReadsBack();
    void modesBracketTheValue();
    void customWidthsOfDoubleAreDouble();
    void agreesWithMpfr();
    void presetsInTheWindow();
};

void TestIeee::examples_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("rounding");  // empty: the default
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("to");  // the other format, for convert
    QTest::addColumn<QString>("answer");
    const auto row = [](const char *tag, const char *format, const char *operation, const char *input,
                        const char *answer, const char *rounding = "", const char *to = "") {
        QTest::newRow(tag) << format << operation << rounding << input << to << answer;
    };
    row("single 0.1", "ieee:single", "to-binary", "0.1", "0 01111011 10011001100110011001101");
    row("single 0.1 hex", "ieee:single", "to-hex", "0.1", "3DCCCCCD");
    row("single 0.1 toward zero", "ieee:single", "to-binary", "0.1", "0 01111011 10011001100110011001100",
        "toward-zero");
    row("single 0.1 down", "ieee:single", "to-binary", "0.1", "0 01111011 10011001100110011001100", "down");
    row("single -0.1 up", "ieee:single", "to-binary", "-0.1", "1 01111011 10011001100110011001100", "up");
    row("single 0.1 held", "ieee:single", "error", "0.1",
        "held 0.100000001490116119384765625; error 0.000000001490116119384765625 (relative 1.49012e-8); below "
        "0.0999999940395355224609375; above 0.10000000894069671630859375; ulp 0.000000007450580596923828125");
    row("single C1200000", "ieee:single", "to-denary", "0xC1200000", "-10");
    row("single -0", "ieee:single", "to-binary", "-0", "1 00000000 00000000000000000000000");
    row("single +0", "ieee:single", "to-denary", "0x00000000", "0");
    row("single -0 back", "ieee:single", "to-denary", "0x80000000", "-0");
    row("single infinity", "ieee:single", "to-denary", "0x7F800000", "+infinity");
    row("single quiet nan", "ieee:single", "to-denary", "0x7FC00001", "NaN (quiet, payload 1)");
    row("single signalling nan", "ieee:single", "to-denary", "0xFF800005", "NaN (signalling, payload 5)");
    row("half -2.5", "ieee:half", "to-binary", "-2.5", "1 10000 0100000000");
    row("half 65520 overflows", "ieee:half", "to-binary", "65520", "0 11111 0000000000");
    row("half 65520 toward zero", "ieee:half", "to-binary", "65520", "0 11110 1111111111", "toward-zero");
    row("half -65520 up", "ieee:half", "to-binary", "-65520", "1 11110 1111111111", "up");
    row("half -65520 down", "ieee:half", "to-binary", "-65520", "1 11111 0000000000", "down");
    row("half 1e5000 huge", "ieee:half", "to-binary", "1e5000", "0 11111 0000000000");
    row("half 65519", "ieee:half", "to-binary", "65519", "0 11110 1111111111");
    row("half smallest subnormal", "ieee:half", "to-denary", "0 00000 0000000001", "0.000000059604644775390625");
    row("half subnormal", "ieee:half", "to-binary", "0.000000059604644775390625", "0 00000 0000000001");
    row("half below half the smallest", "ieee:half", "to-binary", "0.0000000298", "0 00000 0000000000");
    row("half tie to the smallest", "ieee:half", "to-binary", "0.0000000298023223876953125", "0 00000 0000000000");
    row("half tiny up", "ieee:half", "to-binary", "1e-2000", "0 00000 0000000001", "up");
    row("half subnormal carries to normal", "ieee:half", "to-binary", "0.00006103", "0 00001 0000000000");
    row("half 2.675", "ieee:half", "to-binary", "2.675", "0 10000 0101011010");
    row("half 2.675 held", "ieee:half", "to-denary", "0 10000 0101011010", "2.67578125");
    row("half tie to even down", "ieee:half", "to-binary", "2049", "0 11010 0000000000");
    row("half tie to even up", "ieee:half", "to-binary", "2051", "0 11010 0000000010");
    row("half carry into the exponent", "ieee:half", "to-binary", "2047.9", "0 11010 0000000000");
    row("half range", "ieee:half", "range", "",
        "largest 0 11110 1111111111 = 65504; smallest normal 0 00001 0000000000 = 0.00006103515625; smallest "
        "subnormal 0 00000 0000000001 = 0.000000059604644775390625; epsilon 2^-10 = 0.0009765625; finite values "
        "63487");
    row("bfloat16 1/3", "ieee:bfloat16", "to-binary", "0.333333333333333333333", "0 01111101 0101011");
    row("double 0.1", "ieee:double", "to-binary", "0.1",
        "0 01111111011 1001100110011001100110011001100110011001100110011010");
    row("double smallest subnormal", "ieee:double", "to-hex", "4.9406564584124654e-324", "0000000000000001");
    row("e5m2 largest", "ieee:e5m2", "to-denary", "0 11110 11", "57344");
    row("e5m2 infinity", "ieee:e5m2", "to-binary", "65536", "0 11111 00");
    row("e4m3 largest", "ieee:e4m3", "to-denary", "0 1111 110", "448");
    row("e4m3 1111 101 is a number", "ieee:e4m3", "to-denary", "0 1111 101", "416");
    row("e4m3 nan", "ieee:e4m3", "to-denary", "1 1111 111", "NaN");
    row("e4m3 464 ties to 448", "ieee:e4m3", "to-binary", "464", "0 1111 110");
    row("e4m3 465 is nan", "ieee:e4m3", "to-binary", "465", "0 1111 111");
    row("e4m3 saturates toward zero", "ieee:e4m3", "to-binary", "-1000", "1 1111 110", "toward-zero");
    row("e4m3 range", "ieee:e4m3", "range", "",
        "largest 0 1111 110 = 448; smallest normal 0 0001 000 = 0.015625; smallest subnormal 0 0000 001 = "
        "0.001953125; epsilon 2^-3 = 0.125; finite values 253");
    row("custom 4:3 has infinity", "ieee:4:3", "to-denary", "0 1111 000", "+infinity");
    row("excess-16", "ieee:5:10:16", "to-denary", "0 10000 0000000000", "1");
    row("quad 1", "ieee:quad", "to-hex", "1", "3FFF0000000000000000000000000000");
    row("convert single to half", "ieee:single", "convert", "3DCCCCCD", "0 01011 1001100110", "", "ieee:half");
    row("convert half to e4m3", "ieee:half", "convert", "1 10000 0100000000", "1 1000 010", "", "ieee:e4m3");
    row("convert single to half overflows", "ieee:single", "convert", "0x47800000", "0 11111 0000000000", "",
        "ieee:half");
    row("convert nan keeps quiet", "ieee:single", "convert", "0x7FC00001", "0 11111 1000000000", "", "ieee:half");
    row("convert infinity to e4m3", "ieee:half", "convert", "1 11111 0000000000", "1 1111 111", "", "ieee:e4m3");
    row("convert toward zero", "ieee:double", "convert", "0x3FB999999999999A", "0 01111011 10011001100110011001100",
        "toward-zero", "ieee:single");
}

// Through the engine and the command line alike.
void TestIeee::examples()
{
    QFETCH(QString, format);
    QFETCH(QString, operation);
    QFETCH(QString, rounding);
    QFETCH(QString, input);
    QFETCH(QString, to);
    QFETCH(QString, answer);
    Format f = named(qPrintable(format));
    if (!rounding.isEmpty())
        f.rounding = *roundingNamed(rounding);
    const Operation op = *workbench::operationNamed(operation);
    workbench::Calculation c{{input}, 0, std::nullopt, std::nullopt};
    if (!to.isEmpty())
        c.to = named(qPrintable(to));
    const workbench::Answer a = workbench::solve(f, op, c);
    QVERIFY2(!a.refused, qPrintable(a.text));
    QCOMPARE(a.text, answer);

    QStringList arguments{"--format", format, "--solve", operation};
    if (!rounding.isEmpty())
        arguments << "--rounding" << rounding;
    if (!to.isEmpty())
        arguments << "--to" << to;
    if (!input.isEmpty())
        arguments << "--" << input;
    int status = -1;
    QCOMPARE(commandLine(arguments, &status), answer);
    QCOMPARE(status, 0);
}

void TestIeee::formatsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("why");
    QTest::newRow("no widths") << "ieee" << "ieee:NAME";
    QTest::newRow("unknown name") << "ieee:triple" << "takes a name";
    QTest::newRow("exponent too narrow") << "ieee:1:10" << "2 to 15 bits, not 1";
    QTest::newRow("exponent too wide") << "ieee:16:10" << "2 to 15 bits, not 16";
    QTest::newRow("no fraction") << "ieee:5:0" << "1 to 112 bits, not 0";
    QTest::newRow("fraction too wide") << "ieee:15:113" << "1 to 112 bits, not 113";
    QTest::newRow("bias too large") << "ieee:5:10:32" << "from 0 to 31, not 32";
}

void TestIeee::formatsRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, why);
    QString got;
    QVERIFY(!workbench::parseFormat(name, &got));
    QVERIFY2(got.contains(why), qPrintable(got));
    // The widest and narrowest custom widths are taken, and named back.
    for (const char *edge : {"ieee:2:1", "ieee:15:112", "ieee:5:10:16"})
        QCOMPARE(workbench::formatName(named(edge)), QString::fromLatin1(edge));
}

void TestIeee::working_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    QTest::newRow("single 0.1") << "ieee:single" << int(Direction::ToBinary) << "0.1";
    QTest::newRow("half 65520") << "ieee:half" << int(Direction::ToBinary) << "65520";
    QTest::newRow("half -2.5") << "ieee:half" << int(Direction::ToBinary) << "-2.5";
    QTest::newRow("half subnormal to denary") << "ieee:half" << int(Direction::ToDenary) << "0 00000 0000000001";
    QTest::newRow("half smallest normal") << "ieee:half" << int(Direction::ToBinary) << "0.00006103515625";
    QTest::newRow("half subnormal to binary") << "ieee:half" << int(Direction::ToBinary) << "0.00000005";
    QTest::newRow("single C1200000") << "ieee:single" << int(Direction::ToDenary) << "0xC1200000";
    QTest::newRow("e4m3 range") << "ieee:e4m3" << int(Direction::Range) << "";
}

void TestIeee::working()
{
    QFETCH(QString, format);
    QFETCH(int, direction);
    QFETCH(QString, input);
    const workbench::Answer a = workbench::solve(named(qPrintable(format)), Direction(direction), input);
    QUORVEX_COMPARE_APPROVED(QStringLiteral("ieee"), approved::fileName(QString::fromLatin1(QTest::currentDataTag())),
                             a.text + QStringLiteral("\n\n") + approved::plainText(a.workingHtml));
}

void TestIeee::diagnoses_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("mistake");
    const int bin = int(Direction::ToBinary), den = int(Direction::ToDenary);
    const auto row = [](const char *tag, const char *format, int direction, const char *question, const char *answer,
                        Mistake mistake) {
        QTest::newRow(tag) << format << direction << question << answer << int(mistake);
    };
    row("right", "ieee:single", bin, "0.1", "0 01111011 10011001100110011001101", Mistake::None);
    row("bias not added", "ieee:single", bin, "-12.5", "1 00000011 10010000000000000000000", Mistake::BiasNotAdded);
    row("bias added twice", "ieee:single", bin, "0.1", "0 11111010 10011001100110011001101", Mistake::BiasTwice);
    row("hidden 1 written", "ieee:half", bin, "-2.5", "1 10000 1010000000", Mistake::HiddenOneWritten);
    row("exponent of 0.1f", "ieee:half", bin, "-2.5", "1 10001 0100000000", Mistake::ExponentOfPointOne);
    row("toward zero for nearest", "ieee:single", bin, "0.1", "0 01111011 10011001100110011001100",
        Mistake::RoundedTowardZero);
    row("tie away from even", "ieee:half", bin, "2049", "0 11010 0000000001", Mistake::TieAwayFromEven);
    row("sign bit wrong", "ieee:half", bin, "-2.5", "0 10000 0100000000", Mistake::SignBitWrong);
    row("wrong count", "ieee:half", bin, "-2.5", "1 10000 010000000", Mistake::WrongCount);
    row("denary right", "ieee:half", den, "1 10000 0100000000", "-2.5", Mistake::None);
    row("subnormal read with a hidden 1", "ieee:half", den, "0 00000 1000000000", "0.000091552734375",
        Mistake::HiddenOne);
    row("sign read the wrong way", "ieee:half", den, "1 10000 0100000000", "2.5", Mistake::MinusLeftOut);
    row("bias not taken away", "ieee:half", den, "0 10000 0100000000", "81920", Mistake::BiasNotAdded);
    row("bias taken away twice", "ieee:half", den, "0 10000 0100000000", "0.0000762939453125", Mistake::BiasTwice);
    row("read as 0.1f", "ieee:half", den, "0 10000 0100000000", "1.25", Mistake::ExponentOfPointOne);
    // Patterns that stand for no number are answered in words.
    row("infinity", "ieee:half", den, "0 11111 0000000000", "+infinity", Mistake::None);
    row("infinity written short", "ieee:half", den, "1 11111 0000000000", "-inf", Mistake::None);
    row("infinity's sign wrong", "ieee:half", den, "1 11111 0000000000", "infinity", Mistake::Other);
    row("a NaN", "ieee:half", den, "0 11111 0000000001", "NaN", Mistake::None);
    row("a NaN for infinity", "ieee:half", den, "0 11111 0000000000", "NaN", Mistake::Other);
}

void TestIeee::diagnoses()
{
    QFETCH(QString, format);
    QFETCH(int, direction);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(int, mistake);
    const Format f = named(qPrintable(format));
    const practice::Verdict v = practice::mark(f, Direction(direction), question, answer);
    QVERIFY2(int(v.mistake) == mistake, qPrintable(v.text));
    QCOMPARE(v.right, mistake == int(Mistake::None));
    if (!v.right) {
        // The verdict gives the right answer, and marks the step where the
        // answer parts from the method.
        const workbench::Answer a = workbench::solve(f, Direction(direction), question);
        QVERIFY2(v.text.contains(practice::printed(a.text)), qPrintable(v.text));
        QVERIFY(v.workingHtml.size() > a.workingHtml.size());
    }
    // The verdict's words, as approved.
    QUORVEX_COMPARE_APPROVED(QStringLiteral("ieee/practice"),
                             approved::fileName(QString::fromLatin1(QTest::currentDataTag())), v.text + u'\n');
}

void TestIeee::groupsOfBits()
{
    const workbench::Topic &t = *workbench::topicOf(named("ieee:half"));
    const std::vector<workbench::BitGroup> g = t.groups(named("ieee:half"));
    QCOMPARE(g.size(), size_t(3));
    QCOMPARE(g[0].name + g[1].name + g[2].name, QStringLiteral("the signthe exponentthe fraction"));
    QCOMPARE(g[0].worth.size() + g[1].worth.size() + g[2].worth.size(), size_t(16));
    QVERIFY(!g[0].worth[0]);
    QCOMPARE(*g[1].worth.front(), exact::Number(16));
    QCOMPARE(*g[2].worth.front(), exact::Number::power2(-1));
    QCOMPARE(*g[2].worth.back(), exact::Number::power2(-10));
}

// New questions of every preset are answered, and marked right with the
// workbench's own answer.
void TestIeee::questionsAreAnswered()
{
    QRandomGenerator g(754);
    for (IeeePreset p : workbench::ieee754::presets()) {
        const Format f = workbench::ieee754::presetFormat(p);
        for (Direction d : {Direction::ToBinary, Direction::ToDenary, Direction::ToHex}) {
            for (int k = 0; k < 5; ++k) {
                const QString q = practice::newQuestion(f, d, g);
                const workbench::Answer a = workbench::solve(f, d, q);
                QVERIFY2(!a.refused, qPrintable(q + u' ' + a.text));
                if (d != Direction::ToHex)
                    QVERIFY2(practice::mark(f, d, q, a.text).right, qPrintable(q));
            }
        }
    }
}

// Nearest-even to binary is what the C library's strtof and strtod give.
void TestIeee::agreesWithTheCLibrary()
{
    QRandomGenerator g(20261209);
    const Format single = named("ieee:single"), dbl = named("ieee:double");
    for (int i = 0; i < 1500; ++i) {
        const QString d = randomDecimal(g, 25, -330, 310);
        const QByteArray text = d.toLatin1();
        const double v = std::strtod(text.constData(), nullptr);
        quint64 w;
        std::memcpy(&w, &v, sizeof w);
        QCOMPARE(bitsOnly(workbench::solve(dbl, Direction::ToBinary, d).text), patternOf(w, 64));
        const float s = std::strtof(text.constData(), nullptr);
        quint32 sw;
        std::memcpy(&sw, &s, sizeof sw);
        QCOMPARE(bitsOnly(workbench::solve(single, Direction::ToBinary, d).text), patternOf(sw, 32));
    }
}

// Every finite pattern's exact decimal reads back to the same bits.
void TestIeee::denaryReadsBack()
{
    QRandomGenerator g(1985);
    const Format single = named("ieee:single"), dbl = named("ieee:double");
    for (int i = 0; i < 1500; ++i) {
        const quint64 w = g.generate64();
        if (((w >> 52) & 0x7FF) != 0x7FF) {
            const QString d = workbench::solve(dbl, Direction::ToDenary, patternOf(w, 64)).text;
            const double v = std::strtod(d.toLatin1().constData(), nullptr);
            quint64 back;
            std::memcpy(&back, &v, sizeof back);
            QCOMPARE(patternOf(back, 64), patternOf(w, 64));
        }
        const auto sw = quint32(w);
        if (((sw >> 23) & 0xFF) != 0xFF) {
            const QString d = workbench::solve(single, Direction::ToDenary, patternOf(sw, 32)).text;
            const float v = std::strtof(d.toLatin1().constData(), nullptr);
            quint32 back;
            std::memcpy(&back, &v, sizeof back);
            QCOMPARE(patternOf(back, 32), patternOf(sw, 32));
        }
    }
}

// Down <= nearest-even <= up around the exact value, toward zero no larger
// in size, and up and down the same or neighbours.
void TestIeee::modesBracketTheValue()
{
    QRandomGenerator g(42);
    for (int i = 0; i < 600; ++i) {
        const Format f = workbench::ieee754::customFormat(g.bounded(2, 9), g.bounded(1, 30));
        const QString d = randomDecimal(g, 12, -40, 40);
        const exact::Number x = exact::readDecimal(d).value;
        const auto held = [&](Rounding r) { return workbench::work(withRounding(f, r), Direction::ToBinary, d).held; };
        const auto down = held(Rounding::Down), up = held(Rounding::Up), nearest = held(Rounding::NearestEven),
                   zero = held(Rounding::TowardZero);
        if (!down || !up || !nearest || !zero)
            continue;  // beyond the largest finite value
        const QString why = workbench::formatName(f) + u' ' + d;
        QVERIFY2(*down <= x && x <= *up, qPrintable(why));
        QVERIFY2(*down <= *nearest && *nearest <= *up, qPrintable(why));
        QVERIFY2(zero->abs() <= x.abs() && (*zero == *down || *zero == *up), qPrintable(why));
        QVERIFY2((*nearest - x).abs() <= (*up - x).abs() && (*nearest - x).abs() <= (*down - x).abs(), qPrintable(why));
        if (*down != *up) {
            const QString a = bitsOnly(workbench::solve(withRounding(f, Rounding::Down), Direction::ToBinary, d).text);
            const QString b = bitsOnly(workbench::solve(withRounding(f, Rounding::Up), Direction::ToBinary, d).text);
            // Neighbours: their magnitudes' patterns one apart.
            const qint64 ma = qint64(a.mid(1).toULongLong(nullptr, 2)), mb = qint64(b.mid(1).toULongLong(nullptr, 2));
            QVERIFY2(a.at(0) == b.at(0) ? std::abs(ma - mb) == 1 : ma + mb == 1, qPrintable(why + u' ' + a + u' ' + b));
        }
    }
}

void TestIeee::customWidthsOfDoubleAreDouble()
{
    QRandomGenerator g(11);
    const Format dbl = named("ieee:double"), custom = named("ieee:11:52");
    for (int i = 0; i < 200; ++i) {
        const QString d = randomDecimal(g, 20, -320, 310);
        const QString bits = patternOf(g.generate64(), 64);
        QCOMPARE(workbench::solve(custom, Direction::ToBinary, d).text, workbench::solve(dbl, Direction::ToBinary, d).text);
        QCOMPARE(workbench::solve(custom, Direction::ToDenary, bits).text,
                 workbench::solve(dbl, Direction::ToDenary, bits).text);
    }
}

// Custom widths in every mode, against MPFR's rounding with the format's
// exponent range and subnormals.
void TestIeee::agreesWithMpfr()
{
    QRandomGenerator g(2026);
    const QList<Rounding> modes = workbench::topicOf(named("ieee:half"))->roundings();
    for (int i = 0; i < 1500; ++i) {
        const int E = g.bounded(2, 12), F = g.bounded(1, 113);
        Format f = workbench::ieee754::customFormat(E, F);
        f.rounding = modes.at(g.bounded(int(modes.size())));
        const qint64 highest = (qint64(1) << E) - 2 - f.bias, lowest = 1 - f.bias;
        const int reach = int(std::min<qint64>(highest * 3 / 10 + 2, 900));
        const QString d = randomDecimal(g, 40, -reach, reach);

        mpfr_set_emin(mpfr_exp_t(lowest - F + 1));
        mpfr_set_emax(mpfr_exp_t(highest + 1));
        mpfr_t x;
        mpfr_init2(x, F + 1);
        const mpfr_rnd_t rnd = mpfrMode(f.rounding);
        int t = mpfr_strtofr(x, d.toLatin1().constData(), nullptr, 10, rnd);
        t = mpfr_check_range(x, t, rnd);
        mpfr_subnormalize(x, t, rnd);
        const workbench::Worked w = workbench::work(f, Direction::ToBinary, d);
        const QString why = workbench::formatName(f) + u' ' + roundingName(f.rounding) + u' ' + d + u' ' + w.text;
        if (mpfr_inf_p(x)) {
            QVERIFY2(!w.held && bitsOnly(w.text).mid(1, E) == QString(E, u'1'), qPrintable(why));
        } else {
            QVERIFY2(w.held, qPrintable(why));
            mpz_t z;
            mpz_init(z);
            exact::Number m;
            if (!mpfr_zero_p(x)) {
                const mpfr_exp_t e = mpfr_get_z_2exp(z, x);
                char *digits = mpz_get_str(nullptr, 10, z);
                m = exact::Number::fromDecimal(QString::fromLatin1(digits)).times2(e);
                mpfr_free_str(digits);
            }
            mpz_clear(z);
            QVERIFY2(*w.held == m, qPrintable(why));
        }
        mpfr_clear(x);
    }
    mpfr_set_emin(mpfr_get_emin_min());
    mpfr_set_emax(mpfr_get_emax_max());
}

// The preset box and, for Custom only, the widths, with IEEE 754's ranges.
void TestIeee::presetsInTheWindow()
{
    guitest::Harness<frmWorkbench> h;
    auto *format = h.window.findChild<QComboBox *>("cboFormat");
    auto *preset = h.window.findChild<QComboBox *>("cboPreset");
    auto *exponent = h.window.findChild<QSpinBox *>("spnExponent");
    auto *fraction = h.window.findChild<QSpinBox *>("spnFraction");
    auto *input = h.window.findChild<QLineEdit *>("txtInput");
    auto *answer = h.window.findChild<QLineEdit *>("txtAnswer");
    QVERIFY(!preset->isVisible());
    format->setCurrentIndex(format->findText("IEEE 754 floating point"));
    QCOMPARE(format->currentIndex(), format->count() - 1);
    QVERIFY(preset->isVisible());
    QStringList items;
    for (int k = 0; k < preset->count(); ++k)
        items << preset->itemText(k);
    QCOMPARE(items, (QStringList{"Half (binary16)", "Single (binary32)", "Double (binary64)", "Quadruple (binary128)",
                                 "bfloat16", "FP8 E5M2", "FP8 E4M3", "Custom"}));
    QVERIFY(!exponent->isVisible() && !fraction->isVisible());
    preset->setFocus();
    guitest::key(&h.window, Qt::Key_Down);  // single
    input->setFocus();
    guitest::retype(&h.window, QStringLiteral("0.1"));
    guitest::click(h.window.findChild<QWidget *>("cmdToBinary"));
    QCOMPARE(answer->text(), QStringLiteral("0 01111011 10011001100110011001101"));

    preset->setCurrentIndex(preset->count() - 1);
    QVERIFY(exponent->isVisible() && fraction->isVisible());
    QCOMPARE(QList<int>({exponent->minimum(), exponent->maximum(), fraction->minimum(), fraction->maximum()}),
             QList<int>({2, 15, 1, 112}));
    exponent->setFocus();
    guitest::retype(&h.window, QStringLiteral("5"));
    fraction->setFocus();
    guitest::retype(&h.window, QStringLiteral("10"));
    input->setFocus();
    guitest::retype(&h.window, QStringLiteral("-2.5"));
    guitest::click(h.window.findChild<QWidget *>("cmdToBinary"));
    QCOMPARE(answer->text(), QStringLiteral("1 10000 0100000000"));
    // Other formats keep their own ranges.
    format->setCurrentIndex(2);
    QCOMPARE(QList<int>({exponent->minimum(), exponent->maximum(), fraction->minimum(), fraction->maximum()}),
             QList<int>({2, 12, 0, 32}));
    QVERIFY(!preset->isVisible());
}

QTEST_MAIN(TestIeee)
#include "tst_ieee.moc"
