#include "shell/watch_table.h"

#include <algorithm>
#include <utility>

#include "cpu/condition.h"
#include "cpu/cpu.h"
#include "cpu/force_table.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "shell/breakpoints.h"
#include "shell/simulator.h"
#include "shell/watch_value.h"

namespace sps {

void forceWatched(Simulator& simulator, std::unique_ptr<Parameter> operand, const ConstantValue& value) {
    simulator.cpu().forces.force(std::move(operand), value);
}

void writeWatchedOnce(Simulator& simulator, std::unique_ptr<Parameter> operand, const ConstantValue& value) {
    simulator.cpu().forces.writeAtNextScan(std::move(operand), value);
}

int setBreakpoint(Simulator& simulator, Condition condition, int replacing) {
    Breakpoints& breakpoints = simulator.breakpoints();
    if (replacing != 0) breakpoints.remove(replacing);
    return breakpoints.add(std::move(condition));
}

namespace {

// An operand as a watch table takes it: in capitals, and only one with a
// value to watch.
std::unique_ptr<Parameter> watchedOperand(CPU& cpu, std::string_view text) {
    std::string capitals(text);
    for (char& c : capitals)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    auto operand = parseOperand(cpu, capitals);
    checkWatchable(*operand);
    return operand;
}

bool offers(const WatchRow& row, ValueFormat format) {
    return std::find(row.formats.begin(), row.formats.end(), format) != row.formats.end();
}

// The condition's text without the operand it is on: "> 100" of "MW10 > 100".
std::string shownTest(const std::string& text, const std::string& operandName) {
    const std::string operandPart = operandName + ' ';
    return text.starts_with(operandPart) ? text.substr(operandPart.size()) : text;
}

} // namespace

WatchRow::WatchRow() = default;
WatchRow::~WatchRow() = default;
WatchRow::WatchRow(WatchRow&&) noexcept = default;
WatchRow& WatchRow::operator=(WatchRow&&) noexcept = default;

WatchTable::WatchTable(Simulator& simulator) : simulator_(simulator) {}

WatchTable::~WatchTable() = default;

std::unique_ptr<Parameter> WatchTable::newOperand(std::string_view typed) {
    draft_.reset();
    if (typed.empty()) return nullptr;
    try {
        return watchedOperand(simulator_.cpu(), typed);
    } catch (const CPUException& error) {
        draft_ = WatchProblem{WatchField::Operand, std::string(typed), error.messageText()};
    }
    return nullptr;
}

void WatchTable::append(std::unique_ptr<Parameter> operand) {
    draft_.reset();
    rows_.push_back(makeRow(std::move(operand)));
    read(rows_.back());
}

bool WatchTable::setOperand(std::size_t row, std::string_view typed) {
    if (typed.empty()) return false;
    WatchRow& current = rows_[row];
    std::unique_ptr<Parameter> operand;
    try {
        operand = watchedOperand(simulator_.cpu(), typed);
    } catch (const CPUException& error) {
        current.problem = WatchProblem{WatchField::Operand, std::string(typed), error.messageText()};
        return true;
    }
    if (operandName(*operand) == current.name) {
        current.problem.reset();
        return true;
    }
    release(row, true);
    WatchRow replaced = makeRow(std::move(operand));
    if (offers(replaced, current.format)) replaced.format = current.format;
    replaced.newValue = current.newValue;
    const std::string condition = current.condition;
    const bool record = current.record;
    current = std::move(replaced);
    if (const std::string error = applyCondition(current, condition); !error.empty())
        current.problem = WatchProblem{WatchField::Condition, condition, error};
    if (const std::string error = applyRecording(current, record); !error.empty())
        current.problem = WatchProblem{WatchField::Record, {}, error};
    read(current);
    return true;
}

bool WatchTable::setFormat(std::size_t row, std::string_view name) {
    WatchRow& current = rows_[row];
    const auto format = formatNamed(name);
    if (!format || !offers(current, *format)) return false;
    if (*format == current.format) return true;
    current.format = *format;
    current.problem.reset();
    if (current.record && current.recordedAs != recordType(current)) {
        releaseRecording(row);
        current.record = false;
        if (const std::string error = applyRecording(current, true); !error.empty())
            current.problem = WatchProblem{WatchField::Record, {}, error};
    }
    read(current);
    return true;
}

void WatchTable::setNewValue(std::size_t row, std::string_view text) {
    rows_[row].newValue = text;
    rows_[row].problem.reset();
}

void WatchTable::setCondition(std::size_t row, std::string_view test) {
    WatchRow& current = rows_[row];
    if (const std::string error = applyCondition(current, test); error.empty())
        current.problem.reset();
    else
        current.problem = WatchProblem{WatchField::Condition, std::string(test), error};
}

void WatchTable::setRecorded(std::size_t row, bool record) {
    WatchRow& current = rows_[row];
    if (record == current.record) return;
    if (!record) {
        releaseRecording(row);
        current.record = false;
        current.problem.reset();
    } else if (const std::string error = applyRecording(current, true); error.empty()) {
        current.problem.reset();
    } else {
        current.problem = WatchProblem{WatchField::Record, {}, error};
    }
}

void WatchTable::remove(std::size_t first, std::size_t count) {
    // From the last: a force is taken back with the last row that shows it.
    for (std::size_t i = first + count; i-- > first;) {
        release(i, true);
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

std::string WatchTable::applyCondition(WatchRow& row, std::string_view test) {
    if (test.empty()) {
        if (row.breakpoint != 0) simulator_.breakpoints().remove(row.breakpoint);
        row.breakpoint = 0;
        row.condition.clear();
        return {};
    }
    try {
        Condition condition(simulator_.cpu(), row.name, test);
        const std::string text = condition.text();
        const int replaced = std::exchange(row.breakpoint, 0);
        row.condition.clear();
        row.breakpoint = setBreakpoint(simulator_, std::move(condition), replaced);
        row.condition = shownTest(text, row.name);
    } catch (const CPUException& error) {
        return error.messageText();
    }
    return {};
}

SignalType WatchTable::recordType(const WatchRow& row) {
    if (row.format == ValueFormat::Bit) return SignalType::Bit;
    if (row.format == ValueFormat::Real) return SignalType::Real;
    return signalType(operandWidth(*row.operand).value_or(Width::Dword));
}

std::string WatchTable::applyRecording(WatchRow& row, bool record) {
    if (!record) return {};
    try {
        const SignalType type = recordType(row);
        simulator_.recorder().record(row.name, type);
        row.recordedAs = type;
        row.record = true;
    } catch (const CPUException& error) {
        return error.messageText();
    }
    return {};
}

void WatchTable::releaseRecording(std::size_t row) {
    WatchRow& current = rows_[row];
    const auto type = std::exchange(current.recordedAs, std::nullopt);
    if (!type ||
        otherRow(row, [&](const WatchRow& other) { return other.recordedAs == type && other.name == current.name; }))
        return;
    Recorder& recorder = simulator_.recorder();
    for (std::size_t i = 0; i < recorder.size(); ++i)
        if (recorder.signal(i).name() == current.name && recorder.signal(i).type() == *type) {
            recorder.remove(i);
            return;
        }
}

void WatchTable::release(std::size_t row, bool unforce) {
    WatchRow& current = rows_[row];
    if (current.breakpoint != 0) simulator_.breakpoints().remove(current.breakpoint);
    current.breakpoint = 0;
    releaseRecording(row);
    if (unforce && !otherRow(row, [&](const WatchRow& other) { return other.name == current.name; }))
        simulator_.cpu().forces.unforce(current.name);
}

template <class Predicate> bool WatchTable::otherRow(std::size_t except, Predicate predicate) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (i != except && predicate(rows_[i])) return true;
    return false;
}

WatchRow WatchTable::makeRow(std::unique_ptr<Parameter> operand) const {
    WatchRow row;
    row.name = operandName(*operand);
    row.formats = watchFormats(*operand);
    const ValueFormat natural = defaultFormat(operandWidth(*operand).value_or(Width::Dword));
    row.format = offers(row, natural) ? natural : row.formats.front();
    row.operand = std::move(operand);
    return row;
}

void WatchTable::read(WatchRow& row) {
    try {
        row.value = watchValue(simulator_.cpu(), *row.operand, row.format);
        row.valueFailed = false;
    } catch (const CPUException& error) {
        row.value = error.messageText();
        row.valueFailed = true;
    }
    const ForcedOperand* forced = simulator_.cpu().forces.find(row.name);
    row.forced = forced != nullptr;
    row.forcedValue = forced != nullptr ? forced->valueText() : std::string();
}

std::optional<WatchTable::Span> WatchTable::refresh() {
    std::optional<Span> changed;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        WatchRow& row = rows_[i];
        const std::string value = row.value;
        const bool failed = row.valueFailed;
        const std::string forcedValue = row.forcedValue;
        const bool forced = row.forced;
        read(row);
        if (row.value != value || row.valueFailed != failed || row.forced != forced || row.forcedValue != forcedValue) {
            if (!changed) changed = Span{i, i};
            changed->last = i;
        }
    }
    return changed;
}

template <class Action> void WatchTable::act(std::size_t row, Action action) {
    WatchRow& current = rows_[row];
    try {
        if (current.newValue.empty()) throwMessage("Constant expected");
        CPU& cpu = simulator_.cpu();
        auto operand = parseOperand(cpu, current.name);
        action(std::move(operand), parseConstant(cpu, current.newValue));
        current.problem.reset();
    } catch (const CPUException& error) {
        current.problem = WatchProblem{WatchField::NewValue, current.newValue, error.messageText()};
    }
}

void WatchTable::writeOnce(std::size_t row) {
    act(row, [this](std::unique_ptr<Parameter> operand, const ConstantValue& value) {
        writeWatchedOnce(simulator_, std::move(operand), value);
    });
}

void WatchTable::force(std::size_t row) {
    act(row, [this](std::unique_ptr<Parameter> operand, const ConstantValue& value) {
        forceWatched(simulator_, std::move(operand), value);
    });
}

void WatchTable::unforce(std::size_t row) { simulator_.cpu().forces.unforce(rows_[row].name); }

void WatchTable::unforceAll() { simulator_.cpu().forces.unforceAll(); }

bool WatchTable::anyForced() const { return !simulator_.cpu().forces.entries().empty(); }

std::optional<std::size_t> WatchTable::rowOf(int breakpoint) const {
    const auto found =
        std::find_if(rows_.begin(), rows_.end(), [&](const WatchRow& row) { return row.breakpoint == breakpoint; });
    if (found == rows_.end()) return std::nullopt;
    return static_cast<std::size_t>(found - rows_.begin());
}

std::vector<KeptWatchRow> WatchTable::kept() const {
    std::vector<KeptWatchRow> kept;
    for (const WatchRow& row : rows_)
        kept.push_back({row.name, formatName(row.format), row.newValue, row.condition, row.record});
    return kept;
}

void WatchTable::restore(const std::vector<KeptWatchRow>& kept) {
    while (!rows_.empty()) {
        release(rows_.size() - 1, false);
        rows_.pop_back();
    }
    draft_.reset();
    for (const KeptWatchRow& saved : kept) {
        std::unique_ptr<Parameter> operand;
        try {
            operand = parseOperand(simulator_.cpu(), saved.operand);
            checkWatchable(*operand);
        } catch (const CPUException&) {
            continue; // edited by hand into something the simulator cannot watch
        }
        WatchRow row = makeRow(std::move(operand));
        if (const auto format = formatNamed(saved.format); format && offers(row, *format)) row.format = *format;
        row.newValue = saved.newValue;
        rows_.push_back(std::move(row));
        WatchRow& added = rows_.back();
        if (const std::string error = applyCondition(added, saved.condition); !error.empty())
            added.problem = WatchProblem{WatchField::Condition, saved.condition, error};
        if (const std::string error = applyRecording(added, saved.record); !error.empty())
            added.problem = WatchProblem{WatchField::Record, {}, error};
        read(added);
    }
}

} // namespace sps
