// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/Fonts.h"

#include "drill/Placement.h"

#include <QApplication>
#include <QStringList>

namespace piko {

void installFontSubstitutions()
{
    const struct {
        const char *design;
        QStringList nearest;
    } substitutions[] = {
        { design::kPMincho, { "IPAPMincho", "IPAexMincho", "IPAMincho", "Noto Serif CJK JP" } },
        { design::kMincho, { "IPAMincho", "IPAexMincho", "Noto Serif CJK JP" } },
        { design::kGothic, { "IPAGothic", "IPAexGothic", "Noto Sans Mono CJK JP" } },
        { design::kPGothic, { "IPAPGothic", "IPAexGothic", "IPAGothic", "Noto Sans CJK JP" } },
    };
    // A substitute is only taken where the named font itself is not installed, so asking the
    // font database first (which costs start-up time) is not needed.
    for (const auto &s : substitutions)
        QFont::insertSubstitutions(QString::fromUtf8(s.design), s.nearest);
}

QFont designFont(const design::Font &design)
{
    const QString family = QString::fromUtf8(design.family);
    QFont font(family);
    font.setPixelSize(design::fontPixels(design.points));
    font.setBold(design.bold);
    font.setStyleHint(
        family.contains(QStringLiteral("ゴシック")) ? QFont::SansSerif : QFont::Serif);
    return font;
}

} // namespace piko
