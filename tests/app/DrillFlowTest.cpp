// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The drill through the real widgets, down to the pixels of the drill surface: what the scenes
// cannot see (the drawing, full-width digits typed, input held during a mark).
#include "AppTestSupport.h"
#include "generators/Generators.h"

namespace piko::test {
namespace {

bool showsStatusLine(const Window &win, int row, const std::string &text)
{
    return piko::test::showsStatusLine(win.form->surface(), row, text);
}

int count(const Window &win, int row)
{
    return win.state.ProblemHistory.ProblemCount(row);
}
int answer(const Window &win, int row)
{
    return win.state.ProblemHistory.Answer(row, count(win, row));
}
TEST(Checking, StatusLinesShowTheMarks)
{
    Window win;
    win.choose(0, 14);
    win.clickSurface(100, 100);
    win.tapNumber(1, answer(win, 1));
    win.click("Command5(0)");
    EXPECT_EQ(win.beeper.beeps, 1);
    EXPECT_TRUE(showsStatusLine(win, 1, "レベル14 ( 2)  せいせき：○"));
    win.tapNumber(1, answer(win, 1) + 1);
    win.click("Command5(0)");
    EXPECT_EQ(win.text("Text1(0)"), QString());
    win.get<QLineEdit>("Text1(0)")->setText(QStringLiteral("00%1").arg(answer(win, 1)));
    win.click("Command5(0)");
    for (int i = 0; i < 3; ++i) {
        win.tapNumber(1, 1);
        win.click("Command5(0)");
    }
    EXPECT_EQ(count(win, 1), 4);
    EXPECT_TRUE(showsStatusLine(win, 1, "レベル14 ( 4)  せいせき：○△×"));
    EXPECT_TRUE(showsText(win.form->surface(), 1, rows::kProblem, win.state.ProblemText));

    // A new decision keeps the open row's problem and status line on the surface.
    win.choose(2, 10);
    EXPECT_FALSE(win.get("Text1(0)")->isHidden());
    EXPECT_TRUE(showsStatusLine(win, 1, "レベル14 ( 4)  せいせき：○△×"));
    win.tapNumber(1, answer(win, 1));
    win.click("Command5(0)");
    EXPECT_TRUE(showsStatusLine(win, 1, "レベル10 ( 5)  せいせき：○△×○"));
}

TEST(Checking, EnterInABoxChecksAndFullWidthDigitsCount)
{
    Window win;
    win.choose(2, 10);
    win.clickSurface(100, 100);
    QString fullWidth;
    for (QChar c : QString::number(answer(win, 1)))
        fullWidth += QChar(0xFF10 + c.digitValue());
    auto *box = win.get<QLineEdit>("Text1(0)");
    box->setText(fullWidth);
    QTest::keyClick(box, Qt::Key_Return);
    win.settle();
    EXPECT_EQ(win.state.ProblemHistory.Outcome(1, 1), 1);
    EXPECT_EQ(count(win, 1), 2);
}

TEST(Checking, TheMarkBlinksRedAndLeavesNoTrace)
{
    Window win;
    win.choose(0, 3);
    win.clickSurface(100, 100);
    const QImage before = win.form->surface().image();
    bool sawRed = false;
    win.clock.onReading = [&](int) {
        const QImage now = win.form->surface().image();
        for (int y = 158; y < 190 && !sawRed; ++y)
            for (int x = 50; x < 80 && !sawRed; ++x)
                sawRed = now.pixel(x, y) == qRgb(255, 0, 0);
    };
    win.tapNumber(1, 1); // always wrong: sums are at least 10
    win.click("Command5(0)");
    win.clock.onReading = nullptr;
    EXPECT_TRUE(sawRed);
    EXPECT_EQ(win.form->surface().image(), before);
}

TEST(Checking, InputDuringTheBlinkIsHandledAfterwardsInOrder)
{
    Window win;
    win.choose(0, 3);
    win.clickSurface(100, 100);
    std::vector<QString> seenDuringBlink;
    win.clock.onReading = [&](int) {
        if (!seenDuringBlink.empty())
            return;
        win.press("Command6(4)");
        win.press("Command6(2)");
        QTest::keyClicks(win.get("Text1(0)"), "7");
        seenDuringBlink.push_back(win.text("Text1(0)"));
    };
    win.tapNumber(1, 1);
    win.click("Command5(0)");
    win.clock.onReading = nullptr;
    ASSERT_EQ(seenDuringBlink.size(), 1u);
    EXPECT_EQ(seenDuringBlink[0], QStringLiteral("1")); // nothing handled during the blink
    EXPECT_EQ(win.text("Text1(0)"), QStringLiteral("427")); // the box was emptied, then 4, 2, 7
}

} // namespace
} // namespace piko::test
