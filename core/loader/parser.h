#pragma once

namespace sps {

class CPU;
class Reader;

// Reads a program file into blocks, networks and instructions.
class Parser {
public:
    // Parses the whole input and, only when all of it parsed, installs the new
    // program in the CPU in place of the previous one. Every error throws
    // CPUException and leaves the CPU's program as it was.
    void parseProgram(CPU& cpu, Reader& reader);
};

} // namespace sps
