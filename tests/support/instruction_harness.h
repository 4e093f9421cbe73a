#pragma once

// Builds instructions and small programs the way loading does (factory, then
// operand checks) without going through a program file.

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cpu/cpu.h"
#include "cpu/operation.h"
#include "cpu/program.h"
#include "messages/cpu_exception.h"
#include "ops/instruction_table.h"

namespace sps {

namespace harness {

// Splits "LDB= VB0, 5" into mnemonic and operand texts (blanks or commas).
inline std::vector<std::string> splitLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == ',') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// The instruction of one source line, created and checked as loading does.
inline std::unique_ptr<Operation> makeInstruction(CPU& cpu, const std::string& line) {
    const std::vector<std::string> words = splitLine(line);
    const auto text = [&](std::size_t i) { return i < words.size() ? words[i].c_str() : nullptr; };
    auto op = createOperation(cpu, text(0), text(1), text(2), text(3));
    op->checkOperands();
    return op;
}

// The German error text of creating and checking one line, or "" when it loads.
inline std::string loadError(CPU& cpu, const std::string& line) {
    try {
        makeInstruction(cpu, line);
    } catch (const CPUException& error) {
        return error.messageText();
    }
    return "";
}

struct BlockSource {
    BlockKind kind = BLOCK_ORGANIZATION;
    std::string name = "OB1";
    // Each network is its instruction lines.
    std::vector<std::vector<std::string>> networks;
};

// A program built from the given blocks; networks are numbered from 1.
inline std::shared_ptr<Program> buildProgram(CPU& cpu, const std::vector<BlockSource>& blocks) {
    auto program = std::make_shared<Program>();
    for (const BlockSource& source : blocks) {
        Block block;
        block.kind = source.kind;
        block.name = source.name;
        int number = 1;
        for (const auto& lines : source.networks) {
            Network network;
            network.number = number++;
            for (const std::string& line : lines) network.ops.push_back(makeInstruction(cpu, line));
            block.networks.push_back(std::move(network));
        }
        program->push_back(std::move(block));
    }
    return program;
}

// Installs that program in the CPU in place of the previous one.
inline void installProgram(CPU& cpu, const std::vector<BlockSource>& blocks) {
    cpu.program = buildProgram(cpu, blocks);
}

} // namespace harness

} // namespace sps
