#include "cli/runner_front_end.h"

#include <string>

#include "cli/text_output.h"
#include "messages/cpu_exception.h"

namespace sps {

// A text that ends in a line feed leaves an empty line, as in the error box.
void RunnerFrontEnd::showError(const CPUException& error) { output_.coreLine("Fehler: " + error.messageText()); }

void RunnerFrontEnd::programStopped(std::uint64_t cycle) {
    output_.line("Angehalten durch STOP (Zyklus " + std::to_string(cycle) + ")");
}

void RunnerFrontEnd::showNotice(const std::string& text) { output_.coreLine("Hinweis: " + text); }

void RunnerFrontEnd::breakpointReached(int number, const std::string& condition, std::uint64_t cycle) {
    output_.coreLine("Haltepunkt " + std::to_string(number) + ": " + condition + " (Zyklus " + std::to_string(cycle) +
                     ")");
}

} // namespace sps
