// SPDX-License-Identifier: MIT
// The working of a conversion in words: short sentences and small tables,
// as rich text for the working pane. Bit strings are set in a fixed-width
// font, grouped in fours.
#pragma once

#include "conversions/working.h"

#include <QString>

// The steps as rich text.
QString workingHtml(const working::Working &steps);

// A bit string grouped in fours from the right ("0000 0000 1100 1000"), or
// from the left for bits after a binary point.
QString groupedBits(const QString &bits, bool fromLeft = false);
