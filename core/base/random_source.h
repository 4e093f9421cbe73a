#pragma once

#include <cstdint>

namespace sps {

// The one pseudo-random source of the simulation (unserved analog reads, the
// AS-i master's offline phases). The desktop program seeds it from the time,
// tests and the headless runner with a fixed value so that runs repeat.
void seedRandom(std::uint32_t seed);

// A value in 0..0x7FFFFFFF.
std::uint32_t nextRandom();

} // namespace sps
