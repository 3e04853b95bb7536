// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Design.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A paper drill: a level's problems on an A4 sheet with boxes to write in, and a second sheet
// with their answers. The problems come from the level's generator by the same rules as one
// row of the drill; the sheet's layout is data (worksheet::kLayout), placed here once, so that
// every face prints the same sheet.
namespace piko {

struct WorksheetProblem {
    int number = 0; // (1), (2) ...
    int a = 0, b = 0;
    std::string text; // "13 ＋ 6 ＝ "
    int answer = 0;
    int remainder = 0;
};

struct Worksheet {
    int operation = 0; // 1 addition .. 4 division
    int level = 0;
    std::uint32_t seed = 0;
    bool remainder = false; // the level asks for a remainder
    std::vector<WorksheetProblem> problems;
};

// What was asked for, as read from the command line or a face.
struct WorksheetRequest {
    int operation = 0;
    int level = 0;
    int count = 0; // 0: as many as fill one sheet
    std::uint32_t seed = 0;
};

namespace worksheet {

// The sheet, in millimetres and points, A4 portrait.
struct Layout {
    double pageWidth = 210, pageHeight = 297;
    double margin = 15;
    double titlePoints = 18; // the operation and the level's caption
    double linePoints = 12; // なまえ and the date
    double problemPoints = 20; // a first-grader's size of writing
    double seedPoints = 7;
    double headerHeight = 34; // title and the name and date lines, above the problems
    double rowHeight = 22; // one problem with its box and room around it
    double boxHeight = 14;
    double digitWidth = 8; // room in a box for one written digit
    double boxPadding = 6;
    double columnGap = 10;
    int most = 99; // problems on one sheet, at most
};
inline constexpr Layout kLayout {};

inline constexpr const char *kName = "なまえ";
inline constexpr const char *kDate = "がつ　　　にち";
inline constexpr const char *kAnswers = "こたえ";
inline constexpr const char *kRemainder = "あまり";
inline constexpr const char *kSeed = "シード ";
// The problems and the answers print in the fixed-pitch Gothic, whose widths are known: half
// an em for a half-width character, a whole one for any other.
inline constexpr const char *kProblemFont = design::kGothic;
inline constexpr const char *kTitleFont = design::kPMincho;

// One thing to print: a text or a box to write in, on page `page` (0: the problems, then the
// answers), in millimetres from the page's top left. A text's top is its box's top; it is
// drawn at `points` and vertically centred in `height`.
struct Item {
    enum class Kind : std::uint8_t { Text, Box, Line };
    Kind kind = Kind::Text;
    int page = 0;
    double left = 0, top = 0, width = 0, height = 0;
    std::string text;
    double points = 0;
    const char *family = kProblemFont;
    bool bold = false;
    bool right = false; // right-aligned in its width
};

struct Sheet {
    int pages = 0; // problem pages; as many answer pages follow
    std::vector<Item> items;
};

// The levels a pupil can choose (hidden ones are not), and the operation's caption.
bool offered(int operation, int level);
const char *operationName(int operation);
const char *levelCaption(int operation, int level);

// Places a worksheet on its pages: the problem pages, then as many pages of answers.
Sheet place(const Worksheet &sheet, const Layout &layout = kLayout);

// Width of a text in ems of the fixed-pitch Gothic.
double ems(std::string_view text);

} // namespace worksheet

// The worksheet asked for, or nothing for a level that cannot be chosen or a count outside
// 1..worksheet::kLayout.most. With no count, as many as fill one sheet: fewer where the
// level's problems are too long for two columns.
std::optional<Worksheet> makeWorksheet(const WorksheetRequest &request);

// An operation by its number 1..4, its name in kana or add/sub/mul/div.
std::optional<int> operationNamed(std::string_view name);

// A seed from the time of day "hh:mm:ss": hhmmss as one number.
std::uint32_t seedOfTime(std::string_view timeOfDay);

} // namespace piko
