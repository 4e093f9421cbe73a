#include "gui/ladder_window.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QObject>

#include "cpu/cpu.h"
#include "gui/info_wnd.h"
#include "gui/ladder_signals.h"
#include "gui/painter_canvas.h"
#include "ladder/kop_net.h"
#include "messages/cpu_exception.h"
#include "shell/simulator.h"
#include "shell/status_contents.h"

namespace sps {

namespace {

// Follows the mouse over the ladder: the network under it for the other
// windows, a click on a network's header toggles its breakpoint, a double
// click activates the network.
class LadderMouse final : public QObject {
public:
    LadderMouse(Simulator& simulator, KOPNet& ladder, InfoWnd& window)
        : QObject(&window), simulator_(simulator), ladder_(ladder), window_(window) {
        window.viewport()->setMouseTracking(true);
        window.viewport()->installEventFilter(this);
        ladder.showBreakpoints([&simulator](const KOPRung& rung) {
            return simulator.breakpoints().onNetwork(*rung.block, *rung.network);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseMove: hover(rungUnder(*static_cast<QMouseEvent*>(event))); break;
        case QEvent::Leave: hover(nullptr); break;
        case QEvent::MouseButtonPress: {
            auto* press = static_cast<QMouseEvent*>(event);
            bool onHeader = false;
            const KOPRung* rung = rungUnder(*press, &onHeader);
            if (press->button() == Qt::LeftButton && rung != nullptr && onHeader) toggleBreakpoint(*rung);
            break;
        }
        case QEvent::MouseButtonDblClick:
            if (const KOPRung* rung = rungUnder(*static_cast<QMouseEvent*>(event)))
                emit LadderSignals::instance().networkActivated(rung->block, rung->network);
            break;
        default: break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const KOPRung* rungUnder(const QMouseEvent& event, bool* onHeader = nullptr) const {
        PainterCanvas measuring(nullptr, window_.unit().width(), window_.unit().height(), 0, 0, 0, 0, 0);
        bool header = false;
        const int y = event.position().toPoint().y() - window_.scrollOffset().y();
        const KOPRung* rung = ladder_.rungAt(measuring, y, header);
        if (onHeader != nullptr) *onHeader = header;
        return rung;
    }
    void hover(const KOPRung* rung) {
        const Network* network = rung != nullptr ? rung->network : nullptr;
        if (network == hovered_) return;
        hovered_ = network;
        emit LadderSignals::instance().networkHovered(rung != nullptr ? rung->block : nullptr, network);
    }
    void toggleBreakpoint(const KOPRung& rung) {
        Breakpoints& breakpoints = simulator_.breakpoints();
        try {
            if (const NetworkBreakpoint* set = breakpoints.onNetwork(*rung.block, *rung.network))
                breakpoints.remove(set->number);
            else if (const auto program = simulator_.cpu().program)
                breakpoints.addNetwork(*program, rung.block->label, rung.network->number);
        } catch (const CPUException&) {
            return; // too many breakpoints, or a program loaded since: nothing to mark
        }
        emit LadderSignals::instance().networkBreakpointsChanged();
        window_.refresh();
    }

    Simulator& simulator_;
    KOPNet& ladder_;
    InfoWnd& window_;
    const Network* hovered_ = nullptr;
};

// Keeps the engine recording the power flow while the window lives and shows it.
class PowerFlowSwitch final : public QObject {
public:
    PowerFlowSwitch(CPU& cpu, KOPNet& ladder, InfoWnd& window) : QObject(&window), cpu_(cpu), ladder_(ladder) {
        show(true);
    }
    ~PowerFlowSwitch() override { cpu_.recordPower = false; }
    PowerFlowSwitch(const PowerFlowSwitch&) = delete;
    PowerFlowSwitch& operator=(const PowerFlowSwitch&) = delete;

    void show(bool on) {
        cpu_.recordPower = on;
        ladder_.showPower(on ? &cpu_ : nullptr);
    }

private:
    CPU& cpu_;
    KOPNet& ladder_;
};

} // namespace

LadderSignals& LadderSignals::instance() {
    static LadderSignals hub;
    return hub;
}

std::unique_ptr<QWidget> makeLadderWindow(Simulator& simulator) {
    auto content = layOutLadder(simulator);
    KOPNet& ladder = *content;
    auto window = std::make_unique<InfoWnd>(std::move(content));
    auto* powerFlow = new PowerFlowSwitch(simulator.cpu(), ladder, *window);
    new LadderMouse(simulator, ladder, *window);
    QAction* shown = window->contextMenu()->addAction(QStringLiteral("&Stromfluss"));
    shown->setCheckable(true);
    shown->setChecked(true);
    InfoWnd* frame = window.get();
    QObject::connect(shown, &QAction::toggled, frame, [powerFlow, frame](bool on) {
        powerFlow->show(on);
        frame->refresh();
    });
    return window;
}

} // namespace sps
