// SPDX-License-Identifier: MIT
// The bit-string routines shared by the converter windows.
//
// A bit string is a text of "0" and "1", most significant bit first; its
// length is its width. Characters other than "1" read as zero bits and still
// take a position. Every argument is passed by reference; FractionToBinary
// and BinaryToDecimal change the caller's variable, so a caller that needs it
// afterwards passes a copy. Input outside a routine's range raises
// rt::RuntimeError.
#pragma once

#include <QString>
#include <QtGlobal>

namespace modFunctions {

// `value` (0 <= value < 2^width) as exactly `width` bits, zero-filled on the
// left. Subscript out of range when it needs more bits, when it is negative,
// or when `width` is below 1.
QString DecimalToBinary(const qint32 &value, const qint16 &width);

// The two's complement of `bits` read as an unsigned number of its own
// length; the result has that length and holds only "0" and "1". Subscript
// out of range for the empty text.
QString TwosComplement(const QString &bits);

// The first `width` bits after the binary point of `fraction`, cut off, not
// rounded. Afterwards `fraction` holds what is left, scaled by 2^width. For a
// fraction of 1 or more the first element is the decimal whole part of the
// doubled fraction ("2", "20", ...). Overflow when a doubled fraction reaches
// 32768 or the fraction is negative or not a number; subscript out of range
// when `width` is below 1.
QString FractionToBinary(float &fraction, const qint16 &width);

// The value of `bits`, each "1" p places from the right end worth 2^(p-1).
// Afterwards `bits` holds its characters in reverse order. Overflow when a
// "1" stands 32 or more places from the right end.
qint32 BinaryToDecimal(QString &bits);

}  // namespace modFunctions
