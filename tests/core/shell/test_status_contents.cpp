#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "canvas/canvases.h"
#include "ladder/kop_net.h"
#include "shell/simulator.h"
#include "shell/status_contents.h"
#include "shell/trace_info.h"
#include "support/silent_front_end.h"

using namespace sps;

namespace {

std::vector<std::string> drawn(const StatusContent& content, Simulator& sim, const TraceInfo* trace) {
    RecordingCanvas canvas(8, 15);
    content.make({sim, trace})->drawContent(canvas);
    return canvas.listing();
}

// Both front ends name the contents by these words: spsrun's show and draw,
// spssim's --open.
TEST(StatusContents, NamesAndTitlesAreOneEach) {
    std::set<std::string> names;
    std::set<std::string> titles;
    for (std::size_t i = 0; i < STATUS_CONTENTS.size(); ++i) {
        EXPECT_EQ(STATUS_CONTENT_NAMES[i], STATUS_CONTENTS[i]->name);
        names.insert(STATUS_CONTENTS[i]->name);
        titles.insert(STATUS_CONTENTS[i]->title);
    }
    EXPECT_EQ(names, (std::set<std::string>{"kop", "asi", "cpu", "trace"}));
    EXPECT_EQ(titles, (std::set<std::string>{"KOP", "ASI", "CPU", "Trace"}));
}

// The trace content copies the last trace, which stays for the next; without
// one it is an empty trace.
TEST(StatusContents, TheTraceContentShowsTheLastTraceOrNothing) {
    SilentFrontEnd frontEnd;
    Simulator sim{frontEnd};
    EXPECT_TRUE(drawn(TRACE_CONTENT, sim, nullptr).empty());
    const TraceInfo last({"LD E0.0", "= A0.0"});
    const std::vector<std::string> lines = drawn(TRACE_CONTENT, sim, &last);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("LD E0.0"), std::string::npos);
    EXPECT_NE(lines[1].find("= A0.0"), std::string::npos);
    EXPECT_EQ(last.lines().size(), 2u);
    EXPECT_TRUE(drawn(CPU_CONTENT, sim, &last).front().find("Akkumulatoren") != std::string::npos);
}

// spsrun's show kop draws the power flow, show kop plain and draw kop do not.
TEST(StatusContents, TheLadderShowsThePowerFlowWhenAsked) {
    SilentFrontEnd frontEnd;
    Simulator sim{frontEnd};
    for (const bool power : {false, true}) {
        const auto content = LADDER_CONTENT.make({sim, nullptr, power});
        const auto* ladder = dynamic_cast<const KOPNet*>(content.get());
        ASSERT_NE(ladder, nullptr);
        EXPECT_EQ(ladder->showsPower(), power);
    }
}

} // namespace
