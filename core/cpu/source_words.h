#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "cpu/mnemonic_set.h"
#include "cpu/program.h"

namespace sps {

// The words of a program file besides the mnemonics, as tables: the loader,
// the import, the program text writer, the highlighting of the program window
// and the generated editor syntax files all read them from here.

// A block's opening and closing keyword.
struct BlockKeyword {
    std::string_view start;
    std::string_view end;
    BlockKind kind;
};

inline constexpr std::array<BlockKeyword, 3> BLOCK_KEYWORDS{{
    {"ORGANIZATION_BLOCK", "END_ORGANIZATION_BLOCK", BLOCK_ORGANIZATION},
    {"SUBROUTINE_BLOCK", "END_SUBROUTINE_BLOCK", BLOCK_SUBROUTINE},
    {"INTERRUPT_BLOCK", "END_INTERRUPT_BLOCK", BLOCK_INTERRUPT},
}};

// The keywords inside a block: its body's start and a network's start.
inline constexpr std::array<std::string_view, 2> STRUCTURE_KEYWORDS{"BEGIN", "NETWORK"};

// What starts a block title line; the rest of the line is the title.
inline constexpr std::string_view TITLE_PREFIX = "TITLE=";

// What starts a comment; it runs to the end of the line.
inline constexpr std::string_view COMMENT_PREFIX = "//";

// The declarations of a subroutine's parameters and local variables, which
// the simulator does not take.
inline constexpr std::array<std::string_view, 6> PARAMETER_KEYWORDS{"VAR_INPUT", "VAR_OUTPUT", "VAR_IN_OUT",
                                                                    "VAR_TEMP",  "VAR",        "END_VAR"};

// The letters an operand's address starts with, and the mnemonic set that
// writes them (none: both sets). The longest letters that an operand text
// starts with name its area. An address follows the letters directly
// (a digit, or "B", "W", "D" and a digit for a byte, word or double word).
struct OperandLetters {
    std::string_view letters;
    std::optional<MnemonicSet> set;
};

inline constexpr std::array<OperandLetters, 16> OPERAND_LETTERS{{
    {"E", MnemonicSet::German},
    {"A", MnemonicSet::German},
    {"Z", MnemonicSet::German},
    {"AEW", MnemonicSet::German},
    {"AAW", MnemonicSet::German},
    {"I", MnemonicSet::International},
    {"Q", MnemonicSet::International},
    {"C", MnemonicSet::International},
    {"AIW", MnemonicSet::International},
    {"AQW", MnemonicSet::International},
    {"AC", std::nullopt},
    {"M", std::nullopt},
    {"V", std::nullopt},
    {"S", std::nullopt},
    {"SM", std::nullopt},
    {"T", std::nullopt},
}};

// The row whose letters are the longest that `text` starts with, or null.
const OperandLetters* leadingOperandLetters(std::string_view text);

} // namespace sps
