// SPDX-License-Identifier: MIT
#include "engine/rounding.h"

#include <QCoreApplication>

namespace quorvex {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(Rounding)
};

struct Named {
    Rounding rounding;
    const char16_t *name;
};
constexpr Named names[] = {
    {Rounding::Cut, u"cut"},
    {Rounding::Nearest, u"nearest"},
    {Rounding::NearestEven, u"nearest-even"},
    {Rounding::TowardZero, u"toward-zero"},
    {Rounding::Up, u"up"},
    {Rounding::Down, u"down"},
};

}  // namespace

QList<Rounding> allRoundings()
{
    QList<Rounding> out;
    for (const Named &n : names)
        out << n.rounding;
    return out;
}

QString roundingName(Rounding rounding)
{
    for (const Named &n : names) {
        if (n.rounding == rounding)
            return QString::fromUtf16(n.name);
    }
    return QString();
}

std::optional<Rounding> roundingNamed(QStringView name)
{
    for (const Named &n : names) {
        if (name == QStringView(n.name))
            return n.rounding;
    }
    return std::nullopt;
}

QString roundingTitle(Rounding rounding)
{
    switch (rounding) {
    case Rounding::Cut:
        return Words::tr("Cut (truncate)");
    case Rounding::Nearest:
        return Words::tr("Round to nearest");
    case Rounding::NearestEven:
        return Words::tr("Round to nearest, ties to even");
    case Rounding::TowardZero:
        return Words::tr("Toward zero");
    case Rounding::Up:
        return Words::tr("Toward +\u221E");
    case Rounding::Down:
        return Words::tr("Toward \u2212\u221E");
    }
    return QString();
}

}  // namespace quorvex
