// SPDX-License-Identifier: MIT
// The working of a conversion in words: short sentences and small tables,
// as rich text for the working pane. Bit strings are set in a fixed-width
// font, grouped in fours. The words only format what the steps recorded.
#pragma once

#include "conversions/working.h"

#include <QString>

namespace quorvex {

// The steps as rich text.
QString workingHtml(const working::Working &steps);

}  // namespace quorvex
