// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Subtraction levels: from one-digit differences to three-digit mixed subtraction.
// No level makes a negative difference. Draws such as R(a) depend on an earlier draw, so these
// levels are not uniform over their problems: the order of the draws is part of the level.
#include "generators/LevelRule.h"

#include <array>

namespace piko {
namespace {

// Level 4 has no duplicate test (its pool is small and a repeat is harmless); level 8
// only keeps a minuend away for four problems.
constexpr Repetition kNoDuplicateTest { .window = 0 };
constexpr Repetition kLastFour { .window = 4 };

// clang-format off
constexpr std::array<LevelRule, kRuleCounts[Subtraction]> kLevels {{
    // L01  7-4: one digit - one digit
    { [](Draw &R) -> Drawn { int a = R(9)+1, b = atLeast(R(a), 1);         return difference(a, b); } },
    // L02  17-4: teen - one digit, no borrow
    { [](Draw &R) -> Drawn { int u = R(9)+1, b = atLeast(R(u), 1);         return difference(u + 10, b); } },
    // L03  14-6: teen - one digit, always borrowing
    { [](Draw &R) -> Drawn { int a = R(9)+10, b = R(9)+1;                  return a - b > 9 ? redraw : difference(a, b); } },
    // L04  47-7: two digits - their own ones digit
    { [](Draw &R) -> Drawn { int u = R(9)+1, b = u, t = R(9)+1;            return difference(10*t + u, b); }, kNoDuplicateTest },
    // L05  70-40: tens - tens
    { [](Draw &R) -> Drawn { int x = R(9)+1, y = R(x)+1;                   return difference(10*x, 10*y); } },
    // L06  37-4: two digits - one digit, no borrow
    { [](Draw &R) -> Drawn { int u = R(9)+1, b = R(u);                     if (b < 1) return redraw;
                             int t = R(9)+1;                               return difference(10*t + u, b); } },
    // L07  57-40: two digits - tens
    { [](Draw &R) -> Drawn { int x = R(9)+1, y = R(x)+1, b = 10*y, u = R(9)+1;  return difference(10*x + u, b); } },
    // L08  7-0: one digit - 0
    { [](Draw &R) -> Drawn { int a = R(9)+1;                               return difference(a, 0); }, kLastFour },
    // L09  34-6: two digits - one digit, always borrowing
    { [](Draw &R) -> Drawn { int u = R(9)+1, b = R(9)+1;                   if (u >= b) return redraw;
                             int t = R(8)+1;                               return difference(10*t + u, b); } },
    // L10  34-23: two digits - two digits, no borrow
    { [](Draw &R) -> Drawn { int u = R(9)+1, v = R(u), t = R(9)+1, s = R(t)+1;  return difference(10*t + u, 10*s + v); } },
    // L11  43-26: two digits - two digits, always borrowing
    { [](Draw &R) -> Drawn { int u = R(9)+1, v = R(9)+1;                   if (u >= v) return redraw;
                             int t = R(9)+1, s = R(t)+1, a = 10*t + u, b = 10*s + v;
                                                                           return a - b < 0 ? redraw : difference(a, b); } },
    // L12  74-36: two digits - two digits, borrows at random
    { [](Draw &R) -> Drawn { int a = atMost(R(100)+1, 99);                 if (a < 11) return redraw;
                             int b = R(a)+1;                               return b < 10 ? redraw : difference(a, b); } },
    // L13  374-186: three digits - three digits, borrows at random
    { [](Draw &R) -> Drawn { int a = atMost(R(1000)+1, 999);               if (a < 101) return redraw;
                             int b = R(a)+1;                               return b < 100 ? redraw : difference(a, b); } },
}};
// clang-format on

constexpr OperationTable kTable { kLevels, " － " };

} // namespace

const OperationTable &subtractionTable()
{
    return kTable;
}

} // namespace piko
