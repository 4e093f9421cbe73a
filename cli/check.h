#pragma once

#include <span>
#include <string>

namespace sps {

class CPUException;
class Output;

// spsrun check [--import] FILE... (or --check): reads each program file as
// "Datei/Laden" does (as the import does with --import) without running it
// and prints each error as "FILE:LINE: Fehler: TEXT" on standard output, the
// line that compilers print and editors jump to. Exit status 0 when every
// file loads, 1 when one does not, 2 with a line on standard error when the
// arguments are wrong.
int runCheck(std::span<const char* const> arguments, Output& output);

// The line for the error of `path`, UTF-8; "FILE: Fehler: TEXT" when the
// error names no line. The text's line breaks become blanks.
std::string checkErrorLine(const std::string& path, const CPUException& error);

} // namespace sps
