// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The drill for a page's JavaScript: the same flow as the desktop's, its seams answered by a
// JavaScript object. The page draws, keeps time, asks and beeps; the flow decides.
#include "drill/Flow.h"
#include "drill/Operations.h"
#include "drill/Placement.h"
#include "drill/Texts.h"
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

val colour(Rgb c)
{
    val v = val::array();
    v.call<void>("push", c.r);
    v.call<void>("push", c.g);
    v.call<void>("push", c.b);
    return v;
}

val font(const design::Font &f)
{
    val v = val::object();
    v.set("family", std::string(f.family));
    v.set("pixels", design::fontPixels(f.points));
    v.set("bold", f.bold);
    return v;
}

val text(const char *t)
{
    return t ? val(std::string(t)) : val::null();
}

const char *kindName(design::Kind kind)
{
    switch (kind) {
    case design::Kind::Button:
        return "button";
    case design::Kind::Option:
        return "option";
    case design::Kind::TextBox:
        return "textbox";
    case design::Kind::Label:
        return "label";
    case design::Kind::Picture:
        return "picture";
    case design::Kind::Container:
        return "container";
    case design::Kind::Surface:
        return "surface";
    }
    return "";
}

// The window for a screen width, as the page builds it: the controls placed by the layout,
// the panels, the rows' frames and every text the page shows.
val window(int screenWidth)
{
    const design::Layout &layout = design::layoutFor(screenWidth);
    val out = val::object();
    val client = val::object();
    client.set("width", layout.client.width);
    client.set("height", layout.client.height);
    out.set("client", client);
    out.set("caption", std::string(design::kForm1.caption));
    out.set("back", colour(design::kForm1.back));
    out.set("font", font(design::kForm1.font));
    val controls = val::array();
    for (const design::Placed &p : design::placeControls(layout)) {
        const design::Control &c = p.control;
        val one = val::object();
        one.set("kind", std::string(kindName(c.kind)));
        one.set("name", std::string(c.name));
        one.set("index", c.index);
        one.set("parent", std::string(c.parent));
        one.set("parentIndex", c.parentIndex);
        one.set("left", p.place.left);
        one.set("top", p.place.top);
        one.set("width", p.place.width);
        one.set("height", p.place.height);
        one.set("caption", text(c.caption));
        one.set("back", c.back ? colour(*c.back) : val::null());
        one.set("font", c.font ? font(*c.font) : val::null());
        one.set("shown", c.shown);
        controls.call<void>("push", one);
    }
    out.set("controls", controls);
    val panels = val::array();
    for (const OperationDesign &op : operations::kAll) {
        val one = val::object();
        one.set("operation", op.code);
        one.set("caption", text(design::find("Command1", op.code - 1)->caption));
        one.set("picture", std::string(op.panel.picture.name));
        one.set("options", std::string(op.panel.options));
        one.set("levels", int(op.captions.size()));
        one.set("secondColumnFrom", op.panel.secondColumnFrom);
        one.set("decide", std::string(op.panel.decide.name));
        one.set("cancel", std::string(op.panel.cancel.name));
        panels.call<void>("push", one);
    }
    out.set("panels", panels);
    val frame = val::object();
    frame.set("left", rows::kFrameLeft);
    frame.set("top", rows::kFrameTop);
    frame.set("right", rows::kFrameRight);
    frame.set("bottom", rows::kFrameBottom);
    frame.set("spacing", rows::kSpacing);
    frame.set("problem", point(rows::kProblem));
    out.set("frame", frame);
    out.set("panelLeft", design::kPanelLeft);
    out.set("surfaceTop", design::kSurfaceTop);
    out.set("messageFont", font(design::kMessageFont));
    val said = val::object();
    for (auto [key, value] : { std::pair { "caption", texts::kCaption },
             { "invitation", texts::kInvitation }, { "answer", names::kAnswer },
             { "remainder", names::kRemainder }, { "remainderButton", names::kRemainderButton },
             { "erase", names::kErase }, { "check", names::kCheck }, { "keypad", names::kKeypad },
             { "surface", names::kSurface }, { "panelAfter", names::kPanelAfter },
             { "puzzledBoy", names::kPuzzledBoy }, { "girl", names::kGirl },
             { "wavingChildren", names::kWavingChildren }, { "right", names::kRight },
             { "wrong", names::kWrong } })
        said.set(key, std::string(value));
    out.set("names", said);
    return out;
}

std::string rowName(int row)
{
    return names::rowName(row);
}

// Drawing, time, messages and the beep, each a method of one JavaScript object (`page`):
// setCurrentX(x), setCurrentY(y), setForeColor(r, g, b), setFillColor(r, g, b), setSolidFill(on),
// roundRect(l, t, r, b, w, h), fillSquare(l, t, side, r, g, b), print(text), textWidth(text),
// textHeight(), keepArea(l, t, w, h), restoreArea(), timeOfDay(), inform(text), ask(text),
// beep(), and changed() after every change to what the page shows. A question's answer comes
// back through Drill.answer(yes).
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

    void changed() { m_page.call<void>("changed"); }
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
        m_flow.setChanged([this] { m_page.changed(); });
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
    // Runs the page's function after the mark, in order with the input held for it.
    void hold(val input)
    {
        m_flow.hold([input = std::move(input)] { input(); });
    }
    void redraw() { m_flow.redraw(); }
    int rowCount() const { return m_flow.rowCount(); }
    val window() const { return web::window(m_state.ScreenWidth); }
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
        out.set("decided", v.decided);
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
    emscripten::function("rowName", &rowName);
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
        .function("hold", &Drill::hold)
        .function("redraw", &Drill::redraw)
        .function("rowCount", &Drill::rowCount)
        .function("window", &Drill::window)
        .function("screenWidth", &Drill::screenWidth)
        .function("view", &Drill::view);
}

} // namespace piko::web
