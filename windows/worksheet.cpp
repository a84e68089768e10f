// SPDX-License-Identifier: MIT
#include "windows/worksheet.h"

#include "practice/practice.h"
#include "topics/bitgroups.h"
#include "topics/registry.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>
#include <cmath>

namespace quorvex {

namespace {

using workbench::Direction;
using workbench::Operation;

struct Words {
    Q_DECLARE_TR_FUNCTIONS(Worksheet)
};

QString escaped(const QString &text) { return practice::printed(text).toHtmlEscaped(); }

bool mixed(const WorksheetOptions &o) { return !o.levels.isEmpty() || o.formats.size() > 1; }

// One question of the sheet: its kind, what the workbench is given, and
// how the sheet prints it, after its direction's instruction when it is
// the first of them.
struct Item {
    practice::Kind kind;
    workbench::Calculation question;
    QString text;
    QString instruction;
};

std::vector<Item> items(const WorksheetOptions &o)
{
    std::vector<Item> out;
    if (mixed(o)) {
        std::vector<std::vector<practice::Kind>> groups;
        for (practice::Level level : o.levels)
            groups.push_back(practice::levelKinds(level));
        for (qsizetype f = 0; o.levels.isEmpty() && f < o.formats.size(); ++f) {
            std::vector<practice::Kind> kinds;
            for (Operation d : o.directions) {
                if (practice::onSheets(o.formats.at(f), d))
                    kinds.push_back({o.formats.at(f), d});
            }
            groups.push_back(kinds);
        }
        for (practice::Asked &a : practice::mixedQuestions(groups, o.questions, o.seed))
            out.push_back({a.kind, a.question, a.text, QString()});
        return out;
    }
    const Format &format = o.formats.constFirst();
    const std::vector<practice::Question> questions =
        practice::sheetQuestions(format, o.directions, o.questions, o.seed);
    // Calculations of different kinds share one instruction, said once.
    QString said;
    for (const practice::Question &q : questions) {
        const QString instruction = practice::instruction(q.direction);
        out.push_back({{format, q.direction}, q.calculation, q.text, instruction == said ? QString() : instruction});
        said = instruction;
    }
    return out;
}

// ---- The answer space -------------------------------------------------------------
// Lengths in the 1/96 inch the layout scales to the page: 642 of them
// stand between the margins of an A4 page, the caption's and a line of
// boxes' with their borders (a pixel a box and one more a group). A box is
// narrower where a pattern has more than 24 bits, so that 32 go on a line.
constexpr int captionWidth = 56, gapWidth = 12, lineWidth = 586, mostCells = 32;
// A line of handwriting.
constexpr int writingLine = 20;

QString line(const QString &label)
{
    return QStringLiteral("<p style=\"margin-top:8px; margin-bottom:0px\">") + label.toHtmlEscaped()
        + QStringLiteral(" ________________________________</p>");
}

// What the boxes of a group are labelled with: its name, "the mantissa",
// as a label, "Mantissa".
QString label(QString name)
{
    if (name.startsWith(QLatin1StringView("the ")))
        name.remove(0, 4);
    if (!name.isEmpty())
        name[0] = name.at(0).toUpper();
    return name;
}

// One box a bit, in the groups of the format, a group wider than a line
// wrapped: the groups of floating point and IEEE 754 and of sign and
// magnitude labelled, fixed point's point marked between the boxes before
// and after it, BCD's digits in fours.
QString boxes(const QString &caption, const Format &format, const std::vector<workbench::BitGroup> &groups)
{
    struct Segment {
        int cells = 0;
        QString label;
        bool point = false;  // the point stands before it
    };
    const bool labelled = groups.size() > 1 && !format.isFixed() && format.representation != Representation{"bcd"};
    std::size_t bits = 0;
    for (const workbench::BitGroup &g : groups)
        bits += g.worth.size();
    const int cellWidth = bits > 24 ? 16 : 18;
    std::vector<std::vector<Segment>> lines(1);
    int used = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        int left = int(groups[g].worth.size());
        bool first = true;
        while (left > 0) {
            const int cells = std::min(left, mostCells);
            const bool point = format.isFixed() && g > 0 && first;
            const auto wanted = [&] {
                return cells * (cellWidth + 1) + 1 + (lines.back().empty() && !point ? 0 : gapWidth);
            };
            if (!lines.back().empty() && used + wanted() > lineWidth) {
                lines.emplace_back();
                used = 0;
            }
            used += wanted();
            lines.back().push_back({cells, labelled && first ? label(groups[g].name) : QString(), point});
            left -= cells;
            first = false;
        }
    }
    const QString cell = QStringLiteral("<td width=\"%1\" style=\"font-size:13pt\">&nbsp;</td>").arg(cellWidth);
    QString html;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const std::vector<Segment> &segments = lines[l];
        QString row = QStringLiteral("<td width=\"%1\" valign=\"middle\">").arg(captionWidth)
            + (l == 0 ? caption.toHtmlEscaped() : QString()) + QStringLiteral("</td>");
        QString labels = QStringLiteral("<td></td>");
        for (std::size_t s = 0; s < segments.size(); ++s) {
            const Segment &seg = segments[s];
            if (s > 0 || seg.point) {
                row += seg.point ? QStringLiteral("<td width=\"%1\" align=\"center\" valign=\"bottom\" "
                                                  "style=\"font-size:16pt\"><b>.</b></td>")
                                       .arg(gapWidth)
                                 : QStringLiteral("<td width=\"%1\"></td>").arg(gapWidth);
                labels += QStringLiteral("<td></td>");
            }
            row += QStringLiteral("<td><table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" "
                                  "style=\"border-collapse:collapse; border-style:solid; border-color:#000\"><tr>")
                + cell.repeated(seg.cells) + QStringLiteral("</tr></table></td>");
            labels += QStringLiteral("<td align=\"center\" style=\"font-size:8pt\">") + seg.label.toHtmlEscaped()
                + QStringLiteral("</td>");
        }
        const bool anyLabel = std::any_of(segments.begin(), segments.end(), [](const Segment &s) {
            return !s.label.isEmpty();
        });
        html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" style=\"margin-top:4px\"><tr>") + row
            + QStringLiteral("</tr>") + (anyLabel ? QStringLiteral("<tr>") + labels + QStringLiteral("</tr>") : QString())
            + QStringLiteral("</table>");
    }
    return html;
}

// Where the answer goes: a box a bit for bits, grouped as the format is,
// and a labelled line for a denary number, hex or a fact.
QString answerSpace(const Item &item, const workbench::Answer &answer)
{
    const Format &f = item.kind.format;
    const Operation op = item.kind.operation;
    if (op == Operation::ToDenary)
        return line(Words::tr("Answer (denary):"));
    if (op == Operation::ToHex)
        return line(Words::tr("Answer (hex):"));
    // The pattern a value is held as, before its errors.
    const std::optional<QString> bits = op == Operation::Error
        ? workbench::answeredPattern(f, Operation::ToBinary, QString(), answer.refused,
                                     answer.text.section(QStringLiteral(" = "), 0, 0))
        : workbench::answeredPattern(f, op, item.question.operands.value(0), answer.refused, answer.text);
    const workbench::Topic *topic = workbench::topicOf(f);
    const std::vector<workbench::BitGroup> groups = bits ? workbench::patternGroups(f, bits->size())
        : topic && topic->width(f) > 0                   ? topic->groups(f)
                                                         : std::vector<workbench::BitGroup>{};
    QString html = groups.empty() ? line(Words::tr("Answer:")) : boxes(Words::tr("Answer:"), f, groups);
    // As the question asks it: whether a sum overflows, whether a product fits.
    if (op == Operation::Add || op == Operation::Subtract)
        html += line(Words::tr("Overflow (yes or no):"));
    if (op == Operation::Multiply)
        html += line(Words::tr("Fits (yes or no):"));
    if (op == Operation::Error)
        html += line(Words::tr("Absolute error:")) + line(Words::tr("Relative error:"));
    return html;
}

// The lines of room to work a question of its kind takes: a few for an
// integer's value, more for floating point in bits or an addition.
int workingLines(const Format &f, Operation op)
{
    const bool floating = f.isFloating() || f.isIeee();
    switch (op) {
    case Operation::ToBinary:
        return floating ? 5 : f.isFixed() ? 4 : 3;
    case Operation::ToDenary:
        return floating ? 4 : f.isFixed() ? 3 : 2;
    case Operation::Normalise:
        return 3;
    case Operation::ToHex:
        return 2;
    case Operation::Add:
    case Operation::Subtract:
        return floating ? 7 : 4;
    case Operation::Multiply:
    case Operation::Error:
        return 5;
    default:
        break;
    }
    return 2;  // a shift, a rotation, a mask
}

// ---- The sheet ----------------------------------------------------------------------
struct Sheet {
    std::vector<Item> items;
    std::vector<workbench::Answer> answers;
};

Sheet sheetOf(const WorksheetOptions &o)
{
    Sheet s{items(o), {}};
    for (const Item &q : s.items)
        s.answers.push_back(workbench::solve(q.kind.format, q.kind.operation, q.question));
    return s;
}

// The sheet as rich text: its questions, a page started before those
// marked in `breaks`, and its key when asked.
QString sheetHtml(const Sheet &s, const WorksheetOptions &o, const std::vector<bool> &breaks, bool key)
{
    const std::vector<Item> &questions = s.items;
    const std::vector<workbench::Answer> &answers = s.answers;
    const QString title = worksheetTitle(o).toHtmlEscaped();
    const QString sheet = Words::tr("Sheet %1").arg(o.seed);
    QString html;
    html.reserve(8192 + int(questions.size()) * 8000);
    html += QStringLiteral("<h2>") + title + QStringLiteral("</h2><p>") + Words::tr("Name:").toHtmlEscaped()
        + QStringLiteral(" ______________________________ &nbsp; &nbsp; ") + sheet + QStringLiteral("</p>");
    // Blank space of a height, as a paragraph's top margin (which the
    // layout keeps after a paragraph, not after a table).
    const QString gap = QStringLiteral("<p style=\"margin-top:%1px; margin-bottom:0px; font-size:1pt\">&nbsp;</p>");
    // A line's space after the answer's, which no margin gives after a table.
    const QString space = QStringLiteral("<p style=\"margin-top:0px; margin-bottom:0px; font-size:9pt\">&nbsp;</p>");
    // Each question is a frame of its own, which layOut() keeps on one
    // page: its instruction when it is the first of them, the question, its
    // room to work and its answer space.
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const Item &q = questions[i];
        html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"")
            + (i < breaks.size() && breaks[i] ? QStringLiteral(" style=\"page-break-before:always\"") : QString())
            + QStringLiteral("><tr><td>");
        if (!q.instruction.isEmpty())
            html += QStringLiteral("<h3 style=\"margin-top:18px\">") + q.instruction.toHtmlEscaped()
                + QStringLiteral("</h3>");
        html += QStringLiteral("<p style=\"margin-top:8px; margin-bottom:0px; font-size:12pt\"><b>%1.</b> &nbsp; ")
                    .arg(i + 1)
            + escaped(q.text)
            + QStringLiteral("</p>") + gap.arg(writingLine * workingLines(q.kind.format, q.kind.operation))
            + answerSpace(q, answers[i]) + space + QStringLiteral("</td></tr></table>");
    }
    if (!key)
        return html;
    html += QStringLiteral("<h2 style=\"page-break-before:always\">") + Words::tr("Answers").toHtmlEscaped()
        + QStringLiteral("</h2><p>") + title + QStringLiteral(" &nbsp; ") + sheet + QStringLiteral("</p>");
    for (std::size_t i = 0; i < questions.size(); ++i) {
        html += QStringLiteral("<h3 style=\"margin-top:20px\">%1. ").arg(i + 1) + escaped(questions[i].text)
            + QStringLiteral(" &nbsp; ") + Words::tr("Answer:").toHtmlEscaped() + QStringLiteral(" ")
            + escaped(answers[i].text) + QStringLiteral("</h3>") + answers[i].workingHtml;
    }
    return html;
}

// ---- The pages ------------------------------------------------------------------------
// 2 cm, in the 1/96 inch the layout scales to the page.
constexpr qreal margin = 2 / 2.54 * 96;

QFont sheetFont()
{
    // The sheet is set in the family the program installs, not the
    // desktop's, so that it is laid out the same on every machine.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10);
    return font;
}

void setUp(QTextDocument &document, QPagedPaintDevice &device, const QString &html, qreal pageHeight)
{
    document.setDefaultFont(sheetFont());
    document.documentLayout()->setPaintDevice(&device);
    document.setHtml(html);
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.setMargin(margin);
    document.rootFrame()->setFrameFormat(root);
    document.setPageSize(QSizeF(device.width(), pageHeight));
}

// The sheet on the device's pages: a question that would run over a
// page's end starts the next page, with its room to work and its answer
// space. The questions are measured once on one endless page and the pages
// cut from that: a break moves what follows it by as much as it skips.
void layOut(QTextDocument &document, QPagedPaintDevice &device, const WorksheetOptions &options)
{
    const Sheet sheet = sheetOf(options);
    const qreal page = device.height(), edge = margin * device.logicalDpiY() / 96;
    std::vector<bool> breaks(sheet.items.size(), false);
    {
        QTextDocument measure;
        setUp(measure, device, sheetHtml(sheet, options, {}, false), 1e9);
        // The sheet's questions are its frames, one each.
        const QList<QTextFrame *> frames = measure.rootFrame()->childFrames();
        qreal shift = 0;  // how far the breaks so far move what follows
        for (qsizetype i = 0; i < std::min(qsizetype(breaks.size()), frames.size()); ++i) {
            const QRectF r = measure.documentLayout()->frameBoundingRect(frames[i]).translated(0, shift);
            const qreal pageTop = std::floor(r.top() / page) * page;
            if (r.bottom() <= pageTop + page - edge || r.top() <= pageTop + edge + 1)
                continue;
            breaks[std::size_t(i)] = true;
            shift += pageTop + page + edge - r.top();
        }
    }
    setUp(document, device, sheetHtml(sheet, options, breaks, true), page);
}

}  // namespace

QString worksheetProblem(const WorksheetOptions &o)
{
    if (o.questions < 1 || o.questions > worksheetMostQuestions)
        return Words::tr("A worksheet has 1 to %1 questions.").arg(worksheetMostQuestions);
    if (!o.levels.isEmpty())
        return QString();
    if (o.formats.isEmpty())
        return Words::tr("Choose at least one format.");
    for (const Format &f : o.formats) {
        if (workbench::work(f, Direction::Range, QString()).refused)
            return Words::tr("This format is not offered: integers have 1 to 64 bits; fixed point 0 to 32 bits each "
                             "side of the point, at least 1 in all; floating point a 2- to 64-bit mantissa and a 2- "
                             "to 12-bit exponent.");
    }
    if (o.directions.isEmpty())
        return Words::tr("Choose at least one kind of question.");
    for (Direction d : o.directions) {
        if (d == Direction::Range)
            return Words::tr("The range is not a worksheet question.");
        if (d == Direction::Compare || d == Direction::Convert)
            return Words::tr("A question between two formats (%1) is not a worksheet question.")
                .arg(workbench::operationName(d));
        if (std::none_of(o.formats.begin(), o.formats.end(), [d](const Format &f) { return practice::onSheets(f, d); }))
            return d == Direction::Normalise ? Words::tr("Only floating point is normalised; choose a floating-point format.")
                : o.formats.size() == 1      ? Words::tr("This format has no %1 questions.").arg(workbench::operationName(d))
                                             : Words::tr("None of these formats has %1 questions.").arg(workbench::operationName(d));
    }
    for (const Format &f : o.formats) {
        if (std::none_of(o.directions.begin(), o.directions.end(), [&f](Direction d) { return practice::onSheets(f, d); }))
            return Words::tr("%1 has none of these kinds of question.").arg(workbench::formatName(f));
    }
    return QString();
}

QString worksheetTitle(const WorksheetOptions &o)
{
    QStringList parts;
    for (practice::Level level : o.levels)
        parts << practice::levelTitle(level);
    for (qsizetype f = 0; o.levels.isEmpty() && f < o.formats.size(); ++f)
        parts << practice::formatTitle(o.formats.at(f));
    return mixed(o) ? Words::tr("Mixed questions: %1").arg(parts.join(o.levels.isEmpty() ? QStringLiteral("; ")
                                                                                           : QStringLiteral(", ")))
                    : parts.value(0);
}

QString worksheetHtml(const WorksheetOptions &o, bool withKey) { return sheetHtml(sheetOf(o), o, {}, withKey); }

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
        // The document keeps a margin of its own and numbers the pages.
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        pdf.setTitle(Words::tr("Worksheet: %1").arg(worksheetTitle(options)));
        pdf.setCreator(QStringLiteral("Quorvex"));
        QTextDocument document;
        layOut(document, pdf, options);
        const QSizeF page = document.pageSize();
        const qreal edge = margin * pdf.logicalDpiY() / 96;
        QPainter painter(&pdf);
        painter.setFont(sheetFont());
        for (int k = 0; k < document.pageCount(); ++k) {
            if (k > 0)
                pdf.newPage();
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = QRectF(0, k * page.height(), page.width(), page.height());
            painter.save();
            painter.translate(0, -k * page.height());
            painter.setClipRect(context.clip);
            document.documentLayout()->draw(&painter, context);
            painter.restore();
            painter.drawText(QRectF(0, page.height() - edge, page.width() - edge, edge / 2),
                             Qt::AlignRight | Qt::AlignVCenter, QString::number(k + 1));
        }
    }
    if (out.error() != QFileDevice::NoError || !out.commit())
        return fail(Words::tr("cannot write %1: %2").arg(file, out.errorString()));
    return true;
}

}  // namespace quorvex
