// SPDX-License-Identifier: MIT
// Time limits for tests of speed: what a user waits for in the program as
// built, and more under the sanitizers, which slow every memory access.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTest>

namespace timelimit {

#ifdef QUORVEX_SANITIZED
constexpr int factor = 5;
#else
constexpr int factor = 1;
#endif

}  // namespace timelimit

// Fails the test when `clock` shows more than `milliseconds` (times the
// factor) since it started.
#define QUORVEX_VERIFY_WITHIN(clock, milliseconds)                                          \
    QVERIFY2((clock).elapsed() < qint64(milliseconds) * timelimit::factor,                  \
             qPrintable(QString::number((clock).elapsed()) + QStringLiteral(" ms, limit ") \
                        + QString::number(qint64(milliseconds) * timelimit::factor)))
