// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "drill/Flow.h"

#include "drill/BoxReading.h"
#include "drill/Design.h"
#include "drill/Keypad.h"
#include "drill/Operations.h"
#include "drill/Texts.h"
#include "generators/Generators.h"
#include "generators/LevelRule.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace piko {

namespace {

Point designPlace(const char *name, int index)
{
    const design::Control *control = design::find(name, index);
    const design::Rect r = control ? design::pixels(control->place) : design::Rect {};
    return { r.left, r.top };
}

Area united(Area a, Area b)
{
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    const int right = std::max(a.left + a.width, b.left + b.width);
    const int bottom = std::max(a.top + a.height, b.top + b.height);
    return { left, top, right - left, bottom - top };
}

} // namespace

std::int16_t screenWidthInPixels(double width, double pixelWidth)
{
    const double pixels = width / pixelWidth;
    const double whole = std::isfinite(pixels) ? std::nearbyint(pixels) : 0.0; // halves to even
    return static_cast<std::int16_t>(
        std::clamp(whole, 0.0, double(std::numeric_limits<std::int16_t>::max())));
}

Flow::Flow(DrillState &state, Seams seams) : m_state(state), m_seams(seams)
{
    for (int i = 0; i < 3; ++i) {
        RowView &row = m_view.rows[i];
        row.answerBox = designPlace("Text1", i);
        row.remainderButton = designPlace("Command9", i);
        row.remainderBox = designPlace("Text2", i);
    }
}

// Every action of the pupil goes through here: while a mark is shown it waits, in order.
template<typename Action> void Flow::act(Action action)
{
    if (holding()) {
        m_held.push_back({ std::move(action), m_mark->row, m_mark->n });
        return;
    }
    action();
    changed();
}

void Flow::hold(std::function<void()> input)
{
    act(std::move(input));
}

void Flow::changed()
{
    if (m_changed)
        m_changed();
}

void Flow::announce(const std::string &text)
{
    if (m_announce)
        m_announce(text);
}

int Flow::rowCount() const
{
    return design::rowCount(m_state.ScreenWidth);
}

Box Flow::activeBox(int row) const
{
    return validRow(row) && m_state.InputTarget[row] != 0 ? Box::Remainder : Box::Answer;
}

void Flow::load(double screenWidth, double pixelWidth)
{
    m_state.ScreenWidth = screenWidthInPixels(screenWidth, pixelWidth);
    seedRandom();
}

// The seed is the time of day's minutes and seconds as one number (minutes × 100 + seconds),
// from two readings in a row as the clock gives them.
void Flow::seedRandom()
{
    const std::string first = m_seams.clock.timeOfDay();
    const std::string second = m_seams.clock.timeOfDay();
    std::uint32_t seed = 0;
    if (first.size() >= 5 && second.size() >= 2) {
        const std::string digits = first.substr(3, 2) + second.substr(second.size() - 2);
        for (char c : digits)
            seed = 10 * seed + (c >= '0' && c <= '9' ? std::uint32_t(c - '0') : 0);
    }
    m_seams.random.reseed(seed);
}

// A message interrupts: what else waited behind the mark is not handled after it.
void Flow::inform(const char *text)
{
    if (m_replayingFor)
        m_held.clear();
    m_seams.messages.inform(text);
}

void Flow::ask(const char *text, std::function<void(bool)> answer)
{
    if (m_replayingFor)
        m_held.clear();
    m_seams.messages.ask(text, std::move(answer));
}

void Flow::chooseOperation(int operation)
{
    act([=, this] {
        if (operation < 1 || operation > 4)
            return;
        m_state.Level = 0;
        m_state.Operation = static_cast<std::int16_t>(operation);
        m_view.panel = operation;
        m_view.panelTop = design::panelTop(m_state.ScreenWidth);
        m_view.chosenOperation = m_view.chosenLevel = 0; // no level chosen, none shown
    });
}

// Only the panel that is shown can be chosen from, and only a level it offers: an option pressed
// while a mark showed, on a panel that another operation button has since replaced, is dropped.
bool Flow::panelShown(int operation) const
{
    return operation >= 1 && operation <= 4 && m_view.panel == operation;
}

void Flow::chooseLevel(int operation, int level)
{
    act([=, this] {
        const OperationTable *table = operationTable(operation);
        if (!table || !panelShown(operation) || level < 1
            || level > operations::of(operation).offered)
            return;
        m_state.Level = static_cast<std::int16_t>(level);
        m_state.RemainderMode = table->asksRemainder(level) ? 1 : 0;
        m_view.chosenOperation = operation;
        m_view.chosenLevel = level;
    });
}

void Flow::decide(int operation)
{
    act([=, this] {
        if (!panelShown(operation))
            return;
        if (m_state.Level == 0) {
            inform(texts::kNoLevel);
            return;
        }
        m_decided = { m_state.Operation, m_state.Level, m_state.RemainderMode };
        drawRows();
        m_view.decided = true;
        m_view.panel = 0;
        m_view.surfaceLeft = design::surfaceLeft(operation);
        m_view.surfaceShown = true;
    });
}

void Flow::cancel(int operation)
{
    act([=, this] {
        if (!panelShown(operation))
            return;
        m_state.Level = 0;
        m_view.panel = 0;
        m_view.chosenOperation = m_view.chosenLevel = 0;
    });
}

std::optional<Worksheet> Flow::worksheet(bool tell)
{
    const bool onPanel = m_state.Level != 0;
    const int operation = onPanel ? m_state.Operation : m_decided.operation;
    const int level = onPanel ? m_state.Level : m_decided.level;
    if (level == 0) {
        if (tell)
            inform(texts::kNoLevelToPrint);
        return std::nullopt;
    }
    return makeWorksheet({ operation, level, 0, seedOfTime(m_seams.clock.timeOfDay()) });
}

void Flow::printInvitations()
{
    Canvas &canvas = m_seams.canvas;
    canvas.setForeColor(kBlack);
    for (int row = 1; row <= 3; ++row) {
        const Point at = rows::onRow(rows::kInvitation, row);
        canvas.setCurrentX(at.x);
        canvas.setCurrentY(at.y);
        canvas.print(texts::kInvitation);
    }
}

bool Flow::anyRowOpen() const
{
    return std::any_of(
        m_view.rows.begin(), m_view.rows.end(), [](const RowView &r) { return r.open; });
}

// Empty frames with their invitations, for every row but the open ones: an open row stays open
// and shows its status line and problem again rather than an invitation beside its answer box.
void Flow::drawRows()
{
    drawEmptyRows();
    printInvitations();
    for (int row = 1; row <= 3; ++row)
        if (m_state.ProblemHistory.RowStarted(row) != 0)
            reprint(row);
}

void Flow::redraw()
{
    if (!m_view.decided)
        return;
    drawRows();
    if (m_view.markRow != 0)
        printMark(m_view.markRow, m_view.markRight);
}

void Flow::drawEmptyRows()
{
    for (int row = 1; row <= rowCount(); ++row)
        drawFrame(row);
}

// A row's white rounded frame, which wipes whatever the row showed.
void Flow::drawFrame(int row)
{
    Canvas &canvas = m_seams.canvas;
    const int y0 = rows::y0(row);
    canvas.setForeColor(kWhite);
    canvas.setFillColor(kWhite);
    canvas.setSolidFill(true);
    canvas.roundRect(rows::kFrameLeft, y0 + rows::kFrameTop, rows::kFrameRight,
        y0 + rows::kFrameBottom, rows::kCorner, rows::kCorner);
}

void Flow::reprint(int row)
{
    Canvas &canvas = m_seams.canvas;
    drawFrame(row);
    canvas.setForeColor(kBlack);
    for (auto [place, text] : { std::pair { rows::kStatusLine, &rowView(row).status },
             std::pair { rows::kProblem, &rowView(row).problem } }) {
        const Point at = rows::onRow(place, row);
        canvas.setCurrentX(at.x);
        canvas.setCurrentY(at.y);
        canvas.print(*text);
    }
}

void Flow::pressSurface(int x, int y)
{
    act([=, this] {
        // A hidden surface has no rows to open: no level has been decided for them.
        if (!m_view.surfaceShown || !m_view.decided)
            return;
        const int row = rows::rowAt(x, y, rowCount());
        if (row == 0) {
            m_seams.beeper.beep();
            return;
        }
        m_state.CurrentRow = static_cast<std::int16_t>(row);
        auto &h = m_state.ProblemHistory;
        if (h.RowStarted(row) != 0)
            return;
        h.setRowStarted(row, 1);
        h.clearSlots(row, 1, 200);
        prepareRow();
        rowView(row).open = true;
        announce(spoken(row));
    });
}

void Flow::openRow(int row)
{
    if (!validRow(row))
        return;
    const Point at = rows::onRow(rows::kProblem, row);
    pressSurface(at.x, at.y);
}

// Wipes the current row, has the generator make its next problem, prints it and places the
// answer box (and the remainder button and box) just after the printed text.
void Flow::prepareRow()
{
    const int row = m_state.CurrentRow;
    if (!validRow(row))
        return;
    // Level 0 has no problems: with no level chosen the row goes on with the last decision.
    if (m_state.Level == 0 && m_decided.level != 0) {
        const Choice chosen { m_state.Operation, m_state.Level, m_state.RemainderMode };
        m_state.Operation = m_decided.operation;
        m_state.Level = m_decided.level;
        m_state.RemainderMode = m_decided.remainderMode;
        prepareRow();
        m_state.Operation = chosen.operation;
        m_state.Level = chosen.level;
        m_state.RemainderMode = chosen.remainderMode;
        return;
    }
    Canvas &canvas = m_seams.canvas;
    drawFrame(row);
    if (!makeProblem(m_state, m_seams.random, canvas))
        return;

    RowView &view = rowView(row);
    view.status = statusLine(m_state, row, m_state.ProblemHistory.ProblemCount(row));
    view.problem = m_state.ProblemText;
    const Point at = rows::onRow(rows::kProblem, row);
    canvas.setCurrentX(at.x);
    canvas.setCurrentY(at.y);
    canvas.setForeColor(kBlack);
    canvas.print(view.problem);
    const int w = canvas.textWidth(view.problem);
    view.answerBox = rows::after(rows::kAnswerBoxAfter, w, row);
    const bool remainder = m_state.RemainderMode == 1;
    if (remainder) {
        view.remainderBox = rows::after(rows::kRemainderBoxAfter, w, row);
        view.remainderButton = rows::after(rows::kRemainderButtonAfter, w, row);
    }
    // A row that stays open across a change of level shows the remainder box exactly when its
    // new problem asks for a remainder: without it a right answer could not be given.
    view.remainderShown = remainder;
    m_state.InputTarget[row] = 0;
    view.answer.clear();
    view.remainder.clear();
}

void Flow::pressKey(int keypadIndex)
{
    act([=, this] {
        const std::optional<KeypadKey> key = keypadKey(keypadIndex);
        if (!key)
            return;
        RowView &view = rowView(key->row);
        m_boxesChanged[index(key->row)] = true;
        std::string &box = activeBox(key->row) == Box::Remainder ? view.remainder : view.answer;
        box += static_cast<char>('0' + key->digit);
    });
}

// けす empties the whole active box of its row.
void Flow::erase(int row)
{
    act([=, this] {
        if (!validRow(row))
            return;
        RowView &view = rowView(row);
        m_boxesChanged[index(row)] = true;
        (activeBox(row) == Box::Remainder ? view.remainder : view.answer).clear();
    });
}

void Flow::chooseBox(int row, Box box)
{
    act([=, this] {
        if (!validRow(row))
            return;
        m_boxesChanged[index(row)] = true;
        m_state.InputTarget[row] = box == Box::Remainder ? 1 : 0;
    });
}

void Flow::type(int row, Box box, const std::string &text)
{
    act([=, this] {
        if (!validRow(row))
            return;
        m_boxesChanged[index(row)] = true;
        (box == Box::Remainder ? rowView(row).remainder : rowView(row).answer) = text;
    });
}

void Flow::check(int row)
{
    act([=, this] { checkRow(row); });
}

// ﾁｪｯｸ: judges the row's answer (and remainder) and shows ○ or × with a beep; when the mark's
// time is up, endMark() records the attempt and moves on after a right answer or the third
// wrong one.
void Flow::checkRow(int row)
{
    if (!validRow(row))
        return;
    auto &h = m_state.ProblemHistory;
    // A second press of ﾁｪｯｸ (or Enter) while the row's mark showed, a double click as young
    // pupils make them, belongs to the answer that mark judged: it must neither judge the next
    // problem, which the pupil has not seen yet, nor check the box the wrong answer left empty.
    // Only when the pupil has since changed the row's boxes is it a check of a new answer.
    if (m_replayingFor && m_replayingFor->first == row
        && (h.ProblemCount(row) != m_replayingFor->second || !m_boxesChanged[index(row)]))
        return;
    m_state.CurrentRow = static_cast<std::int16_t>(row);
    if (h.RowStarted(row) == 0)
        return; // a closed row has nothing to check
    const RowView &view = rowView(row);
    // Text without a digit ("abc", "-", a blank) is no answer yet, not the number 0.
    if (!holdsDigit(view.answer)) {
        inform(texts::kNoAnswer);
        return;
    }
    const double A = boxValue(view.answer);
    const double R = boxValue(view.remainder);
    const int n = h.ProblemCount(row);
    const int attempt = std::min(h.Attempts(row, n) + 1, 3);
    h.setField(row, n, Field::Attempts, attempt);

    const bool right = A == h.Answer(row, n) && R == h.Remainder(row, n);
    printMark(row, right);
    m_seams.beeper.beep();
    m_view.markRow = row;
    m_view.markRight = right;
    m_mark = Mark { row, n, attempt, right };
    m_boxesChanged[index(row)] = false;
    m_mark->noted = m_seams.clock.timeOfDay();
    announce((right ? names::kRight : names::kWrong) + names::rowName(row));
}

void Flow::printMark(int row, bool right)
{
    Canvas &canvas = m_seams.canvas;
    const Point at = rows::onRow(rows::kMark, row);
    canvas.setCurrentX(at.x);
    canvas.setCurrentY(at.y);
    canvas.setForeColor(kRed);
    const char *mark = right ? texts::kRight : texts::kWrong;
    // The white square alone can leave the edge of a large mark behind: keep what lies under the
    // mark's whole cell and put it back after the square.
    const Point eraser = rows::onRow(rows::kMarkEraser, row);
    canvas.keepArea(united({ at.x, at.y, canvas.textWidth(mark), canvas.textHeight() },
        { eraser.x, eraser.y, rows::kMarkEraserSide, rows::kMarkEraserSide }));
    canvas.print(mark);
}

// The mark stays until the clock's second has changed twice: one to two seconds.
void Flow::tick()
{
    if (!m_mark || m_seams.clock.timeOfDay() == m_mark->noted)
        return;
    if (++m_mark->changes < 2) {
        m_mark->noted = m_seams.clock.timeOfDay();
        return;
    }
    endMark();
    changed();
    while (!holding() && !m_held.empty()) {
        const Held held = std::move(m_held.front());
        m_held.pop_front();
        m_replayingFor = std::pair { held.row, held.n };
        held.input();
        m_replayingFor.reset();
        changed();
    }
}

void Flow::endMark()
{
    const Mark mark = *m_mark;
    m_mark.reset();
    m_view.markRow = 0;
    // The answer box is the active one again; the pink box changes as the mark goes.
    m_state.InputTarget[mark.row] = 0;
    Canvas &canvas = m_seams.canvas;
    const Point eraser = rows::onRow(rows::kMarkEraser, mark.row);
    canvas.fillSquare(eraser.x, eraser.y, rows::kMarkEraserSide, kWhite);
    canvas.restoreArea();

    auto &h = m_state.ProblemHistory;
    if (mark.right) {
        h.setOutcome(mark.row, mark.n,
            mark.attempt == 1 ? ProblemOutcome::RightAtOnce : ProblemOutcome::RightLater);
        h.setAttemptResult(mark.row, mark.n, mark.attempt, Verdict::Right);
        prepareRow();
        announce(spoken(mark.row));
        return;
    }
    RowView &view = rowView(mark.row);
    view.answer.clear();
    view.remainder.clear();
    h.setAttemptResult(mark.row, mark.n, mark.attempt, Verdict::Wrong);
    if (mark.attempt == 3) {
        h.setOutcome(mark.row, mark.n, ProblemOutcome::WrongThrice);
        prepareRow();
        announce(spoken(mark.row));
    }
}

// 終わる: after a Yes, every row closes and its records go; the level panel comes back.
void Flow::finish()
{
    act([this] {
        if (!m_view.surfaceShown)
            return; // the button stands on the drill surface
        ask(texts::kFinishQuestion, [this](bool yes) {
            if (yes)
                act([this] { closeRows(); });
        });
    });
}

void Flow::closeRows()
{
    m_view.surfaceShown = false;
    m_view.decided = false;
    m_view.panel = std::clamp<int>(m_state.Operation, 1, 4);
    for (int row = 1; row <= 3; ++row) {
        RowView &view = rowView(row);
        view.open = false;
        view.remainderShown = false;
        m_state.ProblemHistory.clearRow(row);
        m_state.InputTarget[row] = 0;
    }
}

// 「ぴこまる」おわり: after a Yes the program ends. Nothing is saved.
void Flow::exit()
{
    act([this] {
        ask(texts::kExitQuestion, [this](bool yes) {
            if (yes)
                act([this] { m_view.ended = true; });
        });
    });
}

} // namespace piko

namespace piko {

std::string Flow::spoken(int row) const
{
    const RowView &shown = m_view.rows[index(row)];
    std::string said;
    if (!shown.open) {
        said = std::string(texts::kInvitation) + names::rowName(row);
    } else {
        // Blanks, the ideographic space among them, run together into one.
        const std::string text = shown.status + "\u3000" + shown.problem;
        for (std::size_t i = 0; i < text.size();) {
            const bool ideographic = text.compare(i, 3, "\u3000") == 0;
            if (ideographic || text[i] == ' ') {
                i += ideographic ? 3 : 1;
                if (!said.empty() && said.back() != ' ')
                    said += ' ';
            } else {
                said += text[i++];
            }
        }
        if (!said.empty() && said.back() == ' ')
            said.pop_back();
    }
    if (m_view.markRow == row)
        said = std::string(m_view.markRight ? names::kRight : names::kWrong) + "\u3000" + said;
    return said;
}

} // namespace piko
