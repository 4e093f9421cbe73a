// The ladder window's power flow: drawn in the power colour after a scan,
// switched off and on in its context menu, recorded only while it is open.
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTest>

#include "cpu/cpu.h"
#include "gui/info_wnd.h"
#include "gui/ladder_window.h"
#include "gui/painter_canvas.h"
#include "gui_fixtures.h"
#include "shell/simulator.h"
#include "support/program_text.h"
#include "support/silent_front_end.h"

using namespace sps;

class LadderWindowTest : public QObject {
    Q_OBJECT
private slots:
    void powerFlowIsDrawnAndSwitchedInTheContextMenu();
};

namespace {

int powerPixels(QWidget& window) {
    const QImage picture = window.grab().toImage();
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) == POWER_COLOUR) ++count;
    return count;
}

} // namespace

void LadderWindowTest::powerFlowIsDrawnAndSwitchedInTheContextMenu() {
    SilentFrontEnd frontEnd;
    Simulator simulator(frontEnd);
    programtext::load(simulator.cpu(), "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\nNETWORK 1\nLD SM0.0\n= M1.0\n"
                                       "END_ORGANIZATION_BLOCK\n");
    QVERIFY(!simulator.cpu().recordPower);
    {
        auto window = makeLadderWindow(simulator);
        QVERIFY(simulator.cpu().recordPower);
        simulator.runSteps(1);
        window->resize(500, 300);
        const int powered = powerPixels(*window);
        QVERIFY2(powered > 100, qPrintable(QString::number(powered)));

        auto* frame = dynamic_cast<InfoWnd*>(window.get());
        QVERIFY(frame != nullptr);
        QAction* shown = frame->contextMenu()->actions().value(0);
        QVERIFY(shown != nullptr && shown->text() == QStringLiteral("&Stromfluss") && shown->isChecked());
        shown->trigger();
        QVERIFY(!simulator.cpu().recordPower);
        QCOMPARE(powerPixels(*window), 0);
        shown->trigger();
        QVERIFY(simulator.cpu().recordPower);
    }
    QVERIFY2(!simulator.cpu().recordPower, "closing the window ends the recording");
}

int runLadderWindowTests(int argc, char** argv) {
    LadderWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_ladder_window.moc"
