// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Writes the program's icon as PNG files, one per size, for the desktop's icon theme:
//   pikomaru_icons DIR   makes DIR/16.png, DIR/24.png, … DIR/256.png
#include "app/Artwork.h"

#include <QDir>
#include <QGuiApplication>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    for (int side : { 16, 24, 32, 48, 64, 128, 256 }) {
        if (!piko::artwork::iconPixmap(side).save(
                QDir(dir).filePath(QString::number(side) + ".png")))
            return 1;
    }
    return 0;
}
