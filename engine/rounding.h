// SPDX-License-Identifier: MIT
// How bits beyond a format's last place are dropped. A topic lists the
// modes it answers (Topic::roundings, the first being its default); the
// format carries the one chosen, so every operation of it works to that
// mode.
#pragma once

#include "engine/format.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace quorvex {

// "cut", "nearest", "nearest-even", "toward-zero", "up", "down".
QString roundingName(Rounding rounding);
std::optional<Rounding> roundingNamed(QStringView name);
// The rounding box's item: "Cut (truncate)", "Round to nearest, ties to even".
QString roundingTitle(Rounding rounding);
QList<Rounding> allRoundings();

}  // namespace quorvex
