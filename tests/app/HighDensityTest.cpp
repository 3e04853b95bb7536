// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// At a device pixel ratio of 2 the window is laid out as at 1 and drawn with twice the pixels:
// the same picture, only sharper. The ratio is fixed when the application starts, so the test
// renders the ratio-2 window in a child process of this same test program.
#include "AppTestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

namespace piko::test {
namespace {

// The same drill on every run: the fake clock seeds the source alike.
QImage renderDrill()
{
    Window win(1024);
    win.choose(3, 13);
    win.clickSurface(100, 100);
    win.tapNumber(1, 12);
    win.click("Command5(0)");
    win.clickSurface(100, 300);
    return win.form->grab().toImage();
}

TEST(HighDensity, TwiceTheDensityLooksTheSameButSharper)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile config(dir.filePath("dpr2.json"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(
        R"({"screens":[{"name":"hidpi","x":0,"y":0,"width":1024,"height":768,"logicalDpi":96,"dpr":2}]})");
    config.close();

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
    env.insert(kRenderDrillTo, dir.filePath("dpr2.png"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();

    const QImage one = renderDrill().convertToFormat(QImage::Format_RGB32);
    const QImage two = QImage(dir.filePath("dpr2.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(two.size(), one.size() * 2);
    // Placed as at ratio 1: scaled down, the ratio-2 window is the ratio-1 window.
    const QImage down = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(meanDifference(down, one), 4.0);
    // And not merely blown up: it has detail that the ratio-1 pixels do not.
    const QImage blownUp = one.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_GT(meanDifference(two, blownUp), 0.3);
}

} // namespace

bool renderDrillTo(const QString &file)
{
    return renderDrill().save(file);
}

} // namespace piko::test
