#include "gui/trace_window.h"

#include <array>

#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QTableView>

#include "cpu/program.h"
#include "gui/info_wnd.h"
#include "gui/ladder_signals.h"
#include "gui/painter_canvas.h"
#include "shell/trace_info.h"

namespace sps {

namespace {

constexpr std::array<const char*, 6> HEADERS{"Netzwerk",      "Anweisung",    "Werte vorher",
                                             "Werte nachher", "Stack vorher", "Stack nachher"};

// The top four stack bits, the top rightmost as in the trace's lines.
QString stackBits(std::uint8_t bits) {
    QString text;
    for (int bit = 3; bit >= 0; --bit) text += ((bits >> bit) & 1) != 0 ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

} // namespace

int TraceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(trace_.rows().size());
}

int TraceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(HEADERS.size());
}

QVariant TraceTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TraceRow& row = trace_.rows()[static_cast<std::size_t>(index.row())];
    if (role == Qt::BackgroundRole && !markedBlock_.empty() && row.block == markedBlock_ &&
        row.network == markedNetwork_)
        return QBrush(CLOSED_COLOUR);
    if (role == Qt::FontRole && index.column() >= 4) return statusWindowFont();
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case 0: return QStringLiteral("%1 %2").arg(QString::fromLatin1(row.block)).arg(row.network);
    case 1: return QString(2 * row.depth, QLatin1Char(' ')) + QString::fromLatin1(row.instruction);
    case 2: return QString::fromLatin1(row.valuesBefore);
    case 3: return QString::fromLatin1(row.valuesAfter);
    case 4: return stackBits(row.stackBefore);
    default: return stackBits(row.stackAfter);
    }
}

QVariant TraceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section >= 0 && section < static_cast<int>(HEADERS.size())
               ? QString::fromUtf8(HEADERS[static_cast<std::size_t>(section)])
               : QVariant();
}

void TraceTableModel::markNetwork(const std::string& block, int network) {
    if (block == markedBlock_ && network == markedNetwork_) return;
    markedBlock_ = block;
    markedNetwork_ = network;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

TraceWindow::TraceWindow(std::unique_ptr<TraceInfo> trace) {
    setAttribute(Qt::WA_QuitOnClose, false);
    const TraceInfo& content = *trace;
    text_ = new InfoWnd(std::move(trace));
    addTab(text_, QStringLiteral("&Text"));
    table_ = new QTableView(this);
    model_ = new TraceTableModel(content, table_);
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->resizeColumnsToContents();
    addTab(table_, QStringLiteral("T&abelle"));
    // The rows of the network under the mouse in the ladder window.
    connect(&LadderSignals::instance(), &LadderSignals::networkHovered, this,
            [this](const Block* block, const Network* network) {
                model_->markNetwork(block != nullptr ? block->label : std::string(),
                                    network != nullptr ? network->number : 0);
            });
    resize(sizeHint());
}

} // namespace sps
