#include "gui/fault_window.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/fault_model.h"

namespace sps {

namespace {

// The kind column edits with a list of the kinds that fit the row's input.
class KindDelegate final : public QStyledItemDelegate {
public:
    KindDelegate(FaultModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        auto* box = new QComboBox(parent); // owned by the view's viewport
        for (FaultKind kind : model_.kindsOf(index.row())) box->addItem(FaultModel::kindName(kind));
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        box->setCurrentIndex(box->findText(index.data(Qt::EditRole).toString()));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }

private:
    FaultModel& model_;
};

// The marks in the station drawing follow at once, also while the run stands.
void repaintWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) window->update();
}

} // namespace

FaultWindow::FaultWindow(Target& target)
    : model_(new FaultModel(target, this)), table_(new QTableView(this)),
      clearAll_(new QPushButton(QStringLiteral("Alle aufheben"), this)), message_(new QLabel(this)) {
    table_->setModel(model_);
    table_->setItemDelegateForColumn(FaultModel::Kind, new KindDelegate(*model_, table_));
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed);
    table_->resizeColumnsToContents();
    table_->setColumnWidth(FaultModel::Kind, 150);
    message_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(message_);
    layout->addWidget(clearAll_);
    resize(460, 520);

    connect(clearAll_, &QPushButton::clicked, model_, &FaultModel::clearAll);
    connect(model_, &FaultModel::faultsChanged, this, [this] {
        message_->clear();
        repaintWindows();
    });
    connect(model_, &FaultModel::refused, message_, &QLabel::setText);
    connect(&refresh_, &QTimer::timeout, model_, &FaultModel::refresh);
    refresh_.start(REFRESH_MS);
}

FaultWindow::~FaultWindow() = default;

QString FaultWindow::message() const { return message_->text(); }

} // namespace sps
