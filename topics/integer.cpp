// SPDX-License-Identifier: MIT
// Whole numbers in n bits, unsigned or in two's complement: a number to
// bits by taking away place values, a negative one by inverting its size's
// bits and adding 1.
#include "topics/placevalue.h"

#include "engine/bitpattern.h"
#include "engine/methods.h"
#include "engine/words.h"
#include "topics/bitgroups.h"
#include "topics/arithmetic.h"

#include <QRegularExpression>

namespace quorvex::workbench {

namespace {

using exact::Number;

class IntegerTopic final : public PlaceValueTopic {
public:
    explicit IntegerTopic(bool twos) : m_twos(twos) { }

    Representation representation() const override
    {
        return m_twos ? Representation::TwosInteger : Representation::UnsignedInteger;
    }
    QString title() const override
    {
        return m_twos ? Words::tr("Two's complement integer") : Words::tr("Unsigned integer");
    }
    QString usage() const override { return m_twos ? QStringLiteral("int-signed:N") : QStringLiteral("int:N"); }
    QString usageHelp() const override
    {
        return (m_twos ? Words::tr("an N-bit two's complement integer, N from %1 to %2")
                       : Words::tr("an N-bit unsigned integer, N from %1 to %2"))
            .arg(limits::minBits)
            .arg(limits::maxBits);
    }
    std::optional<Format> parse(QStringView widths, QString *why) const override
    {
        return parseBitsFormat(*this, widths, why);
    }
    QString name(const Format &f) const override { return bitsFormatName(f); }
    QList<Width> widths() const override { return {Width::Bits}; }
    bool offered(const Format &f) const override { return f.bits >= limits::minBits && f.bits <= limits::maxBits; }

    std::vector<BitGroup> groups(const Format &f) const override
    {
        return {placeGroup(Words::tr("the integer"), f.bits, 0, m_twos)};
    }
    QString describe(const Format &f) const override
    {
        return (m_twos ? Words::tr("%1-bit two's complement") : Words::tr("%1-bit unsigned")).arg(f.bits);
    }
    QString patternName(const Format &f) const override
    {
        return Words::widthName(f.bits, m_twos ? Words::tr("two's complement integer") : Words::tr("unsigned integer"));
    }
    QString heading(const Format &f) const override
    {
        return (m_twos ? practice::Words::tr("Two's complement integer: %1")
                       : practice::Words::tr("Unsigned integer: %1"))
            .arg(practice::count(f.bits));
    }
    QString wrongCount(const Words &w, qsizetype typed) const override
    {
        const QString typedCount = typed == 1 ? Words::tr("1 was typed") : Words::tr("%1 were typed").arg(typed);
        return Words::tr("%1 needs %2; %3.").arg(w.formatName(), Words::count(w.format().bits), typedCount);
    }

    QString pointProblem(const practice::BitsMarking &m) const override
    {
        const int at = m.student.points.front();
        if (at == m.format.bits)
            return QString();
        return practice::Words::tr("Your answer has a point after %1; whole numbers have no point.")
            .arg(practice::count(at));
    }

    // Unsigned: also a number written in BCD, each digit in its own 4 bits,
    // tried after every other slip.
    std::vector<practice::Candidate> candidates(const practice::BitsMarking &m) const override
    {
        std::vector<practice::Candidate> c = PlaceValueTopic::candidates(m);
        if (m_twos || m.direction != Direction::ToBinary)
            return c;
        const exact::Reading x = exact::readDecimal(m.question);
        if (x.kind != exact::Reading::Kind::Exact || x.value.sign() < 0 || !x.value.isInteger())
            return c;
        QString bcd = patterns::bcdBits(x.value.toDecimal());
        bcd.remove(0, bcd.indexOf(u'1') < 0 ? bcd.size() : bcd.indexOf(u'1'));
        if (bcd.size() <= m.format.bits)
            c.push_back({practice::Mistake::BcdGiven, QString(m.format.bits - bcd.size(), u'0') + bcd});
        return c;
    }
    QString sentence(const practice::BitsMarking &m, practice::Mistake mistake) const override
    {
        if (mistake != practice::Mistake::BcdGiven)
            return PlaceValueTopic::sentence(m, mistake);
        return practice::Words::tr("Your answer %1 is %2 in binary-coded decimal (BCD), each denary digit in its own "
                                   "4 bits; this format is pure binary, the whole number by place values, where "
                                   "your bits stand for %3.")
            .arg(m.s, practice::shown(exact::readDecimal(m.question).value), practice::shown(m.sv));
    }
    qsizetype stepFor(const practice::BitsMarking &m, practice::Mistake mistake) const override
    {
        if (mistake != practice::Mistake::BcdGiven)
            return PlaceValueTopic::stepFor(m, mistake);
        return findStep<step::Subtractions>(m.steps);
    }
    using PlaceValueTopic::sentence;
    using PlaceValueTopic::stepFor;

    // Arithmetic by hand on patterns of the format's width.
    QList<Operation> calculations() const override
    {
        return {Operation::Add,        Operation::Subtract,    Operation::Multiply, Operation::ShiftLeft,
                Operation::ShiftRight, Operation::RotateLeft, Operation::RotateRight, Operation::And,
                Operation::Or,         Operation::Xor,         Operation::Not};
    }
    Worked calculate(const Format &f, Operation operation, const Calculation &c) const override
    {
        return arithmetic::calculate(*this, f, operation, c);
    }

protected:
    Worked toBinary(const Format &f, const exact::Reading &r, const Typed &typed, Steps steps) const override
    {
        const int n = f.bits;
        const Number low = m_twos ? -Number::power2(n - 1) : Number();
        const Number high = (m_twos ? Number::power2(n - 1) : Number::power2(n)) - Number(1);
        if (r.kind == exact::Reading::Kind::Huge)
            return refuse(std::move(steps), make(step::OutOfRange{typed, low, high}));
        if (r.kind == exact::Reading::Kind::Tiny || !r.value.isInteger())
            return refuse(std::move(steps), make(step::NotWhole{typed}));
        if (r.value < low || r.value > high)
            return refuse(std::move(steps), make(step::OutOfRange{typed, low, high}));
        const bool negative = r.value.sign() < 0;
        if (negative)
            steps.push_back(make(step::Negative{r.value}));
        const quint64 size = r.value.abs().toUnsigned();
        steps.push_back(make(subtractions(size, n)));
        QString bits = patterns::toBits(size, n);
        steps.push_back(make(step::PlaceTable{bits, 0, false}));
        if (negative) {
            step::TwosComplement t = twosComplement(bits, step::TwosComplement::Of::Number);
            bits = t.result;
            steps.push_back(make(std::move(t)));
        }
        steps.push_back(make(step::Result{typed, bits}));
        return {false, bits, std::move(steps), std::nullopt};
    }
    bool cuts() const override { return false; }

private:
    bool m_twos;
};

}  // namespace

const Topic &unsignedIntegerTopic()
{
    static const IntegerTopic topic(false);
    return topic;
}

const Topic &twosIntegerTopic()
{
    static const IntegerTopic topic(true);
    return topic;
}

}  // namespace quorvex::workbench
