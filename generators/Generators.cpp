// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "generators/Generators.h"

#include "generators/LevelRule.h"
#include "generators/Pools.h"
#include "state/RowGeometry.h"

#include <cstdio>

namespace piko {

const OperationTable *operationTable(int operation)
{
    switch (operation) {
    case Addition:
        return &additionTable();
    case Subtraction:
        return &subtractionTable();
    case Multiplication:
        return &multiplicationTable();
    case Division:
        return &divisionTable();
    default:
        return nullptr;
    }
}

namespace {

std::string twoCharacters(int v)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%2d", v);
    return buffer;
}

// Draws until the level's conditions hold, or until the budget of draws is spent.
Drawn drawCandidate(const LevelRule &level, Draw &R, long &budget)
{
    while (budget-- > 0) {
        if (const Drawn c = level.draw(R))
            return c;
    }
    return redraw;
}

// A true random source never comes near this many candidates and redraws for one problem (the
// strictest level keeps one candidate in twelve, and a problem that can pass is always among
// the likely ones); only a broken source that repeats itself could. Then the last candidate
// drawn (or the zero problem) is taken rather than hanging the window.
constexpr long kCandidateBudget = 200000;

// The candidate loop. Every candidate is thrown away while it repeats an earlier problem of the
// row (within the level's window) or, at a level whose similarity test has no bound, shares an
// operand with the previous problem. A small pool can leave no candidate that passes: the
// level's whole pool already stands on the row (the row's records of other operations count
// too), or at addition level 1 every problem left shares an operand with the previous one.
// So after kBlockedBeforePoolCheck thrown-away candidates the level's pool is checked once,
// problem by problem: if some problem can still pass, drawing goes on unchanged (one will come);
// only if none can are the tests relaxed, least first (see passableRules), and then the loop
// ends quickly. A level whose pool is too large to list always holds more problems than a row,
// so a problem can always pass there. Problems are therefore never given up while one could
// pass, and a row at an exhausted level still gets its next problem within microseconds.
constexpr int kBlockedBeforePoolCheck = 24;
constexpr int kSimilarBound = 10;

Candidate chooseCandidate(
    const LevelRule &level, const ProblemHistory &history, int row, int n, Draw &R)
{
    Repetition rules = level.repetition;
    int similar = 0;
    int blocked = 0;
    bool poolChecked = false;
    long budget = kCandidateBudget;
    Candidate last;
    for (;;) {
        const Drawn drawn = drawCandidate(level, R, budget);
        if (!drawn || budget <= 0)
            return drawn.value_or(last);
        const Candidate c = *drawn;
        last = c;
        if (n == 1)
            return c;
        if (isBlocked(c, rules, history, row, n)) {
            if (!poolChecked && ++blocked >= kBlockedBeforePoolCheck) {
                rules = passableRules(level, history, row, n);
                poolChecked = true;
            }
            continue;
        }
        if (rules.similarity == Repetition::Similarity::Full && similar < kSimilarBound
            && isSimilar(c, history, row, n)) {
            ++similar;
            continue;
        }
        return c;
    }
}

} // namespace

std::string problemText(int a, const char *sign, int b)
{
    return std::to_string(a) + sign + std::to_string(b) + " ＝ ";
}

std::string statusLine(const DrillState &state, int row, int n)
{
    std::string line
        = "レベル" + twoCharacters(state.Level) + " (" + twoCharacters(n) + ")  せいせき：";
    if (n > 1) {
        const auto &h = state.ProblemHistory;
        for (int j = n > 10 ? n - 9 : 1; j <= n; ++j) {
            switch (h.outcomeOf(row, j)) {
            case ProblemOutcome::RightAtOnce:
                line += "○";
                break;
            case ProblemOutcome::RightLater:
                line += "△";
                break;
            case ProblemOutcome::WrongThrice:
                line += "×";
                break;
            case ProblemOutcome::Open:
                break;
            }
        }
    }
    return line;
}

bool makeProblem(DrillState &state, RandomSource &random, Surface &surface)
{
    const int row = state.CurrentRow;
    const OperationTable *table = operationTable(state.Operation);
    if (row < 1 || row > 3 || !table)
        return false;

    auto &h = state.ProblemHistory;
    h.turnPageIfFull(row);
    const int n = h.ProblemCount(row) + 1;
    h.setProblemCount(row, n);

    const Point at = rows::onRow(rows::kStatusLine, row);
    surface.setCurrentX(at.x);
    surface.setCurrentY(at.y);
    surface.setForeColor(kBlack);
    surface.print(statusLine(state, row, n));

    Candidate c;
    if (const LevelRule *level = table->level(state.Level)) {
        SourceDraw draw(random);
        c = chooseCandidate(*level, h, row, n, draw);
    }
    h.setField(row, n, Field::OperandA, c.a);
    h.setField(row, n, Field::OperandB, c.b);
    h.setField(row, n, Field::Answer, c.answer);
    h.setField(row, n, Field::Remainder, c.remainder);
    state.ProblemText = problemText(c.a, table->sign, c.b);
    return true;
}

} // namespace piko
