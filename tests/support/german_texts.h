#pragma once

// The German texts that users see for the errors of loading and running
// instructions, spelled out so that tests compare against what the user
// reads rather than against the catalog lookup they exercise.

#include "messages/latin1.h"

namespace sps {

namespace german {

inline const char* const OPERAND_EXPECTED = L1("Es wird ein Parameter erwartet");
inline const char* const SECOND_OPERAND_EXPECTED = L1("Es wird ein zweiter Parameter erwartet");
inline const char* const NO_OPERAND_EXPECTED = L1("Es wurde kein Parameter erwartet, es war aber einer angegeben.");

inline const char* const CANT_READ_BIT = L1("Der angegebene Parameter kann nicht als Bit ausgelesen werden.");
inline const char* const CANT_READ_BYTE = L1("Der angegebene Parameter kann nicht als Byte gelesen werden");
inline const char* const CANT_READ_WORD = L1("Der angegebene Parameter kann nicht als Word gelesen werden.");
inline const char* const CANT_READ_DWORD = L1("Der angegebene Parameter kann nicht als DWord gelesen werden.");
inline const char* const CANT_WRITE_BIT = L1("Kann den angegebenen Parameter nicht als Bit schreiben");

inline const char* const ONLY_E = L1("Die Operation unterstützt nur E als Parametertyp.");
inline const char* const ONLY_A_POSSIBLE = L1("Es ist nur A als Parametertyp möglich");
inline const char* const TYPE_NOT_POSSIBLE =
    L1("Der angegebene Parametertyp wird von dieser Operation nicht unterstützt.");

inline const char* const UNKNOWN_OPERATION =
    L1("Die angegebene Operation gibt es nicht oder sie ist nicht implementiert");
inline const char* const UNKNOWN_PARAMETER_TYPE = L1("Der angegeben Parameter ist dem Simulator unbekannt.");

inline const char* const OUT_OF_FIELD_READ = L1("Es wurde beim Lesen der zulässige Bereich überschritten");
inline const char* const POINTER_OUT_OF_RANGE = L1("Der angegebene Pointer zeigt in einen ungültigen Bereichen");
inline const char* const INVALID_RESET = L1("Es wird nur 1 als Anzahl bei Zählen und Timern unterstützt");

} // namespace german

} // namespace sps
