// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Flow.h"
#include "drill/Keypad.h"
#include "generators/Random.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

namespace piko::test {

// A drill surface that keeps a list of what is drawn on it. Every character is 16 pixels wide
// and a line 32 high.
class RecordingCanvas final : public Canvas {
public:
    struct Printed {
        int x, y;
        Rgb colour;
        std::string text;
    };
    struct Frame {
        int left, top, right, bottom;
        bool operator==(const Frame &) const = default;
    };

    void setCurrentX(int x) override { m_x = x; }
    void setCurrentY(int y) override { m_y = y; }
    void setForeColor(Rgb colour) override { m_fore = colour; }
    void setFillColor(Rgb colour) override { m_fill = colour; }
    void setSolidFill(bool solid) override { m_solid = solid; }
    void print(const std::string &text) override
    {
        printed.push_back({ m_x, m_y, m_fore, text });
        m_x = 0;
        m_y += textHeight();
    }
    void roundRect(int left, int top, int right, int bottom, int, int) override
    {
        EXPECT_TRUE(m_solid && m_fore == kWhite && m_fill == kWhite) << "frames are solid white";
        frames.push_back({ left, top, right, bottom });
    }
    void fillSquare(int, int, int, Rgb) override { ++squares; }
    int textWidth(const std::string &text) const override
    {
        int characters = 0;
        for (unsigned char c : text)
            characters += (c & 0xC0) != 0x80;
        return 16 * characters;
    }
    int textHeight() const override { return 32; }
    void keepArea(Area area) override { kept = area; }
    void restoreArea() override { ++restored; }

    // The texts printed in black at (x, y), oldest first.
    std::vector<std::string> textsAt(int x, int y) const
    {
        std::vector<std::string> texts;
        for (const Printed &p : printed)
            if (p.x == x && p.y == y && p.colour == kBlack)
                texts.push_back(p.text);
        return texts;
    }
    std::string lastAt(int x, int y) const
    {
        const auto texts = textsAt(x, y);
        return texts.empty() ? std::string() : texts.back();
    }

    std::vector<Printed> printed;
    std::vector<Frame> frames;
    Area kept;
    int squares = 0, restored = 0;

private:
    int m_x = 0, m_y = 0;
    Rgb m_fore, m_fill;
    bool m_solid = false;
};

// The time of day, moving on one second at every reading unless stopped.
class TestClock final : public Clock {
public:
    std::string timeOfDay() override
    {
        ++readings;
        const int t = advancing ? seconds++ : seconds;
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", t / 3600 % 24, t / 60 % 60, t % 60);
        return text;
    }
    int seconds = 36000;
    bool advancing = true;
    int readings = 0;
};

// Answers questions at once from a queue (はい when it is empty), or keeps the answer for later
// when `later` is set; keeps every text shown.
class TestMessages final : public Messages {
public:
    void inform(const std::string &text) override { shown.push_back(text); }
    void ask(const std::string &text, std::function<void(bool)> answer) override
    {
        shown.push_back(text);
        if (later) {
            pending = std::move(answer);
            return;
        }
        bool yes = true;
        if (!answers.empty()) {
            yes = answers.front();
            answers.pop_front();
        }
        answer(yes);
    }
    std::vector<std::string> shown;
    std::deque<bool> answers;
    bool later = false;
    std::function<void(bool)> pending;
};

class CountingBeeper final : public Beeper {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

// A flow with every seam faked, on a screen of the given width.
struct Drill {
    explicit Drill(double screenWidth = 1024)
    {
        flow.load(screenWidth, 1);
        flow.setAnnounce([this](const std::string &text) { said.push_back(text); });
    }

    // Operation 1..4, then a level, then けってい.
    void choose(int operation, int level)
    {
        flow.chooseOperation(operation);
        flow.chooseLevel(operation, level);
        flow.decide(operation);
    }
    // Lets a mark's time pass.
    void settle()
    {
        for (int i = 0; i < 100 && flow.holding(); ++i)
            flow.tick();
        ASSERT_FALSE(flow.holding()) << "the mark never ended";
    }
    void check(int row)
    {
        flow.check(row);
        settle();
    }
    void open(int row) { flow.pressSurface(100, 200 * row - 100); }
    // The digits of v on a row's keypad.
    void tap(int row, long long v)
    {
        for (char c : std::to_string(v))
            flow.pressKey(keypadIndex({ row, c - '0' }));
    }
    int count(int row) const { return state.ProblemHistory.ProblemCount(row); }
    int answer(int row) const { return state.ProblemHistory.Answer(row, count(row)); }
    int remainder(int row) const { return state.ProblemHistory.Remainder(row, count(row)); }
    // The row's problem answered right, remainder and all, and checked.
    void answerRight(int row)
    {
        tap(row, answer(row));
        if (remainder(row) != 0) {
            flow.chooseBox(row, Box::Remainder);
            tap(row, remainder(row));
        }
        check(row);
    }

    DrillState state;
    RecordingCanvas canvas;
    TestClock clock;
    TestMessages messages;
    CountingBeeper beeper;
    SeededRandom random { 7 };
    std::vector<std::string> said; // what the flow announced, oldest first
    Flow flow { state, { canvas, clock, messages, beeper, random } };
};

} // namespace piko::test
