// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "drill/Presenter.h"

#include "drill/Keypad.h"
#include "drill/Texts.h"

#include <algorithm>
#include <utility>

namespace piko {

std::string idText(ControlId id)
{
    const std::string name = text(id.name);
    return id.index < 0 ? name : name + "(" + std::to_string(id.index) + ")";
}

std::optional<ControlId> parseId(std::string_view t)
{
    const std::size_t open = t.find('(');
    if (open == std::string_view::npos) {
        const auto name = nameOf(t);
        return name ? std::optional(ControlId { *name }) : std::nullopt;
    }
    const auto name = nameOf(t.substr(0, open));
    if (!name || t.size() < open + 3 || t.back() != ')' || t.size() - open > 5)
        return std::nullopt;
    int index = 0;
    for (const char c : t.substr(open + 1, t.size() - open - 2)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        index = 10 * index + (c - '0');
    }
    return ControlId { *name, index };
}

namespace {

// The order of a row's controls, for building, the keyboard and a screen reader alike: the row,
// its answer, あまり and the remainder, its keypad from 0 to 9 with けす, and ﾁｪｯｸ.
int rankInRow(Name name)
{
    switch (name) {
    case Name::Row:
        return 0;
    case Name::Text1:
        return 1;
    case Name::Command9:
        return 2;
    case Name::Text2:
        return 3;
    case Name::Picture6:
        return 4;
    case Name::Command6:
    case Name::Command7:
        return 5;
    case Name::Command5:
        return 6;
    default:
        return -1;
    }
}

bool focusable(design::Kind kind)
{
    return kind == design::Kind::Button || kind == design::Kind::Option
        || kind == design::Kind::TextBox || kind == design::Kind::Row;
}

bool isOption(Name name)
{
    return name == Name::Option1 || name == Name::Option2 || name == Name::Option3
        || name == Name::Option4;
}

std::string withRow(const char *name, int row)
{
    return name + names::rowName(row);
}

} // namespace

int Presenter::rowOf(ControlId id)
{
    if (id.name == Name::Command6)
        return keypadKey(id.index).value_or(KeypadKey {}).row;
    return rankInRow(id.name) >= 0 && id.index >= 0 && id.index < 3 ? id.index + 1 : 0;
}

Presenter::Presenter(DrillState &state, Flow::Seams seams, FaceEvents &events)
    : m_state(state), m_events(events), m_flow(state, seams)
{
    m_flow.setChanged([this] { changed(); });
    m_flow.setAnnounce([this](const std::string &text) { m_said.push_back(text); });
}

void Presenter::load(double screenWidth, double pixelWidth)
{
    m_flow.load(screenWidth, pixelWidth);
    m_layout = &design::layoutFor(m_state.ScreenWidth);
    makeControls();
    m_views.clear();
    for (const FaceControl &c : m_controls)
        m_views.push_back(viewOf(c));
    m_touched.assign(m_controls.size(), false);
    m_before = snapshot();
    m_loaded = true;
}

// The layout's controls with each row's in the row's order, its own button first.
void Presenter::makeControls()
{
    m_controls.clear();
    m_base.clear();
    std::array<std::vector<design::Placed>, 3> rows;
    std::size_t rowsAt = 0;
    for (const design::Placed &p : design::placeControls(*m_layout)) {
        const ControlId id { *nameOf(p.control.name), p.control.index };
        const int row = rowOf(id);
        if (row == 0) {
            m_controls.push_back({ id, std::nullopt, p.control });
            m_base.push_back(p.place);
            continue;
        }
        if (rowsAt == 0)
            rowsAt = m_controls.size();
        rows[row - 1].push_back(p);
    }
    std::vector<FaceControl> inRows;
    std::vector<Rect> inRowsBase;
    for (int r = 0; r < 3; ++r) {
        const int y0 = rows::y0(r + 1);
        design::Control button {
            .kind = design::Kind::Row, .name = "Row", .index = r, .parent = "Picture1"
        };
        rows[r].insert(rows[r].begin(),
            { button,
                { rows::kFrameLeft, y0 + rows::kFrameTop, rows::kFrameRight - rows::kFrameLeft,
                    rows::kFrameBottom - rows::kFrameTop } });
        std::stable_sort(rows[r].begin(), rows[r].end(), [](const auto &a, const auto &b) {
            return rankInRow(*nameOf(a.control.name)) < rankInRow(*nameOf(b.control.name));
        });
        for (const design::Placed &p : rows[r]) {
            inRows.push_back(
                { { *nameOf(p.control.name), p.control.index }, std::nullopt, p.control });
            inRowsBase.push_back(p.place);
        }
    }
    m_controls.insert(m_controls.begin() + std::ptrdiff_t(rowsAt), inRows.begin(), inRows.end());
    m_base.insert(m_base.begin() + std::ptrdiff_t(rowsAt), inRowsBase.begin(), inRowsBase.end());
    m_at.clear();
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        FaceControl &c = m_controls[i];
        if (!std::string_view(c.design.parent).starts_with("Form1"))
            c.parent = ControlId { *nameOf(c.design.parent), c.design.parentIndex };
        m_at[c.id] = i;
    }
}

const FaceControl *Presenter::control(ControlId id) const
{
    const auto at = m_at.find(id);
    return at == m_at.end() ? nullptr : &m_controls[at->second];
}

const ControlView &Presenter::view(ControlId id) const
{
    static const ControlView none = [] {
        ControlView v;
        v.shown = v.enabled = false;
        return v;
    }();
    const auto at = m_at.find(id);
    return at == m_at.end() ? none : m_views[at->second];
}

// How a control shows, from the layout and the flow's view.
ControlView Presenter::viewOf(const FaceControl &c) const
{
    const design::Control &d = c.design;
    const View &all = m_flow.view();
    ControlView v;
    v.place = m_base[m_at.at(c.id)];
    v.fontPixels = d.font ? design::fontPixels(d.font->points) : 0;
    v.shown = d.shown;
    v.name = d.spoken ? d.spoken : d.caption ? d.caption : "";
    const int row = rowOf(c.id);
    const RowView *r = row ? &m_flow.row(row) : nullptr;
    const bool remainderActive = row && m_flow.activeBox(row) == Box::Remainder;
    const auto boxColour
        = [](bool active) { return active ? design::kActiveBox : design::kInactiveBox; };
    const auto at = [&v](Point p) {
        v.place.left = p.x;
        v.place.top = p.y;
    };
    switch (c.id.name) {
    case Name::Picture7:
    case Name::Picture8:
    case Name::Picture9:
    case Name::Picture5: {
        const int op = panelOperation(c.id.name);
        v.shown = all.panel == op;
        at({ design::kPanelLeft, all.panelTop });
        v.name = std::string(design::find("Command1", op - 1)->caption) + names::kPanelAfter;
        break;
    }
    case Name::Option1:
    case Name::Option2:
    case Name::Option3:
    case Name::Option4:
        v.checked
            = all.chosenOperation == panelOperation(c.id.name) && all.chosenLevel == c.id.index + 1;
        break;
    case Name::Picture1:
        v.shown = all.surfaceShown;
        v.enabled = all.panel == 0; // under a level panel the rows are out of reach
        at({ all.surfaceLeft, design::kSurfaceTop });
        v.name = names::kSurface;
        break;
    case Name::Text1:
        v.shown = r->open;
        at(r->answerBox);
        v.text = r->answer;
        v.back = boxColour(!remainderActive);
        v.name = withRow(names::kAnswer, row);
        if (all.markRow == row)
            v.description = all.markRight ? names::kRight : names::kWrong;
        break;
    case Name::Text2:
        v.shown = r->remainderShown;
        at(r->remainderBox);
        v.text = r->remainder;
        v.back = boxColour(remainderActive);
        v.name = withRow(names::kRemainder, row);
        break;
    case Name::Command9:
        v.shown = r->remainderShown;
        at(r->remainderButton);
        v.name = withRow(names::kRemainderButton, row);
        break;
    case Name::Command5:
        v.shown = r->open;
        v.name = withRow(names::kCheck, row);
        break;
    case Name::Picture6:
        v.shown = r->open;
        v.name = withRow(names::kKeypad, row);
        break;
    case Name::Command6:
        v.name = withRow(d.caption, row);
        break;
    case Name::Command7:
        v.name = withRow(names::kErase, row);
        break;
    case Name::Row:
        v.shown = all.decided && all.surfaceShown && row <= m_flow.rowCount();
        v.name = m_flow.spoken(row);
        v.description = names::rowName(row);
        break;
    default:
        break;
    }
    return v;
}

void Presenter::showAll()
{
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        m_events.show(m_controls[i].id, m_views[i]);
    moveFocus({ Name::Command1, 0 });
}

bool Presenter::reachable(ControlId id) const
{
    for (const FaceControl *c = control(id); c; c = c->parent ? control(*c->parent) : nullptr) {
        const ControlView &v = view(c->id);
        if (!v.shown || !v.enabled)
            return false;
    }
    return control(id) != nullptr;
}

Presenter::Before Presenter::snapshot() const
{
    Before b { m_flow.view(), {}, {} };
    for (int row = 1; row <= 3; ++row) {
        b.problems[row - 1] = m_state.ProblemHistory.ProblemCount(row);
        b.active[row - 1] = m_flow.activeBox(row);
    }
    return b;
}

// After every change: the controls that show otherwise, then the focus, then what is said, so
// that a screen reader's own words for the focus do not cut the announcement off.
void Presenter::changed()
{
    if (!m_loaded)
        return;
    m_emitting = true;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        ControlView v = viewOf(m_controls[i]);
        if (v == m_views[i] && !m_touched[i])
            continue;
        m_views[i] = std::move(v);
        m_touched[i] = false;
        m_events.show(m_controls[i].id, m_views[i]);
    }
    std::optional<ControlId> target = focusAfter(m_before);
    if ((!target || !reachable(*target)) && m_focus && !reachable(*m_focus))
        target = fallbackFocus();
    if (target && target != m_focus && reachable(*target))
        moveFocus(*target);
    for (const std::string &line : std::exchange(m_said, {}))
        m_events.announce(line);

    const View &view = m_flow.view();
    if (view.markRow != 0 && m_before.view.markRow == 0)
        m_events.markShown(view.markRow, view.markRight);
    for (int row = 1; row <= 3; ++row)
        if (view.rows[row - 1].open
            && (!m_before.view.rows[row - 1].open
                || m_state.ProblemHistory.ProblemCount(row) != m_before.problems[row - 1]))
            m_events.problemShown(row);
    const int ticking = holding() ? kMarkTickMs : 0;
    if (ticking != m_ticking)
        m_events.tickEvery(m_ticking = ticking);
    m_before = snapshot();
    m_emitting = false;
    if (view.ended && !m_closed) {
        m_closed = true;
        m_events.close();
    }
}

// The keyboard's focus follows the drill: into a panel when it opens (onto its chosen level),
// onto the first row when the rows appear, into a row's answer box when the row opens, gets a
// new problem or its mark ends, and always onto the box that turns pink.
std::optional<ControlId> Presenter::focusAfter(const Before &before) const
{
    const View &view = m_flow.view();
    std::optional<ControlId> focus;
    if (view.panel != 0 && view.panel != before.view.panel) {
        const OperationDesign &op = operations::of(view.panel);
        const int chosen = view.chosenOperation == view.panel ? view.chosenLevel - 1 : 0;
        focus = ControlId { *nameOf(op.panel.options), std::clamp(chosen, 0, op.offered - 1) };
    } else if (view.surfaceShown && view.decided
        && !(before.view.surfaceShown && before.view.decided)) {
        focus = ControlId { Name::Row, 0 };
    }
    if (view.panel != 0)
        return focus;
    for (int row = 1; row <= 3; ++row) {
        const int i = row - 1;
        if (!view.rows[i].open)
            continue;
        const Box active = m_flow.activeBox(row);
        if (!before.view.rows[i].open
            || m_state.ProblemHistory.ProblemCount(row) != before.problems[i]
            || (before.view.markRow == row && view.markRow == 0))
            focus = ControlId { Name::Text1, i };
        else if (active != before.active[i])
            focus = ControlId { active == Box::Remainder ? Name::Text2 : Name::Text1, i };
    }
    return focus;
}

// Where the focus goes when what had it has gone (a panel closed, a row under a panel): to what
// the pupil would go on with.
std::optional<ControlId> Presenter::fallbackFocus() const
{
    const View &view = m_flow.view();
    if (view.panel != 0) {
        const OperationDesign &op = operations::of(view.panel);
        const int chosen = view.chosenOperation == view.panel ? view.chosenLevel - 1 : 0;
        return ControlId { *nameOf(op.panel.options), std::clamp(chosen, 0, op.offered - 1) };
    }
    if (!view.surfaceShown)
        return ControlId { Name::Command1, std::clamp<int>(m_state.Operation, 1, 4) - 1 };
    for (int row = 1; row <= 3; ++row)
        if (view.rows[row - 1].open)
            return ControlId { Name::Text1, row - 1 };
    return ControlId { Name::Row, 0 };
}

void Presenter::moveFocus(ControlId id)
{
    m_focus = id;
    m_events.focus(id);
}

// Every control the keyboard reaches with Tab, in order; a level list is one stop, at its chosen
// level (or the one with the focus, or its first).
std::vector<ControlId> Presenter::tabStops() const
{
    std::vector<ControlId> stops;
    for (const FaceControl &c : m_controls) {
        if (!focusable(c.design.kind) || !reachable(c.id))
            continue;
        if (!isOption(c.id.name)) {
            stops.push_back(c.id);
            continue;
        }
        const bool inList = !stops.empty() && stops.back().name == c.id.name;
        const bool better = view(c.id).checked || m_focus == c.id;
        if (!inList)
            stops.push_back(c.id);
        else if (better && !(m_focus == stops.back()))
            stops.back() = c.id;
    }
    return stops;
}

bool Presenter::key(Key key)
{
    if (!m_loaded || m_emitting)
        return false;
    // While a mark is shown a key waits for it, as every other input does.
    if (holding()) {
        hold([this, key] { this->key(key); });
        return true;
    }
    if (key == Key::Tab || key == Key::BackTab) {
        const std::vector<ControlId> stops = tabStops();
        if (stops.empty())
            return true;
        const auto at = m_focus ? std::find(stops.begin(), stops.end(), *m_focus) : stops.end();
        const int n = int(stops.size());
        int next = key == Key::Tab ? 0 : n - 1;
        if (at != stops.end())
            next = (int(at - stops.begin()) + (key == Key::Tab ? 1 : n - 1)) % n;
        moveFocus(stops[std::size_t(next)]);
        activate(stops[std::size_t(next)]);
        return true;
    }
    if (!m_focus || !control(*m_focus))
        return false;
    const ControlId on = *m_focus;
    const bool arrow = key == Key::Up || key == Key::Down || key == Key::Left || key == Key::Right;
    const bool vertical = key == Key::Up || key == Key::Down;
    const bool press = key == Key::Enter || key == Key::Space;
    switch (control(on)->design.kind) {
    case design::Kind::Option:
        if (arrow)
            return arrowInOptions(on, key);
        if (press)
            click(on);
        return press;
    case design::Kind::Row:
        if (vertical)
            return arrowInRows(on, key);
        if (press)
            click(on);
        return press || arrow; // ← → lead nowhere from a row or a button
    case design::Kind::TextBox:
        if (vertical)
            return arrowInRows(on, key);
        if (key == Key::Enter)
            click({ Name::Command5, on.index });
        return key == Key::Enter;
    case design::Kind::Button:
        if (press)
            click(on);
        return press || arrow;
    default:
        return false;
    }
}

// In a level list ↑ ↓ choose the level above or below and ← → the one beside it in the other
// column; never a level the panel does not offer.
bool Presenter::arrowInOptions(ControlId on, Key key)
{
    const design::Panel &panel = operations::of(panelOperation(on.name)).panel;
    const int step = key == Key::Up ? -1
        : key == Key::Down          ? 1
        : key == Key::Left          ? -panel.secondColumnFrom
                                    : panel.secondColumnFrom;
    const ControlId to { on.name, on.index + step };
    if (control(to) && reachable(to)) {
        moveFocus(to);
        click(to);
    }
    return true;
}

// On a row ↑ ↓ go to the row above or below: its answer box when it is open, else the row.
bool Presenter::arrowInRows(ControlId on, Key key)
{
    const int row = rowOf(on) + (key == Key::Up ? -1 : 1);
    if (row < 1 || row > m_flow.rowCount())
        return true;
    const ControlId to { m_flow.row(row).open ? Name::Text1 : Name::Row, row - 1 };
    if (reachable(to)) {
        moveFocus(to);
        activate(to);
    }
    return true;
}

void Presenter::focused(ControlId id)
{
    if (m_emitting || m_focus == id)
        return;
    m_focus = id;
    activate(id);
}

// The box with the focus is the active one, whatever put the focus there.
void Presenter::activate(ControlId id)
{
    if (id.name == Name::Text1)
        Text1_Click(id.index);
    else if (id.name == Name::Text2)
        Text2_Click(id.index);
}

Press Presenter::press(Point at, MouseButton button)
{
    if (!m_loaded || m_emitting)
        return Press::Taken;
    for (std::size_t i = m_controls.size(); i-- > 0;) {
        const FaceControl &c = m_controls[i];
        if (c.design.kind == design::Kind::Row) // the keyboard's alone: presses go through
            continue;
        Rect place = m_views[i].place;
        bool shown = true;
        for (const FaceControl *p = c.parent ? control(*c.parent) : nullptr; p;
             p = p->parent ? control(*p->parent) : nullptr) {
            place.left += view(p->id).place.left;
            place.top += view(p->id).place.top;
        }
        for (const FaceControl *p = &c; p; p = p->parent ? control(*p->parent) : nullptr)
            shown = shown && view(p->id).shown;
        if (!shown || !place.contains(at))
            continue;
        if (!reachable(c.id))
            return Press::Taken;
        const bool left = button == MouseButton::Left;
        switch (c.design.kind) {
        case design::Kind::Surface:
            Picture1_MouseDown(int(button), 0, at.x - place.left, at.y - place.top);
            return Press::Taken;
        case design::Kind::Button:
            return left ? Press::KeepFocus : Press::Taken;
        case design::Kind::Option:
            return left ? Press::Native : Press::Taken;
        case design::Kind::TextBox:
            if (left)
                click(c.id);
            return Press::Native;
        default: // the prompt, the pictures, a panel's or a keypad's own background
            return Press::Taken;
        }
    }
    return Press::Native;
}

void Presenter::click(ControlId id)
{
    // Only what the pupil can reach can be pressed: a face's stale or made-up id does nothing.
    if (!m_loaded || m_emitting || !reachable(id))
        return;
    // What the platform shows of the control (a radio button checked by the click, a box's
    // text) is put back to the flow's view, whatever the flow makes of the input.
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i].id == id || (isOption(id.name) && m_controls[i].id.name == id.name))
            m_touched[i] = true;
    const int i = id.index;
    switch (id.name) {
    case Name::Command1:
        return Command1_Click(i);
    case Name::Option1:
        return Option1_Click(i);
    case Name::Option2:
        return Option2_Click(i);
    case Name::Option3:
        return Option3_Click(i);
    case Name::Option4:
        return Option4_Click(i);
    case Name::Command10:
        return Command10_Click();
    case Name::Command12:
        return Command12_Click();
    case Name::Command14:
        return Command14_Click();
    case Name::Command3:
        return Command3_Click();
    case Name::Command11:
        return Command11_Click();
    case Name::Command13:
        return Command13_Click();
    case Name::Command15:
        return Command15_Click();
    case Name::Command4:
        return Command4_Click();
    case Name::Command6:
        return Command6_Click(i);
    case Name::Command7:
        return Command7_Click(i);
    case Name::Command9:
        return Command9_Click(i);
    case Name::Text1:
        return Text1_Click(i);
    case Name::Text2:
        return Text2_Click(i);
    case Name::Command5:
        return Command5_Click(i);
    case Name::Command8:
        return Command8_Click();
    case Name::Command2:
        return Command2_Click();
    case Name::Row:
        return Row_Click(i);
    default:
        return; // nothing happens on the prompt, a picture or a panel's background
    }
}

void Presenter::type(ControlId box, const std::string &text)
{
    if (!m_loaded || m_emitting || (box.name != Name::Text1 && box.name != Name::Text2))
        return;
    if (const auto at = m_at.find(box); at != m_at.end())
        m_touched[at->second] = true;
    m_flow.type(rowOf(box), box.name == Name::Text2 ? Box::Remainder : Box::Answer, text);
}

bool Presenter::closing()
{
    if (m_flow.view().ended || !m_flow.anyRowOpen())
        return true;
    Command2_Click();
    return m_flow.view().ended;
}

bool Presenter::leavingAsks() const
{
    return m_loaded && !m_flow.view().ended && m_flow.anyRowOpen();
}

void Presenter::Command1_Click(int index)
{
    m_flow.chooseOperation(index + 1);
}
void Presenter::Option1_Click(int index)
{
    m_flow.chooseLevel(Division, index + 1);
}
void Presenter::Option2_Click(int index)
{
    m_flow.chooseLevel(Addition, index + 1);
}
void Presenter::Option3_Click(int index)
{
    m_flow.chooseLevel(Subtraction, index + 1);
}
void Presenter::Option4_Click(int index)
{
    m_flow.chooseLevel(Multiplication, index + 1);
}
void Presenter::Command10_Click()
{
    m_flow.decide(Addition);
}
void Presenter::Command12_Click()
{
    m_flow.decide(Subtraction);
}
void Presenter::Command14_Click()
{
    m_flow.decide(Multiplication);
}
void Presenter::Command3_Click()
{
    m_flow.decide(Division);
}
void Presenter::Command11_Click()
{
    m_flow.cancel(Addition);
}
void Presenter::Command13_Click()
{
    m_flow.cancel(Subtraction);
}
void Presenter::Command15_Click()
{
    m_flow.cancel(Multiplication);
}
void Presenter::Command4_Click()
{
    m_flow.cancel(Division);
}
// Any button opens the row under the point.
void Presenter::Picture1_MouseDown(int, int, int x, int y)
{
    m_flow.pressSurface(x, y);
}
void Presenter::Command6_Click(int index)
{
    m_flow.pressKey(index);
}
void Presenter::Command7_Click(int index)
{
    m_flow.erase(index + 1);
}
void Presenter::Command9_Click(int index)
{
    m_flow.chooseBox(index + 1, Box::Remainder);
}
void Presenter::Text1_Click(int index)
{
    m_flow.chooseBox(index + 1, Box::Answer);
}
void Presenter::Text2_Click(int index)
{
    m_flow.chooseBox(index + 1, Box::Remainder);
}
void Presenter::Command5_Click(int index)
{
    m_flow.check(index + 1);
}
void Presenter::Command8_Click()
{
    m_flow.finish();
}
void Presenter::Command2_Click()
{
    m_flow.exit();
}
void Presenter::Row_Click(int index)
{
    m_flow.openRow(index + 1);
}

} // namespace piko
