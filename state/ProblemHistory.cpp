// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "state/ProblemHistory.h"

#include <algorithm>

namespace piko {

void ProblemHistory::clearSlots(int row, int from, int to)
{
    if (row < 0 || row >= kRows)
        return;
    from = std::max(from, 0);
    to = std::min(to, kSlots - 1);
    for (int k = from; k <= to; ++k)
        m_slots[row][k] = 0;
}

void ProblemHistory::turnPageIfFull(int row)
{
    if (row < 0 || row >= kRows)
        return;
    const std::int32_t count = ProblemCount(row);
    if (count < 0)
        setProblemCount(row, 0);
    if (count < kMaxProblems)
        return;
    constexpr int kKept = 9;
    constexpr int kShift = 10 * (kMaxProblems - kKept); // record 91 moves to record 1
    auto &slots = m_slots[row];
    std::copy(slots.begin() + slotOf(kMaxProblems - kKept + 1, Field::OperandA), slots.end(),
        slots.begin() + slotOf(1, Field::OperandA));
    clearSlots(row, kSlots - kShift, kSlots - 1);
    setProblemCount(row, kKept);
}

} // namespace piko
