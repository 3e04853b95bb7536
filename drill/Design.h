// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "generators/Surface.h"
#include "state/RowGeometry.h"

#include <array>
#include <optional>

// The window's design as data: every control with its name, place, caption, colours and font,
// and the two layouts. Places are in twips (15 to a pixel) relative to the parent, as designed;
// faces build their controls from these tables and never restate them.
namespace piko::design {

using Rect = piko::Rect; // in pixels
using Twips = piko::Rect; // as designed
constexpr Rect pixels(Twips t)
{
    return { t.left / 15, t.top / 15, t.width / 15, t.height / 15 };
}

// Design font names; a face maps each to the nearest installed Japanese family of its kind.
inline constexpr const char *kPMincho = "ＭＳ Ｐ明朝"; // proportional Mincho
inline constexpr const char *kMincho = "ＭＳ 明朝"; // fixed-pitch Mincho
inline constexpr const char *kGothic = "ＭＳ ゴシック"; // fixed-pitch Gothic
inline constexpr const char *kPGothic = "ＭＳ Ｐゴシック"; // proportional Gothic

struct Font {
    const char *family = kPMincho;
    double points = 9;
    bool bold = false;
};

enum class Kind : std::uint8_t {
    Button,
    Option,
    TextBox,
    Label,
    Picture, // a decorative picture
    Container, // a borderless box holding other controls (level panel, keypad)
    Surface, // the drill surface Picture1
    Row, // a problem row's own button: no design control, the keyboard's way into a row
};

// One control. `index` is its place in its control array, or -1 for a single control.
struct Control {
    Kind kind = Kind::Button;
    const char *name = "";
    int index = -1;
    const char *parent = "Form1";
    int parentIndex = -1; // the parent's index in its array (a keypad's row − 1)
    Twips place {};
    const char *caption = nullptr;
    std::optional<Rgb> back = std::nullopt; // none: the toolkit's default colour
    std::optional<Font> font = std::nullopt; // none: the parent's font
    bool shown = true;
    const char *art = nullptr; // a picture's drawing: a file of art/
    const char *spoken = nullptr; // what a screen reader says for a control with no caption
};

// clang-format off
inline constexpr Rgb kFormBack { 192, 255, 192 };
inline constexpr Rgb kOperationBack { 0, 192, 192 };
inline constexpr Rgb kSurfaceBack { 255, 255, 192 };
inline constexpr Rgb kRowButtonBack { 192, 255, 192 };
inline constexpr Rgb kActiveBox { 255, 200, 200 };
inline constexpr Rgb kInactiveBox { 200, 200, 200 };

inline constexpr Font kOperationFont { kPMincho, 20.25, true };
inline constexpr Font kRowButtonFont { kPMincho, 18, true };
// The boxes and digit buttons have no design font: digits large enough to fill a 40-pixel box
// and a 37-pixel button, in the window's own family.
inline constexpr Font kBoxFont { kPMincho, 24, true };
inline constexpr Font kDigitFont { kPMincho, 21, true };

struct Window {
    const char *caption;
    Rgb back;
    Font font;
};
inline constexpr Window kForm1 { "ぴこまる Ver1.0.1 (ぴこまる）     けいさんれんしゅう", kFormBack, { kPMincho, 26.25, true } };

// The window's controls in the order they are made (later ones lie on top), level panels apart.
inline constexpr std::array kControls {
    Control { .name = "Command1", .index = 0, .place = {   240,   60, 1815, 615 }, .caption = "たしざん", .back = kOperationBack, .font = kOperationFont },
    Control { .name = "Command1", .index = 1, .place = {  2160,   60, 1815, 615 }, .caption = "ひきざん", .back = kOperationBack, .font = kOperationFont },
    Control { .name = "Command1", .index = 2, .place = {  4080,   60, 1815, 615 }, .caption = "かけざん", .back = kOperationBack, .font = kOperationFont },
    Control { .name = "Command1", .index = 3, .place = {  6000,   60, 1815, 615 }, .caption = "わりざん", .back = kOperationBack, .font = kOperationFont },
    Control { .name = "Command2",             .place = { 11280,   60, 3855, 615 }, .caption = "「ぴこまる」おわり", .back = kOperationBack, .font = kOperationFont },
    Control { .kind = Kind::Surface, .name = "Picture1", .place = { -180, 3840, 15135, 10155 }, .back = kSurfaceBack, .font = Font { kGothic, 24, false }, .shown = false },

    // On the drill surface.
    Control { .kind = Kind::Label, .name = "Label1", .parent = "Picture1", .place = {   240,  180, 5850,  555 }, .caption = "つぎのけいさんをしましょう。", .back = Rgb { 192, 255, 255 }, .font = Font { kPMincho, 24, true } },
    Control { .name = "Command8",             .parent = "Picture1", .place = {  8760,  180, 2055,  555 }, .caption = "終わる", .back = kFormBack, .font = Font { kPMincho, 21.75, true } },
    Control { .kind = Kind::Picture, .name = "Picture3", .parent = "Picture1", .place = { 11520,  180, 3390, 3585 }, .back = kSurfaceBack, .art = "puzzled-boy.svg", .spoken = "あたまを かく おとこのこ" },
    Control { .kind = Kind::Picture, .name = "Picture2", .parent = "Picture1", .place = { 12000, 3840, 2595, 2850 }, .back = kSurfaceBack, .art = "girl.svg", .spoken = "おさげの おんなのこ" },
    Control { .kind = Kind::Picture, .name = "Picture4", .parent = "Picture1", .place = { 11580, 6660, 3195, 3405 }, .back = kSurfaceBack, .art = "waving-children.svg", .spoken = "てを ふる こどもたち" },

    // Each problem row's controls, row by row; array index = row − 1.
    Control { .kind = Kind::TextBox, .name = "Text1", .index = 0, .parent = "Picture1", .place = { 4920, 1440, 1875, 600 }, .font = kBoxFont, .shown = false },
    Control { .kind = Kind::TextBox, .name = "Text2", .index = 0, .parent = "Picture1", .place = { 4920, 2160, 1815, 585 }, .font = kBoxFont, .shown = false },
    Control { .name = "Command9", .index = 0, .parent = "Picture1", .place = { 8640, 2220, 1275, 585 }, .caption = "あまり", .back = kRowButtonBack, .font = kRowButtonFont, .shown = false },
    Control { .name = "Command5", .index = 0, .parent = "Picture1", .place = { 8580, 3120, 1515, 585 }, .caption = "ﾁｪｯｸ", .back = kRowButtonBack, .font = kRowButtonFont, .shown = false },
    Control { .kind = Kind::Container, .name = "Picture6", .index = 0, .parent = "Picture1", .place = { 2100, 3120, 6435, 615 }, .shown = false },
    Control { .kind = Kind::TextBox, .name = "Text1", .index = 1, .parent = "Picture1", .place = { 4680, 5040, 1875, 600 }, .font = kBoxFont, .shown = false },
    Control { .kind = Kind::TextBox, .name = "Text2", .index = 1, .parent = "Picture1", .place = { 6720, 5160, 1815, 585 }, .font = kBoxFont, .shown = false },
    Control { .name = "Command9", .index = 1, .parent = "Picture1", .place = { 8460, 3900, 1275, 585 }, .caption = "あまり", .back = kRowButtonBack, .font = kRowButtonFont, .shown = false },
    Control { .name = "Command5", .index = 1, .parent = "Picture1", .place = { 8580, 6120, 1515, 585 }, .caption = "ﾁｪｯｸ", .back = kRowButtonBack, .font = kRowButtonFont, .shown = false },
    Control { .kind = Kind::Container, .name = "Picture6", .index = 1, .parent = "Picture1", .place = { 2100, 6120, 6435, 615 }, .shown = false },
    Control { .kind = Kind::TextBox, .name = "Text1", .index = 2, .parent = "Picture1", .place = { 4800, 7920, 1875, 600 }, .font = kBoxFont, .shown = false },
    Control { .kind = Kind::TextBox, .name = "Text2", .index = 2, .parent = "Picture1", .place = { 6720, 7920, 1815, 585 }, .font = kBoxFont, .shown = false },
    Control { .name = "Command9", .index = 2, .parent = "Picture1", .place = { 8460, 4560, 1275, 585 }, .caption = "あまり", .back = kRowButtonBack, .font = kRowButtonFont, .shown = false },
    Control { .name = "Command5", .index = 2, .parent = "Picture1", .place = { 8580, 9240, 1515, 585 }, .caption = "ﾁｪｯｸ", .back = kRowButtonBack, .font = kRowButtonFont, .shown = false },
    Control { .kind = Kind::Container, .name = "Picture6", .index = 2, .parent = "Picture1", .place = { 2100, 9240, 6435, 615 }, .shown = false },
};

// A keypad Picture6(r) holds ten digit buttons Command6 and the erase button Command7(r).
// Digit d stands at Left 540·d; its index follows keypadIndex (Keypad.h).
inline constexpr Control kDigit { .name = "Command6", .place = { 0, 0, 555, 555 }, .back = kRowButtonBack, .font = kDigitFont };
inline constexpr int kDigitStep = 540;
inline constexpr Control kErase { .name = "Command7", .place = { 5400, 0, 975, 555 }, .caption = "けす", .back = kRowButtonBack, .font = Font { kPMincho, 14.25, true } };

// The four level panels, in operation order (addition .. division), each with its heading
// Label2, its options, its decide button "けってい" and its cancel button "ｷｬﾝｾﾙ" (default colour).
struct Panel {
    Control picture;
    Control heading;
    const char *options; // the option array's name; captions come with the operation
    Twips optionSize;
    int secondColumnFrom; // first option of column 2; the option count when one column
    std::array<int, 2> compactWidths; // column 1, column 2
    Control decide, cancel;
};
inline constexpr Font kPanelButtonFont { kPMincho, 14.25, true };
inline constexpr Font kHeadingFont { kMincho, 21.75, true };
inline constexpr Font kOptionFont { kGothic, 15.75, true };
inline constexpr Twips kDecidePlace { 12480, 60, 1335, 615 }, kCancelPlace { 13860, 60, 1335, 615 };

inline constexpr std::array<Panel, 4> kPanels { {
    { .picture = { .kind = Kind::Container, .name = "Picture7", .place = {  1140,  360, 15315, 10215 }, .back = Rgb { 239, 239, 255 }, .shown = false },
      .heading = { .kind = Kind::Label, .name = "Label2", .index = 1, .place = { 180, 180, 12615, 435 }, .caption = "○たしざん　どれをれんしゅうしますか。えらんでください。", .font = kHeadingFont },
      .options = "Option2", .optionSize = { 0, 0, 6975, 555 }, .secondColumnFrom = 16, .compactWidths = { 400, 400 },
      .decide = { .name = "Command10", .place = kDecidePlace, .caption = "けってい", .font = kPanelButtonFont },
      .cancel = { .name = "Command11", .place = kCancelPlace, .caption = "ｷｬﾝｾﾙ", .font = Font { kPMincho, 12, true } } },
    { .picture = { .kind = Kind::Container, .name = "Picture8", .place = {  -180, 3360, 15315, 10215 }, .back = Rgb { 255, 240, 255 }, .shown = false },
      .heading = { .kind = Kind::Label, .name = "Label2", .index = 2, .place = { 180, 180, 12615, 435 }, .caption = "○ひきざん　どれをれんしゅうしますか。えらんでください。", .font = kHeadingFont },
      .options = "Option3", .optionSize = { 0, 0, 7215, 495 }, .secondColumnFrom = 13, .compactWidths = { 400, 400 },
      .decide = { .name = "Command12", .place = kDecidePlace, .caption = "けってい", .font = kPanelButtonFont },
      .cancel = { .name = "Command13", .place = kCancelPlace, .caption = "ｷｬﾝｾﾙ", .font = kPanelButtonFont } },
    { .picture = { .kind = Kind::Container, .name = "Picture9", .place = { -4620, 2400, 15315, 10215 }, .back = Rgb { 255, 192, 192 }, .font = kPanelButtonFont, .shown = false },
      .heading = { .kind = Kind::Label, .name = "Label2", .index = 3, .place = { 120, 120, 12615, 435 }, .caption = "○かけざん　どれをれんしゅうしますか。えらんでください。", .font = kHeadingFont },
      .options = "Option4", .optionSize = { 0, 0, 7215, 735 }, .secondColumnFrom = 16, .compactWidths = { 380, 380 },
      .decide = { .name = "Command14", .place = kDecidePlace, .caption = "けってい", .font = kPanelButtonFont },
      .cancel = { .name = "Command15", .place = kCancelPlace, .caption = "ｷｬﾝｾﾙ", .font = kPanelButtonFont } },
    { .picture = { .kind = Kind::Container, .name = "Picture5", .place = { -2280,  960, 15315, 10215 }, .back = Rgb { 192, 255, 255 }, .font = Font { kPGothic, 18, false }, .shown = false },
      .heading = { .kind = Kind::Label, .name = "Label2", .index = 0, .place = { 120, 120, 10815, 435 }, .caption = "○わり算　どれを練習しますか。えらんでください。", .font = kHeadingFont },
      .options = "Option1", .optionSize = { 0, 0, 7290, 525 }, .secondColumnFrom = 16, .compactWidths = { 400, 380 },
      .decide = { .name = "Command3", .place = kDecidePlace, .caption = "けってい", .font = kPanelButtonFont },
      .cancel = { .name = "Command4", .place = kCancelPlace, .caption = "ｷｬﾝｾﾙ", .font = kPanelButtonFont } },
} };

// The two layouts, applied once at load. From then on places are in pixels.
// A change to one control (or, with index -1 on an array, to all its members); what a change
// leaves out keeps its value.
struct Change {
    const char *name;
    int index = -1;
    std::optional<int> left = std::nullopt, top = std::nullopt, width = std::nullopt,
                       height = std::nullopt;
    std::optional<double> points = std::nullopt;
    std::optional<bool> shown = std::nullopt;
};
// Level options stand in columns: option k of a column at Top top + step·k.
struct OptionPlacement {
    int top, step, height;
    std::array<int, 2> lefts;
    std::optional<std::array<int, 2>> widths = std::nullopt; // none: each panel's own
    std::optional<double> points = std::nullopt;
};
struct Size {
    int width, height;
    bool operator==(const Size &) const = default;
};
struct Layout {
    Size client; // the window's client area in pixels
    OptionPlacement options;
    const Change *changes;
    int changeCount;
};

inline constexpr Change kLargeChanges[] {
    { .name = "Label2", .left = 6, .top = 8 },
};
inline constexpr Change kCompactChanges[] {
    { .name = "Label2", .left = 6, .top = 8, .points = 16 },
    { .name = "Picture1", .width = 790, .height = 500 },
    { .name = "Picture2", .shown = false },
    { .name = "Picture3", .shown = false },
    { .name = "Picture4", .shown = false },
    { .name = "Command1", .index = 0, .left =  10, .top = 2, .width = 96, .height = 32, .points = 16 },
    { .name = "Command1", .index = 1, .left = 110, .top = 2, .width = 96, .height = 32, .points = 16 },
    { .name = "Command1", .index = 2, .left = 210, .top = 2, .width = 96, .height = 32, .points = 16 },
    { .name = "Command1", .index = 3, .left = 310, .top = 2, .width = 96, .height = 32, .points = 16 },
    { .name = "Command2", .left = 580, .top = 2, .width = 205, .height = 32, .points = 12 },
    { .name = "Command10", .left = 620, .width = 75, .height = 32, .points = 12 },
    { .name = "Command12", .left = 620, .width = 75, .height = 32, .points = 12 },
    { .name = "Command14", .left = 620, .width = 75, .height = 32, .points = 12 },
    { .name = "Command3",  .left = 620, .width = 75, .height = 32, .points = 12 },
    { .name = "Command11", .left = 700, .width = 75, .height = 32, .points = 12 },
    { .name = "Command13", .left = 700, .width = 75, .height = 32, .points = 12 },
    { .name = "Command15", .left = 700, .width = 75, .height = 32, .points = 12 },
    { .name = "Command4",  .left = 700, .width = 75, .height = 32, .points = 12 },
    { .name = "Picture7", .width = 794, .height = 544 },
    { .name = "Picture8", .width = 794, .height = 544 },
    { .name = "Picture9", .width = 794, .height = 544 },
    { .name = "Picture5", .width = 794, .height = 544 },
};
inline constexpr Layout kLarge { { 1018, 731 }, { 45, 38, 28, { 16, 518 }, std::array { 498, 498 }, std::nullopt }, kLargeChanges, int(std::size(kLargeChanges)) };
inline constexpr Layout kCompact { { 800, 580 }, { 40, 30, 28, { 16, 400 }, std::nullopt, 12.0 }, kCompactChanges, int(std::size(kCompactChanges)) };
// clang-format on

constexpr bool sameName(const char *a, const char *b)
{
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}
// The design of control name(index) among kControls; nullptr when it is not there.
constexpr const Control *find(const char *name, int index = -1)
{
    for (const Control &c : kControls)
        if (sameName(c.name, name) && c.index == index)
            return &c;
    return nullptr;
}

// Where a level panel and the drill surface stand once shown, in pixels of the window: a panel
// lower on large screens; the surface a little further left for the multiplication panel.
inline constexpr int kPanelLeft = 2, kSurfaceTop = 50;
constexpr int panelTop(int screenWidth)
{
    return screenWidth >= 1000 ? 50 : 35;
}
constexpr int surfaceLeft(int operation)
{
    return operation == 3 ? 4 : 8;
}
// Three problem rows only on screens wider than 1000 pixels (one of exactly 1000 gets two).
constexpr int rowCount(int screenWidth)
{
    return screenWidth > 1000 ? 3 : 2;
}

// The outline round a problem row while its own button has the focus, at the design size.
struct Outline {
    Rgb colour;
    int width, radius;
};
inline constexpr Outline kRowFocus { { 0, 0, 170 }, 4, 15 };

// Message boxes: letters large enough to read from a pupil's seat.
inline constexpr Font kMessageFont { kPGothic, 15.75, false };

// The large layout keeps the design on screens at least 1000 pixels wide.
inline constexpr int kLargeLayoutFrom = 1000;
constexpr const Layout &layoutFor(int screenWidth)
{
    return screenWidth >= kLargeLayoutFrom ? kLarge : kCompact;
}

// The place of option i of a panel in a layout.
constexpr Rect optionPlace(const Layout &layout, const Panel &panel, int i)
{
    const bool second = i >= panel.secondColumnFrom;
    const int k = second ? i - panel.secondColumnFrom : i;
    const auto widths = layout.options.widths.value_or(panel.compactWidths);
    return { layout.options.lefts[second], layout.options.top + layout.options.step * k,
        widths[second], layout.options.height };
}

} // namespace piko::design
