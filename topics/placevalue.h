// SPDX-License-Identifier: MIT
// What integers and fixed point share: a pattern whose bits stand under
// place values, unsigned or two's complement (the leftmost place negative),
// with a point fixed in the pattern or none. Read back by adding the places
// that hold a 1; marked against the slips of place values; new values with
// few significant bits. Each of the two topics adds its own formats, its
// way of writing a number in bits, and its words.
#pragma once

#include "engine/topic.h"

namespace quorvex::workbench {

class PlaceValueTopic : public Topic {
public:
    QList<Operation> operations() const override;
    QString written(const Format &format, const QString &bits) const override;
    QString printed(const Format &format, const QString &bits) const override;
    Worked solve(const Format &format, Operation operation, const QString &input) const override;

    exact::Number valueOf(const Format &format, const QString &bits) const override;
    std::vector<practice::Candidate> candidates(const practice::BitsMarking &m) const override;
    QString sentence(const practice::BitsMarking &m, practice::Mistake mistake) const override;
    qsizetype stepFor(const practice::BitsMarking &m, practice::Mistake mistake) const override;
    std::vector<practice::Misreading> misreadings(const practice::NumberMarking &m) const override;
    QString sentence(const practice::NumberMarking &m, const practice::Misreading &c) const override;
    qsizetype stepFor(const practice::NumberMarking &m, const practice::Misreading &c) const override;

    QString newQuestion(const Format &format, Operation operation, QRandomGenerator &rng) const override;

protected:
    // A denary number in bits, by the topic's method.
    virtual Worked toBinary(const Format &format, const exact::Reading &r, const Typed &typed, Steps steps) const = 0;
    // Whether a question may be about a cut: a fraction the bits cannot hold.
    virtual bool cuts() const = 0;
};

}  // namespace quorvex::workbench
