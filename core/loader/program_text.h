#pragma once

#include <string>

#include "cpu/program.h"

namespace sps {

// A loaded program in the simulator's own file format, which "Datei/Laden"
// reads back as the same program: its blocks with name, label, title and
// comments, its networks with their comments, each instruction as it names
// itself. A character the format does not take in a name becomes "_";
// texts are ISO-8859-1.
std::string programText(const Program& program);

} // namespace sps
