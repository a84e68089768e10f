// SPDX-License-Identifier: MIT
// Formats for tests, by kind and widths.
#pragma once

#include "conversions/format.h"
#include "topics/registry.h"

#include <QMetaType>

Q_DECLARE_METATYPE(quorvex::Format)

namespace testformats {

inline quorvex::Format integer(bool twos, int bits)
{
    using quorvex::Representation;
    return {.representation = twos ? Representation::TwosInteger : Representation::UnsignedInteger, .bits = bits};
}
inline quorvex::Format fixed(bool twos, int whole, int fraction)
{
    using quorvex::Representation;
    return {.representation = twos ? Representation::TwosFixed : Representation::UnsignedFixed,
            .whole = whole,
            .fraction = fraction};
}
inline quorvex::Format floating(int mantissa, int exponent)
{
    return {.representation = quorvex::Representation::Floating, .mantissa = mantissa, .exponent = exponent};
}

// A format by its name on the command line ("int-signmag:8", "bcd"), as
// the registry reads it.
inline quorvex::Format named(const char *name)
{
    QString why;
    const std::optional<quorvex::Format> f = quorvex::workbench::parseFormat(QString::fromLatin1(name), &why);
    if (!f)
        qFatal("no format %s: %s", name, qPrintable(why));
    return *f;
}

}  // namespace testformats
