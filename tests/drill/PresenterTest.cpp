// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "drill/Presenter.h"

#include "DrillTestSupport.h"

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
    void announce(const std::string &) override { }
    void tickEvery(int) override { }
    void close() override { }
    std::map<ControlId, ControlView> shown;
    std::string focused;
};

struct Window {
    explicit Window(double width = 1024)
    {
        presenter.load(width, 1);
        presenter.showAll();
    }
    const ControlView &view(const char *control) { return face.shown.at(id(control)); }
    void click(const char *control) { presenter.click(id(control)); }

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

// What a press at a point hits: the surface with any button, the pictures and the prompt
// nothing, a button with the left button alone and without the focus, nothing under a panel.
TEST(Presenter, APressHitsWhatIsThere)
{
    Window w;
    EXPECT_EQ(w.presenter.press({ 50, 20 }, MouseButton::Left), Press::KeepFocus); // Command1(0)
    EXPECT_EQ(w.presenter.press({ 50, 20 }, MouseButton::Right), Press::Taken);
    for (const char *control : { "Command1(0)", "Option2(1)", "Command10" })
        w.click(control);
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

} // namespace
} // namespace piko::test
