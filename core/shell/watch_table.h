#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cpu/operand_value.h"
#include "cpu/value_format.h"
#include "shell/recorder.h"

namespace sps {

class Condition;
class Parameter;
class Simulator;

// What watching does to the simulator, one operand at a time. The rows of a
// WatchTable act through these, and so do spsrun's force, write and break
// commands, so that both front ends hold, write and stop alike.

// Holds `operand` at `value` in every scan (see ForceTable::force).
void forceWatched(Simulator& simulator, std::unique_ptr<Parameter> operand, const ConstantValue& value);
// Writes `value` once, at the start of the next scan (ForceTable::writeAtNextScan).
void writeWatchedOnce(Simulator& simulator, std::unique_ptr<Parameter> operand, const ConstantValue& value);
// Stops the run when `condition` becomes true, in place of breakpoint
// `replacing` (0: none), which goes first so that replacing one never fails
// for want of room. Returns the new breakpoint's number; throws "Too many
// breakpoints".
int setBreakpoint(Simulator& simulator, Condition condition, int replacing = 0);

// The parts of a watch row, in the order a table shows them.
enum class WatchField : std::uint8_t { Operand, Format, Value, NewValue, Forced, Condition, Record };

// An input that was refused: the part it was typed into, what was typed, and
// the German error.
struct WatchProblem {
    WatchField field = WatchField::Operand;
    std::string typed;
    std::string text;
};

// One watched operand. Texts are ISO-8859-1, as the core writes them.
struct WatchRow {
    WatchRow();
    ~WatchRow();
    WatchRow(WatchRow&&) noexcept;
    WatchRow& operator=(WatchRow&&) noexcept;

    std::unique_ptr<Parameter> operand;
    std::string name; // as the core names it: "MW10"
    std::vector<ValueFormat> formats;
    ValueFormat format = ValueFormat::Decimal;
    std::string newValue;  // as typed
    std::string condition; // the test, as the core writes it: "> 100", "steigt"
    int breakpoint = 0;    // its number in the simulator; 0: none
    bool record = false;
    std::optional<SignalType> recordedAs;
    // As last read: the value as shown (or the error of its read), and the force.
    std::string value;
    bool valueFailed = false;
    bool forced = false;
    std::string forcedValue;
    // The row's last refused input, until the row is edited again.
    std::optional<WatchProblem> problem;
};

// A row as it is kept between sessions. Forces are not kept: loading a
// program clears them.
struct KeptWatchRow {
    std::string operand;   // "MW10"
    std::string format;    // the German name of its display format
    std::string newValue;  // as typed
    std::string condition; // the test of its breakpoint, "> 100", or empty
    bool record = false;

    bool operator==(const KeptWatchRow&) const = default;
};

// The rows of a watch table: operands typed by the user, each shown in the
// format chosen for it, with a value to write once or to force, a condition
// that stops the run, and whether it is recorded.
//
// What a row sets lives in the simulator: its condition is a breakpoint, its
// recording a signal of the recorder, its force an entry of the CPU's force
// table. A row adds and removes its own; `forced` shows what the force table
// holds, whoever forced it. An input that the simulator refuses is not kept:
// the row holds the German error until it is edited again. A new operand is
// typed into an empty row after the last; its refusal is the table's draft.
class WatchTable {
public:
    explicit WatchTable(Simulator& simulator);
    // What the rows set stays in the simulator, which may be gone already.
    ~WatchTable();
    WatchTable(const WatchTable&) = delete;
    WatchTable& operator=(const WatchTable&) = delete;

    std::size_t size() const { return rows_.size(); }
    const WatchRow& operator[](std::size_t row) const { return rows_[row]; }
    // The refused operand typed into the empty row, if any.
    const std::optional<WatchProblem>& draft() const { return draft_; }

    // `typed` into the empty row, parsed for a new row. Operands are taken in
    // capitals (in small letters they would be names, which have no value).
    // Null when nothing was typed (the draft is cleared) or the operand was
    // refused (the draft holds why).
    std::unique_ptr<Parameter> newOperand(std::string_view typed);
    // Adds a row for an operand from newOperand, in its natural format.
    void append(std::unique_ptr<Parameter> operand);

    // The setters take what was typed into a row (trimmed). Each clears the
    // row's problem or sets it to its own refusal.
    //
    // A new operand replaces the row's: its format (where the new one has it),
    // new value, condition and recording move along. False for an empty text.
    bool setOperand(std::size_t row, std::string_view typed);
    // A format by its German name; false for one the operand is not offered in.
    // A recording follows the format (a real shown as a real is recorded as one).
    bool setFormat(std::size_t row, std::string_view name);
    void setNewValue(std::size_t row, std::string_view text);
    // An empty test removes the condition; a refused one keeps the one before.
    void setCondition(std::size_t row, std::string_view test);
    void setRecorded(std::size_t row, bool record);
    // Removes rows with their breakpoints and recordings; an operand that no
    // other row shows is no longer forced.
    void remove(std::size_t first, std::size_t count);

    // "Schreiben": the row's new value, once at the start of the next scan.
    void writeOnce(std::size_t row);
    // "Forcen": the row's operand held at its new value.
    void force(std::size_t row);
    // "Entforcen", "Alle entforcen".
    void unforce(std::size_t row);
    void unforceAll();
    bool anyForced() const;

    // The first and the last of the rows whose value or force changed.
    struct Span {
        std::size_t first;
        std::size_t last;
    };
    // Reads every value and force anew.
    std::optional<Span> refresh();

    // The row whose condition is breakpoint `number`.
    std::optional<std::size_t> rowOf(int breakpoint) const;

    std::vector<KeptWatchRow> kept() const;
    // Replaces the rows with those kept; one that no longer parses is left
    // out. Forces stay as they are (a load has cleared them).
    void restore(const std::vector<KeptWatchRow>& kept);

private:
    WatchRow makeRow(std::unique_ptr<Parameter> operand) const;
    // Sets in the simulator what the row asks for; the German error of a
    // refusal, with nothing changed, or empty.
    std::string applyCondition(WatchRow& row, std::string_view test);
    std::string applyRecording(WatchRow& row, bool record);
    // What a row is recorded as: in the format it is shown in where that is a
    // bit or a real, else at its operand's width.
    static SignalType recordType(const WatchRow& row);
    // Takes back what the row set: its breakpoint, its recording (unless
    // another row records the same) and, with `unforce`, its force (unless
    // another row shows the same operand).
    void release(std::size_t row, bool unforce);
    void releaseRecording(std::size_t row);
    void read(WatchRow& row);
    // Runs a write or force of the row's new value; a refusal shows in the row.
    template <class Action> void act(std::size_t row, Action action);
    // Whether a row other than `except` fulfils `predicate`.
    template <class Predicate> bool otherRow(std::size_t except, Predicate predicate) const;

    Simulator& simulator_;
    std::vector<WatchRow> rows_;
    std::optional<WatchProblem> draft_;
};

} // namespace sps
