#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QStringList>

#include "station/fault_table.h"

namespace sps {

class Target;

// The rows of the window "Störungen": every input of the station with the
// fault chosen for it, its numbers and a check box that switches it on. A
// checked row is a fault in the station's table; the choice of an unchecked
// row is kept here until it is switched on.
class FaultModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { On, Input, Kind, Amount, Interval, COLUMNS };

    explicit FaultModel(Target& target, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The kinds row `row` may take, in the order of the kind column's choices.
    std::vector<FaultKind> kindsOf(int row) const;
    static QString kindName(FaultKind kind);

    // Clears every fault of the station.
    void clearAll();
    // Shows what the station's table holds now (it may change from elsewhere).
    void refresh();

signals:
    // The station's faults changed through this model.
    void faultsChanged();
    // A choice the station refused, with its German text.
    void refused(const QString& message);

private:
    // The row's fault: the station's while it is on, else the one chosen here.
    Fault rowFault(int row) const;
    void apply(int row, const Fault& fault, bool on);

    Target& target_;
    std::vector<Fault> chosen_;
};

} // namespace sps
