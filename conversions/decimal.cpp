// SPDX-License-Identifier: MIT
#include "conversions/decimal.h"

#include "conversions/exact.h"

QString decimalDifference(const QString &a, const QString &b)
{
    using quorvex::exact::Number;
    return (Number::fromDecimal(a) - Number::fromDecimal(b)).toDecimal();
}
