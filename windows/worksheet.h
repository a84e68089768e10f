// SPDX-License-Identifier: MIT
// Worksheets: new questions in one format on A4 pages, a question sheet with
// room to work, then an answer key on a new page with each answer's working.
// Needs a QGuiApplication (fonts and the PDF writer); no window is shown.
#pragma once

#include "conversions/format.h"
#include "practice/levels.h"
#include "topics/workbench.h"

#include <QList>
#include <QString>

namespace quorvex {

struct WorksheetOptions {
    Format format{.representation = Representation::Floating, .mantissa = 8, .exponent = 4};
    int questions = 20;
    // Normalise only for floating point; each direction's questions together.
    QList<workbench::Direction> directions{workbench::Direction::ToBinary, workbench::Direction::ToDenary};
    quint32 seed = 0;  // the same seed and choices give the same questions
    // A mixed sheet: the questions of a level's kinds, each said in words,
    // in place of one format's.
    std::optional<practice::Level> level;
};

inline constexpr int worksheetMostQuestions = 500;

// Why the options cannot make a sheet, in one sentence; empty when they can.
QString worksheetProblem(const WorksheetOptions &options);

// The sheet and its key as rich text, the key starting on a new page.
QString worksheetHtml(const WorksheetOptions &options);

// Writes the sheet as an A4 PDF to `file`, through a temporary file beside
// it that takes its place only when all is written: on failure nothing is
// left and `error` (when given) says why.
bool writeWorksheet(const WorksheetOptions &options, const QString &file, QString *error = nullptr);

}  // namespace quorvex
