#include "gui/commands.h"

#include <QAction>
#include <QKeySequence>
#include <QList>

#include "gui/status_window_kinds.h"

namespace sps {

namespace {

constexpr QKeyCombination NONE{};

constexpr MenuItem MENU[] = {
    {Popup::File, Command::Load, "&Laden", false, {Qt::Key_F3, NONE}},
    {Popup::File, Command::Ladder, "&Debugansicht", true, {Qt::Key_F2, NONE}},
    {Popup::File, Command::AsiStatus, "&ASI-Status", false, {Qt::Key_F1, NONE}},
    {Popup::File, Command::CpuStatus, "&CPU-Status", false, {Qt::Key_F4, NONE}},
    {Popup::File, Command::Watch, "B&eobachten", false, {Qt::Key_F11, NONE}},
    {Popup::File, Command::Trend, "&Verlauf", false, {NONE, NONE}},
    {Popup::File, Command::Exit, "&Beenden", true, {NONE, NONE}},
    {Popup::Timer, Command::Slower, "&Langsamer", false, {Qt::Key_Minus, Qt::KeypadModifier | Qt::Key_Minus}},
    {Popup::Timer, Command::Faster, "&Schneller", false, {Qt::Key_Plus, Qt::KeypadModifier | Qt::Key_Plus}},
    {Popup::Timer, Command::Automatic, "&Automatisch", false, {NONE, NONE}},
    {Popup::Timer, Command::Manual, "&Manuell", true, {NONE, NONE}},
    {Popup::Timer, Command::Step1, "&1ms", false, {Qt::Key_F6, NONE}},
    {Popup::Timer, Command::Step10, "&10 ms", false, {Qt::Key_F7, NONE}},
    {Popup::Timer, Command::Step100, "&100 ms", false, {Qt::Key_F8, NONE}},
    {Popup::Timer, Command::Step1000, "&1000 ms", false, {Qt::Key_F9, NONE}},
    {Popup::Run, Command::Continue, "&Continue", false, {Qt::Key_F5, NONE}},
    {Popup::Run, Command::Stop, "&Stop", false, {Qt::Key_F10, NONE}},
    {Popup::Run, Command::SingleStep, "&Einzelschritt", false, {Qt::Key_Space, NONE}},
    {Popup::Run, Command::Reset, "&Reset", true, {Qt::Key_F12, NONE}},
    {Popup::Run, Command::Trace, "&Trace", true, {Qt::Key_Backspace, NONE}},
};

// Each command has one item: the main window finds its action by the command.
constexpr bool commandsDistinct() {
    for (std::size_t i = 0; i < std::size(MENU); ++i)
        for (std::size_t j = i + 1; j < std::size(MENU); ++j)
            if (MENU[i].command == MENU[j].command) return false;
    return true;
}
static_assert(commandsDistinct());

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
    switch (command) {
    case Command::Slower: return state.canSlower;
    case Command::Faster: return state.canFaster;
    case Command::Continue:
    case Command::SingleStep: return !state.running;
    case Command::Stop: return state.running;
    case Command::Automatic:
    case Command::Step1:
    case Command::Step10:
    case Command::Step100:
    case Command::Step1000: return state.manualClock;
    case Command::Manual: return !state.manualClock;
    case Command::Ladder: // greyed by the table of status windows above
    case Command::AsiStatus:
    case Command::CpuStatus:
    case Command::Watch:
    case Command::Trend:
    case Command::Load:
    case Command::Exit:
    case Command::Reset:
    case Command::Trace: return true;
    }
    return true;
}

} // namespace sps
