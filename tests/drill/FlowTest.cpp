// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The drill's rules played without a window: choosing, rows, entry, checking, finishing, exit.
#include "DrillTestSupport.h"
#include "drill/Texts.h"
#include "generators/Generators.h"

namespace piko::test {
namespace {

using Frame = RecordingCanvas::Frame;

TEST(Choosing, DecideRefusesUntilALevelIsChosen)
{
    Drill d;
    d.flow.chooseOperation(1);
    EXPECT_EQ(d.state.Operation, 1);
    EXPECT_EQ(d.flow.view().panel, 1);
    EXPECT_EQ(d.flow.view().panelTop, 50);
    d.flow.decide(1);
    ASSERT_EQ(d.messages.shown, std::vector<std::string> { texts::kNoLevel });
    EXPECT_FALSE(d.flow.view().surfaceShown);
    EXPECT_EQ(d.flow.view().panel, 1);
    EXPECT_TRUE(d.canvas.frames.empty());

    d.flow.chooseLevel(1, 3);
    EXPECT_EQ(d.state.Level, 3);
    EXPECT_EQ(d.flow.view().chosenLevel, 3);
    d.flow.cancel(1);
    EXPECT_EQ(d.state.Level, 0);
    EXPECT_EQ(d.flow.view().panel, 0);
    EXPECT_EQ(d.flow.view().chosenLevel, 0); // nothing shows as chosen
    d.flow.chooseOperation(1);
    d.flow.decide(1);
    EXPECT_EQ(d.messages.shown.size(), 2u);

    // Choosing an operation clears the level too.
    d.flow.chooseLevel(1, 5);
    d.flow.chooseOperation(2);
    EXPECT_EQ(d.state.Level, 0);
    EXPECT_EQ(d.flow.view().panel, 2);
    EXPECT_EQ(d.flow.view().chosenOperation, 0);
    d.flow.decide(2);
    EXPECT_EQ(d.messages.shown.size(), 3u);
}

TEST(Choosing, DivisionLevelsWithARemainderAskForIt)
{
    Drill d;
    d.flow.chooseOperation(4);
    for (int level = 1; level <= 24; ++level) {
        d.flow.chooseLevel(4, level);
        const bool remainder = level == 4 || level == 7 || level == 9 || level == 11 || level == 13
            || level == 14 || level >= 17;
        EXPECT_EQ(d.state.RemainderMode, remainder ? 1 : 0) << level;
    }
    d.flow.chooseLevel(4, 4);
    d.flow.chooseOperation(1);
    d.flow.chooseLevel(1, 4);
    EXPECT_EQ(d.state.RemainderMode, 0);
    EXPECT_EQ(d.state.Level, 4);
}

// Only the panel shown answers, and only with a level it offers: an option pressed while a mark
// showed, whose panel another operation button has since replaced, must not give a row a level
// its operation does not have.
TEST(Choosing, OnlyTheShownPanelAndItsOfferedLevelsCount)
{
    Drill d;
    d.choose(4, 5);
    d.open(1);
    d.tap(1, d.answer(1) + 1);
    d.flow.check(1);
    d.flow.chooseOperation(1);
    d.flow.chooseLevel(4, 17); // division's option, pressed before addition's panel came
    d.settle();
    EXPECT_EQ(d.state.Operation, 1);
    EXPECT_EQ(d.state.Level, 0);
    for (int i = 0; i < 2; ++i) {
        d.tap(1, d.answer(1) + 1);
        d.check(1);
    }
    EXPECT_EQ(d.flow.row(1).status, "レベル 5 ( 2)  せいせき：×");

    for (auto [operation, level] : { std::pair { 4, 25 }, { 4, 26 }, { 4, 0 }, { 4, -1 }, { 1, 17 },
             { 3, 28 }, { 0, 1 }, { 5, 1 } }) {
        d.flow.chooseOperation(operation);
        d.flow.chooseLevel(operation, level);
        EXPECT_EQ(d.state.Level, 0) << operation << " L" << level;
    }
    d.flow.chooseOperation(2);
    d.flow.decide(2);
    EXPECT_EQ(d.messages.shown, std::vector<std::string> { texts::kNoLevel });
    d.flow.chooseLevel(2, 13);
    d.flow.cancel(4); // not the panel shown: nothing
    d.flow.decide(1);
    EXPECT_EQ(d.state.Level, 13);
    EXPECT_EQ(d.flow.view().panel, 2);
    d.flow.decide(2);
    EXPECT_EQ(d.flow.view().panel, 0);
    d.flow.chooseLevel(2, 1); // no panel shown
    EXPECT_EQ(d.state.Level, 13);
}

TEST(Choosing, DecideDrawsTheFramesAndTheInvitations)
{
    Drill narrow(999);
    narrow.flow.chooseOperation(3);
    EXPECT_EQ(narrow.flow.view().panelTop, 35);
    narrow.flow.chooseLevel(3, 10);
    narrow.flow.decide(3);
    EXPECT_EQ(narrow.flow.view().panel, 0);
    EXPECT_TRUE(narrow.flow.view().surfaceShown);
    EXPECT_EQ(narrow.flow.view().surfaceLeft, 4); // multiplication: Left 4
    EXPECT_EQ(
        narrow.canvas.frames, (std::vector<Frame> { { 20, 70, 770, 260 }, { 20, 270, 770, 460 } }));
    // One invitation for each possible row, the third below a two-row surface.
    for (int y : { 140, 340, 540 })
        EXPECT_EQ(narrow.canvas.textsAt(40, y), std::vector<std::string> { texts::kInvitation });
    EXPECT_EQ(narrow.canvas.printed.size(), 3u);

    Drill wide(1024);
    wide.choose(1, 1);
    EXPECT_EQ(wide.flow.view().surfaceLeft, 8);
    EXPECT_EQ(wide.canvas.frames.size(), 3u);
    EXPECT_TRUE(wide.canvas.frames[2] == (Frame { 20, 470, 770, 660 }));
}

// Every bound of every row is excluded, and the third row exists only beyond 1000 pixels.
TEST(Rows, OpenOnlyInsideTheirFrames)
{
    const struct {
        int x, y;
        double screen;
        int row; // 0: a beep
    } probes[] = { { 20, 100, 1024, 0 }, { 21, 100, 1024, 1 }, { 769, 100, 1024, 1 },
        { 770, 100, 1024, 0 }, { 400, 70, 1024, 0 }, { 400, 71, 1024, 1 }, { 400, 259, 1024, 1 },
        { 400, 260, 1024, 0 }, { 400, 265, 1024, 0 }, { 400, 270, 1024, 0 }, { 400, 271, 1024, 2 },
        { 400, 459, 1024, 2 }, { 400, 460, 1024, 0 }, { 400, 470, 1024, 0 }, { 400, 471, 1024, 3 },
        { 400, 659, 1024, 3 }, { 400, 660, 1024, 0 }, { 400, 471, 1000, 0 }, { 400, 600, 1000, 0 },
        { 400, 459, 1000, 2 } };
    for (const auto &p : probes) {
        Drill d(p.screen);
        d.choose(1, 2);
        d.flow.pressSurface(p.x, p.y);
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y << " on " << p.screen);
        EXPECT_EQ(d.beeper.beeps, p.row == 0 ? 1 : 0);
        EXPECT_EQ(d.state.CurrentRow, p.row);
        for (int row = 1; row <= 3; ++row) {
            EXPECT_EQ(d.state.ProblemHistory.RowStarted(row), row == p.row ? 1 : 0);
            EXPECT_EQ(d.flow.row(row).open, row == p.row);
        }
    }
    Drill d;
    d.choose(1, 2);
    d.open(1);
    EXPECT_EQ(d.count(1), 1);
    EXPECT_FALSE(d.flow.row(1).remainderShown);
    d.open(3);
    EXPECT_EQ(d.state.CurrentRow, 3);
    // A second click into an open row only makes it current.
    const std::string problem = d.state.ProblemText;
    d.open(1);
    EXPECT_EQ(d.state.CurrentRow, 1);
    EXPECT_EQ(d.count(1), 1);
    EXPECT_EQ(d.state.ProblemText, problem);
}

// The status line, the problem and the answer controls stand where the pupil expects them.
TEST(Rows, PrintTheProblemAndPlaceTheAnswerControlsAfterIt)
{
    for (auto [operation, level] : { std::pair { 1, 1 }, { 1, 16 }, { 4, 13 } }) {
        Drill d;
        d.choose(operation, level);
        d.open(2);
        const RowView &row = d.flow.row(2);
        EXPECT_EQ(d.canvas.lastAt(20, 280), statusLine(d.state, 2, 1));
        EXPECT_EQ(d.canvas.lastAt(80, 360), d.state.ProblemText);
        EXPECT_EQ(row.problem, d.state.ProblemText);
        const int w = d.canvas.textWidth(d.state.ProblemText);
        EXPECT_EQ(row.answerBox, (Point { w + 90, 357 }));
        EXPECT_EQ(d.flow.activeBox(2), Box::Answer);
        EXPECT_EQ(row.remainderShown, operation == 4);
        if (operation == 4) {
            EXPECT_EQ(row.remainderBox, (Point { w + 311, 357 }));
            EXPECT_EQ(row.remainderButton, (Point { w + 220, 360 }));
        }
    }
}

TEST(Entry, KeypadsWriteIntoTheirOwnRowOnly)
{
    Drill d;
    d.choose(4, 4); // with remainder
    for (int row = 1; row <= 3; ++row)
        d.open(row);
    d.flow.pressKey(1);
    d.flow.pressKey(2);
    EXPECT_EQ(d.flow.row(1).answer, "12");
    d.flow.pressKey(12); // row 2's 7
    d.flow.pressKey(19); // row 2's 0
    EXPECT_EQ(d.flow.row(2).answer, "70");
    d.flow.pressKey(29);
    EXPECT_EQ(d.flow.row(3).answer, "0");
    EXPECT_EQ(d.flow.row(1).answer, "12");
    d.flow.pressKey(30);
    d.flow.pressKey(-1);

    // あまり sends digits to the remainder box; けす empties only the active box.
    d.flow.chooseBox(1, Box::Remainder);
    EXPECT_EQ(d.state.InputTarget[1], 1);
    EXPECT_EQ(d.flow.activeBox(1), Box::Remainder);
    d.tap(1, 34);
    EXPECT_EQ(d.flow.row(1).remainder, "34");
    d.flow.erase(1);
    EXPECT_EQ(d.flow.row(1).remainder, "");
    EXPECT_EQ(d.flow.row(1).answer, "12");
    d.flow.chooseBox(1, Box::Answer);
    EXPECT_EQ(d.state.InputTarget[1], 0);
    d.flow.erase(1);
    EXPECT_EQ(d.flow.row(1).answer, "");
    d.flow.chooseBox(2, Box::Remainder);
    EXPECT_EQ(d.state.InputTarget[2], 1);
    EXPECT_EQ(d.state.InputTarget[1], 0);
    EXPECT_EQ(d.state.InputTarget[0], 0);
}

TEST(Checking, AnEmptyAnswerIsNotAnAttempt)
{
    Drill d;
    d.choose(4, 4);
    d.open(1);
    d.flow.chooseBox(1, Box::Remainder);
    d.flow.pressKey(1);
    d.check(1);
    EXPECT_EQ(d.messages.shown, std::vector<std::string> { texts::kNoAnswer });
    EXPECT_EQ(d.state.ProblemHistory.Attempts(1, 1), 0);
    EXPECT_EQ(d.state.InputTarget[1], 1);
    EXPECT_EQ(d.beeper.beeps, 0);
    EXPECT_FALSE(d.flow.holding());
}

TEST(Checking, MarksRightWrongAndThreeTries)
{
    Drill d;
    d.choose(1, 14);
    d.open(1);
    const auto &h = d.state.ProblemHistory;
    // Right at once: ○.
    d.tap(1, d.answer(1));
    d.check(1);
    EXPECT_EQ(d.beeper.beeps, 1);
    EXPECT_EQ(h.outcomeOf(1, 1), ProblemOutcome::RightAtOnce);
    EXPECT_EQ(h.AttemptResult(1, 1, 1), 1);
    EXPECT_EQ(d.count(1), 2);
    EXPECT_EQ(d.canvas.lastAt(20, 80), "レベル14 ( 2)  せいせき：○");
    // Wrong, then right: △.
    d.tap(1, d.answer(1) + 1);
    d.check(1);
    EXPECT_EQ(d.count(1), 2);
    EXPECT_EQ(d.flow.row(1).answer, "");
    EXPECT_EQ(h.AttemptResult(1, 2, 1), 3);
    d.flow.type(1, Box::Answer, "00" + std::to_string(d.answer(1)));
    d.check(1);
    EXPECT_EQ(h.outcomeOf(1, 2), ProblemOutcome::RightLater);
    EXPECT_EQ(h.Attempts(1, 2), 2);
    // Wrong three times: × and the next problem.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d.count(1), 3);
        d.tap(1, 1);
        d.check(1);
    }
    EXPECT_EQ(h.outcomeOf(1, 3), ProblemOutcome::WrongThrice);
    EXPECT_EQ(h.Attempts(1, 3), 3);
    EXPECT_EQ(d.count(1), 4);
    EXPECT_EQ(d.canvas.lastAt(20, 80), "レベル14 ( 4)  せいせき：○△×");
    EXPECT_EQ(d.flow.row(1).status, "レベル14 ( 4)  せいせき：○△×");
}

TEST(Checking, ComparesRemaindersAndReadsAnEmptyRemainderBoxAsZero)
{
    Drill d;
    d.choose(4, 4);
    d.open(2);
    auto &h = d.state.ProblemHistory;
    ASSERT_GE(d.remainder(2), 1);
    d.tap(2, d.answer(2));
    d.check(2); // remainder left empty: wrong
    EXPECT_EQ(h.AttemptResult(2, 1, 1), 3);
    d.answerRight(2);
    EXPECT_EQ(h.outcomeOf(2, 1), ProblemOutcome::RightLater);

    // A problem whose remainder is 0 is right with the box left empty, and full-width digits
    // typed with an input method count like their ASCII forms.
    h.setField(2, 2, Field::Remainder, 0);
    std::string fullWidth;
    for (char c : std::to_string(d.answer(2)))
        fullWidth += std::string("\xEF\xBC") + char(0x90 + (c - '0'));
    d.flow.type(2, Box::Answer, fullWidth);
    d.check(2);
    EXPECT_EQ(h.outcomeOf(2, 2), ProblemOutcome::RightAtOnce);
}

// A box without a digit is an empty box, whatever was typed; a number with a minus sign, the
// typographic one too, is negative and never right.
TEST(Checking, ABoxWithoutADigitIsEmptyAndANegativeNumberIsWrong)
{
    Drill d;
    d.choose(4, 2); // answers 0
    d.open(1);
    for (const char *text : { "abc", "じゅう", "😀", "-", " ", "\u3000", "－" }) {
        d.flow.type(1, Box::Answer, text);
        d.check(1);
        EXPECT_EQ(d.messages.shown.size(), 1u) << text;
        d.messages.shown.clear();
    }
    EXPECT_EQ(d.state.ProblemHistory.Attempts(1, 1), 0);
    EXPECT_EQ(d.beeper.beeps, 0);
    d.flow.type(1, Box::Answer, "０");
    d.check(1);
    EXPECT_EQ(d.state.ProblemHistory.outcomeOf(1, 1), ProblemOutcome::RightAtOnce);

    d.choose(4, 4); // a remainder box without a digit reads as an empty one: 0
    d.answerRight(1);
    d.state.ProblemHistory.setField(1, 2, Field::Remainder, 0);
    d.tap(1, d.answer(1));
    d.flow.type(1, Box::Remainder, "あまり");
    d.check(1);
    EXPECT_EQ(d.state.ProblemHistory.outcomeOf(1, 2), ProblemOutcome::RightAtOnce);

    d.choose(1, 3);
    for (const char *minus : { "-", "\u2212", "－" }) {
        d.answerRight(1);
        d.flow.type(1, Box::Answer, minus + std::to_string(d.answer(1)));
        d.check(1);
        EXPECT_EQ(d.state.ProblemHistory.AttemptResult(1, d.count(1), 1), 3) << minus;
    }
    EXPECT_TRUE(d.messages.shown.empty());
}

// After あまり and a wrong answer both boxes are empty and the digits go to the answer again.
TEST(Checking, AWrongAnswerReturnsToAnEmptyAnswerBox)
{
    Drill d;
    d.choose(4, 4);
    d.open(1);
    d.tap(1, d.answer(1));
    d.flow.chooseBox(1, Box::Remainder);
    d.tap(1, d.remainder(1) + 1);
    d.check(1);
    EXPECT_EQ(d.state.ProblemHistory.AttemptResult(1, 1, 1), 3);
    EXPECT_EQ(d.flow.activeBox(1), Box::Answer);
    EXPECT_EQ(d.flow.row(1).answer, "");
    EXPECT_EQ(d.flow.row(1).remainder, "");
    d.tap(1, 5);
    EXPECT_EQ(d.flow.row(1).answer, "5");
    EXPECT_EQ(d.flow.row(1).remainder, "");
}

// The mark is printed red beside the problem, stays until the clock's second has changed
// twice, and only then is erased and the attempt's outcome recorded.
TEST(Checking, TheMarkStaysUntilTheSecondHasChangedTwice)
{
    Drill d;
    d.choose(1, 3);
    d.open(2);
    d.clock.advancing = false;
    d.tap(2, d.answer(2));
    d.flow.check(2);
    const RecordingCanvas::Printed mark = d.canvas.printed.back();
    EXPECT_EQ(mark.text, texts::kRight);
    EXPECT_TRUE(mark.x == 50 && mark.y == 358 && mark.colour == kRed);
    EXPECT_EQ(d.canvas.kept, (Area { 50, 356, 25, 34 })); // the mark's cell and the square
    const auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i)
            d.flow.tick();
    };
    ticks(5);
    EXPECT_TRUE(d.flow.holding());
    d.clock.seconds += 1; // the first change
    ticks(5);
    EXPECT_TRUE(d.flow.holding());
    EXPECT_EQ(d.state.ProblemHistory.Outcome(2, 1), 0);
    EXPECT_EQ(d.canvas.squares, 0);
    // Drawn again meanwhile (a resize, F11), the surface still shows the mark.
    d.canvas.printed.clear();
    d.flow.redraw();
    EXPECT_EQ(d.canvas.printed.back().text, texts::kRight);
    EXPECT_EQ(d.canvas.printed.back().colour, kRed);
    EXPECT_TRUE(d.flow.holding());
    d.clock.seconds += 1; // the second
    d.flow.tick();
    EXPECT_FALSE(d.flow.holding());
    EXPECT_EQ(d.canvas.squares, 1);
    EXPECT_EQ(d.canvas.restored, 1);
    EXPECT_EQ(d.state.ProblemHistory.outcomeOf(2, 1), ProblemOutcome::RightAtOnce);
    EXPECT_EQ(d.count(2), 2);
}

TEST(Checking, InputDuringTheMarkIsHandledAfterwardsInOrder)
{
    Drill d;
    d.choose(1, 3);
    d.open(1);
    d.clock.advancing = false;
    d.tap(1, 1); // always wrong: sums are at least 10
    d.flow.check(1);
    ASSERT_TRUE(d.flow.holding());
    d.flow.pressKey(4);
    d.flow.pressKey(2);
    d.flow.hold([&] { d.flow.type(1, Box::Answer, d.flow.row(1).answer + "7"); });
    d.flow.check(1); // a second check waits too, and then shows its own mark
    d.flow.pressKey(9);
    d.open(2);
    EXPECT_EQ(d.flow.row(1).answer, "1"); // nothing handled during the mark
    EXPECT_FALSE(d.flow.row(2).open);
    d.clock.advancing = true;
    for (int i = 0; i < 10 && d.state.ProblemHistory.AttemptResult(1, 1, 1) == 0; ++i)
        d.flow.tick();
    // The box was emptied, then 4, 2 and 7 came, then the held check started a mark again.
    EXPECT_EQ(d.flow.row(1).answer, "427");
    EXPECT_TRUE(d.flow.holding());
    EXPECT_EQ(d.state.ProblemHistory.Attempts(1, 1), 2);
    d.settle();
    EXPECT_EQ(d.flow.row(1).answer, "9");
    EXPECT_TRUE(d.flow.row(2).open);

    // Another row's check waits behind a ○ and is then made, whichever problems the rows are at.
    d.flow.erase(1);
    d.answerRight(1);
    d.tap(1, d.answer(1));
    d.tap(2, d.answer(2));
    d.flow.check(2);
    d.flow.check(1);
    d.settle();
    EXPECT_EQ(d.state.ProblemHistory.outcomeOf(2, 1), ProblemOutcome::RightAtOnce);
    EXPECT_EQ(d.state.ProblemHistory.outcomeOf(1, 2), ProblemOutcome::RightAtOnce);
}

// A second check pressed while the mark shows, a double click or a double Enter, belongs to the
// answer that mark judged: it neither judges the next problem nor checks the box a wrong answer
// left empty. Once the pupil has changed the row's boxes, it checks the new answer. A message
// that held input opens drops the rest of what waited.
TEST(Checking, HeldInputMeetsOnlyWhatThePupilSaw)
{
    Drill d;
    d.choose(4, 4);
    d.open(1);
    d.tap(1, d.answer(1));
    d.flow.chooseBox(1, Box::Remainder);
    d.tap(1, d.remainder(1));
    d.flow.check(1);
    EXPECT_EQ(d.flow.activeBox(1), Box::Remainder); // pink until the mark ends
    d.flow.check(1);
    d.settle();
    EXPECT_EQ(d.count(1), 2);
    EXPECT_EQ(d.flow.activeBox(1), Box::Answer);
    EXPECT_TRUE(d.messages.shown.empty());
    EXPECT_EQ(d.state.ProblemHistory.Attempts(1, 2), 0);

    d.tap(1, 1000);
    d.flow.check(1); // wrong: the problem stays, its box emptied
    d.flow.check(1);
    d.flow.hold([&] { d.flow.check(1); }); // Enter, held as a raw key
    d.settle();
    EXPECT_TRUE(d.messages.shown.empty());
    EXPECT_EQ(d.state.ProblemHistory.Attempts(1, 2), 1);
    d.tap(1, 1000);
    d.flow.check(1);
    d.flow.check(2); // row 2 is closed: nothing
    d.flow.erase(1);
    d.flow.check(1); // the box is empty: the message, and what follows is dropped
    d.tap(1, 7);
    d.flow.finish();
    d.settle();
    EXPECT_EQ(d.messages.shown, std::vector<std::string> { texts::kNoAnswer });
    EXPECT_EQ(d.flow.row(1).answer, "");
    EXPECT_TRUE(d.flow.view().surfaceShown);
}

TEST(Rows, SwitchingOperationKeepsTheRowsNumbering)
{
    Drill d;
    d.choose(1, 2);
    d.open(1);
    d.answerRight(1);
    EXPECT_EQ(d.count(1), 2);
    d.choose(3, 10);
    EXPECT_EQ(d.state.ProblemHistory.RowStarted(1), 1);
    EXPECT_TRUE(d.flow.row(1).open);
    // The open row shows its status line and problem again after the new decision, not the
    // invitation.
    EXPECT_EQ(d.canvas.printed.back().text, d.state.ProblemText);
    EXPECT_EQ(d.canvas.lastAt(20, 80), "レベル 2 ( 2)  せいせき：○");
    d.answerRight(1);
    EXPECT_EQ(d.count(1), 3);
    EXPECT_NE(d.state.ProblemText.find("×"), std::string::npos);
    EXPECT_EQ(d.canvas.lastAt(20, 80), "レベル10 ( 3)  せいせき：○○");
}

// Another panel opened (or one cancelled) over the rows leaves no level chosen; the rows go on
// with the level last decided, never with a level 0 of "0 ÷ 0".
TEST(Rows, WithNoLevelChosenGoOnWithTheLastDecision)
{
    Drill d;
    d.choose(4, 4);
    d.open(1);
    d.flow.chooseOperation(1);
    d.flow.chooseLevel(1, 2);
    d.flow.cancel(1);
    d.answerRight(1);
    d.open(2);
    for (int row : { 1, 2 }) {
        EXPECT_NE(d.state.ProblemHistory.OperandB(row, d.count(row)), 0) << row;
        EXPECT_TRUE(d.canvas.lastAt(20, rows::y0(row) + 80).starts_with("レベル 4 (")) << row;
        EXPECT_TRUE(d.flow.row(row).remainderShown) << row;
    }
    EXPECT_EQ(d.state.Operation, 1);
    EXPECT_EQ(d.state.Level, 0);
}

TEST(Rows, AnOpenRowGetsTheRemainderBoxWhenItsLevelAsksForOne)
{
    Drill d;
    d.choose(1, 2);
    d.open(1);
    EXPECT_FALSE(d.flow.row(1).remainderShown);
    d.choose(4, 4); // division with remainder, on the open row
    d.answerRight(1);
    ASSERT_GE(d.remainder(1), 1);
    EXPECT_TRUE(d.flow.row(1).remainderShown);
    d.answerRight(1);
    EXPECT_EQ(d.state.ProblemHistory.outcomeOf(1, 2), ProblemOutcome::RightAtOnce);

    // And back: a level without remainder hides the box, and the keypad writes into the
    // answer box again.
    d.flow.chooseBox(1, Box::Remainder);
    d.choose(2, 8); // problem 3 is still a division; the one after it a subtraction
    d.flow.chooseBox(1, Box::Answer);
    d.answerRight(1);
    EXPECT_FALSE(d.flow.row(1).remainderShown);
    EXPECT_EQ(d.state.InputTarget[1], 0);
    d.tap(1, 3);
    EXPECT_EQ(d.flow.row(1).answer, "3");
}

// Finishing returns to the panel of whichever operation was drilled, with every row closed.
TEST(Finishing, NoKeepsEverythingYesClosesEveryRow)
{
    for (int operation = 1; operation <= 4; ++operation) {
        SCOPED_TRACE(operation);
        Drill d;
        d.choose(operation, 4);
        for (int row = 1; row <= 3; ++row)
            d.open(row);
        d.answerRight(3);
        d.tap(1, 5);
        d.flow.chooseBox(2, Box::Remainder);
        d.messages.answers = { false };
        d.flow.finish();
        EXPECT_EQ(d.messages.shown.back(), texts::kFinishQuestion);
        EXPECT_TRUE(d.flow.view().surfaceShown);
        EXPECT_EQ(d.count(1), 1);
        EXPECT_EQ(d.flow.row(1).answer, "5");
        EXPECT_EQ(d.state.InputTarget[2], 1);

        // The answer may come later: nothing changes until it does.
        d.messages.later = true;
        d.flow.finish();
        EXPECT_TRUE(d.flow.row(1).open);
        d.messages.pending(true);
        EXPECT_FALSE(d.flow.view().surfaceShown);
        EXPECT_EQ(d.flow.view().panel, operation);
        for (int row = 1; row <= 3; ++row) {
            EXPECT_FALSE(d.flow.row(row).open);
            EXPECT_FALSE(d.flow.row(row).remainderShown);
            for (int k = 0; k <= 1000; ++k)
                ASSERT_EQ(d.state.ProblemHistory.slot(row, k), 0);
            EXPECT_EQ(d.state.InputTarget[row], 0);
        }
        EXPECT_EQ(d.state.Level, 4);
        EXPECT_EQ(d.state.Operation, operation);
        EXPECT_EQ(d.flow.view().chosenLevel, 4); // the option stays chosen

        // Decide at once with the same level: problem 1 and an empty status line.
        d.flow.decide(operation);
        d.open(1);
        EXPECT_EQ(d.count(1), 1);
        EXPECT_EQ(d.canvas.lastAt(20, 80), "レベル 4 ( 1)  せいせき：");
    }
}

TEST(Exit, AsksFirst)
{
    Drill d;
    d.messages.answers = { false };
    d.flow.exit();
    EXPECT_EQ(d.messages.shown.back(), texts::kExitQuestion);
    EXPECT_FALSE(d.flow.view().ended);
    d.flow.exit();
    EXPECT_TRUE(d.flow.view().ended);
}

// A pupil who cannot see the surface hears the problem when the row opens, the mark as it
// appears, and the row's new status line with its next problem once the mark has gone.
TEST(Announcing, ProblemsAndMarksAreSaidAsTheyCome)
{
    Drill d;
    d.choose(1, 1);
    d.open(2);
    ASSERT_EQ(d.said.size(), 1u);
    EXPECT_EQ(d.said[0], d.flow.spoken(2));
    EXPECT_NE(d.said.back().find(d.flow.row(2).problem.substr(0, 1)), std::string::npos);

    d.said.clear();
    d.tap(2, d.answer(2) + 1);
    d.check(2);
    ASSERT_EQ(d.said.size(), 1u) << "a try left: no new problem";
    EXPECT_EQ(d.said[0], "ちがう（2ばんめ）");

    d.said.clear();
    d.answerRight(2);
    ASSERT_EQ(d.said.size(), 2u);
    EXPECT_EQ(d.said[0], "せいかい（2ばんめ）");
    EXPECT_EQ(d.said[1], d.flow.spoken(2));
    EXPECT_NE(d.said[1].find("△"), std::string::npos) << d.said[1];
}

} // namespace
} // namespace piko::test
