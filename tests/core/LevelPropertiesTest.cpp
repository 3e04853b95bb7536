// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Thousands of seeded problems per level, a paper worksheet's among them: every problem must
// meet its level's conditions and ranges, its record must be consistent, its remainder must agree
// with whether the level asks for one, and no problem may repeat an earlier one of the row (within
// the level's window) while the level still had an unused problem.
#include "RecordingSurface.h"
#include "ScriptedRandom.h"
#include "drill/Worksheet.h"
#include "generators/Generators.h"
#include "generators/Pools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace piko::test {
namespace {

struct P {
    int a, b, answer, remainder;
};
using Check = std::function<bool(const P &)>;

bool in(int v, int lo, int hi)
{
    return v >= lo && v <= hi;
}
int ones(int v)
{
    return v % 10;
}
int tens(int v)
{
    return v / 10 % 10;
}
int hundreds(int v)
{
    return v / 100 % 10;
}
bool digitsIn(int v, int count, int lo, int hi)
{
    for (int i = 0; i < count; ++i, v /= 10)
        if (!in(v % 10, lo, hi))
            return false;
    return v == 0;
}
// The estimate of a two-digit-divisor problem: the dividend without its ones digit divided by
// the divisor's tens digit.
int estimate(const P &p)
{
    return (p.a / 10) / (p.b / 10);
}

// clang-format off
const std::map<int, std::vector<Check>> kConditions {
    { 1, {
        [](const P &p) { return in(p.a, 1, 8) && in(p.b, 1, 8) && p.a + p.b <= 9; },
        [](const P &p) { return in(p.a, 11, 18) && in(p.b, 1, 8) && p.a + p.b <= 19; },
        [](const P &p) { return in(p.a, 1, 8) && in(p.b, 2, 9) && p.a + p.b >= 10; },
        [](const P &p) { return ones(p.a) == 0 && in(p.a, 10, 80) && in(p.b, 1, 9); },
        [](const P &p) { return ones(p.a) == 0 && ones(p.b) == 0 && in(p.a, 10, 80) && in(p.b, 10, 80) && p.a + p.b <= 90; },
        [](const P &p) { return in(p.a, 11, 98) && in(ones(p.a), 1, 8) && in(p.b, 1, 8) && ones(p.a) + p.b <= 9; },
        [](const P &p) { return in(p.a, 11, 89) && ones(p.a) >= 1 && ones(p.b) == 0 && in(p.b, 10, 80) && tens(p.a) + tens(p.b) <= 9; },
        [](const P &p) { return in(p.a, 10, 99) && p.b == 0; },
        [](const P &p) { return in(p.a, 11, 88) && in(ones(p.a), 1, 8) && in(p.b, 2, 9) && ones(p.a) + p.b >= 10; },
        [](const P &p) { return digitsIn(p.a, 2, 1, 8) && in(p.b, 11, 88) && ones(p.b) >= 1 && ones(p.a) + ones(p.b) <= 9 && tens(p.a) + tens(p.b) <= 9; },
        [](const P &p) { return ones(p.a) == 0 && ones(p.b) == 0 && in(p.a, 10, 80) && in(p.b, 20, 90) && in(p.a + p.b, 100, 170); },
        [](const P &p) { return p.a % 100 == 0 && p.b % 100 == 0 && in(p.a, 100, 800) && in(p.b, 100, 800) && p.a + p.b <= 900; },
        [](const P &p) { return in(p.a, 10, 89) && in(p.b, 10, 89) && p.a + p.b <= 99; },
        [](const P &p) { return in(p.a, 100, 899) && in(p.b, 100, 899) && p.a + p.b <= 999; },
        [](const P &p) { return in(p.a, 100, 999) && in(p.b, 100, 999) && p.a + p.b >= 900; },
        [](const P &p) { return in(p.a, 1000, 8999) && in(p.b, 1000, 8999) && p.a + p.b <= 9999; },
    } },
    { 2, {
        [](const P &p) { return in(p.a, 1, 9) && ((p.a == 1 && p.b == 1) || in(p.b, 1, p.a - 1)); },
        [](const P &p) { return in(p.a, 11, 19) && ((p.a == 11 && p.b == 1) || in(p.b, 1, p.a - 11)); },
        [](const P &p) { return in(p.a, 10, 18) && in(p.b, 1, 9) && in(p.a - p.b, 1, 9) && p.b > ones(p.a); },
        [](const P &p) { return in(p.a, 11, 99) && ones(p.a) >= 1 && p.b == ones(p.a); },
        [](const P &p) { return ones(p.a) == 0 && ones(p.b) == 0 && in(p.a, 10, 90) && in(p.b, 10, p.a); },
        [](const P &p) { return in(p.a, 12, 99) && in(ones(p.a), 2, 9) && in(p.b, 1, ones(p.a) - 1); },
        [](const P &p) { return in(p.a, 11, 99) && ones(p.a) >= 1 && ones(p.b) == 0 && in(tens(p.b), 1, tens(p.a)) && p.b < 100; },
        [](const P &p) { return in(p.a, 1, 9) && p.b == 0; },
        [](const P &p) { return in(p.a, 11, 88) && in(ones(p.a), 1, 8) && in(p.b, 2, 9) && p.b > ones(p.a); },
        [](const P &p) { return digitsIn(p.a, 2, 1, 9) && ones(p.b) < ones(p.a) && in(tens(p.b), 1, tens(p.a)) && p.b < 100; },
        [](const P &p) { return in(p.a, 21, 98) && in(p.b, 12, 89) && ones(p.b) > ones(p.a) && ones(p.a) >= 1 && tens(p.b) < tens(p.a); },
        [](const P &p) { return in(p.a, 11, 99) && in(p.b, 10, p.a); },
        [](const P &p) { return in(p.a, 101, 999) && in(p.b, 100, p.a); },
    } },
    { 3, {
        [](const P &p) { return p.a == 1 && in(p.b, 1, 9); }, [](const P &p) { return p.a == 2 && in(p.b, 1, 9); },
        [](const P &p) { return p.a == 3 && in(p.b, 1, 9); }, [](const P &p) { return p.a == 4 && in(p.b, 1, 9); },
        [](const P &p) { return p.a == 5 && in(p.b, 1, 9); }, [](const P &p) { return p.a == 6 && in(p.b, 1, 9); },
        [](const P &p) { return p.a == 7 && in(p.b, 1, 9); }, [](const P &p) { return p.a == 8 && in(p.b, 1, 9); },
        [](const P &p) { return p.a == 9 && in(p.b, 1, 9); },
        [](const P &p) { return in(p.a, 1, 9) && in(p.b, 1, 9); },
        [](const P &p) { return (p.b == 10 && in(p.a, 1, 9)) || (p.a == 10 && in(p.b, 1, 9)); },
        [](const P &p) { return (p.b == 10 && in(p.a, 10, 100)) || (p.a == 10 && in(p.b, 10, 100)); },
        [](const P &p) { return (p.b == 100 && in(p.a, 1, 99)) || (p.a == 100 && in(p.b, 1, 99)); },
        [](const P &p) { return digitsIn(p.a, 2, 1, 9) && in(p.b, 2, 9) && ones(p.a) * p.b <= 9; },
        [](const P &p) { return digitsIn(p.a, 2, 1, 9) && in(p.b, 2, 9) && ones(p.a) * p.b >= 10; },
        [](const P &p) { return ((ones(p.a) == 0 && in(p.a, 20, 90)) || (p.a % 100 == 0 && in(p.a, 200, 900))) && in(p.b, 2, 9); },
        [](const P &p) { return in(p.a, 100, 999) && in(p.b, 2, 9) && p.a * p.b <= 999; },
        [](const P &p) { return in(p.a, 100, 999) && in(p.b, 2, 9) && p.a * p.b >= 1000; },
        [](const P &p) { return in(p.a, 2, 9) && ones(p.b) == 0 && in(p.b, 20, 90); },
        [](const P &p) { return ones(p.a) == 0 && in(p.a, 20, 90) && ones(p.b) == 0 && in(p.b, 20, 90); },
        [](const P &p) { return in(p.a, 11, 99) && ones(p.b) == 0 && in(p.b, 20, 90); },
        [](const P &p) { return in(p.a, 1, 9) && p.b % 100 == 0 && in(p.b, 100, 900); },
        [](const P &p) { return in(p.a, 11, 99) && in(p.b, 11, 99) && ones(p.b) != 0 && p.a * tens(p.b) <= 99 && p.a * ones(p.b) <= 99; },
        [](const P &p) { return in(p.a, 11, 99) && in(p.b, 11, 99); },
        [](const P &p) { return in(p.a, 101, 999) && in(p.b, 11, 99); },
        [](const P &p) { return in(p.a, 101, 999) && digitsIn(p.b, 3, 1, 9); },
        [](const P &p) { return in(p.a, 101, 999) && in(p.b, 101, 999) && tens(p.b) == 0 && ones(p.b) != 0; },
    } },
    { 4, {
        [](const P &p) { return in(p.b, 2, 9) && in(p.answer, 2, 9) && p.remainder == 0; },
        [](const P &p) { return p.a == 0 && in(p.b, 1, 9) && p.answer == 0 && p.remainder == 0; },
        [](const P &p) { return p.b == 10 && in(p.answer, 10, 99) && p.remainder == 0; },
        [](const P &p) { return in(p.b, 2, 9) && in(p.answer, 2, 9) && in(p.remainder, 1, p.b - 1); },
        [](const P &p) { return in(p.b, 2, 9) && ones(p.answer) == 0 && in(p.answer, 20, 90) && p.remainder == 0; },
        [](const P &p) { return in(p.answer, 11, 49) && ones(p.answer) != 0 && in(p.b, 2, 9) && p.a <= 99 && p.remainder == 0; },
        [](const P &p) { return in(p.answer, 11, 49) && ones(p.answer) != 0 && in(p.b, 2, 8) && p.a <= 99 && in(p.remainder, 1, p.b - 1); },
        [](const P &p) { return digitsIn(p.answer, 3, 1, 8) && in(p.b, 2, 9) && p.a <= 999 && p.remainder == 0; },
        [](const P &p) { return digitsIn(p.answer, 3, 1, 8) && in(p.b, 2, 9) && p.a <= 999 && p.remainder >= 1; },
        [](const P &p) { return in(hundreds(p.answer), 1, 8) && (tens(p.answer) == 0) != (ones(p.answer) == 0) && in(tens(p.answer) + ones(p.answer), 1, 8) && p.answer < 1000 && p.a <= 999 && p.remainder == 0; },
        [](const P &p) { return in(hundreds(p.answer), 1, 8) && (tens(p.answer) == 0) != (ones(p.answer) == 0) && in(tens(p.answer) + ones(p.answer), 1, 8) && p.answer < 1000 && p.a <= 999 && p.remainder >= 1; },
        [](const P &p) { return digitsIn(p.answer, 4, 1, 9) && p.a <= 9999 && p.remainder == 0; },
        [](const P &p) { return digitsIn(p.answer, 4, 1, 9) && p.a <= 9999 && p.remainder >= 1; },
        [](const P &p) { return in(p.answer, 1000, 9999) && p.a <= 9999 && in(p.b, 2, 9); },
        [](const P &p) { const int w = p.answer % 100 == 0 && p.answer >= 1000 ? p.answer / 100 : p.answer / 10;
                         return ones(p.answer) == 0 && in(w, 11, 49) && ones(w) != 0 && w * p.b <= 99 && p.remainder == 0; },
        [](const P &p) { return in(p.answer, 2, 9) && ones(p.b) == 0 && in(p.b, 20, 90) && p.remainder == 0; },
        [](const P &p) { return in(p.answer, 2, 9) && ones(p.b) == 0 && in(p.b, 20, 90) && ones(p.remainder) == 0 && in(p.remainder, 10, p.b - 10); },
        [](const P &p) { return in(p.a, 17, 99) && in(p.b, 11, 38) && in(p.answer, 1, 8) && estimate(p) == p.answer && p.remainder >= 1 && 20 * p.b <= 13 * p.a; },
        [](const P &p) { return in(p.a, 21, 99) && in(p.b, 11, 38) && estimate(p) == p.answer + 1 && p.remainder >= 1 && 20 * p.b <= 13 * p.a; },
        [](const P &p) { return in(p.a, 31, 99) && in(p.b, 13, 28) && in(p.answer, 1, 7) && estimate(p) == p.answer + 2 && p.remainder >= 1; },
        [](const P &p) { return in(p.a, 111, 999) && in(p.answer, 1, 9) && estimate(p) == p.answer && in(ones(p.b), 3, 8) && p.remainder >= 1 && 20 * p.b <= 13 * p.a; },
        [](const P &p) { return in(p.a, 111, 999) && in(p.answer, 1, 9) && in(estimate(p) - p.answer, 1, 3) && in(ones(p.b), 3, 8) && p.remainder >= 1; },
        [](const P &p) { return in(p.a, 111, 999) && in(p.answer, 1, 9) && in(ones(p.b), 7, 9) && p.remainder >= 1; },
        [](const P &p) { return in(p.a, 171, 999) && in(p.answer, 10, 58) && in(ones(p.b), 7, 9) && p.remainder >= 1; },
    } },
};
// clang-format on

bool consistent(int operation, const P &p)
{
    switch (operation) {
    case 1:
        return p.answer == p.a + p.b && p.remainder == 0;
    case 2:
        return p.answer == p.a - p.b && p.answer >= 0 && p.remainder == 0;
    case 3:
        return p.answer == p.a * p.b && p.remainder == 0;
    default:
        return p.b > 0 && p.a == p.answer * p.b + p.remainder && in(p.remainder, 0, p.b - 1);
    }
}

// How far back a problem may not come again, written out per level, and whether the quotient
// rather than the pair counts.
int window(int operation, int level)
{
    if ((operation == 2 && level == 4) || (operation == 4 && level == 2))
        return 0;
    if (operation == 2 && level == 8)
        return 4;
    if (operation == 3 && level <= 9)
        return 7;
    return 98;
}

struct LevelId {
    int operation, level;
};
std::ostream &operator<<(std::ostream &os, const LevelId &l)
{
    return os << "operation " << l.operation << " level " << l.level;
}
std::vector<LevelId> allLevels()
{
    std::vector<LevelId> ids;
    for (const auto &[operation, checks] : kConditions)
        for (int level = 1; level <= static_cast<int>(checks.size()); ++level)
            ids.push_back({ operation, level });
    return ids;
}

class LevelProperties : public ::testing::TestWithParam<LevelId> { };

TEST_P(LevelProperties, EveryProblemMeetsItsLevelAndNothingRepeatsTooSoon)
{
    const auto [operation, level] = GetParam();
    const Check &meets = kConditions.at(operation)[level - 1];
    const bool byQuotient = operation == 4 && level == 3;
    const int back = window(operation, level);
    const LevelRule &rule = *operationTable(operation)->level(level);
    const auto pool = enumeratePool(rule);
    // A level that asks for a remainder gives one with every problem, except division L14, whose
    // remainder may come out 0; a level that asks for none never gives one.
    const bool asksRemainder = operationTable(operation)->asksRemainder(level);
    const bool zeroRemainderToo = operation == 4 && level == 14;
    bool gaveRemainder = false;

    SeededRandom random(static_cast<std::uint32_t>(1000 * operation + level));
    RecordingSurface surface;
    DrillState state;
    state.Operation = static_cast<std::int16_t>(operation);
    state.Level = static_cast<std::int16_t>(level);
    state.CurrentRow = 3;
    auto &h = state.ProblemHistory;
    constexpr int kRows = 50, kPerRow = 60;
    // The first row's worth is a paper worksheet's, which keeps to the same rules.
    const std::optional<Worksheet> sheet = makeWorksheet({ operation, level, kPerRow, 7 });
    ASSERT_TRUE(sheet.has_value());
    for (int rowRun = 0; rowRun < kRows; ++rowRun) {
        h.clearRow(3);
        std::vector<P> made;
        for (int n = 1; n <= kPerRow; ++n) {
            P p;
            if (rowRun == 0) {
                const WorksheetProblem &w = sheet->problems[std::size_t(n - 1)];
                ASSERT_EQ(w.number, n);
                p = { w.a, w.b, w.answer, w.remainder };
            } else {
                ASSERT_TRUE(makeProblem(state, random, surface));
                p = { h.OperandA(3, n), h.OperandB(3, n), h.Answer(3, n), h.Remainder(3, n) };
            }
            ASSERT_TRUE(meets(p)) << p.a << ", " << p.b << " -> " << p.answer << " r "
                                  << p.remainder;
            ASSERT_TRUE(consistent(operation, p)) << p.a << ", " << p.b;
            ASSERT_TRUE(asksRemainder ? p.remainder >= 1 || zeroRemainderToo : p.remainder == 0)
                << p.a << ", " << p.b << " r " << p.remainder << " where the level asks for "
                << (asksRemainder ? "a remainder" : "none");
            gaveRemainder = gaveRemainder || p.remainder >= 1;
            const auto sameAs = [&](const P &q) {
                return byQuotient ? q.answer == p.answer : (q.a == p.a && q.b == p.b);
            };
            const auto recent = made.end() - std::min<std::ptrdiff_t>(back, made.size());
            if (std::any_of(recent, made.end(), sameAs)) {
                // Only allowed once every problem of the level stands in the window.
                ASSERT_TRUE(pool.has_value()) << "a large pool repeated " << p.a << ", " << p.b;
                for (const Candidate &c : *pool) {
                    const P q { c.a, c.b, c.answer, c.remainder };
                    ASSERT_TRUE(std::any_of(recent, made.end(),
                        [&](const P &m) {
                            return byQuotient ? m.answer == q.answer : (m.a == q.a && m.b == q.b);
                        }))
                        << "repeated while " << c.a << ", " << c.b << " was still unused";
                }
            }
            made.push_back(p);
        }
    }
    EXPECT_EQ(gaveRemainder, asksRemainder);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, LevelProperties, ::testing::ValuesIn(allLevels()));

} // namespace
} // namespace piko::test
