#include "base/random_source.h"

#include <random>

namespace sps {

namespace {

std::mt19937& generator() {
    static std::mt19937 engine(1);
    return engine;
}

std::uint64_t seedings = 0;

} // namespace

void seedRandom(std::uint32_t seed) {
    generator().seed(seed);
    ++seedings;
}

std::uint32_t nextRandom() { return generator()() & 0x7FFFFFFFu; }

const RandomState& randomState() { return generator(); }

void restoreRandomState(const RandomState& state) { generator() = state; }

std::uint64_t randomSeedings() { return seedings; }

} // namespace sps
