// SPDX-License-Identifier: MIT
// Approved texts: what a test produces, as plain text, compared whole with a
// file under tests/approved/ that a person has read and checked. When they
// differ the first differing line is printed with both versions;
// QUORVEX_APPROVE=1 writes the files anew, to be reviewed as a change.
// Needs a QGuiApplication (the rich text is read through QTextDocument).
#pragma once

#include "windows/plaintext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace approved {

// Rich text as the approved files hold it: the working as the command line
// prints it, a paragraph on one line, a table row on one line with its cells
// between bars, and a power written 2^10.
inline QString plainText(const QString &html) { return quorvex::plainWorking(html); }

// Where two texts first differ, line by line, with both lines.
inline QString firstDifference(const QString &expected, const QString &actual)
{
    const QStringList a = expected.split(u'\n'), b = actual.split(u'\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (a.value(i) != b.value(i))
            return QStringLiteral("line %1\n  approved: %2\n  now:      %3").arg(i + 1).arg(a.value(i), b.value(i));
    }
    return {};
}

// A data row's name as a file name: letters, digits and points, a minus
// sign before a number as "minus", the rest one hyphen.
inline QString fileName(const QString &tag)
{
    QString out;
    for (qsizetype i = 0; i < tag.size(); ++i) {
        const QChar c = tag.at(i);
        const bool minus = (c == u'-' || c == QChar(0x2212)) && (i == 0 || tag.at(i - 1) == u' ')
            && i + 1 < tag.size() && tag.at(i + 1).isDigit();
        if (minus) {
            out += QStringLiteral("minus");
            continue;
        }
        const bool kept = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'.';
        if (kept)
            out += c.toLower();
        else if (!out.endsWith(u'-'))
            out += u'-';
    }
    while (out.endsWith(u'-'))
        out.chop(1);
    return out;
}

// The approved file `name`.txt in `folder` under tests/approved/ (the
// folder itself when `folder` is empty).
inline QString path(const QString &folder, const QString &name)
{
    const QString root = QStringLiteral(QUORVEX_APPROVED_DIR);
    return (folder.isEmpty() ? root : root + u'/' + folder) + u'/' + name + QStringLiteral(".txt");
}

// Empty when `actual` is the text approved in `path` (or, with
// QUORVEX_APPROVE=1, once it is written there); else what differs. A text
// known to be wrong, whose file holds what it should be, is never written.
inline QString mismatch(const QString &path, const QString &actual, bool knownWrong = false)
{
    QFile file(path);
    if (!knownWrong && qEnvironmentVariableIntValue("QUORVEX_APPROVE") == 1) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return path + QStringLiteral(" cannot be written");
        file.write(actual.toUtf8());
        return {};
    }
    if (!file.open(QIODevice::ReadOnly))
        return path + QStringLiteral(" is missing; QUORVEX_APPROVE=1 writes it");
    const QString approved = QString::fromUtf8(file.readAll());
    if (approved == actual)
        return {};
    return path + u'\n' + firstDifference(approved, actual) + QStringLiteral("\nThe whole text now:\n") + actual;
}

}  // namespace approved

// Compares `actual` with the approved file `name`.txt in `folder` (relative
// to tests/approved/), failing the test with the first differing line.
#define QUORVEX_COMPARE_APPROVED(folder, name, actual)                                                               \
    do {                                                                                                               \
        const QString quorvexWhy = approved::mismatch(approved::path((folder), (name)), (actual));                   \
        QVERIFY2(quorvexWhy.isEmpty(), qPrintable(quorvexWhy));                                                        \
    } while (false)

// The same for a row whose text is known to be wrong (`why`, or nullptr
// when it is not): the file holds the text as it should be, and the
// comparison is expected to fail until the fault is mended.
#define QUORVEX_COMPARE_APPROVED_UNLESS_KNOWN(folder, name, actual, why)                                              \
    do {                                                                                                               \
        const char *quorvexKnown = (why);                                                                              \
        const QString quorvexWhy =                                                                                     \
            approved::mismatch(approved::path((folder), (name)), (actual), quorvexKnown != nullptr);                   \
        if (quorvexKnown)                                                                                              \
            QEXPECT_FAIL("", quorvexKnown, Continue);                                                                  \
        QVERIFY2(quorvexWhy.isEmpty(), qPrintable(quorvexWhy));                                                        \
    } while (false)
