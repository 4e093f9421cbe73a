#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QString>

#include "cpu/value_format.h"
#include "gui/watch_settings.h"
#include "shell/recorder.h"

namespace sps {

class Parameter;
class Simulator;

// The rows of the watch table "Beobachten": operands typed by the user, each
// shown live in the format chosen for it, with a value to write once or to
// force, a condition that stops the run, and whether it is recorded. The
// rows outlive the window that shows them (it opens and closes, a load closes
// it) and are kept per program file, so that loading a program brings back
// its table.
//
// What a row sets lives in the core: its condition is a breakpoint of the
// simulator, its recording a signal of the recorder, its force an entry of the
// CPU's force table. A row adds and removes its own; the "F" marker shows what
// the force table holds, whoever forced it. Below the rows an empty last row
// takes a new operand. An input that the core refuses is not kept: the row
// shows the German error text until it is edited again.
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
    void programLoaded(const QString& program);
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
    struct Problem {
        int column = -1;
        QString typed; // the refused input
        QString text;  // the German error
    };
    struct Row;

    bool setOperand(int row, const QString& text);
    bool setFormat(int row, const QString& name);
    bool setCondition(int row, const QString& test);
    bool setRecorded(int row, bool record);
    // Set in the core what the row asks for; the German error of a refusal,
    // with nothing changed, or empty.
    QString applyCondition(Row& row, const QString& test);
    QString applyRecording(Row& row, bool record);
    // What a row is recorded as: in the format it is shown in where that is a
    // bit or a real, else at its operand's width.
    static SignalType recordType(const Row& row);
    Row makeRow(std::unique_ptr<Parameter> operand) const;
    void appendRow(std::unique_ptr<Parameter> operand);
    void restore(const QList<SavedWatchRow>& saved);
    // Takes back what the row set in the core: its breakpoint, its recording
    // (unless another row records the same) and, with `unforce`, its force
    // (unless another row shows the same operand).
    void release(int row, bool unforce);
    void releaseRecording(int row);
    void read(Row& row);
    // Runs a write or force of the row's new value; a refusal shows in the row.
    template <class Action> void act(int row, Action action);
    void showProblem(int row, int column, const QString& typed, const QString& text);
    void clearProblem(int row);
    void rowChanged(int row);
    // Whether a row other than `except` fulfils `predicate`.
    template <class Predicate> bool otherRow(int except, Predicate predicate) const;
    void save() const;

    Simulator& simulator_;
    std::vector<Row> rows_;
    Problem draft_; // of the empty last row
    QString program_;
    int stoppedRow_ = -1;
    QIcon conditionMark_;
    QIcon noMark_;
};

} // namespace sps
