// SPDX-License-Identifier: MIT
#include "engine/marking.h"

namespace quorvex::practice {

using exact::Number;

QString printed(const QString &text)
{
    // A minus sign is a hyphen at the start of a number; one inside a word
    // ("8-bit") stays a hyphen.
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out.at(i) == u'-' && (i == 0 || !out.at(i - 1).isLetterOrNumber()))
            out[i] = QChar(0x2212);
    }
    return out;
}

QString shown(const Number &n)
{
    const Number::Abridged a = n.abridgedDecimal(60, 24, 12);
    const QString text = printed(a.text);
    return a.abridged ? Words::tr("%1 (%2 characters)").arg(text).arg(a.length) : text;
}

QString count(qsizetype n) { return n == 1 ? Words::tr("1 bit") : Words::tr("%1 bits").arg(n); }
QString places(qint64 n) { return n == 1 ? Words::tr("1 place") : Words::tr("%1 places").arg(n); }

QString plain(QString text)
{
    text.remove(u' ');
    text.remove(u'.');
    return text;
}

QString sharedSentence(const BitsMarking &m, Mistake mistake, const QString &lead)
{
    switch (mistake) {
    case Mistake::SignAndMagnitude:
        return Words::tr("%1: a 1 for the minus sign in front of the size's bits is sign and magnitude; this "
                         "format uses two's complement.")
            .arg(lead);
    case Mistake::Rounded:
        return Words::tr("%1: the last bit was rounded up; the method cuts the bits off after the last place, and "
                         "does not round.")
            .arg(lead);
    case Mistake::Cut:
        return Words::tr("%1: the bits were cut after the last place where the method rounds to nearest: what is "
                         "left after the last place is half of it or more, so 1 is added there.")
            .arg(lead);
    case Mistake::Reversed:
        return Words::tr("%1: the bits are in reverse order; the leftmost bit is the largest place.").arg(lead);
    default:
        break;
    }
    return Words::tr("%1, not %2; it follows none of the usual mistakes: compare it with the working, step by step.")
        .arg(lead, shown(m.rv));
}

QString sharedReading(Mistake mistake, const QString &lead)
{
    switch (mistake) {
    case Mistake::MinusLeftOut:
        return Words::tr("%1 has the right size but the wrong sign.").arg(lead);
    case Mistake::SignAndMagnitude:
        return Words::tr("%1 reads the pattern as sign and magnitude (a leading 1 for minus); in two's complement "
                         "the leftmost place counts negative.")
            .arg(lead);
    case Mistake::InvertedOnly:
        return Words::tr("%1 finds the size by inverting the bits but does not add 1: the size is the inverted bits "
                         "plus 1.")
            .arg(lead);
    case Mistake::Reversed:
        return Words::tr("%1 reads the bits in reverse order; the leftmost bit is the largest place.").arg(lead);
    default:
        return lead;
    }
}

StudentBits readStudentBits(const QString &text)
{
    StudentBits s;
    int group = 0;
    for (QChar c : text) {
        if (c == u'0' || c == u'1') {
            s.bits += c;
            ++group;
        } else if (c == u'.') {
            s.points << int(s.bits.size());
        } else if (c.isSpace()) {
            if (group > 0)
                s.groups << group;
            group = 0;
        } else if (s.others.size() < 3 && !s.others.contains(QString(c))) {
            s.others << QString(c);
        }
    }
    if (group > 0)
        s.groups << group;
    return s;
}

}  // namespace quorvex::practice
