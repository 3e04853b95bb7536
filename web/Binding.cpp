// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The drill for a page's JavaScript: the same presenter as the desktop's, its seams and events
// answered by a JavaScript object. The page draws, keeps time, asks, beeps and shows what it is
// told; the presenter decides.
#include "drill/Presenter.h"
#include "drill/Texts.h"
#include "drill/Worksheet.h"
#include "generators/Random.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <string>
#include <utility>

namespace piko::web {
namespace {

using emscripten::val;

val colour(const std::optional<Rgb> &c)
{
    return c ? val(*c) : val::null();
}

val textOrNull(const char *text)
{
    return text ? val(std::string(text)) : val::null();
}

// A font as the page sets it: the design's family (the page has a font of its own for each),
// its size in pixels and its weight.
struct Font {
    std::string family;
    int pixels = 0;
    bool bold = false;
};

Font fontOf(const design::Font &f)
{
    return { f.family, design::fontPixels(f.points), f.bold };
}

// A worksheet as the page prints it: its pages and every text and box on them, in millimetres
// (worksheet::place), and the problems with their answers; null for none.
val printable(const std::optional<Worksheet> &sheet)
{
    if (!sheet)
        return val::null();
    const worksheet::Sheet placed = worksheet::place(*sheet);
    val items = val::array();
    for (const worksheet::Item &i : placed.items) {
        val item = val::object();
        item.set("kind",
            i.kind == worksheet::Item::Kind::Text      ? "text"
                : i.kind == worksheet::Item::Kind::Box ? "box"
                                                       : "line");
        item.set("page", i.page);
        item.set("left", i.left);
        item.set("top", i.top);
        item.set("width", i.width);
        item.set("height", i.height);
        item.set("text", i.text);
        item.set("points", i.points);
        item.set("family", std::string(i.family));
        item.set("bold", i.bold);
        item.set("right", i.right);
        items.call<void>("push", item);
    }
    val problems = val::array();
    for (const WorksheetProblem &p : sheet->problems) {
        val problem = val::object();
        problem.set("number", p.number);
        problem.set("text", p.text);
        problem.set("answer", p.answer);
        problem.set("remainder", p.remainder);
        problems.call<void>("push", problem);
    }
    val out = val::object();
    out.set("seed", sheet->seed);
    out.set("remainder", sheet->remainder);
    out.set("pages", 2 * placed.pages);
    out.set("width", worksheet::kLayout.pageWidth);
    out.set("height", worksheet::kLayout.pageHeight);
    out.set("items", items);
    out.set("problems", problems);
    return out;
}

// The worksheet of a level with a seed, as the command line makes it.
val worksheetOf(int operation, int level, int count, double seed)
{
    return printable(makeWorksheet({ operation, level, count, static_cast<std::uint32_t>(seed) }));
}

std::string noLevelToPrint()
{
    return texts::kNoLevelToPrint;
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
    case design::Kind::Row:
        return "row";
    }
    return "";
}

// A control as the page builds it, read through these.
std::string controlId(const FaceControl &c)
{
    return idText(c.id);
}
val controlParent(const FaceControl &c)
{
    return c.parent ? val(idText(*c.parent)) : val::null();
}
std::string controlKind(const FaceControl &c)
{
    return kindName(c.design.kind);
}
val controlCaption(const FaceControl &c)
{
    return textOrNull(c.design.caption);
}
val controlBack(const FaceControl &c)
{
    return colour(c.design.back);
}
val controlFont(const FaceControl &c)
{
    return c.design.font ? val(fontOf(*c.design.font)) : val::null();
}
val controlArt(const FaceControl &c)
{
    return textOrNull(c.design.art);
}
template<typename T> void readOnly(FaceControl &, T) { }

val viewBack(const ControlView &v)
{
    return colour(v.back);
}
void setViewBack(ControlView &, val) { }

// The window as a whole: its client area in the chosen layout, caption, colour and fonts.
struct Form {
    int width = 0, height = 0;
    std::string caption;
    Rgb back;
    Font font, messageFont;
};

// The message boxes: their caption, buttons, and which button a question opens on and what
// Escape answers.
struct Dialog {
    std::string caption, yes, no, ok;
    bool questionFocusYes = false;
    bool escapeAnswers = false;
};

Dialog dialog()
{
    return { texts::kCaption, texts::kYes, texts::kNo, texts::kOk,
        kQuestionFocus == DialogButton::Yes, kEscapeAnswers };
}

int largeLayoutFrom()
{
    return design::kLargeLayoutFrom;
}

// Drawing, time, messages, the beep and the presenter's events, each a method of one JavaScript
// object (`page`): setCurrentX(x), setCurrentY(y), setForeColor(r, g, b), setFillColor(r, g, b),
// setSolidFill(on), roundRect(l, t, r, b, w, h), fillSquare(l, t, side, r, g, b), print(text),
// textWidth(text), textHeight(), keepArea(l, t, w, h), restoreArea(), timeOfDay(), inform(text),
// ask(text), beep(); show(id, view), focus(id), announce(text), tickEvery(ms),
// markShown(row, right), problemShown(row) and close(). A question's answer comes back through
// Drill.answer(yes).
class Page final : public Canvas, public Clock, public Messages, public Beeper, public FaceEvents {
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

    void show(ControlId id, const ControlView &view) override
    {
        m_page.call<void>("show", idText(id), view);
    }
    void focus(ControlId id) override { m_page.call<void>("focus", idText(id)); }
    void announce(const std::string &text) override { m_page.call<void>("announce", text); }
    void tickEvery(int ms) override { m_page.call<void>("tickEvery", ms); }
    void markShown(int row, bool right) override { m_page.call<void>("markShown", row, right); }
    void problemShown(int row) override { m_page.call<void>("problemShown", row); }
    void close() override { m_page.call<void>("close"); }

    void answer(bool yes)
    {
        if (auto answer = std::exchange(m_answer, nullptr))
            answer(yes);
    }

private:
    val m_page;
    std::function<void(bool)> m_answer;
};

ControlId idOf(const std::string &text)
{
    return parseId(text).value_or(ControlId {});
}

// One drill: its state, its random source and the presenter, driven by the page's input.
// Controls are named by their ids ("Command6(12)"); an unknown id names no control.
class Drill {
public:
    explicit Drill(val page)
        : m_page(std::move(page)),
          m_presenter(m_state, { m_page, m_page, m_page, m_page, m_random }, m_page)
    {
    }

    void load(double screenWidth, double pixelWidth) { m_presenter.load(screenWidth, pixelWidth); }
    Form form() const
    {
        const design::Layout &layout = m_presenter.layout();
        return { layout.client.width, layout.client.height, design::kForm1.caption,
            design::kForm1.back, fontOf(design::kForm1.font), fontOf(design::kMessageFont) };
    }
    std::vector<FaceControl> controls() const { return m_presenter.controls(); }
    ControlView view(const std::string &id) const
    {
        const auto parsed = parseId(id);
        return parsed ? m_presenter.view(*parsed) : m_presenter.view({ Name::Row, 9 });
    }
    void showAll() { m_presenter.showAll(); }

    void click(const std::string &id)
    {
        if (const auto parsed = parseId(id))
            m_presenter.click(*parsed);
    }
    // A button going down at (x, y) of the client area in design pixels: 1 left, 2 right,
    // 4 middle. "native", "keepFocus" or "taken".
    std::string press(int x, int y, int button)
    {
        const MouseButton b = button == 2 ? MouseButton::Right
            : button == 4                 ? MouseButton::Middle
                                          : MouseButton::Left;
        switch (m_presenter.press({ x, y }, b)) {
        case Press::Native:
            return "native";
        case Press::KeepFocus:
            return "keepFocus";
        case Press::Taken:
            break;
        }
        return "taken";
    }
    // "Tab", "BackTab", "Up", "Down", "Left", "Right", "Enter", "Space" or "Escape".
    bool key(const std::string &name)
    {
        static constexpr std::pair<const char *, Key> kKeys[] { { "Tab", Key::Tab },
            { "BackTab", Key::BackTab }, { "Up", Key::Up }, { "Down", Key::Down },
            { "Left", Key::Left }, { "Right", Key::Right }, { "Enter", Key::Enter },
            { "Space", Key::Space }, { "Escape", Key::Escape } };
        for (const auto &[text, key] : kKeys)
            if (name == text)
                return m_presenter.key(key);
        return false;
    }
    void focused(const std::string &id)
    {
        if (const auto parsed = parseId(id))
            m_presenter.focused(*parsed);
    }
    void type(const std::string &box, const std::string &text)
    {
        if (const auto parsed = parseId(box))
            m_presenter.type(*parsed, text);
    }
    val focus() const
    {
        const auto focus = m_presenter.focus();
        return focus ? val(idText(*focus)) : val::null();
    }
    bool reachable(const std::string &id) const
    {
        const auto parsed = parseId(id);
        return parsed && m_presenter.reachable(*parsed);
    }
    int rowOf(const std::string &id) const { return Presenter::rowOf(idOf(id)); }

    void answer(bool yes) { m_page.answer(yes); }
    void tick() { m_presenter.tick(); }
    // Runs the page's function after the mark, in order with the input held for it.
    void hold(val input)
    {
        m_presenter.hold([input = std::move(input)] { input(); });
    }
    bool holding() const { return m_presenter.holding(); }
    bool closing() { return m_presenter.closing(); }
    bool leavingAsks() const { return m_presenter.leavingAsks(); }
    void redraw() { m_presenter.redraw(); }
    // The chosen level's worksheet, seeded from the time of day, or null with none chosen.
    val worksheet() { return printable(m_presenter.worksheet(false)); }

private:
    Page m_page;
    DrillState m_state;
    SeededRandom m_random;
    Presenter m_presenter;
};

} // namespace

EMSCRIPTEN_BINDINGS(pikomaru)
{
    using namespace emscripten;
    value_object<Rect>("Rect")
        .field("left", &Rect::left)
        .field("top", &Rect::top)
        .field("width", &Rect::width)
        .field("height", &Rect::height);
    value_array<Rgb>("Rgb").element(&Rgb::r).element(&Rgb::g).element(&Rgb::b);
    value_object<Font>("Font")
        .field("family", &Font::family)
        .field("pixels", &Font::pixels)
        .field("bold", &Font::bold);
    value_object<ControlView>("ControlView")
        .field("shown", &ControlView::shown)
        .field("enabled", &ControlView::enabled)
        .field("place", &ControlView::place)
        .field("fontPixels", &ControlView::fontPixels)
        .field("name", &ControlView::name)
        .field("description", &ControlView::description)
        .field("text", &ControlView::text)
        .field("checked", &ControlView::checked)
        .field("back", &viewBack, &setViewBack);
    value_object<FaceControl>("FaceControl")
        .field("id", &controlId, &readOnly<std::string>)
        .field("parent", &controlParent, &readOnly<val>)
        .field("kind", &controlKind, &readOnly<std::string>)
        .field("caption", &controlCaption, &readOnly<val>)
        .field("back", &controlBack, &readOnly<val>)
        .field("font", &controlFont, &readOnly<val>)
        .field("art", &controlArt, &readOnly<val>);
    register_vector<FaceControl>("FaceControls");
    value_object<Form>("Form")
        .field("width", &Form::width)
        .field("height", &Form::height)
        .field("caption", &Form::caption)
        .field("back", &Form::back)
        .field("font", &Form::font)
        .field("messageFont", &Form::messageFont);
    value_object<Dialog>("Dialog")
        .field("caption", &Dialog::caption)
        .field("yes", &Dialog::yes)
        .field("no", &Dialog::no)
        .field("ok", &Dialog::ok)
        .field("questionFocusYes", &Dialog::questionFocusYes)
        .field("escapeAnswers", &Dialog::escapeAnswers);
    function("dialog", &dialog);
    function("largeLayoutFrom", &largeLayoutFrom);
    function("worksheet", &worksheetOf);
    function("noLevelToPrint", &noLevelToPrint);
    class_<Drill>("Drill")
        .constructor<val>()
        .function("load", &Drill::load)
        .function("form", &Drill::form)
        .function("controls", &Drill::controls)
        .function("view", &Drill::view)
        .function("showAll", &Drill::showAll)
        .function("click", &Drill::click)
        .function("press", &Drill::press)
        .function("key", &Drill::key)
        .function("focused", &Drill::focused)
        .function("type", &Drill::type)
        .function("focus", &Drill::focus)
        .function("reachable", &Drill::reachable)
        .function("rowOf", &Drill::rowOf)
        .function("answer", &Drill::answer)
        .function("tick", &Drill::tick)
        .function("hold", &Drill::hold)
        .function("holding", &Drill::holding)
        .function("closing", &Drill::closing)
        .function("leavingAsks", &Drill::leavingAsks)
        .function("redraw", &Drill::redraw)
        .function("worksheet", &Drill::worksheet);
}

} // namespace piko::web
