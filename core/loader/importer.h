#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "cpu/mnemonic_set.h"
#include "cpu/program.h"

namespace sps {

class CPU;
class SymbolTable;

// A program read the forgiving way, as the controller's own programming
// software and the programs people publish write them.
struct ImportedProgram {
    Program program;
    MnemonicSet set = MnemonicSet::German; // the set the file is written in
    std::size_t replacedCharacters = 0;    // shown as "?" in names and comments
};

// Reads a program in either mnemonic set (a file that mixes them is
// refused), UTF-8 or Windows-1252, with comments and blank lines anywhere, a
// block header without "name:label", CALL by block name, "symbol:address"
// operands and symbols from `symbols`. Throws CPUException with a German
// text that names what it cannot take and its line; the operands are bound
// to `cpu`, whose program stays as it is. `shownAs` names the instructions
// and operands in that set instead of the file's.
ImportedProgram importProgram(CPU& cpu, std::string_view bytes, const SymbolTable* symbols,
                              std::optional<MnemonicSet> shownAs = std::nullopt);

// The program file at `path` with the symbol table at `symbolsPath`, or,
// when that is empty, the one beside the program with its base name and
// ".csv" if there is one. Only regular files are read.
ImportedProgram importFile(CPU& cpu, const std::string& path, const std::string& symbolsPath = {},
                           std::optional<MnemonicSet> shownAs = std::nullopt);

// The symbol table that importFile takes for `path` when none is named: the
// file beside it with the same base name and ".csv"; empty when there is none.
std::string symbolTableBeside(const std::string& path);

} // namespace sps
