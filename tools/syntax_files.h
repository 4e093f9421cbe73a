#pragma once

#include <ostream>

namespace sps {

// The editor syntax files of *.awl, written from the core's word lists: the
// mnemonics of the instruction table in both sets, the block keywords and
// the operand letters. Each names the file type text/x-sps-awl.

// A GtkSourceView language definition (version 2.0, read by versions 4 and 5).
void writeGtkSourceViewLanguage(std::ostream& out);
// A KSyntaxHighlighting definition.
void writeKSyntaxHighlighting(std::ostream& out);
// A Vim syntax file and its file type detection.
void writeVimSyntax(std::ostream& out);
void writeVimFiletypeDetection(std::ostream& out);

} // namespace sps
