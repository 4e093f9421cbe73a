#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace sps {

class FaultModel;
class Target;

// The status window "Störungen": the table of the station's inputs, each
// with a fault to choose and a check box that switches it on, and "Alle
// aufheben". It reads the station's table twice a second, so that faults
// set from elsewhere or brought back by the history show.
class FaultWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int REFRESH_MS = 500;

    explicit FaultWindow(Target& target);
    ~FaultWindow() override;

    FaultModel& model() { return *model_; }
    QTableView& table() { return *table_; }
    QPushButton& clearButton() { return *clearAll_; }
    // The German text of the last refused choice, or empty.
    QString message() const;

private:
    FaultModel* model_;
    QTableView* table_;
    QPushButton* clearAll_;
    QLabel* message_;
    QTimer refresh_;
};

} // namespace sps
