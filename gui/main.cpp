// spssim: the simulator's desktop window.

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <span>
#include <string>

#include <QApplication>
#include <QFile>
#include <QPixmap>

#include "base/sim_clock.h"
#include "cpu/cpu.h"
#include "gui/command_line.h"
#include "gui/dialogs.h"
#include "gui/main_window.h"
#include "gui/start_up.h"
#include "gui/status_window_kinds.h"
#include "gui/status_window_set.h"
#include "shell/simulator.h"

namespace {

bool haveDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    std::string problem;
    const auto line = sps::parseGuiCommandLine(
        std::span<const char* const>(argv, static_cast<std::size_t>(argc)).subspan(argc > 0 ? 1 : 0), problem);
    if (!line) {
        std::cerr << "spssim: " << problem << " (see spssim --help)\n";
        return 2;
    }
    if (line->help) {
        std::cout << sps::guiHelpText();
        return 0;
    }
    if (line->version) {
        std::cout << sps::guiVersionText();
        return 0;
    }
    const bool screenshot = !line->screenshot.empty();
    if (screenshot && !haveDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    if (!sps::setUpApplication(app))
        std::cerr << "spssim: Qt's German texts are missing (qtbase_de.qm of qt6-translations-l10n); "
                     "its dialogs speak English\n";
    if (line->manualClock || line->runMs > 0) sps::simClock().switchToManual();

    auto consoleDialogs = screenshot ? std::make_unique<sps::ConsoleDialogs>() : nullptr;
    const sps::ConsoleDialogs* console = consoleDialogs.get();
    sps::MainWindow window(std::move(consoleDialogs));
    QObject::connect(&window, &sps::MainWindow::closed, &app, &QCoreApplication::quit);
    if (screenshot)
        window.setStatusWindows(
            std::make_unique<sps::StatusWindowSet>(window, sps::StatusWindowSet::Visibility::OffScreen));
    else
        window.show();

    for (const sps::RecordedOperandText& operand : line->record) window.recordOperand(operand.operand, operand.type);
    if (!line->program.empty()) {
        const QString program = QFile::decodeName(line->program.c_str());
        if (line->importProgram)
            window.importProgram(program);
        else
            window.loadProgram(program);
    }
    // A ladder window opened after the steps shows their power flow.
    if (std::ranges::find(line->open, sps::StatusWindow::Ladder) != line->open.end())
        window.simulator().cpu().recordPower = true;
    if (line->steps > 0) window.runSteps(line->steps);
    if (line->runMs > 0) window.runTime(line->runMs);
    for (const sps::StatusWindow kind : line->open) window.runCommand(sps::statusWindowKind(kind).command);
    if (line->networkSteps > 0) window.runCommand(sps::Command::Stop);
    for (int step = 0; step < line->networkSteps; ++step) window.runCommand(sps::Command::NetworkStep);
    if (line->backSteps > 0) window.runCommand(sps::Command::Stop);
    for (int step = 0; step < line->backSteps; ++step) window.runCommand(sps::Command::StepBack);

    if (screenshot) {
        const auto save = [](QWidget& shown, const std::string& file) {
            shown.ensurePolished();
            if (shown.grab().save(QFile::decodeName(file.c_str()), "PNG")) return true;
            std::cerr << "spssim: cannot write the screenshot " << file << "\n";
            return false;
        };
        window.adjustSize();
        if (!save(window, line->screenshot)) return 1;
        for (const sps::StatusWindowKind& kind : sps::statusWindowKinds())
            if (QWidget* status = window.statusWindows().openWindow(kind.window))
                if (!save(*status, sps::statusScreenshotPath(line->screenshot, kind.window))) return 1;
        return console->errorCount() > 0 ? 1 : 0;
    }
    return QApplication::exec();
}
