#pragma once

#include <QObject>

namespace sps {

struct Block;
struct Network;

// What the user points at in the ladder window, for the windows that follow
// it (the trace window marks the rows of that network).
class LadderSignals final : public QObject {
    Q_OBJECT
public:
    // The one hub of the program.
    static LadderSignals& instance();

signals:
    // The mouse is over a network of the ladder window (null for none).
    void networkHovered(const sps::Block* block, const sps::Network* network);
    // A network was double-clicked.
    void networkActivated(const sps::Block* block, const sps::Network* network);
    // A breakpoint before a network was set or removed.
    void networkBreakpointsChanged();
};

} // namespace sps
