// SPDX-License-Identifier: MIT
#include "conversions/decint.h"

#include "conversions/steps.h"
#include "core/modFunctions.h"
#include "core/runtime.h"

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
    try {
        QString copy = bits;  // the routine reverses its argument
        const qint32 value = modFunctions::BinaryToDecimal(copy);
        Sum sum{{}, value, QString::number(value, 16).toUpper()};
        TwosReading twos{width, {}, 0};
        for (qsizetype i = 0; i < width; ++i) {
            if (points[size_t(i)] != U'1')
                continue;
            const qint64 place = qint64(1) << (width - 1 - i);
            sum.terms.push_back(place);
            twos.terms.push_back(i == 0 ? -place : place);
            twos.total += twos.terms.back();
        }
        c.working.push_back(sum);
        if (width > 0)
            c.working.push_back(twos);
        c.outputs = {rt::trim(rt::signedText(value))};
    } catch (const rt::RuntimeError &error) {
        // The first 1 from the left stands too far out.
        qsizetype place = 0;
        for (qsizetype i = 0; i < width; ++i) {
            if (points[size_t(i)] == U'1') {
                place = width - 1 - i;
                break;
            }
        }
        c.working.push_back(OneBeyondRange{place});
        steps::fail(c, error.kind(), Stage::Summing, bits, double(place));
    }
    return c;
}
