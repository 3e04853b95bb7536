// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The time to make a whole row of 99 problems at every level, on a fresh row and on a row
// whose earlier problems (written by another operation) block as many pairs as they can; and
// 300 problems on one row at every level whose problems a row uses up (fewer than 99 of them),
// which the pupil should meet at once: well under 200 ms for the 300.
#include "generators/Generators.h"
#include "generators/LevelRule.h"
#include "generators/Pools.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace piko;

class NullSurface final : public Surface {
public:
    void setCurrentX(int) override { }
    void setCurrentY(int) override { }
    void setForeColor(Rgb) override { }
    void print(const std::string &text) override { benchmark::DoNotOptimize(text.data()); }
};

const OperationTable &table(int operation)
{
    return *operationTable(operation);
}

// Problems 1..49 of a row filled with problems of the level itself, as if another operation
// had recorded the same pairs, so that the row's second half runs into a used-up pool.
ProblemHistory blockingRow(const LevelRule &level)
{
    ProblemHistory h;
    std::vector<Candidate> pairs;
    if (const auto pool = enumeratePool(level)) {
        pairs = *pool;
    } else {
        SeededRandom random(99);
        SourceDraw draw(random);
        while (pairs.size() < 49)
            if (const Drawn c = level.draw(draw))
                pairs.push_back(*c);
    }
    int n = 0;
    for (const Candidate &c : pairs) {
        if (++n > 49)
            break;
        h.setField(1, n, Field::OperandA, c.a);
        h.setField(1, n, Field::OperandB, c.b);
        h.setField(1, n, Field::Answer, c.answer);
    }
    h.setProblemCount(1, std::min(n, 49));
    return h;
}

void FullRow(benchmark::State &st, int operation, int level, bool blocked)
{
    SeededRandom random(1234);
    NullSurface surface;
    DrillState state;
    state.Operation = static_cast<std::int16_t>(operation);
    state.Level = static_cast<std::int16_t>(level);
    state.CurrentRow = 1;
    const ProblemHistory start
        = blocked ? blockingRow(*table(operation).level(level)) : ProblemHistory {};
    for (auto _ : st) {
        state.ProblemHistory = start;
        while (state.ProblemHistory.ProblemCount(1) < 99)
            makeProblem(state, random, surface);
        benchmark::DoNotOptimize(state.ProblemHistory.Answer(1, 99));
    }
}

// 300 problems in a row on one row, the last 200 or more from a used-up pool.
void UsedUpRow(benchmark::State &st, int operation, int level)
{
    SeededRandom random(1234);
    NullSurface surface;
    DrillState state;
    state.Operation = static_cast<std::int16_t>(operation);
    state.Level = static_cast<std::int16_t>(level);
    state.CurrentRow = 2;
    for (auto _ : st) {
        state.ProblemHistory = ProblemHistory {};
        for (int i = 0; i < 300; ++i)
            makeProblem(state, random, surface);
        benchmark::DoNotOptimize(state.ProblemHistory.ProblemCount(2));
    }
}

const int kRegistered = [] {
    const char *names[] = { "", "add", "sub", "mul", "div" };
    for (int operation = 1; operation <= 4; ++operation) {
        const int levels = static_cast<int>(table(operation).levels.size());
        for (int level = 1; level <= levels; ++level) {
            const std::string name = std::string(names[operation]) + "/L" + (level < 10 ? "0" : "")
                + std::to_string(level);
            benchmark::RegisterBenchmark(
                ("row99/" + name).c_str(), FullRow, operation, level, false)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(
                ("row99_blocked/" + name).c_str(), FullRow, operation, level, true)
                ->Unit(benchmark::kMicrosecond);
            const auto pool = enumeratePool(*table(operation).level(level));
            if (pool && pool->size() < 99)
                benchmark::RegisterBenchmark(
                    ("row300_usedup/" + name).c_str(), UsedUpRow, operation, level)
                    ->Unit(benchmark::kMicrosecond);
        }
    }
    return 0;
}();

} // namespace

BENCHMARK_MAIN();
