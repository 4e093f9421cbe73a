#pragma once

#include <array>
#include <cstddef>

namespace sps {

class KOPDraw;
class StateArchive;

// A slave on the AS-i bus. Once per bus cycle the master hands it the 4-bit
// output nibble for its address and stores the 4-bit nibble it answers.
class ASISlave {
public:
    static constexpr int MIN_ADDRESS = 1;
    static constexpr int MAX_ADDRESS = 31;

    explicit ASISlave(int address) : address_(address) {}
    virtual ~ASISlave() = default;
    ASISlave(const ASISlave&) = delete;
    ASISlave& operator=(const ASISlave&) = delete;

    int address() const { return address_; }

    // The answer nibble (low 4 bits used) to the output nibble `request`.
    virtual int exchange(int request);
    // The slave's lines in the AS-i status view, starting at `y`, one unit
    // height apart.
    virtual void drawStatus(KOPDraw& canvas, int y) const;
    // Its state for the scan history: what it keeps between bus cycles.
    virtual void visitState(StateArchive& /*archive*/) {}
    // The bus cycle passed without reaching the slave: its watchdog switches
    // its outputs off.
    virtual void connectionLost() {}

private:
    int address_;
};

// Four input bits D0..D3 set by the station (sensors, buttons) and sent to the
// master, and four output bits D0..D3 received from the master (actuators).
class DigitalASI final : public ASISlave {
public:
    static constexpr int BITS = 4;

    using ASISlave::ASISlave;

    int input(int d) const { return inputs_.at(static_cast<std::size_t>(d)); }
    int output(int d) const { return outputs_.at(static_cast<std::size_t>(d)); }
    void setInput(int d, bool on) { inputs_.at(static_cast<std::size_t>(d)) = on ? 1 : 0; }
    // The bus sets the outputs; a test bench may set them directly while the
    // master is stopped.
    void setOutput(int d, bool on) { outputs_.at(static_cast<std::size_t>(d)) = on ? 1 : 0; }

    int exchange(int request) override;
    void drawStatus(KOPDraw& canvas, int y) const override;
    void visitState(StateArchive& archive) override;
    void connectionLost() override { outputs_ = {}; }

private:
    std::array<int, BITS> inputs_{};
    std::array<int, BITS> outputs_{};
};

} // namespace sps
