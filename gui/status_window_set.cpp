#include "gui/status_window_set.h"

#include <algorithm>

#include <QEvent>

#include "gui/main_window.h"
#include "gui/status_window_kinds.h"
#include "shell/trace_info.h"

namespace sps {

StatusWindowSet::StatusWindowSet(MainWindow& main, Visibility visibility) : main_(main), visibility_(visibility) {}

StatusWindowSet::~StatusWindowSet() {
    // The windows show the simulator's state: none may outlive the set.
    for (auto& [kind, window] : open_) delete window.data();
    for (const QPointer<QWidget>& window : closing_) delete window.data();
}

QWidget* StatusWindowSet::openWindow(StatusWindow window) const {
    const auto found = open_.find(window);
    return found == open_.end() ? nullptr : found->second.data();
}

void StatusWindowSet::open(StatusWindow window) {
    if (isOpen(window)) return;
    StatusWindowSource source{main_.simulator(), main_.dialogs(), nullptr, &main_.watchModel(), &main_};
    openFrom(window, source);
}

void StatusWindowSet::openTrace(std::unique_ptr<TraceInfo> trace) {
    close(StatusWindow::Trace);
    StatusWindowSource source{main_.simulator(), main_.dialogs(), std::move(trace), &main_.watchModel(), &main_};
    openFrom(StatusWindow::Trace, source);
}

void StatusWindowSet::openFrom(StatusWindow window, StatusWindowSource& source) {
    const StatusWindowKind& kind = statusWindowKind(window);
    std::unique_ptr<QWidget> made = kind.make(source);
    made->setWindowTitle(QString::fromUtf8(kind.title));
    made->addActions(main_.actions());
    made->installEventFilter(this);
    QWidget* shown = made.release();
    open_[window] = shown;
    if (visibility_ == Visibility::OffScreen) shown->setAttribute(Qt::WA_DontShowOnScreen);
    shown->show();
    main_.updateActions();
}

void StatusWindowSet::close(StatusWindow window) {
    const auto found = open_.find(window);
    if (found == open_.end()) return;
    QPointer<QWidget> closed = found->second;
    open_.erase(found);
    if (closed) {
        closed->removeEventFilter(this);
        closed->hide();
        // Later: the window may be closing from inside one of its own events
        // (a key of the main window's commands pressed in it).
        closed->deleteLater();
        closing_.push_back(closed);
    }
    std::erase_if(closing_, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
    main_.updateActions();
}

void StatusWindowSet::closeAll() {
    for (const StatusWindowKind& kind : statusWindowKinds())
        if (!kind.keptByLoads) close(kind.window);
}

bool StatusWindowSet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Close) return false;
    // A window with unsaved edits asks first; kept, it stays open.
    if (auto* asks = dynamic_cast<ClosingAsks*>(watched); asks != nullptr && !asks->mayClose()) {
        event->ignore();
        return true;
    }
    const auto found =
        std::find_if(open_.begin(), open_.end(), [watched](const auto& entry) { return entry.second == watched; });
    if (found != open_.end()) close(found->first);
    return false;
}

} // namespace sps
