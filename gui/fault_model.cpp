#include "gui/fault_model.h"

#include "messages/cpu_exception.h"
#include "station/fault_words.h"
#include "station/target.h"

namespace sps {

FaultModel::FaultModel(Target& target, QObject* parent) : QAbstractTableModel(parent), target_(target) {
    const auto inputs = faultInputs();
    for (int row = 0; row < static_cast<int>(inputs.size()); ++row) {
        Fault fault;
        fault.input = row;
        fault.kind = kindsOf(row).front();
        const auto ranges = faultRanges(fault.kind);
        if (!ranges.empty()) fault.amount = ranges[0].fallback;
        if (ranges.size() > 1) fault.interval = ranges[1].fallback;
        chosen_.push_back(fault);
    }
}

int FaultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(chosen_.size());
}

int FaultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : COLUMNS; }

std::vector<FaultKind> FaultModel::kindsOf(int row) const {
    const InputClass fits = inputClass(faultInputs()[static_cast<std::size_t>(row)]);
    std::vector<FaultKind> kinds;
    for (const FaultKindInfo& info : faultKinds())
        if (info.fits == fits) kinds.push_back(info.kind);
    return kinds;
}

QString FaultModel::kindName(FaultKind kind) { return QString::fromLatin1(kindInfo(kind).shown); }

Fault FaultModel::rowFault(int row) const {
    if (const Fault* fault = target_.faults().find(row)) return *fault;
    return chosen_[static_cast<std::size_t>(row)];
}

QVariant FaultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    const Fault fault = rowFault(row);
    const auto ranges = faultRanges(fault.kind);
    if (index.column() == On && role == Qt::CheckStateRole)
        return target_.faults().has(row) ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
    case Input: return QString::fromLatin1(faultInputs()[static_cast<std::size_t>(row)].name);
    case Kind: return kindName(fault.kind);
    case Amount: return ranges.empty() ? QVariant() : QVariant(fault.amount);
    case Interval: return ranges.size() < 2 ? QVariant() : QVariant(fault.interval);
    default: return {};
    }
}

bool FaultModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) return false;
    const int row = index.row();
    Fault fault = rowFault(row);
    bool on = target_.faults().has(row);
    if (index.column() == On && role == Qt::CheckStateRole) {
        on = value.toInt() == Qt::Checked;
    } else if (role != Qt::EditRole) {
        return false;
    } else if (index.column() == Kind) {
        bool found = false;
        for (FaultKind kind : kindsOf(row))
            if (kindName(kind) == value.toString()) {
                found = fault.kind != kind;
                fault.kind = kind;
            }
        if (!found) return false;
        const auto ranges = faultRanges(fault.kind);
        fault.amount = ranges.empty() ? 0 : ranges[0].fallback;
        fault.interval = ranges.size() < 2 ? 0 : ranges[1].fallback;
    } else if (index.column() == Amount || index.column() == Interval) {
        bool number = false;
        const int n = value.toInt(&number);
        if (!number) return false;
        (index.column() == Amount ? fault.amount : fault.interval) = n;
    } else {
        return false;
    }
    apply(row, fault, on);
    emit dataChanged(this->index(row, 0), this->index(row, COLUMNS - 1));
    return true;
}

// A fault that is on goes to the station at once; a refused one stays as it was.
void FaultModel::apply(int row, const Fault& fault, bool on) {
    try {
        if (on) {
            target_.setFault(fault);
        } else if (target_.faults().has(row)) {
            target_.clearFault(row);
        } else {
            checkFault(fault);
        }
        chosen_[static_cast<std::size_t>(row)] = fault;
        emit faultsChanged();
    } catch (const CPUException& error) {
        emit refused(QString::fromLatin1(error.messageText()));
    }
}

Qt::ItemFlags FaultModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const auto ranges = faultRanges(rowFault(index.row()).kind);
    if (index.column() == On) flags |= Qt::ItemIsUserCheckable;
    if (index.column() == Kind && kindsOf(index.row()).size() > 1) flags |= Qt::ItemIsEditable;
    if ((index.column() == Amount && !ranges.empty()) || (index.column() == Interval && ranges.size() > 1))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant FaultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= COLUMNS) return {};
    static const char* const TITLES[COLUMNS] = {"An", "Eingang", "Störung", "Wert", "Abstand (ms)"};
    return QString::fromUtf8(TITLES[section]);
}

void FaultModel::clearAll() {
    target_.clearFaults();
    emit faultsChanged();
    refresh();
}

void FaultModel::refresh() {
    if (!chosen_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, COLUMNS - 1));
}

} // namespace sps
