// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// How long a pupil waits on the handlers, on the offscreen platform with a clock that never
// makes the mark wait: opening a row, a keypad tap, a check that moves on to the next problem,
// and a decision that draws the frames. Every level, pools used up included.
//   build/bench/response_bench [--benchmark_filter=check/div]
#include "app/Form1.h"
#include "app/Seams.h"
#include "app/Style.h"
#include "generators/Random.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace piko;

class FastClock final : public Clock {
public:
    std::string timeOfDay() override
    {
        char text[16];
        const int t = m_seconds++;
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", t / 3600 % 24, t / 60 % 60, t % 60);
        return text;
    }

private:
    int m_seconds = 0;
};
class WideScreen final : public Screen {
public:
    double width() override { return 1024; }
    double pixelWidth() override { return 1; }
    Area available() override { return { 0, 0, 4000, 3000 }; }
};
class YesMessages final : public Messages {
public:
    void inform(const std::string &) override { }
    void ask(const std::string &, std::function<void(bool)> answer) override { answer(true); }
};
class Silence final : public Beeper {
public:
    void beep() override { }
};

struct Drill {
    Drill(int operation, int level)
    {
        form = std::make_unique<Form1>(state, Seams { clock, screen, messages, beeper, random });
        form->show();
        form->presenter().Command1_Click(operation - 1);
        // The level option's own handler sets Level and RemainderMode.
        void (Presenter::*options[])(int) = { nullptr, &Presenter::Option2_Click,
            &Presenter::Option3_Click, &Presenter::Option4_Click, &Presenter::Option1_Click };
        (form->presenter().*options[operation])(level - 1);
        decide(operation);
    }
    void decide(int operation)
    {
        switch (operation) {
        case Addition:
            form->presenter().Command10_Click();
            break;
        case Subtraction:
            form->presenter().Command12_Click();
            break;
        case Multiplication:
            form->presenter().Command14_Click();
            break;
        default:
            form->presenter().Command3_Click();
        }
    }
    QLineEdit *box(const char *name, int row)
    {
        return form->findChild<QLineEdit *>(
            QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(row - 1));
    }

    DrillState state;
    FastClock clock;
    WideScreen screen;
    YesMessages messages;
    Silence beeper;
    SeededRandom random { 77 };
    std::unique_ptr<Form1> form;
};

const int kLevels[] = { 0, 16, 13, 27, 24 };
const char *kNames[] = { "", "add", "sub", "mul", "div" };

void OpenRow(benchmark::State &st, int operation, int level)
{
    Drill drill(operation, level);
    for (auto _ : st) {
        st.PauseTiming();
        drill.state.ProblemHistory.clearRow(2);
        st.ResumeTiming();
        drill.form->presenter().Picture1_MouseDown(1, 0, 300, 350);
    }
}

// Right answers, so every check finishes its problem and makes the next one; the row keeps
// going past its 99th problem and through used-up pools.
void CheckNextProblem(benchmark::State &st, int operation, int level)
{
    Drill drill(operation, level);
    drill.form->presenter().Picture1_MouseDown(1, 0, 300, 150);
    auto &h = drill.state.ProblemHistory;
    for (auto _ : st) {
        st.PauseTiming();
        const int n = h.ProblemCount(1);
        drill.box("Text1", 1)->setText(QString::number(h.Answer(1, n)));
        drill.box("Text2", 1)->setText(QString::number(h.Remainder(1, n)));
        st.ResumeTiming();
        drill.form->presenter().Command5_Click(0);
        while (drill.form->flow().holding())
            drill.form->tickMark();
    }
}

void KeypadTap(benchmark::State &st)
{
    Drill drill(Addition, 16);
    drill.form->presenter().Picture1_MouseDown(1, 0, 300, 150);
    int taps = 0;
    for (auto _ : st) {
        drill.form->presenter().Command6_Click(taps % 10);
        if (++taps % 64 == 0) {
            st.PauseTiming();
            drill.box("Text1", 1)->clear();
            st.ResumeTiming();
        }
    }
}

void Decide(benchmark::State &st)
{
    Drill drill(Division, 13);
    drill.form->presenter().Picture1_MouseDown(1, 0, 300, 150);
    drill.form->presenter().Picture1_MouseDown(1, 0, 300, 350);
    for (auto _ : st) {
        drill.form->presenter().Command1_Click(3);
        drill.state.Level = 13;
        drill.form->presenter().Command3_Click();
    }
}

void registerAll()
{
    for (int operation = 1; operation <= 4; ++operation) {
        for (int level = 1; level <= kLevels[operation]; ++level) {
            const std::string name = std::string(kNames[operation]) + "/L" + (level < 10 ? "0" : "")
                + std::to_string(level);
            benchmark::RegisterBenchmark(("open/" + name).c_str(), OpenRow, operation, level)
                ->Unit(benchmark::kMicrosecond)
                ->Iterations(300);
            benchmark::RegisterBenchmark(
                ("check/" + name).c_str(), CheckNextProblem, operation, level)
                ->Unit(benchmark::kMicrosecond)
                ->Iterations(300);
        }
    }
    benchmark::RegisterBenchmark("tap", KeypadTap)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("decide", Decide)->Unit(benchmark::kMicrosecond);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyProgramStyle();
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
