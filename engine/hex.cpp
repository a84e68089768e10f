// SPDX-License-Identifier: MIT
#include "engine/hex.h"

#include "engine/bitpattern.h"
#include "engine/words.h"

#include <QRegularExpression>

namespace quorvex::workbench {

using exact::Number;

namespace hex {

QChar digit(int value) { return QChar(value < 10 ? u'0' + value : u'A' + value - 10); }

int value(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    return -1;
}

std::optional<Text> read(const QString &typed)
{
    QString t = typed.trimmed();
    t.remove(u' ');
    if (t.isEmpty())
        return std::nullopt;
    // Plain bits are bits, and a denary number is a number.
    static const QRegularExpression bits(QStringLiteral("^[01.]+$"));
    if (bits.match(t).hasMatch())
        return std::nullopt;
    const bool denary = exact::readDecimal(t).kind != exact::Reading::Kind::NotANumber;
    Text out{step::HexRead::Form::Bare, QString(), QString(), QString()};
    QString body = t;
    if (t.startsWith(QLatin1StringView("0x"), Qt::CaseInsensitive)) {
        out = {step::HexRead::Form::Prefix, t.left(2), {}, {}};
        body = t.mid(2);
    } else if (t.startsWith(u'&') || t.startsWith(u'#')) {
        out = {step::HexRead::Form::Prefix, t.left(1), {}, {}};
        body = t.mid(1);
    } else if (t.endsWith(u'h') || t.endsWith(u'H')) {
        out = {step::HexRead::Form::Suffix, t.right(1), {}, {}};
        body = t.chopped(1);
    } else if (t.endsWith(QStringLiteral("\u2081\u2086"))) {
        out = {step::HexRead::Form::Subscript, t.right(2), {}, {}};
        body = t.chopped(2);
    } else if (t.endsWith(QLatin1StringView("16")) && !denary) {
        out = {step::HexRead::Form::Sixteen, t.right(2), {}, {}};
        body = t.chopped(2);
    } else if (denary) {
        return std::nullopt;
    }
    static const QRegularExpression digits(QStringLiteral("^([0-9A-Fa-f]*)(\\.([0-9A-Fa-f]*))?$"));
    const QRegularExpressionMatch m = digits.match(body);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(3).isEmpty()))
        return std::nullopt;
    out.whole = m.captured(1).toUpper();
    out.fraction = m.captured(3).toUpper();
    out.point = m.hasCaptured(2);
    return out;
}

QString ofBits(const QString &bits, int fraction)
{
    const auto nibbles = [](const QString &b, bool fromLeft) {
        QString padded = b;
        const qsizetype extra = (4 - b.size() % 4) % 4;
        padded = fromLeft ? padded + QString(extra, u'0') : QString(extra, u'0') + padded;
        QString out;
        for (qsizetype i = 0; i < padded.size(); i += 4)
            out += digit(int(patterns::fromBits(QStringView(padded).mid(i, 4))));
        return out;
    };
    if (fraction <= 0)
        return nibbles(bits, false);
    return nibbles(bits.left(bits.size() - fraction), false) + u'.' + nibbles(bits.right(fraction), true);
}

Step pattern(const QString &typed, const Text &text, int width, int fraction, QString *bits)
{
    const int whole = width - fraction;
    const auto toBits = [](const QString &digits) {
        QString out;
        for (QChar c : digits)
            out += patterns::toBits(quint64(value(c)), 4);
        return out;
    };
    // A fixed-point pattern is written in hex with its point; one without
    // a fraction needs none.
    const bool needsPoint = fraction > 0 && whole > 0;
    const QString digits = text.whole + (text.point ? QStringLiteral(".") + text.fraction : QString());
    if (text.point != (fraction > 0) && (needsPoint || text.point))
        return make(step::HexTooWide{digits, width, fraction, true});
    QString w = toBits(text.whole), f = toBits(text.fraction);
    // Leading 0s may be left out of the whole part, trailing ones of the
    // fraction; the rest must fit.
    if (w.size() < whole)
        w = QString(whole - w.size(), u'0') + w;
    if (f.size() < fraction)
        f += QString(fraction - f.size(), u'0');
    if (w.left(w.size() - whole).contains(u'1') || f.mid(fraction).contains(u'1'))
        return make(step::HexTooWide{digits, width, fraction, false});
    *bits = w.right(whole) + f.left(fraction);
    return make(step::HexRead{typed.trimmed(), text.form, text.marker, text.whole, text.fraction, *bits, fraction});
}

}  // namespace hex

// ---- Words ----------------------------------------------------------------------

namespace {

// "1010 = 8 + 2 = 10 = A".
QStringList nibbleRow(const Words &w, const QString &nibble)
{
    const QString places = w.sum(nibble, 0, false);
    const int v = int(patterns::fromBits(nibble));
    return {w.bits(nibble), places, QString::number(v), QString(hex::digit(v))};
}

}  // namespace

template <>
void StepOf<step::HexRead>::say(Words &w) const
{
    const step::HexRead &s = value;
    const QString typed = w.typed({exact::Number(), s.typed, false});
    QString how;
    switch (s.form) {
    case step::HexRead::Form::Prefix:
        how = Words::tr("%1 is hexadecimal, as the %2 in front says.").arg(typed, s.marker.toHtmlEscaped());
        break;
    case step::HexRead::Form::Suffix:
    case step::HexRead::Form::Subscript:
    case step::HexRead::Form::Sixteen:
        how = Words::tr("%1 is hexadecimal, as the %2 after it says.").arg(typed, s.marker.toHtmlEscaped());
        break;
    case step::HexRead::Form::Bare:
        how = Words::tr("%1 is not bits or a denary number, so it is read as hexadecimal.").arg(typed);
        break;
    }
    w.para(how + u' ' + Words::tr("Each hex digit is four bits, with the place values 8 4 2 1:"));
    std::vector<QStringList> rows{{Words::tr("digit"), Words::tr("value"), Words::tr("bits")}};
    for (QChar c : s.whole + s.fraction) {
        const int v = hex::value(c);
        rows.push_back({QString(c), QString::number(v), w.bits(patterns::toBits(quint64(v), 4))});
    }
    w.table(rows, true);
    w.para(Words::tr("So the pattern is %1.").arg(w.pattern(s.bits)));
}

template <>
QString StepOf<step::HexTooWide>::why(const Words &) const
{
    const step::HexTooWide &s = value;
    if (s.point)
        return s.fraction > 0
            ? Words::tr("The hex %1 has no point: a pattern with %2 before the point and %3 after is written in hex "
                        "with its point, each side in fours from the point.")
                  .arg(s.digits, Words::count(s.width - s.fraction), Words::count(s.fraction))
            : Words::tr("The hex %1 has a point, but this format has none.").arg(s.digits);
    const int digits = (s.width - s.fraction + 3) / 4 + (s.fraction + 3) / 4;
    return Words::tr("The hex %1 does not fit in %2: that is at most %3 hex digits, the top one from the bits "
                     "left over.")
        .arg(s.digits, Words::count(s.width), QString::number(digits));
}
template <>
void StepOf<step::HexTooWide>::say(Words &w) const
{
    w.para(why(w));
}

template <>
void StepOf<step::Nibbles>::say(Words &w) const
{
    const step::Nibbles &s = value;
    const QString whole = s.bits.left(s.bits.size() - s.fraction), fraction = s.bits.right(s.fraction);
    const auto pad = [](const QString &b, bool fromLeft) {
        const qsizetype extra = (4 - b.size() % 4) % 4;
        return fromLeft ? b + QString(extra, u'0') : QString(extra, u'0') + b;
    };
    const bool padded = whole.size() % 4 != 0 || fraction.size() % 4 != 0;
    w.para(s.fraction > 0
               ? Words::tr("Group the bits in fours from the point: leftwards for the whole part, rightwards for the "
                           "fraction%1.")
                     .arg(padded ? Words::tr(", filling the ends with 0s") : QString())
               : Words::tr("Group the bits in fours from the right%1, and write each group as one hex digit.")
                     .arg(padded ? Words::tr(", filling the leftmost group with 0s") : QString()));
    std::vector<QStringList> rows{{Words::tr("bits"), Words::tr("8 4 2 1"), Words::tr("value"), Words::tr("digit")}};
    const auto add = [&](const QString &b) {
        for (qsizetype i = 0; i < b.size(); i += 4)
            rows.push_back(nibbleRow(w, b.mid(i, 4)));
    };
    if (!whole.isEmpty())
        add(pad(whole, false));
    if (!fraction.isEmpty()) {
        rows.push_back({QStringLiteral("."), QString(), QString(), QStringLiteral(".")});
        add(pad(fraction, true));
    }
    w.table(rows, true);
    w.para(Words::tr("In hex: %1.").arg(w.bits(s.hex)));
}

template <>
void StepOf<step::Divisions16>::say(Words &w) const
{
    const step::Divisions16 &s = value;
    w.para(Words::tr("Or divide %1 by 16 again and again: each remainder is a hex digit, the last one found "
                     "first.")
               .arg(w.num(exact::readDecimal(s.value).value)));
    std::vector<QStringList> rows{{Words::tr("divide"), Words::tr("by 16"), Words::tr("remainder"), Words::tr("digit")}};
    for (const step::Divisions16::Row &r : s.rows)
        rows.push_back({r.from, r.quotient, QString::number(r.remainder), QString(hex::digit(r.remainder))});
    w.table(rows, true);
    w.para(Words::tr("Read upwards, the remainders give %1.").arg(w.bits(s.hex)));
}

template <>
void StepOf<step::HexPlaces>::say(Words &w) const
{
    const step::HexPlaces &s = value;
    QStringList terms;
    const qsizetype n = s.digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        const int v = hex::value(s.digits.at(i));
        if (v == 0)
            continue;
        const Number place = Number(1).times2(4 * (n - 1 - i));
        terms << (i + 1 == n ? QString::number(v) : QStringLiteral("%1\u00D7%2").arg(v).arg(place.toDecimal()));
    }
    w.para(Words::tr("By place values of 16: %1 = %2.")
               .arg(terms.isEmpty() ? QStringLiteral("0") : terms.join(QStringLiteral(" + ")), w.num(s.total)));
}

}  // namespace quorvex::workbench
