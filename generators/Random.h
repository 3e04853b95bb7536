// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <cstdint>
#include <random>

namespace piko {

// Where the drill's random numbers come from: each call yields x uniform in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
    // The x for a draw R(M), or for a fresh x of its own when M is 0. The program's own source
    // has no use for M; a scripted one checks with it that each x goes to the draw meant for it.
    virtual double nextFor(int M)
    {
        (void)M;
        return next();
    }
    // Starts the sequence anew from a whole number (a scripted source ignores it).
    virtual void reseed(std::uint32_t seed) { (void)seed; }
};

// The program's own source: seeded once from a whole number, then independent draws.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed = 0) { reseed(seed); }
    void reseed(std::uint32_t seed) override { m_engine.seed(seed); }
    double next() override;

private:
    std::mt19937_64 m_engine;
};

// R(M) = floor(M·x): a whole number from 0 to M-1, always truncated, never rounded.
// M <= 0 gives 0; an x outside [0, 1) is held to the range.
int truncatedDraw(double x, int M);

// What a level rule draws with: R(M) reads like the level tables, x() is a fresh x itself.
class Draw {
public:
    virtual ~Draw() = default;
    virtual int operator()(int M) = 0;
    virtual double x() = 0;
};

// Draws from a RandomSource, one fresh x per draw, telling the source which M it is for.
class SourceDraw final : public Draw {
public:
    explicit SourceDraw(RandomSource &source) : m_source(source) { }
    int operator()(int M) override { return truncatedDraw(m_source.nextFor(M), M); }
    double x() override { return m_source.nextFor(0); }

private:
    RandomSource &m_source;
};

} // namespace piko
