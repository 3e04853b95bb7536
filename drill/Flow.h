// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Canvas.h"
#include "drill/Seams.h"
#include "drill/Worksheet.h"
#include "state/DrillState.h"
#include "state/RowGeometry.h"

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace piko {

class RandomSource;

enum class Box : std::uint8_t { Answer, Remainder };

// What one problem row shows, beside what is drawn on the surface.
struct RowView {
    bool open = false; // answer box, check button and keypad shown
    bool remainderShown = false; // the あまり button and the remainder box shown
    Point answerBox, remainderButton, remainderBox; // places on the surface
    std::string answer, remainder; // the boxes' texts
    Box pink
        = Box::Answer; // the box shown active; the keypad's box changes a moment sooner at a check
    std::string status, problem; // the status line and problem text printed on the row
};

// What the window shows, as the flow decides it. A face puts this on the screen after every
// change; the active (pink) box of a row is the one its InputTarget names.
struct View {
    int panel = 0; // the operation whose level panel is shown; 0 for none
    int panelTop = 50;
    int chosenOperation = 0, chosenLevel = 0; // the option shown as chosen; 0 for none
    bool surfaceShown = false;
    int surfaceLeft = 8;
    std::array<RowView, 3> rows; // rows 1..3 at 0..2
    bool decided = false; // the surface has had its frames drawn since it was last hidden
    int markRow = 0; // the row whose ○ or × is shown; 0 for none
    bool markRight = false;
    bool ended = false; // the program is to end
};

// The drill's rules: choosing an operation and a level, the problem rows, answer entry,
// checking with its marks, finishing and exit. Everything it decides goes into the DrillState
// it is given, into its View and onto the Canvas; it never blocks. A mark stays until the
// clock's second has changed twice, which tick() notices; input meanwhile waits and is handled
// after the mark, in order. Questions are answered through the Messages seam, now or later.
// Rows are numbered 1 to 3 throughout.
class Flow {
public:
    struct Seams {
        Canvas &canvas;
        Clock &clock;
        Messages &messages;
        Beeper &beeper;
        RandomSource &random;
    };
    Flow(DrillState &state, Seams seams);

    // Start-up: measures the screen (its width and the width of one pixel, in one unit) and
    // seeds the random source from the time of day.
    void load(double screenWidth, double pixelWidth);

    // The pupil's actions. A level option, けってい and ｷｬﾝｾﾙ count only on the panel shown, and
    // an option only for a level that panel offers.
    void chooseOperation(int operation); // 1 addition .. 4 division
    void chooseLevel(int operation, int level); // an option on that operation's panel
    void decide(int operation); // the panel's けってい
    void cancel(int operation); // the panel's ｷｬﾝｾﾙ
    // A paper worksheet of the level chosen on the panel, or else of the level the rows drill,
    // seeded from the time of day; with no level at all, nothing, and where `tell`, the pupil is
    // told to choose one first.
    std::optional<Worksheet> worksheet(bool tell = true);
    void pressSurface(int x, int y); // opens the row under the point, or makes it current
    void openRow(int row); // the row's own button (the keyboard's way in): a press at its problem
    void pressKey(int keypadIndex); // Command6(index)
    void erase(int row); // けす
    void chooseBox(int row, Box box); // あまり, or a click into a box
    void type(int row, Box box, const std::string &text); // the box's whole text after typing
    // ﾁｪｯｸ, or Enter in a box. A box without a digit is an empty one. Pressed again while the
    // row's mark shows, it is dropped unless the row's boxes have changed since.
    void check(int row);
    void finish(); // 終わる
    void exit(); // 「ぴこまる」おわり

    // Ends the mark once its time is up, then handles the input that waited for it.
    void tick();
    // While a mark is shown, input waits: a face hands raw input it cannot pass to the flow as
    // an action to hold(), which runs it after the mark, in order with the held actions.
    bool holding() const { return m_mark.has_value(); }
    void hold(std::function<void()> input);

    const DrillState &state() const { return m_state; }
    const View &view() const { return m_view; }
    const RowView &row(int row) const { return m_view.rows[index(row)]; }
    Box activeBox(int row) const;
    bool anyRowOpen() const;
    // Row 1..3 as a screen reader says it: what the pupil reads there (its status line and
    // problem, blanks run together, or the invitation to open it), the mark first while it
    // shows.
    std::string spoken(int row) const;
    // How many rows the surface has: three on screens wider than 1000 pixels, else two.
    int rowCount() const;
    // Draws the whole surface again from the view (after the face has cleared it, for example
    // to draw it at another size): the same picture as the drawing that led to it.
    void redraw();
    // Called after every change to the view or the surface.
    void setChanged(std::function<void()> changed) { m_changed = std::move(changed); }
    // Called with what a screen reader is to say at once, beyond the name of the control that has
    // the focus: a row's problem when the row opens or moves on to its next one, and the mark as
    // it appears. A face hands it to the platform (a live region, an announcement).
    void setAnnounce(std::function<void(const std::string &)> announce)
    {
        m_announce = std::move(announce);
    }

private:
    struct Mark {
        int row, n, attempt;
        bool right;
        std::string noted = {}; // the time of day last read
        int changes = 0; // how often the second has changed since the mark appeared
    };

    static int index(int row) { return row >= 1 && row <= 3 ? row - 1 : 0; }
    static bool validRow(int row) { return row >= 1 && row <= 3; }
    RowView &rowView(int row) { return m_view.rows[index(row)]; }
    template<typename Action> void act(Action action);
    void changed();
    void announce(const std::string &text);

    void seedRandom();
    void drawFrame(int row);
    void drawEmptyRows();
    void drawRows();
    void printInvitations();
    void printMark(int row, bool right);
    void inform(const char *text);
    void ask(const char *text, std::function<void(bool)> answer);
    void reprint(int row);
    void prepareRow();
    bool panelShown(int operation) const;
    void checkRow(int row);
    void endMark();
    void closeRows();

    DrillState &m_state;
    Seams m_seams;
    // The operation, level and remainder mode of the last decision: a row's next problem comes
    // from them while no level is chosen (another panel opened, or one cancelled).
    struct Choice {
        std::int16_t operation = 0, level = 0, remainderMode = 0;
    } m_decided;
    View m_view;
    std::optional<Mark> m_mark;
    // Input that waits for a mark to end, with the problem that mark was shown for.
    struct Held {
        std::function<void()> input;
        int row, n;
    };
    std::deque<Held> m_held;
    std::optional<std::pair<int, int>> m_replayingFor; // row and problem of the mark it waited for
    // Whether the pupil has entered, erased, typed or chosen a box on the row (at 0..2) since the
    // row's last mark appeared.
    std::array<bool, 3> m_boxesChanged {};
    std::function<void()> m_changed;
    std::function<void(const std::string &)> m_announce;
};

// Screen width in whole pixels, halves rounded to even, held to a 16-bit number.
std::int16_t screenWidthInPixels(double width, double pixelWidth);

} // namespace piko
