// SPDX-License-Identifier: MIT
// Worksheets: new questions on A4 pages, a question sheet with room to work
// sized to each question and answer boxes as exam papers print them, then
// an answer key on a new page with each answer's working. The questions are
// in one format, in several (a mixed sheet, each question said in words) or
// of one or more levels' kinds. Needs a QGuiApplication (fonts and the PDF
// writer); no window is shown.
#pragma once

#include "conversions/format.h"
#include "practice/levels.h"
#include "topics/workbench.h"

#include <QList>
#include <QString>

namespace quorvex {

struct WorksheetOptions {
    // With more than one format the sheet is mixed: the formats in turn,
    // each question said in words.
    QList<Format> formats{Format{.representation = Representation::Floating, .mantissa = 8, .exponent = 4}};
    int questions = 20;
    // What is asked; each format takes those it has. In one format each
    // direction's questions stand together under its instruction.
    QList<workbench::Operation> directions{workbench::Operation::ToBinary, workbench::Operation::ToDenary};
    quint32 seed = 0;  // the same seed and choices give the same questions
    // A mixed sheet of these levels' kinds, in place of the formats'.
    QList<practice::Level> levels;
};

inline constexpr int worksheetMostQuestions = 500;

// Why the options cannot make a sheet, in one sentence; empty when they can.
QString worksheetProblem(const WorksheetOptions &options);

// The sheet's heading: the format's, or what a mixed sheet mixes.
QString worksheetTitle(const WorksheetOptions &options);

// The sheet and (when asked) its key as rich text, the key starting on a
// new page.
QString worksheetHtml(const WorksheetOptions &options, bool withKey = true);

// Writes the sheet as an A4 PDF to `file`, through a temporary file beside
// it that takes its place only when all is written: on failure nothing is
// left and `error` (when given) says why.
bool writeWorksheet(const WorksheetOptions &options, const QString &file, QString *error = nullptr);

}  // namespace quorvex
