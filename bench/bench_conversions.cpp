// SPDX-License-Identifier: MIT
// Nanoseconds per call for the bit-string routines and each window's whole
// conversion, beside references that write the same bits with plain integer
// arithmetic; prints the ratio of each to its reference at the end. Also:
// each worked example converted with its working rendered as text, and a
// million-character bit string converted and shown in a working pane; a
// student's answer marked, and a worksheet written to PDF.
#include "conversions/binint.h"
#include "conversions/decint.h"
#include "conversions/fixed.h"
#include "conversions/floating.h"
#include "topics/registry.h"
#include "topics/workbench.h"
#include "practice/practice.h"
#include "windows/worksheet.h"
#include "app/commandline.h"
#include "core/modFunctions.h"
#include "windows/workingpane.h"
#include "windows/bitfield.h"
#include "windows/frmworkbench.h"
#include "topics/registry.h"
#include "conversions/workingtext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

using namespace quorvex;

namespace {

// `value` as `width` bits, zero-filled, through std::to_chars.
QString referenceBits(unsigned value, int width)
{
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, 2).ptr;
    const auto digits = int(end - buffer);
    QString result(width - digits, u'0');
    result += QLatin1StringView(buffer, digits);
    return result;
}

unsigned referenceValue(const QString &bits)
{
    const QByteArray latin = bits.toLatin1();
    unsigned value = 0;
    std::from_chars(latin.data(), latin.data() + latin.size(), value, 2);
    return value;
}

void DecimalToBinary(benchmark::State &state)
{
    const qint32 value = 200;
    const qint16 width = 10;
    for (auto _ : state)
        benchmark::DoNotOptimize(modFunctions::DecimalToBinary(value, width));
}
void Reference_DecimalToBinary(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(referenceBits(200, 10));
}

void TwosComplement(benchmark::State &state)
{
    const QString bits = QStringLiteral("0000000011001000");
    for (auto _ : state)
        benchmark::DoNotOptimize(modFunctions::TwosComplement(bits));
}
void Reference_TwosComplement(benchmark::State &state)
{
    const QString bits = QStringLiteral("0000000011001000");
    for (auto _ : state)
        benchmark::DoNotOptimize(referenceBits((0x10000u - referenceValue(bits)) & 0xFFFFu, 16));
}

void FractionToBinary(benchmark::State &state)
{
    const qint16 width = 10;
    for (auto _ : state) {
        float fraction = 0.3f;
        benchmark::DoNotOptimize(modFunctions::FractionToBinary(fraction, width));
    }
}
void Reference_FractionToBinary(benchmark::State &state)
{
    for (auto _ : state) {
        const float fraction = 0.3f;
        benchmark::DoNotOptimize(referenceBits(unsigned(std::ldexp(fraction, 10)), 10));
    }
}

void BinaryToDecimal(benchmark::State &state)
{
    const QString bits = QStringLiteral("1100100011");
    for (auto _ : state) {
        QString copy = bits;
        benchmark::DoNotOptimize(modFunctions::BinaryToDecimal(copy));
    }
}
void Reference_BinaryToDecimal(benchmark::State &state)
{
    const QString bits = QStringLiteral("1100100011");
    for (auto _ : state)
        benchmark::DoNotOptimize(referenceValue(bits));
}

void Window_BinaryIntegers(benchmark::State &state)
{
    const QString input = QStringLiteral("65535");
    for (auto _ : state)
        benchmark::DoNotOptimize(convertBinInt(input, 16));
}
void Window_FixedPoint(benchmark::State &state)
{
    const QString input = QStringLiteral("1022.999");
    for (auto _ : state)
        benchmark::DoNotOptimize(convertFixed(input));
}
void Window_FloatingPoint(benchmark::State &state)
{
    const QString input = QStringLiteral("-12.625");
    for (auto _ : state)
        benchmark::DoNotOptimize(convertFloating(input));
}
void Window_BinaryToDecimal(benchmark::State &state)
{
    const QString input = QStringLiteral("1101");
    for (auto _ : state)
        benchmark::DoNotOptimize(convertDecInt(input));
}
// Texts of a million characters: a bit string with its one "1" at the end,
// and a number whose exponent at the very end brings it back to 0.5.
void Million_BinaryToDecimal(benchmark::State &state)
{
    const QString input = QString(999'999, u'0') + u'1';
    for (auto _ : state)
        benchmark::DoNotOptimize(convertDecInt(input));
}
void Million_FloatingPoint(benchmark::State &state)
{
    const QString input = "0." + QString(999'990, u'0') + "5e999990";
    for (auto _ : state)
        benchmark::DoNotOptimize(convertFloating(input));
}

// A conversion with its working, rendered to text.
template <typename Convert>
void withWorking(benchmark::State &state, Convert convert)
{
    for (auto _ : state) {
        const Conversion c = convert();
        benchmark::DoNotOptimize(workingHtml(c.working));
    }
}
void Working_BinaryIntegers_200_16(benchmark::State &state)
{
    const QString input = QStringLiteral("200");
    withWorking(state, [&] { return convertBinInt(input, 16); });
}
void Working_BinaryIntegers_200_8(benchmark::State &state)
{
    const QString input = QStringLiteral("200");
    withWorking(state, [&] { return convertBinInt(input, 8); });
}
void Working_BinaryIntegers_300_8_refused(benchmark::State &state)
{
    const QString input = QStringLiteral("300");
    withWorking(state, [&] { return convertBinInt(input, 8); });
}
void Working_BinaryToDecimal_1101(benchmark::State &state)
{
    const QString input = QStringLiteral("1101");
    withWorking(state, [&] { return convertDecInt(input); });
}
void Working_FixedPoint_1022_999(benchmark::State &state)
{
    const QString input = QStringLiteral("1022.999");
    withWorking(state, [&] { return convertFixed(input); });
}
void Working_FixedPoint_0_1(benchmark::State &state)
{
    const QString input = QStringLiteral("0.1");
    withWorking(state, [&] { return convertFixed(input); });
}
void Working_FloatingPoint_minus_12_625(benchmark::State &state)
{
    const QString input = QStringLiteral("-12.625");
    withWorking(state, [&] { return convertFloating(input); });
}
void Working_FloatingPoint_0_1(benchmark::State &state)
{
    const QString input = QStringLiteral("0.1");
    withWorking(state, [&] { return convertFloating(input); });
}
void Working_FloatingPoint_minus_1(benchmark::State &state)
{
    const QString input = QStringLiteral("-1");
    withWorking(state, [&] { return convertFloating(input); });
}

// A million-character bit string converted, its working shown in a pane
// and painted.
void Million_BinaryToDecimal_InPane(benchmark::State &state)
{
    QWidget window;
    window.setFixedSize(389, 87);
    WorkingPane pane(&window);
    pane.findChild<QAbstractButton *>(QStringLiteral("chkShowWorking"))->setChecked(true);
    window.show();
    QString input = QString(999'980, u'0');
    for (int k = 0; k < 20; ++k)
        input += u'1';
    for (auto _ : state) {
        pane.showConversion(input, convertDecInt(input));
        window.repaint();
    }
}

BENCHMARK(DecimalToBinary);
BENCHMARK(Reference_DecimalToBinary);
BENCHMARK(TwosComplement);
BENCHMARK(Reference_TwosComplement);
BENCHMARK(FractionToBinary);
BENCHMARK(Reference_FractionToBinary);
BENCHMARK(BinaryToDecimal);
BENCHMARK(Reference_BinaryToDecimal);
BENCHMARK(Window_BinaryIntegers);
BENCHMARK(Window_FixedPoint);
BENCHMARK(Window_FloatingPoint);
BENCHMARK(Window_BinaryToDecimal);
BENCHMARK(Million_BinaryToDecimal)->Unit(benchmark::kMillisecond);
BENCHMARK(Million_FloatingPoint)->Unit(benchmark::kMillisecond);
BENCHMARK(Working_BinaryIntegers_200_16)->Unit(benchmark::kMicrosecond);
BENCHMARK(Working_BinaryIntegers_200_8)->Unit(benchmark::kMicrosecond);
BENCHMARK(Working_BinaryIntegers_300_8_refused)->Unit(benchmark::kMicrosecond);
BENCHMARK(Working_BinaryToDecimal_1101)->Unit(benchmark::kMicrosecond);
BENCHMARK(Working_FixedPoint_1022_999)->Unit(benchmark::kMicrosecond);
BENCHMARK(Working_FixedPoint_0_1)->Unit(benchmark::kMicrosecond);
BENCHMARK(Working_FloatingPoint_minus_12_625)->Unit(benchmark::kMicrosecond);
BENCHMARK(Working_FloatingPoint_0_1)->Unit(benchmark::kMicrosecond);
BENCHMARK(Working_FloatingPoint_minus_1)->Unit(benchmark::kMicrosecond);
BENCHMARK(Million_BinaryToDecimal_InPane)->Unit(benchmark::kMillisecond);

// The workbench: each worked example answered with its working written,
// the widest floating-point format's range, and a 100,000-digit decimal.
namespace wb = quorvex::workbench;
using quorvex::Format;
using quorvex::Representation;
Format benchFloating(int mantissa, int exponent)
{
    return {.representation = Representation::Floating, .mantissa = mantissa, .exponent = exponent};
}
void Workbench(benchmark::State &state, Format format, wb::Direction direction, const char *input)
{
    const QString text = QString::fromUtf8(input);
    for (auto _ : state)
        benchmark::DoNotOptimize(wb::solve(format, direction, text));
}
const Format twos8{.representation = Representation::TwosInteger, .bits = 8};
const Format unsigned8{.representation = Representation::UnsignedInteger, .bits = 8};
const Format fixed44{.representation = Representation::TwosFixed, .whole = 4, .fraction = 4};
// A mantissa of a sign bit and a magnitude, as Scottish papers write it.
const Format signMagnitude168{.representation = Representation::SignMagnitudeFloating, .mantissa = 16, .exponent = 8};
BENCHMARK_CAPTURE(Workbench, fsm168_binary, signMagnitude168, wb::Direction::ToBinary, "124.28125")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f168_binary, benchFloating(16, 8), wb::Direction::ToBinary, "124.28125")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, fsm168_denary, signMagnitude168, wb::Direction::ToDenary, "0111110001001000 00000111")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, fsm168_binary_neg, signMagnitude168, wb::Direction::ToBinary, "-124.28125")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f84_denary_neg, benchFloating(8, 4), wb::Direction::ToDenary, "10111110 0100")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f84_denary, benchFloating(8, 4), wb::Direction::ToDenary, "01100110 0100")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f84_binary, benchFloating(8, 4), wb::Direction::ToBinary, "12.75")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f84_binary_neg, benchFloating(8, 4), wb::Direction::ToBinary, "-8.25")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f124_binary_neg, benchFloating(12, 4), wb::Direction::ToBinary, "-76.1875")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f106_denary_3_75, benchFloating(10, 6), wb::Direction::ToDenary, "0111100000 000010")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f106_denary_neg11, benchFloating(10, 6), wb::Direction::ToDenary, "1010100000 000100")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f106_denary_small, benchFloating(10, 6), wb::Direction::ToDenary, "0111100000 111101")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f106_binary_0_1, benchFloating(10, 6), wb::Direction::ToBinary, "0.1")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f106_binary_0_000001, benchFloating(10, 6), wb::Direction::ToBinary, "0.000001")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f106_binary_neg1, benchFloating(10, 6), wb::Direction::ToBinary, "-1")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f106_binary_0, benchFloating(10, 6), wb::Direction::ToBinary, "0")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f106_normalise, benchFloating(10, 6), wb::Direction::Normalise, "0001100000 000101")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, fixed44_binary, fixed44, wb::Direction::ToBinary, "-3.25")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, fixed44_denary, fixed44, wb::Direction::ToDenary, "0110.1010")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, unsigned8_200, unsigned8, wb::Direction::ToBinary, "200")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, twos8_neg67, twos8, wb::Direction::ToBinary, "-67")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, twos8_denary, twos8, wb::Direction::ToDenary, "10111101")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, twos8_neg200_refused, twos8, wb::Direction::ToBinary, "-200")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f84_range, benchFloating(8, 4), wb::Direction::Range, "")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, f6412_range, benchFloating(64, 12), wb::Direction::Range, "")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Workbench, f6412_largest, benchFloating(64, 12), wb::Direction::ToDenary,
                  "0111111111111111111111111111111111111111111111111111111111111111 011111111111")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Workbench, f6412_smallest, benchFloating(64, 12), wb::Direction::ToDenary,
                  "0100000000000000000000000000000000000000000000000000000000000000 100000000000")
    ->Unit(benchmark::kMillisecond);
// 100,000 digits after the point, to the widest floating point and fixed point.
QString hundredThousandDigits()
{
    QString digits = QStringLiteral("0.");
    for (int k = 0; k < 100'000; ++k)
        digits += QChar(u'1' + k % 9);
    return digits;
}
void Workbench_100000_digits(benchmark::State &state, Format format)
{
    const QString text = hundredThousandDigits();
    for (auto _ : state)
        benchmark::DoNotOptimize(wb::solve(format, wb::Direction::ToBinary, text));
}
// Hexadecimal: the worked examples with their working (goal: under 50 µs
// each), and a 10,000-digit hex input (goal: under 10 ms).
const Format unsigned16{.representation = Representation::UnsignedInteger, .bits = 16};
const Format twos16{.representation = Representation::TwosInteger, .bits = 16};
BENCHMARK_CAPTURE(Workbench, hex_2F9C_denary, unsigned16, wb::Direction::ToDenary, "2F9C")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, hex_12188, unsigned16, wb::Direction::ToHex, "12188")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, hex_E7A, benchFloating(8, 4), wb::Direction::ToHex, "1110 0111 1010")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, hex_FF9C, twos16, wb::Direction::ToDenary, "FF9C")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, hex_minus100, twos16, wb::Direction::ToHex, "-100")->Unit(benchmark::kMicrosecond);
void Workbench_hex_10000_digits(benchmark::State &state)
{
    const QString text = QStringLiteral("0x") + QString(10000, u'F');
    for (auto _ : state)
        benchmark::DoNotOptimize(wb::solve(Format{.representation = Representation::UnsignedInteger, .bits = 64},
                                           wb::Direction::ToDenary, text));
}
BENCHMARK(Workbench_hex_10000_digits)->Unit(benchmark::kMillisecond);

// The other integer codes' worked examples with their working (goal: under
// 50 µs each), and a 10,000-digit number in BCD (goal: under 10 ms).
const Format signMagnitude8{.representation = {"int-signmag"}, .bits = 8};
const Format onesComplement8{.representation = {"int-ones"}, .bits = 8};
const Format bcd{.representation = {"bcd"}, .digits = 0};
BENCHMARK_CAPTURE(Workbench, signmag_minus37, signMagnitude8, wb::Direction::ToBinary, "-37")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, signmag_negative_zero, signMagnitude8, wb::Direction::ToDenary, "10000000")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ones_minus37, onesComplement8, wb::Direction::ToBinary, "-37")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ones_negative_zero, onesComplement8, wb::Direction::ToDenary, "11111111")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, bcd_2024, bcd, wb::Direction::ToBinary, "2024")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, bcd_593, bcd, wb::Direction::ToDenary, "0101 1001 0011")->Unit(benchmark::kMicrosecond);
void Workbench_bcd_10000_digits(benchmark::State &state, wb::Direction direction)
{
    QString digits;
    for (int i = 0; i < 10000; ++i)
        digits += QChar(u'1' + i % 9);
    QString nibbles;
    for (QChar d : digits)
        nibbles += QString::number(d.digitValue(), 2).rightJustified(4, u'0');
    const QString text = direction == wb::Direction::ToBinary ? digits : nibbles;
    for (auto _ : state)
        benchmark::DoNotOptimize(wb::solve(bcd, direction, text));
}
BENCHMARK_CAPTURE(Workbench_bcd_10000_digits, to_binary, wb::Direction::ToBinary)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Workbench_bcd_10000_digits, to_denary, wb::Direction::ToDenary)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Workbench_100000_digits, f6412, benchFloating(64, 12))->Unit(benchmark::kMillisecond);
// IEEE 754: the worked examples with their working (goal: under 50 µs
// each), a double's smallest subnormal to its 751 digits (goal: under
// 1 ms), and a 100,000-digit decimal to quadruple precision (goal: under
// 100 ms).
Format benchIeee(const char *name)
{
    QString why;
    return *wb::parseFormat(QString::fromLatin1(name), &why);
}
BENCHMARK_CAPTURE(Workbench, ieee_single_0_1, benchIeee("ieee:single"), wb::Direction::ToBinary, "0.1")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_double_0_1, benchIeee("ieee:double"), wb::Direction::ToBinary, "0.1")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_half_minus_2_5, benchIeee("ieee:half"), wb::Direction::ToBinary, "-2.5")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_half_65520, benchIeee("ieee:half"), wb::Direction::ToBinary, "65520")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_half_65519, benchIeee("ieee:half"), wb::Direction::ToBinary, "65519")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_half_2_675, benchIeee("ieee:half"), wb::Direction::ToBinary, "2.675")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_half_smallest, benchIeee("ieee:half"), wb::Direction::ToDenary, "0 00000 0000000001")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_bfloat16_third, benchIeee("ieee:bfloat16"), wb::Direction::ToBinary,
                  "0.333333333333333333333")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_e5m2_largest, benchIeee("ieee:e5m2"), wb::Direction::ToDenary, "0 11110 11")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_single_C1200000, benchIeee("ieee:single"), wb::Direction::ToDenary, "0xC1200000")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Workbench, ieee_double_smallest_subnormal, benchIeee("ieee:double"), wb::Direction::ToDenary,
                  "0x0000000000000001")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Workbench_100000_digits, ieee_quad, benchIeee("ieee:quad"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Workbench_100000_digits, fixed3232,
                  Format{.representation = Representation::TwosFixed, .whole = 32, .fraction = 32})
    ->Unit(benchmark::kMillisecond);

// Arithmetic by hand: the worked examples with their working (goal: under
// 50 µs each), and a 64-bit multiplication with its partial products
// (goal: under 200 µs).
void Calculate(benchmark::State &state, Format format, wb::Operation operation, QStringList operands, int places)
{
    const wb::Calculation c{std::move(operands), places, std::nullopt, std::nullopt};
    for (auto _ : state)
        benchmark::DoNotOptimize(wb::solve(format, operation, c));
}
BENCHMARK_CAPTURE(Calculate, add_unsigned_overflow, unsigned8, wb::Operation::Add, {"10110110", "01101101"}, 0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, add_twos_overflow, twos8, wb::Operation::Add, {"01011010", "01000111"}, 0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, add_twos_carry_dropped, twos8, wb::Operation::Add, {"11101100", "11110101"}, 0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, subtract_45_67, twos8, wb::Operation::Subtract, {"45", "67"}, 0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, subtract_85_51, twos8, wb::Operation::Subtract, {"01010101", "00110011"}, 0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, shift_left_3, unsigned8, wb::Operation::ShiftLeft, {"10110101"}, 3)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, shift_right_2, unsigned8, wb::Operation::ShiftRight, {"10110101"}, 2)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, arithmetic_right_2, twos8, wb::Operation::ShiftRight, {"10110101"}, 2)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, and_mask, unsigned8, wb::Operation::And, {"10110101", "00001111"}, 0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, or_mask, unsigned8, wb::Operation::Or, {"10110101", "00001111"}, 0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, xor_mask, unsigned8, wb::Operation::Xor, {"10110101", "00001111"}, 0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Calculate, multiply_64,
                  Format{.representation = Representation::UnsignedInteger, .bits = 64}, wb::Operation::Multiply,
                  {QString(64, u'1'), QString(64, u'1')}, 0)
    ->Unit(benchmark::kMicrosecond);

// Practice: a student's answer marked with its diagnosis and the working
// marked where it parts from the method; a 100-question worksheet with its
// key written to PDF.
void Practice_Mark(benchmark::State &state, Format format, wb::Direction direction, const char *question,
                   const char *answer)
{
    const QString q = QString::fromUtf8(question), a = QString::fromUtf8(answer);
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvex::practice::mark(format, direction, q, a));
}
BENCHMARK_CAPTURE(Practice_Mark, f84_right, benchFloating(8, 4), wb::Direction::ToBinary, "12.75", "0110 0110 0100")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Practice_Mark, f84_inverted_only, benchFloating(8, 4), wb::Direction::ToBinary, "-8.25",
                  "10111101 0100")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Practice_Mark, f84_rounded, benchFloating(8, 4), wb::Direction::ToBinary, "0.1", "01100111 1101")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Practice_Mark, f84_no_match, benchFloating(8, 4), wb::Direction::ToBinary, "-8.25",
                  "10101010 1010")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Practice_Mark, f84_hidden_one, benchFloating(8, 4), wb::Direction::ToDenary, "0110 0110 0100",
                  "28.5")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Practice_Mark, twos8_sign_positive, twos8, wb::Direction::ToDenary, "10111101", "189")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Practice_Mark, f106_exponent_unchanged, benchFloating(10, 6), wb::Direction::Normalise,
                  "0001100000 000101", "0110000000 000101")
    ->Unit(benchmark::kMicrosecond);

void Practice_Worksheet_100(benchmark::State &state)
{
    quorvex::WorksheetOptions options;
    options.questions = 100;
    options.directions = {wb::Direction::ToBinary, wb::Direction::ToDenary, wb::Direction::Normalise};
    options.seed = 2026;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sheet.pdf"));
    for (auto _ : state) {
        if (!quorvex::writeWorksheet(options, file))
            state.SkipWithError("the worksheet was not written");
    }
}
BENCHMARK(Practice_Worksheet_100)->Unit(benchmark::kMillisecond);

// A batch from standard input: 10,000 questions of the kinds exams set, one
// a line, answered a line each (goal: under 1 s on one core).
void CommandLine_Batch_10000(benchmark::State &state, const char *format, const char *operation)
{
    const QStringList typed = std::string_view(operation) == "to-binary"
        ? QStringList{"12.75", "-8.25", "0.1", "6.9", "-3.5", "0.1875", "100", "-76.1875", "0.000001", "1e9"}
        : QStringList{"01100110 0100", "10111110 0100", "0110011001 1111", "01110000 0011", "1000 0000 0111",
                      "0101 0101 0101", "01000000 1000", "11000000 0111", "00000000 0000", "01111111 0111"};
    QString input;
    for (int i = 0; i < 10000; ++i)
        input += typed.at(i % typed.size()) + u'\n';
    const QStringList arguments{"quorvex", "--format", format, "--solve", operation, "-"};
    for (auto _ : state) {
        QString in = input, out, err;
        QTextStream i(&in), o(&out), e(&err);
        quorvex::commandLine(arguments, i, o, e);
        o.flush();
        benchmark::DoNotOptimize(out);
        if (out.count(u'\n') != 10000)
            state.SkipWithError("a line was not answered");
    }
}
BENCHMARK_CAPTURE(CommandLine_Batch_10000, f84_to_binary, "float:8:4", "to-binary")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CommandLine_Batch_10000, f84_to_denary, "float:8:4", "to-denary")->Unit(benchmark::kMillisecond);

// A bit clicked in the workbench's bit field: the pattern read back To
// denary, and the answer, the working and the bits painted (goal: within one
// frame, 16 ms), for a 32-bit and a 64-bit pattern and IEEE 754 single
// precision.
void Workbench_FlipBit(benchmark::State &state, const char *format, const char *number)
{
    QString why;
    const std::optional<Format> f = wb::parseFormat(QString::fromLatin1(format), &why);
    const auto &topics = wb::topics();
    frmWorkbench window;
    window.findChild<QComboBox *>(QStringLiteral("cboFormat"))
        ->setCurrentIndex(int(std::find(topics.begin(), topics.end(), wb::topicOf(*f)) - topics.begin()));
    const std::pair<const char *, int> widths[] = {{"spnBits", f->bits}, {"spnMantissa", f->mantissa},
                                                   {"spnExponent", f->exponent}};
    for (const auto &[name, value] : widths)
        window.findChild<QSpinBox *>(QString::fromLatin1(name))->setValue(value);
    if (f->isIeee()) {
        auto *presets = window.findChild<QComboBox *>(QStringLiteral("cboPreset"));
        presets->setCurrentIndex(presets->findData(int(f->preset)));
    }
    window.findChild<QLineEdit *>(QStringLiteral("txtInput"))->setText(QString::fromLatin1(number));
    window.show();
    window.answer(wb::Direction::ToBinary);
    auto *bits = window.findChild<BitField *>(QStringLiteral("bitField"));
    if (bits->count() == 0)
        state.SkipWithError("no bits shown");
    int at = 0;
    for (auto _ : state) {
        bits->cell(at)->click();
        window.repaint();
        at = (at + 7) % bits->count();
    }
}
BENCHMARK_CAPTURE(Workbench_FlipBit, float_24_8, "float:24:8", "-8.25")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Workbench_FlipBit, int_64, "int:64", "12345678901234567890")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Workbench_FlipBit, ieee_single, "ieee:single", "-8.25")->Unit(benchmark::kMillisecond);
// Floating-point arithmetic, errors and range against precision: the worked
// examples with their working rendered (goal: under 50 µs each), and two
// 64/12 floats added with their working (goal: under 200 µs).
void FloatingCalculate(benchmark::State &state, Format format, wb::Operation operation, QStringList operands,
                       std::optional<Format> to)
{
    const wb::Calculation c{operands, 0, std::nullopt, to};
    for (auto _ : state)
        benchmark::DoNotOptimize(wb::solve(format, operation, c));
}
BENCHMARK_CAPTURE(FloatingCalculate, f84_add_5_3, benchFloating(8, 4), wb::Operation::Add,
                  QStringList{"01010000 0011", "01100000 0010"}, std::nullopt)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloatingCalculate, f84_add_7_1_5, benchFloating(8, 4), wb::Operation::Add,
                  QStringList{"01110000 0011", "01100000 0001"}, std::nullopt)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloatingCalculate, f84_add_7_9375_0_5, benchFloating(8, 4), wb::Operation::Add,
                  QStringList{"01111111 0011", "01000000 0000"}, std::nullopt)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloatingCalculate, f84_subtract_5_3, benchFloating(8, 4), wb::Operation::Subtract,
                  QStringList{"01010000 0011", "01100000 0010"}, std::nullopt)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloatingCalculate, f84_subtract_1_128, benchFloating(8, 4), wb::Operation::Subtract,
                  QStringList{"01000000 0001", "01111111 0000"}, std::nullopt)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloatingCalculate, f84_error_5_3, benchFloating(8, 4), wb::Operation::Error, QStringList{"5.3"},
                  std::nullopt)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloatingCalculate, f106_compare_f124, benchFloating(10, 6), wb::Operation::Compare, QStringList{},
                  benchFloating(12, 4))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloatingCalculate, f6412_add, benchFloating(64, 12), wb::Operation::Add,
                  QStringList{"0101101101010110111011010101101010110110101011010101110101010111 000000101101",
                              "1010010101010101010110101010101011010101010101101010101010110101 000000100111"},
                  std::nullopt)
    ->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's time per call for the summary.
class Collector : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> nanoseconds;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            nanoseconds[run.benchmark_name()] =
                run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char **argv)
{
    // The pane needs an application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    std::printf("\n%-40s %12s %10s\n", "routine", "ns/call", "ratio");
    for (const auto &[name, ns] : collector.nanoseconds) {
        if (name.rfind("Reference_", 0) == 0)
            continue;
        const auto reference = collector.nanoseconds.find("Reference_" + name);
        if (reference != collector.nanoseconds.end())
            std::printf("%-40s %12.1f %9.2fx\n", name.c_str(), ns, ns / reference->second);
        else
            std::printf("%-40s %12.1f %10s\n", name.c_str(), ns, "");
    }
    benchmark::Shutdown();
    return 0;
}
