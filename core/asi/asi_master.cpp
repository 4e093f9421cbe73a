#include "asi/asi_master.h"

#include <stdexcept>

#include "asi/asi_slave.h"
#include "base/random_source.h"
#include "base/state_archive.h"

namespace sps {

namespace {

constexpr int NIBBLE_MASK = 0xF;
constexpr int PHASE_CHOICES = 4;

std::uint16_t randomWord() { return static_cast<std::uint16_t>(nextRandom() & 0xFFFF); }

// 1..4 cycles.
int randomPhase() { return static_cast<int>(nextRandom() % PHASE_CHOICES) + 1; }

} // namespace

int ASIMaster::readInput(int byte, int bit) {
    if (byte != 0) return 0;
    if (bit == ONLINE_BIT) return online_;
    if (bit == CONFIG_ERROR_BIT) return missing_ != 0 ? 1 : 0;
    return 0;
}

void ASIMaster::writeOutput(int byte, int bit, int value) {
    if (byte != 0) return;
    const int on = value != 0 ? 1 : 0;
    if (bit == ENABLE_BIT) {
        enabled_ = on;
        if (on == 0) online_ = 0;
    } else if (bit >= 0 && bit < BANK_BITS) {
        if (on != 0)
            bank_ |= 1 << bit;
        else
            bank_ &= ~(1 << bit);
    }
}

bool ASIMaster::dataAccessible(int channel) const {
    return bank_ == 0 && online_ != 0 && channel >= 0 && channel < CHANNELS - 1 && channel % 2 == 0;
}

std::uint16_t ASIMaster::readAnalog(int channel) {
    if (!dataAccessible(channel)) return randomWord();
    return inputData_[static_cast<std::size_t>(channel / 2)];
}

std::optional<std::uint16_t> ASIMaster::peekAnalogInput(int channel) {
    if (!dataAccessible(channel)) return std::nullopt;
    return inputData_[static_cast<std::size_t>(channel / 2)];
}

std::optional<std::uint16_t> ASIMaster::peekAnalogOutput(int channel) {
    if (channel < 0 || channel >= CHANNELS - 1 || channel % 2 != 0) return std::nullopt;
    return outputData_[static_cast<std::size_t>(channel / 2)];
}

void ASIMaster::writeAnalog(int channel, std::uint16_t value) {
    if (dataAccessible(channel)) outputData_[static_cast<std::size_t>(channel / 2)] = value;
}

void ASIMaster::busCycle() {
    if (enabled_ == 0) {
        online_ = 0;
        return;
    }
    if (cycleCounter_ < 0) {
        ++cycleCounter_; // offline phase
        return;
    }
    if (cycleCounter_ > 0 && --cycleCounter_ == 0) {
        online_ = 0;
        cycleCounter_ = -randomPhase();
        return;
    }
    exchangeAll();
    online_ = 1;
    cycleCounter_ = randomPhase();
}

void ASIMaster::exchangeAll() {
    std::uint32_t missing = 0;
    for (int address = ASISlave::MIN_ADDRESS; address <= ASISlave::MAX_ADDRESS; ++address) {
        ASISlave* slave = slaves_[static_cast<std::size_t>(address)];
        int answer = 0;
        if (slave != nullptr)
            answer = ((faultyAddresses_ >> address) & 1u) == 0 ? slave->exchange(outputNibble(address)) & NIBBLE_MASK
                                                               : faultyExchange(*slave, address, missing);
        std::uint16_t& word = inputData_[static_cast<std::size_t>(nibbleWord(address))];
        const int shift = nibbleShift(address);
        word = static_cast<std::uint16_t>((word & ~(NIBBLE_MASK << shift)) | (answer << shift));
    }
    missing_ = missing;
}

// A slave that does not answer gets no outputs and sends 0; the master lists
// it as missing, as a real master drops it from its detected slaves.
int ASIMaster::faultyExchange(ASISlave& slave, int address, std::uint32_t& missing) {
    if (!faultLine_->answers(address)) {
        slave.connectionLost();
        missing |= 1u << address;
        return 0;
    }
    return faultLine_->arriving(address, slave.exchange(outputNibble(address)) & NIBBLE_MASK) & NIBBLE_MASK;
}

void ASIMaster::setFaultLine(ASIFaultLine* line, std::uint32_t addresses) {
    faultLine_ = line;
    faultyAddresses_ = line != nullptr ? addresses & ~1u : 0;
}

void ASIMaster::registerSlave(ASISlave& slave) {
    const int address = slave.address();
    if (address < ASISlave::MIN_ADDRESS || address > ASISlave::MAX_ADDRESS)
        throw std::out_of_range("AS-i slave address outside 1..31");
    slaves_[static_cast<std::size_t>(address)] = &slave;
}

const ASISlave* ASIMaster::slave(int address) const {
    if (address < 0 || address >= SLAVE_SLOTS) return nullptr;
    return slaves_[static_cast<std::size_t>(address)];
}

int ASIMaster::nibbleOf(const std::array<std::uint16_t, DATA_WORDS>& words, int address) {
    if (address < 0 || address >= SLAVE_SLOTS) return 0;
    return (words[static_cast<std::size_t>(nibbleWord(address))] >> nibbleShift(address)) & NIBBLE_MASK;
}

void ASIMaster::visitState(StateArchive& archive) {
    archive.value(online_);
    archive.value(bank_);
    archive.value(enabled_);
    archive.value(cycleCounter_);
    archive.value(inputData_);
    archive.value(outputData_);
    archive.value(missing_);
}

} // namespace sps
