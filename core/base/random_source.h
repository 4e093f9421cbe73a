#pragma once

#include <cstdint>
#include <random>

namespace sps {

// The one pseudo-random source of the simulation (unserved analog reads, the
// AS-i master's offline phases). The desktop program seeds it from the time,
// tests and the headless runner with a fixed value so that runs repeat.
void seedRandom(std::uint32_t seed);

// A value in 0..0x7FFFFFFF.
std::uint32_t nextRandom();

// The source's whole state, to put it back where it was (the scan history).
using RandomState = std::mt19937;
const RandomState& randomState();
void restoreRandomState(const RandomState& state);
// How often the source was seeded: a history notices a reseeding by it.
std::uint64_t randomSeedings();

} // namespace sps
