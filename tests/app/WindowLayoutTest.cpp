// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The window as built and laid out at load, on screens of several widths.
#include "AppTestSupport.h"

#include <QAudioDevice>
#include <QLabel>
#include <QRegularExpression>

namespace piko::test {
namespace {

QColor backColour(const QWidget *w, QPalette::ColorRole role = QPalette::Window)
{
    return w->palette().color(role);
}

TEST(WindowAtStart, ShowsOnlyTheOperationButtonsAndTheExitButton)
{
    Window win(1024);
    EXPECT_EQ(win.form->size(), QSize(1018, 731));
    EXPECT_TRUE(
        win.form->windowTitle().startsWith(QStringLiteral("ぴこまる Ver1.0.1 (ぴこまる）")));
    EXPECT_FALSE(win.form->windowIcon().isNull());
    EXPECT_EQ(backColour(win.form.get()), QColor(192, 255, 192));
    const char *operations[] = { "たしざん", "ひきざん", "かけざん", "わりざん" };
    for (int i = 0; i < 4; ++i) {
        auto *b = win.get<QPushButton>(QStringLiteral("Command1(%1)").arg(i));
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(b->text(), QString::fromUtf8(operations[i]));
        EXPECT_EQ(b->geometry(), QRect(16 + 128 * i, 4, 121, 41));
        EXPECT_EQ(backColour(b, QPalette::Button), QColor(0, 192, 192));
        EXPECT_EQ(b->font().pixelSize(), 27); // 20.25 pt
    }
    auto *exit = win.get<QPushButton>("Command2");
    EXPECT_TRUE(exit->isVisible());
    EXPECT_EQ(exit->text(), QStringLiteral("「ぴこまる」おわり"));
    EXPECT_EQ(exit->geometry(), QRect(752, 4, 257, 41));

    for (const char *hidden : { "Picture1", "Picture7", "Picture8", "Picture9", "Picture5" })
        EXPECT_TRUE(win.get(hidden)->isHidden()) << hidden;
    for (int r = 0; r < 3; ++r)
        for (const char *name : { "Text1", "Text2", "Command9", "Command5", "Picture6" })
            EXPECT_TRUE(
                win.get(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(r))->isHidden())
                << name << r;
    EXPECT_TRUE(win.get("Option1(24)")->isHidden());
    EXPECT_TRUE(win.get("Option1(25)")->isHidden());
    EXPECT_FALSE(win.get("Option1(23)")->isHidden());
}

TEST(Keypads, EveryDigitButtonShowsItsDigitWhateverItsIndex)
{
    Window win(1024);
    for (int index = 0; index < 30; ++index) {
        const int row = index / 10;
        const int digit = row == 0 ? index : 10 * row + 9 - index;
        auto *b = win.get<QPushButton>(QStringLiteral("Command6(%1)").arg(index));
        EXPECT_EQ(b->text(), QString::number(digit)) << index;
        EXPECT_EQ(b->parentWidget()->objectName(), QStringLiteral("Picture6(%1)").arg(row));
        EXPECT_EQ(b->geometry(), QRect(36 * digit, 0, 37, 37));
        EXPECT_EQ(backColour(b, QPalette::Button), QColor(192, 255, 192));
    }
    EXPECT_EQ(win.get<QPushButton>("Command6(12)")->text(), QStringLiteral("7"));
}

TEST(CompactLayout, FitsAnEightHundredPixelScreen)
{
    for (double width : { 800.0, 999.0 }) {
        Window win(width);
        EXPECT_EQ(win.state.ScreenWidth, static_cast<int>(width));
        EXPECT_LE(win.form->width(), 800);
        EXPECT_EQ(win.form->size(), QSize(800, 580));
        for (int i = 0; i < 4; ++i) {
            auto *b = win.get(QStringLiteral("Command1(%1)").arg(i));
            EXPECT_EQ(b->geometry(), QRect(10 + 100 * i, 2, 96, 32));
            EXPECT_EQ(b->font().pixelSize(), 21); // 16 pt
            EXPECT_EQ(win.get(QStringLiteral("Label2(%1)").arg(i))->font().pixelSize(), 21);
            EXPECT_EQ(win.get(QStringLiteral("Label2(%1)").arg(i))->pos(), QPoint(6, 8));
        }
        EXPECT_EQ(win.get("Command2")->geometry(), QRect(580, 2, 205, 32));
        EXPECT_EQ(win.get("Command2")->font().pixelSize(), 16);
        EXPECT_EQ(win.get("Picture1")->size(), QSize(790, 500));
        for (const char *picture : { "Picture2", "Picture3", "Picture4" })
            EXPECT_TRUE(win.get(picture)->isHidden());
        for (const char *panel : { "Picture7", "Picture8", "Picture9", "Picture5" })
            EXPECT_EQ(win.get(panel)->size(), QSize(794, 544));
        for (const char *decide : { "Command10", "Command12", "Command14", "Command3" })
            EXPECT_EQ(win.get(decide)->geometry(), QRect(620, 4, 75, 32));
        for (const char *cancel : { "Command11", "Command13", "Command15", "Command4" }) {
            EXPECT_EQ(win.get(cancel)->geometry(), QRect(700, 4, 75, 32));
            EXPECT_EQ(win.get(cancel)->font().pixelSize(), 16);
        }
        EXPECT_EQ(win.get("Option2(15)")->geometry(), QRect(16, 490, 400, 28));
        EXPECT_EQ(win.get("Option3(12)")->geometry(), QRect(16, 40 + 30 * 12, 400, 28));
        EXPECT_EQ(win.get("Option1(15)")->geometry(), QRect(16, 490, 400, 28));
        EXPECT_EQ(win.get("Option1(16)")->geometry(), QRect(400, 40, 380, 28));
        EXPECT_EQ(win.get("Option4(0)")->geometry(), QRect(16, 40, 380, 28));
        EXPECT_EQ(win.get("Option4(26)")->geometry(), QRect(400, 40 + 30 * 10, 380, 28));
        EXPECT_EQ(win.get("Option4(26)")->font().pixelSize(), 16);
        // Every control of a panel lies inside the window.
        for (const char *panel : { "Picture7", "Picture8", "Picture9", "Picture5" }) {
            for (QWidget *w : win.get(panel)->findChildren<QWidget *>()) {
                // A heading label is wider than its text: what counts is the text.
                const int right = qobject_cast<QLabel *>(w) ? w->x() + w->sizeHint().width()
                                                            : w->geometry().right();
                if (!w->isHidden()) {
                    EXPECT_LE(right + 2, 800) << w->objectName().toStdString();
                }
            }
        }
    }
}

TEST(StartUp, MeasuresTheScreenInPixelsRoundingHalvesToEven)
{
    EXPECT_EQ(Window(999.5).state.ScreenWidth, 1000);
    EXPECT_EQ(Window(1000.5).state.ScreenWidth, 1000);
    EXPECT_EQ(Window(1001.5).state.ScreenWidth, 1002);
    EXPECT_EQ(Window(2049, 2).state.ScreenWidth, 1024); // 1024.5
    EXPECT_EQ(Window(1998, 2).state.ScreenWidth, 999);
}

TEST(StartUp, SeedsTheRandomSourceOnceFromMinutesAndSeconds)
{
    // The clock moves on a second per reading: 10:42:07 then 10:42:08.
    FakeClock clock;
    clock.set(10, 42, 7);
    FakeScreen screen;
    FakeMessages messages;
    FakeBeeper beeper;
    RecordingRandom random;
    DrillState state;
    Form1 form(state, { clock, screen, messages, beeper, random });
    ASSERT_EQ(random.seeds.size(), 1u);
    EXPECT_EQ(random.seeds[0], 4208u);

    // Two starts at the same time of day draw the same problems.
    Window a, b;
    a.choose(0, 14);
    b.choose(0, 14);
    a.clickSurface(100, 100);
    b.clickSurface(100, 100);
    EXPECT_EQ(a.state.ProblemText, b.state.ProblemText);
}

TEST(DrawingSurface, KeepsWhatIsDrawnAndPrintsWhereTold)
{
    DrawingSurface surface(QColor(255, 255, 192));
    surface.resize(400, 300);
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(24);
    surface.setPrintFont(font);
    surface.setForeColor(kWhite);
    surface.setFillColor(kWhite);
    surface.setSolidFill(true);
    surface.roundRect(20, 70, 370, 260, 30, 30);
    const QImage image = surface.image();
    const QRgb white = qRgb(255, 255, 255), back = qRgb(255, 255, 192);
    EXPECT_EQ(image.pixel(20, 165), white); // left edge
    EXPECT_EQ(image.pixel(19, 165), back);
    EXPECT_EQ(image.pixel(369, 165), white); // right edge lies just inside 370
    EXPECT_EQ(image.pixel(370, 165), back);
    EXPECT_EQ(image.pixel(195, 70), white);
    EXPECT_EQ(image.pixel(195, 259), white);
    EXPECT_EQ(image.pixel(195, 260), back);
    EXPECT_EQ(image.pixel(21, 71), back); // the corner is rounded
    EXPECT_EQ(image.pixel(200, 200), white); // solid fill

    surface.setForeColor(kBlack);
    surface.setCurrentX(40);
    surface.setCurrentY(100);
    surface.print(QStringLiteral("12 ＋ 3"));
    const int width = surface.textWidth(QStringLiteral("12 ＋ 3"));
    const QImage printed = surface.image();
    QRect ink;
    for (int y = 71; y < 259; ++y)
        for (int x = 21; x < 369; ++x)
            if (qGray(printed.pixel(x, y)) < 160)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 40);
    EXPECT_LE(ink.right(), 40 + width);
    EXPECT_GT(ink.right(), 40 + width * 3 / 4);
    EXPECT_GE(ink.top(), 100);
    EXPECT_LE(ink.bottom(), 100 + surface.textHeight());
    EXPECT_EQ(surface.currentX(), 0);
    EXPECT_EQ(surface.currentY(), 100 + surface.textHeight());

    // What is drawn stays until drawn over.
    surface.roundRect(20, 70, 370, 260, 30, 30);
    EXPECT_EQ(surface.image().pixel(ink.center()), white);
}

TEST(Beep, RingsTheBellOnlyWhereThereIsNoSoundOutput)
{
    int bells = 0;
    SystemBeeper beeper(QAudioDevice(), [&bells] { ++bells; });
    EXPECT_FALSE(beeper.playsSound());
    beeper.beep();
    beeper.beep();
    EXPECT_EQ(bells, 2);
}

} // namespace
} // namespace piko::test
