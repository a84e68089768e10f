// SPDX-License-Identifier: MIT
// A pattern's bits as its format groups them (engine/topic.h's BitGroup),
// for a row of bit cells a student clicks: the place values the topics'
// groups() are made of, the groups of one pattern (a format of as many
// digits as needed takes the digits the pattern has), and the pattern a
// question or its answer holds, where it has one.
#pragma once

#include "engine/format.h"
#include "engine/operation.h"
#include "engine/topic.h"

#include <QString>

#include <optional>
#include <vector>

namespace quorvex::workbench {

// `count` places, the last worth 2^lowestPower, left to right; the leftmost
// negative when `twos` (two's complement).
BitGroup placeGroup(const QString &name, int count, int lowestPower, bool twos);

// The groups of a pattern of `bits` bits in `format`; none when the format
// has no patterns of that length. Where the format's width grows with the
// number, its widths are those of a pattern that long.
std::vector<BitGroup> patternGroups(const Format &format, qsizetype bits);

// The pattern in the format that an answer shows: the bits of a To binary,
// Normalise or To hex answer, those typed for To denary, a calculation's
// result before its facts ("10100001, overflow"); none for a refusal or an
// answer with no bits (a range); bits typed for To denary even when their
// value is refused (a BCD nibble above 9). Only the bits, without blanks or
// point.
std::optional<QString> answeredPattern(const Format &format, Operation operation, const QString &input,
                                       bool refused, const QString &answer);

}  // namespace quorvex::workbench
