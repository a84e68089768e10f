// SPDX-License-Identifier: MIT
#include "app/commandline.h"

#include "windows/worksheet.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cstdio>
#include <cstring>
#include <optional>

namespace quorvex {

namespace {

using workbench::Direction;

struct Words {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

constexpr const char *valued[] = {"--worksheet", "--format", "--questions", "--directions", "--seed"};
constexpr const char *flags[] = {"-h", "--help", "--help-all", "-?", "-v", "--version"};

// The offscreen platform looks for a runtime folder it has no use for here;
// its warning would only muddle the one line a failure prints.
QtMessageHandler previousHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1StringView("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

int usageError(const QString &why)
{
    std::fprintf(stderr, "quorvex: %s\n", qPrintable(why));
    return 2;
}

std::optional<Format> parseFormat(const QString &text, QString *why)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:(float):(\\d{1,3}):(\\d{1,3})|(fixed|fixed-signed):(\\d{1,3})\\.(\\d{1,3})|(int|int-signed):(\\d{1,3}))$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) {
        *why = Words::tr("unknown format '%1': use float:M:E, fixed:W.F, fixed-signed:W.F, int:N or int-signed:N")
                   .arg(text);
        return std::nullopt;
    }
    Format f;
    if (!m.captured(1).isEmpty()) {
        f = {.representation = Representation::Floating, .mantissa = m.captured(2).toInt(), .exponent = m.captured(3).toInt()};
        if (f.mantissa < limits::minMantissa || f.mantissa > limits::maxMantissa)
            *why = Words::tr("a mantissa has %1 to %2 bits, not %3").arg(limits::minMantissa).arg(limits::maxMantissa).arg(f.mantissa);
        else if (f.exponent < limits::minExponent || f.exponent > limits::maxExponent)
            *why = Words::tr("an exponent has %1 to %2 bits, not %3").arg(limits::minExponent).arg(limits::maxExponent).arg(f.exponent);
    } else if (!m.captured(4).isEmpty()) {
        f = {.representation = m.captured(4) == u"fixed" ? Representation::UnsignedFixed : Representation::TwosFixed,
             .whole = m.captured(5).toInt(),
             .fraction = m.captured(6).toInt()};
        const auto within = [](int v) { return v >= limits::minFixedPart && v <= limits::maxFixedPart; };
        if (!within(f.whole) || !within(f.fraction) || f.whole + f.fraction < 1)
            *why = Words::tr("fixed point has %1 to %2 bits each side of the point, at least 1 in all")
                       .arg(limits::minFixedPart)
                       .arg(limits::maxFixedPart);
    } else {
        f = {.representation = m.captured(7) == u"int" ? Representation::UnsignedInteger : Representation::TwosInteger,
             .bits = m.captured(8).toInt()};
        if (f.bits < limits::minBits || f.bits > limits::maxBits)
            *why = Words::tr("an integer has %1 to %2 bits, not %3").arg(limits::minBits).arg(limits::maxBits).arg(f.bits);
    }
    if (!why->isEmpty())
        return std::nullopt;
    return f;
}

std::optional<QList<Direction>> parseDirections(const QString &text, QString *why)
{
    QList<Direction> out;
    for (const QString &part : text.split(u',')) {
        const QString name = part.trimmed();
        Direction d;
        if (name == u"to-binary")
            d = Direction::ToBinary;
        else if (name == u"to-denary")
            d = Direction::ToDenary;
        else if (name == u"normalise" || name == u"normalize")
            d = Direction::Normalise;
        else {
            *why = Words::tr("unknown direction '%1': use to-binary, to-denary or normalise").arg(name);
            return std::nullopt;
        }
        if (!out.contains(d))
            out << d;
    }
    return out;
}

}  // namespace

bool wantsCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        for (const char *flag : flags) {
            if (std::strcmp(arg, flag) == 0)
                return true;
        }
        for (const char *name : valued) {
            const size_t n = std::strlen(name);
            if (std::strncmp(arg, name, n) == 0 && (arg[n] == '\0' || arg[n] == '='))
                return true;
        }
    }
    return false;
}

int runCommandLine(int argc, char **argv)
{
    // Nothing here opens a window: with no display, fonts and the PDF writer
    // still work on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(quietHandler);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        Words::tr("Shows how numbers are written in binary. Without options it opens its menu window; with "
                  "--worksheet it writes a worksheet and exits."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption sheet(
        QStringLiteral("worksheet"),
        Words::tr("Write a worksheet of new questions, with an answer key and its working, to <file> (PDF, A4), and "
                  "exit without opening a window."),
        QStringLiteral("file"));
    const QCommandLineOption format(
        QStringLiteral("format"),
        Words::tr("The questions' format: float:M:E (M-bit mantissa, E-bit exponent), fixed:W.F or fixed-signed:W.F "
                  "(W bits before the point, F after), int:N or int-signed:N. Default float:8:4."),
        QStringLiteral("format"));
    const QCommandLineOption questions(
        QStringLiteral("questions"),
        Words::tr("How many questions, 1 to %1. Default 20.").arg(worksheetMostQuestions), QStringLiteral("count"));
    const QCommandLineOption directions(
        QStringLiteral("directions"),
        Words::tr("Which questions, separated by commas: to-binary, to-denary, normalise (floating point only). "
                  "Default to-binary,to-denary, with normalise too for floating point."),
        QStringLiteral("list"));
    const QCommandLineOption seed(
        QStringLiteral("seed"),
        Words::tr("The seed, 0 to 4294967295: the same seed and options give the same questions. Default random; "
                  "the seed used is printed."),
        QStringLiteral("number"));
    parser.addOptions({sheet, format, questions, directions, seed});

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(QCoreApplication::arguments());  // prints the help with Qt's options and exits
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("quorvex %s\n", QUORVEX_VERSION);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(Words::tr("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));
    if (!parser.isSet(sheet))
        return usageError(Words::tr("--format, --questions, --directions and --seed go with --worksheet FILE"));

    WorksheetOptions options;
    QString why;
    if (parser.isSet(format)) {
        const std::optional<Format> f = parseFormat(parser.value(format), &why);
        if (!f)
            return usageError(why);
        options.format = *f;
    }
    if (parser.isSet(questions)) {
        bool ok = false;
        options.questions = parser.value(questions).toInt(&ok);
        if (!ok || options.questions < 1 || options.questions > worksheetMostQuestions)
            return usageError(Words::tr("--questions takes a whole number from 1 to %1, not '%2'")
                                  .arg(worksheetMostQuestions)
                                  .arg(parser.value(questions)));
    }
    if (parser.isSet(directions)) {
        const std::optional<QList<Direction>> d = parseDirections(parser.value(directions), &why);
        if (!d)
            return usageError(why);
        options.directions = *d;
    } else if (options.format.isFloating()) {
        options.directions << Direction::Normalise;
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const QString text = parser.value(seed);
        options.seed = text.toUInt(&ok);
        if (!ok || text.startsWith(u'-') || text.startsWith(u'+'))
            return usageError(Words::tr("--seed takes a whole number from 0 to 4294967295, not '%1'").arg(text));
    } else {
        options.seed = QRandomGenerator::system()->generate();
    }
    if (const QString problem = worksheetProblem(options); !problem.isEmpty())
        return usageError(problem);

    const QString file = parser.value(sheet);
    if (!writeWorksheet(options, file, &why)) {
        std::fprintf(stderr, "quorvex: %s\n", qPrintable(why));
        return 1;
    }
    std::printf("%s\n", qPrintable(Words::tr("Wrote %1: %2 questions, seed %3 (--seed %3 makes the same sheet).")
                                       .arg(file)
                                       .arg(options.questions)
                                       .arg(options.seed)));
    return 0;
}

}  // namespace quorvex
