#pragma once

class QImage;
class QPainter;
class QPixmap;

namespace sps {

class Target;

// The station's client area, in which every element lies.
inline constexpr int STATION_WIDTH = 744;
inline constexpr int STATION_HEIGHT = 524;

// The background of the main window.
inline constexpr unsigned STATION_BACKGROUND = 0xFFA0A0A4u; // RGB(160, 160, 164)

// The sprite sheet SPSPART (128 x 128, indexed colour) from the resources.
QImage loadSpriteSheet();

// Draws the whole station as it is now: background, lamps, LEDs, switches,
// buttons, sensors, the column with the carrier, the ejector, the joystick,
// the analog display and every label. Sprites are stretched without
// smoothing, so they stay crisp at any scale.
void drawStation(QPainter& painter, const Target& target, const QPixmap& sprites);

} // namespace sps
