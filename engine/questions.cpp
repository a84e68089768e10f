// SPDX-License-Identifier: MIT
#include "engine/questions.h"

#include <QRandomGenerator>

namespace quorvex::practice {

using exact::Number;

int topBit(quint64 v)
{
    int t = -1;
    while (v) {
        ++t;
        v >>= 1;
    }
    return t;
}

QString heldDecimal(const workbench::Topic &topic, const Format &format, const QString &denary)
{
    const workbench::Worked w = topic.solve(format, workbench::Operation::ToBinary, denary);
    if (w.refused)
        return QString();
    return w.held ? w.held->toDecimal() : exact::readDecimal(denary).value.toDecimal();
}

std::optional<QString> cutQuestion(const workbench::Topic &topic, const Format &f, QRandomGenerator &rng,
                                   const Number &near)
{
    const QString size = near.abs().toDecimal();
    qint64 order;  // the power of ten of its first digit
    if (size.startsWith(QStringLiteral("0."))) {
        qsizetype i = 2;
        while (i < size.size() && size.at(i) == u'0')
            ++i;
        order = -(i - 1);
    } else {
        const qsizetype point = size.indexOf(u'.');
        order = (point < 0 ? size.size() : point) - 1;
    }
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int digits = int(rng.bounded(1, 4));
        quint64 first = 1;
        for (int d = 1; d < digits; ++d)
            first *= 10;
        const QString n = QString::number(first + rng.bounded(quint64(9 * first)));
        const qint64 shift = order - digits + 1;  // n x 10^shift
        QString text;
        if (shift >= 0)
            text = n + QString(qsizetype(shift), u'0');
        else if (n.size() > -shift)
            text = n.left(n.size() + shift) + u'.' + n.right(-shift);
        else
            text = QStringLiteral("0.") + QString(qsizetype(-shift - n.size()), u'0') + n;
        const Number value = exact::readDecimal(text).value;
        const QString q = (near.sign() < 0 ? -value : value).toDecimal();
        const QString held = heldDecimal(topic, f, q);
        if (!held.isEmpty() && held != q)
            return q;
    }
    return std::nullopt;
}

}  // namespace quorvex::practice
