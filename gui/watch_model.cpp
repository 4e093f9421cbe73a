#include "gui/watch_model.h"

#include <algorithm>

#include <QBrush>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPixmap>

#include "cpu/condition.h"
#include "cpu/cpu.h"
#include "cpu/force_table.h"
#include "cpu/operand_parser.h"
#include "cpu/parameter.h"
#include "messages/cpu_exception.h"
#include "messages/message_catalog.h"
#include "shell/simulator.h"
#include "shell/watch_value.h"

namespace sps {

namespace {

const QColor PROBLEM_COLOR(176, 0, 0);
const QColor HINT_COLOR(128, 128, 128);
const QColor FORCED_COLOR(0, 70, 170);
const QColor STOPPED_COLOR(255, 214, 110);

std::string latin1(const QString& text) { return text.toLatin1().toStdString(); }

QString fromCore(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString errorText(const CPUException& error) { return fromCore(error.messageText()); }

QString formatText(ValueFormat format) { return QString::fromLatin1(formatName(format)); }

// The red dot of a row with a condition, as editors mark a breakpoint, or
// the same room empty.
QIcon conditionMark(bool marked) {
    QPixmap mark(12, 12);
    mark.fill(Qt::transparent);
    if (marked) {
        QPainter painter(&mark);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(120, 0, 0));
        painter.setBrush(QColor(210, 30, 30));
        painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    }
    return QIcon(mark);
}

// The column titles and what their tooltips explain, in column order.
const char* const HEADERS[WatchModel::COLUMNS] = {"Operand", "Format",        "Wert",       "Neuer Wert",
                                                  "F",       "Anhalten wenn", "Aufzeichnen"};

const char* const HEADER_TIPS[WatchModel::COLUMNS] = {
    "Der Operand in der Schreibweise des Programms: E0.0, A0.1, MB4, MW10, VD4, T37, Z0, AC1, AEW0, AAW0, *VD20",
    "Das Format, in dem der Wert gezeigt wird",
    "Der Wert des Operanden, zweimal in der Sekunde gelesen",
    "Der Wert für „Schreiben“ und „Forcen“: 1, -5, 16#FF, 2#1010, 1.5",
    "F: der Operand wird geforct, Programm und Anlage können ihn nicht ändern",
    "Die Bedingung, bei der der Lauf anhält: = 1, <> 0, > 100, <= 2.5, steigt, fällt",
    "Den Operanden nach jedem Zyklus aufzeichnen",
};

} // namespace

struct WatchModel::Row {
    std::unique_ptr<Parameter> operand;
    QString name; // as the core names it: "MW10"
    std::vector<ValueFormat> formats;
    ValueFormat format = ValueFormat::Decimal;
    QString newValue;
    QString condition;  // the test, as the core writes it: "> 100", "steigt"
    int breakpoint = 0; // its number in the simulator; 0: none
    bool record = false;
    std::optional<SignalType> recordedAs;
    // As last read.
    QString value;
    bool valueFailed = false;
    bool forced = false;
    QString forcedValue;
    Problem problem;
};

WatchModel::WatchModel(Simulator& simulator, QObject* parent)
    : QAbstractTableModel(parent), simulator_(simulator), conditionMark_(conditionMark(true)),
      noMark_(conditionMark(false)) {}

// The simulator may be gone already: what the rows set in it goes with it.
WatchModel::~WatchModel() = default;

int WatchModel::watchedRows() const { return static_cast<int>(rows_.size()); }

int WatchModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : watchedRows() + 1; }

int WatchModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : COLUMNS; }

QVariant WatchModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() > watchedRows()) return {};
    const int column = index.column();
    if (role == Qt::FontRole && column == ForcedColumn) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::TextAlignmentRole && (column == ForcedColumn || column == RecordColumn))
        return QVariant::fromValue(Qt::AlignCenter);

    if (index.row() == watchedRows()) {
        const bool refused = !draft_.text.isEmpty();
        switch (role) {
        case Qt::DisplayRole:
            if (column == OperandColumn) return refused ? draft_.typed : QStringLiteral("neuer Operand");
            if (column == ValueColumn) return draft_.text;
            return {};
        case Qt::EditRole: return column == OperandColumn ? draft_.typed : QVariant();
        case Qt::ForegroundRole:
            if (column == OperandColumn && !refused) return QBrush(HINT_COLOR);
            return refused ? QVariant(QBrush(PROBLEM_COLOR)) : QVariant();
        case Qt::ToolTipRole: return refused ? QVariant(draft_.text) : QVariant();
        default: return {};
        }
    }

    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const bool problemHere = row.problem.column == column;
    switch (role) {
    case Qt::DisplayRole:
        if (problemHere) return row.problem.text;
        switch (column) {
        case OperandColumn: return row.name;
        case FormatColumn: return formatText(row.format);
        case ValueColumn: return row.value;
        case NewValueColumn: return row.newValue;
        case ForcedColumn: return row.forced ? QStringLiteral("F") : QString();
        case ConditionColumn: return row.condition;
        default: return {};
        }
    case Qt::EditRole:
        if (problemHere && column != RecordColumn) return row.problem.typed;
        switch (column) {
        case OperandColumn: return row.name;
        case FormatColumn: return formatText(row.format);
        case NewValueColumn: return row.newValue;
        case ConditionColumn: return row.condition;
        default: return {};
        }
    case Qt::CheckStateRole:
        if (column == RecordColumn) return row.record ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::ForegroundRole:
        if (problemHere || (column == ValueColumn && row.valueFailed)) return QBrush(PROBLEM_COLOR);
        if (column == ForcedColumn || (column == ValueColumn && row.forced)) return QBrush(FORCED_COLOR);
        return {};
    case Qt::BackgroundRole:
        if (index.row() == stoppedRow_) return QBrush(STOPPED_COLOR);
        return {};
    case Qt::ToolTipRole:
        if (problemHere) return row.problem.text;
        if (column == ValueColumn && row.valueFailed) return row.value;
        if ((column == ForcedColumn || column == ValueColumn) && row.forced)
            return QStringLiteral("Geforct auf %1").arg(row.forcedValue);
        if ((column == OperandColumn || column == ConditionColumn) && row.breakpoint != 0)
            return QStringLiteral("Haltepunkt %1: %2 %3").arg(row.breakpoint).arg(row.name, row.condition);
        return {};
    default: return {};
    }
}

QVariant WatchModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        const bool watched = section >= 0 && section < watchedRows();
        // A row with a condition is marked beside its number; the others
        // keep the mark's room, so that the numbers stand in line.
        const Row* marked = watched && rows_[static_cast<std::size_t>(section)].breakpoint != 0
                                ? &rows_[static_cast<std::size_t>(section)]
                                : nullptr;
        if (role == Qt::DecorationRole) return marked != nullptr ? conditionMark_ : noMark_;
        if (role == Qt::ToolTipRole && marked != nullptr)
            return QStringLiteral("Haltepunkt %1: %2 %3").arg(marked->breakpoint).arg(marked->name, marked->condition);
        if (role == Qt::DisplayRole) return watched ? QString::number(section + 1) : QStringLiteral("*");
        return {};
    }
    if (section < 0 || section >= COLUMNS) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(HEADERS[section]);
    if (role == Qt::ToolTipRole) return QString::fromUtf8(HEADER_TIPS[section]);
    return {};
}

Qt::ItemFlags WatchModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.row() >= watchedRows()) return index.column() == OperandColumn ? flags | Qt::ItemIsEditable : flags;
    switch (index.column()) {
    case FormatColumn:
        if (rows_[static_cast<std::size_t>(index.row())].formats.size() > 1) flags |= Qt::ItemIsEditable;
        break;
    case OperandColumn:
    case NewValueColumn:
    case ConditionColumn: flags |= Qt::ItemIsEditable; break;
    case RecordColumn: flags |= Qt::ItemIsUserCheckable; break;
    default: break;
    }
    return flags;
}

bool WatchModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() > watchedRows()) return false;
    const int row = index.row();
    const bool watched = row < watchedRows();
    if (role == Qt::CheckStateRole)
        return watched && index.column() == RecordColumn && setRecorded(row, value.toInt() == Qt::Checked);
    if (role != Qt::EditRole) return false;
    const QString text = value.toString().trimmed();
    switch (index.column()) {
    case OperandColumn: return setOperand(row, text);
    case FormatColumn: return watched && setFormat(row, text);
    case NewValueColumn:
        if (!watched) return false;
        rows_[static_cast<std::size_t>(row)].newValue = text;
        clearProblem(row);
        rowChanged(row);
        return true;
    case ConditionColumn: return watched && setCondition(row, text);
    default: return false;
    }
}

bool WatchModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > watchedRows()) return false;
    beginRemoveRows(parent, row, row + count - 1);
    // From the last: a force is taken back with the last row that shows it.
    for (int i = row + count - 1; i >= row; --i) {
        release(i, true);
        rows_.erase(rows_.begin() + i);
    }
    if (stoppedRow_ >= row + count)
        stoppedRow_ -= count;
    else if (stoppedRow_ >= row)
        stoppedRow_ = -1;
    endRemoveRows();
    save();
    return true;
}

std::vector<ValueFormat> WatchModel::formats(int row) const {
    if (row < 0 || row >= watchedRows()) return {};
    return rows_[static_cast<std::size_t>(row)].formats;
}

QString WatchModel::problem(int row) const {
    if (row == watchedRows()) return draft_.text;
    if (row < 0 || row > watchedRows()) return {};
    return rows_[static_cast<std::size_t>(row)].problem.text;
}

bool WatchModel::forced(int row) const {
    return row >= 0 && row < watchedRows() && rows_[static_cast<std::size_t>(row)].forced;
}

bool WatchModel::anyForced() const { return !simulator_.cpu().forces.entries().empty(); }

// An operand typed into the empty last row becomes a new row; typed over an
// existing row's operand it replaces it, and the row's condition and recording
// move to the new operand.
bool WatchModel::setOperand(int row, const QString& text) {
    const bool isNew = row == watchedRows();
    if (text.isEmpty()) {
        if (isNew) {
            draft_ = {};
            emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
        }
        return isNew;
    }
    std::unique_ptr<Parameter> operand;
    try {
        // Operands are written in capitals; in small letters they would be
        // names, which have no value.
        operand = parseOperand(simulator_.cpu(), latin1(text.toUpper()));
        checkWatchable(*operand);
    } catch (const CPUException& error) {
        showProblem(row, OperandColumn, text, errorText(error));
        return true;
    }
    if (isNew) {
        draft_ = {};
        appendRow(std::move(operand));
        return true;
    }
    Row& current = rows_[static_cast<std::size_t>(row)];
    if (fromCore(operandName(*operand)) == current.name) {
        clearProblem(row);
        rowChanged(row);
        return true;
    }
    release(row, true);
    Row replaced = makeRow(std::move(operand));
    if (std::find(replaced.formats.begin(), replaced.formats.end(), current.format) != replaced.formats.end())
        replaced.format = current.format;
    replaced.newValue = current.newValue;
    const QString condition = current.condition;
    const bool record = current.record;
    current = std::move(replaced);
    if (const QString error = applyCondition(current, condition); !error.isEmpty())
        current.problem = {ConditionColumn, condition, error};
    if (const QString error = applyRecording(current, record); !error.isEmpty())
        current.problem = {RecordColumn, {}, error};
    read(current);
    rowChanged(row);
    return true;
}

bool WatchModel::setFormat(int row, const QString& name) {
    Row& current = rows_[static_cast<std::size_t>(row)];
    const auto format = formatNamed(latin1(name));
    if (!format || std::find(current.formats.begin(), current.formats.end(), *format) == current.formats.end())
        return false;
    if (*format == current.format) return true;
    current.format = *format;
    clearProblem(row);
    // A real shown as a real is recorded as one, a timer's bit as a bit.
    if (current.record && current.recordedAs != recordType(current)) {
        releaseRecording(row);
        current.record = false;
        if (const QString error = applyRecording(current, true); !error.isEmpty())
            current.problem = {RecordColumn, {}, error};
    }
    read(current);
    rowChanged(row);
    return true;
}

bool WatchModel::setCondition(int row, const QString& test) {
    Row& current = rows_[static_cast<std::size_t>(row)];
    if (const QString error = applyCondition(current, test); error.isEmpty())
        clearProblem(row);
    else
        current.problem = {ConditionColumn, test, error};
    rowChanged(row);
    return true;
}

bool WatchModel::setRecorded(int row, bool record) {
    Row& current = rows_[static_cast<std::size_t>(row)];
    if (record == current.record) return true;
    if (!record) {
        releaseRecording(row);
        current.record = false;
        clearProblem(row);
    } else if (const QString error = applyRecording(current, true); error.isEmpty()) {
        clearProblem(row);
    } else {
        current.problem = {RecordColumn, {}, error};
    }
    rowChanged(row);
    return true;
}

QString WatchModel::applyCondition(Row& row, const QString& test) {
    Breakpoints& breakpoints = simulator_.breakpoints();
    if (test.isEmpty()) {
        if (row.breakpoint != 0) breakpoints.remove(row.breakpoint);
        row.breakpoint = 0;
        row.condition.clear();
        return {};
    }
    try {
        Condition condition(simulator_.cpu(), latin1(row.name), latin1(test));
        const QString text = fromCore(condition.text());
        const QString operandPart = row.name + QLatin1Char(' ');
        // The old breakpoint goes first, so that replacing one never fails
        // for want of room.
        if (row.breakpoint != 0) breakpoints.remove(row.breakpoint);
        row.breakpoint = 0;
        row.condition.clear();
        row.breakpoint = breakpoints.add(std::move(condition));
        row.condition = text.startsWith(operandPart) ? text.mid(operandPart.size()) : text;
    } catch (const CPUException& error) {
        return errorText(error);
    }
    return {};
}

SignalType WatchModel::recordType(const Row& row) {
    if (row.format == ValueFormat::Bit) return SignalType::Bit;
    if (row.format == ValueFormat::Real) return SignalType::Real;
    switch (operandWidth(*row.operand).value_or(Width::Dword)) {
    case Width::Bit: return SignalType::Bit;
    case Width::Byte: return SignalType::Byte;
    case Width::Word: return SignalType::Word;
    case Width::Dword: break;
    }
    return SignalType::DoubleWord;
}

QString WatchModel::applyRecording(Row& row, bool record) {
    if (!record) return {};
    try {
        const SignalType type = recordType(row);
        simulator_.recorder().record(latin1(row.name), type);
        row.recordedAs = type;
        row.record = true;
    } catch (const CPUException& error) {
        return errorText(error);
    }
    return {};
}

void WatchModel::releaseRecording(int row) {
    Row& current = rows_[static_cast<std::size_t>(row)];
    const auto type = current.recordedAs;
    current.recordedAs.reset();
    if (!type ||
        otherRow(row, [&](const Row& other) { return other.recordedAs == type && other.name == current.name; }))
        return;
    Recorder& recorder = simulator_.recorder();
    const std::string name = latin1(current.name);
    for (std::size_t i = 0; i < recorder.size(); ++i)
        if (recorder.signal(i).name() == name && recorder.signal(i).type() == *type) {
            recorder.remove(i);
            return;
        }
}

void WatchModel::release(int row, bool unforce) {
    Row& current = rows_[static_cast<std::size_t>(row)];
    if (current.breakpoint != 0) simulator_.breakpoints().remove(current.breakpoint);
    current.breakpoint = 0;
    releaseRecording(row);
    if (unforce && !otherRow(row, [&](const Row& other) { return other.name == current.name; }))
        simulator_.cpu().forces.unforce(latin1(current.name));
}

template <class Predicate> bool WatchModel::otherRow(int except, Predicate predicate) const {
    for (int i = 0; i < watchedRows(); ++i)
        if (i != except && predicate(rows_[static_cast<std::size_t>(i)])) return true;
    return false;
}

WatchModel::Row WatchModel::makeRow(std::unique_ptr<Parameter> operand) const {
    Row row;
    row.name = fromCore(operandName(*operand));
    row.formats = watchFormats(*operand);
    const ValueFormat natural = defaultFormat(operandWidth(*operand).value_or(Width::Dword));
    row.format =
        std::find(row.formats.begin(), row.formats.end(), natural) != row.formats.end() ? natural : row.formats.front();
    row.operand = std::move(operand);
    return row;
}

void WatchModel::appendRow(std::unique_ptr<Parameter> operand) {
    const int row = watchedRows();
    beginInsertRows({}, row, row);
    rows_.push_back(makeRow(std::move(operand)));
    read(rows_.back());
    endInsertRows();
    emit dataChanged(index(row + 1, 0), index(row + 1, COLUMNS - 1));
    emit headerDataChanged(Qt::Vertical, row, row + 1);
    save();
}

void WatchModel::read(Row& row) {
    try {
        row.value = fromCore(watchValue(simulator_.cpu(), *row.operand, row.format));
        row.valueFailed = false;
    } catch (const CPUException& error) {
        row.value = errorText(error);
        row.valueFailed = true;
    }
    const ForcedOperand* forced = simulator_.cpu().forces.find(latin1(row.name));
    row.forced = forced != nullptr;
    row.forcedValue = forced != nullptr ? fromCore(forced->valueText()) : QString();
}

void WatchModel::refresh() {
    int first = -1;
    int last = -1;
    for (int i = 0; i < watchedRows(); ++i) {
        Row& row = rows_[static_cast<std::size_t>(i)];
        const QString value = row.value;
        const bool failed = row.valueFailed;
        const QString forcedValue = row.forcedValue;
        const bool forced = row.forced;
        read(row);
        if (row.value != value || row.valueFailed != failed || row.forced != forced || row.forcedValue != forcedValue) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first >= 0) emit dataChanged(index(first, ValueColumn), index(last, ForcedColumn));
}

void WatchModel::writeOnce(const QList<int>& rows) {
    for (const int row : rows) {
        if (row < 0 || row >= watchedRows()) continue;
        const Row& current = rows_[static_cast<std::size_t>(row)];
        act(row, [&] { writeOperandOnce(simulator_.cpu(), latin1(current.name), latin1(current.newValue)); });
    }
}

void WatchModel::force(const QList<int>& rows) {
    for (const int row : rows) {
        if (row < 0 || row >= watchedRows()) continue;
        const Row& current = rows_[static_cast<std::size_t>(row)];
        act(row, [&] { forceOperand(simulator_.cpu(), latin1(current.name), latin1(current.newValue)); });
    }
    refresh();
}

void WatchModel::unforce(const QList<int>& rows) {
    for (const int row : rows)
        if (row >= 0 && row < watchedRows())
            simulator_.cpu().forces.unforce(latin1(rows_[static_cast<std::size_t>(row)].name));
    refresh();
}

void WatchModel::unforceAll() {
    simulator_.cpu().forces.unforceAll();
    refresh();
}

template <class Action> void WatchModel::act(int row, Action action) {
    Row& current = rows_[static_cast<std::size_t>(row)];
    try {
        if (current.newValue.isEmpty()) throwMessage("Constant expected");
        action();
        clearProblem(row);
    } catch (const CPUException& error) {
        current.problem = {NewValueColumn, current.newValue, errorText(error)};
    }
    emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
}

void WatchModel::programLoaded(const QString& program) {
    runContinued();
    if (program != program_) {
        program_ = program;
        if (const auto saved = loadWatchTable(program))
            restore(*saved);
        else if (!rows_.empty())
            save(); // the rows shown become this program's table
    }
    refresh();
}

void WatchModel::restore(const QList<SavedWatchRow>& saved) {
    beginResetModel();
    // A load has cleared the forces already.
    for (int i = watchedRows() - 1; i >= 0; --i) {
        release(i, false);
        rows_.pop_back();
    }
    draft_ = {};
    stoppedRow_ = -1;
    for (const SavedWatchRow& kept : saved) {
        std::unique_ptr<Parameter> operand;
        try {
            operand = parseOperand(simulator_.cpu(), latin1(kept.operand));
            checkWatchable(*operand);
        } catch (const CPUException&) {
            continue; // edited by hand into something the simulator cannot watch
        }
        Row row = makeRow(std::move(operand));
        const auto format = formatNamed(latin1(kept.format));
        if (format && std::find(row.formats.begin(), row.formats.end(), *format) != row.formats.end())
            row.format = *format;
        row.newValue = kept.newValue;
        rows_.push_back(std::move(row));
        Row& added = rows_.back();
        if (const QString error = applyCondition(added, kept.condition); !error.isEmpty())
            added.problem = {ConditionColumn, kept.condition, error};
        if (const QString error = applyRecording(added, kept.record); !error.isEmpty())
            added.problem = {RecordColumn, {}, error};
        read(added);
    }
    endResetModel();
}

void WatchModel::breakpointReached(int number) {
    const auto found =
        std::find_if(rows_.begin(), rows_.end(), [number](const Row& row) { return row.breakpoint == number; });
    const int row = found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
    runContinued();
    refresh(); // the values at the stop
    if (row < 0) return;
    stoppedRow_ = row;
    emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
    emit stoppedAt(row);
}

void WatchModel::runContinued() {
    if (stoppedRow_ < 0) return;
    const int row = stoppedRow_;
    stoppedRow_ = -1;
    emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
}

void WatchModel::showProblem(int row, int column, const QString& typed, const QString& text) {
    if (row == watchedRows())
        draft_ = {column, typed, text};
    else
        rows_[static_cast<std::size_t>(row)].problem = {column, typed, text};
    emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
}

void WatchModel::clearProblem(int row) { rows_[static_cast<std::size_t>(row)].problem = {}; }

void WatchModel::rowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
    save();
}

void WatchModel::save() const {
    if (program_.isEmpty()) return;
    QList<SavedWatchRow> saved;
    for (const Row& row : rows_)
        saved.append({row.name, formatText(row.format), row.newValue, row.condition, row.record});
    saveWatchTable(program_, saved);
}

} // namespace sps
