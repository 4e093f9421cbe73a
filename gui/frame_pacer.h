#pragma once

#include <chrono>

#include <QObject>
#include <QTimer>

class QWidget;

namespace sps {

// Repaints a widget at most once per frame of the screen it is on. A state
// that changes with every tick of a 1-ms timer is shown as it is when the
// frame comes, as often as the screen can show it and no more often. A
// request after a quiet frame paints at once; requests within a frame are
// one paint at its end.
class FramePacer final : public QObject {
    Q_OBJECT
public:
    FramePacer(QWidget& widget, QObject* parent);

    // The widget has a new state to show.
    void request();
    // One frame of the widget's screen now, rounded up to whole milliseconds.
    std::chrono::milliseconds frame() const;

private:
    void frameEnded();

    QWidget& widget_;
    QTimer frame_;
    bool pending_ = false;
};

} // namespace sps
