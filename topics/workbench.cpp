// SPDX-License-Identifier: MIT
#include "topics/workbench.h"

#include "engine/methods.h"
#include "topics/registry.h"

namespace quorvex::workbench {

namespace {

// The words of a format no topic has: only its refusal is said.
class NoTopic final : public Topic {
public:
    Representation representation() const override { return {}; }
    QString title() const override { return QString(); }
    QString usage() const override { return QString(); }
    QString usageHelp() const override { return QString(); }
    std::optional<Format> parse(QStringView, QString *) const override { return std::nullopt; }
    QString name(const Format &) const override { return QString(); }
    QList<Width> widths() const override { return {}; }
    bool offered(const Format &) const override { return false; }
    QList<Operation> operations() const override { return {}; }
    QString describe(const Format &) const override { return QString(); }
    QString heading(const Format &) const override { return QString(); }
    QString written(const Format &, const QString &bits) const override { return bits; }
    QString printed(const Format &, const QString &bits) const override { return bits; }
    QString wrongCount(const Words &, qsizetype) const override { return QString(); }
    Worked solve(const Format &, Operation, const QString &) const override
    {
        return refuse({}, make(step::BadFormat{}));
    }
    exact::Number valueOf(const Format &, const QString &) const override { return {}; }
    QString pointProblem(const practice::BitsMarking &) const override { return QString(); }
    std::vector<practice::Candidate> candidates(const practice::BitsMarking &) const override { return {}; }
    QString sentence(const practice::BitsMarking &, practice::Mistake) const override { return QString(); }
    qsizetype stepFor(const practice::BitsMarking &, practice::Mistake) const override { return 0; }
    std::vector<practice::Misreading> misreadings(const practice::NumberMarking &) const override { return {}; }
    QString sentence(const practice::NumberMarking &, const practice::Misreading &) const override { return QString(); }
    qsizetype stepFor(const practice::NumberMarking &, const practice::Misreading &) const override { return 0; }
    QString newQuestion(const Format &, Operation, QRandomGenerator &) const override { return QString(); }
};

const Topic &topicFor(const Format &format)
{
    static const NoTopic none;
    const Topic *t = topicOf(format);
    return t ? *t : none;
}

}  // namespace

Worked work(const Format &format, Direction direction, const QString &input)
{
    // A calculation asked with one operand is worked as one.
    if (isCalculation(direction))
        return work(format, direction, Calculation{{input}, 0, std::nullopt, std::nullopt});
    const Topic &topic = topicFor(format);
    if (!topic.offered(format))
        return refuse({}, make(step::BadFormat{}));
    // Normalising outside floating point says so in words of its own.
    if (direction != Direction::Normalise && !topic.operations().contains(direction)
        && !topic.calculations().contains(direction))
        return refuse({}, make(step::NoOperation{operationTitle(direction)}));
    return topic.solve(format, direction, input);
}

Worked work(const Format &format, Operation operation, const Calculation &calculation)
{
    if (!isCalculation(operation))
        return work(format, operation, calculation.operands.value(0));
    const Topic &topic = topicFor(format);
    if (!topic.offered(format))
        return refuse({}, make(step::BadFormat{}));
    if (!topic.calculations().contains(operation))
        return refuse({}, make(step::NoOperation{operationTitle(operation)}));
    return topic.calculate(format, operation, calculation);
}

Worked work(const Format &format, Operation operation, const QStringList &operands, int places)
{
    return work(format, operation, Calculation{operands, places, std::nullopt, std::nullopt});
}

namespace {

Answer said(const Format &format, const Worked &o)
{
    const Topic &topic = topicFor(format);
    const QString text = o.refused ? refusalSentence(format, topic, o.steps.back()) : o.text;
    return {o.refused, text, workingHtml(format, topic, o.steps)};
}

}  // namespace

Answer solve(const Format &format, Direction direction, const QString &input)
{
    return said(format, work(format, direction, input));
}

Answer solve(const Format &format, Operation operation, const Calculation &calculation)
{
    return said(format, work(format, operation, calculation));
}

Answer solve(const Format &format, Operation operation, const QStringList &operands, int places)
{
    return said(format, work(format, operation, operands, places));
}

HandAnswer handAnswer(const Format &format, const QString &denary)
{
    const Worked o = work(format, Direction::ToBinary, denary);
    HandAnswer h;
    h.refused = o.refused;
    if (o.refused)
        return h;
    h.bits = o.text;
    // Integers and zero hold what was typed.
    h.value = o.held ? o.held->toDecimal() : exact::readDecimal(denary).value.toDecimal();
    return h;
}

QString workingHtml(const Format &format, const Steps &steps)
{
    return workbench::workingHtml(format, topicFor(format), steps);
}

QString refusalText(const Format &format, const Step &refusal)
{
    return refusalSentence(format, topicFor(format), refusal);
}

QString patternText(const Format &format, const QString &bits) { return topicFor(format).written(format, bits); }

}  // namespace quorvex::workbench
