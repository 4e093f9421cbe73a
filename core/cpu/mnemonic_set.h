#pragma once

#include <cstdint>
#include <optional>

namespace sps {

// The two ways programs of this controller family are written: the German
// set (U, UN, E, A, Z, AEW, AAW; the simulator's own files) and the
// international one (A, AN, I, Q, C, AIW, AQW, analog words numbered by
// their byte address). Every other mnemonic and operand letter is the same
// in both.
enum class MnemonicSet : std::uint8_t { German, International };

// Which operand letters a text may use, and in which set a parsed operand
// names itself: by default in the set of the letters it was written with.
struct OperandSyntax {
    bool german = true;
    bool international = false;
    std::optional<MnemonicSet> shownAs;
};

} // namespace sps
