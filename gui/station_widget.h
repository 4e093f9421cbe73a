#pragma once

#include <array>

#include <QPixmap>
#include <QWidget>

class QCheckBox;
class QRadioButton;

namespace sps {

class FrontEnd;
class Target;

// The station in the main window: draws it, runs the station's keys and
// mouse areas, and holds the workpiece check boxes and the sonar radio
// buttons. The controls never change their own state: a click runs the
// station operation, and the boxes show what the station then says.
class StationWidget final : public QWidget {
    Q_OBJECT
public:
    StationWidget(Target& target, FrontEnd& frontEnd, QWidget* parent = nullptr);

    QCheckBox* partBox(int property) const { return partBoxes_.at(static_cast<std::size_t>(property)); }
    QRadioButton* sonarButton(int range) const { return sonarButtons_.at(static_cast<std::size_t>(range)); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Tab belongs to the joystick, not to the focus chain.
    bool focusNextPrevChild(bool next) override;

private:
    void createControls();
    void togglePart(int property);
    void selectSonar(int range);
    // Sets each check box whose property changed since it was last shown.
    void showPartFlags();
    // Runs a station operation; errors go to the error box.
    template <typename Operation> void operate(Operation operation);

    Target& target_;
    FrontEnd& frontEnd_;
    QPixmap sprites_;
    std::array<QCheckBox*, 5> partBoxes_{};
    std::array<QRadioButton*, 4> sonarButtons_{};
};

} // namespace sps
