// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace piko::artwork {

// The program's own drawings (files of art/), kept as vector images and rendered once at
// the size shown.
QPixmap render(const char *art, QSize size, qreal devicePixelRatio);
// The window icon, drawn for 16 × 16 and sharp at larger sizes too.
QIcon icon();
// The icon alone at one size, for the desktop's icon theme.
QPixmap iconPixmap(int side);

} // namespace piko::artwork
