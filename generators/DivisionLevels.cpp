// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Division levels. L01 to L17 draw the quotient first and build the dividend as q·d + r;
// L18 to L24 practise estimating a quotient with two-digit divisors (見当).
// Levels 25 and 26 are never offered and have no rule.
#include "generators/LevelRule.h"

#include <array>

namespace piko {
namespace {

// Division has no similarity test: consecutive problems may share a divisor or quotient.
constexpr Repetition kDivisionRules { .similarity = Repetition::Similarity::None };
// L02 (0 ÷ d) has only nine problems and no duplicate test at all.
constexpr Repetition kNoTests { .window = 0, .similarity = Repetition::Similarity::None };
// L03 (10·q ÷ 10) keeps quotients, not pairs, from coming again.
constexpr Repetition kByQuotient { .key = Repetition::Key::Quotient,
    .similarity = Repetition::Similarity::None };

// The levels whose problems have a remainder (at L14 it may be 0), which the pupil gives too.
constexpr bool kWithRemainder = true;

// A remainder from 1 to d-1, with d-1 coming twice as often.
int remainderOf(Draw &R, int d)
{
    return atMost(R(d) + 1, d - 1);
}
// A quotient with three digits 1 to 8 (R(9) = 0 raised to 1, so 9 never comes).
int threeDigits(Draw &R)
{
    int h = atLeast(R(9), 1), t = atLeast(R(9), 1), u = atLeast(R(9), 1);
    return 100 * h + 10 * t + u;
}
// A quotient with exactly one 0 digit, in the tens or in the ones place.
int threeDigitsWithZero(Draw &R)
{
    int h = atLeast(R(9), 1), s = R(10);
    if (s > 4) {
        int t = atLeast(R(9), 1);
        return 100 * h + 10 * t;
    }
    int u = atLeast(R(9), 1);
    return 100 * h + u;
}
int fourDigits(Draw &R)
{
    int a = atLeast(R(10), 1), b = atLeast(R(10), 1), c = atLeast(R(10), 1), e = atLeast(R(10), 1);
    return 1000 * a + 100 * b + 10 * c + e;
}

// Estimation (built with braces, so that p, u, s and v are drawn in this order).
// The divisor is 10p + u, the dividend 10s + v; the estimate is s div p.
struct Estimate {
    int D, d, e, q, r;
    Estimate(int p, int u, int s, int v)
        : D(10 * s + v), d(10 * p + u), e(s / p), q(D / d), r(D % d)
    {
    }
    bool divisorTooLarge() const { return 20 * d > 13 * D; } // d > 0.65·D
    Drawn problem() const { return r == 0 ? redraw : quotient(q, d, r); }
};

// clang-format off
constexpr std::array<LevelRule, kRuleCounts[Division]> kLevels {{
    // L01  24÷8=3: the times tables backwards
    { [](Draw &R) -> Drawn { int d = atMost(R(9)+2, 9), q = atMost(R(9)+2, 9);        return quotient(q, d); }, kDivisionRules },
    // L02  0÷8=0: zero divided by one digit (d is its only draw, so redrawing is drawing d again)
    { [](Draw &R) -> Drawn { int d = R(10);                                           return d == 0 ? redraw : quotient(0, d); }, kNoTests },
    // L03  240÷10=24: tens divided by 10
    { [](Draw &R) -> Drawn { int q = R(100);                                          return q < 10 ? redraw : quotient(q, 10); }, kByQuotient },
    // L04  29÷4=7 r1: two digits ÷ one digit with a remainder
    { [](Draw &R) -> Drawn { int d = R(8)+2, q = atMost(R(9)+2, 9), r = remainderOf(R, d);
                                                                                      return quotient(q, d, r); }, kDivisionRules, kWithRemainder },
    // L05  360÷9=40: tens ÷ one digit
    { [](Draw &R) -> Drawn { int d = R(8)+2, t = atMost(R(9)+2, 9);                   return quotient(10*t, d); }, kDivisionRules },
    // L06  48÷3=16: two digits ÷ one digit, two-digit quotient
    { [](Draw &R) -> Drawn { int q = atMost(R(99)+2, 99);                             if (q < 11 || q%10 == 0) return redraw;
                             int d = atMost(R(9)+2, 9);                               return q*d > 99 ? redraw : quotient(q, d); }, kDivisionRules },
    // L07  52÷3=17 r1: as L06 with a remainder
    { [](Draw &R) -> Drawn { int q = atMost(R(99)+2, 99);                             if (q < 11 || q%10 == 0) return redraw;
                             int d = atMost(R(9)+2, 9), r = remainderOf(R, d);        return q*d + r > 99 ? redraw : quotient(q, d, r); }, kDivisionRules, kWithRemainder },
    // L08  528÷3=176: three digits ÷ one digit
    { [](Draw &R) -> Drawn { int q = threeDigits(R), d = atMost(R(9)+2, 9);           return q*d > 999 ? redraw : quotient(q, d); }, kDivisionRules },
    // L09  527÷3=175 r2
    { [](Draw &R) -> Drawn { int q = threeDigits(R), d = atMost(R(9)+2, 9), r = remainderOf(R, d);
                                                                                      return q*d + r > 999 ? redraw : quotient(q, d, r); }, kDivisionRules, kWithRemainder },
    // L10  618÷3=206: a quotient with a 0 digit
    { [](Draw &R) -> Drawn { int q = threeDigitsWithZero(R), d = atMost(R(9)+2, 9);   return q*d > 999 ? redraw : quotient(q, d); }, kDivisionRules },
    // L11  619÷3=206 r1
    { [](Draw &R) -> Drawn { int q = threeDigitsWithZero(R), d = atMost(R(9)+2, 9), r = remainderOf(R, d);
                                                                                      return q*d + r > 999 ? redraw : quotient(q, d, r); }, kDivisionRules, kWithRemainder },
    // L12  5380÷4=1345: four digits ÷ one digit
    { [](Draw &R) -> Drawn { int q = fourDigits(R), d = atMost(R(9)+2, 9);            return q*d > 9999 ? redraw : quotient(q, d); }, kDivisionRules },
    // L13  5381÷4=1345 r1
    { [](Draw &R) -> Drawn { int q = fourDigits(R), d = atMost(R(9)+2, 9), r = remainderOf(R, d);
                                                                                      return q*d + r > 9999 ? redraw : quotient(q, d, r); }, kDivisionRules, kWithRemainder },
    // L14  four digits ÷ one digit, zeros in the quotient, remainder possibly 0
    { [](Draw &R) -> Drawn { int a = atLeast(R(10), 1), b = R(10), c = R(10), e = R(10);
                             int q = 1000*a + 100*b + 10*c + e, d = atMost(R(9)+2, 9), r = R(d);
                                                                                      return q*d + r > 9999 ? redraw : quotient(q, d, r); }, kDivisionRules, kWithRemainder },
    // L15  mental division: 690÷3=230 or 6900÷3=2300
    { [](Draw &R) -> Drawn { int w = atMost(R(99)+2, 99);                             if (w < 11 || w%10 == 0) return redraw;
                             int d = atMost(R(9)+2, 9);                               if (w*d > 99) return redraw;
                             int q = R.x() > 0.5 ? 10*w : 100*w;                      return quotient(q, d); }, kDivisionRules },
    // L16  60÷30=2: tens ÷ tens
    { [](Draw &R) -> Drawn { int q = R(8)+2, k = atMost(R(9)+2, 9);                   return quotient(q, 10*k); }, kDivisionRules },
    // L17  160÷50=3 r10: tens ÷ tens with a remainder in tens
    { [](Draw &R) -> Drawn { int q = R(8)+2, k = atMost(R(9)+2, 9), r = atLeast(10*R(k), 10);
                                                                                      return quotient(q, 10*k, r); }, kDivisionRules, kWithRemainder },
    // L18  64÷31=2 r2: the estimate is right
    { [](Draw &R) -> Drawn { Estimate x{R(3)+1, R(8)+1, R(9)+1, R(9)+1};              return x.e == 0 || x.q != x.e || x.divisorTooLarge() ? redraw : x.problem(); }, kDivisionRules, kWithRemainder },
    // L19  64÷25=2 r14: the estimate is one too large
    { [](Draw &R) -> Drawn { Estimate x{R(3)+1, R(8)+1, R(9)+1, R(9)+1};              return x.e != x.q + 1 || x.divisorTooLarge() ? redraw : x.problem(); }, kDivisionRules, kWithRemainder },
    // L20  66÷16=4 r2: the estimate is two too large
    { [](Draw &R) -> Drawn { Estimate x{R(2)+1, R(6)+3, R(9)+1, R(9)+1};              return x.e != x.q + 2 || x.divisorTooLarge() ? redraw : x.problem(); }, kDivisionRules, kWithRemainder },
    // L21  three-digit dividend, the estimate is right
    { [](Draw &R) -> Drawn { Estimate x{R(9)+1, R(6)+3, R(89)+11, R(9)+1};            return x.q > 9 || x.q != x.e || x.divisorTooLarge() ? redraw : x.problem(); }, kDivisionRules, kWithRemainder },
    // L22  326÷35=9 r11: the estimate is one to three too large
    { [](Draw &R) -> Drawn { Estimate x{R(9)+1, R(6)+3, R(89)+11, R(9)+1};            return x.q > 9 || x.e == x.q || x.e > x.q + 3 || x.divisorTooLarge() ? redraw : x.problem(); }, kDivisionRules, kWithRemainder },
    // L23  126÷39=3 r9: divisors ending in 7, 8 or 9, one-digit quotient
    { [](Draw &R) -> Drawn { Estimate x{R(9)+1, R(3)+7, R(89)+11, R(9)+1};            return x.q > 9 ? redraw : x.problem(); }, kDivisionRules, kWithRemainder },
    // L24  divisors ending in 7, 8 or 9, two-digit quotient
    { [](Draw &R) -> Drawn { Estimate x{R(9)+1, R(3)+7, R(89)+11, R(9)+1};            return x.q < 10 ? redraw : x.problem(); }, kDivisionRules, kWithRemainder },
}};
// clang-format on

constexpr OperationTable kTable { kLevels, " ÷ " };

} // namespace

const OperationTable &divisionTable()
{
    return kTable;
}

} // namespace piko
