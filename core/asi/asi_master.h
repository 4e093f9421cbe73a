#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "cpu/io.h"

namespace sps {

class ASISlave;
class StateArchive;

// The line between the slaves and the master as faults change it: consulted
// only for the addresses the master was told are faulty.
class ASIFaultLine {
public:
    // Whether the slave at `address` answers at all.
    virtual bool answers(int address) = 0;
    // The answer nibble of the slave at `address` as it reaches the master.
    virtual int arriving(int address, int answer) = 0;

protected:
    ~ASIFaultLine() = default;
};

// The AS-i bus master as a device of the CPU's bus: a status byte (bit 1:
// online), a control byte (bits 0..4: bank, bit 7: enable) and the slaves'
// data as 16 analog channels each way, of which the even numbers 0..14 are
// the eight data words. Each word holds the nibbles of four slave addresses.
// Data access works only with bank 0 while the master is online; otherwise
// reads give random values and writes are lost.
class ASIMaster final : public IO {
public:
    static constexpr int SLAVE_SLOTS = 32;
    static constexpr int DATA_WORDS = 8;
    static constexpr int CHANNELS = 16;
    static constexpr int ONLINE_BIT = 1;
    // Set while a registered slave did not answer in the last exchange.
    static constexpr int CONFIG_ERROR_BIT = 2;
    static constexpr int ENABLE_BIT = 7;
    static constexpr int BANK_BITS = 5;
    static constexpr int START_BANK = 8;

    // Where the nibble of slave address a (0..31) lies in the data words: in
    // word a / 4, the lowest addresses in the highest bits.
    static constexpr int nibbleWord(int address) { return address / 4; }
    static constexpr int nibbleShift(int address) { return (3 - address % 4) * 4; }

    int readInput(int byte, int bit) override;
    int inputBytes() override { return 1; }
    void writeOutput(int byte, int bit, int value) override;
    int outputBytes() override { return 1; }
    void writeAnalog(int channel, std::uint16_t value) override;
    std::uint16_t readAnalog(int channel) override;
    int analogOutputs() override { return CHANNELS; }
    int analogInputs() override { return CHANNELS; }
    // An input word only while data is accessible; an output word of the
    // eight whatever the bank, as the slaves receive it.
    std::optional<std::uint16_t> peekAnalogInput(int channel) override;
    std::optional<std::uint16_t> peekAnalogOutput(int channel) override;

    // One cycle of the bus: exchanges every address's nibbles with its slave,
    // or spends the cycle offline (randomly scheduled phases).
    void busCycle();

    // Puts `slave` into the slot of its address (1..31); the master does not
    // own it.
    void registerSlave(ASISlave& slave);
    // Its state for the scan history, without the slaves'.
    void visitState(StateArchive& archive);
    // Routes the exchanges of the addresses in `addresses` (bit a for address
    // a) through `line`; no address, or a null line, ends that.
    void setFaultLine(ASIFaultLine* line, std::uint32_t addresses);

    int online() const { return online_; }
    int bank() const { return bank_; }
    int enabled() const { return enabled_; }
    int cycleCounter() const { return cycleCounter_; }
    // The registered slaves that did not answer in the last exchange (bit a for address a).
    std::uint32_t missingSlaves() const { return missing_; }
    bool missing(int address) const {
        return address >= 0 && address < SLAVE_SLOTS && ((missing_ >> address) & 1u) != 0;
    }
    const std::array<std::uint16_t, DATA_WORDS>& inputData() const { return inputData_; }
    const std::array<std::uint16_t, DATA_WORDS>& outputData() const { return outputData_; }
    int inputNibble(int address) const { return nibbleOf(inputData_, address); }
    int outputNibble(int address) const { return nibbleOf(outputData_, address); }
    // The slave at `address`, or null when the slot is empty or out of range.
    const ASISlave* slave(int address) const;

private:
    static int nibbleOf(const std::array<std::uint16_t, DATA_WORDS>& words, int address);
    bool dataAccessible(int channel) const;
    void exchangeAll();
    int faultyExchange(ASISlave& slave, int address, std::uint32_t& missing);

    int online_ = 0;
    int bank_ = START_BANK;
    int enabled_ = 0;
    int cycleCounter_ = 2;
    std::array<std::uint16_t, DATA_WORDS> inputData_{};
    std::array<std::uint16_t, DATA_WORDS> outputData_{};
    std::array<ASISlave*, SLAVE_SLOTS> slaves_{};
    std::uint32_t missing_ = 0;
    ASIFaultLine* faultLine_ = nullptr;
    std::uint32_t faultyAddresses_ = 0;
};

} // namespace sps
