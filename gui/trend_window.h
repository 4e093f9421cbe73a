#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include <QAbstractScrollArea>
#include <QFont>
#include <QTimer>

#include "gui/trend_layout.h"
#include "shell/recording_export.h"

class QMenu;

namespace sps {

class Dialogs;
class Simulator;

// The status window "Verlauf": the simulator's recorded operands over
// simulated time, one lane each. While the simulation runs the newest step
// stands at the right edge (the window follows it); when it is stopped the
// user scrolls back (horizontal scroll bar, cursor keys, Home, End) and
// zooms (Ctrl and the mouse wheel, the keys + and -). A cursor line under
// the mouse shows each operand's value at that time; the context menu
// exports the recording as VCD or CSV. While the simulation is stopped a
// double click moves it to the scan at that time in its history; a dashed
// line marks the scan it stands at then.
class TrendWindow final : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int REFRESH_MS = 500;
    // While following a running simulation: smooth enough to watch, unless
    // drawing takes more than a twentieth of that time.
    static constexpr int FOLLOW_MS = 100;
    // The zoom is a power of two milliseconds per pixel: from 64 pixels per
    // ms to about 17 minutes per pixel.
    static constexpr int MIN_ZOOM = -6;
    static constexpr int MAX_ZOOM = 20;
    static constexpr int DEFAULT_ZOOM = 4;

    TrendWindow(Simulator& simulator, Dialogs& dialogs);
    ~TrendWindow() override;

    // Where everything is drawn now.
    TrendLayout layout() const;
    // Whether the newest step stands at the right edge.
    bool following() const;
    int zoom() const { return zoom_; }
    // The recording's ms under the mouse, within the held data; empty when
    // the mouse is not over the traces or nothing is recorded yet.
    std::optional<std::uint64_t> cursorMs() const;
    // The value shown beside operand `index`: at the cursor, else at the
    // scan the history went back to, else at the right edge; "?" for a value
    // not known then, empty before its data.
    QString readout(std::size_t index) const;
    QMenu* contextMenu() const { return menu_; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    struct Held {
        double from = 0;
        double to = 0;
    };
    Held held() const;
    double tracesWidth() const;
    double msPerPixel() const;
    // The right edge of the traces (just past their last column) when the
    // window follows the newest step.
    double newestEdge(const Held& range, double span) const;
    // The time just past the right edge: the newest step's while following,
    // else where the user scrolled to, within the held data.
    double rightEdge() const;
    // The time of the last column.
    double atRightEdge() const;
    // Whether the user may scroll and zoom about a point now.
    bool browsing() const;
    void refresh();
    void updateScrollBars();
    // Moves the right edge (only while browsing); at the newest step the
    // window follows again.
    void scrollTimeTo(double rightMs);
    void zoomBy(int steps, std::optional<int> anchorX);
    void zoomToAll();
    void exportAs(ExportFormat format);
    std::optional<int> cursorColumn() const;
    // The column of the scan shown, when that lies in the past and in view.
    std::optional<int> positionColumn(const TrendLayout& layout) const;

    Simulator& simulator_;
    Dialogs& dialogs_;
    QFont font_;
    int zoom_ = DEFAULT_ZOOM;
    bool following_ = true;
    double rightMs_ = 0;
    int laneOffset_ = 0;
    double timeBarUnit_ = 1; // ms per step of the horizontal scroll bar
    std::optional<int> mouseX_;
    std::chrono::milliseconds lastPaint_{0};
    int wheelRest_ = 0;
    QTimer refresh_;
    QMenu* menu_ = nullptr;
};

} // namespace sps
