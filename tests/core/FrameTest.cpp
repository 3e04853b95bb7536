// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The frame every generator runs in: numbering, status line, record, text, and the
// duplicate and similarity tests with their windows, bounds and departures.
#include "RecordingSurface.h"
#include "ScriptedRandom.h"
#include "generators/Generators.h"

#include <gtest/gtest.h>

namespace piko::test {
namespace {

// A drill state with its row r holding the given problems as records 1..k.
struct Row {
    DrillState state;
    RecordingSurface surface;
    int r;

    Row(int operation, int level, int row = 1) : r(row)
    {
        state.Operation = static_cast<std::int16_t>(operation);
        state.Level = static_cast<std::int16_t>(level);
        state.CurrentRow = static_cast<std::int16_t>(row);
    }
    void record(int a, int b, int answer, int remainder = 0, int outcome = 1)
    {
        auto &h = state.ProblemHistory;
        const int n = h.ProblemCount(r) + 1;
        h.setProblemCount(r, n);
        h.setField(r, n, Field::OperandA, a);
        h.setField(r, n, Field::OperandB, b);
        h.setField(r, n, Field::Answer, answer);
        h.setField(r, n, Field::Remainder, remainder);
        h.setField(r, n, Field::Outcome, outcome);
    }
    Candidate make(ScriptedRandom &random)
    {
        EXPECT_TRUE(makeProblem(state, random, surface));
        const auto &h = state.ProblemHistory;
        const int n = h.ProblemCount(r);
        return { h.OperandA(r, n), h.OperandB(r, n), h.Answer(r, n), h.Remainder(r, n) };
    }
    std::string lastPrinted() const
    {
        return surface.printed.empty() ? "" : surface.printed.back().text;
    }
};

// Draws for addition level 2 (13+6 style): a = 10 + R(8)+1, b = R(9)+1.
Step teen(int a)
{
    return Pick(a - 11, 8);
}
Step one(int b)
{
    return Pick(b - 1, 9);
}

TEST(ProblemText, IsDigitsOperatorDigitsAndEquals)
{
    EXPECT_EQ(problemText(13, " ＋ ", 6), "13 \xEF\xBC\x8B 6 \xEF\xBC\x9D ");
    EXPECT_EQ(problemText(0, " ÷ ", 8), "0 \xC3\xB7 8 \xEF\xBC\x9D ");

    const struct {
        int operation;
        const char *text;
    } signs[] = { { 1, "0 \xEF\xBC\x8B 0 \xEF\xBC\x9D " }, { 2, "0 \xEF\xBC\x8D 0 \xEF\xBC\x9D " },
        { 3, "0 \xC3\x97 0 \xEF\xBC\x9D " }, { 4, "0 \xC3\xB7 0 \xEF\xBC\x9D " } };
    for (const auto &s : signs) {
        Row row(s.operation, 0);
        ScriptedRandom none {};
        EXPECT_EQ(row.make(none), Candidate {});
        EXPECT_EQ(row.state.ProblemText, s.text) << "operation " << s.operation;
    }
}

TEST(Frame, LevelsWithoutARuleMakeTheZeroProblemWithoutDrawing)
{
    for (auto [operation, level] : { std::pair { 1, 0 }, { 1, 17 }, { 2, 14 }, { 3, 28 }, { 3, -1 },
             { 4, 25 }, { 4, 26 }, { 4, 32767 } }) {
        Row row(operation, level);
        row.record(5, 3, 8, 0, 1);
        ScriptedRandom none {};
        EXPECT_EQ(row.make(none), Candidate {}) << operation << " " << level;
        EXPECT_EQ(row.state.ProblemHistory.ProblemCount(1), 2);
        EXPECT_FALSE(operationTable(operation)->asksRemainder(level)) << operation << " " << level;
    }
}

TEST(Frame, RefusesRowsAndOperationsThatDoNotExist)
{
    for (auto [operation, row] : { std::pair { 1, 0 }, { 1, 4 }, { 0, 1 }, { 5, 1 } }) {
        DrillState state;
        state.Operation = static_cast<std::int16_t>(operation);
        state.Level = 1;
        state.CurrentRow = static_cast<std::int16_t>(row);
        ScriptedRandom none {};
        RecordingSurface surface;
        EXPECT_FALSE(makeProblem(state, none, surface));
        EXPECT_TRUE(surface.printed.empty());
        EXPECT_EQ(state.ProblemText, "");
    }
}

TEST(Frame, WritesOnlyTheProblemPartOfTheRecord)
{
    Row row(4, 4, 2);
    auto &h = row.state.ProblemHistory;
    h.setSlot(2, 15, 77); // the unused slot
    h.setField(2, 1, Field::Outcome, 5);
    h.setAttemptResult(2, 1, 2, 3);
    ScriptedRandom random { Pick(2, 8), Pick(5, 9), Pick(0, 4) };
    EXPECT_EQ(row.make(random), (Candidate { 29, 4, 7, 1 }));
    EXPECT_EQ(h.slot(2, 11), 29);
    EXPECT_EQ(h.slot(2, 12), 4);
    EXPECT_EQ(h.slot(2, 13), 7);
    EXPECT_EQ(h.slot(2, 14), 1);
    EXPECT_EQ(h.slot(2, 15), 77);
    EXPECT_EQ(h.Outcome(2, 1), 5);
    EXPECT_EQ(h.AttemptResult(2, 1, 2), 3);
    EXPECT_EQ(row.state.ProblemText, "29 ÷ 4 ＝ ");
}

TEST(DuplicateTest, ComparesOrderedPairsWithEveryEarlierProblem)
{
    Row row(1, 2);
    row.record(13, 6, 19);
    row.record(14, 2, 16);
    row.record(17, 1, 18);
    // 13+6 (problem 1) again, then 6+13 would not fit level 2; 14+2 (problem 2) again; then 12+5.
    ScriptedRandom random { teen(13), one(6), teen(14), one(2), teen(12), one(5) };
    EXPECT_EQ(row.make(random), (Candidate { 12, 5, 17 }));
    EXPECT_EQ(random.left(), 0u);
}

TEST(DuplicateTest, LetsTheReverseOrderThrough)
{
    Row row(3, 10); // every times table; (7, 4) stands on the row
    row.record(7, 4, 28);
    row.record(2, 3, 6);
    ScriptedRandom random { Pick(3, 10), Pick(6, 10) }; // 4 × 7
    EXPECT_EQ(row.make(random), (Candidate { 4, 7, 28 }));
}

TEST(DuplicateTest, CountsRecordsOfOtherOperations)
{
    Row row(4, 1); // 24 ÷ 8 is kept away by the addition 24 + 8 on the row
    row.record(24, 8, 32);
    row.record(5, 5, 10);
    ScriptedRandom random { Pick(6, 9), Pick(1, 9), Pick(5, 9), Pick(1, 9) };
    EXPECT_EQ(row.make(random), (Candidate { 21, 7, 3 }));
    EXPECT_EQ(random.left(), 0u);
}

TEST(DuplicateTest, LooksBackOnlyAsFarAsTheLevelSays)
{
    { // subtraction 8 (a - 0): four problems back
        Row row(2, 8);
        for (int a : { 3, 4, 5, 6, 7 })
            row.record(a, 0, a);
        // 4 - 0 is problem 2 of 5 (within four): redrawn; 3 - 0 is problem 1: accepted after
        // the similarity test's ten throws (every candidate shares b = 0 with problem 5).
        ScriptedRandom random { Pick(3, 9) };
        for (int i = 0; i < 10; ++i)
            random.append({ Pick(8, 9) });
        random.append({ Pick(2, 9) });
        EXPECT_EQ(row.make(random), (Candidate { 3, 0, 3 }));
        EXPECT_EQ(random.left(), 0u);
    }
    { // times tables: seven problems back
        Row row(3, 3);
        for (int b : { 1, 2, 3, 4, 5, 6, 7, 8 })
            row.record(3, b, 3 * b);
        // b = 2 is seven back: redrawn; b = 1 is eight back. Both share a = 3 with problem 8,
        // so ten similar candidates go first.
        ScriptedRandom random { Pick(2, 10) };
        for (int i = 0; i < 10; ++i)
            random.append({ Pick(9, 10) });
        random.append({ Pick(1, 10) });
        EXPECT_EQ(row.make(random), (Candidate { 3, 1, 3 }));
        EXPECT_EQ(random.left(), 0u);
    }
    { // subtraction 4: no duplicate test at all, only the similarity test
        Row row(2, 4);
        row.record(47, 7, 40);
        row.record(25, 5, 20);
        ScriptedRandom random { Pick(6, 9), Pick(3, 9) };
        EXPECT_EQ(row.make(random), (Candidate { 47, 7, 40 }));
    }
    { // division 2: 0 ÷ d may come twice in a row
        Row row(4, 2);
        row.record(0, 8, 0);
        ScriptedRandom random { Pick(8, 10) };
        EXPECT_EQ(row.make(random), (Candidate { 0, 8, 0 }));
    }
}

TEST(DuplicateTest, DivisionByTenComparesQuotients)
{
    Row row(4, 3);
    row.record(240, 24, 10); // a record whose answer is 10: the quotient 10 is taken
    row.record(300, 10, 30);
    ScriptedRandom random { Pick(10, 100), Pick(30, 100), Pick(24, 100) };
    EXPECT_EQ(row.make(random), (Candidate { 240, 10, 24 }));
    EXPECT_EQ(random.left(), 0u);
}

TEST(SimilarityTest, ThrowsAwayAtMostTenThenAcceptsButStillRedrawsRepeats)
{
    Row row(1, 2);
    row.record(12, 3, 15);
    row.record(13, 4, 17);
    // Ten candidates similar to 13+4 (same a, same b or the same sum 17); then a repeat of
    // 12+3, which the duplicate test still throws out; then 13+5 (same a) is accepted.
    ScriptedRandom random {};
    for (int i = 0; i < 3; ++i)
        random.append({ teen(13), one(1), teen(11), one(4), teen(15), one(2) });
    random.append({ teen(16), one(1) });
    random.append({ teen(12), one(3), teen(13), one(5) });
    EXPECT_EQ(row.make(random), (Candidate { 13, 5, 18 }));
    EXPECT_EQ(random.left(), 0u);
}

TEST(SimilarityTest, PassesCandidatesThatShareNothing)
{
    Row row(1, 2);
    row.record(13, 4, 17);
    ScriptedRandom random { teen(12), one(2) };
    EXPECT_EQ(row.make(random), (Candidate { 12, 2, 14 }));
}

TEST(SimilarityTest, AdditionLevelOneComparesOperandsOnlyAndWithoutBound)
{
    Row row(1, 1);
    row.record(5, 2, 7);
    ScriptedRandom sameSum { Pick(3, 8), Pick(2, 9) }; // 4 + 3 after 5 + 2: accepted
    EXPECT_EQ(row.make(sameSum), (Candidate { 4, 3, 7 }));

    ScriptedRandom random {}; // after 4 + 3: twenty candidates with a = 4 or b = 3 go
    for (int i = 0; i < 10; ++i)
        random.append({ Pick(3, 8), Pick(0, 9), Pick(0, 8), Pick(2, 9) });
    random.append({ Pick(1, 8), Pick(1, 9) });
    EXPECT_EQ(row.make(random), (Candidate { 2, 2, 4 }));
    EXPECT_EQ(random.left(), 0u);
}

TEST(SimilarityTest, DivisionHasNone)
{
    Row row(4, 1);
    row.record(24, 8, 3);
    ScriptedRandom random { Pick(6, 9), Pick(2, 9) }; // 32 ÷ 8: same divisor, accepted
    EXPECT_EQ(row.make(random), (Candidate { 32, 8, 4 }));
}

TEST(Frame, FirstProblemOfARowPassesNoTest)
{
    Row row(1, 2);
    // Records beyond the count (left over by a careless caller) are not earlier problems.
    row.state.ProblemHistory.setField(1, 1, Field::OperandA, 13);
    row.state.ProblemHistory.setField(1, 1, Field::OperandB, 6);
    ScriptedRandom random { teen(13), one(6) };
    EXPECT_EQ(row.make(random), (Candidate { 13, 6, 19 }));
    EXPECT_EQ(row.state.ProblemHistory.ProblemCount(1), 1);
}

TEST(StatusLine, ShowsLevelNumberAndTheLastNineMarks)
{
    Row row(1, 5, 2);
    const int outcomes[] = { 1, 2, 3, 1, 1, 2, 3, 3, 2, 1, 1, 2 };
    for (int o : outcomes)
        row.record(0, 0, 0, 0, o);
    // Problem 13 shows the marks of problems 4 to 12, oldest first, printed in black at
    // (20, Y0 + 80).
    ScriptedRandom random { Pick(1, 8), Pick(2, 9) };
    row.make(random);
    ASSERT_EQ(row.surface.printed.size(), 1u);
    const auto &line = row.surface.printed[0];
    EXPECT_EQ(line.text, "レベル 5 (13)  せいせき：○○△××△○○△");
    EXPECT_EQ(line.x, 20);
    EXPECT_EQ(line.y, 280);
    EXPECT_EQ(line.colour, kBlack);

    DrillState state;
    state.Level = 12;
    EXPECT_EQ(statusLine(state, 1, 1), "レベル12 ( 1)  せいせき：");
    state.ProblemHistory.setField(1, 1, Field::Outcome, 3);
    EXPECT_EQ(statusLine(state, 1, 2), "レベル12 ( 2)  せいせき：×");
    state.Level = 5;
    EXPECT_TRUE(statusLine(state, 1, 7).starts_with("レベル 5 ( 7)  せいせき："));
    // An unfinished problem (outcome 0) adds no mark.
    state.ProblemHistory.setField(1, 2, Field::Outcome, 0);
    state.ProblemHistory.setField(1, 3, Field::Outcome, 2);
    EXPECT_EQ(statusLine(state, 1, 4), "レベル 5 ( 4)  せいせき：×△");
}

TEST(StatusLine, KeepsMarksOfEveryOperationOnTheRow)
{
    Row row(1, 2);
    row.record(5, 3, 15, 0, 1); // a multiplication
    row.record(24, 8, 3, 0, 3); // a division
    row.state.Operation = 1;
    ScriptedRandom random { teen(12), one(2) };
    row.make(random);
    EXPECT_EQ(row.lastPrinted(), "レベル 2 ( 3)  せいせき：○×");
}

} // namespace
} // namespace piko::test
