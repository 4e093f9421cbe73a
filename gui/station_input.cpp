#include "gui/station_input.h"

#include <QPoint>

#include "station/target.h"

namespace sps {

namespace {

struct KeyAction {
    int key;
    void (*apply)(Target&);
};

constexpr KeyAction KEYS[] = {
    {Qt::Key_Tab, [](Target& t) { t.centreJoystick(); }},
    {Qt::Key_Backtab, [](Target& t) { t.centreJoystick(); }},
    {Qt::Key_PageUp, [](Target& t) { t.nudgeCarrier(true); }},
    {Qt::Key_PageDown, [](Target& t) { t.nudgeCarrier(false); }},
    {Qt::Key_Left, [](Target& t) { t.moveJoystick(-1, 0); }},
    {Qt::Key_Right, [](Target& t) { t.moveJoystick(1, 0); }},
    {Qt::Key_Up, [](Target& t) { t.moveJoystick(0, -1); }},
    {Qt::Key_Down, [](Target& t) { t.moveJoystick(0, 1); }},
};

bool applyCharacter(Target& target, char c) {
    if (c >= '0' && c <= '7') {
        target.toggleSwitch(c - '0');
        return true;
    }
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'D') {
        target.toggleButton(c - 'A');
        return true;
    }
    if (c == 'E') {
        target.toggleEntryBarrier();
        return true;
    }
    return false;
}

// A rectangle of the station that reacts to the mouse; both bounds inclusive.
struct MouseArea {
    int left, top, right, bottom;
    void (*apply)(Target&, int x, int y);
};

constexpr MouseArea AREAS[] = {
    // Switch row: Swt7 on the left, 70 pixels per switch.
    {10, 240, 569, 302, [](Target& t, int x, int) { t.toggleSwitch(7 - (x - 10) / 70); }},
    // Button row: Taste3 on the left.
    {290, 460, 569, 522, [](Target& t, int x, int) { t.toggleButton(3 - (x - 290) / 70); }},
    // The jog buttons in the column's base: up above, down below.
    {580, 318, 612, 354, [](Target& t, int, int y) { t.nudgeCarrier(y < 336); }},
    // The joystick field: the knob goes to the click, centre at (88, 428).
    {10, 350, 166, 506, [](Target& t, int x, int y) { t.setJoystick(x - 88, y - 428); }},
    {620, 318, 642, 330, [](Target& t, int, int) { t.toggleEntryBarrier(); }},
};

} // namespace

bool applyStationKey(Target& target, int key, const QString& text) {
    for (const KeyAction& action : KEYS) {
        if (action.key == key) {
            action.apply(target);
            return true;
        }
    }
    if (text.size() != 1 || text[0].unicode() > 0x7F) return false;
    return applyCharacter(target, static_cast<char>(text[0].unicode()));
}

bool applyStationClick(Target& target, const QPoint& at) {
    for (const MouseArea& area : AREAS) {
        if (at.x() >= area.left && at.x() <= area.right && at.y() >= area.top && at.y() <= area.bottom) {
            area.apply(target, at.x(), at.y());
            return true;
        }
    }
    return false;
}

} // namespace sps
