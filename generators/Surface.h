// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <cstdint>
#include <string>

namespace piko {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb &) const = default;
};

inline constexpr Rgb kBlack { 0, 0, 0 };
inline constexpr Rgb kWhite { 255, 255, 255 };
inline constexpr Rgb kRed { 255, 0, 0 };

// The part of the drill surface that the generators print the status line through.
// Coordinates are pixels of the surface; text is UTF-8.
class Surface {
public:
    virtual ~Surface() = default;
    virtual void setCurrentX(int x) = 0;
    virtual void setCurrentY(int y) = 0;
    virtual void setForeColor(Rgb colour) = 0;
    virtual void print(const std::string &text) = 0;
};

} // namespace piko
