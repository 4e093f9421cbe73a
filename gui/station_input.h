#pragma once

#include <QString>

class QPoint;

namespace sps {

class Target;

// The keys of the station (beyond the menu's accelerators): the digits 0 to 7
// toggle the switches, A to D the push buttons ("A" is Taste0), E the entry
// light barrier; Tab centres the joystick and the cursor keys move it; Page
// Up and Page Down nudge the carrier. Returns whether the key did something.
bool applyStationKey(Target& target, int key, const QString& text);

// A press of the left mouse button at `at` (station pixels) on the switch
// row, the button row, the carrier's jog buttons, the joystick field or the
// entry light barrier. Returns whether the press hit one of them.
bool applyStationClick(Target& target, const QPoint& at);

} // namespace sps
