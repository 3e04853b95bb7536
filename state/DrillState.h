// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "state/ProblemHistory.h"

#include <array>
#include <cstdint>
#include <string>

namespace piko {

enum Operation : std::int16_t {
    NoOperation = 0,
    Addition = 1,
    Subtraction = 2,
    Multiplication = 3,
    Division = 4,
};

// The whole state of the drill: one instance lives for the run, starting zeroed.
// Field names and widths follow the program's design so handlers read like its description.
struct DrillState {
    std::int16_t ScreenWidth = 0; // screen width in pixels, set once at start-up
    std::int16_t Operation = 0; // 0 none, 1 addition .. 4 division
    std::int16_t Level = 0; // 0 none chosen, else the level number
    std::array<std::int16_t, 4> InputTarget {}; // per row 1..3: 0 answer box, 1 remainder box
    std::int16_t RemainderMode = 0; // 1 when the level asks for a remainder
    piko::ProblemHistory ProblemHistory;
    std::int16_t CurrentRow = 0; // 1..3, 0 before any row was opened
    std::string ProblemText; // UTF-8, as printed on the row
};

} // namespace piko
