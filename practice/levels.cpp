// SPDX-License-Identifier: MIT
#include "practice/levels.h"

#include "practice/calculations.h"
#include "topics/registry.h"

#include <QSet>

namespace quorvex::practice {

using workbench::Operation;

namespace {

struct Named {
    Level level;
    const char16_t *name;
};
constexpr Named names[] = {{Level::Gcse, u"gcse"}, {Level::ALevel, u"a-level"}, {Level::University, u"university"}};

// What each level's papers ask, by format name and operation. GCSE: 8-bit
// unsigned binary, two hex digits, addition with overflow and shifts; A
// level: two's complement, fixed and floating point, patterns up to 16
// bits, masks; a first university course: wider integers, the other codes
// and IEEE 754.
struct Row {
    Level level;
    const char16_t *format;
    workbench::Operation operation;
};
constexpr Row rows[] = {
    {Level::Gcse, u"int:8", Operation::ToBinary},
    {Level::Gcse, u"int:8", Operation::ToDenary},
    {Level::Gcse, u"int:8", Operation::ToHex},
    {Level::Gcse, u"int:8", Operation::Add},
    {Level::Gcse, u"int:8", Operation::ShiftLeft},
    {Level::Gcse, u"int:8", Operation::ShiftRight},
    {Level::ALevel, u"int-signed:8", Operation::ToBinary},
    {Level::ALevel, u"int-signed:8", Operation::ToDenary},
    {Level::ALevel, u"int-signed:8", Operation::Subtract},
    {Level::ALevel, u"int-signed:8", Operation::Add},
    {Level::ALevel, u"int:16", Operation::ToHex},
    {Level::ALevel, u"fixed:4.4", Operation::ToBinary},
    {Level::ALevel, u"fixed-signed:4.4", Operation::ToDenary},
    {Level::ALevel, u"float:8:4", Operation::ToBinary},
    {Level::ALevel, u"float:8:4", Operation::ToDenary},
    {Level::ALevel, u"float:8:4", Operation::Normalise},
    {Level::ALevel, u"float:8:4", Operation::Add},
    {Level::ALevel, u"float:10:6", Operation::ToDenary},
    {Level::ALevel, u"int-signmag:8", Operation::ToBinary},
    {Level::ALevel, u"bcd:3", Operation::ToBinary},
    {Level::ALevel, u"int:8", Operation::And},
    {Level::ALevel, u"int-signed:8", Operation::ShiftRight},
    {Level::University, u"int-signed:16", Operation::ToBinary},
    {Level::University, u"int-signed:16", Operation::Multiply},
    {Level::University, u"int-ones:8", Operation::Add},
    {Level::University, u"ieee:single", Operation::ToBinary},
    {Level::University, u"ieee:single", Operation::ToDenary},
    {Level::University, u"ieee:half", Operation::ToBinary},
    {Level::University, u"ieee:half", Operation::ToDenary},
    {Level::University, u"int:32", Operation::ToHex},
};

}  // namespace

QList<Level> allLevels() { return {Level::Gcse, Level::ALevel, Level::University}; }

QString levelName(Level level)
{
    for (const Named &n : names) {
        if (n.level == level)
            return QString::fromUtf16(n.name);
    }
    return QString();
}

std::optional<Level> levelNamed(QStringView name)
{
    for (const Named &n : names) {
        if (name == QStringView(n.name))
            return n.level;
    }
    return std::nullopt;
}

QString levelTitle(Level level)
{
    switch (level) {
    case Level::Gcse:
        return Words::tr("GCSE");
    case Level::ALevel:
        return Words::tr("A level");
    case Level::University:
        break;
    }
    return Words::tr("University");
}

std::vector<Kind> levelKinds(Level level)
{
    std::vector<Kind> out;
    for (const Row &r : rows) {
        if (r.level != level)
            continue;
        QString why;
        const std::optional<Format> f = workbench::parseFormat(QString::fromUtf16(r.format), &why);
        const workbench::Topic *topic = f ? workbench::topicOf(*f) : nullptr;
        if (topic && (topic->operations().contains(r.operation) || topic->calculations().contains(r.operation)))
            out.push_back({*f, r.operation});
    }
    return out;
}

Asked newQuestionOf(const Kind &kind, QRandomGenerator &rng)
{
    Asked a{kind, {}, QString()};
    if (workbench::isCalculation(kind.operation)) {
        a.question = newCalculation(kind.format, kind.operation, rng);
        a.text = askedCalculation(kind.format, kind.operation, a.question);
    } else {
        a.question.operands << newQuestion(kind.format, kind.operation, rng);
        a.text = questionText(kind.format, kind.operation, a.question.operands.constFirst());
    }
    return a;
}

std::vector<Asked> mixedQuestions(const std::vector<std::vector<Kind>> &groups, int count, quint32 seed)
{
    std::vector<Asked> out;
    QRandomGenerator rng(seed);
    QSet<QString> seen;
    const auto groupCount = qsizetype(groups.size());
    for (int i = 0; i < count && groupCount > 0; ++i) {
        const std::vector<Kind> &kinds = groups.at(std::size_t(i % groupCount));
        if (kinds.empty())
            continue;
        // Each group starts its kinds one further on than the group before,
        // so that a short sheet of many groups still asks every kind.
        const Kind &kind = kinds.at(std::size_t(i / groupCount + i % groupCount) % kinds.size());
        Asked a = newQuestionOf(kind, rng);
        for (int attempt = 0; attempt < 10 && seen.contains(a.text); ++attempt)
            a = newQuestionOf(kind, rng);
        seen.insert(a.text);
        out.push_back(std::move(a));
    }
    return out;
}

}  // namespace quorvex::practice
