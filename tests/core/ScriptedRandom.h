#pragma once

#include "generators/LevelRule.h"
#include "generators/Random.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace piko {
inline void PrintTo(const Candidate &c, std::ostream *os)
{
    *os << "(" << c.a << ", " << c.b << " -> " << c.answer << " r " << c.remainder << ")";
}
} // namespace piko

namespace piko::test {

// One scripted x: Pick(v, M) is an x for which R(M) yields v; Raw(x) is x itself.
struct Step {
    double x;
};
inline Step Pick(int v, int M)
{
    return { (v + 0.5) / M };
}
inline Step Raw(double x)
{
    return { x };
}

// Hands out the given x values in order. Running dry fails the test and stops the code under
// test, so a loop that draws more than expected cannot hang or go unnoticed.
class ScriptedRandom final : public RandomSource {
public:
    ScriptedRandom(std::initializer_list<Step> steps) : m_steps(steps) { }
    explicit ScriptedRandom(std::vector<Step> steps) : m_steps(std::move(steps)) { }

    double next() override
    {
        if (m_used == m_steps.size()) {
            ADD_FAILURE() << "the scripted random source ran dry after " << m_used << " draws";
            throw std::runtime_error("scripted random source ran dry");
        }
        return m_steps[m_used++].x;
    }
    void append(std::initializer_list<Step> steps) { m_steps.insert(m_steps.end(), steps); }
    std::size_t left() const { return m_steps.size() - m_used; }

private:
    std::vector<Step> m_steps;
    std::size_t m_used = 0;
};

} // namespace piko::test
