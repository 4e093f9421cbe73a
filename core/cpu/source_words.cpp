#include "cpu/source_words.h"

namespace sps {

const OperandLetters* leadingOperandLetters(std::string_view text) {
    const OperandLetters* longest = nullptr;
    for (const OperandLetters& row : OPERAND_LETTERS)
        if (text.starts_with(row.letters) && (longest == nullptr || row.letters.size() > longest->letters.size()))
            longest = &row;
    return longest;
}

} // namespace sps
