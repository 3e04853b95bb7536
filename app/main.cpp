// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/Fonts.h"
#include "app/Form1.h"
#include "app/SingleInstance.h"
#include "app/Style.h"
#include "app/WorksheetPrint.h"
#include "drill/CommandLine.h"
#include "generators/Random.h"

#include <QApplication>

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

// A worksheet to a PDF file, with no window: Qt's offscreen platform, wherever this runs.
int printWorksheet(int argc, char *argv[], const piko::CommandLine &line)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    piko::installFontSubstitutions();
    piko::WorksheetRequest request = line.request;
    if (!line.seedGiven)
        request.seed = piko::seedOfTime(piko::SystemClock().timeOfDay());
    const std::optional<piko::Worksheet> sheet = piko::makeWorksheet(request);
    QString why;
    if (!sheet
        || !piko::writeWorksheetPdf(*sheet, QString::fromLocal8Bit(line.output.c_str()), &why)) {
        std::fprintf(stderr,
            "pikomaru: 「%s」に かけません（%s）。\npikomaru: cannot write '%s': %s\n",
            line.output.c_str(), qPrintable(why), line.output.c_str(), qPrintable(why));
        return piko::kUsageStatus;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const piko::CommandLine line = piko::readCommandLine(arguments);
    switch (line.action) {
    case piko::CommandLine::Action::Help:
        std::fputs(piko::helpText().c_str(), stdout);
        return 0;
    case piko::CommandLine::Action::Version:
        std::fputs(piko::versionText(PIKOMARU_VERSION).c_str(), stdout);
        return 0;
    case piko::CommandLine::Action::Mistake:
        std::fprintf(stderr, "%s\n", line.mistake.c_str());
        return piko::kUsageStatus;
    case piko::CommandLine::Action::Worksheet:
        return printWorksheet(argc, argv, line);
    case piko::CommandLine::Action::Window:
        break;
    }

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
