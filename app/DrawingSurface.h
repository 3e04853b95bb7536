// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Canvas.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

class QPainter;

namespace piko {

// The drill surface Picture1: a persistent image that keeps what is drawn on it until something
// is drawn over it, with a text cursor (CurrentX, CurrentY), a foreground and a fill colour,
// rounded rectangles and printing. Coordinates are the design's pixels whatever the zoom: the
// image has as many pixels as the surface covers on the screen (zoom and screen density both
// counted), so lines and text are drawn sharp at any size. One scale takes design pixels to the
// image's pixels, larger or smaller than 1.
class DrawingSurface final : public QWidget, public Canvas {
    Q_OBJECT

public:
    explicit DrawingSurface(QColor backColour, QWidget *parent = nullptr);

    // The font printed in, at its design size.
    void setPrintFont(const QFont &font) { m_printFont = font; }
    const QFont &printFont() const { return m_printFont; }
    // Shows the drawing `zoom` times its design size; what was drawn is cleared.
    void setZoom(double zoom);

    void setCurrentX(int x) override { m_currentX = x; }
    void setCurrentY(int y) override { m_currentY = y; }
    int currentX() const { return m_currentX; }
    int currentY() const { return m_currentY; }
    void setForeColor(Rgb colour) override;
    void setFillColor(Rgb colour) override;
    void setSolidFill(bool solid) override { m_solidFill = solid; }

    // Prints at (CurrentX, CurrentY), the top left of the text; then, like a line printer,
    // CurrentX returns to 0 and CurrentY moves down one line.
    void print(const std::string &text) override;
    void print(const QString &text);
    int textWidth(const QString &text) const;
    int textWidth(const std::string &text) const override;
    int textHeight() const override;
    // Left, top, right and bottom edges, the right and bottom ones just outside the shape;
    // the corners are ellipses w wide and h high. Outline in the foreground colour, filled with
    // the fill colour when the fill is solid.
    void roundRect(int left, int top, int right, int bottom, int w, int h) override;
    void fillSquare(int left, int top, int side, Rgb colour) override;
    // Keeps a copy of an area of the drawing, and puts it back.
    void keepArea(Area area) override;
    void restoreArea() override;

    // What the surface shows, at the screen's pixel density (for tests and screenshots); its
    // device pixel ratio is the number of its pixels per design pixel.
    QImage image() const;
    // Image pixels per design pixel: the zoom times the screen's density.
    qreal scale() const { return devicePixelRatioF() * m_zoom; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ensureImage();
    // A painter on the image that takes design pixels.
    void beginDesign(QPainter &painter);

    QColor m_backColour;
    QColor m_foreColour = Qt::black;
    QColor m_fillColour = Qt::black;
    bool m_solidFill = false;
    int m_currentX = 0;
    int m_currentY = 0;
    QImage m_image;
    QFont m_printFont;
    double m_zoom = 1.0;
    QRect m_keptArea;
    QImage m_kept;
};

} // namespace piko
