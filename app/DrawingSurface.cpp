// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/DrawingSurface.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace piko {

namespace {

QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

} // namespace

DrawingSurface::DrawingSurface(QColor backColour, QWidget *parent)
    : QWidget(parent), m_backColour(backColour)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, backColour);
    setPalette(palette);
    ensureImage();
}

void DrawingSurface::setForeColor(Rgb colour)
{
    m_foreColour = toQColor(colour);
}

void DrawingSurface::setFillColor(Rgb colour)
{
    m_fillColour = toQColor(colour);
}

void DrawingSurface::setZoom(double zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    m_image = QImage();
    m_kept = QImage();
    ensureImage();
}

// The image covers the widget pixel for pixel; painting on it is in design pixels.
void DrawingSurface::ensureImage()
{
    const qreal ratio = devicePixelRatioF() * m_zoom;
    const QSize pixels = (QSizeF(size()) * devicePixelRatioF()).toSize().expandedTo(QSize(1, 1));
    if (m_image.size() == pixels && m_image.devicePixelRatio() == ratio)
        return;
    QImage image(pixels, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(m_backColour);
    if (!m_image.isNull()) {
        QPainter painter(&image);
        painter.drawImage(QPointF(0, 0), m_image);
    }
    m_image = image;
}

void DrawingSurface::print(const std::string &text)
{
    print(QString::fromStdString(text));
}

void DrawingSurface::print(const QString &text)
{
    ensureImage();
    QPainter painter(&m_image);
    painter.setFont(m_printFont);
    painter.setPen(m_foreColour);
    const QFontMetrics metrics(m_printFont);
    painter.drawText(QPoint(m_currentX, m_currentY + metrics.ascent()), text);
    m_currentX = 0;
    m_currentY += metrics.height();
    update();
}

int DrawingSurface::textWidth(const QString &text) const
{
    return QFontMetrics(m_printFont).horizontalAdvance(text);
}

int DrawingSurface::textWidth(const std::string &text) const
{
    return textWidth(QString::fromStdString(text));
}

int DrawingSurface::textHeight() const
{
    return QFontMetrics(m_printFont).height();
}

void DrawingSurface::roundRect(int left, int top, int right, int bottom, int w, int h)
{
    ensureImage();
    QPainter painter(&m_image);
    painter.setPen(QPen(m_foreColour, 1));
    painter.setBrush(m_solidFill ? QBrush(m_fillColour) : QBrush(Qt::NoBrush));
    painter.drawRoundedRect(QRect(left, top, right - left - 1, bottom - top - 1), w / 2.0, h / 2.0);
    update();
}

void DrawingSurface::fillSquare(int left, int top, int side, Rgb colour)
{
    ensureImage();
    QPainter painter(&m_image);
    painter.fillRect(QRect(left, top, side, side), toQColor(colour));
    update();
}

void DrawingSurface::keepArea(Area area)
{
    ensureImage();
    m_keptArea = QRect(area.left, area.top, area.width, area.height);
    const qreal ratio = m_image.devicePixelRatio();
    m_kept = m_image.copy(
        QRectF(QRectF(m_keptArea).topLeft() * ratio, QSizeF(m_keptArea.size()) * ratio)
            .toAlignedRect());
    m_kept.setDevicePixelRatio(ratio);
}

void DrawingSurface::restoreArea()
{
    if (m_kept.isNull())
        return;
    ensureImage();
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(m_keptArea.topLeft(), m_kept);
    m_kept = QImage();
    update();
}

void DrawingSurface::paintEvent(QPaintEvent *)
{
    ensureImage();
    QPainter painter(this);
    painter.drawImage(QRectF(rect()), m_image, QRectF(m_image.rect()));
}

void DrawingSurface::resizeEvent(QResizeEvent *)
{
    ensureImage();
}

void DrawingSurface::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = (event->position() / m_zoom).toPoint();
    emit mouseDown(
        static_cast<int>(event->button()), static_cast<int>(event->modifiers()), p.x(), p.y());
}

} // namespace piko
