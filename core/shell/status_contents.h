#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "canvas/info_draw.h"

namespace sps {

class KOPNet;
class Simulator;
class TraceInfo;

// What a status content is made from.
struct StatusContentSource {
    Simulator& simulator;
    // The trace the last trace command made; null: none (an empty trace).
    const TraceInfo* lastTrace = nullptr;
    // Whether the ladder shows the power flow of the last scan that the CPU
    // recorded it for (CPU::recordPower).
    bool powerFlow = false;
};

// A content of the status windows as both front ends show it: the desktop
// program in a window of its own, spsrun with `show` and `draw`.
struct StatusContent {
    // Names it on the command line (spsrun's show and draw, spssim's --open)
    // and in screenshot files.
    const char* name;
    // Its window's title. Names and titles are plain ASCII, which every front
    // end shows as it is.
    const char* title;
    // Makes the content from the simulator as it is now. May throw
    // CPUException: a ladder that cannot be laid out.
    std::unique_ptr<InfoDraw> (*make)(const StatusContentSource& source);
};

// The ladder view, laid out now from the program loaded now; it keeps that
// program even after another one is loaded. Throws the CPUException of a
// program that cannot be laid out.
std::unique_ptr<KOPNet> layOutLadder(Simulator& simulator);

// The makers of the rows below.
std::unique_ptr<InfoDraw> makeLadderContent(const StatusContentSource& source);
std::unique_ptr<InfoDraw> makeAsiContent(const StatusContentSource& source);
std::unique_ptr<InfoDraw> makeCpuContent(const StatusContentSource& source);
std::unique_ptr<InfoDraw> makeTraceContent(const StatusContentSource& source);

inline constexpr StatusContent LADDER_CONTENT{"kop", "KOP", makeLadderContent};
inline constexpr StatusContent ASI_CONTENT{"asi", "ASI", makeAsiContent};
inline constexpr StatusContent CPU_CONTENT{"cpu", "CPU", makeCpuContent};
inline constexpr StatusContent TRACE_CONTENT{"trace", "Trace", makeTraceContent};

// Every content, in menu order.
inline constexpr std::array<const StatusContent*, 4> STATUS_CONTENTS{&LADDER_CONTENT, &ASI_CONTENT, &CPU_CONTENT,
                                                                     &TRACE_CONTENT};

// Their names, in the same order.
inline constexpr std::array<std::string_view, STATUS_CONTENTS.size()> STATUS_CONTENT_NAMES = [] {
    std::array<std::string_view, STATUS_CONTENTS.size()> names{};
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = STATUS_CONTENTS[i]->name;
    return names;
}();

} // namespace sps
