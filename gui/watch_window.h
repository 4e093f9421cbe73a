#pragma once

#include <QList>
#include <QTableView>
#include <QTimer>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;

namespace sps {

class WatchModel;

// The table of the watch window. A "-" or "+" typed on a cell that takes
// text begins a value ("-5") instead of reaching the main window's clock keys.
class WatchView final : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    // Commits and closes the cell editor that is open, if any.
    void finishEditing();

protected:
    bool event(QEvent* event) override;
};

// The status window "Beobachten": the watch table with its buttons and
// context menu. It shows the rows of a WatchModel that outlives it and reads
// their values twice a second.
class WatchWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int REFRESH_MS = 500;

    enum class Action { Write, Force, Unforce, UnforceAll, DeleteRows };

    explicit WatchWindow(WatchModel& model);
    ~WatchWindow() override;

    WatchView& table() { return *table_; }
    QAction* action(Action action) const;
    // The table's context menu, owned by the window.
    QMenu* contextMenu() const { return menu_; }
    // The watched rows that are selected, in order.
    QList<int> selectedRows() const;
    // The German error of the current row's refused input, or empty.
    QString message() const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void createTable();
    void createActions();
    void createMenus();
    void createLayout();
    void connectModel();
    void updateActions();
    void showMessage();
    void removeSelectedRows();

    WatchModel& model_;
    WatchView* table_ = nullptr;
    QLabel* message_ = nullptr;
    QMenu* menu_ = nullptr;
    QList<QAction*> actions_;
    QTimer refresh_;
};

} // namespace sps
