// Runs every GUI test class on one QApplication (the offscreen platform
// under CTest), set up as the desktop program sets up its own. Settings go
// to a throw-away test location.

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

#include "gui/start_up.h"

int runCommandLineTests(int argc, char** argv);
int runStationDrawingTests(int argc, char** argv);
int runMainWindowTests(int argc, char** argv);
int runInfoWndTests(int argc, char** argv);
int runStatusWindowsTests(int argc, char** argv);
int runWatchWindowTests(int argc, char** argv);
int runTrendWindowTests(int argc, char** argv);
int runFileDialogsTests(int argc, char** argv);
int runFramePacerTests(int argc, char** argv);
int runLadderWindowTests(int argc, char** argv);
int runFaultWindowTests(int argc, char** argv);
int runProgramWindowTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    sps::setUpApplication(app);
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("spssim-tests"));
    int failures = 0;
    for (const auto run :
         {runCommandLineTests, runStationDrawingTests, runMainWindowTests, runInfoWndTests, runStatusWindowsTests,
          runWatchWindowTests, runTrendWindowTests, runFileDialogsTests, runFramePacerTests, runLadderWindowTests,
          runFaultWindowTests, runProgramWindowTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
