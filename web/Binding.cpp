// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The drill for a page's JavaScript: the same flow as the desktop's, its seams answered by a
// JavaScript object. The page draws, keeps time, asks and beeps; the flow decides.
#include "drill/Flow.h"
#include "generators/Random.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <string>
#include <utility>

namespace piko::web {
namespace {

using emscripten::val;

val point(Point p)
{
    val v = val::object();
    v.set("x", p.x);
    v.set("y", p.y);
    return v;
}

// Drawing, time, messages and the beep, each a method of one JavaScript object (`page`):
// setCurrentX(x), setCurrentY(y), setForeColor(r, g, b), setFillColor(r, g, b), setSolidFill(on),
// roundRect(l, t, r, b, w, h), fillSquare(l, t, side, r, g, b), print(text), textWidth(text),
// textHeight(), keepArea(l, t, w, h), restoreArea(), timeOfDay(), inform(text), ask(text),
// beep(). A question's answer comes back through Drill.answer(yes).
class Page final : public Canvas, public Clock, public Messages, public Beeper {
public:
    explicit Page(val page) : m_page(std::move(page)) { }

    void setCurrentX(int x) override { m_page.call<void>("setCurrentX", x); }
    void setCurrentY(int y) override { m_page.call<void>("setCurrentY", y); }
    void setForeColor(Rgb c) override { m_page.call<void>("setForeColor", c.r, c.g, c.b); }
    void print(const std::string &text) override { m_page.call<void>("print", text); }
    void setFillColor(Rgb c) override { m_page.call<void>("setFillColor", c.r, c.g, c.b); }
    void setSolidFill(bool solid) override { m_page.call<void>("setSolidFill", solid); }
    void roundRect(int left, int top, int right, int bottom, int w, int h) override
    {
        m_page.call<void>("roundRect", left, top, right, bottom, w, h);
    }
    void fillSquare(int left, int top, int side, Rgb c) override
    {
        m_page.call<void>("fillSquare", left, top, side, c.r, c.g, c.b);
    }
    int textWidth(const std::string &text) const override
    {
        return m_page.call<int>("textWidth", text);
    }
    int textHeight() const override { return m_page.call<int>("textHeight"); }
    void keepArea(Area a) override
    {
        m_page.call<void>("keepArea", a.left, a.top, a.width, a.height);
    }
    void restoreArea() override { m_page.call<void>("restoreArea"); }
    std::string timeOfDay() override { return m_page.call<std::string>("timeOfDay"); }
    void inform(const std::string &text) override { m_page.call<void>("inform", text); }
    void ask(const std::string &text, std::function<void(bool)> answer) override
    {
        m_answer = std::move(answer);
        m_page.call<void>("ask", text);
    }
    void beep() override { m_page.call<void>("beep"); }

    void answer(bool yes)
    {
        if (auto answer = std::exchange(m_answer, nullptr))
            answer(yes);
    }

private:
    val m_page;
    std::function<void(bool)> m_answer;
};

// One drill: its state, its random source and the flow, driven by the page's actions.
class Drill {
public:
    explicit Drill(val page)
        : m_page(std::move(page)), m_flow(m_state, { m_page, m_page, m_page, m_page, m_random })
    {
    }

    void load(double screenWidth, double pixelWidth) { m_flow.load(screenWidth, pixelWidth); }
    void chooseOperation(int operation) { m_flow.chooseOperation(operation); }
    void chooseLevel(int operation, int level) { m_flow.chooseLevel(operation, level); }
    void decide(int operation) { m_flow.decide(operation); }
    void cancel(int operation) { m_flow.cancel(operation); }
    void pressSurface(int x, int y) { m_flow.pressSurface(x, y); }
    void pressKey(int index) { m_flow.pressKey(index); }
    void erase(int row) { m_flow.erase(row); }
    void chooseRemainder(int row, bool remainder)
    {
        m_flow.chooseBox(row, remainder ? Box::Remainder : Box::Answer);
    }
    void type(int row, bool remainder, const std::string &text)
    {
        m_flow.type(row, remainder ? Box::Remainder : Box::Answer, text);
    }
    void check(int row) { m_flow.check(row); }
    void finish() { m_flow.finish(); }
    void exit() { m_flow.exit(); }
    void answer(bool yes) { m_page.answer(yes); }
    void tick() { m_flow.tick(); }
    bool holding() const { return m_flow.holding(); }
    int screenWidth() const { return m_state.ScreenWidth; }

    // What the page shows, as plain JavaScript values.
    val view() const
    {
        const View &v = m_flow.view();
        val out = val::object();
        out.set("panel", v.panel);
        out.set("panelTop", v.panelTop);
        out.set("chosenOperation", v.chosenOperation);
        out.set("chosenLevel", v.chosenLevel);
        out.set("surfaceShown", v.surfaceShown);
        out.set("surfaceLeft", v.surfaceLeft);
        out.set("markRow", v.markRow);
        out.set("markRight", v.markRight);
        out.set("ended", v.ended);
        val rows = val::array();
        for (int row = 1; row <= 3; ++row) {
            const RowView &r = m_flow.row(row);
            val one = val::object();
            one.set("open", r.open);
            one.set("remainderShown", r.remainderShown);
            one.set("answerBox", point(r.answerBox));
            one.set("remainderButton", point(r.remainderButton));
            one.set("remainderBox", point(r.remainderBox));
            one.set("answer", r.answer);
            one.set("remainder", r.remainder);
            one.set("status", r.status);
            one.set("problem", r.problem);
            one.set("remainderActive", m_flow.activeBox(row) == Box::Remainder);
            rows.call<void>("push", one);
        }
        out.set("rows", rows);
        return out;
    }

private:
    Page m_page;
    DrillState m_state;
    SeededRandom m_random;
    Flow m_flow;
};

} // namespace

EMSCRIPTEN_BINDINGS(pikomaru)
{
    emscripten::class_<Drill>("Drill")
        .constructor<val>()
        .function("load", &Drill::load)
        .function("chooseOperation", &Drill::chooseOperation)
        .function("chooseLevel", &Drill::chooseLevel)
        .function("decide", &Drill::decide)
        .function("cancel", &Drill::cancel)
        .function("pressSurface", &Drill::pressSurface)
        .function("pressKey", &Drill::pressKey)
        .function("erase", &Drill::erase)
        .function("chooseRemainder", &Drill::chooseRemainder)
        .function("type", &Drill::type)
        .function("check", &Drill::check)
        .function("finish", &Drill::finish)
        .function("exit", &Drill::exit)
        .function("answer", &Drill::answer)
        .function("tick", &Drill::tick)
        .function("holding", &Drill::holding)
        .function("screenWidth", &Drill::screenWidth)
        .function("view", &Drill::view);
}

} // namespace piko::web
