// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "drill/Worksheet.h"

#include "drill/Design.h"
#include "drill/Operations.h"
#include "generators/Generators.h"
#include "generators/LevelRule.h"

#include <algorithm>
#include <cstring>

namespace piko {
namespace {

// The status line the generator prints goes nowhere on paper.
class NoSurface final : public Surface {
public:
    void setCurrentX(int) override { }
    void setCurrentY(int) override { }
    void setForeColor(Rgb) override { }
    void print(const std::string &) override { }
};

constexpr double kMillimetresPerPoint = 25.4 / 72;

// A level's problems as one row of the drill makes them from `seed`.
std::vector<WorksheetProblem> problemsOf(int operation, int level, int count, std::uint32_t seed)
{
    DrillState state;
    state.Operation = std::int16_t(operation);
    state.Level = std::int16_t(level);
    state.RemainderMode = operationTable(operation)->asksRemainder(level) ? 1 : 0;
    state.CurrentRow = 1;
    SeededRandom random(seed);
    NoSurface surface;
    const ProblemHistory &h = state.ProblemHistory;
    std::vector<WorksheetProblem> problems;
    for (int i = 1; i <= count; ++i) {
        makeProblem(state, random, surface);
        const int n = h.ProblemCount(1);
        problems.push_back({ i, h.OperandA(1, n), h.OperandB(1, n), state.ProblemText,
            h.Answer(1, n), h.Remainder(1, n) });
    }
    return problems;
}

int digits(int v)
{
    int n = 1;
    for (; v >= 10; v /= 10)
        ++n;
    return n;
}

// What one problem takes across a column: its text, the answer's box and, on a level that
// asks for one, あまり and its box.
struct Widths {
    double text = 0, box = 0, remainderWord = 0, remainderBox = 0;
    double total() const { return text + box + remainderWord + remainderBox; }
};

Widths widthsOf(
    const std::vector<WorksheetProblem> &problems, bool remainder, const worksheet::Layout &layout)
{
    const double em = layout.problemPoints * kMillimetresPerPoint;
    Widths w;
    int answerDigits = 1, remainderDigits = 1;
    for (const WorksheetProblem &p : problems) {
        w.text = std::max(w.text, worksheet::ems(p.text) * em);
        answerDigits = std::max(answerDigits, digits(p.answer));
        remainderDigits = std::max(remainderDigits, digits(p.remainder));
    }
    w.box = answerDigits * layout.digitWidth + layout.boxPadding;
    if (remainder) {
        w.remainderWord = (worksheet::ems(worksheet::kRemainder) + 1) * em;
        w.remainderBox = remainderDigits * layout.digitWidth + layout.boxPadding;
    }
    return w;
}

// What the longest problems of a level take, from a thousand of them: every sheet of the level
// is laid out alike, so it always holds as many problems.
Widths levelWidths(int operation, int level, bool remainder, const worksheet::Layout &layout)
{
    std::vector<WorksheetProblem> sample;
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        const std::vector<WorksheetProblem> more = problemsOf(operation, level, layout.most, seed);
        sample.insert(sample.end(), more.begin(), more.end());
    }
    return widthsOf(sample, remainder, layout);
}

int columnsFor(const Widths &w, const worksheet::Layout &layout)
{
    const double across = layout.pageWidth - 2 * layout.margin;
    const double two = (across - layout.columnGap) / 2;
    return w.total() + layout.columnGap / 2 <= two ? 2 : 1;
}

int rowsPerPage(const worksheet::Layout &layout)
{
    const double down = layout.pageHeight - 2 * layout.margin - layout.headerHeight;
    return int(down / layout.rowHeight);
}

} // namespace

namespace worksheet {

double ems(std::string_view text)
{
    double width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) == 0x80)
            continue; // inside a character
        width += c < 0x80 ? 0.5 : 1.0;
    }
    return width;
}

bool offered(int operation, int level)
{
    return operation >= 1 && operation <= 4 && level >= 1
        && level <= operations::of(operation).offered;
}

const char *operationName(int operation)
{
    for (const design::Control &c : design::kControls)
        if (std::strcmp(c.name, "Command1") == 0 && c.index == operation - 1)
            return c.caption;
    return "";
}

const char *levelCaption(int operation, int level)
{
    return offered(operation, level) ? operations::of(operation).captions[level - 1] : "";
}

Sheet place(const Worksheet &sheet, const Layout &layout)
{
    const Widths level = levelWidths(sheet.operation, sheet.level, sheet.remainder, layout);
    const Widths own = widthsOf(sheet.problems, sheet.remainder, layout);
    const int columns = columnsFor(level, layout);
    const Widths w { std::max(level.text, own.text), std::max(level.box, own.box),
        level.remainderWord, std::max(level.remainderBox, own.remainderBox) };
    const int rows = rowsPerPage(layout);
    const int perPage = columns * rows;
    const int count = int(sheet.problems.size());
    Sheet out;
    out.pages = std::max(1, (count + perPage - 1) / perPage);
    const double across = layout.pageWidth - 2 * layout.margin;
    const double columnWidth = (across - (columns - 1) * layout.columnGap) / columns;
    const double numberWidth = 4 * 0.5 * layout.problemPoints * kMillimetresPerPoint; // "(99)"
    const std::string title = std::string(operationName(sheet.operation)) + "　"
        + levelCaption(sheet.operation, sheet.level);

    auto text = [&](int page, double left, double top, double width, double height, std::string s,
                    double points, const char *family, bool bold = false, bool right = false) {
        out.items.push_back({ Item::Kind::Text, page, left, top, width, height, std::move(s),
            points, family, bold, right });
    };
    auto box = [&](int page, double left, double top, double width, std::string inside) {
        const double boxTop = top + (layout.rowHeight - layout.boxHeight) / 2;
        out.items.push_back(
            { Item::Kind::Box, page, left, boxTop, width, layout.boxHeight, {}, 0 });
        if (!inside.empty())
            text(page, left, boxTop, width - layout.boxPadding / 2, layout.boxHeight,
                std::move(inside), layout.problemPoints, kProblemFont, false, true);
    };

    for (int page = 0; page < 2 * out.pages; ++page) {
        const bool answers = page >= out.pages;
        const double m = layout.margin;
        // The level's caption lines up in the fixed-pitch font it was written for.
        text(page, m, m, across, 10, answers ? title + "　" + kAnswers : title, layout.titlePoints,
            kProblemFont, true);
        const double lines = m + 14;
        text(page, m, lines, 22, 8, kName, layout.linePoints, kTitleFont);
        out.items.push_back({ Item::Kind::Line, page, m + 22, lines + 8, 80, 0, {}, 0 });
        text(page, m + 112, lines, across - 112, 8, kDate, layout.linePoints, kTitleFont, false,
            true);
        text(page, layout.pageWidth - m - 40, layout.pageHeight - m + 4, 40, 4,
            kSeed + std::to_string(sheet.seed), layout.seedPoints, kProblemFont, false, true);

        const int first = (answers ? page - out.pages : page) * perPage;
        for (int i = first; i < std::min(count, first + perPage); ++i) {
            const WorksheetProblem &p = sheet.problems[std::size_t(i)];
            const int at = i - first;
            const double left = m + (at / rows) * (columnWidth + layout.columnGap);
            const double top = m + layout.headerHeight + (at % rows) * layout.rowHeight;
            double x = left;
            text(page, x, top, numberWidth, layout.rowHeight, "(" + std::to_string(p.number) + ")",
                layout.problemPoints * 0.7, kProblemFont);
            x += numberWidth;
            text(
                page, x, top, w.text, layout.rowHeight, p.text, layout.problemPoints, kProblemFont);
            x += w.text;
            box(page, x, top, w.box, answers ? std::to_string(p.answer) : std::string {});
            if (sheet.remainder) {
                x += w.box;
                text(page, x, top, w.remainderWord, layout.rowHeight, std::string(" ") + kRemainder,
                    layout.problemPoints, kProblemFont);
                x += w.remainderWord;
                box(page, x, top, w.remainderBox,
                    answers ? std::to_string(p.remainder) : std::string {});
            }
        }
    }
    return out;
}

} // namespace worksheet

std::optional<Worksheet> makeWorksheet(const WorksheetRequest &request)
{
    if (!worksheet::offered(request.operation, request.level))
        return std::nullopt;
    const worksheet::Layout &layout = worksheet::kLayout;
    const bool remainder = operationTable(request.operation)->asksRemainder(request.level);
    // By default, one sheet: two columns of problems, or one where the level's are too long.
    const int count = request.count != 0
        ? request.count
        : columnsFor(levelWidths(request.operation, request.level, remainder, layout), layout)
            * rowsPerPage(layout);
    if (count < 1 || count > layout.most)
        return std::nullopt;
    return Worksheet { request.operation, request.level, request.seed, remainder,
        problemsOf(request.operation, request.level, count, request.seed) };
}

std::optional<int> operationNamed(std::string_view name)
{
    static constexpr std::array<std::string_view, 4> kShort { "add", "sub", "mul", "div" };
    for (int op = 1; op <= 4; ++op)
        if (name == kShort[std::size_t(op - 1)] || name == worksheet::operationName(op)
            || name == std::string_view(&"1234"[op - 1], 1))
            return op;
    return std::nullopt;
}

std::uint32_t seedOfTime(std::string_view timeOfDay)
{
    std::uint32_t seed = 0;
    for (const char c : timeOfDay)
        if (c >= '0' && c <= '9')
            seed = 10 * seed + std::uint32_t(c - '0');
    return seed;
}

} // namespace piko
