#include "gui/info_wnd.h"

#include <algorithm>
#include <cstdlib>

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include "canvas/info_draw.h"
#include "gui/painter_canvas.h"
#include "gui/station_drawing.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

// The character cell of the status windows' font, in pixels.
constexpr int CELL_HEIGHT = 15;
// The default size of a window's client area, in characters and lines: the
// content's size within these bounds. 56 characters show the longest line of
// the AS-i status whole.
constexpr int MIN_COLUMNS = 56;
constexpr int MAX_COLUMNS = 110;
constexpr int MIN_LINES = 12;
constexpr int MAX_LINES = 40;
constexpr int MARGIN = 4;
constexpr int NOTCH = 120; // eighths of a degree per notch of a mouse wheel

// The scroll request of a scroll bar's action; false for none.
bool requestOf(int action, ScrollRequest& request) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: request = ScrollRequest::LineUp; return true;
    case QAbstractSlider::SliderSingleStepAdd: request = ScrollRequest::LineDown; return true;
    case QAbstractSlider::SliderPageStepSub: request = ScrollRequest::PageUp; return true;
    case QAbstractSlider::SliderPageStepAdd: request = ScrollRequest::PageDown; return true;
    case QAbstractSlider::SliderMove: request = ScrollRequest::Thumb; return true;
    case QAbstractSlider::SliderToMinimum: request = ScrollRequest::Top; return true;
    case QAbstractSlider::SliderToMaximum: request = ScrollRequest::Bottom; return true;
    default: return false;
    }
}

// The scrolling keys: each sends its window the scroll bar action it names.
struct ScrollKey {
    int key;
    Qt::Orientation orientation;
    QAbstractSlider::SliderAction action;
};

constexpr ScrollKey SCROLL_KEYS[] = {
    {Qt::Key_Left, Qt::Horizontal, QAbstractSlider::SliderSingleStepSub},
    {Qt::Key_Right, Qt::Horizontal, QAbstractSlider::SliderSingleStepAdd},
    {Qt::Key_Up, Qt::Vertical, QAbstractSlider::SliderSingleStepSub},
    {Qt::Key_Down, Qt::Vertical, QAbstractSlider::SliderSingleStepAdd},
    {Qt::Key_PageUp, Qt::Vertical, QAbstractSlider::SliderPageStepSub},
    {Qt::Key_PageDown, Qt::Vertical, QAbstractSlider::SliderPageStepAdd},
    {Qt::Key_Home, Qt::Vertical, QAbstractSlider::SliderToMinimum},
    {Qt::Key_End, Qt::Vertical, QAbstractSlider::SliderToMaximum},
};

// Whole notches out of `rest`, which keeps the remainder (a fine-grained
// wheel sends fractions of a notch).
int takeNotches(int& rest) {
    const int notches = rest / NOTCH;
    rest -= notches * NOTCH;
    return notches;
}

} // namespace

int scrolledOffset(const ScrollAxis& axis, ScrollRequest request, int thumb) {
    // Computed wide: a content of nearly INT_MAX pixels must not overflow.
    const long long o = axis.offset;
    const long long c = axis.content;
    const long long w = axis.client;
    long long d = 0; // the change; the new offset is o - d
    switch (request) {
    case ScrollRequest::LineUp: d = -static_cast<long long>(axis.line); break;
    case ScrollRequest::LineDown: d = axis.line; break;
    case ScrollRequest::PageUp: d = -static_cast<long long>(axis.page); break;
    case ScrollRequest::PageDown: d = axis.page; break;
    case ScrollRequest::Thumb: d = o + thumb; break;
    case ScrollRequest::Top: d = o; break;
    case ScrollRequest::Bottom: d = c + o - w; break;
    }
    if (d != o && o - d >= 0) d = o;
    if (o - d < w - c) d = o + c - w;
    if (c < w) d = o;
    return static_cast<int>(o - d);
}

QFont statusWindowFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const char* family : {"Courier New", "Liberation Mono"}) {
        QFont candidate(QString::fromUtf8(family));
        candidate.setStyleHint(QFont::TypeWriter);
        // The font database may stand in another face for a missing one.
        if (QFontInfo(candidate).family() == candidate.family()) {
            font = candidate;
            break;
        }
    }
    // The largest size whose cell (ascent and descent) is at most 15 pixels.
    for (int pixels = CELL_HEIGHT; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= CELL_HEIGHT) break;
    }
    return font;
}

InfoWnd::InfoWnd(std::unique_ptr<InfoDraw> content)
    : content_(std::move(content)), font_(statusWindowFont()), contextMenu_(new QMenu(this)) {
    // The program ends with its main window, whatever status windows are open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    // The window's keys reach it as soon as it is active (Tab, which would
    // otherwise find the first focus, is consumed).
    setFocus();
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Window, QColor::fromRgb(STATION_BACKGROUND));
    colours.setColor(QPalette::WindowText, Qt::black);
    viewport()->setPalette(colours);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    // A narrow border of the same colour keeps the first column and line off
    // the window's edge; the client area is what lies inside it.
    setViewportMargins(MARGIN, MARGIN, 0, 0);
    setStyleSheet(QStringLiteral("sps--InfoWnd { background: %1; }").arg(QColor::fromRgb(STATION_BACKGROUND).name()));

    const QFontMetrics metrics(font_);
    unit_ = QSize(metrics.horizontalAdvance(QLatin1Char('F')), metrics.height());
    ascent_ = metrics.ascent();
    PainterCanvas measuring(nullptr, unit_.width(), unit_.height(), 0, 0, 0, 0, ascent_);
    contentSize_ = QSize(content_->contentWidth(measuring), content_->contentHeight(measuring));

    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { limitAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { limitAction(Qt::Vertical, action); });
    resize(sizeHint());

    refresh_.setInterval(REFRESH_MS);
    connect(&refresh_, &QTimer::timeout, viewport(), qOverload<>(&QWidget::update));
    refresh_.start();
}

InfoWnd::~InfoWnd() = default;

void InfoWnd::scrollToContentY(int y) { verticalScrollBar()->setValue(y); }

void InfoWnd::contextMenuEvent(QContextMenuEvent* event) {
    // A menu of the window's own, shown without a nested event loop, so that
    // the window may close while it is open.
    if (contextMenu_->actions().isEmpty()) return QAbstractScrollArea::contextMenuEvent(event);
    contextMenu_->popup(event->globalPos());
}

QSize InfoWnd::sizeHint() const {
    const auto fit = [](int content, int unit, int least, int most) {
        return std::clamp(content, least * unit, most * unit);
    };
    const QSize client(fit(contentSize_.width(), unit_.width(), MIN_COLUMNS, MAX_COLUMNS),
                       fit(contentSize_.height(), unit_.height(), MIN_LINES, MAX_LINES));
    const int frame = 2 * frameWidth();
    QSize size = client + QSize(MARGIN + verticalScrollBar()->sizeHint().width() + frame,
                                MARGIN + horizontalScrollBar()->sizeHint().height() + frame);
    if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableGeometry().size() * 9 / 10);
    return size;
}

ScrollAxis InfoWnd::axis(Qt::Orientation orientation) const {
    if (orientation == Qt::Horizontal)
        return {offset_.x(), contentSize_.width(), client_.width(), unit_.width(), PAGE_CHARACTERS * unit_.width()};
    return {offset_.y(), contentSize_.height(), client_.height(), unit_.height(), PAGE_LINES * unit_.height()};
}

void InfoWnd::setRange(Qt::Orientation orientation) {
    const ScrollAxis along = axis(orientation);
    QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    bar->setRange(0, std::max(0, along.content - along.client));
    bar->setSingleStep(along.line);
    // The thumb's length shows how much of the content is visible; a page
    // request itself moves by the page of the scrolling rules.
    bar->setPageStep(std::max(1, along.client));
}

void InfoWnd::limitAction(Qt::Orientation orientation, int action) {
    ScrollRequest request{};
    if (!requestOf(action, request)) return;
    QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    // The bar has moved its thumb by its own rules; the value follows only
    // after this, so the position set here is the one that counts.
    bar->setSliderPosition(-scrolledOffset(axis(orientation), request, bar->sliderPosition()));
}

void InfoWnd::scrollContentsBy(int dx, int dy) {
    offset_ = QPoint(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    viewport()->scroll(dx, dy);
}

void InfoWnd::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    client_ = viewport()->size();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    setRange(Qt::Horizontal);
    setRange(Qt::Vertical);
    viewport()->update();
}

void InfoWnd::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font_);
    painter.setPen(QPen(viewport()->palette().color(QPalette::WindowText), 0));
    PainterCanvas canvas(&painter, unit_.width(), unit_.height(), offset_.x(), offset_.y(), client_.width(),
                         client_.height(), ascent_);
    try {
        content_->drawContent(canvas);
    } catch (const CPUException& error) {
        // Nothing a content raises may end the program from a paint: the
        // drawing stops there, and its first line says why.
        painter.fillRect(0, 0, client_.width(), unit_.height(), viewport()->palette().window());
        painter.drawText(0, ascent_, QString::fromLatin1(error.messageText()).trimmed());
    }
}

void InfoWnd::keyPressEvent(QKeyEvent* event) {
    for (const ScrollKey& key : SCROLL_KEYS)
        if (key.key == event->key())
            (key.orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar())
                ->triggerAction(key.action);
    // Every other key is consumed too.
    event->accept();
}

void InfoWnd::wheelEvent(QWheelEvent* event) {
    wheelRest_ += event->angleDelta();
    // Turning the wheel away from the user scrolls up (or left).
    const int up = takeNotches(wheelRest_.ry());
    const int left = takeNotches(wheelRest_.rx());
    const auto scrollLines = [](QScrollBar* bar, int notches) {
        const auto action = notches > 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd;
        for (int i = 0; i < std::abs(notches) * WHEEL_LINES; ++i) bar->triggerAction(action);
    };
    scrollLines(verticalScrollBar(), up);
    scrollLines(horizontalScrollBar(), left);
    event->accept();
}

bool InfoWnd::focusNextPrevChild(bool) {
    // Tab is one of the keys the window consumes.
    return false;
}

} // namespace sps
