#pragma once

#include <QFont>
#include <QString>

namespace piko {

// The window's fonts by their design names.
inline const QString kPMincho = QStringLiteral("ＭＳ Ｐ明朝"); // proportional Mincho
inline const QString kMincho = QStringLiteral("ＭＳ 明朝"); // fixed-pitch Mincho
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック"); // fixed-pitch Gothic
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック"); // proportional Gothic

// Maps each design name to the nearest installed Japanese family of the same kind (the IPA
// fonts are metric-compatible), once for the whole program; widgets keep the design names.
void installFontSubstitutions();

// The program's look, set once after the QApplication exists: the Fusion style (it shows the
// buttons' back colours on every platform) and the font substitutions.
void applyProgramStyle();

// A design font: sizes are in points at 96 dots per inch, turned into pixels so that the
// window looks the same whatever dots per inch the screen reports.
QFont designFont(const QString &family, double points, bool bold);
int pointsToPixels(double points);

} // namespace piko
