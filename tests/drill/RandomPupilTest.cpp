// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// A random pupil at the drill's rules: actions of every kind, at any moment (during marks and
// with a question open too), and after each one every open row shows a level and a problem of
// its own operation.
#include "DrillTestSupport.h"
#include "drill/Operations.h"
#include "drill/Texts.h"

#include <random>
#include <utility>

namespace piko::test {
namespace {

// The operation whose sign the problem text carries, or 0.
int operationOf(const std::string &problem)
{
    const char *signs[] = { " ＋ ", " － ", " × ", " ÷ " };
    for (int op = 1; op <= 4; ++op)
        if (problem.find(signs[op - 1]) != std::string::npos)
            return op;
    return 0;
}

bool answerFits(int operation, int a, int b, int answer, int remainder)
{
    if (operation == 4)
        return b > 0 && remainder >= 0 && remainder < b && answer * b + remainder == a;
    return remainder == 0 && answer == (operation == 1 ? a + b : operation == 2 ? a - b : a * b);
}

class RandomPupil {
public:
    explicit RandomPupil(std::uint32_t seed) : m_rng(seed) { d.messages.later = true; }

    void run(int actions)
    {
        for (m_step = 0; m_step < actions && !::testing::Test::HasFatalFailure(); ++m_step) {
            act();
            check();
        }
    }

private:
    int pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }
    int someRow() { return pick(5); } // 0 and 4 are no rows
    int someOperation() { return pick(6); } // 0 and 5 are none

    void act()
    {
        // A question waits for its answer before anything else (the exit question: always No).
        if (d.messages.pending) {
            const bool exitAsked = d.messages.shown.back() == texts::kExitQuestion;
            std::exchange(d.messages.pending, nullptr)(!exitAsked && pick(3) == 0);
            return;
        }
        Flow &f = d.flow;
        switch (pick(20)) {
        case 0:
            f.chooseOperation(someOperation());
            break;
        case 1:
        case 2: { // drawn one by one: the order of a call's arguments is the compiler's
            const int operation = pick(3) ? f.view().panel : someOperation();
            f.chooseLevel(operation, pick(30) - 1);
            break;
        }
        case 3:
            f.decide(pick(4) ? f.view().panel : someOperation());
            break;
        case 4:
            f.cancel(someOperation());
            break;
        case 5: {
            const int x = pick(800);
            f.pressSurface(x, pick(700));
            break;
        }
        case 6:
            d.open(1 + pick(3));
            break;
        case 7:
        case 8:
            f.pressKey(pick(32) - 1);
            break;
        case 9:
            f.erase(someRow());
            break;
        case 10: {
            const int row = someRow();
            f.chooseBox(row, pick(2) ? Box::Remainder : Box::Answer);
            break;
        }
        case 11: {
            const char *typed[]
                = { "7", "abc", "-3", "１２", " ", "\u22125", "3.5", "99999999999" };
            const int row = someRow();
            const Box box = pick(2) ? Box::Remainder : Box::Answer;
            f.type(row, box, typed[pick(8)]);
            break;
        }
        case 12:
        case 13:
            f.check(someRow());
            break;
        case 14:
        case 15: { // the right answer, as far as it can be known now
            const int row = 1 + pick(3);
            if (d.state.ProblemHistory.RowStarted(row) != 0)
                d.tap(row, d.answer(row));
            f.check(row);
            break;
        }
        case 16:
            pick(8) ? f.finish() : f.exit();
            break;
        case 17:
            f.redraw();
            break;
        default: // the mark's time passes
            f.tick();
            break;
        }
    }

    void check()
    {
        const DrillState &s = d.state;
        const auto &h = s.ProblemHistory;
        const auto offered = [](int op) { return operations::of(op).offered; };
        ASSERT_TRUE(s.Operation >= 0 && s.Operation <= 4) << "step " << m_step;
        ASSERT_TRUE(s.Level == 0 || (s.Operation >= 1 && s.Level <= offered(s.Operation)))
            << "step " << m_step << ": level " << s.Level << " of operation " << s.Operation;
        ASSERT_FALSE(d.flow.view().ended);
        for (int row = 1; row <= 3; ++row) {
            const RowView &view = d.flow.row(row);
            ASSERT_EQ(view.open, h.RowStarted(row) != 0) << "step " << m_step;
            if (!view.open)
                continue;
            const int n = h.ProblemCount(row);
            const int op = operationOf(view.problem);
            ASSERT_TRUE(n >= 1 && n <= 99 && op != 0) << "step " << m_step << ": " << view.problem;
            const std::string level = view.status.substr(std::string("レベル").size(), 2);
            ASSERT_TRUE(view.status.starts_with("レベル")) << view.status;
            const int shown = std::stoi(level);
            ASSERT_TRUE(shown >= 1 && shown <= offered(op))
                << "step " << m_step << " row " << row << ": " << view.status << view.problem;
            const int a = h.OperandA(row, n), b = h.OperandB(row, n);
            ASSERT_TRUE(view.problem.starts_with(std::to_string(a) + " "))
                << "step " << m_step << " row " << row << ": " << view.problem;
            ASSERT_TRUE(answerFits(op, a, b, h.Answer(row, n), h.Remainder(row, n)))
                << "step " << m_step << " row " << row << ": " << view.problem;
        }
        const int mark = d.flow.view().markRow;
        ASSERT_EQ(mark != 0, d.flow.holding());
        ASSERT_TRUE(mark == 0 || d.flow.row(mark).open);
    }

    std::mt19937 m_rng;
    Drill d;
    int m_step = 0;
};

TEST(RandomPupil, EveryOpenRowShowsALevelAndAProblemOfItsOperation)
{
    for (std::uint32_t seed : { 1u, 2u, 3u, 4u }) {
        SCOPED_TRACE(seed);
        RandomPupil(seed).run(3000);
    }
}

} // namespace
} // namespace piko::test
