// SPDX-License-Identifier: MIT
// The working as data: each step a method records, with its real numbers.
// A step is a plain struct; the unit that records it also says it in words
// (and, for a step that refuses the question, says why in one sentence), so
// a topic's steps and their words live together in its own unit.
//
//   struct MyStep { int n; };         // in namespace quorvex::workbench::step
//   QUORVEX_STEP(step::MyStep)        // beside it, in namespace quorvex::workbench
//   template <> void StepOf<step::MyStep>::say(Words &w) const { w.para(...); }
//   steps.push_back(make(step::MyStep{3}));
#pragma once

#include "engine/exact.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace quorvex::workbench {

class Words;

// A typed number the working names: exact, or, far beyond every format,
// only as typed.
struct Typed {
    exact::Number value;
    QString text;  // trimmed, when not exact
    bool exact = true;
};

class StepBase {
public:
    virtual ~StepBase() = default;
    // Writes the step into the working.
    virtual void say(Words &words) const = 0;
    // Why the question was refused, in one short sentence; empty for a step
    // that refuses nothing.
    virtual QString why(const Words &words) const = 0;
};

using Step = std::shared_ptr<const StepBase>;
using Steps = std::vector<Step>;

template <typename T>
class StepOf final : public StepBase {
public:
    explicit StepOf(T data) : value(std::move(data)) { }
    void say(Words &words) const override;  // each step defines its own
    QString why(const Words &) const override { return QString(); }
    T value;
};

template <typename T>
Step make(T data)
{
    return std::make_shared<const StepOf<T>>(std::move(data));
}

// The step's data when it is a T, else null.
template <typename T>
const T *as(const Step &s)
{
    const auto *of = dynamic_cast<const StepOf<T> *>(s.get());
    return of ? &of->value : nullptr;
}

// Where the first T stands among the steps (that `accept` takes), or -1.
template <typename T>
qsizetype findStep(const Steps &steps, bool (*accept)(const T &) = nullptr)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        if (const T *s = as<T>(steps[i]); s && (!accept || accept(*s)))
            return qsizetype(i);
    }
    return -1;
}

}  // namespace quorvex::workbench

// A step's words are defined in the unit that records it.
#define QUORVEX_STEP(T) template <> void StepOf<T>::say(Words &) const;
// A step that refuses the question says why, too.
#define QUORVEX_REFUSAL(T) QUORVEX_STEP(T) template <> QString StepOf<T>::why(const Words &) const;
