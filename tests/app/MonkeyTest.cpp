// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// A monkey at the window: random clicks, taps and typing of every kind, with the drill's
// invariants checked after every action. Qt's event loop runs between actions, as it does in
// the program: posted events, painting and deferred deletes are handled, not left to pile up. The
// test command runs fixed seeds; a long soak:
//   PIKOMARU_MONKEY_SEED=7 PIKOMARU_MONKEY_ACTIONS=1000000 build/tests/app_tests
//   --gtest_filter='Monkey.*'
#include "AppTestSupport.h"
#include "generators/Generators.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>

#include <random>

namespace piko::test {
namespace {

// Answers the finish question at random and the exit question always No.
class MonkeyMessages final : public Messages {
public:
    explicit MonkeyMessages(std::mt19937 &rng) : m_rng(rng) { }
    void inform(const std::string &) override { }
    void ask(const std::string &text, std::function<void(bool)> answer) override
    {
        answer(text.find("ぴこまる") == std::string::npos && m_rng() % 4 == 0);
    }

private:
    std::mt19937 &m_rng;
};

long long envNumber(const char *name, long long fallback)
{
    bool ok = false;
    const long long v = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? v : fallback;
}

bool consistentRecord(int a, int b, int answer, int remainder)
{
    if (remainder == 0
        && (answer == a + b || answer == a - b || static_cast<long long>(a) * b == answer))
        return true;
    return b > 0 && remainder >= 0 && remainder < b
        && static_cast<long long>(answer) * b + remainder == a;
}

class Monkey {
public:
    Monkey(std::uint32_t seed, double screenWidth) : m_rng(seed), m_messages(m_rng)
    {
        m_screen.widthValue = screenWidth;
        m_random.reseed(seed);
        m_form = std::make_unique<Form1>(
            m_state, Seams { m_clock, m_screen, m_messages, m_beeper, m_random });
        m_form->show();
        m_surface = &m_form->surface();
    }

    void run(long long actions)
    {
        for (m_step = 0; m_step < actions; ++m_step) {
            act();
            runEventLoop();
            // Mostly the mark's time passes before the next action; now and then the next
            // actions come while it shows, and wait.
            if (pick(4) != 0) {
                while (m_form->flow().holding()) {
                    m_clock.pass();
                    m_form->tickMark();
                }
                runEventLoop();
            }
            check();
            if (::testing::Test::HasFatalFailure())
                return;
        }
        std::printf("%lld actions: %lld problems made, %d beeps, %lld finishes\n", actions,
            m_problems, m_beeper.beeps, m_finishes);
    }

private:
    static void runEventLoop()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    int pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }
    template<typename W = QWidget> W *named(const QString &name)
    {
        return m_form->findChild<W *>(name);
    }
    QString indexed(const char *name, int i)
    {
        return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
    }

    void clickIfShown(QWidget *w)
    {
        if (w && w->isVisible() && w->isEnabled())
            QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    }
    QLineEdit *someBox() { return named<QLineEdit>(indexed(pick(2) ? "Text1" : "Text2", pick(3))); }
    QString someText()
    {
        static const QString texts[] = {
            QStringLiteral("7"),
            QStringLiteral("12"),
            QStringLiteral("００７"),
            QStringLiteral("１２３"),
            QStringLiteral(" 4 5 "),
            QStringLiteral("-3"),
            QStringLiteral("3.5"),
            QStringLiteral("12abc"),
            QStringLiteral("あまり"),
            QStringLiteral("😀x"),
            QStringLiteral("1e999"),
            QStringLiteral("\t"),
        };
        switch (pick(10)) {
        case 0:
            return QString(1000, QLatin1Char('9'));
        case 1:
            return QString(300 + pick(500), QChar(0xFF11));
        default:
            return texts[pick(std::size(texts))];
        }
    }

    void act()
    {
        switch (pick(41)) {
        case 0:
        case 1: // an operation button
            clickIfShown(named(indexed("Command1", pick(4))));
            break;
        case 2:
        case 3:
        case 4: { // a level option, sometimes one of the hidden ones
            const char *options[] = { "Option2", "Option3", "Option4", "Option1" };
            const int counts[] = { 16, 13, 27, 26 };
            const int op = pick(4);
            clickIfShown(named(indexed(options[op], pick(counts[op]))));
            break;
        }
        case 5:
        case 6: { // decide (mostly that of the operation chosen last) or cancel
            const char *buttons[] = { "Command10", "Command12", "Command14", "Command3",
                "Command11", "Command13", "Command15", "Command4" };
            const int op = m_state.Operation >= 1 && pick(4) ? m_state.Operation - 1 : pick(4);
            clickIfShown(named(QLatin1String(buttons[op + (pick(4) ? 0 : 4)])));
            break;
        }
        case 7:
        case 8:
        case 9:
        case 10: // anywhere on the drill surface, gaps and margins included
            if (m_surface->isVisible())
                QTest::mouseClick(m_surface, pick(5) ? Qt::LeftButton : Qt::RightButton,
                    Qt::NoModifier, QPoint(pick(m_surface->width()), pick(m_surface->height())));
            break;
        case 11: { // anywhere on the window
            const QPoint p(pick(m_form->width()), pick(m_form->height()));
            QWidget *w = m_form->childAt(p);
            if (!w)
                w = m_form.get();
            QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->mapFrom(m_form.get(), p));
            break;
        }
        case 12:
        case 13:
        case 14:
        case 15:
        case 16:
        case 17: // keypad digits
            clickIfShown(named(indexed("Command6", pick(30))));
            break;
        case 18:
        case 19: // けす or あまり
            clickIfShown(named(indexed(pick(2) ? "Command7" : "Command9", pick(3))));
            break;
        case 20:
        case 21:
        case 22: // check
            clickIfShown(named(indexed("Command5", pick(3))));
            break;
        case 23:
        case 24: { // typing into a box
            QLineEdit *box = someBox();
            if (box && box->isVisible()) {
                const QString text = someText();
                bool ascii = true;
                for (QChar c : text)
                    ascii = ascii && c.unicode() < 0x80;
                if (text.size() > 50) {
                    box->insert(text); // a paste
                } else if (ascii) {
                    QTest::keyClicks(box, text);
                } else { // as a Japanese input method commits it
                    QInputMethodEvent commit;
                    commit.setCommitString(text);
                    QApplication::sendEvent(box, &commit);
                }
            }
            break;
        }
        case 25: { // Enter or Backspace in a box
            QLineEdit *box = someBox();
            if (box && box->isVisible())
                QTest::keyClick(box, pick(2) ? Qt::Key_Return : Qt::Key_Backspace);
            break;
        }
        case 26:
        case 27:
        case 28:
        case 29:
        case 30:
        case 31:
        case 32:
        case 33: { // the right answer on an open row, then check
            const int row = 1 + pick(3);
            auto &h = m_state.ProblemHistory;
            auto *answerBox = named<QLineEdit>(indexed("Text1", row - 1));
            if (h.RowStarted(row) == 0 || !answerBox->isVisible())
                break;
            const int n = h.ProblemCount(row);
            answerBox->setText(QString::number(h.Answer(row, n)));
            auto *remainderBox = named<QLineEdit>(indexed("Text2", row - 1));
            remainderBox->setText(
                h.Remainder(row, n) ? QString::number(h.Remainder(row, n)) : QString());
            clickIfShown(named(indexed("Command5", row - 1)));
            break;
        }
        case 34: // finish (answered Yes one time in four)
            clickIfShown(named("Command8"));
            break;
        case 35: // exit, always answered No
            clickIfShown(named("Command2"));
            break;
        case 36:
        case 37: // a click into a box
            clickIfShown(someBox());
            break;
        case 38: { // the keyboard alone: a key to whatever has the focus
            static const Qt::Key keys[] = { Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Up, Qt::Key_Down,
                Qt::Key_Left, Qt::Key_Right, Qt::Key_Return, Qt::Key_Space, Qt::Key_Escape,
                Qt::Key_3, Qt::Key_Backspace };
            QWidget *focus = m_form->focusWidget();
            QTest::keyClick(focus ? focus : m_form.get(), keys[pick(std::size(keys))]);
            break;
        }
        case 39: // the window resized: everything is drawn again at another zoom
            if (pick(8) == 0)
                m_form->resize(pick(2) ? QSize(300 + pick(1800), 250 + pick(1100))
                                       : m_form->stage().size() / m_form->zoom());
            else
                QTest::keyClick(m_form.get(), static_cast<Qt::Key>(Qt::Key_0 + pick(10)));
            break;
        default: // a key pressed on the window itself
            QTest::keyClick(m_form.get(), static_cast<Qt::Key>(Qt::Key_0 + pick(10)));
            break;
        }
    }

    void check()
    {
        const auto &h = m_state.ProblemHistory;
        ASSERT_TRUE(m_form->isVisible()) << "step " << m_step;
        ASSERT_GE(m_state.CurrentRow, 0);
        ASSERT_LE(m_state.CurrentRow, 3);
        ASSERT_EQ(m_state.InputTarget[0], 0);
        for (int row = 1; row <= 3; ++row) {
            const int i = row - 1;
            const bool open = h.RowStarted(row) != 0;
            const int n = h.ProblemCount(row);
            ASSERT_TRUE(m_state.InputTarget[row] == 0 || m_state.InputTarget[row] == 1);
            QWidget *controls[] = { named(indexed("Text1", i)), named(indexed("Command5", i)),
                named(indexed("Picture6", i)) };
            if (!open) {
                for (QWidget *w : controls)
                    ASSERT_TRUE(w->isHidden()) << "step " << m_step << " row " << row;
                ASSERT_TRUE(named(indexed("Text2", i))->isHidden());
                ASSERT_TRUE(named(indexed("Command9", i))->isHidden());
                for (int k = 0; k <= 1000; ++k)
                    ASSERT_EQ(h.slot(row, k), 0) << "step " << m_step << " row " << row;
                m_kept[row].clear();
                if (m_lastCount[row] != 0)
                    ++m_finishes;
                m_lastCount[row] = 0;
                continue;
            }
            ASSERT_EQ(h.RowStarted(row), 1);
            ASSERT_GE(n, 1) << "step " << m_step;
            ASSERT_LE(n, 99);
            for (QWidget *w : controls)
                ASSERT_FALSE(w->isHidden()) << "step " << m_step << " row " << row;
            // Exactly one open problem, every earlier one finished, every record consistent.
            for (int j = 1; j <= n; ++j) {
                ASSERT_TRUE(consistentRecord(
                    h.OperandA(row, j), h.OperandB(row, j), h.Answer(row, j), h.Remainder(row, j)))
                    << "step " << m_step << " row " << row << " problem " << j;
                const int outcome = h.Outcome(row, j);
                ASSERT_TRUE(j == n ? outcome == 0 : (outcome >= 1 && outcome <= 3))
                    << "step " << m_step << " row " << row << " problem " << j;
                // While its mark shows, the open problem's attempt is counted but not yet judged.
                ASSERT_LE(h.Attempts(row, j), j == n && !m_form->flow().holding() ? 2 : 3);
            }
            for (int k = 10 * n + 11; k <= 1000; ++k)
                ASSERT_EQ(h.slot(row, k), 0) << "step " << m_step << " slot " << k;
            // Nothing is lost from a row that was not finished: its finished problems stay.
            auto &kept = m_kept[row];
            if (n >= static_cast<int>(kept.size()) + 1) {
                for (int j = 1; j <= static_cast<int>(kept.size()); ++j)
                    ASSERT_EQ(kept[j - 1],
                        (std::array<int, 3> {
                            h.OperandA(row, j), h.OperandB(row, j), h.Outcome(row, j) }))
                        << "step " << m_step << " row " << row << " problem " << j;
            }
            kept.clear();
            for (int j = 1; j < n; ++j)
                kept.push_back({ h.OperandA(row, j), h.OperandB(row, j), h.Outcome(row, j) });
            // The status line on screen agrees with the records (checked now and then: pixels).
            // Its level is the one the problem was made at, which input that waited for a mark
            // may since have changed: that is taken from what the row printed.
            if (n != m_lastCount[row])
                ++m_problems;
            m_lastCount[row] = n;
            if (m_step % 97 == 0 && m_surface->isVisible() && m_form->zoom() == 1.0
                && !m_form->flow().holding()) {
                DrillState shown = m_state;
                const std::string printed = m_form->flow().row(row).status;
                shown.Level = static_cast<std::int16_t>(
                    std::stoi(printed.substr(std::string("レベル").size(), 2)));
                ASSERT_TRUE(showsStatusLine(*m_surface, row, statusLine(shown, row, n)))
                    << "step " << m_step << " row " << row << ": " << statusLine(shown, row, n);
            }
        }
    }

    std::mt19937 m_rng;
    DrillState m_state;
    // Moving on only when the monkey lets time pass: the window's mark timer, firing whenever the
    // event loop runs, then finds the second unchanged, so what the monkey does stays the same
    // however fast the machine runs.
    FakeClock m_clock = [] {
        FakeClock clock;
        clock.set(10, 0, 0);
        clock.advancing = false;
        return clock;
    }();
    FakeScreen m_screen;
    MonkeyMessages m_messages;
    FakeBeeper m_beeper;
    SeededRandom m_random;
    std::unique_ptr<Form1> m_form;
    DrawingSurface *m_surface = nullptr;
    long long m_step = 0;
    long long m_problems = 0;
    long long m_finishes = 0;
    std::array<std::vector<std::array<int, 3>>, 4> m_kept;
    std::array<int, 4> m_lastCount {};
};

TEST(Monkey, RandomActionsOnALargeScreenKeepEveryRowSound)
{
    const auto seed = static_cast<std::uint32_t>(envNumber("PIKOMARU_MONKEY_SEED", 20261208));
    Monkey(seed, 1024).run(envNumber("PIKOMARU_MONKEY_ACTIONS", 40000));
}

TEST(Monkey, RandomActionsOnASmallScreenKeepEveryRowSound)
{
    const auto seed = static_cast<std::uint32_t>(envNumber("PIKOMARU_MONKEY_SEED", 42)) + 1;
    Monkey(seed, 800).run(envNumber("PIKOMARU_MONKEY_ACTIONS", 20000));
}

} // namespace
} // namespace piko::test
