#include "cli/runner_front_end.h"

#include <string>

#include "cli/text_output.h"
#include "messages/cpu_exception.h"
#include "shell/stepped_scan.h"

namespace sps {

// A text that ends in a line feed leaves an empty line, as in the error box.
void RunnerFrontEnd::showError(const CPUException& error) {
    lastError_ = error.messageText();
    output_.coreLine("Fehler: " + lastError_);
}

void RunnerFrontEnd::networkReached(const NetworkPlace& next, const NetworkPlace& last, bool step, int breakpoint,
                                    std::uint64_t cycle) {
    const NetworkPlace& shown = step ? last : next;
    const std::string where =
        shown.block->label + " Netzwerk " + std::to_string(shown.block->networks[shown.network].number);
    const std::string head = step ? std::string("Netzwerkschritt") : "Haltepunkt " + std::to_string(breakpoint);
    output_.coreLine(head + ": " + where + " (Zyklus " + std::to_string(cycle) + ")");
}

void RunnerFrontEnd::programStopped(std::uint64_t cycle) {
    output_.line("Angehalten durch STOP (Zyklus " + std::to_string(cycle) + ")");
}

void RunnerFrontEnd::showNotice(const std::string& text) { output_.coreLine("Hinweis: " + text); }

void RunnerFrontEnd::breakpointReached(int number, const std::string& condition, std::uint64_t cycle) {
    output_.coreLine("Haltepunkt " + std::to_string(number) + ": " + condition + " (Zyklus " + std::to_string(cycle) +
                     ")");
}

} // namespace sps
