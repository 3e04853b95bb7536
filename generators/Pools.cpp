// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "generators/Pools.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace piko {
namespace {

using Similarity = Repetition::Similarity;

// Thrown out of a rule whose draws go deeper than any level table lists (a rule that draws
// again "while" something holds can go on for ever on the path of all zeros).
struct TooDeep { };

// Walks every outcome of a rule's draws, depth first: each call of the rule replays the
// choices made so far and takes 0 for every new draw; next() moves to the following outcome.
class OutcomeWalk final : public Draw {
public:
    int operator()(int M) override
    {
        if (m_position < m_path.size())
            return m_path[m_position++].value;
        if (m_path.size() >= kMaxDepth)
            throw TooDeep {};
        m_path.push_back({ 0, std::max(M, 1) });
        ++m_position;
        return 0;
    }
    // A fresh x is only ever compared with one half.
    double x() override { return (*this)(2) == 0 ? 0.25 : 0.75; }

    bool next()
    {
        m_position = 0;
        while (!m_path.empty() && m_path.back().value + 1 >= m_path.back().count)
            m_path.pop_back();
        if (m_path.empty())
            return false;
        ++m_path.back().value;
        return true;
    }

private:
    static constexpr std::size_t kMaxDepth = 12;
    struct Choice {
        int value, count;
    };
    std::vector<Choice> m_path;
    std::size_t m_position = 0;
};

bool sameKey(const Candidate &c, const Repetition &rules, const ProblemHistory &h, int row, int j)
{
    if (rules.key == Repetition::Key::Quotient)
        return h.Answer(row, j) == c.answer;
    return h.OperandA(row, j) == c.a && h.OperandB(row, j) == c.b;
}

bool sharesOperand(const Candidate &c, const ProblemHistory &h, int row, int n)
{
    return c.a == h.OperandA(row, n - 1) || c.b == h.OperandB(row, n - 1);
}

bool anyPasses(const std::vector<Candidate> &pool, const Repetition &rules, const ProblemHistory &h,
    int row, int n)
{
    return std::any_of(pool.begin(), pool.end(),
        [&](const Candidate &c) { return !isBlocked(c, rules, h, row, n); });
}

} // namespace

bool isBlocked(const Candidate &c, const Repetition &rules, const ProblemHistory &h, int row, int n)
{
    for (int j = std::max(1, n - rules.window); j <= n - 1; ++j) {
        if (sameKey(c, rules, h, row, j))
            return true;
    }
    return rules.similarity == Similarity::OperandsUnbounded && n > 1
        && sharesOperand(c, h, row, n);
}

bool isSimilar(const Candidate &c, const ProblemHistory &h, int row, int n)
{
    return c.answer == h.Answer(row, n - 1) || sharesOperand(c, h, row, n);
}

std::optional<std::vector<Candidate>> enumeratePool(const LevelRule &level)
{
    std::vector<Candidate> pool;
    std::set<std::tuple<int, int, int, int>> seen;
    OutcomeWalk walk;
    int outcomes = 0;
    do {
        if (++outcomes > kMaxOutcomes)
            return std::nullopt;
        Drawn c;
        try {
            c = level.draw(walk);
        } catch (const TooDeep &) {
            return std::nullopt;
        }
        if (c && seen.emplace(c->a, c->b, c->answer, c->remainder).second)
            pool.push_back(*c);
    } while (walk.next());
    return pool;
}

Repetition passableRules(const LevelRule &level, const ProblemHistory &h, int row, int n)
{
    // Pools are listed once per level and kept for the run.
    static std::map<Rule, std::optional<std::vector<Candidate>>> pools;
    auto found = pools.find(level.draw);
    if (found == pools.end())
        found = pools.emplace(level.draw, enumeratePool(level)).first;
    const Repetition own = level.repetition;
    if (!found->second)
        return own;

    const Repetition relaxations[] = {
        own,
        { own.key, own.window, Similarity::None },
        { own.key, 1, own.similarity },
        { own.key, 1, Similarity::None },
    };
    for (const Repetition &rules : relaxations) {
        if (anyPasses(*found->second, rules, h, row, n))
            return rules;
    }
    return { own.key, 0, Similarity::None };
}

} // namespace piko
