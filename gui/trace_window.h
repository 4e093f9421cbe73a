#pragma once

#include <memory>
#include <string>

#include <QAbstractTableModel>
#include <QTabWidget>

class QTableView;

namespace sps {

class InfoWnd;
class TraceInfo;

// The rows of a traced scan as a table: network, instruction (indented one
// step per open subroutine), the pin values and the top four bits of the
// logic stack before and after; the rows of one network can be marked.
class TraceTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TraceTableModel(const TraceInfo& trace, QObject* parent) : QAbstractTableModel(parent), trace_(trace) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Marks the rows of network `network` of the block labelled `block`;
    // an empty block marks none.
    void markNetwork(const std::string& block, int network);

private:
    const TraceInfo& trace_;
    std::string markedBlock_;
    int markedNetwork_ = 0;
};

// The trace window: the trace of one scan as its text ("Text", as it always
// was) and as a table ("Tabelle").
class TraceWindow final : public QTabWidget {
    Q_OBJECT
public:
    explicit TraceWindow(std::unique_ptr<TraceInfo> trace);

    InfoWnd& text() { return *text_; }
    QTableView& table() { return *table_; }
    TraceTableModel& model() { return *model_; }

private:
    InfoWnd* text_;
    QTableView* table_;
    TraceTableModel* model_;
};

} // namespace sps
