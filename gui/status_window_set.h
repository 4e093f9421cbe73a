#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "gui/status_windows.h"

namespace sps {

class MainWindow;
struct StatusWindowSource;

// The status windows of a main window: independent top-level windows, made
// by the kinds' table, that live until the user closes them or a load closes
// them all. Each is given the main window's commands, so that their keys
// work in it as in the main window.
class StatusWindowSet final : public QObject, public StatusWindows {
    Q_OBJECT
public:
    // OffScreen: windows are shown where no screen shows them (for pictures
    // of them; some widgets lay themselves out only when shown).
    enum class Visibility { Shown, OffScreen };

    explicit StatusWindowSet(MainWindow& main, Visibility visibility = Visibility::Shown);
    ~StatusWindowSet() override;

    bool isOpen(StatusWindow window) const override { return openWindow(window) != nullptr; }
    QWidget* openWindow(StatusWindow window) const override;
    void open(StatusWindow window) override;
    void openTrace(std::unique_ptr<TraceInfo> trace) override;
    void closeAll() override;

protected:
    // Notices a window that the user closes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openFrom(StatusWindow window, StatusWindowSource& source);
    void close(StatusWindow window);

    MainWindow& main_;
    Visibility visibility_;
    std::map<StatusWindow, QPointer<QWidget>> open_;
    // Closed windows whose deletion waits for the event loop; deleted at the
    // latest with the set.
    std::vector<QPointer<QWidget>> closing_;
};

} // namespace sps
