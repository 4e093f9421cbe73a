#include "loader/program_check.h"

#include "cpu/cpu.h"
#include "loader/importer.h"
#include "loader/parser.h"
#include "loader/reader.h"

namespace sps {

std::optional<CPUException> checkProgramFile(const std::string& path, const ProgramReading& reading) {
    try {
        CPU scratch;
        if (reading.import) {
            importFile(scratch, path, reading.symbolsPath);
        } else {
            FRead reader(path);
            Parser().parseProgram(scratch, reader);
        }
        return std::nullopt;
    } catch (const CPUException& error) {
        return error;
    }
}

} // namespace sps
