#pragma once

// Loads programs from text the way the shell loads them from a file.

#include <string>

#include "cpu/cpu.h"
#include "loader/parser.h"
#include "loader/reader.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace programtext {

inline void load(CPU& cpu, const std::string& source) {
    StringRead reader(source);
    Parser().parseProgram(cpu, reader);
}

// The German error text of loading `source`, or "" when it loads.
inline std::string loadError(CPU& cpu, const std::string& source) {
    try {
        load(cpu, source);
    } catch (const CPUException& error) {
        return error.messageText();
    }
    return "";
}

// The text of a parse error on `line` with the given detail.
inline std::string parseError(int line, const std::string& detail) {
    return "Fehler beim einlesen nahe Zeile " + std::to_string(line) + ": " + detail;
}

// The text of the scanner's error for one character on `line`.
inline std::string unexpectedText(int line, const std::string& character) {
    return "Es ist ein nicht erwartetes Zeichen in der Eingabedatei in Zaile " + std::to_string(line) +
           " aufgetreten: " + character;
}

} // namespace programtext

} // namespace sps
