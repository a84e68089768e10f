// SPDX-License-Identifier: MIT
// Arbitrary text through the bit-string routines and every window's
// conversion: nothing but rt::RuntimeError may escape, nothing may crash,
// and whatever a conversion returns has the shape its window shows.
#include "binintconversion.h"
#include "decintconversion.h"
#include "fixedconversion.h"
#include "floatingconversion.h"
#include "modFunctions.h"
#include "runtime.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

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
    tolerateRuntimeErrors([&] {
        const QString value = convertDecInt(text);
        check(!value.isEmpty() && !value.startsWith(u' ') && !value.startsWith(u'-'));
    });
    tolerateRuntimeErrors([&] {
        if (!fixedAccepts(text))
            return;
        const FixedResult r = convertFixed(text);
        check(isBits(r.fraction, 10) && !r.whole.isEmpty() && r.whole.size() <= 10);
        check(r.fixedPoint == r.whole + "." + r.fraction);
        check(rt::toDouble(r.actual) <= 1023.0);
    });
    tolerateRuntimeErrors([&] { convertFixed(text); });
    tolerateRuntimeErrors([&] {
        const FloatingResult r = convertFloating(text);
        check(isBits(r.mantissa, 10) && isBits(r.exponent, 6));
    });
    for (qint16 bits : {qint16(8), qint16(16), qint16(24)}) {
        tolerateRuntimeErrors([&] {
            const BinIntResult r = convertBinInt(text, bits);
            if (r.message.isEmpty())
                check(isBits(r.binary, bits) && isBits(r.twos, bits));
        });
    }
    return 0;
}
