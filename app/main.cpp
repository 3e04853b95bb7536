// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/Form1.h"
#include "app/SingleInstance.h"
#include "app/Style.h"
#include "generators/Random.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(PIKOMARU_ID));
    // A second start brings the drill already on this screen forward instead of a second window.
    piko::SingleInstance instance;
    if (instance.alreadyRunning())
        return 0;
    piko::applyProgramStyle();

    piko::DrillState state;
    piko::SystemClock clock;
    piko::SystemScreen screen;
    piko::SystemMessages messages;
    piko::SystemBeeper beeper;
    piko::SeededRandom random;
    piko::Form1 window(state, { clock, screen, messages, beeper, random });
    messages.setWindow(&window);
    instance.serve(&window);
    window.show();
    return app.exec();
}
