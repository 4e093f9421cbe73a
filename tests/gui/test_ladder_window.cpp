// The ladder window's power flow: drawn in the power colour after a scan,
// switched off and on in its context menu, recorded only while it is open.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <vector>

#include "cpu/cpu.h"
#include "cpu/program.h"
#include "gui/info_wnd.h"
#include "gui/ladder_signals.h"
#include "gui/ladder_window.h"
#include "gui/painter_canvas.h"
#include "gui/trace_window.h"
#include "gui_fixtures.h"
#include "shell/simulator.h"
#include "shell/trace_info.h"
#include "support/program_text.h"
#include "support/silent_front_end.h"

using namespace sps;

class LadderWindowTest : public QObject {
    Q_OBJECT
private slots:
    void powerFlowIsDrawnAndSwitchedInTheContextMenu();
    void aClickOnAHeaderTogglesTheNetworksBreakpoint();
    void theTraceTableMarksTheRowsOfTheNetworkUnderTheMouse();
};

namespace {

int pixelsOf(QWidget& window, const QColor& colour) {
    const QImage picture = window.grab().toImage();
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) == colour) ++count;
    return count;
}

int powerPixels(QWidget& window) { return pixelsOf(window, POWER_COLOUR); }

const char* const TWO_NETWORKS = "ORGANIZATION_BLOCK MAIN:OB1\nBEGIN\nNETWORK 1\nLD SM0.0\n= M1.0\n"
                                 "NETWORK 2\nLD SM0.0\n= M1.1\nEND_ORGANIZATION_BLOCK\n";

} // namespace

void LadderWindowTest::powerFlowIsDrawnAndSwitchedInTheContextMenu() {
    SilentFrontEnd frontEnd;
    Simulator simulator(frontEnd);
    programtext::load(simulator.cpu(), "ORGANIZATION_BLOCK MAIN:OB1\nBEGIN\nNETWORK 1\nLD SM0.0\n= M1.0\n"
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

void LadderWindowTest::aClickOnAHeaderTogglesTheNetworksBreakpoint() {
    SilentFrontEnd frontEnd;
    Simulator simulator(frontEnd);
    programtext::load(simulator.cpu(), TWO_NETWORKS);
    auto window = makeLadderWindow(simulator);
    window->resize(500, 400);
    auto* frame = dynamic_cast<InfoWnd*>(window.get());
    QVERIFY(frame != nullptr);
    std::vector<const Network*> hovered;
    QObject::connect(&LadderSignals::instance(), &LadderSignals::networkHovered, window.get(),
                     [&hovered](const Block*, const Network* network) { hovered.push_back(network); });
    // The first header line: one unit below the top.
    const QPoint header(40, frame->unit().height() + frame->unit().height() / 2);
    QMouseEvent move(QEvent::MouseMove, header, frame->viewport()->mapToGlobal(header), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(frame->viewport(), &move);
    QCOMPARE(hovered.size(), std::size_t{1});
    QVERIFY(hovered.back() == &simulator.cpu().program->at(0).networks.at(0));
    QCOMPARE(pixelsOf(*window, BREAKPOINT_COLOUR), 0);
    QTest::mouseClick(frame->viewport(), Qt::LeftButton, Qt::NoModifier, header);
    QCOMPARE(simulator.breakpoints().networks().size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(simulator.breakpoints().networks().front().text()), QStringLiteral("OB1 Netzwerk 1"));
    QVERIFY(pixelsOf(*window, BREAKPOINT_COLOUR) > 20);
    QTest::mouseClick(frame->viewport(), Qt::LeftButton, Qt::NoModifier, header);
    QVERIFY(simulator.breakpoints().networks().empty());
    // Below the header, in the rung itself, a click sets nothing.
    QTest::mouseClick(frame->viewport(), Qt::LeftButton, Qt::NoModifier,
                      header + QPoint(0, 4 * frame->unit().height()));
    QVERIFY(simulator.breakpoints().networks().empty());
}

void LadderWindowTest::theTraceTableMarksTheRowsOfTheNetworkUnderTheMouse() {
    SilentFrontEnd frontEnd;
    Simulator simulator(frontEnd);
    programtext::load(simulator.cpu(), TWO_NETWORKS);
    std::vector<TraceRow> rows;
    std::vector<std::string> lines = traceScan(simulator.cpu(), rows);
    TraceWindow window(std::make_unique<TraceInfo>(std::move(lines), std::move(rows)));
    QCOMPARE(window.count(), 2);
    QCOMPARE(window.tabText(1), QStringLiteral("T&abelle"));
    TraceTableModel& model = window.model();
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Netzwerk"));
    QCOMPARE(model.data(model.index(2, 0), Qt::DisplayRole).toString(), QStringLiteral("OB1 2"));
    QCOMPARE(model.data(model.index(3, 1), Qt::DisplayRole).toString(), QStringLiteral("= M1.1"));
    const auto marked = [&model](int row) { return model.data(model.index(row, 1), Qt::BackgroundRole).isValid(); };
    const Block& block = simulator.cpu().program->front();
    emit LadderSignals::instance().networkHovered(&block, &block.networks.at(1));
    QVERIFY(!marked(0) && !marked(1) && marked(2) && marked(3));
    emit LadderSignals::instance().networkHovered(nullptr, nullptr);
    QVERIFY(!marked(0) && !marked(1) && !marked(2) && !marked(3));
}

int runLadderWindowTests(int argc, char** argv) {
    LadderWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_ladder_window.moc"
