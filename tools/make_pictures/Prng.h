#pragma once

#include <cstdint>

// SplitMix64: a small, fully specified generator, so the pictures come out
// bit for bit the same on every machine and library version (std::rand and
// the distributions of <random> are not portable in that way).
class Prng
{
  public:
    explicit Prng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        state_ += 0x9E3779B97F4A7C15ull;
        return mix(state_);
    }

    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    double uniform(double low, double high) { return low + (high - low) * uniform(); }

    // Uniform in [0, count).
    int below(int count) { return static_cast<int>(uniform() * count); }

    // The finaliser of SplitMix64, also used as a stateless hash of lattice
    // points by the noise functions.
    static std::uint64_t mix(std::uint64_t z)
    {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

  private:
    std::uint64_t state_;
};
