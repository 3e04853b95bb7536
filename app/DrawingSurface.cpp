// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/DrawingSurface.h"

#include <QFontMetrics>
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

// The image covers the widget pixel for pixel. It carries no device pixel ratio of its own:
// QPainter honours one only above 1, so the scale to design pixels is each painter's.
void DrawingSurface::ensureImage()
{
    const QSize pixels = (QSizeF(size()) * devicePixelRatioF()).toSize().expandedTo(QSize(1, 1));
    if (m_image.size() == pixels)
        return;
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(m_backColour);
    if (!m_image.isNull()) {
        QPainter painter(&image);
        painter.drawImage(QPoint(0, 0), m_image);
    }
    m_image = image;
}

void DrawingSurface::beginDesign(QPainter &painter)
{
    ensureImage();
    painter.begin(&m_image);
    painter.scale(scale(), scale());
}

QImage DrawingSurface::image() const
{
    QImage image = m_image;
    image.setDevicePixelRatio(scale());
    return image;
}

void DrawingSurface::print(const std::string &text)
{
    print(QString::fromStdString(text));
}

void DrawingSurface::print(const QString &text)
{
    QPainter painter;
    beginDesign(painter);
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
    QPainter painter;
    beginDesign(painter);
    painter.setPen(QPen(m_foreColour, 1));
    painter.setBrush(m_solidFill ? QBrush(m_fillColour) : QBrush(Qt::NoBrush));
    painter.drawRoundedRect(QRect(left, top, right - left - 1, bottom - top - 1), w / 2.0, h / 2.0);
    update();
}

void DrawingSurface::fillSquare(int left, int top, int side, Rgb colour)
{
    QPainter painter;
    beginDesign(painter);
    painter.fillRect(QRect(left, top, side, side), toQColor(colour));
    update();
}

// The copy is of the image's own pixels, the design area widened to whole pixels.
void DrawingSurface::keepArea(Area area)
{
    ensureImage();
    m_keptArea = QTransform::fromScale(scale(), scale())
                     .mapRect(QRectF(area.left, area.top, area.width, area.height))
                     .toAlignedRect();
    m_kept = m_image.copy(m_keptArea);
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

} // namespace piko
