// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Every level, driven by an exact sequence of draws: the problem must be exactly the one the
// level's draws give, and the level must take exactly those draws (no more, no fewer), each
// draw the R(M) its step was scripted for, so the order and ranges of the draws, every redraw
// point and every clamp (each met by some script with a value it holds or raises) are pinned.
#include "RecordingSurface.h"
#include "ScriptedRandom.h"
#include "generators/Generators.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace piko::test {
namespace {

struct Script {
    int operation, level;
    std::vector<Step> draws;
    Candidate expected; // a, b, answer, remainder
};

std::ostream &operator<<(std::ostream &os, const Script &s)
{
    return os << "operation " << s.operation << " level " << s.level;
}

// clang-format off
const Script kScripts[] = {
    // Addition. Pick(v, M): the draw R(M) comes out as v.
    { 1,  1, { Pick(7,8), Pick(8,9),  Pick(4,8), Pick(2,9) },                                  {  5,  3,  8 } }, // 8+9 > 9: redraw
    { 1,  2, { Pick(7,8), Pick(3,9),  Pick(2,8), Pick(5,9) },                                  { 13,  6, 19 } }, // 18+4 > 19
    { 1,  3, { Pick(1,8), Pick(2,9),  Pick(7,8), Pick(3,9) },                                  {  8,  4, 12 } }, // 2+3 < 10
    { 1,  4, { Pick(1,8), Pick(2,9) },                                                         { 20,  3, 23 } },
    { 1,  5, { Pick(7,8), Pick(5,9),  Pick(2,8), Pick(3,9) },                                  { 30, 40, 70 } }, // 80+60 > 99
    { 1,  6, { Pick(5,8), Pick(5,9),  Pick(3,8), Pick(4,9), Pick(1,9) },                       { 24,  5, 29 } }, // u+b > 9 before t
    { 1,  7, { Pick(7,8), Pick(8,9),  Pick(3,8), Pick(2,9), Pick(3,9) },                       { 44, 30, 74 } },
    { 1,  8, { Pick(4,99),  Pick(34,99) },                                                     { 35,  0, 35 } }, // a < 10
    { 1,  9, { Pick(3,8), Pick(2,9),  Pick(3,8), Pick(7,9), Pick(1,8) },                       { 24,  8, 32 } },
    { 1, 10, { Pick(5,8), Pick(0,9), Pick(2,9), Pick(8,9),  Pick(5,8), Pick(0,9), Pick(2,9), Pick(1,9) }, { 36, 21, 57 } }, // t+s > 9
    { 1, 11, { Pick(0,8), Pick(0,9),  Pick(3,8), Pick(6,9) },                                  { 40, 70, 110 } },
    { 1, 12, { Pick(3,8), Pick(1,9) },                                                         { 400, 200, 600 } },
    { 1, 13, { Pick(5,99),  Pick(89,99), Pick(19,99),  Pick(13,99), Pick(27,99) },             { 14, 28, 42 } }, // a < 10; 90+20 > 99
    { 1, 14, { Pick(98,999),  Pick(230,999), Pick(282,999) },                                  { 231, 283, 514 } },
    { 1, 15, { Pick(99,999), Pick(798,999),  Pick(393,999), Pick(827,999) },                   { 394, 828, 1222 } }, // 100+799 < 900
    { 1, 16, { Pick(998,9999),  Pick(3674,9999), Pick(3901,9999) },                            { 3675, 3902, 7577 } },

    // Subtraction.
    { 2,  1, { Pick(6,9), Pick(0,7) },                                                         {  7,  1,  6 } }, // R(7) = 0 raised to 1
    { 2,  2, { Pick(6,9), Pick(4,7) },                                                         { 17,  4, 13 } },
    { 2,  2, { Pick(6,9), Pick(0,7) },                                                         { 17,  1, 16 } }, // R(7) = 0 raised to 1
    { 2,  3, { Pick(5,9), Pick(4,9),  Pick(4,9), Pick(5,9) },                                  { 14,  6,  8 } }, // 15-5 > 9
    { 2,  4, { Pick(6,9), Pick(3,9) },                                                         { 47,  7, 40 } },
    { 2,  5, { Pick(6,9), Pick(3,7) },                                                         { 70, 40, 30 } },
    { 2,  6, { Pick(6,9), Pick(0,7),  Pick(6,9), Pick(4,7), Pick(2,9) },                       { 37,  4, 33 } }, // b < 1 before t
    { 2,  7, { Pick(4,9), Pick(3,5), Pick(6,9) },                                              { 57, 40, 17 } },
    { 2,  8, { Pick(6,9) },                                                                    {  7,  0,  7 } },
    { 2,  9, { Pick(5,9), Pick(2,9),  Pick(3,9), Pick(5,9), Pick(2,8) },                       { 34,  6, 28 } }, // u >= b
    { 2, 10, { Pick(3,9), Pick(3,4), Pick(2,9), Pick(1,3) },                                   { 34, 23, 11 } },
    { 2, 11, { Pick(2,9), Pick(5,9), Pick(1,9), Pick(1,2),  Pick(2,9), Pick(5,9), Pick(3,9), Pick(1,4) }, { 43, 26, 17 } }, // 23-26 < 0
    { 2, 12, { Pick(99,100), Pick(3,99),  Pick(73,100), Pick(35,74) },                         { 74, 36, 38 } }, // 100 held to 99; b < 10
    { 2, 13, { Pick(99,1000),  Pick(999,1000), Pick(185,999) },                                { 999, 186, 813 } }, // a < 101; 1000 held to 999

    // Multiplication.
    { 3,  1, { Pick(0,10) }, { 1, 1, 1 } },  { 3,  2, { Pick(3,10) }, { 2, 3, 6 } },  { 3,  3, { Pick(9,10) }, { 3, 9, 27 } },
    { 3,  4, { Pick(4,10) }, { 4, 4, 16 } }, { 3,  5, { Pick(0,10) }, { 5, 1, 5 } },  { 3,  6, { Pick(7,10) }, { 6, 7, 42 } },
    { 3,  7, { Pick(8,10) }, { 7, 8, 56 } }, { 3,  8, { Pick(2,10) }, { 8, 2, 16 } }, { 3,  9, { Pick(6,10) }, { 9, 6, 54 } },
    { 3, 10, { Pick(9,10), Pick(3,10) },                                                       {  9,  4, 36 } }, // 10 held to 9
    { 3, 10, { Pick(2,10), Pick(9,10) },                                                       {  3,  9, 27 } }, // b: 10 held to 9
    { 3, 11, { Pick(2,10), Raw(0.7) },                                                         {  3, 10, 30 } },
    { 3, 11, { Pick(9,10), Raw(0.2) },                                                         { 10,  9, 90 } }, // 10 held to 9; 10 on the left
    { 3, 12, { Pick(5,100),  Pick(33,100), Raw(0.7) },                                         { 34, 10, 340 } }, // d < 10 before the side
    { 3, 13, { Pick(99,100), Raw(0.2) },                                                       { 100, 99, 9900 } },
    { 3, 14, { Pick(1,10), Pick(2,10), Pick(3,8),  Pick(1,10), Pick(2,10), Pick(1,8) },        { 23,  3, 69 } }, // 3·5 carries
    { 3, 14, { Pick(9,10), Pick(9,10), Pick(0,8),  Pick(9,10), Pick(2,10), Pick(1,8) },        { 93,  3, 279 } }, // t, u: 10 held to 9; 9·2 carries
    { 3, 15, { Pick(1,10), Pick(2,10), Pick(1,9),  Pick(1,10), Pick(2,10), Pick(3,9) },        { 23,  5, 115 } }, // 3·3 does not
    { 3, 15, { Pick(9,10), Pick(9,10), Pick(8,9) },                                            { 99,  9, 891 } }, // t, u, b: 10 held to 9
    { 3, 16, { Pick(8,10), Pick(7,10), Pick(8,9) },                                            { 900, 9, 8100 } },
    { 3, 17, { Pick(50,1000),  Pick(240,1000), Pick(1,9) },                                    { 241,  3, 723 } },
    { 3, 17, { Pick(999,1000), Pick(0,9),  Pick(110,1000), Pick(8,9) },                        { 111,  9, 999 } }, // 1000 held to 999, 999·2 > 999; b: 10 held to 9
    { 3, 18, { Pick(435,1000), Pick(0,9),  Pick(435,1000), Pick(3,9) },                        { 436,  5, 2180 } }, // 872 < 1000
    { 3, 18, { Pick(999,1000), Pick(8,9) },                                                    { 999,  9, 8991 } }, // 1000 held to 999; b: 10 held to 9
    { 3, 19, { Pick(1,9), Pick(3,9) },                                                         {  3, 50, 150 } },
    { 3, 19, { Pick(8,9), Pick(8,9) },                                                         {  9, 90, 810 } }, // both 10 held to 9
    { 3, 20, { Pick(0,9), Pick(1,9) },                                                         { 20, 30, 600 } },
    { 3, 20, { Pick(8,9), Pick(8,9) },                                                         { 90, 90, 8100 } }, // both 10 held to 9
    { 3, 21, { Pick(98,99), Pick(1,9) },                                                       { 99, 30, 2970 } }, // 109 held to 99
    { 3, 21, { Pick(0,99), Pick(8,9) },                                                        { 11, 90, 990 } }, // e: 10 held to 9
    { 3, 22, { Pick(5,9), Pick(2,9) },                                                         {  6, 300, 1800 } },
    { 3, 23, { Pick(13,89), Pick(4,89),  Pick(13,89), Pick(2,89) },                            { 24, 13, 312 } }, // 24·5 > 99
    { 3, 24, { Pick(12,89), Pick(27,89) },                                                     { 23, 38, 874 } },
    { 3, 25, { Pick(222,899), Pick(21,89) },                                                   { 323, 32, 10336 } },
    { 3, 26, { Pick(222,899), Pick(0,9), Pick(3,9), Pick(4,9) },                               { 323, 145, 46835 } },
    { 3, 27, { Pick(222,899), Pick(3,9), Pick(1,9) },                                          { 323, 402, 129846 } },

    // Division: a is the dividend, b the divisor, then quotient and remainder.
    { 4,  1, { Pick(8,9), Pick(1,9) },                                                         { 27,  9,  3 } }, // 10 held to 9
    { 4,  1, { Pick(0,9), Pick(8,9) },                                                         { 18,  2,  9 } }, // q: 10 held to 9
    { 4,  2, { Pick(0,10), Pick(0,10), Pick(8,10) },                                           {  0,  8,  0 } }, // 0 drawn again
    { 4,  3, { Pick(5,100),  Pick(24,100) },                                                   { 240, 10, 24 } },
    { 4,  4, { Pick(2,8), Pick(5,9), Pick(3,4) },                                              { 31,  4,  7, 3 } }, // r 4 held to 3
    { 4,  4, { Pick(7,8), Pick(8,9), Pick(0,9) },                                              { 82,  9,  9, 1 } }, // q: 10 held to 9
    { 4,  5, { Pick(7,8), Pick(2,9) },                                                         { 360, 9, 40 } },
    { 4,  5, { Pick(0,8), Pick(8,9) },                                                         { 180, 2, 90 } }, // t: 10 held to 9
    { 4,  6, { Pick(8,99),  Pick(18,99),  Pick(14,99), Pick(7,9),  Pick(14,99), Pick(1,9) },   { 48,  3, 16 } }, // 10; 20; 16·9
    { 4,  6, { Pick(98,99), Pick(0,9),  Pick(9,99), Pick(8,9) },                               { 99,  9, 11 } }, // 100 held to 99, 99·2 > 99; d: 10 held to 9
    { 4,  7, { Pick(15,99), Pick(6,9), Pick(0,8),  Pick(15,99), Pick(1,9), Pick(0,3) },        { 52,  3, 17, 1 } }, // 137 > 99 after r
    { 4,  7, { Pick(98,99), Pick(8,9), Pick(8,9),  Pick(9,99), Pick(6,9), Pick(0,8) },         { 89,  8, 11, 1 } }, // 100, 10 and 9 held to 99, 9 and 8: > 99
    { 4,  8, { Pick(0,9), Pick(7,9), Pick(6,9), Pick(1,9) },                                   { 528, 3, 176 } },
    { 4,  8, { Pick(0,9), Pick(0,9), Pick(0,9), Pick(8,9) },                                   { 999, 9, 111 } }, // digits 0 raised to 1; d: 10 held to 9
    { 4,  9, { Pick(0,9), Pick(7,9), Pick(5,9), Pick(7,9), Pick(0,9),  Pick(0,9), Pick(7,9), Pick(5,9), Pick(1,9), Pick(2,3) }, { 527, 3, 175, 2 } },
    { 4,  9, { Pick(0,9), Pick(0,9), Pick(0,9), Pick(8,9), Pick(0,9),  Pick(0,9), Pick(0,9), Pick(0,9), Pick(6,9), Pick(7,8) }, { 895, 8, 111, 7 } }, // d: 10 held to 9, 999 + 1 > 999; r: 8 held to 7
    { 4, 10, { Pick(2,9), Pick(2,10), Pick(6,9), Pick(7,9),  Pick(2,9), Pick(2,10), Pick(6,9), Pick(1,9) }, { 618, 3, 206 } },
    { 4, 10, { Pick(0,9), Pick(5,10), Pick(0,9), Pick(8,9) },                                  { 990, 9, 110 } }, // h, t: 0 raised to 1; d: 10 held to 9
    { 4, 11, { Pick(2,9), Pick(5,10), Pick(1,9), Pick(1,9), Pick(0,3) },                       { 631, 3, 210, 1 } },
    { 4, 11, { Pick(0,9), Pick(0,10), Pick(0,9), Pick(8,9), Pick(8,9) },                       { 917, 9, 101, 8 } }, // h, u: 0 raised to 1; d, r: 10, 9 held to 9, 8
    { 4, 12, { Pick(0,10), Pick(3,10), Pick(4,10), Pick(5,10), Pick(8,9),  Pick(0,10), Pick(3,10), Pick(4,10), Pick(5,10), Pick(2,9) }, { 5380, 4, 1345 } },
    { 4, 12, { Pick(0,10), Pick(0,10), Pick(0,10), Pick(0,10), Pick(8,9) },                    { 9999, 9, 1111 } }, // digits 0 raised to 1; d: 10 held to 9
    { 4, 13, { Pick(1,10), Pick(3,10), Pick(4,10), Pick(5,10), Pick(2,9), Pick(0,4) },         { 5381, 4, 1345, 1 } },
    { 4, 13, { Pick(0,10), Pick(0,10), Pick(0,10), Pick(0,10), Pick(8,9), Pick(0,9),  Pick(0,10), Pick(0,10), Pick(0,10), Pick(0,10), Pick(0,9), Pick(0,2) }, { 2223, 2, 1111, 1 } }, // d: 10 held to 9, 9999 + 1 > 9999
    { 4, 14, { Pick(9,10), Pick(0,10), Pick(0,10), Pick(0,10), Pick(0,9), Pick(1,2),  Pick(2,10), Pick(0,10), Pick(1,10), Pick(8,10), Pick(0,9), Pick(0,2) }, { 4036, 2, 2018, 0 } },
    { 4, 14, { Pick(0,10), Pick(0,10), Pick(0,10), Pick(0,10), Pick(8,9), Pick(0,9) },         { 9000, 9, 1000, 0 } }, // a: 0 raised to 1; d: 10 held to 9
    { 4, 15, { Pick(21,99), Pick(3,9),  Pick(21,99), Pick(1,9), Raw(0.9) },                    { 690, 3, 230 } }, // 23·5 > 99 before y
    { 4, 15, { Pick(98,99), Pick(0,9),  Pick(9,99), Pick(8,9), Raw(0.2) },                     { 9900, 9, 1100 } }, // 100 held to 99, 99·2 > 99; d: 10 held to 9
    { 4, 16, { Pick(0,8), Pick(1,9) },                                                         { 60, 30, 2 } },
    { 4, 16, { Pick(7,8), Pick(8,9) },                                                         { 810, 90, 9 } }, // k: 10 held to 9
    { 4, 17, { Pick(1,8), Pick(3,9), Pick(0,5) },                                              { 160, 50, 3, 10 } }, // r 0 raised to 10
    { 4, 17, { Pick(7,8), Pick(8,9), Pick(8,9) },                                              { 890, 90, 9, 80 } }, // k: 10 held to 9
    { 4, 18, { Pick(0,3), Pick(0,8), Pick(0,9), Pick(0,9),  Pick(2,3), Pick(0,8), Pick(5,9), Pick(3,9) }, { 64, 31, 2, 2 } }, // 11÷11: d too large
    { 4, 19, { Pick(1,3), Pick(4,8), Pick(5,9), Pick(3,9) },                                   { 64, 25, 2, 14 } },
    { 4, 20, { Pick(0,2), Pick(3,6), Pick(5,9), Pick(5,9) },                                   { 66, 16, 4, 2 } },
    { 4, 21, { Pick(3,9), Pick(0,6), Pick(10,89), Pick(4,9),  Pick(3,9), Pick(0,6), Pick(10,89), Pick(5,9) }, { 216, 43, 5, 1 } }, // r = 0
    { 4, 22, { Pick(0,9), Pick(0,6), Pick(88,89), Pick(8,9),  Pick(2,9), Pick(2,6), Pick(21,89), Pick(5,9) }, { 326, 35, 9, 11 } }, // q > 9
    { 4, 23, { Pick(2,9), Pick(2,3), Pick(1,89), Pick(5,9) },                                  { 126, 39, 3, 9 } },
    { 4, 24, { Pick(2,9), Pick(2,3), Pick(1,89), Pick(5,9),  Pick(0,9), Pick(0,3), Pick(88,89), Pick(8,9) }, { 999, 17, 58, 13 } }, // q < 10
};
// clang-format on

class LevelScript : public ::testing::TestWithParam<Script> { };

TEST_P(LevelScript, DrawsExactlyTheScriptedProblem)
{
    const Script &s = GetParam();
    DrillState state;
    state.Operation = static_cast<std::int16_t>(s.operation);
    state.Level = static_cast<std::int16_t>(s.level);
    state.CurrentRow = 2;
    ScriptedRandom random(s.draws);
    RecordingSurface surface;

    ASSERT_TRUE(makeProblem(state, random, surface));

    const auto &h = state.ProblemHistory;
    EXPECT_EQ(h.ProblemCount(2), 1);
    EXPECT_EQ((Candidate { h.OperandA(2, 1), h.OperandB(2, 1), h.Answer(2, 1), h.Remainder(2, 1) }),
        s.expected);
    EXPECT_EQ(random.left(), 0u) << "the level took fewer draws than scripted";
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, LevelScript, ::testing::ValuesIn(kScripts));

// The bounds of the levels, met exactly: one candidate of the level's draws, taken straight from
// its rule. A candidate on a bound must be taken as drawn, one just past it redrawn, and either
// after exactly the scripted draws.
struct Boundary {
    int operation, level;
    std::vector<Step> draws;
    Drawn expected; // the candidate, or redraw
};

// clang-format off
const Boundary kBoundaries[] = {
    // Addition: sums of at most 99, 999 and 9999, at least 900; operands of at least 10, 100, 1000.
    { 1, 13, { Pick(9,99), Pick(88,99) },          Candidate { 10, 89, 99 } },
    { 1, 13, { Pick(10,99), Pick(88,99) },         redraw },                       // 100
    { 1, 14, { Pick(99,999), Pick(898,999) },      Candidate { 100, 899, 999 } },
    { 1, 14, { Pick(898,999), Pick(99,999) },      Candidate { 899, 100, 999 } },
    { 1, 14, { Pick(100,999), Pick(898,999) },     redraw },                       // 1000
    { 1, 15, { Pick(99,999), Pick(799,999) },      Candidate { 100, 800, 900 } },
    { 1, 15, { Pick(799,999), Pick(99,999) },      Candidate { 800, 100, 900 } },
    { 1, 15, { Pick(99,999), Pick(798,999) },      redraw },                       // 899
    { 1, 16, { Pick(999,9999), Pick(8998,9999) },  Candidate { 1000, 8999, 9999 } },
    { 1, 16, { Pick(8998,9999), Pick(999,9999) },  Candidate { 8999, 1000, 9999 } },
    { 1, 16, { Pick(1000,9999), Pick(8998,9999) }, redraw },                       // 10000

    // Subtraction: minuends of at least 11 and 101, subtrahends of at least 10 and 100.
    { 2, 12, { Pick(10,100), Pick(9,11) },         Candidate { 11, 10, 1 } },
    { 2, 12, { Pick(10,100), Pick(8,11) },         redraw },                       // 11 - 9
    { 2, 13, { Pick(100,1000), Pick(99,101) },     Candidate { 101, 100, 1 } },
    { 2, 13, { Pick(100,1000), Pick(98,101) },     redraw },                       // 101 - 99

    // Multiplication: products of at most 999, at least 1000.
    { 3, 17, { Pick(110,1000), Pick(7,9) },        Candidate { 111, 9, 999 } },
    { 3, 17, { Pick(111,1000), Pick(7,9) },        redraw },                       // 1008
    { 3, 18, { Pick(499,1000), Pick(0,9) },        Candidate { 500, 2, 1000 } },
    { 3, 18, { Pick(498,1000), Pick(0,9) },        redraw },                       // 998

    // The weighted choices, met at their bounds: y > 0.5 puts d on the left (L11 to L13) and
    // makes tens at division L15; s < 6 makes tens at L16.
    { 3, 11, { Pick(2,10), Raw(0.5) },             Candidate { 10, 3, 30 } },
    { 3, 16, { Pick(1,10), Pick(5,10), Pick(1,9) }, Candidate { 30, 3, 90 } },
    { 3, 16, { Pick(1,10), Pick(6,10), Pick(1,9) }, Candidate { 300, 3, 900 } },
    { 4, 15, { Pick(21,99), Pick(1,9), Raw(0.5) },  Candidate { 6900, 3, 2300 } },

    // Division: dividends of at most 99, 999 and 9999.
    { 4,  6, { Pick(9,99), Pick(7,9) },                                                 Candidate { 99, 9, 11 } },
    { 4,  6, { Pick(10,99), Pick(7,9) },                                                redraw },  // 108
    { 4,  7, { Pick(10,99), Pick(6,9), Pick(2,8) },                                     Candidate { 99, 8, 12, 3 } },
    { 4,  7, { Pick(10,99), Pick(6,9), Pick(3,8) },                                     redraw },  // 100
    { 4,  8, { Pick(0,9), Pick(0,9), Pick(0,9), Pick(7,9) },                            Candidate { 999, 9, 111 } },
    { 4,  8, { Pick(0,9), Pick(0,9), Pick(2,9), Pick(7,9) },                            redraw },  // 1008
    { 4,  9, { Pick(1,9), Pick(6,9), Pick(6,9), Pick(4,9), Pick(2,6) },                 Candidate { 999, 6, 166, 3 } },
    { 4,  9, { Pick(1,9), Pick(6,9), Pick(6,9), Pick(4,9), Pick(3,6) },                 redraw },  // 1000
    { 4, 12, { Pick(1,10), Pick(1,10), Pick(1,10), Pick(1,10), Pick(7,9) },             Candidate { 9999, 9, 1111 } },
    { 4, 12, { Pick(1,10), Pick(1,10), Pick(1,10), Pick(2,10), Pick(7,9) },             redraw },  // 10008
    { 4, 13, { Pick(4,10), Pick(9,10), Pick(9,10), Pick(9,10), Pick(0,9), Pick(0,2) },  Candidate { 9999, 2, 4999, 1 } },
    { 4, 13, { Pick(3,10), Pick(3,10), Pick(3,10), Pick(3,10), Pick(1,9), Pick(0,3) },  redraw },  // 10000
    { 4, 14, { Pick(1,10), Pick(1,10), Pick(1,10), Pick(1,10), Pick(7,9), Pick(0,9) },  Candidate { 9999, 9, 1111, 0 } },
    { 4, 14, { Pick(1,10), Pick(1,10), Pick(1,10), Pick(1,10), Pick(7,9), Pick(1,9) },  redraw },  // 10000
    // Estimation: a one-digit quotient (L21 to L23), a two-digit one (L24), an estimate at most
    // three too large (L22), a divisor of at most 0.65 times the dividend (L21).
    { 4, 21, { Pick(2,9), Pick(0,6), Pick(18,89), Pick(7,9) },                          Candidate { 298, 33, 9, 1 } },
    { 4, 21, { Pick(3,9), Pick(0,6), Pick(32,89), Pick(0,9) },                          redraw },  // 431÷43: q = e = 10
    { 4, 21, { Pick(6,9), Pick(0,6), Pick(0,89), Pick(2,9) },                           Candidate { 113, 73, 1, 40 } },
    { 4, 21, { Pick(6,9), Pick(0,6), Pick(0,89), Pick(1,9) },                           redraw },  // 20·73 > 13·112
    { 4, 22, { Pick(0,9), Pick(0,6), Pick(0,89), Pick(0,9) },                           Candidate { 111, 13, 8, 7 } },  // e = 11
    { 4, 22, { Pick(0,9), Pick(2,6), Pick(1,89), Pick(0,9) },                           redraw },  // 121÷15: e = 12 = q + 4
    { 4, 23, { Pick(0,9), Pick(0,3), Pick(4,89), Pick(3,9) },                           Candidate { 154, 17, 9, 1 } },
    { 4, 23, { Pick(0,9), Pick(0,3), Pick(6,89), Pick(0,9) },                           redraw },  // 171÷17: q = 10
    { 4, 24, { Pick(0,9), Pick(0,3), Pick(6,89), Pick(0,9) },                           Candidate { 171, 17, 10, 1 } },
    { 4, 24, { Pick(0,9), Pick(0,3), Pick(4,89), Pick(3,9) },                           redraw },  // 154÷17: q = 9
};
// clang-format on

TEST(LevelBoundaries, CandidateOnABoundIsTakenAndOneJustPastItRedrawn)
{
    for (const Boundary &b : kBoundaries) {
        ScriptedRandom random(b.draws);
        SourceDraw draw(random);
        EXPECT_EQ(operationTable(b.operation)->level(b.level)->draw(draw), b.expected)
            << "operation " << b.operation << " level " << b.level;
        EXPECT_EQ(random.left(), 0u) << "operation " << b.operation << " level " << b.level;
    }
}

TEST(LevelScripts, CoverEveryOfferedLevel)
{
    std::set<std::pair<int, int>> levels;
    for (const Script &s : kScripts)
        levels.emplace(s.operation, s.level);
    int perOperation[5] = {};
    for (const auto &[operation, level] : levels)
        ++perOperation[operation];
    EXPECT_EQ(perOperation[1], 16);
    EXPECT_EQ(perOperation[2], 13);
    EXPECT_EQ(perOperation[3], 27);
    EXPECT_EQ(perOperation[4], 24);
}

} // namespace
} // namespace piko::test
