// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <optional>

namespace piko {

// A keypad button: the row it belongs to (1..3) and the digit it types.
struct KeypadKey {
    int row = 0, digit = 0;
    bool operator==(const KeypadKey &) const = default;
};

// The digit buttons Command6 run 0..9 on row 1, but from 9 down to 0 on rows 2 and 3
// (Command6(10) is row 2's 9, Command6(19) its 0): index div 10 is the row − 1, and the digit
// must come from this rule, never from index mod 10.
constexpr int keypadIndex(KeypadKey key)
{
    return key.row == 1 ? key.digit : 10 * key.row - 1 - key.digit;
}
constexpr std::optional<KeypadKey> keypadKey(int index)
{
    if (index < 0 || index > 29)
        return std::nullopt;
    const int row = index / 10 + 1;
    return KeypadKey { row, row == 1 ? index : 10 * row - 1 - index };
}

} // namespace piko
