#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "base/random_source.h"
#include "cpu/cpu.h"
#include "messages/latin1.h"
#include "shell/recorder.h"
#include "shell/simulator.h"
#include "shell/trace_info.h"
#include "support/clock_guard.h"
#include "support/silent_front_end.h"
#include "support/error_text.h"
#include "support/german_texts.h"
#include "support/test_temp_path.h"

using namespace sps;

namespace {

class RecorderTest : public ClockTest {
protected:
    RecorderTest() { ClockGuard::manualAt(0); }

    // One simulation step `ms` after the last one.
    void step(std::uint32_t ms = 0) {
        simClock().advance(ms);
        recorder.sample(++cycle);
    }

    // The changes of signal `index` as (ms, step, value) triples.
    std::vector<std::vector<std::uint64_t>> changesOf(std::size_t index) const {
        std::vector<std::vector<std::uint64_t>> list;
        const ChangeRing& changes = recorder.signal(index).changes();
        for (std::size_t i = 0; i < changes.size(); ++i)
            list.push_back({changes[i].at.ms, changes[i].at.cycle, changes[i].value});
        return list;
    }

    CPU cpu;
    Recorder recorder{cpu};
    std::uint64_t cycle = 0;
};

using Changes = std::vector<std::vector<std::uint64_t>>;

TEST_F(RecorderTest, KeepsOnlyTheChangesWithTheirTimeAndStep) {
    recorder.record("M0.0");
    recorder.record("MW4");
    recorder.record("VD8", SignalType::Real);
    step();
    step(10); // nothing changed
    cpu.areaM.writeBit(0, 0, 1);
    step(10);
    cpu.areaM.writeWord(4, 0xBEEF);
    cpu.areaV.writeDword(8, std::bit_cast<std::uint32_t>(1.5f));
    step(5);
    cpu.areaM.writeBit(0, 0, 0);
    step(0);
    EXPECT_EQ(changesOf(0), (Changes{{0, 1, 0}, {20, 3, 1}, {25, 5, 0}}));
    EXPECT_EQ(changesOf(1), (Changes{{0, 1, 0}, {25, 4, 0xBEEF}}));
    EXPECT_EQ(changesOf(2), (Changes{{0, 1, 0}, {25, 4, std::bit_cast<std::uint32_t>(1.5f)}}));
    EXPECT_EQ(recorder.heldFrom()->cycle, 1u);
    EXPECT_EQ(recorder.latest()->ms, 25u);
    EXPECT_EQ(recorder.latest()->cycle, 5u);
    // Two steps at 25 ms: the value at 25 ms is that of the later one.
    const RecordedSignal& bit = recorder.signal(0);
    EXPECT_EQ(bit.valueAt(24).value, 1u);
    EXPECT_EQ(bit.valueAt(25).value, 0u);
    EXPECT_EQ(bit.valueAt(25).at.cycle, 5u);
    EXPECT_EQ(bit.indexAtCycle(4), 1u);
}

struct RecordRow {
    const char* operand;
    std::optional<SignalType> asked;
    std::optional<SignalType> recorded; // empty: refused with `error`
    std::string error;
};

TEST_F(RecorderTest, RecordsEveryOperandWithAValueInItsTypeAndRefusesTheRest) {
    const std::string noValue = L1("Der angegebene Operand hat keinen Wert, der sich aufzeichnen lässt");
    const std::string notInFormat = "Der angegebene Operand kann nicht in diesem Format aufgezeichnet werden";
    const RecordRow rows[] = {
        {"E0.7", {}, SignalType::Bit, ""},
        {"SMB6", {}, SignalType::Byte, ""},
        {"AEW2", {}, SignalType::Word, ""},
        {"AAW0", {}, SignalType::Word, ""},
        {"T37", {}, SignalType::Word, ""},
        {"T37", SignalType::Bit, SignalType::Bit, ""},
        {"Z3", {}, SignalType::Word, ""},
        {"AC1", {}, SignalType::DoubleWord, ""},
        {"AC1", SignalType::Byte, SignalType::Byte, ""},
        {"VD100", SignalType::Real, SignalType::Real, ""},
        // A pointer that points nowhere yet is recorded; it has no value until it does.
        {"*VD200", {}, SignalType::DoubleWord, ""},
        {"16#FF", {}, {}, noValue},
        {"sbr_motor", {}, {}, noValue},
        {"MW4", SignalType::Real, {}, notInFormat},
        {"AEW0", SignalType::Bit, {}, notInFormat},
        {"VB5000", {}, {}, german::OUT_OF_FIELD_READ},
        {"E0.8", {}, {}, "Die Bitnummer ist nicht im Bereich von 0 bis 7"},
    };
    for (const RecordRow& row : rows) {
        SCOPED_TRACE(row.operand);
        Recorder fresh(cpu);
        EXPECT_EQ(errorText([&] { fresh.record(row.operand, row.asked); }), row.error);
        ASSERT_EQ(fresh.size(), row.recorded ? 1u : 0u);
        if (row.recorded) {
            EXPECT_EQ(fresh.signal(0).type(), *row.recorded);
        }
    }
}

TEST_F(RecorderTest, HoldsUpTo32OperandsEachOnce) {
    EXPECT_EQ(recorder.record("M0.0"), 0u);
    EXPECT_EQ(recorder.record("M.0"), 0u) << "the same operand, written differently";
    EXPECT_EQ(recorder.record("VD0"), 1u);
    EXPECT_EQ(recorder.record("VD0", SignalType::Real), 2u) << "another type is another signal";
    for (int i = 3; i < 32; ++i) recorder.record("MB" + std::to_string(i));
    EXPECT_EQ(errorText([&] { recorder.record("MB99"); }), L1("Es können höchstens 32 Operanden aufgezeichnet werden"));
    EXPECT_EQ(recorder.size(), 32u);
    EXPECT_EQ(recorder.signal(0).name(), "M0.0");
}

// The ring keeps at least the newest 100,000 changes of every signal; the
// held data then starts at the oldest change kept.
TEST_F(RecorderTest, TheRingKeepsTheNewestChangesAndSaysFromWhenItHoldsData) {
    static_assert(Recorder::CHANGES_PER_SIGNAL >= 100000);
    recorder.record("M0.0");
    recorder.record("MW2");
    const std::size_t capacity = Recorder::CHANGES_PER_SIGNAL;
    for (std::size_t i = 0; i < capacity + 3; ++i) {
        cpu.areaM.writeBit(0, 0, static_cast<int>(i % 2));
        step(1);
    }
    const ChangeRing& bit = recorder.signal(0).changes();
    ASSERT_EQ(bit.size(), capacity);
    EXPECT_EQ(bit.dropped(), 3u);
    // Change i was made in step i + 1 at i + 1 ms.
    EXPECT_EQ(bit[0].at.cycle, 4u);
    EXPECT_EQ(bit[0].at.ms, 4u);
    EXPECT_EQ(bit.back().at.cycle, capacity + 3);
    EXPECT_EQ(recorder.signal(1).changes().size(), 1u);
    EXPECT_EQ(recorder.heldFrom()->cycle, 4u);
    EXPECT_EQ(recorder.heldFrom()->ms, 4u);
    EXPECT_FALSE(recorder.signal(0).valueAt(3).known);
    EXPECT_EQ(recorder.signal(0).valueAt(5).value, 0u);
}

// The recording's time starts at the manual clock's time, or at 0 ms on the
// automatic clock, and never runs backwards: after a jump of the clock it
// measures on from the new time, as the timers do.
TEST_F(RecorderTest, TimeFollowsTheClockForwardOnlyAndPausesKeepTheirTime) {
    recorder.record("M0.0");
    step(100);
    EXPECT_EQ(recorder.latest()->ms, 100u);
    step(50);
    ClockGuard::manualAt(20); // the clock jumps back from 150 to 20 ms
    step();
    EXPECT_EQ(recorder.latest()->ms, 150u);
    step(30);
    EXPECT_EQ(recorder.latest()->ms, 180u);
    recorder.stop();
    step(1000);
    EXPECT_EQ(recorder.latest()->cycle, 4u) << "no sample while stopped";
    recorder.record("M0.0"); // resumes
    step(10);
    EXPECT_EQ(recorder.latest()->ms, 1190u);
    recorder.clearData();
    EXPECT_FALSE(recorder.latest());
    simClock().switchToAutomatic();
    ClockGuard::useFakeTicks(86'400'000);
    recorder.sample(++cycle);
    ClockGuard::fakeTicks += 25;
    recorder.sample(++cycle);
    EXPECT_EQ(recorder.latest()->ms, 25u);
    EXPECT_EQ(recorder.signal(0).changes().size(), 1u);
    EXPECT_EQ(recorder.signal(0).changes()[0].at.ms, 0u);
}

class RecordingSimulatorTest : public ClockTest {
protected:
    RecordingSimulatorTest() {
        ClockGuard::manualAt(0);
        seedRandom(1);
    }
    ~RecordingSimulatorTest() override { std::filesystem::remove(path_); }

    void load(const std::string& networks) {
        std::ofstream(path_) << "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\n" << networks << "END_ORGANIZATION_BLOCK\n";
        sim.load(path_.string());
    }

    SilentFrontEnd frontEnd;
    Simulator sim{frontEnd};

private:
    std::filesystem::path path_ = testTempPath("recorder_test", ".awl");
};

// A load clears the data and keeps the operands; a reset and a trace are
// steps like any other.
TEST_F(RecordingSimulatorTest, ALoadStartsAFreshRecordingOfTheSameOperands) {
    Recorder& recorder = sim.recorder();
    recorder.record("A0.0");
    load("NETWORK 1\nLD SM0.0\n= A0.0\n");
    sim.runSteps(2);
    sim.reset(); // the outputs drop to 0 until the next scan
    sim.trace();
    ASSERT_EQ(recorder.signal(0).changes().size(), 1u);
    EXPECT_EQ(recorder.signal(0).changes()[0].at.cycle, 1u);
    EXPECT_EQ(recorder.latest()->cycle, 3u);
    simClock().advance(40);
    load("NETWORK 1\nLDN SM0.0\n= A0.0\n");
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_TRUE(recorder.signal(0).changes().empty());
    sim.runSteps(1);
    EXPECT_EQ(recorder.signal(0).changes()[0].at.cycle, 1u);
    EXPECT_EQ(recorder.signal(0).changes()[0].at.ms, 40u);
    EXPECT_EQ(recorder.signal(0).changes()[0].value, 0u);
}

// Analog words are looked at without reading the bus: an analog input that
// reads random values (the AS-i master is offline) has no value, and the run
// draws the same random numbers as one without a recording.
TEST_F(RecordingSimulatorTest, RecordingAnalogWordsDoesNotChangeTheRun) {
    const auto nextRandomAfterFiveSteps = [](bool recordAnalog) {
        seedRandom(1);
        SilentFrontEnd quiet;
        Simulator run(quiet);
        if (recordAnalog) {
            run.recorder().record("AEW0");
            run.recorder().record("AAW0");
        }
        run.runSteps(5);
        if (recordAnalog) {
            EXPECT_TRUE(run.recorder().signal(0).changes().empty());
            EXPECT_EQ(run.recorder().signal(1).changes().size(), 1u);
        }
        return nextRandom();
    };
    EXPECT_EQ(nextRandomAfterFiveSteps(true), nextRandomAfterFiveSteps(false));
}

} // namespace
