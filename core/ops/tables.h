#pragma once

// Word tables (ATT, FIFO, LIFO), block fill and block moves, and the table
// searches. Table operands are addressed word by word through their indexed
// access; every count and index is compared as an unsigned 16-bit value.
//
// ATT, FIFO and LIFO use the layout: word 0 the maximum number of entries
// (TL; a table with TL above 100 is left alone), word 1 the number of
// entries (EC), words 2 .. EC + 1 the entries, oldest first. The searches use
// word 0 as EC and words 1 .. EC as entries 0 .. EC - 1.
#include <cstdint>

#include "cpu/cpu.h"
#include "cpu/logic_stack.h"
#include "cpu/parameter.h"
#include "cpu/width_operand.h"
#include "ops/family.h"
#include "ops/instruction_row.h"

namespace sps::tables {

inline constexpr int MAX_TABLE_LENGTH = 100;

// IN (tested second), OUT at an index (tested first), count byte.
constexpr InstructionRow blockMove(const char* mnemonic, const char* label, Width w) {
    const char letter = widthLetter(w);
    return {
        .mnemonic = mnemonic,
        .label = label,
        .ladderKind = LK_BOX2,
        .operandCount = 3,
        .checks = {needsIndexed(2, writeCapability(w)), needsIndexed(1, readCapability(w)), needs(3, CAP_READ_BYTE)},
        .pins = {pinShows(3, 1, letter), pinShows(4, 3, 'B'), pinShows(5, 2, letter)}};
}

// TABLE at an index, PATTERN, INDEX; the pattern is tested first.
constexpr InstructionRow find(const char* mnemonic, const char* international, const char* label) {
    return {.mnemonic = mnemonic,
            .international = international,
            .label = label,
            .ladderKind = LK_BOX2,
            .operandCount = 3,
            .checks = {needs(2, CAP_READ_WORD), needsIndexed(1, CAP_READ_WORD), needs(3, CAP_READ_WORD),
                       needs(3, CAP_WRITE_WORD)},
            .pins = {pinShows(3, 1, 'W'), pinShows(4, 2, 'W'), pinShows(5, 3, 'W')}};
}

// FIFO and LIFO: TABLE read and written at an index, DATA written.
constexpr InstructionRow take(const char* mnemonic) {
    return {.mnemonic = mnemonic,
            .label = mnemonic,
            .ladderKind = LK_BOX1,
            .operandCount = 2,
            .checks = {needsIndexed(1, CAP_READ_WORD), needsIndexed(1, CAP_WRITE_WORD), needs(2, CAP_WRITE_WORD)},
            .pins = {pinShows(3, 1, 'W'), pinShows(5, 2, 'W')}};
}

// ---- word tables ----

// Appends DATA unless the table is full or too long.
class ATT_Op final : public RowOperation {
public:
    // DATA read (tested first), TABLE read and written at an index.
    static constexpr InstructionRow row{
        .mnemonic = "ATT",
        .label = "AD_T_TBL",
        .ladderKind = LK_BOX2,
        .operandCount = 2,
        .checks = {needs(1, CAP_READ_WORD), needsIndexed(2, CAP_READ_WORD), needsIndexed(2, CAP_WRITE_WORD)},
        .pins = {pinShows(3, 1, 'W'), pinShows(4, 2, 'W')},
        .summary = "Appends DATA to the table",
    };

    explicit ATT_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        Parameter& table = *operand2_;
        const int data = operand1_->getWord();
        const int length = table.getWordAt(0);
        const int entries = table.getWordAt(1);
        if (length > MAX_TABLE_LENGTH || entries >= length) return;
        table.setWordAt(entries + 2, data);
        table.setWordAt(1, entries + 1);
    }
};

// The entry count of a table that FIFO and LIFO may take an entry from (it
// holds one and is sound), or 0 when they must leave it alone.
inline int takeableEntries(Parameter& table) {
    const int length = table.getWordAt(0);
    const int entries = table.getWordAt(1);
    return entries >= 1 && entries <= length && length <= MAX_TABLE_LENGTH ? entries : 0;
}

// Takes the oldest entry; the others move one place towards the start, and
// the last entry's old word stays behind.
class FIFO_Op final : public RowOperation {
public:
    static constexpr InstructionRow row = described(take("FIFO"), "Takes the oldest entry of the table");

    explicit FIFO_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        Parameter& table = *operand1_;
        const int entries = takeableEntries(table);
        if (entries == 0) return;
        operand2_->setWord(table.getWordAt(2));
        for (int i = 2; i < entries + 1; ++i) table.setWordAt(i, table.getWordAt(i + 1));
        table.setWordAt(1, entries - 1);
    }
};

// Takes the newest entry.
class LIFO_Op final : public RowOperation {
public:
    static constexpr InstructionRow row = described(take("LIFO"), "Takes the newest entry of the table");

    explicit LIFO_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        Parameter& table = *operand1_;
        const int entries = takeableEntries(table);
        if (entries == 0) return;
        const int newest = table.getWordAt(entries + 1);
        table.setWordAt(1, entries - 1);
        operand2_->setWord(newest);
    }
};

// ---- fill and block moves ----

// Writes the word IN into N consecutive words from OUT on.
class FILL_Op final : public RowOperation {
public:
    // IN (tested second), OUT at an index (tested first), count byte.
    static constexpr InstructionRow row{
        .mnemonic = "FILL",
        .label = "FILL_N",
        .ladderKind = LK_BOX2,
        .operandCount = 3,
        .checks = {needsIndexed(2, CAP_WRITE_WORD), needs(1, CAP_READ_WORD), needs(3, CAP_READ_BYTE)},
        .pins = {pinShows(3, 1, 'W'), pinShows(4, 3, 'B'), pinShows(5, 2, 'W')},
        .summary = "Writes IN into N words from OUT on",
    };

    explicit FILL_Op(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const int count = operand3_->getByte();
        const int value = operand1_->getWord();
        for (int i = 0; i < count; ++i) operand2_->setWordAt(i, value);
    }
};

// Copies N elements upward, each read just before it is written, so a move
// onto an overlapping higher block repeats the first elements.
struct BlockMoveRow {
    Name mnemonic;
    Name label;
    Width width;
};

inline constexpr BlockMoveRow BLOCK_MOVES[] = {
    {"BMB", "BLKMOV_B", Width::Byte},
    {"BMW", "BLKMOV_W", Width::Word},
    {"BMD", "BLKMOV_DW", Width::Dword},
};

template <BlockMoveRow B> class BlockMoveOp final : public RowOperation {
    static constexpr Width W = B.width;

public:
    static constexpr InstructionRow row =
        described(blockMove(B.mnemonic.c_str(), B.label.c_str(), W), "Copies N elements from IN on to OUT on");

    explicit BlockMoveOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU& cpu) override {
        if (!stackTop(cpu)) return;
        const int count = operand3_->getByte();
        for (int i = 0; i < count; ++i) WidthTraits<W>::setAt(*operand2_, i, WidthTraits<W>::getAt(*operand1_, i));
    }
};

// ---- searches ----

// Searches entries from INDEX on for the first that stands in the relation
// to PATTERN and writes its index, or EC (at most 100) when none does; a
// start index at or beyond EC is written back unchanged. Runs whatever the
// logic stack holds and leaves the stack alone.
enum class Match : std::uint8_t { Equal, NotEqual, Greater, Less };

struct FindRow {
    Name mnemonic;
    Name international;
    Name label;
    Match match;
};

inline constexpr FindRow FINDS[] = {
    {"FIND=", "FND=", "TBL_FIND=", Match::Equal},
    {"FIND<>", "FND<>", "TBL_FIND<>", Match::NotEqual},
    {"FIND>", "FND>", "TBL_FIND>", Match::Greater},
    {"FIND<", "FND<", "TBL_FIND<", Match::Less},
};

template <FindRow F> class FindOp final : public RowOperation {
public:
    static constexpr const char* summaries[] = {
        "Finds the first entry = PATTERN from INDEX on",
        "Finds the first entry <> PATTERN from INDEX on",
        "Finds the first entry > PATTERN from INDEX on",
        "Finds the first entry < PATTERN from INDEX on",
    };
    static constexpr InstructionRow row = described(find(F.mnemonic.c_str(), F.international.orNull(), F.label.c_str()),
                                                    summaries[static_cast<int>(F.match)]);

    explicit FindOp(Operands o) : RowOperation(row, std::move(o)) {}
    void execute(CPU&) override {
        Parameter& table = *operand1_;
        const int pattern = operand2_->getWord();
        const int entries = table.getWordAt(0);
        int index = operand3_->getWord();
        while (index < entries && index < MAX_TABLE_LENGTH) {
            if (matches(table.getWordAt(index + 1), pattern)) break;
            ++index;
        }
        operand3_->setWord(index);
    }

private:
    static bool matches(int entry, int pattern) {
        if constexpr (F.match == Match::Equal)
            return entry == pattern;
        else if constexpr (F.match == Match::NotEqual)
            return entry != pattern;
        else if constexpr (F.match == Match::Greater)
            return entry > pattern;
        else
            return entry < pattern;
    }
};

// The family's entries in the order of the table.
constexpr auto instructions() {
    return joinEntries(classEntries<ATT_Op, FIFO_Op, LIFO_Op, FILL_Op>(), familyEntries<BlockMoveOp, BLOCK_MOVES>(),
                       familyEntries<FindOp, FINDS>());
}

} // namespace sps::tables
