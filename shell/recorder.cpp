#include "shell/recorder.h"

#include <algorithm>
#include <bit>

#include "base/sim_clock.h"
#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/io.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

std::uint8_t readCapabilityOf(SignalType type) {
    switch (type) {
    case SignalType::Bit: return CAP_READ_BIT;
    case SignalType::Byte: return CAP_READ_BYTE;
    case SignalType::Word: return CAP_READ_WORD;
    case SignalType::DoubleWord:
    case SignalType::Real: return CAP_READ_DWORD;
    }
    return 0;
}

bool isAnalog(const Parameter& operand) { return operand.kind() == PK_ANALOG_IN || operand.kind() == PK_ANALOG_OUT; }

// Timers, counters and analog words as their value; every other operand at
// the widest width it can be read at.
std::optional<SignalType> naturalType(const Parameter& operand) {
    const int kind = operand.kind();
    if (kind == PK_TEXT || kind == PK_CONSTANT) return std::nullopt;
    if (kind == PK_TIMER || kind == PK_COUNTER || isAnalog(operand)) return SignalType::Word;
    const std::uint8_t readable = operand.capabilities().direct;
    if (readable & CAP_READ_DWORD) return SignalType::DoubleWord;
    if (readable & CAP_READ_WORD) return SignalType::Word;
    if (readable & CAP_READ_BYTE) return SignalType::Byte;
    if (readable & CAP_READ_BIT) return SignalType::Bit;
    return std::nullopt;
}

bool readableAs(const Parameter& operand, SignalType type) {
    if (isAnalog(operand)) return type == SignalType::Word;
    return (operand.capabilities().direct & readCapabilityOf(type)) != 0;
}

SignalChange knownValue(std::uint32_t value) { return {{}, value, true}; }

SignalChange peeked(std::optional<std::uint16_t> value) { return value ? knownValue(*value) : SignalChange{}; }

} // namespace

int signalBits(SignalType type) {
    switch (type) {
    case SignalType::Bit: return 1;
    case SignalType::Byte: return 8;
    case SignalType::Word: return 16;
    case SignalType::DoubleWord:
    case SignalType::Real: return 32;
    }
    return 32;
}

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

void ChangeRing::push(const SignalChange& change) {
    if (capacity_ == 0) return;
    if (changes_.size() < capacity_) {
        changes_.push_back(change);
        return;
    }
    changes_[oldest_] = change;
    oldest_ = (oldest_ + 1) % capacity_;
    ++dropped_;
}

void ChangeRing::clear() {
    changes_.clear();
    oldest_ = 0;
    dropped_ = 0;
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
SignalChange RecordedSignal::read() const {
    switch (source_) {
    case Source::AnalogInput: return cpu_.bus != nullptr ? peeked(cpu_.bus->peekAnalogInput(channel_)) : SignalChange{};
    case Source::AnalogOutput:
        return cpu_.bus != nullptr ? peeked(cpu_.bus->peekAnalogOutput(channel_)) : SignalChange{};
    case Source::Operand: break;
    }
    Parameter& operand = *operand_;
    switch (type_) {
    case SignalType::Bit: return knownValue(static_cast<std::uint32_t>(operand.getBit()) & 1u);
    case SignalType::Byte: return knownValue(static_cast<std::uint32_t>(operand.getByte()) & 0xFFu);
    case SignalType::Word: return knownValue(static_cast<std::uint32_t>(operand.getWord()) & 0xFFFFu);
    case SignalType::DoubleWord:
    case SignalType::Real: return knownValue(operand.getLong());
    }
    return {};
}

void RecordedSignal::sample(const RecordTime& at) {
    SignalChange now;
    try {
        now = read();
    } catch (const CPUException&) {
        // A pointer that points nowhere for now: no value at this step.
    }
    if (now.known == last_.known && now.value == last_.value) return;
    now.at = at;
    last_ = now;
    changes_.push(now);
}

void RecordedSignal::clearData() {
    changes_.clear();
    last_ = {};
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
    if (signal->operand_->kind() != PK_POINTER) signal->read();
    signals_.push_back(std::move(signal));
    recording_ = true;
    return signals_.size() - 1;
}

std::size_t Recorder::record(std::string_view operandText, std::optional<SignalType> type) {
    return record(parseOperand(cpu_, operandText), type);
}

void Recorder::remove(std::size_t index) {
    if (index < signals_.size()) signals_.erase(signals_.begin() + static_cast<std::ptrdiff_t>(index));
}

void Recorder::clear() {
    signals_.clear();
    recording_ = false;
    started_ = false;
}

void Recorder::clearData() {
    for (const auto& signal : signals_) signal->clearData();
    started_ = false;
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
    for (const auto& signal : signals_) signal->sample(now_);
}

} // namespace sps
