// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// At any zoom, and at a device pixel ratio of 2, the window is laid out as at 1 and drawn with
// as many pixels as it covers: the same picture, smaller or larger, sharper or coarser. The ratio
// is fixed when the application starts, so the test renders the ratio-2 window in a child process
// of this same test program.
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

// Decides addition level 1 in a window of `size`, opens every row with a press low in the row,
// beside its keypad, and shows a mark on row 1: the surface then, and the row each press opened.
QImage drillAtSize(QSize size, std::vector<int> &opened)
{
    Window win(1024);
    win.form->resize(size);
    const double zoom = win.form->zoom();
    win.choose(0, 1);
    for (int row = 1; row <= 3; ++row) {
        const int y = rows::y0(row) + rows::kFrameBottom - 6;
        win.clickSurface(qRound(60 * zoom), qRound(y * zoom));
        opened.push_back(win.state.CurrentRow);
    }
    win.tapNumber(1, 99);
    win.press("Command5(0)"); // a wrong answer: the × stays while the test looks
    return win.form->surface().image().convertToFormat(QImage::Format_RGB32);
}

TEST(AnyZoom, TheSurfaceIsTheDesignScaledAndPressesOpenTheRowsDrawn)
{
    std::vector<int> opened;
    const QImage design = drillAtSize(QSize(1018, 731), opened);
    for (const double zoom : { 0.5, 0.777, 3.0 }) {
        opened.clear();
        const QImage zoomed = drillAtSize(QSize(qRound(1018 * zoom), qRound(731 * zoom)), opened);
        EXPECT_EQ(opened, (std::vector<int> { 1, 2, 3 })) << zoom;
        // Compared at the smaller of the two sizes.
        const QSize size = zoom < 1 ? zoomed.size() : design.size();
        const auto at = [size](const QImage &image) {
            return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        EXPECT_LT(meanDifference(at(zoomed), at(design)), 2.0) << zoom;
    }
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
