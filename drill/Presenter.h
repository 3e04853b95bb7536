// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Controls.h"
#include "drill/Flow.h"
#include "drill/Placement.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// Everything the window and the page have in common beyond the drill's rules: which controls
// there are and how each shows, where the keyboard's focus goes, what every key and press does,
// what a screen reader is told, and when the window may close. A face builds its controls from
// controls(), carries out the events it is sent, and hands each of the pupil's inputs on here;
// it decides nothing of its own.
namespace piko {

// How one control shows.
struct ControlView {
    bool shown = true; // the control itself; its parent shows or hides on its own
    bool enabled = true; // false: neither it nor anything in it can be reached
    Rect place {}; // in pixels of its parent (of the window's client area at the top)
    int fontPixels = 0; // 0: its parent's font
    std::string name; // what a screen reader says for it
    std::string description; // and after its name: a row's mark on its answer box
    std::string text; // a box's text
    bool checked = false; // a level option shown as chosen
    std::optional<Rgb> back = std::nullopt; // a box's colour: pink while it is the active one
    bool operator==(const ControlView &) const = default;
};

// One control as a face builds it, parents before children and later ones on top.
struct FaceControl {
    ControlId id;
    std::optional<ControlId> parent; // none: the window itself
    design::Control design; // kind, caption, colours, font family and picture
};

enum class Key : std::uint8_t { Tab, BackTab, Up, Down, Left, Right, Enter, Space, Escape };
// The mouse buttons as the surface's handler has them.
enum class MouseButton : std::uint8_t { Left = 1, Right = 2, Middle = 4 };

// What a face does with a press after handing it on.
enum class Press : std::uint8_t {
    Native, // the control under it takes it as the platform does, and the keyboard's focus
    KeepFocus, // the control takes it, but the keyboard's focus stays where it was
    Taken, // handled here: the face drops it
};

// A message box's buttons and keys: a question opens on いいえ, Escape answers いいえ, and a
// message has OK alone.
enum class DialogButton : std::uint8_t { Yes, No, Ok };
inline constexpr DialogButton kQuestionFocus = DialogButton::No;
inline constexpr bool kEscapeAnswers = false;

// What a face carries out.
class FaceEvents {
public:
    virtual ~FaceEvents() = default;
    virtual void show(ControlId id, const ControlView &view) = 0; // a control now shows so
    virtual void focus(ControlId id) = 0; // the keyboard's focus goes there
    virtual void announce(const std::string &text) = 0; // to be said at once
    virtual void tickEvery(int ms) = 0; // call tick() this often; 0: stop
    virtual void markShown(int /*row*/, bool /*right*/) { }
    virtual void problemShown(int /*row*/) { }
    virtual void close() = 0; // the program ends
};

class Presenter {
public:
    // How often the clock is looked at while a mark is shown.
    static constexpr int kMarkTickMs = 50;

    Presenter(DrillState &state, Flow::Seams seams, FaceEvents &events);

    // Start-up: measures the screen, chooses the layout and makes every control's view. Then a
    // face builds controls() and shows them all with showAll().
    void load(double screenWidth, double pixelWidth);
    const std::vector<FaceControl> &controls() const { return m_controls; }
    const design::Layout &layout() const { return *m_layout; }
    const ControlView &view(ControlId id) const;
    const FaceControl *control(ControlId id) const;
    void showAll();

    // The pupil's input. click(): a control pressed (a click, a tap, a screen reader's press).
    // press(): a button going down at a point of the window's client area, in design pixels,
    // before the control there sees it. key(): a key on the focused control; true when it is
    // handled here and the face drops it. focused(): the platform moved the focus itself.
    void click(ControlId id);
    Press press(Point at, MouseButton button);
    bool key(Key key);
    void focused(ControlId id);
    void type(ControlId box, const std::string &text); // a box's whole text after typing
    std::optional<ControlId> focus() const { return m_focus; }
    // Whether a control and everything it stands in shows and is enabled.
    bool reachable(ControlId id) const;
    // The row (1..3) a row's control belongs to; 0 for other controls.
    static int rowOf(ControlId id);

    // The design's handlers.
    void Command1_Click(int index);
    void Option1_Click(int index);
    void Option2_Click(int index);
    void Option3_Click(int index);
    void Option4_Click(int index);
    void Command10_Click();
    void Command12_Click();
    void Command14_Click();
    void Command3_Click();
    void Command11_Click();
    void Command13_Click();
    void Command15_Click();
    void Command4_Click();
    void Picture1_MouseDown(int button, int shift, int x, int y);
    void Command6_Click(int index);
    void Command7_Click(int index);
    void Command9_Click(int index);
    void Text1_Click(int index);
    void Text2_Click(int index);
    void Command5_Click(int index);
    void Command8_Click();
    void Command2_Click();
    void Row_Click(int index);

    void tick() { m_flow.tick(); }
    bool holding() const { return m_flow.holding(); }
    void hold(std::function<void()> input) { m_flow.hold(std::move(input)); }
    // The window is being closed: true when it may close now; with a row open the pupil is asked
    // first, as 「ぴこまる」おわり asks.
    bool closing();
    // Whether leaving the page must ask first (a row is open).
    bool leavingAsks() const;
    // Printing (Ctrl+P, the browser's own print): the chosen level's worksheet, or nothing
    // (where `tell`, once the pupil has been told to choose a level).
    std::optional<Worksheet> worksheet(bool tell = true) { return m_flow.worksheet(tell); }
    // The surface is to be drawn again (the face cleared it, at another size).
    void redraw() { m_flow.redraw(); }
    Flow &flow() { return m_flow; }
    const Flow &flow() const { return m_flow; }

private:
    struct Before {
        View view;
        std::array<int, 3> problems {};
        std::array<Box, 3> active {};
    };
    void changed();
    void makeControls();
    ControlView viewOf(const FaceControl &c) const;
    std::optional<ControlId> focusAfter(const Before &before) const;
    std::optional<ControlId> fallbackFocus() const;
    void moveFocus(ControlId id);
    void activate(ControlId id); // a box the focus moved into
    std::vector<ControlId> tabStops() const;
    bool arrowInOptions(ControlId on, Key key);
    bool arrowInRows(ControlId on, Key key);
    Before snapshot() const;

    DrillState &m_state;
    FaceEvents &m_events;
    Flow m_flow;
    const design::Layout *m_layout = &design::kLarge;
    std::vector<FaceControl> m_controls;
    std::map<ControlId, std::size_t> m_at; // index in m_controls
    std::vector<Rect> m_base; // each control's place in the layout
    std::vector<ControlView> m_views; // as last shown
    std::vector<bool> m_touched; // shown again whatever it shows: the pupil acted on it
    std::optional<ControlId> m_focus;
    Before m_before;
    std::vector<std::string> m_said; // announcements waiting for the focus to move
    int m_ticking = 0;
    bool m_loaded = false, m_closed = false;
    bool m_emitting = false; // a face's echo of what it is being told is not input
};

} // namespace piko
