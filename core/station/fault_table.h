#pragma once

#include <array>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "station/fault_inputs.h"

namespace sps {

class StateArchive;

// A fault on one input of the station, with what it needs to remember from
// one reading to the next. Plain data, so that the scan history keeps it as
// bytes.
struct Fault {
    static constexpr int DELAY_QUEUE = 32;

    struct Change {
        std::uint32_t at;
        std::int32_t value;
    };

    std::int32_t input = 0; // its row in faultInputs()
    FaultKind kind = FaultKind::StuckLow;
    // Bounces, delay in ms, noise in digits or offset; the bounce interval.
    std::int32_t amount = 0;
    std::int32_t interval = 0;

    // Running state of a digital input: the value last seen at the station
    // and since when (bounce), the value delivered now and the changes still
    // on their way (delay).
    std::int32_t seen = 0;
    std::uint32_t changedAt = 0;
    std::int32_t bouncing = 0;
    std::int32_t delivered = 0;
    std::int32_t queued = 0;
    std::array<Change, DELAY_QUEUE> queue{};
};
static_assert(std::has_unique_object_representations_v<Fault>, "a Fault is archived as its bytes");

// The faults set on the station, at most one per input. Reading an input with
// no fault costs one bit test (has); the rest is only paid for faulty ones.
class FaultTable {
public:
    static constexpr int DEFAULT_BOUNCES = 3;
    static constexpr int DEFAULT_BOUNCE_MS = 2;

    // Sets `fault` on its input, replacing one there; the running state
    // starts from `physical`, the input's value at the station at `now`.
    void set(Fault fault, int physical, std::uint32_t now);
    // Whether there was a fault on `input` to clear.
    bool clear(int input);
    void clearAll();

    bool has(int input) const { return ((mask_ >> input) & 1u) != 0; }
    bool empty() const { return mask_ == 0; }
    std::uint64_t mask() const { return mask_; }
    // The faults in the order of their inputs.
    const std::vector<Fault>& faults() const { return faults_; }
    const Fault* find(int input) const;

    // Notes the station's value of a faulty digital input at `now`: a change
    // starts a bounce or goes into the delay.
    void observe(int input, int physical, std::uint32_t now);
    // What a faulty digital input delivers at `now`, the station giving `physical`.
    int delivered(int input, int physical, std::uint32_t now) const;
    int deliver(int input, int physical, std::uint32_t now) {
        observe(input, physical, now);
        return delivered(input, physical, now);
    }
    // What a faulty analog input delivers; noise draws from the random source.
    int analog(int input, int physical) const;

    // The table and every fault's running state, for the scan history.
    void visitState(StateArchive& archive);

private:
    Fault* findFault(int input);
    void remask();

    std::vector<Fault> faults_;
    std::uint64_t mask_ = 0;
};

} // namespace sps
