#include "station/fault_words.h"

#include <array>
#include <charconv>
#include <string_view>

#include "messages/cpu_exception.h"
#include "messages/latin1.h"

namespace sps {

namespace {

constexpr int MAX_MAGNITUDE = 4095;

constexpr std::array STUCK{FaultRange{"Wert", 0, 1, 1}};
constexpr std::array BOUNCE{FaultRange{"Anzahl", 1, 100, FaultTable::DEFAULT_BOUNCES},
                            FaultRange{"Abstand in ms", 1, 1000, FaultTable::DEFAULT_BOUNCE_MS}};
constexpr std::array DELAY{FaultRange{L1("Verzögerung in ms"), 1, 60000, 1}};
constexpr std::array NOISE{FaultRange{"Amplitude", 1, MAX_MAGNITUDE, 1}};
constexpr std::array OFFSET{FaultRange{"Versatz", -MAX_MAGNITUDE, MAX_MAGNITUDE, 0}};

// Whether a number may be left out: only the bounce's have defaults.
bool optional(FaultKind kind) { return kind == FaultKind::Bounce; }

std::string shownName(int row) {
    const FaultInput& input = faultInputs()[static_cast<std::size_t>(row)];
    if (input.place == InputPlace::Slave) return "Slave " + std::to_string(input.address);
    return input.name;
}

std::string numberText(int value) { return std::to_string(value); }

int numberWord(const std::string& word, const char* kindName, const FaultRange& range) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size() || value < range.min ||
        value > range.max)
        throw CPUException(
            formatMessage("Fault %s needs %s from %d to %d", kindName, range.what, range.min, range.max));
    return value;
}

// The kind that `word` names for inputs of class `fits`, with the stuck
// value picking between the two stuck kinds later.
const FaultKindInfo* kindNamed(std::string_view word, InputClass fits) {
    if (word == "verzoegert") word = L1("verzögert");
    for (const FaultKindInfo& info : faultKinds())
        if (info.fits == fits && word == info.word) return &info;
    return nullptr;
}

} // namespace

std::span<const FaultRange> faultRanges(FaultKind kind) {
    switch (kind) {
    case FaultKind::Bounce: return BOUNCE;
    case FaultKind::Delay: return DELAY;
    case FaultKind::Noise: return NOISE;
    case FaultKind::Offset: return OFFSET;
    default: return {};
    }
}

std::vector<Fault> faultsFromWords(std::span<const std::string> words) {
    if (words.empty())
        throw CPUException(formatMessage("Unknown fault input %s, valid: %s", "", faultInputNames().c_str()));
    std::size_t at = 1;
    std::vector<int> rows;
    std::string name = words[0];
    if (name == "slave" || name == "Slave") {
        int address = 0;
        const std::string& number = words.size() > 1 ? words[1] : std::string();
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), address);
        if (number.empty() || error != std::errc() || end != number.data() + number.size() || slaveRow(address) < 0)
            throwMessage("Slave number 1 to 9 expected");
        rows.push_back(slaveRow(address));
        name = "Slave " + number;
        at = 2;
    } else {
        rows = faultInputsNamed(name);
        if (rows.empty())
            throw CPUException(
                formatMessage("Unknown fault input %s, valid: %s", name.c_str(), faultInputNames().c_str()));
    }
    const InputClass fits = inputClass(faultInputs()[static_cast<std::size_t>(rows[0])]);
    if (words.size() <= at)
        throw CPUException(
            formatMessage("Fault kind missing for %s, valid: %s", name.c_str(), faultKindWords(fits).c_str()));
    const FaultKindInfo* info = kindNamed(words[at], fits);
    if (info == nullptr)
        throw CPUException(formatMessage("Fault %s not possible on %s, valid: %s", words[at].c_str(), name.c_str(),
                                         faultKindWords(fits).c_str()));
    // The stuck value picks the kind; it is no number of the fault.
    const std::span<const FaultRange> ranges =
        info->kind == FaultKind::StuckLow ? std::span<const FaultRange>(STUCK) : faultRanges(info->kind);
    const std::size_t given = words.size() - at - 1;
    if (given > ranges.size()) throw CPUException(formatMessage("Too many values for fault %s", info->word));
    std::array<int, 2> numbers{};
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (i < given)
            numbers[i] = numberWord(words[at + 1 + i], info->word, ranges[i]);
        else if (optional(info->kind))
            numbers[i] = ranges[i].fallback;
        else
            throw CPUException(formatMessage("Fault %s needs %s from %d to %d", info->word, ranges[i].what,
                                             ranges[i].min, ranges[i].max));
    }
    Fault fault;
    fault.kind = info->kind;
    if (fault.kind == FaultKind::StuckLow && numbers[0] == 1) fault.kind = FaultKind::StuckHigh;
    if (fault.kind != FaultKind::StuckLow && fault.kind != FaultKind::StuckHigh) {
        fault.amount = numbers[0];
        fault.interval = numbers[1];
    }
    std::vector<Fault> faults;
    for (int row : rows) {
        fault.input = row;
        faults.push_back(fault);
    }
    return faults;
}

void checkFault(const Fault& fault) {
    if (fault.input < 0 || static_cast<std::size_t>(fault.input) >= faultInputs().size())
        throw CPUException(formatMessage("Unknown fault input %s, valid: %s", numberText(fault.input).c_str(),
                                         faultInputNames().c_str()));
    const InputClass fits = inputClass(faultInputs()[static_cast<std::size_t>(fault.input)]);
    const FaultKindInfo& info = kindInfo(fault.kind);
    if (info.fits != fits)
        throw CPUException(formatMessage("Fault %s not possible on %s, valid: %s", info.word,
                                         shownName(fault.input).c_str(), faultKindWords(fits).c_str()));
    const std::span<const FaultRange> ranges = faultRanges(fault.kind);
    const std::array<int, 2> numbers{fault.amount, fault.interval};
    for (std::size_t i = 0; i < ranges.size(); ++i)
        if (numbers[i] < ranges[i].min || numbers[i] > ranges[i].max)
            throw CPUException(formatMessage("Fault %s needs %s from %d to %d", info.word, ranges[i].what,
                                             ranges[i].min, ranges[i].max));
}

std::string faultKindText(const Fault& fault) {
    switch (fault.kind) {
    case FaultKind::Bounce:
        return "prellt " + numberText(fault.amount) + " mal alle " + numberText(fault.interval) + " ms";
    case FaultKind::Delay: return std::string(L1("verzögert um ")) + numberText(fault.amount) + " ms";
    case FaultKind::Noise: return std::string(L1("Rauschen ±")) + numberText(fault.amount);
    case FaultKind::Offset: return (fault.amount < 0 ? "Versatz " : "Versatz +") + numberText(fault.amount);
    case FaultKind::SlaveLost: return "ausgefallen";
    default: return kindInfo(fault.kind).shown;
    }
}

std::string faultText(const Fault& fault) { return shownName(fault.input) + " " + faultKindText(fault); }

} // namespace sps
