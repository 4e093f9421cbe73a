#include "gui/station_widget.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

#include "gui/station_drawing.h"
#include "gui/station_input.h"
#include "messages/cpu_exception.h"
#include "shell/front_end.h"
#include "station/target.h"

namespace sps {

namespace {

// Controls whose state only the station sets: a click reports itself and
// leaves the check mark alone.
class StationCheckBox final : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
};

class StationRadioButton final : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override {}
};

const char* const PART_PROPERTIES[] = {"auswerfbar", "GlasLS erkennbar", "IndNS erkennbar", "KapNS erkennbar",
                                       "OptNS erkennbar"};
const char* const SONAR_RANGES[] = {"aus", "Bereich 1", "Bereich 2", "Bereich 3"};

// Keyboard focus stays with the station, so that its keys keep working.
template <typename Button> void place(Button* button, int x, int y, int width) {
    button->setGeometry(x, y, width, 20);
    button->setFocusPolicy(Qt::NoFocus);
}

} // namespace

StationWidget::StationWidget(Target& target, FrontEnd& frontEnd, QWidget* parent)
    : QWidget(parent), target_(target), frontEnd_(frontEnd), sprites_(QPixmap::fromImage(loadSpriteSheet())) {
    setFixedSize(STATION_WIDTH, STATION_HEIGHT);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    createControls();
}

void StationWidget::createControls() {
    auto* parts = new QGroupBox(QStringLiteral("Werkstück"), this);
    parts->setGeometry(575, 395, 160, 120);
    for (int b = 0; b < Target::PART_PROPERTIES; ++b) {
        auto* box = new StationCheckBox(QString::fromUtf8(PART_PROPERTIES[b]), this);
        place(box, 580, 410 + 20 * b, 150);
        connect(box, &QCheckBox::clicked, this, [this, b] { togglePart(b); });
        partBoxes_[static_cast<std::size_t>(b)] = box;
    }
    auto* sonar = new QGroupBox(QStringLiteral("Sonar"), this);
    sonar->setGeometry(175, 305, 110, 100);
    for (int r = 0; r < Target::SONAR_RANGES; ++r) {
        auto* button = new StationRadioButton(QString::fromUtf8(SONAR_RANGES[r]), this);
        button->setAutoExclusive(false);
        place(button, 180, 320 + 20 * r, 100);
        connect(button, &QRadioButton::clicked, this, [this, r] { selectSonar(r); });
        sonarButtons_[static_cast<std::size_t>(r)] = button;
    }
    sonarButtons_[0]->setChecked(true);
}

template <typename Operation> void StationWidget::operate(Operation operation) {
    try {
        operation();
    } catch (const CPUException& error) {
        frontEnd_.showError(error);
    }
}

void StationWidget::togglePart(int property) {
    operate([&] { target_.togglePartFlag(property); });
    update();
    setFocus();
}

void StationWidget::selectSonar(int range) {
    operate([&] { target_.selectSonarRange(range); });
    for (int r = 0; r < Target::SONAR_RANGES; ++r) sonarButtons_[static_cast<std::size_t>(r)]->setChecked(r == range);
    setFocus();
}

void StationWidget::showPartFlags() {
    const std::uint32_t flags = target_.partFlags();
    const int changed = target_.syncShownPartFlags();
    for (int b = 0; b < Target::PART_PROPERTIES; ++b)
        if ((changed >> b) & 1) partBoxes_[static_cast<std::size_t>(b)]->setChecked(((flags >> b) & 1u) != 0);
}

void StationWidget::paintEvent(QPaintEvent*) {
    {
        QPainter painter(this);
        drawStation(painter, target_, sprites_);
    }
    showPartFlags();
}

// Every key ends here, handled or not: none goes on to the window.
void StationWidget::keyPressEvent(QKeyEvent* event) {
    event->accept();
    bool done = false;
    operate([&] { done = applyStationKey(target_, event->key(), event->text()); });
    if (done) update();
}

void StationWidget::mousePressEvent(QMouseEvent* event) {
    setFocus();
    if (event->button() != Qt::LeftButton) return;
    bool done = false;
    operate([&] { done = applyStationClick(target_, event->position().toPoint()); });
    if (done) update();
}

bool StationWidget::focusNextPrevChild(bool) { return false; }

} // namespace sps
