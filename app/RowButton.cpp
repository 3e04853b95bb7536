// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/RowButton.h"

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
    const int line = qMax(3, height() / 45);
    painter.setPen(QPen(QColor(0, 0, 170), line));
    const qreal inset = line / 2.0 + 1;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 15, 15);
}

} // namespace piko
