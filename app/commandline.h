// SPDX-License-Identifier: MIT
// The command line: a question answered, a batch of questions from the
// standard input, or a worksheet written, all without a window; --help and
// --version. Without these options the program opens its menu as always.
#pragma once

#include <QStringList>

class QTextStream;

namespace quorvex {

// Whether the arguments name one of the command line's options: a look at
// the strings only, so the menu's start costs nothing more.
bool wantsCommandLine(int argc, char **argv);

// Does what the options ask and gives the exit status: 0 done, 1 a question
// refused or the file not written (the reason on stderr), 2 a bad option or
// value (one line on stderr, and nothing written).
int runCommandLine(int argc, char **argv);

// The same with the arguments (the program's name first) and the streams
// given, in a running application: a QGuiApplication for a worksheet or the
// working, any for the rest.
int commandLine(const QStringList &arguments, QTextStream &in, QTextStream &out, QTextStream &err);

}  // namespace quorvex
