#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cpu/condition.h"
#include "cpu/cpu.h"
#include "cpu/parameter.h"
#include "messages/message_catalog.h"
#include "shell/breakpoints.h"
#include "shell/simulator.h"
#include "shell/watch_table.h"
#include "support/clock_guard.h"
#include "support/error_text.h"
#include "support/silent_front_end.h"

using namespace sps;

namespace {

using F = ValueFormat;

class WatchTableTest : public ClockTest {
protected:
    WatchTableTest() { ClockGuard::manualAt(0); }

    // Adds a row for an operand that the table takes; its index.
    std::size_t add(const char* typed) {
        auto operand = table.newOperand(typed);
        if (!operand)
            ADD_FAILURE() << typed << " refused";
        else
            table.append(std::move(operand));
        return table.size() - 1;
    }
    // MW2 in hex, with a new value, a condition and its recording.
    std::size_t addSetUpRow() {
        const std::size_t row = add("MW2");
        EXPECT_TRUE(table.setFormat(row, "Hex"));
        table.setNewValue(row, "7");
        table.setCondition(row, "> 5");
        table.setRecorded(row, true);
        return row;
    }
    std::vector<std::string> breakpoints() {
        std::vector<std::string> list;
        for (const Breakpoint& breakpoint : sim.breakpoints().list()) list.push_back(breakpoint.condition.text());
        return list;
    }
    // "NAME/TYPE" of every recorded signal.
    std::vector<std::string> recorded() {
        std::vector<std::string> list;
        const Recorder& recorder = sim.recorder();
        for (std::size_t i = 0; i < recorder.size(); ++i)
            list.push_back(recorder.signal(i).name() + "/" +
                           std::to_string(static_cast<int>(recorder.signal(i).type())));
        return list;
    }
    static std::string as(SignalType type) { return "/" + std::to_string(static_cast<int>(type)); }
    // The row's problem as "FIELD typed: text", or "".
    std::string problem(std::size_t row) const {
        const auto& found = table[row].problem;
        if (!found) return "";
        return std::to_string(static_cast<int>(found->field)) + " " + found->typed + ": " + found->text;
    }
    static std::string refused(WatchField field, const std::string& typed, const char* key) {
        return std::to_string(static_cast<int>(field)) + " " + typed + ": " + lookupMessage(key);
    }

    SilentFrontEnd frontEnd;
    Simulator sim{frontEnd};
    WatchTable table{sim};
};

// An operand typed into the empty row is taken in capitals, shown in its
// natural format, or refused with the reason kept in the draft.
TEST_F(WatchTableTest, NewOperandsAreTakenInCapitalsOrRefused) {
    struct Case {
        const char* typed;
        const char* name; // null: refused
        F format;
        std::size_t formats;
        const char* refusal;
    };
    const Case cases[] = {
        {"mw2", "MW2", F::SignedDecimal, 4, nullptr},
        {"E0.0", "E0.0", F::Bit, 5, nullptr},
        {"VD4", "VD4", F::SignedDecimal, 5, nullptr},
        {"aew0", "AEW0", F::SignedDecimal, 4, nullptr},
        {"t37", "T37", F::SignedDecimal, 5, nullptr},
        {"E0.8", nullptr, F::Bit, 0, "Bitnumber out of range"},
        {"16#FF", nullptr, F::Bit, 0, "Parametertype not possible"},
        {"sbr_0", nullptr, F::Bit, 0, "Parametertype not possible"},
        {"VB5000", nullptr, F::Bit, 0, "Out of field read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::size_t before = table.size();
        auto operand = table.newOperand(c.typed);
        if (c.name == nullptr) {
            EXPECT_FALSE(operand);
            ASSERT_TRUE(table.draft());
            EXPECT_EQ(table.draft()->field, WatchField::Operand);
            EXPECT_EQ(table.draft()->typed, c.typed);
            EXPECT_EQ(table.draft()->text, lookupMessage(c.refusal));
            EXPECT_EQ(table.size(), before);
            continue;
        }
        ASSERT_TRUE(operand);
        table.append(std::move(operand));
        EXPECT_FALSE(table.draft());
        const WatchRow& row = table[before];
        EXPECT_EQ(row.name, c.name);
        EXPECT_EQ(row.format, c.format);
        EXPECT_EQ(row.formats.size(), c.formats);
        EXPECT_FALSE(row.problem);
    }
    EXPECT_TRUE(table.draft());
    EXPECT_FALSE(table.newOperand(""));
    EXPECT_FALSE(table.draft()) << "an empty text clears the refusal";
}

// A condition is one breakpoint per row: a new test replaces it, a refused
// one keeps the one before and shows why, an empty one removes it.
TEST_F(WatchTableTest, ConditionsAreTheRowsBreakpoint) {
    const std::size_t word = add("MW2");
    const std::size_t bit = add("E0.0");
    struct Case {
        std::size_t row;
        const char* test;
        const char* shown;
        std::vector<std::string> breakpoints;
        const char* refusal; // null: taken
    };
    const Case cases[] = {
        {word, "> 1", "> 1", {"MW2 > 1"}, nullptr},
        {bit, "=1", "== 1", {"MW2 > 1", "E0.0 == 1"}, nullptr},
        {word, "<=5", "<= 5", {"E0.0 == 1", "MW2 <= 5"}, nullptr},
        {word, "~ 5", "<= 5", {"E0.0 == 1", "MW2 <= 5"}, "Relation expected"},
        {word, "steigt", "<= 5", {"E0.0 == 1", "MW2 <= 5"}, "Edge needs a bit"},
        {word, "> 70000", "<= 5", {"E0.0 == 1", "MW2 <= 5"}, "Value out of range"},
        {bit, "faellt", "f\xe4llt", {"MW2 <= 5", "E0.0 f\xe4llt"}, nullptr},
        {word, "", "", {"E0.0 f\xe4llt"}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.test);
        table.setCondition(c.row, c.test);
        EXPECT_EQ(table[c.row].condition, c.shown);
        EXPECT_EQ(breakpoints(), c.breakpoints);
        EXPECT_EQ(problem(c.row), c.refusal ? refused(WatchField::Condition, c.test, c.refusal) : "");
    }
    EXPECT_EQ(table[word].breakpoint, 0);
    EXPECT_EQ(table.rowOf(table[bit].breakpoint), bit);
    EXPECT_FALSE(table.rowOf(99));
}

// A row is recorded in the type its format shows; rows that record the same
// signal share it, and it goes with the last of them.
TEST_F(WatchTableTest, RecordingFollowsTheFormatAndIsShared) {
    const std::size_t real = add("VD4");
    const std::size_t first = add("MW2");
    const std::size_t second = add("MW2");
    EXPECT_TRUE(table.setFormat(real, "Real"));
    table.setRecorded(real, true);
    EXPECT_EQ(recorded(), std::vector<std::string>{"VD4" + as(SignalType::Real)});
    EXPECT_FALSE(table.setFormat(real, "Bit")) << "a double word has no bit format";
    EXPECT_FALSE(table.setFormat(real, "Hexadezimal?"));
    EXPECT_TRUE(table.setFormat(real, "Hex"));
    EXPECT_EQ(recorded(), std::vector<std::string>{"VD4" + as(SignalType::DoubleWord)});
    EXPECT_TRUE(table[real].record);

    table.setRecorded(first, true);
    table.setRecorded(second, true);
    const std::vector<std::string> both{"VD4" + as(SignalType::DoubleWord), "MW2" + as(SignalType::Word)};
    EXPECT_EQ(recorded(), both);
    table.setRecorded(first, false);
    EXPECT_EQ(recorded(), both);
    table.remove(second, 1);
    EXPECT_EQ(recorded(), std::vector<std::string>{"VD4" + as(SignalType::DoubleWord)});
    table.remove(real, 1);
    EXPECT_TRUE(recorded().empty());
}

// An operand typed over a row's takes its format (where it has it), new
// value, condition and recording along; what the new operand cannot take
// shows in the row.
TEST_F(WatchTableTest, AReplacedOperandTakesTheRowAlong) {
    const std::size_t row = addSetUpRow();

    EXPECT_TRUE(table.setOperand(row, "vw4"));
    EXPECT_EQ(table[row].name, "VW4");
    EXPECT_EQ(table[row].format, F::Hex);
    EXPECT_EQ(table[row].newValue, "7");
    EXPECT_EQ(table[row].condition, "> 5");
    EXPECT_EQ(breakpoints(), std::vector<std::string>{"VW4 > 5"});
    EXPECT_EQ(recorded(), std::vector<std::string>{"VW4" + as(SignalType::Word)});

    // A bit cannot hold 5: the condition is dropped and says why.
    EXPECT_TRUE(table.setOperand(row, "E0.0"));
    EXPECT_EQ(table[row].format, F::Hex);
    EXPECT_EQ(problem(row), refused(WatchField::Condition, "> 5", "Value out of range"));
    EXPECT_TRUE(breakpoints().empty());
    EXPECT_EQ(recorded(), std::vector<std::string>{"E0.0" + as(SignalType::Bit)});

    EXPECT_TRUE(table.setOperand(row, "E0.9"));
    EXPECT_EQ(table[row].name, "E0.0");
    EXPECT_EQ(problem(row), refused(WatchField::Operand, "E0.9", "Bitnumber out of range"));
    EXPECT_TRUE(table.setOperand(row, "e0.0"));
    EXPECT_EQ(problem(row), "") << "the same operand again clears the refusal";
    EXPECT_FALSE(table.setOperand(row, ""));
}

// "Schreiben" and "Forcen" take the row's new value as a constant that fits
// the operand; a refusal shows in the new value.
TEST_F(WatchTableTest, WriteOnceAndForceCheckTheNewValue) {
    const std::size_t row = add("MW2");
    struct Case {
        const char* value;
        const char* refusal; // null: taken
    };
    const Case cases[] = {
        {"", "Constant expected"},
        {"MW4", "Constant expected"},
        {"70000", "Value out of range"},
        {"1.5", "Can't write a dword on parameter"},
        {"-5", nullptr},
        {"16#FFFF", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        table.setNewValue(row, c.value);
        table.writeOnce(row);
        EXPECT_EQ(problem(row), c.refusal ? refused(WatchField::NewValue, c.value, c.refusal) : "");
        table.force(row);
        EXPECT_EQ(problem(row), c.refusal ? refused(WatchField::NewValue, c.value, c.refusal) : "");
    }
    EXPECT_EQ(sim.cpu().forces.pendingWrites(), 2u);
    EXPECT_EQ(sim.cpu().areaM.readWord(2), 0xFFFF);
    table.refresh();
    EXPECT_TRUE(table[row].forced);
    EXPECT_EQ(table[row].forcedValue, "65535");
    EXPECT_TRUE(table.anyForced());
    table.unforce(row);
    table.refresh();
    EXPECT_FALSE(table[row].forced);
    EXPECT_FALSE(table.anyForced());
}

// A force is the operand's, not the row's: it goes with the last row that
// shows the operand, or with "Alle entforcen".
TEST_F(WatchTableTest, AForceGoesWithTheLastRowShowingItsOperand) {
    const std::size_t first = add("MW2");
    add("MW2");
    const std::size_t other = add("M0.0");
    table.setNewValue(first, "3");
    table.force(first);
    table.setNewValue(other, "1");
    table.force(other);
    table.remove(first, 1);
    EXPECT_EQ(sim.cpu().forces.entries().size(), 2u);
    table.remove(0, 1);
    ASSERT_EQ(sim.cpu().forces.entries().size(), 1u);
    EXPECT_EQ(sim.cpu().forces.entries().front().name, "M0.0");
    table.unforceAll();
    EXPECT_FALSE(table.anyForced());
}

TEST_F(WatchTableTest, RefreshNamesTheRowsThatChanged) {
    add("MW2");
    add("MW4");
    add("MW6");
    EXPECT_FALSE(table.refresh());
    sim.cpu().areaM.writeWord(4, 9);
    auto changed = table.refresh();
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->first, 1u);
    EXPECT_EQ(changed->last, 1u);
    EXPECT_EQ(table[1].value, "9");
    sim.cpu().areaM.writeWord(2, 1);
    sim.cpu().areaM.writeWord(6, 1);
    changed = table.refresh();
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->first, 0u);
    EXPECT_EQ(changed->last, 2u);
}

// What a table keeps between sessions brings its rows back with their
// breakpoints and recordings; a row edited by hand into something the
// simulator cannot watch is left out, a format it does not offer falls back.
TEST_F(WatchTableTest, KeptRowsComeBack) {
    addSetUpRow();
    add("E0.0");
    std::vector<KeptWatchRow> kept = table.kept();
    const std::vector<KeptWatchRow> expected{{"MW2", "Hex", "7", "> 5", true}, {"E0.0", "Bit", "", "", false}};
    EXPECT_EQ(kept, expected);

    table.restore({});
    EXPECT_EQ(table.size(), 0u);
    EXPECT_TRUE(breakpoints().empty());
    EXPECT_TRUE(recorded().empty());

    kept.push_back({"VB5000", "Hex", "", "", false});
    kept.push_back({"MW8", "Real", "", "steigt", false});
    table.restore(kept);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table.kept()[0], expected[0]);
    EXPECT_EQ(table.kept()[1], expected[1]);
    EXPECT_EQ(table[2].name, "MW8");
    EXPECT_EQ(table[2].format, F::SignedDecimal);
    EXPECT_EQ(problem(2), refused(WatchField::Condition, "steigt", "Edge needs a bit"));
    EXPECT_EQ(breakpoints(), std::vector<std::string>{"MW2 > 5"});
    EXPECT_EQ(recorded(), std::vector<std::string>{"MW2" + as(SignalType::Word)});
}

// Replacing a breakpoint frees its place first, so that a full list still
// takes a changed condition.
TEST_F(WatchTableTest, ReplacingABreakpointWorksWhenTheListIsFull) {
    int last = 0;
    for (std::size_t i = 0; i < MAX_BREAKPOINTS; ++i)
        last = setBreakpoint(sim, Condition(sim.cpu(), "MW2", "> " + std::to_string(i)));
    EXPECT_EQ(errorText([&] { setBreakpoint(sim, Condition(sim.cpu(), "MW2", "> 99")); }),
              lookupMessage("Too many breakpoints"));
    const int replaced = setBreakpoint(sim, Condition(sim.cpu(), "MW2", "> 99"), last);
    EXPECT_EQ(sim.breakpoints().list().size(), MAX_BREAKPOINTS);
    EXPECT_EQ(sim.breakpoints().list().back().number, replaced);
    EXPECT_EQ(sim.breakpoints().list().back().condition.text(), "MW2 > 99");
}

} // namespace
