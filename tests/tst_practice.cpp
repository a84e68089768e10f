// SPDX-License-Identifier: MIT
// Practice: each usual mistake diagnosed, right answers in any grouping
// marked right, properties over many generated questions, and a worksheet
// made by the real program from the command line, read back with pdftotext.
#include "approvedtext.h"
#include "conversions/spoken.h"
#include "engine/exact.h"
#include "practice/practice.h"
#include "topics/workbench.h"
#include "formats.h"
#include "practice/calculations.h"
#include "practice/levels.h"
#include "topics/registry.h"
#include "windows/worksheet.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextTable>

using namespace quorvex;
using namespace testformats;
using namespace quorvex::practice;

namespace {

Format randomFormat(QRandomGenerator &g)
{
    switch (g.bounded(5)) {
    case 0:
        return integer(g.bounded(2) == 1, g.bounded(1, 65));
    case 1:
    case 2: {
        const int whole = g.bounded(0, 33);
        return fixed(g.bounded(2) == 1, whole, g.bounded(whole == 0 ? 1 : 0, 33));
    }
    default:
        return floating(g.bounded(2, 65), g.bounded(2, 13));
    }
}

QString bitsOnly(QString text) { return text.remove(QRegularExpression(QStringLiteral("[^01]"))); }

exact::Number value(const QString &decimal) { return exact::readDecimal(QString(decimal).replace(QChar(0x2212), u'-')).value; }

// pdftotext's words, each run of blanks one space, ligatures as letters.
QString squeezed(QString text)
{
    text.replace(QChar(0x00A0), u' ');
    static const char *const ligatures[] = {"ff", "fi", "fl", "ffi", "ffl"};  // U+FB00 to U+FB04
    for (int k = 0; k < 5; ++k)
        text.replace(QChar(0xFB00 + k), QString::fromLatin1(ligatures[k]));
    return text.simplified();
}

// A worksheet's words as the approved file holds them, where lines break
// owing nothing to the font: the question sheet with a line for the title,
// the name, each instruction, each question and each answer line, page
// numbers left out; then the answer key's heading line for each question,
// its question and its answer (two parts for a floating-point pattern).
QString sheetLines(const QString &words, bool floating)
{
    const qsizetype key = words.indexOf(QStringLiteral(" Answers "));
    QString sheet = words.left(key);
    static const QRegularExpression breaks(QStringLiteral(
        " (?=Name:|Answer|\\d+\\. |Write each number|Write the value|Normalise each)"));
    sheet.replace(breaks, QStringLiteral("\n"));
    QString out = sheet + QStringLiteral("\nAnswers\n");
    const QString answers = words.mid(key);
    static const QRegularExpression question(QStringLiteral("^\\d+\\. .*$"), QRegularExpression::MultilineOption);
    static const QRegularExpression bits(QStringLiteral("^[01]+$"));
    qsizetype at = 0;
    for (const QRegularExpressionMatch &m : question.globalMatch(sheet)) {
        const QString heading = u' ' + m.captured() + QStringLiteral(" Answer: ");
        const qsizetype start = answers.indexOf(heading, at);
        if (start < 0) {
            out += m.captured() + QStringLiteral(" has no answer\n");
            continue;
        }
        at = start + heading.size();
        const QStringList after = answers.mid(at).split(u' ');
        const qsizetype parts = floating && after.size() > 1 && bits.match(after.at(0)).hasMatch() ? 2 : 1;
        out += heading.mid(1) + after.mid(0, parts).join(u' ') + u'\n';
    }
    return out;
}

// A sheet's rich text as lines: a table row on a line, its cells' words
// between blanks (a one-column table's line by line), a table of empty
// cells a box a cell ("□□□□"), and blank room by its height.
QStringList sheetText(QTextFrame::iterator it)
{
    QStringList lines;
    for (; !it.atEnd(); ++it) {
        const auto *table = qobject_cast<QTextTable *>(it.currentFrame());
        const QTextBlock block = it.currentBlock();
        if (!table && !block.text().trimmed().isEmpty())
            lines << block.text().replace(QChar::Nbsp, u' ').simplified();
        else if (!table && block.isValid() && block.blockFormat().topMargin() > 0)
            lines << QStringLiteral("[room: %1px]").arg(block.blockFormat().topMargin());
        for (int row = 0; table && row < table->rows(); ++row) {
            QStringList cells;  // each with its lines
            for (int column = 0; column < table->columns(); ++column)
                cells << sheetText(table->cellAt(row, column).begin()).join(u'\n');
            if (cells.join(QString()).isEmpty())
                lines << QString(cells.size(), QChar(0x25A1));
            else if (cells.size() == 1)
                lines += cells.constFirst().split(u'\n');
            else
                lines << cells.join(u' ').simplified();
        }
    }
    return lines;
}

const QString program = QStringLiteral(QUORVEX_BINARY);
// A page's number, on a line of its own as pdftotext -layout reads it.
const QRegularExpression pageNumber(QStringLiteral("^ *\\d+ *$"), QRegularExpression::MultilineOption);

}  // namespace

class TestPractice : public QObject {
    Q_OBJECT

private slots:
    void questionsInWords_data();
    void questionsInWords();
    void hintsAreTheWorkingUpToTheAnswer();
    void hintedAnswersCountedApart();
    void everyLevelsQuestionsAreSaidAndMarkedRight();
    void fewQuestionsAreAboutACut_data();
    void fewQuestionsAreAboutACut();
    void diagnoses_data();
    void diagnoses();
    void generatedQuestionsAnswerRight();
    void noQuestionOutsideTheOfferedWidths_data();
    void noQuestionOutsideTheOfferedWidths();
    void wrongAnswersAreReallyWrong();
    void codeQuestionsAnswerRight();
    void sameSeedSameQuestions();
    void worksheetFromTheCommandLine_data();
    void worksheetFromTheCommandLine();
    void commandLineRefuses_data();
    void commandLineRefuses();
    void commandLineWritesTheMostQuestions();
    void mixedWorksheet();
    void mixedSheets_data();
    void mixedSheets();
    void answerBoxes();
    void wideAnswerBoxes_data();
    void wideAnswerBoxes();
    void pagesHoldWhatTheyCan();
};

void TestPractice::diagnoses_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("mistake");
    const int bin = int(Direction::ToBinary), den = int(Direction::ToDenary), norm = int(Direction::Normalise);
    const Format f84 = floating(8, 4), f106 = floating(10, 6), x44 = fixed(true, 4, 4), i8 = integer(true, 8);
    const auto row = [](const char *name, const Format &f, int d, const char *q, const char *a, Mistake m) {
        QTest::newRow(name) << f << d << QString::fromUtf8(q) << QString::fromUtf8(a) << int(m);
    };
    // Right, however it is grouped or written.
    row("right grouped in fours", f84, bin, "12.75", "0110 0110 0100", Mistake::None);
    row("right without blanks", f84, bin, "12.75", "011001100100", Mistake::None);
    row("right with the mantissa's point", f84, bin, "12.75", "0.1100110 0100", Mistake::None);
    row("right fixed without point", fixed(false, 4, 4), bin, "0.1", "00000001", Mistake::None);
    row("right decimal with + and zeros", f84, den, "0110 0110 0100", "+12.750", Mistake::None);
    row("right with a real minus", f84, den, "10111110 0100", "\u22128.25", Mistake::None);
    // Right, as the program itself prints a question or answer.
    row("right as the answer box shows it", x44, bin, "-3.25", "1100.1100", Mistake::None);
    row("right with the point first", fixed(false, 0, 4), bin, "0.75", ".1100", Mistake::None);
    row("right with a real minus, fixed", x44, den, "1100.1100", "\u22123.25", Mistake::None);
    row("right with a real minus, integer", i8, den, "10111101", "\u221267", Mistake::None);
    row("question with a real minus", f84, bin, "\u22128.25", "10111110 0100", Mistake::None);
    // Floating point, number to bits.
    row("not normalised", f84, bin, "12.75", "00110011 0101", Mistake::NotNormalised);
    row("negative not renormalised", f84, bin, "-0.5", "11000000 0000", Mistake::NotNormalised);
    row("mantissa not complemented", f84, bin, "-8.25", "01000010 0100", Mistake::NoComplement);
    row("mantissa sign and magnitude", f84, bin, "-8.25", "11000010 0100", Mistake::SignAndMagnitude);
    row("mantissa inverted only", f84, bin, "-8.25", "10111101 0100", Mistake::InvertedOnly);
    row("exponent's sign wrong", f84, bin, "0.1875", "01100000 0010", Mistake::ExponentWrongWay);
    row("exponent sign and magnitude", f84, bin, "0.1875", "01100000 1010", Mistake::ExponentSignAndMagnitude);
    row("exponent inverted only", f84, bin, "0.1875", "01100000 1101", Mistake::ExponentInvertedOnly);
    row("exponent off by one", f84, bin, "12.75", "01100110 0011", Mistake::ExponentOff);
    row("swapped", f84, bin, "12.75", "0100 0110 0110", Mistake::Swapped);
    row("rounded", f84, bin, "0.1", "01100111 1101", Mistake::Rounded);
    row("reversed", f84, bin, "12.75", "0010 0110 0110", Mistake::Reversed);
    row("mantissa too short", f84, bin, "12.75", "0110011 0100", Mistake::WrongCount);
    row("matches nothing", f84, bin, "12.75", "01100111 0100", Mistake::Other);
    row("not bits", f84, bin, "12.75", "0110 0110 010x", Mistake::Unreadable);
    row("question refused", f84, bin, "200", "0", Mistake::QuestionRefused);
    // Fixed point and integers, number to bits.
    row("fixed not complemented", x44, bin, "-3.25", "0011.0100", Mistake::NoComplement);
    row("fixed sign and magnitude", x44, bin, "-3.25", "1011.0100", Mistake::SignAndMagnitude);
    row("fixed inverted only", x44, bin, "-3.25", "1100.1011", Mistake::InvertedOnly);
    row("fixed point misplaced", x44, bin, "-3.25", "11001.100", Mistake::PointMisplaced);
    row("fixed rounded", fixed(false, 4, 4), bin, "0.1", "0000.0010", Mistake::Rounded);
    // Inverting the cut size without adding 1 gives the same bits as rounding away from zero.
    row("fixed negative rounded", x44, bin, "-0.1", "1111.1110", Mistake::InvertedOnly);
    row("integer reversed", i8, bin, "-100", "00111001", Mistake::Reversed);
    row("integer not complemented", i8, bin, "-67", "01000011", Mistake::NoComplement);
    row("integer too few bits", i8, bin, "-67", "1011101", Mistake::WrongCount);
    row("unsigned without leading 0s", integer(false, 8), bin, "5", "101", Mistake::WrongCount);
    // Bits to denary.
    row("hidden 1, sign and biased exponent", f84, den, "0110 0110 0100", "28.5", Mistake::HiddenOne);
    row("hidden 1 before the mantissa", f84, den, "0110 0110 0100", "28.75", Mistake::HiddenOne);
    row("exponent applied the wrong way", f84, den, "0110 0110 0100", "0.0498046875", Mistake::ExponentWrongWay);
    row("point moved once too often", f84, den, "0110 0110 0100", "25.5", Mistake::ExponentOff);
    row("read exponent first", f84, den, "0110 0110 0100", "50", Mistake::Swapped);
    row("read backwards", f84, den, "0110 0110 0100", "19", Mistake::Reversed);
    row("mantissa sign read positive", f84, den, "10111110 0100", "23.75", Mistake::SignReadPositive);
    row("minus left out", f84, den, "10111110 0100", "8.25", Mistake::MinusLeftOut);
    row("mantissa read as sign and magnitude", f84, den, "10111110 0100", "-7.75", Mistake::SignAndMagnitude);
    row("mantissa inverted, 1 not added", f84, den, "10111110 0100", "-8.125", Mistake::InvertedOnly);
    row("exponent sign read positive", f84, den, "01100000 1110", "12288", Mistake::SignReadPositive);
    row("exponent read as sign and magnitude", f84, den, "01100000 1110", "0.01171875",
        Mistake::ExponentSignAndMagnitude);
    row("integer sign read positive", i8, den, "10111101", "189", Mistake::SignReadPositive);
    row("integer inverted, 1 not added", i8, den, "10111101", "-66", Mistake::InvertedOnly);
    row("unsigned read as two's complement", integer(false, 8), den, "11001000", "-56",
        Mistake::UnsignedReadNegative);
    row("fixed point ignored", x44, den, "0110.1010", "106", Mistake::PointIgnored);
    row("fixed read as sign and magnitude", x44, den, "1100.1100", "-4.75", Mistake::SignAndMagnitude);
    row("not a number", f84, den, "0110 0110 0100", "twelve", Mistake::Unreadable);
    row("denary matches nothing", f84, den, "0110 0110 0100", "12.5", Mistake::Other);
    // Normalising.
    row("normalise right", f106, norm, "0001100000 000101", "0110000000 000011", Mistake::None);
    row("shifted too little", f106, norm, "0001100000 000101", "0011000000 000100", Mistake::NotNormalised);
    row("exponent left as it was", f106, norm, "0001100000 000101", "0110000000 000101", Mistake::ExponentOff);
    row("exponent went up", f106, norm, "0001100000 000101", "0110000000 000111", Mistake::ExponentWrongWay);
    row("exponent off after shifting", f106, norm, "0001100000 000101", "0110000000 000010", Mistake::ExponentOff);
    row("normalised exponent in sign and magnitude", f84, norm, "00011000 0000", "01100000 1010",
        Mistake::ExponentSignAndMagnitude);
    // Sign and magnitude and one's complement, against two's complement.
    const Format sm8 = named("int-signmag:8"), ones8 = named("int-ones:8"), bcd = named("bcd");
    row("sign and magnitude right", sm8, bin, "-37", "1010 0101", Mistake::None);
    row("two's complement for sign and magnitude", sm8, bin, "-37", "11011011", Mistake::TwosComplementGiven);
    row("one's complement for sign and magnitude", sm8, bin, "-37", "11011010", Mistake::OnesComplementGiven);
    row("sign bit left 0", sm8, bin, "-37", "00100101", Mistake::NoComplement);
    row("sign and magnitude reversed", sm8, bin, "37", "10100100", Mistake::Reversed);
    row("sign and magnitude for two's complement", i8, bin, "-37", "10100101", Mistake::SignAndMagnitude);
    row("one's complement for two's complement", i8, bin, "-37", "11011010", Mistake::InvertedOnly);
    row("two's complement for one's complement", ones8, bin, "-37", "11011011", Mistake::TwosComplementGiven);
    row("sign and magnitude for one's complement", ones8, bin, "-37", "10100101", Mistake::SignAndMagnitude);
    row("one's complement not inverted", ones8, bin, "-37", "00100101", Mistake::NoComplement);
    row("sign bit read as a place", sm8, den, "10100101", "165", Mistake::SignReadPositive);
    row("sign and magnitude read as two's", sm8, den, "10100101", "-91", Mistake::TwosComplementGiven);
    row("sign and magnitude read as one's", sm8, den, "10100101", "-90", Mistake::OnesComplementGiven);
    row("sign and magnitude minus left out", sm8, den, "10100101", "37", Mistake::MinusLeftOut);
    row("sign and magnitude read backwards", sm8, den, "00100101", "-36", Mistake::Reversed);
    row("one's sign bit read as a place", ones8, den, "11011010", "218", Mistake::SignReadPositive);
    row("one's read as two's", ones8, den, "11011010", "-38", Mistake::TwosComplementGiven);
    row("one's read as sign and magnitude", ones8, den, "11011010", "-90", Mistake::SignAndMagnitude);
    // BCD against pure binary.
    row("bcd right", bcd, bin, "2024", "0010000000100100", Mistake::None);
    row("pure binary for bcd", bcd, bin, "2024", "0000 0111 1110 1000", Mistake::BinaryGiven);
    row("pure binary for bcd:4", named("bcd:4"), bin, "593", "0000 0010 0101 0001", Mistake::BinaryGiven);
    row("pure binary too short for bcd", bcd, bin, "2024", "11111101000", Mistake::WrongCount);
    row("a nibble above 1001", named("bcd:3"), bin, "105", "0000 1010 0101", Mistake::DigitAboveNine);
    row("bcd reversed", bcd, bin, "593", "1100 1001 1010", Mistake::Reversed);
    row("bcd read as pure binary", bcd, den, "0101 1001 0011", "1427", Mistake::BinaryGiven);
    row("bcd read backwards", bcd, den, "0001 0010", "48", Mistake::Reversed);
    row("bcd for pure binary", integer(false, 8), bin, "59", "0101 1001", Mistake::BcdGiven);
    row("bcd for 7-bit pure binary", integer(false, 7), bin, "59", "1011001", Mistake::BcdGiven);
}

void TestPractice::diagnoses()
{
    QFETCH(Format, format);
    QFETCH(int, direction);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(int, mistake);
    const Verdict v = mark(format, Direction(direction), question, answer);
    QCOMPARE(int(v.mistake), mistake);
    QCOMPARE(v.right, mistake == int(Mistake::None));
    // A wrong answer is given the right one.
    if (!v.right && mistake != int(Mistake::QuestionRefused)) {
        const workbench::Answer a = workbench::solve(format, Direction(direction), question);
        QVERIFY2(v.text.contains(printed(a.text)), qPrintable(v.text));
    }
    // The verdict, and the working with the step where the answer parts
    // from the method marked.
    static const char *const asked[] = {"To binary", "To denary", "Normalise", "Range"};
    // Faults in the verdicts, each file holding the text as it should be.
    static const QHash<QString, const char *> knownWrong{
    };
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString text = formatTitle(format) + u'\n' + QString::fromLatin1(asked[direction]) + QStringLiteral(": \u201C")
        + question + QStringLiteral("\u201D\nAnswer given: \u201C") + answer + QStringLiteral("\u201D\nVerdict: ") + v.text
        + QStringLiteral("\n\n") + approved::plainText(v.workingHtml);
    QUORVEX_COMPARE_APPROVED_UNLESS_KNOWN(QStringLiteral("practice"), approved::fileName(tag), text,
                                          knownWrong.value(tag, nullptr));
    // What a screen reader is given of the working, the note among it.
    static const QSet<QString> spokenRows{"mantissa not complemented", "fixed point ignored", "right grouped in fours"};
    if (spokenRows.contains(tag))
        QUORVEX_COMPARE_APPROVED(QStringLiteral("practice"), approved::fileName(tag) + QStringLiteral("-spoken"),
                                 spoken::html(v.workingHtml) + u'\n');
}

void TestPractice::noQuestionOutsideTheOfferedWidths_data()
{
    QTest::addColumn<Format>("format");
    QTest::newRow("fixed point of no bits") << fixed(false, 0, 0);
    QTest::newRow("integer of no bits") << integer(true, 0);
    QTest::newRow("integer of 65 bits") << integer(false, 65);
    QTest::newRow("mantissa of 1 bit") << floating(1, 4);
    QTest::newRow("exponent of 13 bits") << floating(8, 13);
}

// A format the workbench does not offer sets no question (it once recursed
// without end), in any direction.
void TestPractice::noQuestionOutsideTheOfferedWidths()
{
    QFETCH(Format, format);
    QRandomGenerator g(1);
    for (Direction d : workbench::allOperations())
        QVERIFY(practice::newQuestion(format, d, g).isEmpty());
}

// Every generated question is answerable, and its answer marked right;
// questions keep to what was asked of them.
void TestPractice::generatedQuestionsAnswerRight()
{
    QRandomGenerator g(20261);
    int exactCount = 0, cutCount = 0;
    for (int i = 0; i < 600; ++i) {
        const Format f = randomFormat(g);
        const Direction d = f.isFloating() && g.bounded(3) == 0 ? Direction::Normalise
                                                                : Direction(g.bounded(2));
        const QString q = newQuestion(f, d, g);
        const workbench::Answer a = workbench::solve(f, d, q);
        QVERIFY2(!a.refused, qPrintable(q + u' ' + a.text));
        const Verdict v = mark(f, d, q, a.text);
        QVERIFY2(v.right, qPrintable(q + u' ' + v.text));
        if (d == Direction::ToBinary) {
            QVERIFY2(f.isSigned() || !q.startsWith(u'-'), qPrintable(q));
            const workbench::HandAnswer h = workbench::handAnswer(f, q);
            const bool held = value(h.value) == value(q);
            QVERIFY2(held || !f.isInteger(), qPrintable(q));
            (held ? exactCount : cutCount) += 1;
        } else if (d == Direction::Normalise) {
            const QString m = bitsOnly(q).left(f.mantissa);
            QVERIFY2(m.contains(u'1') && m.at(0) == m.at(1), qPrintable(q));
        } else {
            QCOMPARE(bitsOnly(q).size(), f.totalBits());
        }
    }
    QVERIFY(cutCount > 5);
    QVERIFY(exactCount > 4 * cutCount);
}

// The codes' questions as exams set them: every one answered and its answer
// marked right; numbers to write of both signs where the code has them,
// BCD's of 2 to 4 digits.
void TestPractice::codeQuestionsAnswerRight()
{
    QRandomGenerator g(31);
    QSet<QString> signs;
    for (int i = 0; i < 900; ++i) {
        const int kind = g.bounded(3);
        const int n = g.bounded(kind < 2 ? 1 : 0, 65);
        const QString name = kind == 0 ? QStringLiteral("int-signmag:%1").arg(n)
            : kind == 1               ? QStringLiteral("int-ones:%1").arg(n)
            : n == 0                  ? QStringLiteral("bcd")
                                      : QStringLiteral("bcd:%1").arg(n);
        const Format f = named(qPrintable(name));
        const Direction d = Direction(g.bounded(2));
        const QString q = newQuestion(f, d, g);
        const workbench::Answer a = workbench::solve(f, d, q);
        QVERIFY2(!a.refused, qPrintable(name + u' ' + q + u' ' + a.text));
        const Verdict v = mark(f, d, q, a.text);
        QVERIFY2(v.right, qPrintable(name + u' ' + q + u' ' + v.text));
        if (d == Direction::ToDenary)
            continue;
        if (kind < 2 && n > 1)
            signs.insert(name.section(u':', 0, 0) + (q.startsWith(u'-') ? u'-' : u'+'));
        if (kind == 2)
            QVERIFY2(!q.startsWith(u'0') && q.size() <= 4 && q.size() >= std::min(2, n == 0 ? 2 : n), qPrintable(q));
    }
    QCOMPARE(signs.size(), 4);
}

// Near misses and usual mistakes: whatever the marking says must agree with
// comparing values, and a wrong answer's stated value must be its own.
void TestPractice::wrongAnswersAreReallyWrong()
{
    QRandomGenerator g(7);
    QSet<int> seen;
    for (int i = 0; i < 1500; ++i) {
        const Format f = randomFormat(g);
        const Direction d = f.isFloating() && g.bounded(3) == 0 ? Direction::Normalise
                                                                : Direction(g.bounded(2));
        const QString q = newQuestion(f, d, g);
        const QString right = workbench::solve(f, d, q).text;
        QString answer;
        if (d == Direction::ToDenary) {
            const exact::Number r = value(right);
            const QStringList tries{(-r).toDecimal(), (r + exact::Number::power2(-g.bounded(4))).toDecimal(),
                                    (r.times2(g.bounded(-2, 3))).toDecimal()};
            answer = tries[g.bounded(qsizetype(3))];
        } else {
            QString bits = bitsOnly(right);
            switch (g.bounded(3)) {
            case 0:
                bits[g.bounded(bits.size())] = bits.at(0) == u'1' ? u'0' : u'1';
                break;
            case 1:
                std::reverse(bits.begin(), bits.end());
                break;
            default:
                for (QChar &c : bits)
                    c = g.bounded(2) ? u'1' : u'0';
            }
            answer = bits;
        }
        const Verdict v = mark(f, d, q, answer);
        seen.insert(int(v.mistake));
        const bool same = d == Direction::ToDenary ? value(answer) == value(right) : bitsOnly(answer) == bitsOnly(right);
        QVERIFY2(v.right == same, qPrintable(q + u' ' + answer + u' ' + v.text));
        if (v.right || d == Direction::ToDenary)
            continue;
        const QString stands = printed(workbench::solve(f, Direction::ToDenary, answer).text);
        QVERIFY2(stands.size() > 60 || v.text.contains(stands), qPrintable(v.text + u' ' + stands));
    }
    QVERIFY2(seen.size() >= 8, "the near misses reach few of the diagnoses");
}

void TestPractice::sameSeedSameQuestions()
{
    const QList<Direction> all{Direction::ToBinary, Direction::ToDenary, Direction::Normalise};
    const auto texts = [&](quint32 seed) {
        QStringList out;
        for (const Question &q : sheetQuestions(floating(8, 4), all, 20, seed))
            out << q.text;
        return out;
    };
    const QStringList sheet = texts(99);
    QCOMPARE(texts(99), sheet);
    QVERIFY(texts(100) != sheet);
    QCOMPARE(QSet<QString>(sheet.begin(), sheet.end()).size(), 20);
}

void TestPractice::worksheetFromTheCommandLine_data()
{
    QTest::addColumn<QStringList>("options");  // besides --worksheet and --seed
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("directions");
    QTest::addColumn<int>("count");
    QTest::newRow("floating point, all three")
        << QStringList{"--format", "float:8:4", "--questions", "9", "--directions", "to-binary,to-denary,normalise"}
        << floating(8, 4) << "to-binary,to-denary,normalise" << 9;
    // Widths whose patterns group differently from the left and the right.
    QTest::newRow("fixed point") << QStringList{"--format", "fixed-signed:6.5", "--questions", "7", "--directions",
                                                "to-denary,to-binary"}
                                 << fixed(true, 6, 5) << "to-denary,to-binary" << 7;
    // No normalising by default but in floating point; a kind with one question.
    QTest::newRow("unsigned integers") << QStringList{"--format", "int:10", "--questions", "3"} << integer(false, 10)
                                       << "to-binary,to-denary" << 3;
    QTest::newRow("defaults") << QStringList() << floating(8, 4) << "to-binary,to-denary,normalise" << 20;
}

// The real program, with no display, writes a sheet (seed 4242): what it
// said, and the sheet's text as pdftotext reads it.
static bool writtenSheet(const QStringList &options, QString *said, QString *read)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(program, QStringList{QStringLiteral("--worksheet"), pdf, QStringLiteral("--seed"), QStringLiteral("4242")}
                         + options);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("%s", p.readAllStandardError().constData());
        return false;
    }
    *said = QString::fromUtf8(p.readAllStandardOutput()).replace(pdf, QStringLiteral("sheet.pdf"));
    QProcess text;
    // As the page lays them out: the labels under a question's answer boxes
    // stay with it.
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(60000) || text.exitCode() != 0) {
        qWarning("pdftotext (Debian package poppler-utils) is needed");
        return false;
    }
    *read = QString::fromUtf8(text.readAllStandardOutput());
    return true;
}

// Its text holds every question and, after the answers' heading, every
// answer.
void TestPractice::worksheetFromTheCommandLine()
{
    QFETCH(QStringList, options);
    QFETCH(Format, format);
    QFETCH(QString, directions);
    QFETCH(int, count);
    QString said, read;
    QVERIFY(writtenSheet(options, &said, &read));
    QUORVEX_COMPARE_APPROVED(QStringLiteral("worksheet"), approved::fileName(QString::fromLatin1(QTest::currentDataTag())),
                             said + u'\n' + sheetLines(squeezed(QString(read).remove(pageNumber)), format.isFloating()));
    const QString all = squeezed(read);
    const qsizetype key = all.indexOf(QStringLiteral("Answers"));
    QVERIFY(key > 0);
    QVERIFY(all.contains(formatTitle(format)));
    QList<Direction> list;
    for (const QString &d : directions.split(u','))
        list << (d == u"to-binary" ? Direction::ToBinary : d == u"to-denary" ? Direction::ToDenary : Direction::Normalise);
    const std::vector<Question> questions = sheetQuestions(format, list, count, 4242);
    QCOMPARE(questions.size(), size_t(count));
    for (const Question &q : questions) {
        QVERIFY2(all.left(key).contains(printed(q.text)), qPrintable(q.text));
        const QString answer = printed(workbench::solve(format, q.direction, q.text).text);
        QVERIFY2(all.indexOf(answer, key) > key, qPrintable(answer));
    }
}

void TestPractice::commandLineRefuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("exitCode");  // 2: a bad option; 1: the file cannot be written
    const QString file = QStringLiteral("OUT");
    QTest::newRow("mantissa too wide") << QStringList{"--worksheet", file, "--format", "float:99:4"} << "mantissa" << 2;
    QTest::newRow("no such format") << QStringList{"--worksheet", file, "--format", "decimal:3"} << "format" << 2;
    QTest::newRow("no questions") << QStringList{"--worksheet", file, "--questions", "0"} << "questions" << 2;
    QTest::newRow("one question too many") << QStringList{"--worksheet", file, "--questions", "501"} << "'501'" << 2;
    QTest::newRow("no such direction") << QStringList{"--worksheet", file, "--directions", "sideways"} << "sideways"
                                       << 2;
    QTest::newRow("normalising integers") << QStringList{"--worksheet", file, "--format", "int:8", "--directions",
                                                         "normalise"}
                                          << "floating" << 2;
    QTest::newRow("bad seed") << QStringList{"--worksheet", file, "--seed", "-3"} << "seed" << 2;
    QTest::newRow("unknown option") << QStringList{"--worksheet", file, "--colour"} << "colour" << 2;
    QTest::newRow("format without sheet") << QStringList{"--format", "int:8"} << "--worksheet" << 2;
    QTest::newRow("no such folder") << QStringList{"--worksheet", "missing/OUT"} << "missing" << 1;
    QTest::newRow("a folder") << QStringList{"--worksheet", "."} << "." << 1;
}

// A bad option exits 2, a file that cannot be written 1: either way one
// line saying why, and nothing left in the folder.
void TestPractice::commandLineRefuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(program, arguments);
    QVERIFY(p.waitForFinished(60000));
    const QString error = QString::fromUtf8(p.readAllStandardError()).trimmed();
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QVERIFY2(p.exitCode() == exitCode, qPrintable(QStringLiteral("exit %1: %2").arg(p.exitCode()).arg(error)));
    QVERIFY2(error.contains(reason) && !error.contains(u'\n'), qPrintable(error));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

// The most questions --questions allows make a sheet with every one of
// them and its answer.
void TestPractice::commandLineWritesTheMostQuestions()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    QProcess p;
    p.start(program, {QStringLiteral("--worksheet"), pdf, QStringLiteral("--format"), QStringLiteral("int:8"),
                      QStringLiteral("--questions"), QStringLiteral("500"), QStringLiteral("--seed"),
                      QStringLiteral("7")});
    QVERIFY(p.waitForFinished(120000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    QVERIFY(p.readAllStandardOutput().contains(": 500 questions, seed 7"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    QVERIFY2(text.waitForFinished(60000), "pdftotext (Debian package poppler-utils) is needed");
    QCOMPARE(text.exitCode(), 0);
    const QString all = QString::fromUtf8(text.readAllStandardOutput());
    // Each question has a line for its answer, and each answer its heading.
    QCOMPARE(all.count(QRegularExpression(QStringLiteral("Answer( \\(denary\\))?:"))), 2 * 500);
    QVERIFY(all.contains(QStringLiteral("500.")));
    QVERIFY(!all.contains(QStringLiteral("501.")));
}

// Each kind of question said as exam papers say it, with its format.
void TestPractice::questionsInWords_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("said");
    QTest::newRow("to binary") << "int:8" << Direction::ToBinary << "242" << "Write 242 as an 8-bit unsigned integer.";
    QTest::newRow("to denary, float")
        << "float:8:4" << Direction::ToDenary << "1011 1110 0100"
        << "Give the denary value of 1011 1110 0100, a normalised floating-point number with an 8-bit mantissa and "
           "a 4-bit exponent, both in two's complement.";
    QTest::newRow("normalise") << "float:8:4" << Direction::Normalise << "0001 1000 0101"
                               << "Normalise the floating-point number 0001 1000 0101, with an 8-bit mantissa and a "
                                  "4-bit exponent, both in two's complement.";
    QTest::newRow("to hex") << "int-signed:16" << Direction::ToHex << "-100"
                            << "Write -100 in hexadecimal, as a 16-bit two's complement integer.";
    QTest::newRow("fixed") << "fixed:4.4" << Direction::ToBinary << "12.75"
                           << "Write 12.75 as an unsigned fixed-point pattern with 4 bits before the point and 4 "
                              "after.";
}

void TestPractice::questionsInWords()
{
    QFETCH(QString, format);
    QFETCH(Direction, direction);
    QFETCH(QString, question);
    QFETCH(QString, said);
    QCOMPARE(questionText(named(qPrintable(format)), direction, question), said);
}

// The hints are the working's own steps, one a press, and stop at the step
// before the answer.
void TestPractice::hintsAreTheWorkingUpToTheAnswer()
{
    const struct {
        const char *format;
        Direction direction;
        QStringList operands;
    } questions[] = {{"float:8:4", Direction::ToBinary, {"-8.25"}},
                     {"int:8", Direction::ToDenary, {"11110010"}},
                     {"int-signed:8", Direction::Subtract, {"45", "67"}}};
    for (const auto &q : questions) {
        const Format f = named(q.format);
        const workbench::Calculation c{q.operands, 0, {}, {}};
        const QStringList h = hints(f, q.direction, c);
        const workbench::Answer whole = workbench::isCalculation(q.direction)
            ? workbench::solve(f, q.direction, c)
            : workbench::solve(f, q.direction, q.operands.value(0));
        QVERIFY(!h.isEmpty());
        QVERIFY2(whole.workingHtml.startsWith(h.join(QString())), q.format);
        // What is left after the hints is the last step: the answer.
        const QString last = whole.workingHtml.mid(h.join(QString()).size());
        QVERIFY2(last.contains(q.direction == Direction::Subtract ? QStringLiteral("No overflow") : whole.text.left(4)),
                 qPrintable(last));
        QVERIFY2(!h.join(QString()).contains(QStringLiteral("No overflow")), q.format);
    }
    QVERIFY(hints(named("int:8"), Direction::ToBinary, workbench::Calculation{{"300"}, 0, {}, {}}).isEmpty());
}

void TestPractice::hintedAnswersCountedApart()
{
    Tally t;
    const Verdict right{true, Mistake::None, QString(), QString()}, wrong{false, Mistake::Other, QString(), QString()};
    t.add(right);
    t.add(right, true);
    t.add(wrong, true);
    QCOMPARE(t.text(), QStringLiteral("2 of 3 right (1 of them with a hint)"));
    t.add(right, true);
    QCOMPARE(t.text(), QStringLiteral("3 of 4 right (2 of them with a hint)"));
}

// Each level's questions over many seeds: each is said in words, has an
// answer, and that answer is marked right; a to-binary number is as short
// as exams print them (at most 6 significant digits).
void TestPractice::everyLevelsQuestionsAreSaidAndMarkedRight()
{
    for (Level level : allLevels()) {
        const std::vector<Kind> kinds = levelKinds(level);
        QVERIFY2(kinds.size() >= 3, qPrintable(levelName(level)));
        QCOMPARE(levelNamed(levelName(level)), level);
        QRandomGenerator g(7);
        for (int i = 0; i < 300; ++i) {
            const Kind &k = kinds.at(std::size_t(i) % kinds.size());
            const Asked a = newQuestionOf(k, g);
            const QString why = workbench::formatName(k.format) + u' ' + workbench::operationName(k.operation) + u' '
                + a.question.operands.join(u' ');
            QVERIFY2(!a.text.isEmpty() && a.text.endsWith(u'.'), qPrintable(why));
            const bool calculated = workbench::isCalculation(k.operation);
            const workbench::Worked w = calculated ? workbench::work(k.format, k.operation, a.question)
                                                   : workbench::work(k.format, k.operation, a.question.operands.value(0));
            QVERIFY2(!w.refused, qPrintable(why));
            const Verdict v = calculated ? markCalculation(k.format, k.operation, a.question, w.text)
                                         : mark(k.format, k.operation, a.question.operands.value(0), w.text);
            QVERIFY2(v.right, qPrintable(why + u' ' + v.text));
            if (k.operation == Direction::ToBinary) {
                QString digits = a.question.operands.value(0);
                digits.remove(u'-').remove(u'.');
                while (digits.startsWith(u'0'))
                    digits.remove(0, 1);
                while (digits.endsWith(u'0'))
                    digits.chop(1);
                QVERIFY2(digits.size() <= 6, qPrintable(why));
            }
        }
    }
}

void TestPractice::fewQuestionsAreAboutACut_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("mostPercent");  // of the numbers the format cannot hold exactly
    QTest::addColumn<int>("smallest");     // size of the smallest number asked
    QTest::newRow("int:8") << "int:8" << 0 << 8;
    QTest::newRow("int-signed:16") << "int-signed:16" << 0 << 128;
    QTest::newRow("int-signmag:8") << "int-signmag:8" << 0 << 8;
    QTest::newRow("int-ones:8") << "int-ones:8" << 0 << 8;
    QTest::newRow("bcd:3") << "bcd:3" << 0 << 0;
    for (const char *name : {"fixed:4.4", "fixed-signed:6.6", "float:8:4", "float:10:6", "float:16:8"})
        QTest::newRow(name) << name << 30 << 0;
}

// A number to write in bits is one the format holds exactly (written in
// binary it takes no more bits than the format has), but for the few that
// are about the cut, and never for a whole-number format; a whole number
// is not so small that its bits are mostly 0s.
void TestPractice::fewQuestionsAreAboutACut()
{
    QFETCH(QString, format);
    QFETCH(int, mostPercent);
    QFETCH(int, smallest);
    const Format f = *workbench::parseFormat(format, nullptr);
    QRandomGenerator g(11);
    const int asked = 300;
    int cut = 0;
    for (int i = 0; i < asked; ++i) {
        const QString number = newQuestion(f, Direction::ToBinary, g);
        QVERIFY2(exact::Number::fromDecimal(number).abs() >= exact::Number(smallest), qPrintable(number));
        const workbench::Worked bits = workbench::work(f, Direction::ToBinary, number);
        QVERIFY2(!bits.refused, qPrintable(number));
        const workbench::Worked back = workbench::work(f, Direction::ToDenary, bits.text);
        cut += exact::Number::fromDecimal(back.text) == exact::Number::fromDecimal(number) ? 0 : 1;
    }
    QVERIFY2(cut * 100 <= mostPercent * asked, qPrintable(QString::number(cut)));
    // One in six, about, where the format cuts at all.
    QVERIFY2(mostPercent == 0 || cut * 100 >= 5 * asked, qPrintable(QString::number(cut)));
}

// A sheet of a level's mixed questions, each said in words, and its key.
void TestPractice::mixedWorksheet()
{
    QString said, read;
    QVERIFY(writtenSheet({"--level", "a-level", "--questions", "16"}, &said, &read));
    const QString all = squeezed(read);
    // The question pages whole. The key's tables are laid out in the
    // fonts the machine has, so pdftotext's columns are not the same
    // everywhere: each answer is looked for in it instead.
    QStringList lines;
    for (const QString &line : read.split(u'\n')) {
        if (squeezed(line) == QStringLiteral("Answers"))
            break;
        if (!squeezed(line).isEmpty())
            lines << squeezed(line);
    }
    QUORVEX_COMPARE_APPROVED(QStringLiteral("worksheet"), QStringLiteral("mixed-a-level"), said + u'\n' + lines.join(u'\n'));
    const qsizetype key = all.indexOf(QStringLiteral(" Answers "));
    QVERIFY(key > 0);
    const std::vector<Kind> kinds = levelKinds(Level::ALevel);
    QRandomGenerator rng(4242);
    for (int i = 0; i < 16; ++i) {
        const Asked a = newQuestionOf(kinds.at(std::size_t(i) % kinds.size()), rng);
        // Wrapped lines are joined again by squeezed(); the sentence's start
        // is enough to find it.
        QVERIFY2(all.left(key).contains(printed(a.text).left(30)), qPrintable(a.text));
        const workbench::Answer right = workbench::solve(a.kind.format, a.kind.operation, a.question);
        QVERIFY2(all.indexOf(printed(right.text), key) > key, qPrintable(right.text));
    }
}

void TestPractice::mixedSheets_data()
{
    QTest::addColumn<QStringList>("options");  // besides --worksheet and --seed 4242
    QTest::addColumn<QStringList>("mixed");    // the levels, or the formats asked to binary, to denary and add
    QTest::newRow("formats and a calculation")
        << QStringList{"--format", "int:8", "--format", "float:8:4,fixed-signed:4.4", "--directions",
                       "to-binary,to-denary,add", "--questions", "6"}
        << QStringList{"int:8", "float:8:4", "fixed-signed:4.4"};
    QTest::newRow("two levels") << QStringList{"--level", "gcse,a-level", "--questions", "6"}
                                << QStringList{"gcse", "a-level"};
}

// A mixed sheet from the real program: its questions in words, the
// formats (or levels) in turn, each with its answer in the key.
void TestPractice::mixedSheets()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, mixed);
    std::vector<std::vector<Kind>> groups;
    for (const QString &name : mixed) {
        const std::optional<Level> level = levelNamed(name);
        groups.push_back(level ? levelKinds(*level) : std::vector<Kind>());
        for (Direction d : {Direction::ToBinary, Direction::ToDenary, Direction::Add}) {
            if (!level && onSheets(named(qPrintable(name)), d))
                groups.back().push_back({named(qPrintable(name)), d});
        }
    }
    QString said, read;
    QVERIFY(writtenSheet(options, &said, &read));
    const QString all = squeezed(read);
    const qsizetype key = all.indexOf(QStringLiteral(" Answers "));
    QVERIFY(key > 0);
    QVERIFY2(all.startsWith(QStringLiteral("Mixed questions: ")), qPrintable(all.left(100)));
    const std::vector<Asked> asked = mixedQuestions(groups, 6, 4242);
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (!levelNamed(mixed.constFirst()))  // the formats in turn
            QCOMPARE(workbench::formatName(asked[i].kind.format), mixed.at(qsizetype(i) % mixed.size()));
        QVERIFY2(all.left(key).contains(QStringLiteral("%1. ").arg(i + 1) + printed(asked[i].text).left(30)),
                 qPrintable(asked[i].text));
        const workbench::Answer a = workbench::solve(asked[i].kind.format, asked[i].kind.operation, asked[i].question);
        QVERIFY2(all.indexOf(printed(a.text), key) > key, qPrintable(a.text));
    }
}

// A small mixed sheet's questions with their room to work and answer
// boxes, approved whole.
void TestPractice::answerBoxes()
{
    const WorksheetOptions o{
        .formats = {named("int-signed:8"), named("float:8:4"), named("fixed-signed:4.4"), named("ieee:half"),
                    named("bcd"), named("int-signmag:8")},
        .questions = 12, .directions = {Direction::Multiply, Direction::ToBinary, Direction::Add, Direction::ToDenary},
        .seed = 11,
        .levels = {}};
    QTextDocument document;
    document.setHtml(worksheetHtml(o, false));
    QUORVEX_COMPARE_APPROVED(QStringLiteral("worksheet"), QStringLiteral("answer-boxes"),
                             sheetText(document.rootFrame()->begin()).join(u'\n') + u'\n');
}

void TestPractice::wideAnswerBoxes_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("float:64:12") << "float:64:12" << QStringList{"Mantissa", "Exponent"};
    QTest::newRow("ieee:quad") << "ieee:quad" << QStringList{"Sign", "Exponent", "Fraction"};
    QTest::newRow("fixed-signed:32.32") << "fixed-signed:32.32" << QStringList{"."};
    QTest::newRow("int:64") << "int:64" << QStringList();
    QTest::newRow("bcd:64") << "bcd:64" << QStringList();
}

// The boxes of a wide format wrap within the width of the page's text (642
// of the 1/96 inch an A4 page has between its margins), and the real
// program's sheet has their labels.
void TestPractice::wideAnswerBoxes()
{
    QFETCH(QString, format);
    QFETCH(QStringList, labels);
    const WorksheetOptions o{
        .formats = {named(qPrintable(format))}, .questions = 2, .directions = {Direction::ToBinary}, .seed = 0, .levels = {}};
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setTextWidth(642);
    document.setHtml(worksheetHtml(o, false));
    QVERIFY2(document.idealWidth() <= 642, qPrintable(QString::number(document.idealWidth())));
    QString said, read;
    QVERIFY(writtenSheet({"--format", format, "--directions", "to-binary", "--questions", "2"}, &said, &read));
    const QString sheet = squeezed(read.left(read.indexOf(QStringLiteral("Answers"))));
    QCOMPARE(sheet.count(QStringLiteral("Answer: ") + labels.join(u' ')), 2);
}

// A sheet of 20 questions in floating point 8/4 fills its pages: each
// question is kept whole with its answer space, and the sheet takes 4
// pages, the key 8 more.
void TestPractice::pagesHoldWhatTheyCan()
{
    QString said, read;
    QVERIFY(writtenSheet({"--questions", "20"}, &said, &read));
    QStringList pages = read.split(u'\f');
    pages.removeLast();  // after the last page's form feed
    const auto key = std::find_if(pages.begin(), pages.end(), [](const QString &p) { return p.startsWith("Answers"); });
    QCOMPARE(key - pages.begin(), 4);
    QCOMPARE(pages.size(), 12);
    static const QRegularExpression question(QStringLiteral("^\\d+\\. "), QRegularExpression::MultilineOption),
        answer(QStringLiteral("^Answer"), QRegularExpression::MultilineOption);
    for (auto page = pages.begin(); page != key; ++page)
        QCOMPARE(page->count(question), page->count(answer));
}

QTEST_MAIN(TestPractice)
#include "tst_practice.moc"
