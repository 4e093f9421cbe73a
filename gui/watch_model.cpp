#include "gui/watch_model.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPixmap>

#include "cpu/cpu.h"
#include "cpu/parameter.h"
#include "gui/core_text.h"
#include "gui/ladder_signals.h"
#include "gui/watch_columns.h"
#include "gui/watch_settings.h"
#include "messages/cpu_exception.h"
#include "shell/breakpoints.h"
#include "shell/simulator.h"

namespace sps {

namespace {

const QColor PROBLEM_COLOR(176, 0, 0);
const QColor HINT_COLOR(128, 128, 128);
const QColor FORCED_COLOR(0, 70, 170);
const QColor STOPPED_COLOR(255, 214, 110);

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

QString breakpointTip(const WatchRow& row) {
    return QStringLiteral("Haltepunkt %1: %2 %3").arg(row.breakpoint).arg(fromCore(row.name), fromCore(row.condition));
}

bool editsText(WatchEditor editor) { return editor == WatchEditor::Text || editor == WatchEditor::FormatList; }

// The role in which a column's editor hands over what was typed or checked.
int editedRole(WatchEditor editor) {
    if (editor == WatchEditor::Check) return Qt::CheckStateRole;
    return editsText(editor) ? Qt::EditRole : -1;
}

} // namespace

WatchModel::WatchModel(Simulator& simulator, QObject* parent)
    : QAbstractTableModel(parent), simulator_(simulator), table_(simulator), conditionMark_(conditionMark(true)),
      noMark_(conditionMark(false)) {
    connect(&LadderSignals::instance(), &LadderSignals::networkBreakpointsChanged, this,
            &WatchModel::saveNetworkBreakpoints);
}

WatchModel::~WatchModel() = default;

int WatchModel::watchedRows() const { return static_cast<int>(table_.size()); }

int WatchModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : watchedRows() + 1; }

int WatchModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : COLUMNS; }

QVariant WatchModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() > watchedRows()) return {};
    const WatchColumn& column = watchColumn(index.column());
    if (role == Qt::FontRole && (column.marks & Bold) != 0) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::TextAlignmentRole && (column.marks & Centred) != 0) return QVariant::fromValue(Qt::AlignCenter);
    if (index.row() == watchedRows()) return newRowData(index.column(), role);
    return watchedData(index.row(), index.column(), role);
}

QVariant WatchModel::newRowData(int columnIndex, int role) const {
    const WatchColumn& column = watchColumn(columnIndex);
    const auto& draft = table_.draft();
    const QString typed = draft ? fromCore(draft->typed) : QString();
    const QString refusal = draft ? fromCore(draft->text) : QString();
    const bool takesOperand = (column.marks & TakesNewOperand) != 0;
    switch (role) {
    case Qt::DisplayRole:
        if (takesOperand) return draft ? typed : QStringLiteral("neuer Operand");
        if ((column.marks & ShowsRefusal) != 0) return refusal;
        return {};
    case Qt::EditRole: return takesOperand ? QVariant(typed) : QVariant();
    case Qt::ForegroundRole:
        if (takesOperand && !draft) return QBrush(HINT_COLOR);
        return draft ? QVariant(QBrush(PROBLEM_COLOR)) : QVariant();
    case Qt::ToolTipRole: return draft ? QVariant(refusal) : QVariant();
    default: return {};
    }
}

QVariant WatchModel::watchedData(int rowIndex, int columnIndex, int role) const {
    const WatchColumn& column = watchColumn(columnIndex);
    const WatchRow& row = at(rowIndex);
    const WatchProblem* problem = row.problem && row.problem->field == column.field ? &*row.problem : nullptr;
    const bool unreadable = (column.marks & ShowsReadError) != 0 && row.valueFailed;
    const bool showsForce = (column.marks & ShowsForce) != 0 && row.forced;
    switch (role) {
    case Qt::DisplayRole:
        if (problem != nullptr) return fromCore(problem->text);
        return column.editor == WatchEditor::Check ? QVariant() : column.shows(row);
    case Qt::EditRole:
        if (!editsText(column.editor)) return {};
        return problem != nullptr ? QVariant(fromCore(problem->typed)) : column.shows(row);
    case Qt::CheckStateRole: return column.editor == WatchEditor::Check ? column.shows(row) : QVariant();
    case Qt::ForegroundRole:
        if (problem != nullptr || unreadable) return QBrush(PROBLEM_COLOR);
        if ((column.marks & ForceColoured) != 0 || showsForce) return QBrush(FORCED_COLOR);
        return {};
    case Qt::BackgroundRole:
        if (rowIndex == stoppedRow_) return QBrush(STOPPED_COLOR);
        return {};
    case Qt::ToolTipRole:
        if (problem != nullptr) return fromCore(problem->text);
        if (unreadable) return fromCore(row.value);
        if (showsForce) return QStringLiteral("Geforct auf %1").arg(fromCore(row.forcedValue));
        if ((column.marks & NamesBreakpoint) != 0 && row.breakpoint != 0) return breakpointTip(row);
        return {};
    default: return {};
    }
}

QVariant WatchModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        // A row with a condition is marked beside its number; the others
        // keep the mark's room, so that the numbers stand in line.
        const WatchRow* marked = watched(section) && at(section).breakpoint != 0 ? &at(section) : nullptr;
        if (role == Qt::DecorationRole) return marked != nullptr ? conditionMark_ : noMark_;
        if (role == Qt::ToolTipRole && marked != nullptr) return breakpointTip(*marked);
        if (role == Qt::DisplayRole) return watched(section) ? QString::number(section + 1) : QStringLiteral("*");
        return {};
    }
    if (section < 0 || section >= COLUMNS) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(watchColumn(section).header);
    if (role == Qt::ToolTipRole) return QString::fromUtf8(watchColumn(section).tip);
    return {};
}

Qt::ItemFlags WatchModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const WatchColumn& column = watchColumn(index.column());
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!watched(index.row())) return (column.marks & TakesNewOperand) != 0 ? flags | Qt::ItemIsEditable : flags;
    switch (column.editor) {
    case WatchEditor::Text: return flags | Qt::ItemIsEditable;
    case WatchEditor::FormatList: return at(index.row()).formats.size() > 1 ? flags | Qt::ItemIsEditable : flags;
    case WatchEditor::Check: return flags | Qt::ItemIsUserCheckable;
    case WatchEditor::None: break;
    }
    return flags;
}

bool WatchModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() > watchedRows()) return false;
    const WatchColumn& column = watchColumn(index.column());
    if (role != editedRole(column.editor)) return false;
    const int row = index.row();
    if (!watched(row)) return (column.marks & TakesNewOperand) != 0 && addOperand(value.toString().trimmed());
    if (!column.takes(table_, static_cast<std::size_t>(row), value)) return false;
    rowChanged(row);
    return true;
}

bool WatchModel::addOperand(const QString& text) {
    const int row = watchedRows();
    auto operand = table_.newOperand(toCore(text));
    if (!operand) {
        emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
        return true;
    }
    beginInsertRows({}, row, row);
    table_.append(std::move(operand));
    endInsertRows();
    emit dataChanged(index(row + 1, 0), index(row + 1, COLUMNS - 1));
    emit headerDataChanged(Qt::Vertical, row, row + 1);
    save();
    return true;
}

bool WatchModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > watchedRows()) return false;
    beginRemoveRows(parent, row, row + count - 1);
    table_.remove(static_cast<std::size_t>(row), static_cast<std::size_t>(count));
    if (stoppedRow_ >= row + count)
        stoppedRow_ -= count;
    else if (stoppedRow_ >= row)
        stoppedRow_ = -1;
    endRemoveRows();
    save();
    return true;
}

std::vector<ValueFormat> WatchModel::formats(int row) const {
    return watched(row) ? at(row).formats : std::vector<ValueFormat>{};
}

QString WatchModel::problem(int row) const {
    if (row == watchedRows()) return table_.draft() ? fromCore(table_.draft()->text) : QString();
    if (!watched(row) || !at(row).problem) return {};
    return fromCore(at(row).problem->text);
}

bool WatchModel::forced(int row) const { return watched(row) && at(row).forced; }

bool WatchModel::anyForced() const { return table_.anyForced(); }

void WatchModel::refresh() {
    if (const auto changed = table_.refresh())
        emit dataChanged(index(static_cast<int>(changed->first), ValueColumn),
                         index(static_cast<int>(changed->last), ForcedColumn));
}

void WatchModel::writeOnce(const QList<int>& rows) {
    for (const int row : rows) {
        if (!watched(row)) continue;
        table_.writeOnce(static_cast<std::size_t>(row));
        emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
    }
}

void WatchModel::force(const QList<int>& rows) {
    for (const int row : rows) {
        if (!watched(row)) continue;
        table_.force(static_cast<std::size_t>(row));
        emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
    }
    refresh();
}

void WatchModel::unforce(const QList<int>& rows) {
    for (const int row : rows)
        if (watched(row)) table_.unforce(static_cast<std::size_t>(row));
    refresh();
}

void WatchModel::unforceAll() {
    table_.unforceAll();
    refresh();
}

void WatchModel::programLoaded(const QString& program) {
    runContinued();
    if (program != program_) {
        program_ = program;
        if (const auto kept = loadWatchTable(program)) {
            beginResetModel();
            table_.restore(*kept);
            stoppedRow_ = -1;
            endResetModel();
        } else if (watchedRows() > 0) {
            save(); // the rows shown become this program's table
        }
        restoreNetworkBreakpoints();
    }
    refresh();
}

void WatchModel::restoreNetworkBreakpoints() {
    Breakpoints& breakpoints = simulator_.breakpoints();
    std::vector<int> previous;
    for (const NetworkBreakpoint& set : breakpoints.networks()) previous.push_back(set.number);
    for (const int number : previous) breakpoints.remove(number);
    const auto program = simulator_.cpu().program;
    if (!program) return;
    for (const KeptNetworkBreakpoint& kept : loadNetworkBreakpoints(program_)) {
        try {
            breakpoints.addNetwork(*program, kept.block, kept.network);
        } catch (const CPUException&) {
            // The network is gone from the edited program, or too many: left out.
        }
    }
}

void WatchModel::saveNetworkBreakpoints() const {
    if (program_.isEmpty()) return;
    std::vector<KeptNetworkBreakpoint> kept;
    for (const NetworkBreakpoint& set : simulator_.breakpoints().networks()) kept.push_back({set.block, set.network});
    sps::saveNetworkBreakpoints(program_, kept);
}

void WatchModel::breakpointReached(int number) {
    const auto row = table_.rowOf(number);
    runContinued();
    refresh(); // the values at the stop
    if (!row) return;
    stoppedRow_ = static_cast<int>(*row);
    emit dataChanged(index(stoppedRow_, 0), index(stoppedRow_, COLUMNS - 1));
    emit stoppedAt(stoppedRow_);
}

void WatchModel::runContinued() {
    if (stoppedRow_ < 0) return;
    const int row = stoppedRow_;
    stoppedRow_ = -1;
    emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
}

void WatchModel::rowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, COLUMNS - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
    save();
}

void WatchModel::save() const {
    if (!program_.isEmpty()) saveWatchTable(program_, table_.kept());
}

} // namespace sps
