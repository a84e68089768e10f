// SPDX-License-Identifier: MIT
// The command line: a worksheet written without a window, --help and
// --version. Without these options the program opens its menu as always.
#pragma once

namespace quorvex {

// Whether the arguments name one of the command line's options: a look at
// the strings only, so the menu's start costs nothing more.
bool wantsCommandLine(int argc, char **argv);

// Does what the options ask and gives the exit status: 0 done, 1 the file
// could not be written, 2 a bad option or value (one line on stderr, and
// nothing written).
int runCommandLine(int argc, char **argv);

}  // namespace quorvex
