// SPDX-License-Identifier: MIT
// Patterns of up to 64 bits as text and back, for the workbench and for
// marking: the most significant bit first.
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace quorvex::patterns {

// The low `n` bits of `value`, `n` characters (bits beyond 64 are 0).
inline QString toBits(quint64 value, int n)
{
    QString out(n, u'0');
    for (int i = 0; i < n && i < 64; ++i) {
        if ((value >> i) & 1)
            out[n - 1 - i] = u'1';
    }
    return out;
}

// The pattern read as an unsigned number; only its last 64 bits count.
inline quint64 fromBits(QStringView bits)
{
    quint64 value = 0;
    for (QChar c : bits)
        value = (value << 1) | (c == u'1');
    return value;
}

}  // namespace quorvex::patterns
