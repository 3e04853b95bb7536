// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Design.h"

#include <vector>

namespace piko::design {

// A control as a layout places it: its design with the layout's font size and visibility,
// and its place in pixels of its parent.
struct Placed {
    Control control;
    Rect place;
};

// Every control of the window in the order a face makes them (later ones lie on top): the
// design's controls with each keypad's ten digits and けす right after their keypad, then the
// four level panels, each with its heading, options, けってい and ｷｬﾝｾﾙ. Parents come before
// their children.
std::vector<Placed> placeControls(const Layout &layout);

// The font size in pixels of a size in points, at 96 dots per inch.
constexpr int fontPixels(double points)
{
    return static_cast<int>(points * 96.0 / 72.0 + 0.5);
}

} // namespace piko::design
