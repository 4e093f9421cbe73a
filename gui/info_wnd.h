#pragma once

#include <memory>

#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QTimer>

class QMenu;

namespace sps {

class InfoDraw;

// A scroll request on one axis, as the scroll bars, the keys and the wheel
// send it.
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Thumb, Top, Bottom };

// One axis of a status window: the offset (0 or negative: the content moved
// left or up), the content and client sizes and the steps, in pixels.
struct ScrollAxis {
    int offset = 0;
    int content = 0;
    int client = 0;
    int line = 1;
    int page = 10;
};

// The offset after `request` (`thumb` is the thumb's position for
// ScrollRequest::Thumb). The offset never becomes positive, the content's end
// never scrolls past the client's end, and a content that fits does not scroll.
int scrolledOffset(const ScrollAxis& axis, ScrollRequest request, int thumb = 0);

// The status windows' font: "Courier New" whose character cell is 15 pixels
// high; where that face is missing the metric-compatible Liberation Mono,
// else the system's fixed-pitch font.
QFont statusWindowFont();

// The frame of every status window: a top-level window with both scroll bars
// that shows one content (the ladder, the AS-i bus, the CPU, a trace) on a
// canvas whose unit is the character cell of its font. The content's size is
// measured once, when the window is made; the content is drawn afresh twice a
// second, so live values follow the simulation.
class InfoWnd final : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int REFRESH_MS = 500;
    static constexpr int PAGE_LINES = 10;
    static constexpr int PAGE_CHARACTERS = 40;
    static constexpr int WHEEL_LINES = 3; // per notch of the mouse wheel

    explicit InfoWnd(std::unique_ptr<InfoDraw> content);
    ~InfoWnd() override;

    InfoDraw& content() { return *content_; }
    // The extent of the letter "F": the canvas's unit.
    QSize unit() const { return unit_; }
    QSize contentSize() const { return contentSize_; }
    // Both offsets, 0 or negative.
    QPoint scrollOffset() const { return offset_; }

    QSize sizeHint() const override;

    // The window's context menu; it opens on the content only when it holds
    // an action (the ladder's "Stromfluss").
    QMenu* contextMenu() const { return contextMenu_; }
    // Draws the content anew now.
    void refresh() { viewport()->update(); }
    // Scrolls so that the content's line at `y` (pixels) stands at the top,
    // as far as the content lets it.
    void scrollToContentY(int y);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Replaces the scroll bar's pending position after one of its actions by
    // the one the scrolling rules give.
    void limitAction(Qt::Orientation orientation, int action);
    ScrollAxis axis(Qt::Orientation orientation) const;
    void setRange(Qt::Orientation orientation);

    std::unique_ptr<InfoDraw> content_;
    QFont font_;
    int ascent_ = 0;
    QSize unit_;
    QSize contentSize_{10, 10};
    QSize client_;
    QPoint offset_;
    QPoint wheelRest_; // eighths of a degree not yet scrolled
    QTimer refresh_;
    QMenu* contextMenu_; // owned by the window
};

} // namespace sps
