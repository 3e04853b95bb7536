// The drill played through the real widgets: choosing, rows, entry, checking, finishing, exit.
#include "AppTestSupport.h"
#include "generators/Generators.h"

namespace piko::test {
namespace {

const QString kNoLevel = QStringLiteral("レベルをきめてから、けっていボタンをおしてください。");
const QString kNoAnswer = QStringLiteral("こたえをタイプしてください。");

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

TEST(Choosing, DecideRefusesUntilALevelIsChosen)
{
    Window win;
    win.click("Command1(0)");
    EXPECT_EQ(win.state.Operation, 1);
    EXPECT_FALSE(win.get("Picture7")->isHidden());
    EXPECT_EQ(win.get("Picture7")->pos(), QPoint(2, 50));
    win.click("Command10");
    ASSERT_EQ(win.messages.shown.size(), 1u);
    EXPECT_EQ(win.messages.shown[0], kNoLevel);
    EXPECT_TRUE(win.get("Picture1")->isHidden());
    EXPECT_FALSE(win.get("Picture7")->isHidden());

    win.click("Option2(2)");
    EXPECT_EQ(win.state.Level, 3);
    win.click("Command11"); // cancel
    EXPECT_EQ(win.state.Level, 0);
    EXPECT_TRUE(win.get("Picture7")->isHidden());
    EXPECT_FALSE(win.get<QRadioButton>("Option2(2)")->isChecked());
    win.click("Command1(0)");
    win.click("Command10");
    EXPECT_EQ(win.messages.shown.size(), 2u);

    // Choosing an operation clears the level too.
    win.click("Option2(4)");
    win.click("Command1(1)");
    EXPECT_EQ(win.state.Level, 0);
    EXPECT_TRUE(win.get("Picture7")->isHidden());
    win.click("Command12");
    EXPECT_EQ(win.messages.shown.size(), 3u);
}

TEST(Choosing, DivisionLevelsWithARemainderAskForIt)
{
    Window win;
    win.click("Command1(3)");
    win.click("Option1(3)");
    EXPECT_EQ(win.state.RemainderMode, 1);
    win.click("Option1(4)");
    EXPECT_EQ(win.state.RemainderMode, 0);
    for (int i : { 6, 8, 10, 12, 13, 16, 20, 23 }) {
        win.click(QStringLiteral("Option1(%1)").arg(i));
        EXPECT_EQ(win.state.RemainderMode, 1) << i;
    }
    win.click("Command1(0)");
    win.click("Option2(3)");
    EXPECT_EQ(win.state.RemainderMode, 0);
    EXPECT_EQ(win.state.Level, 4);
}

TEST(Choosing, DecideShowsTheFramesAndInvitations)
{
    Window win(999);
    win.click("Command1(2)");
    EXPECT_EQ(win.get("Picture9")->pos(), QPoint(2, 35));
    win.click("Option4(9)");
    win.click("Command14");
    EXPECT_TRUE(win.get("Picture9")->isHidden());
    EXPECT_FALSE(win.get("Picture1")->isHidden());
    EXPECT_EQ(win.get("Picture1")->pos(), QPoint(4, 50)); // multiplication: Left 4
    EXPECT_EQ(win.pixel(395, 100), qRgb(255, 255, 255)); // two white frames
    EXPECT_EQ(win.pixel(395, 300), qRgb(255, 255, 255));
    EXPECT_EQ(win.pixel(395, 265), qRgb(255, 255, 192)); // the gap
    EXPECT_EQ(win.pixel(10, 100), qRgb(255, 255, 192));

    win.click("Command1(0)");
    win.click("Option2(0)");
    win.click("Command10");
    EXPECT_EQ(win.get("Picture1")->pos(), QPoint(8, 50));
}

TEST(Rows, OpenOnlyInsideTheirFrames)
{
    Window win(1024);
    win.choose(0, 2);
    win.clickSurface(20, 100);
    EXPECT_EQ(win.beeper.beeps, 1);
    EXPECT_EQ(win.state.ProblemHistory.RowStarted(1), 0);
    win.clickSurface(100, 265);
    EXPECT_EQ(win.beeper.beeps, 2);
    win.clickSurface(770, 100);
    EXPECT_EQ(win.beeper.beeps, 3);
    win.clickSurface(21, 100);
    EXPECT_EQ(win.beeper.beeps, 3);
    EXPECT_EQ(win.state.CurrentRow, 1);
    EXPECT_EQ(count(win, 1), 1);
    EXPECT_FALSE(win.get("Text1(0)")->isHidden());
    EXPECT_FALSE(win.get("Command5(0)")->isHidden());
    EXPECT_FALSE(win.get("Picture6(0)")->isHidden());
    EXPECT_TRUE(win.get("Text2(0)")->isHidden());
    EXPECT_TRUE(win.get("Command9(0)")->isHidden());
    win.clickSurface(400, 600);
    EXPECT_EQ(win.state.CurrentRow, 3);
    EXPECT_EQ(count(win, 3), 1);

    // A second click into an open row only makes it current.
    const std::string problem = win.state.ProblemText;
    win.clickSurface(400, 120);
    EXPECT_EQ(win.state.CurrentRow, 1);
    EXPECT_EQ(count(win, 1), 1);
    EXPECT_EQ(win.state.ProblemText, problem);
}

TEST(Rows, TheThirdRowNeedsAScreenWiderThanAThousandPixels)
{
    Window win(1000);
    win.choose(0, 2);
    EXPECT_EQ(win.pixel(395, 500), qRgb(255, 255, 192)); // no third frame
    win.clickSurface(400, 600);
    EXPECT_EQ(win.beeper.beeps, 1);
    EXPECT_EQ(win.state.ProblemHistory.RowStarted(3), 0);
}

TEST(Rows, PlaceTheAnswerBoxJustAfterTheProblem)
{
    Window win;
    for (auto [operation, level] : { std::pair { 0, 1 }, { 0, 16 }, { 3, 13 } }) {
        win.choose(operation, level);
        win.messages.answers = { true };
        win.click("Command8");
        win.choose(operation, level);
        win.clickSurface(100, 320);
        const int w = win.form->surface().textWidth(QString::fromStdString(win.state.ProblemText));
        EXPECT_EQ(win.get("Text1(1)")->pos(), QPoint(w + 90, 357));
        EXPECT_EQ(
            win.get<QLineEdit>("Text1(1)")->palette().color(QPalette::Base), QColor(255, 200, 200));
        if (operation == 3) {
            EXPECT_EQ(win.get("Text2(1)")->pos(), QPoint(w + 311, 357));
            EXPECT_EQ(win.get("Command9(1)")->pos(), QPoint(w + 220, 360));
            EXPECT_FALSE(win.get("Text2(1)")->isHidden());
            EXPECT_EQ(win.get<QLineEdit>("Text2(1)")->palette().color(QPalette::Base),
                QColor(200, 200, 200));
        }
    }
}

TEST(Entry, KeypadsWriteIntoTheirOwnRowOnly)
{
    Window win;
    win.choose(3, 4); // with remainder
    win.clickSurface(100, 100);
    win.clickSurface(100, 300);
    win.clickSurface(100, 500);
    win.click("Command6(1)");
    win.click("Command6(2)");
    EXPECT_EQ(win.text("Text1(0)"), QStringLiteral("12"));
    win.click("Command6(12)");
    win.click("Command6(19)");
    EXPECT_EQ(win.text("Text1(1)"), QStringLiteral("70"));
    win.click("Command6(29)");
    EXPECT_EQ(win.text("Text1(2)"), QStringLiteral("0"));
    EXPECT_EQ(win.text("Text1(0)"), QStringLiteral("12"));

    // あまり sends digits to the remainder box; けす empties only the active box.
    win.click("Command9(0)");
    EXPECT_EQ(win.state.InputTarget[1], 1);
    EXPECT_EQ(
        win.get<QLineEdit>("Text2(0)")->palette().color(QPalette::Base), QColor(255, 200, 200));
    EXPECT_EQ(
        win.get<QLineEdit>("Text1(0)")->palette().color(QPalette::Base), QColor(200, 200, 200));
    win.click("Command6(3)");
    win.click("Command6(4)");
    EXPECT_EQ(win.text("Text2(0)"), QStringLiteral("34"));
    win.click("Command7(0)");
    EXPECT_EQ(win.text("Text2(0)"), QString());
    EXPECT_EQ(win.text("Text1(0)"), QStringLiteral("12"));
    // A click into the answer box makes it active again.
    QTest::mouseClick(win.get("Text1(0)"), Qt::LeftButton);
    EXPECT_EQ(win.state.InputTarget[1], 0);
    win.click("Command7(0)");
    EXPECT_EQ(win.text("Text1(0)"), QString());
    QTest::mouseClick(win.get("Text2(1)"), Qt::LeftButton);
    EXPECT_EQ(win.state.InputTarget[2], 1);
    EXPECT_EQ(win.state.InputTarget[1], 0);
}

TEST(Checking, AnEmptyAnswerIsNotAnAttempt)
{
    Window win;
    win.choose(3, 4);
    win.clickSurface(100, 100);
    win.click("Command9(0)");
    win.click("Command6(1)");
    win.click("Command5(0)");
    ASSERT_EQ(win.messages.shown.size(), 1u);
    EXPECT_EQ(win.messages.shown[0], kNoAnswer);
    EXPECT_EQ(win.state.ProblemHistory.Attempts(1, 1), 0);
    EXPECT_EQ(win.state.InputTarget[1], 1);
    EXPECT_EQ(win.beeper.beeps, 0);
}

TEST(Checking, MarksRightWrongAndThreeTries)
{
    Window win;
    win.choose(0, 14);
    win.clickSurface(100, 100);
    const auto &h = win.state.ProblemHistory;
    // Right at once: ○.
    win.tapNumber(1, answer(win, 1));
    win.click("Command5(0)");
    EXPECT_EQ(win.beeper.beeps, 1);
    EXPECT_EQ(h.Outcome(1, 1), 1);
    EXPECT_EQ(h.AttemptResult(1, 1, 1), 1);
    EXPECT_EQ(count(win, 1), 2);
    EXPECT_TRUE(showsStatusLine(win, 1, "レベル14 ( 2)  せいせき：○"));
    // Wrong, then right: △.
    win.tapNumber(1, answer(win, 1) + 1);
    win.click("Command5(0)");
    EXPECT_EQ(count(win, 1), 2);
    EXPECT_EQ(win.text("Text1(0)"), QString());
    EXPECT_EQ(h.AttemptResult(1, 2, 1), 3);
    win.get<QLineEdit>("Text1(0)")->setText(QStringLiteral("00%1").arg(answer(win, 1)));
    win.click("Command5(0)");
    EXPECT_EQ(h.Outcome(1, 2), 2);
    EXPECT_EQ(h.Attempts(1, 2), 2);
    // Wrong three times: × and the next problem.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(count(win, 1), 3);
        win.tapNumber(1, 1);
        win.click("Command5(0)");
    }
    EXPECT_EQ(h.Outcome(1, 3), 3);
    EXPECT_EQ(h.Attempts(1, 3), 3);
    EXPECT_EQ(count(win, 1), 4);
    EXPECT_TRUE(showsStatusLine(win, 1, "レベル14 ( 4)  せいせき：○△×"));
}

TEST(Checking, ComparesRemaindersAndReadsAnEmptyRemainderBoxAsZero)
{
    Window win;
    win.choose(3, 4);
    win.clickSurface(100, 300);
    auto &h = win.state.ProblemHistory;
    const int r = h.Remainder(2, 1);
    ASSERT_GE(r, 1);
    win.tapNumber(2, answer(win, 2));
    win.click("Command5(1)"); // remainder left empty: wrong
    EXPECT_EQ(h.AttemptResult(2, 1, 1), 3);
    win.tapNumber(2, answer(win, 2));
    win.click("Command9(1)");
    win.tapNumber(2, r);
    win.click("Command5(1)");
    EXPECT_EQ(h.Outcome(2, 1), 2);

    // A problem whose remainder is 0 is right with the box left empty.
    h.setField(2, 2, Field::Remainder, 0);
    win.tapNumber(2, answer(win, 2));
    win.click("Command5(1)");
    EXPECT_EQ(h.Outcome(2, 2), 1);
}

TEST(Checking, ReadsFullWidthDigitsAndTakesEnterAsCheck)
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

TEST(Rows, SwitchingOperationKeepsTheRowsNumbering)
{
    Window win;
    win.choose(0, 2);
    win.clickSurface(100, 100);
    win.tapNumber(1, answer(win, 1));
    win.click("Command5(0)");
    EXPECT_EQ(count(win, 1), 2);
    win.choose(2, 10);
    EXPECT_EQ(win.state.ProblemHistory.RowStarted(1), 1);
    EXPECT_FALSE(win.get("Text1(0)")->isHidden());
    // The open row still shows its problem and status line after the new decision.
    EXPECT_TRUE(showsStatusLine(win, 1, "レベル 2 ( 2)  せいせき：○"));
    win.tapNumber(1, answer(win, 1));
    win.click("Command5(0)");
    EXPECT_EQ(count(win, 1), 3);
    EXPECT_NE(win.state.ProblemText.find("×"), std::string::npos);
    EXPECT_TRUE(showsStatusLine(win, 1, "レベル10 ( 3)  せいせき：○○"));
}

TEST(Rows, AnOpenRowGetsTheRemainderBoxWhenItsLevelAsksForOne)
{
    Window win;
    win.choose(0, 2);
    win.clickSurface(100, 100);
    EXPECT_TRUE(win.get("Text2(0)")->isHidden());
    win.choose(3, 4); // division with remainder, on the open row
    win.tapNumber(1, answer(win, 1));
    win.click("Command5(0)");
    ASSERT_GE(win.state.ProblemHistory.Remainder(1, 2), 1);
    EXPECT_FALSE(win.get("Text2(0)")->isHidden());
    EXPECT_FALSE(win.get("Command9(0)")->isHidden());
    win.tapNumber(1, answer(win, 1));
    win.click("Command9(0)");
    win.tapNumber(1, win.state.ProblemHistory.Remainder(1, 2));
    win.click("Command5(0)");
    EXPECT_EQ(win.state.ProblemHistory.Outcome(1, 2), 1);

    // And back: a level without remainder hides the box, and the keypad writes into the
    // answer box again.
    win.click("Command9(0)");
    win.choose(1, 8); // problem 3 is still a division; the one after it a subtraction
    QTest::mouseClick(win.get("Text1(0)"), Qt::LeftButton);
    win.tapNumber(1, answer(win, 1));
    win.click("Command9(0)");
    win.tapNumber(1, win.state.ProblemHistory.Remainder(1, 3));
    win.click("Command5(0)");
    EXPECT_TRUE(win.get("Text2(0)")->isHidden());
    EXPECT_EQ(win.state.InputTarget[1], 0);
    win.tapNumber(1, 3);
    EXPECT_EQ(win.text("Text1(0)"), QStringLiteral("3"));
}

TEST(Finishing, NoKeepsEverythingYesClosesEveryRow)
{
    Window win(1024);
    win.choose(3, 4);
    win.clickSurface(100, 100);
    win.clickSurface(100, 300);
    win.tapNumber(1, 5);
    win.messages.answers = { false };
    win.click("Command8");
    EXPECT_EQ(win.messages.shown.back(),
        QStringLiteral("けいさんれんしゅうは、みなさん　おわりましたか？"));
    EXPECT_FALSE(win.get("Picture1")->isHidden());
    EXPECT_EQ(count(win, 1), 1);
    EXPECT_EQ(win.text("Text1(0)"), QStringLiteral("5"));

    win.messages.answers = { true };
    win.click("Command8");
    EXPECT_TRUE(win.get("Picture1")->isHidden());
    EXPECT_FALSE(win.get("Picture5")->isHidden());
    for (int r = 0; r < 3; ++r)
        for (const char *name : { "Text1", "Text2", "Command9", "Command5", "Picture6" })
            EXPECT_TRUE(
                win.get(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(r))->isHidden());
    for (int row = 1; row <= 3; ++row)
        for (int k = 0; k <= 1000; ++k)
            ASSERT_EQ(win.state.ProblemHistory.slot(row, k), 0);
    EXPECT_EQ(win.state.Level, 4);
    EXPECT_EQ(win.state.InputTarget[1], 0);

    // Decide at once with the same level: problem 1 and an empty status line.
    win.click("Command3");
    win.clickSurface(100, 100);
    EXPECT_EQ(count(win, 1), 1);
    EXPECT_TRUE(showsStatusLine(win, 1, "レベル 4 ( 1)  せいせき："));
}

TEST(Exit, AsksFirst)
{
    Window win;
    win.messages.answers = { false };
    win.click("Command2");
    EXPECT_EQ(win.messages.shown.back(), QStringLiteral("「ぴこまる」を　終わります。"));
    EXPECT_TRUE(win.form->isVisible());
    win.messages.answers = { true };
    win.click("Command2");
    EXPECT_FALSE(win.form->isVisible());
}

} // namespace
} // namespace piko::test
