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

// A small JSON writer: the page parses the window in one go, much quicker than building it
// value by value across the boundary.
class Json {
public:
    Json &open(char bracket)
    {
        separate();
        m_out += bracket;
        m_first = true;
        return *this;
    }
    Json &close(char bracket)
    {
        m_out += bracket;
        m_first = false;
        return *this;
    }
    Json &key(std::string_view name)
    {
        separate();
        string(name);
        m_out += ':';
        m_first = true;
        return *this;
    }
    Json &value(int v)
    {
        separate();
        m_out += std::to_string(v);
        return *this;
    }
    Json &value(bool v)
    {
        separate();
        m_out += v ? "true" : "false";
        return *this;
    }
    Json &value(const char *text) // nullptr: null
    {
        separate();
        text ? string(text) : void(m_out += "null");
        return *this;
    }
    template<typename T> Json &field(std::string_view name, T v) { return key(name).value(v); }
    Json &field(std::string_view name, Rgb c)
    {
        return key(name).open('[').value(c.r).value(c.g).value(c.b).close(']');
    }
    Json &field(std::string_view name, const design::Font &f)
    {
        key(name).open('{').field("family", f.family);
        return field("pixels", design::fontPixels(f.points)).field("bold", f.bold).close('}');
    }
    Json &field(std::string_view name, Point p)
    {
        return key(name).open('{').field("x", p.x).field("y", p.y).close('}');
    }
    template<typename T> Json &field(std::string_view name, const std::optional<T> &v)
    {
        return v ? field(name, *v) : key(name).value(nullptr);
    }
    const std::string &text() const { return m_out; }

private:
    void separate()
    {
        if (!m_first)
            m_out += ',';
        m_first = false;
    }
    void string(std::string_view s)
    {
        m_out += '"';
        for (const char c : s) {
            if (c == '"' || c == '\\')
                m_out += '\\';
            if (static_cast<unsigned char>(c) < 0x20)
                m_out += "\\u00"
                    + std::string { "0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15] };
            else
                m_out += c;
        }
        m_out += '"';
    }

    std::string m_out;
    bool m_first = true;
};

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
    case design::Kind::Row:
        return "row";
    }
    return "";
}

// The window in one layout, as the page builds it: the controls placed by the layout, the
// panels, the rows' frames and every text the page shows.
void window(Json &j, const design::Layout &layout)
{
    j.open('{');
    j.key("client").open('{').field("width", layout.client.width);
    j.field("height", layout.client.height).close('}');
    j.field("caption", design::kForm1.caption).field("back", design::kForm1.back);
    j.field("font", design::kForm1.font);
    j.key("controls").open('[');
    for (const design::Placed &p : design::placeControls(layout)) {
        const design::Control &c = p.control;
        j.open('{').field("kind", kindName(c.kind)).field("name", c.name).field("index", c.index);
        j.field("parent", c.parent).field("parentIndex", c.parentIndex);
        j.field("left", p.place.left).field("top", p.place.top);
        j.field("width", p.place.width).field("height", p.place.height);
        j.field("caption", c.caption).field("back", c.back).field("font", c.font);
        j.field("shown", c.shown).field("art", c.art).field("spoken", c.spoken).close('}');
    }
    j.close(']').key("panels").open('[');
    for (const OperationDesign &op : operations::kAll) {
        j.open('{').field("operation", op.code);
        j.field("caption", design::find("Command1", op.code - 1)->caption);
        j.field("picture", op.panel.picture.name).field("options", op.panel.options);
        j.field("levels", int(op.captions.size()));
        j.field("secondColumnFrom", op.panel.secondColumnFrom);
        j.field("decide", op.panel.decide.name).field("cancel", op.panel.cancel.name).close('}');
    }
    j.close(']').key("frame").open('{').field("left", rows::kFrameLeft);
    j.field("top", rows::kFrameTop).field("right", rows::kFrameRight);
    j.field("bottom", rows::kFrameBottom).field("spacing", rows::kSpacing);
    j.field("problem", rows::kProblem).close('}');
    j.field("panelLeft", design::kPanelLeft).field("surfaceTop", design::kSurfaceTop);
    j.field("messageFont", design::kMessageFont);
    j.field("activeBox", design::kActiveBox).field("inactiveBox", design::kInactiveBox);
    j.key("names").open('{');
    for (auto [key, value] : { std::pair { "caption", texts::kCaption },
             { "invitation", texts::kInvitation }, { "answer", names::kAnswer },
             { "remainder", names::kRemainder }, { "remainderButton", names::kRemainderButton },
             { "erase", names::kErase }, { "check", names::kCheck }, { "keypad", names::kKeypad },
             { "surface", names::kSurface }, { "panelAfter", names::kPanelAfter },
             { "right", names::kRight }, { "wrong", names::kWrong } })
        j.field(key, value);
    j.close('}').close('}');
}

// Both layouts and the width from which the large one is used, in JSON: the page puts its
// start screen up from this before the drill itself has loaded.
std::string windows()
{
    Json j;
    j.open('{').field("largeFrom", design::kLargeLayoutFrom);
    window(j.key("large"), design::kLarge);
    window(j.key("compact"), design::kCompact);
    j.close('}');
    return j.text();
}

std::string rowName(int row)
{
    return names::rowName(row);
}

// Drawing, time, messages and the beep, each a method of one JavaScript object (`page`):
// setCurrentX(x), setCurrentY(y), setForeColor(r, g, b), setFillColor(r, g, b), setSolidFill(on),
// roundRect(l, t, r, b, w, h), fillSquare(l, t, side, r, g, b), print(text), textWidth(text),
// textHeight(), keepArea(l, t, w, h), restoreArea(), timeOfDay(), inform(text), ask(text),
// beep(), changed() after every change to what the page shows, and announce(text) with what a
// screen reader is to say at once. A question's answer comes back through Drill.answer(yes).
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
    void announce(const std::string &text) { m_page.call<void>("announce", text); }
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
        m_flow.setAnnounce([this](const std::string &text) { m_page.announce(text); });
    }

    void load(double screenWidth, double pixelWidth) { m_flow.load(screenWidth, pixelWidth); }
    void chooseOperation(int operation) { m_flow.chooseOperation(operation); }
    void chooseLevel(int operation, int level) { m_flow.chooseLevel(operation, level); }
    void decide(int operation) { m_flow.decide(operation); }
    void cancel(int operation) { m_flow.cancel(operation); }
    void pressSurface(int x, int y) { m_flow.pressSurface(x, y); }
    void openRow(int row) { m_flow.openRow(row); }
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
    bool anyRowOpen() const { return m_flow.anyRowOpen(); }
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
            one.set("spoken", m_flow.spoken(row));
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
    emscripten::function("windows", &windows);
    emscripten::class_<Drill>("Drill")
        .constructor<val>()
        .function("load", &Drill::load)
        .function("chooseOperation", &Drill::chooseOperation)
        .function("chooseLevel", &Drill::chooseLevel)
        .function("decide", &Drill::decide)
        .function("cancel", &Drill::cancel)
        .function("pressSurface", &Drill::pressSurface)
        .function("openRow", &Drill::openRow)
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
        .function("anyRowOpen", &Drill::anyRowOpen)

        .function("screenWidth", &Drill::screenWidth)
        .function("view", &Drill::view);
}

} // namespace piko::web
