#include "gui/commands.h"

#include <QAction>
#include <QKeySequence>
#include <QList>

#include "base/sim_clock.h"
#include "gui/status_window_kinds.h"
#include "gui/status_windows.h"
#include "shell/simulator.h"

namespace sps {

namespace {

constexpr QKeyCombination NONE{};

bool always(const CommandState&) { return true; }
bool stopped(const CommandState& state) { return !state.running; }
bool running(const CommandState& state) { return state.running; }
bool slowerPossible(const CommandState& state) { return state.canSlower; }
bool fasterPossible(const CommandState& state) { return state.canFaster; }
bool manualClock(const CommandState& state) { return state.manualClock; }
bool automaticClock(const CommandState& state) { return !state.manualClock; }
bool backPossible(const CommandState& state) { return !state.running && state.canGoBack; }
bool cyclePossible(const CommandState& state) { return !state.running && state.canChooseCycle; }

// Lambdas rather than function templates: under -fsanitize=null GCC cannot
// compare a function template's address with null in a constant expression,
// which everyItemComplete does.
template <StatusWindow Window>
constexpr void (*open)(CommandTarget&) = [](CommandTarget& target) { target.statusWindows().open(Window); };
template <std::uint32_t Ms> constexpr void (*advance)(CommandTarget&) = [](CommandTarget&) { simClock().advance(Ms); };
void load(CommandTarget& target) { target.chooseAndLoad(); }
void import(CommandTarget& target) { target.chooseAndImport(); }
void reloadProgram(CommandTarget& target) { target.reloadProgram(); }
void newProgram(CommandTarget& target) { target.newProgram(); }
void exit(CommandTarget& target) { target.exit(); }
void slower(CommandTarget&) { simClock().slower(); }
void faster(CommandTarget&) { simClock().faster(); }
void automatic(CommandTarget&) { simClock().switchToAutomatic(); }
void manual(CommandTarget&) { simClock().switchToManual(); }
void continueRun(CommandTarget& target) { target.simulator().continueRun(); }
void stop(CommandTarget& target) { target.simulator().stop(); }
void singleStep(CommandTarget& target) { target.simulator().singleStep(); }
void networkStep(CommandTarget& target) { target.simulator().networkStep(); }
void stepBack(CommandTarget& target) { target.simulator().stepBack(); }
void goToCycle(CommandTarget& target) { target.chooseAndGoToCycle(); }
void reset(CommandTarget& target) { target.simulator().reset(); }
void trace(CommandTarget& target) { target.simulator().trace(); }

constexpr QKeyCombination KEYPAD_MINUS = Qt::KeypadModifier | Qt::Key_Minus;
constexpr QKeyCombination KEYPAD_PLUS = Qt::KeypadModifier | Qt::Key_Plus;
constexpr QKeyCombination SHIFT_SPACE = Qt::ShiftModifier | Qt::Key_Space;
constexpr QKeyCombination CTRL_SPACE = Qt::ControlModifier | Qt::Key_Space;
// F1 to F12 are taken.
constexpr QKeyCombination CTRL_R = Qt::ControlModifier | Qt::Key_R;
constexpr QKeyCombination CTRL_E = Qt::ControlModifier | Qt::Key_E;

constexpr MenuItem MENU[] = {
    {Popup::File, Command::Load, "&Laden", false, {Qt::Key_F3, NONE}, always, load},
    {Popup::File, Command::Import, "&Importieren…", false, {NONE, NONE}, always, import},
    {Popup::File, Command::Reload, "Ne&u laden", false, {CTRL_R, NONE}, always, reloadProgram},
    {Popup::File, Command::New, "&Neu", false, {NONE, NONE}, always, newProgram},
    {Popup::File, Command::Ladder, "&Debugansicht", true, {Qt::Key_F2, NONE}, always, open<StatusWindow::Ladder>},
    {Popup::File, Command::AsiStatus, "&ASI-Status", false, {Qt::Key_F1, NONE}, always, open<StatusWindow::Asi>},
    {Popup::File, Command::CpuStatus, "&CPU-Status", false, {Qt::Key_F4, NONE}, always, open<StatusWindow::Cpu>},
    {Popup::File, Command::Watch, "B&eobachten", false, {Qt::Key_F11, NONE}, always, open<StatusWindow::Watch>},
    {Popup::File, Command::Trend, "&Verlauf", false, {NONE, NONE}, always, open<StatusWindow::Trend>},
    {Popup::File, Command::Faults, "&Störungen", false, {NONE, NONE}, always, open<StatusWindow::Faults>},
    {Popup::File, Command::Editor, "&Programm", false, {CTRL_E, NONE}, always, open<StatusWindow::Editor>},
    {Popup::File, Command::Exit, "&Beenden", true, {NONE, NONE}, always, exit},
    {Popup::Timer, Command::Slower, "&Langsamer", false, {Qt::Key_Minus, KEYPAD_MINUS}, slowerPossible, slower},
    {Popup::Timer, Command::Faster, "&Schneller", false, {Qt::Key_Plus, KEYPAD_PLUS}, fasterPossible, faster},
    {Popup::Timer, Command::Automatic, "&Automatisch", false, {NONE, NONE}, manualClock, automatic},
    {Popup::Timer, Command::Manual, "&Manuell", true, {NONE, NONE}, automaticClock, manual},
    {Popup::Timer, Command::Step1, "&1ms", false, {Qt::Key_F6, NONE}, manualClock, advance<1>},
    {Popup::Timer, Command::Step10, "&10 ms", false, {Qt::Key_F7, NONE}, manualClock, advance<10>},
    {Popup::Timer, Command::Step100, "&100 ms", false, {Qt::Key_F8, NONE}, manualClock, advance<100>},
    {Popup::Timer, Command::Step1000, "&1000 ms", false, {Qt::Key_F9, NONE}, manualClock, advance<1000>},
    {Popup::Run, Command::Continue, "&Continue", false, {Qt::Key_F5, NONE}, stopped, continueRun},
    {Popup::Run, Command::Stop, "&Stop", false, {Qt::Key_F10, NONE}, running, stop},
    {Popup::Run, Command::SingleStep, "&Einzelschritt", false, {Qt::Key_Space, NONE}, stopped, singleStep},
    {Popup::Run, Command::NetworkStep, "&Netzwerkschritt", false, {SHIFT_SPACE, NONE}, stopped, networkStep},
    {Popup::Run, Command::StepBack, "Schritt &zurück", false, {CTRL_SPACE, NONE}, backPossible, stepBack},
    {Popup::Run, Command::GoToCycle, "Zurück z&u …", false, {NONE, NONE}, cyclePossible, goToCycle},
    {Popup::Run, Command::Reset, "&Reset", true, {Qt::Key_F12, NONE}, always, reset},
    {Popup::Run, Command::Trace, "&Trace", true, {Qt::Key_Backspace, NONE}, always, trace},
};

const MenuItem* itemOf(Command command) {
    for (const MenuItem& item : MENU)
        if (item.command == command) return &item;
    return nullptr;
}

// Each command has one item: the main window finds its action by the command.
constexpr bool commandsDistinct() {
    for (std::size_t i = 0; i < std::size(MENU); ++i)
        for (std::size_t j = i + 1; j < std::size(MENU); ++j)
            if (MENU[i].command == MENU[j].command) return false;
    return true;
}
static_assert(commandsDistinct());

constexpr bool everyItemComplete() {
    for (const MenuItem& item : MENU)
        if (item.offered == nullptr || item.run == nullptr) return false;
    return true;
}
static_assert(everyItemComplete());

} // namespace

std::span<const MenuItem> menuItems() { return MENU; }

const char* popupTitle(Popup popup) {
    switch (popup) {
    case Popup::File: return "&Datei";
    case Popup::Timer: return "&Timer";
    case Popup::Run: return "&Run";
    }
    return "";
}

QAction* makeAction(const MenuItem& item, QObject* parent) {
    auto* action = new QAction(QString::fromUtf8(item.text), parent);
    QList<QKeySequence> keys;
    for (const QKeyCombination key : item.keys)
        if (key.key() != Qt::Key_unknown) keys.append(QKeySequence(key));
    action->setShortcuts(keys);
    return action;
}

bool commandEnabled(Command command, const CommandState& state) {
    if (const StatusWindowKind* kind = statusWindowOpenedBy(command); kind != nullptr && kind->greyedWhileOpen)
        return !state.openWindows.contains(kind->window);
    const MenuItem* item = itemOf(command);
    return item != nullptr && item->offered(state);
}

void runMenuCommand(Command command, CommandTarget& target) {
    if (const MenuItem* item = itemOf(command)) item->run(target);
}

} // namespace sps
