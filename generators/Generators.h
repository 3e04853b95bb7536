// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "generators/Random.h"
#include "generators/Surface.h"
#include "state/DrillState.h"

#include <string>

namespace piko {

// Makes the next problem of row CurrentRow for Operation and Level: raises the row's
// ProblemCount, prints the row's status line on the surface, records the problem in
// ProblemHistory and leaves its text in ProblemText. A Level without a rule makes the
// problem 0 and 0. Returns false, changing nothing, when CurrentRow is not 1..3 or
// Operation is not 1..4.
bool makeProblem(DrillState &state, RandomSource &random, Surface &surface);

// The status line of a row as about to be printed for problem n:
// "レベル" Level " (" n ")  せいせき：" and the marks of up to nine finished problems.
std::string statusLine(const DrillState &state, int row, int n);

// "13 ＋ 6 ＝ ": the operands' digits around the operator string, closed by " ＝ ".
std::string problemText(int a, const char *sign, int b);

} // namespace piko
