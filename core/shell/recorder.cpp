#include "shell/recorder.h"

#include <algorithm>
#include <bit>

#include "base/sim_clock.h"
#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/io.h"
#include "cpu/mem_field.h"
#include "cpu/memory_access.h"
#include "cpu/operand_parser.h"
#include "cpu/operand_value.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

bool isAnalog(const Parameter& operand) { return operand.kind() == PK_ANALOG_IN || operand.kind() == PK_ANALOG_OUT; }

// Timers, counters and analog words as their value; every other operand at
// the widest width it can be read at.
std::optional<SignalType> naturalType(const Parameter& operand) {
    const int kind = operand.kind();
    if (kind == PK_TEXT || kind == PK_CONSTANT) return std::nullopt;
    if (kind == PK_TIMER || kind == PK_COUNTER || isAnalog(operand)) return SignalType::Word;
    const std::uint8_t readable = operand.capabilities().direct;
    for (Width w : {Width::Dword, Width::Word, Width::Byte, Width::Bit})
        if (readable & readCapability(w)) return signalType(w);
    return std::nullopt;
}

bool readableAs(const Parameter& operand, SignalType type) {
    if (isAnalog(operand)) return type == SignalType::Word;
    return (operand.capabilities().direct & readCapability(signalWidth(type))) != 0;
}

bool peeked(IOBus* bus, std::optional<std::uint16_t> (IO::*peek)(int), int channel, std::uint32_t& value) {
    if (bus == nullptr) return false;
    const auto held = (bus->*peek)(channel);
    if (held) value = *held;
    return held.has_value();
}

// The first byte of a memory operand read at `type`, when all its bytes lie
// in its area; null for any other operand.
const std::uint8_t* memoryOf(const Parameter& operand, SignalType type) {
    const int bytes = widthBytes(signalWidth(type));
    const auto inArea = [bytes](const MemField& area, int address) {
        return address >= 0 && address <= area.size() - bytes ? area.bytes() + address : nullptr;
    };
    if (const auto* bit = dynamic_cast<const BitParameter*>(&operand)) return inArea(bit->area(), bit->byteAddress());
    if (const auto* byte = dynamic_cast<const ByteParameter*>(&operand)) return inArea(byte->area(), byte->address());
    if (const auto* word = dynamic_cast<const WordParameter*>(&operand)) return inArea(word->area(), word->address());
    if (const auto* dword = dynamic_cast<const LongParameter*>(&operand))
        return inArea(dword->area(), dword->address());
    return nullptr;
}

} // namespace

std::string signalValueText(SignalType type, const SignalChange& change) {
    if (!change.known) return {};
    StringWriter writer;
    if (type == SignalType::Real)
        writer.putReal(std::bit_cast<float>(change.value));
    else
        writer.putUnsigned(change.value);
    return writer.takeText();
}

double signalNumber(SignalType type, std::uint32_t value) {
    return type == SignalType::Real ? static_cast<double>(std::bit_cast<float>(value)) : static_cast<double>(value);
}

void ChangeRing::clear() {
    changes_.clear();
    oldest_ = 0;
    dropped_ = 0;
}

void ChangeRing::dropAfter(std::uint64_t cycle) {
    if (oldest_ != 0) {
        std::rotate(changes_.begin(), changes_.begin() + static_cast<std::ptrdiff_t>(oldest_), changes_.end());
        oldest_ = 0;
    }
    while (!changes_.empty() && changes_.back().at.cycle > cycle) changes_.pop_back();
}

RecordedSignal::RecordedSignal(CPU& cpu, std::unique_ptr<Parameter> operand, SignalType type, std::size_t capacity)
    : cpu_(cpu), operand_(std::move(operand)), type_(type), changes_(capacity) {
    StringWriter writer;
    operand_->printName(writer);
    name_ = writer.takeText();
    if (!name_.empty() && name_.front() == ' ') name_.erase(0, 1);
    if (const auto* input = dynamic_cast<const AEParameter*>(operand_.get())) {
        source_ = Source::AnalogInput;
        channel_ = input->channel();
    } else if (const auto* output = dynamic_cast<const AAParameter*>(operand_.get())) {
        source_ = Source::AnalogOutput;
        channel_ = output->channel();
    }
}

RecordedSignal::~RecordedSignal() = default;

// Analog words are looked at on the bus, since reading an input that nobody
// serves would draw from the random source and so change the run.
bool RecordedSignal::read(std::uint32_t& value) const {
    switch (source_) {
    case Source::AnalogInput: return peeked(cpu_.bus, &IO::peekAnalogInput, channel_, value);
    case Source::AnalogOutput: return peeked(cpu_.bus, &IO::peekAnalogOutput, channel_, value);
    case Source::Operand: break;
    }
    value = readAtWidth(*operand_, signalWidth(type_));
    return true;
}

namespace {

// The last change for which `atOrBefore` holds, by bisection: times and
// steps only grow from one change to the next.
template <class Predicate> std::optional<std::size_t> lastChangeWhere(const ChangeRing& changes, Predicate atOrBefore) {
    std::size_t low = 0;
    std::size_t high = changes.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (atOrBefore(changes[middle]))
            low = middle + 1;
        else
            high = middle;
    }
    if (low == 0) return std::nullopt;
    return low - 1;
}

} // namespace

std::optional<std::size_t> RecordedSignal::indexAt(std::uint64_t ms) const {
    return lastChangeWhere(changes_, [ms](const SignalChange& change) { return change.at.ms <= ms; });
}

std::optional<std::size_t> RecordedSignal::indexAtCycle(std::uint64_t cycle) const {
    return lastChangeWhere(changes_, [cycle](const SignalChange& change) { return change.at.cycle <= cycle; });
}

SignalChange RecordedSignal::valueAt(std::uint64_t ms) const {
    const auto index = indexAt(ms);
    return index ? changes_[*index] : SignalChange{};
}

Recorder::Recorder(CPU& cpu, std::size_t changesPerSignal) : cpu_(cpu), capacity_(changesPerSignal) {}

Recorder::~Recorder() = default;

std::size_t Recorder::record(std::unique_ptr<Parameter> operand, std::optional<SignalType> type) {
    const auto natural = naturalType(*operand);
    if (!natural) throwMessage("Operand has no value to record");
    const SignalType chosen = type.value_or(*natural);
    if (!readableAs(*operand, chosen)) throwMessage("Format not possible for recording");
    auto signal = std::unique_ptr<RecordedSignal>(new RecordedSignal(cpu_, std::move(operand), chosen, capacity_));
    const auto same = std::find_if(signals_.begin(), signals_.end(), [&](const auto& recorded) {
        return recorded->name() == signal->name() && recorded->type() == chosen;
    });
    if (same != signals_.end()) {
        recording_ = true;
        return static_cast<std::size_t>(same - signals_.begin());
    }
    if (signals_.size() >= MAX_SIGNALS) throwMessage("Too many recorded operands");
    // An address outside its area fails at every step: refuse it now. A
    // pointer may point somewhere valid once the program has set it.
    std::uint32_t value = 0;
    if (signal->operand_->kind() != PK_POINTER) signal->read(value);
    Probe probe;
    probe.memory = memoryOf(*signal->operand_, chosen);
    probe.signal = signal.get();
    probe.type = chosen;
    if (const auto* bit = dynamic_cast<const BitParameter*>(signal->operand_.get()))
        probe.bit = static_cast<std::uint8_t>(bit->bit());
    probes_.push_back(probe);
    signals_.push_back(std::move(signal));
    recording_ = true;
    return signals_.size() - 1;
}

std::size_t Recorder::record(std::string_view operandText, std::optional<SignalType> type) {
    return record(parseOperand(cpu_, operandText), type);
}

void Recorder::remove(std::size_t index) {
    if (index >= signals_.size()) return;
    probes_.erase(probes_.begin() + static_cast<std::ptrdiff_t>(index));
    signals_.erase(signals_.begin() + static_cast<std::ptrdiff_t>(index));
}

void Recorder::clear() {
    probes_.clear();
    signals_.clear();
    recording_ = false;
    started_ = false;
    steps_.clear();
}

void Recorder::clearData() {
    for (Probe& probe : probes_) {
        probe.signal->changes_.clear();
        probe.last = 0;
        probe.known = false;
    }
    started_ = false;
    steps_.clear();
}

std::optional<RecordTime> Recorder::heldFrom() const {
    if (!started_) return std::nullopt;
    RecordTime from = first_;
    for (const auto& signal : signals_) {
        const ChangeRing& changes = signal->changes();
        if (changes.dropped() > 0 && changes[0].at.cycle > from.cycle) from = changes[0].at;
    }
    return from;
}

std::optional<RecordTime> Recorder::latest() const {
    if (!started_) return std::nullopt;
    return now_;
}

std::optional<RecordTime> Recorder::stepAt(std::uint64_t ms) const {
    const auto after =
        std::upper_bound(steps_.begin(), steps_.end(), ms, [](std::uint64_t t, const StepTime& step) { return t < step.at.ms; });
    if (after == steps_.begin()) return std::nullopt;
    return std::prev(after)->at;
}

std::optional<RecordTime> Recorder::stepOf(std::uint64_t cycle) const {
    const auto at = std::lower_bound(steps_.begin(), steps_.end(), cycle,
                                     [](const StepTime& step, std::uint64_t c) { return step.at.cycle < c; });
    if (at == steps_.end() || at->at.cycle != cycle) return std::nullopt;
    return at->at;
}

void Recorder::truncateAfter(std::uint64_t cycle) {
    while (!steps_.empty() && steps_.back().at.cycle > cycle) steps_.pop_back();
    for (Probe& probe : probes_) {
        ChangeRing& changes = probe.signal->changes_;
        changes.dropAfter(cycle);
        probe.last = changes.empty() ? 0 : changes.back().value;
        probe.known = !changes.empty() && changes.back().known;
    }
    if (steps_.empty()) {
        started_ = false;
        return;
    }
    now_ = steps_.back().at;
    lastClock_ = steps_.back().clock;
}

void Recorder::sampleAll(std::uint64_t cycle) {
    const std::uint32_t clock = simTime();
    if (!started_) {
        started_ = true;
        now_ = {simClock().isManual() ? clock : 0u, cycle};
        first_ = now_;
    } else {
        // Measured on from the new time when the clock went back.
        if (clock >= lastClock_) now_.ms += clock - lastClock_;
        now_.cycle = cycle;
    }
    lastClock_ = clock;
    if (capacity_ > 0) {
        if (steps_.size() == capacity_) steps_.pop_front();
        steps_.push_back({now_, clock});
    }
    for (Probe& probe : probes_) {
        std::uint32_t value = 0;
        bool known = true;
        if (probe.memory != nullptr) {
            value = readMemoryAt(probe.memory, signalWidth(probe.type), probe.bit);
        } else {
            try {
                known = probe.signal->read(value);
            } catch (const CPUException&) {
                known = false; // a pointer that points nowhere for now
            }
            if (!known) value = 0;
        }
        if (known == probe.known && value == probe.last) continue;
        probe.last = value;
        probe.known = known;
        probe.signal->changes_.push(now_, value, known);
    }
}

} // namespace sps
