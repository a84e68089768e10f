// SPDX-License-Identifier: MIT
// Arbitrary text through the bit-string routines and every window's
// conversion: nothing but rt::RuntimeError may escape, nothing may crash,
// and whatever a conversion returns has the shape its window shows.
#include "conversions/binint.h"
#include "conversions/decint.h"
#include "conversions/fixed.h"
#include "conversions/floating.h"
#include "core/modFunctions.h"
#include "topics/workbench.h"
#include "core/runtime.h"
#include "conversions/workingtext.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace quorvex;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool isBits(const QString &text, qsizetype width)
{
    if (text.size() != width)
        return false;
    for (QChar c : text) {
        if (c != u'0' && c != u'1')
            return false;
    }
    return true;
}

template <typename F>
void tolerateRuntimeErrors(F &&f)
{
    try {
        f();
    } catch (const rt::RuntimeError &) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses how to read the rest: UTF-8, or raw UTF-16
    // (which reaches lone surrogates).
    const auto *rest = reinterpret_cast<const char *>(data + 1);
    const auto restSize = qsizetype(size - 1);
    const QString text = data[0] & 1
        ? QString(reinterpret_cast<const QChar *>(rest), restSize / 2)
        : QString::fromUtf8(rest, restSize);

    tolerateRuntimeErrors([&] {
        QString copy = text;
        modFunctions::BinaryToDecimal(copy);
        check(copy == rt::reverse(text));
    });
    tolerateRuntimeErrors([&] {
        const QString complement = modFunctions::TwosComplement(text);
        check(isBits(complement, rt::length(text)));
    });
    // The conversions never throw: a run-time error is part of their answer,
    // and their working renders whatever they answer.
    const auto checked = [](const Conversion &c, qsizetype outputs) {
        check(c.converted() ? c.outputs.size() == outputs : c.outputs.isEmpty());
        check(!c.working.empty());
        check(!workingHtml(c.working).isEmpty());
    };
    const Conversion decimal = convertDecInt(text);
    checked(decimal, 1);
    if (decimal.converted()) {
        const QString &value = decimal.outputs.first();
        check(!value.isEmpty() && !value.startsWith(u' ') && !value.startsWith(u'-'));
    }
    const Conversion fixed = convertFixed(text);
    checked(fixed, 4);
    if (fixedAccepts(text)) {
        check(fixed.converted());
        const QString &whole = fixed.outputs.at(FixedWhole);
        check(isBits(fixed.outputs.at(FixedFraction), 10) && !whole.isEmpty() && whole.size() <= 10);
        check(fixed.outputs.at(FixedPoint) == whole + "." + fixed.outputs.at(FixedFraction));
        check(rt::toDouble(fixed.outputs.at(FixedActual)) <= 1023.0);
    } else {
        checked(refuseFixedInput(text), 0);
    }
    const Conversion floating = convertFloating(text);
    checked(floating, 3);
    if (floating.converted())
        check(isBits(floating.outputs.at(FloatingMantissa), 10) && isBits(floating.outputs.at(FloatingExponent), 6));
    for (qint16 bits : {qint16(8), qint16(16), qint16(24)}) {
        const Conversion c = convertBinInt(text, bits);
        checked(c, 2);
        if (c.converted())
            check(isBits(c.outputs.at(0), bits) && isBits(c.outputs.at(1), bits));
    }
    // The workbench, in a few formats, every direction: an answer or a
    // reason, always with working; bits it gives read back.
    const Format formats[] = {
        {.representation = Representation::Floating, .mantissa = 8, .exponent = 4},
        {.representation = Representation::Floating, .mantissa = 64, .exponent = 12},
        {.representation = Representation::SignMagnitudeFloating, .mantissa = 16, .exponent = 8},
        {.representation = Representation::TwosFixed, .whole = 4, .fraction = 4},
        {.representation = Representation::UnsignedFixed, .whole = 0, .fraction = 32},
        {.representation = Representation::TwosInteger, .bits = 1},
        {.representation = Representation::UnsignedInteger, .bits = 64},
    };
    for (const Format &f : formats) {
        for (auto direction : {workbench::Direction::ToBinary, workbench::Direction::ToDenary,
                               workbench::Direction::Normalise}) {
            const workbench::Answer a = workbench::solve(f, direction, text);
            check(!a.text.isEmpty() && !a.workingHtml.isEmpty());
            if (direction == workbench::Direction::ToBinary && !a.refused)
                check(!workbench::solve(f, workbench::Direction::ToDenary, a.text).refused);
        }
    }
    return 0;
}
