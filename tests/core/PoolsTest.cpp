// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Level pools, and rows on which a level runs out of problems: the loop must still end at
// once, and only then may a problem come again.
#include "generators/Pools.h"

#include "RecordingSurface.h"
#include "ScriptedRandom.h"
#include "generators/Generators.h"

#include <gtest/gtest.h>

#include <set>

namespace piko::test {
namespace {

const OperationTable &table(int operation)
{
    return *operationTable(operation);
}

// The number of different problems of every level (pairs, or quotients at division 3).
// 0: too many outcomes to walk here; the property tests cover those levels.
// clang-format off
const std::vector<int> kPoolSizes[5] = {
    {},
    { 36, 36, 36, 72, 36, 324, 324, 90, 288, 1296, 36, 36, 3240, 0, 0, 0 },
    { 37, 37, 45, 81, 45, 324, 405, 9, 288, 2025, 1296, 4094, 0 },
    { 9, 9, 9, 9, 9, 9, 9, 9, 9, 81, 18, 181, 198, 126, 522, 128, 1031, 6169, 64, 64, 712, 81, 665, 7921, 0, 0, 0 },
    { 64, 0, 90, 288, 64, 92, 208, 648, 0, 196, 0, 0, 0, 0, 184, 64, 288, 431, 557, 150, 0, 0, 0, 0 },
};
// clang-format on

TEST(Pools, HoldTheNumberOfProblemsEachLevelCanMake)
{
    for (int operation = 1; operation <= 4; ++operation) {
        const auto &levels = table(operation).levels;
        ASSERT_EQ(levels.size(), kPoolSizes[operation].size());
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const int expected = kPoolSizes[operation][i];
            if (expected == 0)
                continue;
            const auto pool = enumeratePool(levels[i]);
            ASSERT_TRUE(pool.has_value()) << operation << " L" << i + 1;
            EXPECT_EQ(static_cast<int>(pool->size()), expected) << operation << " L" << i + 1;
        }
    }
}

TEST(Pools, LevelsTooLargeToWalkHaveMoreProblemsThanARow)
{
    // Every level whose draws cannot be walked must hold more than 99 problems, or the loop
    // could not rely on drawing on. Sampling finds at least that many different ones.
    SeededRandom random(11);
    SourceDraw draw(random);
    for (int operation = 1; operation <= 4; ++operation) {
        for (const LevelRule &level : table(operation).levels) {
            if (level.repetition.window == 0 || enumeratePool(level))
                continue; // nothing to use up, or walked above
            std::set<std::pair<int, int>> seen;
            for (int i = 0; i < 5000 && seen.size() < 200; ++i)
                if (const Drawn c = level.draw(draw))
                    seen.emplace(c->a, c->b);
            EXPECT_GE(seen.size(), 200u) << "operation " << operation;
        }
    }
}

struct Exhaustible {
    int operation, level, pool;
};
std::ostream &operator<<(std::ostream &os, const Exhaustible &e)
{
    return os << "operation " << e.operation << " level " << e.level;
}

class ExhaustedRow : public ::testing::TestWithParam<Exhaustible> { };

// Each level that a row can use up: 99 problems, then 300, never hanging, never repeating
// while an unused problem is left, and never giving the previous problem straight again. (How
// long it takes is measured in bench/GeneratorBench.cpp.)
TEST_P(ExhaustedRow, KeepsMakingProblems)
{
    const auto [operation, level, poolSize] = GetParam();
    DrillState state;
    state.Operation = static_cast<std::int16_t>(operation);
    state.Level = static_cast<std::int16_t>(level);
    state.CurrentRow = 2;
    SeededRandom random(static_cast<std::uint32_t>(operation * 100 + level));
    RecordingSurface surface;
    const bool byQuotient = operation == 4 && level == 3;
    const auto key = [&](int n) {
        const auto &h = state.ProblemHistory;
        return byQuotient ? std::pair { h.Answer(2, n), 0 }
                          : std::pair { h.OperandA(2, n), h.OperandB(2, n) };
    };

    std::set<std::pair<int, int>> given;
    for (int i = 1; i <= 300; ++i) {
        ASSERT_TRUE(makeProblem(state, random, surface));
        const int n = state.ProblemHistory.ProblemCount(2);
        const auto k = key(n);
        if (i <= 99) {
            // A repeat only once the whole pool has been given on this row.
            if (given.count(k)) {
                ASSERT_EQ(static_cast<int>(given.size()), poolSize) << "problem " << i;
            }
            given.insert(k);
        }
        if (n > 1 && poolSize > 1) {
            ASSERT_NE(k, key(n - 1)) << "the previous problem came straight again at " << i;
        }
    }
    EXPECT_EQ(static_cast<int>(given.size()), poolSize);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryExhaustibleLevel, ExhaustedRow, ::testing::Values(
    Exhaustible { 1, 2, 36 }, Exhaustible { 1, 3, 36 }, Exhaustible { 1, 4, 72 }, Exhaustible { 1, 5, 36 },
    Exhaustible { 1, 8, 90 }, Exhaustible { 1, 11, 36 }, Exhaustible { 1, 12, 36 },
    Exhaustible { 2, 1, 37 }, Exhaustible { 2, 2, 37 }, Exhaustible { 2, 3, 45 }, Exhaustible { 2, 5, 45 },
    Exhaustible { 3, 10, 81 }, Exhaustible { 3, 11, 18 }, Exhaustible { 3, 19, 64 }, Exhaustible { 3, 20, 64 },
    Exhaustible { 3, 22, 81 },
    Exhaustible { 4, 1, 64 }, Exhaustible { 4, 3, 90 }, Exhaustible { 4, 5, 64 }, Exhaustible { 4, 6, 92 },
    Exhaustible { 4, 16, 64 }));
// clang-format on

// Addition level 1 also keeps operands of consecutive problems apart, without a bound: long
// before its 36 problems are used up, every unused one may share an operand with the last.
TEST(ExhaustedRow, AdditionLevelOneRelaxesOnlyWhenNothingCanPass)
{
    DrillState state;
    state.Operation = 1;
    state.Level = 1;
    state.CurrentRow = 1;
    RecordingSurface surface;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        SeededRandom random(seed);
        state.ProblemHistory.clearRow(1);
        const auto &h = state.ProblemHistory;
        for (int n = 1; n <= 99; ++n) {
            // Which problems could pass both tests before this one was made?
            bool somePasses = false;
            for (int a = 1; a <= 8; ++a)
                for (int b = 1; b + a <= 9; ++b) {
                    bool repeat = false;
                    for (int j = 1; j < n; ++j)
                        repeat = repeat || (h.OperandA(1, j) == a && h.OperandB(1, j) == b);
                    const bool shares
                        = n > 1 && (h.OperandA(1, n - 1) == a || h.OperandB(1, n - 1) == b);
                    somePasses = somePasses || (!repeat && !shares);
                }
            ASSERT_TRUE(makeProblem(state, random, surface));
            const int a = h.OperandA(1, n), b = h.OperandB(1, n);
            bool repeat = false;
            for (int j = 1; j < n; ++j)
                repeat = repeat || (h.OperandA(1, j) == a && h.OperandB(1, j) == b);
            const bool shares = n > 1 && (h.OperandA(1, n - 1) == a || h.OperandB(1, n - 1) == b);
            if (somePasses) {
                ASSERT_FALSE(repeat || shares) << "seed " << seed << " problem " << n;
            }
            if (n > 1) {
                ASSERT_FALSE(a == h.OperandA(1, n - 1) && b == h.OperandB(1, n - 1));
            }
        }
    }
}

// A source that repeats itself would keep some levels drawing for ever: the window must not
// hang even then.
TEST(BrokenRandomSource, StillEndsEveryProblem)
{
    class Stuck final : public RandomSource {
    public:
        double next() override { return 0.0; }
    } stuck;
    RecordingSurface surface;
    for (int operation = 1; operation <= 4; ++operation) {
        for (int level = 1; level <= static_cast<int>(table(operation).levels.size()); ++level) {
            DrillState state;
            state.Operation = static_cast<std::int16_t>(operation);
            state.Level = static_cast<std::int16_t>(level);
            state.CurrentRow = 1;
            for (int i = 0; i < 3; ++i)
                ASSERT_TRUE(makeProblem(state, stuck, surface));
            EXPECT_EQ(state.ProblemHistory.ProblemCount(1), 3);
        }
    }
}

TEST(ExhaustedRow, RecordsOfOtherOperationsCanBlockAWholeLevel)
{
    // Every problem of division 1 stands on the row already, written by other operations.
    DrillState state;
    state.CurrentRow = 1;
    auto &h = state.ProblemHistory;
    int n = 0;
    for (int d = 2; d <= 9; ++d)
        for (int q = 2; q <= 9; ++q) {
            ++n;
            h.setField(1, n, Field::OperandA, q * d);
            h.setField(1, n, Field::OperandB, d);
            h.setField(1, n, Field::Answer, q * d + d);
        }
    h.setProblemCount(1, n);
    state.Operation = 4;
    state.Level = 1;
    SeededRandom random(5);
    RecordingSurface surface;
    ASSERT_TRUE(makeProblem(state, random, surface));
    EXPECT_EQ(h.ProblemCount(1), 65);
    const int a = h.OperandA(1, 65), d = h.OperandB(1, 65);
    EXPECT_EQ(h.Answer(1, 65) * d, a);
    EXPECT_FALSE(a == h.OperandA(1, 64) && d == h.OperandB(1, 64));
}

} // namespace
} // namespace piko::test
