// SPDX-License-Identifier: MIT
#include "conversions/decimal.h"

#include "engine/exact.h"

namespace quorvex {

QString decimalDifference(const QString &a, const QString &b)
{
    return exact::plainDifference(a, b);
}

}  // namespace quorvex
