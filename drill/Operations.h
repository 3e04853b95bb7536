// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Design.h"
#include "generators/LevelRule.h"

#include <array>
#include <span>

namespace piko {

// One of the four operations as the pupil meets it: its level options' captions (level L at
// L − 1) and its panel. The levels' rules are generators' operationTable(code).
struct OperationDesign {
    int code; // 1 addition .. 4 division, as DrillState's Operation
    std::span<const char *const> captions;
    int offered; // levels 1 to offered can be chosen; the rest stay hidden
    const design::Panel &panel;
};

namespace operations {

// The captions stand in a fixed-pitch font, so every blank, full-width character and
// half-width katakana lines the columns up and must stay as it is.
// clang-format off
inline constexpr std::array<const char *, 16> kAddition {
    "L01    5+ 3     1ｹﾀ + 1ｹﾀ", "L02   13+ 6     2ｹﾀ + 1ｹﾀ", "L03    8+ 4     1ｹﾀ + 1ｹﾀ  くりあがり",
    "L04   20+ 3     何十+ 1ｹﾀ", "L05   30+40     何十+何十", "L06   24+ 5     2ｹﾀ + 1ｹﾀ",
    "L07   44+30     2ｹﾀ +何十", "L08   35+ 0     2ｹﾀ +  0", "L09   24+ 8     2ｹﾀ + 1ｹﾀ  くりあがり",
    "L10   36+21     2ｹﾀ + 2ｹﾀ", "L11   40+70     何十+何十　 くりあがり", "L12  400+200    何百+何百",
    "L13   14+28     2ｹﾀ + 2ｹﾀ　　こんごう", "L14  231+283    3ｹﾀ + 3ｹﾀ　　こんごう",
    "L15  394+828    3ｹﾀ + 3ｹﾀ　　こんごう", "L16 3675+3902   4ｹﾀ + 4ｹﾀ　　こんごう",
};
inline constexpr std::array<const char *, 13> kSubtraction {
    "L01     7- 4     1ｹﾀ - 1ｹﾀ", "L02    17- 4     2ｹﾀ - 1ｹﾀ", "L03    14- 6     2ｹﾀ - 1ｹﾀ  くりさがり",
    "L04    47- 7     2ｹﾀ - 1ｹﾀ  何十", "L05    70-40     何十-何十", "L06    37- 4     2ｹﾀ - 1ｹﾀ",
    "L07    57-40     2ｹﾀ -何十", "L08     7- 0     1ｹﾀ - 0", "L09    34- 6     2ｹﾀ - 1ｹﾀ  くりさがり",
    "L10    34-23     2ｹﾀ - 2ｹﾀ", "L11    43-26     2ｹﾀ - 2ｹﾀ  くりさがり", "L12    74-36     2ｹﾀ - 2ｹﾀ  こんごう",
    "L13   374-186    3ｹﾀ - 3ｹﾀ  こんごう",
};
inline constexpr std::array<const char *, 27> kMultiplication {
    "L01   １のだんの九九", "L02   ２のだんの九九", "L03   ３のだんの九九", "L04   ４のだんの九九",
    "L05   ５のだんの九九", "L06   ６のだんの九九", "L07   ７のだんの九九", "L08   ８のだんの九九",
    "L09   ９のだんの九九", "L10   すべてのだんの九九", "L11   3×10,10×3　1ｹﾀ×10  10×1ｹﾀ",
    "L12  34×10        2ｹﾀ,3ｹﾀ×10", "L13   3×100       1,2ｹﾀ×100", "L14  23×3         2ｹﾀ×1ｹﾀ ",
    "L15  23×5         2ｹﾀ×1ｹﾀ  くりあがり ", "L16  30×5         何十,何百×1ｹﾀ",
    "L17 241×  3       3ｹﾀ×1ｹﾀ  くりあがり", "L18 436×  5       3ｹﾀ×1ｹﾀ　くりあがり ",
    "L19   3× 50       1ｹﾀ×何十 ", "L20  20× 30       何十×何十", "L21  23× 30       1ｹﾀ×何十",
    "L22   6×300       1ｹﾀ×何百", "L23  24× 13       2ｹﾀ×2ｹﾀ  くりあがり", "L24  23× 38       2ｹﾀ×2ｹﾀ  くりあがり",
    "L25 323× 32       3ｹﾀ×2ｹﾀ  くりあがり", "L26 323×145       3ｹﾀ×3ｹﾀ  くりあがり",
    "L27 323×402       3ｹﾀ×3ｹﾀ  くりあがり",
};
// Levels 12 and 13 show 5380 ÷ 4 = 1345 (not 1344): an example must be right.
// Levels 25 and 26 are never offered.
inline constexpr std::array<const char *, 26> kDivision {
    "L01   24÷8= 3 　　　　  2ｹﾀ÷1ｹﾀ=1ｹﾀ", "L02    0÷8= 0　  　　     0÷1ｹﾀ", "L03  240÷10=24      何百何十÷10",
    "L04   29÷4= 7あまり1    2ｹﾀ÷1ｹﾀ　ｱﾏﾘ", "L05  360÷9= 40　   何百何十÷1ｹﾀ", "L06   48÷3=16　　　  　 2ｹﾀ÷1ｹﾀ=2ｹﾀ",
    "L07   52÷3=17あまり1 　 2ｹﾀ÷1ｹﾀ  ｱﾏﾘ", "L08  528÷3=176　　　    3ｹﾀ÷1ｹﾀ=3ｹﾀ", "L09  527÷3=175あまり2   3ｹﾀ÷1ｹﾀ  ｱﾏﾘ",
    "L10  618÷3=206　　　    3ｹﾀ÷1ｹﾀ=3ｹﾀ", "L11  619÷3=206あまり1   3ｹﾀ÷1ｹﾀ  ｱﾏﾘ", "L12 5380÷4=1345         4ｹﾀ÷1ｹﾀ ",
    "L13 5381÷4=1345あまり1  4ｹﾀ÷1ｹﾀ  ｱﾏﾘ", "L14 ????÷?=????あまり?  4ｹﾀ÷1ｹﾀ  ｱﾏﾘ?", "L15 ????÷?=?   3 または 4ｹﾀ÷1ｹﾀ(暗算) ",
    "L16  60÷ 30=2    何百何十÷何十（暗算）", "L17 160÷ 50=3 ｱﾏﾘ 10 ", "L18  64÷ 31=2 ｱﾏﾘ 2   見当１", "L19  64÷ 25=2 ｱﾏﾘ 14  見当２",
    "L20  66÷ 16=4 ｱﾏﾘ 2   見当３", "L21 248÷ 41=6 ｱﾏﾘ 2   見当４", "L22 326÷ 35=9 ｱﾏﾘ 11  見当５", "L23 126÷ 39=3 ｱﾏﾘ 9   見当６",
    "L24 236÷ 43=5 ｱﾏﾘ 21  見当 まとめ ", "L25 456÷ 28=16 ｱﾏﾘ 8  3ｹﾀ÷2ｹﾀ ", "L26 6523÷37=176 ｱﾏﾘ 11  4ｹﾀ÷2ｹﾀ",
};
// clang-format on

inline constexpr std::array<OperationDesign, 4> kAll { {
    { 1, kAddition, 16, design::kPanels[0] },
    { 2, kSubtraction, 13, design::kPanels[1] },
    { 3, kMultiplication, 27, design::kPanels[2] },
    { 4, kDivision, 24, design::kPanels[3] },
} };

// Every level that can be chosen has a rule and a caption; division's last two captions stand
// for levels that are never offered.
constexpr bool captionsMatchRules()
{
    for (const OperationDesign &op : kAll)
        if (op.offered != kRuleCounts[op.code] || int(op.captions.size()) < op.offered)
            return false;
    return true;
}
static_assert(captionsMatchRules(), "every offered level needs a rule and a caption");

// Level L's caption starts with "L" and L in two digits: "L07 ...".
constexpr bool captionsNumbered()
{
    for (const OperationDesign &op : kAll)
        for (std::size_t i = 0; i < op.captions.size(); ++i) {
            const char *c = op.captions[i];
            if (c[0] != 'L' || c[1] != char('0' + (i + 1) / 10) || c[2] != char('0' + (i + 1) % 10))
                return false;
        }
    return true;
}
static_assert(captionsNumbered(), "a level's caption starts with its number");

// The operation of a code 1..4 (held to that range).
constexpr const OperationDesign &of(int code)
{
    return kAll[code < 1 ? 0 : code > 4 ? 3 : code - 1];
}

} // namespace operations
} // namespace piko
