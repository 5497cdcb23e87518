// The simulation's deterministic randomness: hashes of a seed and a place, as uniform and
// roughly normal draws. The same arguments give the same draw on every run.
#pragma once

#include <cmath>
#include <cstdint>

namespace quotes {

inline std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

inline std::uint64_t Hash(std::uint64_t seed, std::int64_t a, std::uint64_t b = 0) {
    return Mix(seed ^ Mix(static_cast<std::uint64_t>(a) ^ Mix(b)));
}

// In [0, 1).
inline double Uniform(std::uint64_t h) {
    return static_cast<double>(h >> 11) * 0x1.0p-53;
}

// Roughly standard normal: a sum of four uniforms, scaled.
inline double Gauss(std::uint64_t h) {
    double sum = 0;
    for (int i = 0; i < 4; ++i) {
        h = Mix(h + static_cast<std::uint64_t>(i));
        sum += Uniform(h);
    }
    return (sum - 2.0) * std::sqrt(3.0);
}

}  // namespace quotes
