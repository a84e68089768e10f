// SPDX-License-Identifier: MIT
// Hexadecimal: a pattern's bits four at a time. Reading hex wherever bits
// are asked for (0x2F9C, &2F9C, #2F9C, 2F9Ch, 2F9C₁₆, 2F9C16, or bare
// digits when the text is not also a denary number), writing a pattern in
// hex, and the steps that show both ways as they are taught: the nibbles
// with their place values 8 4 2 1, place values of 16, and repeated
// division by 16.
#pragma once

#include "engine/exact.h"
#include "engine/steps.h"

#include <QString>

#include <optional>
#include <vector>

namespace quorvex::workbench {

namespace step {

// How a typed text was read as hexadecimal, and the bits it stands for.
struct HexRead {
    enum class Form { Prefix, Suffix, Subscript, Sixteen, Bare };
    QString typed;
    Form form = Form::Bare;
    QString marker;  // "0x", "&", "#", "h", ...
    QString whole, fraction;  // the hex digits each side of a point
    QString bits;             // the pattern, as many bits as the format has
    int fractionBits = 0;     // of them after the point
};
// Hex that cannot stand for a pattern of the format's width.
struct HexTooWide {
    QString digits;
    int width = 0;
    int fraction = 0;
    bool point = false;  // a fixed-point pattern needs its point, or has none
};
// The bits in fours from the point (or the right end), each with its
// place values 8 4 2 1 and its hex digit.
struct Nibbles {
    QString bits;
    int fraction = 0;
    QString hex;  // the answer, with its point
};
// A whole number divided by 16 again and again: the remainders, last first.
struct Divisions16 {
    struct Row {
        QString from, quotient;
        int remainder;
    };
    QString value;
    std::vector<Row> rows;
    QString hex;
};
// Hex digits under their place values of 16, added up.
struct HexPlaces {
    QString digits;
    exact::Number total;
};

}  // namespace step

QUORVEX_STEP(step::HexRead)
QUORVEX_REFUSAL(step::HexTooWide)
QUORVEX_STEP(step::Nibbles)
QUORVEX_STEP(step::Divisions16)
QUORVEX_STEP(step::HexPlaces)

namespace hex {

// A typed text read as hex: the hex digits each side of a point, and how it
// was marked; none when it is not hex (plain bits, a denary number, or
// anything else).
struct Text {
    step::HexRead::Form form;
    QString marker, whole, fraction;
    bool point = false;
};
std::optional<Text> read(const QString &typed);

// The digit of a value from 0 to 15, and back (-1 for no hex digit).
QChar digit(int value);
int value(QChar digit);

// A pattern in hex, grouped from the point (or the right end): whole
// nibbles padded with 0s on the left, fraction ones on the right.
QString ofBits(const QString &bits, int fraction = 0);

// The bits a hex text stands for in a pattern of `width` bits with
// `fraction` after the point: the step that reads it, or the refusal.
Step pattern(const QString &typed, const Text &text, int width, int fraction, QString *bits);

}  // namespace hex

}  // namespace quorvex::workbench
