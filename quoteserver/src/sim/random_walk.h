// The random walks under the simulated prices, drawn from draws.h's hashes: the same seed and
// step always give the same value. Inline: they run in the simulation's innermost loops.
#pragma once

#include <cmath>
#include <cstdint>

#include "sim/draws.h"

namespace quotes {

// A random walk at every scale from 1 to 2^(octaves-1) steps: each octave interpolates random
// values on a lattice of its own spacing. Increments over one step have unit variance.
inline double Walk(std::uint64_t seed, double t, int octaves) {
    double sum = 0;
    for (int k = 0; k < octaves; ++k) {
        const double spacing = static_cast<double>(1 << k);
        const double x = t / spacing;
        const double cell = std::floor(x);
        const double frac = x - cell;
        const auto c = static_cast<std::int64_t>(cell);
        const double a = Gauss(Hash(seed, c, 1000 + static_cast<std::uint64_t>(k)));
        const double b = Gauss(Hash(seed, c + 1, 1000 + static_cast<std::uint64_t>(k)));
        sum += std::sqrt(spacing) * 0.5 * (a + (b - a) * frac);
    }
    return sum;
}

// Walk at t = 0, 1, 2, ... in turn: each octave's lattice values are drawn only when t enters a
// new cell, and the arithmetic is Walk's, so the values are the same at a fraction of the cost.
class WalkCursor {
public:
    WalkCursor(std::uint64_t seed, int octaves) : seed_(seed), octaves_(octaves) {}

    double At(int t) {
        double sum = 0;
        for (int k = 0; k < octaves_; ++k) {
            // Walk's x = t / 2^k, its floor and fraction, exactly, in integers.
            const std::int64_t c = static_cast<std::int64_t>(t) >> k;
            const double frac = static_cast<double>(t - (c << k)) / static_cast<double>(1 << k);
            Octave& o = lattice_[k];
            if (!o.valid || o.cell != c) {
                const auto place = 1000 + static_cast<std::uint64_t>(k);
                o.a = o.valid && c == o.cell + 1 ? o.b : Gauss(Hash(seed_, c, place));
                o.b = Gauss(Hash(seed_, c + 1, place));
                o.cell = c;
                o.valid = true;
                o.weight = std::sqrt(static_cast<double>(1 << k)) * 0.5;
            }
            sum += o.weight * (o.a + (o.b - o.a) * frac);
        }
        return sum;
    }

private:
    struct Octave {
        bool valid = false;
        std::int64_t cell = 0;
        double a = 0;
        double b = 0;
        double weight = 0;
    };
    static constexpr int kMaxOctaves = 16;
    std::uint64_t seed_;
    int octaves_;
    Octave lattice_[kMaxOctaves];
};

}  // namespace quotes
