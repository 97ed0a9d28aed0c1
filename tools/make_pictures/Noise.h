#pragma once

#include <cstdint>

// Noise fields over the unit square that wrap at its edges, so that a cell
// picture joins its neighbours without a visible seam when the map shows the
// same terrain side by side.
namespace noise {

// Smooth value noise in [0, 1] with `period` lattice cells across the square.
double value(double u, double v, int period, std::uint64_t seed);

// Sum of `octaves` value-noise layers, each with twice the lattice of the
// one before and half its weight; result in [0, 1].
double fractal(double u, double v, int period, int octaves, std::uint64_t seed);

// Cellular noise: distances (in lattice units) from (u, v) to the nearest and
// the second nearest of one random point per lattice cell.
struct CellDistances
{
    double nearest;
    double second;
};
CellDistances cellular(double u, double v, int period, std::uint64_t seed);

} // namespace noise
