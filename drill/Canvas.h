// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "generators/Surface.h"
#include "state/RowGeometry.h"

#include <string>

namespace piko {

using Area = Rect; // in pixels of the surface

// The drill surface as the flow draws on it: a persistent image in pixels with a text cursor
// (CurrentX, CurrentY), foreground and fill colours and a solid fill style.
class Canvas : public Surface {
public:
    virtual void setFillColor(Rgb colour) = 0;
    virtual void setSolidFill(bool solid) = 0;
    // Right and bottom lie just outside the shape; corners are ellipses w × h.
    virtual void roundRect(int left, int top, int right, int bottom, int w, int h) = 0;
    virtual void fillSquare(int left, int top, int side, Rgb colour) = 0;
    virtual int textWidth(const std::string &text) const = 0;
    virtual int textHeight() const = 0;
    // Remembers what lies under an area, and puts it back later.
    virtual void keepArea(Area area) = 0;
    virtual void restoreArea() = 0;
};

} // namespace piko
