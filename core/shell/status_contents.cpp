#include "shell/status_contents.h"

#include <string>
#include <vector>

#include "asi/asi_info.h"
#include "cpu/cpu.h"
#include "ladder/kop_net.h"
#include "shell/cpu_info.h"
#include "shell/simulator.h"
#include "shell/trace_info.h"
#include "station/target.h"

namespace sps {

std::unique_ptr<KOPNet> layOutLadder(Simulator& simulator) {
    auto ladder = std::make_unique<KOPNet>();
    ladder->setProgram(simulator.cpu().program);
    return ladder;
}

std::unique_ptr<InfoDraw> makeLadderContent(const StatusContentSource& source) {
    auto ladder = layOutLadder(source.simulator);
    if (source.powerFlow) ladder->showPower(&source.simulator.cpu());
    return ladder;
}

std::unique_ptr<InfoDraw> makeAsiContent(const StatusContentSource& source) {
    return std::make_unique<ASIInfo>(source.simulator.target().asiMaster());
}

std::unique_ptr<InfoDraw> makeCpuContent(const StatusContentSource& source) {
    return std::make_unique<CPUInfo>(source.simulator.cpu());
}

std::unique_ptr<InfoDraw> makeTraceContent(const StatusContentSource& source) {
    return std::make_unique<TraceInfo>(source.lastTrace != nullptr ? source.lastTrace->lines()
                                                                   : std::vector<std::string>{});
}

} // namespace sps
