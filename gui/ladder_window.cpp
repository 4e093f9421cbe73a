#include "gui/ladder_window.h"

#include <QAction>
#include <QMenu>
#include <QObject>

#include "cpu/cpu.h"
#include "gui/info_wnd.h"
#include "ladder/kop_net.h"
#include "shell/simulator.h"

namespace sps {

namespace {

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

std::unique_ptr<QWidget> makeLadderWindow(Simulator& simulator) {
    // Laid out now, from the program loaded now; the view keeps that program
    // even after another one is loaded.
    auto content = std::make_unique<KOPNet>();
    content->setProgram(simulator.cpu().program);
    KOPNet& ladder = *content;
    auto window = std::make_unique<InfoWnd>(std::move(content));
    auto* powerFlow = new PowerFlowSwitch(simulator.cpu(), ladder, *window);
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
