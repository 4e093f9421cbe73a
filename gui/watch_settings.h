#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "shell/watch_table.h"

namespace sps {

// The watch tables live in the user's settings, one per program file (its
// canonical path), in the group "watch":
//
//   tables\size=1
//   tables\1\program=/home/user/ampel.awl
//   tables\1\rows\size=1
//   tables\1\rows\1\operand=MW10
//   tables\1\rows\1\format=Hex
//   ...
//   tables\1\networks\size=1
//   tables\1\networks\1\block=SBR0
//   tables\1\networks\1\network=2

// A breakpoint before a network, as kept for its program.
struct KeptNetworkBreakpoint {
    std::string block; // the block's label, as the program writes it
    int network = 0;
    bool operator==(const KeptNetworkBreakpoint&) const = default;
};

// The table kept for `program`; none when no table was ever kept for it.
std::optional<std::vector<KeptWatchRow>> loadWatchTable(const QString& program);
// Keeps `rows` as the table of `program`, replacing the one kept before.
void saveWatchTable(const QString& program, const std::vector<KeptWatchRow>& rows);

// The network breakpoints kept for `program`, and keeping them.
std::vector<KeptNetworkBreakpoint> loadNetworkBreakpoints(const QString& program);
void saveNetworkBreakpoints(const QString& program, const std::vector<KeptNetworkBreakpoint>& breakpoints);

} // namespace sps
