// SPDX-License-Identifier: MIT
#include "app/commandline.h"

#include "engine/rounding.h"
#include "topics/registry.h"
#include "topics/workbench.h"
#include "windows/plaintext.h"
#include "windows/worksheet.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace quorvex {

namespace {

using workbench::Direction;
using workbench::Operation;

struct Words {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// Options that take a value, and those that do not.
constexpr const char *valued[] = {"--worksheet", "--format", "--questions", "--directions", "--seed",
                                  "--solve",     "--places", "--to",        "--rounding",   "--level"};
constexpr const char *flags[] = {"-h",        "--help",    "--help-all", "-?",          "-v",
                                 "--version", "--working", "--logical",  "--arithmetic"};

bool isValued(const QString &arg)
{
    for (const char *name : valued) {
        if (arg == QLatin1StringView(name))
            return true;
    }
    return false;
}

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

// The arguments with the operands after "--": a negative number ("-5",
// "-.5") is an operand, not an option, wherever it stands.
QStringList withOperandsLast(const QStringList &arguments)
{
    static const QRegularExpression negative(QStringLiteral("^-[0-9.]"));
    QStringList options{arguments.value(0)}, operands;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (arg == u"--") {
            operands += arguments.mid(i + 1);
            break;
        }
        if (isValued(arg) && i + 1 < arguments.size()) {
            options << arg << arguments.at(++i);
        } else if (arg.startsWith(u'-') && arg != u"-" && !negative.match(arg).hasMatch()) {
            options << arg;
        } else {
            operands << arg;
        }
    }
    return options << QStringLiteral("--") << operands;
}

std::optional<QList<Direction>> parseDirections(const QString &text, QString *why)
{
    QList<Direction> out;
    for (const QString &part : text.split(u',')) {
        const std::optional<Operation> d = workbench::operationNamed(part.trimmed());
        if (!d) {
            QStringList names;
            for (Operation o : workbench::allOperations()) {
                if (o != Operation::Range && o != Operation::Compare && o != Operation::Convert)
                    names << workbench::operationName(o);
            }
            *why = Words::tr("unknown direction '%1': use %2").arg(part.trimmed(), names.join(QStringLiteral(", ")));
            return std::nullopt;
        }
        if (!out.contains(*d))
            out << *d;
    }
    return out;
}

// The formats of every --format, each one or a list separated by commas.
std::optional<QList<Format>> parseFormats(const QStringList &values, QString *why)
{
    QList<Format> out;
    for (const QString &value : values) {
        for (const QString &name : value.split(u',')) {
            const std::optional<Format> f = workbench::parseFormat(name.trimmed(), why);
            if (!f)
                return std::nullopt;
            out << *f;
        }
    }
    return out;
}

// The formats and operations, from the registry, for the help.
QString registryHelp()
{
    QString text = Words::tr("Formats:") + u'\n';
    for (const workbench::Topic *t : workbench::topics())
        text += QStringLiteral("  %1  %2\n").arg(t->usage(), -18).arg(t->usageHelp());
    text += u'\n' + Words::tr("Operations (each with the formats that have it):") + u'\n';
    for (Operation operation : workbench::allOperations()) {
        QStringList kinds;
        for (const workbench::Topic *t : workbench::topics()) {
            if (t->operations().contains(operation) || t->calculations().contains(operation))
                kinds << t->usage().section(u':', 0, 0);
        }
        if (kinds.isEmpty())
            continue;
        text += QStringLiteral("  %1  %2 (%3)\n")
                    .arg(workbench::operationName(operation), -18)
                    .arg(workbench::operandsOf(operation), kinds.join(QStringLiteral(", ")));
    }
    return text;
}

// "to-binary takes 1 operand".
QString takesOperands(Operation operation)
{
    const int n = workbench::operandCount(operation);
    const int fewest = workbench::fewestOperands(operation);
    const QString name = workbench::operationName(operation);
    if (fewest != n)
        return fewest == 0 ? Words::tr("%1 takes no operand or %2").arg(name).arg(n)
                           : Words::tr("%1 takes %2 to %3 operands").arg(name).arg(fewest).arg(n);
    if (n == 0)
        return Words::tr("%1 takes no operand").arg(name);
    if (n == 1)
        return Words::tr("%1 takes 1 operand").arg(name);
    return Words::tr("%1 takes %2 operands").arg(name).arg(n);
}

class Run {
public:
    Run(QTextStream &in, QTextStream &out, QTextStream &err) : m_in(in), m_out(out), m_err(err) { }

    int usageError(const QString &why)
    {
        m_err << "quorvex: " << why << Qt::endl;
        return 2;
    }

    // One question: the answer's first line, then the working when asked.
    int solve(const Format &format, Operation operation, const workbench::Calculation &c, bool working)
    {
        const workbench::Answer a = workbench::solve(format, operation, c);
        if (a.refused) {
            m_err << "quorvex: " << a.text << Qt::endl;
            return 1;
        }
        m_out << a.text << '\n';
        if (working)
            m_out << plainWorking(a.workingHtml);
        m_out.flush();
        return 0;
    }

    // One question a line, its operands separated by tabs; one answer a
    // line, a refused one as "refused: " and why.
    int batch(const Format &format, Operation operation, workbench::Calculation c)
    {
        const int wanted = workbench::operandCount(operation);
        const int fewest = workbench::fewestOperands(operation);
        bool refusedAny = false;
        QString line;
        while (m_in.readLineInto(&line)) {
            if (line.endsWith(u'\r'))
                line.chop(1);
            const QStringList operands = wanted == 0 ? QStringList() : line.split(u'\t');
            QString answer;
            if (operands.size() > wanted || operands.size() < fewest) {
                answer = QStringLiteral("refused: ") + takesOperands(operation) + u' '
                    + Words::tr("(%1 on this line), separated by tabs").arg(operands.size());
            } else {
                c.operands = operands;
                const workbench::Worked w = workbench::work(format, operation, c);
                answer = w.refused ? QStringLiteral("refused: ") + workbench::refusalText(format, w.steps.back())
                                   : w.text;
            }
            refusedAny = refusedAny || answer.startsWith(QLatin1StringView("refused: "));
            m_out << answer << '\n';
        }
        m_out.flush();
        return refusedAny ? 1 : 0;
    }

    QTextStream &m_in, &m_out, &m_err;
};

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
    // still work on the offscreen platform. A question needs no more than
    // Qt Core, unless its working is asked for.
    bool gui = false;
    for (int i = 1; i < argc; ++i)
        gui = gui || std::strncmp(argv[i], "--worksheet", 11) == 0 || std::strcmp(argv[i], "--working") == 0
            || std::strcmp(argv[i], "--help-all") == 0;
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(quietHandler);
    std::unique_ptr<QCoreApplication> app =
        gui ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QTextStream in(stdin), out(stdout), err(stderr);
    return commandLine(QCoreApplication::arguments(), in, out, err);
}

int commandLine(const QStringList &arguments, QTextStream &in, QTextStream &out, QTextStream &err)
{
    QCoreApplication::setApplicationName(QStringLiteral("quorvex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEX_VERSION));
    Run run(in, out, err);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        Words::tr("Shows how numbers are written in binary. Without options it opens its menu window; with "
                  "--solve it answers a question, and with --worksheet it writes a worksheet, and exits."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption solve(
        QStringLiteral("solve"),
        Words::tr("Answer a question in the --format: the operation (see below) on the operands that follow. The "
                  "first line printed is the answer as a mark scheme writes it. With - as the only operand, one "
                  "question a line is read from the standard input (its operands separated by tabs) and one "
                  "answer a line written."),
        QStringLiteral("operation"));
    const QCommandLineOption working(QStringLiteral("working"),
                                     Words::tr("With --solve, print the working after the answer."));
    const QCommandLineOption places(QStringLiteral("places"),
                                    Words::tr("With --solve, how many places an operation moves the bits."),
                                    QStringLiteral("count"));
    const QCommandLineOption to(QStringLiteral("to"), Words::tr("With --solve, the other format: to convert into, or to compare with."),
                                QStringLiteral("format"));
    const QCommandLineOption rounding(QStringLiteral("rounding"),
                                      Words::tr("With --solve, how bits beyond the last place are dropped: cut (the default) or, for fixed and floating point, nearest."),
                                      QStringLiteral("mode"));
    const QCommandLineOption logical(QStringLiteral("logical"),
                                     Words::tr("With a shift, move the bits logically: 0s come in."));
    const QCommandLineOption arithmeticShift(
        QStringLiteral("arithmetic"),
        Words::tr("With a shift right, move the bits arithmetically: copies of the sign bit come in."));
    const QCommandLineOption sheet(
        QStringLiteral("worksheet"),
        Words::tr("Write a worksheet of new questions, with an answer key and its working, to <file> (PDF, A4), and "
                  "exit without opening a window."),
        QStringLiteral("file"));
    const QCommandLineOption format(
        QStringLiteral("format"),
        Words::tr("The format (see below). For a worksheet the default is float:8:4; given more than once, or as a "
                  "list separated by commas, the sheet mixes the formats, each question said in words."),
        QStringLiteral("format"));
    const QCommandLineOption questions(
        QStringLiteral("questions"),
        Words::tr("How many questions, 1 to %1. Default 20.").arg(worksheetMostQuestions), QStringLiteral("count"));
    const QCommandLineOption directions(
        QStringLiteral("directions"),
        Words::tr("Which questions, separated by commas: to-binary, to-denary, to-hex, normalise (floating point "
                  "only) or a calculation (add, subtract, shift-left, ...: see below); each format takes those it "
                  "has. Default to-binary,to-denary, with normalise too for floating point."),
        QStringLiteral("list"));
    const QCommandLineOption level(
        QStringLiteral("level"),
        Words::tr("A worksheet of mixed questions, each said in words, as papers of a level set them: gcse, "
                  "a-level or university, or several separated by commas; in place of --format and --directions."),
        QStringLiteral("level"));
    const QCommandLineOption seed(
        QStringLiteral("seed"),
        Words::tr("The seed, 0 to 4294967295: the same seed and options give the same questions. Default random; "
                  "the seed used is printed."),
        QStringLiteral("number"));
    parser.addOptions(
        {solve, working, places, to, rounding, logical, arithmeticShift, sheet, format, questions, directions, level,
         seed});
    parser.addPositionalArgument(QStringLiteral("operands"), Words::tr("With --solve, the question's operands."),
                                 QStringLiteral("[--] [operand...]"));

    if (!parser.parse(withOperandsLast(arguments)))
        return run.usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(arguments);  // prints the help with Qt's options and exits
    if (parser.isSet(help)) {
        out << parser.helpText() << '\n' << registryHelp();
        out.flush();
        return 0;
    }
    if (parser.isSet(version)) {
        out << "quorvex " << QUORVEX_VERSION << '\n';
        out.flush();
        return 0;
    }
    const QStringList operands = parser.positionalArguments();
    std::optional<Format> chosen;
    QList<Format> formats;
    QString why;
    if (parser.isSet(format)) {
        const std::optional<QList<Format>> parsed = parseFormats(parser.values(format), &why);
        if (!parsed)
            return run.usageError(why);
        formats = *parsed;
        chosen = formats.constFirst();
    }

    if (parser.isSet(solve)) {
        if (parser.isSet(sheet))
            return run.usageError(Words::tr("--solve and --worksheet go separately"));
        for (const QCommandLineOption &o : {questions, directions, seed, level}) {
            if (parser.isSet(o))
                return run.usageError(Words::tr("--%1 goes with --worksheet FILE").arg(o.names().constFirst()));
        }
        if (!chosen)
            return run.usageError(Words::tr("--solve needs --format FORMAT"));
        if (formats.size() > 1)
            return run.usageError(Words::tr("--solve takes one --format, not %1").arg(formats.size()));
        const QString name = parser.value(solve);
        const std::optional<Operation> operation = workbench::operationNamed(name);
        if (!operation) {
            QStringList names;
            for (Operation o : workbench::allOperations())
                names << workbench::operationName(o);
            return run.usageError(
                Words::tr("unknown operation '%1': use %2").arg(name, names.join(QStringLiteral(", "))));
        }
        const workbench::Topic *topic = workbench::topicOf(*chosen);
        if (!topic->operations().contains(*operation) && !topic->calculations().contains(*operation)) {
            QStringList names;
            for (Operation o : topic->operations() + topic->calculations())
                names << workbench::operationName(o);
            return run.usageError(Words::tr("%1 has no operation %2; it has %3")
                                      .arg(topic->name(*chosen), name, names.join(QStringLiteral(", "))));
        }
        if (parser.isSet(places) && !workbench::takesPlaces(*operation))
            return run.usageError(Words::tr("--places goes with an operation that moves bits, not %1").arg(name));
        int count = 0;
        if (workbench::takesPlaces(*operation)) {
            bool ok = false;
            count = parser.value(places).toInt(&ok);
            if (!parser.isSet(places))
                return run.usageError(Words::tr("%1 needs --places COUNT").arg(name));
            if (!ok || count < 0)
                return run.usageError(
                    Words::tr("--places takes a whole number from 0, not '%1'").arg(parser.value(places)));
        }
        workbench::Calculation c{{}, count, std::nullopt, std::nullopt};
        const bool betweenFormats = *operation == Operation::Compare || *operation == Operation::Convert;
        if (parser.isSet(to) && !betweenFormats)
            return run.usageError(Words::tr("--to goes with an operation between two formats, not %1").arg(name));
        if (betweenFormats) {
            if (!parser.isSet(to))
                return run.usageError(Words::tr("%1 needs --to FORMAT").arg(name));
            c.to = workbench::parseFormat(parser.value(to), &why);
            if (!c.to)
                return run.usageError(why);
        }
        if (parser.isSet(logical) && parser.isSet(arithmeticShift))
            return run.usageError(Words::tr("--logical and --arithmetic go separately"));
        if (parser.isSet(logical) || parser.isSet(arithmeticShift)) {
            if (*operation != Operation::ShiftLeft && *operation != Operation::ShiftRight)
                return run.usageError(
                    Words::tr("--logical and --arithmetic go with shift-left or shift-right, not %1").arg(name));
            c.arithmetic = parser.isSet(arithmeticShift);
        }
        if (parser.isSet(rounding)) {
            const QString mode = parser.value(rounding);
            const QList<Rounding> modes = topic->roundings();
            const std::optional<Rounding> r = roundingNamed(mode);
            if (modes.isEmpty() && mode != u"cut")
                return run.usageError(Words::tr("unknown rounding '%1': %2 cuts the bits after the last place (cut)")
                                          .arg(mode, topic->name(*chosen)));
            if (!modes.isEmpty() && (!r || !modes.contains(*r))) {
                QStringList names;
                for (Rounding m : modes)
                    names << roundingName(m);
                return run.usageError(Words::tr("unknown rounding '%1': %2 takes %3")
                                          .arg(mode, topic->name(*chosen), names.join(QStringLiteral(", "))));
            }
            if (r)
                chosen->rounding = *r;
        }
        if (operands == QStringList{QStringLiteral("-")}) {
            if (parser.isSet(working))
                return run.usageError(Words::tr("--working goes with one question, not a batch"));
            return run.batch(*chosen, *operation, c);
        }
        const int wanted = workbench::operandCount(*operation);
        if (operands.size() > wanted || operands.size() < workbench::fewestOperands(*operation))
            return run.usageError(takesOperands(*operation) + u' ' + Words::tr("(%1 given)").arg(operands.size()));
        c.operands = operands;
        return run.solve(*chosen, *operation, c, parser.isSet(working));
    }

    if (!operands.isEmpty())
        return run.usageError(Words::tr("unexpected argument '%1'").arg(operands.constFirst()));
    for (const QCommandLineOption &o : {working, places, to, rounding, logical, arithmeticShift}) {
        if (parser.isSet(o))
            return run.usageError(Words::tr("--%1 goes with --solve").arg(o.names().constFirst()));
    }
    if (!parser.isSet(sheet))
        return run.usageError(Words::tr("--format, --questions, --directions, --level and --seed go with --worksheet FILE "
                                        "(or --format with --solve)"));

    WorksheetOptions options;
    if (!formats.isEmpty())
        options.formats = formats;
    if (parser.isSet(level)) {
        for (const QString &name : parser.value(level).split(u',')) {
            const std::optional<practice::Level> l = practice::levelNamed(name.trimmed());
            if (!l)
                return run.usageError(
                    Words::tr("unknown level '%1': use gcse, a-level or university").arg(name.trimmed()));
            if (!options.levels.contains(*l))
                options.levels << *l;
        }
        if (parser.isSet(format) || parser.isSet(directions))
            return run.usageError(Words::tr("--level mixes formats of its own: it goes without --format and "
                                            "--directions"));
    }
    if (parser.isSet(questions)) {
        bool ok = false;
        options.questions = parser.value(questions).toInt(&ok);
        if (!ok || options.questions < 1 || options.questions > worksheetMostQuestions)
            return run.usageError(Words::tr("--questions takes a whole number from 1 to %1, not '%2'")
                                      .arg(worksheetMostQuestions)
                                      .arg(parser.value(questions)));
    }
    if (parser.isSet(directions)) {
        const std::optional<QList<Direction>> d = parseDirections(parser.value(directions), &why);
        if (!d)
            return run.usageError(why);
        options.directions = *d;
    } else if (std::any_of(options.formats.begin(), options.formats.end(), [](const Format &f) {
                   return workbench::topicOf(f)->operations().contains(Operation::Normalise);
               })) {
        options.directions << Direction::Normalise;
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const QString text = parser.value(seed);
        options.seed = text.toUInt(&ok);
        if (!ok || text.startsWith(u'-') || text.startsWith(u'+'))
            return run.usageError(Words::tr("--seed takes a whole number from 0 to 4294967295, not '%1'").arg(text));
    } else {
        options.seed = QRandomGenerator::system()->generate();
    }
    if (const QString problem = worksheetProblem(options); !problem.isEmpty())
        return run.usageError(problem);

    const QString file = parser.value(sheet);
    if (!writeWorksheet(options, file, &why)) {
        err << "quorvex: " << why << Qt::endl;
        return 1;
    }
    out << Words::tr("Wrote %1: %2 questions, seed %3 (--seed %3 makes the same sheet).")
               .arg(file)
               .arg(options.questions)
               .arg(options.seed)
        << '\n';
    out.flush();
    return 0;
}

}  // namespace quorvex
