// SPDX-License-Identifier: MIT
#include "topics/bitgroups.h"

#include "engine/methods.h"
#include "topics/registry.h"

#include <algorithm>

namespace quorvex::workbench {

using exact::Number;

BitGroup placeGroup(const QString &name, int count, int lowestPower, bool twos)
{
    BitGroup g{name, {}};
    for (int i = count - 1; i >= 0; --i)
        g.worth.emplace_back(Number::power2(lowestPower + i));
    if (twos && count > 0)
        g.worth.front() = -*g.worth.front();
    return g;
}

namespace {

qsizetype sizeOf(const std::vector<BitGroup> &groups)
{
    qsizetype n = 0;
    for (const BitGroup &g : groups)
        n += qsizetype(g.worth.size());
    return n;
}

// The bits of a text made of bits, blanks and points only.
std::optional<QString> bitsOnly(QStringView text)
{
    QString bits;
    for (QChar c : text) {
        if (c == u'0' || c == u'1')
            bits += c;
        else if (!c.isSpace() && c != u'.')
            return std::nullopt;
    }
    return bits;
}

}  // namespace

std::vector<BitGroup> patternGroups(const Format &format, qsizetype bits)
{
    const Topic *topic = topicOf(format);
    if (!topic || bits <= 0 || !topic->offered(format))
        return {};
    if (topic->width(format) == bits)
        return topic->groups(format);
    if (topic->width(format) != 0 || !topic->widths().contains(Width::Digits))
        return {};
    // As many digits as the pattern holds.
    for (int digits = 1; digits <= limits::maxDigits; ++digits) {
        Format sized = format;
        sized.digits = digits;
        if (topic->width(sized) == bits) {
            std::vector<BitGroup> groups = topic->groups(sized);
            return sizeOf(groups) == bits ? groups : std::vector<BitGroup>{};
        }
    }
    return {};
}

std::optional<QString> answeredPattern(const Format &format, Operation operation, const QString &input,
                                       bool refused, const QString &answer)
{
    const Topic *topic = topicOf(format);
    // Bits typed for To denary stay a pattern of the format even when they
    // are refused as a value (a BCD nibble above 9); other refusals have no
    // pattern.
    if (!topic || (refused && operation != Operation::ToDenary))
        return std::nullopt;
    std::optional<QString> bits;
    const int width = topic->width(format);
    switch (operation) {
    case Operation::ToBinary:
    case Operation::Normalise:
        bits = bitsOnly(answer);
        break;
    case Operation::ToDenary: {
        // Read as the topic reads it: bits or hex; as many as typed where
        // the width grows with the number.
        ReadBits read = readBits(width, input, format.fractionBits());
        if (!read.ok && width == 0) {
            if (const auto *count = as<step::WrongCount>(read.refusal))
                read = readBits(int(count->typed), input, format.fractionBits());
        }
        if (read.ok)
            bits = read.bits;
        break;
    }
    case Operation::ToHex: {
        const ReadBits read = readBits(width, QStringLiteral("0x") + answer, format.fractionBits());
        if (read.ok)
            bits = read.bits;
        break;
    }
    case Operation::Range:
        break;
    default:  // a calculation: its result, then its facts
        // A conversion's result is in the other format.
        if (isCalculation(operation) && operation != Operation::Convert)
            bits = bitsOnly(QStringView(answer).left(answer.indexOf(u',')));
        break;
    }
    if (!bits || patternGroups(format, bits->size()).empty())
        return std::nullopt;
    return bits;
}

}  // namespace quorvex::workbench
