#include "gui/trend_window.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSettings>
#include <QWheelEvent>

#include "gui/dialogs.h"
#include "gui/info_wnd.h"
#include "gui/trend_drawing.h"
#include "messages/cpu_exception.h"
#include "shell/recorder.h"
#include "shell/simulator.h"

namespace sps {

namespace {

// The column of names is this many characters wide: a name, and a real's
// value or a scale label beside it.
constexpr int NAME_CHARACTERS = 20;
constexpr int NAME_PAD = 12;
// Room right of the newest step, so that its value is seen to go on there.
constexpr int RIGHT_MARGIN = 12;
constexpr int NOTCH = 120; // eighths of a degree per notch of a mouse wheel
// Left and right scroll by this share of the traces' width.
constexpr int SCROLL_PARTS = 10;
// The scroll bar counts in steps few enough for an int.
constexpr double MOST_BAR_STEPS = 1e9;
// The most lanes the window opens tall enough for.
constexpr int LANES_SHOWN = 10;
// While following, at most this many times the time of a paint passes between two.
constexpr int PAINT_SHARE = 20;

const QString EXPORT_FOLDER_KEY = QStringLiteral("recording/exportFolder");

int laneHeight(SignalType type, int line) { return type == SignalType::Bit ? 2 * line + 10 : 4 * line + 4; }

} // namespace

TrendWindow::TrendWindow(Simulator& simulator, Dialogs& dialogs)
    : simulator_(simulator), dialogs_(dialogs), font_(statusWindowFont()) {
    // The program ends with its main window, whatever status windows are open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    setFocus();
    viewport()->setMouseTracking(true);
    setFont(font_);

    menu_ = new QMenu(this);
    QAction* vcd = menu_->addAction(QStringLiteral("Als &VCD exportieren \u2026"));
    QAction* csv = menu_->addAction(QStringLiteral("Als &CSV exportieren \u2026"));
    menu_->addSeparator();
    QAction* all = menu_->addAction(QStringLiteral("&Ganze Aufzeichnung zeigen"));
    connect(vcd, &QAction::triggered, this, [this] { exportAs(ExportFormat::Vcd); });
    connect(csv, &QAction::triggered, this, [this] { exportAs(ExportFormat::Csv); });
    connect(all, &QAction::triggered, this, &TrendWindow::zoomToAll);
    connect(menu_, &QMenu::aboutToShow, this, [this, vcd, csv, all] {
        const bool recorded = simulator_.recorder().latest().has_value();
        vcd->setEnabled(recorded);
        csv->setEnabled(recorded);
        all->setEnabled(recorded && browsing());
    });

    resize(sizeHint());
    refresh_.setInterval(REFRESH_MS);
    connect(&refresh_, &QTimer::timeout, this, &TrendWindow::refresh);
    refresh_.start();
    refresh();
}

TrendWindow::~TrendWindow() = default;

QSize TrendWindow::sizeHint() const {
    const int line = QFontMetrics(font_).height();
    const Recorder& recorder = simulator_.recorder();
    int lanes = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(recorder.size(), LANES_SHOWN); ++i)
        lanes += laneHeight(recorder.signal(i).type(), line);
    const int frame = 2 * frameWidth();
    const int width = 100 * QFontMetrics(font_).averageCharWidth();
    const int height = std::max(lanes, 8 * line) + line + 10;
    return QSize(width + frame + verticalScrollBar()->sizeHint().width(),
                 height + frame + horizontalScrollBar()->sizeHint().height());
}

TrendWindow::Held TrendWindow::held() const {
    const Recorder& recorder = simulator_.recorder();
    const auto from = recorder.heldFrom();
    const auto to = recorder.latest();
    if (!from || !to) return {};
    return {static_cast<double>(from->ms), static_cast<double>(to->ms)};
}

double TrendWindow::newestEdge(const Held& range, double span) const {
    // The newest step in the last column; while the recording is shorter
    // than the traces are wide, it starts at their left edge.
    return std::max(range.to + msPerPixel(), range.from + span);
}

double TrendWindow::msPerPixel() const { return std::ldexp(1.0, zoom_); }

bool TrendWindow::following() const { return following_ || simulator_.running(); }

bool TrendWindow::browsing() const { return !simulator_.running(); }

TrendLayout TrendWindow::layout() const {
    const QFontMetrics metrics(font_);
    const QSize client = viewport()->size();
    const int axisHeight = metrics.height() + 10;
    const int namesWidth = NAME_CHARACTERS * metrics.averageCharWidth() + NAME_PAD;
    const int lanesHeight = std::max(1, client.height() - axisHeight);
    TrendLayout layout;
    layout.names = QRect(0, 0, namesWidth, lanesHeight);
    layout.traces = QRect(namesWidth + 1, 0, std::max(1, client.width() - namesWidth - 1 - RIGHT_MARGIN), lanesHeight);
    layout.axis = QRect(0, lanesHeight, client.width(), axisHeight);
    const Recorder& recorder = simulator_.recorder();
    int top = -laneOffset_;
    for (std::size_t i = 0; i < recorder.size(); ++i) {
        const int height = laneHeight(recorder.signal(i).type(), metrics.height());
        layout.lanes.emplace_back(0, top, client.width(), height);
        top += height;
    }
    layout.msPerPixel = msPerPixel();
    const Held range = held();
    const double span = layout.traces.width() * layout.msPerPixel;
    const double newest = newestEdge(range, span);
    layout.rightMs = following() ? newest : std::clamp(rightMs_, range.from + span, newest);
    return layout;
}

double TrendWindow::tracesWidth() const { return layout().traces.width(); }

double TrendWindow::rightEdge() const { return layout().rightMs; }

double TrendWindow::atRightEdge() const {
    const TrendLayout now = layout();
    return now.msAt(now.traces.right());
}

std::optional<int> TrendWindow::cursorColumn() const {
    if (!mouseX_ || simulator_.recorder().size() == 0) return std::nullopt;
    return mouseX_;
}

std::optional<std::uint64_t> TrendWindow::cursorMs() const {
    const auto column = cursorColumn();
    if (!column || !simulator_.recorder().latest()) return std::nullopt;
    const Held range = held();
    const double ms = std::clamp(std::floor(layout().msAt(*column)), range.from, range.to);
    return static_cast<std::uint64_t>(ms);
}

QString TrendWindow::readout(std::size_t index) const {
    const Recorder& recorder = simulator_.recorder();
    if (index >= recorder.size() || !recorder.latest()) return {};
    std::uint64_t ms = 0;
    const auto shown = simulator_.stepsBack() > 0 ? recorder.stepOf(simulator_.cycle()) : std::nullopt;
    if (const auto cursor = cursorMs())
        ms = *cursor;
    else if (shown)
        ms = shown->ms;
    else
        ms = static_cast<std::uint64_t>(std::clamp(std::floor(atRightEdge()), held().from, held().to));
    const RecordedSignal& signal = recorder.signal(index);
    const auto at = signal.indexAt(ms);
    if (!at) return {};
    const SignalChange& change = signal.changes()[*at];
    return change.known ? QString::fromLatin1(signalValueText(signal.type(), change)) : QStringLiteral("?");
}

void TrendWindow::refresh() {
    const bool running = simulator_.running();
    if (running) following_ = true;
    // Following, as often as a twentieth of the time allows: a long recording
    // of fast signals in view takes milliseconds to draw.
    const auto share = static_cast<int>(lastPaint_.count() * PAINT_SHARE);
    refresh_.setInterval(running && simulator_.recorder().size() > 0 ? std::clamp(share, FOLLOW_MS, REFRESH_MS)
                                                                     : REFRESH_MS);
    updateScrollBars();
    viewport()->update();
}

void TrendWindow::updateScrollBars() {
    const TrendLayout now = layout();
    const Held range = held();
    const double span = now.traces.width() * now.msPerPixel;
    const double first = range.from + span; // the right edge at the start of the data
    const double newest = newestEdge(range, span);
    double unit = now.msPerPixel;
    while ((newest - first) / unit > MOST_BAR_STEPS) unit *= 2;
    timeBarUnit_ = unit;
    QScrollBar* time = horizontalScrollBar();
    {
        const QSignalBlocker quiet(time);
        const int page = static_cast<int>(std::max(1.0, span / unit));
        time->setRange(0, static_cast<int>(std::lround((newest - first) / unit)));
        time->setPageStep(page);
        time->setSingleStep(std::max(1, page / SCROLL_PARTS));
        time->setValue(static_cast<int>(std::lround((now.rightMs - first) / unit)));
    }
    time->setEnabled(browsing());

    const int content = now.lanes.empty() ? 0 : now.lanes.back().bottom() + 1 + laneOffset_;
    QScrollBar* lanes = verticalScrollBar();
    lanes->setPageStep(std::max(1, now.traces.height()));
    lanes->setSingleStep(laneHeight(SignalType::Bit, QFontMetrics(font_).height()));
    lanes->setRange(0, std::max(0, content - now.traces.height()));
}

void TrendWindow::scrollTimeTo(double rightMs) {
    if (!browsing()) return;
    const Held range = held();
    const double span = tracesWidth() * msPerPixel();
    const double newest = newestEdge(range, span);
    rightMs_ = std::clamp(rightMs, range.from + span, newest);
    following_ = rightMs_ >= newest;
    updateScrollBars();
    viewport()->update();
}

void TrendWindow::zoomBy(int steps, std::optional<int> anchorX) {
    const int zoom = std::clamp(zoom_ - steps, MIN_ZOOM, MAX_ZOOM);
    if (zoom == zoom_) return;
    const TrendLayout before = layout();
    if (!anchorX && !following()) anchorX = before.traces.center().x();
    zoom_ = zoom;
    // The time under the anchor stays where it is; while following, the
    // newest step stays at the right edge.
    if (anchorX && browsing()) {
        const double anchorMs = before.msAt(*anchorX);
        following_ = false;
        scrollTimeTo(anchorMs + (before.traces.left() + before.traces.width() - *anchorX) * msPerPixel());
    }
    updateScrollBars();
    viewport()->update();
}

void TrendWindow::zoomToAll() {
    const Held range = held();
    const double width = tracesWidth();
    int zoom = MIN_ZOOM;
    while (zoom < MAX_ZOOM && width * std::ldexp(1.0, zoom) < range.to - range.from) ++zoom;
    zoom_ = zoom;
    scrollTimeTo(std::numeric_limits<double>::max());
}

void TrendWindow::exportAs(ExportFormat format) {
    const bool vcd = format == ExportFormat::Vcd;
    QSettings settings;
    const QString name = vcd ? QStringLiteral("aufzeichnung.vcd") : QStringLiteral("aufzeichnung.csv");
    const QString path = dialogs_.chooseSaveFile(
        this,
        vcd ? QStringLiteral("Aufzeichnung als VCD exportieren") : QStringLiteral("Aufzeichnung als CSV exportieren"),
        vcd ? QStringLiteral("Value Change Dump (*.vcd)") : QStringLiteral("CSV-Datei (*.csv)"),
        QDir(settings.value(EXPORT_FOLDER_KEY, QDir::currentPath()).toString()).filePath(name));
    if (path.isEmpty()) return;
    settings.setValue(EXPORT_FOLDER_KEY, QFileInfo(path).absolutePath());
    try {
        exportRecording(simulator_.recorder(), format, QFile::encodeName(path).toStdString());
    } catch (const CPUException& error) {
        dialogs_.showError(this, QString::fromLatin1(error.messageText()));
    }
}

bool TrendWindow::event(QEvent* event) {
    // + and - zoom here; the main window's "Schneller" and "Langsamer", whose
    // keys they are too, must not take them while this window has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Plus || key == Qt::Key_Minus) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TrendWindow::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && mouseX_) {
        mouseX_.reset();
        viewport()->update();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TrendWindow::paintEvent(QPaintEvent*) {
    QElapsedTimer clock;
    clock.start();
    QPainter painter(viewport());
    const TrendLayout now = layout();
    const Recorder& recorder = simulator_.recorder();
    std::vector<QString> readouts;
    readouts.reserve(recorder.size());
    for (std::size_t i = 0; i < recorder.size(); ++i) readouts.push_back(readout(i));
    drawTrend(painter, TrendScene{recorder, now, std::move(readouts), cursorColumn(), positionColumn(now), font_});
    lastPaint_ = std::chrono::milliseconds(clock.elapsed());
}

void TrendWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TrendWindow::keyPressEvent(QKeyEvent* event) {
    const auto anchor = [this]() -> std::optional<int> { return cursorColumn(); };
    const double step = tracesWidth() * msPerPixel() / SCROLL_PARTS;
    constexpr double FAR = std::numeric_limits<double>::max();
    switch (event->key()) {
    case Qt::Key_Plus: zoomBy(1, anchor()); break;
    case Qt::Key_Minus: zoomBy(-1, anchor()); break;
    case Qt::Key_Left: scrollTimeTo(rightEdge() - step); break;
    case Qt::Key_Right: scrollTimeTo(rightEdge() + step); break;
    case Qt::Key_Home: scrollTimeTo(-FAR); break;
    case Qt::Key_End: scrollTimeTo(FAR); break;
    case Qt::Key_Up: verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Down: verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case Qt::Key_PageUp: verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case Qt::Key_PageDown: verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    default: break;
    }
    // Every other key is consumed too, as in the other status windows.
    event->accept();
}

void TrendWindow::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / NOTCH;
    wheelRest_ -= notches * NOTCH;
    const auto x = static_cast<int>(event->position().x());
    const TrendLayout now = layout();
    // Turning the wheel away from the user zooms in, about the time under the mouse.
    if (notches != 0)
        zoomBy(notches, x >= now.traces.left() && x <= now.traces.right() ? std::optional(x) : std::nullopt);
    event->accept();
}

void TrendWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const TrendLayout now = layout();
    const bool over = at.x() >= now.traces.left() && at.x() <= now.traces.right() && at.y() >= now.traces.top() &&
                      at.y() <= now.axis.bottom();
    const std::optional<int> x = over ? std::optional(at.x()) : std::nullopt;
    if (x == mouseX_) return;
    mouseX_ = x;
    viewport()->update();
}

void TrendWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    mouseMoveEvent(event);
    const auto ms = cursorMs();
    event->accept();
    if (!ms || !simulator_.canGoBack()) return;
    const auto step = simulator_.recorder().stepAt(*ms);
    if (!step) return;
    try {
        simulator_.goToCycle(step->cycle);
    } catch (const CPUException& error) {
        dialogs_.showError(this, QString::fromLatin1(error.messageText()));
    }
    viewport()->update();
}

std::optional<int> TrendWindow::positionColumn(const TrendLayout& layout) const {
    if (simulator_.stepsBack() == 0) return std::nullopt;
    const auto step = simulator_.recorder().stepOf(simulator_.cycle());
    if (!step) return std::nullopt;
    const double x = layout.xOf(static_cast<double>(step->ms));
    if (x < layout.traces.left() || x > layout.traces.right()) return std::nullopt;
    return static_cast<int>(std::lround(x));
}

void TrendWindow::contextMenuEvent(QContextMenuEvent* event) { menu_->popup(event->globalPos()); }

void TrendWindow::scrollContentsBy(int dx, int dy) {
    if (dy != 0) laneOffset_ = verticalScrollBar()->value();
    if (dx != 0) {
        const QScrollBar* time = horizontalScrollBar();
        const TrendLayout now = layout();
        const double first = held().from + now.traces.width() * now.msPerPixel;
        // At its end the bar shows the newest step, which the window then follows.
        scrollTimeTo(time->value() == time->maximum() ? std::numeric_limits<double>::max()
                                                      : first + time->value() * timeBarUnit_);
    }
    viewport()->update();
}

bool TrendWindow::focusNextPrevChild(bool) {
    // Tab is one of the keys the window consumes.
    return false;
}

} // namespace sps
