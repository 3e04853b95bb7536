// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Renders the screenshots in docs/ from the real window, driven as a pupil would drive it:
//   build/tests/screenshots docs
#include "AppTestSupport.h"
#include "app/Style.h"

#include <QApplication>
#include <QDir>

namespace {

using piko::test::Window;

void save(const Window &win, const QString &dir, const char *name)
{
    const QString file = QDir(dir).filePath(QLatin1String(name));
    if (!win.form->grab().save(file))
        qWarning("could not write %s", qPrintable(file));
}

// Answers row `row`'s problem: right when `right`, otherwise with a wrong number.
void answer(Window &win, int row, bool right)
{
    const auto &h = win.state.ProblemHistory;
    const int n = h.ProblemCount(row);
    win.tapNumber(row, right ? h.Answer(row, n) : h.Answer(row, n) + 1);
    if (right && h.Remainder(row, n) != 0) {
        win.click(QStringLiteral("Command9(%1)").arg(row - 1));
        win.tapNumber(row, h.Remainder(row, n));
    }
    win.click(QStringLiteral("Command5(%1)").arg(row - 1));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    piko::applyProgramStyle();
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(dir);

    {
        Window win(1024);
        save(win, dir, "start.png");
        const char *panels[] = { "panel-addition.png", "panel-subtraction.png",
            "panel-multiplication.png", "panel-division.png" };
        for (int op = 0; op < 4; ++op) {
            win.click(QStringLiteral("Command1(%1)").arg(op));
            save(win, dir, panels[op]);
        }
        win.choose(0, 9);
        save(win, dir, "rows-invitation.png");
        win.clickSurface(100, 100);
        win.clickSurface(100, 300);
        win.clickSurface(100, 500);
        for (bool right : { true, true, false, true, true, false, false, false, true })
            answer(win, 1, right);
        for (bool right : { true, false, true, true })
            answer(win, 2, right);
        win.tapNumber(2, 4);
        win.tapNumber(3, 1);
        save(win, dir, "drill-addition.png");
    }
    {
        Window win(1024);
        win.choose(3, 13);
        win.clickSurface(100, 100);
        win.clickSurface(100, 300);
        for (bool right : { true, false, true, true })
            answer(win, 1, right);
        answer(win, 2, true);
        win.tapNumber(1, 12);
        win.click("Command9(0)");
        win.tapNumber(1, 3);
        save(win, dir, "drill-division.png");
    }
    {
        Window win(800);
        save(win, dir, "compact-start.png");
        win.click("Command1(2)");
        save(win, dir, "compact-panel-multiplication.png");
        win.choose(2, 10);
        win.clickSurface(100, 100);
        win.clickSurface(100, 300);
        for (bool right : { true, true, false, true })
            answer(win, 1, right);
        win.tapNumber(2, 5);
        save(win, dir, "compact-drill.png");
    }
    return 0;
}
