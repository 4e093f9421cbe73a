#include "gui/watch_window.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "gui/watch_columns.h"
#include "gui/watch_model.h"

namespace sps {

namespace {

// The cells' editors: the format column offers the formats of the row's
// operand in a list.
class WatchDelegate final : public QStyledItemDelegate {
public:
    WatchDelegate(WatchModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (watchColumn(index.column()).editor != WatchEditor::FormatList)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* box = new QComboBox(parent);
        for (const ValueFormat format : model_.formats(index.row()))
            box->addItem(QString::fromLatin1(formatName(format)));
        // A choice takes effect at once.
        connect(box, &QComboBox::activated, this, [this, box] {
            auto* self = const_cast<WatchDelegate*>(this);
            emit self->commitData(box);
            emit self->closeEditor(box);
        });
        return box;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            box->setCurrentText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            model->setData(index, box->currentText());
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        // Return commits at once. Qt's delegate commits later, from the event
        // loop, when a refresh, a load or a click may have closed the editor
        // and changed the rows already.
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor != nullptr && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    WatchModel& model_;
};

struct ActionRow {
    WatchWindow::Action action;
    const char* text;
    const char* tip;
    bool button;
};

constexpr ActionRow ACTIONS[] = {
    {WatchWindow::Action::Write, "&Schreiben", "Den neuen Wert einmal schreiben, am Anfang des nächsten Zyklus", true},
    {WatchWindow::Action::Force, "&Forcen",
     "Den Operanden auf dem neuen Wert halten: weder das Programm noch die Anlage ändern ihn", true},
    {WatchWindow::Action::Unforce, "&Entforcen", "Den Operanden nicht mehr halten", true},
    {WatchWindow::Action::UnforceAll, "&Alle entforcen", "Keinen Operanden mehr halten", true},
    {WatchWindow::Action::DeleteRows, "&Zeile löschen", "Die ausgewählten Zeilen löschen (Entf)", false},
};

// One row per action, at the index of its value.
constexpr bool actionsInOrder() {
    for (std::size_t i = 0; i < std::size(ACTIONS); ++i)
        if (static_cast<std::size_t>(ACTIONS[i].action) != i) return false;
    return true;
}
static_assert(actionsInOrder());

} // namespace

bool WatchView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && state() != EditingState && model() != nullptr) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if ((text == QLatin1String("-") || text == QLatin1String("+")) &&
            (model()->flags(currentIndex()) & Qt::ItemIsEditable)) {
            event->accept();
            return true;
        }
    }
    return QTableView::event(event);
}

void WatchView::finishEditing() {
    QWidget* editor = indexWidget(currentIndex());
    if (editor == nullptr || state() != EditingState) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

WatchWindow::WatchWindow(WatchModel& model) : model_(model) {
    // The program ends with its main window, whatever status windows are open.
    setAttribute(Qt::WA_QuitOnClose, false);
    createTable();
    createActions();
    createMenus();
    createLayout();
    connectModel();

    model_.refresh();
    // Ready to take a new operand.
    table_->selectionModel()->setCurrentIndex(model_.index(model_.watchedRows(), WatchModel::OperandColumn),
                                              QItemSelectionModel::NoUpdate);
    updateActions();
    refresh_.setInterval(REFRESH_MS);
    connect(&refresh_, &QTimer::timeout, &model_, &WatchModel::refresh);
    refresh_.start();

    int width = 2 * layout()->contentsMargins().left() + table_->verticalHeader()->sizeHint().width() + 4;
    for (int column = 0; column < WatchModel::COLUMNS; ++column) width += table_->columnWidth(column);
    resize(width, 18 * table_->verticalHeader()->defaultSectionSize());
}

void WatchWindow::createTable() {
    table_ = new WatchView(this);
    table_->setModel(&model_);
    table_->setItemDelegate(new WatchDelegate(model_, table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    QHeaderView* header = table_->horizontalHeader();
    header->setHighlightSections(false);
    const int digit = table_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int column = 0; column < WatchModel::COLUMNS; ++column) {
        const WatchColumn& shown = watchColumn(column);
        table_->setColumnWidth(column, shown.width * digit);
        if (shown.sizing == WatchSizing::Fixed) header->setSectionResizeMode(column, QHeaderView::Fixed);
        if (shown.sizing == WatchSizing::Stretch) header->setSectionResizeMode(column, QHeaderView::Stretch);
    }
    table_->setContextMenuPolicy(Qt::CustomContextMenu);

    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: rgb(176, 0, 0)"));
    message_->hide();
}

void WatchWindow::createActions() {
    for (const ActionRow& row : ACTIONS) {
        auto* action = new QAction(QString::fromUtf8(row.text), this);
        action->setToolTip(QString::fromUtf8(row.tip));
        actions_.append(action);
    }
    // Delete works where the table has the focus.
    table_->addAction(action(Action::DeleteRows));
    action(Action::DeleteRows)->setShortcut(QKeySequence::Delete);
    action(Action::DeleteRows)->setShortcutContext(Qt::WidgetShortcut);

    connect(action(Action::Write), &QAction::triggered, this, [this] { model_.writeOnce(selectedRows()); });
    connect(action(Action::Force), &QAction::triggered, this, [this] { model_.force(selectedRows()); });
    connect(action(Action::Unforce), &QAction::triggered, this, [this] { model_.unforce(selectedRows()); });
    connect(action(Action::UnforceAll), &QAction::triggered, this, [this] { model_.unforceAll(); });
    connect(action(Action::DeleteRows), &QAction::triggered, this, &WatchWindow::removeSelectedRows);
}

void WatchWindow::createMenus() {
    // Shown with popup(), which returns at once: the window may close, and a
    // load may close it, while the menu is open.
    menu_ = new QMenu(this);
    for (const ActionRow& row : ACTIONS) {
        // The row commands stand apart from the force commands.
        if (!row.button) menu_->addSeparator();
        menu_->addAction(action(row.action));
    }
    connect(table_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(table_->viewport()->mapToGlobal(at)); });
}

void WatchWindow::createLayout() {
    auto* buttons = new QHBoxLayout;
    for (const ActionRow& row : ACTIONS) {
        if (!row.button) continue;
        QAction* shown = action(row.action);
        auto* button = new QPushButton(shown->text(), this);
        button->setToolTip(shown->toolTip());
        connect(button, &QPushButton::clicked, shown, &QAction::trigger);
        connect(shown, &QAction::changed, button, [button, shown] { button->setEnabled(shown->isEnabled()); });
        buttons->addWidget(button);
    }
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(message_);
    layout->addLayout(buttons);
}

void WatchWindow::connectModel() {
    const auto changed = [this] {
        updateActions();
        showMessage();
    };
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, changed);
    connect(&model_, &QAbstractItemModel::dataChanged, this, changed);
    connect(&model_, &QAbstractItemModel::modelReset, this, changed);
    connect(&model_, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(&model_, &WatchModel::stoppedAt, this,
            [this](int row) { table_->scrollTo(model_.index(row, WatchModel::OperandColumn)); });
}

WatchWindow::~WatchWindow() {
    // What an open editor holds goes into the model while the window is whole.
    table_->finishEditing();
    disconnect(&model_, nullptr, this, nullptr);
    disconnect(table_->selectionModel(), nullptr, this, nullptr);
}

void WatchWindow::hideEvent(QHideEvent* event) {
    // Closed, or closed by a load: the text being typed is kept, as a click
    // elsewhere would keep it, before the rows change under its editor.
    table_->finishEditing();
    QWidget::hideEvent(event);
}

QAction* WatchWindow::action(Action action) const { return actions_.at(static_cast<int>(action)); }

QList<int> WatchWindow::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        if (index.row() < model_.watchedRows()) rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString WatchWindow::message() const { return message_->text(); }

void WatchWindow::updateActions() {
    const QList<int> rows = selectedRows();
    const bool anyForced = std::any_of(rows.begin(), rows.end(), [this](int row) { return model_.forced(row); });
    action(Action::Write)->setEnabled(!rows.isEmpty());
    action(Action::Force)->setEnabled(!rows.isEmpty());
    action(Action::Unforce)->setEnabled(anyForced);
    action(Action::UnforceAll)->setEnabled(model_.anyForced());
    action(Action::DeleteRows)->setEnabled(!rows.isEmpty());
}

void WatchWindow::showMessage() {
    const QModelIndex current = table_->currentIndex();
    const QString text = current.isValid() ? model_.problem(current.row()) : QString();
    message_->setText(text);
    message_->setVisible(!text.isEmpty());
}

void WatchWindow::removeSelectedRows() {
    const QList<int> rows = selectedRows();
    // From the last, so that the numbers of the others stay.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) model_.removeRow(*row);
}

} // namespace sps
