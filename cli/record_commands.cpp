#include <array>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_handlers.h"
#include "cli/command_table.h"
#include "cli/operand_arguments.h"
#include "cli/runner_front_end.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "shell/recorder.h"
#include "shell/recording_export.h"
#include "shell/simulator.h"

namespace sps {

namespace {

// An operand of `record` with the format word that followed it, if any.
struct RecordedOperand {
    std::unique_ptr<Parameter> operand;
    std::optional<SignalType> type;
};

// The formats of `print`: /I bit, /B byte, /W word, /D double word, /R real.
SignalType formatType(const CommandCall& call, const std::string& word) {
    constexpr std::string_view letters = "IBWDR";
    constexpr std::array types{SignalType::Bit, SignalType::Byte, SignalType::Word, SignalType::DoubleWord,
                               SignalType::Real};
    const std::size_t at = word.size() == 2 ? letters.find(word[1]) : std::string_view::npos;
    if (at == std::string_view::npos) call.reject("unknown format '" + word + "'");
    return types[at];
}

// Every operand parses, each followed by at most one format, before anything
// is recorded.
std::vector<RecordedOperand> recordedOperands(ScriptSession& session, const CommandCall& call) {
    std::vector<RecordedOperand> operands;
    for (const std::string& word : call.arguments) {
        if (word.front() == '/') {
            const SignalType type = formatType(call, word);
            if (operands.empty() || operands.back().type)
                call.reject("a format follows the operand it is for, as in 'VD100 /R'");
            operands.back().type = type;
            continue;
        }
        try {
            operands.push_back({parseOperand(session.simulator.cpu(), word), std::nullopt});
        } catch (const CPUException& error) {
            std::string text = error.messageText();
            while (!text.empty() && text.back() == '\n') text.pop_back();
            throw ScriptError("record: " + word + ": " + latin1ToUtf8(text));
        }
    }
    return operands;
}

} // namespace

void recordCommand(ScriptSession& session, const CommandCall& call) {
    Recorder& recorder = session.simulator.recorder();
    const std::string& first = call.arguments[0];
    if (first == "stop" || first == "clear") {
        if (call.arguments.size() > 1) call.reject("nothing may follow '" + first + "'");
        if (first == "stop")
            recorder.stop();
        else
            recorder.clear();
        return;
    }
    for (RecordedOperand& recorded : recordedOperands(session, call)) {
        try {
            recorder.record(std::move(recorded.operand), recorded.type);
        } catch (const CPUException& error) {
            session.frontEnd.showError(error);
        }
    }
}

void exportCommand(ScriptSession& session, const CommandCall& call) {
    static constexpr std::array<std::string_view, 2> formats{"vcd", "csv"};
    const auto format = call.choice(0, formats) == 0 ? ExportFormat::Vcd : ExportFormat::Csv;
    const Recorder& recorder = session.simulator.recorder();
    const std::string& path = call.arguments[1];
    if (path == "-") {
        std::ostringstream text;
        if (format == ExportFormat::Vcd)
            writeVcd(text, recorder);
        else
            writeCsv(text, recorder);
        session.output.coreText(text.str());
        return;
    }
    try {
        exportRecording(recorder, format, path);
    } catch (const CPUException& error) {
        // A file the script meant to keep: its loss fails the run.
        throw ScriptError("export: " + messageLine(error), "unwritable file");
    }
}

} // namespace sps
