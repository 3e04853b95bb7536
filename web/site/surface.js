// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The drill surface Picture1 as a canvas: a persistent picture in design pixels with a text
// cursor, foreground and fill colours and a solid fill, drawn at the page's zoom.
const rgb = (r, g, b) => `rgb(${r}, ${g}, ${b})`;

export class Surface {
  constructor(element, { width, height }, back, font) {
    this.element = element;
    this.width = width;
    this.height = height;
    this.back = rgb(...back);
    this.font = font;
    this.canvas = document.createElement('canvas');
    this.canvas.id = 'Picture1Canvas';
    this.canvas.setAttribute('aria-hidden', 'true');
    element.append(this.canvas);
    this.context = this.canvas.getContext('2d', { willReadFrequently: true });
    this.x = 0;
    this.y = 0;
    this.fore = rgb(0, 0, 0);
    this.fill = rgb(255, 255, 255);
    this.solid = false;
    this.scale = 0;
    this.setZoom(1);
  }

  // The canvas covers the surface pixel for pixel at this zoom; true when it was cleared.
  setZoom(scale) {
    if (scale === this.scale) return false;
    this.scale = scale;
    this.canvas.width = Math.max(1, Math.round(this.width * scale));
    this.canvas.height = Math.max(1, Math.round(this.height * scale));
    this.canvas.style.width = `${this.width}px`;
    this.canvas.style.height = `${this.height}px`;
    const c = this.context;
    c.setTransform(scale, 0, 0, scale, 0, 0);
    c.fillStyle = this.back;
    c.fillRect(0, 0, this.width, this.height);
    c.font = this.font;
    this.metrics = c.measureText('あ');
    this.kept = null;
    return true;
  }

  print(text) {
    const c = this.context;
    c.font = this.font;
    c.fillStyle = this.fore;
    c.textBaseline = 'alphabetic';
    c.fillText(text, this.x, this.y + Math.round(this.metrics.fontBoundingBoxAscent));
    this.x = 0;
    this.y += this.textHeight();
  }

  textWidth(text) {
    this.context.font = this.font;
    return Math.round(this.context.measureText(text).width);
  }

  textHeight() {
    return Math.round(this.metrics.fontBoundingBoxAscent) + Math.round(this.metrics.fontBoundingBoxDescent);
  }

  roundRect(left, top, right, bottom, w, h) {
    const c = this.context;
    c.beginPath();
    c.roundRect(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1, [Math.min(w, h) / 2]);
    if (this.solid) {
      c.fillStyle = this.fill;
      c.fill();
    }
    c.strokeStyle = this.fore;
    c.lineWidth = 1;
    c.stroke();
  }

  fillSquare(left, top, side, r, g, b) {
    this.context.fillStyle = rgb(r, g, b);
    this.context.fillRect(left, top, side, side);
  }

  keepArea(left, top, width, height) {
    const s = this.scale;
    this.kept = {
      at: [Math.floor(left * s), Math.floor(top * s)],
      image: this.context.getImageData(Math.floor(left * s), Math.floor(top * s), Math.ceil(width * s), Math.ceil(height * s)),
    };
  }

  restoreArea() {
    if (!this.kept) return;
    this.context.putImageData(this.kept.image, ...this.kept.at);
    this.kept = null;
  }

  // The drawing calls of the drill's page object, passed on to the surface of the moment.
  static methods(surface) {
    return {
      setCurrentX: (x) => { surface().x = x; },
      setCurrentY: (y) => { surface().y = y; },
      setForeColor: (r, g, b) => { surface().fore = rgb(r, g, b); },
      setFillColor: (r, g, b) => { surface().fill = rgb(r, g, b); },
      setSolidFill: (on) => { surface().solid = on; },
      roundRect: (...a) => surface().roundRect(...a),
      fillSquare: (...a) => surface().fillSquare(...a),
      print: (text) => surface().print(text),
      textWidth: (text) => surface().textWidth(text),
      textHeight: () => surface().textHeight(),
      keepArea: (...a) => surface().keepArea(...a),
      restoreArea: () => surface().restoreArea(),
    };
  }
}
