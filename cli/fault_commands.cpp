#include <string>
#include <vector>

#include "cli/command_handlers.h"
#include "cli/command_table.h"
#include "cli/runner_front_end.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "messages/cpu_exception.h"
#include "messages/latin1.h"
#include "shell/simulator.h"
#include "station/fault_words.h"
#include "station/target.h"

namespace sps {

namespace {

std::vector<std::string> latin1Words(const std::vector<std::string>& arguments, std::size_t from) {
    std::vector<std::string> words;
    for (std::size_t i = from; i < arguments.size(); ++i) words.push_back(utf8ToLatin1(arguments[i]));
    return words;
}

// fault clear [INPUT|all]: without INPUT, all of them.
void clearFaults(Target& target, const std::vector<std::string>& words) {
    if (words.empty() || words[0] == "all") return target.clearFaults();
    std::vector<int> rows;
    if (words[0] == "slave" || words[0] == "Slave") {
        for (const Fault& fault :
             faultsFromWords(std::vector<std::string>{words[0], words.size() > 1 ? words[1] : "", "ausgefallen"}))
            rows.push_back(fault.input);
    } else {
        rows = faultInputsNamed(words[0]);
        if (rows.empty())
            throw CPUException(
                formatMessage("Unknown fault input %s, valid: %s", words[0].c_str(), faultInputNames().c_str()));
    }
    for (int row : rows) target.clearFault(row);
}

} // namespace

void faultCommand(ScriptSession& session, const CommandCall& call) {
    Target& target = session.simulator.target();
    try {
        if (call.arguments[0] == "clear") return clearFaults(target, latin1Words(call.arguments, 1));
        for (const Fault& fault : faultsFromWords(latin1Words(call.arguments, 0))) target.setFault(fault);
    } catch (const CPUException& error) {
        session.frontEnd.showError(error);
    }
}

void faultsCommand(ScriptSession& session, const CommandCall&) {
    const std::vector<Fault>& faults = session.simulator.target().faults().faults();
    if (faults.empty()) session.output.coreLine(L1("keine Störungen"));
    for (const Fault& fault : faults) session.output.coreLine(faultText(fault));
}

} // namespace sps
