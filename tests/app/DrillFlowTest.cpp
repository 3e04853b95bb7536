// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The drill through the real widgets: clicks and keys reach the flow, and the window shows what
// the flow decides, down to the pixels of the drill surface.
#include "AppTestSupport.h"
#include "generators/Generators.h"

namespace piko::test {
namespace {

const QString kNoLevel = QStringLiteral("レベルをきめてから、けっていボタンをおしてください。");

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
QColor boxColour(const Window &win, const QString &box)
{
    return win.get<QLineEdit>(box)->palette().color(QPalette::Base);
}

TEST(Choosing, ButtonsShowPanelsOptionsAndTheSurface)
{
    Window win;
    win.click("Command1(0)");
    EXPECT_FALSE(win.get("Picture7")->isHidden());
    EXPECT_EQ(win.get("Picture7")->pos(), QPoint(2, 50));
    win.click("Command10");
    ASSERT_EQ(win.messages.shown.size(), 1u);
    EXPECT_EQ(win.messages.shown[0], kNoLevel);
    EXPECT_TRUE(win.get("Picture1")->isHidden());
    // A press at the far end of an option's line chooses it, beyond its short caption.
    auto *option = win.get<QRadioButton>("Option2(2)");
    QTest::mouseClick(
        option, Qt::LeftButton, {}, QPoint(option->width() - 3, option->height() / 2));
    EXPECT_EQ(win.state.Level, 3);
    EXPECT_TRUE(win.get<QRadioButton>("Option2(2)")->isChecked());
    win.click("Command11"); // cancel
    EXPECT_TRUE(win.get("Picture7")->isHidden());
    EXPECT_FALSE(win.get<QRadioButton>("Option2(2)")->isChecked());
    win.click("Option2(4)");
    win.click("Command1(1)");
    EXPECT_TRUE(win.get("Picture7")->isHidden());
    EXPECT_FALSE(win.get<QRadioButton>("Option2(4)")->isChecked());

    Window narrow(999);
    narrow.click("Command1(2)");
    EXPECT_EQ(narrow.get("Picture9")->pos(), QPoint(2, 35));
    narrow.click("Option4(9)");
    narrow.click("Command14");
    EXPECT_TRUE(narrow.get("Picture9")->isHidden());
    EXPECT_FALSE(narrow.get("Picture1")->isHidden());
    EXPECT_EQ(narrow.get("Picture1")->pos(), QPoint(4, 50)); // multiplication: Left 4
    EXPECT_EQ(narrow.pixel(395, 100), qRgb(255, 255, 255)); // two white frames
    EXPECT_EQ(narrow.pixel(395, 300), qRgb(255, 255, 255));
    EXPECT_EQ(narrow.pixel(395, 265), qRgb(255, 255, 192)); // the gap
    EXPECT_EQ(narrow.pixel(10, 100), qRgb(255, 255, 192));
    EXPECT_TRUE(
        showsText(narrow.form->surface(), 1, rows::kInvitation, "ここをクリックしてください。"));
    EXPECT_TRUE(
        showsText(narrow.form->surface(), 2, rows::kInvitation, "ここをクリックしてください。"));
    narrow.choose(0, 1);
    EXPECT_EQ(narrow.get("Picture1")->pos(), QPoint(8, 50));

    Window thousand(1000);
    thousand.choose(0, 2);
    EXPECT_EQ(thousand.pixel(395, 500), qRgb(255, 255, 192)); // no third frame
}

TEST(Rows, ClicksOpenRowsThatShowTheirProblemAndControls)
{
    Window win(1024);
    win.choose(0, 2);
    win.clickSurface(20, 100);
    EXPECT_EQ(win.beeper.beeps, 1);
    win.clickSurface(21, 100);
    EXPECT_EQ(win.beeper.beeps, 1);
    EXPECT_FALSE(win.get("Text1(0)")->isHidden());
    EXPECT_FALSE(win.get("Command5(0)")->isHidden());
    EXPECT_FALSE(win.get("Picture6(0)")->isHidden());
    EXPECT_TRUE(win.get("Text2(0)")->isHidden());
    EXPECT_TRUE(win.get("Command9(0)")->isHidden());
    EXPECT_TRUE(win.get("Text1(1)")->isHidden());

    // The answer box starts just after the problem as the surface's font prints it.
    for (auto [operation, level] : { std::pair { 0, 1 }, { 0, 16 }, { 3, 13 } }) {
        win.messages.answers = { true };
        win.click("Command8");
        win.choose(operation, level);
        win.clickSurface(100, 320);
        const DrawingSurface &surface = win.form->surface();
        EXPECT_TRUE(showsText(surface, 2, rows::kProblem, win.state.ProblemText));
        EXPECT_TRUE(showsStatusLine(win, 2, statusLine(win.state, 2, 1)));
        const int w = surface.textWidth(QString::fromStdString(win.state.ProblemText));
        EXPECT_EQ(win.get("Text1(1)")->pos(), QPoint(w + 90, 357));
        EXPECT_EQ(boxColour(win, "Text1(1)"), QColor(255, 200, 200));
        EXPECT_EQ(win.get("Text2(1)")->isHidden(), operation != 3);
        if (operation == 3) {
            EXPECT_EQ(win.get("Text2(1)")->pos(), QPoint(w + 311, 357));
            EXPECT_EQ(win.get("Command9(1)")->pos(), QPoint(w + 220, 360));
            EXPECT_EQ(boxColour(win, "Text2(1)"), QColor(200, 200, 200));
        }
    }
}

TEST(Entry, KeypadsAndBoxesReachTheirOwnRow)
{
    Window win;
    win.choose(3, 4); // with remainder
    win.clickSurface(100, 100);
    win.clickSurface(100, 300);
    win.click("Command6(1)");
    win.click("Command6(2)");
    win.click("Command6(12)");
    EXPECT_EQ(win.text("Text1(0)"), QStringLiteral("12"));
    EXPECT_EQ(win.text("Text1(1)"), QStringLiteral("7"));
    win.click("Command9(0)");
    EXPECT_EQ(win.state.InputTarget[1], 1);
    EXPECT_EQ(boxColour(win, "Text2(0)"), QColor(255, 200, 200));
    EXPECT_EQ(boxColour(win, "Text1(0)"), QColor(200, 200, 200));
    win.click("Command6(3)");
    EXPECT_EQ(win.text("Text2(0)"), QStringLiteral("3"));
    win.click("Command7(0)");
    EXPECT_EQ(win.text("Text2(0)"), QString());
    EXPECT_EQ(win.text("Text1(0)"), QStringLiteral("12"));
    // A click into a box makes it the active one; typing into it reaches the flow.
    QTest::mouseClick(win.get("Text1(0)"), Qt::LeftButton);
    EXPECT_EQ(win.state.InputTarget[1], 0);
    EXPECT_EQ(boxColour(win, "Text1(0)"), QColor(255, 200, 200));
    QTest::mouseClick(win.get("Text2(1)"), Qt::LeftButton);
    EXPECT_EQ(win.state.InputTarget[2], 1);
    QTest::keyClicks(win.get("Text1(0)"), "5");
    EXPECT_EQ(win.form->flow().row(1).answer, "125");
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
