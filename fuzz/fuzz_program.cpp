// Fuzz target: a whole program file, loaded as the simulator loads it, then
// reset, a few scans and station steps on the manual clock, a traced scan, and
// every status view drawn. The views must not throw: no try/catch around them.

#include <cstddef>
#include <cstdint>

#include "asi/asi_info.h"
#include "base/sim_clock.h"
#include "canvas/canvases.h"
#include "cpu/cpu.h"
#include "fuzz_support.h"
#include "ladder/kop_net.h"
#include "messages/cpu_exception.h"
#include "shell/cpu_info.h"
#include "shell/simulator.h"
#include "station/target.h"

namespace {

using namespace sps;

// The screen canvas's clipping, without a screen.
class DiscardingCanvas final : public ClippedCanvas {
public:
    DiscardingCanvas() : ClippedCanvas(8, 15, -40, -300, 640, 480) {}

protected:
    void drawLine(int, int, int, int) override {}
    void drawText(int, int, const std::string&) override {}
};

// Sizes the content as its window does when it opens, then draws it on each
// canvas of the front ends.
void drawEverywhere(InfoDraw& content) {
    RecordingCanvas recording(8, 15);
    content.contentWidth(recording);
    content.contentHeight(recording);
    content.drawContent(recording);
    CharGridCanvas grid;
    content.drawContent(grid);
    DiscardingCanvas screen;
    content.drawContent(screen);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::resetClockAndRandom();
    const auto path = fuzz::scratchFolder() / "program.awl";
    fuzz::writeFile(path, fuzz::asText(data, size));

    fuzz::QuietFrontEnd frontEnd;
    Simulator simulator(frontEnd);
    simulator.load(path.string());
    simulator.reset();
    // The switches (inputs E0.0 to E0.7) follow the bits of the input's last
    // byte, so that a program's conditions can go either way.
    const unsigned switches = size > 0 ? data[size - 1] : 0u;
    for (int k = 0; k < 8; ++k)
        if ((switches >> k) & 1u) simulator.target().toggleSwitch(k);
    for (int step = 0; step < 4 && simulator.runSteps(1); ++step) simClock().advance(250);
    simulator.trace();

    if (frontEnd.trace) drawEverywhere(*frontEnd.trace);
    // The CPU and AS-i views have the same shape for every program (memory
    // dumps, the bus) and cost many times the rest; one input in 32 draws them.
    if (size % 32 == 0) {
        CPUInfo cpuView(simulator.cpu());
        drawEverywhere(cpuView);
        ASIInfo asiView(simulator.target().asiMaster());
        drawEverywhere(asiView);
    }
    if (simulator.cpu().program) {
        KOPNet ladder;
        try {
            ladder.setProgram(simulator.cpu().program);
        } catch (const CPUException&) {
            // A network that cannot be laid out keeps the window closed.
            return 0;
        }
        drawEverywhere(ladder);
    }
    return 0;
}
