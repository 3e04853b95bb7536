// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

namespace piko::artwork {
namespace {

QPixmap renderFile(const QString &file, QSize size, qreal ratio)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(file);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

} // namespace

QPixmap render(const char *art, QSize size, qreal devicePixelRatio)
{
    return renderFile(QStringLiteral(":/art/") + QString::fromUtf8(art), size, devicePixelRatio);
}

QPixmap iconPixmap(int side)
{
    return renderFile(QStringLiteral(":/art/icon.svg"), QSize(side, side), 1.0);
}

QIcon icon()
{
    QIcon icon;
    for (int side : { 16, 32, 48, 64 })
        icon.addPixmap(iconPixmap(side));
    return icon;
}

} // namespace piko::artwork
