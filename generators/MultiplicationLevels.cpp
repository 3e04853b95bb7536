// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Multiplication levels: the times tables, then tens and hundreds, then long multiplication.
#include "generators/LevelRule.h"

#include <array>

namespace piko {
namespace {

// A times-table step has only nine problems: keep b away from the last seven.
constexpr Repetition kLastSeven { .window = 7 };

// The n-times table: n × 1..9, with 1 coming twice as often (R(10) = 0 is raised to 1).
template<int n> Drawn timesTable(Draw &R)
{
    return product(n, atLeast(R(10), 1));
}

// "d × 10 or 10 × d": a fresh x above one half puts d on the left.
Drawn eitherSide(Draw &R, int d, int k)
{
    return R.x() > 0.5 ? product(d, k) : product(k, d);
}

// clang-format off
constexpr std::array<LevelRule, kRuleCounts[Multiplication]> kLevels {{
    { timesTable<1>, kLastSeven },   // L01  the 1 table
    { timesTable<2>, kLastSeven },   // L02
    { timesTable<3>, kLastSeven },   // L03
    { timesTable<4>, kLastSeven },   // L04
    { timesTable<5>, kLastSeven },   // L05
    { timesTable<6>, kLastSeven },   // L06
    { timesTable<7>, kLastSeven },   // L07
    { timesTable<8>, kLastSeven },   // L08
    { timesTable<9>, kLastSeven },   // L09  the 9 table
    // L10  every table
    { [](Draw &R) -> Drawn { int a = atMost(R(10)+1, 9), b = atMost(R(10)+1, 9);   return product(a, b); } },
    // L11  3×10 and 10×3
    { [](Draw &R) -> Drawn { int d = atMost(R(10)+1, 9);                           return eitherSide(R, d, 10); } },
    // L12  34×10: two- and three-digit numbers times 10
    { [](Draw &R) -> Drawn { int d = R(100)+1;                                     return d < 10 ? redraw : eitherSide(R, d, 10); } },
    // L13  3×100: one- and two-digit numbers times 100
    { [](Draw &R) -> Drawn { int d = atMost(R(100)+1, 99);                         return eitherSide(R, d, 100); } },
    // L14  23×3: two digits × one digit, the ones digit does not carry
    { [](Draw &R) -> Drawn { int t = atMost(R(10)+1, 9), u = atMost(R(10)+1, 9), b = R(8)+2;
                                                                                   return u*b > 9 ? redraw : product(10*t + u, b); } },
    // L15  23×5: two digits × one digit, the ones digit carries
    { [](Draw &R) -> Drawn { int t = atMost(R(10)+1, 9), u = atMost(R(10)+1, 9), b = atMost(R(9)+2, 9);
                                                                                   return u*b < 10 ? redraw : product(10*t + u, b); } },
    // L16  30×5: tens or hundreds × one digit
    { [](Draw &R) -> Drawn { int d = atMost(R(10)+2, 9), s = R(10), a = s < 6 ? 10*d : 100*d;
                             int b = atMost(R(9)+2, 9);                            return product(a, b); } },
    // L17  241×3: three digits × one digit, product below 1000
    { [](Draw &R) -> Drawn { int a = R(1000)+1;                                    if (a < 100) return redraw;
                             a = atMost(a, 999); int b = atMost(R(9)+2, 9);        return a*b > 999 ? redraw : product(a, b); } },
    // L18  436×5: three digits × one digit, product 1000 or more
    { [](Draw &R) -> Drawn { int a = R(1000)+1;                                    if (a < 100) return redraw;
                             a = atMost(a, 999); int b = atMost(R(9)+2, 9);        return a*b < 1000 ? redraw : product(a, b); } },
    // L19  3×50: one digit × tens
    { [](Draw &R) -> Drawn { int a = atMost(R(9)+2, 9), e = atMost(R(9)+2, 9);     return product(a, 10*e); } },
    // L20  20×30: tens × tens
    { [](Draw &R) -> Drawn { int d = atMost(R(9)+2, 9), e = atMost(R(9)+2, 9);     return product(10*d, 10*e); } },
    // L21  23×30: two digits × tens
    { [](Draw &R) -> Drawn { int a = atMost(R(99)+11, 99), e = atMost(R(9)+2, 9);  return product(a, 10*e); } },
    // L22  6×300: one digit × hundreds
    { [](Draw &R) -> Drawn { int a = R(9)+1, e = R(9)+1;                           return product(a, 100*e); } },
    // L23  24×13: two digits × two digits, each partial product stays at two digits
    { [](Draw &R) -> Drawn { int a = R(89)+11, b = R(89)+11;
                             return a*(b/10) > 99 || a*(b%10) > 99 || b%10 == 0 ? redraw : product(a, b); } },
    // L24  23×38: two digits × two digits
    { [](Draw &R) -> Drawn { int a = R(89)+11, b = R(89)+11;                       return product(a, b); } },
    // L25  323×32: three digits × two digits
    { [](Draw &R) -> Drawn { int a = R(899)+101, b = R(89)+11;                     return product(a, b); } },
    // L26  323×145: three digits × three digits without a zero digit
    { [](Draw &R) -> Drawn { int a = R(899)+101, h = R(9)+1, t = R(9)+1, u = R(9)+1;  return product(a, 100*h + 10*t + u); } },
    // L27  323×402: three digits × three digits with a zero tens digit
    { [](Draw &R) -> Drawn { int a = R(899)+101, h = R(9)+1, u = R(9)+1;           return product(a, 100*h + u); } },
}};
// clang-format on

constexpr OperationTable kTable { kLevels, " × " };

} // namespace

const OperationTable &multiplicationTable()
{
    return kTable;
}

} // namespace piko
