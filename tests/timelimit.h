// SPDX-License-Identifier: MIT
// Time limits for tests of speed: what a user waits for in the program as
// built, and more under the sanitizers, which slow every memory access.
#pragma once

#include <QString>
#include <QTest>

namespace timelimit {

#ifdef QUORVEX_SANITIZED
constexpr int factor = 5;
#else
constexpr int factor = 1;
#endif

}  // namespace timelimit

// Fails the test when `elapsed` milliseconds are not below `limit` (times
// the factor).
#define QUORVEX_VERIFY_WITHIN(elapsed, limit)                                                         \
    do {                                                                                              \
        const qint64 took = (elapsed);                                                                \
        QVERIFY2(took >= 0 && took < qint64(limit) * timelimit::factor,                               \
                 qPrintable(QString::number(took) + QStringLiteral(" ms, limit ")                     \
                            + QString::number(qint64(limit) * timelimit::factor)));                  \
    } while (false)
