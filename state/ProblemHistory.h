// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <array>
#include <cstdint>

namespace piko {

// Where each value of a problem's record sits, counted from the record's start 10n.
enum class Field : int {
    OperandA = 1,
    OperandB = 2,
    Answer = 3,
    Remainder = 4,
    Outcome = 6,
    AttemptResult1 = 7, // + attempt - 1 for attempts 1..3
    Attempts = 10,
};

// How a problem ended, as its record's Outcome slot keeps it.
enum class ProblemOutcome : std::int32_t {
    Open = 0, // not finished yet
    RightAtOnce = 1, // ○
    RightLater = 2, // △: right at the second or third attempt
    WrongThrice = 3, // ×
};

// One attempt's result, as the record's AttemptResult slots keep it.
enum class Verdict : std::int32_t {
    NotMade = 0,
    Right = 1,
    Wrong = 3,
};

// Every problem given on a row and how the pupil answered it.
// Row 0 is never used; rows 1 to 3 are the problem rows. Per row, slot 0 is RowStarted,
// slot 1 is ProblemCount and problem n (1..99) keeps its record in slots 10n+1 to 10n+10.
// All slot arithmetic lives here; callers use the named accessors.
class ProblemHistory {
public:
    static constexpr int kRows = 4;
    static constexpr int kSlots = 1001;
    static constexpr int kMaxProblems = 99; // problem 99 ends at slot 1000

    // 0 <= row < kRows, 0 <= k < kSlots
    static constexpr bool validSlot(int row, int k)
    {
        return row >= 0 && row < kRows && k >= 0 && k < kSlots;
    }
    static constexpr bool validProblem(int n) { return n >= 1 && n <= kMaxProblems; }
    static constexpr int slotOf(int n, Field f) { return 10 * n + static_cast<int>(f); }

    // Raw slot access, bounds-checked: an index outside the table reads 0 and writes nowhere.
    std::int32_t slot(int row, int k) const { return validSlot(row, k) ? m_slots[row][k] : 0; }
    void setSlot(int row, int k, std::int32_t value)
    {
        if (validSlot(row, k))
            m_slots[row][k] = value;
    }

    std::int32_t RowStarted(int row) const { return slot(row, 0); }
    void setRowStarted(int row, std::int32_t v) { setSlot(row, 0, v); }
    std::int32_t ProblemCount(int row) const { return slot(row, 1); }
    void setProblemCount(int row, std::int32_t v) { setSlot(row, 1, v); }

    // Fields of the record of problem n (1..99) on a row.
    std::int32_t field(int row, int n, Field f) const
    {
        return validProblem(n) ? slot(row, slotOf(n, f)) : 0;
    }
    void setField(int row, int n, Field f, std::int32_t v)
    {
        if (validProblem(n))
            setSlot(row, slotOf(n, f), v);
    }

    std::int32_t OperandA(int row, int n) const { return field(row, n, Field::OperandA); }
    std::int32_t OperandB(int row, int n) const { return field(row, n, Field::OperandB); }
    std::int32_t Answer(int row, int n) const { return field(row, n, Field::Answer); }
    std::int32_t Remainder(int row, int n) const { return field(row, n, Field::Remainder); }
    std::int32_t Outcome(int row, int n) const { return field(row, n, Field::Outcome); }
    std::int32_t Attempts(int row, int n) const { return field(row, n, Field::Attempts); }
    // attempt 1..3
    std::int32_t AttemptResult(int row, int n, int attempt) const
    {
        return attempt >= 1 && attempt <= 3
            ? slot(row, slotOf(n, Field::AttemptResult1) + attempt - 1)
            : 0;
    }
    void setAttemptResult(int row, int n, int attempt, std::int32_t v)
    {
        if (validProblem(n) && attempt >= 1 && attempt <= 3)
            setSlot(row, slotOf(n, Field::AttemptResult1) + attempt - 1, v);
    }

    ProblemOutcome outcomeOf(int row, int n) const
    {
        return static_cast<ProblemOutcome>(Outcome(row, n));
    }
    void setOutcome(int row, int n, ProblemOutcome outcome)
    {
        setField(row, n, Field::Outcome, static_cast<std::int32_t>(outcome));
    }
    void setAttemptResult(int row, int n, int attempt, Verdict verdict)
    {
        setAttemptResult(row, n, attempt, static_cast<std::int32_t>(verdict));
    }

    // Zeroes slots from..to (inclusive) of a row.
    void clearSlots(int row, int from, int to);
    void clearRow(int row) { clearSlots(row, 0, kSlots - 1); }

    // Makes room for one more problem on a full row (ProblemCount 99): the last nine problems
    // with their marks become problems 1 to 9, everything after them is zeroed, and
    // ProblemCount becomes 9, so the next problem is number 10. The status line keeps
    // showing the same nine marks, and repeats are still kept away from those nine.
    // A ProblemCount outside 0..99 (never made by the program) is brought back into range.
    void turnPageIfFull(int row);

private:
    std::array<std::array<std::int32_t, kSlots>, kRows> m_slots {};
};

} // namespace piko
