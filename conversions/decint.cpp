// SPDX-License-Identifier: MIT
#include "conversions/decint.h"

#include "conversions/steps.h"
#include "core/modFunctions.h"
#include "core/runtime.h"

namespace quorvex {

using namespace working;

namespace {

// A text up to this long has every character listed; a longer one only its
// ones, up to the second limit.
constexpr qsizetype listEveryCharacterUpTo = 32;
constexpr qsizetype listOnesUpTo = 16;

BitPlaces placesOf(const std::u32string &points)
{
    BitPlaces places{qsizetype(points.size()), {}, points.size() > size_t(listEveryCharacterUpTo), 0, 0};
    const auto length = qsizetype(points.size());
    for (qsizetype i = 0; i < length; ++i) {
        const char32_t c = points[size_t(i)];
        if (c != U'0' && c != U'1')
            ++places.others;
        if (places.onlyOnes && c != U'1')
            continue;
        if (places.onlyOnes && qsizetype(places.listed.size()) >= listOnesUpTo)
            ++places.onesNotListed;
        else
            places.listed.push_back({length - 1 - i, c});
    }
    return places;
}

}  // namespace

Conversion convertDecInt(const QString &bits)
{
    Conversion c;
    const std::u32string points = rt::toCodePoints(bits);
    c.working.push_back(placesOf(points));
    const auto width = qsizetype(points.size());
    // The places that hold a 1, found once: their sum, and read as two's
    // complement of the text's own width. Places beyond 63 bits are left to
    // the routine, which stops long before them.
    Sum sum{{}, 0, {}};
    TwosReading twos{width, {}, 0};
    qsizetype firstOne = -1;
    for (qsizetype i = 0; i < width; ++i) {
        if (points[size_t(i)] != U'1')
            continue;
        const qsizetype place = width - 1 - i;
        if (firstOne < 0)
            firstOne = place;
        if (place > 62)
            continue;
        const qint64 value = qint64(1) << place;
        sum.terms.push_back(value);
        twos.terms.push_back(i == 0 ? -value : value);
        twos.total += twos.terms.back();
    }
    try {
        QString copy = bits;  // the routine reverses its argument
        const qint32 value = modFunctions::BinaryToDecimal(copy);
        sum.total = value;
        sum.hex = QString::number(value, 16).toUpper();
        c.working.push_back(std::move(sum));
        if (width > 0)
            c.working.push_back(std::move(twos));
        c.outputs = {rt::trim(rt::signedText(value))};
    } catch (const rt::RuntimeError &error) {
        // The first 1 from the left stands too far out.
        c.working.push_back(OneBeyondRange{firstOne});
        steps::fail(c, error.kind(), {error.kind(), Stage::Summing, bits, double(firstOne)});
    }
    return c;
}

}  // namespace quorvex
