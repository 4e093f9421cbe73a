#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cpu/operand_value.h"

namespace sps {

class CPU;
class Parameter;

// At most this many operands are forced at a time.
inline constexpr std::size_t MAX_FORCES = 64;
// At most this many one-time writes wait for the next scan.
inline constexpr std::size_t MAX_PENDING_WRITES = 64;

// One forced operand: its name, its width and the value it is held at.
struct ForcedOperand {
    std::string name; // as a program writes it: "MW10"
    std::unique_ptr<Parameter> operand;
    Width width;
    ConstantValue value;

    // The value as `print` shows one of this width: the bit, the unsigned
    // number, or the real ("+1.5").
    std::string valueText() const;
};

// The operands that the user holds at a value against the program and the
// station, and the values written once at the start of the next scan.
//
// A forced operand is written with its value when it is forced, after the
// input image is read at the start of every scan, and again before the output
// image is written at the end of it: so the program sees forced inputs, and
// forced outputs reach the station whatever the program wrote. A forced
// analog input (AEW) is not written but read: every read of that channel
// yields the forced value. A CPU reset keeps the table; loading a program
// clears it.
class ForceTable {
public:
    ForceTable();
    ~ForceTable();
    ForceTable(const ForceTable&) = delete;
    ForceTable& operator=(const ForceTable&) = delete;

    // Forces `operand` (a bit, byte, word or double word of E, A, M, V or S,
    // an analog input or output word, an accumulator, a timer's or counter's
    // value) to `value` and writes it at once. An operand forced already keeps
    // its place and takes the new value. Throws CPUException: "Operand can't
    // be forced" (a constant, a name, SM, a pointer), the checks of
    // checkValueFits, the operand's own error when it lies beyond its area,
    // and "Too many forced operands" for one more than MAX_FORCES.
    void force(std::unique_ptr<Parameter> operand, const ConstantValue& value);
    // Ends forcing the operand of that name; false when it was not forced.
    bool unforce(std::string_view name);
    void unforceAll();
    // In the order they were forced.
    const std::vector<ForcedOperand>& entries() const { return forced_; }
    // The forced operand of that name, or null.
    const ForcedOperand* find(std::string_view name) const;

    // Writes `value` to `operand` once, at the start of the next scan, after
    // the input image is read and before the forced operands are written (so
    // a forced operand keeps its forced value). Throws CPUException: "Can't
    // write a ... on parameter" for an operand that cannot be written at its
    // width, the checks of checkValueFits, the operand's own error when it lies
    // beyond its area, and "Too many pending writes" beyond MAX_PENDING_WRITES.
    void writeAtNextScan(std::unique_ptr<Parameter> operand, const ConstantValue& value);
    std::size_t pendingWrites() const { return pending_.size(); }

    // Forgets the forced operands and the pending writes (a new program).
    void clear();

    // Counts every change by the user (force, unforce, write, clear), so
    // that the scan history notices one between two scans.
    std::uint64_t changes() const { return changes_; }
    // Puts back forced operands as a saved state had them, without writing
    // them (the memory is put back beside them); the pending writes are
    // dropped. An entry whose operand no longer parses is left out.
    struct SavedForce {
        std::string name;
        Width width;
        ConstantValue value;
    };
    void restore(CPU& cpu, const std::vector<SavedForce>& saved);

    // Nothing forced and nothing to write: the scan skips the two calls below.
    bool idle() const { return forced_.empty() && pending_.empty(); }
    // After the input image: the pending writes in their order, then every
    // forced operand. A write that fails throws; the pending writes are gone.
    void applyAtScanStart();
    // Before the output image: every forced operand again.
    void applyAtScanEnd();

    // Whether analog input `channel` is forced, and to what.
    bool analogInputForced(int channel) const {
        return channel >= 0 && channel < ANALOG_CHANNELS && ((forcedAnalogInputs_ >> channel) & 1u) != 0;
    }
    std::uint16_t analogInputValue(int channel) const { return analogInputValues_[static_cast<std::size_t>(channel)]; }

private:
    static constexpr int ANALOG_CHANNELS = 32;

    struct PendingWrite {
        std::unique_ptr<Parameter> operand;
        Width width;
        std::uint32_t bits;
    };

    void writeForced();
    void forgetAnalogInput(const ForcedOperand& entry);

    std::vector<ForcedOperand> forced_;
    std::vector<PendingWrite> pending_;
    std::uint32_t forcedAnalogInputs_ = 0; // one bit per channel
    std::uint64_t changes_ = 0;
    std::array<std::uint16_t, ANALOG_CHANNELS> analogInputValues_{};
};

// The same for front ends that hold texts: the operand and the value in the
// operand syntax, parsed for `cpu` (their syntax errors are thrown as well).
void forceOperand(CPU& cpu, std::string_view operandText, std::string_view valueText);
// False when the operand was not forced.
bool unforceOperand(CPU& cpu, std::string_view operandText);
void writeOperandOnce(CPU& cpu, std::string_view operandText, std::string_view valueText);

} // namespace sps
