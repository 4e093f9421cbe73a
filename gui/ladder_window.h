#pragma once

#include <memory>

class QWidget;

namespace sps {

class Simulator;

// The ladder status window: every network of the loaded program with live
// values and, while its context menu's "Stromfluss" is checked (at first it
// is), the power flow of the last scan. The engine records the power flow
// only while such a window is open and shows it. Throws the CPUException of
// a program that cannot be laid out.
std::unique_ptr<QWidget> makeLadderWindow(Simulator& simulator);

} // namespace sps
