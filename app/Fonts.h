// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Design.h"

#include <QFont>
#include <QString>

namespace piko {

// Maps each design font name to the nearest installed Japanese family of the same kind (the IPA
// fonts are metric-compatible), once for the whole program; widgets keep the design names.
void installFontSubstitutions();

// A design font: sizes are in points at 96 dots per inch, turned into pixels so that the
// window looks the same whatever dots per inch the screen reports.
QFont designFont(const design::Font &font);

} // namespace piko
