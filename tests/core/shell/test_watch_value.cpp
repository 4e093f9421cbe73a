#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/random_source.h"
#include "cpu/cpu.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/message_catalog.h"
#include "shell/simulator.h"
#include "shell/trace_info.h"
#include "shell/watch_value.h"
#include "support/clock_guard.h"
#include "support/silent_front_end.h"
#include "support/error_text.h"

using namespace sps;

namespace {

class WatchValueTest : public ClockTest {
protected:
    WatchValueTest() { ClockGuard::manualAt(0); }

    std::unique_ptr<Parameter> operand(const char* text) { return parseOperand(sim.cpu(), text); }

    SilentFrontEnd frontEnd;
    Simulator sim{frontEnd};
};

using F = ValueFormat;

TEST_F(WatchValueTest, FormatsOfferedAndOperandsRefused) {
    const std::vector<F> wordFormats{F::Binary, F::SignedDecimal, F::Decimal, F::Hex};
    const std::vector<F> integerFormats{F::Bit, F::Binary, F::SignedDecimal, F::Decimal, F::Hex};
    const std::string notPossible = lookupMessage("Parametertype not possible");
    struct Case {
        const char* operand;
        std::vector<F> formats;
        std::string refusal;
    };
    const Case cases[] = {
        {"E0.0", integerFormats, ""},
        {"MW10", wordFormats, ""},
        {"VD4", {F::Binary, F::SignedDecimal, F::Decimal, F::Hex, F::Real}, ""},
        {"T37", integerFormats, ""},
        {"AEW0", wordFormats, ""}, // looked at on the bus, never read
        {"AAW2", wordFormats, ""}, // cannot be read, but its device keeps it
        {"*VD20", {F::Binary, F::SignedDecimal, F::Decimal, F::Hex, F::Real}, ""}, // points nowhere yet
        {"16#FF", {}, notPossible},
        {"&VB100", {}, notPossible},
        {"SBR_0", {}, notPossible},
        {"VB5000", {F::Binary, F::SignedDecimal, F::Decimal, F::Hex}, lookupMessage("Out of field read")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operand);
        const auto parsed = operand(c.operand);
        EXPECT_EQ(watchFormats(*parsed), c.formats);
        EXPECT_EQ(errorText([&] { checkWatchable(*parsed); }), c.refusal);
    }
}

// Watching an analog input that reads random values (the AS-i master is
// offline) shows "?" and draws no random number; a forced one shows its
// forced value, an analog output the value its device keeps.
TEST_F(WatchValueTest, AnalogWordsAreLookedAtNotRead) {
    seedRandom(7);
    const auto input = operand("AEW0");
    EXPECT_EQ(watchValue(sim.cpu(), *input, F::Decimal), "?");
    const std::uint32_t next = nextRandom();
    seedRandom(7);
    EXPECT_EQ(next, nextRandom());

    forceOperand(sim.cpu(), "AEW0", "-2");
    EXPECT_EQ(watchValue(sim.cpu(), *input, F::SignedDecimal), "-2");
    EXPECT_EQ(watchValue(sim.cpu(), *input, F::Hex), "16#FFFE");
    EXPECT_EQ(errorText([&] { watchValue(sim.cpu(), *input, F::Real); }),
              lookupMessage("Can't read a dword on parameter"));

    const auto output = operand("AAW0");
    sim.runSteps(1);
    EXPECT_EQ(watchValue(sim.cpu(), *output, F::Decimal), "0");
    const auto word = operand("MW10");
    sim.cpu().areaM.writeWord(10, 0xFFFF);
    EXPECT_EQ(watchValue(sim.cpu(), *word, F::SignedDecimal), "-1");
}

} // namespace
