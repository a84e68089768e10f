// SPDX-License-Identifier: MIT
#pragma once

namespace quorvex {

// The program-wide look: the windows are laid out for "MS Sans Serif" at
// 8.25 points, which Debian does not have; Liberation Sans (fonts-liberation)
// is scalable and nearly as wide, so every caption fits its box. The
// fixed-width font is chosen the same way, Liberation Mono first
// (windows/fixedfont.h). Every window carries the program's icon.
void applyAppearance();

}  // namespace quorvex
