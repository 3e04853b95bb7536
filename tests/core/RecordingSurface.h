// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "generators/Surface.h"

#include <string>
#include <vector>

namespace piko::test {

// Keeps what is printed on it, with the place and colour it was printed at.
class RecordingSurface final : public Surface {
public:
    struct Printed {
        int x, y;
        Rgb colour;
        std::string text;
    };

    void setCurrentX(int x) override { m_x = x; }
    void setCurrentY(int y) override { m_y = y; }
    void setForeColor(Rgb colour) override { m_colour = colour; }
    void print(const std::string &text) override
    {
        printed.push_back({ m_x, m_y, m_colour, text });
    }

    std::vector<Printed> printed;

private:
    int m_x = 0, m_y = 0;
    Rgb m_colour;
};

} // namespace piko::test
