// SPDX-License-Identifier: MIT
// The levels a student revises at, and the questions of each: which
// formats and operations an exam of that level sets, so that a run of
// questions or a mixed worksheet can be drawn from them.
#pragma once

#include "practice/practice.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace quorvex::practice {

enum class Level { Gcse, ALevel, University };

// "gcse", "a-level", "university"; the level box's items "GCSE", "A level",
// "University".
QString levelName(Level level);
std::optional<Level> levelNamed(QStringView name);
QString levelTitle(Level level);
QList<Level> allLevels();

// One kind of question: an operation in a format.
struct Kind {
    Format format;
    workbench::Operation operation = workbench::Operation::ToBinary;
};
// The kinds a level sets, the commonest first; only those the program has.
std::vector<Kind> levelKinds(Level level);

// A question of one kind, its operands as the workbench takes them, and the
// question in words.
struct Asked {
    Kind kind;
    workbench::Calculation question;
    QString text;
};
Asked newQuestionOf(const Kind &kind, QRandomGenerator &rng);

// A mixed sheet's `count` questions: the groups in turn (each level's
// kinds, or each format's), so that each has an even share, and each
// group's kinds in turn; no question twice where the kinds have enough. The
// same arguments give the same questions.
std::vector<Asked> mixedQuestions(const std::vector<std::vector<Kind>> &groups, int count, quint32 seed);

}  // namespace quorvex::practice
