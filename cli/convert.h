#pragma once

#include <span>

namespace sps {

class Output;

// spsrun convert FILE [--to deutsch|international] [-o OUT]: imports FILE
// (with the symbol table beside it) and writes it in the simulator's own
// format, so that it loads with "Datei/Laden" and spsrun's load; the German
// set unless --to says otherwise, to OUT or standard output. Exit status 0,
// or 2 with a line on standard error when the file does not import, the
// arguments are wrong or the result cannot be written.
int runConvert(std::span<const char* const> arguments, Output& output);

} // namespace sps
