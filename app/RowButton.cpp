// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/RowButton.h"

#include "drill/Design.h"

#include <QPainter>

namespace piko {

RowButton::RowButton(QWidget *parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::TabFocus);
}

void RowButton::paintEvent(QPaintEvent *)
{
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // As designed, at the zoom the row is shown at.
    const double zoom = height() / double(rows::kFrameBottom - rows::kFrameTop);
    const auto &outline = design::kRowFocus;
    const int line = qMax(1, qRound(outline.width * zoom));
    painter.setPen(QPen(QColor(outline.colour.r, outline.colour.g, outline.colour.b), line));
    const qreal inset = line / 2.0 + 1;
    const qreal radius = outline.radius * zoom;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), radius, radius);
}

} // namespace piko
