// Fuzz target: one operand text as a program line would hold it, parsed and
// then read, written, indexed, dumped, named and formatted in every way an
// operand can be. The input's first line is the operand; the bytes after it
// fill V memory from address 0 and the accumulators, so pointers can point
// somewhere.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/operand_parser.h"
#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "fuzz_support.h"
#include "messages/cpu_exception.h"
#include "shell/simulator.h"

namespace {

using namespace sps;

constexpr int INT_MIN_ = std::numeric_limits<int>::min();
constexpr int INT_MAX_ = std::numeric_limits<int>::max();
constexpr int INDICES[] = {0, 1, 7, 8, 255, 4095, 4096, -1, INT_MIN_, INT_MAX_};
constexpr int VALUES[] = {0, 1, -1, 0xA5, 0x1234, 0xFFFF, 0x10000, INT_MIN_, INT_MAX_};
constexpr std::uint32_t LONGS[] = {0, 1, 0xFFFFFFFFu, 0x08000000u, 0x08000FFFu, 0x80000000u};
constexpr float REALS[] = {0.0f,
                           -0.0f,
                           1.5f,
                           -3.0e38f,
                           std::numeric_limits<float>::infinity(),
                           std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::denorm_min()};

// Runs one access; an error it reports is an answer, not a finding.
template <typename Access> void attempt(Access&& access) {
    try {
        access();
    } catch (const CPUException&) {
    }
}

void fillMemory(CPU& cpu, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size() && i < 4096; ++i)
        cpu.areaV.writeByte(static_cast<int>(i), static_cast<unsigned char>(bytes[i]));
    for (std::size_t i = 0; i < 4 && 4 * i + 4 <= bytes.size(); ++i)
        std::memcpy(&cpu.accumulators[i], bytes.data() + 4 * i, 4);
}

void exercise(Parameter& operand) {
    operand.kind();
    operand.capabilities();
    StringWriter text;
    operand.printName(text);
    attempt([&] { operand.dump(text); });
    for (char letter : {'I', 'B', 'W', 'D', 'R', 'S'}) {
        attempt([&] { formatValue(text, &operand, letter); });
        formatShownValue(text, &operand, letter);
    }
    attempt([&] { operand.getBit(); });
    attempt([&] { operand.getByte(); });
    attempt([&] { operand.getWord(); });
    attempt([&] { operand.getLong(); });
    attempt([&] { operand.getReal(); });
    for (int index : INDICES) {
        attempt([&] { operand.getBitAt(index); });
        attempt([&] { operand.getByteAt(index); });
        attempt([&] { operand.getWordAt(index); });
        attempt([&] { operand.getLongAt(index); });
    }
    for (int value : VALUES) {
        attempt([&] { operand.setBit(value); });
        attempt([&] { operand.setByte(value); });
        attempt([&] { operand.setWord(value); });
        for (int index : INDICES) {
            attempt([&] { operand.setBitAt(index, value); });
            attempt([&] { operand.setByteAt(index, value); });
            attempt([&] { operand.setWordAt(index, value); });
        }
    }
    for (std::uint32_t value : LONGS) {
        attempt([&] { operand.setLong(value); });
        for (int index : INDICES) attempt([&] { operand.setLongAt(index, value); });
    }
    for (float value : REALS) attempt([&] { operand.setReal(value); });
    attempt([&] { operand.dump(text); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::resetClockAndRandom();
    const std::string_view input = fuzz::asText(data, size);
    const std::size_t lineEnd = input.find('\n');
    const std::string_view operandText = input.substr(0, lineEnd);

    fuzz::QuietFrontEnd frontEnd;
    Simulator simulator(frontEnd); // the CPU wired to the station, as operands see it
    CPU& cpu = simulator.cpu();
    if (lineEnd != std::string_view::npos) fillMemory(cpu, input.substr(lineEnd + 1));

    std::unique_ptr<Parameter> operand;
    try {
        operand = parseOperand(cpu, operandText);
    } catch (const CPUException&) {
        return 0;
    }
    exercise(*operand);
    return 0;
}
