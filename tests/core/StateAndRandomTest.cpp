// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The drill state's layout, the 100th problem of a row, and the random draws.
#include "RecordingSurface.h"
#include "ScriptedRandom.h"
#include "generators/Generators.h"
#include "state/DrillState.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

namespace piko::test {
namespace {

TEST(DrillState, StartsZeroedWithTheFieldWidthsOfTheDesign)
{
    DrillState s;
    static_assert(std::is_same_v<decltype(s.ScreenWidth), std::int16_t>);
    static_assert(std::is_same_v<decltype(s.Level), std::int16_t>);
    static_assert(std::is_same_v<decltype(s.InputTarget)::value_type, std::int16_t>);
    static_assert(std::is_same_v<decltype(s.ProblemHistory.slot(0, 0)), std::int32_t>);
    static_assert(sizeof(ProblemHistory) == 4 * 1001 * sizeof(std::int32_t));
    EXPECT_EQ(s.Operation, 0);
    EXPECT_EQ(s.CurrentRow, 0);
    EXPECT_EQ(s.ProblemText, "");
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 1001; ++k)
            ASSERT_EQ(s.ProblemHistory.slot(row, k), 0);
}

TEST(ProblemHistory, NamesTheSlotsOfEachRecord)
{
    ProblemHistory h;
    for (int k = 0; k <= 20; ++k)
        h.setSlot(2, k, 100 + k);
    EXPECT_EQ(h.RowStarted(2), 100);
    EXPECT_EQ(h.ProblemCount(2), 101);
    EXPECT_EQ(h.OperandA(2, 1), 111);
    EXPECT_EQ(h.OperandB(2, 1), 112);
    EXPECT_EQ(h.Answer(2, 1), 113);
    EXPECT_EQ(h.Remainder(2, 1), 114);
    EXPECT_EQ(h.Outcome(2, 1), 116);
    EXPECT_EQ(h.AttemptResult(2, 1, 1), 117);
    EXPECT_EQ(h.AttemptResult(2, 1, 3), 119);
    EXPECT_EQ(h.Attempts(2, 1), 120);
    EXPECT_EQ(h.OperandA(1, 1), 0); // rows are apart
    EXPECT_EQ(h.slot(2, 1000), 0);
    h.setField(2, 99, Field::Attempts, 3);
    EXPECT_EQ(h.slot(2, 1000), 3);
}

TEST(ProblemHistory, NeverReachesOutsideTheTable)
{
    ProblemHistory h;
    h.setSlot(4, 0, 9);
    h.setSlot(1, 1001, 9);
    h.setSlot(-1, 5, 9);
    h.setField(1, 100, Field::OperandA, 9);
    h.setField(1, 0, Field::OperandA, 9);
    h.setAttemptResult(1, 1, 4, 9);
    h.clearSlots(1, -5, 5000);
    h.clearSlots(7, 0, 10);
    EXPECT_EQ(h.slot(1, 1001), 0);
    EXPECT_EQ(h.OperandA(1, 100), 0);
    EXPECT_EQ(h.AttemptResult(1, 1, 0), 0);
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 1001; ++k)
            ASSERT_EQ(h.slot(row, k), 0) << row << " " << k;
}

// A full row turns a page: problems 91..99 become 1..9 and the next problem is number 10,
// so the status line keeps its nine marks and the row goes on for as long as the pupil does.
TEST(HundredthProblem, TurnsThePageKeepingTheLastNine)
{
    DrillState state;
    state.Operation = 1;
    state.Level = 14;
    state.CurrentRow = 3;
    auto &h = state.ProblemHistory;
    h.setRowStarted(3, 1);
    h.setProblemCount(3, 99);
    for (int n = 1; n <= 99; ++n) {
        h.setField(3, n, Field::OperandA, 100 + n);
        h.setField(3, n, Field::OperandB, 200);
        h.setField(3, n, Field::Answer, 300 + n);
        h.setField(3, n, Field::Outcome, n % 3 + 1);
        h.setField(3, n, Field::Attempts, n % 3 + 1);
    }
    h.setSlot(2, 0, 1); // another row stays as it was
    SeededRandom random(7);
    RecordingSurface surface;
    ASSERT_TRUE(makeProblem(state, random, surface));

    EXPECT_EQ(h.RowStarted(3), 1);
    EXPECT_EQ(h.ProblemCount(3), 10);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(h.OperandA(3, n), 190 + n);
        EXPECT_EQ(h.Outcome(3, n), (90 + n) % 3 + 1);
        EXPECT_EQ(h.Attempts(3, n), (90 + n) % 3 + 1);
    }
    EXPECT_GE(h.OperandA(3, 10), 100);
    for (int k = 111; k <= 1000; ++k)
        ASSERT_EQ(h.slot(3, k), 0) << k;
    EXPECT_EQ(h.slot(2, 0), 1);
    EXPECT_EQ(surface.printed.back().text, "レベル14 (10)  せいせき：△×○△×○△×○");
}

TEST(HundredthProblem, ARowGoesOnForThreeHundredProblems)
{
    DrillState state;
    state.Operation = 3;
    state.Level = 11; // only 18 problems: the page turns with the pool long used up
    state.CurrentRow = 1;
    SeededRandom random(3);
    RecordingSurface surface;
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(makeProblem(state, random, surface));
        const int n = state.ProblemHistory.ProblemCount(1);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 99);
        state.ProblemHistory.setField(1, n, Field::Outcome, 1);
    }
    EXPECT_EQ(state.ProblemHistory.ProblemCount(1), 30); // 99, then 10..99 twice, then 10..30
}

TEST(HundredthProblem, ACorruptCounterIsBroughtBackIntoRange)
{
    for (int count : { -5, 100, 5000 }) {
        DrillState state;
        state.Operation = 2;
        state.Level = 13;
        state.CurrentRow = 1;
        state.ProblemHistory.setProblemCount(1, count);
        SeededRandom random(1);
        RecordingSurface surface;
        ASSERT_TRUE(makeProblem(state, random, surface));
        const int n = state.ProblemHistory.ProblemCount(1);
        EXPECT_TRUE(n == 1 || n == 10) << count;
    }
}

TEST(RandomDraw, TruncatesAndStaysInRange)
{
    EXPECT_EQ(truncatedDraw(0.0, 8), 0);
    EXPECT_EQ(truncatedDraw(0.1249, 8), 0);
    EXPECT_EQ(truncatedDraw(0.125, 8), 1);
    EXPECT_EQ(truncatedDraw(0.99, 8), 7); // 7.92: truncated, not rounded to 8
    EXPECT_EQ(truncatedDraw(0.56, 9), 5); // 5.04
    EXPECT_EQ(truncatedDraw(0.61, 9), 5); // 5.49
    EXPECT_EQ(truncatedDraw(0.66, 9), 5); // 5.94
    const double justBelowOne = std::nextafter(1.0, 0.0);
    for (int M : { 1, 2, 3, 7, 10, 99, 100, 999, 1000, 9999 })
        EXPECT_EQ(truncatedDraw(justBelowOne, M), M - 1) << M;
    EXPECT_EQ(truncatedDraw(0.5, 0), 0);
    EXPECT_EQ(truncatedDraw(0.5, -3), 0);
    EXPECT_EQ(truncatedDraw(1.0, 5), 4);
    EXPECT_EQ(truncatedDraw(-0.5, 5), 0);
    EXPECT_EQ(truncatedDraw(std::nan(""), 5), 0);
}

TEST(RandomDraw, SeededSourceIsRepeatableAndUniform)
{
    SeededRandom a(4242), b(4242), c(4243);
    int counts[10] = {};
    bool differs = false;
    for (int i = 0; i < 100000; ++i) {
        const double x = a.next();
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        ASSERT_EQ(x, b.next());
        differs = differs || x != c.next();
        ++counts[truncatedDraw(x, 10)];
    }
    EXPECT_TRUE(differs);
    for (int n : counts)
        EXPECT_NEAR(n, 10000, 500);
}

TEST(ScriptedRandom, FailsTheTestWhenItRunsDry)
{
    ScriptedRandom random { Raw(0.5) };
    EXPECT_EQ(random.next(), 0.5);
    bool threw = false;
    EXPECT_NONFATAL_FAILURE(
        {
            try {
                random.next();
            } catch (const std::runtime_error &) {
                threw = true;
            }
        },
        "ran dry");
    EXPECT_TRUE(threw);
}

// The levels draw through SourceDraw, which tells the source the M of each draw (none for a
// fresh x); a step scripted for one draw and taken by another fails the test.
TEST(ScriptedRandom, FailsTheTestWhenAStepIsTakenByAnotherDraw)
{
    ScriptedRandom matching { Pick(3, 10), Raw(0.5) };
    SourceDraw R(matching);
    EXPECT_EQ(R(10), 3);
    EXPECT_EQ(R.x(), 0.5);

    struct Case {
        Step step;
        int M; // 0: a fresh x
    };
    for (const Case &c :
        { Case { Pick(3, 10), 9 }, Case { Pick(3, 10), 0 }, Case { Raw(0.5), 2 } }) {
        ScriptedRandom random { c.step };
        SourceDraw draw(random);
        bool threw = false;
        EXPECT_NONFATAL_FAILURE(
            {
                try {
                    c.M == 0 ? (void)draw.x() : (void)draw(c.M);
                } catch (const std::runtime_error &) {
                    threw = true;
                }
            },
            "was scripted for");
        EXPECT_TRUE(threw) << c.M;
    }
}

} // namespace
} // namespace piko::test
