#include <array>
#include <memory>
#include <string>

#include "canvas/canvases.h"
#include "cli/command_handlers.h"
#include "cli/command_table.h"
#include "cli/runner_front_end.h"
#include "cli/script_session.h"
#include "cli/text_output.h"
#include "messages/cpu_exception.h"
#include "shell/status_contents.h"

namespace sps {

namespace {

// The unit of the status windows' font, in pixels.
constexpr std::uint32_t DEFAULT_UNIT_WIDTH = 8;
constexpr std::uint32_t DEFAULT_UNIT_HEIGHT = 15;
constexpr std::uint32_t MAX_UNIT = 1000;

// What a status window would show, drawn on `canvas`. The ladder view is laid
// out afresh, as when its window opens; a layout error is reported like there
// and nothing is drawn. The trace is the last one made, if its window would
// still be open.
void drawStatusContent(ScriptSession& session, const CommandCall& call, KOPDraw& canvas, bool power) {
    const StatusContent& shown = *STATUS_CONTENTS[call.choice(0, STATUS_CONTENT_NAMES)];
    std::unique_ptr<InfoDraw> content;
    try {
        content = shown.make({session.simulator, session.frontEnd.lastTrace(), power});
    } catch (const CPUException& error) {
        session.frontEnd.showError(error);
        return;
    }
    content->drawContent(canvas);
}

// Where the grid's size limits cut the content off, and why.
std::string cutOffNote(const CharGridCanvas& grid) {
    std::string where;
    if (grid.rowsCut()) where = std::to_string(CharGridCanvas::MAX_ROWS) + " rows";
    if (grid.columnsCut())
        where += (where.empty() ? "" : " and ") + std::to_string(CharGridCanvas::MAX_COLUMNS) + " columns";
    return "show: cut off after " + where + ", the most a character grid holds (draw lists everything)";
}

} // namespace

void showCommand(ScriptSession& session, const CommandCall& call) {
    // "show kop plain": the ladder without its power flow.
    static constexpr std::array<std::string_view, 1> PLAIN{"plain"};
    const bool plain = call.arguments.size() == 2 && call.choice(1, PLAIN) == 0;
    if (plain && call.arguments[0] != "kop") call.reject("plain is for kop only");
    CharGridCanvas grid;
    drawStatusContent(session, call, grid, !plain);
    session.output.coreText(grid.render());
    if (grid.rowsCut() || grid.columnsCut()) session.output.line(cutOffNote(grid));
}

void drawCommand(ScriptSession& session, const CommandCall& call) {
    if (call.arguments.size() == 2) call.reject("give both U and V, or neither");
    const bool sized = call.arguments.size() == 3;
    const std::uint32_t u = sized ? call.count(1, 1, MAX_UNIT, "U") : DEFAULT_UNIT_WIDTH;
    const std::uint32_t v = sized ? call.count(2, 1, MAX_UNIT, "V") : DEFAULT_UNIT_HEIGHT;
    RecordingCanvas recording(static_cast<int>(u), static_cast<int>(v));
    drawStatusContent(session, call, recording, false);
    for (const std::string& line : recording.listing()) session.output.coreLine(line);
}

} // namespace sps
