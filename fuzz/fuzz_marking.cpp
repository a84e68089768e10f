// SPDX-License-Identifier: MIT
// A student's answer is any text, and so is a question typed into the
// workbench: every kind of question (each representation at fuzzed widths,
// each direction) marked with fuzzed text. Marking answers with a verdict
// or refuses the question, never crashes or hangs, and agrees with the
// workbench: its own answer is marked right, a question it refuses is
// refused, and a new question in the same format is one it answers.
//
// The input: a byte for the representation (its low three bits), the
// direction (the next two) and the text's encoding (the top bit: UTF-8, or
// raw UTF-16, which reaches lone surrogates), two for the widths, a byte for
// the seed of a new question, then the question and the answer, apart by
// the first zero byte; with no zero byte, all of it is the answer to a new
// question.
#include "conversions/format.h"
#include "practice/practice.h"
#include "topics/registry.h"
#include "topics/workbench.h"

#include <QRandomGenerator>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace quorvex;
using workbench::Direction;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// `byte` spread over low..high.
int within(uint8_t byte, int low, int high)
{
    return low + byte % (high - low + 1);
}

// A format of any topic in the registry, with fuzzed widths.
Format formatFrom(uint8_t kind, uint8_t first, uint8_t second)
{
    const std::vector<const workbench::Topic *> &topics = workbench::topics();
    Format f;
    // Three bits of the kind and the top bit of the second width: up to 16
    // topics.
    f.representation = topics.at(std::size_t((kind & 7) | ((second >> 4) & 8)) % topics.size())->representation();
    f.bits = within(first, limits::minBits, limits::maxBits);
    f.whole = within(first, limits::minFixedPart, limits::maxFixedPart);
    f.fraction = within(second, limits::minFixedPart, limits::maxFixedPart);
    if (f.whole + f.fraction == 0)  // the window keeps one bit at least
        f.fraction = 1;
    f.mantissa = within(first, limits::minMantissa, limits::maxMantissa);
    f.exponent = within(second, limits::minExponent, limits::maxExponent);
    return f;
}

QString textFrom(const char *data, size_t size, bool utf16)
{
    return utf16 ? QString(reinterpret_cast<const QChar *>(data), qsizetype(size / 2))
                 : QString::fromUtf8(data, qsizetype(size));
}

void marked(const Format &f, Direction direction, const QString &question, const QString &answer)
{
    const practice::Verdict v = practice::mark(f, direction, question, answer);
    check(!v.text.isEmpty());
    check(v.right == (v.mistake == practice::Mistake::None));
    if (direction == Direction::Range) {
        check(v.mistake == practice::Mistake::QuestionRefused);
        return;
    }
    const workbench::Answer right = workbench::solve(f, direction, question);
    check(right.refused == (v.mistake == practice::Mistake::QuestionRefused));
    if (right.refused)
        return;
    check(!v.workingHtml.isEmpty());
    // The workbench's own answer is right, however the student's was marked.
    check(practice::mark(f, direction, question, right.text).right);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const Format f = formatFrom(data[0], data[1], data[2]);
    // Any operation, the format's or not.
    const QList<Direction> directions = workbench::allOperations();
    const Direction direction = directions.at(((data[0] >> 3) & 15) % directions.size());
    const bool utf16 = data[0] & 0x80;
    const quint32 seed = data[3];
    const auto *rest = reinterpret_cast<const char *>(data + 4);
    const size_t restSize = size - 4;

    const void *zero = std::memchr(rest, 0, restSize);
    if (zero) {
        const size_t questionSize = size_t(static_cast<const char *>(zero) - rest);
        const QString question = textFrom(rest, questionSize, utf16);
        const QString answer = textFrom(rest + questionSize + 1, restSize - questionSize - 1, utf16);
        marked(f, direction, question, answer);
    } else {
        // A question as the workbench sets one, answered with the text.
        QRandomGenerator rng(seed);
        const QString question = practice::newQuestion(f, direction, rng);
        // Widths are fuzzed too: a format the workbench does not offer (an
        // IEEE 754 fraction of no bits) sets no question.
        const workbench::Topic *topic = workbench::topicOf(f);
        if (direction != Direction::Range && topic->offered(f) && topic->operations().contains(direction))
            check(!workbench::solve(f, direction, question).refused);
        marked(f, direction, question, textFrom(rest, restSize, utf16));
    }
    return 0;
}
