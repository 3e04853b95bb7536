// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The generator frame under any Operation and Level, any pre-filled row, and many calls in a
// row: no access outside the table, no hang, the text always of its form and the record always
// consistent with it.
#include "generators/Generators.h"
#include "generators/LevelRule.h"

#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

class NullSurface final : public piko::Surface {
public:
    void setCurrentX(int) override { }
    void setCurrentY(int) override { }
    void setForeColor(piko::Rgb) override { }
    void print(const std::string &text) override { printed = text; }
    std::string printed;
};

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    piko::DrillState state;
    state.Operation = in.ConsumeIntegralInRange<std::int16_t>(-2, 7);
    state.Level = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int16_t>(0, 28)
                                   : in.ConsumeIntegral<std::int16_t>();
    state.CurrentRow = in.ConsumeIntegralInRange<std::int16_t>(-1, 4);
    const int row = state.CurrentRow;
    // Whatever the row held before: counters and records of any value.
    const int filled = in.ConsumeIntegralInRange<int>(0, 400);
    for (int i = 0; i < filled && in.remaining_bytes() > 8; ++i) {
        const int slot = in.ConsumeIntegralInRange<int>(0, 1000);
        state.ProblemHistory.setSlot(row, slot,
            in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int32_t>(-3, 120)
                             : in.ConsumeIntegral<std::int32_t>());
    }
    const int calls = in.ConsumeIntegralInRange<int>(1, 150);
    piko::SeededRandom random(in.ConsumeIntegral<std::uint32_t>());
    NullSurface surface;

    const char *signs[] = { "", " ＋ ", " － ", " × ", " ÷ " };
    for (int i = 0; i < calls; ++i) {
        const int before = state.ProblemHistory.ProblemCount(row);
        const bool made = piko::makeProblem(state, random, surface);
        const bool valid = row >= 1 && row <= 3 && state.Operation >= 1 && state.Operation <= 4;
        check(made == valid);
        if (!made)
            continue;
        const auto &h = state.ProblemHistory;
        const int n = h.ProblemCount(row);
        check(n >= 1 && n <= 99);
        check(n == static_cast<long long>(before) + 1 || n == 10 || n == 1);
        const int a = h.OperandA(row, n), b = h.OperandB(row, n);
        const int answer = h.Answer(row, n), remainder = h.Remainder(row, n);
        check(a >= 0 && b >= 0 && answer >= 0 && remainder >= 0);
        switch (state.Operation) {
        case 1:
            check(answer == a + b && remainder == 0);
            break;
        case 2:
            check(answer == a - b && remainder == 0);
            break;
        case 3:
            check(answer == a * b && remainder == 0);
            break;
        default:
            check((b == 0 && a == 0 && answer == 0 && remainder == 0)
                || (remainder < b && answer * b + remainder == a));
        }
        check(state.ProblemText
            == std::to_string(a) + signs[state.Operation] + std::to_string(b) + " ＝ ");
        check(surface.printed.rfind("レベル", 0) == 0);
        for (int k = 10 * n + 11; k <= 1000 && n >= 10 && before == 99; ++k)
            check(h.slot(row, k) == 0);
    }
    return 0;
}
