#pragma once

class QApplication;

namespace sps {

// What the desktop program sets on its application before any window opens:
// its names (for its settings and its desktop entry), its icon, and Qt's own
// texts (the standard dialogs, the message box buttons, the line edits'
// menus) in German, as every other text of the program. False when Qt's
// German catalogue is missing: Qt's texts then stay English.
bool setUpApplication(QApplication& app);

} // namespace sps
