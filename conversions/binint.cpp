// SPDX-License-Identifier: MIT
#include "conversions/binint.h"

#include "conversions/format.h"
#include "conversions/steps.h"
#include "core/modFunctions.h"
#include "core/runtime.h"

#include <cmath>

namespace quorvex {

using namespace working;

Conversion convertBinInt(const QString &text, qint16 bitCount)
{
    Conversion c;
    try {
        const rt::ScannedNumber typed = rt::scan(text);
        if (!rt::isNumeric(typed))
            return steps::refuse(c, QT_TRANSLATE_NOOP("Conversion", "You must enter a whole number"),
                                 NotANumber{text});
        const double value = rt::leadingValue(typed);
        if (value < 0.0)
            return steps::refuse(c, QT_TRANSLATE_NOOP("Conversion", "You must enter a positive whole number"),
                                 Negative{value, std::trunc(value) == value
                                                     && -value <= rt::power(2.0, bitCount - 1)});
        if (!(rt::power(2.0, bitCount) > value))
            return steps::refuse(c, QT_TRANSLATE_NOOP("Conversion", "You need more bits to do this number"),
                                 NeedsMoreBits{value, bitCount, steps::bitsNeeded(value),
                                               bitCount >= windowFormats::binIntWidest});
        // A number with a fraction part rounds to a different whole number.
        if (double(rt::toLong(typed)) != value)
            return steps::refuse(c, QT_TRANSLATE_NOOP("Conversion", "You must enter a positive whole number"),
                                 NotWhole{value});

        const qint32 whole = rt::roundToLong(value);
        c.working.push_back(WholeInRange{whole, bitCount});
        const QString binary = modFunctions::DecimalToBinary(whole, bitCount);
        const std::vector<qint64> used = steps::placesUsed(binary);
        c.working.push_back(PlaceValues{whole, binary, used, steps::hexOf(binary), steps::placesTaken(whole, used)});
        const QString twos = modFunctions::TwosComplement(binary);
        const QString inverted = steps::inverted(binary);
        c.working.push_back(Inverted{inverted});
        c.working.push_back(AddedOne{twos, steps::hexOf(twos), steps::addOne(inverted)});
        std::vector<qint64> terms = steps::placesUsed(twos);
        if (twos.startsWith(u'1'))
            terms.front() = -terms.front();
        c.working.push_back(ReadsAsSigned{whole, bitCount, steps::twosValue(twos), twos, std::move(terms)});
        c.outputs = {binary, twos};
    } catch (const rt::RuntimeError &error) {
        steps::fail(c, error.kind(), {error.kind(), Stage::ReadingNumber, text, 0.0});
    }
    return c;
}

}  // namespace quorvex
