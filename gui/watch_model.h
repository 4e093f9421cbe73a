#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QString>

#include "cpu/value_format.h"
#include "shell/watch_table.h"

namespace sps {

class Simulator;

// The watch table "Beobachten" as a Qt model: the rows of a WatchTable of the
// core, each a line of the columns of watch_columns.h, and below them an empty
// last row that takes a new operand. The rows outlive the window that shows
// them (it opens and closes, a load closes it) and are kept per program file,
// so that loading a program brings back its table.
class WatchModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        OperandColumn,
        FormatColumn,
        ValueColumn,
        NewValueColumn,
        ForcedColumn,
        ConditionColumn,
        RecordColumn
    };
    static constexpr int COLUMNS = 7;

    explicit WatchModel(Simulator& simulator, QObject* parent = nullptr);
    ~WatchModel() override;

    // The watched rows and the empty last row.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Operand, format (its German name), new value and condition as text, the
    // recording as a check state.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Removes watched rows with their breakpoints and recordings; an operand
    // that no other row shows is no longer forced.
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    // The rows above the empty last one.
    int watchedRows() const;
    // The formats the row's operand can be shown in; none for the last row.
    std::vector<ValueFormat> formats(int row) const;
    // The German error of the row's last refused input, or empty.
    QString problem(int row) const;
    bool forced(int row) const;
    bool anyForced() const;

    // "Schreiben": each row's new value, once at the start of the next scan.
    void writeOnce(const QList<int>& rows);
    // "Forcen": each row's operand held at its new value.
    void force(const QList<int>& rows);
    // "Entforcen", "Alle entforcen".
    void unforce(const QList<int>& rows);
    void unforceAll();

    // Reads every value and force anew (the window does so twice a second).
    void refresh();

    // A program was loaded from `program` (its canonical path). Another file
    // brings back its own table; one without a table keeps the rows shown.
    // The breakpoints before networks are the new file's own, as kept.
    void programLoaded(const QString& program);
    // Keeps the breakpoints before networks for the program loaded.
    void saveNetworkBreakpoints() const;
    // The run stopped at breakpoint `number`: its row is highlighted until
    // the run goes on.
    void breakpointReached(int number);
    void runContinued();
    // The highlighted row, or -1.
    int stoppedRow() const { return stoppedRow_; }

signals:
    // The row whose breakpoint stopped the run.
    void stoppedAt(int row);

private:
    bool watched(int row) const { return row >= 0 && row < watchedRows(); }
    const WatchRow& at(int row) const { return table_[static_cast<std::size_t>(row)]; }
    QVariant watchedData(int row, int column, int role) const;
    QVariant newRowData(int column, int role) const;
    // An operand typed into the empty last row becomes a new row.
    bool addOperand(const QString& text);
    void rowChanged(int row);
    void save() const;

    // Puts back the network breakpoints kept for program_, in place of the
    // previous program's.
    void restoreNetworkBreakpoints();

    Simulator& simulator_;
    WatchTable table_;
    QString program_;
    int stoppedRow_ = -1;
    QIcon conditionMark_;
    QIcon noMark_;
};

} // namespace sps
