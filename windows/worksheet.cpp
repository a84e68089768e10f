// SPDX-License-Identifier: MIT
#include "windows/worksheet.h"

#include "practice/practice.h"
#include "topics/registry.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTextDocument>

namespace quorvex {

namespace {

using workbench::Direction;

struct Words {
    Q_DECLARE_TR_FUNCTIONS(Worksheet)
};

QString escaped(const QString &text) { return practice::printed(text).toHtmlEscaped(); }

}  // namespace

QString worksheetProblem(const WorksheetOptions &o)
{
    if (o.level) {
        if (o.questions < 1 || o.questions > worksheetMostQuestions)
            return Words::tr("A worksheet has 1 to %1 questions.").arg(worksheetMostQuestions);
        return QString();
    }
    if (workbench::work(o.format, Direction::Range, QString()).refused)
        return Words::tr("This format is not offered: integers have 1 to 64 bits; fixed point 0 to 32 bits each "
                         "side of the point, at least 1 in all; floating point a 2- to 64-bit mantissa and a 2- to "
                         "12-bit exponent.");
    if (o.questions < 1 || o.questions > worksheetMostQuestions)
        return Words::tr("A worksheet has 1 to %1 questions.").arg(worksheetMostQuestions);
    if (o.directions.isEmpty())
        return Words::tr("Choose at least one kind of question.");
    for (Direction d : o.directions) {
        if (d == Direction::Range)
            return Words::tr("The range is not a worksheet question.");
        if (!workbench::topicOf(o.format)->operations().contains(d))
            return d == Direction::Normalise
                ? Words::tr("Only floating point is normalised; choose a floating-point format.")
                : Words::tr("This format has no such questions.");
    }
    return QString();
}

namespace {

// A mixed sheet: the level's kinds in turn, each question said in words,
// then the key with each answer's working.
QString mixedHtml(const WorksheetOptions &o)
{
    const std::vector<practice::Kind> kinds = practice::levelKinds(*o.level);
    QRandomGenerator rng(o.seed);
    std::vector<practice::Asked> questions;
    for (int i = 0; i < o.questions; ++i)
        questions.push_back(practice::newQuestionOf(kinds.at(std::size_t(i) % kinds.size()), rng));
    const QString title = Words::tr("Mixed questions: %1").arg(practice::levelTitle(*o.level)).toHtmlEscaped();
    const QString sheet = Words::tr("Sheet %1").arg(o.seed);
    QString html = QStringLiteral("<h2>") + title + QStringLiteral("</h2><p>") + Words::tr("Name:").toHtmlEscaped()
        + QStringLiteral(" ______________________________ &nbsp; &nbsp; ") + sheet + QStringLiteral("</p>");
    // Each question with its room to work; a page holds eight.
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const bool pageBreak = i > 0 && i % 8 == 7;
        html += QStringLiteral("<p style=\"margin-top:12px; font-size:12pt;")
            + (pageBreak ? QStringLiteral(" page-break-before:always;") : QString())
            + QStringLiteral("\"><b>%1.</b> &nbsp; ").arg(i + 1) + escaped(questions[i].text)
            + QStringLiteral("</p><p style=\"margin-top:64px; margin-bottom:8px\">")
            + Words::tr("Answer:").toHtmlEscaped() + QStringLiteral(" ________________________________</p>");
    }
    html += QStringLiteral("<h2 style=\"page-break-before:always\">") + Words::tr("Answers").toHtmlEscaped()
        + QStringLiteral("</h2><p>") + title + QStringLiteral(" &nbsp; ") + sheet + QStringLiteral("</p>");
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const practice::Asked &q = questions[i];
        const workbench::Answer a = workbench::isCalculation(q.kind.operation)
            ? workbench::solve(q.kind.format, q.kind.operation, q.question)
            : workbench::solve(q.kind.format, q.kind.operation, q.question.operands.value(0));
        html += QStringLiteral("<h3 style=\"margin-top:20px\">%1. ").arg(i + 1) + escaped(q.text)
            + QStringLiteral(" &nbsp; ") + Words::tr("Answer:").toHtmlEscaped() + QStringLiteral(" ")
            + escaped(a.text) + QStringLiteral("</h3>") + a.workingHtml;
    }
    return html;
}

}  // namespace

QString worksheetHtml(const WorksheetOptions &o)
{
    if (o.level)
        return mixedHtml(o);
    const std::vector<practice::Question> questions =
        practice::sheetQuestions(o.format, o.directions, o.questions, o.seed);
    const QString title = practice::formatTitle(o.format).toHtmlEscaped();
    const QString sheet = Words::tr("Sheet %1").arg(o.seed);
    QString html;
    html.reserve(8192 + int(questions.size()) * 6000);
    html += QStringLiteral("<h2>") + title + QStringLiteral("</h2>");
    html += QStringLiteral("<p>") + Words::tr("Name:").toHtmlEscaped()
        + QStringLiteral(" ______________________________ &nbsp; &nbsp; ") + sheet + QStringLiteral("</p>");
    // The pages are laid out here, a question with its room to work and its
    // answer line never parted: a question takes one unit of a page's eight,
    // a heading a little over half, the sheet's title one.
    constexpr double pageUnits = 8, questionUnits = 1, headingUnits = 0.6;
    double used = 1;
    for (size_t i = 0; i < questions.size(); ++i) {
        const practice::Question &q = questions[i];
        const bool heading = i == 0 || questions[i - 1].direction != q.direction;
        const double wrapped = 0.15 * double(q.text.size() / 72);  // a long pattern takes a second line
        const double need = questionUnits + wrapped + (heading ? headingUnits : 0);
        const QString pageBreak = used + need > pageUnits ? QStringLiteral(" page-break-before:always;") : QString();
        used = (pageBreak.isEmpty() ? used : 0) + need;
        if (heading)
            html += QStringLiteral("<h3 style=\"margin-top:18px;") + pageBreak + QStringLiteral("\">")
                + practice::instruction(q.direction).toHtmlEscaped() + QStringLiteral("</h3>");
        html += QStringLiteral("<p style=\"margin-top:12px; font-size:12pt;") + (heading ? QString() : pageBreak)
            + QStringLiteral("\"><b>%1.</b> &nbsp; ").arg(i + 1) + escaped(q.text)
            + QStringLiteral("</p><p style=\"margin-top:64px; margin-bottom:8px\">") + Words::tr("Answer:").toHtmlEscaped()
            + QStringLiteral(" ________________________________</p>");
    }
    html += QStringLiteral("<h2 style=\"page-break-before:always\">") + Words::tr("Answers").toHtmlEscaped()
        + QStringLiteral("</h2><p>") + title + QStringLiteral(" &nbsp; ") + sheet + QStringLiteral("</p>");
    for (size_t i = 0; i < questions.size(); ++i) {
        const practice::Question &q = questions[i];
        const workbench::Answer a = workbench::solve(o.format, q.direction, q.text);
        html += QStringLiteral("<h3 style=\"margin-top:20px\">%1. ").arg(i + 1) + escaped(q.text)
            + QStringLiteral(" &nbsp; ") + Words::tr("Answer:").toHtmlEscaped() + QStringLiteral(" ") + escaped(a.text)
            + QStringLiteral("</h3>") + a.workingHtml;
    }
    return html;
}

bool writeWorksheet(const WorksheetOptions &options, const QString &file, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (const QString problem = worksheetProblem(options); !problem.isEmpty())
        return fail(problem);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return fail(Words::tr("cannot write %1: %2").arg(file, out.errorString()));
    {
        QPdfWriter pdf(&out);
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        // The document keeps a margin of its own (2 cm) and numbers the pages.
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        pdf.setTitle(Words::tr("Worksheet: %1")
                         .arg(options.level ? practice::levelTitle(*options.level)
                                            : practice::formatTitle(options.format)));
        pdf.setCreator(QStringLiteral("Quorvex"));
        QTextDocument document;
        // The sheet is set in the family the program installs, not the
        // desktop's, so that it is laid out the same on every machine.
        QFont font(QStringLiteral("Liberation Sans"));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(10);
        document.setDefaultFont(font);
        document.setHtml(worksheetHtml(options));
        document.print(&pdf);
    }
    if (out.error() != QFileDevice::NoError || !out.commit())
        return fail(Words::tr("cannot write %1: %2").arg(file, out.errorString()));
    return true;
}

}  // namespace quorvex
