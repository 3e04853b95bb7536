// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "generators/Random.h"

#include <algorithm>
#include <cmath>

namespace piko {

double SeededRandom::next()
{
    // 53 random bits make a double in [0, 1) with every value equally likely.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}

int truncatedDraw(double x, int M)
{
    if (M <= 0 || !(x > 0.0)) // also catches NaN
        return 0;
    const double v = std::floor(static_cast<double>(M) * x);
    return v >= M ? M - 1 : static_cast<int>(v);
}

} // namespace piko
