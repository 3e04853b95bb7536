// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "drill/BoxReading.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace piko {
namespace {

// Decodes one UTF-8 character at text[i], advancing i; malformed input yields U+FFFD.
char32_t nextCodePoint(std::string_view text, std::size_t &i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length = lead < 0x80  ? 1
        : (lead >> 5) == 0x6  ? 2
        : (lead >> 4) == 0xE  ? 3
        : (lead >> 3) == 0x1E ? 4
                              : 0;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return U'\uFFFD';
    }
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const unsigned char c = byte(i + k);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return U'\uFFFD';
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += length;
    return cp;
}

// Full-width forms (U+FF01..U+FF5E) are their ASCII characters shifted by 0xFEE0.
char32_t narrow(char32_t c)
{
    return c >= 0xFF01 && c <= 0xFF5E ? c - 0xFEE0 : c;
}

bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == U'\u3000';
}

} // namespace

double boxValue(std::string_view utf8)
{
    std::string number; // the leading number's digits and point, in ASCII
    bool negative = false, signSeen = false, digits = false, point = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = narrow(nextCodePoint(utf8, i));
        if (isBlank(c))
            continue;
        if ((c == U'+' || c == U'-' || c == U'\u2212') && !signSeen && number.empty()) {
            negative = c != U'+';
            signSeen = true;
        } else if (c >= U'0' && c <= U'9') {
            number += static_cast<char>(c);
            digits = true;
        } else if (c == U'.' && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    // strtod reads the decimal point of the program's locale (the window sets the system's),
    // so the point is written as that locale writes it. Too large a number reads as infinity.
    if (const auto at = number.find('.'); at != std::string::npos)
        number.replace(at, 1, std::localeconv()->decimal_point);
    const double value = std::strtod(number.c_str(), nullptr);
    return negative ? -value : value;
}

bool holdsDigit(std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = narrow(nextCodePoint(utf8, i));
        if (c >= U'0' && c <= U'9')
            return true;
    }
    return false;
}

} // namespace piko
