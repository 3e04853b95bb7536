// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <string_view>

namespace piko {

// The numeric value of an answer or remainder box's text (UTF-8): the decimal number written at
// its start. Blanks are ignored wherever they stand; reading stops at the first character that
// cannot continue the number; a text without a leading number, and the empty text, give 0.
// Full-width digits, signs and point, as a Japanese input method types them, read as their
// ASCII forms. A number too large for a double reads as infinity, which is never right.
double boxValue(std::string_view utf8);

// Whether the text holds a digit (ASCII or full-width) anywhere: a box without one is as good as
// empty, whatever else was typed into it.
bool holdsDigit(std::string_view utf8);

} // namespace piko
