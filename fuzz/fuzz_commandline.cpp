// SPDX-License-Identifier: MIT
// Arbitrary command lines and batch input: an answer, a refusal or a usage
// error, never a crash or a hang. The input is arguments, one a line, then
// an empty line, then what the standard input holds. A worksheet is never
// written here, and --help-all (which exits) is never passed.
#include "app/commandline.h"

#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // --working lays the working out as a text document.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = text.indexOf(QStringLiteral("\n\n"));
    QStringList arguments{QStringLiteral("quorvex")};
    for (const QString &arg : (split < 0 ? text : text.left(split)).split(u'\n')) {
        if (arg.startsWith(QLatin1StringView("--worksheet")) || arg.startsWith(QLatin1StringView("--help-all")))
            return 0;
        arguments << arg;
    }
    QString input = split < 0 ? QString() : text.mid(split + 2), out, err;
    QTextStream in(&input), o(&out), e(&err);
    const int status = quorvex::commandLine(arguments, in, o, e);
    o.flush();
    e.flush();
    check(status >= 0 && status <= 2);
    // A usage error is one line, and nothing else is written.
    if (status == 2)
        check(out.isEmpty() && err.count(u'\n') == 1);
    return 0;
}
