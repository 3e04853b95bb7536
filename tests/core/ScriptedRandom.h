// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "generators/LevelRule.h"
#include "generators/Random.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace piko {
inline void PrintTo(const Candidate &c, std::ostream *os)
{
    *os << "(" << c.a << ", " << c.b << " -> " << c.answer << " r " << c.remainder << ")";
}
} // namespace piko

namespace piko::test {

// One scripted x: Pick(v, M) is an x for which R(M) yields v, meant for a draw R(M) only;
// Raw(x) is x itself, meant for a fresh x (a draw that asks for no M).
struct Step {
    double x;
    int M = 0;
};
inline Step Pick(int v, int M)
{
    return { (v + 0.5) / M, M };
}
inline Step Raw(double x)
{
    return { x, 0 };
}

// Hands out the given x values in order. Running dry, or handing a step to a draw of another M
// than it was scripted for, fails the test and stops the code under test, so a loop that draws
// more than expected cannot hang or go unnoticed, and a draw over the wrong range cannot pass
// for the scripted one by chance.
class ScriptedRandom final : public RandomSource {
public:
    ScriptedRandom(std::initializer_list<Step> steps) : m_steps(steps) { }
    explicit ScriptedRandom(std::vector<Step> steps) : m_steps(std::move(steps)) { }

    double next() override { return nextFor(0); }
    double nextFor(int M) override
    {
        if (m_used == m_steps.size()) {
            ADD_FAILURE() << "the scripted random source ran dry after " << m_used << " draws";
            throw std::runtime_error("scripted random source ran dry");
        }
        const Step &step = m_steps[m_used++];
        if (step.M != M) {
            ADD_FAILURE() << "draw " << m_used << " was scripted for " << drawName(step.M)
                          << " but taken by " << drawName(M);
            throw std::runtime_error("scripted draw taken by another draw");
        }
        return step.x;
    }
    void append(std::initializer_list<Step> steps) { m_steps.insert(m_steps.end(), steps); }
    std::size_t left() const { return m_steps.size() - m_used; }

private:
    static std::string drawName(int M)
    {
        return M == 0 ? "a fresh x" : "R(" + std::to_string(M) + ")";
    }

    std::vector<Step> m_steps;
    std::size_t m_used = 0;
};

} // namespace piko::test
