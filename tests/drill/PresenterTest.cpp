// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "drill/Presenter.h"

#include "DrillTestSupport.h"
#include "drill/Texts.h"

#include <gtest/gtest.h>

namespace piko::test {
namespace {

ControlId id(const char *text)
{
    const auto parsed = parseId(text);
    EXPECT_TRUE(parsed) << text;
    return parsed.value_or(ControlId {});
}

// A face that keeps what it is told.
struct Face final : FaceEvents {
    void show(ControlId control, const ControlView &view) override { shown[control] = view; }
    void focus(ControlId control) override { focused = idText(control); }
    void announce(const std::string &text) override
    {
        said.push_back(text + (focused.empty() ? "" : " @" + focused));
    }
    void tickEvery(int ms) override { ticking = ms; }
    void close() override { closed = true; }
    std::map<ControlId, ControlView> shown;
    std::string focused;
    std::vector<std::string> said;
    int ticking = 0;
    bool closed = false;
};

struct Window {
    explicit Window(double width = 1024)
    {
        presenter.load(width, 1);
        presenter.showAll();
    }
    const ControlView &view(const char *control) { return face.shown.at(id(control)); }
    bool key(Key k) { return presenter.key(k); }
    void keys(std::initializer_list<Key> ks)
    {
        for (Key k : ks)
            presenter.key(k);
    }
    void click(const char *control) { presenter.click(id(control)); }
    // The platform moved the focus (a click into a box).
    void focusOn(const char *control)
    {
        face.focused = control;
        presenter.focused(id(control));
    }
    void settle()
    {
        clock.advancing = true;
        for (int i = 0; i < 10 && presenter.holding(); ++i)
            presenter.tick();
        ASSERT_FALSE(presenter.holding());
    }
    // The operation's panel, its level and けってい, by the keyboard alone.
    void decide(const char *operation, int downs)
    {
        click(operation);
        for (int i = 0; i < downs; ++i)
            key(Key::Down);
        keys({ Key::Tab, Key::Enter });
    }

    DrillState state;
    RecordingCanvas canvas;
    TestClock clock;
    TestMessages messages;
    CountingBeeper beeper;
    SeededRandom random { 7 };
    Face face;
    Presenter presenter { state, { canvas, clock, messages, beeper, random }, face };
};

TEST(Controls, IdsReadBackAsWritten)
{
    for (const char *text : { "Command6(12)", "Command2", "Row(2)", "Option1(25)" })
        EXPECT_EQ(idText(id(text)), text);
    for (const char *bad :
        { "Command6(", "Command6()", "Command6(1a)", "Nothing(1)", "Command6(123456)", "" })
        EXPECT_FALSE(parseId(bad)) << bad;
}

// The focus follows the drill, by the keyboard alone: into the panel, onto the first row, into
// the answer box, onto the pink box, back into the answer box when the mark ends, and back to
// the open row when a panel over it is cancelled.
TEST(Presenter, TheFocusFollowsTheDrill)
{
    Window w;
    EXPECT_EQ(w.face.focused, "Command1(0)");
    w.keys({ Key::Tab, Key::Tab, Key::Tab, Key::Enter });
    EXPECT_EQ(w.face.focused, "Option1(0)");
    w.keys({ Key::Down, Key::Down, Key::Down });
    EXPECT_TRUE(w.view("Option1(3)").checked);
    w.keys({ Key::Tab, Key::Enter });
    EXPECT_EQ(w.face.focused, "Row(0)");
    EXPECT_FALSE(w.view("Row(0)").name.empty());
    w.key(Key::Enter);
    EXPECT_EQ(w.face.focused, "Text1(0)");
    ASSERT_EQ(w.face.said.size(), 1u);
    EXPECT_EQ(w.face.said[0], w.view("Row(0)").name + " @Text1(0)") << "said after the focus";
    w.click("Command9(0)");
    EXPECT_EQ(w.face.focused, "Text2(0)");
    EXPECT_EQ(*w.view("Text2(0)").back, design::kActiveBox);
    w.clock.advancing = false;
    w.key(Key::Enter); // an empty answer: a message, no mark
    EXPECT_EQ(w.messages.shown.back(), texts::kNoAnswer);
    w.focusOn("Text1(0)");
    EXPECT_EQ(*w.view("Text1(0)").back, design::kActiveBox) << "the box with the focus is pink";
    w.click("Command6(1)");
    w.focusOn("Command5(0)");
    w.key(Key::Enter);
    EXPECT_EQ(w.face.ticking, Presenter::kMarkTickMs);
    EXPECT_EQ(w.view("Text1(0)").description, names::kWrong);
    w.settle();
    EXPECT_EQ(w.face.ticking, 0);
    EXPECT_EQ(w.face.focused, "Text1(0)");
    EXPECT_EQ(w.view("Text1(0)").description, "");

    w.click("Command1(1)");
    EXPECT_EQ(w.face.focused, "Option3(0)");
    EXPECT_FALSE(w.presenter.reachable(id("Text1(0)"))) << "the rows are out of reach";
    w.key(Key::BackTab);
    EXPECT_EQ(w.face.focused, "Command2");
    w.keys({ Key::Tab, Key::Tab, Key::Tab });
    EXPECT_EQ(w.face.focused, "Command13");
    w.key(Key::Enter);
    EXPECT_EQ(w.face.focused, "Text1(0)") << "back where the pupil was";
}

// Tab goes round what is reachable (a level list is one stop); arrows move in a level list,
// never onto a level the panel does not offer, and between rows; Enter and Space press.
TEST(Presenter, EveryKeyOnEveryKindOfControl)
{
    Window w;
    std::vector<std::string> round;
    for (int i = 0; i < 6; ++i) {
        w.key(Key::Tab);
        round.push_back(w.face.focused);
    }
    EXPECT_EQ(round,
        (std::vector<std::string> { "Command1(1)", "Command1(2)", "Command1(3)", "Command2",
            "Command1(0)", "Command1(1)" }));

    w.click("Command1(3)"); // division: levels 25 and 26 hidden
    w.focusOn("Option1(23)");
    w.key(Key::Down);
    EXPECT_EQ(w.face.focused, "Option1(23)");
    w.focusOn("Option1(9)");
    EXPECT_TRUE(w.key(Key::Right)) << "onto level 26: not offered";
    EXPECT_EQ(w.face.focused, "Option1(9)");
    w.keys({ Key::Left, Key::Down, Key::Space });
    EXPECT_TRUE(w.view("Option1(10)").checked);
    w.keys({ Key::Tab, Key::BackTab });
    EXPECT_EQ(w.face.focused, "Option1(10)") << "back onto the chosen level";
    EXPECT_FALSE(w.key(Key::Escape));
    w.keys({ Key::Tab, Key::Space });

    EXPECT_EQ(w.face.focused, "Row(0)");
    EXPECT_TRUE(w.key(Key::Right)) << "no platform's own focus move";
    EXPECT_EQ(w.face.focused, "Row(0)");
    w.key(Key::Down);
    w.key(Key::Space);
    EXPECT_EQ(w.face.focused, "Text1(1)");
    EXPECT_TRUE(w.key(Key::Up));
    EXPECT_EQ(w.face.focused, "Row(0)");
    w.key(Key::Down);
    EXPECT_FALSE(w.key(Key::Left)) << "the box moves its cursor itself";
    EXPECT_FALSE(w.key(Key::Space));
    w.key(Key::Tab);
    EXPECT_EQ(w.face.focused, "Command9(1)");
    w.key(Key::Enter);
    EXPECT_EQ(w.face.focused, "Text2(1)");
    EXPECT_TRUE(w.key(Key::Down));
    EXPECT_EQ(w.face.focused, "Row(2)");
    EXPECT_TRUE(w.key(Key::Down));
    EXPECT_EQ(w.face.focused, "Row(2)") << "no fourth row";
}

// What a press at a point hits: the surface with any button, the pictures and the prompt
// nothing, a button with the left button alone and without the focus, nothing under a panel.
TEST(Presenter, APressHitsWhatIsThere)
{
    Window w;
    EXPECT_EQ(w.presenter.press({ 50, 20 }, MouseButton::Left), Press::KeepFocus); // Command1(0)
    EXPECT_EQ(w.presenter.press({ 50, 20 }, MouseButton::Right), Press::Taken);
    w.decide("Command1(0)", 1);
    const Rect surface = w.view("Picture1").place;
    const Point row2 { surface.left + 100, surface.top + 200 + 150 };
    EXPECT_EQ(w.presenter.press(row2, MouseButton::Right), Press::Taken);
    EXPECT_TRUE(w.view("Text1(1)").shown) << "any button opens a row";
    EXPECT_EQ(w.face.focused, "Text1(1)");
    const Rect picture = w.view("Picture4").place;
    EXPECT_EQ(w.presenter.press({ surface.left + picture.left + 5, surface.top + picture.top + 5 },
                  MouseButton::Left),
        Press::Taken);
    EXPECT_EQ(w.presenter.press({ surface.left + 100, surface.top + 150 }, MouseButton::Left),
        Press::Taken);
    EXPECT_TRUE(w.view("Text1(0)").shown);
    const Rect box = w.view("Text1(0)").place;
    EXPECT_EQ(w.presenter.press(
                  { surface.left + box.left + 3, surface.top + box.top + 3 }, MouseButton::Left),
        Press::Native);

    w.click("Command1(2)");
    EXPECT_FALSE(w.view("Picture1").enabled);
    w.presenter.press({ surface.left + 100, surface.top + 550 }, MouseButton::Right);
    EXPECT_FALSE(w.view("Text1(2)").shown) << "no row opens under a panel";
}

// The layouts: two rows from exactly 1000 pixels down, the compact one below; closing asks
// only with a row open, and the face is told to close once.
TEST(Presenter, RowsLayoutsAndClosing)
{
    for (auto [width, rows, compact] :
        { std::tuple { 1001, 3, false }, { 1000, 2, false }, { 999, 2, true } }) {
        Window w(width);
        EXPECT_EQ(w.presenter.layout().client == design::kCompact.client, compact) << width;
        EXPECT_TRUE(w.presenter.closing());
        w.decide("Command1(0)", 1);
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(w.view(idText({ Name::Row, r }).c_str()).shown, r < rows) << width;
        w.click("Row(0)");
        EXPECT_TRUE(w.presenter.leavingAsks());
        w.messages.answers = { false, true };
        EXPECT_FALSE(w.presenter.closing());
        EXPECT_FALSE(w.face.closed);
        EXPECT_TRUE(w.presenter.closing());
        EXPECT_TRUE(w.face.closed);
    }
}

} // namespace
} // namespace piko::test
