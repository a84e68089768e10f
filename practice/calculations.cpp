// SPDX-License-Identifier: MIT
#include "practice/calculations.h"

#include "engine/bitpattern.h"
#include "engine/words.h"
#include "topics/registry.h"

#include <algorithm>
#include <cstdlib>

namespace quorvex::practice {

namespace {

using workbench::Calculation;
using workbench::Worked;

// An answer as typed: its bits (the point left out) and the fact after
// them, when one is given.
struct Typed {
    QString bits;
    std::optional<bool> overflow;
    bool unreadable = false;
};

Typed readAnswer(const QString &answer)
{
    Typed t;
    const QString lower = answer.toLower();
    if (lower.contains(QLatin1StringView("no overflow")))
        t.overflow = false;
    else if (lower.contains(QLatin1StringView("overflow")) || lower.contains(QLatin1StringView("below 0")))
        t.overflow = true;
    for (QChar c : answer) {
        if (c.isLetter())
            break;
        if (c == u'0' || c == u'1')
            t.bits += c;
        else if (c != u'.' && c != u',' && !c.isSpace())
            t.unreadable = true;
    }
    t.unreadable = t.unreadable || t.bits.isEmpty();
    return t;
}

QString bitsOf(const Worked &w)
{
    QString bits = w.text.section(u',', 0, 0);
    bits.remove(u'.');
    return bits;
}

std::optional<bool> factOf(const Worked &w)
{
    const QString fact = w.text.section(u',', 1).trimmed();
    if (fact.isEmpty())
        return std::nullopt;
    return fact != QLatin1StringView("no overflow");
}

// The answer a faulty method gives, worked by the engine on the question
// changed as the slip changes it.
struct Slip {
    Mistake mistake;
    QString bits;
};

QString bitwise(const QStringList &rows, bool (*rule)(int ones, int count))
{
    QString out(rows.front().size(), u'0');
    for (qsizetype i = 0; i < out.size(); ++i) {
        int ones = 0;
        for (const QString &r : rows)
            ones += r.at(i) == u'1';
        out[i] = rule(ones, int(rows.size())) ? u'1' : u'0';
    }
    return out;
}

std::vector<Slip> slips(const Format &f, Operation op, const Calculation &c, const QStringList &operandBits)
{
    std::vector<Slip> out;
    const auto worked = [&](Operation o, QStringList operands, std::optional<bool> arithmetic = std::nullopt) {
        Calculation changed = c;
        changed.operands = std::move(operands);
        if (arithmetic)
            changed.arithmetic = arithmetic;
        const Worked w = workbench::work(f, o, changed);
        return w.refused ? QString() : bitsOf(w);
    };
    switch (op) {
    case Operation::Add:
        out.push_back({Mistake::CarryDropped, bitwise(operandBits, [](int ones, int) { return ones % 2 == 1; })});
        break;
    case Operation::Subtract: {
        // b - a: the first number negated; where the first is the smaller,
        // the same bits are the smaller taken from the larger, sign lost.
        const workbench::Topic &topic = *workbench::topicOf(f);
        const bool smallerFirst = topic.valueOf(f, operandBits.value(0)) < topic.valueOf(f, operandBits.value(1));
        out.push_back({smallerFirst ? Mistake::MagnitudesSubtracted : Mistake::WrongOperandNegated,
                       worked(op, {operandBits.value(1), operandBits.value(0)})});
        out.push_back({Mistake::InvertedOnly,
                       worked(Operation::Add, {operandBits.value(0), patterns::inverted(operandBits.value(1))})});
        break;
    }
    case Operation::ShiftLeft:
    case Operation::ShiftRight:
    case Operation::RotateLeft:
    case Operation::RotateRight: {
        const bool left = op == Operation::ShiftLeft || op == Operation::RotateLeft;
        const bool rotate = op == Operation::RotateLeft || op == Operation::RotateRight;
        const Operation other = rotate ? (left ? Operation::RotateRight : Operation::RotateLeft)
                                       : (left ? Operation::ShiftRight : Operation::ShiftLeft);
        out.push_back({Mistake::ShiftWrongWay, worked(other, operandBits)});
        if (op == Operation::ShiftRight && f.isSigned() && c.arithmetic.value_or(true))
            out.push_back({Mistake::LogicalForArithmetic, worked(op, operandBits, false)});
        const Operation swapped = rotate ? (left ? Operation::ShiftLeft : Operation::ShiftRight)
                                         : (left ? Operation::RotateLeft : Operation::RotateRight);
        out.push_back({Mistake::RotateForShift, worked(swapped, operandBits)});
        break;
    }
    case Operation::And:
    case Operation::Or:
    case Operation::Xor:
        for (Operation o : {Operation::And, Operation::Or, Operation::Xor}) {
            if (o != op)
                out.push_back({Mistake::MaskSwapped, worked(o, operandBits)});
        }
        break;
    default:
        break;
    }
    return out;
}

QString sentence(Mistake m, Operation op, const QString &right)
{
    QString why;
    switch (m) {
    case Mistake::CarryDropped:
        why = Words::tr("Your answer adds each column on its own and carries nothing: where a column adds to 2 or "
                        "more, write what is left and carry 1 into the next column to the left.");
        break;
    case Mistake::CarryOutKept:
        why = Words::tr("Your answer keeps the carry out of the leftmost column as one bit more than the format "
                        "has: the result keeps the format's width, so that carry is dropped (and says whether it "
                        "overflowed).");
        break;
    case Mistake::OverflowMissed:
        why = Words::tr("Your bits are right, but the true result does not fit in the format: say that it "
                        "overflows.");
        break;
    case Mistake::OverflowClaimed:
        why = Words::tr("Your bits are right, but there is no overflow: the true result fits in the format (in "
                        "two's complement a carry out of the leftmost bit alone is not an overflow).");
        break;
    case Mistake::WrongOperandNegated:
        why = Words::tr("Your answer negates the first number, not the second: that is the second less the "
                        "first. Take the two's complement of the number taken away.");
        break;
    case Mistake::InvertedOnly:
        why = Words::tr("Your answer inverts the second number but does not add 1: its two's complement is "
                        "every bit inverted and then 1 added.");
        break;
    case Mistake::MagnitudesSubtracted:
        why = Words::tr("Your answer takes the smaller number from the larger and loses the sign: the first "
                        "number is the smaller, so the difference is negative.");
        break;
    case Mistake::ShiftWrongWay:
        why = Words::tr("Your answer moves the bits the other way: %1 moves them to the %2.")
                  .arg(workbench::operationTitle(op),
                       op == Operation::ShiftLeft || op == Operation::RotateLeft ? Words::tr("left") : Words::tr("right"));
        break;
    case Mistake::LogicalForArithmetic:
        why = Words::tr("Your answer brings 0s in at the left, a logical shift: an arithmetic shift right copies "
                        "the sign bit in, so that a negative number stays negative.");
        break;
    case Mistake::RotateForShift:
        why = op == Operation::RotateLeft || op == Operation::RotateRight
            ? Words::tr("Your answer shifts the bits and loses those off the end: a rotate brings them back in at "
                        "the other end.")
            : Words::tr("Your answer rotates the bits, bringing those off one end back in at the other: a shift "
                        "loses them and brings in 0s (or copies of the sign).");
        break;
    case Mistake::MaskSwapped:
        why = Words::tr("Your answer applies another rule bit by bit: AND gives 1 only where both bits are 1, OR "
                        "where either is, XOR where they differ.");
        break;
    case Mistake::WrongCount:
        why = Words::tr("Your answer has the wrong number of bits: the result has as many as the format.");
        break;
    case Mistake::Unreadable:
        return Words::tr("Write the result as bits (and, for a sum or difference, whether it overflows).");
    default:
        why = Words::tr("That is not the result.");
        break;
    }
    return why + u' ' + Words::tr("The right answer is %1.").arg(right);
}

}  // namespace

Verdict markCalculation(const Format &format, Operation operation, const Calculation &calculation,
                        const QString &answer)
{
    const Worked right = workbench::work(format, operation, calculation);
    if (right.refused) {
        QString why = workbench::refusalText(format, right.steps.back());
        if (!why.endsWith(u'.'))
            why += u'.';
        return {false, Mistake::QuestionRefused, Words::tr("This question has no answer in this format: %1").arg(why),
                workbench::workingHtml(format, right.steps)};
    }
    // A topic with marking of its own (floating point's arithmetic, an
    // error, a comparison) marks its answer.
    const workbench::Topic &topic = *workbench::topicOf(format);
    if (const std::optional<workbench::Topic::CalculationMark> m =
            topic.markCalculation(format, operation, calculation, answer, right))
        return {m->right, m->right ? Mistake::None : m->mistake, m->text, workbench::workingHtml(format, right.steps)};
    const QString rightBits = bitsOf(right);
    const std::optional<bool> rightFact = factOf(right);
    const Typed typed = readAnswer(answer);
    // The steps before the last two say how the operands were read; the
    // calculation itself is at the end.
    const qsizetype at = std::max<qsizetype>(0, qsizetype(right.steps.size()) - 2);
    const auto wrong = [&](Mistake m) {
        return Verdict{false, m, sentence(m, operation, right.text),
                       workingWithNote(format, right.steps, at, sentence(m, operation, right.text))};
    };
    if (typed.unreadable)
        return wrong(Mistake::Unreadable);
    if (typed.bits == rightBits) {
        if (rightFact && typed.overflow && *typed.overflow != *rightFact)
            return wrong(*rightFact ? Mistake::OverflowMissed : Mistake::OverflowClaimed);
        return {true, Mistake::None, Words::tr("Right."), workbench::workingHtml(format, right.steps)};
    }
    // The carry out kept: one bit more, the sum's bits under it.
    if (typed.bits.size() == rightBits.size() + 1 && typed.bits.startsWith(u'1') && typed.bits.mid(1) == rightBits
        && (operation == Operation::Add || operation == Operation::Subtract))
        return wrong(Mistake::CarryOutKept);
    QStringList operandBits;
    for (const QString &o : calculation.operands) {
        const Worked read = workbench::work(format, Operation::Not, Calculation{{o}, 0, {}, {}});
        operandBits << (read.refused ? QString() : patterns::inverted(read.text));
    }
    if (!operandBits.contains(QString())) {
        for (const Slip &s : slips(format, operation, calculation, operandBits)) {
            if (!s.bits.isEmpty() && s.bits == typed.bits && s.bits != rightBits)
                return wrong(s.mistake);
        }
    }
    if (typed.bits.size() != rightBits.size())
        return wrong(Mistake::WrongCount);
    return wrong(Mistake::Other);
}

Calculation newCalculation(const Format &format, Operation operation, QRandomGenerator &rng)
{
    const workbench::Topic *topic = workbench::topicOf(format);
    Calculation c;
    if (!topic || !topic->offered(format) || !topic->calculations().contains(operation))
        return c;
    // Floating point adds and subtracts pairs it holds, as its questions
    // write them; an error or a comparison is of one number.
    if (format.isFloating() && (operation == Operation::Add || operation == Operation::Subtract)) {
        // Their exponents differ by 3 at most, as papers set them: the
        // smaller's mantissa is shifted a few places, not lost whole.
        const auto exponentOf = [&](QString pair) {
            pair.remove(u' ');
            return patterns::twosWhole(QStringView(pair).right(format.exponent));
        };
        QString a, b;
        for (int tries = 0; tries < 50; ++tries) {
            a = topic->newQuestion(format, Operation::ToDenary, rng);
            b = topic->newQuestion(format, Operation::ToDenary, rng);
            if (std::abs(exponentOf(a) - exponentOf(b)) <= 3)
                break;
        }
        c.operands << a << b;
        return c;
    }
    if (operation == Operation::Error || operation == Operation::Compare) {
        c.operands << topic->newQuestion(format, operation, rng);
        return c;
    }
    const int n = topic->width(format);
    const quint64 all = patterns::lowBits(n);
    const auto random = [&] { return rng.generate64() & all; };
    const auto bits = [&](quint64 v) { return patterns::toBits(v & all, n); };
    const bool twos = format.isSigned();
    switch (operation) {
    case Operation::Add: {
        // About half overflow. In two's complement both numbers have one
        // sign: positives of 01… overflow, of 00… do not; negatives of 10…
        // overflow, of 11… do not. Unsigned, two of 1… overflow, and two
        // below half the range do not.
        const bool overflow = rng.bounded(2) == 1;
        quint64 a = random(), b = random();
        if (twos && n >= 3) {
            const quint64 sign = quint64(1) << (n - 1), quarter = quint64(1) << (n - 2);
            const bool negative = rng.bounded(2) == 1;
            const quint64 top = (negative ? sign : 0) | (overflow != negative ? quarter : 0);
            a = top | (a & (quarter - 1));
            b = top | (b & (quarter - 1));
        } else if (!twos && n >= 2) {
            const quint64 sign = quint64(1) << (n - 1);
            a = overflow ? a | sign : a & (sign - 1) >> 1;
            b = overflow ? b | sign : b & (sign - 1) >> 1;
        }
        c.operands << bits(a) << bits(b);
        // Now and then three rows of an unsigned integer, small enough to fit.
        if (!twos && format.isInteger() && n >= 4 && n <= 16 && rng.bounded(3) == 0) {
            c.operands.clear();
            c.operands << bits(random() >> 2) << bits(random() >> 2) << bits(random() >> 3);
        }
        break;
    }
    case Operation::Subtract: {
        // Half take a larger number away.
        quint64 a = random() >> 1, b = random() >> 1;
        if ((rng.bounded(2) == 1) != (b > a))
            std::swap(a, b);
        c.operands << bits(a) << bits(b);
        break;
    }
    case Operation::ShiftLeft:
    case Operation::ShiftRight:
    case Operation::RotateLeft:
    case Operation::RotateRight:
        c.operands << bits(random());
        c.places = int(rng.bounded(1, std::min(3, n) + 1));
        break;
    case Operation::And:
    case Operation::Or:
    case Operation::Xor: {
        // A mask of the low or the high half, or of one bit.
        const int half = std::max(1, n / 2);
        const int kind = int(rng.bounded(3));
        const quint64 mask = kind == 0 ? patterns::lowBits(half)
            : kind == 1                ? all & ~patterns::lowBits(n - half)
                                       : quint64(1) << rng.bounded(n);
        c.operands << bits(random()) << bits(mask);
        break;
    }
    case Operation::Multiply: {
        // Small numbers, as long multiplication by hand takes them.
        const int size = std::max(1, n / 2);
        c.operands << bits(rng.generate64() & patterns::lowBits(size)) << bits(rng.generate64() & patterns::lowBits(std::min(size, 3)));
        break;
    }
    default:
        c.operands << bits(random());
        break;
    }
    // Fixed point writes its operands with the point.
    for (QString &o : c.operands)
        o = topic->written(format, o);
    return c;
}

QString askedCalculation(const Format &format, Operation operation, const Calculation &c)
{
    const workbench::Topic *topic = workbench::topicOf(format);
    if (!topic)
        return QString();
    const QString in = topic->describe(format);
    const QString a = c.operands.value(0), b = c.operands.value(1);
    switch (operation) {
    case Operation::Add:
        if (c.operands.size() > 2)
            return Words::tr("Add %1, %2 and %3 (%4) and state whether overflow occurs.")
                .arg(a, b, c.operands.value(2), in);
        return Words::tr("Add %1 and %2 (%3) and state whether overflow occurs.").arg(a, b, in);
    case Operation::Subtract:
        return Words::tr("Subtract %2 from %1 (%3) by adding the negative, and state whether overflow occurs.")
            .arg(a, b, in);
    case Operation::Multiply:
        return Words::tr("Multiply %1 by %2 (%3) and state whether the product fits.").arg(a, b, in);
    case Operation::ShiftLeft:
    case Operation::ShiftRight:
    case Operation::RotateLeft:
    case Operation::RotateRight:
        return Words::tr("%1 %2 by %3 (%4).")
            .arg(workbench::operationTitle(operation), a)
            .arg(c.places == 1 ? Words::tr("1 place") : Words::tr("%1 places").arg(c.places))
            .arg(in);
    case Operation::Not:
        return Words::tr("Apply NOT to %1 (%2).").arg(a, in);
    case Operation::And:
    case Operation::Or:
    case Operation::Xor:
        return Words::tr("Apply %1 to %2 with the mask %3 (%4).").arg(workbench::operationTitle(operation), a, b, in);
    case Operation::Error:
        return Words::tr("Store %1 (%2) and give the absolute and relative error.").arg(a, in);
    case Operation::Compare:
        return c.to ? Words::tr("Compare the range and precision of %1 with those of %2.")
                          .arg(in, topic->describe(*c.to))
                    : QString();
    case Operation::Convert:
        return c.to ? Words::tr("Convert %1 (%2) to %3.").arg(a, in, topic->describe(*c.to)) : QString();
    default:
        break;
    }
    return QString();
}

}  // namespace quorvex::practice
