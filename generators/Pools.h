// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "generators/LevelRule.h"
#include "state/ProblemHistory.h"

#include <optional>
#include <vector>

namespace piko {

// The repetition tests of the candidate loop, for problem n of a row.

// A candidate that the duplicate test, or an unbounded similarity test, throws away
// however often it comes.
bool isBlocked(
    const Candidate &c, const Repetition &rules, const ProblemHistory &history, int row, int n);
// Same answer, first or second operand as problem n-1.
bool isSimilar(const Candidate &c, const ProblemHistory &history, int row, int n);

// Every distinct problem a level can make, found by walking every outcome of its draws;
// nullopt when the level's draws have more than kMaxOutcomes outcomes (such a level has far
// more problems than a row can hold).
inline constexpr int kMaxOutcomes = 20000;
std::optional<std::vector<Candidate>> enumeratePool(const LevelRule &level);

// The level's own rules when some problem of its pool still passes them on this row;
// otherwise the least relaxation under which one does, in this order: drop an unbounded
// similarity test; keep only the previous problem from coming again; no test at all.
Repetition passableRules(const LevelRule &level, const ProblemHistory &history, int row, int n);

} // namespace piko
