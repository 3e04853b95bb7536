#include "app/Fonts.h"

#include <QApplication>
#include <QStringList>
#include <QStyleFactory>

#include <cmath>

namespace piko {

void installFontSubstitutions()
{
    const struct {
        const QString &design;
        QStringList nearest;
    } substitutions[] = {
        { kPMincho, { "IPAPMincho", "IPAexMincho", "IPAMincho", "Noto Serif CJK JP" } },
        { kMincho, { "IPAMincho", "IPAexMincho", "Noto Serif CJK JP" } },
        { kGothic, { "IPAGothic", "IPAexGothic", "Noto Sans Mono CJK JP" } },
        { kPGothic, { "IPAPGothic", "IPAexGothic", "IPAGothic", "Noto Sans CJK JP" } },
    };
    // A substitute is only taken where the named font itself is not installed, so asking the
    // font database first (which costs start-up time) is not needed.
    for (const auto &s : substitutions)
        QFont::insertSubstitutions(s.design, s.nearest);
}

void applyProgramStyle()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    installFontSubstitutions();
}

int pointsToPixels(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont designFont(const QString &family, double points, bool bold)
{
    QFont font(family);
    font.setPixelSize(pointsToPixels(points));
    font.setBold(bold);
    font.setStyleHint(
        family.contains(QStringLiteral("ゴシック")) ? QFont::SansSerif : QFont::Serif);
    return font;
}

} // namespace piko
