// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "generators/Random.h"
#include "state/DrillState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace piko {

// How many levels of each operation have a rule, by operation (index 0 is no operation).
inline constexpr std::array<int, 5> kRuleCounts { 0, 16, 13, 27, 24 };

// One problem as a level draws it: a and b as printed (dividend and divisor for division),
// the expected answer and remainder.
struct Candidate {
    std::int32_t a = 0, b = 0, answer = 0, remainder = 0;
    bool operator==(const Candidate &) const = default;
};

// A level rule either yields a candidate or asks for the whole candidate to be drawn anew.
// A test with draws after it ends its line with `if (c) return redraw;`; the last test and the
// problem share one return, `return c ? redraw : sum(a, b);`.
using Drawn = std::optional<Candidate>;
inline constexpr std::nullopt_t redraw = std::nullopt;
using Rule = Drawn (*)(Draw &R);

constexpr Drawn sum(int a, int b)
{
    return Candidate { a, b, a + b, 0 };
}
constexpr Drawn difference(int a, int b)
{
    return Candidate { a, b, a - b, 0 };
}
constexpr Drawn product(int a, int b)
{
    return Candidate { a, b, a * b, 0 };
}
// q·d + r ÷ d = q remainder r
constexpr Drawn quotient(int q, int d, int r = 0)
{
    return Candidate { q * d + r, d, q, r };
}

// "at most K": a larger value becomes K; "at least K": a smaller value becomes K.
constexpr int atMost(int v, int K)
{
    return v > K ? K : v;
}
constexpr int atLeast(int v, int K)
{
    return v < K ? K : v;
}

// How a level keeps repeats away from a row.
struct Repetition {
    enum class Key : std::uint8_t { Operands, Quotient };
    enum class Similarity : std::uint8_t {
        Full, // answer, a or b of the previous problem; at most ten thrown away
        OperandsUnbounded, // a or b of the previous problem, thrown away every time
        None,
    };
    static constexpr int kAll = 98; // every earlier problem a row can hold

    Key key = Key::Operands;
    int window = kAll; // how many earlier problems the duplicate test looks at; 0: no test
    Similarity similarity = Similarity::Full;
};

inline constexpr Repetition kFrameRules {};

struct LevelRule {
    Rule draw;
    Repetition repetition = kFrameRules;
    bool remainder = false; // the pupil gives a remainder too (division only)
};

// The levels of one operation, level L at index L - 1, and the operator string of its text.
struct OperationTable {
    std::span<const LevelRule> levels;
    const char *sign;

    const LevelRule *level(int L) const
    {
        return L >= 1 && L <= static_cast<int>(levels.size()) ? &levels[L - 1] : nullptr;
    }
    // Whether level L asks for a remainder; a level without a rule asks for none.
    bool asksRemainder(int L) const
    {
        const LevelRule *rule = level(L);
        return rule && rule->remainder;
    }
};

const OperationTable &additionTable();
// The table of an operation 1..4 (addition .. division); nullptr for any other value.
const OperationTable *operationTable(int operation);
const OperationTable &subtractionTable();
const OperationTable &multiplicationTable();
const OperationTable &divisionTable();

} // namespace piko
