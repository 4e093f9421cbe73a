#include "base/random_source.h"

#include <random>

namespace sps {

namespace {

std::mt19937& generator() {
    static std::mt19937 engine(1);
    return engine;
}

} // namespace

void seedRandom(std::uint32_t seed) { generator().seed(seed); }

std::uint32_t nextRandom() { return generator()() & 0x7FFFFFFFu; }

} // namespace sps
