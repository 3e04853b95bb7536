// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

namespace piko {

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point &) const = default;
};

// A rectangle: the window's places in twips or pixels, an area of the drill surface.
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect &) const = default;
    constexpr bool contains(Point p) const
    {
        return p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
};

// Where the parts of a problem row stand on the drill surface, in pixels. Rows are numbered
// 1 to 3 from the top; row r starts at y0 = 200·(r − 1), and everything below is given for
// row 1 and moves down with its row. The generators print the status line here, the drill flow
// draws frames, prints problems and marks and finds the row under a click with the same table.
namespace rows {

inline constexpr int kSpacing = 200;
constexpr int y0(int row)
{
    return kSpacing * (row - 1);
}

// The white rounded frame: right and bottom lie just outside it; corners 30 × 30.
inline constexpr int kFrameLeft = 20, kFrameTop = 70, kFrameRight = 770, kFrameBottom = 260;
inline constexpr int kCorner = 30;

inline constexpr Point kStatusLine { 20, 80 };
inline constexpr Point kProblem { 80, 160 };
inline constexpr Point kInvitation { 40, 140 }; // "ここをクリックしてください。" before a row opens
inline constexpr Point kMark { 50, 158 }; // ○ or × after a check
inline constexpr Point kMarkEraser { 50, 156 }; // a white square over the mark
inline constexpr int kMarkEraserSide = 25;

// The answer controls stand just after the problem text, w being its printed width.
inline constexpr Point kAnswerBoxAfter { 90, 157 };
inline constexpr Point kRemainderButtonAfter { 220, 160 };
inline constexpr Point kRemainderBoxAfter { 311, 157 };

// p moved down to row r: the place of a row-1 position on row r.
constexpr Point onRow(Point p, int row)
{
    return { p.x, p.y + y0(row) };
}
// A control that follows the problem text of printed width w on row r.
constexpr Point after(Point offset, int w, int row)
{
    return { offset.x + w, offset.y + y0(row) };
}

// The row whose frame holds (x, y), bounds excluded, among the first `count` rows; 0 for none
// (a margin, a gap between frames, or a row that is not drawn).
constexpr int rowAt(int x, int y, int count)
{
    if (x <= kFrameLeft || x >= kFrameRight)
        return 0;
    for (int row = 1; row <= count; ++row)
        if (y > y0(row) + kFrameTop && y < y0(row) + kFrameBottom)
            return row;
    return 0;
}

} // namespace rows
} // namespace piko
