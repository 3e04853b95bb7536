// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Addition levels: from one-digit sums without a carry to four-digit mixed sums.
// Each rule draws in the order of the level's description; a redraw starts the candidate over.
#include "generators/LevelRule.h"

#include <array>

namespace piko {
namespace {

// Level 1 keeps the operands of consecutive problems apart; the sum may come again.
constexpr Repetition kNoSharedOperand { .similarity = Repetition::Similarity::OperandsUnbounded };

// clang-format off
constexpr std::array<LevelRule, kRuleCounts[Addition]> kLevels {{
    // L01  5+3: one digit + one digit, no carry
    { [](Draw &R) -> Drawn { int a = R(8)+1, b = R(9)+1;               return a + b > 9 ? redraw : sum(a, b); }, kNoSharedOperand },
    // L02  13+6: teen + one digit, no carry
    { [](Draw &R) -> Drawn { int a = R(8)+1+10, b = R(9)+1;            return a + b > 19 ? redraw : sum(a, b); } },
    // L03  8+4: one digit + one digit, carrying into the tens
    { [](Draw &R) -> Drawn { int a = R(8)+1, b = R(9)+1;               return a + b < 10 ? redraw : sum(a, b); } },
    // L04  20+3: tens + one digit
    { [](Draw &R) -> Drawn { int a = 10*(R(8)+1), b = R(9)+1;          return sum(a, b); } },
    // L05  30+40: tens + tens, below 100
    { [](Draw &R) -> Drawn { int a = 10*(R(8)+1), b = 10*(R(9)+1);     return a + b > 99 ? redraw : sum(a, b); } },
    // L06  24+5: two digits + one digit, no carry
    { [](Draw &R) -> Drawn { int u = R(8)+1, b = R(9)+1;               if (u + b > 9) return redraw;
                             int t = R(9)+1;                           return sum(10*t + u, b); } },
    // L07  44+30: two digits + tens, no carry
    { [](Draw &R) -> Drawn { int x = R(8)+1, y = R(9)+1;               if (x + y > 9) return redraw;
                             int u = R(9)+1;                           return sum(10*x + u, 10*y); } },
    // L08  35+0: two digits + 0
    { [](Draw &R) -> Drawn { int a = R(99)+1;                          return a < 10 ? redraw : sum(a, 0); } },
    // L09  24+8: two digits + one digit, carrying into the tens
    { [](Draw &R) -> Drawn { int u = R(8)+1, b = R(9)+1;               if (u + b < 10) return redraw;
                             int t = R(8)+1;                           return sum(10*t + u, b); } },
    // L10  36+21: two digits + two digits, no carry
    { [](Draw &R) -> Drawn { int u = R(8)+1, v = R(9)+1;               if (u + v > 9) return redraw;
                             int t = R(9)+1, s = R(9)+1;               return t + s > 9 ? redraw : sum(10*t + u, 10*s + v); } },
    // L11  40+70: tens + tens, carrying into the hundreds
    { [](Draw &R) -> Drawn { int x = R(8)+1, y = R(9)+1;               return x + y < 10 ? redraw : sum(10*x, 10*y); } },
    // L12  400+200: hundreds + hundreds, no carry
    { [](Draw &R) -> Drawn { int x = R(8)+1, y = R(9)+1;               return x + y > 9 ? redraw : sum(100*x, 100*y); } },
    // L13  14+28: two digits + two digits, carries at random, sum below 100
    { [](Draw &R) -> Drawn { int a = R(99)+1;                          if (a < 10) return redraw;
                             int b = R(99)+1;                          return b < 10 || a + b > 99 ? redraw : sum(a, b); } },
    // L14  231+283: three digits + three digits, sum below 1000
    { [](Draw &R) -> Drawn { int a = R(999)+1;                         if (a < 100) return redraw;
                             int b = R(999)+1;                         return b < 100 || a + b > 999 ? redraw : sum(a, b); } },
    // L15  394+828: three digits + three digits, sum at least 900
    { [](Draw &R) -> Drawn { int a = R(999)+1;                         if (a < 100) return redraw;
                             int b = R(999)+1;                         return b < 100 || a + b < 900 ? redraw : sum(a, b); } },
    // L16  3675+3902: four digits + four digits, sum below 10000
    { [](Draw &R) -> Drawn { int a = R(9999)+1;                        if (a < 1000) return redraw;
                             int b = R(9999)+1;                        return b < 1000 || a + b > 9999 ? redraw : sum(a, b); } },
}};
// clang-format on

constexpr OperationTable kTable { kLevels, " ＋ " };

} // namespace

const OperationTable &additionTable()
{
    return kTable;
}

} // namespace piko
