// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// A whole school day on one window: a thousand finished problems on every row at every level
// whose pool can run out (and a few that cannot). No hang, the work per problem stays flat (the
// random numbers drawn, which a loop that cannot end would send up by orders of magnitude), and
// so does the memory. Times are recorded beside, not compared: a busy machine makes them vary.
#include "AppTestSupport.h"

#include <chrono>
#include <fstream>

namespace piko::test {
namespace {

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

struct Level {
    int operation, level; // operation 0..3 as the buttons
};
std::ostream &operator<<(std::ostream &os, const Level &l)
{
    return os << "operation " << l.operation + 1 << " level " << l.level;
}

// clang-format off
const Level kLevels[] = {
    { 0, 1 }, { 0, 2 }, { 0, 3 }, { 0, 4 }, { 0, 5 }, { 0, 8 }, { 0, 11 }, { 0, 12 },
    { 1, 1 }, { 1, 2 }, { 1, 3 }, { 1, 5 },
    { 2, 10 }, { 2, 11 }, { 2, 19 }, { 2, 20 }, { 2, 22 },
    { 3, 1 }, { 3, 3 }, { 3, 5 }, { 3, 6 }, { 3, 16 },
    // pools larger than a row, no duplicate test, a short window
    { 0, 16 }, { 1, 4 }, { 1, 8 }, { 2, 3 }, { 3, 2 }, { 3, 14 },
};
// clang-format on

class LongDay : public ::testing::TestWithParam<Level> { };

TEST_P(LongDay, AThousandProblemsOnEveryRow)
{
    constexpr int kProblems = 1000;
    const auto [operation, level] = GetParam();
    Window win(1024);
    win.choose(operation, level);
    for (int row = 1; row <= 3; ++row)
        win.clickSurface(100, 200 * row - 50);
    const long memoryBefore = residentKiB();

    using Clock = std::chrono::steady_clock;
    Clock::duration first {}, last {};
    long long firstDraws = 0, lastDraws = 0;
    for (int k = 1; k <= kProblems; ++k) {
        for (int row = 1; row <= 3; ++row) {
            const auto start = Clock::now();
            const long long drawsBefore = win.random.draws;
            const auto &h = win.state.ProblemHistory;
            const int n = h.ProblemCount(row);
            auto *answer = win.get<QLineEdit>(QStringLiteral("Text1(%1)").arg(row - 1));
            auto *remainder = win.get<QLineEdit>(QStringLiteral("Text2(%1)").arg(row - 1));
            const bool right = k % 5 != 0; // every fifth problem is answered wrong three times
            for (int attempt = 0; attempt < (right ? 1 : 3); ++attempt) {
                answer->setText(QString::number(h.Answer(row, n) + (right ? 0 : 1)));
                remainder->setText(QString::number(h.Remainder(row, n)));
                win.click(QStringLiteral("Command5(%1)").arg(row - 1));
            }
            ASSERT_NE(h.ProblemCount(row), n)
                << "problem " << k << " on row " << row << " did not move on";
            const auto spent = Clock::now() - start;
            if (k <= 200 || k > kProblems - 200) {
                (k <= 200 ? first : last) += spent;
                (k <= 200 ? firstDraws : lastDraws) += win.random.draws - drawsBefore;
            }
        }
    }
    const long memoryAfter = residentKiB();
    const auto ms
        = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    RecordProperty("first200_ms", std::to_string(ms(first)));
    RecordProperty("last200_ms", std::to_string(ms(last)));
    RecordProperty("first200_draws", std::to_string(firstDraws));
    RecordProperty("last200_draws", std::to_string(lastDraws));
    std::printf("draws: first 200 rounds %lld, last 200 rounds %lld\n", firstDraws, lastDraws);
    EXPECT_LT(lastDraws, 2 * firstDraws + 6000) << "first 200: " << firstDraws << " draws";
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer holds freed memory back on purpose
    EXPECT_LT(memoryAfter - memoryBefore, 4096)
        << memoryBefore << " KiB before, " << memoryAfter << " after";
#endif
    RecordProperty("memory_growth_KiB", std::to_string(memoryAfter - memoryBefore));
    for (int row = 1; row <= 3; ++row) {
        const int n = win.state.ProblemHistory.ProblemCount(row);
        EXPECT_GE(n, 1);
        EXPECT_LE(n, 99);
    }
}

INSTANTIATE_TEST_SUITE_P(ExhaustibleAndSomeOthers, LongDay, ::testing::ValuesIn(kLevels));

} // namespace
} // namespace piko::test
