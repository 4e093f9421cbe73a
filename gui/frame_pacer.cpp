#include "gui/frame_pacer.h"

#include <cmath>

#include <QScreen>
#include <QWidget>

namespace sps {

namespace {

// Where a screen reports no rate (some virtual ones).
constexpr double USUAL_HZ = 60.0;

} // namespace

FramePacer::FramePacer(QWidget& widget, QObject* parent) : QObject(parent), widget_(widget) {
    // Never early: a frame is at least as long as the screen's.
    frame_.setTimerType(Qt::PreciseTimer);
    frame_.setSingleShot(true);
    connect(&frame_, &QTimer::timeout, this, &FramePacer::frameEnded);
}

std::chrono::milliseconds FramePacer::frame() const {
    const QScreen* screen = widget_.screen();
    double hz = screen != nullptr ? screen->refreshRate() : USUAL_HZ;
    if (!(hz >= 1.0 && hz <= 1000.0)) hz = USUAL_HZ;
    return std::chrono::milliseconds(static_cast<long long>(std::ceil(1000.0 / hz)));
}

void FramePacer::request() {
    if (frame_.isActive()) {
        pending_ = true;
        return;
    }
    widget_.update();
    frame_.start(frame());
}

void FramePacer::frameEnded() {
    if (!pending_) return;
    pending_ = false;
    widget_.update();
    frame_.start(frame());
}

} // namespace sps
